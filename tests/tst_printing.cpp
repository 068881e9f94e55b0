// The print window and its four printouts, read from the recording printer; the recording
// printer's lines and pages, and the Qt printer that puts them on paper or in a PDF file.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "testing/Fakes.h"
#include "support/PdfTools.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Text = RecordingPrinter::Text;
using Picture = RecordingPrinter::Picture;

QString where(const Text &text)
{
    return QStringLiteral("%1@%2,%3p%4").arg(text.text).arg(text.at.x()).arg(text.at.y()).arg(text.page);
}

// The print window on a subject of 41 pictures, the second named in lower case, the third one broken.
struct Print : WindowFixture<Afdrukken>
{
    Print()
    {
        QStringList files;
        for (int i = 1; i <= 41; ++i)
            files << QString::fromLatin1(i == 2 ? "p%1.jpg" : "P%1.JPG").arg(i, 2, 10, QLatin1Char('0'));
        folder.makeSubject(QStringLiteral("dieren"), files);
        folder.write(QStringLiteral("plaatjes/dieren/P03.JPG"), "geen plaatje");
        state.Onderwerp = QStringLiteral("dieren");
        state.Plaatje = QImage(folder.file(QStringLiteral("plaatjes/dieren/P01.JPG")));
        open();
    }
    // Prints a kind of printout; the texts of what was printed.
    std::vector<Text> print(int kind) const
    {
        find<QScrollBar>("ScrollBalk")->setValue(kind);
        find<QPushButton>("PrintKnop")->click();
        return fakes.printer.texts();
    }
    // An item of the last printout, in the order it was drawn.
    RecordingPrinter::Item item(size_t index) const { return fakes.printer.documents().back().at(index); }
};
}

using Destination = QtPrinter::Destination;
Q_DECLARE_METATYPE(Destination)

