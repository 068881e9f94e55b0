// A printout through a real CUPS queue: the private scheduler of tools/test-printer.sh, whose
// cups-pdf queue writes each job as a PDF file. Without it the test reports itself skipped.
#include "platform/QtPrinter.h"
#include "printing/Afdrukken.h"
#include "support/PdfTools.h"
#include "support/WindowFixture.h"

#include <QDeadlineTimer>
#include <QDir>
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
        const QString queue = qEnvironmentVariable("TUURBORD_TEST_PRINTER");
        if (queue.isEmpty() || QPrinterInfo::defaultPrinterName() != queue)
            QSKIP("no test printer as the default: start_test_printer of tools/test-printer.sh, as root");
    }

    // Each kind printed from the window comes out as a PDF of one page. Its word is still text, also
    // beside pictures with transparency; the cards have none.
    void printsEveryKindFromTheWindow()
    {
        WindowFixture<Afdrukken> p;
        p.folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg", "Beer.JPG"});
        p.state.Onderwerp = QStringLiteral("dieren");
        QtPrinter printer(p.fakes.dialogs);
        Services services{p.fakes.sound, p.fakes.waiter, p.fakes.dialogs, p.fakes.random, printer};
        Afdrukken window(p.state, services);
        const std::pair<int, QString> kinds[] = {{1, "beer"}, {2, QString()}, {3, "Nederland"}, {4, "September"}};
        for (const auto &[kind, word] : kinds) {
            window.findChild<QScrollBar *>("ScrollBalk")->setValue(kind);
            const QDir pdfs(qEnvironmentVariable("TUURBORD_TEST_PDF_DIR"));
            const QStringList before = pdfs.entryList({"*.pdf"});
            window.findChild<QPushButton *>("PrintKnop")->click();
            // cups-pdf writes the file while it converts, so wait until a new one reads back whole.
            QString pdf;
            for (QDeadlineTimer deadline(30000); pdf.isEmpty() && !deadline.hasExpired(); QTest::qWait(200))
                for (const QString &file : pdfs.entryList({"*.pdf"})) {
                    const QString text = before.contains(file) ? QString() : PdfTools::text(pdfs.filePath(file));
                    if (text.count(QLatin1Char('\f')) == 1 && text.contains(word))
                        pdf = file;
                }
            QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("kind %1, '%2'").arg(kind).arg(word)));
        }
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
