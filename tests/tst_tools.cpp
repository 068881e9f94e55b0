#include "game/Artwork.h"
#include "platform/Desktop.h"
#include "settings/Tools.h"
#include "support/MainFixture.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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

// The settings window on a program folder of its own, with fake services.
struct ToolsFixture
{
    explicit ToolsFixture(const QString &programFolder, const std::function<void(ProgramState &)> &setUp = {})
        : state(programFolder)
    {
        fakes.services.infoRegel = [this](const QString &text) { info = text; };
        if (setUp)
            setUp(state);
        window = std::make_unique<Tools>(state, fakes.services);
        window->show();
    }
    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QListWidget *list() const { return find<QListWidget>(QStringLiteral("List1")); }
    QLineEdit *quality() const { return find<QLineEdit>(QStringLiteral("Text1")); }
    QScrollBar *scroll() const { return find<QScrollBar>(QStringLiteral("SoortScroll")); }
    QString label(const QString &name) const { return find<QLabel>(name)->text(); }
    QStringList entries() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text();
        return names;
    }
    void click(const QString &name) const { QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(4, 4)); }
    void hover(QWidget *w) const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    void hover(const QString &name) const
    {
        hover(name == QLatin1String("List1") ? list()->viewport() : find(name));
    }
    QListWidgetItem *item(const QString &text) const
    {
        const QList<QListWidgetItem *> found = list()->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void select(const QString &text) const { list()->setCurrentItem(item(text)); }
    void doubleClick(const QString &text) const { doubleClickItem(list(), item(text)); }
    void add(const QString &answer)
    {
        fakes.dialogs.inputs << answer;
        click(QStringLiteral("AddKnop"));
    }
    QImage preview() const { return find<QLabel>(QStringLiteral("Image3"))->pixmap().toImage(); }

    FakeServices fakes;
    ProgramState state;
    QString info;
    std::unique_ptr<Tools> window;
};

QImage face(int kind, int which)
{
    return Artwork::boxFace(kind, which).toImage();
}

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

QColor listColour(const QListWidget *list)
{
    return list->viewport()->palette().color(QPalette::Base);
}

const QString kExists = QStringLiteral("Map bestaat reeds...");
const QString kSelectFirst = QStringLiteral("Eerst een onderwerp selecteren!");
}

class TestTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void windowIsModalFixedAndTitled();
    void layoutFollowsTwipsTable_data();
    void layoutFollowsTwipsTable();
    void wrappedTextsShowWhole_data();
    void wrappedTextsShowWhole();
    void openingShowsSettings();
    void listIsLowerCaseOnOpeningAndAsSpelledAfterAdd();
    void addAsksWithPromptAndTitle();
    void addCancelledOrEmptyDoesNothing();
    void addTakenNameInOtherCase();
    void addMakesMissingPicturesFolder();
    void hostileNamesTouchNothing_data();
    void hostileNamesTouchNothing();
    void deleteFolderWithPicturesKeepsIt();
    void deleteEmptyFolder();
    void deleteAnsweredNoKeepsFolder();
    void deleteWithNothingSelected_data();
    void deleteWithNothingSelected();
    void deleteCurrentSubjectKeepsItSelected();
    void doubleClickSelectsSubjectAndFlashes();
    void quality_data();
    void quality();
    void qualityTypedOutOfRangeAndCleared();
    void storedQualityOutsideRangeBecomes75_data();
    void storedQualityOutsideRangeBecomes75();
    void exitTakesQualityAndCloses();
    void boxKindPreviewAndFaces();
    void boxKindArrowsAndTrack();
    void storedBoxKind_data();
    void storedBoxKind();
    void checkBoxes_data();
    void checkBoxes();
    void hoverTexts_data();
    void hoverTexts();
    void silentControls_data();
    void silentControls();
    void importCallsHook();
    void settingsFileWithQuality150();
    void wholeRoundThroughTheMainWindow();
};

