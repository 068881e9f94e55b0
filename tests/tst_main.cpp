// The main window as a player meets it: start-up, a whole game through the windows, the help
// page, and every way of ending the program.
#include "platform/Desktop.h"
#include "support/MainFixture.h"
#include "support/Modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>

#include <csignal>
#include <unistd.h>

Q_DECLARE_METATYPE(Main::Ending)

namespace {
// Answers the guess window once it is open: the guess, then (after a wrong one) the name.
void answer(const QString &guess, const QString &name = QString(), std::function<void(QWidget *)> then = {})
{
    whenModal(QStringLiteral(" Oplossing"), [=](QWidget *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
        QTest::keyClicks(edit, guess);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OkKnop")), Qt::LeftButton);
        if (!name.isNull())
            QTest::keyClicks(edit, name);
        if (then)
            then(dialog);
        else if (!name.isNull())
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelKnop")), Qt::LeftButton);
    });
}

int visibleBoxes(const MainFixture &f)
{
    int visible = 0;
    for (int n = 1; n <= 35; ++n)
        visible += f.box(n)->isVisible();
    return visible;
}
}

class TestMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void startUpReportsPictures_data();
    void startUpReportsPictures();
    void aGameThroughTheWindows();
    void noGameStarts_data();
    void noGameStarts();
    void allBoxesOpen();
    void helpPageOpensAndCloses();
    void soundOffKeepsMenuSilent();
    void endingsKeepTheNameBeingTyped_data();
    void endingsKeepTheNameBeingTyped();
    void failedSave_data();
    void failedSave();
    void terminationWhileTheMessageWaits();
    void nothingKeptIsSaidOnce();
};

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
    MainFixture f(folder);
    QTEST(f.info(), "info");
    QVERIFY(!f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 0"));
    QCOMPARE(f.text(QStringLiteral("WoordLabel")), QStringLiteral(".........."));
    QCOMPARE(visibleBoxes(f), 0);
}

void TestMain::aGameThroughTheWindows()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    auto *pic = f.find<QLabel>(QStringLiteral("Pic"));
    f.hover(QStringLiteral("KnopText2_1"));
    QCOMPARE(f.info(), QStringLiteral("Een nieuw spel beginnen met als onderwerp... gebruiksvoorwerpen."));

    f.menu(1);
    QCOMPARE(f.text(QStringLiteral("WoordLabel")), QStringLiteral("Woord van 5 letters"));
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 35"));
    QVERIFY(TestFolder::shows(pic->pixmap().toImage(), QStringLiteral("fiets.jpg")));
    QCOMPARE(visibleBoxes(f), 35);
    // A running game locks Scorelijst, Afdrukken, Tools and Help; a locked entry says nothing.
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled(), i <= 2);
    f.hover(QStringLiteral("BackLabel"));
    f.hover(QStringLiteral("KnopText2_4"));
    QCOMPARE(f.info(), QStringLiteral("Informatieregel..."));

    for (int i = 0; i < 3; ++i)
        f.click(QStringLiteral("VakjeOpen"));
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 32"));
    QCOMPARE(visibleBoxes(f), 32);

    // Right: +35 and a new board. While it is laid out, "Vakje openen" (still enabled from the
    // last board) and "Nieuw spel" are clicked: both must wait for the board.
    answer(QStringLiteral("FIETS"), QString(), [&](QWidget *) {
        f.fakes.waiter.onWait = [&, waits = 0](double) mutable {
            if (++waits == 10) {
                QVERIFY(f.find(QStringLiteral("VakjeOpen"))->isEnabled());
                f.click(QStringLiteral("VakjeOpen"));
                f.menu(1);
            }
        };
    });
    f.menu(2);
    f.fakes.waiter.onWait = {};
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 67"));
    QCOMPARE(visibleBoxes(f), 35);
    QCOMPARE(int(f.state.AantalOpen), 0);

    f.click(QStringLiteral("VakjeOpen"));
    f.click(QStringLiteral("VakjeOpen"));
    answer(QStringLiteral("stoel"), QStringLiteral("Piet"));
    f.menu(2);
    QCOMPARE(f.text(QStringLiteral("WoordLabel")), QStringLiteral(".........."));
    for (int i = 3; i <= 6; ++i)
        QVERIFY(f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled());
    // After the game "Vakje openen" does nothing.
    f.click(QStringLiteral("VakjeOpen"));
    QCOMPARE(visibleBoxes(f), 33);

    QCOMPARE(f.fakes.sound.played, (QStringList{"start.wav", "camera.wav", "camera.wav", "camera.wav", "knop.wav",
                                                "goed.wav", "camera.wav", "camera.wav", "knop.wav", "fout.wav"}));
    f.click(QStringLiteral("ExitKnop"));
    QVERIFY(!f.window->isVisible());
    QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00065 - piet\"\r\n"));
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")), QByteArray("75\r\n\"gebruiksvoorwerpen\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n"));
}

