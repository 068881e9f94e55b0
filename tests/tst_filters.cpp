#include "import/Filters.h"
#include "import/RandomBatch.h"
#include "platform/Random.h"

#include <QTest>

#include <array>
#include <cmath>
#include <random>
#include <vector>

// A slow, literal reading of the filter rules, sharing nothing with the fast code: 1-based
// buffers indexed (channel, x, y) with channel 1 blue, 2 green, 3 red, 4 the fourth byte.
namespace Reference {

struct Buffer {
    int W = 0;
    int H = 0;
    std::vector<int> v;

    int &at(int c, int x, int y) { return v[std::size_t(((y - 1) * W + (x - 1)) * 4 + (c - 1))]; }
};

Buffer read(const QImage &image)
{
    Buffer b{image.width(), image.height(), std::vector<int>(std::size_t(image.width()) * image.height() * 4)};
    for (int y = 1; y <= b.H; ++y) {
        for (int x = 1; x <= b.W; ++x) {
            const QRgb p = image.pixel(x - 1, y - 1);
            b.at(1, x, y) = qBlue(p);
            b.at(2, x, y) = qGreen(p);
            b.at(3, x, y) = qRed(p);
            b.at(4, x, y) = qAlpha(p);
        }
    }
    return b;
}

int clamp(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// The default rounding mode rounds halves to the even neighbour.
int nearest(double v)
{
    return int(std::nearbyint(v));
}

// The sum of the eight neighbours of (x, y).
int around(Buffer &b, int c, int x, int y)
{
    int s = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
            s += (i != 0 || j != 0) ? b.at(c, x + i, y + j) : 0;
    return s;
}

template <typename F>
std::array<int, 4> perChannel(F f)
{
    return {f(1), f(2), f(3), f(4)};
}

// The one loop of every rule: rows top to bottom, pixels left to right, `edge` pixels in from
// the border; each pixel's channels 1..last get what the rule says before the next pixel.
template <typename Rule>
void each(Buffer &doel, int edge, int last, Rule rule)
{
    for (int y = 1 + edge; y <= doel.H - edge; ++y) {
        for (int x = 1 + edge; x <= doel.W - edge; ++x) {
            const std::array<int, 4> n = rule(x, y);
            for (int c = 1; c <= last; ++c)
                doel.at(c, x, y) = n[std::size_t(c - 1)];
        }
    }
}

// What option `option` of the import window does: doel is worked in place, bron stays as it was.
QImage apply(const QImage &picture, int option, Random &random)
{
    Buffer doel = read(picture);
    Buffer bron = read(picture);
    const int W = doel.W, H = doel.H;
    switch (option) {
    case 1: // Grijswaarden
        each(doel, 0, 3, [&](int x, int y) {
            const int s = doel.at(1, x, y) + doel.at(2, x, y) + doel.at(3, x, y);
            return perChannel([&](int) { return s / 3; });
        });
        break;
    case 2: // Negatief
        each(doel, 0, 3, [&](int x, int y) { return perChannel([&](int c) { return 255 - doel.at(c, x, y); }); });
        break;
    case 3: // Lichter, p = 8
    case 4: { // Donkerder, p = -8
        const int p = option == 3 ? 8 : -8;
        const float f = float((p + 100) / 100.0);
        each(doel, 0, 3, [&](int x, int y) {
            return perChannel([&](int c) { return clamp(nearest(double(f) * bron.at(c, x, y))); });
        });
        break;
    }
    case 5: { // Scherper, p = 5
        const int p = 5;
        each(doel, 1, 3, [&](int x, int y) {
            return perChannel([&](int c) { return clamp((doel.at(c, x, y) * (p + 24) - 2 * around(doel, c, x, y)) / (p + 8)); });
        });
        break;
    }
    case 6: // Spiegelbeeld, all four channels
        each(doel, 0, 4, [&](int x, int y) { return perChannel([&](int c) { return bron.at(c, W + 1 - x, y); }); });
        break;
    case 7: // Flip Vertikaal, all four channels
        each(doel, 0, 4, [&](int x, int y) { return perChannel([&](int c) { return bron.at(c, x, H + 1 - y); }); });
        break;
    case 8: { // Defuse, p = 6
        const int p = 6;
        const int half = nearest(p / 2.0);
        each(doel, 0, 3, [&](int x, int y) {
            int dx = nearest(random.next() * p - half);
            int dy = nearest(random.next() * p - half);
            if (x + dx < 1 || x + dx > W)
                dx = 0;
            if (y + dy < 1 || y + dy > H)
                dy = 0;
            return perChannel([&](int c) { return doel.at(c, x + dx, y + dy); });
        });
        break;
    }
    case 9: // Reliëf
        each(doel, 1, 3, [&](int x, int y) {
            return perChannel([&](int c) {
                const int e = 2 * bron.at(c, x - 1, y - 1) + bron.at(c, x - 1, y) + bron.at(c, x, y - 1)
                    - bron.at(c, x, y + 1) - bron.at(c, x + 1, y) - 2 * bron.at(c, x + 1, y + 1);
                return clamp((bron.at(c, x, y) + e) / 2 + 50);
            });
        });
        break;
    case 10: { // Pixellize, n = 3: the truncated mean of the n x n block, cut off by the border
        const int n = 3;
        each(doel, 0, 3, [&](int x, int y) {
            const int bx = (x - 1) / n * n + 1, by = (y - 1) / n * n + 1;
            std::array<int, 4> sum{};
            int k = 0;
            for (int j = by; j <= std::min(by + n - 1, H); ++j)
                for (int i = bx; i <= std::min(bx + n - 1, W); ++i, ++k)
                    for (int c = 1; c <= 4; ++c)
                        sum[std::size_t(c - 1)] += bron.at(c, i, j);
            return perChannel([&](int c) { return sum[std::size_t(c - 1)] / k; });
        });
        break;
    }
    case 11: // Blur
        each(doel, 1, 3, [&](int x, int y) { return perChannel([&](int c) { return around(doel, c, x, y) / 8; }); });
        break;
    }
    QImage result = picture;
    for (int y = 1; y <= H; ++y)
        for (int x = 1; x <= W; ++x)
            result.setPixel(x - 1, y - 1, qRgba(doel.at(3, x, y), doel.at(2, x, y), doel.at(1, x, y), doel.at(4, x, y)));
    return result;
}

} // namespace Reference

namespace {

constexpr int Mirror = -1; // stand-ins for SpiegelHorizontaal and FlipVertikaal in the tables
constexpr int Flip = -2;

QImage noise(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_ARGB32);
    std::mt19937 gen(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, quint32(gen()));
    return image;
}

// A grey picture of `around`, except one pixel at (sx, sy) of `centre`.
QImage spot(int w, int h, int sx, int sy, int around, int centre)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(around, around, around));
    image.setPixel(sx, sy, qRgb(centre, centre, centre));
    return image;
}

