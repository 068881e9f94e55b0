#include "settings/Tools.h"

#include "core/Artwork.h"
#include "core/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"
#include "settings/Quality.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

using namespace Widgets;

namespace {
constexpr int kWidth = 6900;
constexpr int kHeight = 4455;

// A control's place in its frame, in twips; a size of 0 is taken from the control's content.
const Placement kLayout[] = {
    {"Frame1", 60, -15, 4185, 1080},
    {"Label3", 150, 240, 0, 0},
    {"BackImport", 135, 540, 810, 390},
    {"ImportKnop", 165, 570, 750, 330},
    {"Frame6", 60, 1080, 4185, 1605},
    {"BackScroll", 135, 240, 330, 1230},
    {"SoortScroll", 165, 270, 270, 1170},
    {"Label6", 630, 240, 885, 885},
    {"Image3", 705, 315, 750, 750},
    {"Label7", 630, 1230, 0, 0},
    {"Check1", 1800, 210, 2100, 0},
    {"Label8", 2100, 600, 1890, 600},
    {"Frame2", 60, 2700, 1500, 1245},
    {"GeluidCheck", 150, 180, 0, 0},
    {"Image2", 90, 600, 0, 0},
    {"Frame5", 1665, 2700, 2580, 1245},
    {"Text1", 135, 225, 690, 285},
    {"Label5", 900, 255, 0, 0},
    {"Label4", 135, 600, 2415, 600},
    {"Frame3", 4350, -15, 2415, 3360},
    {"List1", 120, 210, 2160, 2220},
    {"Label1", 150, 2490, 0, 0},
    {"AddLabel", 120, 2850, 1500, 390},
    {"DelKnop", 150, 2880, 735, 330},
    {"AddKnop", 885, 2880, 705, 330},
    {"Image1", 1800, 2760, 0, 0},
    {"Frame4", 4350, 3345, 2415, 600},
    {"Label2", 1605, 180, 705, 345},
    {"ExitKnop", 1635, 210, 645, 285},
};

const char *const kAddPrompt =
    "Geef een nieuwe naam voor het onderwerp die tevens dient als Map waarin de plaatjes worden opgeslagen.";

QString orderCaption(bool random)
{
    return random ? QStringLiteral("Willekeurige volgorde") : QStringLiteral("Op volgorde 1,2,3...enz.");
}

QString soundCaption(bool on)
{
    return on ? QStringLiteral("Geluid aan") : QStringLiteral("Geluid uit");
}
}

Tools::Tools(ProgramState &state, Services &services, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services), m_subjects(state.picturesRoot())
{
    // The window's texts were measured for the platform's small dialog font; larger ones would be
    // cut off by the frames of the layout table.
    setUpWindow(this, "Tools", QStringLiteral(" Tools"), kWidth, kHeight);
    layOut();
    connectControls();
    Form_Load();
}

