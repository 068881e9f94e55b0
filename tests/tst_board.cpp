#include "platform/Desktop.h"
#include "support/MainFixture.h"

#include <QImage>
#include <QPushButton>

namespace {
QStringList boardsOf(MainFixture &f, int boards)
{
    QStringList words;
    f.window->NieuwSpel();
    words << f.state.Woord;
    for (int i = 1; i < boards; ++i) {
        f.window->NieuwPlaatje();
        words << f.state.Woord;
    }
    return words;
}

int openCount(const ProgramState &state)
{
    int open = 0;
    for (int n = 1; n <= 35; ++n)
        open += state.Geopend[n];
    return open;
}
}

class TestBoard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void pictureOrder_data();
    void pictureOrder();
    void wordAndHint_data();
    void wordAndHint();
    void boardLocksMenuAndShowsPicture();
    void unloadablePictureKeepsThePreviousOne();
    void missingFolderIsReported();
    void anotherSubjectAfterGameOver();
    void openingAllBoxes();
    void openingWithSoundOff();
    void tooltipsNameTheBox_data();
    void tooltipsNameTheBox();
    void clicksDuringLayoutAreHarmless();
    void clicksDuringOpeningAreHarmless();
};

void TestBoard::pictureOrder_data()
{
    QTest::addColumn<bool>("random");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("boards");
    QTest::newRow("list order wraps around")
        << false << QStringList{"c.jpg", "A.jpg", "b.jpg"} << QStringList{"A", "b", "c", "A", "b"};
    QTest::newRow("random with one picture") << true << QStringList{"bal.jpg"} << QStringList(5, QStringLiteral("bal"));
}

void TestBoard::pictureOrder()
{
    QFETCH(bool, random);
    QFETCH(QStringList, files);
    QFETCH(QStringList, boards);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), files);
    MainFixture f(folder);
    f.state.Willekeurig = random;
    QCOMPARE(boardsOf(f, int(boards.size())), boards);
    // A new game starts the list again.
    QCOMPARE(boardsOf(f, 1), boards.mid(0, 1));
}

void TestBoard::wordAndHint_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("hint");
    QTest::newRow("upper-case extension") << QStringList{"Fiets.JPG"} << "Fiets" << "Woord van 5 letters";
    QTest::newRow("blank inside") << QStringList{"rode bal.gif"} << "rode bal" << "Woord van 8 letters";
    QTest::newRow("empty folder") << QStringList{} << "" << "Woord van 0 letters";
    QTest::newRow("other files ignored") << QStringList{"lees mij.txt", "kast.bmp"} << "kast" << "Woord van 4 letters";
}

void TestBoard::wordAndHint()
{
    QFETCH(QStringList, files);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), files);
    MainFixture f(folder);
    f.window->NieuwSpel();
    QTEST(f.state.Woord, "word");
    QTEST(f.text(QStringLiteral("WoordLabel")), "hint");
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 35"));
    QVERIFY(f.state.SpelBezig);
}

void TestBoard::boardLocksMenuAndShowsPicture()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {});
    QImage red(354, 254, QImage::Format_RGB32);
    red.fill(QColor(200, 0, 0));
    QVERIFY(red.save(folder.file(QStringLiteral("plaatjes/Dieren/kat.bmp"))));
    MainFixture f(folder);
    f.state.Onderwerp = QStringLiteral("dieren"); // a subject chosen in lower case still finds its folder
    f.state.SoortVakje = 10;
    f.menu(1);
    QCOMPARE(f.state.Woord, QStringLiteral("kat"));
    QCOMPARE(f.fakes.sound.played, QStringList{"start.wav"});
    const QPixmap shown = f.find<QLabel>(QStringLiteral("Pic"))->pixmap();
    QCOMPARE(shown.size(), QSize(354, 254));
    QCOMPARE(shown.toImage().pixelColor(100, 100), QColor(200, 0, 0));
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled(), i <= 2);
    QVERIFY(f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    for (int n = 1; n <= 35; ++n) {
        QVERIFY(f.box(n)->isVisible());
        QCOMPARE(f.box(n)->size(), QSize(50, 50));
    }
    // Each box appears after its own pause: 35 x 0.05 s, after the 0.2 s press of the menu entry.
    QCOMPARE(f.fakes.waiter.calls, 36);
    QVERIFY(qAbs(f.fakes.waiter.total - 1.95) < 1e-9);
}

void TestBoard::unloadablePictureKeepsThePreviousOne()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"kapot.jpg"});
    MainFixture f(folder);
    const QImage before = f.find<QLabel>(QStringLiteral("Pic"))->pixmap().toImage();
    f.window->NieuwSpel();
    QCOMPARE(f.state.Woord, QStringLiteral("kapot"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("Pic"))->pixmap().toImage(), before);
}

