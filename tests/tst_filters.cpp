#include "import/FilterKernels.h"
#include "import/Filters.h"
#include "import/RandomBatch.h"
#include "platform/Random.h"

#include <QTest>

#include <cfenv>
#include <cmath>
#include <random>
#include <vector>

// A slow, literal reading of the filter rules, sharing nothing with the fast code: 1-based
// buffers indexed (channel, x, y) with channel 1 blue, 2 green, 3 red, 4 the fourth byte.
namespace Literal {

struct Buffer {
    int W = 0;
    int H = 0;
    std::vector<int> v;

    int &at(int c, int x, int y) { return v[std::size_t(((y - 1) * W + (x - 1)) * 4 + (c - 1))]; }
};

Buffer read(const QImage &image)
{
    Buffer b;
    b.W = image.width();
    b.H = image.height();
    b.v.resize(std::size_t(b.W) * b.H * 4);
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

void write(Buffer &b, QImage &image)
{
    for (int y = 1; y <= b.H; ++y)
        for (int x = 1; x <= b.W; ++x)
            image.setPixel(x - 1, y - 1, qRgba(b.at(3, x, y), b.at(2, x, y), b.at(1, x, y), b.at(4, x, y)));
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

int s8(Buffer &b, int c, int x, int y)
{
    return b.at(c, x - 1, y - 1) + b.at(c, x, y - 1) + b.at(c, x + 1, y - 1) + b.at(c, x - 1, y) + b.at(c, x + 1, y)
        + b.at(c, x - 1, y + 1) + b.at(c, x, y + 1) + b.at(c, x + 1, y + 1);
}

void verscherp(Buffer &doel, int p)
{
    for (int y = 2; y <= doel.H - 1; ++y) {
        for (int x = 2; x <= doel.W - 1; ++x) {
            int n[4];
            for (int c = 1; c <= 3; ++c)
                n[c] = clamp((doel.at(c, x, y) * (p + 24) - 2 * s8(doel, c, x, y)) / (p + 8));
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = n[c];
        }
    }
}

void negatief(Buffer &doel)
{
    for (int y = 1; y <= doel.H; ++y)
        for (int x = 1; x <= doel.W; ++x)
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = 255 - doel.at(c, x, y);
}

void vervaag(Buffer &doel)
{
    for (int y = 2; y <= doel.H - 1; ++y) {
        for (int x = 2; x <= doel.W - 1; ++x) {
            int n[4];
            for (int c = 1; c <= 3; ++c)
                n[c] = s8(doel, c, x, y) / 8;
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = n[c];
        }
    }
}

void verstrooi(Buffer &doel, int p, Random &random)
{
    const int half = nearest(p / 2.0);
    for (int y = 1; y <= doel.H; ++y) {
        for (int x = 1; x <= doel.W; ++x) {
            const double r1 = random.next();
            const double r2 = random.next();
            int dx = nearest(r1 * p - half);
            int dy = nearest(r2 * p - half);
            if (x + dx < 1 || x + dx > doel.W)
                dx = 0;
            if (y + dy < 1 || y + dy > doel.H)
                dy = 0;
            int n[4];
            for (int c = 1; c <= 3; ++c)
                n[c] = doel.at(c, x + dx, y + dy);
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = n[c];
        }
    }
}

void grijswaarden(Buffer &doel)
{
    int tabel[766];
    for (int i = 0; i <= 765; ++i)
        tabel[i] = i / 3;
    for (int y = 1; y <= doel.H; ++y) {
        for (int x = 1; x <= doel.W; ++x) {
            const int s = doel.at(1, x, y) + doel.at(2, x, y) + doel.at(3, x, y);
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = tabel[s];
        }
    }
}

void relief(Buffer &doel, Buffer &bron)
{
    for (int y = 2; y <= doel.H - 1; ++y) {
        for (int x = 2; x <= doel.W - 1; ++x) {
            for (int c = 1; c <= 3; ++c) {
                const int e = 2 * bron.at(c, x - 1, y - 1) + bron.at(c, x - 1, y) + bron.at(c, x, y - 1)
                    - bron.at(c, x, y + 1) - bron.at(c, x + 1, y) - 2 * bron.at(c, x + 1, y + 1);
                doel.at(c, x, y) = clamp(((bron.at(c, x, y) + e) / 2) + 50);
            }
        }
    }
}

void helderheid(Buffer &doel, Buffer &bron, int p)
{
    const float f = float((p + 100) / 100.0);
    int tabel[256];
    for (int i = 0; i <= 255; ++i)
        tabel[i] = clamp(nearest(double(f) * double(i)));
    for (int y = 1; y <= doel.H; ++y)
        for (int x = 1; x <= doel.W; ++x)
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = tabel[bron.at(c, x, y)];
}

void pixeleer(Buffer &doel, Buffer &bron, int n)
{
    int mean[4] = {0, 0, 0, 0};
    for (int y = 1; y <= doel.H; ++y) {
        for (int x = 1; x <= doel.W; ++x) {
            if ((x - 1) % n == 0) {
                const int bx = ((x - 1) / n) * n + 1;
                const int by = ((y - 1) / n) * n + 1;
                int sum[4] = {0, 0, 0, 0};
                int k = 0;
                for (int j = by; j <= by + n - 1; ++j) {
                    for (int i = bx; i <= bx + n - 1; ++i) {
                        if (i <= doel.W && j <= doel.H) {
                            for (int c = 1; c <= 3; ++c)
                                sum[c] += bron.at(c, i, j);
                            ++k;
                        }
                    }
                }
                if (k > 0)
                    for (int c = 1; c <= 3; ++c)
                        mean[c] = sum[c] / k;
            }
            for (int c = 1; c <= 3; ++c)
                doel.at(c, x, y) = mean[c];
        }
    }
}

// The dispatcher's filter step: both buffers start as copies of the bitmap.
QImage apply(const QImage &picture, int filterNummer, int parameter, Random &random)
{
    Buffer doel = read(picture);
    Buffer bron = read(picture);
    switch (filterNummer) {
    case 1: verscherp(doel, parameter); break;
    case 2: negatief(doel); break;
    case 3: vervaag(doel); break;
    case 4: verstrooi(doel, parameter, random); break;
    case 12: grijswaarden(doel); break;
    case 13: relief(doel, bron); break;
    case 14: helderheid(doel, bron, parameter); break;
    case 15: pixeleer(doel, bron, parameter); break;
    }
    QImage result = picture;
    write(doel, result);
    return result;
}

QImage mirrored(const QImage &picture)
{
    QImage result = picture;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            result.setPixel(x, y, picture.pixel(picture.width() - 1 - x, y));
    return result;
}

QImage flipped(const QImage &picture)
{
    QImage result = picture;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            result.setPixel(x, y, picture.pixel(x, picture.height() - 1 - y));
    return result;
}

} // namespace Literal

namespace {

QImage noise(int w, int h, std::uint32_t seed, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(w, h, format);
    std::mt19937 gen(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, quint32(gen()) | (format == QImage::Format_RGB32 ? 0xff000000u : 0u));
    return image;
}

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture whose every colour channel is `around`, except one pixel whose channels are `centre`.
QImage spot(int w, int h, int sx, int sy, int around, int centre)
{
    QImage image = filled(w, h, qRgb(around, around, around));
    image.setPixel(sx, sy, qRgb(centre, centre, centre));
    return image;
}

QImage run(int filterNummer, QImage picture, int parameter = 0)
{
    Random random(7);
    Filters filters(random);
    filters.PasFilterToe(filterNummer, picture, parameter);
    return picture;
}

int blueAt(const QImage &image, int x, int y)
{
    return qBlue(image.pixel(x, y));
}

struct Case {
    const char *name;
    int filterNummer;
    int parameter;
};

const Case programFilters[] = {
    {"scherper", Filters::Verscherp, 5},      {"negatief", Filters::Negatief, 0},
    {"blur", Filters::Vervaag, 0},            {"defuse", Filters::Verstrooi, 6},
    {"grijswaarden", Filters::Grijswaarden, 0}, {"relief", Filters::Relief, 0},
    {"lichter", Filters::Helderheid, 8},      {"donkerder", Filters::Helderheid, -8},
    {"pixellize", Filters::Pixeleer, 3},
};

} // namespace

class TestFilters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameAsLiteralRules_data();
    void sameAsLiteralRules();
    void mirrorAndFlipSameAsLiteralRules_data();
    void mirrorAndFlipSameAsLiteralRules();
    void batchDrawsEqualNext_data();
    void batchDrawsEqualNext();

    void negativeExampleAndTwice();
    void greyTruncatesTheMean();
    void brightnessTableRows_data();
    void brightnessTableRows();
    void lighterThenDarkerDoesNotRestore();
    void neighbourhoodFilters_data();
    void neighbourhoodFilters();
    void sharpenAndBlurReadNewLeftNeighbour_data();
    void sharpenAndBlurReadNewLeftNeighbour();
    void outermostFrameKept_data();
    void outermostFrameKept();
    void mosaicTenByTen();
    void diffuseOnOnePixel();
    void tinyPicturesUnchangedButFinish_data();
    void tinyPicturesUnchangedButFinish();
    void mirrorAndFlipTwiceRestore();
    void mirrorAndFlipLeaveProgressAlone();
    void fourthChannelKept_data();
    void fourthChannelKept();
    void progressAfterEveryRow_data();
    void progressAfterEveryRow();
    void pumpRunsOnceAtEndWhenIntervalIsLong();
    void nestedCallDoesNothing();
    void mirrorDuringFilterDoesNothing();
    void unknownNumberChangesNothing();
    void otherFormatsAreConverted();
    void optionTable_data();
    void optionTable();
};

void TestFilters::sameAsLiteralRules_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    const QSize sizes[] = {{1, 1}, {2, 2}, {3, 3}, {3, 7}, {7, 3}, {4, 5}, {64, 1}, {1, 64}, {10, 10}, {355, 255}};
    for (const Case &c : programFilters)
        for (const QSize &size : sizes)
            QTest::addRow("%s %dx%d", c.name, size.width(), size.height())
                << c.filterNummer << c.parameter << size.width() << size.height();
    // Parameters the program never passes still follow the same rules.
    QTest::addRow("scherper p=0") << int(Filters::Verscherp) << 0 << 31 << 17;
    QTest::addRow("scherper p=-7") << int(Filters::Verscherp) << -7 << 31 << 17;
    QTest::addRow("scherper p=200") << int(Filters::Verscherp) << 200 << 31 << 17;
    QTest::addRow("scherper p=1000") << int(Filters::Verscherp) << 1000 << 31 << 17;
    QTest::addRow("scherper p=-30") << int(Filters::Verscherp) << -30 << 31 << 17;
    QTest::addRow("helderheid p=50") << int(Filters::Helderheid) << 50 << 31 << 17;
    QTest::addRow("helderheid p=-150") << int(Filters::Helderheid) << -150 << 31 << 17;
    QTest::addRow("pixeleer n=1") << int(Filters::Pixeleer) << 1 << 31 << 17;
    QTest::addRow("pixeleer n=2") << int(Filters::Pixeleer) << 2 << 31 << 17;
    QTest::addRow("pixeleer n=7") << int(Filters::Pixeleer) << 7 << 31 << 17;
    QTest::addRow("pixeleer n=300") << int(Filters::Pixeleer) << 300 << 310 << 305;
    QTest::addRow("pixeleer n=40") << int(Filters::Pixeleer) << 40 << 31 << 17;
    QTest::addRow("verstrooi p=5") << int(Filters::Verstrooi) << 5 << 31 << 17;
    QTest::addRow("verstrooi p=1") << int(Filters::Verstrooi) << 1 << 31 << 17;
    QTest::addRow("verstrooi p=20") << int(Filters::Verstrooi) << 20 << 31 << 17;
    QTest::addRow("verstrooi p=-4") << int(Filters::Verstrooi) << -4 << 31 << 17;
}