QImage flat(int value)
{
    return spot(3, 3, 1, 1, value, value);
}

QRgb grey(int v)
{
    return qRgb(v, v, v);
}

void act(Filters &filters, int what, QImage &image, int parameter)
{
    if (what == Mirror)
        filters.SpiegelHorizontaal(image);
    else if (what == Flip)
        filters.FlipVertikaal(image);
    else
        filters.PasFilterToe(what, image, parameter);
}

QImage run(int filterNummer, QImage picture, int parameter = 0)
{
    Random random(7);
    Filters filters(random);
    filters.PasFilterToe(filterNummer, picture, parameter);
    return picture;
}

} // namespace

class TestFilters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameAsReference_data();
    void sameAsReference();
    void batchDrawsEqualNext_data();
    void batchDrawsEqualNext();
    void pixelValues_data();
    void pixelValues();
    void pictureLeftAsItWas_data();
    void pictureLeftAsItWas();
    void progressAfterEveryRow_data();
    void progressAfterEveryRow();
    void nestedCallsReturnAtOnce();
};

void TestFilters::sameAsReference_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    const char *captions[] = {"Grijswaarden", "Negatief", "Lichter", "Donkerder", "Scherper", "Spiegelbeeld",
                              "Flip Vertikaal", "Defuse", "Reli\u00ebf", "Pixellize", "Blur"};
    const QSize sizes[] = {{1, 1}, {2, 2}, {3, 7}, {7, 3}, {4, 5}, {64, 1}, {1, 64}, {10, 10}, {355, 255}};
    for (int option = 1; option <= 11; ++option)
        for (const QSize &size : sizes)
            QTest::addRow("%d %s %dx%d", option, captions[option - 1], size.width(), size.height())
                << option << QString::fromUtf8(captions[option - 1]) << size.width() << size.height();
}

