// Every filter option on pictures of fuzzed size and pixels: no pixel outside the picture is
// touched (AddressSanitizer watches the buffer), and only mirror and flip change the fourth channel.
#include "import/Filters.h"
#include "platform/Random.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int width = 1 + data[0] % 48;
    const int height = 1 + data[1] % 48;
    const int option = 1 + data[2] % 11;
    QImage image(width, height, data[3] & 1 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    uint8_t *bits = image.bits();
    const size_t bytes = size_t(image.sizeInBytes());
    for (size_t i = 0; i < bytes; ++i)
        bits[i] = size > 4 ? data[4 + i % (size - 4)] : 0;
    const QImage before = image;
    Random random(data[3]);
    Filters filters(random);
    filters.pasOptieToe(option, image);
    if (image.size() != before.size() || filters.FilterBezig())
        std::abort();
    if (option != 6 && option != 7)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (qAlpha(image.pixel(x, y)) != qAlpha(before.pixel(x, y)))
                    std::abort();
    return 0;
}
