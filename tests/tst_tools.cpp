#include "core/Artwork.h"
#include "platform/Desktop.h"
#include "settings/Tools.h"
#include "support/FolderTree.h"
#include "support/MainFixture.h"
#include "support/Modal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

namespace {
// Press, release, double-click, release: the order a real double-click arrives in (QTest's
// double-click alone sends no press before it, and an item view wants one).
void doubleClickItem(QListWidget *list, QListWidgetItem *item)
{
    QVERIFY(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

// A message box in one line: title, icon, buttons and text.
QString message(const QString &title, Dialogs::Icon icon, Dialogs::Buttons buttons, const QString &text)
{
    return QStringLiteral("%1 (%2, %3): %4").arg(title, QString::number(int(icon)), QString::number(int(buttons)), text);
}

const QString kExists = message(QStringLiteral("Tuurbord"), Dialogs::Icon::None, Dialogs::Buttons::Ok,
                                QStringLiteral("Map bestaat reeds..."));
const QString kSelectFirst = message(QStringLiteral(" Error"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok,
                                     QStringLiteral("Eerst een onderwerp selecteren!"));

QString question(const QString &name)
{
    return message(QStringLiteral(" Delete"), Dialogs::Icon::None, Dialogs::Buttons::YesNo,
                   QStringLiteral("Wil je het onderwerp [ ") + name + QStringLiteral(" ] verwijderen?"));
}

// The settings window on a program folder of its own, with fake services.
struct ToolsFixture
{
    explicit ToolsFixture(const QString &programFolder, const std::function<void(ProgramState &)> &setUp = {})
        : state(programFolder), fakes(state)
    {
        if (setUp)
            setUp(state);
        window = std::make_unique<Tools>(state, fakes.services);
        window->show();
    }
    template<typename T = QWidget>
    T *find(const QString &name) const { return window->findChild<T *>(name); }
    QListWidget *list() const { return find<QListWidget>(QStringLiteral("List1")); }
    QLineEdit *quality() const { return find<QLineEdit>(QStringLiteral("Text1")); }
    QScrollBar *scroll() const { return find<QScrollBar>(QStringLiteral("SoortScroll")); }
    QString label(const char *name) const { return find<QLabel>(QString::fromLatin1(name))->text(); }
    QImage preview() const { return find<QLabel>(QStringLiteral("Image3"))->pixmap().toImage(); }
    QStringList entries() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text();
        return names;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &m : fakes.dialogs.shown)
            texts << message(m.title, m.icon, m.buttons, m.text);
        return texts;
    }
    QListWidgetItem *item(const QString &text) const
    {
        const QList<QListWidgetItem *> found = list()->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void click(const QString &name) const { QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(4, 4)); }
    void hover(const QString &name) const
    {
        QWidget *w = name == QLatin1String("List1") ? list()->viewport() : find(name);
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }

    ProgramState state;
    FakeServices fakes;
    std::unique_ptr<Tools> window;
};

QImage face(int kind, int which)
{
    return Artwork::boxFace(kind, which).toImage();
}

QColor listColour(const QListWidget *list)
{
    return list->viewport()->palette().color(QPalette::Base);
}
}

class TestTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void openingShowsStoredSettings_data();
    void openingShowsStoredSettings();
    void add_data();
    void add();
    void deleteSubject_data();
    void deleteSubject();
    void doubleClickSelectsSubjectAndFlashes();
    void quality_data();
    void quality();
    void boxKindTenWithBothFaces();
    void wholeRoundThroughTheMainWindow();
};

void TestTools::openingShowsStoredSettings_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("random");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<int>("shownKind");
    QTest::addColumn<QString>("shownQuality");
    QTest::newRow("as stored") << 4 << 90 << true << false << 4 << "90";
    // The game draws kind 1 for a stored kind outside 1..10; the window shows what the game draws.
    QTest::newRow("kind 0, quality 150") << 0 << 150 << false << true << 1 << "75";
}

