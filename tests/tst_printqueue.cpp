// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "scores/ScoreEntry.h"
#include "support/PdfTools.h"
#include "support/WindowFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
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

    // Each kind printed from the window, and the score list, comes out on the queue and kept as a PDF
    // file (when there is no printer) as one page, in place to a point of its twips from the page's
    // top-left, as the queue states the whole page printable and a PDF file is: a word starts at its
    // line's left and lies within the line, a picture's top-left corner is where it was drawn. (The
    // queue's fonts come back boxed by their glyphs, not by the line.) The words are still text, also
    // beside pictures with transparency.
    void printsEveryKindInPlace()
    {
        WindowFixture<Afdrukken> p;
        p.folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg", "Beer.JPG"});
        p.state.Onderwerp = QStringLiteral("dieren");
        p.state.Plaatje = QImage(40, 20, QImage::Format_RGB32);
        p.state.Plaatje.fill(Qt::blue);
        QTemporaryDir kept;
        p.fakes.dialogs.savePath = kept.filePath("afdruk.pdf");
        // The kind (0: the score list), a word, the top-left of its line and of a picture, in twips.
        const std::tuple<int, QString, QPoint, QPoint> kinds[] = {
            {1, "Onderwerp:", {300, 300}, {300, 750}}, {2, QString(), {}, {780, 2280}},
            {3, "Nederland", {510, 1650}, {}}, {4, "September", {1500, 13410}, {}}, {0, "Op", {300, 1200}, {}}};
        for (const bool queue : {true, false}) {
            QtPrinter printer(p.fakes.dialogs, queue ? QtPrinter::Destination::defaultPrinter() : QtPrinter::Destination::noPrinter());
            Services services{p.fakes.sound, p.fakes.waiter, p.fakes.dialogs, p.fakes.random, printer};
            Afdrukken window(p.state, services);
            for (const auto &[kind, word, line, picture] : kinds) {
                const QDir pdfs(queue ? qEnvironmentVariable("TUURBORD_TEST_PDF_DIR") : kept.path());
                const QStringList before = queue ? pdfs.entryList({"*.pdf"}) : QStringList();
                if (kind > 0) {
                    window.findChild<QScrollBar *>("ScrollBalk")->setValue(kind);
                    window.findChild<QPushButton *>("PrintKnop")->click();
                } else {
                    ScoreEntry::print(printer, {"00042 - jan"});
                    QVERIFY(printer.endDocument());
                }
                // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
                QString pdf;
                for (QDeadlineTimer deadline(30000); pdf.isEmpty() && !deadline.hasExpired(); QTest::qWait(200))
                    for (const QString &file : pdfs.entryList({"*.pdf"})) {
                        const QString text = before.contains(file) ? QString() : PdfTools::text(pdfs.filePath(file));
                        if (text.count(QLatin1Char('\f')) == 1 && text.contains(word))
                            pdf = pdfs.filePath(file);
                    }
                const QString what = QStringLiteral("%1, kind %2 '%3'").arg(queue ? "queue" : "PDF file").arg(kind).arg(word);
                QVERIFY2(!pdf.isEmpty(), qPrintable(what));
                const auto texts = printer.texts();
                const auto text = std::find_if(texts.begin(), texts.end(), [&](const auto &t) { return t.at == line; });
                const QRectF lineBox(line / 20.0, QSizeF(1000, text == texts.end() ? 0 : RecordingPrinter::lineHeight(text->font) / 20.0));
                const QList<PdfTools::Word> words = PdfTools::words(pdf);
                QVERIFY2(word.isEmpty() || std::any_of(words.begin(), words.end(), [&](const PdfTools::Word &w) {
                    return w.text == word && qAbs(w.box.left() - lineBox.left()) <= 1 && lineBox.adjusted(-1, -1, 1, 1).contains(w.box);
                }), qPrintable(what));
                // At 72 dpi a pixel is a point: paper white just outside the picture's corner, not just inside.
                const QImage page = PdfTools::renderFirstPage(pdf, 72, kept.path());
                const auto white = [&](int d) { return (page.pixel(picture / 20 + QPoint(d, d)) & 0xe0e0e0u) == 0xe0e0e0u; };
                QVERIFY2(picture.isNull() || (white(-1) && !white(1)), qPrintable(what));
            }
        }
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
