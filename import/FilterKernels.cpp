#include "import/FilterKernels.h"

#include "platform/Numbers.h"

#include "import/RandomBatch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace FilterKernels {

namespace {

constexpr quint32 ColourBits = 0x00ffffffu;
constexpr quint32 FourthBits = 0xff000000u;

// Byte lanes in memory of blue, green and red: the kernels that work byte by byte need them,
// the ones that work on whole words do not care about byte order.
constexpr bool LittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
constexpr int BlueLane = LittleEndian ? 0 : 3;
constexpr int GreenLane = LittleEndian ? 1 : 2;
constexpr int RedLane = LittleEndian ? 2 : 1;

constexpr bool thirdByMultiplyIsExact()
{
    for (quint32 s = 0; s <= 765; ++s) {
        if (((s * 21846u) >> 16) != s / 3)
            return false;
    }
    return true;
}
// Grey needs s div 3 for s up to 3 * 255; a multiply and shift is that quotient exactly
// over the whole range and, unlike a table lookup, vectorises.
static_assert(thirdByMultiplyIsExact());

// The rows of sharpen, blur and relief leave the outermost frame alone; with fewer than three
// rows or columns there is nothing to do but report.
bool hasInterior(const Surface &s)
{
    return s.width >= 3 && s.height >= 3;
}

int clampByte(qint64 v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : int(v));
}

// Copies the fourth channel back over a row that was computed byte by byte.
void keepFourth(quint32 *__restrict out, const quint32 *__restrict original, int from, int to)
{
    for (int x = from; x < to; ++x)
        out[x] = (out[x] & ColourBits) | (original[x] & FourthBits);
}

// Rounds to the nearest integer with halves to even, the way the FPU does in its default
// mode; unlike std::nearbyint it does not need SSE4.1 to stay inline and vectorisable.
inline double roundHalfEvenFast(double v)
{
    constexpr double Magic = 6755399441055744.0; // 1.5 * 2^52; exact only without -ffast-math
    return (v + Magic) - Magic;
}

} // namespace

void Progress::pump()
{
    (*m_pump)(m_voortgang);
    // Measured from the end of the pump, so a slow event handler cannot eat the whole run.
    m_next = Clock::now() + m_interval;
}

TUURBORD_VECTOR_CLONES void negatief(const Surface &s, Progress &progress)
{
    // Locals: the row stores could otherwise alias the sizes and stop vectorisation.
    const int w = s.width;
    const int h = s.height;
    progress.start();
    for (int y = 0; y < h; ++y) {
        quint32 *__restrict row = s.row(y);
        for (int x = 0; x < w; ++x)
            row[x] ^= ColourBits; // 255 - v for every colour byte
        progress.rowDone(y);
    }
    progress.finish();
}

TUURBORD_VECTOR_CLONES void grijswaarden(const Surface &s, Progress &progress)
{
    // Locals: the row stores could otherwise alias the sizes and stop vectorisation.
    const int w = s.width;
    const int h = s.height;
    progress.start();
    for (int y = 0; y < h; ++y) {
        quint32 *__restrict row = s.row(y);
        for (int x = 0; x < w; ++x) {
            const quint32 p = row[x];
            const quint32 sum = (p & 0xffu) + ((p >> 8) & 0xffu) + ((p >> 16) & 0xffu);
            const quint32 mean = (sum * 21846u) >> 16;
            row[x] = (p & FourthBits) | mean | (mean << 8) | (mean << 16);
        }
        progress.rowDone(y);
    }
    progress.finish();
}

namespace {
// The factor goes through single precision first, so 1.08 is really 1.0800000429...
double helderheidFactor(int parameter)
{
    return double(float(double(parameter + 100) / 100.0));
}
}

void helderheidTabel(int parameter, quint8 *table)
{
    const double factor = helderheidFactor(parameter);
    for (int i = 0; i < 256; ++i)
        table[i] = quint8(clampByte(qint64(roundHalfEven(factor * i))));
}