class TestPrinting : public QObject
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
            << QStringList{" Print|Het afdrukken is mislukt: de map bestaat niet (/proc/geen/afdruk.pdf)"};
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
        // Page 1 is A4, all of it printable: the heading's box as pdftotext finds it stands at the
        // page's corner and is as tall as a line of its font.
        const QImage page = PdfTools::renderFirstPage(pdf, 200, folder.path());
        const QRectF box = PdfTools::words(pdf).value(0).box;
        const double off = box.topLeft().manhattanLength()
                         + std::abs(box.height() - RecordingPrinter::lineHeight({}) / 20.0);
        QVERIFY2(qAbs(page.width() - 1654) <= 1 && qAbs(page.height() - 2339) <= 1 && off < 1, qPrintable(QDebug::toString(box)));
        // At 200 dpi, 7.2 twips a dot: blue inside 5760..8640 x 4320..5760 twips, white just outside (the top bit of each colour).
        const auto at = [&](int x, int y) { return page.pixel((QPointF(x, y) / 7.2).toPoint()) & 0x808080u; };
        QCOMPARE(QList({at(5900, 4450), at(8500, 5630), at(5600, 4160), at(8800, 5920)}),
                 QList<QRgb>({0x80, 0x80, 0x808080, 0x808080}));
    }

    // The previews of the cards and the calendar show the game picture exactly over the slot of
    // their artwork: all round it is the slot's frame, of one colour, nothing of the stand-in.
    void previewsShowThePictureOnItsSlot()
    {
        Print p;
        for (const auto &[kind, slot] : {std::pair(2, QRect(21, 34, 66, 44)), {2, {20, 111, 66, 44}}, {4, {14, 20, 101, 60}}}) {
            p.find<QScrollBar>("ScrollBalk")->setValue(kind);
            QImage frame = p.window->preview().copy(slot.adjusted(-1, -1, 1, 1));
            QPainter(&frame).fillRect(frame.rect().adjusted(1, 1, -1, -1), frame.pixelColor(0, 0));
            QCOMPARE(frame, frame.copy(0, 0, 1, 1).scaled(frame.size()));
        }
    }

    // 45 stamps, each the game picture in a frame, with the value at its top and the text at its
    // foot, white when asked.
    void stampsCarryValueAndText()
    {
        Print p;
        p.find<QCheckBox>("Check1")->click();
        const std::vector<Text> texts = p.print(3);
        QCOMPARE(texts.size(), size_t(90));
        QCOMPARE(where(texts[0]) + '|' + where(texts[1]), "\u20ac 0.39@510,495p0|Nederland@510,1650p0");
        QVERIFY(std::all_of(texts.begin(), texts.end(), [](const Text &text) { return text.color == Qt::white; }));
        QCOMPARE(std::get<Picture>(p.item(4 * 44 + 1)).picture, p.state.Plaatje);
    }

    // Five pictures to a row, eight rows to a page, each named in lower case below its place, which a
    // broken picture leaves empty. The 41st starts a page of its own, with the heading again. The
    // texts are black again after white stamps.
    void contactSheetRowsPagesAndNames()
    {
        Print p;
        p.find<QCheckBox>("Check1")->click();
        p.print(3);
        const std::vector<Text> texts = p.print(1);
        QStringList got;
        for (const Text &text : texts)
            got << where(text);
        QCOMPARE(got.size(), 43);
        QCOMPARE(QStringList({got[0], got[2], got[3], got[40], got[41], got[42]}),
                 QStringList({"Onderwerp: dieren@300,300p0", "p02@2460,2250p0", "p03@4620,2250p0", "p40@8940,16250p0",
                              "Onderwerp: dieren@300,300p1", "p41@300,2250p1"}));
        QVERIFY(std::all_of(texts.begin(), texts.end(), [](const Text &text) { return text.color == Qt::black; }));
        QCOMPARE(p.fakes.printer.documents().back().size(), size_t(43 + 40));
        // The fourth picture comes after the heading, two pictures and three names.
        QVERIFY(TestFolder::shows(std::get<Picture>(p.item(6)).picture, QStringLiteral("P04.JPG")));
    }

    // A click on Print during the scan starts no second run; Exit then closes the window once the
    // page is printed: two cards, each with the game picture on top, the second one lower. Each card
    // is twelve lines of frames, its decoration and the picture.
    void cardsPrintOnceAndExitWaits()
    {
        Print p;
        p.fakes.waiter.onWait = [&, waits = 0](double) mutable {
            if (waits++ > 0)
                return;
            p.find<QPushButton>("PrintKnop")->click();
            p.find<QPushButton>("ExitKnop")->click();
            QVERIFY(p.window->isVisible());
        };
        p.print(2);
        QCOMPARE(p.fakes.printer.documents().size(), size_t(1));
        QVERIFY(!p.window->isVisible());
        const Picture card = std::get<Picture>(p.item(2 * 14 - 1));
        QVERIFY(card.page == 0 && card.target == QRect(780, 9180, 7350, 5120) && card.picture == p.state.Plaatje);
    }

    void calendar_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("printed");
        // Years in and outside the list, and every kind of year: leap or not, starting on each weekday.
        for (int year : {1, 1900, 2000, 2100, 2400, 9999})
            QTest::addRow("%d", year) << QString::number(year) << true;
        for (int year = 2003; year <= 2030; ++year)
            QTest::addRow("%d", year) << QString::number(year) << true;
        for (const char *year : {"", "20x3", "3000000000", "0", "10000"})
            QTest::addRow("refused \"%s\"", year) << QString::fromLatin1(year) << false;
    }

    // Every day of each month under its weekday, Sunday first, weekends in red.
    // Anything but a whole year from 1 to 9999 is refused with a message.
    void calendar()
    {
        QFETCH(QString, year);
        QFETCH(bool, printed);
        Print p;
        p.find<QComboBox>("Combo1")->setEditText(year);
        const std::vector<Text> texts = p.print(4);
        const QString asked = QStringLiteral("Tuurbord|Vul een jaartal in: een heel getal van 1 tot en met 9999.");
        QCOMPARE(p.fakes.dialogs.said, printed ? QStringList() : QStringList{asked});
        QCOMPARE(p.fakes.printer.documents().size(), size_t(printed));
        if (!printed)
            return;
        QStringList got;
        for (const Text &text : texts)
            if (text.font.points == 8 && text.text.startsWith(QLatin1Char(' ')))
                got << where(text) + (text.color == QColor(190, 0, 0) ? " red" : "");
        // Against Qt's own calendar: a month's cell = the weekday of its 1st (Sunday 0) + the day - 1.
        QStringList want;
        for (QDate day(year.toInt(), 1, 1); day.year() == year.toInt(); day = day.addDays(1)) {
            const int month = day.month() - 1;
            const int cell = day.addDays(1 - day.day()).dayOfWeek() % 7 + day.day() - 1;
            const QPoint at(900 + 2505 * (month % 4) + 330 * (cell % 7), 8865 + 2580 * (month / 4) + 300 * (cell / 7));
            want << QStringLiteral(" %1 @%2,%3p0").arg(day.day()).arg(at.x()).arg(at.y()) + (day.dayOfWeek() >= 6 ? " red" : "");
        }
        QCOMPARE(got, want);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
