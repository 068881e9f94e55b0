#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct ProgramState;
struct Services;

// The guess window: a right answer closes it with Geraden set, a wrong one ends the game and
// asks for the player's name for the score list.
class Oplossing : public QDialog
{
    Q_OBJECT
public:
    Oplossing(ProgramState &state, Services &services, QWidget *parent = nullptr);

    void OkKnop_Click();
    void CancelKnop_Click();

    // An answer is right when it equals the word without regard to case; nothing else is forgiven.
    static bool isRight(const QString &answer, const QString &word);

Q_SIGNALS:
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
