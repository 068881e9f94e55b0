#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The developer tool must turn every kind of bad input into a message and an exit code.
class TestFilterTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void badInput_data();
    void badInput();
    void onePixelWorks();

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
    // Text under a picture's name, and a picture whose header claims 30000 x 30000 pixels: 3.6 GB once decoded.
    for (const auto &[name, bytes] : {std::pair{"words.png", "this is no picture\n"}, {"huge.ppm", "P6\n30000 30000\n255\n"}}) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) > 0);
    }
}

TestFilterTool::Result TestFilterTool::run(const QStringList &arguments)
{
    QProcess process;
    process.start(m_tool, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.exitStatus(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestFilterTool::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("missing file") << QStringList{path("absent.png"), path("x.png"), "negatief"} << "cannot find" << 2;
    QTest::newRow("not a picture") << QStringList{path("words.png"), path("x.png"), "negatief"} << "not a picture" << 2;
    QTest::newRow("unknown filter") << QStringList{path("one.png"), path("x.png"), "sepia"} << "unknown filter" << 1;
    QTest::newRow("too large") << QStringList{path("huge.ppm"), path("x.png"), "negatief"} << "too large for memory" << 2;
    QTest::newRow("unwritable output") << QStringList{path("one.png"), path("no/such/folder/x.png"), "blur"}
                                       << "cannot write" << 3;
}

void TestFilterTool::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(int, exitCode);
    const Result result = run(arguments);
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(QStringLiteral("tuurbord-filter: ")) && result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFile::exists(path("x.png")));
}

void TestFilterTool::onePixelWorks()
{
    const Result result = run({path("one.png"), path("one-out.png"), "Negatief", "reli\u00ebf", "blur", "diffuus"});
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains(QStringLiteral("filters total")));
    const QImage written(path("one-out.png"));
    QCOMPARE(written.size(), QSize(1, 1));
    // Only the negative can change a single pixel.
    QCOMPARE(written.pixel(0, 0) & 0xffffffu, qRgb(0, 55, 245) & 0xffffffu);
}

QTEST_GUILESS_MAIN(TestFilterTool)
#include "tst_filtertool.moc"
