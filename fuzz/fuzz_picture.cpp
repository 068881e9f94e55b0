// Loading a picture as the game, the import window and the contact sheet do, on any bytes, and
// what the import window then makes of it.
#include "import/ImportRules.h"
#include "platform/Pictures.h"

#include <QBuffer>
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
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Pictures::Loaded loaded = Pictures::load(buffer);
    if (!loaded.ok())
        return 0;
    if (qint64(loaded.image.width()) * loaded.image.height() > Pictures::kMaxPixels)
        std::abort();
    const QImage surface = ImportRules::asWords(loaded.image);
    const QImage preview = ImportRules::preview(surface, int(size % 97) - 48, int(size % 53) - 26);
    const QImage whole = ImportRules::wholeScaled(surface);
    if (preview.size() != QSize(354, 254) || whole.size() != QSize(354, 254))
        std::abort();
    return 0;
}
