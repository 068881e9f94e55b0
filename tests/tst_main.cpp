#include "platform/Desktop.h"
#include "support/MainFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>


using Fixture = MainFixture;

class TestMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void layoutFollowsTwipsTable_data();
    void layoutFollowsTwipsTable();
    void startUpReportsPictures_data();
    void startUpReportsPictures();
    void hoverTexts();
    void helpPageOpensAndCloses();
    void soundOffKeepsMenuSilent();
    void stoppenWritesBothFiles();
    void unwritableFolderStillEnds();
    void closingFromTitleBarSaves();
};

void TestMain::layoutFollowsTwipsTable_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("inWindow"); // pixels, relative to the client area
    // Frame1 at (5, -1): a control at twips (l, t) in Frame1 lies at (5 + l/15, -1 + t/15).
    QTest::newRow("client area") << "Main" << QRect(0, 0, 592, 376);
    QTest::newRow("Pic") << "Pic" << QRect(13, 13, 354, 254);
    QTest::newRow("box 1 on the inner area") << "Vak_1" << QRect(15, 15, 50, 50);
    QTest::newRow("box 35 bottom right") << "Vak_35" << QRect(315, 215, 50, 50);
    QTest::newRow("VakjeOpen") << "VakjeOpen" << QRect(15, 277, 352, 22);
    QTest::newRow("black strip 2 px larger") << "Label1" << QRect(13, 275, 356, 26);
    QTest::newRow("menu background") << "BackLabel" << QRect(375, 13, 207, 316);
    QTest::newRow("InfoLabel in Frame2") << "InfoLabel" << QRect(12, 348, 576, 20);
    QTest::newRow("Stoppen") << "ExitKnop" << QRect(532, 346, 56, 23);
}

void TestMain::layoutFollowsTwipsTable()
{
    QFETCH(QString, control);
    QFETCH(QRect, inWindow);
    TestFolder folder;
    Fixture f(folder);
    QWidget *w = control == QLatin1String("Main") ? f.window.get() : f.find(control);
    QVERIFY(w);
    const QPoint topLeft = w == f.window.get() ? QPoint(0, 0) : w->mapTo(f.window.get(), QPoint(0, 0));
    QCOMPARE(QRect(topLeft, w->size()), inWindow);
}

void TestMain::startUpReportsPictures_data()
{
    QTest::addColumn<QString>("subject"); // folder to make, empty for none
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("info");
    QTest::newRow("pictures of every case")
        << "gebruiksvoorwerpen" << QStringList{"fiets.jpg", "Stoel.JPG", "bal.gif", "kast.bmp", "notes.txt", "x.png"}
        << "4 plaatjes aanwezig in de map - gebruiksvoorwerpen -";
    QTest::newRow("folder spelled in another case")
        << "Gebruiksvoorwerpen" << QStringList{"a.jpg"} << "1 plaatjes aanwezig in de map - gebruiksvoorwerpen -";
    QTest::newRow("no folder") << "" << QStringList{} << "0 plaatjes aanwezig in de map - gebruiksvoorwerpen -";
}

void TestMain::startUpReportsPictures()
{
    QFETCH(QString, subject);
    QFETCH(QStringList, files);
    TestFolder folder;
    if (!subject.isEmpty())
        folder.makeSubject(subject, files);
    Fixture f(folder);
    QTEST(f.info(), "info");
    QCOMPARE(f.find<QPushButton>(QStringLiteral("VakjeOpen"))->isEnabled(), false);
    QCOMPARE(f.find<QLabel>(QStringLiteral("ScoreLabel"))->text(), QStringLiteral("Score: 0"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("WoordLabel"))->text(), QStringLiteral(".........."));
    for (int n = 1; n <= 35; ++n)
        QVERIFY(!f.find(QStringLiteral("Vak_%1").arg(n))->isVisible());
}

