// HEIC/HEIF phone photos and AVIF pictures through libheif. The library turns a picture upright
// by the file's own rotation and mirroring boxes (which take the place of EXIF orientation in
// these files); the colours are brought from the file's profile to sRGB.
#include "platform/PictureDecoders.h"

#include <QColorSpace>

#include <memory>

#include <libheif/heif.h>

namespace Pictures::Decoders {

namespace {

// libheif's YCbCr planes beside its RGBA copy, and the picture made of that.
constexpr qint64 kBytesPerPixel = 4 + 4 + 3;

template <typename T, void (*Free)(T *)>
struct Freer
{
    void operator()(T *p) const { Free(p); }
};
using Context = std::unique_ptr<heif_context, Freer<heif_context, heif_context_free>>;
using Handle = std::unique_ptr<heif_image_handle, Freer<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, Freer<const heif_image, heif_image_release>>;
using Options = std::unique_ptr<heif_decoding_options, Freer<heif_decoding_options, heif_decoding_options_free>>;

Loaded failed(const heif_error &error)
{
    return refused(QString::fromUtf8(error.message ? error.message : "HEIF"));
}

QColorSpace colourSpaceOf(const heif_image_handle *handle)
{
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx *nclx = nullptr;
        const heif_error error = heif_image_handle_get_nclx_color_profile(handle, &nclx);
        // The library may hand out a profile with an error as well: it is freed either way.
        const bool p3 = error.code == heif_error_Ok && nclx && nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1;
        heif_nclx_color_profile_free(nclx);
        return p3 ? QColorSpace(QColorSpace::DisplayP3) : QColorSpace();
    }
    default:
        return {};
    }
}

}

bool isHeif(const QByteArray &bytes)
{
    if (bytes.size() < 12)
        return false;
    const heif_filetype_result type = heif_check_filetype(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                          int(qMin<qsizetype>(bytes.size(), 64)));
    return type == heif_filetype_yes_supported || type == heif_filetype_maybe;
}

Loaded heif(const QByteArray &bytes, const Request &request)
{
    Context context(heif_context_alloc());
    if (!context)
        return refused(QStringLiteral("te weinig geheugen"));
    heif_context_set_maximum_image_size_limit(context.get(), 65535);
    heif_error error = heif_context_read_from_memory_without_copy(context.get(), bytes.constData(), size_t(bytes.size()), nullptr);
    if (error.code != heif_error_Ok)
        return failed(error);
    heif_image_handle *rawHandle = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    const Handle handle(rawHandle); // whatever the library handed out is given back, also on failure
    if (error.code != heif_error_Ok)
        return failed(error);
    const QSize size(heif_image_handle_get_width(handle.get()), heif_image_handle_get_height(handle.get()));
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || pixels > request.limits.pixels || pixels * kBytesPerPixel > request.limits.bytes)
        return tooLarge(size);

    const Options options(heif_decoding_options_alloc());
    heif_image *rawImage = nullptr;
    error = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, options.get());
    const Image decoded(rawImage);
    if (error.code != heif_error_Ok)
        return failed(error);
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
    const QSize made(heif_image_get_width(decoded.get(), heif_channel_interleaved),
                     heif_image_get_height(decoded.get(), heif_channel_interleaved));
    if (!plane || made.isEmpty() || made.width() > size.width() || made.height() > size.height())
        return refused(QStringLiteral("HEIF-plaatje zonder beeld"));
    QImage image(plane, made.width(), made.height(), stride, QImage::Format_RGBA8888);
    image = finish(image, request); // a copy: the library's plane goes with `decoded`
    if (image.constBits() == plane)
        image = image.copy();
    if (const QColorSpace space = colourSpaceOf(handle.get()); space.isValid() && space != QColorSpace::SRgb) {
        image.setColorSpace(space);
        image.convertToColorSpace(QColorSpace::SRgb);
    }
    image = onWhite(image);
    if (image.isNull())
        return refused(QStringLiteral("te weinig geheugen"));
    return {image, QString()};
}

}
