#pragma once

#include "game/Spel.h"

#include <QWidget>

#include <array>

class ClickLabel;
class QFrame;
class QLabel;
class QPushButton;
class QTextBrowser;
struct ProgramState;
struct Services;

// The main window: the picture with its boxes, the menu, the information line and "Stoppen".
// It opens every other window.
class Main : public QWidget
{
    Q_OBJECT
public:
    // The menu's entries, top to bottom (their controls are numbered so: KnopText2_1 ...).
    enum class Menu { NieuwSpel = 1, Oplossing, Scorelijst, Afdrukken, Tools, Help };
    static constexpr int kMenuEntries = 6;
    static constexpr int kBoxes = 35;

    enum class Ending {
        Stoppen,     // the button
        CloseButton, // the window's close button
        Termination, // the process is asked to end, or the desktop session ends: nobody to ask
    };

    Main(ProgramState &state, Services &services, QWidget *parent = nullptr);

    // Reads the settings and the score list and reports the pictures of the current subject.
    void Form_Load();
    // From now on a request to end the process (SIGTERM, SIGHUP, SIGINT) or the desktop session
    // ends the program through end().
    void followProcessEndings();

    void InfoRegel(const QString &text);
    void LoadBrowser();

    // Every way out: first the open windows close as their own Exit would close them (so the
    // guess window records its entry), then both files are saved, then ended() is emitted.
    void end(Ending ending);

    // A game: a run of boards, each one picture of the current subject under 35 boxes.
    void NieuwSpel();
    void OpenVakje();

Q_SIGNALS:
    void ended();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct MenuEntry;
    static const MenuEntry &menuEntry(Menu entry);

    void layOut();
    void buildMenu();
    void KnopText2_Click(Menu entry);
    void pressLook(Menu entry, bool pressed);
    void menuAction(Menu entry);
    QString hoverText(Menu entry) const;
    void showPrintWindow();
    void VakjeOpen_Click();
    void showGuessWindow();
    void showScoreList();
    void showTools();
    void layBoard();
    void noPicturesLeft();
    void showScore();
    void showHint(const QString &text);
    void setGameMenuEnabled(bool enabled);
    QRect boxGeometry(int n) const; // box n in the picture box, in pixels
    void closeModalWindows();
    void saveFiles();

    ProgramState &m_state;
    Services &m_services;
    Spel m_spel;
    bool m_busy = false;   // a menu action or animation is running
    bool m_ending = false; // end() is under way
    bool m_ended = false;  // the files are saved, the window may close
    bool m_quiet = false;  // nobody is there to read a message

    QFrame *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Pic = nullptr;
    QTextBrowser *Browser = nullptr;
    std::array<QLabel *, kBoxes + 1> Vak{}; // 1-based
    QLabel *Label1 = nullptr;
    QPushButton *VakjeOpen = nullptr;
    QLabel *ScoreLabel = nullptr;
    QLabel *WoordLabel = nullptr;
    QLabel *BackLabel = nullptr;
    std::array<QLabel *, kMenuEntries + 1> KnopImg{};
    std::array<QLabel *, kMenuEntries + 1> KnopText{};
    std::array<ClickLabel *, kMenuEntries + 1> KnopText2{};
    QLabel *InfoLabel = nullptr;
    QLabel *BackExit = nullptr;
    QPushButton *ExitKnop = nullptr;
};
