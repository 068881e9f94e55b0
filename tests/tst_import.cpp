// The import window: from a photo in any folder to a picture of the subject that the next game
// shows, and everything that can go wrong on the way.
#include "import/Fileform.h"
#include "import/ImportRules.h"
#include "platform/Desktop.h"
#include "support/MainFixture.h"
#include "support/FolderTree.h"
#include "support/Modal.h"

#include <QBuffer>
#include <QDir>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>


namespace {
// A picture whose every pixel tells where it is: red x, green y, blue x + y (all mod 256).
QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    return image;
}

bool near(QRgb a, QRgb b, int by = 12)
{
    return qAbs(qRed(a) - qRed(b)) <= by && qAbs(qGreen(a) - qGreen(b)) <= by && qAbs(qBlue(a) - qBlue(b)) <= by;
}

// Clicks a window at a place of its layout, in twips from its top-left, as a user's mouse would.
void clickAt(QWidget *window, int x, int y)
{
    const QPoint at(x / 15, y / 15);
    QWidget *target = window->childAt(at);
    QVERIFY2(target, qPrintable(QStringLiteral("nothing at %1, %2").arg(x).arg(y)));
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window, at));
}

// The import window on a program folder with a subject, opened in a folder of photos.
struct Import
{
    explicit Import(const QStringList &subjectFiles = {}) : state(program.path()), fakes(state)
    {
        program.makeSubject(QStringLiteral("dieren"), subjectFiles);
        state.Onderwerp = QStringLiteral("dieren");
        QDir::setCurrent(photos.path());
    }
    Fileform &window()
    {
        if (!form) {
            form = std::make_unique<Fileform>(state, fakes.services);
            form->show();
        }
        return *form;
    }
    void photo(const QString &name, const QImage &image) const { QVERIFY(image.save(photos.filePath(name))); }
    template<typename T = QWidget>
    T *find(const QString &name) { return window().findChild<T *>(name); }
    QString size() { return find<QLabel>(QStringLiteral("SizeLabel"))->text(); }
    QString name() { return find<QLineEdit>(QStringLiteral("Text1"))->text(); }
    QScrollBar *across() { return find<QScrollBar>(QStringLiteral("Brscroll")); }
    QScrollBar *down() { return find<QScrollBar>(QStringLiteral("Hoscroll")); }
    QImage preview() { return find<QLabel>(QStringLiteral("ShowPic"))->pixmap().toImage(); }
    QImage saved(const QString &file) const { return QImage(program.file(QStringLiteral("plaatjes/dieren/") + file)); }
    QStringList messages() const { return fakes.dialogs.said(); }
    void save(const QString &name, bool whole)
    {
        find<QLineEdit>(QStringLiteral("Text1"))->setText(name);
        window().Save_Click(whole);
    }

    TestFolder program;
    QTemporaryDir photos;
    ProgramState state;
    FakeServices fakes;
    std::unique_ptr<Fileform> form;
};
}

class TestImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }
    void previewMapping_data();
    void previewMapping();
    void aPhotoBecomesAGamePicture();
    void loading_data();
    void loading();
    void unreadableFilesChangeNothing();
    void savingRefused_data();
    void savingRefused();
    void replacesThePictureOfTheSameName();
    void failedWriteKeepsTheOldPicture_data();
    void failedWriteKeepsTheOldPicture();
    void closingWaitsForTheFilter();
    void helpText();
};

void TestImport::previewMapping_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("br");
    QTest::addColumn<int>("ho");
    QTest::newRow("full scale") << QSize(800, 600) << 0 << 0;
    QTest::newRow("at the maxima") << QSize(801, 601) << 403 << 317;
    QTest::newRow("narrow picture, negative") << QSize(380, 257) << -18 << -3;
    QTest::newRow("smaller than the preview") << QSize(37, 11) << 0 << 0;
    QTest::newRow("kept position, small picture") << QSize(101, 99) << 250 << 40;
}