void TestTools::windowIsModalFixedAndTitled()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    QCOMPARE(f.window->windowTitle(), QStringLiteral(" Tools"));
    QVERIFY(f.window->isModal());
    QCOMPARE(f.window->size(), QSize(452, 267));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
}

void TestTools::layoutFollowsTwipsTable_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("inWindow"); // pixels, relative to the client area
    QTest::newRow("Frame1 hides its top edge") << "Frame1" << QRect(4, -1, 279, 72);
    QTest::newRow("ImportKnop") << "ImportKnop" << QRect(15, 37, 50, 22);
    QTest::newRow("black border 2 px larger") << "BackImport" << QRect(13, 35, 54, 26);
    QTest::newRow("Frame6") << "Frame6" << QRect(4, 72, 279, 107);
    QTest::newRow("SoortScroll") << "SoortScroll" << QRect(15, 90, 18, 78);
    QTest::newRow("grey square") << "Label6" << QRect(46, 88, 59, 59);
    QTest::newRow("Image3") << "Image3" << QRect(51, 93, 50, 50);
    QTest::newRow("Frame2") << "Frame2" << QRect(4, 180, 100, 83);
    QTest::newRow("Text1 in Frame5") << "Text1" << QRect(120, 195, 46, 19);
    QTest::newRow("Frame3") << "Frame3" << QRect(290, -1, 161, 224);
    QTest::newRow("List1") << "List1" << QRect(298, 13, 144, 148);
    QTest::newRow("DelKnop") << "DelKnop" << QRect(300, 191, 49, 22);
    QTest::newRow("AddKnop") << "AddKnop" << QRect(349, 191, 47, 22);
    QTest::newRow("Frame4") << "Frame4" << QRect(290, 223, 161, 40);
    QTest::newRow("ExitKnop") << "ExitKnop" << QRect(399, 237, 43, 19);
}

void TestTools::layoutFollowsTwipsTable()
{
    QFETCH(QString, control);
    QFETCH(QRect, inWindow);
    TestFolder folder;
    ToolsFixture f(folder.path());
    QWidget *w = f.find(control);
    QCOMPARE(QRect(w->mapTo(f.window.get(), QPoint(0, 0)), w->size()), inWindow);
}

void TestTools::wrappedTextsShowWhole_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("tableRect"); // at least this place; taller only when the text needs it
    QTest::newRow("Label8") << "Label8" << QRect(144, 112, 126, 40);
    QTest::newRow("Label4") << "Label4" << QRect(120, 220, 161, 40);
}

void TestTools::wrappedTextsShowWhole()
{
    QFETCH(QString, control);
    QFETCH(QRect, tableRect);
    TestFolder folder;
    ToolsFixture f(folder.path());
    auto *label = f.find<QLabel>(control);
    const QRect at(label->mapTo(f.window.get(), QPoint(0, 0)), label->size());
    QCOMPARE(at.topLeft(), tableRect.topLeft());
    QCOMPARE(at.width(), tableRect.width());
    QVERIFY(at.height() >= tableRect.height());
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    QVERIFY(label->parentWidget()->rect().contains(label->geometry()));
}

void TestTools::openingShowsSettings()
{
    TestFolder folder;
    ToolsFixture f(folder.path(), [](ProgramState &s) {
        s.Onderwerp = QStringLiteral("Dieren");
        s.Kwaliteit = 90;
        s.SoortVakje = 4;
    });
    QCOMPARE(f.label(QStringLiteral("Label3")), QStringLiteral("Importeer plaatjes naar map Dieren"));
    QCOMPARE(f.label(QStringLiteral("Label1")), QStringLiteral("Dieren"));
    QCOMPARE(f.quality()->text(), QStringLiteral("90"));
    QCOMPARE(f.scroll()->value(), 4);
    QCOMPARE(f.preview(), face(4, 1));
    QCOMPARE(f.label(QStringLiteral("Label7")), QStringLiteral("Keuze vakje"));
    QCOMPARE(f.label(QStringLiteral("Label5")), QStringLiteral("%"));
    QCOMPARE(f.label(QStringLiteral("Label4")), QStringLiteral("Jpg Kwaliteit van de opgeslagen plaatjes"));
    QCOMPARE(f.label(QStringLiteral("Label8")),
             QStringLiteral("Je kunt plaatjes in random volgorde laden of vooraan beginnend met 1,2,3...enz. "));
    QCOMPARE(f.find<QPushButton>(QStringLiteral("ImportKnop"))->text(), QStringLiteral("Import"));
    QCOMPARE(f.find<QPushButton>(QStringLiteral("AddKnop"))->text(), QStringLiteral("Add"));
    QCOMPARE(f.find<QPushButton>(QStringLiteral("DelKnop"))->text(), QStringLiteral("Delete"));
    QCOMPARE(f.find<QPushButton>(QStringLiteral("ExitKnop"))->text(), QStringLiteral("Exit"));
    QCOMPARE(f.state.Kwaliteit, 90);
    QCOMPARE(f.state.SoortVakje, 4);
    QVERIFY(f.entries().isEmpty());
    QVERIFY(f.fakes.dialogs.shown.empty());
}

