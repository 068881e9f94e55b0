#include "core/Artwork.h"

namespace Artwork {

QImage image(const QString &name)
{
    QImage picture(QStringLiteral(":/artwork/") + name);
    Q_ASSERT_X(!picture.isNull(), "Artwork", qPrintable(name));
    return picture;
}

QPixmap pixmap(const QString &name)
{
    return QPixmap(QStringLiteral(":/artwork/") + name);
}

QImage startPicture()
{
    return image(QStringLiteral("start.png"));
}

QPixmap boxFace(int kind, int face)
{
    return pixmap(QStringLiteral("vak%1_%2.png").arg(boxKind(kind)).arg(face == 2 ? 2 : 1));
}

QPixmap menuIcon(int entry)
{
    return pixmap(QStringLiteral("menu%1.png").arg(entry));
}

}
