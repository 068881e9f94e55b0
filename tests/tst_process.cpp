// The program as a process: what it does without a display, and that a request to end it
// (log-out, shutdown, kill) saves like "Stoppen".
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// 1.5 GB of address space, as an older school laptop gives.
[[maybe_unused]] static const rlimit kLittleMemory{1500000ull * 1024, 1500000ull * 1024};

class TestProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endings_data()
    {
        QTest::addColumn<int>("signal"); // 0: started without a display
        QTest::newRow("no display") << 0;
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void endings()
    {
        QFETCH(int, signal);
        TestFolder t;
        QByteArrayList entries;
        for (int i = 0; i < 1000; ++i)
            entries << QStringLiteral("\"%1 - speler %2\"\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i).toLatin1();
        const QByteArray unsorted = QByteArrayList(entries.rbegin(), entries.rend()).join();
        t.write(QStringLiteral("Vudoduzov.lst"), unsorted);
        // Start-up writes a broken settings file anew: from then on a request to end is heard.
        t.write(QStringLiteral("Tuurbord.ini"), "kapot\r\n");
        // A program folder of its own, which the sounds folder makes one that keeps its own files.
        const QString program = t.file(QStringLiteral("tuurbord"));
        QVERIFY(QDir().mkpath(t.file(QStringLiteral("sounds"))) && QFile::copy(QStringLiteral(TUURBORD_PROGRAM), program));
        QProcess process;
        // Nothing but the platform: no display of the desktop the test runs on.
        process.setEnvironment({signal ? QStringLiteral("QT_QPA_PLATFORM=offscreen") : QStringLiteral("QT_QPA_PLATFORM=")});
#if !defined(__SANITIZE_ADDRESS__) // which reserves far more address space than any such limit
        process.setChildProcessModifier([] { ::setrlimit(RLIMIT_AS, &kLittleMemory); });
#endif
        process.start(program, {});
        if (signal) {
            QTRY_VERIFY_WITH_TIMEOUT(t.read(QStringLiteral("Tuurbord.ini")) != "kapot\r\n", 20000);
            ::kill(pid_t(process.processId()), signal);
        }
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, signal ? 0 : 2));
        // Without a display it says how to start it, before Qt can complain, and touches no file;
        // asked to end, it saves, which writes the list back sorted.
        const QString message = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(message.contains(u"xvfb-run") != bool(signal) && !message.contains(u"qt.qpa"), qPrintable(message));
        QCOMPARE(t.read(QStringLiteral("Vudoduzov.lst")), signal ? entries.join() : unsorted);
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