void TestTools::listIsLowerCaseOnOpeningAndAsSpelledAfterAdd()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Gebruiksvoorwerpen"), {QStringLiteral("bal.jpg")});
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    ToolsFixture f(folder.path());
    QCOMPARE(f.entries(), (QStringList{"dieren", "gebruiksvoorwerpen"}));
    f.add(QStringLiteral("Vogels"));
    QVERIFY(f.fakes.dialogs.shown.empty());
    QCOMPARE(f.entries(), (QStringList{"Dieren", "Gebruiksvoorwerpen", "Vogels"}));
    QVERIFY(QFileInfo(folder.file(QStringLiteral("plaatjes/Vogels"))).isDir());
    QCOMPARE(f.state.Onderwerp, QStringLiteral("gebruiksvoorwerpen"));
    QVERIFY(f.list()->selectedItems().isEmpty());
}

void TestTools::addAsksWithPromptAndTitle()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    f.click(QStringLiteral("AddKnop"));
    QCOMPARE(f.fakes.dialogs.prompts,
             QStringList{" Nieuw|Geef een nieuwe naam voor het onderwerp die tevens dient als Map waarin de plaatjes "
                         "worden opgeslagen."});
}

void TestTools::addCancelledOrEmptyDoesNothing()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {});
    ToolsFixture f(folder.path());
    const QStringList before = tree(folder.path());
    f.click(QStringLiteral("AddKnop")); // Annuleren answers with the empty string
    f.add(QString());
    QCOMPARE(f.fakes.dialogs.prompts.size(), 2);
    QVERIFY(f.fakes.dialogs.shown.empty());
    QCOMPARE(tree(folder.path()), before);
    QCOMPARE(f.entries(), QStringList{"dieren"}); // not refilled: still lower case
}

void TestTools::addTakenNameInOtherCase()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {});
    ToolsFixture f(folder.path());
    const QStringList before = tree(folder.path());
    f.add(QStringLiteral("dieren"));
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, kExists);
    QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral("Tuurbord"));
    QCOMPARE(f.fakes.dialogs.shown[0].icon, Dialogs::Icon::None);
    QCOMPARE(f.fakes.dialogs.shown[0].buttons, Dialogs::Buttons::Ok);
    QCOMPARE(tree(folder.path()), before);
}

void TestTools::addMakesMissingPicturesFolder()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    QVERIFY(f.entries().isEmpty());
    f.add(QStringLiteral("Vogels"));
    QVERIFY(f.fakes.dialogs.shown.empty());
    QVERIFY(QFileInfo(folder.file(QStringLiteral("plaatjes/Vogels"))).isDir());
    QCOMPARE(f.entries(), QStringList{"Vogels"});
}

void TestTools::hostileNamesTouchNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../x";
    QTest::newRow("out of the program folder") << "../../x";
    QTest::newRow("nested") << "a/b";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("dot") << ".";
    QTest::newRow("backslash") << "x\\y";
    QTest::newRow("300 characters") << QString(300, QLatin1Char('x'));
    QTest::newRow("newline") << "x\ny";
    QTest::newRow("device with colon") << "con:";
    QTest::newRow("question mark") << "what?";
    QTest::newRow("trailing blank") << "x ";
    QTest::newRow("trailing dot") << "x.";
    QTest::newRow("double quote") << "a\"b";
}

