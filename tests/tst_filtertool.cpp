#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The checksum of a PNG chunk (type and data).
quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
}

// The developer tool must turn every kind of bad input into a message and an exit code.
class TestFilterTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void badInput_data();
    void badInput();
    void onePixelWorks();
    void filtersRunInOrder();

private:
    struct Result {
        int exitCode = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        QString out;
        QString err;
    };
    Result run(const QStringList &arguments);
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QString m_tool;
    QTemporaryDir m_dir;
};

void TestFilterTool::initTestCase()
{
    m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/filter/tuurbord-filter");
    if (!QFile::exists(m_tool))
        QSKIP("tuurbord-filter is not built");
    QVERIFY(m_dir.isValid());

    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixel(0, 0, qRgb(255, 200, 10));
    QVERIFY(one.save(path("one.png")));

    QImage small(5, 4, QImage::Format_RGB32);
    small.fill(qRgb(100, 100, 100));
    QVERIFY(small.save(path("small.png")));

    QFile text(path("words.png"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("this is no picture\n");
    text.close();

    // A real PNG whose header then claims 60000 x 60000 pixels: 14 GB once decoded.
    QByteArray png;
    {
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(one.save(&buffer, "png"));
    }
    QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
    QDataStream patch(&png, QIODevice::ReadWrite);
    patch.device()->seek(16);
    patch << quint32(60000) << quint32(60000);
    patch.device()->seek(29);
    patch << crc32(png.mid(12, 17));
    QFile huge(path("huge.png"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    huge.write(png);
    huge.close();
}

TestFilterTool::Result TestFilterTool::run(const QStringList &arguments)
{
    QProcess process;
    process.start(m_tool, arguments);
    Result result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitCode();
    result.status = process.exitStatus();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void TestFilterTool::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no arguments") << QStringList{} << "usage";
    QTest::newRow("no filter") << QStringList{path("one.png"), path("x.png")} << "usage";
    QTest::newRow("missing file") << QStringList{path("absent.png"), path("x.png"), "negatief"} << "cannot find";
    QTest::newRow("not a picture") << QStringList{path("words.png"), path("x.png"), "negatief"} << "not a picture";
    QTest::newRow("unknown filter") << QStringList{path("one.png"), path("x.png"), "sepia"} << "unknown filter";
    QTest::newRow("too large") << QStringList{path("huge.png"), path("x.png"), "negatief"} << "too large";
    QTest::newRow("bad seed") << QStringList{"--seed", "abc", path("one.png"), path("x.png"), "blur"} << "--seed";
    QTest::newRow("unwritable output") << QStringList{path("one.png"), path("no/such/folder/x.png"), "blur"}
                                       << "cannot write";
}

void TestFilterTool::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Result result = run(arguments);
    QCOMPARE(result.status, QProcess::NormalExit);
    QVERIFY(result.exitCode != 0);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFile::exists(path("x.png")));
}

void TestFilterTool::onePixelWorks()
{
    const Result result = run({path("one.png"), path("one-out.png"), "negatief", "reli\u00ebf", "blur", "diffuus"});
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains(QStringLiteral("filters total")));
    const QImage written(path("one-out.png"));
    QCOMPARE(written.size(), QSize(1, 1));
    // Only the negative can change a single pixel.
    QCOMPARE(written.pixel(0, 0) & 0xffffffu, qRgb(0, 55, 245) & 0xffffffu);
}

void TestFilterTool::filtersRunInOrder()
{
    // Lighter then darker leaves 100 at 99; the other order would give 100 -> 92 -> 99 as well,
    // so grey-free proof of order needs the negative: 100 -> 155 -> 167 (lichter), not 100 -> 108 -> 147.
    const Result result = run({path("small.png"), path("small-out.png"), "NEGATIEF", "lichter"});
    QCOMPARE(result.exitCode, 0);
    const QImage written(path("small-out.png"));
    QCOMPARE(qRed(written.pixel(2, 2)), 167);
}

QTEST_GUILESS_MAIN(TestFilterTool)
#include "tst_filtertool.moc"
