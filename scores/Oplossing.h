#pragma once

#include <QDialog>

#include <functional>

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
    struct MainHooks {
        std::function<void()> clearWord;      // the main window's hint back to ".........."
        std::function<void()> enableMenu;     // the entries a running game locks
    };

    Oplossing(ProgramState &state, Services &services, MainHooks hooks, QWidget *parent = nullptr);

    void OkKnop_Click();
    void CancelKnop_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void flash(int r, int g, int b, const QString &text);

    ProgramState &m_state;
    Services &m_services;
    MainHooks m_hooks;
    bool m_flashing = false;
    bool m_closing = false;

    QFrame *Frame1;
    QLineEdit *Text1;
    QLabel *Label1;
    QPushButton *OkKnop;
    QPushButton *CancelKnop;
    QLabel *Label2;
};
