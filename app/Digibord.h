#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

// The digibord view, for the touch screen at the front of a classroom: the main window and every
// window it opens drawn at one scale, the largest at which the main window fits the screen; the
// main window's layout in the middle of the screen on the window's own colour, without a title
// bar. A window taller than the main window that would not fit the screen at that scale is drawn
// at the largest scale at which it does. F11 switches between the view and the ordinary window at
// any moment; the view in use is kept for the user in a file of its own.
class Digibord : public QObject
{
public:
    // Belongs to main. viewFile: where the user's view is kept ("digibord" or "venster").
    Digibord(QWidget &main, QString viewFile);

    // The scale at which the main window's ordinary size fills a screen of this size.
    double scaleFor(QSize screen) const;

    // At start-up, before the main window shows: the digibord view when asked for (--digibord) or
    // when it was the user's view last time.
    void start(bool asked);

    bool isOn() const { return m_on; }
    void setOn(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitWindow(QWidget *window) const;
    void layOut(double scale);
    void shiftLayout(QPoint by);
    void centreWindows();
    void keep() const;

    QWidget &m_main;
    QString m_viewFile;
    QSize m_ordinary; // the main window's size at scale 1
    bool m_on = false;
    QPoint m_offset; // where the main window's layout begins while it fills the screen
    std::optional<QPoint> m_place; // where the ordinary window stood
};
