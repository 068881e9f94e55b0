#include "import/Filters.h"
#include "import/RandomBatch.h"
#include "platform/Random.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

using namespace std::chrono_literals;

// A slow, literal reading of the filter rules, sharing nothing with the fast code: 1-based
// buffers indexed (channel, x, y) with channel 1 blue, 2 green, 3 red, 4 the fourth byte.
namespace Reference {

struct Buffer {
    int W, H;
    std::vector<std::array<int, 4>> v;
    explicit Buffer(const QImage &image) : W(image.width()), H(image.height())
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                v.push_back({qBlue(image.pixel(x, y)), qGreen(image.pixel(x, y)), qRed(image.pixel(x, y)), qAlpha(image.pixel(x, y))});
    }
    int &at(int c, int x, int y) { return v[std::size_t((y - 1) * W + x - 1)][std::size_t(c - 1)]; }
};

int nearest(double v) { return int(std::nearbyint(v)); } // the default mode rounds halves to even

// What option `option` of the import window does: doel is worked in place, bron stays as it was.
QImage apply(const QImage &picture, int option, Random &random)
{
    Buffer doel(picture), bron(picture);
    const int W = doel.W, H = doel.H;
    // The one loop of every rule: rows top to bottom, pixels left to right, `edge` pixels in from
    // the border; each pixel's channels 1..last get what rule(c, x, y) says, once the rule has
    // been asked for all four of them, before the next pixel.
    const auto each = [&](int edge, int last, auto rule) {
        for (int y = 1 + edge; y <= H - edge; ++y)
            for (int x = 1 + edge; x <= W - edge; ++x) {
                const std::array<int, 4> n{rule(1, x, y), rule(2, x, y), rule(3, x, y), rule(4, x, y)};
                std::copy_n(n.begin(), last, &doel.at(1, x, y));
            }
    };
    const auto around = [&](int c, int x, int y) { // the sum of the eight neighbours in doel
        int s = -doel.at(c, x, y);
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i)
                s += doel.at(c, x + i, y + j);
        return s;
    };
    const float f = float(((option == 3 ? 8 : -8) + 100) / 100.0); // Lichter p = 8, Donkerder p = -8
    if (option == 1) // Grijswaarden
        each(0, 3, [&](int, int x, int y) { return (doel.at(1, x, y) + doel.at(2, x, y) + doel.at(3, x, y)) / 3; });
    else if (option == 2) // Negatief
        each(0, 3, [&](int c, int x, int y) { return 255 - doel.at(c, x, y); });
    else if (option == 3 || option == 4) // round(f v) with f = (p + 100) / 100 in single precision
        each(0, 3, [&](int c, int x, int y) { return std::clamp(nearest(double(f) * bron.at(c, x, y)), 0, 255); });
    else if (option == 5) // Scherper, p = 5: (v (p + 24) - 2 around) div (p + 8)
        each(1, 3, [&](int c, int x, int y) { return std::clamp((doel.at(c, x, y) * 29 - 2 * around(c, x, y)) / 13, 0, 255); });
    else if (option == 6) // Spiegelbeeld, all four channels
        each(0, 4, [&](int c, int x, int y) { return bron.at(c, W + 1 - x, y); });
    else if (option == 7) // Flip Vertikaal, all four channels
        each(0, 4, [&](int c, int x, int y) { return bron.at(c, x, H + 1 - y); });
    else if (option == 8) // Defuse, p = 6, half = round(p / 2) = 3: one move per pixel, none out of the picture
        each(0, 3, [&, dx = 0, dy = 0](int c, int x, int y) mutable {
            const auto inside = [](int d, int v, int n) { return v + d < 1 || v + d > n ? 0 : d; };
            if (c == 1) {
                dx = inside(nearest(random.next() * 6 - 3), x, W);
                dy = inside(nearest(random.next() * 6 - 3), y, H);
            }
            return doel.at(c, x + dx, y + dy);
        });
    else if (option == 9) // Reliëf
        each(1, 3, [&](int c, int x, int y) {
            return std::clamp((bron.at(c, x, y) + 2 * bron.at(c, x - 1, y - 1) + bron.at(c, x - 1, y) + bron.at(c, x, y - 1)
                               - bron.at(c, x, y + 1) - bron.at(c, x + 1, y) - 2 * bron.at(c, x + 1, y + 1)) / 2 + 50, 0, 255);
        });
    else if (option == 10) // Pixellize, n = 3: the truncated mean of the 3 x 3 block, cut off by the border
        each(0, 3, [&](int c, int x, int y) {
            const int bx = (x - 1) / 3 * 3 + 1, by = (y - 1) / 3 * 3 + 1;
            int sum = 0, k = 0;
            for (int j = by; j <= std::min(by + 2, H); ++j)
                for (int i = bx; i <= std::min(bx + 2, W); ++i, ++k)
                    sum += bron.at(c, i, j);
            return sum / k;
        });
    else if (option == 11) // Blur
        each(1, 3, [&](int c, int x, int y) { return around(c, x, y) / 8; });
    QImage result = picture;
    for (int y = 1; y <= H; ++y)
        for (int x = 1; x <= W; ++x)
            result.setPixel(x - 1, y - 1, qRgba(doel.at(3, x, y), doel.at(2, x, y), doel.at(1, x, y), doel.at(4, x, y)));
    return result;
}

} // namespace Reference

