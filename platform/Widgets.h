#pragma once

#include <QLabel>
#include <QObject>

#include <functional>

class QWidget;

// Window layouts are given in twips, 15 to a pixel.
constexpr int twips(int value)
{
    return value / 15;
}

// Places a control by its twips rectangle inside its container.
void place(QWidget *widget, int left, int top, int width, int height);
// Places a control whose size follows its content.
void placeAt(QWidget *widget, int left, int top);

// Calls back whenever the mouse moves over the widget itself (not over a child control).
void onHover(QWidget *widget, std::function<void()> callback);

// A label that takes clicks, as the program's menu captions and colour strips do.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// The font of every window's own controls, as on the desktop the program was made for.
void useWindowFont(QWidget *window);

// Sets a label's or widget's text or background colour, as the window tables give them.
void setTextColor(QWidget *widget, int r, int g, int b);
void setBackground(QWidget *widget, int r, int g, int b);
