#pragma once

#include <QImage>

#include <array>
#include <chrono>
#include <functional>

class Random;

// Module `Filters`: the filter engine of the import window and its eleven picture filters.
//
// The work surface is a QImage filtered in place. Its pixels are 32-bit words 0xAARRGGBB
// (Format_RGB32 or Format_ARGB32): blue is bits 0-7 (channel 1), green 8-15 (channel 2),
// red 16-23 (channel 3) and bits 24-31 are channel 4, which no filter changes. On a
// little-endian machine that is also the byte order blue, green, red, channel 4 in memory.
// A surface in any other format is converted to one of these two first (ARGB32 when it has
// an alpha channel), because the rules are defined on those bytes.
//
// One instance holds the module state for the whole program (`FilterBezig`, `Voortgang`) and
// is used from the user-interface thread only.
class Filters
{
public:
    enum FilterNummer : int {
        Verscherp = 1,
        Negatief = 2,
        Vervaag = 3,
        Verstrooi = 4,
        Grijswaarden = 12,
        Relief = 13,
        Helderheid = 14,
        Pixeleer = 15,
    };

    // What an option of the import window's `OptionFilter` group does.
    enum class Actie { Filter, Spiegel, Flip };
    struct Optie {
        int index; // `OptionFilter` index, 1..11
        const char *caption; // UTF-8
        Actie actie;
        int filterNummer; // for Actie::Filter
        int parameter;
    };
    static const std::array<Optie, 11> &opties();

    // Runs while a filter works, with the current `Voortgang`: the import window shows it in
    // its progress bar and lets pending window events run (QCoreApplication::processEvents).
    // A pump may start another filter, mirror or flip; those return at once while one runs.
    using EventPump = std::function<void(int voortgang)>;

    // The diffuse filter draws from `random`, the program's shared generator.
    explicit Filters(Random &random);

    // The pump runs at most once per `interval` (measured from the end of its previous run)
    // and always once at the end of a filter, when `Voortgang` is 100.
    void setEventPump(EventPump pump, std::chrono::milliseconds interval = std::chrono::milliseconds(25));

    bool FilterBezig() const { return m_filterBezig; }
    int Voortgang() const { return m_voortgang; }

    // Runs filter `filterNummer` (one of FilterNummer) with `parameter` on the surface. Does
    // nothing at all while another filter runs.
    void PasFilterToe(int filterNummer, QImage &bitmap, int parameter);

    // Left-right mirror and upside-down flip of the whole surface, all four channels. They
    // report no progress and never set `FilterBezig`. While a filter runs they do nothing:
    // the running filter would write its own result over the surface anyway.
    void SpiegelHorizontaal(QImage &surface);
    void FlipVertikaal(QImage &surface);

    // What choosing option `index` (1..11) does to the surface; false for an unknown index.
    bool pasOptieToe(int index, QImage &surface);

private:
    Random &m_random;
    EventPump m_pump;
    std::chrono::milliseconds m_interval{25};
    bool m_filterBezig = false;
    int m_voortgang = 0;
};