void TestFilters::sameAsLiteralRules()
{
    QFETCH(int, filterNummer);
    QFETCH(int, parameter);
    QFETCH(int, width);
    QFETCH(int, height);
    const QImage picture = noise(width, height, std::uint32_t(width * 1000 + height + filterNummer));

    Random literalRandom(12345);
    literalRandom.next(); // start the fast side in the middle of the engine's block as well
    const QImage expected = Literal::apply(picture, filterNummer, parameter, literalRandom);

    Random random(12345);
    random.next();
    Filters filters(random);
    QImage actual = picture;
    filters.PasFilterToe(filterNummer, actual, parameter);

    QCOMPARE(actual.format(), QImage::Format_ARGB32);
    QCOMPARE(actual, expected);
    QCOMPARE(filters.Voortgang(), 100);
    QVERIFY(!filters.FilterBezig());
    // Both sides drew the same count of numbers and left the generator in the same state.
    QCOMPARE(random.next(), literalRandom.next());
}

void TestFilters::mirrorAndFlipSameAsLiteralRules_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1x1") << 1 << 1;
    QTest::newRow("2x2") << 2 << 2;
    QTest::newRow("3x7") << 3 << 7;
    QTest::newRow("7x3") << 7 << 3;
    QTest::newRow("64x1") << 64 << 1;
    QTest::newRow("1x64") << 1 << 64;
    QTest::newRow("355x255") << 355 << 255;
}

