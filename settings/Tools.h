#pragma once

#include "settings/Subjects.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollBar;
struct ProgramState;
struct Services;

// The settings window: the subjects (folders of pictures) and the playing options. Every change
// goes into the program state at once; the settings file is written only when the program ends.
class Tools : public QDialog
{
    Q_OBJECT
public:
    Tools(ProgramState &state, Services &services, QWidget *parent = nullptr);

Q_SIGNALS:
    // The "Import" button: the import window is to open on top of this one.
    void importRequested();
    // A text for the main window's information line.
    void infoRegel(const QString &text);

private:
    void layOut();
    void connectControls();
    void Form_Load();
    void fillList(bool lowerCase);

    void List1_DblClick(QListWidgetItem *item);
    void AddKnop_Click();
    void DelKnop_Click();
    void Check1_Click(bool ticked);
    void GeluidCheck_Click(bool ticked);
    void SoortScroll_Change(int value);
    void Text1_Change();
    void ExitKnop_Click();

    ProgramState &m_state;
    Services &m_services;
    Subjects m_subjects;
    bool m_settingText = false; // the quality check is itself changing the text

    QFrame *Frame1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *BackImport = nullptr;
    QPushButton *ImportKnop = nullptr;
    QFrame *Frame6 = nullptr;
    QLabel *BackScroll = nullptr;
    QScrollBar *SoortScroll = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Label7 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label8 = nullptr;
    QFrame *Frame2 = nullptr;
    QCheckBox *GeluidCheck = nullptr;
    QLabel *Image2 = nullptr;
    QFrame *Frame5 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QFrame *Frame3 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *AddLabel = nullptr;
    QPushButton *DelKnop = nullptr;
    QPushButton *AddKnop = nullptr;
    QLabel *Image1 = nullptr;
    QFrame *Frame4 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *ExitKnop = nullptr;
};
