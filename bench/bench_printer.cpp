// How long a long score list takes to reach paper: 10,000 lines laid out and replayed into a PDF
// file, which is the same painting a real printer gets. Target: at most 5 s.
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/QtPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class NoDialogs : public Dialogs
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
    QString input(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};

const char *const names[] = {"jan", "piet", "ann", "mohammed", "sanne", "daan", "fleur", "bram"};

void printLines(benchmark::State &state)
{
    const int lines = int(state.range(0));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("scores.pdf"));
    NoDialogs dialogs;
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

}

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