void TestFilters::mirrorAndFlipSameAsLiteralRules()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const QImage picture = noise(width, height, 99);
    Random random(1);
    Filters filters(random);
    QImage mirror = picture;
    filters.SpiegelHorizontaal(mirror);
    QCOMPARE(mirror, Literal::mirrored(picture));
    QImage flip = picture;
    filters.FlipVertikaal(flip);
    QCOMPARE(flip, Literal::flipped(picture));
}

void TestFilters::batchDrawsEqualNext_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 0 << 1;
    QTest::newRow("to block end") << 0 << 312;
    QTest::newRow("over block end") << 0 << 313;
    QTest::newRow("mid block start") << 101 << 5000;
    QTest::newRow("many blocks") << 3 << 40000;
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
        const double expected = one.next();
        const double got = RandomBatch::toUnit(words[std::size_t(2) * i], words[std::size_t(2) * i + 1]);
        if (got != expected)
            QFAIL(qPrintable(QStringLiteral("draw %1 differs").arg(i)));
    }
    QCOMPARE(batched.next(), one.next());
}

void TestFilters::negativeExampleAndTwice()
{
    const QImage once = run(Filters::Negatief, filled(3, 2, qRgb(255, 200, 10)));
    QCOMPARE(once.pixel(1, 1), qRgb(0, 55, 245));

    const QImage picture = noise(33, 21, 5);
    QCOMPARE(run(Filters::Negatief, run(Filters::Negatief, picture)), picture);
}

