// Loading a picture as the game (its top-left part), the import window (whole) and the contact
// sheet (reduced) do, on any bytes, and what the import window then makes of it.
#include "import/ImportRules.h"
#include "platform/Pictures.h"

#include <QCoreApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image plugins are found through the application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // A cap that fits the fuzzer's memory limit under AddressSanitizer.
    const Pictures::Limits limits{Pictures::kMaxPixels, qint64(300) << 20};
    const Pictures::Loaded region = Pictures::load(bytes, {Pictures::Way::Region, Pictures::kGameSize, limits});
    if (region.ok() && (region.image.width() > 354 || region.image.height() > 254 ||
                        region.image.format() != QImage::Format_RGB32))
        std::abort();
    const Pictures::Loaded reduced = Pictures::load(bytes, {Pictures::Way::Reduced, QSize(417, 302), limits});
    if (reduced.ok() && (reduced.image.width() > 417 || reduced.image.height() > 302))
        std::abort();
    const Pictures::Loaded whole = Pictures::load(bytes, {Pictures::Way::Whole, QSize(), limits});
    if (!whole.ok())
        return 0;
    if (qint64(whole.image.width()) * whole.image.height() * 4 > limits.bytes)
        std::abort();
    // What the game shows is the top-left of the whole picture.
    if (!region.ok() || region.image.size() != whole.image.size().boundedTo(Pictures::kGameSize))
        std::abort();
    const QImage preview = ImportRules::preview(whole.image, int(size % 97) - 48, int(size % 53) - 26);
    const QImage scaled = ImportRules::wholeScaled(whole.image);
    if (preview.size() != QSize(354, 254) || scaled.size() != QSize(354, 254))
        std::abort();
    return 0;
}
