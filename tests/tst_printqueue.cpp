// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"
#include "printing/Afdrukken.h"
#include "scores/ScoreEntry.h"
#include "support/TestFolder.h"

#include <QRegularExpression>

#include <QDeadlineTimer>
#include <QPrinterInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void printsEveryKindFromTheWindow();
    void printsTheScoreList();

private:
    bool haveQueue(QString *pdfFolder);
    // Waits for a new PDF in the folder whose text holds the mark (any new one for an empty mark);
    // its path, or empty.
    QString waitForPdf(const QString &pdfFolder, const QStringList &before, const QString &mark);
};

bool TestPrintQueue::haveQueue(QString *pdfFolder)
{
    *pdfFolder = qEnvironmentVariable("TUURBORD_TEST_PDF_DIR");
    const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
    if (pdfFolder->isEmpty() || queue.isEmpty())
        return false;
    if (QPrinterInfo::defaultPrinterName() != queue)
        qWarning("the default printer is '%s', not the test queue '%s'", qPrintable(QPrinterInfo::defaultPrinterName()),
                 qPrintable(queue));
    return QPrinterInfo::defaultPrinterName() == queue;
}

QString TestPrintQueue::waitForPdf(const QString &pdfFolder, const QStringList &before, const QString &mark)
{
    // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
    QDeadlineTimer deadline(30000);
    for (;;) {
        for (const QString &file : PdfTools::filesIn(pdfFolder)) {
            if (before.contains(file))
                continue;
            if (mark.isEmpty() ? PdfTools::pages(file) > 0 : PdfTools::text(file).contains(mark))
                return file;
        }
        if (deadline.hasExpired())
            return QString();
        QTest::qWait(200);
    }
}

