#include "import/ImportRules.h"

#include <algorithm>
#include <array>

namespace ImportRules {

namespace {
// The preview stretches a source rectangle of 5310 + br by 3810 + ho pixels onto 5310 x 3810.
constexpr int kStretchW = 5310;
constexpr int kStretchH = 3810;

int clamp16(qint64 value)
{
    return int(std::clamp<qint64>(value, -32768, 32767));
}
}

QImage asWords(const QImage &picture)
{
    const QImage::Format format = picture.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32)
        return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QImage preview(const QImage &picture, int br, int ho)
{
    QImage out(kWidth, kHeight, QImage::Format_RGB32);
    const QImage surface = asWords(picture);
    const int w = surface.width();
    const int h = surface.height();
    std::array<int, kWidth> column{};
    for (int x = 0; x < kWidth; ++x) {
        const qint64 sx = br + qint64(x) * (br + kStretchW) / kStretchW;
        column[size_t(x)] = sx >= 0 && sx < w ? int(sx) : -1;
    }
    for (int y = 0; y < kHeight; ++y) {
        auto *target = reinterpret_cast<QRgb *>(out.scanLine(y));
        const qint64 sy = ho + qint64(y) * (ho + kStretchH) / kStretchH;
        if (sy < 0 || sy >= h) {
            std::fill(target, target + kWidth, kBackground);
            continue;
        }
        const auto *source = reinterpret_cast<const QRgb *>(surface.constScanLine(int(sy)));
        for (int x = 0; x < kWidth; ++x) {
            const int sx = column[size_t(x)];
            // The screen shows no transparency: the colour as it stands.
            target[x] = sx >= 0 ? source[sx] | 0xff000000 : kBackground;
        }
    }
    return out;
}

Range across(int width)
{
    return width > kWidth ? Range{true, clamp16(qint64(width) - 398)} : Range{};
}

Range down(int height)
{
    return height > kHeight ? Range{true, clamp16(qint64(height) - 284)} : Range{};
}

QString proposedName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

QImage wholeScaled(const QImage &picture)
{
    QImage out(kWidth, kHeight, QImage::Format_RGB32);
    const QImage source = asWords(picture);
    const qint64 w = source.width();
    const qint64 h = source.height();
    for (int y = 0; y < kHeight; ++y) {
        auto *target = reinterpret_cast<QRgb *>(out.scanLine(y));
        const auto *row = reinterpret_cast<const QRgb *>(source.constScanLine(int(y * h / kHeight)));
        for (int x = 0; x < kWidth; ++x)
            target[x] = row[x * w / kWidth] | 0xff000000;
    }
    return out;
}

}
