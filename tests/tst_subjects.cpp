#include "settings/Subjects.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {
// Every entry below a folder, links not followed, as sorted relative paths.
QStringList tree(const QString &dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir).relativeFilePath(it.next());
    entries.sort();
    return entries;
}
}

class TestSubjects : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listIsAlphabeticalWithoutCase();
    void listOfMissingFolderIsEmpty();
    void validNames_data();
    void validNames();
    void addCreatesOneFolder();
    void addRefusesTakenNames_data();
    void addRefusesTakenNames();
    void addRefusesInvalidNamesAndTouchesNothing_data();
    void addRefusesInvalidNamesAndTouchesNothing();
    void addMakesMissingPicturesFolder();
    void addDoesNotMakeMissingProgramFolder();
    void removeEmptyFolderInAnyCase();
    void removeRefuses_data();
    void removeRefuses();
    void removeNeverFollowsALinkOut();
};

void TestSubjects::listIsAlphabeticalWithoutCase()
{
    TestFolder folder;
    for (const char *name : {"gamma", "Alpha", "beta"})
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes/") + QLatin1String(name))));
    folder.write(QStringLiteral("plaatjes/aardappel.jpg"), "x");
    const Subjects subjects(folder.file(QStringLiteral("plaatjes")));
    QCOMPARE(subjects.list(), (QStringList{"Alpha", "beta", "gamma"}));
}

void TestSubjects::listOfMissingFolderIsEmpty()
{
    TestFolder folder;
    QVERIFY(Subjects(folder.file(QStringLiteral("plaatjes"))).list().isEmpty());
}

void TestSubjects::validNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "dieren" << true;
    QTest::newRow("blank inside") << "wilde dieren" << true;
    QTest::newRow("leading blank") << " dieren" << true;
    QTest::newRow("accents") << "café's" << true;
    QTest::newRow("255 bytes") << QString(255, QLatin1Char('a')) << true;
    QTest::newRow("127 two-byte letters") << QString(127, QChar(0xe9)) << true;
    QTest::newRow("dot inside") << "a.b" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("three dots") << "..." << false;
    QTest::newRow("parent path") << "../x" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("absolute") << "/tmp/x" << false;
    QTest::newRow("backslash") << "x\\y" << false;
    QTest::newRow("256 bytes") << QString(256, QLatin1Char('a')) << false;
    QTest::newRow("128 two-byte letters") << QString(128, QChar(0xe9)) << false;
    QTest::newRow("newline") << "x\ny" << false;
    QTest::newRow("tab") << "x\ty" << false;
    QTest::newRow("nul") << QString(QStringLiteral("x")) + QChar(0) + QStringLiteral("y") << false;
    QTest::newRow("delete character") << "x\x7fy" << false;
    QTest::newRow("line separator") << QString(QStringLiteral("x")) + QChar(0x2028) + QStringLiteral("y") << false;
    QTest::newRow("colon") << "con:" << false;
    QTest::newRow("question mark") << "what?" << false;
    QTest::newRow("less than") << "a<b" << false;
    QTest::newRow("greater than") << "a>b" << false;
    QTest::newRow("double quote") << "a\"b" << false;
    QTest::newRow("bar") << "a|b" << false;
    QTest::newRow("star") << "*" << false;
    QTest::newRow("trailing blank") << "dieren " << false;
    QTest::newRow("trailing dot") << "dieren." << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << false;
}

void TestSubjects::validNames()
{
    QFETCH(QString, name);
    QTEST(Subjects::isValidName(name), "valid");
}

void TestSubjects::addCreatesOneFolder()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    const Subjects subjects(folder.file(QStringLiteral("plaatjes")));
    QCOMPARE(subjects.add(QStringLiteral("Vogels")), Subjects::Result::Done);
    QCOMPARE(tree(folder.path()),
             (QStringList{"plaatjes", "plaatjes/Dieren", "plaatjes/Dieren/aap.jpg", "plaatjes/Vogels"}));
    QCOMPARE(subjects.list(), (QStringList{"Dieren", "Vogels"}));
}

void TestSubjects::addRefusesTakenNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("same spelling") << "Dieren";
    QTest::newRow("lower case") << "dieren";
    QTest::newRow("upper case") << "DIEREN";
    QTest::newRow("a file of that name") << "Notes.TXT";
    QTest::newRow("a dangling link of that name") << "weg";
}

