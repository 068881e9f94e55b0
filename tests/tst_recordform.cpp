#include "game/RecordForm.h"
#include "platform/Cp1252.h"

#include <QTest>

class TestRecordForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsStrings_data();
    void readsStrings();
    void numbers_data();
    void numbers();
    void booleans_data();
    void booleans();
    void writerEscapesNothingButBreakers();
    void cp1252RoundTripsEveryByte();
    void cp1252ReplacesWhatItLacks();
};

void TestRecordForm::readsStrings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("crlf lines") << QByteArray("\"a\"\r\n\"b\"\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf only") << QByteArray("\"a\"\n\"b\"\n") << QStringList{"a", "b"};
    QTest::newRow("comma inside quotes") << QByteArray("\"jan, piet\"\r\n") << QStringList{"jan, piet"};
    QTest::newRow("comma separates items") << QByteArray("\"a\",\"b\"\r\n") << QStringList{"a", "b"};
    QTest::newRow("blanks around unquoted") << QByteArray("  hallo wereld  \r\n") << QStringList{"hallo wereld"};
    QTest::newRow("blanks inside quotes kept") << QByteArray("\" x \"\r\n") << QStringList{" x "};
    QTest::newRow("empty quoted item") << QByteArray("\"\"\r\n\"z\"\r\n") << QStringList{"", "z"};
    QTest::newRow("no last line end") << QByteArray("\"a\"\r\n\"b\"") << QStringList{"a", "b"};
    QTest::newRow("text after closing quote dropped") << QByteArray("\"a\"xyz,\"b\"\r\n") << QStringList{"a", "b"};
    QTest::newRow("unclosed quote runs to end") << QByteArray("\"abc\r\n") << QStringList{"abc\r\n"};
    QTest::newRow("windows-1252 letters") << QByteArray("\"jos\xe9 m\xfcller \x80\"\r\n")
                                          << QStringList{QStringLiteral("jos\u00e9 m\u00fcller \u20ac")};
}

void TestRecordForm::readsStrings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, items);
    RecordReader reader(bytes);
    QStringList got;
    while (!reader.atEnd()) {
        const auto item = reader.readString();
        QVERIFY(item.has_value());
        got << *item;
    }
    QCOMPARE(got, items);
    QVERIFY(!reader.readString().has_value());
}

void TestRecordForm::numbers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << QByteArray("75\r\n") << true << qint64(75);
    QTest::newRow("blanks") << QByteArray("  12  \r\n") << true << qint64(12);
    QTest::newRow("upper bound") << QByteArray("255\r\n") << true << qint64(255);
    QTest::newRow("too large") << QByteArray("300\r\n") << false << qint64(0);
    QTest::newRow("negative") << QByteArray("-1\r\n") << false << qint64(0);
    QTest::newRow("text") << QByteArray("abc\r\n") << false << qint64(0);
    QTest::newRow("quoted") << QByteArray("\"75\"\r\n") << false << qint64(0);
    QTest::newRow("empty file") << QByteArray() << false << qint64(0);
}

void TestRecordForm::numbers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    const auto got = RecordReader(bytes).readNumber(0, 255);
    QCOMPARE(got.has_value(), ok);
    if (ok)
        QCOMPARE(*got, value);
}

void TestRecordForm::booleans_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected"); // -1 fails
    QTest::newRow("true") << QByteArray("#TRUE#\r\n") << 1;
    QTest::newRow("false") << QByteArray("#FALSE#\r\n") << 0;
    QTest::newRow("blanks") << QByteArray(" #FALSE# \r\n") << 0;
    QTest::newRow("word") << QByteArray("TRUE\r\n") << -1;
    QTest::newRow("number") << QByteArray("1\r\n") << -1;
}

void TestRecordForm::booleans()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    const auto got = RecordReader(bytes).readBool();
    QCOMPARE(got.has_value(), expected >= 0);
    if (got)
        QCOMPARE(int(*got), expected);
}

void TestRecordForm::writerEscapesNothingButBreakers()
{
    RecordWriter writer;
    writer.writeNumber(75);
    writer.writeString(QStringLiteral("a, \"b\"\nc"));
    writer.writeBool(true);
    writer.writeBool(false);
    QCOMPARE(writer.bytes(), QByteArray("75\r\n\"a, 'b' c\"\r\n#TRUE#\r\n#FALSE#\r\n"));
}

void TestRecordForm::cp1252RoundTripsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    QCOMPARE(Cp1252::encode(text), all);
}

void TestRecordForm::cp1252ReplacesWhatItLacks()
{
    QCOMPARE(Cp1252::encode(QStringLiteral("a\u0141b\U0001F600c")), QByteArray("a?b?c"));
}

QTEST_GUILESS_MAIN(TestRecordForm)
#include "tst_recordform.moc"