void TestMain::hoverTexts()
{
    TestFolder folder;
    Fixture f(folder);
    f.hover(QStringLiteral("KnopText2_1"));
    QCOMPARE(f.info(), QStringLiteral("Een nieuw spel beginnen met als onderwerp... gebruiksvoorwerpen."));
    f.hover(QStringLiteral("BackLabel"));
    QCOMPARE(f.info(), QStringLiteral("Informatieregel..."));
    f.state.Onderwerp = QStringLiteral("dieren");
    f.hover(QStringLiteral("KnopText2_1"));
    QCOMPARE(f.info(), QStringLiteral("Een nieuw spel beginnen met als onderwerp... dieren."));
    f.hover(QStringLiteral("ExitKnop"));
    QCOMPARE(f.info(), QStringLiteral("Het programma afsluiten."));
    f.hover(QStringLiteral("KnopText2_4"));
    QCOMPARE(f.info(), QStringLiteral("Afdrukken van alle plaatjes per onderwerp of map"));
    // A move over the picture is not a move over its frame.
    f.hover(QStringLiteral("Pic"));
    QCOMPARE(f.info(), QStringLiteral("Afdrukken van alle plaatjes per onderwerp of map"));
}

void TestMain::helpPageOpensAndCloses()
{
    TestFolder folder;
    folder.write(QStringLiteral("help/help.htm"), "<html><body><h1>Hulp bij Tuurbord</h1></body></html>");
    Fixture f(folder);
    auto *browser = f.find<QTextBrowser>(QStringLiteral("Browser"));
    f.click(QStringLiteral("KnopText2_6"));
    QVERIFY(browser->isVisible());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Hulp bij Tuurbord")));
    for (int i = 1; i <= 5; ++i) {
        QVERIFY(!f.find(QStringLiteral("KnopText_%1").arg(i))->isVisible());
        QVERIFY(!f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled());
    }
    QVERIFY(!f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    f.hover(QStringLiteral("KnopText2_6"));
    QCOMPARE(f.info(), QStringLiteral("Sluiten van de helpfunctie."));
    QCOMPARE(f.fakes.sound.played, QStringList{"knop.wav"});

    f.click(QStringLiteral("KnopText2_6"));
    QVERIFY(!browser->isVisible());
    for (int i = 1; i <= 6; ++i) {
        QVERIFY(f.find(QStringLiteral("KnopText_%1").arg(i))->isVisible());
        QVERIFY(f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled());
    }
    QVERIFY(f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    f.hover(QStringLiteral("KnopText2_6"));
    QCOMPARE(f.info(), QStringLiteral("Informatie en uitleg over dit programma."));
    // The press effect waits 0.2 s each time, and so does opening the page.
    QCOMPARE(f.fakes.waiter.total, 0.6);
}

void TestMain::soundOffKeepsMenuSilent()
{
    TestFolder folder;
    folder.write(QStringLiteral("Tuurbord.ini"), "75\r\n\"x\"\r\n#FALSE#\r\n1\r\n#TRUE#\r\n");
    Fixture f(folder);
    for (int i : {2, 6, 6})
        f.click(QStringLiteral("KnopText2_%1").arg(i));
    QVERIFY(f.fakes.sound.played.isEmpty());
    f.state.GeluidAan = true;
    f.click(QStringLiteral("KnopText2_2")); // no game: "Oplossing" stays silent
    QVERIFY(f.fakes.sound.played.isEmpty());
}

void TestMain::stoppenWritesBothFiles()
{
    TestFolder folder;
    folder.write(QStringLiteral("Vudoduzov.lst"), "\"00042 - jan\"\r\n\"00010 - ann\"\r\n");
    Fixture f(folder);
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")),
             QByteArray("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n"));
    f.state.SoortVakje = 7;
    f.click(QStringLiteral("ExitKnop"));
    QVERIFY(!f.window->isVisible());
    QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00010 - ann\"\r\n\"00042 - jan\"\r\n"));
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")),
             QByteArray("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n7\r\n#TRUE#\r\n"));
    QVERIFY(f.fakes.dialogs.shown.empty());
}

void TestMain::unwritableFolderStillEnds()
{
    ProgramState state(QStringLiteral("/proc/1/no-such-folder"));
    FakeServices fakes;
    Main window(state, fakes.services);
    window.Form_Load();
    window.show();
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("ExitKnop")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(fakes.dialogs.shown[0].title, QStringLiteral(" Error"));
    QVERIFY(fakes.dialogs.shown[0].text.contains(QStringLiteral("Vudoduzov.lst")));
    QVERIFY(fakes.dialogs.shown[0].text.contains(QStringLiteral("Tuurbord.ini")));
}

void TestMain::closingFromTitleBarSaves()
{
    TestFolder folder;
    Fixture f(folder);
    f.state.Scorelijst.insert(QStringLiteral("00003 - kim"));
    f.window->close();
    QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00003 - kim\"\r\n"));
}

QTEST_MAIN(TestMain)
#include "tst_main.moc"
