#pragma once

#include <QFont>
#include <QLabel>
#include <QObject>
#include <QTextBrowser>

#include <functional>
#include <span>

class QFrame;
class QPushButton;
class QWidget;

// The helpers every window lays itself out with.
namespace Widgets {

// Window layouts are given in twips, 15 to a pixel of the ordinary window; at a larger scale
// (Scale.h) the pixels are that many times as many.
int twips(int value);

// The pixels of a twips rectangle. Edges, not sizes, are rounded: rectangles that meet in twips
// meet at every scale.
QRect twipsRect(int left, int top, int width, int height);
// Places a control by its twips rectangle inside its container.
void place(QWidget *widget, int left, int top, int width, int height);
// Places a control whose size follows its content (a label's picture at the scale).
void placeAt(QWidget *widget, int left, int top);

// One row of a window's layout table, in twips inside the control's container. A width or
// height of 0 leaves that side to the control's content.
struct Placement
{
    const char *name;
    int left;
    int top;
    int width;
    int height;
};
void placeRow(QWidget *widget, const Placement &row);
// Places every control of the table, each found below the window by its name.
void placeAll(QWidget *window, std::span<const Placement> table);

// Calls back whenever the mouse moves over the widget itself (not over a child control); a finger's
// touch comes as a move too.
void onHover(QWidget *widget, std::function<void()> callback);

}

// A label that takes clicks, as the program's menu captions and colour strips do.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    // A press, then released() when it is let go, anywhere, and clicked() after that when it was
    // let go on the label.
    void pressed();
    void released();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A browser for the program's own pages: a local file, the page or a picture on it, is read only
// when it is a regular file, so that a named pipe in its place cannot hang the window. A picture
// with a vector source of the same name beside it (menu1.svg for menu1.png) is drawn from that
// source at the size the page shows it at the scale, as sharp on a digibord as on a desktop.
class PageBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit PageBrowser(QWidget *parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    // The picture at url drawn from its vector source, at shown (or the drawing's own size) times the scale.
    QImage fromVectorSource(const QUrl &url, QSizeF shown) const;
};

namespace Widgets {

// The texts of the layouts were measured in the original platform's font; with the font at hand a
// label may need more room than its table gives it. It gets it as far as its container has room:
// a wrapped text more lines, a single line more width.
void fitText(QLabel *label);
// A wrapped text that must keep its label's rectangle is set a little smaller until it fits.
void shrinkToFit(QLabel *label);
// Both mark the label, so that the text is fitted again at every change of scale.
inline constexpr const char *kFits = "tuurbord.fits";
inline constexpr const char *kShrinks = "tuurbord.shrinks";

// The font of every window's own controls, as on the desktop the program was made for, at the scale.
void useWindowFont(QWidget *window);

// Names, titles and sizes a window: outer sizes in twips, as the layouts give them, include the
// title bar and border; the client area is 8 pixels narrower and 30 lower.
void setUpWindow(QWidget *window, const char *name, const QString &title, int outerWidth, int outerHeight);

// A control carries its layout name as its object name, so that tests can find it.
template<typename T>
T *make(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A sunken frame, its line at the scale.
QFrame *makeFrame(QWidget *parent, const char *name);
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text = QString());
// Buttons stand on a black label that shows as their border.
QLabel *blackBorder(QWidget *parent, const char *name);
// Return in a text box or a list never presses a window's button.
QPushButton *makeButton(QWidget *parent, const char *name, const char *text);
// A control's font at the scale.
QFont makeFont(const char *family, qreal points, bool bold = false);

// Sets a label's or widget's text or background colour, as the window tables give them.
void setTextColor(QWidget *widget, int r, int g, int b);
void setBackground(QWidget *widget, int r, int g, int b);

}
