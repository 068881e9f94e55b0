#include "core/Artwork.h"

#include "platform/Scale.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {
namespace {
// Made once and kept for the program's life, so that a picture stays the same pixmap and keeps
// its sharp source.
struct Store
{
    QHash<QString, QImage> images;
    QHash<QString, QPixmap> pixmaps;
    QHash<QString, QSvgRenderer *> drawings;
};

Store &store()
{
    static auto *kept = new Store;
    return *kept;
}

QString vectorSource(const QString &name)
{
    return QStringLiteral(":/vector/") + QFileInfo(name).completeBaseName() + QStringLiteral(".svg");
}

QSvgRenderer *drawing(const QString &name)
{
    QSvgRenderer *&renderer = store().drawings[name];
    if (!renderer)
        renderer = new QSvgRenderer(vectorSource(name));
    return renderer;
}

// At any size as the picture file was made at its own: an opaque one on white.
QImage rendered(const QString &name, QSize size)
{
    const bool opaque = !image(name).hasAlphaChannel();
    QImage picture(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    picture.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing(name)->render(&painter, QRectF(QPointF(), QSizeF(size)));
    return picture;
}
}

QImage image(const QString &name)
{
    QImage &picture = store().images[name];
    if (picture.isNull())
        picture = QImage(QStringLiteral(":/artwork/") + name);
    Q_ASSERT_X(!picture.isNull(), "Artwork", qPrintable(name));
    return picture;
}

QPixmap pixmap(const QString &name)
{
    QPixmap &picture = store().pixmaps[name];
    if (picture.isNull()) {
        picture = QPixmap(QStringLiteral(":/artwork/") + name);
        if (QFile::exists(vectorSource(name)))
            Scale::setSharpSource(picture, [name](QSize size) { return rendered(name, size); });
    }
    return picture;
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

QPixmap shown(const QImage &picture)
{
    for (auto it = store().images.cbegin(); it != store().images.cend(); ++it)
        if (it.value().cacheKey() == picture.cacheKey())
            return pixmap(it.key());
    return QPixmap::fromImage(picture);
}

void draw(QPainter &painter, const QRectF &target, const QString &name)
{
    if (painter.deviceTransform().isScaling() && QFile::exists(vectorSource(name)))
        drawing(name)->render(&painter, target);
    else
        painter.drawImage(target, image(name));
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/nl.tuurbord.Tuurbord.png").arg(size));
    return icon;
}

}