void TestFilters::greyTruncatesTheMean()
{
    const QImage grey = run(Filters::Grijswaarden, filled(2, 2, qRgb(31, 20, 10)));
    QCOMPARE(grey.pixel(0, 0), qRgb(20, 20, 20));
    const QImage white = run(Filters::Grijswaarden, filled(2, 2, qRgb(255, 255, 255)));
    QCOMPARE(white.pixel(1, 1), qRgb(255, 255, 255));
}

void TestFilters::brightnessTableRows_data()
{
    QTest::addColumn<int>("parameter");
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    QTest::newRow("lichter 0") << 8 << 0 << 0;
    QTest::newRow("lichter 7") << 8 << 7 << 8;
    QTest::newRow("lichter 100") << 8 << 100 << 108;
    QTest::newRow("lichter 235") << 8 << 235 << 254;
    QTest::newRow("lichter 236") << 8 << 236 << 255;
    QTest::newRow("lichter 237") << 8 << 237 << 255;
    QTest::newRow("donkerder 7") << -8 << 7 << 6;
    QTest::newRow("donkerder 100") << -8 << 100 << 92;
    QTest::newRow("donkerder 108") << -8 << 108 << 99;
    QTest::newRow("donkerder 255") << -8 << 255 << 235;
    // 1.5 is exact in single precision, so 1.5 * 3 = 4.5 is a true half: to the even 4.
    QTest::newRow("half to even down") << 50 << 3 << 4;
    QTest::newRow("half to even up") << 50 << 5 << 8;
}

