#pragma once

#include "platform/Files.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Reading and writing pictures, the same way for the game, the import window and the printouts.
// Every picture comes out upright (by its EXIF orientation), as 32-bit RGB, with whatever is
// transparent laid on white.
namespace Pictures {

// Photos up to this many pixels are read (phone cameras of 108 and 200 megapixels are common);
// larger ones are refused before any memory is taken.
constexpr qint64 kMaxPixels = 200'000'000;
// What one read may take in all: the picture and the decoder's own buffers (a 200-megapixel
// photo, turned upright or progressive).
constexpr qint64 kMaxBytes = qint64(2) << 30;
// What the game shows of a picture: its top-left part at natural size.
constexpr QSize kGameSize(354, 254);

struct Limits
{
    qint64 pixels = kMaxPixels;
    qint64 bytes = kMaxBytes;
};

// The three ways of reading a file.
enum class Way {
    Whole,   // the picture at its natural size
    Region,  // only its top-left part of `size` (less where the picture is smaller)
    Reduced, // the whole picture made to fit in `size`, keeping its shape; never enlarged
};

struct Request
{
    Way way = Way::Whole;
    QSize size;
    Limits limits;
};

struct Loaded
{
    QImage image;  // null when the file could not be read
    QString error; // why not, for a log
    bool ok() const { return !image.isNull(); }
};

// BMP, GIF, JPEG, PNG, WebP, TIFF, HEIC/HEIF and AVIF, told by their content, not their name.
// The first frame of an animation. Only a regular file (or a link to one) is opened.
Loaded load(const QString &path, const Request &request = {});
Loaded load(const QByteArray &bytes, const Request &request = {});

inline Loaded whole(const QString &path) { return load(path); }
inline Loaded region(const QString &path, QSize size = kGameSize) { return load(path, {Way::Region, size, {}}); }
inline Loaded reduced(const QString &path, QSize size) { return load(path, {Way::Reduced, size, {}}); }

// The file patterns of every format above, for file lists ("*.jpg", "*.heic", ...).
QStringList patterns();

// Writes the picture as a baseline JPEG of the given quality (1..100): all of it or nothing.
Files::Outcome saveJpeg(const QImage &image, const QString &path, int quality);

}
