#include "core/Artwork.h"
#include "platform/Desktop.h"
#include "settings/Quality.h"
#include "settings/Subjects.h"
#include "settings/Tools.h"
#include "support/Modal.h"
#include "support/TestFolder.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

namespace {
void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, 4)); }

// Message boxes as "title|text".
const QString kSelectFirst = QStringLiteral(" Error|Eerst een onderwerp selecteren!");
const QString kQuestion = QStringLiteral(" Delete|Wil je het onderwerp [ %1 ] verwijderen?");

// The settings window, with the quality box and the captions of the order and sound boxes.
struct ToolsFixture : WindowFixture<Tools>
{
    QImage preview() const { return find<QLabel>("Image3")->pixmap().toImage(); }
    QColor listColour() const { return find<QListWidget>("List1")->viewport()->palette().color(QPalette::Base); }
    QString boxes() const
    {
        return find<QLineEdit>("Text1")->text() + QLatin1Char('|') + find<QCheckBox>("Check1")->text()
            + QLatin1Char('|') + find<QCheckBox>("GeluidCheck")->text();
    }
};
}

class TestTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }

    void settings_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("random"); // the sound is the other way round
        QTest::addColumn<int>("shownKind");
        QTest::addColumn<QString>("boxes"); // at opening, then after a click on the order and the sound box
        QTest::newRow("as stored") << 4 << 90 << true << 4
                                   << "90|Willekeurige volgorde|Geluid uit 90|Op volgorde 1,2,3...enz.|Geluid aan";
        // The game draws kind 1 for a stored kind outside 1..10; the window shows what the game draws.
        QTest::newRow("kind 0, quality 150") << 0 << 150 << false << 1
                                             << "75|Op volgorde 1,2,3...enz.|Geluid aan 75|Willekeurige volgorde|Geluid uit";
    }

    void settings()
    {
        QFETCH(int, kind);
        QFETCH(bool, random);
        QFETCH(int, shownKind);
        QFETCH(int, quality);
        ToolsFixture f;
        f.state.SoortVakje = std::uint8_t(kind);
        f.state.Kwaliteit = std::uint8_t(quality);
        f.state.Willekeurig = random;
        f.state.GeluidAan = !random;
        f.open();
        const QString opened = f.boxes();
        // Each box turns its own setting over (a box that showed its setting wrongly would turn it the wrong way).
        click(f.find("Check1"));
        QCOMPARE(f.state.GeluidAan, !random);
        click(f.find("GeluidCheck"));
        QCOMPARE(f.state.Willekeurig, !random);
        QCOMPARE(f.state.GeluidAan, random);
        QTEST(QString(opened + QLatin1Char(' ') + f.boxes()), "boxes");
        QCOMPARE(QString::number(f.state.Kwaliteit), opened.section(QLatin1Char('|'), 0, 0));
        f.find<QLineEdit>("Text1")->setText(QStringLiteral("80,5"));
        QCOMPARE(f.state.Kwaliteit, 80);
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), QStringLiteral("80,5"));
        // The bar shows the kind the game draws and the preview its rest face.
        QCOMPARE(f.find<QScrollBar>("SoortScroll")->value(), shownKind);
        QCOMPARE(f.preview(), Artwork::boxFace(shownKind, 1).toImage());
        QCOMPARE(int(f.state.SoortVakje), kind);
        f.find<QScrollBar>("SoortScroll")->setValue(10);
        QCOMPARE(f.state.SoortVakje, 10);
        QCOMPARE(f.preview(), Artwork::boxFace(10, 1).toImage());
        // Label8's text fits its 600-twip rectangle, down to 80 pixels, and leaves Frame6 bare below it,
        // where the mouse turns the box preview back.
        const QLabel *label = f.find<QLabel>("Label8");
        QVERIFY(label->heightForWidth(label->width()) <= label->height() && label->geometry().bottom() < 80);
    }

    // What the window says and shows; which names a folder may have is addAndRemove's matter.
    void subjectList_data()
    {
        QTest::addColumn<QString>("action"); // a button, or a double-click on a list entry
        QTest::addColumn<QString>("text");   // Add: the answer typed (null: Annuleren); else the entry selected
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QStringList>("seen"); // message boxes, then the list's colour in each pause
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("subject");
        const QStringList untouched{"dieren", "leeg"}; // lower case at opening, refilled as spelled on disk
        const QString add = QStringLiteral("AddKnop"), del = QStringLiteral("DelKnop"), kept = QStringLiteral("leeg|leeg");
        using A = Dialogs::Answer;
        QTest::newRow("add new name") << add << "Vogels" << A::Yes << QStringList{} << QStringList{"Dieren", "Leeg", "Vogels"} << kept;
        QTest::newRow("add, cancel") << add << QString() << A::Yes << QStringList{} << untouched << kept;
        QTest::newRow("add existing name in another case")
            << add << "DIEREN" << A::Yes << QStringList{"Tuurbord|Map bestaat reeds..."} << untouched << kept;
        QTest::newRow("delete with pictures") << del << "dieren" << A::Yes << QStringList{kQuestion.arg("dieren"), kSelectFirst}
                                              << untouched << kept;
        // Deleting the current subject's folder leaves it the current subject.
        QTest::newRow("delete empty") << del << "leeg" << A::Yes << QStringList{kQuestion.arg("leeg")} << QStringList{"Dieren"} << kept;
        QTest::newRow("delete empty, answered no") << del << "leeg" << A::No << QStringList{kQuestion.arg("leeg")} << untouched << kept;
        QTest::newRow("delete, nothing selected") << del << "" << A::Yes << QStringList{kQuestion.arg(""), kSelectFirst}
                                                  << untouched << kept;
        QTest::newRow("double-click chooses with a flash") << "dblclick" << "dieren" << A::Yes << QStringList{"#fa5000"}
                                                           << untouched << "dieren|dieren";
    }

    void subjectList()
    {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(Dialogs::Answer, answer);
        ToolsFixture f;
        f.folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
        f.folder.makeSubject(QStringLiteral("Leeg"), {});
        f.state.Onderwerp = QStringLiteral("leeg");
        f.open();
        QCOMPARE(QFileInfo(f.state.subjectDir()).fileName(), QStringLiteral("Leeg")); // found without regard to case
        QStringList colours;
        f.fakes.waiter.onWait = [&](double) { colours << f.listColour().name(); };
        f.fakes.dialogs.answers.push_back(answer);
        auto *list = f.find<QListWidget>("List1");
        if (action == QLatin1String("AddKnop") && !text.isNull())
            f.fakes.dialogs.inputs << text;
        else if (action == QLatin1String("DelKnop"))
            list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
        if (action == QLatin1String("dblclick"))
            doubleClickEntry(list, text);
        else
            click(f.find(qPrintable(action)));
        QTEST(f.fakes.dialogs.said + colours, "seen");
        QCOMPARE(f.listColour(), QColor(180, 210, 170));
        QStringList entries; // read from the disk again after a change
        for (int i = 0; i < list->count(); ++i)
            entries << list->item(i)->text();
        QTEST(entries, "entries");
        QTEST(QString(f.state.Onderwerp + QLatin1Char('|') + f.find<QLabel>("Label1")->text()), "subject");
    }

    void quality_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kwaliteit"); // 0: refused
        for (const char *refused : {"100.01", "0", "", "nan", "1.000,5"})
            QTest::addRow("refused \"%s\"", refused) << QString::fromLatin1(refused) << 0;
        // A comma is a decimal sign too; a half goes to the even number.
        for (const auto &[typed, kwaliteit] : {std::pair{"1", 1}, {"100", 100}, {"80,5", 80}, {"2.5", 2}, {"3.5", 4}})
            QTest::addRow("\"%s\"", typed) << QString::fromLatin1(typed) << kwaliteit;
    }

    void quality()
    {
        QFETCH(QString, typed);
        QTEST(Quality::fromText(typed).value_or(0), "kwaliteit");
    }

    // The subject folders on their own.
    void addAndRemove_data()
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
            QTest::addRow("valid %s", qPrintable(name.left(20)))
                << true << p << name << R::Done << QStringList{p + QLatin1Char('/') + name};
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

    void addAndRemove()
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
        QStringList expected = folder.tree() + added;
        expected.sort();
        const Subjects subjects(folder.file(root));
        QCOMPARE(Subjects::isValidName(name), result != Subjects::Result::InvalidName);
        QCOMPARE(add ? subjects.add(name) : subjects.remove(name), result);
        QCOMPARE(folder.tree(), expected);
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