void TestFilters::brightnessTableRows()
{
    QFETCH(int, parameter);
    QFETCH(int, in);
    QFETCH(int, out);
    const QImage result = run(Filters::Helderheid, filled(1, 1, qRgb(in, in, in)), parameter);
    QCOMPARE(result.pixel(0, 0), qRgb(out, out, out));
}

void TestFilters::lighterThenDarkerDoesNotRestore()
{
    const QImage picture = filled(4, 4, qRgb(100, 100, 100));
    const QImage back = run(Filters::Helderheid, run(Filters::Helderheid, picture, 8), -8);
    QCOMPARE(back.pixel(2, 2), qRgb(99, 99, 99));
}

void TestFilters::neighbourhoodFilters_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("expected"); // blue of the centre pixel (1, 1)
    QTest::newRow("sharpen flat 100") << int(Filters::Verscherp) << spot(3, 3, 1, 1, 100, 100) << 100;
    QTest::newRow("sharpen 200 among 100") << int(Filters::Verscherp) << spot(3, 3, 1, 1, 100, 200) << 255;
    QTest::newRow("sharpen 50 among 100") << int(Filters::Verscherp) << spot(3, 3, 1, 1, 100, 50) << 0;
    QTest::newRow("blur 255 among 0") << int(Filters::Vervaag) << spot(3, 3, 1, 1, 0, 255) << 0;
    QTest::newRow("blur 0 among 255") << int(Filters::Vervaag) << spot(3, 3, 1, 1, 255, 0) << 255;
    QTest::newRow("relief flat 100") << int(Filters::Relief) << spot(3, 3, 1, 1, 100, 100) << 100;
    QTest::newRow("relief flat 200") << int(Filters::Relief) << spot(3, 3, 1, 1, 200, 200) << 150;
    QTest::newRow("relief flat 0") << int(Filters::Relief) << spot(3, 3, 1, 1, 0, 0) << 50;
    // Only S = 3: v + e = -3, and -3 div 2 is -1 (toward zero), not -2.
    QTest::newRow("relief rounds toward zero") << int(Filters::Relief) << spot(3, 3, 1, 2, 0, 3) << 49;
    QTest::newRow("relief clamps high") << int(Filters::Relief) << spot(3, 3, 0, 0, 0, 255) << 255;
}

void TestFilters::neighbourhoodFilters()
{
    QFETCH(int, filterNummer);
    QFETCH(QImage, picture);
    QFETCH(int, expected);
    const QImage result = run(filterNummer, picture);
    QCOMPARE(blueAt(result, 1, 1), expected);
}

void TestFilters::sharpenAndBlurReadNewLeftNeighbour_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    // (1, 1) becomes 255; (2, 1) then sees 255 on its left: (2900 - 2 (700 + 255)) div 13 = 76,
    // where the old value 200 would have given 84.
    QTest::newRow("sharpen") << int(Filters::Verscherp) << spot(4, 3, 1, 1, 100, 200) << 255 << 76;
    // (1, 1) = 240 div 8 = 30 from the border pixel; (2, 1) = 30 div 8 = 3 from the new (1, 1).
    QTest::newRow("blur") << int(Filters::Vervaag) << spot(4, 3, 0, 1, 0, 240) << 30 << 3;
}