void TestTools::hostileNamesTouchNothing()
{
    QFETCH(QString, name);
    // The program folder lies one level down, so that an escape by two levels is seen as well.
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program + QStringLiteral("/plaatjes/dieren")));
    ToolsFixture f(program);
    const QStringList before = tree(folder.path());
    f.add(name);
    QCOMPARE(tree(folder.path()), before);
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, kExists);
    QCOMPARE(f.entries(), QStringList{"dieren"});
}

void TestTools::deleteFolderWithPicturesKeepsIt()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    ToolsFixture f(folder.path());
    f.select(QStringLiteral("dieren"));
    f.click(QStringLiteral("DelKnop"));
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(2));
    QCOMPARE(f.fakes.dialogs.shown[0].text, QStringLiteral("Wil je het onderwerp [ dieren ] verwijderen?"));
    QCOMPARE(f.fakes.dialogs.shown[0].title, QStringLiteral(" Delete"));
    QCOMPARE(f.fakes.dialogs.shown[0].icon, Dialogs::Icon::None);
    QCOMPARE(f.fakes.dialogs.shown[0].buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(f.fakes.dialogs.shown[1].text, kSelectFirst);
    QCOMPARE(f.fakes.dialogs.shown[1].title, QStringLiteral(" Error"));
    QCOMPARE(f.fakes.dialogs.shown[1].icon, Dialogs::Icon::Stop);
    QCOMPARE(f.fakes.dialogs.shown[1].buttons, Dialogs::Buttons::Ok);
    QVERIFY(folder.exists(QStringLiteral("plaatjes/Dieren/aap.jpg")));
    QCOMPARE(f.entries(), QStringList{"dieren"});
}

void TestTools::deleteEmptyFolder()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Dieren"), {QStringLiteral("aap.jpg")});
    folder.makeSubject(QStringLiteral("Leeg"), {});
    ToolsFixture f(folder.path());
    f.select(QStringLiteral("leeg"));
    f.click(QStringLiteral("DelKnop"));
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QCOMPARE(f.fakes.dialogs.shown[0].text, QStringLiteral("Wil je het onderwerp [ leeg ] verwijderen?"));
    QVERIFY(!folder.exists(QStringLiteral("plaatjes/Leeg")));
    QCOMPARE(f.entries(), QStringList{"Dieren"});
}

void TestTools::deleteAnsweredNoKeepsFolder()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Leeg"), {});
    ToolsFixture f(folder.path());
    f.fakes.dialogs.answers.push_back(Dialogs::Answer::No);
    f.select(QStringLiteral("leeg"));
    f.click(QStringLiteral("DelKnop"));
    QCOMPARE(f.fakes.dialogs.shown.size(), size_t(1));
    QVERIFY(folder.exists(QStringLiteral("plaatjes/Leeg")));
    QCOMPARE(f.entries(), QStringList{"leeg"});
}

void TestTools::deleteWithNothingSelected_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QStringList>("messages");
    const QString question = QStringLiteral("Wil je het onderwerp [  ] verwijderen?");
    QTest::newRow("yes") << Dialogs::Answer::Yes << QStringList{question, kSelectFirst};
    QTest::newRow("no") << Dialogs::Answer::No << QStringList{question};
}

void TestTools::deleteWithNothingSelected()
{
    QFETCH(Dialogs::Answer, answer);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Leeg"), {});
    ToolsFixture f(folder.path());
    f.fakes.dialogs.answers.push_back(answer);
    f.click(QStringLiteral("DelKnop"));
    QStringList texts;
    for (const auto &shown : f.fakes.dialogs.shown)
        texts << shown.text;
    QTEST(texts, "messages");
    QVERIFY(folder.exists(QStringLiteral("plaatjes/Leeg")));
}