void TestFilters::sameAsReference()
{
    QFETCH(int, option);
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(int, height);
    QCOMPARE(QString::fromUtf8(Filters::opties().at(std::size_t(option - 1)).caption), caption);
    const QImage picture = noise(width, height, std::uint32_t(width * 1000 + height + option));

    Random referenceRandom(12345);
    referenceRandom.next(); // start the fast side in the middle of the engine's block as well
    const QImage expected = Reference::apply(picture, option, referenceRandom);

    Random random(12345);
    random.next();
    Filters filters(random);
    QImage actual = picture;
    QVERIFY(filters.pasOptieToe(option, actual));

    QCOMPARE(actual.format(), QImage::Format_ARGB32);
    QCOMPARE(actual, expected);
    if (option != 6 && option != 7) { // the filters leave channel 4 where it is
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(qAlpha(actual.pixel(x, y)), qAlpha(picture.pixel(x, y)));
    }
    QCOMPARE(filters.Voortgang(), option == 6 || option == 7 ? 0 : 100); // mirror and flip report nothing
    QVERIFY(!filters.FilterBezig());
    // Both sides drew the same count of numbers and left the generator in the same state.
    QCOMPARE(random.next(), referenceRandom.next());
}

void TestFilters::batchDrawsEqualNext_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("count");
    QTest::newRow("fresh engine, none") << 0 << 0;
    QTest::newRow("fresh engine, over the block end") << 0 << 313;
    QTest::newRow("mid block, many blocks") << 101 << 40000;
}

void TestFilters::batchDrawsEqualNext()
{
    QFETCH(int, before);
    QFETCH(int, count);
    Random one(2024);
    Random batched(2024);
    for (int i = 0; i < before; ++i) {
        one.next();
        batched.next();
    }
    std::vector<std::uint32_t> words(std::size_t(2) * count);
    {
        RandomBatch batch(batched);
        batch.words(words.data(), words.size());
    }
    for (int i = 0; i < count; ++i) {
        if (RandomBatch::toUnit(words[std::size_t(2) * i], words[std::size_t(2) * i + 1]) != one.next())
            QFAIL(qPrintable(QStringLiteral("draw %1 differs").arg(i)));
    }
    QCOMPARE(batched.next(), one.next());
}