namespace {

// round(f v) for all 256 bytes as (v M + B) >> S, when such a multiplier reproduces the
// table exactly: the arithmetic vectorises where the three table loads per pixel do not.
struct Scaling {
    quint32 multiplier = 0;
    quint32 bias = 0;
    int shift = 0;
};

bool findScaling(double factor, const quint8 *table, Scaling &found)
{
    if (!(factor > 0) || factor > 64)
        return false;
    for (int shift = 8; shift <= 20; ++shift) {
        const qint64 unit = qint64(1) << shift;
        const qint64 guess = qint64(factor * double(unit));
        for (qint64 m = std::max<qint64>(1, guess - 2); m <= guess + 2; ++m) {
            // Every byte narrows the range of biases that give its table value.
            qint64 low = 0;
            qint64 high = unit - 1;
            for (qint64 v = 0; v < 256 && low <= high; ++v) {
                const qint64 t = table[v];
                low = std::max(low, t * unit - v * m);
                if (t < 255)
                    high = std::min(high, (t + 1) * unit - v * m - 1);
            }
            if (low <= high && 255 * m + low < (qint64(1) << 31)) {
                found = {quint32(m), quint32(low), shift};
                return true;
            }
        }
    }
    return false;
}

void helderheidTable(const Surface &s, const quint8 *table, Progress &progress)
{
    // Locals: the row stores could otherwise alias the sizes and stop vectorisation.
    const int w = s.width;
    const int h = s.height;
    // One table per colour, already shifted into place: three loads and two ors per pixel.
    quint32 blue[256], green[256], red[256];
    for (int i = 0; i < 256; ++i) {
        blue[i] = table[i];
        green[i] = quint32(table[i]) << 8;
        red[i] = quint32(table[i]) << 16;
    }
    for (int y = 0; y < h; ++y) {
        quint32 *__restrict row = s.row(y);
        for (int x = 0; x < w; ++x) {
            const quint32 p = row[x];
            row[x] = (p & FourthBits) | blue[p & 0xffu] | green[(p >> 8) & 0xffu] | red[(p >> 16) & 0xffu];
        }
        progress.rowDone(y);
    }
}

TUURBORD_VECTOR_CLONES void helderheidScaled(const Surface &s, Scaling k, Progress &progress)
{
    // Locals: the row stores could otherwise alias the sizes and stop vectorisation.
    const int w = s.width;
    const int h = s.height;
    const quint32 m = k.multiplier, b = k.bias;
    const int sh = k.shift;
    for (int y = 0; y < h; ++y) {
        quint32 *__restrict row = s.row(y);
        for (int x = 0; x < w; ++x) {
            const quint32 p = row[x];
            const quint32 blue = std::min((((p & 0xffu) * m) + b) >> sh, 255u);
            const quint32 green = std::min(((((p >> 8) & 0xffu) * m) + b) >> sh, 255u);
            const quint32 red = std::min(((((p >> 16) & 0xffu) * m) + b) >> sh, 255u);
            row[x] = (p & FourthBits) | blue | (green << 8) | (red << 16);
        }
        progress.rowDone(y);
    }
}

} // namespace

void helderheid(const Surface &s, int parameter, Progress &progress)
{
    quint8 table[256];
    helderheidTabel(parameter, table);
    // Each pixel depends on its own old value only, so the untouched source and the working
    // buffer are the same thing here.
    progress.start();
    Scaling scaling;
    if (findScaling(helderheidFactor(parameter), table, scaling))
        helderheidScaled(s, scaling, progress);
    else
        helderheidTable(s, table, progress);
    progress.finish();
}

namespace {

// Sharpen with a divisor or weight the table cannot hold: the rule as it stands, per pixel.
// A divisor of 0 (parameter -8) has no quotient; those pixels keep their value.
void verscherpPlain(const Surface &s, int parameter, Progress &progress)
{
    const qint64 centre = qint64(parameter) + 24;
    const qint64 divisor = qint64(parameter) + 8;
    const int lanes[3] = {BlueLane, GreenLane, RedLane};
    for (int y = 1; y < s.height - 1; ++y) {
        const uchar *up = s.bytes(y - 1);
        uchar *cur = s.bytes(y);
        const uchar *down = s.bytes(y + 1);
        for (int x = 1; x < s.width - 1; ++x) {
            int values[3];
            for (int c = 0; c < 3; ++c) {
                const int i = 4 * x + lanes[c];
                const qint64 s8 = up[i - 4] + up[i] + up[i + 4] + cur[i - 4] + cur[i + 4] + down[i - 4] + down[i]
                    + down[i + 4];
                values[c] = divisor == 0 ? cur[i] : clampByte((cur[i] * centre - 2 * s8) / divisor);
            }
            for (int c = 0; c < 3; ++c)
                cur[4 * x + lanes[c]] = uchar(values[c]);
        }
        progress.rowDone(y);
    }
}

} // namespace

