#include "game/Main.h"

#include "game/Artwork.h"
#include "game/Game.h"
#include "game/ProgramState.h"
#include "game/SettingsFile.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"
#include "scores/Oplossing.h"
#include "scores/ScoreForm.h"
#include "settings/Tools.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include <utility>

namespace {
constexpr int kWidth = 9000;
constexpr int kHeight = 6090;

const char *const kCaptions[Main::kMenuEntries + 1] = {
    "", "     Nieuw spel", "     Oplossing", "     Scorelijst", "     Afdrukken", "     Tools", "     Help",
};

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
    : QWidget(parent), m_state(state), m_services(services)
{
    setUpWindow(this, "Main", QStringLiteral("Tuurbord"), kWidth, kHeight);
    m_services.infoRegel = [this](const QString &text) { InfoRegel(text); };
    layOut();
}

void Main::layOut()
{
    Frame1 = makeFrame(this, "Frame1");

    Pic = make<QLabel>(Frame1, "Pic");
    Pic->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Pic->setLineWidth(2);
    Pic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Pic->setPixmap(Artwork::startPicture());

    Browser = make<QTextBrowser>(Frame1, "Browser");
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);
    Browser->hide();

    const int inner = Pic->frameWidth();
    for (int n = 1; n <= kBoxes; ++n) {
        auto *box = new QLabel(Pic);
        box->setObjectName(QStringLiteral("Vak_%1").arg(n));
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        box->setToolTip(QStringLiteral(" Vak %1 ").arg(n));
        box->setGeometry(inner + 50 * ((n - 1) % 7), inner + 50 * ((n - 1) / 7), 50, 50);
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
    connect(ExitKnop, &QPushButton::clicked, this, &QWidget::close);

    placeAll(this, kLayout);
    showHint(WoordLabel->text()); // after Pic, whose edge it may align to

    onHover(Frame1, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(Frame2, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(BackLabel, [this] { InfoRegel(QStringLiteral("-")); });
    onHover(ExitKnop, [this] { InfoRegel(QStringLiteral("Het programma afsluiten.")); });
}

void Main::buildMenu()
{
    const QFont captionFont = makeFont("Comic Sans MS", 15.75, true);
    for (int i = 1; i <= kMenuEntries; ++i) {
        KnopImg[i] = new QLabel(Frame1);
        KnopImg[i]->setObjectName(QStringLiteral("KnopImg_%1").arg(i));
        KnopImg[i]->setPixmap(Artwork::menuIcon(i));
        placeAt(KnopImg[i], 5850, rowTop(i));

        const QString caption = QString::fromLatin1(kCaptions[i]);
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
        connect(KnopText2[i], &ClickLabel::clicked, this, [this, i] { KnopText2_Click(i); });
        onHover(KnopText2[i], [this, i] { InfoRegel(hoverText(i)); });
    }
}

QString Main::hoverText(int entry) const
{
    switch (entry) {
    case 1:
        return QStringLiteral("Een nieuw spel beginnen met als onderwerp... ") + m_state.Onderwerp + QLatin1Char('.');
    case 2:
        return QStringLiteral("Als je het antwoord weet dan kun je hier de oplossing invullen.");
    case 3:
        return QStringLiteral("Lijst van de deelnemers met hun behaalde score.");
    case 4:
        return QStringLiteral("Afdrukken van alle plaatjes per onderwerp of map");
    case 5:
        return QStringLiteral("Instellingen wijzigen.");
    default:
        return Browser->isVisible() ? QStringLiteral("Sluiten van de helpfunctie.")
                                    : QStringLiteral("Informatie en uitleg over dit programma.");
    }
}

void Main::Form_Load()
{
    SettingsFile::load(m_state);
    const QString folder = m_state.subjectDir();
    const qsizetype count = folder.isEmpty() ? 0 : Files::pictureFiles(folder).size();
    InfoRegel(QString::number(count) + QStringLiteral(" plaatjes aanwezig in de map - ") + m_state.Onderwerp
              + QStringLiteral(" -"));
    m_state.Scorelijst.loadFile(m_state.scoresPath());
}

void Main::InfoRegel(const QString &text)
{
    InfoLabel->setText(text == QLatin1String("-") ? QStringLiteral("Informatieregel...") : text);
}

void Main::playSound(const QString &file)
{
    if (m_state.GeluidAan)
        m_services.sound.play(m_state.soundPath(file));
}

void Main::KnopText2_Click(int entry)
{
    // A click that arrives while another action is still animating is dropped.
    if (m_busy)
        return;
    m_busy = true;
    const int top = rowTop(entry);
    KnopText[entry]->move(twips(5865), twips(top + 15));
    setTextColor(KnopText[entry], 255, 255, 255);
    KnopImg[entry]->move(twips(5865), twips(top + 15));
    m_services.waiter.wait(0.2);
    KnopImg[entry]->move(twips(5850), twips(top));
    KnopText[entry]->move(twips(5850), twips(top + 15));
    setTextColor(KnopText[entry], 120, 255, 255);
    menuAction(entry);
    m_busy = false;
}

void Main::menuAction(int entry)
{
    switch (entry) {
    case 1:
        playSound(QStringLiteral("start.wav"));
        NieuwSpel();
        break;
    case 2:
        if (m_state.SpelBezig) {
            playSound(QStringLiteral("knop.wav"));
            showGuessWindow();
        }
        break;
    case 3: {
        playSound(QStringLiteral("score.wav"));
        ScoreForm scores(m_state, m_services, this);
        scores.exec();
        break;
    }
    case 4:
        playSound(QStringLiteral("knop.wav"));
        break;
    case 5: {
        playSound(QStringLiteral("knop.wav"));
        Tools tools(m_state, m_services, this);
        tools.exec();
        break;
    }
    case 6:
        playSound(QStringLiteral("knop.wav"));
        LoadBrowser();
        break;
    }
}

void Main::showGuessWindow()
{
    Oplossing guess(m_state, m_services,
                    {[this] { showHint(QStringLiteral("..........")); }, [this] { setGameMenuEnabled(true); }}, this);
    guess.exec();
    if (m_state.Geraden) {
        m_state.Score += 35;
        showScore();
        NieuwPlaatje();
    }
}

void Main::LoadBrowser()
{
    if (!Browser->isVisible()) {
        for (int i = 1; i <= 5; ++i) {
            KnopText[i]->hide();
            KnopText2[i]->setEnabled(false);
        }
        VakjeOpen->setEnabled(false);
        const QString page = m_state.path(QStringLiteral("help/help.htm"));
        if (QFileInfo(page).isFile())
            Browser->setSource(QUrl::fromLocalFile(page));
        else
            Browser->setHtml(QStringLiteral("<p>Pagina niet gevonden: ") + page.toHtmlEscaped() + QStringLiteral("</p>"));
        m_services.waiter.wait(0.2);
        Browser->show();
        Browser->raise();
    } else {
        Browser->hide();
        for (int i = 1; i <= 5; ++i) {
            KnopText[i]->show();
            KnopText2[i]->setEnabled(true);
        }
        VakjeOpen->setEnabled(true);
    }
}

void Main::setGameMenuEnabled(bool enabled)
{
    for (int i = 3; i <= 6; ++i)
        KnopText2[i]->setEnabled(enabled);
}

bool Main::saveFiles()
{
    QStringList failed;
    if (!m_state.Scorelijst.saveFile(m_state.scoresPath()))
        failed << m_state.scoresPath();
    if (!SettingsFile::save(m_state))
        failed << m_state.settingsPath();
    if (failed.isEmpty())
        return true;
    m_services.dialogs.message(QStringLiteral("Kan niet opslaan:\n") + failed.join(QLatin1Char('\n'))
                                   + QStringLiteral("\n\nDe map is misschien schrijfbeveiligd of de schijf is vol."),
                               QStringLiteral(" Error"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
    return false;
}

void Main::closeEvent(QCloseEvent *event)
{
    // "Stoppen", the title bar and a request to end the process all save the same way.
    saveFiles();
    event->accept();
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
    ScoreLabel->setText(Game::scoreText(m_state.Score));
    ScoreLabel->adjustSize();
}

void Main::NieuwSpel()
{
    const QString folder = m_state.subjectDir();
    if (folder.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Kan de map [ ") + m_state.Onderwerp + QStringLiteral(" ] niet vinden!"),
                                   QStringLiteral(" Error"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    }
    m_folder = folder;
    m_files = Files::pictureFiles(folder);
    m_state.Score = 35;
    m_state.VolgNummer = 0;
    m_state.Woord.clear();
    m_state.SpelBezig = true;
    NieuwPlaatje();
    showScore();
}

void Main::NieuwPlaatje()
{
    BusyCursor busy;
    const bool wasBusy = std::exchange(m_busy, true);
    setGameMenuEnabled(false);

    const int kind = Game::faceKind(m_state);
    const QPixmap rest = Artwork::boxFace(kind, 1);
    const QPixmap blink = Artwork::boxFace(kind, 2);
    const int inner = Pic->frameWidth();
    int x = 0;
    int y = 0;
    for (int n = 1; n <= kBoxes; ++n) {
        Vak[n]->setPixmap(blink);
        Vak[n]->setGeometry(inner + twips(x), inner + twips(y), twips(750), twips(750));
        x += 750;
        if (x > 4500) {
            x = 0;
            y += 750;
        }
        m_services.waiter.wait(0.05);
        Vak[n]->setPixmap(rest);
        Vak[n]->show();
        m_state.Geopend[n] = 0;
    }
    m_state.AantalOpen = 0;
    m_state.Geraden = false;
    VakjeOpen->setEnabled(true);

    const int count = int(m_files.size());
    const int index = Game::choosePicture(m_state, count, m_services.random);
    const QString file = m_files.value(index);
    if (!file.isEmpty()) {
        QImageReader reader(m_folder + QLatin1Char('/') + file);
        reader.setAllocationLimit(256);
        const QImage image = reader.read();
        if (!image.isNull())
            Pic->setPixmap(QPixmap::fromImage(image));
    }
    m_state.Woord = Game::wordOf(file, m_state.Woord);
    showHint(Game::hint(m_state.Woord));
    m_busy = wasBusy;
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
    if (m_state.AantalOpen >= kBoxes) {
        m_services.dialogs.message(QStringLiteral("Alle vakjes zijn reeds geopend!"), QStringLiteral("Tuurbord"),
                                   Dialogs::Icon::None, Dialogs::Buttons::Ok);
        VakjeOpen->setEnabled(false);
        return;
    }
    const bool wasBusy = std::exchange(m_busy, true);
    const int n = Game::chooseClosedBox(m_state, m_services.random);
    // Counted as open from the start of its animation, so the count always matches the boxes.
    m_state.Geopend[n] = 1;
    ++m_state.AantalOpen;
    BusyCursor busy;
    VakjeOpen->setEnabled(false);
    --m_state.Score;
    showScore();

    QLabel *box = Vak[n];
    const int kind = Game::faceKind(m_state);
    const QPixmap rest = Artwork::boxFace(kind, 1);
    const QPixmap blink = Artwork::boxFace(kind, 2);
    for (int round = 0; round < 3; ++round) {
        box->setPixmap(blink);
        m_services.waiter.wait(0.1);
        box->setPixmap(rest);
        m_services.waiter.wait(0.1);
    }
    playSound(QStringLiteral("camera.wav"));
    for (int size = 750; size >= 0; size -= 60) {
        box->resize(twips(size), twips(size));
        m_services.waiter.wait(0.01);
    }
    box->hide();
    VakjeOpen->setEnabled(true);
    m_busy = wasBusy;
}
