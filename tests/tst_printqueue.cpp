// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"
#include "scores/ScoreEntry.h"

#include <QRegularExpression>

#include <QDeadlineTimer>
#include <QPrinterInfo>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void printsOnTheDefaultQueue();
    void printsTheScoreList();

private:
    bool haveQueue(QString *pdfFolder);
    // Waits for a new PDF in the folder whose text holds the mark; its text, or empty.
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
            const QString text = PdfTools::text(file);
            if (text.contains(mark))
                return text;
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

    const QString text = waitForPdf(pdfFolder, before, mark);
    QVERIFY2(!text.isEmpty(), qPrintable(QStringLiteral("no PDF with '%1' in %2 within 30 s").arg(mark, pdfFolder)));
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

void TestPrintQueue::printsOnTheDefaultQueue()
{
    QString pdfFolder;
    if (!haveQueue(&pdfFolder))
        QSKIP("no test printer: TUURBORD_TEST_PDF_DIR is not set (source tools/test-printer.sh and call "
              "start_test_printer, as root, with cups and printer-driver-cups-pdf installed)");

    const QStringList before = PdfTools::filesIn(pdfFolder);
    const QString mark = QStringLiteral("proef%1").arg(QCoreApplication::applicationPid());
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    PdfTools::printSample(printer, mark);
    QVERIFY(printer.endDocument());
    QVERIFY2(dialogs.shown.empty(), "the printer was not found");

    const QString text = waitForPdf(pdfFolder, before, mark);
    QVERIFY2(!text.isEmpty(), qPrintable(QStringLiteral("no PDF with '%1' in %2 within 30 s").arg(mark, pdfFolder)));
    QString missing;
    QVERIFY2(PdfTools::inOrder(text, PdfTools::sampleTexts(), &missing),
             qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    QVERIFY(text.contains(QStringLiteral("Score-lijst ") + mark));
}

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
