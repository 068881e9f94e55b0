// The import window: from a photo in any folder to a picture in the folder of the subject that
// games play, and what can go wrong on the way (hostile files are tst_hostile's); and the eleven
// filters it offers, against a slow reference.
#include "import/Fileform.h"
#include "import/Filters.h"
#include "import/RandomBatch.h"
#include "platform/Desktop.h"
#include "platform/Random.h"
#include "support/MainFixture.h"
#include "support/Modal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <random>

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

// Clicks the control of a window with that name, as a user's mouse would.
void click(QWidget *window, const char *name)
{
    QWidget *target = window->findChild<QWidget *>(QString::fromLatin1(name));
    QVERIFY2(target, name);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
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
    void photo(const QString &name, const QImage &image) const { QVERIFY(image.save(photos.filePath(name))); }
    QString size() { return w().findChild<QLabel *>(QStringLiteral("SizeLabel"))->text(); }
    QScrollBar *bar(bool across) { return w().findChild<QScrollBar *>(across ? "Brscroll" : "Hoscroll"); }
    QImage preview() { return w().findChild<QLabel *>(QStringLiteral("ShowPic"))->pixmap().toImage(); }

    QTemporaryDir photos;
};
}

// A slow, literal reading of the filter rules, sharing nothing with the fast code: pixels are
// 1-based (x, y) and channel c is byte c of the pixel's 32-bit word, counted from the low end:
// 1 blue, 2 green, 3 red, 4 the fourth byte.
namespace Reference {

// The options of the import window, 1 to 11.
const char *const Captions[] = {"Grijswaarden", "Negatief", "Lichter", "Donkerder", "Scherper", "Spiegelbeeld",
                                "Flip Vertikaal", "Defuse", "Reli\u00ebf", "Pixellize", "Blur"};

int at(const QImage &image, int c, int x, int y) { return (image.pixel(x - 1, y - 1) >> (8 * c - 8)) & 0xff; }

// What option `option` of the import window does: doel is worked in place, bron stays as it was.
QImage apply(const QImage &bron, int option, Random &random)
{
    QImage doel = bron;
    const int W = bron.width(), H = bron.height();
    // The one loop of every rule: rows top to bottom, pixels left to right, `edge` pixels in from
    // the border; each pixel's channels 1..3 get what rule(c, x, y) says, cut off to 0..255, once
    // the rule has been asked for all three of them (blue first), before the next pixel. The
    // fourth channel stays.
    const auto each = [&](int edge, auto rule) {
        const auto byte = [](int v) { return std::clamp(v, 0, 255); };
        for (int y = 1 + edge; y <= H - edge; ++y)
            for (int x = 1 + edge; x <= W - edge; ++x) {
                const int blue = rule(1, x, y), green = rule(2, x, y), red = rule(3, x, y);
                doel.setPixel(x - 1, y - 1, qRgba(byte(red), byte(green), byte(blue), at(doel, 4, x, y)));
            }
    };
    const auto around = [&](int c, int x, int y) { // the sum of the eight neighbours in doel
        int s = -at(doel, c, x, y);
        for (int i = 0; i < 9; ++i)
            s += at(doel, c, x - 1 + i % 3, y - 1 + i / 3);
        return s;
    };
    const float f = float(((option == 3 ? 8 : -8) + 100) / 100.0); // Lichter p = 8, Donkerder p = -8
    if (option == 1) // Grijswaarden
        each(0, [&](int, int x, int y) { return (at(doel, 1, x, y) + at(doel, 2, x, y) + at(doel, 3, x, y)) / 3; });
    else if (option == 2) // Negatief
        each(0, [&](int c, int x, int y) { return 255 - at(doel, c, x, y); });
    else if (option == 3 || option == 4) // round(f v), halves to even, with f = (p + 100) / 100 in single precision
        each(0, [&](int c, int x, int y) { return int(std::nearbyint(double(f) * at(bron, c, x, y))); });
    else if (option == 5) // Scherper, p = 5: (v (p + 24) - 2 around) div (p + 8)
        each(1, [&](int c, int x, int y) { return (29 * at(doel, c, x, y) - 2 * around(c, x, y)) / 13; });
    else if (option == 6 || option == 7) // Spiegelbeeld and Flip Vertikaal, all four channels
        return bron.mirrored(option == 6, option == 7);
    else if (option == 8) // Defuse, p = 6, half = round(p / 2) = 3: one move per pixel, none out of the picture
        each(0, [&, dx = 0, dy = 0](int c, int x, int y) mutable {
            const auto inside = [](int d, int v, int n) { return v + d < 1 || v + d > n ? 0 : d; };
            if (c == 1) {
                dx = inside(int(std::nearbyint(random.next() * 6 - 3)), x, W);
                dy = inside(int(std::nearbyint(random.next() * 6 - 3)), y, H);
            }
            return at(doel, c, x + dx, y + dy);
        });
    else if (option == 9) // Reliëf
        each(1, [&](int c, int x, int y) {
            return (at(bron, c, x, y) + 2 * at(bron, c, x - 1, y - 1) + at(bron, c, x - 1, y) + at(bron, c, x, y - 1)
                    - at(bron, c, x, y + 1) - at(bron, c, x + 1, y) - 2 * at(bron, c, x + 1, y + 1)) / 2 + 50;
        });
    else if (option == 10) // Pixellize, n = 3: the truncated mean of the 3 x 3 block, cut off by the border
        each(0, [&](int c, int x, int y) {
            const int bx = (x - 1) / 3 * 3 + 1, by = (y - 1) / 3 * 3 + 1;
            int sum = 0, k = 0;
            for (int j = by; j <= std::min(by + 2, H); ++j)
                for (int i = bx; i <= std::min(bx + 2, W); ++i, ++k)
                    sum += at(bron, c, i, j);
            return sum / k;
        });
    else if (option == 11) // Blur
        each(1, [&](int c, int x, int y) { return around(c, x, y) / 8; });
    return doel;
}

} // namespace Reference

class TestImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameAsReference_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QSize>("size");
        // Sizes without an inside to sharpen, blur or emboss, blocks cut off by the border, and one large.
        for (int option = 1; option <= 11; ++option)
            for (const QSize size : {QSize(1, 1), QSize(2, 2), QSize(3, 7), QSize(7, 3), QSize(4, 5), QSize(64, 1),
                                     QSize(1, 64), QSize(10, 10), QSize(355, 255)})
                QTest::addRow("%d %s %dx%d", option, Reference::Captions[option - 1], size.width(), size.height())
                    << option << size;
    }

    void sameAsReference()
    {
        QFETCH(int, option);
        QFETCH(QSize, size);
        QCOMPARE(Filters::opties().at(std::size_t(option - 1)).caption, Reference::Captions[option - 1]);
        // Random words, the fourth byte too: the window hands the filters 32-bit pictures only.
        QImage picture(size, QImage::Format_ARGB32); // rows of 32-bit words have no padding
        std::generate_n(reinterpret_cast<quint32 *>(picture.bits()), picture.sizeInBytes() / 4, std::mt19937(option));
        Random referenceRandom(12345), random(12345);
        referenceRandom.next(); // start in the middle of the engine's block
        random.next();
        const QImage expected = Reference::apply(picture, option, referenceRandom);

        // Mirror and flip report nothing. The others report (100 y) div H after every rule row y they
        // work on (sharpen, relief and blur only the inner ones) and 100 at the end.
        const int edge = option == 5 || option == 9 || option == 11 ? 1 : 0;
        QList<int> progress;
        if (option != 6 && option != 7) {
            for (int y = 1 + edge; y <= size.height() - edge && size.width() > 2 * edge; ++y)
                progress << 100 * y / size.height();
            progress << 100;
        }

        Filters filters(random);
        QImage actual = picture;
        QList<int> reported;
        const auto pump = [&](int v) {
            // Whatever the pump starts while a filter runs returns at once, without a trace.
            for (int other = 1; other <= 11; ++other)
                filters.pasOptieToe(other, actual);
            QVERIFY(filters.FilterBezig() && filters.Voortgang() == v);
            reported << v;
        };
        filters.setEventPump(pump, std::chrono::milliseconds(0));
        QVERIFY(filters.pasOptieToe(option, actual));
        QCOMPARE(actual, expected); // all four channels
        QCOMPARE(reported, progress);
        QVERIFY(!filters.FilterBezig());
        // Both sides drew the same count of numbers and left the generator in the same state.
        QCOMPARE(random.next(), referenceRandom.next());
    }

    // Defuse draws through a batch. A few wrong low bits would hardly ever move a pixel, so the
    // numbers are compared exactly with Random::next(), over many blocks of the engine.
    void batchDrawsEqualNext()
    {
        Random one(2024), batched(2024);
        QList<std::uint32_t> words(80000);
        RandomBatch(batched).words(words.data(), words.size());
        for (qsizetype i = 0; i < words.size(); i += 2)
            QVERIFY(RandomBatch::toUnit(words[i], words[i + 1]) == one.next());
    }

    void initTestCase() { Desktop::installFontSubstitutes(); }

    // Through the main window and Tools: a photo found with the keys (nothing loaded at opening, the
    // count once a folder opens; a drive that cannot be opened on the way), scrolled and made negative
    // is saved whole over the subject's KOE.JPG, as shown under a name of blanks, and whole at the
    // lowest quality.
    // The import window at opening: nothing loaded. The drive box is plain RGB(220, 230, 230),
    // closed and open; a drive that cannot be opened is reported, and the box shows the lists' drive.
    void opensEmptyWithAPlainDriveBox()
    {
        throughTools([&](QWidget *import) {
            QCOMPARE(import->findChild<QLabel *>("SizeLabel")->text(), QStringLiteral("Grootte: 0 x 0 pixels"));
            auto *drive = import->findChild<QComboBox *>(QStringLiteral("Drive1"));
            drive->addItem(QStringLiteral("weg"), m_photos.filePath(QStringLiteral("weg")));
            drive->setCurrentIndex(drive->count() - 1);
            static_cast<Fileform *>(import)->Drive1_Change(drive->count() - 1);
            QVERIFY(m_f->fakes.dialogs.said.removeOne("Tuurbord|Kan deze drive niet openen!") && drive->currentText() != "weg");
            drive->showPopup(); // "weg" is the last entry, not selected
            for (QWidget *box : {static_cast<QWidget *>(drive), drive->view()->window()})
                QCOMPARE(box->grab().toImage().pixelColor(box->width() / 2, box->height() - 4), QColor(220, 230, 230));
        });
    }

    // Return opens a folder as a double-click does; moving the selection loads a file as a click does.
    void keysOpenFoldersAndLoadFiles()
    {
        throughTools([&](QWidget *import) {
            QTest::keySequence(import->findChild<QListWidget *>("Dir1"), QKeySequence(Qt::Key_End, Qt::Key_Return)); // fotos
            QCOMPARE(import->findChild<QLabel *>(QStringLiteral("SizeLabel"))->text(), QStringLiteral("1 Bestanden"));
            QTest::keyClick(import->findChild<QListWidget *>("File1"), Qt::Key_Down); // the first file
            QCOMPARE(import->findChild<QLabel *>(QStringLiteral("SizeLabel"))->text(), QStringLiteral("Grootte: 800 x 600 pixels"));
            QCOMPARE(import->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("Koe"));
        });
    }

    // "Save Orgineel" writes the whole photo unfiltered, "Macro opname" the preview as shown (here
    // under a name of blanks), KOE.JPG is the picture Koe and is replaced, and quality 0 saves as 1.
    void savesWholeOrAsShown()
    {
        throughTools([&](QWidget *import) {
            loadPhoto(import);
            import->findChild<QScrollBar *>(QStringLiteral("Brscroll"))->setValue(402);
            click(import, "OptionFilter_2"); // Negatief
            QCOMPARE(import->findChild<QScrollBar *>(QStringLiteral("Brscroll"))->value(), 0);
            click(import, "Save1Knop"); // as "Koe"
            auto *name = import->findChild<QLineEdit *>(QStringLiteral("Text1"));
            name->setText(QStringLiteral("   "));
            click(import, "Save2Knop");
            m_f->state.Kwaliteit = 0; // saved as 1, the lowest there is
            name->setText(QStringLiteral("schets"));
            click(import, "Save1Knop");
        });
        QCOMPARE(m_f->fakes.dialogs.said, QStringList{" File Exist|Naam [ Koe ] bestaat reeds, overschrijven?"});
        const QDir dieren(m_f->folder.file(QStringLiteral("plaatjes/dieren")));
        QCOMPARE(dieren.entryList(QDir::Files), (QStringList{"   .jpg", "KOE.JPG", "schets.jpg"}));
        const QImage whole(dieren.filePath("KOE.JPG"));
        QCOMPARE(whole.size(), QSize(354, 254));
        // The whole photo, not filtered: pixel (X, Y) from (X 800 / 354, Y 600 / 254).
        const auto near = [](QRgb a, QRgb b) { // near enough for a JPEG
            return qAbs(qRed(a) - qRed(b)) <= 12 && qAbs(qGreen(a) - qGreen(b)) <= 12 && qAbs(qBlue(a) - qBlue(b)) <= 12;
        };
        QVERIFY(near(whole.pixel(300, 200), m_photo.pixel(300 * 800 / 354, 200 * 600 / 254)));
        // The preview as shown: the negative (every bit of a colour turned) of the top-left at full scale.
        QVERIFY(near(QImage(dieren.filePath("   .jpg")).pixel(100, 50), ~m_photo.pixel(100, 50)));
        QVERIFY(QFileInfo(dieren.filePath("schets.jpg")).size() < QFileInfo(dieren.filePath("KOE.JPG")).size() / 2);
    }

    // Once a filter ran while Exit was clicked and the window went with the pixels. The last
    // progress report lets Exit, a second load and a save through while Grijswaarden still runs:
    // the window stays until the filter is done, then closes.
    void exitDuringAFilterWaitsForIt()
    {
        throughTools([&](QWidget *import) {
            loadPhoto(import);
            QTimer::singleShot(0, import, [&] {
                click(import, "ExitKnop");
                QListWidget *files = import->findChild<QListWidget *>("File1"); // the photo again
                QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
                click(import, "Save1Knop");
                QVERIFY(import->isVisible());
            });
            click(import, "OptionFilter_1"); // Grijswaarden
            QVERIFY(!import->isVisible());
            QVERIFY(import->findChild<QLabel *>(QStringLiteral("ShowPic"))->pixmap().toImage().allGray());
        });
        QCOMPARE(QDir(m_f->folder.file(QStringLiteral("plaatjes/dieren"))).entryList(QDir::Files), QStringList{"KOE.JPG"});
    }

    void loading_data()
    {
        QTest::addColumn<QStringList>("files"); // name:width:height, loaded in this order
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("bars"); // across minimum and maximum, down maximum, across value
        QTest::addColumn<QPoint>("scrolled"); // the across bar moved there before each picture, both after
        // The bars start at 0..32767 and change, to 0, only for a picture larger than the preview.
        QTest::newRow("exactly 354 x 254") << QStringList{"a.bmp:354:254"} << "a" << QList<int>{0, 32767, 32767, 250}
                                           << QPoint(250, 40);
        QTest::newRow("380 wide: maximum -18") << QStringList{"Koe.JPG:380:200"} << "Koe" << QList<int>{-18, 0, 32767, 0}
                                               << QPoint(-18, 0);
        QTest::newRow("800 x 600") << QStringList{"a.b.gif.png:800:600"} << "a.b.gif" << QList<int>{0, 402, 316, 0}
                                   << QPoint(402, 316);
        // The position of the larger picture is kept, and takes effect once a bar moves.
        QTest::newRow("smaller after wider keeps the ranges") << QStringList{"groot.png:800:600", "klein.jpeg:100:100"}
                                                              << "klein" << QList<int>{0, 402, 316, 100} << QPoint(100, 1);
        QTest::newRow("40000 wide: never wrapped") << QStringList{"lang.png:40000:2"} << "lang"
                                                   << QList<int>{0, 32767, 32767, 0} << QPoint(0, 1);
    }

    void loading()
    {
        QFETCH(QStringList, files);
        QFETCH(QPoint, scrolled);
        Import t;
        for (const QString &file : files) {
            const QStringList parts = file.split(QLatin1Char(':'));
            t.photo(parts[0], pattern(parts[1].toInt(), parts[2].toInt()));
            t.bar(true)->setValue(scrolled.x());
            t.w().File1_Click(parts[0]);
        }
        // As decoded: JPEG changes a pixel here and there.
        const QImage last(t.photos.filePath(files.last().section(QLatin1Char(':'), 0, 0)));
        QCOMPARE(t.size(), QStringLiteral("Grootte: %1 x %2 pixels").arg(last.width()).arg(last.height()));
        QTEST(t.w().findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), "name");
        QTEST((QList<int>{t.bar(true)->minimum(), t.bar(true)->maximum(), t.bar(false)->maximum(), t.bar(true)->value()}),
              "bars");
        QCOMPARE(t.preview(), expectedPreview(last, 0, 0));
        t.bar(true)->setValue(scrolled.x());
        t.bar(false)->setValue(scrolled.y());
        QCOMPARE(t.preview(), expectedPreview(last, scrolled.x(), scrolled.y()));
    }

    void savingRefused_data()
    {
        // What differs from a photo loaded into a subject that holds KOE.JPG: "unloaded", the
        // subject folder "removed", or on a small disk that is "read-only" or "full".
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString notFound = QStringLiteral("Tuurbord|Kan onderwerp of map dieren niet vinden!");
        QTest::newRow("empty name") << "" << "" << " Error|Eerst een naam invullen voor dit plaatje!";
        QTest::newRow("nothing loaded") << "unloaded" << "koe" << " Error|Eerst een plaatje laden!";
        QTest::newRow("subject folder removed") << "removed" << "koe" << notFound;
        const QString exists = QStringLiteral(" File Exist|Naam [ koe ] bestaat reeds, overschrijven?");
        QTest::newRow("same name, not overwritten") << "" << "koe" << exists;
        const QString failed = exists + QStringLiteral("Tuurbord|Fout bij opslaan van het plaatje!\nReden: ");
        QTest::newRow("read-only subject folder") << "read-only" << "koe" << failed + "de map is alleen-lezen.";
        QTest::newRow("full disk") << "full" << "koe" << failed + "de schijf is vol.";
        // Names that would leave the subject folder, or that another computer could not store.
        for (const char *name : {"../koe", "a/b", "a\\b", ".", "..", "a:b", "a*b", "wat?", "a\"b", "<", ">", "a|b", "tab\tin"})
            QTest::addRow("name %s", name) << "" << QString::fromLatin1(name) << notFound;
        // 256 bytes with ".jpg": longer than a file name can be, though short enough in characters.
        QTest::newRow("name too long") << "" << QString(126, QChar(0xe9)) << notFound;
    }

    void savingRefused()
    {
        QFETCH(QString, setup);
        QFETCH(QString, name);
        Import t({"KOE.JPG"});
        std::optional<SmallDisk> small;
        if (setup == QLatin1String("read-only") || setup == QLatin1String("full")) {
            small.emplace(t.folder.file(QStringLiteral("plaatjes/dieren")), 256);
            if (!small->mounted())
                QSKIP("a small tmpfs cannot be mounted here (needs root and mount rights)");
            t.folder.makeSubject(QStringLiteral("dieren"), {"KOE.JPG"});
            if (setup == QLatin1String("full"))
                small->fill();
            else
                QVERIFY(small->readOnly());
        }
        t.fakes.dialogs.answers = {small ? Dialogs::Answer::Yes : Dialogs::Answer::No};
        t.photo(QStringLiteral("foto.png"), pattern(800, 600));
        if (setup != QLatin1String("unloaded"))
            t.w().File1_Click(QStringLiteral("foto.png"));
        if (setup == QLatin1String("removed"))
            QVERIFY(QDir(t.folder.file(QStringLiteral("plaatjes/dieren"))).removeRecursively());
        const QStringList before = t.folder.tree();
        const QByteArray koe = t.folder.read(QStringLiteral("plaatjes/dieren/KOE.JPG"));
        t.w().findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
        t.w().Save_Click(false);
        QTEST(t.fakes.dialogs.said.join(QString()), "message");
        QCOMPARE(t.folder.tree(), before);
        QCOMPARE(t.folder.read(QStringLiteral("plaatjes/dieren/KOE.JPG")), koe);
    }