void TestBoard::missingFolderIsReported()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    f.window->NieuwSpel();
    f.window->OpenVakje();
    f.state.Onderwerp = QStringLiteral("Mijn Dieren ");
    f.window->NieuwSpel();
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, QStringLiteral("Kan de map [ Mijn Dieren  ] niet vinden!"));
    QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral(" Error"));
    QCOMPARE(f.fakes.dialogs.shown[0].icon, Dialogs::Icon::Stop);
    // The running game is left as it was.
    QCOMPARE(f.state.Score, 34);
    QCOMPARE(f.state.Woord, QStringLiteral("fiets"));
    QCOMPARE(int(f.state.AantalOpen), 1);
}

void TestBoard::anotherSubjectAfterGameOver()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    folder.makeSubject(QStringLiteral("dieren"), {"olifant.jpg"});
    MainFixture f(folder);
    f.window->NieuwSpel();
    f.state.SpelBezig = false; // a wrong guess ended the game
    f.state.Onderwerp = QStringLiteral("dieren");
    f.window->NieuwSpel();
    QCOMPARE(f.state.Woord, QStringLiteral("olifant"));
    QVERIFY(f.state.SpelBezig);
}

void TestBoard::openingAllBoxes()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    f.window->NieuwSpel();
    auto *button = f.find<QPushButton>(QStringLiteral("VakjeOpen"));
    f.fakes.waiter.total = 0;
    for (int i = 1; i <= 35; ++i) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(int(f.state.AantalOpen), i);
        QCOMPARE(f.state.Score, 35 - i);
    }
    QVERIFY(qAbs(f.fakes.waiter.total - 35 * 0.73) < 1e-6);
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 0"));
    QCOMPARE(openCount(f.state), 35);
    for (int n = 1; n <= 35; ++n)
        QVERIFY(!f.box(n)->isVisible());
    QVERIFY(button->isEnabled());
    QCOMPARE(f.fakes.sound.played.count(QStringLiteral("camera.wav")), 35);
    QVERIFY(f.fakes.dialogs.shown.empty());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, QStringLiteral("Alle vakjes zijn reeds geopend!"));
    QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral("Tuurbord"));
    QCOMPARE(f.fakes.dialogs.shown[0].icon, Dialogs::Icon::None);
    QVERIFY(!button->isEnabled());
    QCOMPARE(f.state.Score, 0);

    // The next board closes every box again and keeps the score.
    f.window->NieuwPlaatje();
    QVERIFY(button->isEnabled());
    QCOMPARE(openCount(f.state), 0);
    QCOMPARE(f.state.Score, 0);
    for (int n = 1; n <= 35; ++n)
        QCOMPARE(f.box(n)->size(), QSize(50, 50));
}

void TestBoard::openingWithSoundOff()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    f.state.GeluidAan = false;
    f.window->NieuwSpel();
    f.fakes.waiter.total = 0;
    f.window->OpenVakje();
    QVERIFY(f.fakes.sound.played.isEmpty());
    QVERIFY(qAbs(f.fakes.waiter.total - 0.73) < 1e-9);
}

void TestBoard::tooltipsNameTheBox_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("tip");
    QTest::newRow("first") << 1 << " Vak 1 ";
    QTest::newRow("last") << 35 << " Vak 35 ";
}

void TestBoard::tooltipsNameTheBox()
{
    QFETCH(int, box);
    TestFolder folder;
    MainFixture f(folder);
    QTEST(f.box(box)->toolTip(), "tip");
}

void TestBoard::clicksDuringLayoutAreHarmless()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"a.jpg", "b.jpg"});
    MainFixture f(folder);
    f.state.Willekeurig = false;
    int nested = 0;
    f.fakes.waiter.onWait = [&](double) {
        if (nested++ == 10) {
            f.menu(1);
            f.menu(2);
            f.click(QStringLiteral("VakjeOpen"));
        }
    };
    f.menu(1);
    QCOMPARE(f.fakes.waiter.calls, 36); // one press and one layout, nothing nested
    QCOMPARE(f.state.Woord, QStringLiteral("a"));
    QCOMPARE(int(f.state.AantalOpen), 0);
    QCOMPARE(openCount(f.state), 0);
}

void TestBoard::clicksDuringOpeningAreHarmless()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"a.jpg"});
    MainFixture f(folder);
    f.window->NieuwSpel();
    bool checked = false;
    f.fakes.waiter.onWait = [&](double) {
        // Whatever a handler sees in the middle of an opening is consistent.
        QCOMPARE(int(f.state.AantalOpen), openCount(f.state));
        QCOMPARE(f.state.Score, 35 - int(f.state.AantalOpen));
        if (!checked) {
            checked = true;
            f.menu(1);
            f.click(QStringLiteral("VakjeOpen"));
        }
    };
    f.window->OpenVakje();
    QVERIFY(checked);
    QCOMPARE(int(f.state.AantalOpen), 1);
    QCOMPARE(f.state.Score, 34);
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
