#include "game/ProgramState.h"
#include "game/SettingsFile.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {
const QByteArray kDefaults("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n");
}

class TestSettingsFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
    void partialReadKeepsWhatItRead();
    void blanksAroundSubjectSurvive();
    void hostileFilesNeverBreakStartUp_data();
    void hostileFilesNeverBreakStartUp();
    void unwritableFolderIsSilent();
};

void TestSettingsFile::load_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QByteArray>("afterwards");
    QTest::addColumn<int>("kwaliteit");
    QTest::addColumn<QString>("onderwerp");
    QTest::addColumn<bool>("geluid");
    QTest::addColumn<int>("soort");
    QTest::addColumn<bool>("willekeurig");

    QTest::newRow("missing file is written with defaults")
        << QByteArray() << kDefaults << 75 << "gebruiksvoorwerpen" << true << 1 << true;
    const QByteArray full("80\r\n\"dieren\"\r\n#FALSE#\r\n10\r\n#FALSE#\r\n");
    QTest::newRow("complete file is read and left alone") << full << full << 80 << "dieren" << false << 10 << false;
    QTest::newRow("first two lines only")
        << QByteArray("50\r\n\"dieren\"\r\n") << QByteArray("50\r\n\"dieren\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n") << 50
        << "dieren" << true << 1 << true;
    QTest::newRow("300 in line 1 fails at once")
        << QByteArray("300\r\n\"dieren\"\r\n#FALSE#\r\n3\r\n#FALSE#\r\n") << kDefaults << 75 << "gebruiksvoorwerpen"
        << true << 1 << true;
    QTest::newRow("bad boolean stops the read there")
        << QByteArray("60\r\n\"x\"\r\nja\r\n4\r\n#FALSE#\r\n") << QByteArray("60\r\n\"x\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n")
        << 60 << "x" << true << 1 << true;
    const QByteArray oneLine("90,\"a\",#FALSE#,2,#TRUE#\n");
    QTest::newRow("comma separated on one line, LF only") << oneLine << oneLine << 90 << "a" << false << 2 << true;
}

void TestSettingsFile::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, afterwards);
    TestFolder folder;
    if (!file.isEmpty())
        folder.write(QStringLiteral("Tuurbord.ini"), file);
    ProgramState state(folder.path());
    SettingsFile::load(state);
    QTEST(int(state.Kwaliteit), "kwaliteit");
    QTEST(state.Onderwerp, "onderwerp");
    QTEST(state.GeluidAan, "geluid");
    QTEST(int(state.SoortVakje), "soort");
    QTEST(state.Willekeurig, "willekeurig");
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")), afterwards);
}

void TestSettingsFile::partialReadKeepsWhatItRead()
{
    ProgramState state(QString{});
    QVERIFY(!SettingsFile::parse("12\r\n\"vogels\"\r\n#FALSE#\r\n", state));
    QCOMPARE(int(state.Kwaliteit), 12);
    QCOMPARE(state.Onderwerp, QStringLiteral("vogels"));
    QCOMPARE(state.GeluidAan, false);
    QCOMPARE(int(state.SoortVakje), 1);
}

void TestSettingsFile::blanksAroundSubjectSurvive()
{
    TestFolder folder;
    ProgramState state(folder.path());
    state.Onderwerp = QStringLiteral("  mijn dieren ");
    QVERIFY(SettingsFile::save(state));
    ProgramState again(folder.path());
    SettingsFile::load(again);
    QCOMPARE(again.Onderwerp, QStringLiteral("  mijn dieren "));
}

void TestSettingsFile::hostileFilesNeverBreakStartUp_data()
{
    QTest::addColumn<QByteArray>("file");
    QRandomGenerator generator(7);
    QByteArray noise(4096, '\0');
    for (char &c : noise)
        c = char(generator.bounded(256));
    QTest::newRow("random bytes") << noise;
    QTest::newRow("100 MB of digits") << QByteArray(100 * 1024 * 1024, '7');
    QTest::newRow("unclosed quote") << QByteArray("75\r\n\"never closed");
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n");
}

void TestSettingsFile::hostileFilesNeverBreakStartUp()
{
    QFETCH(QByteArray, file);
    TestFolder folder;
    folder.write(QStringLiteral("Tuurbord.ini"), file);
    ProgramState state(folder.path());
    SettingsFile::load(state);
    // Whatever was salvaged, the file on disk now reads back completely.
    ProgramState again(folder.path());
    QVERIFY(SettingsFile::parse(folder.read(QStringLiteral("Tuurbord.ini")), again));
    QCOMPARE(again.Onderwerp, state.Onderwerp);
}

void TestSettingsFile::unwritableFolderIsSilent()
{
    ProgramState state(QStringLiteral("/proc/no-such-folder"));
    SettingsFile::load(state);
    QCOMPARE(int(state.Kwaliteit), 75);
    QVERIFY(!SettingsFile::save(state));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