private:
    // The import window as a user reaches it in a subject "dieren" holding KOE.JPG: Tools, the
    // subject chosen by a double-click (the state is shared), Import; the current folder holds a
    // folder "fotos" with one photo Koe.jpg. `steps` run in the window, which closes afterwards.
    void throughTools(const std::function<void(QWidget *)> &steps)
    {
        m_f = std::make_unique<MainFixture>();
        m_f->folder.makeSubject(QStringLiteral("dieren"), {"KOE.JPG"});
        QVERIFY(QDir().mkpath(m_photos.filePath("fotos")) && m_photo.save(m_photos.filePath("fotos/Koe.jpg"), "JPEG", 100));
        QDir::setCurrent(m_photos.path());
        m_f->open();
        whenModal(QStringLiteral(" Tools"), [&](QWidget *tools) {
            whenModal(QStringLiteral(" Import Picture"), [&](QWidget *import) {
                const auto closing = qScopeGuard([import] { import->close(); }); // after a failed check too
                steps(import);
            });
            doubleClickEntry(tools->findChild<QListWidget *>(QStringLiteral("List1")), QStringLiteral("dieren"));
            click(tools, "ImportKnop");
            tools->close();
        });
        m_f->menu(5);
    }

    static void loadPhoto(QWidget *import)
    {
        QTest::keySequence(import->findChild<QListWidget *>("Dir1"), QKeySequence(Qt::Key_End, Qt::Key_Return)); // fotos
        QTest::keyClick(import->findChild<QListWidget *>("File1"), Qt::Key_Down);
    }

    std::unique_ptr<MainFixture> m_f;
    QTemporaryDir m_photos;
    const QImage m_photo = pattern(800, 600);
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
