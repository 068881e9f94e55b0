#include "app/Main.h"

#include "core/Artwork.h"
#include "core/ProgramState.h"
#include "core/SettingsFile.h"
#include "import/Fileform.h"
#include "platform/BusyCursor.h"
#include "printing/Afdrukken.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"
#include "scores/Oplossing.h"
#include "scores/ScoreForm.h"
#include "settings/Tools.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include <utility>

using namespace Widgets;

namespace {
constexpr int kWidth = 9000;
constexpr int kHeight = 6090;

// The entries a running game locks, and those the help page hides.
constexpr Main::Menu kLockedInAGame[] = {Main::Menu::Scorelijst, Main::Menu::Afdrukken, Main::Menu::Tools, Main::Menu::Help};
constexpr Main::Menu kBesideHelp[] = {Main::Menu::NieuwSpel, Main::Menu::Oplossing, Main::Menu::Scorelijst,
                                      Main::Menu::Afdrukken, Main::Menu::Tools};

// The boxes, the menu rows and the hint are placed by rule, further down.
const Placement kLayout[] = {
    {"Frame1", 75, -15, 8775, 5070},
    {"Pic", 120, 210, 5310, 3810},
    {"Browser", 120, 210, 5310, 3810},
    {"Label1", 120, 4140, 5340, 390},
    {"VakjeOpen", 150, 4170, 5280, 330},
    {"ScoreLabel", 120, 4590, 0, 0},
    {"BackLabel", 5550, 210, 3105, 4740},
    {"Frame2", 75, 5070, 7800, 480},
    {"InfoLabel", 105, 150, 8640, 300},
    {"BackExit", 7950, 5160, 900, 405},
    {"ExitKnop", 7980, 5190, 840, 345},
};

int rowTop(int entry)
{
    return 300 + 660 * (entry - 1);
}
}

