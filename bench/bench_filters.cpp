// The filters on a 12 megapixel photo (4000 x 3000, random content): each kernel alone, and
// the whole engine path with progress and an event pump, to see what the window costs.
#include "import/FilterKernels.h"
#include "import/Filters.h"
#include "platform/Random.h"

#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

QImage &photo()
{
    static QImage image = [] {
        QImage result(Width, Height, QImage::Format_RGB32);
        std::mt19937 gen(42);
        for (int y = 0; y < Height; ++y) {
            auto *row = reinterpret_cast<quint32 *>(result.scanLine(y));
            for (int x = 0; x < Width; ++x)
                row[x] = quint32(gen()) | 0xff000000u;
        }
        return result;
    }();
    return image;
}

FilterKernels::Surface surface(QImage &image)
{
    return {image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

enum Which { Negatief, Grijswaarden, Lichter, Donkerder, Verscherp, Vervaag, Relief, Pixeleer, Verstrooi, Spiegel, Flip };

void kernel(benchmark::State &state, Which which)
{
    QImage image = photo().copy();
    const FilterKernels::Surface s = surface(image);
    Random random(1);
    int voortgang = 0;
    for (auto _ : state) {
        FilterKernels::Progress progress(voortgang, s.height);
        switch (which) {
        case Negatief: FilterKernels::negatief(s, progress); break;
        case Grijswaarden: FilterKernels::grijswaarden(s, progress); break;
        case Lichter: FilterKernels::helderheid(s, 8, progress); break;
        case Donkerder: FilterKernels::helderheid(s, -8, progress); break;
        case Verscherp: FilterKernels::verscherp(s, 5, progress); break;
        case Vervaag: FilterKernels::vervaag(s, progress); break;
        case Relief: FilterKernels::relief(s, progress); break;
        case Pixeleer: FilterKernels::pixeleer(s, 3, progress); break;
        case Verstrooi: FilterKernels::verstrooi(s, 6, random, progress); break;
        case Spiegel: FilterKernels::spiegelHorizontaal(s); break;
        case Flip: FilterKernels::flipVertikaal(s); break;
        }
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * qint64(Width) * Height);
}

// The import window's way: option index through the engine, with a pump that does what the
// window's does (set a value, let pending events run).
void engine(benchmark::State &state, int optie)
{
    QImage image = photo().copy();
    Random random(1);
    Filters filters(random);
    int shown = 0;
    qint64 pumps = 0;
    filters.setEventPump([&](int v) {
        shown = v;
        ++pumps;
        QCoreApplication::processEvents();
    });
    for (auto _ : state) {
        filters.pasOptieToe(optie, image);
        benchmark::DoNotOptimize(shown);
        benchmark::ClobberMemory();
    }
    state.counters["pumps/run"] = double(pumps) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * qint64(Width) * Height);
}

#define KERNEL(name) BENCHMARK_CAPTURE(kernel, name, name)->Unit(benchmark::kMillisecond)->UseRealTime()
#define ENGINE(name, index) BENCHMARK_CAPTURE(engine, name, index)->Unit(benchmark::kMillisecond)->UseRealTime()

KERNEL(Negatief);
KERNEL(Grijswaarden);
KERNEL(Lichter);
KERNEL(Donkerder);
KERNEL(Verscherp);
KERNEL(Vervaag);
KERNEL(Relief);
KERNEL(Pixeleer);
KERNEL(Verstrooi);
KERNEL(Spiegel);
KERNEL(Flip);

ENGINE(Grijswaarden, 1);
ENGINE(Negatief, 2);
ENGINE(Lichter, 3);
ENGINE(Donkerder, 4);
ENGINE(Verscherp, 5);
ENGINE(Spiegel, 6);
ENGINE(Flip, 7);
ENGINE(Verstrooi, 8);
ENGINE(Relief, 9);
ENGINE(Pixeleer, 10);
ENGINE(Vervaag, 11);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
