// The program's two files: the record form they are written in, the settings file and the score
// list, and the way every file is read and written.
#include "core/ProgramFolders.h"
#include "core/ProgramState.h"
#include "core/RecordForm.h"
#include "core/ScoreList.h"
#include "core/SettingsFile.h"
#include "platform/Cp1252.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QByteArray kDefaults("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n");

QStringList items(const QByteArray &bytes)
{
    RecordReader reader(bytes);
    QStringList got;
    while (const auto item = reader.readString())
        got << *item;
    return got;
}

}

class TestFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordItems_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("crlf lines") << QByteArray("\"a\"\r\n\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf only") << QByteArray("\"a\"\n\"b\"\n") << QStringList{"a", "b"};
        QTest::newRow("comma inside quotes") << QByteArray("\"jan, piet\"\r\n") << QStringList{"jan, piet"};
        QTest::newRow("comma separates items") << QByteArray("\"a\",\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("blanks around unquoted") << QByteArray("  hallo wereld  \r\n") << QStringList{"hallo wereld"};
        QTest::newRow("blanks inside quotes kept") << QByteArray("\" x \"\r\n") << QStringList{" x "};
        QTest::newRow("empty line, empty item") << QByteArray("\"\"\r\n\r\n\"z\"") << QStringList{"", "", "z"};
        QTest::newRow("text after closing quote dropped") << QByteArray("\"a\"xyz,\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("unclosed quote runs to end") << QByteArray("\"abc\r\n") << QStringList{"abc\r\n"};
        QTest::newRow("windows-1252 letters") << QByteArray("\"jos\xe9 m\xfcller \x80\"\r\n")
                                              << QStringList{QStringLiteral("jos\u00e9 m\u00fcller \u20ac")};
    }

    void recordItems()
    {
        QFETCH(QByteArray, bytes);
        QTEST(items(bytes), "items");
    }

    void recordNumbersBooleansAndCodePage()
    {
        const auto number = [](const char *text) { return RecordReader(QByteArray(text)).readNumber(0, 255); };
        QCOMPARE(std::pair(number("  12  \r\n"), number("255")), std::pair(std::optional<qint64>(12), std::optional<qint64>(255)));
        for (const char *bad : {"300", "-1", "abc", "\"75\"", ""})
            QVERIFY2(!number(bad), bad);
        const auto boolean = [](const char *text) { return RecordReader(QByteArray(text)).readBool(); };
        QCOMPARE(std::pair(boolean(" #FALSE# \r\n"), boolean("#TRUE#")), std::pair(std::optional(false), std::optional(true)));
        for (const char *bad : {"TRUE", "1", "\"#TRUE#\""})
            QVERIFY2(!boolean(bad), bad);
        RecordWriter writer;
        writer.writeNumber(75);
        writer.writeString(QStringLiteral("a, \"b\"\nc"));
        writer.writeBool(true);
        QCOMPARE(writer.bytes(), QByteArray("75\r\n\"a, 'b' c\"\r\n#TRUE#\r\n"));
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1252::decode(all).at(0x80), QChar(0x20AC));
        QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
        QCOMPARE(Cp1252::encode(QStringLiteral("a\u0141b\U0001F600c")), QByteArray("a?b?c"));
    }

    void settingsLoad_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<QByteArray>("afterwards");
        QTest::addColumn<QString>("onderwerp");
        QTest::addColumn<int>("soort");
        QTest::newRow("missing file is written with defaults") << QByteArray() << kDefaults << "gebruiksvoorwerpen" << 1;
        const QByteArray full("80\r\n\"  mijn dieren \"\r\n#FALSE#\r\n10\r\n#FALSE#\r\n");
        QTest::newRow("complete file is read and left alone") << full << full << "  mijn dieren " << 10;
        QTest::newRow("first two lines only") << QByteArray("50\r\n\"dieren\"\r\n")
                                              << QByteArray("50\r\n\"dieren\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n") << "dieren" << 1;
        QTest::newRow("300 in line 1 fails at once")
            << QByteArray("300\r\n\"dieren\"\r\n#FALSE#\r\n3\r\n#FALSE#\r\n") << kDefaults << "gebruiksvoorwerpen" << 1;
        const QByteArray oneLine("90,\"a\",#FALSE#,2,#TRUE#\n");
        QTest::newRow("comma separated on one line, LF only") << oneLine << oneLine << "a" << 2;
        // Far larger than any settings file: refused without reading it, like an unreadable one.
        QByteArray huge = full;
        huge.append(10 * 1024 * 1024, ' ');
        QTest::newRow("10 MB") << huge << kDefaults << "gebruiksvoorwerpen" << 1;
    }

    void settingsLoad()
    {
        QFETCH(QByteArray, file);
        TestFolder folder;
        if (!file.isEmpty())
            folder.write(QStringLiteral("Tuurbord.ini"), file);
        ProgramState state(folder.path());
        SettingsFile::load(state);
        QTEST(state.Onderwerp, "onderwerp");
        QTEST(int(state.SoortVakje), "soort");
        QTEST(folder.read(QStringLiteral("Tuurbord.ini")), "afterwards");
    }

    void scoreList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");
        const QStringList three{"00010 - ann", "00035 - piet", "00042 - jan"};
        QTest::newRow("any order") << QByteArray("\"00042 - jan\"\r\n\"00010 - ann\"\r\n\"00035 - piet\"\r\n") << three;
        QTest::newRow("descending, LF only") << QByteArray("\"00042 - jan\"\n\"00035 - piet\"\n\"00010 - ann\"\n") << three;
        QTest::newRow("equal scores by name, case does not count, twice kept")
            << QByteArray("\"00035 - bob\"\r\n\"00035 - Ann\"\r\n\"00035 - CAS\"\r\n\"00035 - bob\"\r\n")
            << QStringList{"00035 - Ann", "00035 - bob", "00035 - bob", "00035 - CAS"};
        QTest::newRow("empty lines and empty quotes skipped")
            << QByteArray("\r\n\"00002 - b\"\r\n\"\"\r\n\r\n\"00001 - a\"") << QStringList{"00001 - a", "00002 - b"};
        QTest::newRow("comma inside a name, windows-1252") << QByteArray("\"00007 - jan, jos\xe9\"\r\n")
                                                           << QStringList{QStringLiteral("00007 - jan, jos\u00e9")};
        QTest::newRow("unquoted items") << QByteArray("00001 - a\r\n  00002 - b  \r\n") << QStringList{"00001 - a", "00002 - b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }

    // Read sorted; inserting one by one gives the same order; saved as quoted lines in that order.
    void scoreList()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);
        TestFolder folder;
        folder.write(QStringLiteral("Vudoduzov.lst"), file);
        ScoreList list;
        QVERIFY(list.loadFile(folder.file(QStringLiteral("Vudoduzov.lst"))));
        QCOMPARE(list.entries(), entries);
        ScoreList inserted;
        for (const QString &entry : entries)
            inserted.insert(entry);
        QCOMPARE(inserted.entries(), entries);
        QVERIFY(list.saveFile(folder.file(QStringLiteral("Vudoduzov.lst"))).ok());
        QByteArray lines;
        for (const QString &entry : entries)
            lines += '"' + Cp1252::encode(entry) + "\"\r\n";
        QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), lines);
    }

    void readsAtMostTheFile()
    {
        TestFolder folder;
        folder.write(QStringLiteral("klein"), "abc");
        // A limit of 8 GB must not reserve 8 GB: the program starts on machines with little memory.
        QCOMPARE(Files::read(folder.file(QStringLiteral("klein")), qint64(8) << 30), std::optional<QByteArray>("abc"));
        QCOMPARE(Files::read(folder.file(QStringLiteral("klein")), 3), std::optional<QByteArray>("abc"));
        QVERIFY(!Files::read(folder.file(QStringLiteral("klein")), 2));
        QVERIFY(!Files::read(folder.file(QStringLiteral("geen")), 100));
        QVERIFY(!ScoreList().loadFile(folder.file(QStringLiteral("geen"))));
        // A device without a size is read up to the limit only.
        QVERIFY(!Files::read(QStringLiteral("/dev/zero"), 1024 * 1024));
        // A list of 100,000 children is read whole.
        folder.write(QStringLiteral("groot.lst"), QByteArray("\"01234 - een naam van een kind\"\r\n").repeated(100000));
        ScoreList list;
        QVERIFY(list.loadFile(folder.file(QStringLiteral("groot.lst"))));
        QCOMPARE(list.count(), 100000);
    }

    void fullDiskKeepsTheOldFile()
    {
        TestFolder folder;
        const SmallDisk disk(folder.file(QStringLiteral("schijf")), 64);
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here (needs root and mount rights)");
        ProgramState state(disk.path());
        for (int i = 0; i < 50; ++i)
            state.Scorelijst.insert(QStringLiteral("%1 - kind %2").arg(i, 5, 10, QLatin1Char('0')).arg(i));
        QVERIFY(state.Scorelijst.saveFile(state.scoresPath()).ok());
        QVERIFY(SettingsFile::save(state).ok());
        const QByteArray scores = folder.read(QStringLiteral("schijf/Vudoduzov.lst"));
        const QByteArray settings = folder.read(QStringLiteral("schijf/Tuurbord.ini"));
        disk.fill();
        state.Scorelijst.insert(QStringLiteral("99999 - nieuw"));
        state.Onderwerp = QStringLiteral("dieren");
        const Files::Outcome scoresSaved = state.Scorelijst.saveFile(state.scoresPath());
        const Files::Outcome settingsSaved = SettingsFile::save(state);
        QVERIFY(!scoresSaved.ok());
        QVERIFY(!settingsSaved.ok());
        QVERIFY2(!scoresSaved.error.isEmpty(), "the failure says why");
        QCOMPARE(folder.read(QStringLiteral("schijf/Vudoduzov.lst")), scores);
        QCOMPARE(folder.read(QStringLiteral("schijf/Tuurbord.ini")), settings);
        // No half-written temporary file is left beside them.
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files).size(), 3);
    }

    void programFolders()
    {
        TestFolder t;
        // Where the data and the resources are found (relative to t), and whether files are kept.
        const auto locate = [&t](const char *program, const QString &user) -> QString {
            const ProgramFolders f = ProgramFolders::locate(t.file(program), t.file("bin/../share"), user);
            return QDir(t.path()).relativeFilePath(f.data) + ' ' + QDir(t.path()).relativeFilePath(f.resources) + (f.keepsFiles ? " keeps" : "");
        };
        // A program folder with its data that can be written is used as it is.
        t.write("portable/sounds/knop.wav", "wav");
        QCOMPARE(locate("portable", t.file("user")), QString("portable portable keeps"));
        QVERIFY(!t.exists("user"));
        // Installed: the first start gives the user the default subjects to keep, a later one leaves
        // them as the user left them.
        t.write("share/sounds/knop.wav", "wav");
        t.makeSubject("../share/plaatjes/dieren", {"aap.jpg"});
        QVERIFY(QDir().mkpath(t.file("bin")));
        QCOMPARE(locate("bin", t.file("user/tuurbord")), QString("user/tuurbord share keeps"));
        QCOMPARE(t.read("user/tuurbord/plaatjes/dieren/aap.jpg"), t.read("share/plaatjes/dieren/aap.jpg"));
        QVERIFY(QFile::remove(t.file("user/tuurbord/plaatjes/dieren/aap.jpg")));
        locate("bin", t.file("user/tuurbord"));
        QVERIFY(!t.exists("user/tuurbord/plaatjes/dieren/aap.jpg"));
        // Nowhere to write: the installed pictures are played, nothing is kept.
        QCOMPARE(locate("bin", "/proc/1/geen-map"), QString("share share"));
    }

    void killedWhileWriting_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("Tuurbord.ini") << "Tuurbord.ini";
        QTest::newRow("Vudoduzov.lst") << "Vudoduzov.lst";
        QTest::newRow("a saved picture") << "koe.jpg";
    }

    void killedWhileWriting()
    {
        QFETCH(QString, file);
        TestFolder t;
        ProgramState state(t.path());
        for (int i = 0; i < 2000; ++i)
            state.Scorelijst.insert(QStringLiteral("%1 - speler %2").arg(i, 5, 10, QLatin1Char('0')).arg(i));
        QImage picture(354, 254, QImage::Format_RGB32);
        // Writes one of two versions of the file, the way the program writes it.
        const auto write = [&](int version) {
            state.Kwaliteit = std::uint8_t(version ? 90 : 30);
            picture.fill(version ? Qt::red : Qt::blue);
            if (file == QLatin1String("Tuurbord.ini"))
                return SettingsFile::save(state).ok();
            if (file == QLatin1String("Vudoduzov.lst")) {
                const qsizetype extra = state.Scorelijst.indexOf(QStringLiteral("99999 - extra"));
                if (version && extra < 0)
                    state.Scorelijst.insert(QStringLiteral("99999 - extra"));
                else if (!version && extra >= 0)
                    state.Scorelijst.removeAt(extra);
                return state.Scorelijst.saveFile(state.scoresPath()).ok();
            }
            return Pictures::saveJpeg(picture, t.file(file), state.Kwaliteit).ok();
        };
        QSet<QByteArray> complete;
        for (int version : {0, 1}) {
            QVERIFY(write(version));
            complete << t.read(file);
        }
        QRandomGenerator random(11);
        for (int round = 0; round < 200; ++round) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (int version = 0;; version ^= 1)
                    write(version);
            }
            QVERIFY(child > 0);
            ::usleep(random.bounded(300, 6000));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray now = t.read(file);
            QVERIFY2(complete.contains(now), qPrintable(QStringLiteral("round %1: %2 bytes, neither version").arg(round).arg(now.size())));
        }
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
