#include "import/Filters.h"

#include "import/FilterKernels.h"
#include "import/ImportRules.h"

namespace {

// The rules work on 32-bit blue, green, red, channel 4 words; anything else is brought there.
bool makeFilterable(QImage &surface)
{
    if (surface.isNull())
        return false;
    surface = ImportRules::asWords(surface);
    return true;
}

FilterKernels::Surface surfaceOf(QImage &image)
{
    FilterKernels::Surface s;
    s.bits = image.bits(); // detaches first, so nobody else's copy changes
    s.stride = image.bytesPerLine();
    s.width = image.width();
    s.height = image.height();
    return s;
}

} // namespace

Filters::Filters(Random &random) : m_random(random) {}

const std::array<Filters::Optie, 11> &Filters::opties()
{
    static const std::array<Optie, 11> table{{
        {1, "Grijswaarden", Actie::Filter, Grijswaarden, 0},
        {2, "Negatief", Actie::Filter, Negatief, 0},
        {3, "Lichter", Actie::Filter, Helderheid, 8},
        {4, "Donkerder", Actie::Filter, Helderheid, -8},
        {5, "Scherper", Actie::Filter, Verscherp, 5},
        {6, "Spiegelbeeld", Actie::Spiegel, 0, 0},
        {7, "Flip Vertikaal", Actie::Flip, 0, 0},
        {8, "Defuse", Actie::Filter, Verstrooi, 6},
        {9, "Reli\u00ebf", Actie::Filter, Relief, 0},
        {10, "Pixellize", Actie::Filter, Pixeleer, 3},
        {11, "Blur", Actie::Filter, Vervaag, 0},
    }};
    return table;
}

void Filters::setEventPump(EventPump pump, std::chrono::milliseconds interval)
{
    m_pump = std::move(pump);
    m_interval = interval;
}

void Filters::PasFilterToe(int filterNummer, QImage &bitmap, int parameter)
{
    if (m_filterBezig)
        return;
    m_filterBezig = true;
    struct Clear {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{m_filterBezig};

    FilterKernels::Surface s;
    QImage keepAlive;
    if (makeFilterable(bitmap)) {
        s = surfaceOf(bitmap);
        // The pump may let the window replace its picture; the pixels being written must
        // outlive that. The window's own image still shares them, so it sees the result.
        keepAlive = bitmap;
    }
    const EventPump *pump = m_pump ? &m_pump : nullptr;
    FilterKernels::Progress progress(m_voortgang, s.height, pump, m_interval);
    switch (filterNummer) {
    case Verscherp:
        FilterKernels::verscherp(s, parameter, progress);
        break;
    case Negatief:
        FilterKernels::negatief(s, progress);
        break;
    case Vervaag:
        FilterKernels::vervaag(s, progress);
        break;
    case Verstrooi:
        FilterKernels::verstrooi(s, parameter, m_random, progress);
        break;
    case Grijswaarden:
        FilterKernels::grijswaarden(s, progress);
        break;
    case Relief:
        FilterKernels::relief(s, progress);
        break;
    case Helderheid:
        FilterKernels::helderheid(s, parameter, progress);
        break;
    case Pixeleer:
        FilterKernels::pixeleer(s, parameter, progress);
        break;
    }
}

void Filters::SpiegelHorizontaal(QImage &surface)
{
    if (m_filterBezig || !makeFilterable(surface))
        return;
    FilterKernels::spiegelHorizontaal(surfaceOf(surface));
}

void Filters::FlipVertikaal(QImage &surface)
{
    if (m_filterBezig || !makeFilterable(surface))
        return;
    FilterKernels::flipVertikaal(surfaceOf(surface));
}

bool Filters::pasOptieToe(int index, QImage &surface)
{
    for (const Optie &optie : opties()) {
        if (optie.index != index)
            continue;
        switch (optie.actie) {
        case Actie::Filter:
            PasFilterToe(optie.filterNummer, surface, optie.parameter);
            break;
        case Actie::Spiegel:
            SpiegelHorizontaal(surface);
            break;
        case Actie::Flip:
            FlipVertikaal(surface);
            break;
        }
        return true;
    }
    return false;
}
