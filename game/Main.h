#pragma once

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
class Main : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMenuEntries = 6;
    static constexpr int kBoxes = 35;

    Main(ProgramState &state, Services &services, QWidget *parent = nullptr);

    // Reads the settings and the score list and reports the pictures of the current subject.
    void Form_Load();

    void InfoRegel(const QString &text);
    void LoadBrowser();

    // Writes the score list and the settings file; true when both reached the disk. A failure is
    // reported in one message box that names the files.
    bool saveFiles();

    // The menu captions of the entries that a running game locks (Scorelijst .. Help).
    void setGameMenuEnabled(bool enabled);

    // A game: a run of boards, each one picture of the current subject under 35 boxes.
    void NieuwSpel();
    void NieuwPlaatje();
    void OpenVakje();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();
    void buildMenu();
    void KnopText2_Click(int entry);
    void menuAction(int entry);
    QString hoverText(int entry) const;
    void playSound(const QString &file);
    void VakjeOpen_Click();
    void showGuessWindow();
    void showScore();
    void showHint(const QString &text);

    ProgramState &m_state;
    Services &m_services;
    bool m_busy = false; // a menu action or animation is running
    QString m_folder;    // the subject folder of the running game and its pictures
    QStringList m_files;

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
