#include "platform/Pictures.h"
#include "platform/PictureDecoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTransform>
#include <QtEndian>


#include <climits>
#include <cstring>
#include <new>
#include <optional>

namespace Pictures {

namespace Decoders {

Loaded refused(const QString &why)
{
    return {QImage(), why};
}

Loaded tooLarge(QSize size)
{
    return refused(QStringLiteral("plaatje van %1 x %2 pixels is te groot").arg(size.width()).arg(size.height()));
}

QSize shownSize(QSize stored, int orientation)
{
    return orientation >= 5 ? stored.transposed() : stored;
}

QRect storedRect(const QRect &shown, QSize stored, int orientation)
{
    const int w = stored.width();
    const int h = stored.height();
    // Where shown pixel (x, y) lies in the stored picture.
    const auto from = [&](int x, int y) -> QPoint {
        switch (orientation) {
        case 2: return {w - 1 - x, y};
        case 3: return {w - 1 - x, h - 1 - y};
        case 4: return {x, h - 1 - y};
        case 5: return {y, x};
        case 6: return {y, h - 1 - x};
        case 7: return {w - 1 - y, h - 1 - x};
        case 8: return {w - 1 - y, x};
        default: return {x, y};
        }
    };
    const QPoint a = from(shown.left(), shown.top());
    const QPoint b = from(shown.right(), shown.bottom());
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

void orient(QImage &image, int orientation)
{
    switch (orientation) {
    case 2: image.mirror(true, false); break;
    case 3: image.mirror(true, true); break;
    case 4: image.mirror(false, true); break;
    case 5: image = image.transformed(QTransform().rotate(90)).mirrored(true, false); break;
    case 6: image = image.transformed(QTransform().rotate(90)); break;
    case 7: image = image.transformed(QTransform().rotate(270)).mirrored(true, false); break;
    case 8: image = image.transformed(QTransform().rotate(270)); break;
    default: break;
    }
}

int exifOrientation(const uchar *data, qsizetype size)
{
    if (size < 14 || memcmp(data, "Exif\0\0", 6) != 0)
        return 1;
    const uchar *tiff = data + 6;
    const qsizetype length = size - 6;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M'))
        return 1;
    const auto u16 = [&](qsizetype at) { return little ? qFromLittleEndian<quint16>(tiff + at) : qFromBigEndian<quint16>(tiff + at); };
    const auto u32 = [&](qsizetype at) { return little ? qFromLittleEndian<quint32>(tiff + at) : qFromBigEndian<quint32>(tiff + at); };
    const qint64 directory = u32(4);
    if (directory < 8 || directory + 2 > length)
        return 1;
    const int entries = u16(directory);
    for (int i = 0; i < entries; ++i) {
        const qint64 at = directory + 2 + 12 * qint64(i);
        if (at + 12 > length)
            break;
        if (u16(at) == 0x0112) {
            const int value = u16(at + 8);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

QSize fitted(QSize natural, QSize box)
{
    if (natural.width() <= box.width() && natural.height() <= box.height())
        return natural;
    return natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage finish(QImage upright, const Request &request)
{
    switch (request.way) {
    case Way::Whole:
        return upright;
    case Way::Region:
        return upright.copy(QRect(QPoint(0, 0), request.size.boundedTo(upright.size())));
    case Way::Reduced: {
        const QSize size = fitted(upright.size(), request.size);
        return size == upright.size() ? upright : upright.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    }
    return upright;
}

QImage onWhite(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32 || image.isNull())
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return out;
    // Premultiplied, each colour already holds its share; white gives the rest.
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const int rest = 255 - qAlpha(p);
            line[x] = qRgb(qRed(p) + rest, qGreen(p) + rest, qBlue(p) + rest);
        }
    }
    out.reinterpretAsFormat(QImage::Format_RGB32);
    return out;
}

}

namespace {

using namespace Decoders;

// The largest picture file that is read; a 200-megapixel photo is some 100 MB.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

// A GIF is decoded to the size of its "logical screen", which its header states apart from the
// size of its first frame (the size that the reader reports), and Qt's GIF decoder makes that
// image without regard to the allocation limit: 53 bytes can ask for 400 MB.
QSize decodedSize(QImageReader &reader, const QByteArray &bytes)
{
    QSize size = reader.size();
    if (reader.format() == "gif" && bytes.size() >= 10) {
        const auto word = [&bytes](int at) { return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8; };
        size = size.expandedTo(QSize(word(6), word(8)));
    }
    return size;
}

// BMP, GIF and PNG through Qt, WebP and TIFF through Qt's image-format plugins.
Loaded qtFormat(const QByteArray &bytes, const Request &request)
{
    QByteArray data = bytes; // shared, not copied
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    static const QByteArrayList known{"bmp", "gif", "png", "webp", "tiff"};
    if (!reader.canRead())
        return refused(reader.errorString());
    if (!known.contains(reader.format()))
        return refused(QStringLiteral("geen plaatje van een bekend soort"));
    const QSize size = decodedSize(reader, bytes);
    // The decoded picture, and once more while it is turned to 32 bits on white.
    if (size.isValid() && (qint64(size.width()) * size.height() > request.limits.pixels ||
                           qint64(size.width()) * size.height() * 8 > request.limits.bytes))
        return tooLarge(size);
    reader.setAllocationLimit(int(qMin<qint64>(request.limits.bytes >> 20, INT_MAX)));
    QImage image = reader.read();
    if (image.isNull())
        return refused(reader.errorString());
    if (qint64(image.width()) * image.height() > request.limits.pixels) // whatever a decoder made of its header
        return tooLarge(image.size());
    image = onWhite(finish(std::move(image), request));
    if (image.isNull())
        return refused(QStringLiteral("te weinig geheugen"));
    return {image, QString()};
}

}

Loaded load(const QByteArray &bytes, const Request &request)
{
    try {
        if (isJpeg(bytes))
            return jpeg(bytes, request);
        if (isHeif(bytes))
            return heif(bytes, request);
        return qtFormat(bytes, request);
    } catch (const std::bad_alloc &) {
        return refused(QStringLiteral("te weinig geheugen"));
    }
}

Loaded load(const QString &path, const Request &request)
{
    // Only a regular file is read, and never in a way that can block.
    const std::optional<QByteArray> bytes = Files::read(path, kMaxFileBytes);
    if (!bytes)
        return refused(QStringLiteral("geen gewoon bestand, niet te lezen of te groot"));
    return load(*bytes, request);
}

QStringList patterns()
{
    return {QStringLiteral("*.bmp"),  QStringLiteral("*.gif"),  QStringLiteral("*.jpg"),
            QStringLiteral("*.jpeg"), QStringLiteral("*.png"),  QStringLiteral("*.webp"),
            QStringLiteral("*.tif"),  QStringLiteral("*.tiff"), QStringLiteral("*.heic"),
            QStringLiteral("*.heif"), QStringLiteral("*.avif")};
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