void TestImport::previewMapping()
{
    QFETCH(QSize, size);
    QFETCH(int, br);
    QFETCH(int, ho);
    const QImage picture = pattern(size.width(), size.height());
    const QImage preview = ImportRules::preview(picture, br, ho);
    QCOMPARE(preview.size(), QSize(354, 254));
    for (int y = 0; y < 254; ++y) {
        for (int x = 0; x < 354; ++x) {
            // The stretching copy: 5310 + br source columns onto 5310, 3810 + ho rows onto 3810.
            const double sx = br + std::floor(x * (br + 5310.0) / 5310.0);
            const double sy = ho + std::floor(y * (ho + 3810.0) / 3810.0);
            const bool inside = sx >= 0 && sy >= 0 && sx < size.width() && sy < size.height();
            const QRgb want = inside ? picture.pixel(int(sx), int(sy)) : qRgb(224, 224, 224);
            if (preview.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("preview pixel %1, %2").arg(x).arg(y)));
        }
    }
}

void TestImport::aPhotoBecomesAGamePicture()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("dieren"), {});
    QTemporaryDir photos;
    const QImage photo = pattern(800, 600);
    QVERIFY(photo.save(photos.filePath(QStringLiteral("Koe.jpg")), "JPEG", 100));
    QDir::setCurrent(photos.path());
    MainFixture f(folder);
    f.state.Onderwerp = QStringLiteral("dieren");
    f.state.Willekeurig = false;

    bool walked = false;
    whenModal(QStringLiteral(" Tools"), [&](QWidget *tools) {
        whenModal(QStringLiteral(" Import Picture"), [&](QWidget *import) {
            const auto find = [import](const char *name) { return import->findChild<QWidget *>(QString::fromLatin1(name)); };
            QCOMPARE(static_cast<QLabel *>(find("SizeLabel"))->text(), QStringLiteral("1 Bestanden"));
            clickAt(import, 165 + 600, 2835 + 100); // the first file of File1
            QCOMPARE(static_cast<QLabel *>(find("SizeLabel"))->text(), QStringLiteral("Grootte: 800 x 600 pixels"));
            QCOMPARE(static_cast<QLineEdit *>(find("Text1"))->text(), QStringLiteral("Koe"));
            auto *across = static_cast<QScrollBar *>(find("Brscroll"));
            QCOMPARE(across->maximum(), 402);
            QCOMPARE(static_cast<QScrollBar *>(find("Hoscroll"))->maximum(), 316);
            across->setValue(402);
            // Column 402 of the photo at the left edge, reduced by 5310 / 5712.
            const QImage scrolled = static_cast<QLabel *>(find("ShowPic"))->pixmap().toImage();
            QVERIFY(near(scrolled.pixel(0, 0), photo.pixel(402, 0)));
            QVERIFY(near(scrolled.pixel(353, 100), photo.pixel(402 + 353 * 5712 / 5310, 100)));
            clickAt(import, 3660 + 240 + 150, -15 + 5100 + 100); // Negatief
            QCOMPARE(across->value(), 0);
            clickAt(import, 75 + 120 + 810, -15 + 5760 + 165); // Save Orgineel, as "Koe"
            static_cast<QLineEdit *>(find("Text1"))->setText(QStringLiteral("macro"));
            clickAt(import, 75 + 1740 + 810, -15 + 5760 + 165); // Macro opname
            clickAt(import, 3660 + 5265 + 345, -15 + 5760 + 150); // Exit
            QVERIFY(!import->isVisible());
        });
        clickAt(tools, 60 + 165 + 375, -15 + 570 + 165); // Import
        tools->close();
        walked = true;
    });
    f.menu(5);
    QVERIFY(walked);
    QVERIFY(f.fakes.dialogs.shown.empty());

    const QImage whole(folder.file(QStringLiteral("plaatjes/dieren/Koe.jpg")));
    const QImage macro(folder.file(QStringLiteral("plaatjes/dieren/macro.jpg")));
    QCOMPARE(whole.size(), QSize(354, 254));
    QCOMPARE(macro.size(), QSize(354, 254));
    // The whole photo, not filtered: pixel (X, Y) from (X 800 / 354, Y 600 / 254).
    QVERIFY(near(whole.pixel(300, 200), photo.pixel(300 * 800 / 354, 200 * 600 / 254)));
    // The preview as shown: the negative of the top-left at full scale.
    const QRgb top = photo.pixel(100, 50);
    QVERIFY(near(macro.pixel(100, 50), qRgb(255 - qRed(top), 255 - qGreen(top), 255 - qBlue(top))));

    // The next game of the subject plays them, in list order: Koe first.
    f.menu(1);
    QCOMPARE(f.state.Woord, QStringLiteral("Koe"));
    QVERIFY(near(f.state.Plaatje.pixel(300, 200), whole.pixel(300, 200), 2));
}

