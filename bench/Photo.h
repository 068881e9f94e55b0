#pragma once

#include <QFile>
#include <QImage>

#include <random>

// A photo-like picture: smooth gradients with noise, so that JPEG has real work to do.
inline QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 gen(5);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + int(gen() % 16)) & 255, (y * 255 / h + int(gen() % 16)) & 255, int((x + y) % 256));
    }
    return image;
}

// Starts the kernel's account of the process's peak memory (VmHWM) anew from what it holds now.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Peak and current memory of the process in MB, from the kernel's own account.
inline double megabytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
