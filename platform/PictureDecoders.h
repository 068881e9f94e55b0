#pragma once

#include "platform/Pictures.h"

#include <QRect>

// The pieces of the picture engine that its decoders share. Orientation values are EXIF's:
// 1 upright, 2 mirrored, 3 turned 180 degrees, 4 upside down mirrored, 5 transposed,
// 6 to be turned 90 degrees clockwise, 7 transverse, 8 to be turned 90 degrees anticlockwise.
namespace Pictures::Decoders {

QSize shownSize(QSize stored, int orientation);
// The part of the stored picture that becomes `shown` once the picture is turned upright.
QRect storedRect(const QRect &shown, QSize stored, int orientation);
// Turns a stored picture upright.
void orient(QImage &image, int orientation);
// The orientation an EXIF block ("Exif\0\0" and a TIFF structure) gives; 1 when it says none.
int exifOrientation(const uchar *data, qsizetype size);

// The size a picture of `natural` pixels gets when it is made to fit in `box`, keeping its shape.
QSize fitted(QSize natural, QSize box);
// The part a request asks of an upright picture read whole: itself, its top-left or a reduction.
QImage finish(QImage upright, const Request &request);
// 32-bit RGB with transparent pixels laid on white.
QImage onWhite(const QImage &image);

bool isJpeg(const QByteArray &bytes);
Loaded jpeg(const QByteArray &bytes, const Request &request);
bool isHeif(const QByteArray &bytes);
Loaded heif(const QByteArray &bytes, const Request &request);

Loaded refused(const QString &why);
Loaded tooLarge(QSize size);

}
