// The program's two files: the record form they are written in, the settings file and the score
// list, the way every file is read and written, and the program as a process that keeps them.
#include "core/ProgramFolders.h"
#include "core/ProgramState.h"
#include "core/RecordForm.h"
#include "core/ScoreList.h"
#include "core/SettingsFile.h"
#include "platform/Cp1252.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/QtPrinter.h"
#include "testing/Fakes.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <numeric>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// 1.5 GB of address space, as an older school laptop gives.
[[maybe_unused]] static const rlimit kLittleMemory{1500000ull * 1024, 1500000ull * 1024};

class TestFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readingNumbersBooleansAndCodePage()
    {
        TestFolder folder;
        folder.write(QStringLiteral("klein"), "abc");
        const QString klein = folder.file(QStringLiteral("klein"));
        // Memory is taken for what the file holds, never for the limit.
        QCOMPARE(Files::read(klein, std::numeric_limits<qint64>::max()), std::optional<QByteArray>("abc"));
        QCOMPARE(Files::read(klein, 3), std::optional<QByteArray>("abc"));
        QVERIFY(!Files::read(klein, 2));
        // A device without a size is read up to the limit only.
        QVERIFY(!Files::read(QStringLiteral("/dev/zero"), 1024 * 1024));
        for (const char *bad : {"256", "-1", "abc", "\"75\"", "", "TRUE", "\"#TRUE#\""})
            QVERIFY2(!RecordReader(QByteArray(bad)).readNumber(0, 255) && !RecordReader(QByteArray(bad)).readBool(), bad);
        QByteArray all(256, 0);
        std::iota(all.begin(), all.end(), char(0));
        QCOMPARE(Cp1252::decode("\x80\x8a\x9f\xe9"), QStringLiteral("\u20ac\u0160\u0178\u00e9"));
        QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
        QCOMPARE(Cp1252::encode(QStringLiteral("a\u0141b\U0001F600c")), QByteArray("a?b?c"));
    }

    void settingsLoad_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<QByteArray>("settings"); // what was read, as the program writes it
        QTest::addColumn<bool>("rewritten");
        const QByteArray tail("#TRUE#\r\n1\r\n#TRUE#\r\n"); // the defaults of the last three
        const QByteArray defaults = "75\r\n\"gebruiksvoorwerpen\"\r\n" + tail;
        QTest::newRow("missing file is written with defaults") << QByteArray() << defaults << true;
        // Blanks around an item do not count; an empty line is an empty subject.
        const QByteArray full(" 0 \r\n\r\n #FALSE# \r\n255\r\n#FALSE#\r\n");
        QTest::newRow("read, left alone") << full << QByteArray("0\r\n\"\"\r\n#FALSE#\r\n255\r\n#FALSE#\r\n") << false;
        QTest::newRow("256 in line 1 fails at once") << QByteArray("256\r\n\"dieren\"\r\n#FALSE#\r\n") << defaults << true;
        // The first two lines only: what was read before the first bad item stays. The form has no
        // escapes: a quote or a line break would split the item when read again, so they are
        // written as ' and blanks; an unclosed quote takes the rest of the file.
        QTest::newRow("a quote, written as '") << QByteArray("50\r\nx\"y\r\n") << "50\r\n\"x'y\"\r\n" + tail << true;
        QTest::newRow("unclosed quote") << QByteArray("50\r\n\"a\r\n") << "50\r\n\"a  \"\r\n" + tail << true;
        // Far larger than any settings file: refused without reading it, like an unreadable one.
        QTest::newRow("10 MB") << full + QByteArray(10 * 1024 * 1024, ' ') << defaults << true;
    }

    void settingsLoad()
    {
        QFETCH(QByteArray, file);
        TestFolder folder;
        if (!file.isNull())
            folder.write(QStringLiteral("Tuurbord.ini"), file);
        ProgramState state(folder.path());
        SettingsFile::load(state);
        QTEST(SettingsFile::format(state), "settings");
        QFETCH(bool, rewritten);
        QTEST(folder.read(QStringLiteral("Tuurbord.ini")), rewritten ? "settings" : "file");
    }

    void scoreList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("whole"); // else the file is kept aside at the next save
        QTest::newRow("any order, any line end") << QByteArray("\"00042 - jan\"\n\"00010 - ann\"\r\"00035 - piet\"\r\n")
                                                 << QStringList{"00010 - ann", "00035 - piet", "00042 - jan"} << true;
        // Equal scores by name, whatever the case, in the order they came; the same entry twice stays twice.
        QTest::newRow("same score")
            << QByteArray("\"00035 - bob\",\"00035 - Ann\",\"00035 - BOB\",\"00035 - CAS\",\"00035 - BOB\"")
            << QStringList{"00035 - Ann", "00035 - bob", "00035 - BOB", "00035 - BOB", "00035 - CAS"} << true;
        // Blanks around an unquoted item go, empty items are skipped.
        QTest::newRow("commas, blanks, empty items, windows-1252")
            << QByteArray("\"00007 - jan, jos\xe9\",\"00001 - a\"\r\n\r\n  00002 - b  ,\"\"\r\n\" 00003 - c \"  ")
            << QStringList{" 00003 - c ", "00001 - a", "00002 - b", QStringLiteral("00007 - jan, jos\u00e9")} << true;
        // Text after a closing quote is dropped, a quote left open runs to the end of the file (one
        // in the middle takes the next line's entry into its own, see endings): such a file
        // is not read as it stands.
        QTest::newRow("text after the quote") << QByteArray("\"00001 - a\"xyz\r\n") << QStringList{"00001 - a"} << false;
        QTest::newRow("a quote left open") << QByteArray("\"00002 - b\"\r\n\"00001 - a")
                                           << QStringList{"00001 - a", "00002 - b"} << false;
        QTest::newRow("100,000 children") << QByteArray("\"01234 - een naam van een kind\"\r\n").repeated(100000)
                                          << QStringList(100000, QStringLiteral("01234 - een naam van een kind")) << true;
    }

    // Read sorted; inserted one by one, the same order; saved as quoted lines in that order.
    void scoreList()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);
        TestFolder folder;
        folder.write(QStringLiteral("Vudoduzov.lst"), file);
        ScoreList list;
        QTEST(list.loadFile(folder.file(QStringLiteral("Vudoduzov.lst"))), "whole");
        QCOMPARE(list.entries(), entries);
        ScoreList inserted;
        for (const QString &entry : entries)
            inserted.insert(entry);
        QVERIFY(inserted.saveFile(folder.file(QStringLiteral("Vudoduzov.lst"))).ok());
        QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), '"' + Cp1252::encode(entries.join("\"\r\n\"")) + "\"\r\n");
    }

    // A write that cannot be done says why (a read-only folder: tst_import), and leaves the old
    // files and nothing else.
    void refusedWritesSayWhy()
    {
        TestFolder folder;
        ProgramState state(folder.path());
        QCOMPARE(state.Scorelijst.saveFile(state.path(QString(256, u'x'))).reasonText(), "deze naam is niet toegestaan");
        const SmallDisk disk(folder.file(QStringLiteral("schijf")), 64);
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here (needs root and mount rights)");
        folder.write(QStringLiteral("schijf/Vudoduzov.lst"), "\"00001 - kind\"\r\n");
        folder.write(QStringLiteral("schijf/Tuurbord.ini"), "10\r\n");
        disk.fill();
        ProgramState full(disk.path());
        full.Scorelijst.insert(QStringLiteral("99999 - nieuw"));
        QCOMPARE(full.Scorelijst.saveFile(full.scoresPath()).reasonText() + '|' + SettingsFile::save(full).reasonText(),
                 "de schijf is vol|de schijf is vol");
        QCOMPARE(folder.read(QStringLiteral("schijf/Vudoduzov.lst")) + folder.read(QStringLiteral("schijf/Tuurbord.ini")),
                 QByteArray("\"00001 - kind\"\r\n10\r\n"));
        // No half-written temporary file is left beside them and the filler.
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void programFolders()
    {
        TestFolder t;
        // Where the data and the resources are found (relative to t), and whether files are kept.
        const auto locate = [&t](const char *program, const QString &user) -> QString {
            const ProgramFolders f = ProgramFolders::locate(t.file(program), t.file("bin/../share"), user);
            const QDir here(t.path());
            return here.relativeFilePath(f.data) + ' ' + here.relativeFilePath(f.resources) + (f.keepsFiles ? " keeps" : "");
        };
        // A program folder with its data that can be written is used as it is.
        t.write("portable/sounds/knop.wav", "wav");
        t.write("share/plaatjes/dieren/aap.jpg", "jpg");
        QCOMPARE(locate("portable", t.file("user")), QString("portable portable keeps"));
        QCOMPARE(t.tree().filter("portable/"), QStringList({"portable/sounds", "portable/sounds/knop.wav"}));
        // Installed: the settings and scores in the user's folder (its subjects: below).
        QCOMPARE(locate("bin", t.file("user/tuurbord")), QString("user/tuurbord share keeps"));
        // Nowhere to write: the installed pictures are played, nothing is kept.
        QCOMPARE(locate("bin", "/proc/1/geen-map"), QString("share share"));
    }

    void newSubjectsReachEveryUserOnce_data()
    {
        QTest::addColumn<QString>("before");  // the subjects in the user's plaatjes/ before this version
        QTest::addColumn<QString>("removed"); // a picture the user removes after the first start, and its subject
        QTest::addColumn<QString>("after");   // the pictures after the second start
        // Filled by the first version, which kept no record: eten is new to this user.
        QTest::newRow("gains a new subject once") << "dieren gebruiksvoorwerpen" << "eten/eten.jpg"
                                                  << "dieren/eigen.jpg gebruiksvoorwerpen/eigen.jpg";
        QTest::newRow("one removed earlier stays removed") << "gebruiksvoorwerpen" << "" << "eten/eten.jpg gebruiksvoorwerpen/eigen.jpg";
        QTest::newRow("one the user has is left as it is") << "Eten dieren" << "dieren/eigen.jpg" << "Eten/eigen.jpg";
    }

    // An installed program gives each user every default subject once, whatever version filled the
    // user's folder first.
    void newSubjectsReachEveryUserOnce()
    {
        QFETCH(QString, before);
        QFETCH(QString, removed);
        TestFolder t;
        for (const char *subject : {"dieren", "eten", "gebruiksvoorwerpen"})
            t.write(QStringLiteral("share/plaatjes/%1/%1.jpg").arg(subject), "jpg");
        for (const QString &subject : before.split(' ', Qt::SkipEmptyParts))
            t.write("user/plaatjes/" + subject + "/eigen.jpg", "jpg");
        ProgramFolders::locate(t.file("bin"), t.file("share"), t.file("user"));
        QVERIFY(removed.isEmpty() || (QFile::remove(t.file("user/plaatjes/" + removed))
                                      && QDir(t.file("user/plaatjes")).rmdir(QFileInfo(removed).path())));
        ProgramFolders::locate(t.file("bin"), t.file("share"), t.file("user"));
        QTEST(t.tree().filter(QRegularExpression("^user/plaatjes/.+/")).join(' ').remove("user/plaatjes/"), "after");
    }

    void killedWhileWriting_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("Tuurbord.ini") << "Tuurbord.ini";
        QTest::newRow("Vudoduzov.lst") << "Vudoduzov.lst";
        QTest::newRow("a saved picture") << "koe.jpg";
    }

    // Killed at moments spread over its writes while it writes two versions of the file in turn,
    // the program leaves one of them, complete.
    void killedWhileWriting()
    {
        QFETCH(QString, file);
        TestFolder t;
        ProgramState state(t.path());
        ScoreList scores[2];
        for (int i = 0; i < 4001; ++i)
            scores[i % 2].insert(QStringLiteral("%1 - speler %2").arg(i, 5, 10, QLatin1Char('0')).arg(i));
        QImage picture(354, 254, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const auto write = [&](int version) {
            state.Kwaliteit = std::uint8_t(version ? 90 : 30);
            if (file == QLatin1String("Tuurbord.ini"))
                return SettingsFile::save(state).ok();
            if (file == QLatin1String("Vudoduzov.lst"))
                return scores[version].saveFile(t.file(file)).ok();
            return Pictures::saveJpeg(picture, t.file(file), state.Kwaliteit).ok();
        };
        QSet<QByteArray> complete;
        for (int version : {0, 1}) {
            QVERIFY(write(version));
            complete << t.read(file);
        }
        for (int round = 0; round < 200; ++round) {
            const pid_t child = ::fork();
            if (child == 0)
                for (int version = 0;; version ^= 1)
                    write(version);
            QVERIFY(child > 0);
            ::usleep(300 + 29 * round); // from early in a write to several writes on
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            QVERIFY2(complete.contains(t.read(file)), qPrintable(QStringLiteral("round %1: neither version").arg(round)));
        }
    }

    void linksAreReplaced_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("atStartUp"); // the settings file read, which fails, instead of written
        QTest::newRow("Tuurbord.ini at start-up") << "Tuurbord.ini" << true;
        QTest::newRow("Tuurbord.ini") << "Tuurbord.ini" << false;
        QTest::newRow("Vudoduzov.lst") << "Vudoduzov.lst" << false;
        QTest::newRow("a saved picture") << "plaatjes/dieren/koe.jpg" << false;
        QTest::newRow("a print kept as PDF") << "afdruk.pdf" << false;
    }

    // A link in the place of a file the program writes is replaced by the file; what it points at
    // stays as it was. At start-up a settings file that does not read is rewritten only when it is
    // a regular file of its own.
    void linksAreReplaced()
    {
        QFETCH(QString, file);
        QFETCH(bool, atStartUp);
        TestFolder t;
        t.write(QStringLiteral("brief.txt"), "een brief van de juf");
        t.write(file, "oud");
        const QString path = t.file(file);
        QVERIFY(QFile::remove(path) && QFile::link(t.file(QStringLiteral("brief.txt")), path));
        ProgramState state(t.path());
        if (atStartUp) {
            SettingsFile::load(state);
        } else if (file.endsWith(u".ini")) {
            QVERIFY(SettingsFile::save(state).ok());
        } else if (file.endsWith(u".lst")) {
            QVERIFY(state.Scorelijst.saveFile(path).ok());
        } else if (file.endsWith(u".jpg")) {
            QVERIFY(Pictures::saveJpeg(QImage(354, 254, QImage::Format_RGB32), path, 75).ok());
        } else {
            ScriptedDialogs dialogs;
            QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(path));
            printer.printLine(QStringLiteral("Tuurbord"));
            QVERIFY(printer.endAndReport(dialogs));
        }
        QCOMPARE(t.read(QStringLiteral("brief.txt")), QByteArray("een brief van de juf"));
        QCOMPARE(QFileInfo(path).isSymLink(), atStartUp);
        QVERIFY(QFileInfo(path).isFile());
    }

    void endings_data()
    {
        QTest::addColumn<int>("signal"); // 0: started without a display
        QTest::addColumn<QByteArray>("list"); // Vudoduzov.lst at the start; null: a named pipe
        QTest::addColumn<QByteArray>("saved"); // and at the end
        QTest::addColumn<bool>("kept"); // the list at the start kept beside it
        QByteArrayList entries;
        for (int i = 0; i < 1000; ++i)
            entries << QStringLiteral("\"%1 - speler %2\"\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i).toLatin1();
        const QByteArray unsorted = QByteArrayList(entries.rbegin(), entries.rend()).join();
        QTest::newRow("no display") << 0 << unsorted << unsorted << false;
        QTest::newRow("SIGTERM") << int(SIGTERM) << unsorted << entries.join() << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << unsorted << entries.join() << false;
        // A list that is not read whole is never written over: the new list holds what was read.
        QTest::newRow("over the limit") << int(SIGTERM) << QByteArray("\"00001 - kind\"\r\n").repeated(2200000)
                                        << QByteArray() << true;
        // The entry with a quote missing takes the line break and the next line in.
        QByteArray broken = unsorted;
        broken.replace("\"00500 - speler 500\"", "\"00500 - speler 500");
        QByteArrayList read = entries;
        read.removeAt(499);
        read[499] = "\"00500 - speler 500  \"\r\n";
        QTest::newRow("a quote missing in the middle") << int(SIGTERM) << broken << read.join() << true;
        // Never opened, so never waited for: the program ends when asked and a list takes its place.
        QTest::newRow("a named pipe") << int(SIGTERM) << QByteArray() << QByteArray() << false;
    }

    void endings()
    {
        QFETCH(int, signal);
        QFETCH(QByteArray, list);
        QFETCH(bool, kept);
        TestFolder t;
        const QString scores = t.file(QStringLiteral("Vudoduzov.lst"));
        if (list.isNull())
            QCOMPARE(::mkfifo(QFile::encodeName(scores).constData(), 0600), 0);
        else
            t.write(QStringLiteral("Vudoduzov.lst"), list);
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
        QVERIFY(QFileInfo(scores).isFile());
        QTEST(t.read(QStringLiteral("Vudoduzov.lst")), "saved");
        // Every entry that was not read is still on disk: the whole file, kept beside the new one.
        const QString keptName = "Vudoduzov-niet-gelezen-" + QDate::currentDate().toString(Qt::ISODate) + ".lst";
        QCOMPARE(QDir(t.path()).entryList({QStringLiteral("Vudoduzov-*")}), kept ? QStringList{keptName} : QStringList());
        QVERIFY(!kept || t.read(keptName) == list);
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
