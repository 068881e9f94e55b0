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
    void addAndRemove_data();
    void addAndRemove();
};

void TestSubjects::addAndRemove_data()
{
    QTest::addColumn<bool>("add"); // or remove
    QTest::addColumn<QString>("root"); // the pictures folder, below the program folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<Subjects::Result>("result");
    QTest::addColumn<QStringList>("added");
    using R = Subjects::Result;
    const QString p = QStringLiteral("plaatjes");
    // A valid name becomes one folder directly below the pictures folder, any other leaves the disk alone.
    const QString twoByte(QChar(0xe9));
    for (const QString &name : {QStringLiteral("wilde dieren"), QStringLiteral("café's"), QStringLiteral("a.b"),
                                QString(255, QLatin1Char('a')), twoByte.repeated(127)})
        QTest::addRow("valid %s", qPrintable(name.left(20))) << true << p << name << R::Done << QStringList{p + QLatin1Char('/') + name};
    for (const QString &name : {QStringLiteral("../x"), QStringLiteral("../../x"), QStringLiteral("a/b"),
                                QStringLiteral(".."), QStringLiteral("."), QStringLiteral("x\\y"), QStringLiteral("x\ny"),
                                QStringLiteral("x\u2028y"), QString(QChar(0xd800)), QStringLiteral("con:"),
                                QStringLiteral("what?"), QStringLiteral("a\"b"), QStringLiteral("*"),
                                QStringLiteral("x "), QStringLiteral("x."), twoByte.repeated(128)})
        QTest::addRow("invalid %s", qPrintable(name.left(20))) << true << p << name << R::InvalidName << QStringList{};
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
    QTest::newRow("remove path out") << false << p << "../buiten" << R::InvalidName << QStringList{};
}

void TestSubjects::addAndRemove()
{
    QFETCH(bool, add);
    QFETCH(QString, root);
    QFETCH(QString, name);
    QFETCH(Subjects::Result, result);
    QFETCH(QStringList, added);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.write(QStringLiteral("plaatjes/verborgen/.x"), "x");
    folder.write(QStringLiteral("plaatjes/notes.txt"), "x");
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("plaatjes/genest/binnen"))));
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("buiten"))));
    QVERIFY(QFile::link(folder.file(QStringLiteral("buiten")), folder.file(QStringLiteral("plaatjes/Link"))));
    QVERIFY(QFile::link(folder.file(QStringLiteral("nergens")), folder.file(QStringLiteral("plaatjes/weg"))));
    // Folders only (a link to one counts), alphabetically without regard to case.
    QCOMPARE(Subjects(folder.file(QStringLiteral("plaatjes"))).list(), (QStringList{"Dieren", "genest", "Link", "verborgen"}));
    QStringList expected = folderTree(folder.path()) + added;
    expected.sort();
    const Subjects subjects(folder.file(root));
    QCOMPARE(Subjects::isValidName(name), result != Subjects::Result::InvalidName);
    QCOMPARE(add ? subjects.add(name) : subjects.remove(name), result);
    QCOMPARE(folderTree(folder.path()), expected);
}

QTEST_GUILESS_MAIN(TestSubjects)
#include "tst_subjects.moc"