void TestMain::noGameStarts_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("info");
    QTest::newRow("missing folder") << "Mijn Dieren " << "Kan de map [ Mijn Dieren  ] niet vinden!"
                                    << "0 plaatjes aanwezig in de map - gebruiksvoorwerpen -";
    // Every subject that "Add" makes starts empty; a board there would take an empty answer as
    // right, for 35 points, again and again.
    QTest::newRow("no readable picture") << "vogels" << ""
                                         << "Er staan nog geen plaatjes in de map - vogels -. Voeg ze toe met Tools en Import.";
}

void TestMain::noGameStarts()
{
    QFETCH(QString, subject);
    QFETCH(QString, message);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("vogels"), {"kapot.jpg"});
    folder.write(QStringLiteral("plaatjes/vogels/kapot.jpg"), "geen plaatje");
    MainFixture f(folder);
    f.state.Onderwerp = subject;
    f.menu(1);
    QTEST(f.info(), "info");
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(!message.isEmpty()));
    if (!message.isEmpty()) {
        QCOMPARE(f.fakes.dialogs.shown[0].text, message);
        QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral(" Error"));
        QCOMPARE(f.fakes.dialogs.shown[0].icon, Dialogs::Icon::Stop);
    }
    QVERIFY(!f.state.SpelBezig);
    QCOMPARE(visibleBoxes(f), 0);
    QVERIFY(f.find(QStringLiteral("KnopText2_5"))->isEnabled());
    f.menu(2); // no game: no guess window opens
    QCOMPARE(f.state.Score, 0);
}

void TestMain::allBoxesOpen()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    f.menu(1);
    auto *button = f.find<QPushButton>(QStringLiteral("VakjeOpen"));
    for (int i = 1; i <= 35; ++i)
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(visibleBoxes(f), 0);
    QVERIFY(button->isEnabled());
    QVERIFY(f.fakes.dialogs.shown.empty());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, QStringLiteral("Alle vakjes zijn reeds geopend!"));
    QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral("Tuurbord"));
    QVERIFY(!button->isEnabled());
    QCOMPARE(f.text(QStringLiteral("ScoreLabel")), QStringLiteral("Score: 0"));
}

void TestMain::helpPageOpensAndCloses()
{
    TestFolder folder;
    folder.write(QStringLiteral("help/help.htm"), "<html><body><h1>Hulp bij Tuurbord</h1></body></html>");
    MainFixture f(folder);
    auto *browser = f.find<QTextBrowser>(QStringLiteral("Browser"));
    f.menu(6);
    QVERIFY(browser->isVisible());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Hulp bij Tuurbord")));
    for (int i = 1; i <= 5; ++i) {
        QVERIFY(!f.find(QStringLiteral("KnopText_%1").arg(i))->isVisible());
        QVERIFY(!f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled());
    }
    QVERIFY(!f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    f.hover(QStringLiteral("KnopText2_6"));
    QCOMPARE(f.info(), QStringLiteral("Sluiten van de helpfunctie."));

    f.menu(6);
    QVERIFY(!browser->isVisible());
    for (int i = 1; i <= 6; ++i) {
        QVERIFY(f.find(QStringLiteral("KnopText_%1").arg(i))->isVisible());
        QVERIFY(f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled());
    }
    QVERIFY(f.find(QStringLiteral("VakjeOpen"))->isEnabled());
    f.hover(QStringLiteral("KnopText2_6"));
    QCOMPARE(f.info(), QStringLiteral("Informatie en uitleg over dit programma."));
    QCOMPARE(f.fakes.sound.played, (QStringList{"knop.wav", "knop.wav"}));
}

void TestMain::soundOffKeepsMenuSilent()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("x"), {"bal.jpg"});
    folder.write(QStringLiteral("Tuurbord.ini"), "75\r\n\"x\"\r\n#FALSE#\r\n1\r\n#TRUE#\r\n");
    MainFixture f(folder);
    f.menu(1);
    f.click(QStringLiteral("VakjeOpen"));
    answer(QStringLiteral("bal"));
    f.menu(2);
    QCOMPARE(f.state.Score, 69);
    QVERIFY(f.fakes.sound.played.isEmpty());
}

