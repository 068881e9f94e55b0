#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

Q_DECLARE_METATYPE(QtPrinter::Destination)

namespace {

using Font = RecordingPrinter::Font;

// Runs a poppler tool and hands back what it wrote; empty when it failed.
QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        qWarning("%s could not be started (poppler-utils installed?)", qPrintable(program));
        return {};
    }
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QString pdfText(const QString &pdf)
{
    return QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
}

// The page count as pdfinfo reports it, or -1.
int pdfPages(const QString &pdf)
{
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Page 1 of a PDF as a picture of the given resolution.
QImage renderFirstPage(const QString &pdf, int dpi, const QString &folder)
{
    const QString stem = QDir(folder).filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// Where the texts must follow each other: each one is searched for after the one before.
bool inOrder(const QString &haystack, const QStringList &texts, QString *missing)
{
    qsizetype from = 0;
    for (const QString &text : texts) {
        const qsizetype at = haystack.indexOf(text, from);
        if (at < 0) {
            *missing = text;
            return false;
        }
        from = at + text.size();
    }
    return true;
}

bool isColor(QRgb pixel, QColor expected, int tolerance = 40)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

QImage solid(const QColor &color, int width = 40, int height = 20)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A short score-list page as the program prints it, with a picture and a line.
void printSample(Printer &printer, const QString &mark)
{
    printer.setFontBold(true);
    printer.setFontSize(14);
    printer.setTextColor(QColor(192, 0, 0));
    printer.printLine();
    printer.printLine(QStringLiteral("   Score-lijst ") + mark);
    printer.setY(1200);
    printer.setFontSize(12);
    printer.setFontBold(false);
    printer.setTextColor(QColor(60, 60, 60));
    printer.setX(300);
    printer.printLine(QStringLiteral("Op de 1e plaats staat... jan met") + Printer::number(42) + QStringLiteral("punten."));
    printer.setX(300);
    printer.printLine(QStringLiteral("Op de 2e plaats staat... piet met") + Printer::number(35) + QStringLiteral("punten."));
    printer.drawPicture(solid(QColor(0, 0, 255)), QRect(5760, 4320, 2880, 1440));
    printer.drawLine(QPoint(300, 4000), QPoint(9000, 4000), QColor(0, 160, 0));
}

const QStringList sampleTexts{QStringLiteral("Score-lijst"), QStringLiteral("Op de 1e plaats staat... jan met 42 punten."),
                              QStringLiteral("Op de 2e plaats staat... piet met 35 punten.")};

// The PDF files a cups-pdf queue has written into its folder.
QStringList pdfFilesIn(const QString &folder)
{
    QStringList files;
    const QFileInfoList found = QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : found)
        files << file.absoluteFilePath();
    return files;
}

}

class TestPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }

    void lineHeightGrowsWithTheFont_data();
    void lineHeightGrowsWithTheFont();
    void printLineMovesDownOneLine_data();
    void printLineMovesDownOneLine();
    void pageBreak_data();
    void pageBreak();
    void lineTallerThanThePageStaysAtTheTop();
    void emptyLineAdvancesWithoutText();
    void numberFormat_data();
    void numberFormat();
    void eachDocumentStartsAfresh();
    void picturesAndLinesKeepTheirPage();

    void pdfFileHoldsTextsInOrder();
    void pdfFilePlacesPictureAndText();
    void pdfFileHasEveryPage();
    void printerPageHeightIsThePrintableArea();

    void noPrinter_data();
    void noPrinter();
    void noPrinterSavedAsPdf_data();
    void noPrinterSavedAsPdf();
    void defaultPrinterWithoutScheduler();

    void printsOnTheTestQueue();
};

void TestPrinter::lineHeightGrowsWithTheFont_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    // Arial's line spacing is about 1.15 times its size; one point is 20 twips.
    for (const double points : {8.0, 10.0, 12.0, 14.0, 20.0}) {
        QTest::addRow("%g pt", points) << points << false;
        QTest::addRow("%g pt bold", points) << points << true;
    }
}

void TestPrinter::lineHeightGrowsWithTheFont()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    const Font font{QStringLiteral("Arial"), points, bold};
    const int height = RecordingPrinter::lineHeight(font);
    QVERIFY2(height >= points * 20 * 1.05 && height <= points * 20 * 1.30, qPrintable(QString::number(height)));
    const double ascent = RecordingPrinter::ascent(font);
    QVERIFY2(ascent > points * 20 * 0.75 && ascent < height, qPrintable(QString::number(ascent)));
    QVERIFY(RecordingPrinter::lineHeight(Font{QStringLiteral("Arial"), points + 2, bold}) > height);
}

