// Pictures that anybody can put in a subject folder, made by tests/hostile/make-corpus.py: broken,
// truncated, huge, odd and oddly named. Each is played, loaded in the import window and printed
// on a contact sheet: no crash, no hang, the message or the silence that belongs to it, and the
// sound pictures beside them still work.
#include "core/ProgramState.h"
#include "game/Spel.h"
#include "import/Fileform.h"
#include "platform/Pictures.h"
#include "printing/PageLayouts.h"
#include "support/Fakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Entry
{
    QString expect; // loads, refused or either
    QSize size;
};

// A step that takes longer than this hangs, as far as a child at the screen is concerned.
constexpr qint64 kHangMs = 2000;
}

class TestHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        m_subject = m_program.filePath(QStringLiteral("plaatjes/gevaarlijk"));
        QProcess make;
        make.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(TUURBORD_SOURCE_DIR "/tests/hostile/make-corpus.py"), m_subject});
        if (!make.waitForFinished(60000) || make.exitCode() != 0)
            QSKIP(qPrintable(QStringLiteral("the corpus could not be made (Debian's python3-pil installed?): ")
                             + QString::fromUtf8(make.readAllStandardError())));
        QFile manifest(m_subject + QStringLiteral("/manifest.tsv"));
        QVERIFY(manifest.open(QIODevice::ReadOnly));
        for (const QByteArray &line : manifest.readAll().split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() >= 4)
                m_corpus.insert(QString::fromUtf8(f[0]), {QString::fromUtf8(f[1]), QSize(f[2].toInt(), f[3].toInt())});
        }
        QVERIFY(QFile::remove(manifest.fileName()));
        QVERIFY2(m_corpus.size() >= 30, qPrintable(QString::number(m_corpus.size())));
    }

    void played_data()
    {
        QTest::addColumn<bool>("random");
        QTest::newRow("in list order") << false;
        QTest::newRow("at random") << true;
    }

    void played()
    {
        QFETCH(bool, random);
        ProgramState state(m_program.path());
        state.Onderwerp = QStringLiteral("gevaarlijk");
        state.Willekeurig = random;
        Random generator(9);
        Spel spel(state, generator);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(spel.nieuwSpel(), Spel::Start::Started);
        QSet<QString> shown;
        for (int board = 0; board < 2 * int(spel.plaatjes().size()); ++board) {
            QVERIFY2(clock.elapsed() < kHangMs, qPrintable(QStringLiteral("board %1 took %2 ms").arg(board).arg(clock.elapsed())));
            // The word belongs to the picture shown: a file that reads, at its own size.
            const QStringList files = spel.plaatjes().filter(QRegularExpression(
                QStringLiteral("^") + QRegularExpression::escape(state.Woord) + QStringLiteral("\\.[^.]{3}$")));
            QCOMPARE(files.size(), 1);
            const Entry entry = m_corpus.value(files.first());
            QVERIFY2(entry.expect != QLatin1String("refused"), qPrintable(files.first()));
            if (entry.expect == QLatin1String("loads"))
                QCOMPARE(state.Plaatje.size(), entry.size);
            shown << files.first();
            clock.restart();
            QVERIFY(spel.goedGeraden());
        }
        // In list order every game picture that reads comes in turn.
        for (const QString &file : spel.plaatjes())
            if (!random && m_corpus.value(file).expect == QLatin1String("loads"))
                QVERIFY2(shown.contains(file), qPrintable(file));
    }

    void imported()
    {
        ProgramState state(m_program.path());
        FakeServices fakes(state);
        QDir::setCurrent(m_subject);
        Fileform window(state, fakes.services);
        window.show();
        auto *size = window.findChild<QLabel *>(QStringLiteral("SizeLabel"));
        int listed = 0;
        for (auto it = m_corpus.cbegin(); it != m_corpus.cend(); ++it) {
            const QString suffix = QFileInfo(it.key()).suffix().toLower();
            if (!QStringList{"bmp", "gif", "jpg", "jpeg", "png"}.contains(suffix))
                continue;
            ++listed;
            fakes.dialogs.shown.clear();
            const QString before = size->text();
            QElapsedTimer clock;
            clock.start();
            window.File1_Click(it.key());
            QVERIFY2(clock.elapsed() < kHangMs, qPrintable(it.key()));
            const bool refused = !fakes.dialogs.shown.empty();
            if (refused) { // and what was loaded before stays
                QCOMPARE(fakes.dialogs.shown.back().text, QStringLiteral("Fout bij laden picture..."));
                QCOMPARE(size->text(), before);
            }
            if (it->expect == QLatin1String("loads")) {
                QVERIFY2(!refused, qPrintable(it.key()));
                QCOMPARE(size->text(), QStringLiteral("Grootte: %1 x %2 pixels").arg(it->size.width()).arg(it->size.height()));
            } else if (it->expect == QLatin1String("refused")) {
                QVERIFY2(refused, qPrintable(it.key()));
            }
        }
        QCOMPARE(window.findChild<QListWidget *>(QStringLiteral("File1"))->count(), listed);
        QDir::setCurrent(QDir::tempPath());
    }

    void printed()
    {
        const QStringList sheet = Files::matching(m_subject, {QStringLiteral("*.jpg")});
        RecordingPrinter printer;
        QStringList slow;
        PageLayouts::contactSheet(printer, QStringLiteral("gevaarlijk"), sheet, [&](const QString &file) {
            QElapsedTimer clock;
            clock.start();
            QImage picture = Pictures::load(m_subject + QLatin1Char('/') + file).image;
            if (clock.elapsed() > kHangMs)
                slow << file;
            return picture;
        });
        QVERIFY(printer.endDocument());
        QVERIFY2(slow.isEmpty(), qPrintable(slow.join(QLatin1Char(' '))));
        int pictures = 0;
        int captions = 0;
        for (const RecordingPrinter::Item &item : printer.documents().back()) {
            pictures += std::holds_alternative<RecordingPrinter::Picture>(item);
            captions += std::holds_alternative<RecordingPrinter::Text>(item);
        }
        int readable = 0;
        int unsure = 0;
        for (const QString &file : sheet) {
            readable += m_corpus.value(file).expect == QLatin1String("loads");
            unsure += m_corpus.value(file).expect == QLatin1String("either");
        }
        // Every file keeps its place and its name; those that cannot be read stay empty.
        QCOMPARE(captions, int(sheet.size()) + 1);
        QVERIFY2(pictures >= readable && pictures <= readable + unsure, qPrintable(QString::number(pictures)));
    }

private:
    QTemporaryDir m_program;
    QString m_subject;
    QMap<QString, Entry> m_corpus;
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
