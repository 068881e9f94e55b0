// Pictures that anybody can put in a subject folder, made by tests/hostile/make-corpus.py: broken,
// truncated, huge, odd and oddly named, in every format the program reads. Each is read in the
// three ways, played, loaded in the import window and printed on a contact sheet: no crash, the
// message or the silence that belongs to it, and the sound pictures beside them still work. A
// hang is left to CTest's time-out.
#include "game/Spel.h"
#include "import/Fileform.h"
#include "platform/Pictures.h"
#include "printing/PageLayouts.h"
#include "testing/Fakes.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

class TestHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString script = QStringLiteral(TUURBORD_SOURCE_DIR "/tests/hostile/make-corpus.py");
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {script, m_subject}) != 0)
            QSKIP("the corpus could not be made (Debian's python3-pil installed?)");
        QFile manifest(m_subject + QStringLiteral("/manifest.tsv"));
        QVERIFY(manifest.open(QIODevice::ReadOnly));
        for (const QByteArray &line : manifest.readAll().split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() >= 4)
                m_corpus.insert(QString::fromUtf8(f[0]), {QString::fromUtf8(f[1]), QSize(f[2].toInt(), f[3].toInt())});
        }
        QVERIFY2(m_corpus.size() >= 30, qPrintable(QString::number(m_corpus.size())));
    }

    // Whole, the top-left part and reduced agree: the part is the top-left of the whole (JPEG
    // decodes a crop from its own blocks, so within rounding), the reduction fits its box and looks
    // like the whole scaled, and every way gives 32-bit pixels with transparency on white.
    void readInThreeWays()
    {
        for (auto it = m_corpus.cbegin(); it != m_corpus.cend(); ++it) {
            const QString path = m_subject + QLatin1Char('/') + it.key();
            const Pictures::Loaded whole = Pictures::whole(path);
            if (it.value().first != QLatin1String("loads")) {
                QVERIFY2(!Pictures::region(path).ok() || whole.ok(), qPrintable(it.key()));
                continue;
            }
            QVERIFY2(whole.ok(), qPrintable(it.key() + QStringLiteral(": ") + whole.error));
            QCOMPARE(whole.image.size(), it.value().second);
            const QSize part = whole.image.size() / 2;
            const QImage region = Pictures::region(path, part).image;
            const QImage reduced = Pictures::reduced(path, QSize(40, 40)).image;
            QCOMPARE(region.size(), part);
            QVERIFY2(reduced.width() <= 40 && reduced.height() <= 40 && qMax(reduced.width(), reduced.height()) >= 39,
                     qPrintable(it.key()));
            for (const QImage *image : {&whole.image, &region, &reduced})
                QCOMPARE(image->format(), QImage::Format_RGB32);
            QVERIFY2(difference(region, whole.image.copy(QRect(QPoint(0, 0), part))) < 3, qPrintable(it.key()));
            const QImage scaled = whole.image.scaled(reduced.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            QVERIFY2(difference(reduced, scaled) < 12, qPrintable(it.key()));
        }
        // See-through clip art on white, not black.
        for (const char *name : {"gif-clipart-transparent.gif", "Maan.PNG", "webp-alpha.webp", "bmp-32bit-alpha-v4.bmp"})
            QCOMPARE(Pictures::region(m_subject + QLatin1Char('/') + QLatin1String(name)).image.pixel(0, 0), qRgb(255, 255, 255));
    }

    // Turned upright in every way: sky above, grass below, the sun on the right.
    void uprightByExif_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("whole") << int(Pictures::Way::Whole);
        QTest::newRow("top-left part") << int(Pictures::Way::Region);
        QTest::newRow("reduced") << int(Pictures::Way::Reduced);
    }

    void uprightByExif()
    {
        QFETCH(int, way);
        const QSize size = way == int(Pictures::Way::Whole) ? QSize() : QSize(120, 200) / 2;
        for (const int orientation : {3, 6, 8}) {
            const QString path = m_subject + QStringLiteral("/jpeg-exif-orientation-%1.jpg").arg(orientation);
            const QImage image = Pictures::load(path, {Pictures::Way(way), size, {}}).image;
            const int w = image.width(), h = image.height();
            QCOMPARE(image.size(), size.isValid() ? size : QSize(120, 200));
            const QRgb sky = image.pixel(w / 8, h / 4);
            QVERIFY2(qBlue(sky) > 200 && qRed(sky) < 200, qPrintable(QString::number(orientation)));
            if (way == int(Pictures::Way::Region))
                continue; // the part holds neither the grass nor the sun
            const QRgb grass = image.pixel(w / 2, h - 3), sun = image.pixel(w - w / 5, h / 13);
            QVERIFY2(qGreen(grass) > qBlue(grass) + 40, qPrintable(QString::number(orientation)));
            QVERIFY2(qRed(sun) > 200 && qBlue(sun) < 100, qPrintable(QString::number(orientation)));
        }
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
        QCOMPARE(spel.nieuwSpel(), Spel::Start::Started);
        for (int board = 0; board < 2 * spel.plaatjes().size(); ++board) {
            // The word belongs to the picture shown: a file that reads, at its own size.
            const QRegularExpression name(QLatin1Char('^') + QRegularExpression::escape(state.Woord) + "\\.[^.]+$");
            const QStringList files = spel.plaatjes().filter(name);
            QCOMPARE(files.size(), 1);
            const auto &[expect, size] = m_corpus[files[0]];
            QVERIFY2(expect != QLatin1String("refused"), qPrintable(files[0]));
            if (expect == QLatin1String("loads"))
                QCOMPARE(state.Plaatje.size(), size.boundedTo(Pictures::kGameSize));
            QVERIFY(spel.goedGeraden());
        }
    }

    void importedAndPrinted()
    {
        ProgramState state(m_program.path());
        FakeServices fakes(state);
        QDir::setCurrent(m_subject);
        Fileform window(state, fakes.services);
        QCOMPARE(window.findChild<QListWidget *>(QStringLiteral("File1"))->count(), m_corpus.size());
        auto *size = window.findChild<QLabel *>(QStringLiteral("SizeLabel"));
        for (auto it = m_corpus.cbegin(); it != m_corpus.cend(); ++it) {
            const auto &[expect, decoded] = it.value();
            // Refused, the window says so and keeps what it had loaded before.
            const QString refusal = QStringLiteral("Tuurbord|Fout bij laden picture...|") + size->text();
            fakes.dialogs.said.clear();
            window.File1_Click(it.key());
            const QString outcome = (QStringList(fakes.dialogs.said) << size->text()).join(QLatin1Char('|'));
            if (expect == QLatin1String("loads"))
                QCOMPARE(outcome, QStringLiteral("Grootte: %1 x %2 pixels").arg(decoded.width()).arg(decoded.height()));
            else if (expect == QLatin1String("refused") || !fakes.dialogs.said.isEmpty())
                QCOMPARE(outcome, refusal);
        }
        // A picture refused for its size took no memory for it: a 53-byte GIF claiming a screen of
        // 20000 x 10001 pixels would take 800 MB, a cut-off progressive JPEG 2.4 GB. The sound
        // ones here need less than a megabyte each (the sanitizers' own account comes on top).
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        QVERIFY2(usage.ru_maxrss < 400 * 1024, qPrintable(QStringLiteral("%1 kB").arg(usage.ru_maxrss)));

        // On a contact sheet every file keeps its place and its name under the heading, also those
        // that cannot be read.
        const QStringList sheet = Files::matching(m_subject, {QStringLiteral("*.jpg")});
        RecordingPrinter printer;
        PageLayouts::contactSheet(printer, QStringLiteral("gevaarlijk"), sheet, [this](const QString &file) {
            return Pictures::reduced(m_subject + QLatin1Char('/') + file, QSize(417, 302)).image;
        });
        printer.endDocument(); // a recording printer always ends well: nothing to check
        QCOMPARE(printer.texts().size(), size_t(sheet.size() + 1));
    }

private:
    // The mean difference of two pictures of one size, per colour channel.
    static double difference(const QImage &a, const QImage &b)
    {
        if (a.size() != b.size())
            return 255;
        qint64 sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
            }
        return double(sum) / (3.0 * a.width() * a.height());
    }

    QTemporaryDir m_program;
    QString m_subject = m_program.filePath(QStringLiteral("plaatjes/gevaarlijk"));
    // Each file's name, what must become of it (loads, refused or either) and its size when it loads.
    QMap<QString, std::pair<QString, QSize>> m_corpus;
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
