// Real pauses and file sizes: how long a board and an opening take on the clock, in the ordinary
// window and on the digibord, how much CPU they burn meanwhile and the longest a frame took to
// draw; how long switching to the digibord and back takes; how long the score list takes to read
// and write. Run it on the X server of a board: xvfb-run -s "-screen 0 3840x2160x24" bench_game
#include "app/Digibord.h"
#include "app/Main.h"
#include "core/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Random.h"
#include "platform/Scale.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "scores/ScoreForm.h"
#include "core/ScoreList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "Photo.h"
#include "testing/Fakes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace {
// The application, timing how long each window takes to draw a frame.
class FrameTimer : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest)
            return QApplication::notify(receiver, event);
        const auto t0 = std::chrono::steady_clock::now();
        const bool done = QApplication::notify(receiver, event);
        longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        ++frames;
        return done;
    }
    double longest = 0; // ms
    int frames = 0;
};

FrameTimer &app()
{
    return *static_cast<FrameTimer *>(QCoreApplication::instance());
}

// Lets the windows draw until the next frame is drawn (or a second has gone by).
void drawn()
{
    const int frames = app().frames;
    QElapsedTimer clock;
    clock.start();
    while (app().frames == frames && clock.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

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
        photo(354, 254).save(dir.filePath(QStringLiteral("plaatjes/gebruiksvoorwerpen/bal.jpg")));
        window.Form_Load();
        window.show();
        drawn();
    }
    // The digibord view, on for the rest of the benchmark.
    void onTheBoard(benchmark::State &st)
    {
        board->setOn(true);
        drawn();
        st.counters["scale"] = Scale::factor();
    }
    ~Game() { board->setOn(false); }
    QTemporaryDir dir;
    ProgramState state{dir.path()};
    RecordingSound sound;
    EventLoopWaiter waiter;
    ScriptedDialogs dialogs;
    Random random;
    RecordingPrinter printer;
    Services services{sound, waiter, dialogs, random, printer};
    Main window{state, services};
    Digibord *board = new Digibord(window, dir.filePath(QStringLiteral("weergave")));
};

// Reports the CPU share of the wall time (near 0 means the waits sleep) and the longest frame.
void reportCpu(benchmark::State &st, double cpu, double wall, double longest)
{
    st.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    st.counters["longest_frame_ms"] = longest;
}
}

// Argument 1: on the digibord. 35 pauses of 0.05 s make 1.75 s.
static void BM_BoardLayout(benchmark::State &st)
{
    Game game;
    if (st.range(0))
        game.onTheBoard(st);
    app().longest = 0;
    double cpu = 0, wall = 0;
    for (auto _ : st) {
        const double c0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        game.window.NieuwSpel();
        drawn(); // the picture under the boxes
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += processCpuSeconds() - c0;
    }
    reportCpu(st, cpu, wall, app().longest);
}
BENCHMARK(BM_BoardLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Six blinks of 0.1 s and thirteen steps of 0.01 s make 0.73 s.
static void BM_OpenBox(benchmark::State &st)
{
    Game game;
    if (st.range(0))
        game.onTheBoard(st);
    double cpu = 0, wall = 0, longest = 0;
    for (auto _ : st) {
        if (game.state.AantalOpen % 35 == 0) {
            st.PauseTiming();
            game.window.NieuwSpel();
            drawn();
            st.ResumeTiming();
        }
        app().longest = 0;
        const double c0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        game.window.OpenVakje();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += processCpuSeconds() - c0;
        longest = std::max(longest, app().longest);
    }
    reportCpu(st, cpu, wall, longest);
}
BENCHMARK(BM_OpenBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// F11: the view switched and the main window drawn in it, alternately to the digibord and back,
// in the middle of a game. The first switch of the process, with nothing drawn at the scale yet,
// is reported on its own.
static void BM_SwitchView(benchmark::State &st)
{
    Game game;
    game.window.NieuwSpel();
    static double first = 0;
    if (first == 0) {
        const auto t0 = std::chrono::steady_clock::now();
        game.board->setOn(true);
        drawn();
        first = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        game.board->setOn(false);
        drawn();
    }
    for (auto _ : st) {
        game.board->setOn(!game.board->isOn());
        drawn();
    }
    st.counters["first_ms"] = first;
}
BENCHMARK(BM_SwitchView)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

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
    FrameTimer app(argc, argv);
    QApplication::setStyle(Scale::createStyle());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