namespace {

// The rows of the table-driven sharpen. Offset is the narrowest type that holds every table
// index; 16 bits for the program's parameter, so the gathering pass works on 16-bit lanes.
template <typename Offset>
TUURBORD_VECTOR_CLONES void verscherpRows(const Surface &s, int centre, int top, const quint8 *table,
                                          Progress &progress)
{
    const int w = s.width;
    constexpr int Strip = 512; // pixels; the strip's offsets stay in the first-level cache
    std::vector<Offset> offsets(4 * Strip);
    for (int y = 1; y < s.height - 1; ++y) {
        const uchar *__restrict up = s.bytes(y - 1); // already sharpened
        uchar *cur = s.bytes(y);
        const uchar *__restrict down = s.bytes(y + 1);
        // Pointer-sized, so the scaled index needs no extension inside the chain.
        std::size_t blue = cur[BlueLane], green = cur[GreenLane], red = cur[RedLane];
        for (int x0 = 1; x0 < w - 1; x0 += Strip) {
            const int n = std::min(Strip, w - 1 - x0);
            const uchar *__restrict u = up + 4 * x0;
            const uchar *__restrict c = cur + 4 * x0;
            const uchar *__restrict d = down + 4 * x0;
            Offset *__restrict off = offsets.data();
            // top - (centre v - 2 (the seven neighbours but the left one)); never negative and
            // never above Offset's range, so wrapping arithmetic in Offset is exact.
            for (int k = 0; k < 4 * n; ++k) {
                const Offset rest = Offset(u[k - 4] + u[k] + u[k + 4] + c[k + 4] + d[k - 4] + d[k] + d[k + 4]);
                off[k] = Offset(Offset(top) + Offset(2 * rest) - Offset(Offset(centre) * c[k]));
            }
            uchar *out = cur + 4 * x0;
            for (int x = 0; x < n; ++x) {
                // Table base first, so the chain through the left neighbour is one load per colour.
                const quint8 *tb = table + off[4 * x + BlueLane];
                const quint8 *tg = table + off[4 * x + GreenLane];
                const quint8 *tr = table + off[4 * x + RedLane];
                blue = tb[2 * blue];
                green = tg[2 * green];
                red = tr[2 * red];
                out[4 * x + BlueLane] = uchar(blue);
                out[4 * x + GreenLane] = uchar(green);
                out[4 * x + RedLane] = uchar(red);
            }
        }
        progress.rowDone(y);
    }
}

} // namespace

void verscherp(const Surface &s, int parameter, Progress &progress)
{
    progress.start();
    if (!hasInterior(s)) {
        progress.finish();
        return;
    }
    // Each pixel reads its left neighbour's new value, so a row is a chain that cannot be
    // vectorised. Everything but that neighbour is gathered for the whole strip first; the
    // chain is then one table load per colour: the table maps (weighted sum - 2 * left) to
    // the clamped quotient, indexed so that the left neighbour enters as a plain scaled index.
    const qint64 centre = qint64(parameter) + 24;
    const qint64 divisor = qint64(parameter) + 8;
    const qint64 top = std::max<qint64>(0, 255 * centre);
    const qint64 bottom = std::min<qint64>(0, 255 * centre) - 2 * 8 * 255;
    const qint64 tableSize = top - bottom + 1;
    if (divisor <= 0 || tableSize > (qint64(1) << 22)) {
        verscherpPlain(s, parameter, progress);
        progress.finish();
        return;
    }
    std::vector<quint8> table(static_cast<std::size_t>(tableSize));
    for (qint64 j = 0; j < tableSize; ++j)
        table[std::size_t(j)] = quint8(clampByte((top - j) / divisor)); // C++ division truncates like div
    // The largest offset is top + 2 * 7 * 255; the chain adds at most 2 * 255 to it.
    if (top + 2 * 7 * 255 <= 0xffff)
        verscherpRows<quint16>(s, int(centre), int(top), table.data(), progress);
    else
        verscherpRows<quint32>(s, int(centre), int(top), table.data(), progress);
    progress.finish();
}

