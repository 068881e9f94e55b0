#pragma once

#include <QImage>
#include <QPixmap>

// The pictures the program carries inside itself (assets/artwork).
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

}
