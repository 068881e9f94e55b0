// JPEG through libjpeg-turbo's own API: rows decoded straight into the picture's memory, only the
// rows and columns that are asked for, or at 1/2, 1/4 or 1/8 of the size for a reduction. The
// whole cost of a file is known before its pixels are decoded.
#include "platform/PictureDecoders.h"

#include <QtEndian>

#include <sys/mman.h>

#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include <jpeglib.h>

namespace Pictures::Decoders {

namespace {

// A progressive photo has some ten scans; a file with many more costs a pass over its blocks
// for each of them and shows nothing more (libjpeg-turbo's own tools stop at a limit like it).
constexpr int kMaxScans = 100;
// All scans together may pass over the picture's blocks this many times.
constexpr qint64 kMaxPasses = 16;

struct Errors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void fail(j_common_ptr info)
{
    auto *errors = reinterpret_cast<Errors *>(info->err);
    (*info->err->format_message)(info, errors->text);
    std::longjmp(errors->jump, 1);
}

// Warnings (damaged data, a file that ends early) are not errors: what can be decoded is shown.
void quiet(j_common_ptr, int) {}

struct Scans
{
    jpeg_progress_mgr progress;
    int scan = 0;
    qint64 blocks = 0; // blocks passed over by all scans so far
    qint64 budget = 0;
};

void countScans(j_common_ptr common)
{
    auto *info = reinterpret_cast<j_decompress_ptr>(common);
    auto *scans = reinterpret_cast<Scans *>(common->progress);
    if (info->input_scan_number == scans->scan)
        return;
    scans->scan = info->input_scan_number;
    for (int i = 0; i < info->comps_in_scan; ++i)
        scans->blocks += qint64(info->cur_comp_info[i]->width_in_blocks) * info->cur_comp_info[i]->height_in_blocks;
    if (scans->scan > kMaxScans || scans->blocks > scans->budget) {
        auto *errors = reinterpret_cast<Errors *>(common->err);
        std::snprintf(errors->text, sizeof errors->text, "meer dan %d scans", kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

// Everything a decode owns lives here, so that a jump out of the library leaves nothing behind.
struct Job
{
    jpeg_decompress_struct info{};
    Errors errors{};
    Scans scans{};
    bool created = false;
    QImage image;
    std::vector<JSAMPROW> rows;
    std::vector<JSAMPLE> cmyk;
    int orientation = 1;
    int shift = 0;       // columns decoded left of the wanted part (a crop starts on a block)
    QSize wanted;        // the stored part that is wanted, as decoded
    Loaded refusal;
    std::thread clearing;
    ~Job()
    {
        if (clearing.joinable())
            clearing.join();
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

int orientationOf(const jpeg_decompress_struct &info)
{
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return exifOrientation(m->data, qsizetype(m->data_length));
    }
    return 1;
}

// The library's buffer of all coefficients, which files of more than one scan need.
qint64 coefficientBytes(const jpeg_decompress_struct &info)
{
    qint64 bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info &comp = info.comp_info[c];
        const auto roundUp = [](qint64 n, qint64 m) { return (n + m - 1) / m * m; };
        bytes += roundUp(comp.width_in_blocks, comp.h_samp_factor) * roundUp(comp.height_in_blocks, comp.v_samp_factor) *
                 qint64(DCTSIZE2 * sizeof(JCOEF));
    }
    return bytes;
}

qint64 blocksOf(const jpeg_decompress_struct &info)
{
    qint64 blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += qint64(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    return blocks;
}

void fromCmyk(const JSAMPLE *in, QRgb *out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// A picture for the decoder to fill. A large one lies in huge pages where the system has them,
// and the system clears them on the other core while the decoder fills the first rows: the first
// touch of each page would otherwise cost a fifth of the decode.
QImage blank(int width, int height, std::thread &clearing)
{
    constexpr size_t kHuge = size_t(2) << 20;
    const size_t bytesPerLine = size_t(width) * 4;
    const size_t bytes = (bytesPerLine * size_t(height) + kHuge - 1) / kHuge * kHuge;
    if (bytes < 4 * kHuge)
        return QImage(width, height, QImage::Format_RGB32);
    void *memory = std::aligned_alloc(kHuge, bytes);
    if (!memory)
        return QImage();
    madvise(memory, bytes, MADV_HUGEPAGE);
    clearing = std::thread([memory, bytes] { madvise(memory, bytes, MADV_POPULATE_WRITE); });
    return QImage(static_cast<uchar *>(memory), width, height, qsizetype(bytesPerLine), QImage::Format_RGB32, std::free, memory);
}

// Reads `rows` rows into the picture from its row `top` on.
void readRows(Job &job, int top, int count)
{
    jpeg_decompress_struct &info = job.info;
    if (info.out_color_space != JCS_CMYK) {
        for (int done = 0; done < count;)
            done += int(jpeg_read_scanlines(&info, job.rows.data() + top + done, JDIMENSION(count - done)));
        return;
    }
    job.cmyk.resize(size_t(info.output_width) * 4);
    JSAMPROW row = job.cmyk.data();
    for (int y = top; y < top + count; ++y) {
        jpeg_read_scanlines(&info, &row, 1);
        fromCmyk(row, reinterpret_cast<QRgb *>(job.rows[size_t(y)]), int(info.output_width), info.saw_Adobe_marker);
    }
}

// No object with a destructor may live in this frame: the library leaves it by a long jump.
bool decode(Job &job, const QByteArray &bytes, const Request &request)
{
    jpeg_decompress_struct &info = job.info;
    if (setjmp(job.errors.jump)) {
        job.refusal = refused(QString::fromLatin1(job.errors.text));
        return false;
    }
    info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = fail;
    job.errors.manager.emit_message = quiet;
    jpeg_create_decompress(&info);
    job.created = true;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&info, TRUE);

    const QSize stored(int(info.image_width), int(info.image_height));
    if (qint64(stored.width()) * stored.height() > request.limits.pixels) {
        job.refusal = tooLarge(stored);
        return false;
    }
    job.orientation = orientationOf(info);
    const QSize shown = shownSize(stored, job.orientation);
    info.out_color_space = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ? JCS_CMYK
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
                                                                                                   : JCS_EXT_BGRX;
#else
                                                                                                   : JCS_EXT_XRGB;
#endif
    QRect part(QPoint(0, 0), stored);
    if (request.way == Way::Region) {
        part = storedRect(QRect(QPoint(0, 0), request.size.boundedTo(shown)), stored, job.orientation);
    } else if (request.way == Way::Reduced) {
        const QSize fit = shownSize(fitted(shown, request.size), job.orientation); // as stored
        for (const int eighths : {1, 2, 4, 8}) {
            info.scale_num = JDIMENSION(eighths);
            info.scale_denom = 8;
            jpeg_calc_output_dimensions(&info);
            if (int(info.output_width) >= fit.width() && int(info.output_height) >= fit.height())
                break;
        }
    }
    jpeg_calc_output_dimensions(&info);
    if (request.way != Way::Region)
        part = QRect(0, 0, int(info.output_width), int(info.output_height));

    // The picture as decoded (once more where it is turned) and the library's coefficients. A file
    // that could not be read whole is refused in every way, so that a picture reads alike everywhere.
    const qint64 coefficients = jpeg_has_multiple_scans(&info) ? coefficientBytes(info) : 0;
    const qint64 wholeCost = qint64(stored.width()) * stored.height() * 4 + coefficients;
    const qint64 cost = qint64(part.width()) * part.height() * 4 * (job.orientation >= 5 ? 2 : 1) + coefficients;
    if (qMax(cost, wholeCost) > request.limits.bytes) {
        job.refusal = tooLarge(stored);
        return false;
    }
    info.mem->max_memory_to_use = long(request.limits.bytes);
    job.scans.progress.progress_monitor = countScans;
    job.scans.budget = kMaxPasses * blocksOf(info);
    info.progress = &job.scans.progress;

    jpeg_start_decompress(&info);
    if (request.way == Way::Region) {
        JDIMENSION left = JDIMENSION(part.x());
        JDIMENSION width = JDIMENSION(part.width());
        jpeg_crop_scanline(&info, &left, &width);
        job.shift = part.x() - int(left);
    }
    job.wanted = part.size();
    job.image = blank(int(info.output_width), part.height(), job.clearing);
    if (job.image.isNull()) {
        job.refusal = refused(QStringLiteral("te weinig geheugen"));
        return false;
    }
    job.rows.resize(size_t(part.height()));
    for (int y = 0; y < part.height(); ++y)
        job.rows[size_t(y)] = job.image.scanLine(y);
    if (part.y() > 0)
        jpeg_skip_scanlines(&info, JDIMENSION(part.y()));
    readRows(job, 0, part.height());
    // The rest of the file is not needed: no finishing pass over it.
    return true;
}

}

bool isJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xD8 && quint8(bytes[2]) == 0xFF;
}

Loaded jpeg(const QByteArray &bytes, const Request &request)
{
    Job job;
    if (!decode(job, bytes, request))
        return job.refusal;
    QImage image = std::move(job.image);
    if (job.shift != 0 || image.width() != job.wanted.width())
        image = image.copy(job.shift, 0, job.wanted.width(), job.wanted.height());
    orient(image, job.orientation);
    if (request.way == Way::Reduced)
        image = finish(std::move(image), request);
    if (image.isNull())
        return refused(QStringLiteral("te weinig geheugen"));
    return {image, QString()};
}

}
