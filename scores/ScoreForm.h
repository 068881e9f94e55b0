#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class Printer;
struct ProgramState;
struct Services;

// The score-list window: the entries best first, deleting one, printing the list.
class ScoreForm : public QDialog
{
    Q_OBJECT
public:
    ScoreForm(ProgramState &state, Services &services, QWidget *parent = nullptr);

    void DelKnop_Click();
    void PrintKnop_Click();

    // Lays the list out on the printer, best score first; the caller ends the document.
    static void printList(Printer &printer, const QStringList &bestFirst);

Q_SIGNALS:
    // A text for the main window's information line.
    void infoRegel(const QString &text);

private:
    void showCount(const QString &one, const QString &many);

    ProgramState &m_state;
    Services &m_services;

    QFrame *Frame1;
    QListWidget *List1;
    QLabel *BackKnoppen;
    QPushButton *DelKnop;
    QPushButton *PrintKnop;
    QLabel *Label1;
    QLabel *ExitLabel;
    QPushButton *ExitKnop;
};
