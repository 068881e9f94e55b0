// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "support/PdfTools.h"
#include "support/WindowFixture.h"

#include <QDeadlineTimer>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        Desktop::installFontSubstitutes();
        const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
        if (queue.isEmpty() || QPrinterInfo::defaultPrinterName() != queue)
            QSKIP(qPrintable("no test printer (start_test_printer of tools/test-printer.sh, as root, with cups and "
                             "printer-driver-cups-pdf); the default printer is '" + QPrinterInfo::defaultPrinterName() + "'"));
    }

    // Each kind printed from the window comes out as a PDF of one page. A word of it stands where the
    // program printed its line, its top a little below the line's top but above its baseline; the cards,
    // without a word, show the game picture where it was drawn.
    void printsEveryKindFromTheWindow()
    {
        WindowFixture<Afdrukken> p;
        p.folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg", "Beer.JPG"});
        p.state.Onderwerp = QStringLiteral("dieren");
        p.state.Plaatje = QImage(354, 254, QImage::Format_RGB32);
        p.state.Plaatje.fill(Qt::darkGreen);
        QtPrinter printer(p.fakes.dialogs);
        Services services{p.fakes.sound, p.fakes.waiter, p.fakes.dialogs, p.fakes.random, printer};
        Afdrukken window(p.state, services);
        // The kind, a word of its page with the twips of its line and its size in points.
        const struct { int kind; QString word; QPoint at; double points; } kinds[] = {
            {1, "beer", {2460, 2250}, 8},
            {2, QString(), {4455, 11740}, 0},
            {3, "Nederland", {9210, 15450}, 10},
            {4, "September", {870 + 630, 13380 + 30}, 10},
        };
        for (const auto &kind : kinds) {
            window.findChild<QScrollBar *>("ScrollBalk")->setValue(kind.kind);
            const QStringList before = PdfTools::filesIn(qEnvironmentVariable("TUURBORD_TEST_PDF_DIR"));
            window.findChild<QPushButton *>("PrintKnop")->click();
            // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
            QString pdf;
            for (QDeadlineTimer deadline(30000); pdf.isEmpty() && !deadline.hasExpired(); QTest::qWait(200))
                for (const QString &file : PdfTools::filesIn(qEnvironmentVariable("TUURBORD_TEST_PDF_DIR")))
                    if (!before.contains(file) && PdfTools::pages(file) > 0 && PdfTools::text(file).contains(kind.word))
                        pdf = file;
            QVERIFY2(PdfTools::pages(pdf) == 1, qPrintable(QStringLiteral("kind %1: no PDF of one page").arg(kind.kind)));
            // Twips from the printable area's corner, in points from the page's.
            const QPointF at = printer.pageLayout().paintRect(QPageLayout::Point).topLeft() + QPointF(kind.at) / 20.0;
            const QColor colour = PdfTools::renderFirstPage(pdf, 50, p.folder.path()).pixelColor((at * 50 / 72.0).toPoint());
            QVERIFY2(!kind.word.isEmpty() || (colour.green() > 90 && colour.red() < 40 && colour.blue() < 40),
                     qPrintable(colour.name()));
            const QList<PdfTools::Word> words = PdfTools::words(pdf);
            QVERIFY2(kind.word.isEmpty() || std::any_of(words.begin(), words.end(), [&](const PdfTools::Word &word) {
                return word.text == kind.word && std::abs(word.box.left() - at.x()) < 1 && word.box.top() >= at.y()
                    && word.box.top() < at.y() + kind.points / 2;
            }), qPrintable(kind.word));
        }
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