void TestFilters::sharpenAndBlurReadNewLeftNeighbour()
{
    QFETCH(int, filterNummer);
    QFETCH(QImage, picture);
    QFETCH(int, first);
    QFETCH(int, second);
    const QImage result = run(filterNummer, picture, filterNummer == Filters::Verscherp ? 5 : 0);
    QCOMPARE(blueAt(result, 1, 1), first);
    QCOMPARE(blueAt(result, 2, 1), second);
}

void TestFilters::outermostFrameKept_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("parameter");
    QTest::newRow("scherper") << int(Filters::Verscherp) << 5;
    QTest::newRow("blur") << int(Filters::Vervaag) << 0;
    QTest::newRow("relief") << int(Filters::Relief) << 0;
}

void TestFilters::outermostFrameKept()
{
    QFETCH(int, filterNummer);
    QFETCH(int, parameter);
    const QImage picture = noise(17, 11, 3);
    const QImage result = run(filterNummer, picture, parameter);
    for (int x = 0; x < 17; ++x) {
        QCOMPARE(result.pixel(x, 0), picture.pixel(x, 0));
        QCOMPARE(result.pixel(x, 10), picture.pixel(x, 10));
    }
    for (int y = 0; y < 11; ++y) {
        QCOMPARE(result.pixel(0, y), picture.pixel(0, y));
        QCOMPARE(result.pixel(16, y), picture.pixel(16, y));
    }
    QVERIFY(result != picture);
}

void TestFilters::mosaicTenByTen()
{
    QImage picture(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 10 * x + y));
    const QImage result = run(Filters::Pixeleer, picture, 3);
    // Columns 1-3 and rows 1-3 (0..2 here): the mean of 10x + y over nine pixels, 10 + 1 = 11.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(blueAt(result, x, y), 11);
    // Column 10 with rows 1-3: three pixels 90, 91, 92.
    for (int y = 0; y < 3; ++y)
        QCOMPARE(blueAt(result, 9, y), 91);
    // Columns 7-9 with row 10: three pixels 69, 79, 89.
    for (int x = 6; x < 9; ++x)
        QCOMPARE(blueAt(result, x, 9), 79);
    // The corner block is the single pixel itself.
    QCOMPARE(blueAt(result, 9, 9), 99);
    // Columns 4-6, rows 4-6: 10x + y for x, y = 3..5 (0-based), mean 44.
    QCOMPARE(blueAt(result, 4, 4), 44);
}

void TestFilters::diffuseOnOnePixel()
{
    const QImage picture = noise(1, 1, 8);
    Random random(77);
    Random counted(77);
    Filters filters(random);
    QImage result = picture;
    filters.PasFilterToe(Filters::Verstrooi, result, 6);
    QCOMPARE(result, picture);
    // Still exactly two draws for the one pixel.
    counted.next();
    counted.next();
    QCOMPARE(random.next(), counted.next());
}

void TestFilters::tinyPicturesUnchangedButFinish_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (const int f : {int(Filters::Verscherp), int(Filters::Vervaag), int(Filters::Relief)}) {
        QTest::addRow("%d 2x2", f) << f << 2 << 2;
        QTest::addRow("%d 1x1", f) << f << 1 << 1;
        QTest::addRow("%d 2x9", f) << f << 2 << 9;
        QTest::addRow("%d 9x2", f) << f << 9 << 2;
    }
}

void TestFilters::tinyPicturesUnchangedButFinish()
{
    QFETCH(int, filterNummer);
    QFETCH(int, width);
    QFETCH(int, height);
    const QImage picture = noise(width, height, 4);
    Random random(1);
    Filters filters(random);
    QList<int> reported;
    filters.setEventPump([&](int v) { reported << v; }, std::chrono::milliseconds(0));
    QImage result = picture;
    filters.PasFilterToe(filterNummer, result, 5);
    QCOMPARE(result, picture);
    QCOMPARE(reported, QList<int>{100});
    QCOMPARE(filters.Voortgang(), 100);
}

