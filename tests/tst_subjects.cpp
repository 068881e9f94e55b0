#include "settings/Subjects.h"
#include "support/FolderTree.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QTest>

// The subject folders on their own; what the settings window shows and asks is in tst_tools.
class TestSubjects : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listIsAlphabeticalWithoutCase();
    void validNames_data();
    void validNames();
    void addAndRemove_data();
    void addAndRemove();
};

void TestSubjects::listIsAlphabeticalWithoutCase()
{
    TestFolder folder;
    QVERIFY(Subjects(folder.file(QStringLiteral("plaatjes"))).list().isEmpty());
    for (const char *name : {"gamma", "Alpha", "beta"})
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes/") + QLatin1String(name))));
    folder.write(QStringLiteral("plaatjes/aardappel.jpg"), "x");
    QCOMPARE(Subjects(folder.file(QStringLiteral("plaatjes"))).list(), (QStringList{"Alpha", "beta", "gamma"}));
}

// The names tst_tools feeds the settings window are not repeated here.
void TestSubjects::validNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("blank inside") << "wilde dieren" << true;
    QTest::newRow("accents") << "café's" << true;
    QTest::newRow("dot inside") << "a.b" << true;
    QTest::newRow("255 bytes") << QString(255, QLatin1Char('a')) << true;
    QTest::newRow("127 two-byte letters") << QString(127, QChar(0xe9)) << true;
    QTest::newRow("128 two-byte letters") << QString(128, QChar(0xe9)) << false;
    QTest::newRow("tab") << "x\ty" << false;
    QTest::newRow("line separator") << QString(QStringLiteral("x")) + QChar(0x2028) + QStringLiteral("y") << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << false;
    QTest::newRow("less than") << "a<b" << false;
    QTest::newRow("star") << "*" << false;
}

void TestSubjects::validNames()
{
    QFETCH(QString, name);
    QTEST(Subjects::isValidName(name), "valid");
}

void TestSubjects::addAndRemove_data()
{
    QTest::addColumn<bool>("add"); // or remove
    QTest::addColumn<QString>("root"); // the pictures folder, below the program folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<Subjects::Result>("result");
    QTest::addColumn<QStringList>("added");
    using R = Subjects::Result;
    const QString p = QStringLiteral("plaatjes");
    QTest::newRow("add new") << true << p << "Vogels" << R::Done << QStringList{"plaatjes/Vogels"};
    QTest::newRow("add same spelling") << true << p << "Dieren" << R::Exists << QStringList{};
    QTest::newRow("add upper case") << true << p << "DIEREN" << R::Exists << QStringList{};
    QTest::newRow("add a file's name") << true << p << "Notes.TXT" << R::Exists << QStringList{};
    QTest::newRow("add a dangling link's name") << true << p << "weg" << R::Exists << QStringList{};
    QTest::newRow("add, no pictures folder") << true << "fotos" << "Vogels" << R::Done << QStringList{"fotos", "fotos/Vogels"};
    QTest::newRow("add, no program folder") << true << "weg/fotos" << "Vogels" << R::Failed << QStringList{};
    QTest::newRow("remove, hidden file inside") << false << p << "verborgen" << R::NotEmpty << QStringList{};
    QTest::newRow("remove, empty folder inside") << false << p << "genest" << R::NotEmpty << QStringList{};
    QTest::newRow("remove gone") << false << p << "vogels" << R::NotFound << QStringList{};
    QTest::newRow("remove a file") << false << p << "notes.txt" << R::NotFound << QStringList{};
    QTest::newRow("remove a link to an empty folder") << false << p << "link" << R::NotFound << QStringList{};
    QTest::newRow("remove dot dot") << false << p << ".." << R::InvalidName << QStringList{};
    QTest::newRow("remove path into a subject") << false << p << "genest/binnen" << R::InvalidName << QStringList{};
    QTest::newRow("remove path out") << false << p << "../buiten" << R::InvalidName << QStringList{};
}

void TestSubjects::addAndRemove()
{
    QFETCH(bool, add);
    QFETCH(QString, root);
    QFETCH(QString, name);
    QFETCH(QStringList, added);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.write(QStringLiteral("plaatjes/verborgen/.x"), "x");
    folder.write(QStringLiteral("plaatjes/notes.txt"), "x");
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes/genest/binnen"))));
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("buiten"))));
    QVERIFY(QFile::link(folder.file(QStringLiteral("buiten")), folder.file(QStringLiteral("plaatjes/Link"))));
    QVERIFY(QFile::link(folder.file(QStringLiteral("nergens")), folder.file(QStringLiteral("plaatjes/weg"))));
    QStringList expected = folderTree(folder.path()) + added;
    expected.sort();
    const Subjects subjects(folder.file(root));
    QTEST(add ? subjects.add(name) : subjects.remove(name), "result");
    QCOMPARE(folderTree(folder.path()), expected);
}

QTEST_GUILESS_MAIN(TestSubjects)
#include "tst_subjects.moc"
