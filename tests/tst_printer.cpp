// The recording printer's lines and pages, and the Qt printer that puts them on paper or in a PDF file.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Destination = QtPrinter::Destination;
Q_DECLARE_METATYPE(Destination)

class TestPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // No printing system at all: set before libcups first reads where its scheduler is.
    void initTestCase()
    {
        qputenv("CUPS_SERVER", "/nonexistent/tuurbord-no-scheduler.sock");
        Desktop::installFontSubstitutes();
    }

    // Each row prints from x 100, y 0: a text to print, "" an empty line, "@y" setY(y). Then come the
    // texts with their page and place.
    void layout_data()
    {
        QTest::addColumn<int>("pageHeight");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("items");
        const int h = RecordingPrinter::lineHeight({});
        // The page turns when a line does not fit any more.
        QTest::newRow("one twip short of four lines") << 4 * h - 1 << QStringList{"0", "", "2", "3", "4"}
            << QStringLiteral("0 p0 100,0; 2 p0 0,%2; 3 p1 0,0; 4 p1 0,%1").arg(h).arg(2 * h);
        // A page lower than one line still takes one, instead of leaving a blank page; a line placed
        // with setY stays where it was placed.
        QTest::newRow("page lower than a line") << 100 << QStringList{"a", "@50", "b", "c"}
                                                << QStringLiteral("a p0 100,0; b p0 0,50; c p1 0,0");
    }

    // A document in another font comes first: the next one starts afresh all the same.
    void layout()
    {
        QFETCH(int, pageHeight);
        QFETCH(QStringList, steps);
        RecordingPrinter printer(pageHeight);
        printer.setFontName("Courier New");
        printer.setFontSize(14);
        printer.printLine("vorige");
        QVERIFY(printer.endDocument());
        printer.setX(100);
        for (const QString &step : steps)
            step.startsWith('@') ? printer.setY(step.mid(1).toInt()) : printer.printLine(step);
        QVERIFY(printer.endDocument());
        QStringList got;
        for (const RecordingPrinter::Text &text : printer.texts())
            got << QStringLiteral("%1 p%2 %3,%4").arg(text.text).arg(text.page).arg(text.at.x()).arg(text.at.y());
        QTEST(got.join("; "), "items");
    }

    void printout_data()
    {
        QTest::addColumn<Destination>("destination"); // a PDF file is named in a fresh folder
        QTest::addColumn<QString>("chosen"); // in the save dialog; empty: Cancel
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("asked"); // the messages shown, then the file names proposed
        const QStringList missing{" Print|Geen printer aanwezig / of staat niet aan...(",
                                  QDir::home().filePath("Tuurbord-afdruk.pdf")};
        QTest::newRow("into a PDF file") << Destination::pdfFile("afdruk.pdf") << QString() << "afdruk.pdf" << QStringList();
        // A PDF that cannot be written is no printout: the user hears so, with the reason.
        QTest::newRow("unwritable PDF file") << Destination::pdfFile("/proc/geen/afdruk.pdf") << QString() << QString()
            << QStringList{" Print|Het afdrukken is mislukt: het bestand kan niet worden geschreven (/proc/geen/afdruk.pdf)"};
        // Choosing not to keep the pages is no failure: only the missing printer is reported.
        QTest::newRow("no scheduler, cancelled") << Destination::defaultPrinter() << QString() << QString() << missing;
        QTest::newRow("no printer, saved without a suffix") << Destination::noPrinter() << "scores" << "scores.pdf" << missing;
    }

    // Without a printer the user hears so and may keep the pages as a PDF file in the home folder.
    // The file holds every text, in order, on the page where the A4 layout put it, and page 1 shows the
    // picture where it was drawn.
    void printout()
    {
        QFETCH(Destination, destination);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QTemporaryDir folder;
        const bool toFile = destination.kind() == Destination::Kind::PdfFile;
        ScriptedDialogs dialogs;
        dialogs.savePath = chosen.isEmpty() ? QString() : folder.filePath(chosen);
        QtPrinter printer(dialogs, toFile ? Destination::pdfFile(QDir(folder.path()).filePath(destination.name())) : destination);
        // A heading, a blue picture and 150 numbered lines on three pages of A4, then an empty page.
        QImage blue(40, 20, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        printer.printLine("Tuurbord");
        printer.drawPicture(blue, QRect(5760, 4320, 2880, 1440));
        printer.setY(7200);
        for (int i = 1; i <= 150; ++i)
            printer.printLine("regel" + Printer::number(i));
        printer.newPage();
        QCOMPARE(printer.endAndReport(dialogs), !written.isEmpty());
        QTEST(dialogs.said + dialogs.proposals, "asked");
        if (written.isEmpty())
            return;
        const QString pdf = folder.filePath(written);
        QStringList expected(5); // three pages of lines, the empty page, and nothing after the last form feed
        for (const auto &text : printer.texts())
            expected[text.page] += text.text.simplified() + '|';
        QCOMPARE(PdfTools::text(pdf).split('\f').replaceInStrings(QRegularExpression("\\s*\\n\\s*"), "|"), expected);
        // Page 1 is A4; the heading's box as pdftotext finds it stands at the printable area's corner
        // (283 twips, 14.15 points in) and is as tall as a line of its font.
        const QImage page = PdfTools::renderFirstPage(pdf, 200, folder.path());
        const QRectF box = PdfTools::words(pdf).value(0).box;
        const double off = (box.topLeft() - QPointF(14.15, 14.15)).manhattanLength()
                         + std::abs(box.height() - RecordingPrinter::lineHeight({}) / 20.0);
        QVERIFY2(qAbs(page.width() - 1654) <= 1 && qAbs(page.height() - 2339) <= 1 && off < 1, qPrintable(QDebug::toString(box)));
        // At 200 dpi, 7.2 twips a dot: blue inside 5760..8640 x 4320..5760 twips, white just outside (the top bit of each colour).
        const auto at = [&](int x, int y) { return page.pixel((QPointF(283 + x, 283 + y) / 7.2).toPoint()) & 0x808080u; };
        QCOMPARE(QList({at(5900, 4450), at(8500, 5630), at(5600, 4160), at(8800, 5920)}),
                 QList<QRgb>({0x80, 0x80, 0x808080, 0x808080}));
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