void TestFilters::mirrorAndFlipTwiceRestore()
{
    const QImage picture = noise(13, 8, 6);
    Random random(1);
    Filters filters(random);
    QImage image = picture;
    filters.SpiegelHorizontaal(image);
    QVERIFY(image != picture);
    QCOMPARE(image.pixel(0, 3), picture.pixel(12, 3));
    filters.SpiegelHorizontaal(image);
    QCOMPARE(image, picture);
    filters.FlipVertikaal(image);
    QCOMPARE(image.pixel(4, 0), picture.pixel(4, 7));
    filters.FlipVertikaal(image);
    QCOMPARE(image, picture);
}

void TestFilters::mirrorAndFlipLeaveProgressAlone()
{
    Random random(1);
    Filters filters(random);
    QImage image = noise(5, 5, 1);
    int pumped = 0;
    filters.setEventPump([&](int) { ++pumped; }, std::chrono::milliseconds(0));
    filters.PasFilterToe(Filters::Negatief, image, 0);
    const int afterFilter = pumped;
    filters.SpiegelHorizontaal(image);
    filters.FlipVertikaal(image);
    QCOMPARE(pumped, afterFilter);
    QCOMPARE(filters.Voortgang(), 100);
    QVERIFY(!filters.FilterBezig());
    // A fresh engine has reported nothing yet; mirroring does not change that either.
    Filters fresh(random);
    fresh.SpiegelHorizontaal(image);
    QCOMPARE(fresh.Voortgang(), 0);
}

void TestFilters::fourthChannelKept_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("parameter");
    for (const Case &c : programFilters)
        QTest::newRow(c.name) << c.filterNummer << c.parameter;
}

void TestFilters::fourthChannelKept()
{
    QFETCH(int, filterNummer);
    QFETCH(int, parameter);
    const QImage picture = noise(41, 23, 11);
    const QImage result = run(filterNummer, picture, parameter);
    QVERIFY(result != picture);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            QCOMPARE(qAlpha(result.pixel(x, y)), qAlpha(picture.pixel(x, y)));
}

void TestFilters::progressAfterEveryRow_data()
{
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("expected");
    // (100 y) div 7 after rule rows y = 1..7, then 100 at the end.
    const QList<int> allRows{14, 28, 42, 57, 71, 85, 100, 100};
    // Rule rows 2..6 only.
    const QList<int> innerRows{28, 42, 57, 71, 85, 100};
    QTest::newRow("negatief") << int(Filters::Negatief) << 7 << allRows;
    QTest::newRow("grijswaarden") << int(Filters::Grijswaarden) << 7 << allRows;
    QTest::newRow("helderheid") << int(Filters::Helderheid) << 7 << allRows;
    QTest::newRow("verstrooi") << int(Filters::Verstrooi) << 7 << allRows;
    QTest::newRow("pixeleer") << int(Filters::Pixeleer) << 7 << allRows;
    QTest::newRow("verscherp") << int(Filters::Verscherp) << 7 << innerRows;
    QTest::newRow("vervaag") << int(Filters::Vervaag) << 7 << innerRows;
    QTest::newRow("relief") << int(Filters::Relief) << 7 << innerRows;
    QTest::newRow("relief 3 rows") << int(Filters::Relief) << 3 << QList<int>{66, 100};
}

void TestFilters::progressAfterEveryRow()
{
    QFETCH(int, filterNummer);
    QFETCH(int, height);
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
        std::chrono::milliseconds(0));
    QImage image = noise(6, height, 2);
    filters.PasFilterToe(filterNummer, image, filterNummer == Filters::Pixeleer ? 3 : 5);
    QCOMPARE(reported, expected);
    QVERIFY(!filters.FilterBezig());
}

void TestFilters::pumpRunsOnceAtEndWhenIntervalIsLong()
{
    Random random(1);
    Filters filters(random);
    QList<int> reported;
    filters.setEventPump([&](int v) { reported << v; }, std::chrono::hours(1));
    QImage image = noise(20, 300, 2);
    filters.PasFilterToe(Filters::Vervaag, image, 0);
    QCOMPARE(reported, QList<int>{100});
}

