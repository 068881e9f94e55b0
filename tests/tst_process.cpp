// The program as a process: what it does without a display, and that a request to end it
// (log-out, shutdown, kill) saves like "Stoppen".
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A program folder of its own: the executable beside the files it reads and writes.
QString installProgram(const QTemporaryDir &dir)
{
    // The sounds folder makes it a program folder that keeps its own files.
    const QString program = dir.filePath(QStringLiteral("tuurbord"));
    return QDir(dir.path()).mkpath(QStringLiteral("sounds")) && QFile::copy(QStringLiteral(TUURBORD_PROGRAM), program)
        ? program
        : QString();
}
}

// Starts the program in its own folder and waits until start-up has read the settings; a broken
// settings file is written anew then, which shows from outside.
bool startProgram(QProcess &process, const QTemporaryDir &dir)
{
    const QString program = installProgram(dir);
    const QString settings = dir.filePath(QStringLiteral("Tuurbord.ini"));
    writeFile(settings, "kapot\r\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {});
    if (program.isEmpty() || !process.waitForStarted(20000))
        return false;
    QDeadlineTimer deadline(20000);
    while (readFile(settings) == "kapot\r\n" && !deadline.hasExpired() && process.state() == QProcess::Running)
        QTest::qWait(20);
    return readFile(settings) == "75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n";
}

class TestProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplaySaysHowToStart()
    {
        QTemporaryDir dir;
        const QString program = installProgram(dir);
        QVERIFY(!program.isEmpty());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 2);
        const QString message = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(message.contains(QStringLiteral("xvfb-run")), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("qt.qpa")), qPrintable(message));
    }

    void terminationSavesLikeStoppen_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("scores");
        QTest::addColumn<bool>("littleMemory"); // 1.5 GB of address space, as an older school laptop gives
        QTest::newRow("SIGTERM") << int(SIGTERM) << 2 << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 2 << false;
#if !defined(__SANITIZE_ADDRESS__) // which reserves far more address space than any such limit
        QTest::newRow("SIGTERM, 1000 scores in little memory") << int(SIGTERM) << 1000 << true;
#endif
    }

    void terminationSavesLikeStoppen()
    {
        QFETCH(int, signal);
        QFETCH(int, scores);
        QTemporaryDir dir;
        QByteArrayList entries;
        for (int i = 0; i < scores; ++i)
            entries << QStringLiteral("\"%1 - speler %2\"\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i).toLatin1();
        const QString list = dir.filePath(QStringLiteral("Vudoduzov.lst"));
        writeFile(list, QByteArrayList(entries.rbegin(), entries.rend()).join());
        QProcess process;
        if (QFETCH(bool, littleMemory); littleMemory)
            process.setChildProcessModifier([] {
                const rlimit limit{1500000ull * 1024, 1500000ull * 1024};
                ::setrlimit(RLIMIT_AS, &limit);
            });
        QVERIFY2(startProgram(process, dir), process.readAllStandardError().constData());
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, 0));
        // The score list was written back, sorted, which only a save does.
        QCOMPARE(readFile(list), entries.join());
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