void TestPrinter::printLineMovesDownOneLine_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("10 pt at the top") << 10.0 << false << 0 << 0;
    QTest::newRow("12 pt indented") << 12.0 << false << 300 << 1200;
    QTest::newRow("14 pt bold") << 14.0 << true << 1500 << 250;
    QTest::newRow("20 pt far down") << 20.0 << false << 7000 << 12000;
}

void TestPrinter::printLineMovesDownOneLine()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(int, x);
    QFETCH(int, y);
    RecordingPrinter printer;
    printer.setFontSize(points);
    printer.setFontBold(bold);
    printer.setX(x);
    printer.setY(y);
    printer.printLine(QStringLiteral("eerste"));
    const Font font{QStringLiteral("Arial"), points, bold};
    const int height = RecordingPrinter::lineHeight(font);
    QCOMPARE(printer.x(), 0);
    QCOMPARE(printer.y(), y + height);
    printer.printLine(QStringLiteral("tweede"));
    QCOMPARE(printer.y(), y + 2 * height);
    QVERIFY(printer.endDocument());

    const auto texts = printer.texts();
    QCOMPARE(texts.size(), size_t(2));
    QCOMPARE(texts[0].at, QPoint(x, y));
    QCOMPARE(texts[0].font, font);
    QCOMPARE(texts[1].at, QPoint(0, y + height));
    QCOMPARE(texts[1].text, QStringLiteral("tweede"));
}

void TestPrinter::pageBreak_data()
{
    const int h = RecordingPrinter::lineHeight(Font{});
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("linesOnFirstPage");
    QTest::newRow("four lines fit exactly") << 4 * h << 4;
    QTest::newRow("one twip short of four") << 4 * h - 1 << 3;
    QTest::newRow("one twip to spare") << 4 * h + 1 << 4;
    QTest::newRow("room for one") << h << 1;
}

void TestPrinter::pageBreak()
{
    QFETCH(int, pageHeight);
    QFETCH(int, linesOnFirstPage);
    const int h = RecordingPrinter::lineHeight(Font{});
    RecordingPrinter printer(pageHeight);
    const int lines = 2 * linesOnFirstPage + 1;
    for (int i = 0; i < lines; ++i) {
        printer.setX(100);
        printer.printLine(QString::number(i));
    }
    QVERIFY(printer.endDocument());
    const auto texts = printer.texts();
    QCOMPARE(int(texts.size()), lines);
    for (int i = 0; i < lines; ++i) {
        const int page = i / linesOnFirstPage;
        const int row = i % linesOnFirstPage;
        QCOMPARE(texts[size_t(i)].page, page);
        QCOMPARE(texts[size_t(i)].at, QPoint(100, row * h));
    }
}

void TestPrinter::lineTallerThanThePageStaysAtTheTop()
{
    // A page that cannot hold one line still gets it, instead of breaking for ever.
    RecordingPrinter printer(100);
    printer.printLine(QStringLiteral("a"));
    printer.printLine(QStringLiteral("b"));
    QVERIFY(printer.endDocument());
    const auto texts = printer.texts();
    QCOMPARE(texts.size(), size_t(2));
    QCOMPARE(texts[0].page, 0);
    QCOMPARE(texts[0].at.y(), 0);
    QCOMPARE(texts[1].page, 1);
    QCOMPARE(texts[1].at.y(), 0);
}

void TestPrinter::emptyLineAdvancesWithoutText()
{
    RecordingPrinter printer;
    printer.setFontSize(14);
    printer.setX(500);
    printer.printLine();
    const int h = RecordingPrinter::lineHeight(Font{QStringLiteral("Arial"), 14, false});
    QCOMPARE(printer.x(), 0);
    QCOMPARE(printer.y(), h);
    printer.printLine(QString());
    QCOMPARE(printer.y(), 2 * h);
    printer.printLine(QStringLiteral("daarna"));
    QVERIFY(printer.endDocument());
    const auto texts = printer.texts();
    QCOMPARE(texts.size(), size_t(1));
    QCOMPARE(texts[0].at, QPoint(0, 2 * h));
}

void TestPrinter::numberFormat_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("printed");
    QTest::newRow("positive") << qint64(42) << QStringLiteral(" 42 ");
    QTest::newRow("negative") << qint64(-3) << QStringLiteral("-3 ");
    QTest::newRow("zero") << qint64(0) << QStringLiteral(" 0 ");
    QTest::newRow("year") << qint64(2020) << QStringLiteral(" 2020 ");
    QTest::newRow("large") << qint64(9876543210) << QStringLiteral(" 9876543210 ");
}

