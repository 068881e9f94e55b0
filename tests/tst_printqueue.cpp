// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "scores/ScoreForm.h"
#include "support/PdfTools.h"
#include "support/WindowFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
        if (queue.isEmpty() || QPrinterInfo::defaultPrinterName() != queue)
            QSKIP("no test printer as the default: start_test_printer of tools/test-printer.sh, as root");
    }

    // Each kind printed from the window, and the score list, comes out as a PDF of one page with its
    // places counted from the page's top-left, as the queue states the whole page printable: a word
    // starts within a point of its line's left, its box less than 3 points below the line's top (the
    // queue's fonts come back boxed by their glyphs, not by the line), and a picture's top-left
    // corner has paper half a point left of it and above it, and picture half a point inside. The
    // words are still text, also beside pictures with transparency.
    void printsEveryKindInPlace()
    {
        WindowFixture<Afdrukken> p;
        p.folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg", "Beer.JPG"});
        p.state.Onderwerp = QStringLiteral("dieren");
        p.state.Plaatje = QImage(p.folder.file(QStringLiteral("plaatjes/dieren/aap.jpg")));
        QtPrinter printer(p.fakes.dialogs);
        Services services{p.fakes.sound, p.fakes.waiter, p.fakes.dialogs, p.fakes.random, printer};
        Afdrukken window(p.state, services);
        const QDir pdfs(qEnvironmentVariable("TUURBORD_TEST_PDF_DIR"));
        // The kind (0: the score list), a word and the top-left of its line, or no word and a picture's.
        const std::tuple<int, QString, QPoint> kinds[] = {{1, "Onderwerp:", {300, 300}}, {1, QString(), {300, 750}},
            {2, QString(), {780, 2280}}, {3, "Nederland", {510, 1650}}, {4, "September", {1500, 13410}}, {0, "Op", {300, 1200}}};
        for (const auto &[kind, word, at] : kinds) {
            const QStringList before = pdfs.entryList({"*.pdf"});
            window.findChild<QScrollBar *>("ScrollBalk")->setValue(kind);
            kind > 0 ? window.PrintKnop_Click() : ScoreForm::printList(printer, {"00042 - jan"});
            QVERIFY(kind > 0 || printer.endDocument()); // the window ends its own documents
            // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
            QString pdf;
            for (QDeadlineTimer deadline(30000); pdf.isEmpty() && !deadline.hasExpired(); QTest::qWait(200))
                for (const QString &file : pdfs.entryList({"*.pdf"})) {
                    const QString text = before.contains(file) ? QString() : PdfTools::text(pdfs.filePath(file));
                    if (text.count(QLatin1Char('\f')) == 1 && text.contains(word))
                        pdf = pdfs.filePath(file);
                }
            const QRectF start(at / 20.0 - QPointF(1, 1), QSizeF(2, 4)); // where the word's box may start, in points
            const auto placed = [&](const PdfTools::Word &w) { return w.text == word && start.contains(w.box.topLeft()); };
            const QImage page = PdfTools::renderFirstPage(pdf, 144, pdfs.path()); // half a point a pixel
            const auto paper = [&](int x, int y) { return (page.pixel(at / 10 + QPoint(x, y)) & 0xe0e0e0u) == 0xe0e0e0u; };
            const bool inPlace = word.isEmpty() ? paper(-1, 1) && paper(1, -1) && !paper(1, 1)
                                                : std::ranges::any_of(PdfTools::words(pdf), placed);
            QVERIFY2(!pdf.isEmpty() && inPlace, qPrintable(QStringLiteral("kind %1, '%2'").arg(kind).arg(word)));
        }
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
