#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Destination = QtPrinter::Destination;
using Font = RecordingPrinter::Font;
Q_DECLARE_METATYPE(Destination)
Q_DECLARE_METATYPE(Font)

namespace {

// A heading, a blue picture and 150 numbered lines on three pages of A4, then an empty page.
void draw(Printer &printer)
{
    QImage blue(40, 20, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    printer.printLine("Tuurbord");
    printer.drawPicture(blue, QRect(5760, 4320, 2880, 1440));
    printer.setY(7200);
    for (int i = 1; i <= 150; ++i)
        printer.printLine("regel" + Printer::number(i));
    printer.newPage();
}

}

class TestPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // No printing system at all: set before libcups first reads where its scheduler is.
    void initTestCase() { qputenv("CUPS_SERVER", "/nonexistent/tuurbord-no-scheduler.sock"); Desktop::installFontSubstitutes(); }

    void layout_data()
    {
        QTest::addColumn<Font>("font");
        QTest::addColumn<int>("pageHeight");
        QTest::addColumn<QStringList>("steps"); // a text to print, "" an empty line, "#" a picture, "@y" setY(y)
        QTest::addColumn<QString>("items"); // and where the next line would go
        const int h = RecordingPrinter::lineHeight(Font{}), h14 = RecordingPrinter::lineHeight(Font{"Arial", 14, true});
        // Each row starts at x 100, y 0.
        QTest::newRow("down a line each, back to x 0") << Font{"Arial", 14, true} << 16838 - 2 * 283 << QStringList{"a", "", "b"}
                                                       << QStringLiteral("a p0 100,0; b p0 0,%1; next 0,%2").arg(2 * h14).arg(3 * h14);
        // The page turns when the next line is printed, so what is drawn before it stays on the old page.
        QTest::newRow("four lines fit exactly") << Font{} << 4 * h << QStringList{"0", "1", "2", "3", "#", "4"}
            << QStringLiteral("0 p0 100,0; 1 p0 0,%1; 2 p0 0,%2; 3 p0 0,%3; picture p0; 4 p1 0,0; next 0,%1").arg(h).arg(2 * h).arg(3 * h);
        QTest::newRow("one twip short of four") << Font{} << 4 * h - 1 << QStringList{"0", "1", "2", "3", "#", "4"}
            << QStringLiteral("0 p0 100,0; 1 p0 0,%1; 2 p0 0,%2; 3 p1 0,0; picture p1; 4 p1 0,%1; next 0,%2").arg(h).arg(2 * h);
        // A page lower than one line still takes one, instead of leaving a blank page; a line placed
        // with setY stays where it was placed.
        QTest::newRow("page lower than a line") << Font{} << 100 << QStringList{"a", "@50", "b", "c"}
                                                << QStringLiteral("a p0 100,0; b p0 0,50; c p1 0,0; next 0,%1").arg(h);
    }

    // The layout of a document, and then the next one: it starts afresh, on page 0 at 0,0 in Arial 10 pt, black.
    void layout()
    {
        QFETCH(Font, font);
        QFETCH(int, pageHeight);
        QFETCH(QStringList, steps);
        QFETCH(QString, items);
        // Every text and picture of the last document with its page, a text with its top-left too.
        const auto itemsOf = [](const RecordingPrinter &printer) {
            QStringList items;
            for (const RecordingPrinter::Item &item : printer.documents().back()) {
                const auto *text = std::get_if<RecordingPrinter::Text>(&item);
                items << (text ? QStringLiteral("%1 p%2 %3,%4").arg(text->text).arg(text->page).arg(text->at.x()).arg(text->at.y())
                               : QStringLiteral("picture p%1").arg(std::get<RecordingPrinter::Picture>(item).page));
            }
            return items.join("; ");
        };
        RecordingPrinter printer(pageHeight);
        printer.setFontSize(font.points);
        printer.setFontBold(font.bold);
        printer.setX(100);
        for (const QString &step : steps)
            step == "#" ? printer.drawPicture({}, {}) : step.startsWith('@') ? printer.setY(step.mid(1).toInt()) : printer.printLine(step);
        const QString next = QStringLiteral("; next %1,%2").arg(printer.x()).arg(printer.y());
        printer.setFontName("Comic Sans MS");
        printer.setTextColor(Qt::red);
        printer.setX(700);
        QVERIFY(printer.endDocument());
        QCOMPARE(itemsOf(printer) + next, items);
        QCOMPARE(printer.texts().front().font, font);
        printer.printLine("nieuw");
        QVERIFY(printer.endDocument());
        QCOMPARE(itemsOf(printer), "nieuw p0 0,0");
        QCOMPARE(std::pair(printer.texts().front().font, printer.texts().front().color), std::pair(Font{"Arial", 10, false}, QColor(Qt::black)));
    }