void TestTools::deleteCurrentSubjectKeepsItSelected()
{
    TestFolder folder;
    folder.makeSubject(QStringLiteral("Leeg"), {});
    ToolsFixture f(folder.path(), [](ProgramState &s) { s.Onderwerp = QStringLiteral("leeg"); });
    f.select(QStringLiteral("leeg"));
    f.click(QStringLiteral("DelKnop"));
    QVERIFY(!folder.exists(QStringLiteral("plaatjes/Leeg")));
    QCOMPARE(f.state.Onderwerp, QStringLiteral("leeg"));
    QCOMPARE(f.label(QStringLiteral("Label1")), QStringLiteral("leeg"));
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
    f.doubleClick(QStringLiteral("dieren"));
    QCOMPARE(f.state.Onderwerp, QStringLiteral("dieren"));
    QCOMPARE(f.label(QStringLiteral("Label1")), QStringLiteral("dieren"));
    QCOMPARE(during, QList<QColor>{QColor(250, 80, 0)});
    QCOMPARE(f.fakes.waiter.total, 0.2);
    QCOMPARE(listColour(f.list()), QColor(180, 210, 170));
    QCOMPARE(f.label(QStringLiteral("Label3")), QStringLiteral("Importeer plaatjes naar map gebruiksvoorwerpen"));
    // The lower-case name still finds the folder spelled with a capital.
    QCOMPARE(QFileInfo(f.state.subjectDir()).fileName(), QStringLiteral("Dieren"));
}

void TestTools::quality_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("kwaliteit");
    QTest::newRow("above 100") << "150" << "75" << 75;
    QTest::newRow("zero") << "0" << "75" << 75;
    QTest::newRow("empty") << "" << "75" << 75;
    QTest::newRow("blanks only") << "  " << "75" << 75;
    QTest::newRow("not a number") << "abc" << "75" << 75;
    QTest::newRow("negative") << "-5" << "75" << 75;
    QTest::newRow("just below 1") << "0.99" << "75" << 75;
    QTest::newRow("just above 100") << "100.01" << "75" << 75;
    QTest::newRow("point and comma") << "1.000,5" << "75" << 75;
    QTest::newRow("infinity") << "inf" << "75" << 75;
    QTest::newRow("not a number literal") << "nan" << "75" << 75;
    QTest::newRow("80") << "80" << "80" << 80;
    QTest::newRow("1") << "1" << "1" << 1;
    QTest::newRow("100") << "100" << "100" << 100;
    QTest::newRow("half with a point goes to even") << "80.5" << "80.5" << 80;
    QTest::newRow("half with a comma goes to even") << "80,5" << "80,5" << 80;
    QTest::newRow("2.5 goes down to 2") << "2.5" << "2.5" << 2;
    QTest::newRow("3.5 goes up to 4") << "3.5" << "3.5" << 4;
    QTest::newRow("above a half") << "80.51" << "80.51" << 81;
    QTest::newRow("blanks around") << " 42 " << " 42 " << 42;
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

void TestTools::qualityTypedOutOfRangeAndCleared()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    QLineEdit *box = f.quality();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("15"));
    QCOMPARE(f.state.Kwaliteit, 15);
    QTest::keyClick(box, Qt::Key_0); // 150
    QCOMPARE(box->text(), QStringLiteral("75"));
    QCOMPARE(f.state.Kwaliteit, 75);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("9"));
    QCOMPARE(f.state.Kwaliteit, 9);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("75"));
    QCOMPARE(f.state.Kwaliteit, 75);
}

void TestTools::storedQualityOutsideRangeBecomes75_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("kwaliteit");
    QTest::newRow("150") << 150 << "75" << 75;
    QTest::newRow("0") << 0 << "75" << 75;
    QTest::newRow("255") << 255 << "75" << 75;
    QTest::newRow("100 stays") << 100 << "100" << 100;
    QTest::newRow("1 stays") << 1 << "1" << 1;
}