namespace {

const char *const Captions[] = {"Grijswaarden", "Negatief", "Lichter", "Donkerder", "Scherper", "Spiegelbeeld",
                                "Flip Vertikaal", "Defuse", "Reli\u00ebf", "Pixellize", "Blur"};

QImage noise(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_ARGB32); // rows of 32-bit words have no padding
    std::generate_n(reinterpret_cast<quint32 *>(image.bits()), qsizetype(w) * h, std::mt19937(seed));
    return image;
}

} // namespace

class TestFilters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameAsReference_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format"); // of the picture
        QTest::addColumn<int>("converted"); // what the filters turn it into first
        const int argb = QImage::Format_ARGB32, rgb = QImage::Format_RGB32;
        // Sizes without an inside to sharpen, blur or emboss, blocks cut off by the border, and one large.
        for (int option = 1; option <= 11; ++option)
            for (const QSize size : {QSize(1, 1), QSize(2, 2), QSize(3, 7), QSize(7, 3), QSize(4, 5), QSize(64, 1),
                                     QSize(1, 64), QSize(10, 10), QSize(355, 255)})
                QTest::addRow("%d %s %dx%d", option, Captions[option - 1], size.width(), size.height())
                    << option << size << argb << argb;
        QTest::newRow("2 RGB888") << 2 << QSize(13, 9) << int(QImage::Format_RGB888) << rgb;
        QTest::newRow("6 RGBA8888") << 6 << QSize(13, 9) << int(QImage::Format_RGBA8888) << argb;
        QTest::newRow("11 RGB32") << 11 << QSize(13, 9) << rgb << rgb;
    }

    void sameAsReference()
    {
        QFETCH(int, option);
        QFETCH(QSize, size);
        QFETCH(int, format);
        QFETCH(int, converted);
        QCOMPARE(QString::fromUtf8(Filters::opties().at(std::size_t(option - 1)).caption), QString::fromUtf8(Captions[option - 1]));
        const QImage picture = noise(size.width(), size.height(), std::uint32_t(option)).convertToFormat(QImage::Format(format));
        Random referenceRandom(12345), random(12345);
        referenceRandom.next(); // start in the middle of the engine's block
        random.next();
        const QImage expected = Reference::apply(picture.convertToFormat(QImage::Format(converted)), option, referenceRandom);

        Filters filters(random);
        QList<int> reported;
        filters.setEventPump([&](int v) { reported << v; }, 0ms);
        QImage actual = picture;
        QVERIFY(filters.pasOptieToe(option, actual));
        QCOMPARE(actual.format(), QImage::Format(converted));
        QCOMPARE(actual, expected); // all four channels
        // Every filter ends at 100, even with nothing to do; mirror and flip report nothing.
        QCOMPARE(filters.Voortgang(), option == 6 || option == 7 ? 0 : 100);
        QCOMPARE(reported.value(reported.size() - 1), filters.Voortgang());
        // Both sides drew the same count of numbers and left the generator in the same state.
        QCOMPARE(random.next(), referenceRandom.next());
    }

    void batchDrawsEqualNext_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("count");
        QTest::newRow("fresh engine, none") << 0 << 0;
        QTest::newRow("fresh engine, over the block end") << 0 << 313;
        QTest::newRow("mid block, many blocks") << 101 << 40000;
    }

    void batchDrawsEqualNext()
    {
        QFETCH(int, before);
        QFETCH(int, count);
        Random one(2024), batched(2024);
        for (int i = 0; i < 2 * before; ++i)
            (i % 2 ? one : batched).next();
        std::vector<std::uint32_t> words(std::size_t(2) * count);
        RandomBatch(batched).words(words.data(), words.size()); // hands the state back when it goes
        for (int i = 0; i < count; ++i)
            if (RandomBatch::toUnit(words[std::size_t(2) * i], words[std::size_t(2) * i + 1]) != one.next())
                QFAIL(qPrintable(QStringLiteral("draw %1 differs").arg(i)));
        QCOMPARE(batched.next(), one.next());
    }

    void progressAfterEveryRow_data()
    {
        QTest::addColumn<int>("filterNummer");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<QList<int>>("expected");
        // (100 y) div 7 after rule rows y = 1..7, then 100 at the end; sharpen, blur and relief
        // work on rule rows 2..6 only.
        for (const int f : {Filters::Negatief, Filters::Grijswaarden, Filters::Helderheid, Filters::Verstrooi, Filters::Pixeleer})
            QTest::addRow("all rows, %d", f) << f << 0 << QList<int>{14, 28, 42, 57, 71, 85, 100, 100};
        for (const int f : {Filters::Verscherp, Filters::Vervaag, Filters::Relief})
            QTest::addRow("inner rows, %d", f) << f << 0 << QList<int>{28, 42, 57, 71, 85, 100};
        QTest::newRow("interval of an hour: the end only") << int(Filters::Vervaag) << 3600000 << QList<int>{100};
    }

    void progressAfterEveryRow()
    {
        QFETCH(int, filterNummer);
        QFETCH(int, intervalMs);
        QFETCH(QList<int>, expected);
        Random random(1);
        Filters filters(random);
        QList<int> reported;
        filters.setEventPump([&](int v) { QVERIFY(filters.FilterBezig() && filters.Voortgang() == v); reported << v; }, intervalMs * 1ms);
        QImage image = noise(6, 7, 2);
        filters.PasFilterToe(filterNummer, image, filterNummer == Filters::Pixeleer ? 3 : 5);
        QCOMPARE(reported, expected);
        QVERIFY(!filters.FilterBezig());
    }

    // While a filter runs, another filter, a mirror or a flip from the pump returns at once.
    void nestedCallsReturnAtOnce()
    {
        const QImage picture = noise(9, 12, 21);
        Random random(1), unused(1);
        Filters filters(random);
        QImage image = picture;
        int nested = 0;
        filters.setEventPump(
            [&](int) {
                const int before = filters.Voortgang();
                filters.PasFilterToe(Filters::Negatief, image, 0);
                filters.SpiegelHorizontaal(image);
                filters.FlipVertikaal(image);
                QVERIFY(filters.FilterBezig() && filters.Voortgang() == before);
                ++nested;
            },
            0ms);
        filters.PasFilterToe(Filters::Grijswaarden, image, 0);
        QVERIFY(nested > 0);
        QCOMPARE(image, Reference::apply(picture, 1, unused));
    }
};

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