void TestTools::openingShowsStoredSettings()
{
    QFETCH(int, kind);
    QFETCH(int, quality);
    QFETCH(bool, random);
    QFETCH(bool, sound);
    QFETCH(int, shownKind);
    QFETCH(QString, shownQuality);
    TestFolder folder;
    ToolsFixture f(folder.path(), [&](ProgramState &s) {
        s.Onderwerp = QStringLiteral("Dieren");
        s.SoortVakje = std::uint8_t(kind);
        s.Kwaliteit = std::uint8_t(quality);
        s.Willekeurig = random;
        s.GeluidAan = sound;
    });
    QVERIFY(f.window->isModal());
    QCOMPARE(f.window->size(), QSize(452, 267));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    auto *wrapped = f.find<QLabel>(QStringLiteral("Label8")); // gets the lines its text needs
    QVERIFY(wrapped->heightForWidth(wrapped->width()) <= wrapped->height());
    QVERIFY(wrapped->parentWidget()->rect().contains(wrapped->geometry()));
    QCOMPARE(f.label("Label1"), QStringLiteral("Dieren"));
    QCOMPARE(f.scroll()->value(), shownKind);
    QCOMPARE(f.preview(), face(shownKind, 1));
    QCOMPARE(int(f.state.SoortVakje), kind);
    QCOMPARE(f.quality()->text(), shownQuality);
    QCOMPARE(QString::number(f.state.Kwaliteit), shownQuality);
    // Each box shows its setting, and a click turns that setting over and nothing else.
    auto *check1 = f.find<QCheckBox>(QStringLiteral("Check1"));
    QCOMPARE(check1->isChecked(), random);
    QCOMPARE(check1->text(), random ? "Willekeurige volgorde" : "Op volgorde 1,2,3...enz.");
    QCOMPARE(f.find<QCheckBox>(QStringLiteral("GeluidCheck"))->text(), sound ? "Geluid aan" : "Geluid uit");
    f.click(QStringLiteral("Check1"));
    QCOMPARE(check1->text(), random ? "Op volgorde 1,2,3...enz." : "Willekeurige volgorde");
    QCOMPARE(f.state.Willekeurig, !random);
    QCOMPARE(f.state.GeluidAan, sound);
    f.click(QStringLiteral("GeluidCheck"));
    QCOMPARE(f.state.GeluidAan, !sound);
}

void TestTools::add_data()
{
    QTest::addColumn<QString>("answer"); // the null string is what Annuleren gives
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("entries");
    const QStringList opening{"dieren"}; // lower case, not refilled
    QTest::newRow("new name, as spelled") << "Vogels" << QStringList{} << QStringList{"Dieren", "Vogels"};
    QTest::newRow("cancel") << QString() << QStringList{} << opening;
    QTest::newRow("empty answer") << "" << QStringList{} << opening;
    QTest::newRow("existing name in another case") << "dieren" << QStringList{kExists} << opening;
    // Names that would reach outside the pictures folder or mean something else somewhere.
    const auto hostile = [&](const char *row, const QString &name) { QTest::newRow(row) << name << QStringList{kExists} << opening; };
    hostile("parent", QStringLiteral("../x"));
    hostile("out of the program folder", QStringLiteral("../../x"));
    hostile("nested", QStringLiteral("a/b"));
    hostile("dot dot", QStringLiteral(".."));
    hostile("dot", QStringLiteral("."));
    hostile("backslash", QStringLiteral("x\\y"));
    hostile("300 characters", QString(300, QLatin1Char('x')));
    hostile("newline", QStringLiteral("x\ny"));
    hostile("device with colon", QStringLiteral("con:"));
    hostile("question mark", QStringLiteral("what?"));
    hostile("trailing blank", QStringLiteral("x "));
    hostile("trailing dot", QStringLiteral("x."));
    hostile("double quote", QStringLiteral("a\"b"));
}