void TestMain::endingsKeepTheNameBeingTyped_data()
{
    QTest::addColumn<Main::Ending>("ending");
    QTest::newRow("Stoppen") << Main::Ending::Stoppen;
    QTest::newRow("close button") << Main::Ending::CloseButton;
    QTest::newRow("SIGTERM") << Main::Ending::Termination;
}

void TestMain::endingsKeepTheNameBeingTyped()
{
    QFETCH(Main::Ending, ending);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    MainFixture f(folder);
    f.window->followProcessEndings();
    QSignalSpy ended(f.window.get(), &Main::ended);
    f.menu(1);
    f.click(QStringLiteral("VakjeOpen"));
    // The game is lost and the player is typing a name when the program is asked to end.
    answer(QStringLiteral("stoel"), QStringLiteral("Kim"), [&](QWidget *) {
        switch (ending) {
        case Main::Ending::Stoppen:
            f.find<QPushButton>(QStringLiteral("ExitKnop"))->click();
            break;
        case Main::Ending::CloseButton:
            f.window->close();
            break;
        case Main::Ending::Termination:
            ::kill(::getpid(), SIGTERM);
            break;
        }
    });
    f.menu(2);
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00034 - kim\"\r\n"));
}

void TestMain::failedSave_data()
{
    QTest::addColumn<Main::Ending>("ending");
    QTest::addColumn<bool>("message");
    QTest::newRow("Stoppen says so") << Main::Ending::Stoppen << true;
    // Asked to end by the system, nobody can click OK: the program goes without waiting.
    QTest::newRow("termination ends quietly") << Main::Ending::Termination << false;
}

void TestMain::failedSave()
{
    QFETCH(Main::Ending, ending);
    QFETCH(bool, message);
    ProgramState state(QStringLiteral("/proc/1/no-such-folder"));
    FakeServices fakes(state);
    Main window(state, fakes.services);
    QSignalSpy ended(&window, &Main::ended);
    window.Form_Load();
    window.show();
    window.end(ending);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(fakes.dialogs.shown.size(), size_t(message));
    if (message) {
        QCOMPARE(fakes.dialogs.shown[0].title, QStringLiteral(" Error"));
        QVERIFY(fakes.dialogs.shown[0].text.contains(QStringLiteral("Vudoduzov.lst")));
        QVERIFY(fakes.dialogs.shown[0].text.contains(QStringLiteral("Tuurbord.ini")));
    }
}

void TestMain::terminationWhileTheMessageWaits()
{
    ProgramState state(QStringLiteral("/proc/1/no-such-folder"));
    FakeServices fakes(state);
    QtDialogs dialogs;
    Services services{fakes.sound, fakes.waiter, dialogs, fakes.random, fakes.printer};
    Main window(state, services);
    window.followProcessEndings();
    QSignalSpy ended(&window, &Main::ended);
    window.show();
    bool rescued = false;
    whenModal(QStringLiteral(" Error"), [&](QWidget *box) {
        ::kill(::getpid(), SIGTERM);
        // Only if the request were ignored: close the box so that the test ends.
        QTimer::singleShot(5000, box, [&rescued, box] {
            rescued = true;
            box->close();
        });
    });
    window.findChild<QPushButton *>(QStringLiteral("ExitKnop"))->click();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!rescued);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestMain::nothingKeptIsSaidOnce()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    ProgramState state(folder.path());
    state.keepsFiles = false;
    FakeServices fakes(state);
    Main window(state, fakes.services);
    window.Form_Load();
    QCOMPARE(fakes.dialogs.shown.size(), size_t(1));
    QVERIFY(fakes.dialogs.shown[0].text.contains(QStringLiteral("geen instellingen en scores bewaren")));
    window.show();
    window.end(Main::Ending::Stoppen);
    QCOMPARE(fakes.dialogs.shown.size(), size_t(1));
    QVERIFY(!folder.exists(QStringLiteral("Vudoduzov.lst")));
}

QTEST_MAIN(TestMain)
#include "tst_main.moc"