void Tools::layOut()
{
    Frame1 = makeFrame(this, "Frame1");
    Label3 = makeLabel(Frame1, "Label3");
    BackImport = blackBorder(Frame1, "BackImport");
    ImportKnop = makeButton(Frame1, "ImportKnop", "Import");

    Frame6 = makeFrame(this, "Frame6");
    BackScroll = blackBorder(Frame6, "BackScroll");
    SoortScroll = make<QScrollBar>(Frame6, "SoortScroll");
    SoortScroll->setOrientation(Qt::Vertical);
    SoortScroll->setRange(1, 10);
    SoortScroll->setSingleStep(1);
    SoortScroll->setPageStep(1);
    Label6 = makeLabel(Frame6, "Label6");
    setBackground(Label6, 224, 224, 224);
    Image3 = makeLabel(Frame6, "Image3");
    Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label7 = makeLabel(Frame6, "Label7", QStringLiteral("Keuze vakje"));
    Check1 = make<QCheckBox>(Frame6, "Check1");
    Label8 = makeLabel(
        Frame6, "Label8",
        QStringLiteral("Je kunt plaatjes in random volgorde laden of vooraan beginnend met 1,2,3...enz. "));
    Label8->setWordWrap(true);
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = makeFrame(this, "Frame2");
    GeluidCheck = make<QCheckBox>(Frame2, "GeluidCheck");
    Image2 = makeLabel(Frame2, "Image2");
    Image2->setPixmap(Artwork::pixmap(QStringLiteral("tools2.png")));

    Frame5 = makeFrame(this, "Frame5");
    Text1 = make<QLineEdit>(Frame5, "Text1");
    Label5 = makeLabel(Frame5, "Label5", QStringLiteral("%"));
    Label4 = makeLabel(Frame5, "Label4", QStringLiteral("Jpg Kwaliteit van de opgeslagen plaatjes"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame3 = makeFrame(this, "Frame3");
    List1 = make<QListWidget>(Frame3, "List1");
    List1->setSortingEnabled(false);
    List1->setFont(makeFont("Arial", 9.75));
    setBackground(List1, 180, 210, 170);
    Label1 = makeLabel(Frame3, "Label1");
    Label1->setFont(makeFont("Arial", 9));
    AddLabel = blackBorder(Frame3, "AddLabel");
    DelKnop = makeButton(Frame3, "DelKnop", "Delete");
    AddKnop = makeButton(Frame3, "AddKnop", "Add");
    Image1 = makeLabel(Frame3, "Image1");
    Image1->setPixmap(Artwork::pixmap(QStringLiteral("tools1.png")));

    Frame4 = makeFrame(this, "Frame4");
    Label2 = blackBorder(Frame4, "Label2");
    ExitKnop = makeButton(Frame4, "ExitKnop", "Exit");

    placeAll(this, kLayout);
    // Beyond its rectangle it would cover bare Frame6, where the mouse turns the box preview back.
    shrinkToFit(Label8);
    fitText(Label4);
}

void Tools::connectControls()
{
    connect(ImportKnop, &QPushButton::clicked, this, &Tools::importRequested);
    connect(AddKnop, &QPushButton::clicked, this, &Tools::AddKnop_Click);
    connect(DelKnop, &QPushButton::clicked, this, &Tools::DelKnop_Click);
    connect(ExitKnop, &QPushButton::clicked, this, &Tools::ExitKnop_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &Tools::List1_DblClick);
    connect(Check1, &QCheckBox::toggled, this, &Tools::Check1_Click);
    connect(GeluidCheck, &QCheckBox::toggled, this, &Tools::GeluidCheck_Click);
    connect(Text1, &QLineEdit::textChanged, this, &Tools::Text1_Change);

    const auto say = [this](QWidget *widget, const QString &text) {
        onHover(widget, [this, text] { Q_EMIT infoRegel(text); });
    };
    say(ImportKnop,
        QStringLiteral("Tool voor het importeren van foto's, cliparts naar plaatjes voor dit programma."));
    say(AddKnop, QStringLiteral("Met deze knop voeg je een Onderwerp of Map toe aan de lijst."));
    say(DelKnop, QStringLiteral("Met deze knop verwijder je een Onderwerp of Map."));
    // The list's items lie on its viewport, which gets the moves; its border is the list's own.
    say(List1, QStringLiteral("Dubbelklik is Onderwerp of Map selecteren."));
    say(List1->viewport(), QStringLiteral("Dubbelklik is Onderwerp of Map selecteren."));
    say(Label1, QStringLiteral("Dit is het actuele Onderwerp of Map."));
    say(GeluidCheck, QStringLiteral("Hiermee zet je het geluid aan of uit."));
    say(Text1, QStringLiteral("Dit geeft de kwaliteit aan van het plaatje dat wordt opgeslagen"));
    say(ExitKnop, QStringLiteral("Tool menu weer verlaten..."));
    for (QFrame *frame : {Frame1, Frame2, Frame3, Frame4, Frame5})
        say(frame, QStringLiteral("-"));

    // The blink face shows while the pointer is on the preview, the rest face once it is back on
    // the frame around it.
    onHover(Image3, [this] { Image3->setPixmap(Artwork::boxFace(SoortScroll->value(), 2)); });
    onHover(Frame6, [this] { Image3->setPixmap(Artwork::boxFace(SoortScroll->value(), 1)); });
}

void Tools::Form_Load()
{
    Label3->setText(QStringLiteral("Importeer plaatjes naar map ") + m_state.Onderwerp);
    Label3->adjustSize();

    // A stored kind outside 1..10 is drawn as kind 1 by the game, so the window shows that one and
    // leaves the setting alone until the user moves the bar.
    Image3->setPixmap(Artwork::boxFace(m_state.faceKind(), 1));
    SoortScroll->setValue(m_state.faceKind());
    connect(SoortScroll, &QScrollBar::valueChanged, this, &Tools::SoortScroll_Change);

    {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(m_state.Willekeurig);
    }
    Check1->setText(orderCaption(m_state.Willekeurig));
    {
        const QSignalBlocker quiet(GeluidCheck);
        GeluidCheck->setChecked(m_state.GeluidAan);
    }
    GeluidCheck->setText(soundCaption(m_state.GeluidAan));
    GeluidCheck->adjustSize();

    // Runs the quality check, so a stored value outside 1..100 becomes 75 here.
    Text1->setText(QString::number(m_state.Kwaliteit));

    fillList(true);
    Label1->setText(m_state.Onderwerp);
    Label1->adjustSize();
}

void Tools::fillList(bool lowerCase)
{
    List1->clear();
    // A pictures folder that cannot be listed leaves the list empty.
    for (const QString &name : m_subjects.list())
        List1->addItem(lowerCase ? name.toLower() : name);
}

void Tools::List1_DblClick(QListWidgetItem *item)
{
    if (!item)
        return;
    m_state.Onderwerp = item->text();
    setBackground(List1, 250, 80, 0);
    m_services.waiter.wait(0.2);
    setBackground(List1, 180, 210, 170);
    Label1->setText(m_state.Onderwerp);
    Label1->adjustSize();
}

void Tools::AddKnop_Click()
{
    const QString answer = m_services.dialogs.input(QString::fromLatin1(kAddPrompt), QStringLiteral(" Nieuw"));
    if (answer.isEmpty())
        return;
    if (m_subjects.add(answer) != Subjects::Result::Done) {
        m_services.dialogs.message(QStringLiteral("Map bestaat reeds..."), QStringLiteral("Tuurbord"),
                                   Dialogs::Icon::None, Dialogs::Buttons::Ok);
        return;
    }
    fillList(false);
}

void Tools::DelKnop_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    const QString name = selected.isEmpty() ? QString() : selected.first()->text();
    const Dialogs::Answer answer =
        m_services.dialogs.message(QStringLiteral("Wil je het onderwerp [ ") + name + QStringLiteral(" ] verwijderen?"),
                                   QStringLiteral(" Delete"), Dialogs::Icon::None, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    if (selected.isEmpty() || m_subjects.remove(name) != Subjects::Result::Done) {
        m_services.dialogs.message(QStringLiteral("Eerst een onderwerp selecteren!"), QStringLiteral(" Error"),
                                   Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    }
    fillList(false);
}

void Tools::Check1_Click(bool ticked)
{
    m_state.Willekeurig = ticked;
    Check1->setText(orderCaption(ticked));
}

void Tools::GeluidCheck_Click(bool ticked)
{
    m_state.GeluidAan = ticked;
    GeluidCheck->setText(soundCaption(ticked));
    GeluidCheck->adjustSize();
}

void Tools::SoortScroll_Change(int value)
{
    Image3->setPixmap(Artwork::boxFace(value, 1));
    m_state.SoortVakje = std::uint8_t(value);
}

void Tools::Text1_Change()
{
    // Putting "75" into the box changes its text again; that change needs no second check.
    if (m_settingText)
        return;
    const std::optional<int> quality = Quality::fromText(Text1->text());
    if (!quality) {
        const QScopedValueRollback guard(m_settingText, true);
        Text1->setText(QString::number(Quality::kDefault));
        m_state.Kwaliteit = Quality::kDefault;
        return;
    }
    m_state.Kwaliteit = std::uint8_t(*quality);
}

void Tools::ExitKnop_Click()
{
    if (const std::optional<int> quality = Quality::fromText(Text1->text()))
        m_state.Kwaliteit = std::uint8_t(*quality);
    accept();
}
