// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/Desktop.h"
#include "platform/QtPrinter.h"
#include "support/Fakes.h"
#include "support/PdfTools.h"

#include <QDeadlineTimer>
#include <QPrinterInfo>
#include <QTest>

class TestPrintQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void printsOnTheDefaultQueue();
};

void TestPrintQueue::printsOnTheDefaultQueue()
{
    const QString pdfFolder = qEnvironmentVariable("TUURBORD_TEST_PDF_DIR");
    const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
    if (pdfFolder.isEmpty() || queue.isEmpty())
        QSKIP("no test printer: TUURBORD_TEST_PDF_DIR is not set (source tools/test-printer.sh and call "
              "start_test_printer, as root, with cups and printer-driver-cups-pdf installed)");
    QVERIFY2(QPrinterInfo::defaultPrinterName() == queue,
             qPrintable(QStringLiteral("the default printer is '%1', not the test queue '%2'")
                            .arg(QPrinterInfo::defaultPrinterName(), queue)));

    const QStringList before = PdfTools::filesIn(pdfFolder);
    const QString mark = QStringLiteral("proef%1").arg(QCoreApplication::applicationPid());
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    PdfTools::printSample(printer, mark);
    QVERIFY(printer.endDocument());
    QVERIFY2(dialogs.shown.empty(), "the printer was not found");

    // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
    QString text;
    auto printedPdf = [&] {
        const QStringList files = PdfTools::filesIn(pdfFolder);
        for (const QString &file : files) {
            if (before.contains(file))
                continue;
            text = PdfTools::text(file);
            if (text.contains(mark))
                return true;
        }
        return false;
    };
    QDeadlineTimer deadline(30000);
    bool found = printedPdf();
    while (!found && !deadline.hasExpired()) {
        QTest::qWait(200);
        found = printedPdf();
    }
    QVERIFY2(found, qPrintable(QStringLiteral("no PDF with '%1' in %2 within 30 s").arg(mark, pdfFolder)));
    QString missing;
    QVERIFY2(PdfTools::inOrder(text, PdfTools::sampleTexts(), &missing),
             qPrintable(missing + QStringLiteral(" not found in:\n") + text));
    QVERIFY(text.contains(QStringLiteral("Score-lijst ") + mark));
}

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
