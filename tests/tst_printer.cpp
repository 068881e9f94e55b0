#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

Q_DECLARE_METATYPE(QtPrinter::Destination)

namespace {

using Font = RecordingPrinter::Font;
using namespace PdfTools;

bool isColor(QRgb pixel, QColor expected, int tolerance = 40)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
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
    void pdfTextHasTheRecordedSize_data();
    void pdfTextHasTheRecordedSize();
    void printerPageHeightIsThePrintableArea();

    void noPrinter_data();
    void noPrinter();
    void noPrinterSavedAsPdf_data();
    void noPrinterSavedAsPdf();
    void defaultPrinterWithoutScheduler();
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

    const QString text = PdfTools::text(pdf);
    QString missing;
    QVERIFY2(inOrder(text, sampleTexts(), &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    QCOMPARE(PdfTools::pages(pdf), 1);
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
    QCOMPARE(PdfTools::pages(pdf), pages);
    QCOMPARE(printer.texts().back().page, pages - 1);

    // Every line is there once, in order, and the page turns where the layout turned it.
    const QStringList pageTexts = PdfTools::text(pdf).split(QLatin1Char('\f'));
    QVERIFY(pageTexts.size() >= pages);
    for (int i = 1; i <= lines; ++i) {
        const int page = (i - 1) / perPage;
        const QRegularExpression line(QStringLiteral("^\\s*regel %1\\s*$").arg(i), QRegularExpression::MultilineOption);
        QVERIFY2(pageTexts[page].contains(line), qPrintable(QStringLiteral("regel %1 not on page %2").arg(i).arg(page + 1)));
    }
}

void TestPrinter::pdfTextHasTheRecordedSize_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("8 pt") << 8.0 << false;
    QTest::newRow("12 pt") << 12.0 << false;
    QTest::newRow("14 pt bold") << 14.0 << true;
    QTest::newRow("20 pt") << 20.0 << false;
}

void TestPrinter::pdfTextHasTheRecordedSize()
{
    // The ink of a row of capitals must be as wide as the layout measured it, and stand on the
    // baseline one ascent below the line's top.
    QFETCH(double, points);
    QFETCH(bool, bold);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("maat.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    const QString text = QStringLiteral("HHHHHHHHHH");
    const QPoint at(1440, 2880);
    printer.setFontSize(points);
    printer.setFontBold(bold);
    printer.setX(at.x());
    printer.setY(at.y());
    printer.printLine(text);
    QVERIFY(printer.endDocument());

    QImage twipDevice(1, 1, QImage::Format_RGB32);
    twipDevice.setDotsPerMeterX(56693);
    twipDevice.setDotsPerMeterY(56693);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    const QFontMetricsF metrics(font, &twipDevice);
    const QRectF inkTwips = metrics.tightBoundingRect(text); // relative to the baseline
    const double baseline = at.y() + RecordingPrinter::ascent(Font{QStringLiteral("Arial"), points, bold});

    const int dpi = 200;
    const QImage page = renderFirstPage(pdf, dpi, folder.path());
    QVERIFY(!page.isNull());
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    auto toPixels = [&](double twips, double marginMm) { return (marginMm * 1440 / 25.4 + twips) * dpi / 1440.0; };
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isNull());
    const double tolerance = 2.5; // pixels: anti-aliasing and hinting
    QVERIFY2(std::abs(ink.left() - toPixels(at.x() + inkTwips.left(), margins.left())) <= tolerance,
             qPrintable(QString::number(ink.left())));
    QVERIFY2(std::abs(ink.right() + 1 - toPixels(at.x() + inkTwips.right(), margins.left())) <= tolerance,
             qPrintable(QString::number(ink.right())));
    QVERIFY2(std::abs(ink.top() - toPixels(baseline + inkTwips.top(), margins.top())) <= tolerance,
             qPrintable(QString::number(ink.top())));
    QVERIFY2(std::abs(ink.bottom() + 1 - toPixels(baseline, margins.top())) <= tolerance,
             qPrintable(QString::number(ink.bottom())));
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
    const QString text = PdfTools::text(pdf);
    QVERIFY2(inOrder(text, sampleTexts(), &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
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
    QVERIFY(PdfTools::text(dialogs.savePath).contains(QStringLiteral("Score-lijst zonder")));
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