void TestPrintQueue::printsTheScoreList()
{
    QString pdfFolder;
    if (!haveQueue(&pdfFolder))
        QSKIP("no test printer: TUURBORD_TEST_PDF_DIR is not set (source tools/test-printer.sh and call "
              "start_test_printer, as root, with cups and printer-driver-cups-pdf installed)");
    const QStringList before = PdfTools::filesIn(pdfFolder);
    const QString mark = QStringLiteral("lijst%1").arg(QCoreApplication::applicationPid());
    QStringList bestFirst;
    for (int i = 0; i < 12; ++i)
        bestFirst << ScoreEntry::form(120 - i * 10, mark + QLatin1Char('a' + i));
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    ScoreEntry::print(printer, bestFirst);
    QVERIFY(printer.endDocument());
    QVERIFY2(dialogs.shown.empty(), "the printer was not found");

    const QString pdf = waitForPdf(pdfFolder, before, mark);
    QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no PDF with '%1' in %2 within 30 s").arg(mark, pdfFolder)));
    const QString text = PdfTools::text(pdf);
    QStringList lines{QStringLiteral("Score-lijst Tuurbord")};
    for (int i = 0; i < 12; ++i)
        lines << QStringLiteral("Op de %1e plaats staat... %2 met %3 punten.").arg(i + 1).arg(mark + QLatin1Char('a' + i)).arg(120 - i * 10);
    QString missing;
    QVERIFY2(PdfTools::inOrder(text, lines, &missing), qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    // An empty line parts the 9th place from the 10th, and only there.
    const QRegularExpression gap(QStringLiteral(R"(Op de 9e[^\n]*\n[ \t]*\n\s*Op de 10e)"));
    QVERIFY2(gap.match(text).hasMatch(), qPrintable(text));
    const QRegularExpression noGap(QStringLiteral(R"(Op de 8e[^\n]*\n[ \t]*Op de 9e)"));
    QVERIFY2(noGap.match(text).hasMatch(), qPrintable(text));
}

void TestPrintQueue::printsEveryKindFromTheWindow()
{
    QString pdfFolder;
    if (!haveQueue(&pdfFolder))
        QSKIP("no test printer: TUURBORD_TEST_PDF_DIR is not set (source tools/test-printer.sh and call "
              "start_test_printer, as root, with cups and printer-driver-cups-pdf installed)");
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
    state.Plaatje.fill(QColor(0, 160, 0));
    Afdrukken window(state, services);
    window.show();

    struct Text {
        QString word;
        QPoint at; // twips: where the program prints the text's line
        double points;
    };
    struct Kind {
        int kind;
        QString mark; // a word that tells its PDF from the others
        QList<Text> texts;
        QList<QPair<QPoint, QColor>> colours; // twips of a picture and the colour it shows there
    };
    const QColor green(0, 160, 0);
    const QList<Kind> kinds{
        {1, mark, {{QStringLiteral("Onderwerp:"), {300, 300}, 12}, {QStringLiteral("aap"), {300, 2250}, 8},
                   {QStringLiteral("beer"), {2460, 2250}, 8}},
         {{{1300, 1475}, TestFolder::colourOf(QStringLiteral("aap.jpg"))}, {{3460, 1475}, TestFolder::colourOf(QStringLiteral("Beer.JPG"))}}},
        {2, QString(), {}, {{{4455, 4840}, green}, {{4455, 11740}, green}}},
        {3, mark, {{QString::fromUtf8("\u20ac"), {510, 495}, 10}, {mark, {510, 1650}, 10}, {mark, {9210, 15450}, 10}},
         {{{1417, 900}, green}, {{9000 + 1117, 14100 + 900}, green}}},
        {4, QStringLiteral("September"), {{QStringLiteral("September"), {870 + 630, 13380 + 30}, 10},
                                        {QStringLiteral("Zo"), {870 + 60, 8220 + 360}, 8},
                                        {QStringLiteral("Za"), {8385 + 6 * 330 + 60, 13380 + 360}, 8}},
         {{{5860, 4410}, green}}},
    };
    for (const Kind &kind : kinds) {
        window.findChild<QScrollBar *>(QStringLiteral("ScrollBalk"))->setValue(kind.kind);
        window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(mark);
        const QStringList before = PdfTools::filesIn(pdfFolder);
        window.findChild<QPushButton *>(QStringLiteral("PrintKnop"))->click();
        QVERIFY2(dialogs.shown.empty(), "the printer was not found");
        const QString pdf = waitForPdf(pdfFolder, before, kind.mark);
        QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("kind %1: no PDF within 30 s").arg(kind.kind)));

        // Twips from the printable area's corner, in points from the page's.
        const QPointF margin = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
        const auto points = [&](QPoint twips) { return margin + QPointF(twips) / 20.0; };
        const QList<PdfTools::Word> words = PdfTools::words(pdf);
        // pdftotext puts a word's top a little below the top of its line, in proportion to its
        // size; the first text of the list gives the proportion.
        double below = -1;
        for (const Text &text : kind.texts) {
            const auto found = std::find_if(words.begin(), words.end(), [&](const PdfTools::Word &w) {
                return w.text == text.word && std::abs(w.box.left() - points(text.at).x()) < 1.0
                    && (below < 0 || std::abs(w.box.top() - points(text.at).y() - below * text.points) < 1.0);
            });
            QVERIFY2(found != words.end(), qPrintable(QStringLiteral("kind %1: '%2' at %3, %4 twips not found")
                                                          .arg(kind.kind).arg(text.word).arg(text.at.x()).arg(text.at.y())));
            if (below < 0)
                below = (found->box.top() - points(text.at).y()) / text.points;
        }
        QVERIFY(below < 0.5);
        const int dpi = 50;
        QTemporaryDir render;
        const QImage page = PdfTools::renderFirstPage(pdf, dpi, render.path());
        QVERIFY(!page.isNull());
        for (const auto &[twips, colour] : kind.colours) {
            const QPointF at = points(twips) * dpi / 72.0;
            const QColor got = page.pixelColor(at.toPoint());
            QVERIFY2(std::abs(got.red() - colour.red()) < 40 && std::abs(got.green() - colour.green()) < 40
                         && std::abs(got.blue() - colour.blue()) < 40,
                     qPrintable(QStringLiteral("kind %1 at %2, %3: %4 instead of %5").arg(kind.kind).arg(twips.x())
                                    .arg(twips.y()).arg(got.name(), colour.name())));
        }
    }
}

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
