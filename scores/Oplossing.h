#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct ProgramState;
struct Services;

// The guess window: it reports the answer and, after a wrong one, the player's name; the game's
// rules judge them. A right answer closes it, a wrong one asks for the name for the score list.
class Oplossing : public QDialog
{
    Q_OBJECT
public:
    Oplossing(ProgramState &state, Services &services, QWidget *parent = nullptr);

    void OkKnop_Click();
    void CancelKnop_Click();

Q_SIGNALS:
    void beantwoord(const QString &answer); // judged at once: Geraden says how it went
    void naamGegeven(const QString &name);  // on Exit after a lost game, also when empty
    void wordCleared(); // the game is lost: the main window's hint goes back to ".........."
    void gameEnded();   // the menu entries a running game locks are free again

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void flash(int r, int g, int b, const QString &text);

    ProgramState &m_state;
    Services &m_services;
    bool m_flashing = false;
    bool m_closing = false;

    QFrame *Frame1;
    QLineEdit *Text1;
    QLabel *Label1;
    QPushButton *OkKnop;
    QPushButton *CancelKnop;
    QLabel *Label2;
};
