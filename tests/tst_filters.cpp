#include "import/Filters.h"
#include "import/RandomBatch.h"
#include "platform/Random.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

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

class TestFilters : public QObject
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
};

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