void TestTools::add()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, entries);
    // The program folder lies one level down, so that an escape by two levels is seen as well.
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program + QStringLiteral("/plaatjes/Dieren")));
    ToolsFixture f(program);
    QCOMPARE(f.entries(), QStringList{"dieren"});
    QStringList tree = folderTree(folder.path());
    if (entries.contains(QStringLiteral("Vogels")))
        tree << QStringLiteral("program/plaatjes/Vogels"); // sorts last
    if (!answer.isNull())
        f.fakes.dialogs.inputs << answer;
    f.click(QStringLiteral("AddKnop"));
    QCOMPARE(f.fakes.dialogs.prompts, QStringList{" Nieuw|Geef een nieuwe naam voor het onderwerp die tevens dient "
                                                  "als Map waarin de plaatjes worden opgeslagen."});
    QTEST(f.messages(), "messages");
    QCOMPARE(folderTree(folder.path()), tree);
    QTEST(f.entries(), "entries");
    QVERIFY(f.list()->selectedItems().isEmpty());
}

void TestTools::deleteSubject_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("entries");
    const QStringList untouched{"dieren", "leeg"};
    using A = Dialogs::Answer;
    QTest::newRow("with pictures") << "dieren" << A::Yes << QStringList{question("dieren"), kSelectFirst} << untouched;
    QTest::newRow("empty") << "leeg" << A::Yes << QStringList{question("leeg")} << QStringList{"Dieren"};
    QTest::newRow("empty, answered no") << "leeg" << A::No << QStringList{question("leeg")} << untouched;
    QTest::newRow("nothing selected") << "" << A::Yes << QStringList{question(""), kSelectFirst} << untouched;
    QTest::newRow("nothing selected, no") << "" << A::No << QStringList{question("")} << untouched;
}

void TestTools::deleteSubject()
{
    QFETCH(QString, selected);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QStringList, entries);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.makeSubject(QStringLiteral("Leeg"), {});
    // Deleting the current subject's folder leaves it the current subject.
    ToolsFixture f(folder.path(), [](ProgramState &s) { s.Onderwerp = QStringLiteral("leeg"); });
    f.fakes.dialogs.answers.push_back(answer);
    if (!selected.isEmpty())
        f.list()->setCurrentItem(f.item(selected));
    f.click(QStringLiteral("DelKnop"));
    QTEST(f.messages(), "messages");
    QCOMPARE(f.entries(), entries);
    QVERIFY(folder.exists(QStringLiteral("plaatjes/Dieren/aap.jpg")));
    QCOMPARE(folder.exists(QStringLiteral("plaatjes/Leeg")), entries.contains(QStringLiteral("leeg")));
    QCOMPARE(f.state.Onderwerp, QStringLiteral("leeg"));
    QCOMPARE(f.label("Label1"), QStringLiteral("leeg"));
}

void TestTools::doubleClickSelectsSubjectAndFlashes()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {});
    ToolsFixture f(folder.path());
    QCOMPARE(listColour(f.list()), QColor(180, 210, 170));
    QList<QColor> during;
    f.fakes.waiter.onWait = [&](double) { during << listColour(f.list()); };
    doubleClickItem(f.list(), f.item(QStringLiteral("dieren")));
    QCOMPARE(f.state.Onderwerp, QStringLiteral("dieren"));
    QCOMPARE(f.label("Label1"), QStringLiteral("dieren"));
    QCOMPARE(during, QList<QColor>{QColor(250, 80, 0)});
    QCOMPARE(listColour(f.list()), QColor(180, 210, 170));
    QCOMPARE(f.label("Label3"), QStringLiteral("Importeer plaatjes naar map gebruiksvoorwerpen"));
    // The lower-case name still finds the folder spelled with a capital.
    QCOMPARE(QFileInfo(f.state.subjectDir()).fileName(), QStringLiteral("Dieren"));
}

