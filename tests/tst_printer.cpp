#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

Q_DECLARE_METATYPE(QtPrinter::Destination)

namespace {

using Font = RecordingPrinter::Font;
using namespace PdfTools;

// Every text and picture of the last document with its page, a text with its top-left too.
QString itemsOf(const RecordingPrinter &printer)
{
    QStringList items;
    for (const RecordingPrinter::Item &item : printer.documents().back()) {
        if (const auto *text = std::get_if<RecordingPrinter::Text>(&item))
            items << QStringLiteral("%1 p%2 %3,%4").arg(text->text).arg(text->page).arg(text->at.x()).arg(text->at.y());
        else if (const auto *picture = std::get_if<RecordingPrinter::Picture>(&item))
            items << QStringLiteral("picture p%1").arg(picture->page);
    }
    return items.join(QStringLiteral("; "));
}

}

class TestPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void layout_data();
    void layout();
    void numberFormat_data();
    void numberFormat();
    void eachDocumentStartsAfresh();
    void pdfFile();
    void noPrinter_data();
    void noPrinter();
    void failureIsReported();
};

void TestPrinter::layout_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<QStringList>("steps"); // a text to print, "" an empty line, "#" a picture
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("endY");
    const int a4 = 16838 - 2 * 283;
    const int h = RecordingPrinter::lineHeight(Font{});
    const int h14 = RecordingPrinter::lineHeight(Font{QStringLiteral("Arial"), 14, true});
    // Each row starts at x 100, y 0.
    QTest::newRow("down a line each, back to x 0") << 14.0 << true << a4 << QStringList{"a", "", "b"}
                                                   << QStringLiteral("a p0 100,0; b p0 0,%1").arg(2 * h14) << 3 * h14;
    // The page turns when the next line is printed, so what is drawn before it stays on the old page.
    QTest::newRow("four lines fit exactly")
        << 10.0 << false << 4 * h << QStringList{"0", "1", "2", "3", "#", "4"}
        << QStringLiteral("0 p0 100,0; 1 p0 0,%1; 2 p0 0,%2; 3 p0 0,%3; picture p0; 4 p1 0,0").arg(h).arg(2 * h).arg(3 * h) << h;
    QTest::newRow("one twip short of four")
        << 10.0 << false << 4 * h - 1 << QStringList{"0", "1", "2", "3", "#", "4"}
        << QStringLiteral("0 p0 100,0; 1 p0 0,%1; 2 p0 0,%2; 3 p1 0,0; picture p1; 4 p1 0,%1").arg(h).arg(2 * h) << 2 * h;
    // A page lower than one line still takes one, instead of leaving a blank page.
    QTest::newRow("line taller than the page") << 10.0 << false << 100 << QStringList{"a", "b"}
                                               << QStringLiteral("a p0 100,0; b p1 0,0") << h;
}

void TestPrinter::layout()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(int, pageHeight);
    QFETCH(QStringList, steps);
    QFETCH(QString, items);
    QFETCH(int, endY);
    // Arial's line spacing is about 1.15 times its size, its ascent about 0.9; one point is 20 twips.
    const Font font{QStringLiteral("Arial"), points, bold};
    const int height = RecordingPrinter::lineHeight(font);
    QVERIFY2(height > points * 20 && height < points * 20 * 1.3, qPrintable(QString::number(height)));
    QVERIFY(RecordingPrinter::ascent(font) > points * 20 * 0.75 && RecordingPrinter::ascent(font) < height);

    RecordingPrinter printer(pageHeight);
    printer.setFontSize(points);
    printer.setFontBold(bold);
    printer.setX(100);
    for (const QString &step : steps)
        step == QLatin1String("#") ? printer.drawPicture(solid(Qt::blue), QRect(10, 20, 30, 40)) : printer.printLine(step);
    QCOMPARE(QPoint(printer.x(), printer.y()), QPoint(0, endY));
    QVERIFY(printer.endDocument());
    QCOMPARE(itemsOf(printer), items);
    QCOMPARE(printer.texts().front().font, font);
}

