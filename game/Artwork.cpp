#include "game/Artwork.h"

#include <QPainter>

namespace Artwork {

namespace {
QPixmap load(const QString &name, QSize fallbackSize, QColor fallbackColor)
{
    QPixmap pixmap(QStringLiteral(":/artwork/") + name);
    if (pixmap.isNull()) {
        pixmap = QPixmap(fallbackSize);
        pixmap.fill(fallbackColor);
    }
    return pixmap;
}
}

QPixmap startPicture()
{
    return load(QStringLiteral("start.png"), QSize(354, 254), QColor(240, 230, 140));
}

QPixmap boxFace(int kind, int face)
{
    if (kind < 1 || kind > 10)
        kind = 1;
    return load(QStringLiteral("vak%1_%2.png").arg(kind).arg(face == 2 ? 2 : 1), QSize(50, 50),
                face == 2 ? QColor(255, 220, 60) : QColor(60, 120, 200));
}

QPixmap menuIcon(int entry)
{
    return load(QStringLiteral("menu%1.png").arg(entry), QSize(32, 32), Qt::transparent);
}

}
