// The import window on large photos: a file click beside libjpeg-turbo's own djpeg on the same
// file, the game's picture of a 24- and a 200-megapixel photo, a preview redraw, a filter through
// the window beside the bare engine, the save and its animation. Peak memory while filtering a
// 200-megapixel photo: run BM_PeakMemoryFilter200MP on its own (--benchmark_filter=PeakMemory),
// since the high-water mark is the process's.
#include "core/ProgramState.h"
#include "import/Fileform.h"
#include "import/Filters.h"
#include "import/ImportRules.h"
#include "platform/Dialogs.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "Photo.h"
#include "testing/Fakes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {
struct Window
{
    explicit Window(bool realWaits = false)
    {
        QDir(dir.path()).mkpath(QStringLiteral("plaatjes/dieren"));
        state.Onderwerp = QStringLiteral("dieren");
        QDir::setCurrent(dir.path());
        form = std::make_unique<Fileform>(state, realWaits ? services : quick);
    }
    void file(const QString &name, const QImage &image) const { image.save(dir.filePath(name), nullptr, 90); }
    QTemporaryDir dir;
    ProgramState state{dir.path()};
    RecordingSound sound;
    EventLoopWaiter waiter;
    InstantWaiter noWait;
    ScriptedDialogs dialogs;
    Random random{3};
    RecordingPrinter printer;
    Services services{sound, waiter, dialogs, random, printer};
    Services quick{sound, noWait, dialogs, random, printer};
    std::unique_ptr<Fileform> form;
};

}

// 6000 x 4000: libjpeg-turbo's own djpeg on the same file, and the click that loads it.
static void BM_Djpeg24MP(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("foto.jpg"), photo(6000, 4000));
    for (auto _ : st) {
        QProcess djpeg;
        djpeg.start(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), w.dir.filePath(QStringLiteral("foto.jpg"))});
        if (!djpeg.waitForFinished() || djpeg.exitCode() != 0) {
            st.SkipWithError("djpeg (libjpeg-turbo-progs) did not run");
            return;
        }
    }
}
BENCHMARK(BM_Djpeg24MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

static void BM_FileClick24MP(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("foto.jpg"), photo(6000, 4000));
    w.form->openFolder(w.dir.path());
    for (auto _ : st)
        w.form->File1_Click(QStringLiteral("foto.jpg"));
}
BENCHMARK(BM_FileClick24MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// The game's picture (its top-left 354 x 254) of a 24- and a 200-megapixel photo.
static void BM_GamePicture(benchmark::State &st)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("foto.jpg"));
    const int w = int(st.range(0));
    photo(w, w * 3 / 4).save(file, "JPEG", 90);
    const double before = megabytes("VmRSS:");
    resetPeak();
    for (auto _ : st)
        benchmark::DoNotOptimize(Pictures::region(file));
    st.counters["MB_peak_added"] = megabytes("VmHWM:") - before;
}
BENCHMARK(BM_GamePicture)->Arg(5657)->Arg(16330)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

static void BM_FileClickGamePicture(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("klein.jpg"), photo(354, 254));
    w.form->openFolder(w.dir.path());
    for (auto _ : st)
        w.form->File1_Click(QStringLiteral("klein.jpg"));
}
BENCHMARK(BM_FileClickGamePicture)->Unit(benchmark::kMillisecond);

static void BM_PreviewRedraw24MP(benchmark::State &st)
{
    const QImage surface = photo(6000, 4000);
    int br = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(ImportRules::preview(surface, br, br * 2 / 3));
        br = (br + 997) % 5602;
    }
}
BENCHMARK(BM_PreviewRedraw24MP)->Unit(benchmark::kMicrosecond);

// A scroll bar moved in the window: the redraw and putting it on the screen.
static void BM_ScrollInWindow24MP(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("foto.png"), photo(6000, 4000));
    w.form->openFolder(w.dir.path());
    w.form->File1_Click(QStringLiteral("foto.png"));
    auto *bar = w.form->findChild<QScrollBar *>(QStringLiteral("Brscroll"));
    int value = 1;
    for (auto _ : st) {
        bar->setValue(value);
        value = (value + 997) % bar->maximum();
    }
}
BENCHMARK(BM_ScrollInWindow24MP)->Unit(benchmark::kMicrosecond);

// Grey (option 1) and blur (option 11) on 4000 x 3000: through the window, and bare.
static void BM_FilterInWindow12MP(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("foto.png"), photo(4000, 3000));
    w.form->openFolder(w.dir.path());
    w.form->File1_Click(QStringLiteral("foto.png"));
    for (auto _ : st)
        w.form->OptionFilter_Click(int(st.range(0)));
}
BENCHMARK(BM_FilterInWindow12MP)->Arg(1)->Arg(11)->Unit(benchmark::kMillisecond)->Iterations(10);

static void BM_FilterBare12MP(benchmark::State &st)
{
    QImage surface = photo(4000, 3000);
    Random random(3);
    Filters filters(random);
    filters.setEventPump([](int) { QCoreApplication::processEvents(); });
    for (auto _ : st)
        filters.pasOptieToe(int(st.range(0)), surface);
}
BENCHMARK(BM_FilterBare12MP)->Arg(1)->Arg(11)->Unit(benchmark::kMillisecond)->Iterations(10);

// Blur on a 200-megapixel photo through the window: what the loaded picture takes, and the peak.
static void BM_PeakMemoryFilter200MP(benchmark::State &st)
{
    Window w;
    w.file(QStringLiteral("foto.jpg"), photo(16330, 12247));
    w.form->openFolder(w.dir.path());
    const double before = megabytes("VmRSS:");
    resetPeak();
    for (auto _ : st) {
        w.form->File1_Click(QStringLiteral("foto.jpg"));
        const double loaded = megabytes("VmRSS:");
        w.form->OptionFilter_Click(11);
        st.counters["loaded_MB"] = loaded - before;
        st.counters["peak_MB"] = megabytes("VmHWM:") - before;
        st.counters["after_MB"] = megabytes("VmRSS:") - before;
    }
}
BENCHMARK(BM_PeakMemoryFilter200MP)->Unit(benchmark::kMillisecond)->Iterations(1);

// "Macro opname" with the real animation: 107 pauses of 10 ms, then the JPEG.
static void BM_SaveWithAnimation(benchmark::State &st)
{
    Window w(true);
    w.file(QStringLiteral("foto.png"), photo(800, 600));
    w.form->openFolder(w.dir.path());
    w.form->File1_Click(QStringLiteral("foto.png"));
    w.form->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("koe"));
    for (auto _ : st)
        w.form->Save_Click(false);
}
BENCHMARK(BM_SaveWithAnimation)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

static void BM_JpegWrite(benchmark::State &st)
{
    QTemporaryDir dir;
    const QImage picture = photo(354, 254);
    for (auto _ : st)
        benchmark::DoNotOptimize(Pictures::saveJpeg(picture, dir.filePath(QStringLiteral("koe.jpg")), 75));
}
BENCHMARK(BM_JpegWrite)->Unit(benchmark::kMillisecond);

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
