// The game: its rules without a window, the main window as a player meets it (start-up, whole
// games through the windows, the help page, every way of ending the program), the guess window
// that records a score, and the score-list window that shows, deletes and prints the entries.
#include "app/Digibord.h"
#include "core/ProgramState.h"
#include "game/Spel.h"
#include "import/Fileform.h"
#include "platform/Desktop.h"
#include "platform/Random.h"
#include "platform/Scale.h"
#include "platform/Touch.h"
#include "scores/Oplossing.h"
#include "core/ScoreEntry.h"
#include "scores/ScoreForm.h"
#include "settings/Tools.h"
#include "support/MainFixture.h"
#include "support/Modal.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <csignal>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Main::Ending)

namespace {
// Answers the guess window once it is open: the guess, then (after a wrong one) the name and
// Exit, or `then` instead of Exit.
void answer(const QString &guess, const QString &name = QString(), std::function<void()> then = {})
{
    whenModal(QStringLiteral(" Oplossing"), [=](QWidget *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
        QTest::keyClicks(edit, guess);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OkKnop")), Qt::LeftButton);
        QTest::keyClicks(edit, name);
        if (then)
            then();
        else if (!name.isNull())
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelKnop")), Qt::LeftButton);
    });
}

// The digibord's scale: the main window's 592 x 376 pixels as large as the screen allows.
double boardScale()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    return std::min(screen.width() / 592.0, screen.height() / 376.0);
}

// The mean difference of two pictures of one size, per colour channel of a pixel (0..255).
double difference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// How sharp a picture is: the mean strength of its edges (the Laplacian of its grey values).
double sharpness(const QImage &picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int row = 1; row + 1 < grey.height(); ++row) {
        const uchar *up = grey.constScanLine(row - 1), *at = grey.constScanLine(row), *down = grey.constScanLine(row + 1);
        for (int col = 1; col + 1 < grey.width(); ++col)
            sum += std::abs(4 * at[col] - at[col - 1] - at[col + 1] - up[col] - down[col]);
    }
    return sum / (grey.width() * grey.height());
}

// A finger's tap at a place of a window, in its pixels.
QPointingDevice *finger()
{
    static QPointingDevice *device = QTest::createTouchDevice();
    return device;
}

void tap(QWidget *window, QPoint at)
{
    // A tap in a window the last one opened comes while that one is still being handled: each its own point.
    static int id = 0;
    QTest::touchEvent(window, finger()).press(++id, at, window);
    QTest::touchEvent(window, finger()).release(id, at, window);
}

// A place of a layout table at a scale, from an origin in pixels.
QPoint scaled(QPoint twipsAt, double scale, QPoint origin = {})
{
    return origin + (QPointF(twipsAt) * scale / 15).toPoint();
}

// The board at a glance: score, hint, boxes showing, "Vakje openen", and the menu entries enabled.
QString board(const MainFixture &f)
{
    int boxes = 0;
    for (int n = 1; n <= 35; ++n)
        boxes += f.box(n)->isVisible();
    QString menu;
    for (int i = 1; i <= 6; ++i)
        menu += f.find(QStringLiteral("KnopText2_%1").arg(i))->isEnabled() ? QChar(u'0' + i) : QChar(u'-');
    return QStringLiteral("%1 | %2 | %3 boxes | %4 | menu %5")
        .arg(f.text(QStringLiteral("ScoreLabel")), f.text(QStringLiteral("WoordLabel")))
        .arg(boxes)
        .arg(f.find(QStringLiteral("VakjeOpen"))->isEnabled() ? QStringLiteral("open") : QStringLiteral("shut"), menu);
}

// "Nieuw spel" in a subject of one picture, fiets.jpg, as the menu's hover text announces it.
void startGame(MainFixture &f)
{
    f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
    f.open();
    f.hover(QStringLiteral("KnopText2_1"));
    QCOMPARE(f.info(), QStringLiteral("Een nieuw spel beginnen met als onderwerp... gebruiksvoorwerpen."));
    f.menu(1);
    QCOMPARE(board(f), QStringLiteral("Score: 35 | Woord van 5 letters | 35 boxes | open | menu 12----"));
    QVERIFY(TestFolder::shows(f.find<QLabel>(QStringLiteral("Pic"))->pixmap().toImage(), QStringLiteral("fiets.jpg")));
}

// A program folder as the start-up tests find it, opened; returns what the teacher is told about
// the score list that does not read as it stands.
QString startUp(MainFixture &f)
{
    f.folder.makeSubject(QStringLiteral("Gebruiksvoorwerpen"),
                         {"fiets.jpg", "Stoel.JPG", "bal.gif", "kast.bmp", "notes.txt", "x.svg"});
    f.folder.write(QStringLiteral("help/help.htm"), "<html><body><h1>Hulp bij Tuurbord</h1></body></html>");
    f.folder.write(QStringLiteral("plaatjes/vogels/kapot.jpg"), "geen plaatje");
    f.folder.write(QStringLiteral("Vudoduzov.lst"), "\"00001 - a\"xyz\r\n");
    f.open();
    return QStringLiteral("Tuurbord|De scorelijst ") + f.state.scoresPath()
        + QStringLiteral(" kon niet helemaal worden gelezen. Er gaat geen score verloren: bij het stoppen wordt dit "
                         "bestand bewaard als\n")
        + f.folder.file("Vudoduzov-niet-gelezen-" + QDate::currentDate().toString(Qt::ISODate) + ".lst")
        + QStringLiteral("\nen begint een nieuwe scorelijst met de scores die wel gelezen zijn.");
}

}

class TestMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        Desktop::installFontSubstitutes();
        QApplication::setStyle(Scale::createStyle());
        Touch::acceptLooseDoubleTaps();
    }
    // A test that fails on the digibord leaves the ordinary view to the next.
    void cleanup() { Scale::setFactor(1); }

    // Start-up reads the subject's folder without regard to case, its pictures too, and tells where
    // a score list that does not read as it stands will be kept.
    void startUpTellsWhatItFound()
    {
        MainFixture f;
        const QString told = startUp(f);
        QCOMPARE(f.fakes.dialogs.said, QStringList{told});
        QCOMPARE(f.info(), QStringLiteral("4 plaatjes aanwezig in de map - gebruiksvoorwerpen -"));
        QCOMPARE(board(f), QStringLiteral("Score: 0 | .......... | 0 boxes | shut | menu 123456"));
    }

    // Where no game can start, none does and no guess window opens: a board in a subject without
    // a readable picture (as every new one is) would take an empty answer as right, again and again.
    void noGameWithoutAFolderOrPictures()
    {
        MainFixture f;
        const QString told = startUp(f);
        f.state.Onderwerp = QStringLiteral("Mijn Dieren ");
        f.menu(1);
        f.state.Onderwerp = QStringLiteral("vogels");
        f.menu(1);
        f.menu(2);
        QCOMPARE(f.fakes.dialogs.said, (QStringList{told, " Error|Kan de map [ Mijn Dieren  ] niet vinden!"}));
        QCOMPARE(f.info(), QStringLiteral("Er staan nog geen plaatjes in de map - vogels -. Voeg ze toe met Tools en Import."));
        QCOMPARE(board(f), QStringLiteral("Score: 0 | .......... | 0 boxes | shut | menu 123456"));
    }

    // "Help" shows the help page in place of the board and locks the rest of the menu; again closes it.
    void helpOpensAndCloses()
    {
        MainFixture f;
        startUp(f);
        auto *browser = f.find<QTextBrowser>(QStringLiteral("Browser"));
        f.menu(6);
        QVERIFY(browser->isVisible() && browser->toPlainText().contains(QStringLiteral("Hulp bij Tuurbord")));
        QCOMPARE(board(f), QStringLiteral("Score: 0 | .......... | 0 boxes | shut | menu -----6"));
        f.hover(QStringLiteral("KnopText2_6"));
        QCOMPARE(f.info(), QStringLiteral("Sluiten van de helpfunctie."));
        f.menu(6);
        QVERIFY(!browser->isVisible());
        QCOMPARE(board(f), QStringLiteral("Score: 0 | .......... | 0 boxes | open | menu 123456"));
    }

    // A picture on the help page with a vector source beside it is drawn from that source at the
    // size the page gives it times the scale, again at every change of scale; one without keeps
    // its file.
    void helpPicturesFromTheirVectorSource()
    {
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        f.folder.write(QStringLiteral("help/help.htm"), "<p><img src=\"a.png\" width=\"20\" height=\"20\"><img src=\"b.png\"></p>");
        QImage grey(32, 32, QImage::Format_RGB32);
        grey.fill(Qt::gray);
        QByteArray png;
        QBuffer buffer(&png);
        grey.save(&buffer, "PNG");
        f.folder.write(QStringLiteral("help/a.png"), png);
        f.folder.write(QStringLiteral("help/b.png"), png);
        f.folder.write(QStringLiteral("help/a.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
                                                     "<rect width=\"10\" height=\"10\" fill=\"#ff0000\"/></svg>");
        f.open();
        auto *browser = f.find<QTextBrowser>(QStringLiteral("Browser"));
        const auto picture = [&](const char *name) {
            browser->grab(); // lays the page out, its pictures included
            const QVariant kept = browser->document()->resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name)));
            if (kept.typeId() == QMetaType::QByteArray)
                return QImage::fromData(kept.toByteArray());
            return kept.typeId() == QMetaType::QPixmap ? kept.value<QPixmap>().toImage() : kept.value<QImage>();
        };
        f.menu(6);
        for (const double scale : {1.0, 2.5, 1.0}) {
            Scale::setFactor(scale);
            const QImage a = picture("a.png");
            QCOMPARE(a.size(), QSize(20, 20) * scale);
            QCOMPARE(a.pixelColor(a.rect().center()), QColor(Qt::red));
            QCOMPARE(picture("b.png").size(), QSize(32, 32));
        }
    }

    // Every picture that comes with the program is a fair question: a 354 x 254 JPEG named by one
    // lower-case word that no other picture uses, in subjects of at least 30.
    void shippedPictures()
    {
        const QDir plaatjes(QStringLiteral(TUURBORD_SOURCE_DIR "/assets/plaatjes"));
        const QRegularExpression word(QStringLiteral("^[a-z]+(\\.jpg)?$"));
        std::set<QString> words;
        const QStringList subjects = plaatjes.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(subjects.size() >= 8);
        for (const QString &subject : subjects) {
            const QStringList files = QDir(plaatjes.filePath(subject)).entryList(QDir::Files | QDir::Hidden);
            QVERIFY2(word.match(subject).hasMatch() && files.size() >= 30, qPrintable(subject));
            for (const QString &file : files) {
                QImageReader picture(plaatjes.filePath(subject + '/' + file));
                QVERIFY2(file.endsWith(".jpg") && word.match(file).hasMatch() && words.insert(file).second
                             && picture.format() == "jpeg" && picture.read().size() == QSize(354, 254),
                         qPrintable(subject + '/' + file));
            }
        }
    }

    // Named pipes where files belong: in the subject folder (and a link to one), in the place of both
    // program files and of a picture on the help page. None is opened, as an open would wait for a
    // writer for ever: the program starts, plays, shows its help and ends when asked.
    void namedPipes()
    {
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        f.folder.write(QStringLiteral("help/help.htm"), "<html><body><h1>Hulp</h1><img src=\"plaatje.png\"></body></html>");
        for (const char *name : {"plaatjes/gebruiksvoorwerpen/x.jpg", "Tuurbord.ini", "Vudoduzov.lst", "help/plaatje.png"})
            QCOMPARE(::mkfifo(QFile::encodeName(f.folder.file(name)).constData(), 0600), 0);
        QVERIFY(QFile::link(f.folder.file("plaatjes/gebruiksvoorwerpen/x.jpg"), f.folder.file("plaatjes/gebruiksvoorwerpen/y.jpg")));
        f.open();
        f.window->followProcessEndings();
        QSignalSpy ended(f.window.get(), &Main::ended);
        QCOMPARE(f.info(), QStringLiteral("1 plaatjes aanwezig in de map - gebruiksvoorwerpen -"));
        f.menu(6);
        f.find(QStringLiteral("Browser"))->grab(); // lays the page out, its picture included
        QVERIFY(f.find<QTextBrowser>(QStringLiteral("Browser"))->toPlainText().contains(QStringLiteral("Hulp")));
        f.menu(6);
        f.menu(1);
        QCOMPARE(board(f), QStringLiteral("Score: 35 | Woord van 5 letters | 35 boxes | open | menu 12----"));
        // Not the settings file's to replace at start-up; at the end both files take the pipes' places.
        QVERIFY(!QFileInfo(f.state.settingsPath()).isFile());
        ::kill(::getpid(), SIGTERM);
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(f.folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray());
        QVERIFY(QFileInfo(f.state.scoresPath()).isFile() && QFileInfo(f.state.settingsPath()).isFile());
    }

    // A game started from the menu; a locked entry says nothing; each box costs a point.
    void aGameStartsAndBoxesCost()
    {
        MainFixture f;
        startGame(f);
        f.hover(QStringLiteral("BackLabel"));
        f.hover(QStringLiteral("KnopText2_4"));
        QCOMPARE(f.info(), QStringLiteral("Informatieregel..."));
        for (int i = 0; i < 3; ++i)
            f.click(QStringLiteral("VakjeOpen"));
        QCOMPARE(board(f), QStringLiteral("Score: 32 | Woord van 5 letters | 32 boxes | open | menu 12----"));
    }

    // Right: +35 and a new board. While it is laid out, "Vakje openen" (still enabled from the last
    // board) and "Nieuw spel" are clicked: both must wait for the board.
    void aRightAnswerBringsTheNextBoard()
    {
        MainFixture f;
        startGame(f);
        f.click(QStringLiteral("VakjeOpen"));
        answer(QStringLiteral("FIETS"), QString(), [&] {
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
        QCOMPARE(board(f), QStringLiteral("Score: 69 | Woord van 5 letters | 35 boxes | open | menu 12----"));
        QCOMPARE(f.fakes.sound.played, (QStringList{"start.wav", "camera.wav", "knop.wav", "goed.wav"}));
    }

    // Wrong: the game ends, the menu is free again, and at "Stoppen" the name and score are on disk.
    void aWrongAnswerEndsTheGameInTheScoreList()
    {
        MainFixture f;
        startGame(f);
        f.click(QStringLiteral("VakjeOpen"));
        f.click(QStringLiteral("VakjeOpen"));
        answer(QStringLiteral("stoel"), QStringLiteral("Piet"));
        f.menu(2);
        f.click(QStringLiteral("VakjeOpen")); // after the game it does nothing
        QCOMPARE(board(f), QStringLiteral("Score: 33 | .......... | 33 boxes | open | menu 123456"));
        QCOMPARE(f.fakes.sound.played, (QStringList{"start.wav", "camera.wav", "camera.wav", "knop.wav", "fout.wav"}));
        f.click(QStringLiteral("ExitKnop"));
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00033 - piet\"\r\n"));
    }

    void digibordIsTheWindowScaled_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QRect>("artwork"); // in ordinary pixels
        QTest::newRow("main window") << "Main" << QRect(13, 13, 350, 250); // the start picture
        QTest::newRow("guess window") << "Oplossing" << QRect();
        QTest::newRow("settings window") << "Tools" << QRect();
        QTest::newRow("score list, taller than the board") << "ScoreForm" << QRect();
        QTest::newRow("import window, taller too") << "Fileform" << QRect(13, 48, 16, 16); // a folder
    }

    // The digibord view is the ordinary window at the board's scale, in the middle of the screen:
    // every control in its place and its letters that many times larger; scaled back down it is
    // the ordinary window, and it is sharper than the ordinary window scaled up. A window that does
    // not fit the screen at the board's scale is drawn at the largest that fits, and the board
    // keeps its own. Back in the ordinary view, the window is what it was.
    void digibordIsTheWindowScaled()
    {
        QFETCH(QString, window);
        MainFixture f;
        Main &main = f.open();
        auto *digibord = new Digibord(main, f.folder.file(QStringLiteral("weergave")));
        std::unique_ptr<QDialog> dialog;
        // The window as it shows, and where its controls lie and how large their letters are, in
        // ordinary pixels and points.
        struct Shown
        {
            QImage picture;
            double scale;
            QMap<QString, QPointF> places;
            QMap<QString, double> points;
        };
        const auto look = [&] {
            QWidget *shown = &main;
            QRect area(QPoint(), QSize(592, 376) * Scale::factor());
            if (window == QLatin1String("Main")) {
                area.moveTopLeft(QPoint(main.width() - area.width(), main.height() - area.height()) / 2);
            } else {
                // As the main window opens it, at the scale of the moment.
                if (!dialog) {
                    if (window == QLatin1String("Tools"))
                        dialog.reset(new Tools(f.state, f.fakes.services, &main));
                    else if (window == QLatin1String("ScoreForm"))
                        dialog.reset(new ScoreForm(f.state, f.fakes.services, &main));
                    else if (window == QLatin1String("Fileform"))
                        dialog.reset(new Fileform(f.state, f.fakes.services, &main));
                    else
                        dialog.reset(new Oplossing(f.state, f.fakes.services, &main));
                }
                dialog->show();
                shown = dialog.get();
                area = shown->rect();
            }
            const double scale = Scale::factorOf(shown);
            Shown seen{shown->grab(area).toImage(), scale, {}, {}};
            for (const QWidget *control : shown->findChildren<QWidget *>())
                if (!control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_"))) {
                    seen.places.insert(control->objectName(), QPointF(control->mapTo(shown, QPoint()) - area.topLeft()) / scale);
                    seen.points.insert(control->objectName(), control->font().pointSizeF() / scale);
                }
            return seen;
        };
        const Shown ordinary = look();
        dialog.reset();
        digibord->setOn(true);
        const QSize screen = main.screen()->geometry().size();
        const double boardS = boardScale();
        const Shown board = look();
        QCOMPARE(Scale::factor(), boardS);
        // A window opened on the board has no title bar and the whole screen to fit in.
        const double s = window == QLatin1String("Main")
            ? boardS
            : std::min({boardS, double(screen.width()) / ordinary.picture.width(), double(screen.height()) / ordinary.picture.height()});
        QVERIFY(!dialog || dialog->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(board.scale, s);
        const QSize expected = (QSizeF(ordinary.picture.size()) * s).toSize();
        QVERIFY(std::abs(board.picture.width() - expected.width()) <= 1 && std::abs(board.picture.height() - expected.height()) <= 1);
        for (auto it = ordinary.places.cbegin(); it != ordinary.places.cend(); ++it)
            QVERIFY2((board.places.value(it.key()) - *it).manhattanLength() < 2
                         && std::abs(board.points.value(it.key()) / ordinary.points.value(it.key()) - 1) < 0.05,
                     qPrintable(it.key()));
        const QImage down = board.picture.scaled(ordinary.picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage up = ordinary.picture.scaled(board.picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double apart = difference(down, ordinary.picture);
        const double sharper = sharpness(board.picture) / sharpness(up);
        QFETCH(QRect, artwork);
        const QRect art = QRectF(QPointF(artwork.topLeft()) * s, QSizeF(artwork.size()) * s).toRect();
        const double artSharper = art.isEmpty() ? 2 : sharpness(board.picture.copy(art)) / sharpness(up.copy(art));
        QVERIFY2(apart < 12 && sharper > 1.3 && artSharper > 1.2,
                 qPrintable(QStringLiteral("%1 apart, %2 times as sharp, artwork %3").arg(apart).arg(sharper).arg(artSharper)));
        digibord->setOn(false);
        const QImage back = look().picture;
        QCOMPARE(back.size(), ordinary.picture.size());
        // A window laid out on the board sized its texts by the board's letters: back at scale 1, a
        // control sized by its text may be a pixel off.
        QVERIFY(difference(back, ordinary.picture) < 2);
    }

    // A whole game on the digibord by a finger at the places of the layouts times the board's scale:
    // a press shows the menu's press effect and what the entry does, a tap is a click, a double tap
    // a double click also when the finger lands a little apart. The score list, taller than the
    // main window, is drawn at the scale at which it fits the screen, before the board at its own,
    // and prints. F11
    // switches there and back at any moment, and the game, the scores and the settings stay.
    void aGameByFingerOnTheDigibord()
    {
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        f.folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg"});
        Main &main = f.open();
        new Digibord(main, f.folder.file(QStringLiteral("weergave")));
        QTest::keyClick(&main, Qt::Key_F11);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(main.size(), screen);
        const double s = boardScale();
        const QPoint origin = QPoint(screen.width() - qRound(592 * s), screen.height() - qRound(376 * s)) / 2;
        const auto entry = [&](int i) { return scaled({6510, 435 + 660 * (i - 1)}, s, origin); };

        QWidget *icon = f.find(QStringLiteral("KnopImg_1"));
        const QPoint rest = icon->pos();
        QTest::touchEvent(&main, finger()).press(100, entry(1), &main);
        const QPoint pressed = icon->pos() - rest; // 15 twips right and down
        QVERIFY(pressed.x() > 0 && pressed.y() > 0 && (pressed - QPoint(qRound(s), qRound(s))).manhattanLength() <= 2);
        QCOMPARE(f.info(), QStringLiteral("Een nieuw spel beginnen met als onderwerp... gebruiksvoorwerpen."));
        QTest::touchEvent(&main, finger()).release(100, entry(1), &main);
        QCOMPARE(board(f), QStringLiteral("Score: 35 | Woord van 5 letters | 35 boxes | open | menu 12----"));
        for (int i = 0; i < 3; ++i)
            tap(&main, scaled({2865, 4320}, s, origin)); // Vakje openen
        whenModal(QStringLiteral(" Oplossing"), [&](QWidget *guess) {
            auto *edit = guess->findChild<QLineEdit *>(QStringLiteral("Text1"));
            QTest::keyClicks(edit, QStringLiteral("stoel"));
            tap(guess, scaled({4710, 412}, s)); // Ok
            QTest::keyClicks(edit, QStringLiteral("Jan"));
            // There and back, with the name being typed; the window system shows the main window's
            // new state before the next tap, as it would.
            QTest::keyClick(guess, Qt::Key_F11);
            QTest::keyClick(guess, Qt::Key_F11);
            QCoreApplication::processEvents();
            tap(guess, scaled({4710, 757}, s)); // Exit
        });
        tap(&main, entry(2));
        QCOMPARE(board(f), QStringLiteral("Score: 32 | .......... | 32 boxes | open | menu 123456"));

        // Opened on the board, without a title bar: the whole height of the screen is its own.
        const double listScale = std::min({s, screen.width() / 232.0, screen.height() / 416.0});
        main.InfoRegel(QStringLiteral("Lijst van de deelnemers met hun behaalde score.")); // as the tap will say
        const QImage before = main.grab().toImage();
        double shownScale = 0;
        double boardScaleMeanwhile = 0;
        bool exited = false;
        whenModal(QStringLiteral(" Scorelijst"), [&](QWidget *list) {
            shownScale = list->windowFlags() & Qt::FramelessWindowHint ? Scale::factorOf(list) : 0;
            boardScaleMeanwhile = Scale::factorOf(&main);
            tap(list, scaled({2530, 5115}, listScale)); // Afdrukken, answered Yes
            tap(list, scaled({2985, 5895}, listScale)); // Exit
            exited = !list->isVisible();
            list->close(); // when the taps missed, for the test to go on
        });
        tap(&main, entry(3));
        QVERIFY(exited);
        QCOMPARE(shownScale, listScale);
        QCOMPARE(boardScaleMeanwhile, s);
        QCOMPARE(main.grab().toImage(), before); // to the pixel
        QCOMPARE(f.fakes.printer.texts().back().text, QStringLiteral("Op de 1e plaats staat... jan met 32 punten."));

        whenModal(QStringLiteral(" Tools"), [&](QWidget *tools) {
            auto *subjects = tools->findChild<QListWidget *>(QStringLiteral("List1"));
            const QRect item = subjects->visualItemRect(subjects->findItems(QStringLiteral("dieren"), Qt::MatchExactly).value(0));
            tap(tools, subjects->viewport()->mapTo(tools, item.center()));
            tap(tools, subjects->viewport()->mapTo(tools, item.center() + QPoint(qRound(12 * s), 0)));
            tap(tools, scaled({6307, 3697}, s)); // Exit
        });
        tap(&main, entry(5));
        QCOMPARE(f.state.Onderwerp, QStringLiteral("dieren"));

        QTest::keyClick(&main, Qt::Key_F11);
        QCOMPARE(main.size(), QSize(592, 376));
        QCOMPARE(board(f), QStringLiteral("Score: 32 | .......... | 32 boxes | open | menu 123456"));
        QCOMPARE(f.state.Scorelijst.entries(), QStringList{"00032 - jan"});
        QCOMPARE(f.folder.read(QStringLiteral("weergave")), QByteArray("venster\n"));
    }

    // Under a window manager, as on a classroom's desktop: every switch to the digibord fills the
    // screen without a title bar, also the second one, and every switch back puts the window where
    // it stood, with its guess window open in front of it. A window opened on the board has no
    // title bar of the desktop's size.
    void digibordUnderAWindowManager()
    {
        if (qEnvironmentVariableIsEmpty("TUURBORD_WINDOW_MANAGER"))
            QSKIP("runs on a virtual screen with a window manager (CTest: tst_main_digibord_wm)");
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        Main &main = f.open();
        auto *digibord = new Digibord(main, f.folder.file(QStringLiteral("weergave")));
        const auto framed = [&] { return main.frameGeometry().height() > main.height(); }; // a title bar
        QTRY_VERIFY_WITH_TIMEOUT(main.windowHandle()->isExposed() && framed(), 10000);
        const QRect stood = main.geometry();
        const QRect screen = main.screen()->geometry();
        f.menu(1);
        QStringList wrong;
        whenModal(QStringLiteral(" Oplossing"), [&](QWidget *guess) {
            for (int round = 1; round <= 2; ++round) {
                digibord->setOn(true);
                if (!QTest::qWaitFor([&] { return main.frameGeometry() == screen && main.windowHandle()->windowStates() & Qt::WindowFullScreen; }))
                    wrong << QStringLiteral("round %1: not full-screen but %2").arg(round).arg(QDebug::toString(main.frameGeometry()));
                digibord->setOn(false);
                if (!QTest::qWaitFor([&] { return main.geometry() == stood && framed(); }))
                    wrong << QStringLiteral("round %1: back at %2").arg(round).arg(QDebug::toString(main.frameGeometry()));
            }
            guess->close();
        });
        f.menu(2);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
        // Opened on the board, the guess window has no title bar either.
        digibord->setOn(true);
        QRect frame, inside;
        whenModal(QStringLiteral(" Oplossing"), [&](QWidget *guess) {
            QTest::qWaitFor([&] { return guess->windowHandle()->isExposed(); });
            QTest::qWait(200); // for a frame, were there one
            frame = guess->frameGeometry();
            inside = guess->geometry();
            guess->close();
        });
        f.menu(2);
        QVERIFY(!inside.isEmpty());
        QCOMPARE(frame, inside);
    }

    void endingsKeepTheNameBeingTyped_data()
    {
        QTest::addColumn<Main::Ending>("ending");
        QTest::newRow("Stoppen") << Main::Ending::Stoppen;
        QTest::newRow("close button") << Main::Ending::CloseButton;
        QTest::newRow("SIGTERM") << Main::Ending::Termination;
    }

    void endingsKeepTheNameBeingTyped()
    {
        QFETCH(Main::Ending, ending);
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        f.open();
        f.window->followProcessEndings();
        QSignalSpy ended(f.window.get(), &Main::ended);
        f.state.GeluidAan = false;
        f.menu(1);
        for (int i = 0; i <= 35; ++i)
            f.click(QStringLiteral("VakjeOpen"));
        QCOMPARE(f.fakes.dialogs.said, QStringList{"Tuurbord|Alle vakjes zijn reeds geopend!"});
        QCOMPARE(board(f), QStringLiteral("Score: 0 | Woord van 5 letters | 0 boxes | shut | menu 12----"));
        // The game is lost and the player is typing a name when the program is asked to end.
        answer(QStringLiteral("stoel"), QStringLiteral("Kim"), [&] {
            if (ending == Main::Ending::Stoppen)
                f.find<QPushButton>(QStringLiteral("ExitKnop"))->click();
            else if (ending == Main::Ending::CloseButton)
                f.window->close();
            else
                ::kill(::getpid(), SIGTERM);
        });
        f.menu(2);
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(f.folder.read(QStringLiteral("Vudoduzov.lst")), QByteArray("\"00000 - kim\"\r\n"));
        // The sound setting as it was switched off, and not a sound with it.
        QCOMPARE(f.folder.read(QStringLiteral("Tuurbord.ini")).split('\n').at(2), QByteArray("#FALSE#\r"));
        QVERIFY(f.fakes.sound.played.isEmpty());
    }

    void savingRefused_data()
    {
        QTest::addColumn<bool>("keepsFiles"); // false: the folder was found unwritable at start-up
        QTest::addColumn<Main::Ending>("ending");
        QTest::addColumn<bool>("terminated"); // while the real message box waits for a click
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("Stoppen says so") << true << Main::Ending::Stoppen << false << QStringList{" Error"};
        // Asked to end by the system, nobody can click OK: the program goes without waiting.
        QTest::newRow("termination ends quietly") << true << Main::Ending::Termination << false << QStringList{};
        QTest::newRow("SIGTERM while the message waits") << true << Main::Ending::Stoppen << true << QStringList{};
        QTest::newRow("said once, at start-up") << false << Main::Ending::Stoppen << false << QStringList{"Tuurbord"};
    }

    void savingRefused()
    {
        QFETCH(bool, keepsFiles);
        QFETCH(Main::Ending, ending);
        QFETCH(bool, terminated);
        ProgramState state(QStringLiteral("/proc/1/no-such-folder"));
        state.keepsFiles = keepsFiles;
        FakeServices fakes(state);
        QtDialogs real;
        Services services{fakes.sound, fakes.waiter, terminated ? static_cast<Dialogs &>(real) : fakes.dialogs,
                          fakes.random, fakes.printer};
        Main window(state, services);
        window.followProcessEndings();
        QSignalSpy ended(&window, &Main::ended);
        window.Form_Load();
        window.show();
        // Were the request ignored, the box would wait for a click until the test timed out.
        if (terminated)
            whenModal(QStringLiteral(" Error"), [](QWidget *) { ::kill(::getpid(), SIGTERM); });
        window.end(ending);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QStringList titles;
        for (const QString &box : fakes.dialogs.said) {
            titles << box.section(QLatin1Char('|'), 0, 0);
            QVERIFY(box.contains(keepsFiles ? QStringLiteral("Vudoduzov.lst: de map bestaat niet")
                                            : QStringLiteral("geen instellingen en scores")));
        }
        QTEST(titles, "messages");
    }

    void messageBoxesAtTheScale_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one line") << "Alle vakjes zijn reeds geopend!";
        QTest::newRow("wrapped") << "Tuurbord kan op deze computer geen instellingen en scores bewaren: de map "
                                    "/home/juf/tuurbord kan niet worden beschreven. Het spel gaat gewoon door.";
    }

    // A message box on the digibord is the ordinary one at the board's scale: as many lines, each as
    // wide, so its width grows with the scale.
    void messageBoxesAtTheScale()
    {
        QFETCH(QString, text);
        QtDialogs dialogs;
        const auto shown = [&](double scale) {
            Scale::setFactor(scale);
            QSizeF size;
            whenModal(QStringLiteral(" Bericht"), [&](QWidget *box) {
                const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                size = QSizeF(box->width(), double(label->height()) / label->fontMetrics().lineSpacing());
                box->close();
            });
            dialogs.message(text, QStringLiteral(" Bericht"), Dialogs::Icon::None, Dialogs::Buttons::Ok);
            return size; // the box's width and its text's lines
        };
        const QSizeF ordinary = shown(1);
        const double s = boardScale();
        const QSizeF board = shown(s);
        QVERIFY2(qRound(board.height()) == qRound(ordinary.height()) && std::abs(board.width() / ordinary.width() / s - 1) < 0.1,
                 qPrintable(QStringLiteral("%1 x %2 lines, ordinary %3 x %4").arg(board.width()).arg(board.height())
                                .arg(ordinary.width()).arg(ordinary.height())));
    }

    void aGame_data()
    {
        QTest::addColumn<QString>("subject"); // chosen while a game runs, as stored in the settings
        QTest::addColumn<Spel::Start>("start");
        QTest::newRow("missing folder") << "vogels" << Spel::Start::FolderMissing;
        QTest::newRow("nothing readable") << "leeg" << Spel::Start::NoPictures;
        QTest::newRow("only a picture without a word") << "naamloos" << Spel::Start::NoPictures;
        // A hand-edited settings file must not make the game read folders outside plaatjes.
        QTest::newRow("climbs out") << "../buiten" << Spel::Start::FolderMissing;
        QTest::newRow("absolute path") << "/buiten" << Spel::Start::FolderMissing; // below the program folder
    }

    void aGame()
    {
        QFETCH(QString, subject);
        TestFolder folder;
        ProgramState state(folder.path());
        Random random(12345);
        Spel spel(state, random);
        folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"c d.gif", "B.JPG", "a.bmp", "e.txt"});
        folder.makeSubject(QStringLiteral("../buiten"), {"buiten.jpg"});
        for (const char *broken : {"gebruiksvoorwerpen/kapot.jpg", "leeg/kapot.jpg"})
            folder.write(QStringLiteral("plaatjes/") + QLatin1String(broken), "geen plaatje");
        // A picture that reads well but has no word: an empty answer would be right.
        const QString readable = folder.file(QStringLiteral("plaatjes/gebruiksvoorwerpen/B.JPG"));
        QDir().mkpath(folder.file(QStringLiteral("plaatjes/naamloos")));
        for (const char *nameless : {"gebruiksvoorwerpen/.jpg", "naamloos/.jpg"})
            QVERIFY(QFile::copy(readable, folder.file(QStringLiteral("plaatjes/") + QLatin1String(nameless))));
        state.Willekeurig = false;
        QCOMPARE(spel.nieuwSpel(), Spel::Start::Started);
        // In list order by name whatever the case, wrapping around, past the file that is no picture,
        // the one that cannot be read and the one without a word. The word is the file name without
        // its extension.
        const QStringList boards{"a.bmp", "B.JPG", "c d.gif", "a.bmp", "B.JPG"};
        for (const QString &file : boards) {
            QCOMPARE(state.Woord, file.chopped(4));
            QVERIFY(TestFolder::shows(state.Plaatje, file));
            QCOMPARE(Spel::hint(state.Woord), QStringLiteral("Woord van %1 letters").arg(file.size() - 4));
            QVERIFY(spel.goedGeraden());
        }
        // 35 to start with and 35 for every right guess; a point for every box, 35 of them.
        for (int i = 0; i < 35; ++i)
            spel.openVakje();
        QCOMPARE(spel.openVakje(), 0);
        QCOMPARE(state.Score, 35 * int(boards.size()));
        // A right guess closes every box.
        state.Geraden = true;
        QVERIFY(spel.goedGeraden());
        QVERIFY(state.Geopend == decltype(state.Geopend){} && !state.Geraden);

        // A new game starts the list again, from 35. A subject where no game can start leaves the
        // running game exactly as it was, and it goes on.
        QCOMPARE(spel.nieuwSpel(), Spel::Start::Started);
        QVERIFY(spel.openVakje() > 0);
        const QImage picture = state.Plaatje;
        state.Onderwerp = subject.startsWith(u'/') ? folder.path() + subject : subject;
        QTEST(spel.nieuwSpel(), "start");
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(state.Score).arg(state.Woord).arg(state.AantalOpen)
                     .arg(state.SpelBezig), QStringLiteral("34 a 1 1"));
        QCOMPARE(state.Plaatje, picture);
        QVERIFY(spel.goedGeraden());
        QCOMPARE(state.Woord, QStringLiteral("B"));
        // At random every readable picture comes, the same one again included.
        state.Willekeurig = true;
        QStringList words{state.Woord};
        for (int i = 0; i < 30 && spel.goedGeraden(); ++i)
            words << state.Woord;
        QCOMPARE(std::set<QString>(words.begin(), words.end()), (std::set<QString>{"a", "B", "c d"}));
        QVERIFY(std::adjacent_find(words.begin(), words.end()) != words.end());
    }

    void entries_data()
    {
        QTest::addColumn<int>("score"); // -1: an entry as a hand-edited list may hold it, not formed here
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("parts"); // name|points, as printed
        const QString x100(100, QLatin1Char('x'));
        QTest::newRow("zero, lower case, outside the code page")
            << 0 << "JOS\u00c9 \u0141UKASZ" << "00000 - jos\u00e9 ?ukasz" << "jos\u00e9 ?ukasz|0";
        QTest::newRow("six digits, dash in name") << 123456 << "a - b" << "123456 - a - b" << "a - b|123456";
        // Quotes and control characters would break the score-list file.
        QTest::newRow("blanks, quote, comma, line breaks")
            << 42 << " Jan \"baas\", a\nb\r\tc \n" << "00042 -  jan 'baas', a b  c" << " jan 'baas', a b  c|42";
        QTest::newRow("long name cut") << 1 << QString(300, QLatin1Char('x')) << "00001 - " + x100 << x100 + "|1";
        // A hand-edited list may hold any number: it prints as it stands, never as 0 or negative.
        QTest::newRow("too large for 64 bits") << -1 << "" << "000123456789012345678901 - x" << "x|123456789012345678901";
        QTest::newRow("no number") << -1 << "" << "abcde - y" << "y|0";
    }

    void entries()
    {
        QFETCH(int, score);
        QFETCH(QString, name);
        QFETCH(QString, entry);
        if (score >= 0)
            QCOMPARE(ScoreEntry::form(score, name), entry);
        QTEST(QString(ScoreEntry::name(entry) + QLatin1Char('|') + ScoreEntry::points(entry)), "parts");
    }

    void guess_data()
    {
        QTest::addColumn<QString>("typed"); // null: Exit without a guess
        QTest::addColumn<QString>("name"); // typed after a wrong guess or instead of one; null: the guess was right
        QTest::addColumn<bool>("titleBar"); // closed with the title bar's close instead of Exit
        QTest::addColumn<QStringList>("list");
        QTest::newRow("right in another case") << "fIETS" << QString() << false << QStringList{};
        QTest::newRow("trailing blank is wrong, empty name adds nothing") << "fiets " << "" << false << QStringList{};
        QTest::newRow("part of the word, title bar acts as Exit") << "fiet" << "Kim" << true << QStringList{"00017 - kim"};
        QTest::newRow("Exit while looking keeps the game") << QString() << "iets" << false << QStringList{};
    }

    // The guess window in a running game with the word "fiets" and 17 points.
    void guess()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        WindowFixture<Oplossing> g;
        g.state.Woord = QStringLiteral("fiets");
        g.state.Score = 17;
        g.state.SpelBezig = true;
        g.open();
        // The game's rules judge what the window reports, as the main window has them do.
        Spel spel(g.state, g.fakes.random);
        connect(g.window.get(), &Oplossing::beantwoord, this, [&](const QString &answer) { spel.antwoord(answer); });
        connect(g.window.get(), &Oplossing::naamGegeven, this, [&](const QString &name) { spel.naamGegeven(name); });
        QLineEdit *edit = g.find<QLineEdit>("Text1");
        const auto click = [&](const char *button) { QTest::mouseClick(g.find(button), Qt::LeftButton); };
        QSignalSpy ended(g.window.get(), &Oplossing::gameEnded);
        // The name box as "colour text|" at each pause of a flash. Clicks on both buttons and on the
        // title bar's close during a flash must all be ignored.
        QString flashes;
        g.fakes.waiter.onWait = [&](double) {
            flashes += edit->palette().color(QPalette::Base).name() + QLatin1Char(' ') + edit->text() + QLatin1Char('|');
            click("OkKnop");
            click("CancelKnop");
            g.window->close();
        };
        const bool lost = !typed.isNull() && !name.isNull();
        if (!typed.isNull()) {
            edit->setText(typed);
            click("OkKnop");
        }
        const QString flash = name.isNull() ? QStringLiteral("#00fa00 Het antwoord is goed geraden...|#c8d2dc |")
                                            : QStringLiteral("#fa5a00 Het antwoord is helaas fout...|#c8d2dc |");
        QCOMPARE(flashes, typed.isNull() ? QString() : flash.repeated(3));
        QCOMPARE(g.find("OkKnop")->isEnabled(), !lost);
        QCOMPARE(g.find<QLabel>("Label2")->text(), lost ? QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit")
                                                         : QStringLiteral("Typ de naam van het plaatje in en druk op de knop Ok"));
        QVERIFY(!lost || QApplication::focusWidget() == edit); // taken away by the disabled Ok button
        QTest::keyClicks(edit, name);
        if (QFETCH(bool, titleBar); titleBar)
            g.window->close();
        else if (!name.isNull())
            click("CancelKnop");
        QCOMPARE(ended.count(), int(lost));
        QTEST(g.state.Scorelijst.entries(), "list");
        QCOMPARE(g.state.SpelBezig, !lost);
        QVERIFY(!g.window->isVisible());
    }

    // The score-list window, best first: deleting asks first and leaves nothing selected, printing asks too.
    void scoreList()
    {
        WindowFixture<ScoreForm> s;
        for (const char *entry : {"00017 - piet", "00040 - kim", "00017 - piet"})
            s.state.Scorelijst.insert(QString::fromLatin1(entry));
        s.open();
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("3 namen in de scorelijst"));
        // Focus from the keyboard makes an entry the current one without selecting it: that is no choice.
        s.find<QListWidget>("List1")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        s.window->DelKnop_Click();
        const QString selectFirst = QStringLiteral(" Foutje|Eerst een naam selecteren...");
        QCOMPARE(s.fakes.dialogs.said, (QStringList{" Delete|Wil je ... verwijderen uit de lijst?", selectFirst}));
        s.find<QListWidget>("List1")->setCurrentRow(2);
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), QStringLiteral(" Delete|Wil je piet verwijderen uit de lijst?"));
        s.window->DelKnop_Click(); // answered Yes
        QCOMPARE(s.state.Scorelijst.entries(), (QStringList{"00017 - piet", "00040 - kim"}));
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("2 namen in lijst"));
        // Nothing is selected afterwards: a second Verwijderen must not take another child's score.
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), selectFirst);
        // Printed as the list shows them, under the heading.
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->PrintKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), QStringLiteral(" Print|Wil je nu de Score-lijst afdrukken?"));
        QVERIFY(s.fakes.printer.documents().empty());
        s.window->PrintKnop_Click(); // answered Yes
        const auto printed = s.fakes.printer.texts();
        QCOMPARE(printed.size(), size_t(3));
        QCOMPARE(printed[0].text + '|' + printed[2].text,
                 QStringLiteral("   Score-lijst Tuurbord|Op de 2e plaats staat... piet met 17 punten."));
        QCOMPARE(printed[2].at, QPoint(300, 1200 + RecordingPrinter::lineHeight({QStringLiteral("Arial"), 12, false})));
        s.find<QListWidget>("List1")->setCurrentRow(0);
        s.window->DelKnop_Click();
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("1 naam in lijst"));
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