Main::Main(ProgramState &state, Services &services, QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_spel(state, services.random)
{
    setUpWindow(this, "Main", QStringLiteral("Tuurbord"), kWidth, kHeight);
    if (m_state.Plaatje.isNull())
        m_state.Plaatje = Artwork::startPicture();
    layOut();
}

void Main::layOut()
{
    Frame1 = makeFrame(this, "Frame1");

    Pic = make<QLabel>(Frame1, "Pic");
    Pic->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Pic->setLineWidth(twips(30));
    Pic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Pic->setPixmap(Artwork::shown(m_state.Plaatje));

    Browser = make<PageBrowser>(Frame1, "Browser");
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);
    Browser->hide();

    for (int n = 1; n <= kBoxes; ++n) {
        auto *box = new QLabel(Pic);
        box->setObjectName(QStringLiteral("Vak_%1").arg(n));
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        box->setToolTip(QStringLiteral(" Vak %1 ").arg(n));
        box->setGeometry(boxGeometry(n));
        box->hide();
        Vak[n] = box;
    }

    Label1 = blackBorder(Frame1, "Label1");
    VakjeOpen = makeButton(Frame1, "VakjeOpen", "Vakje openen");
    VakjeOpen->setEnabled(false);
    connect(VakjeOpen, &QPushButton::clicked, this, &Main::VakjeOpen_Click);

    ScoreLabel = makeLabel(Frame1, "ScoreLabel", QStringLiteral("Score: 0"));
    WoordLabel = makeLabel(Frame1, "WoordLabel", QStringLiteral(".........."));
    for (QLabel *label : {ScoreLabel, WoordLabel}) {
        label->setFont(makeFont("Comic Sans MS", 12));
        setTextColor(label, 0, 64, 64);
    }

    BackLabel = make<QLabel>(Frame1, "BackLabel");
    setBackground(BackLabel, 170, 190, 210);
    buildMenu();

    Frame2 = makeFrame(this, "Frame2");
    InfoLabel = makeLabel(Frame2, "InfoLabel", QStringLiteral("Informatieregel..."));
    InfoLabel->setFont(makeFont("Arial", 9.75, true));

    BackExit = blackBorder(this, "BackExit");
    ExitKnop = makeButton(this, "ExitKnop", "Stoppen");
    connect(ExitKnop, &QPushButton::clicked, this, [this] { end(Ending::Stoppen); });

    placeAll(this, kLayout);
    showHint(WoordLabel->text()); // after Pic, whose edge it may align to

    onHover(Frame1, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(Frame2, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(BackLabel, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(ExitKnop, [this] { InfoRegel(QStringLiteral("Het programma afsluiten.")); });
}

// What belongs to each menu entry: its caption, the sound of a click and what the click does.
// The hover texts are hoverText's, two of them telling the state of the program.
struct Main::MenuEntry
{
    const char *caption;
    const char *sound;
    void (Main::*action)();
};

const Main::MenuEntry &Main::menuEntry(Menu entry)
{
    static const MenuEntry table[kMenuEntries] = {
        {"     Nieuw spel", "start.wav", &Main::NieuwSpel},
        {"     Oplossing", "knop.wav", &Main::showGuessWindow},
        {"     Scorelijst", "score.wav", &Main::showScoreList},
        {"     Afdrukken", "knop.wav", &Main::showPrintWindow},
        {"     Tools", "knop.wav", &Main::showTools},
        {"     Help", "knop.wav", &Main::LoadBrowser},
    };
    return table[int(entry) - 1];
}

void Main::buildMenu()
{
    const QFont captionFont = makeFont("Comic Sans MS", 15.75, true);
    for (int i = 1; i <= kMenuEntries; ++i) {
        KnopImg[i] = new QLabel(Frame1);
        KnopImg[i]->setObjectName(QStringLiteral("KnopImg_%1").arg(i));
        KnopImg[i]->setPixmap(Artwork::menuIcon(i));
        placeAt(KnopImg[i], 5850, rowTop(i));

        const Menu entry = Menu(i);
        const QString caption = QString::fromLatin1(menuEntry(entry).caption);
        KnopText[i] = new QLabel(caption, Frame1);
        KnopText[i]->setObjectName(QStringLiteral("KnopText_%1").arg(i));
        KnopText[i]->setFont(captionFont);
        setTextColor(KnopText[i], 120, 255, 255);
        placeAt(KnopText[i], 5850, rowTop(i) + 15);

        KnopText2[i] = new ClickLabel(caption, Frame1);
        KnopText2[i]->setObjectName(QStringLiteral("KnopText2_%1").arg(i));
        KnopText2[i]->setFont(captionFont);
        setTextColor(KnopText2[i], 20, 40, 50);
        placeAt(KnopText2[i], 5835, rowTop(i));
        connect(KnopText2[i], &ClickLabel::clicked, this, [this, entry] { KnopText2_Click(entry); });
        // A finger on an entry, as a mouse button held down, shows the press until it is lifted.
        connect(KnopText2[i], &ClickLabel::pressed, this, [this, entry] {
            if (!m_busy)
                pressLook(entry, true);
        });
        connect(KnopText2[i], &ClickLabel::released, this, [this, entry] {
            if (!m_busy)
                pressLook(entry, false);
        });
        // A disabled entry says nothing.
        onHover(KnopText2[i], [this, i, entry] {
            if (KnopText2[i]->isEnabled())
                InfoRegel(hoverText(entry));
        });
    }
}

QString Main::hoverText(Menu entry) const
{
    switch (entry) {
    case Menu::NieuwSpel:
        return QStringLiteral("Een nieuw spel beginnen met als onderwerp... ") + m_state.Onderwerp + QLatin1Char('.');
    case Menu::Oplossing:
        return QStringLiteral("Als je het antwoord weet dan kun je hier de oplossing invullen.");
    case Menu::Scorelijst:
        return QStringLiteral("Lijst van de deelnemers met hun behaalde score.");
    case Menu::Afdrukken:
        return QStringLiteral("Afdrukken van alle plaatjes per onderwerp of map");
    case Menu::Tools:
        return QStringLiteral("Instellingen wijzigen.");
    case Menu::Help:
        break;
    }
    return Browser->isVisible() ? QStringLiteral("Sluiten van de helpfunctie.")
                                : QStringLiteral("Informatie en uitleg over dit programma.");
}

void Main::Form_Load()
{
    SettingsFile::load(m_state);
    const QString folder = m_state.subjectDir();
    const qsizetype count = folder.isEmpty() ? 0 : Files::pictureFiles(folder).size();
    InfoRegel(QString::number(count) + QStringLiteral(" plaatjes aanwezig in de map - ") + m_state.Onderwerp
              + QStringLiteral(" -"));
    if (!m_state.Scorelijst.loadFile(m_state.scoresPath()) && m_state.keepsFiles)
        m_services.dialogs.message(QStringLiteral("De scorelijst ") + m_state.scoresPath()
                                       + QStringLiteral(" kon niet helemaal worden gelezen. Er gaat geen score verloren: bij "
                                                        "het stoppen wordt dit bestand bewaard als\n")
                                       + m_state.Scorelijst.keptPath()
                                       + QStringLiteral("\nen begint een nieuwe scorelijst met de scores die wel gelezen zijn."),
                                   QStringLiteral("Tuurbord"), Dialogs::Icon::None, Dialogs::Buttons::Ok);
    if (!m_state.keepsFiles)
        m_services.dialogs.message(QStringLiteral("Tuurbord kan op deze computer geen instellingen en scores bewaren: de map ")
                                       + m_state.programDir
                                       + QStringLiteral(" is niet schrijfbaar. Spelen kan wel, maar wat je verandert en de "
                                                        "scores zijn weg als het programma stopt."),
                                   QStringLiteral("Tuurbord"), Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

void Main::followProcessEndings()
{
    Desktop::onTerminationRequest(this, [this] { end(Ending::Termination); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { end(Ending::Termination); });
}

void Main::InfoRegel(const QString &text)
{
    InfoLabel->setText(text == QLatin1String("-") ? QStringLiteral("Informatieregel...") : text);
}

void Main::KnopText2_Click(Menu entry)
{
    // A click that arrives while another action is still animating is dropped.
    if (m_busy)
        return;
    m_busy = true;
    pressLook(entry, true);
    m_services.waiter.wait(0.2);
    pressLook(entry, false);
    if (!m_ending)
        menuAction(entry);
    m_busy = false;
}

void Main::pressLook(Menu entry, bool pressed)
{
    const int i = int(entry);
    const int top = rowTop(i);
    if (pressed) {
        KnopText[i]->move(twips(5865), twips(top + 15));
        setTextColor(KnopText[i], 255, 255, 255);
        KnopImg[i]->move(twips(5865), twips(top + 15));
    } else {
        KnopImg[i]->move(twips(5850), twips(top));
        KnopText[i]->move(twips(5850), twips(top + 15));
        setTextColor(KnopText[i], 120, 255, 255);
    }
}

void Main::menuAction(Menu entry)
{
    // Without a running game "Oplossing" does nothing, not even a sound.
    if (entry == Menu::Oplossing && !m_state.SpelBezig)
        return;
    const MenuEntry &what = menuEntry(entry);
    m_services.sound.speel(QString::fromLatin1(what.sound));
    (this->*what.action)();
}

void Main::showPrintWindow()
{
    Afdrukken print(m_state, m_services, this);
    connect(&print, &Afdrukken::infoRegel, this, &Main::InfoRegel);
    print.exec();
}

void Main::showGuessWindow()
{
    Oplossing guess(m_state, m_services, this);
    connect(&guess, &Oplossing::beantwoord, this, [this](const QString &answer) { m_spel.antwoord(answer); });
    connect(&guess, &Oplossing::naamGegeven, this, [this](const QString &name) { m_spel.naamGegeven(name); });
    connect(&guess, &Oplossing::wordCleared, this, [this] { showHint(QStringLiteral("..........")); });
    connect(&guess, &Oplossing::gameEnded, this, [this] { setGameMenuEnabled(true); });
    guess.exec();
    if (m_ending || !m_state.Geraden)
        return;
    if (!m_spel.goedGeraden()) {
        noPicturesLeft();
        return;
    }
    showScore();
    layBoard();
}

void Main::showScoreList()
{
    ScoreForm scores(m_state, m_services, this);
    connect(&scores, &ScoreForm::infoRegel, this, &Main::InfoRegel);
    scores.exec();
}

void Main::showTools()
{
    Tools tools(m_state, m_services, this);
    connect(&tools, &Tools::infoRegel, this, &Main::InfoRegel);
    connect(&tools, &Tools::importRequested, this, [this, &tools] {
        Fileform import(m_state, m_services, &tools);
        import.exec();
    });
    tools.exec();
}

void Main::LoadBrowser()
{
    if (!Browser->isVisible()) {
        for (const Menu entry : kBesideHelp) {
            KnopText[int(entry)]->hide();
            KnopText2[int(entry)]->setEnabled(false);
        }
        VakjeOpen->setEnabled(false);
        const QString page = m_state.helpPage();
        if (QFileInfo(page).isFile())
            Browser->setSource(QUrl::fromLocalFile(page));
        else
            Browser->setHtml(QStringLiteral("<p>Pagina niet gevonden: ") + page.toHtmlEscaped() + QStringLiteral("</p>"));
        m_services.waiter.wait(0.2);
        Browser->show();
        Browser->raise();
    } else {
        Browser->hide();
        for (const Menu entry : kBesideHelp) {
            KnopText[int(entry)]->show();
            KnopText2[int(entry)]->setEnabled(true);
        }
        VakjeOpen->setEnabled(true);
    }
}

void Main::setGameMenuEnabled(bool enabled)
{
    for (const Menu entry : kLockedInAGame)
        KnopText2[int(entry)]->setEnabled(enabled);
}

void Main::end(Ending ending)
{
    if (m_ending) {
        // Asked to end while a message of the first request waits for a click: go without it.
        if (ending == Ending::Termination) {
            m_quiet = true;
            closeModalWindows();
        }
        return;
    }
    m_ending = true;
    m_quiet = ending == Ending::Termination;
    closeModalWindows();
    saveFiles();
    m_ended = true;
    if (ending != Ending::CloseButton) // the close button is closing the window already
        close();
    Q_EMIT ended();
}

void Main::closeModalWindows()
{
    // From the top down; a window that will not close now (the guess window while it flashes)
    // is hidden, which ends its turn as well.
    for (QWidget *modal; (modal = QApplication::activeModalWidget()) && modal != this;)
        if (!modal->close())
            modal->hide();
}

void Main::saveFiles()
{
    if (!m_state.keepsFiles) // the user was told at start-up
        return;
    QStringList failed;
    const auto note = [&failed](const QString &path, const Files::Outcome &outcome) {
        if (outcome.ok())
            return;
        failed << path + QStringLiteral(": ") + outcome.reasonText();
        qWarning("%s: %s", qPrintable(path), qPrintable(outcome.error));
    };
    note(m_state.scoresPath(), m_state.Scorelijst.saveFile(m_state.scoresPath()));
    note(m_state.settingsPath(), SettingsFile::save(m_state));
    if (failed.isEmpty())
        return;
    const QString text = QStringLiteral("Kan niet opslaan:\n") + failed.join(QLatin1Char('\n'));
    if (m_quiet)
        qWarning("%s", qPrintable(text));
    else
        m_services.dialogs.message(text, QStringLiteral(" Error"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
}

void Main::closeEvent(QCloseEvent *event)
{
    if (!m_ending)
        end(Ending::CloseButton);
    event->setAccepted(m_ended);
}

void Main::showHint(const QString &text)
{
    // A hint wider than the room up to the menu ends at the picture's right edge instead of
    // running under the menu's background.
    WoordLabel->setText(text);
    placeAt(WoordLabel, 4800, 4590);
    const int right = Pic->geometry().right() + 1;
    if (WoordLabel->geometry().right() + 1 > right)
        WoordLabel->move(right - WoordLabel->width(), WoordLabel->y());
}

void Main::showScore()
{
    ScoreLabel->setText(Spel::scoreText(m_state.Score));
    ScoreLabel->adjustSize();
}

void Main::NieuwSpel()
{
    switch (m_spel.nieuwSpel()) {
    case Spel::Start::FolderMissing:
        m_services.dialogs.message(QStringLiteral("Kan de map [ ") + m_state.Onderwerp + QStringLiteral(" ] niet vinden!"),
                                   QStringLiteral(" Error"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    case Spel::Start::NoPictures:
        InfoRegel(QStringLiteral("Er staan nog geen plaatjes in de map - ") + m_state.Onderwerp
                  + QStringLiteral(" -. Voeg ze toe met Tools en Import."));
        return;
    case Spel::Start::Started:
        break;
    }
    layBoard();
    showScore();
}

void Main::noPicturesLeft()
{
    // The pictures of the running game can no longer be read: the game has ended without a board.
    showScore();
    showHint(QStringLiteral(".........."));
    setGameMenuEnabled(true);
    InfoRegel(QStringLiteral("De plaatjes van de map - ") + m_state.Onderwerp + QStringLiteral(" - zijn niet meer te lezen."));
}

void Main::layBoard()
{
    // The boxes come over the picture of the last board one by one; the new picture and its hint
    // show once all 35 are down.
    BusyCursor busy;
    const bool wasBusy = std::exchange(m_busy, true);
    setGameMenuEnabled(false);

    const int kind = m_state.faceKind();
    const QPixmap rest = Artwork::boxFace(kind, 1);
    const QPixmap blink = Artwork::boxFace(kind, 2);
    for (int n = 1; n <= kBoxes; ++n) {
        // The frame's width and the twips follow the scale, which may change in a pause.
        Vak[n]->setPixmap(blink);
        Vak[n]->setGeometry(boxGeometry(n));
        m_services.waiter.wait(0.05);
        Vak[n]->setPixmap(rest);
        Vak[n]->show();
    }
    VakjeOpen->setEnabled(true);
    Pic->setPixmap(Artwork::shown(m_state.Plaatje));
    showHint(Spel::hint(m_state.Woord));
    m_busy = wasBusy;
}

QRect Main::boxGeometry(int n) const
{
    // Inside the picture's sunken border, whose inner area the grid covers exactly.
    // Edges rounded as twips, not sizes: at a scale no seam of the picture shows between boxes.
    const QRect box = Spel::vakRect(n);
    const int inner = Pic->frameWidth();
    return twipsRect(box.x(), box.y(), box.width(), box.height()).translated(inner, inner);
}

void Main::VakjeOpen_Click()
{
    // Neither a second opening nor one in the middle of a board's layout.
    if (!m_busy)
        OpenVakje();
}

void Main::OpenVakje()
{
    if (!m_state.SpelBezig)
        return;
    const int n = m_spel.openVakje();
    if (n == 0) {
        m_services.dialogs.message(QStringLiteral("Alle vakjes zijn reeds geopend!"), QStringLiteral("Tuurbord"),
                                   Dialogs::Icon::None, Dialogs::Buttons::Ok);
        VakjeOpen->setEnabled(false);
        return;
    }
    const bool wasBusy = std::exchange(m_busy, true);
    BusyCursor busy;
    VakjeOpen->setEnabled(false);
    showScore();

    QLabel *box = Vak[n];
    const int kind = m_state.faceKind();
    const QPixmap rest = Artwork::boxFace(kind, 1);
    const QPixmap blink = Artwork::boxFace(kind, 2);
    for (int round = 0; round < 3; ++round) {
        box->setPixmap(blink);
        m_services.waiter.wait(0.1);
        box->setPixmap(rest);
        m_services.waiter.wait(0.1);
    }
    m_services.sound.speel(QStringLiteral("camera.wav"));
    for (int size = 750; size >= 0; size -= 60) {
        box->resize(twips(size), twips(size));
        m_services.waiter.wait(0.01);
    }
    box->hide();
    VakjeOpen->setEnabled(true);
    m_busy = wasBusy;
}
