// The import window: from a photo in any folder to a picture of the subject that the next game
// shows, and what can go wrong on the way (hostile files are tst_hostile's).
#include "import/Fileform.h"
#include "platform/Desktop.h"
#include "support/FolderTree.h"
#include "support/MainFixture.h"
#include "support/Modal.h"
#include "support/WindowFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

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

// The preview as the user sees it: 5310 + br source columns stretched onto 5310, 3810 + ho rows onto
// 3810, grey outside the picture.
QImage expectedPreview(const QImage &picture, int br, int ho)
{
    QImage preview(354, 254, QImage::Format_RGB32);
    for (int y = 0; y < 254; ++y)
        for (int x = 0; x < 354; ++x) {
            const int sx = br + x * (br + 5310) / 5310;
            const int sy = ho + y * (ho + 3810) / 3810;
            const bool inside = sx >= 0 && sy >= 0 && sx < picture.width() && sy < picture.height();
            preview.setPixel(x, y, inside ? picture.pixel(sx, sy) : qRgb(224, 224, 224));
        }
    return preview;
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

// The import window on a subject "dieren", opened (when first asked for) in a folder of photos.
struct Import : WindowFixture<Fileform>
{
    explicit Import(const QStringList &subjectFiles = {})
    {
        folder.makeSubject(QStringLiteral("dieren"), subjectFiles);
        state.Onderwerp = QStringLiteral("dieren");
        QDir::setCurrent(photos.path());
    }
    Fileform &w() { return window ? *window : open(); }
    template<typename T = QWidget>
    T *get(const char *name) { return w().findChild<T *>(QString::fromLatin1(name)); }
    void photo(const QString &name, const QImage &image) const { QVERIFY(image.save(photos.filePath(name))); }
    QString size() { return get<QLabel>("SizeLabel")->text(); }
    QScrollBar *bar(bool across) { return get<QScrollBar>(across ? "Brscroll" : "Hoscroll"); }
    QImage preview() { return get<QLabel>("ShowPic")->pixmap().toImage(); }
    QStringList saved() const { return QDir(folder.file(QStringLiteral("plaatjes/dieren"))).entryList(QDir::Files); }
    void save(const QString &name, bool whole)
    {
        get<QLineEdit>("Text1")->setText(name);
        w().Save_Click(whole);
    }

    QTemporaryDir photos;
};
}

class TestImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }

    void aPhotoBecomesAGamePicture()
    {
        MainFixture f;
        f.folder.makeSubject(QStringLiteral("dieren"), {});
        QTemporaryDir photos;
        const QImage photo = pattern(800, 600);
        QVERIFY(photo.save(photos.filePath(QStringLiteral("Koe.jpg")), "JPEG", 100));
        QDir::setCurrent(photos.path());
        f.open();
        f.state.Willekeurig = false;
        bool walked = false;
        whenModal(QStringLiteral(" Tools"), [&](QWidget *tools) {
            whenModal(QStringLiteral(" Import Picture"), [&](QWidget *import) {
                const auto find = [import](const char *name) { return import->findChild<QWidget *>(QString::fromLatin1(name)); };
                clickAt(import, 165 + 600, 2835 + 100); // the first file of File1
                auto *across = static_cast<QScrollBar *>(find("Brscroll"));
                across->setValue(402);
                clickAt(import, 3660 + 240 + 150, -15 + 5100 + 100); // Negatief
                QCOMPARE(across->value(), 0);
                clickAt(import, 75 + 120 + 810, -15 + 5760 + 165); // Save Orgineel, as "Koe"
                static_cast<QLineEdit *>(find("Text1"))->setText(QStringLiteral("macro"));
                clickAt(import, 75 + 1740 + 810, -15 + 5760 + 165); // Macro opname
                clickAt(import, 3660 + 5265 + 345, -15 + 5760 + 150); // Exit
                QVERIFY(!import->isVisible());
            });
            doubleClickEntry(tools->findChild<QListWidget *>(QStringLiteral("List1")), QStringLiteral("dieren"));
            clickAt(tools, 60 + 165 + 375, -15 + 570 + 165); // Import
            tools->close();
            walked = true;
        });
        f.menu(5);
        QVERIFY(walked);
        QVERIFY(f.fakes.dialogs.said.isEmpty());
        const QImage whole(f.folder.file(QStringLiteral("plaatjes/dieren/Koe.jpg")));
        const QImage macro(f.folder.file(QStringLiteral("plaatjes/dieren/macro.jpg")));
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

    void loading_data()
    {
        QTest::addColumn<QStringList>("files"); // name:width:height, loaded in this order
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("bars"); // across minimum and maximum, down maximum
        QTest::addColumn<QPoint>("scrolled"); // the bars moved to afterwards
        // The bars start at 0..32767 and change only for a picture larger than the preview.
        const QList<int> start{0, 32767, 32767};
        QTest::newRow("exactly 354 x 254") << QStringList{"a.bmp:354:254"} << "a" << start << QPoint(250, 40);
        QTest::newRow("380 wide: maximum -18") << QStringList{"Koe.JPG:380:200"} << "Koe" << QList<int>{-18, 0, 32767}
                                               << QPoint(-18, 0);
        QTest::newRow("800 x 600") << QStringList{"a.b.gif.png:800:600"} << "a.b.gif" << QList<int>{0, 402, 316}
                                   << QPoint(402, 316);
        // The position of the larger picture is kept, and takes effect once a bar moves.
        QTest::newRow("smaller after wider keeps the ranges")
            << QStringList{"groot.png:800:600", "klein.jpeg:100:100"} << "klein" << QList<int>{0, 402, 316} << QPoint(100, 1);
        QTest::newRow("40000 wide: never wrapped") << QStringList{"lang.png:40000:2"} << "lang" << start << QPoint(0, 1);
    }

    void loading()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<int>, bars);
        QFETCH(QPoint, scrolled);
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
                t.bar(true)->setValue(scrolled.x());
            t.w().File1_Click(file.section(QLatin1Char(':'), 0, 0));
        }
        QCOMPARE(t.size(), QStringLiteral("Grootte: %1 x %2 pixels").arg(last.width()).arg(last.height()));
        QTEST(t.get<QLineEdit>("Text1")->text(), "name");
        QCOMPARE((QList<int>{t.bar(true)->minimum(), t.bar(true)->maximum(), t.bar(false)->maximum()}), bars);
        QVERIFY(t.fakes.dialogs.said.isEmpty());
        QCOMPARE(t.preview(), expectedPreview(last, 0, 0));
        t.bar(true)->setValue(scrolled.x());
        t.bar(false)->setValue(scrolled.y());
        QCOMPARE(t.preview(), expectedPreview(last, scrolled.x(), scrolled.y()));
    }

    void savingRefused_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removeSubject");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("disk"); // the subject folder on a small disk: 1 read-only, 2 full
        const QString notFound = QStringLiteral("Tuurbord|Kan onderwerp of map dieren niet vinden!");
        QTest::newRow("empty name") << true << "" << false << " Error|Eerst een naam invullen voor dit plaatje!" << 0;
        QTest::newRow("nothing loaded") << false << "koe" << false << " Error|Eerst een plaatje laden!" << 0;
        QTest::newRow("subject folder removed") << true << "koe" << true << notFound << 0;
        const QString exists = QStringLiteral(" File Exist|Naam [ koe ] bestaat reeds, overschrijven?");
        QTest::newRow("same name, not overwritten") << true << "koe" << false << exists << 0;
        const QString failed = exists + QStringLiteral("Tuurbord|Fout bij opslaan van het plaatje!");
        QTest::newRow("read-only subject folder") << true << "koe" << false << failed << 1;
        QTest::newRow("full disk") << true << "koe" << false << failed << 2;
        // Names that would leave the subject folder, or that another computer could not store.
        for (const char *name : {"../koe", "a/b", "a\\b", ".", "..", "a:b", "a*b", "wat?", "a\"b", "<", ">", "a|b", "tab\tin"})
            QTest::addRow("name %s", name) << true << QString::fromLatin1(name) << false << notFound << 0;
    }

    void savingRefused()
    {
        QFETCH(QString, name);
        QFETCH(int, disk);
        Import t({"KOE.JPG"});
        std::optional<SmallDisk> small;
        if (disk) {
            small.emplace(t.folder.file(QStringLiteral("plaatjes/dieren")), 256);
            if (!small->mounted())
                QSKIP("a small tmpfs cannot be mounted here (needs root and mount rights)");
            t.folder.makeSubject(QStringLiteral("dieren"), {"KOE.JPG"});
            if (disk == 2)
                small->fill();
            else
                QVERIFY(small->readOnly());
        }
        t.fakes.dialogs.answers = {disk ? Dialogs::Answer::Yes : Dialogs::Answer::No};
        t.photo(QStringLiteral("foto.png"), pattern(800, 600));
        if (QFETCH(bool, loaded); loaded)
            t.w().File1_Click(QStringLiteral("foto.png"));
        if (QFETCH(bool, removeSubject); removeSubject)
            QVERIFY(QDir(t.folder.file(QStringLiteral("plaatjes/dieren"))).removeRecursively());
        const QStringList before = folderTree(t.folder.path());
        const QByteArray koe = t.folder.read(QStringLiteral("plaatjes/dieren/KOE.JPG"));
        t.save(name, false);
        QTEST(t.fakes.dialogs.said.join(QString()), "message");
        QCOMPARE(folderTree(t.folder.path()), before);
        QCOMPARE(t.folder.read(QStringLiteral("plaatjes/dieren/KOE.JPG")), koe);
        QVERIFY(!t.get("Bar")->isVisible());
    }

    void replacesThePictureOfTheSameName()
    {
        Import t({"KOE.JPG"});
        t.photo(QStringLiteral("foto.png"), pattern(400, 300));
        t.w().File1_Click(QStringLiteral("foto.png"));
        t.save(QStringLiteral("koe"), true);
        QCOMPARE(t.fakes.dialogs.said, QStringList{" File Exist|Naam [ koe ] bestaat reeds, overschrijven?"});
        QCOMPARE(QImage(t.folder.file(QStringLiteral("plaatjes/dieren/KOE.JPG"))).size(), QSize(354, 254));
        // A name of blanks is a name; the quality is the setting, kept within 1..100.
        t.fakes.dialogs.said.clear();
        t.state.Kwaliteit = 100;
        t.save(QStringLiteral("   "), false);
        t.state.Kwaliteit = 0;
        t.save(QStringLiteral("schets"), false);
        QVERIFY(t.fakes.dialogs.said.isEmpty());
        QCOMPARE(t.saved(), (QStringList{"   .jpg", "KOE.JPG", "schets.jpg"}));
        QVERIFY(QFileInfo(t.folder.file(QStringLiteral("plaatjes/dieren/schets.jpg"))).size()
                < QFileInfo(t.folder.file(QStringLiteral("plaatjes/dieren/   .jpg"))).size() / 4);
    }

    void closingWaitsForTheFilter()
    {
        Import t;
        t.photo(QStringLiteral("foto.png"), pattern(500, 400));
        t.photo(QStringLiteral("ander.png"), pattern(30, 30));
        t.w().File1_Click(QStringLiteral("foto.png"));
        QImage negative = pattern(500, 400);
        negative.invertPixels();
        // The last progress report of the filter lets these through while it still holds the pixels.
        bool during = false;
        QTimer::singleShot(0, &t.w(), [&] {
            during = true;
            t.get<QPushButton>("ExitKnop")->click();
            t.w().File1_Click(QStringLiteral("ander.png"));
            t.w().Save_Click(true);
            QVERIFY(t.w().isVisible());
        });
        t.get<QRadioButton>("OptionFilter_2")->click();
        QVERIFY(during);
        QVERIFY(!t.w().isVisible());
        QCOMPARE(t.size(), QStringLiteral("Grootte: 500 x 400 pixels"));
        QCOMPARE(t.preview(), expectedPreview(negative, 0, 0));
        QVERIFY(t.fakes.dialogs.said.isEmpty());
        QCOMPARE(t.saved(), QStringList{});
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