void TestImport::loading_data()
{
    QTest::addColumn<QStringList>("files"); // name:width:height, loaded in this order
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("acrossMin");
    QTest::addColumn<int>("acrossMax");
    QTest::addColumn<int>("downMax");
    // The bars start at 0..32767 and change only for a picture larger than the preview.
    QTest::newRow("exactly 354 x 254") << QStringList{"a.bmp:354:254"} << "354 x 254" << "a" << 0 << 32767 << 32767;
    QTest::newRow("380 wide: maximum -18") << QStringList{"Koe.JPG:380:200"} << "380 x 200" << "Koe" << -18 << 0 << 32767;
    QTest::newRow("800 x 600") << QStringList{"a.b.gif.png:800:600"} << "800 x 600" << "a.b.gif" << 0 << 402 << 316;
    QTest::newRow("smaller after wider keeps the ranges")
        << QStringList{"groot.png:800:600", "klein.jpeg:100:100"} << "100 x 100" << "klein" << 0 << 402 << 316;
    QTest::newRow("40000 wide: never wrapped") << QStringList{"lang.png:40000:2"} << "40000 x 2" << "lang" << 0 << 32767 << 32767;
    QTest::newRow("40000 high") << QStringList{"hoog.bmp:3:40000"} << "3 x 40000" << "hoog" << 0 << 32767 << 32767;
}

void TestImport::loading()
{
    QFETCH(QStringList, files);
    QFETCH(QString, size);
    Import t;
    QImage last;
    for (const QString &file : files) {
        const QStringList parts = file.split(QLatin1Char(':'));
        t.photo(parts[0], pattern(parts[1].toInt(), parts[2].toInt()));
        last = QImage(t.photos.filePath(parts[0])); // as decoded: JPEG changes a pixel here and there
    }
    QFile text(t.photos.filePath(QStringLiteral("lees mij.txt"))); // no picture: not listed
    QVERIFY(text.open(QIODevice::WriteOnly));
    QCOMPARE(t.size(), QStringLiteral("%1 Bestanden").arg(files.size()));
    for (const QString &file : files) {
        if (file != files.first())
            t.across()->setValue(100);
        t.window().File1_Click(file.section(QLatin1Char(':'), 0, 0));
    }
    QCOMPARE(t.size(), QStringLiteral("Grootte: ") + size + QStringLiteral(" pixels"));
    QTEST(t.name(), "name");
    QTEST(t.across()->minimum(), "acrossMin");
    QTEST(t.across()->maximum(), "acrossMax");
    QTEST(t.down()->maximum(), "downMax");
    QVERIFY(t.fakes.dialogs.shown.empty());
    QCOMPARE(t.preview(), ImportRules::preview(last, 0, 0));
    if (files.size() == 2) { // the kept position takes effect once a bar moves
        QCOMPARE(t.across()->value(), 100);
        t.down()->setValue(1);
        QCOMPARE(t.preview(), ImportRules::preview(last, 100, 1));
    }
}

