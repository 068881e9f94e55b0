#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QPainter;
class QRectF;

// The pictures the program carries inside itself (assets/artwork), drawn from their vector
// sources (tools/artwork) where a window shows them larger than they were made.
namespace Artwork {

// A built-in picture by its file name, for instance "stamp1.png".
QImage image(const QString &name);
QPixmap pixmap(const QString &name);

// The box kind that is drawn for a setting: the setting when it is 1..10, else kind 1.
inline int boxKind(int setting) { return setting >= 1 && setting <= 10 ? setting : 1; }

// The 354 x 254 picture shown before the first game.
QImage startPicture();
// Face 1 (at rest) or 2 (blinking) of box kind 1..10; a kind outside that range shows kind 1.
QPixmap boxFace(int kind, int face);
// The icon of menu entry 1..6.
QPixmap menuIcon(int entry);

// A picture as a label shows it: a built-in one as pixmap() gives it, any other as it is.
QPixmap shown(const QImage &picture);
// Draws a built-in picture into target; from its vector source where the painter enlarges it.
void draw(QPainter &painter, const QRectF &target, const QString &name);

// The program's icon at every size a desktop asks for.
QIcon programIcon();

}