namespace {

inline quint64 load4(const quint16 *lanes)
{
    quint64 v;
    std::memcpy(&v, lanes, sizeof v);
    return v;
}

inline void store4(quint16 *lanes, quint64 v)
{
    std::memcpy(lanes, &v, sizeof v);
}

} // namespace

TUURBORD_VECTOR_CLONES void vervaag(const Surface &s, Progress &progress)
{
    progress.start();
    if (!hasInterior(s)) {
        progress.finish();
        return;
    }
    // Each pixel is (P + left) div 8, where P sums the seven neighbours other than the left one
    // and the left one is already blurred: a chain along the row. Two things shorten it:
    // - all four byte lanes of a pixel ride in one 64-bit word as 16-bit lanes (sums stay
    //   below 2^14, so no lane carries into the next), one chain instead of three;
    // - floor((P1 + floor((P0 + w) / 8)) / 8) = floor((8 P1 + P0 + w) / 64), so both pixels of
    //   a pair come straight from the pixel before the pair, halving the chain's length.
    // The fourth lane is computed along with the others and thrown away. The row goes in
    // strips so the strip's sums stay in the first-level cache between the passes.
    const int w = s.width;
    constexpr int Strip = 256; // pixels, even so a pair never straddles two strips
    std::vector<quint16> vertical(4 * Strip + 16), single(4 * Strip), pair(4 * Strip), blurred(4 * Strip);
    constexpr quint64 ByteInLane = 0x00ff00ff00ff00ffull;
    for (int y = 1; y < s.height - 1; ++y) {
        const uchar *__restrict up = s.bytes(y - 1); // already blurred
        const uchar *cur = s.bytes(y);
        const uchar *__restrict down = s.bytes(y + 1);
        quint32 *row = s.row(y);
        const quint16 first[4] = {cur[0], cur[1], cur[2], cur[3]};
        quint64 left = load4(first);
        for (int x0 = 1; x0 < w - 1; x0 += Strip) {
            const int n = std::min(Strip, w - 1 - x0);
            // Lane k of the strip is byte 4 x0 + k of the row; v[k + 8] is the column sum above
            // and below lane k, from two pixels to the left to one to the right.
            const uchar *__restrict u = up + 4 * x0;
            const uchar *__restrict c = cur + 4 * x0;
            const uchar *__restrict d = down + 4 * x0;
            quint16 *__restrict v = vertical.data();
            // The first strip has only pixel 0 on its left; the pair sums that would reach
            // further are those of the strip's first pixel, which the chain never uses.
            for (int k = x0 == 1 ? -4 : -8; k < 4 * n + 4; ++k)
                v[k + 8] = quint16(u[k] + d[k]);
            quint16 *__restrict p = single.data();
            quint16 *__restrict q = pair.data();
            const quint16 *__restrict vv = v + 8;
            for (int k = 0; k < 4 * n; ++k) {
                p[k] = quint16(vv[k - 4] + vv[k] + vv[k + 4] + c[k + 4]);
                // 8 P(k) + P(k - 4), written out so both come from the same loads.
                q[k] = quint16(9 * (vv[k - 4] + vv[k]) + 8 * (vv[k + 4] + c[k + 4]) + vv[k - 8] + c[k]);
            }

            quint16 *out = blurred.data();
            int x = 0;
            for (; x + 1 < n; x += 2) {
                const quint64 a = ((load4(p + 4 * x) + left) >> 3) & ByteInLane;
                const quint64 b = ((load4(q + 4 * (x + 1)) + left) >> 6) & ByteInLane;
                store4(out + 4 * x, a);
                store4(out + 4 * (x + 1), b);
                left = b;
            }
            if (x < n) {
                left = ((load4(p + 4 * x) + left) >> 3) & ByteInLane;
                store4(out + 4 * x, left);
            }

            quint32 *__restrict target = row + x0;
            const quint16 *__restrict result = blurred.data();
            for (int i = 0; i < n; ++i) {
                const quint32 colour = quint32(result[4 * i + BlueLane]) | (quint32(result[4 * i + GreenLane]) << 8)
                    | (quint32(result[4 * i + RedLane]) << 16);
                target[i] = (target[i] & FourthBits) | colour;
            }
        }
        progress.rowDone(y);
    }
    progress.finish();
}