void TestTools::quality_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("kwaliteit");
    QTest::newRow("above 100") << "150" << "75" << 75;
    QTest::newRow("just above 100") << "100.01" << "75" << 75;
    QTest::newRow("zero") << "0" << "75" << 75;
    QTest::newRow("empty") << "" << "75" << 75;
    QTest::newRow("not a number") << "nan" << "75" << 75;
    QTest::newRow("point and comma") << "1.000,5" << "75" << 75;
    QTest::newRow("80") << "80" << "80" << 80;
    QTest::newRow("100") << "100" << "100" << 100;
    QTest::newRow("half with a point goes to even") << "80.5" << "80.5" << 80;
    QTest::newRow("half with a comma goes to even") << "80,5" << "80,5" << 80;
    QTest::newRow("2.5 goes down to 2") << "2.5" << "2.5" << 2;
    QTest::newRow("3.5 goes up to 4") << "3.5" << "3.5" << 4;
}

void TestTools::quality()
{
    QFETCH(QString, typed);
    TestFolder folder;
    ToolsFixture f(folder.path(), [](ProgramState &s) { s.Kwaliteit = 33; });
    QCOMPARE(f.state.Kwaliteit, 33);
    f.quality()->setText(typed);
    QTEST(f.quality()->text(), "shown");
    QTEST(int(f.state.Kwaliteit), "kwaliteit");
}

void TestTools::boxKindTenWithBothFaces()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    QVERIFY(face(10, 1) != face(10, 2));
    QVERIFY(face(10, 1) != face(1, 1));
    QCOMPARE(f.preview(), face(1, 1));
    f.scroll()->setValue(10);
    QCOMPARE(f.state.SoortVakje, 10);
    QCOMPARE(f.preview(), face(10, 1));
    f.hover(QStringLiteral("Image3"));
    QCOMPARE(f.preview(), face(10, 2));
    // The grey square is a control of its own: only the bare frame shows the rest face again.
    f.hover(QStringLiteral("Label6"));
    QCOMPARE(f.preview(), face(10, 2));
    f.hover(QStringLiteral("Frame6"));
    QCOMPARE(f.preview(), face(10, 1));
    QCOMPARE(f.state.SoortVakje, 10);
}

void TestTools::wholeRoundThroughTheMainWindow()
{
    TestFolder folder;
    {
        MainFixture m(folder);
        bool walked = false;
        whenModal(QStringLiteral(" Tools"), [&](QWidget *tools) {
            const auto control = [&](const char *name) { return tools->findChild<QWidget *>(QString::fromLatin1(name)); };
            const auto click = [&](const char *name) { QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(4, 4)); };
            // The window's information line is the main window's.
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(control("AddKnop"), &move);
            QCOMPARE(m.info(), QStringLiteral("Met deze knop voeg je een Onderwerp of Map toe aan de lijst."));
            bool imported = false;
            whenModal(QStringLiteral(" Import Picture"), [&imported](QWidget *import) {
                imported = true;
                import->close();
            });
            click("ImportKnop");
            QVERIFY(imported);

            m.fakes.dialogs.inputs << QStringLiteral("Vogels");
            click("AddKnop");
            auto *list = static_cast<QListWidget *>(control("List1"));
            const QList<QListWidgetItem *> items = list->findItems(QStringLiteral("Vogels"), Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            doubleClickItem(list, items.first());
            QCOMPARE(m.state.Onderwerp, QStringLiteral("Vogels"));
            static_cast<QLineEdit *>(control("Text1"))->setText(QStringLiteral("80,5"));
            click("ExitKnop");
            QVERIFY(!tools->isVisible());
            walked = true;
        });
        m.menu(5);
        QVERIFY(walked);
        m.window->end(Main::Ending::Stoppen);
        QVERIFY(m.fakes.dialogs.shown.empty());
    }
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")), QByteArray("80\r\n\"Vogels\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n"));
    MainFixture again(folder);
    QCOMPARE(again.state.Onderwerp, QStringLiteral("Vogels"));
    QCOMPARE(again.info(), QStringLiteral("0 plaatjes aanwezig in de map - Vogels -"));
    // The new subject has no pictures yet: no game starts there.
    again.menu(1);
    QVERIFY(again.fakes.dialogs.shown.empty());
    QVERIFY(!again.state.SpelBezig);
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