void TestPrinter::numberFormat()
{
    QFETCH(qint64, value);
    QFETCH(QString, printed);
    QCOMPARE(Printer::number(value), printed);
}

void TestPrinter::eachDocumentStartsAfresh()
{
    RecordingPrinter printer(2000);
    printer.setFontName(QStringLiteral("Comic Sans MS"));
    printer.setFontSize(20);
    printer.setFontBold(true);
    printer.setTextColor(QColor(192, 0, 0));
    for (int i = 0; i < 6; ++i)
        printer.printLine(QStringLiteral("x"));
    printer.setX(700);
    printer.setY(900);
    QVERIFY(printer.texts().empty()); // nothing is final before the document ends
    QVERIFY(printer.endDocument());
    QVERIFY(printer.texts().back().page > 0);

    QCOMPARE(printer.x(), 0);
    QCOMPARE(printer.y(), 0);
    printer.printLine(QStringLiteral("nieuw"));
    QVERIFY(printer.endDocument());
    QCOMPARE(printer.documents().size(), size_t(2));
    const auto texts = printer.texts();
    QCOMPARE(texts.size(), size_t(1));
    QCOMPARE(texts[0].font, (Font{QStringLiteral("Arial"), 10, false}));
    QCOMPARE(texts[0].color, QColor(Qt::black));
    QCOMPARE(texts[0].page, 0);
    QCOMPARE(texts[0].at, QPoint(0, 0));
    QCOMPARE(printer.texts(0).size(), size_t(6));
}

void TestPrinter::picturesAndLinesKeepTheirPage()
{
    const int h = RecordingPrinter::lineHeight(Font{});
    RecordingPrinter printer(2 * h);
    printer.drawLine(QPoint(0, 10), QPoint(100, 10), Qt::red);
    for (int i = 0; i < 3; ++i)
        printer.printLine(QStringLiteral("regel"));
    printer.drawPicture(solid(Qt::blue), QRect(10, 20, 30, 40));
    QVERIFY(printer.endDocument());
    const auto &items = printer.documents().back();
    QCOMPARE(items.size(), size_t(5));
    const auto *line = std::get_if<RecordingPrinter::Line>(&items.front());
    QVERIFY(line);
    QCOMPARE(line->page, 0);
    QCOMPARE(line->color, QColor(Qt::red));
    const auto *picture = std::get_if<RecordingPrinter::Picture>(&items.back());
    QVERIFY(picture);
    QCOMPARE(picture->page, 1);
    QCOMPARE(picture->target, QRect(10, 20, 30, 40));
}

