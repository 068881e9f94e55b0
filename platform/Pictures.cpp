#include "platform/Pictures.h"

#include <QIODevice>
#include <QImageReader>
#include <QImageWriter>

namespace Pictures {

namespace {
// 32 bits a pixel for the largest photo, and a little room for the decoder's own rows.
constexpr int kAllocationLimitMb = int(kMaxPixels * 4 / (1024 * 1024)) + 16;

bool knownFormat(const QByteArray &format)
{
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "png";
}

Loaded read(QImageReader &reader)
{
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {QImage(), reader.errorString()};
    if (!knownFormat(reader.format()))
        return {QImage(), QStringLiteral("geen BMP-, GIF-, JPEG- of PNG-plaatje")};
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        return {QImage(), QStringLiteral("plaatje van %1 x %2 pixels is te groot").arg(size.width()).arg(size.height())};
    QImage image = reader.read();
    if (image.isNull())
        return {QImage(), reader.errorString()};
    return {image, QString()};
}
}

Loaded load(const QString &path)
{
    QImageReader reader(path);
    return read(reader);
}

Loaded load(QIODevice &device)
{
    QImageReader reader(&device);
    return read(reader);
}

Files::Outcome saveJpeg(const QImage &image, const QString &path, int quality)
{
    return Files::saveAtomically(path, [&](QIODevice &out) {
        QImageWriter writer(&out, "jpeg");
        writer.setQuality(qBound(1, quality, 100));
        writer.setOptimizedWrite(false);
        writer.setProgressiveScanWrite(false);
        return writer.write(image) ? QString() : writer.errorString();
    });
}

}
