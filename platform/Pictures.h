#pragma once

#include "platform/Files.h"

#include <QImage>
#include <QString>

class QIODevice;

// Reading and writing pictures, the same way for the game, the import window and the printouts.
namespace Pictures {

// Photos up to this many pixels are read; larger ones are refused before any memory is taken.
constexpr qint64 kMaxPixels = 100'000'000;

struct Loaded
{
    QImage image;  // null when the file could not be read
    QString error; // why not, as the image reader says it
    bool ok() const { return !image.isNull(); }
};

// A BMP, GIF, JPEG or PNG picture (told by its content, not its name), turned upright by its
// EXIF orientation. The first frame of an animation.
Loaded load(const QString &path);
Loaded load(QIODevice &device);

// Writes the picture as a baseline JPEG of the given quality (1..100): all of it or nothing.
Files::Outcome saveJpeg(const QImage &image, const QString &path, int quality);

}