void TestPrinter::pdfFileHoldsTextsInOrder()
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("afdruk.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    printSample(printer, QStringLiteral("Tuurbord"));
    QVERIFY(printer.endDocument());
    QVERIFY(dialogs.shown.empty());
    QVERIFY(QFileInfo::exists(pdf));

    const QString text = pdfText(pdf);
    QString missing;
    QVERIFY2(inOrder(text, sampleTexts, &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    QCOMPARE(pdfPages(pdf), 1);
}

void TestPrinter::pdfFilePlacesPictureAndText()
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("afdruk.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    printSample(printer, QStringLiteral("Tuurbord"));
    QVERIFY(printer.endDocument());

    const int dpi = 50;
    const QImage page = renderFirstPage(pdf, dpi, folder.path());
    QVERIFY2(!page.isNull(), "pdftoppm gave no picture");
    // An A4 page at 50 dpi.
    QVERIFY(std::abs(page.width() - 413) <= 1 && std::abs(page.height() - 585) <= 1);

    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    auto pixel = [&](double xTwips, double yTwips) {
        const int px = int(std::lround((margins.left() * 1440 / 25.4 + xTwips) * dpi / 1440.0));
        const int py = int(std::lround((margins.top() * 1440 / 25.4 + yTwips) * dpi / 1440.0));
        return page.pixel(px, py);
    };
    // The picture fills 5760..8640 x 4320..5760 twips: blue inside, white just outside.
    for (const QPointF at : {QPointF(7200, 5040), QPointF(5900, 4450), QPointF(8500, 5630)})
        QVERIFY2(isColor(pixel(at.x(), at.y()), Qt::blue), qPrintable(QStringLiteral("at %1, %2").arg(at.x()).arg(at.y())));
    for (const QPointF at : {QPointF(5500, 5040), QPointF(8900, 5040), QPointF(7200, 4060), QPointF(7200, 6020)})
        QVERIFY2(isColor(pixel(at.x(), at.y()), Qt::white), qPrintable(QStringLiteral("at %1, %2").arg(at.x()).arg(at.y())));

    // Text ink of the first list line lies in its line box, starting at x = 300.
    const int h12 = RecordingPrinter::lineHeight(Font{QStringLiteral("Arial"), 12, false});
    auto inkIn = [&](double left, double top, double right, double bottom) {
        int dark = 0;
        for (double y = top; y < bottom; y += 10)
            for (double x = left; x < right; x += 10)
                if (qGray(pixel(x, y)) < 160)
                    ++dark;
        return dark;
    };
    QVERIFY(inkIn(300, 1200, 3000, 1200 + h12) > 0);
    QCOMPARE(inkIn(0, 1200, 200, 1200 + 2 * h12), 0); // nothing left of the indent
    QCOMPARE(inkIn(300, 800, 3000, 1150), 0);          // nothing above the list
}

void TestPrinter::pdfFileHasEveryPage()
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("lang.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    const int lines = 150;
    for (int i = 1; i <= lines; ++i)
        printer.printLine(QStringLiteral("regel") + Printer::number(i));
    const int h = RecordingPrinter::lineHeight(Font{});
    const int perPage = int(printer.pageLayout().paintRect(QPageLayout::Millimeter).height() * 1440 / 25.4) / h;
    QVERIFY(printer.endDocument());
    const int pages = (lines + perPage - 1) / perPage;
    QVERIFY(pages >= 2);
    QCOMPARE(pdfPages(pdf), pages);
    QCOMPARE(printer.texts().back().page, pages - 1);

    // Every line is there once, in order, and the page turns where the layout turned it.
    const QStringList pageTexts = pdfText(pdf).split(QLatin1Char('\f'));
    QVERIFY(pageTexts.size() >= pages);
    for (int i = 1; i <= lines; ++i) {
        const int page = (i - 1) / perPage;
        const QRegularExpression line(QStringLiteral("^\\s*regel %1\\s*$").arg(i), QRegularExpression::MultilineOption);
        QVERIFY2(pageTexts[page].contains(line), qPrintable(QStringLiteral("regel %1 not on page %2").arg(i).arg(page + 1)));
    }
}

void TestPrinter::printerPageHeightIsThePrintableArea()
{
    // A PDF page is A4 with the margins of the recording printer, so the layouts break pages alike.
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(folder.filePath(QStringLiteral("x.pdf"))));
    const QPageLayout layout = printer.pageLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    const double height = layout.paintRect(QPageLayout::Millimeter).height() * 1440 / 25.4;
    QVERIFY2(std::abs(height - (16838 - 2 * 283)) < 1, qPrintable(QString::number(height)));

    const int h = RecordingPrinter::lineHeight(Font{});
    const int fit = int(height) / h;
    for (int i = 0; i < fit; ++i)
        printer.printLine(QStringLiteral("x"));
    QCOMPARE(printer.y(), fit * h);
    printer.printLine(QStringLiteral("y"));
    QCOMPARE(printer.y(), h);
}

void TestPrinter::noPrinter_data()
{
    QTest::addColumn<QtPrinter::Destination>("destination");
    QTest::newRow("no printer installed") << QtPrinter::Destination::noPrinter();
    QTest::newRow("unknown queue") << QtPrinter::Destination::queue(QStringLiteral("tuurbord-no-such-queue"));
}

void TestPrinter::noPrinter()
{
    QFETCH(QtPrinter::Destination, destination);
    ScriptedDialogs dialogs; // the save dialog is cancelled: no path
    QtPrinter printer(dialogs, destination);
    printSample(printer, QStringLiteral("Tuurbord"));
    QVERIFY(!printer.endDocument());

    QCOMPARE(dialogs.shown.size(), size_t(1));
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("Geen printer aanwezig / of staat niet aan...("));
    QCOMPARE(dialogs.shown[0].title, QStringLiteral(" Print"));
    QCOMPARE(dialogs.shown[0].buttons, Dialogs::Buttons::Ok);
    QCOMPARE(dialogs.proposals.size(), 1);
    const QFileInfo proposal(dialogs.proposals[0]);
    QCOMPARE(proposal.absolutePath(), QDir::homePath());
    QCOMPARE(proposal.suffix(), QStringLiteral("pdf"));

    // The printer goes on working for the next document.
    printer.printLine(QStringLiteral("nog eens"));
    QVERIFY(!printer.endDocument());
    QCOMPARE(dialogs.shown.size(), size_t(2));
    QCOMPARE(printer.texts().front().font, Font{});
    QCOMPARE(printer.documents().size(), size_t(1)); // printed documents are not hoarded
}