void TestFilters::pixelValues_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("expected");
    QImage other(3, 2, QImage::Format_RGB888); // converted to 32 bits first
    other.fill(QColor(255, 200, 10));
    QImage mosaic(10, 10, QImage::Format_RGB32); // blue 10 x + y, 0-based
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            mosaic.setPixel(x, y, qRgb(0, 0, 10 * x + y));
    const int N = Filters::Negatief, G = Filters::Grijswaarden, L = Filters::Helderheid, S = Filters::Verscherp,
              B = Filters::Vervaag, R = Filters::Relief, P = Filters::Pixeleer;
    QTest::newRow("negative, other format") << N << 0 << other << QPoint(2, 1) << qRgb(0, 55, 245);
    QImage tinted(2, 2, QImage::Format_RGB32); // blue 10, green 20, red 31
    tinted.fill(qRgb(31, 20, 10));
    QTest::newRow("grey of 10 20 31") << G << 0 << tinted << QPoint(1, 1) << grey(20);
    QTest::newRow("lighter 7") << L << 8 << flat(7) << QPoint(1, 1) << grey(8);
    QTest::newRow("lighter 100") << L << 8 << flat(100) << QPoint(1, 1) << grey(108);
    QTest::newRow("lighter 235") << L << 8 << flat(235) << QPoint(1, 1) << grey(254);
    QTest::newRow("lighter 237") << L << 8 << flat(237) << QPoint(1, 1) << grey(255);
    QTest::newRow("darker 255") << L << -8 << flat(255) << QPoint(1, 1) << grey(235);
    QTest::newRow("100 lighter, darker") << L << -8 << run(L, flat(100), 8) << QPoint(1, 1) << grey(99);
    QTest::newRow("sharpen flat") << S << 5 << flat(100) << QPoint(1, 1) << grey(100);
    QTest::newRow("sharpen 50 among 100") << S << 5 << spot(3, 3, 1, 1, 100, 50) << QPoint(1, 1) << grey(0);
    QTest::newRow("sharpen 200 among 100") << S << 5 << spot(4, 3, 1, 1, 100, 200) << QPoint(1, 1) << grey(255);
    // (2, 1) sees the new 255 on its left: (2900 - 2 (700 + 255)) div 13 = 76; the old 200 gives 84.
    QTest::newRow("sharpen reads new left") << S << 5 << spot(4, 3, 1, 1, 100, 200) << QPoint(2, 1) << grey(76);
    QTest::newRow("blur flat") << B << 0 << flat(100) << QPoint(1, 1) << grey(100);
    QTest::newRow("blur 255 among 0") << B << 0 << spot(3, 3, 1, 1, 0, 255) << QPoint(1, 1) << grey(0);
    QTest::newRow("blur 240 on the border") << B << 0 << spot(4, 3, 0, 1, 0, 240) << QPoint(1, 1) << grey(30);
    // 30 div 8 from the new (1, 1), not 0 from the old one.
    QTest::newRow("blur reads new left") << B << 0 << spot(4, 3, 0, 1, 0, 240) << QPoint(2, 1) << grey(3);
    QTest::newRow("relief flat 0") << R << 0 << flat(0) << QPoint(1, 1) << grey(50);
    QTest::newRow("relief flat 100") << R << 0 << flat(100) << QPoint(1, 1) << grey(100);
    QTest::newRow("relief flat 200") << R << 0 << flat(200) << QPoint(1, 1) << grey(150);
    // v + e = -3, and -3 div 2 is -1 (toward zero), not -2.
    QTest::newRow("relief toward zero") << R << 0 << spot(3, 3, 1, 2, 0, 3) << QPoint(1, 1) << grey(49);
    QTest::newRow("relief clamps high") << R << 0 << spot(3, 3, 0, 0, 0, 255) << QPoint(1, 1) << grey(255);
    // Blocks of 3 from the top left; the last column and row make blocks of 3 and of 1 pixel.
    QTest::newRow("mosaic first block") << P << 3 << mosaic << QPoint(2, 2) << qRgb(0, 0, 11);
    QTest::newRow("mosaic middle block") << P << 3 << mosaic << QPoint(4, 4) << qRgb(0, 0, 44);
    QTest::newRow("mosaic last column") << P << 3 << mosaic << QPoint(9, 1) << qRgb(0, 0, 91);
    QTest::newRow("mosaic last row") << P << 3 << mosaic << QPoint(7, 9) << qRgb(0, 0, 79);
    QTest::newRow("mosaic corner") << P << 3 << mosaic << QPoint(9, 9) << qRgb(0, 0, 99);
}

void TestFilters::pixelValues()
{
    QFETCH(int, filterNummer);
    QFETCH(int, parameter);
    QFETCH(QImage, picture);
    QFETCH(QPoint, at);
    QFETCH(QRgb, expected);
    const QImage result = run(filterNummer, picture, parameter);
    QCOMPARE(result.format(), QImage::Format_RGB32);
    QCOMPARE(result.pixel(at), expected);
}

void TestFilters::pictureLeftAsItWas_data()
{
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("times");
    QTest::addColumn<QList<int>>("reported");
    QTest::newRow("negative twice") << int(Filters::Negatief) << 3 << 2 << 2 << QList<int>{50, 100, 100, 50, 100, 100};
    QTest::newRow("mirror twice") << Mirror << 13 << 8 << 2 << QList<int>{};
    QTest::newRow("flip twice") << Flip << 13 << 8 << 2 << QList<int>{};
    // Fewer than three rows or columns leave no inside to work on: just the closing 100.
    for (const int f : {int(Filters::Verscherp), int(Filters::Vervaag), int(Filters::Relief)}) {
        QTest::addRow("%d on 2x2", f) << f << 2 << 2 << 1 << QList<int>{100};
        QTest::addRow("%d on 2x9", f) << f << 2 << 9 << 1 << QList<int>{100};
    }
    QTest::newRow("diffuse 1x1") << int(Filters::Verstrooi) << 1 << 1 << 1 << QList<int>{100, 100};
}