TUURBORD_VECTOR_CLONES void relief(const Surface &s, Progress &progress)
{
    progress.start();
    if (!hasInterior(s)) {
        progress.finish();
        return;
    }
    // Relief reads the picture as it was. The rows below the current one are still untouched
    // and the first row is never written, so two saved rows are all the source it needs:
    // the old copy of the row above and of the row being rewritten.
    const int w = s.width;
    std::vector<quint32> ringA(static_cast<std::size_t>(w)), ringB(static_cast<std::size_t>(w));
    quint32 *savedAbove = nullptr;
    quint32 *saved = ringA.data();
    quint32 *spare = ringB.data();
    for (int y = 1; y < s.height - 1; ++y) {
        std::memcpy(saved, s.row(y), std::size_t(w) * 4);
        const uchar *__restrict up = savedAbove ? reinterpret_cast<const uchar *>(savedAbove) : s.bytes(0);
        const uchar *__restrict cur = reinterpret_cast<const uchar *>(saved);
        const uchar *__restrict down = s.bytes(y + 1);
        uchar *__restrict out = s.bytes(y);
        for (int i = 4; i < 4 * (w - 1); ++i) {
            const int t = cur[i] + 2 * up[i - 4] + cur[i - 4] + up[i] - down[i] - cur[i + 4] - 2 * down[i + 4];
            const int v = t / 2 + 50;
            out[i] = uchar(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
        keepFourth(s.row(y), saved, 1, w - 1);
        savedAbove = saved;
        std::swap(saved, spare);
        progress.rowDone(y);
    }
    progress.finish();
}

namespace {

// Sum is wide enough for a column of one band: 16 bits for blocks up to 257 rows.
template <typename Sum>
TUURBORD_VECTOR_CLONES void pixeleerBands(const Surface &s, int n, Progress &progress)
{
    const int w = s.width;
    const int h = s.height;
    const qint64 fullArea = qint64(n) * n;
    std::vector<quint8> quotient;
    if (255 * fullArea < (qint64(1) << 20)) {
        quotient.resize(std::size_t(255 * fullArea + 1));
        for (std::size_t v = 0; v < quotient.size(); ++v)
            quotient[v] = quint8(qint64(v) / fullArea);
    }
    std::vector<Sum> columns(std::size_t(4) * w);
    std::vector<quint32> means(static_cast<std::size_t>(w));
    for (int by = 0; by < h; by += n) {
        const int bandRows = std::min(n, h - by);
        {
            const uchar *__restrict src = s.bytes(by);
            Sum *__restrict col = columns.data();
            for (int i = 0; i < 4 * w; ++i)
                col[i] = src[i];
        }
        for (int y = by + 1; y < by + bandRows; ++y) {
            const uchar *__restrict src = s.bytes(y);
            Sum *__restrict col = columns.data();
            for (int i = 0; i < 4 * w; ++i)
                col[i] = Sum(col[i] + src[i]);
        }
        for (int bx = 0; bx < w; bx += n) {
            const int bandCols = std::min(n, w - bx);
            quint32 blue = 0, green = 0, red = 0;
            for (int x = bx; x < bx + bandCols; ++x) {
                blue += columns[4 * x + BlueLane];
                green += columns[4 * x + GreenLane];
                red += columns[4 * x + RedLane];
            }
            const qint64 k = qint64(bandCols) * bandRows;
            if (k == fullArea && !quotient.empty()) {
                blue = quotient[blue];
                green = quotient[green];
                red = quotient[red];
            } else {
                blue = quint32(blue / k);
                green = quint32(green / k);
                red = quint32(red / k);
            }
            std::fill_n(means.begin() + bx, bandCols, blue | (green << 8) | (red << 16));
        }
        const quint32 *__restrict mean = means.data();
        for (int y = by; y < by + bandRows; ++y) {
            quint32 *__restrict row = s.row(y);
            for (int x = 0; x < w; ++x)
                row[x] = (row[x] & FourthBits) | mean[x];
            progress.rowDone(y);
        }
    }
}

} // namespace

void pixeleer(const Surface &s, int parameter, Progress &progress)
{
    progress.start();
    const int w = s.width;
    const int h = s.height;
    // A block as large as the picture already covers all of it; a larger n changes nothing.
    const int n = std::min(parameter, std::max(w, h));
    if (n <= 1) {
        // Blocks of one pixel (or a parameter the rule has no meaning for) leave the picture.
        for (int y = 0; y < h; ++y)
            progress.rowDone(y);
        progress.finish();
        return;
    }
    // Each block band is summed once while all its rows are still untouched (the rows below
    // the current one always are), then every row of the band gets the same means: the
    // untouched source needs no copy at all.
    if (255 * n <= 0xffff)
        pixeleerBands<quint16>(s, n, progress);
    else
        pixeleerBands<quint32>(s, n, progress);
    progress.finish();
}

TUURBORD_VECTOR_CLONES void verstrooi(const Surface &s, int parameter, Random &random, Progress &progress)
{
    progress.start();
    const int w = s.width;
    const int h = s.height;
    const double p = parameter;
    const double half = roundHalfEven(p / 2.0);
    // r lies in [0, 1), so every displacement lies between these two.
    const int reachLow = int(std::min(roundHalfEven(-half), roundHalfEven(p - half)));
    const int reachHigh = int(std::max(roundHalfEven(-half), roundHalfEven(p - half)));

    RandomBatch batch(random);
    std::vector<quint32> words(std::size_t(4) * std::max(w, 1));
    std::vector<int> dxs(std::size_t(std::max(w, 1)));
    std::vector<int> dys(std::size_t(std::max(w, 1)));
    const qsizetype strideWords = s.stride / 4;
    // Columns whose every displacement stays inside the picture.
    const int safeLeft = std::clamp(-reachLow, 0, w);
    const int safeRight = std::clamp(w - reachHigh, safeLeft, w);

    for (int y = 0; y < h; ++y) {
        batch.words(words.data(), std::size_t(4) * w);
        {
            const quint32 *__restrict wd = words.data();
            int *__restrict dx = dxs.data();
            int *__restrict dy = dys.data();
            for (int x = 0; x < w; ++x) {
                const double r1 = RandomBatch::toUnit(wd[4 * x], wd[4 * x + 1]);
                const double r2 = RandomBatch::toUnit(wd[4 * x + 2], wd[4 * x + 3]);
                dx[x] = int(roundHalfEvenFast(r1 * p - half));
                dy[x] = int(roundHalfEvenFast(r2 * p - half));
            }
        }
        quint32 *row = s.row(y);
        const int *dx = dxs.data();
        const int *dy = dys.data();
        const auto borderPixel = [&](int x) {
            const int tx = (x + dx[x] < 0 || x + dx[x] >= w) ? 0 : dx[x];
            const int ty = (y + dy[x] < 0 || y + dy[x] >= h) ? 0 : dy[x];
            const quint32 from = row[ty * strideWords + x + tx];
            row[x] = (row[x] & FourthBits) | (from & ColourBits);
        };
        if (y + reachLow >= 0 && y + reachHigh < h) {
            for (int x = 0; x < safeLeft; ++x)
                borderPixel(x);
            for (int x = safeLeft; x < safeRight; ++x) {
                // Reads the surface itself: a source earlier in the scan already holds its new value.
                const quint32 from = row[dy[x] * strideWords + x + dx[x]];
                row[x] = (row[x] & FourthBits) | (from & ColourBits);
            }
            for (int x = safeRight; x < w; ++x)
                borderPixel(x);
        } else {
            for (int x = 0; x < w; ++x)
                borderPixel(x);
        }
        progress.rowDone(y);
    }
    batch.finish();
    progress.finish();
}

TUURBORD_VECTOR_CLONES void spiegelHorizontaal(const Surface &s)
{
    for (int y = 0; y < s.height; ++y) {
        quint32 *row = s.row(y);
        std::reverse(row, row + s.width);
    }
}

TUURBORD_VECTOR_CLONES void flipVertikaal(const Surface &s)
{
    for (int y = 0; y < s.height / 2; ++y)
        std::swap_ranges(s.row(y), s.row(y) + s.width, s.row(s.height - 1 - y));
}

} // namespace FilterKernels