void TestFilters::nestedCallDoesNothing()
{
    const QImage picture = noise(9, 12, 21);
    Random random(1);
    Filters filters(random);
    QImage image = picture;
    int nested = 0;
    filters.setEventPump(
        [&](int v) {
            if (v == 100)
                return;
            ++nested;
            const int before = filters.Voortgang();
            filters.PasFilterToe(Filters::Negatief, image, 0);
            QCOMPARE(filters.Voortgang(), before);
            QVERIFY(filters.FilterBezig());
        },
        std::chrono::milliseconds(0));
    filters.PasFilterToe(Filters::Grijswaarden, image, 0);
    QVERIFY(nested > 0);
    QCOMPARE(image, run(Filters::Grijswaarden, picture));
    // Afterwards the engine takes filters again.
    filters.PasFilterToe(Filters::Negatief, image, 0);
    QCOMPARE(image, run(Filters::Negatief, run(Filters::Grijswaarden, picture)));
}

void TestFilters::mirrorDuringFilterDoesNothing()
{
    const QImage picture = noise(9, 12, 22);
    Random random(1);
    Filters filters(random);
    QImage image = picture;
    filters.setEventPump(
        [&](int) {
            filters.SpiegelHorizontaal(image);
            filters.FlipVertikaal(image);
        },
        std::chrono::milliseconds(0));
    filters.PasFilterToe(Filters::Negatief, image, 0);
    QCOMPARE(image, run(Filters::Negatief, picture));
}

void TestFilters::unknownNumberChangesNothing()
{
    const QImage picture = noise(5, 5, 23);
    Random random(1);
    Filters filters(random);
    QImage image = picture;
    filters.PasFilterToe(5, image, 0);
    QCOMPARE(image, picture);
    QCOMPARE(filters.Voortgang(), 0);
}

void TestFilters::otherFormatsAreConverted()
{
    QImage image(4, 3, QImage::Format_RGB888);
    image.fill(QColor(255, 200, 10));
    Random random(1);
    Filters filters(random);
    filters.PasFilterToe(Filters::Negatief, image, 0);
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(image.pixel(3, 2), qRgb(0, 55, 245));
}

void TestFilters::optionTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("filterNummer");
    QTest::addColumn<int>("parameter");
    QTest::newRow("1") << 1 << "Grijswaarden" << 12 << 0;
    QTest::newRow("2") << 2 << "Negatief" << 2 << 0;
    QTest::newRow("3") << 3 << "Lichter" << 14 << 8;
    QTest::newRow("4") << 4 << "Donkerder" << 14 << -8;
    QTest::newRow("5") << 5 << "Scherper" << 1 << 5;
    QTest::newRow("8") << 8 << "Defuse" << 4 << 6;
    QTest::newRow("9") << 9 << QStringLiteral("Reli\u00ebf") << 13 << 0;
    QTest::newRow("10") << 10 << "Pixellize" << 15 << 3;
    QTest::newRow("11") << 11 << "Blur" << 3 << 0;
}

void TestFilters::optionTable()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(int, filterNummer);
    QFETCH(int, parameter);
    const Filters::Optie &optie = Filters::opties().at(std::size_t(index - 1));
    QCOMPARE(optie.index, index);
    QCOMPARE(QString::fromUtf8(optie.caption), caption);
    QCOMPARE(optie.filterNummer, filterNummer);
    QCOMPARE(optie.parameter, parameter);

    const QImage picture = noise(12, 9, std::uint32_t(index));
    Random a(5), b(5);
    Filters viaOption(a), direct(b);
    QImage x = picture, y = picture;
    QVERIFY(viaOption.pasOptieToe(index, x));
    direct.PasFilterToe(filterNummer, y, parameter);
    QCOMPARE(x, y);
}

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