void TestPrinter::numberFormat_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("printed");
    QTest::newRow("positive") << qint64(42) << QStringLiteral(" 42 ");
    QTest::newRow("zero") << qint64(0) << QStringLiteral(" 0 ");
    QTest::newRow("negative") << qint64(-3) << QStringLiteral("-3 ");
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
    QVERIFY(printer.endDocument());
    printer.printLine(QStringLiteral("nieuw"));
    QVERIFY(printer.endDocument());
    QCOMPARE(itemsOf(printer), QStringLiteral("nieuw p0 0,0"));
    QCOMPARE(printer.texts().front().font, (Font{QStringLiteral("Arial"), 10, false}));
    QCOMPARE(printer.texts().front().color, QColor(Qt::black));
}

void TestPrinter::pdfFile()
{
    // A heading, a picture and 150 lines: the file holds every text, in order, on the page where
    // the recording printer's A4 layout put it; page 1 shows the picture and heading where drawn.
    const QString heading = QStringLiteral("Tuurbord");
    auto draw = [&](Printer &printer) {
        printer.setFontSize(20);
        printer.setFontBold(true);
        printer.setX(1440);
        printer.setY(1440);
        printer.printLine(heading);
        printer.drawPicture(solid(Qt::blue), QRect(5760, 4320, 2880, 1440));
        printer.setY(7200);
        for (int i = 1; i <= 150; ++i)
            printer.printLine(QStringLiteral("regel") + Printer::number(i));
    };
    RecordingPrinter layout;
    draw(layout);
    QVERIFY(layout.endDocument());
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("afdruk.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(pdf));
    draw(printer);
    QVERIFY(printer.endDocument());
    QVERIFY(dialogs.shown.empty());

    QStringList expected(layout.texts().back().page + 1);
    for (const auto &text : layout.texts())
        expected[text.page] += text.text.simplified() + QLatin1Char('|');
    QVERIFY(expected.size() >= 3);
    QStringList pages;
    for (const QString &page : PdfTools::text(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts)) {
        pages << QString();
        for (const QString &line : page.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            pages.last() += line.simplified() + QLatin1Char('|');
    }
    QCOMPARE(pages, expected);
    QCOMPARE(PdfTools::pages(pdf), int(expected.size()));

    const int dpi = 200;
    const QImage page = renderFirstPage(pdf, dpi, folder.path());
    QVERIFY(std::abs(page.width() - 1654) <= 1 && std::abs(page.height() - 2339) <= 1); // A4
    auto pixels = [&](double twips) { return (283 + twips) * dpi / 1440.0; };             // the margin is 283 twips
    auto pixel = [&](QPoint twips) { return page.pixel(int(pixels(twips.x())), int(pixels(twips.y()))); };
    // The picture fills 5760..8640 x 4320..5760 twips: blue inside, white just outside.
    for (const QPoint at : {QPoint(7200, 5040), QPoint(5900, 4450), QPoint(8500, 5630)})
        QVERIFY2(qBlue(pixel(at)) > 215 && qRed(pixel(at)) < 40 && qGreen(pixel(at)) < 40, qPrintable(QDebug::toString(at)));
    for (const QPoint at : {QPoint(5600, 5040), QPoint(8800, 5040), QPoint(7200, 4160), QPoint(7200, 5920)})
        QVERIFY2(qRed(pixel(at)) > 215 && qGreen(pixel(at)) > 215 && qBlue(pixel(at)) > 215, qPrintable(QDebug::toString(at)));

    // The heading's ink is as large as the layout measured it and stands on the baseline one ascent below its top.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20 * 20); // one pixel a twip
    font.setBold(true);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(heading).translated(
        1440, 1440 + RecordingPrinter::ascent(Font{QStringLiteral("Arial"), 20, true}));
    const QRectF want(QPointF(pixels(ink.left()), pixels(ink.top())), QPointF(pixels(ink.right()), pixels(ink.bottom())));
    QRect found; // the dark pixels above the picture
    for (int y = 0; y < int(pixels(4000)); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                found |= QRect(x, y, 1, 1);
    // Each edge within about 2 pixels: anti-aliasing and hinting.
    const QRectF got(found);
    QVERIFY2((got.topLeft() - want.topLeft()).manhattanLength() <= 4 && (got.bottomRight() - want.bottomRight()).manhattanLength() <= 4,
             qPrintable(QDebug::toString(got) + QStringLiteral(" instead of ") + QDebug::toString(want)));
}

void TestPrinter::noPrinter_data()
{
    QTest::addColumn<QtPrinter::Destination>("destination");
    QTest::addColumn<bool>("withoutScheduler");
    QTest::addColumn<QString>("chosen"); // in the save dialog; empty: Cancel
    QTest::addColumn<QString>("written");
    const auto none = QtPrinter::Destination::noPrinter();
    QTest::newRow("no printer, cancelled") << none << false << QString() << QString();
    QTest::newRow("unknown queue, cancelled")
        << QtPrinter::Destination::queue(QStringLiteral("tuurbord-no-such-queue")) << false << QString() << QString();
    QTest::newRow("saved as .pdf") << none << false << QStringLiteral("scores.pdf") << QStringLiteral("scores.pdf");
    QTest::newRow("saved without a suffix") << none << false << QStringLiteral("scores") << QStringLiteral("scores.pdf");
    // libcups reads CUPS_SERVER once per thread, so a fresh thread sees a scheduler that is not there.
    QTest::newRow("default printer, no scheduler")
        << QtPrinter::Destination::defaultPrinter() << true << QStringLiteral("zonder.pdf") << QStringLiteral("zonder.pdf");
}

void TestPrinter::noPrinter()
{
    QFETCH(QtPrinter::Destination, destination);
    QFETCH(bool, withoutScheduler);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    dialogs.savePath = chosen.isEmpty() ? QString() : folder.filePath(chosen);
    bool printed = false;
    auto print = [&] {
        QtPrinter printer(dialogs, destination);
        printSample(printer, QStringLiteral("bewaard"));
        printed = printer.endDocument();
    };
    if (withoutScheduler) {
        const QByteArray oldServer = qgetenv("CUPS_SERVER");
        const bool hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
        qputenv("CUPS_SERVER", folder.filePath(QStringLiteral("no-such.sock")).toLocal8Bit());
        QThread *thread = QThread::create(print);
        thread->start();
        const bool finished = thread->wait(QDeadlineTimer(60000));
        hadServer ? qputenv("CUPS_SERVER", oldServer) : qunsetenv("CUPS_SERVER");
        QVERIFY(finished);
        delete thread;
    } else {
        print();
    }

    QCOMPARE(printed, !chosen.isEmpty());
    QCOMPARE(dialogs.shown.size(), size_t(1));
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("Geen printer aanwezig / of staat niet aan...("));
    QCOMPARE(dialogs.shown[0].title, QStringLiteral(" Print"));
    QCOMPARE(dialogs.shown[0].buttons, Dialogs::Buttons::Ok);
    QCOMPARE(dialogs.proposals.size(), 1);
    QCOMPARE(QFileInfo(dialogs.proposals[0]).absolutePath(), QDir::homePath());
    QCOMPARE(QFileInfo(dialogs.proposals[0]).suffix(), QStringLiteral("pdf"));
    if (written.isEmpty())
        return;
    const QString text = PdfTools::text(folder.filePath(written));
    QString missing;
    QVERIFY2(inOrder(text, sampleTexts(), &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
}

void TestPrinter::failureIsReported()
{
    // A PDF that cannot be written is no printout: the user hears so, with the reason.
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs, QtPrinter::Destination::pdfFile(QStringLiteral("/proc/1/geen-map/afdruk.pdf")));
    printSample(printer, QStringLiteral("mislukt"));
    QVERIFY(!printer.endAndReport(dialogs));
    QCOMPARE(dialogs.shown.size(), size_t(1));
    QVERIFY2(dialogs.shown[0].text.startsWith(QStringLiteral("Het afdrukken is mislukt: ")), qPrintable(dialogs.shown[0].text));
    QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("/proc/1/geen-map/afdruk.pdf")));
    // Choosing not to keep the pages is no failure.
    ScriptedDialogs cancelled;
    QtPrinter none(cancelled, QtPrinter::Destination::noPrinter());
    printSample(none, QStringLiteral("niet"));
    QVERIFY(!none.endAndReport(cancelled));
    QCOMPARE(cancelled.shown.size(), size_t(1)); // only the missing printer
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