void TestTools::storedQualityOutsideRangeBecomes75()
{
    QFETCH(int, stored);
    TestFolder folder;
    ToolsFixture f(folder.path(), [stored](ProgramState &s) { s.Kwaliteit = std::uint8_t(stored); });
    QTEST(f.quality()->text(), "shown");
    QTEST(int(f.state.Kwaliteit), "kwaliteit");
}

void TestTools::exitTakesQualityAndCloses()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    f.quality()->setText(QStringLiteral("80,5"));
    f.click(QStringLiteral("ExitKnop"));
    QCOMPARE(f.state.Kwaliteit, 80);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.window->result(), int(QDialog::Accepted));
}

void TestTools::boxKindPreviewAndFaces()
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

void TestTools::boxKindArrowsAndTrack()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    f.scroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(f.state.SoortVakje, 2);
    f.scroll()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(f.state.SoortVakje, 3);
    QCOMPARE(f.preview(), face(3, 1));
    f.scroll()->triggerAction(QAbstractSlider::SliderToMaximum);
    f.scroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(f.state.SoortVakje, 10);
    f.scroll()->triggerAction(QAbstractSlider::SliderToMinimum);
    f.scroll()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(f.state.SoortVakje, 1);
}

void TestTools::storedBoxKind_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("position");
    QTest::newRow("7") << 7 << 7;
    QTest::newRow("10") << 10 << 10;
    // The game draws kind 1 for a stored kind outside 1..10; the window shows what the game draws.
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("200") << 200 << 1;
}

void TestTools::storedBoxKind()
{
    QFETCH(int, stored);
    QFETCH(int, position);
    TestFolder folder;
    ToolsFixture f(folder.path(), [stored](ProgramState &s) { s.SoortVakje = std::uint8_t(stored); });
    QCOMPARE(f.scroll()->value(), position);
    QCOMPARE(f.preview(), face(position, 1));
    QCOMPARE(int(f.state.SoortVakje), stored);
}

void TestTools::checkBoxes_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("afterClick");
    QTest::newRow("random order") << "Check1" << true << "Willekeurige volgorde" << "Op volgorde 1,2,3...enz.";
    QTest::newRow("in order") << "Check1" << false << "Op volgorde 1,2,3...enz." << "Willekeurige volgorde";
    QTest::newRow("sound on") << "GeluidCheck" << true << "Geluid aan" << "Geluid uit";
    QTest::newRow("sound off") << "GeluidCheck" << false << "Geluid uit" << "Geluid aan";
}

void TestTools::checkBoxes()
{
    QFETCH(QString, control);
    QFETCH(bool, stored);
    TestFolder folder;
    const bool order = control == QLatin1String("Check1");
    ToolsFixture f(folder.path(), [&](ProgramState &s) { (order ? s.Willekeurig : s.GeluidAan) = stored; });
    const auto setting = [&] { return order ? f.state.Willekeurig : f.state.GeluidAan; };
    auto *box = f.find<QCheckBox>(control);
    QCOMPARE(box->isChecked(), stored);
    QTEST(box->text(), "caption");
    QCOMPARE(setting(), stored);
    f.click(control);
    QCOMPARE(box->isChecked(), !stored);
    QTEST(box->text(), "afterClick");
    QCOMPARE(setting(), !stored);
    // The other setting is left alone.
    QCOMPARE(order ? f.state.GeluidAan : f.state.Willekeurig, true);
}

void TestTools::hoverTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("ImportKnop")
        << "ImportKnop" << "Tool voor het importeren van foto's, cliparts naar plaatjes voor dit programma.";
    QTest::newRow("AddKnop") << "AddKnop" << "Met deze knop voeg je een Onderwerp of Map toe aan de lijst.";
    QTest::newRow("DelKnop") << "DelKnop" << "Met deze knop verwijder je een Onderwerp of Map.";
    QTest::newRow("List1") << "List1" << "Dubbelklik is Onderwerp of Map selecteren.";
    QTest::newRow("Label1") << "Label1" << "Dit is het actuele Onderwerp of Map.";
    QTest::newRow("GeluidCheck") << "GeluidCheck" << "Hiermee zet je het geluid aan of uit.";
    QTest::newRow("Text1") << "Text1" << "Dit geeft de kwaliteit aan van het plaatje dat wordt opgeslagen";
    QTest::newRow("ExitKnop") << "ExitKnop" << "Tool menu weer verlaten...";
    for (const char *frame : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5"})
        QTest::newRow(frame) << frame << "-";
}

