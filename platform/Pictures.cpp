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

// The size a picture will have once decoded. A GIF is decoded to the size of its "logical
// screen", which its header states apart from the size of its first frame (the size that the
// reader reports), and Qt's GIF decoder makes that image without regard to the allocation limit:
// 53 bytes can ask for 400 MB.
QSize decodedSize(QImageReader &reader)
{
    QSize size = reader.size();
    if (reader.format() == "gif" && reader.device()) {
        const QByteArray header = reader.device()->peek(10);
        if (header.size() == 10) {
            const auto word = [&header](int at) { return quint8(header[at]) | quint8(header[at + 1]) << 8; };
            size = size.expandedTo(QSize(word(6), word(8)));
        }
    }
    return size;
}

bool tooLarge(QSize size)
{
    return size.isValid() && qint64(size.width()) * size.height() > kMaxPixels;
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
    const auto refuse = [](QSize size) {
        return Loaded{QImage(), QStringLiteral("plaatje van %1 x %2 pixels is te groot").arg(size.width()).arg(size.height())};
    };
    if (const QSize size = decodedSize(reader); tooLarge(size))
        return refuse(size);
    QImage image = reader.read();
    if (image.isNull())
        return {QImage(), reader.errorString()};
    if (tooLarge(image.size())) // whatever else a decoder may have made of its header
        return refuse(image.size());
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
