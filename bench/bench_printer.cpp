// How long the printouts take to reach paper, laid out and replayed into a PDF file (the same
// painting a real printer gets), and how large that file is: a score list of 10,000 lines, contact
// sheets of 40 and 200 game pictures and of 40 camera photos, a sheet of stamps, a calendar; and
// the scan animation.
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "core/Artwork.h"
#include "platform/Pictures.h"
#include "platform/QtPrinter.h"
#include "platform/Waiter.h"
#include "printing/PageLayouts.h"

#include <QPainter>
#include <random>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Photo.h"
#include "testing/Fakes.h"

#include <benchmark/benchmark.h>

namespace {

const char *const names[] = {"jan", "piet", "ann", "mohammed", "sanne", "daan", "fleur", "bram"};

void printLines(benchmark::State &state)
{
    const int lines = int(state.range(0));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("scores.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    int pages = 0;
    for (auto _ : state) {
        printer.setFontName(QStringLiteral("Arial"));
        printer.setFontSize(12);
        printer.setTextColor(QColor(60, 60, 60));
        for (int i = 0; i < lines; ++i) {
            printer.setX(300);
            printer.printLine(QStringLiteral("Op de ") + QString::number(i + 1) + QStringLiteral("e plaats staat... ")
                              + QString::fromLatin1(names[i % 8]) + QStringLiteral(" met")
                              + Printer::number(lines - i) + QStringLiteral("punten."));
        }
        if (!printer.endDocument()) {
            state.SkipWithError("the PDF file was not written");
            return;
        }
        pages = printer.texts().back().page + 1;
    }
    state.counters["pages"] = pages;
    state.counters["MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.SetItemsProcessed(state.iterations() * lines);
}

// A game picture as a photo gives it: a gradient with noise, 354 x 254.
QImage gamePicture(int seed)
{
    QImage image(354, 254, QImage::Format_RGB32);
    std::mt19937 gen(seed);
    for (int y = 0; y < 254; ++y)
        for (int x = 0; x < 354; ++x)
            image.setPixel(x, y, qRgb((x + seed * 40) % 256, (y + int(gen() % 24)) % 256, (x + y) % 256));
    return image;
}

void finish(benchmark::State &state, QtPrinter &printer, const QString &pdf)
{
    if (!printer.endDocument())
        state.SkipWithError("the PDF file was not written");
    state.counters["MB"] = double(QFileInfo(pdf).size()) / 1e6;
}

void contactSheet(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("blad.pdf"));
    QStringList files;
    for (int i = 0; i < state.range(0); ++i) {
        files << QStringLiteral("plaatje%1.jpg").arg(i);
        gamePicture(i).save(folder.filePath(files.last()), "JPEG", 75);
    }
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    for (auto _ : state) {
        PageLayouts::contactSheet(printer, QStringLiteral("dieren"), files, [&](const QString &file) {
            return Pictures::reduced(folder.filePath(file), QSize(417, 302)).image;
        });
        finish(state, printer, pdf);
    }
}

// 40 camera photos of 12 megapixels copied into a subject, printed as the print window does:
// each reduced to its cell at 300 dpi. Run on its own for the peak (--benchmark_filter=camera).
void cameraSheet(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("blad.pdf"));
    photo(4000, 3000).save(folder.filePath(QStringLiteral("foto.jpg")), "JPEG", 92);
    QStringList files;
    for (int i = 0; i < 40; ++i) {
        files << QStringLiteral("foto%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        QFile::copy(folder.filePath(QStringLiteral("foto.jpg")), folder.filePath(files.last()));
    }
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    const double before = megabytes("VmRSS:");
    resetPeak();
    for (auto _ : state) {
        PageLayouts::contactSheet(printer, QStringLiteral("vakantie"), files, [&](const QString &file) {
            return Pictures::reduced(folder.filePath(file), QSize(417, 302)).image;
        });
        finish(state, printer, pdf);
    }
    state.counters["MB_peak"] = megabytes("VmHWM:");
    state.counters["MB_peak_added"] = megabytes("VmHWM:") - before;
}

void stamps(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("zegels.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    const QImage picture = gamePicture(1);
    for (auto _ : state) {
        PageLayouts::stamps(printer, picture, Artwork::image(QStringLiteral("stamp1_print.png")),
                            QStringLiteral("Nederland"), QStringLiteral("0.39"), true);
        finish(state, printer, pdf);
    }
}

void calendarLayout(benchmark::State &state)
{
    RecordingPrinter printer;
    const QImage picture = gamePicture(2);
    for (auto _ : state) {
        PageLayouts::Jaarkalender(printer, 2024, picture);
        printer.endDocument();
    }
}

void scanAnimation(benchmark::State &state)
{
    EventLoopWaiter waiter;
    for (auto _ : state)
        for (int v = 0; v <= 180; v += 2)
            waiter.wait(0.01);
}

}

BENCHMARK(contactSheet)->Arg(40)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(cameraSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(stamps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(calendarLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(scanAnimation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(printLines)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Desktop::installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
