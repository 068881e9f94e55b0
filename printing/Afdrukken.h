#pragma once

#include "platform/BusyCursor.h"

#include <QDialog>
#include <QImage>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QScrollBar;
struct ProgramState;
struct Services;

// The print window: one of four printouts of the current subject and game picture, with a small
// preview of the A4 page, printed on the system's printer.
class Afdrukken : public QDialog
{
    Q_OBJECT
public:
    // The four kinds of printout, as the scroll bar chooses them.
    enum class Kind { Contactblad = 1, Kerstkaarten, Postzegels, Jaarkalender };

    Afdrukken(ProgramState &state, Services &services, QWidget *parent = nullptr);

    void ScrollBalk_Change(int kind);
    void Check1_Click();
    void PrintKnop_Click();

    // The preview as it is drawn now, 130 x 180 pixels times the scale of the windows.
    const QImage &preview() const { return m_preview; }

Q_SIGNALS:
    // A text for the main window's information line.
    void infoRegel(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();
    void Scannen();
    void printOnPreview(QPainter &painter, int x, int y, const QString &text);
    void showPreview();
    void paintPreview(QPainter &painter);
    QString countText() const;

    ProgramState &m_state;
    Services &m_services;
    QString m_folder;
    QStringList m_files;
    QImage m_preview;
    int m_shown = 0; // the kind the preview shows; 0 before one is chosen
    QImage m_picture; // the game's picture as the cards, stamps and calendar print it
    BusyWindow m_busy{*this}; // printing: a close waits for the page

    QFrame *Frame1 = nullptr;
    QLabel *BackA4 = nullptr;
    QLabel *Picture1 = nullptr;
    QFrame *Lijn = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *BackScroll = nullptr;
    QScrollBar *ScrollBalk = nullptr;
    QLabel *CountLabel = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *PrintKnop = nullptr;
    QPushButton *ExitKnop = nullptr;
};
