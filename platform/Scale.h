#pragma once

#include <QImage>
#include <QPixmap>

#include <functional>

class QObject;
class QStyle;
class QWidget;

// One scale for all the program's windows: 1 for the ordinary windows, larger on a classroom's
// digibord. Every window lays out its twips table at this scale (twips() in Widgets.h), with its
// fonts and frame lines times the scale, and a label shows its picture at the picture's size
// times the scale: sharp where the picture has a sharper source, smoothly scaled otherwise.
namespace Scale {

double factor();

// The scale a window is drawn at: the program's, or the window's own where it was set apart.
double factorOf(const QWidget *widget);

// Lays every window out again at a new scale: positions, sizes, frame lines and fonts of the
// controls the program placed itself go from the old scale to the new one, Qt's own dialogs
// follow the application font and the style. Then the callbacks of onChange run.
void setFactor(double factor);

// Lays one window out again at a scale of its own: a window that does not fit the screen at the
// program's scale is drawn smaller, while the windows behind it stay as they are. The next
// setFactor brings it back to the program's scale.
void setWindowFactor(QWidget *window, double factor);

// A window about to open in front of the board: while the scale is not 1 it has no title bar,
// which the window manager would draw at the desktop's size, small on the board. Only before the
// window first shows: a window that changes its frame while open is hidden by the system.
void openWithoutTitleBar(QWidget *window);

// Calls back after every change of the scale, for as long as context lives.
void onChange(QObject *context, std::function<void()> callback);

// A picture painted in device pixels for the scale of the window that shows it, to be shown as it is.
QPixmap asPainted(QPixmap pixmap, const QWidget *shownIn);

// A picture that can be made again at any size, in device pixels, sharper than by scaling it up:
// built-in artwork from its vector source.
void setSharpSource(const QPixmap &pixmap, std::function<QImage(QSize)> render);

// The program's style: Fusion with every measure times the scale, label pictures drawn as said
// above, and text boxes that ask for the on-screen keyboard at the first tap.
QStyle *createStyle();

}
