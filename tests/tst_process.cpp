// The program as a process: what it does without a display, and that a request to end it
// (log-out, shutdown, kill) saves like "Stoppen".
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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
    const QString program = dir.filePath(QStringLiteral("tuurbord"));
    return QFile::copy(QStringLiteral(TUURBORD_PROGRAM), program) ? program : QString();
}
}

class TestProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplaySaysHowToStart();
    void terminationSavesLikeStoppen_data();
    void terminationSavesLikeStoppen();
};

void TestProcess::withoutDisplaySaysHowToStart()
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

void TestProcess::terminationSavesLikeStoppen_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestProcess::terminationSavesLikeStoppen()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString program = installProgram(dir);
    QVERIFY(!program.isEmpty());
    const QString settings = dir.filePath(QStringLiteral("Tuurbord.ini"));
    const QString scores = dir.filePath(QStringLiteral("Vudoduzov.lst"));
    // A broken settings file is written anew once start-up has read it: then the program is up.
    writeFile(settings, "kapot\r\n");
    writeFile(scores, "\"00042 - jan\"\r\n\"00010 - ann\"\r\n");

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {});
    QVERIFY(process.waitForStarted(20000));
    QDeadlineTimer deadline(20000);
    while (readFile(settings) == "kapot\r\n" && !deadline.hasExpired())
        QTest::qWait(20);
    QCOMPARE(readFile(settings), QByteArray("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n"));

    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    // The score list was written back, sorted, which only a save does.
    QCOMPARE(readFile(scores), QByteArray("\"00010 - ann\"\r\n\"00042 - jan\"\r\n"));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