    // A blank where a minus sign would stand, and one after the number.
    void numberFormat() { QCOMPARE(Printer::number(42) + '|' + Printer::number(0) + '|' + Printer::number(-3), " 42 | 0 |-3 "); }

    void printout_data()
    {
        QTest::addColumn<Destination>("destination"); // a PDF file is named in a fresh folder
        QTest::addColumn<QString>("chosen"); // in the save dialog; empty: Cancel
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("asked"); // the messages shown, then the file names proposed
        const QStringList missing{" Print|Geen printer aanwezig / of staat niet aan...(", QDir::home().filePath("Tuurbord-afdruk.pdf")};
        QTest::newRow("straight into a PDF file") << Destination::pdfFile("afdruk.pdf") << QString() << "afdruk.pdf" << QStringList();
        // A PDF that cannot be written is no printout: the user hears so, with the reason.
        QTest::newRow("unwritable PDF file") << Destination::pdfFile("/proc/1/geen-map/afdruk.pdf") << QString() << QString()
            << QStringList{" Print|Het afdrukken is mislukt: het bestand kan niet worden geschreven (/proc/1/geen-map/afdruk.pdf)"};
        // Choosing not to keep the pages is no failure: only the missing printer is reported.
        QTest::newRow("no printer, cancelled") << Destination::noPrinter() << QString() << QString() << missing;
        QTest::newRow("unknown queue, cancelled") << Destination::queue("tuurbord-no-such-queue") << QString() << QString() << missing;
        QTest::newRow("saved as .pdf") << Destination::noPrinter() << "scores.pdf" << "scores.pdf" << missing;
        QTest::newRow("saved without a suffix") << Destination::noPrinter() << "scores" << "scores.pdf" << missing;
        QTest::newRow("default printer, no scheduler") << Destination::defaultPrinter() << "zonder.pdf" << "zonder.pdf" << missing;
    }

    // Without a printer the user hears so and may keep the pages as a PDF file in the home folder.
    // The file holds every text, in order, on the page where the recording printer's A4 layout put
    // it, and page 1 shows the picture where it was drawn.
    void printout()
    {
        QFETCH(Destination, destination);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QStringList, asked);
        QTemporaryDir folder;
        const bool toFile = destination.kind() == Destination::Kind::PdfFile;
        ScriptedDialogs dialogs;
        dialogs.savePath = chosen.isEmpty() ? QString() : folder.filePath(chosen);
        QtPrinter printer(dialogs, toFile ? Destination::pdfFile(QDir(folder.path()).filePath(destination.name())) : destination);
        draw(printer);
        QCOMPARE(printer.endAndReport(dialogs), !written.isEmpty());
        QCOMPARE(dialogs.said + dialogs.proposals, asked);
        if (written.isEmpty())
            return;

        RecordingPrinter layout;
        draw(layout);
        QVERIFY(layout.endDocument());
        QStringList expected(layout.texts().back().page + 3); // the empty page, and nothing after the last form feed
        for (const auto &text : layout.texts())
            expected[text.page] += text.text.simplified() + '|';
        QCOMPARE(PdfTools::text(folder.filePath(written)).split('\f').replaceInStrings(QRegularExpression("\\s*\\n\\s*"), "|"), expected);
        // Page 1 is A4; the heading's box as pdftotext finds it stands at the printable area's corner
        // (283 twips, 14.15 points in) and is as tall as a line of its font.
        const QImage page = PdfTools::renderFirstPage(folder.filePath(written), 200, folder.path());
        const QRectF box = PdfTools::words(folder.filePath(written)).value(0).box;
        const double off = (box.topLeft() - QPointF(14.15, 14.15)).manhattanLength() + std::abs(box.height() - RecordingPrinter::lineHeight({}) / 20.0);
        QVERIFY2(std::abs(page.width() - 1654) <= 1 && std::abs(page.height() - 2339) <= 1 && off < 1, qPrintable(QDebug::toString(box)));
        // At 200 dpi: blue inside 5760..8640 x 4320..5760 twips, white just outside (the top bit of each colour).
        const auto at = [&](int x, int y) { return page.pixel((QPointF(283 + x, 283 + y) * (200 / 1440.0)).toPoint()) & 0x808080u; };
        QCOMPARE(QList<QRgb>({at(5900, 4450), at(8500, 5630), at(5600, 4160), at(8800, 5920)}), QList<QRgb>({0x80, 0x80, 0x808080, 0x808080}));
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
