// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"
#include "support/TestFolder.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
    QString m_pdfFolder;

    // A new PDF in the folder whose text holds the mark (any new one for an empty mark), or empty.
    QString waitForPdf(const QStringList &before, const QString &mark)
    {
        // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QTest::qWait(200))
            for (const QString &file : PdfTools::filesIn(m_pdfFolder))
                if (!before.contains(file) && (mark.isEmpty() ? PdfTools::pages(file) > 0 : PdfTools::text(file).contains(mark)))
                    return file;
        return QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        Desktop::installFontSubstitutes();
        m_pdfFolder = qEnvironmentVariable("TUURBORD_TEST_PDF_DIR");
        const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
        if (m_pdfFolder.isEmpty() || queue.isEmpty() || QPrinterInfo::defaultPrinterName() != queue)
            QSKIP(qPrintable("no test printer (source tools/test-printer.sh and call start_test_printer, as root, with cups and "
                             "printer-driver-cups-pdf installed); the default printer is '" + QPrinterInfo::defaultPrinterName() + "'"));
    }

    void printsEveryKindFromTheWindow()
    {
        const QString mark = QStringLiteral("kind%1").arg(QCoreApplication::applicationPid());
        TestFolder folder;
        folder.makeSubject(mark, {"aap.jpg", "Beer.JPG"});
        ProgramState state(folder.path());
        FakeServices fakes(state);
        ScriptedDialogs dialogs;
        QtPrinter printer(dialogs);
        Services services{fakes.sound, fakes.waiter, dialogs, fakes.random, printer};
        state.Onderwerp = mark;
        state.Plaatje = QImage(354, 254, QImage::Format_RGB32);
        const QColor green(0, 160, 0);
        state.Plaatje.fill(green);
        Afdrukken window(state, services);
        window.show();

        // A word, the twips where the program prints its line, and its size.
        struct Text { QString word; QPoint at; double points; };
        // The kind of printout, a word that tells its PDF from the others, its texts, and the twips
        // of a picture with the colour it shows there.
        struct Kind { int kind; QString mark; QList<Text> texts; QList<QPair<QPoint, QColor>> colours; };
        const QList<Kind> kinds{
            {1, mark, {{"Onderwerp:", {300, 300}, 12}, {"aap", {300, 2250}, 8}, {"beer", {2460, 2250}, 8}},
             {{{1300, 1475}, TestFolder::colourOf("aap.jpg")}, {{3460, 1475}, TestFolder::colourOf("Beer.JPG")}}},
            {2, QString(), {}, {{{4455, 4840}, green}, {{4455, 11740}, green}}},
            {3, mark, {{"\u20ac", {510, 495}, 10}, {mark, {510, 1650}, 10}, {mark, {9210, 15450}, 10}},
             {{{1417, 900}, green}, {{9000 + 1117, 14100 + 900}, green}}},
            {4, "September", {{"September", {870 + 630, 13380 + 30}, 10}, {"Zo", {870 + 60, 8220 + 360}, 8},
                              {"Za", {8385 + 6 * 330 + 60, 13380 + 360}, 8}}, {{{5860, 4410}, green}}},
        };
        for (const Kind &kind : kinds) {
            window.findChild<QScrollBar *>("ScrollBalk")->setValue(kind.kind);
            window.findChild<QLineEdit *>("Text1")->setText(mark);
            const QStringList before = PdfTools::filesIn(m_pdfFolder);
            window.findChild<QPushButton *>("PrintKnop")->click();
            QVERIFY2(dialogs.said.isEmpty(), "the printer was not found");
            const QString pdf = waitForPdf(before, kind.mark);
            QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("kind %1: no PDF within 30 s").arg(kind.kind)));

            // Twips from the printable area's corner, in points from the page's.
            const QPointF margin = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
            const auto points = [&](QPoint twips) { return margin + QPointF(twips) / 20.0; };
            const QList<PdfTools::Word> words = PdfTools::words(pdf);
            // pdftotext puts a word's top a little below the top of its line, in proportion to its
            // size; the first text of the list gives the proportion.
            double below = qQNaN(); // until the first text is found
            for (const Text &text : kind.texts) {
                const QPointF at = points(text.at);
                const auto found = std::find_if(words.begin(), words.end(), [&](const PdfTools::Word &w) {
                    return w.text == text.word && std::abs(w.box.left() - at.x()) < 1.0
                        && (qIsNaN(below) || std::abs(w.box.top() - at.y() - below * text.points) < 1.0);
                });
                QVERIFY2(found != words.end(), qPrintable(QString("kind %1: %2 not found").arg(kind.kind).arg(text.word)));
                below = qIsNaN(below) ? (found->box.top() - at.y()) / text.points : below;
            }
            // Below the top of the line, but above its baseline.
            QVERIFY2(kind.texts.isEmpty() || (below >= 0 && below < 0.5), qPrintable(QString::number(below)));
            QTemporaryDir render;
            const QImage page = PdfTools::renderFirstPage(pdf, 50, render.path());
            for (const auto &[twips, colour] : kind.colours) {
                const QColor got = page.pixelColor((points(twips) * 50 / 72.0).toPoint());
                const int off = std::max({qAbs(got.red() - colour.red()), qAbs(got.green() - colour.green()), qAbs(got.blue() - colour.blue())});
                QVERIFY2(off < 40, qPrintable(QString("kind %1: %2 instead of %3").arg(kind.kind).arg(got.name(), colour.name())));
            }
        }
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
