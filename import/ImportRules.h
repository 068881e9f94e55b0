#pragma once

#include <QImage>
#include <QString>

// What the import window computes, apart from the window: the preview of the work surface, the
// ranges of its scroll bars, the proposed name and the two pictures a save can write.
namespace ImportRules {

constexpr int kWidth = 354;  // a game picture, and the preview
constexpr int kHeight = 254;
// Where the preview's stretched source lies outside the picture.
constexpr QRgb kBackground = 0xffe0e0e0; // RGB(224, 224, 224)

// The picture with its pixels as 0xAARRGGBB words (RGB32, or ARGB32 when it has alpha), as the
// filters and the preview read them; the same picture, shared, when it is stored so already.
QImage asWords(const QImage &picture);

// The preview at scroll values br (across) and ho (down): preview pixel (X, Y) shows surface pixel
// (br + X (br + 5310) / 5310, ho + Y (ho + 3810) / 3810). Only the 354 x 254 pixels that show are
// computed, whatever the size of the surface.
QImage preview(const QImage &surface, int br, int ho);

// The range of a scroll bar for a picture of `size` pixels along it: nothing to change (false)
// for a picture that fits the preview, else 0 to size - 398 across or size - 284 down, kept
// within 16 bits (a negative maximum for a picture only a little wider than the preview).
struct Range
{
    bool changes = false;
    int maximum = 0;
};
Range across(int width);
Range down(int height);

// The name proposed for a picture file: its name without the last extension.
QString proposedName(const QString &fileName);

// The whole picture scaled to 354 x 254: target pixel (X, Y) shows source (X w / 354, Y h / 254).
QImage wholeScaled(const QImage &picture);

}
