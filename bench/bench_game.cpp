// Real pauses and file sizes: how long a board and an opening take on the clock, how much CPU
// they burn meanwhile, and how long the score list takes to read and write.
#include "app/Main.h"
#include "core/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "scores/ScoreForm.h"
#include "core/ScoreList.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Photo.h"
#include "testing/Fakes.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {
double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

struct Game
{
    Game()
    {
        QDir(dir.path()).mkpath(QStringLiteral("plaatjes/gebruiksvoorwerpen"));
        QImage picture(354, 254, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(dir.filePath(QStringLiteral("plaatjes/gebruiksvoorwerpen/bal.bmp")));
        window.Form_Load();
        window.show();
    }
    QTemporaryDir dir;
    ProgramState state{dir.path()};
    RecordingSound sound;
    EventLoopWaiter waiter;
    ScriptedDialogs dialogs;
    Random random;
    RecordingPrinter printer;
    Services services{sound, waiter, dialogs, random, printer};
    Main window{state, services};
};

// Reports the CPU share of the wall time: near 0 means the waits sleep.
void reportCpu(benchmark::State &st, double cpu, double wall)
{
    st.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
}
}

static void BM_BoardLayout(benchmark::State &st)
{
    Game game;
    double cpu = 0, wall = 0;
    for (auto _ : st) {
        const double c0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        game.window.NieuwSpel();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += processCpuSeconds() - c0;
    }
    reportCpu(st, cpu, wall);
}
BENCHMARK(BM_BoardLayout)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

static void BM_OpenBox(benchmark::State &st)
{
    Game game;
    game.window.NieuwSpel();
    double cpu = 0, wall = 0;
    for (auto _ : st) {
        if (game.state.AantalOpen == 35) {
            st.PauseTiming();
            game.window.NieuwSpel();
            st.ResumeTiming();
        }
        const double c0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        game.window.OpenVakje();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += processCpuSeconds() - c0;
    }
    reportCpu(st, cpu, wall);
}
BENCHMARK(BM_OpenBox)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

static void BM_ScoreListReadWrite(benchmark::State &st)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vudoduzov.lst"));
    {
        ScoreList list;
        Random random(1);
        for (int i = 0; i < st.range(0); ++i)
            list.insert(QStringLiteral("%1 - speler nummer %2").arg(random.below(100000), 5, 10, QLatin1Char('0')).arg(i));
        list.saveFile(path);
    }
    for (auto _ : st) {
        ScoreList list;
        list.loadFile(path);
        list.saveFile(path);
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_ScoreListReadWrite)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A hand-edited list with long runs of empty lines: reading must stay linear in the file.
static void BM_ScoreListEmptyLines(benchmark::State &st)
{
    const QByteArray run = QByteArray("\"00042 - jan\"\r\n") + QByteArray("\r\n").repeated(int(st.range(0)) / 100);
    const QByteArray bytes = run.repeated(100);
    for (auto _ : st) {
        ScoreList list;
        list.load(bytes);
        benchmark::DoNotOptimize(list.count());
    }
    st.SetComplexityN(st.range(0));
}
BENCHMARK(BM_ScoreListEmptyLines)->Arg(20000)->Arg(160000)->Unit(benchmark::kMillisecond)->Complexity();

static void BM_ScoreWindowOpen10000(benchmark::State &st)
{
    Game game;
    Random random(2);
    for (int i = 0; i < 10000; ++i)
        game.state.Scorelijst.insert(
            QStringLiteral("%1 - speler nummer %2").arg(random.below(100000), 5, 10, QLatin1Char('0')).arg(i));
    for (auto _ : st) {
        ScoreForm window(game.state, game.services, &game.window);
        window.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ScoreWindowOpen10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
