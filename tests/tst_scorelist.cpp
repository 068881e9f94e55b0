#include "scores/ScoreList.h"
#include "support/TestFolder.h"

#include <QTest>

class TestScoreList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsSortedInAnyOrder_data();
    void loadsSortedInAnyOrder();
    void roundTripsByteForByte();
    void insertKeepsOrder();
    void emptyListIsEmptyFile();
    void awkwardFiles_data();
    void awkwardFiles();
    void missingFileLeavesListEmpty();
};

void TestScoreList::loadsSortedInAnyOrder_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("entries");
    const QStringList three{"00010 - ann", "00035 - piet", "00042 - jan"};
    QTest::newRow("ascending") << QByteArray("\"00010 - ann\"\r\n\"00035 - piet\"\r\n\"00042 - jan\"\r\n") << three;
    QTest::newRow("mixed") << QByteArray("\"00042 - jan\"\r\n\"00010 - ann\"\r\n\"00035 - piet\"\r\n") << three;
    QTest::newRow("descending, LF only") << QByteArray("\"00042 - jan\"\n\"00035 - piet\"\n\"00010 - ann\"\n") << three;
    QTest::newRow("equal scores by name")
        << QByteArray("\"00035 - bob\"\r\n\"00035 - ann\"\r\n") << QStringList{"00035 - ann", "00035 - bob"};
    QTest::newRow("case does not count")
        << QByteArray("\"00001 - Bert\"\r\n\"00001 - anna\"\r\n\"00001 - CAS\"\r\n")
        << QStringList{"00001 - anna", "00001 - Bert", "00001 - CAS"};
    QTest::newRow("empty quoted line skipped")
        << QByteArray("\"00002 - b\"\r\n\"\"\r\n\"00001 - a\"\r\n") << QStringList{"00001 - a", "00002 - b"};
    QTest::newRow("comma inside a name") << QByteArray("\"00007 - jan, piet\"\r\n") << QStringList{"00007 - jan, piet"};
    QTest::newRow("large scores") << QByteArray("\"12345 - x\"\r\n\"04567 - y\"\r\n")
                                  << QStringList{"04567 - y", "12345 - x"};
}

void TestScoreList::loadsSortedInAnyOrder()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, entries);
    ScoreList list;
    list.load(file);
    QCOMPARE(list.entries(), entries);
}

void TestScoreList::roundTripsByteForByte()
{
    const QByteArray sorted("\"00003 - j\xfcrgen\"\r\n\"00017 - jos\xe9\"\r\n\"00017 - piet\"\r\n\"00017 - piet\"\r\n");
    const QByteArray shuffled("\"00017 - piet\"\r\n\"00017 - jos\xe9\"\r\n\"00017 - piet\"\r\n\"00003 - j\xfcrgen\"\r\n");
    TestFolder folder;
    folder.write(QStringLiteral("Vudoduzov.lst"), shuffled);
    ScoreList list;
    QVERIFY(list.loadFile(folder.file(QStringLiteral("Vudoduzov.lst"))));
    QCOMPARE(list.at(1), QStringLiteral("00017 - jos\u00e9"));
    QVERIFY(list.saveFile(folder.file(QStringLiteral("Vudoduzov.lst"))));
    QCOMPARE(folder.read(QStringLiteral("Vudoduzov.lst")), sorted);
}

void TestScoreList::insertKeepsOrder()
{
    ScoreList list;
    for (const char *entry : {"00042 - jan", "00010 - ann", "00035 - piet", "00035 - Bob", "00035 - bob"})
        list.insert(QString::fromLatin1(entry));
    QCOMPARE(list.entries(),
             (QStringList{"00010 - ann", "00035 - Bob", "00035 - bob", "00035 - piet", "00042 - jan"}));
    list.removeAt(list.indexOf(QStringLiteral("00035 - bob")));
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.at(1), QStringLiteral("00035 - Bob"));
}

void TestScoreList::emptyListIsEmptyFile()
{
    QCOMPARE(ScoreList().toBytes(), QByteArray());
}

void TestScoreList::awkwardFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("longest");
    QTest::newRow("no final line end") << QByteArray("\"00001 - a\"\r\n\"00002 - b\"") << 2 << 9;
    QTest::newRow("1 MB line") << (QByteArray("\"00001 - ") + QByteArray(1024 * 1024, 'x') + "\"\r\n\"00002 - b\"\r\n")
                               << 2 << 1024 * 1024 + 8;
    QTest::newRow("unquoted items") << QByteArray("00001 - a\r\n  00002 - b  \r\n") << 2 << 9;
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n\"00001 - a\"\r\n\r\n") << 1 << 9;
}

void TestScoreList::awkwardFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(int, count);
    QFETCH(int, longest);
    ScoreList list;
    list.load(file);
    QCOMPARE(list.count(), count);
    qsizetype max = 0;
    for (const QString &entry : list.entries())
        max = std::max(max, entry.size());
    QCOMPARE(max, qsizetype(longest));
}

void TestScoreList::missingFileLeavesListEmpty()
{
    TestFolder folder;
    ScoreList list;
    QVERIFY(!list.loadFile(folder.file(QStringLiteral("Vudoduzov.lst"))));
    QCOMPARE(list.count(), 0);
}

QTEST_GUILESS_MAIN(TestScoreList)
#include "tst_scorelist.moc"