void TestFilters::pictureLeftAsItWas()
{
    QFETCH(int, what);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, times);
    QFETCH(QList<int>, reported);
    const QImage picture = noise(width, height, 4);
    Random random(1);
    Filters filters(random);
    QList<int> pumped;
    filters.setEventPump([&](int v) { pumped << v; }, std::chrono::milliseconds(0));
    QImage image = picture;
    for (int i = 0; i < times; ++i)
        act(filters, what, image, what == Filters::Verstrooi ? 6 : 5);
    QCOMPARE(image, picture);
    QCOMPARE(pumped, reported);
    QCOMPARE(filters.Voortgang(), reported.isEmpty() ? 0 : 100);
}

void TestFilters::progressAfterEveryRow_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<QList<int>>("expected");
    // (100 y) div 7 after rule rows y = 1..7, then 100 at the end.
    const QList<int> allRows{14, 28, 42, 57, 71, 85, 100, 100};
    const QList<int> innerRows{28, 42, 57, 71, 85, 100}; // rule rows 2..6 only
    QTest::newRow("negatief") << int(Filters::Negatief) << 7 << 0 << allRows;
    QTest::newRow("grijswaarden") << int(Filters::Grijswaarden) << 7 << 0 << allRows;
    QTest::newRow("helderheid") << int(Filters::Helderheid) << 7 << 0 << allRows;
    QTest::newRow("verstrooi") << int(Filters::Verstrooi) << 7 << 0 << allRows;
    QTest::newRow("pixeleer") << int(Filters::Pixeleer) << 7 << 0 << allRows;
    QTest::newRow("verscherp") << int(Filters::Verscherp) << 7 << 0 << innerRows;
    QTest::newRow("vervaag") << int(Filters::Vervaag) << 7 << 0 << innerRows;
    QTest::newRow("relief") << int(Filters::Relief) << 7 << 0 << innerRows;
    QTest::newRow("relief 3 rows") << int(Filters::Relief) << 3 << 0 << QList<int>{66, 100};
    QTest::newRow("interval of an hour: the end only") << int(Filters::Vervaag) << 300 << 3600000 << QList<int>{100};
}

void TestFilters::progressAfterEveryRow()
{
    QFETCH(int, filterNummer);
    QFETCH(int, height);
    QFETCH(int, intervalMs);
    QFETCH(QList<int>, expected);
    Random random(1);
    Filters filters(random);
    QList<int> reported;
    filters.setEventPump(
        [&](int v) {
            QCOMPARE(filters.Voortgang(), v);
            QVERIFY(filters.FilterBezig());
            reported << v;
        },
        std::chrono::milliseconds(intervalMs));
    QImage image = noise(6, height, 2);
    filters.PasFilterToe(filterNummer, image, filterNummer == Filters::Pixeleer ? 3 : 5);
    QCOMPARE(reported, expected);
    QVERIFY(!filters.FilterBezig());
}

// While a filter runs, another filter, a mirror or a flip from the pump returns at once.
void TestFilters::nestedCallsReturnAtOnce()
{
    const QImage picture = noise(9, 12, 21);
    Random random(1);
    Filters filters(random);
    QImage image = picture;
    int nested = 0;
    filters.setEventPump(
        [&](int) {
            const int before = filters.Voortgang();
            for (const int what : {int(Filters::Negatief), Mirror, Flip})
                act(filters, what, image, 0);
            ++nested;
            QCOMPARE(filters.Voortgang(), before);
            QVERIFY(filters.FilterBezig());
        },
        std::chrono::milliseconds(0));
    filters.PasFilterToe(Filters::Grijswaarden, image, 0);
    QVERIFY(nested > 0);
    QCOMPARE(image, run(Filters::Grijswaarden, picture));
    // Afterwards the engine takes filters again.
    filters.setEventPump({});
    filters.PasFilterToe(Filters::Negatief, image, 0);
    QCOMPARE(image, run(Filters::Negatief, run(Filters::Grijswaarden, picture)));
}

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