void TestTools::hoverTexts()
{
    QFETCH(QString, control);
    TestFolder folder;
    folder.makeSubject(QStringLiteral("dieren"), {});
    ToolsFixture f(folder.path());
    f.info = QStringLiteral("(niets)");
    f.hover(control);
    QTEST(f.info, "text");
}

void TestTools::silentControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("Check1") << "Check1";
    QTest::newRow("SoortScroll") << "SoortScroll";
    QTest::newRow("Frame6") << "Frame6";
    QTest::newRow("Image3") << "Image3";
}

void TestTools::silentControls()
{
    QFETCH(QString, control);
    TestFolder folder;
    ToolsFixture f(folder.path());
    f.info = QStringLiteral("(niets)");
    f.hover(control);
    QCOMPARE(f.info, QStringLiteral("(niets)"));
}

void TestTools::importCallsHook()
{
    TestFolder folder;
    ToolsFixture f(folder.path());
    f.click(QStringLiteral("ImportKnop")); // no hook yet: nothing happens
    int calls = 0;
    f.window->onImport = [&calls] { ++calls; };
    f.click(QStringLiteral("ImportKnop"));
    QCOMPARE(calls, 1);
    QVERIFY(f.window->isVisible());
}

void TestTools::settingsFileWithQuality150()
{
    TestFolder folder;
    folder.write(QStringLiteral("Tuurbord.ini"), "150\r\n\"dieren\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n");
    MainFixture m(folder);
    QCOMPARE(m.state.Kwaliteit, 150);
    Tools tools(m.state, m.fakes.services, m.window.get());
    QCOMPARE(tools.findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("75"));
    QCOMPARE(m.state.Kwaliteit, 75);
}

void TestTools::wholeRoundThroughTheMainWindow()
{
    TestFolder folder;
    {
        MainFixture m(folder);
        Tools tools(m.state, m.fakes.services, m.window.get());
        tools.show();
        // The window's information line is the main window's.
        m.hover(QStringLiteral("ExitKnop"));
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tools.findChild<QWidget *>(QStringLiteral("AddKnop")), &move);
        QCOMPARE(m.info(), QStringLiteral("Met deze knop voeg je een Onderwerp of Map toe aan de lijst."));

        m.fakes.dialogs.inputs << QStringLiteral("Vogels");
        QTest::mouseClick(tools.findChild<QWidget *>(QStringLiteral("AddKnop")), Qt::LeftButton, {}, QPoint(4, 4));
        auto *list = tools.findChild<QListWidget *>(QStringLiteral("List1"));
        const QList<QListWidgetItem *> items = list->findItems(QStringLiteral("Vogels"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        doubleClickItem(list, items.first());
        QCOMPARE(m.state.Onderwerp, QStringLiteral("Vogels"));
        QTest::mouseClick(tools.findChild<QWidget *>(QStringLiteral("ExitKnop")), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(m.window->saveFiles());
        QVERIFY(m.fakes.dialogs.shown.empty());
    }
    QCOMPARE(folder.read(QStringLiteral("Tuurbord.ini")),
             QByteArray("75\r\n\"Vogels\"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n"));

    MainFixture again(folder);
    QCOMPARE(again.state.Onderwerp, QStringLiteral("Vogels"));
    QCOMPARE(again.info(), QStringLiteral("0 plaatjes aanwezig in de map - Vogels -"));
    again.window->NieuwSpel();
    QVERIFY(again.fakes.dialogs.shown.empty());
    QCOMPARE(again.state.Woord, QString());
    QCOMPARE(again.text(QStringLiteral("WoordLabel")), QStringLiteral("Woord van 0 letters"));
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