void TestPrinter::noPrinterSavedAsPdf_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("with .pdf") << QStringLiteral("scores.pdf") << QStringLiteral("scores.pdf");
    QTest::newRow("without a suffix") << QStringLiteral("scores") << QStringLiteral("scores.pdf");
}

void TestPrinter::noPrinterSavedAsPdf()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    dialogs.savePath = folder.filePath(chosen);
    QtPrinter printer(dialogs, QtPrinter::Destination::noPrinter());
    printSample(printer, QStringLiteral("bewaard"));
    QVERIFY(printer.endDocument());
    QCOMPARE(dialogs.shown.size(), size_t(1));
    const QString pdf = folder.filePath(written);
    QVERIFY(QFileInfo::exists(pdf));
    QString missing;
    const QString text = pdfText(pdf);
    QVERIFY2(inOrder(text, sampleTexts, &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    QVERIFY(text.contains(QStringLiteral("Score-lijst bewaard")));
}

void TestPrinter::defaultPrinterWithoutScheduler()
{
    // libcups reads CUPS_SERVER once per thread, so a fresh thread sees a scheduler that is not there.
    QTemporaryDir folder;
    const QByteArray oldServer = qgetenv("CUPS_SERVER");
    const bool hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    qputenv("CUPS_SERVER", QDir(folder.path()).filePath(QStringLiteral("no-such.sock")).toLocal8Bit());
    ScriptedDialogs dialogs;
    dialogs.savePath = folder.filePath(QStringLiteral("zonder.pdf"));
    bool printed = false;
    bool noDefault = false;
    QThread *thread = QThread::create([&] {
        noDefault = QPrinterInfo::defaultPrinter().isNull();
        QtPrinter printer(dialogs);
        printSample(printer, QStringLiteral("zonder"));
        printed = printer.endDocument();
    });
    thread->start();
    const bool finished = thread->wait(QDeadlineTimer(60000));
    if (hadServer)
        qputenv("CUPS_SERVER", oldServer);
    else
        qunsetenv("CUPS_SERVER");
    QVERIFY(finished);
    delete thread;

    QVERIFY(noDefault);
    QVERIFY(printed);
    QCOMPARE(dialogs.shown.size(), size_t(1));
    QCOMPARE(dialogs.shown[0].text, QtPrinter::noPrinterText());
    QVERIFY(pdfText(dialogs.savePath).contains(QStringLiteral("Score-lijst zonder")));
}

void TestPrinter::printsOnTheTestQueue()
{
    const QString pdfFolder = qEnvironmentVariable("TUURBORD_TEST_PDF_DIR");
    const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
    if (pdfFolder.isEmpty() || queue.isEmpty())
        QSKIP("no test printer: TUURBORD_TEST_PDF_DIR is not set (source tools/test-printer.sh and call "
              "start_test_printer, as root, with cups and printer-driver-cups-pdf installed)");
    QVERIFY2(QPrinterInfo::defaultPrinterName() == queue,
             qPrintable(QStringLiteral("the default printer is '%1', not the test queue '%2'")
                            .arg(QPrinterInfo::defaultPrinterName(), queue)));

    const QStringList before = pdfFilesIn(pdfFolder);
    const QString mark = QStringLiteral("proef%1").arg(QCoreApplication::applicationPid());
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    printSample(printer, mark);
    QVERIFY(printer.endDocument());
    QVERIFY2(dialogs.shown.empty(), "the printer was not found");

    // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
    QString text;
    auto printedPdf = [&] {
        const QStringList files = pdfFilesIn(pdfFolder);
        for (const QString &file : files) {
            if (before.contains(file))
                continue;
            text = pdfText(file);
            if (text.contains(mark))
                return true;
        }
        return false;
    };
    QDeadlineTimer deadline(30000);
    bool found = printedPdf();
    while (!found && !deadline.hasExpired()) {
        QTest::qWait(200);
        found = printedPdf();
    }
    QVERIFY2(found, qPrintable(QStringLiteral("no PDF with '%1' in %2 within 30 s").arg(mark, pdfFolder)));
    QString missing;
    QVERIFY2(inOrder(text, sampleTexts, &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
