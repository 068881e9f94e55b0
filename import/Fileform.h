#pragma once

#include "import/Filters.h"
#include "platform/BusyCursor.h"

#include <QDialog>
#include <QImage>

#include <array>

class QComboBox;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
struct ProgramState;
struct Services;

// The import window: browse to a photo or clipart, preview a 354 x 254 part of it, change it
// with the eleven filters and save it as a JPEG picture of the current subject.
class Fileform : public QDialog
{
    Q_OBJECT
public:
    Fileform(ProgramState &state, Services &services, QWidget *parent = nullptr);

    // The folder the lists show.

    void Drive1_Change(int index);
    void openFolder(const QString &path);
    void File1_Click(const QString &fileName);
    void OptionFilter_Click(int index);
    void Save_Click(bool whole);
    void HelpKnop_Click();
    void Timer1_Timer();

    // The thirteen lines of the help text, each ended by CR LF.
    static QString helpText();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();
    void showDrive();
    void showFolder(const QString &path);
    void fillLists();
    void redraw();
    void showPreview(const QImage &preview);
    void message(const QString &text, bool stop, const QString &title);

    ProgramState &m_state;
    Services &m_services;
    Filters m_filters;
    QString m_folder;
    QImage m_orgineel;  // the work surface: the picture as loaded, with the filters applied
    QImage m_kleinPic;  // the picture as loaded, whole, scaled to 354 x 254 for "Save Orgineel"
    QImage m_preview;   // what the preview shows
    bool m_plaatjeGeladen = false;
    BusyWindow m_busy{*this}; // a filter or a save runs: the window holds still, a close waits

    QFrame *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QComboBox *Drive1 = nullptr;
    QListWidget *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    QLabel *SizeLabel = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Bar = nullptr;
    QLabel *BackKnoppen = nullptr;
    QPushButton *Save1Knop = nullptr;
    QPushButton *Save2Knop = nullptr;
    QLabel *BackLabel = nullptr;
    QLabel *ShowPic = nullptr;
    QLabel *HoLabel = nullptr;
    QScrollBar *Hoscroll = nullptr;
    QLabel *Brlabel = nullptr;
    QScrollBar *Brscroll = nullptr;
    QProgressBar *ProgressBar = nullptr;
    QLabel *HelpLabel = nullptr;
    QPushButton *HelpKnop = nullptr;
    std::array<QRadioButton *, 12> OptionFilter{}; // 1-based
    QLabel *Label3 = nullptr;
    QLabel *ExitLabel = nullptr;
    QPushButton *ExitKnop = nullptr;
    QTimer *Timer1 = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
};
