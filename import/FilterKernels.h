#pragma once

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <functional>

class Random;

// Kernels that pay for wider vectors get an AVX2 version next to the baseline one; the
// loader picks one when the program starts, so the build itself stays portable.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define TUURBORD_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TUURBORD_VECTOR_CLONES
#endif

// The pixel work of the filters, on a 32-bit surface that is filtered in place.
//
// A pixel is one 32-bit word: bits 0-7 blue, 8-15 green, 16-23 red, 24-31 the fourth
// channel (alpha in ARGB32, always 0xff in RGB32). That is QImage's QRgb layout for
// Format_RGB32 and Format_ARGB32, and on a little-endian machine the bytes in memory are
// blue, green, red, fourth: the layout of the original 32-bit device-independent bitmap.
// Coordinates here are 0-based; the rules count from 1, so rule row y is row y - 1 here.
namespace FilterKernels {

struct Surface {
    uchar *bits = nullptr;
    qsizetype stride = 0; // bytes from one row to the next
    int width = 0;
    int height = 0;

    quint32 *row(int y) const { return reinterpret_cast<quint32 *>(bits + y * stride); }
    uchar *bytes(int y) const { return bits + y * stride; }
};

// The shared frame's progress: after each row the percentage goes into `voortgang`, and now
// and then the pump runs so the window can show it and handle its events. Calling the pump
// after every row would cost far more than the filtering on a large photo, so it runs only
// when `interval` has passed since the last time, and once more at the end.
class Progress
{
public:
    using Clock = std::chrono::steady_clock;
    using Pump = std::function<void(int voortgang)>;

    Progress(int &voortgang, int height, const Pump *pump = nullptr,
             Clock::duration interval = std::chrono::milliseconds(25))
        : m_voortgang(voortgang), m_height(height), m_pump(pump && *pump ? pump : nullptr),
          m_interval(interval), m_next(m_pump ? Clock::now() + interval : Clock::time_point{})
    {
    }

    void start() { m_voortgang = 0; }

    // y is the 0-based row just finished.
    void rowDone(int y)
    {
        m_voortgang = int(qint64(100) * (y + 1) / m_height);
        if (m_pump && Clock::now() >= m_next)
            pump();
    }

    void finish()
    {
        m_voortgang = 100;
        if (m_pump)
            (*m_pump)(m_voortgang);
    }

private:
    void pump();

    int &m_voortgang;
    int m_height;
    const Pump *m_pump;
    Clock::duration m_interval;
    Clock::time_point m_next;
};

// Each kernel runs the whole frame: start(), its rows with rowDone(), finish().
void negatief(const Surface &s, Progress &progress);
void grijswaarden(const Surface &s, Progress &progress);
void helderheid(const Surface &s, int parameter, Progress &progress);
void verscherp(const Surface &s, int parameter, Progress &progress);
void vervaag(const Surface &s, Progress &progress);
void relief(const Surface &s, Progress &progress);
void pixeleer(const Surface &s, int parameter, Progress &progress);
void verstrooi(const Surface &s, int parameter, Random &random, Progress &progress);

// Mirror and flip move whole pixels, the fourth channel included, and report nothing.
void spiegelHorizontaal(const Surface &s);
void flipVertikaal(const Surface &s);

// The brightness table: 256 entries, exposed for the tests of its rounding.
void helderheidTabel(int parameter, quint8 *table);

// Nearest integer, halves to the even neighbour, independent of the FPU rounding mode.


}