void TestImport::unreadableFilesChangeNothing()
{
    // (Every kind of hostile file is loaded in tst_hostile; here: what stays as it was.)
    Import t;
    t.photo(QStringLiteral("goed.png"), pattern(400, 300));
    for (const auto &[name, bytes] : {std::pair{"leeg.jpg", QByteArray()}, std::pair{"brief.gif", QByteArray("Beste juf,\r\n")}}) {
        QFile out(t.photos.filePath(QString::fromLatin1(name)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    t.window().File1_Click(QStringLiteral("goed.png"));
    const QImage before = t.preview();
    for (const char *name : {"leeg.jpg", "brief.gif"}) {
        t.fakes.dialogs.shown.clear();
        t.window().File1_Click(QString::fromLatin1(name));
        QCOMPARE(t.messages(), QStringList{"Tuurbord|Fout bij laden picture..."});
        QCOMPARE(t.size(), QStringLiteral("Grootte: 400 x 300 pixels"));
        QCOMPARE(t.name(), QStringLiteral("goed"));
        QCOMPARE(t.preview(), before);
    }
    // The picture loaded before can still be saved.
    t.fakes.dialogs.shown.clear();
    t.window().Save_Click(true);
    QVERIFY(t.fakes.dialogs.shown.empty());
    QCOMPARE(t.saved(QStringLiteral("goed.jpg")).size(), QSize(354, 254));
}

void TestImport::savingRefused_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removeSubject");
    QTest::addColumn<QString>("message");
    const QString notFound = QStringLiteral("Tuurbord|Kan onderwerp of map dieren niet vinden!");
    QTest::newRow("empty name") << true << "" << false << " Error|Eerst een naam invullen voor dit plaatje!";
    QTest::newRow("nothing loaded") << false << "koe" << false << " Error|Eerst een plaatje laden!";
    QTest::newRow("subject folder removed") << true << "koe" << true << notFound;
    // Names that would leave the subject folder, or that another computer could not store.
    for (const char *name : {"../koe", "a/b", "a\\b", ".", "..", "a:b", "a*b", "wat?", "a\"b", "<", ">", "a|b", "tab\tin"})
        QTest::addRow("name %s", name) << true << QString::fromLatin1(name) << false << notFound;
}

void TestImport::savingRefused()
{
    QFETCH(bool, loaded);
    QFETCH(QString, name);
    QFETCH(bool, removeSubject);
    QFETCH(QString, message);
    Import t;
    t.photo(QStringLiteral("foto.png"), pattern(400, 300));
    if (loaded)
        t.window().File1_Click(QStringLiteral("foto.png"));
    if (removeSubject)
        QVERIFY(QDir(t.program.file(QStringLiteral("plaatjes/dieren"))).removeRecursively());
    const QStringList before = folderTree(t.program.path());
    t.save(name, false);
    QCOMPARE(t.messages(), QStringList{message});
    QCOMPARE(folderTree(t.program.path()), before);
    QCOMPARE(t.find<QLabel>(QStringLiteral("Bar"))->isVisible(), false);
}

void TestImport::replacesThePictureOfTheSameName()
{
    Import t({"KOE.JPG"});
    t.photo(QStringLiteral("foto.png"), pattern(400, 300));
    t.window().File1_Click(QStringLiteral("foto.png"));
    t.fakes.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
    t.save(QStringLiteral("koe"), true);
    QCOMPARE(t.messages(), QStringList{" File Exist|Naam [ koe ] bestaat reeds, overschrijven?"});
    QCOMPARE(t.saved(QStringLiteral("KOE.JPG")).size(), QSize(8, 6));
    t.save(QStringLiteral("koe"), true);
    QCOMPARE(t.saved(QStringLiteral("KOE.JPG")).size(), QSize(354, 254));
    // A name of blanks is a name; the quality is the setting, kept within 1..100.
    t.fakes.dialogs.shown.clear();
    t.state.Kwaliteit = 100;
    t.save(QStringLiteral("   "), false);
    t.state.Kwaliteit = 0;
    t.save(QStringLiteral("schets"), false);
    QVERIFY(t.fakes.dialogs.shown.empty());
    QCOMPARE(QDir(t.program.file(QStringLiteral("plaatjes/dieren"))).entryList(QDir::Files),
             (QStringList{"   .jpg", "KOE.JPG", "schets.jpg"}));
    QVERIFY(QFileInfo(t.program.file(QStringLiteral("plaatjes/dieren/schets.jpg"))).size()
            < QFileInfo(t.program.file(QStringLiteral("plaatjes/dieren/   .jpg"))).size() / 4);
}

void TestImport::failedWriteKeepsTheOldPicture_data()
{
    QTest::addColumn<bool>("full"); // else read-only
    QTest::newRow("read-only subject folder") << false;
    QTest::newRow("full disk") << true;
}

void TestImport::failedWriteKeepsTheOldPicture()
{
    QFETCH(bool, full);
    Import t;
    const SmallDisk disk(t.program.file(QStringLiteral("plaatjes/dieren")), 256);
    if (!disk.mounted())
        QSKIP("a small tmpfs cannot be mounted here (needs root and mount rights)");
    t.program.makeSubject(QStringLiteral("dieren"), {"koe.jpg"});
    const QByteArray old = t.program.read(QStringLiteral("plaatjes/dieren/koe.jpg"));
    if (full)
        disk.fill();
    else
        QVERIFY(disk.readOnly());
    t.photo(QStringLiteral("foto.png"), pattern(800, 600));
    t.window().File1_Click(QStringLiteral("foto.png"));
    t.save(QStringLiteral("koe"), true);
    QCOMPARE(t.messages(), (QStringList{" File Exist|Naam [ koe ] bestaat reeds, overschrijven?",
                                        "Tuurbord|Fout bij opslaan van het plaatje!"}));
    QCOMPARE(t.program.read(QStringLiteral("plaatjes/dieren/koe.jpg")), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files), full ? (QStringList{"koe.jpg", "vol"}) : QStringList{"koe.jpg"});
}

void TestImport::closingWaitsForTheFilter()
{
    Import t;
    t.photo(QStringLiteral("foto.png"), pattern(500, 400));
    t.photo(QStringLiteral("ander.png"), pattern(30, 30));
    t.window().File1_Click(QStringLiteral("foto.png"));
    const QImage negative = [] {
        QImage image = pattern(500, 400);
        image.invertPixels();
        return image;
    }();
    // The last progress report of the filter lets these through while it still holds the pixels.
    bool during = false;
    QTimer::singleShot(0, &t.window(), [&] {
        during = true;
        t.find<QPushButton>(QStringLiteral("ExitKnop"))->click();
        t.window().File1_Click(QStringLiteral("ander.png"));
        t.window().Save_Click(true);
        QVERIFY(t.window().isVisible());
    });
    t.find<QRadioButton>(QStringLiteral("OptionFilter_2"))->click();
    QVERIFY(during);
    QVERIFY(!t.window().isVisible());
    QCOMPARE(t.size(), QStringLiteral("Grootte: 500 x 400 pixels"));
    QCOMPARE(t.preview(), ImportRules::preview(negative, 0, 0));
    QVERIFY(t.fakes.dialogs.shown.empty());
    QCOMPARE(QDir(t.program.file(QStringLiteral("plaatjes/dieren"))).entryList(QDir::Files), QStringList{});
}

void TestImport::helpText()
{
    Import t;
    auto *help = t.find<QPushButton>(QStringLiteral("HelpKnop"));
    help->click();
    QVERIFY(!t.find(QStringLiteral("ShowPic"))->isVisible());
    const QStringList lines = t.find<QLabel>(QStringLiteral("BackLabel"))->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 14); // thirteen lines, each ended by CR LF
    QCOMPARE(lines[2], QStringLiteral("     ") + QString(52, QLatin1Char('-')));
    QCOMPARE(lines[12], QStringLiteral("     Close this textwindow with the same button."));
    help->click();
    QVERIFY(t.find(QStringLiteral("ShowPic"))->isVisible());
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