void TestSubjects::addRefusesTakenNames()
{
    QFETCH(QString, name);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {});
    folder.write(QStringLiteral("plaatjes/notes.txt"), "x");
    QVERIFY(QFile::link(folder.file(QStringLiteral("nergens")), folder.file(QStringLiteral("plaatjes/weg"))));
    const QStringList before = tree(folder.path());
    QCOMPARE(Subjects(folder.file(QStringLiteral("plaatjes"))).add(name), Subjects::Result::Exists);
    QCOMPARE(tree(folder.path()), before);
}

void TestSubjects::addRefusesInvalidNamesAndTouchesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../x";
    QTest::newRow("grandparent") << "../../x";
    QTest::newRow("nested") << "a/b";
    QTest::newRow("absolute") << "/tmp/tuurbord-x";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("newline") << "x\n";
    QTest::newRow("trailing dot") << "x.";
}

void TestSubjects::addRefusesInvalidNamesAndTouchesNothing()
{
    QFETCH(QString, name);
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program + QStringLiteral("/plaatjes/dieren")));
    const QStringList before = tree(folder.path());
    QCOMPARE(Subjects(program + QStringLiteral("/plaatjes")).add(name), Subjects::Result::InvalidName);
    QCOMPARE(tree(folder.path()), before);
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/tuurbord-x")));
}

void TestSubjects::addMakesMissingPicturesFolder()
{
    TestFolder folder;
    const Subjects subjects(folder.file(QStringLiteral("plaatjes")));
    QCOMPARE(subjects.add(QStringLiteral("Vogels")), Subjects::Result::Done);
    QVERIFY(QFileInfo(folder.file(QStringLiteral("plaatjes/Vogels"))).isDir());
}

void TestSubjects::addDoesNotMakeMissingProgramFolder()
{
    TestFolder folder;
    const Subjects subjects(folder.file(QStringLiteral("weg/plaatjes")));
    QCOMPARE(subjects.add(QStringLiteral("Vogels")), Subjects::Result::Failed);
    QVERIFY(tree(folder.path()).isEmpty());
}

void TestSubjects::removeEmptyFolderInAnyCase()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Leeg"), {});
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    const Subjects subjects(folder.file(QStringLiteral("plaatjes")));
    QCOMPARE(subjects.remove(QStringLiteral("leeg")), Subjects::Result::Done);
    QCOMPARE(subjects.list(), QStringList{"Dieren"});
}

void TestSubjects::removeRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Subjects::Result>("result");
    QTest::newRow("pictures inside") << "dieren" << Subjects::Result::NotEmpty;
    QTest::newRow("a hidden file inside") << "verborgen" << Subjects::Result::NotEmpty;
    QTest::newRow("an empty folder inside") << "genest" << Subjects::Result::NotEmpty;
    QTest::newRow("gone") << "vogels" << Subjects::Result::NotFound;
    QTest::newRow("a file") << "notes.txt" << Subjects::Result::NotFound;
    QTest::newRow("empty name") << "" << Subjects::Result::InvalidName;
    QTest::newRow("dot dot") << ".." << Subjects::Result::InvalidName;
    QTest::newRow("dot") << "." << Subjects::Result::InvalidName;
    QTest::newRow("path into a subject") << "genest/binnen" << Subjects::Result::InvalidName;
    QTest::newRow("path out") << "../program" << Subjects::Result::InvalidName;
}

void TestSubjects::removeRefuses()
{
    QFETCH(QString, name);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.write(QStringLiteral("plaatjes/verborgen/.x"), "x");
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes/genest/binnen"))));
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("program"))));
    folder.write(QStringLiteral("plaatjes/notes.txt"), "x");
    const QStringList before = tree(folder.path());
    QTEST(Subjects(folder.file(QStringLiteral("plaatjes"))).remove(name), "result");
    QCOMPARE(tree(folder.path()), before);
}

void TestSubjects::removeNeverFollowsALinkOut()
{
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("buiten"))));
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes"))));
    QVERIFY(QFile::link(folder.file(QStringLiteral("buiten")), folder.file(QStringLiteral("plaatjes/Link"))));
    const QStringList before = tree(folder.path());
    QCOMPARE(Subjects(folder.file(QStringLiteral("plaatjes"))).remove(QStringLiteral("link")),
             Subjects::Result::NotFound);
    QCOMPARE(tree(folder.path()), before);
    QVERIFY(QFileInfo(folder.file(QStringLiteral("buiten"))).isDir());
}

QTEST_GUILESS_MAIN(TestSubjects)
#include "tst_subjects.moc"
