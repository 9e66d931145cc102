#include "pages/jpegcheck.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QCoreApplication>

#include "pages/jpegerrors.h"

// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// The data handed over a little at a time. With the whole file in one
// buffer, libjpeg takes its fast Huffman path, which decodes a bad code as
// zero without a word; with less than a few blocks' worth at hand it takes
// the careful path, which warns of every bad code.
struct TrickleSource
{
    jpeg_source_mgr base;
    const JOCTET *data;
    size_t size;
    size_t next;
    const std::atomic_bool *stop = nullptr;
    static constexpr size_t Piece = 256;
};

const JOCTET FakeEnd[2] = {0xFF, JPEG_EOI};

void trickleInit(j_decompress_ptr) {}
void trickleTerm(j_decompress_ptr) {}

boolean trickleFill(j_decompress_ptr info)
{
    auto *source = reinterpret_cast<TrickleSource *>(info->src);
    // A page asked to stop gives up here, whatever libjpeg is in the middle of.
    if (source->stop && source->stop->load(std::memory_order_relaxed)) {
        const auto common = reinterpret_cast<j_common_ptr>(info);
        JpegErrors::of(common)->fatal = QCoreApplication::translate("JpegCheck", "Stopped.");
        JpegErrors::jumpBack(common);
    }
    if (source->next >= source->size) {
        WARNMS(info, JWRN_JPEG_EOF);
        source->base.next_input_byte = FakeEnd;
        source->base.bytes_in_buffer = 2;
        return TRUE;
    }
    const size_t length = qMin(TrickleSource::Piece, source->size - source->next);
    source->base.next_input_byte = source->data + source->next;
    source->base.bytes_in_buffer = length;
    source->next += length;
    return TRUE;
}

void trickleSkip(j_decompress_ptr info, long count)
{
    auto *source = reinterpret_cast<TrickleSource *>(info->src);
    while (count > long(source->base.bytes_in_buffer)) {
        count -= long(source->base.bytes_in_buffer);
        trickleFill(info);
    }
    source->base.next_input_byte += count;
    source->base.bytes_in_buffer -= size_t(count);
}

void trickleFrom(j_decompress_ptr info, TrickleSource *source, const QByteArray &data)
{
    source->base.init_source = trickleInit;
    source->base.fill_input_buffer = trickleFill;
    source->base.skip_input_data = trickleSkip;
    source->base.resync_to_restart = jpeg_resync_to_restart;
    source->base.term_source = trickleTerm;
    source->base.bytes_in_buffer = 0;
    source->base.next_input_byte = nullptr;
    source->data = reinterpret_cast<const JOCTET *>(data.constData());
    source->size = size_t(data.size());
    source->next = 0;
    info->src = &source->base;
}

// The eighths of the size to decode at: the fewest whose size still covers
// what fits within bounds (libjpeg-turbo decodes at any eighth, straight from
// the blocks).
int eighthsFor(const QSize &size, const QSize &bounds)
{
    if (!bounds.isValid())
        return 1; // no picture: the least work beyond decoding the blocks
    const QSize fitted = size.scaled(bounds, Qt::KeepAspectRatio);
    for (int eighths = 1; eighths < 8; ++eighths) {
        if ((qint64(size.width()) * eighths + 7) / 8 >= fitted.width() &&
            (qint64(size.height()) * eighths + 7) / 8 >= fitted.height())
            return eighths;
    }
    return 8;
}

// Every block is decoded (the only way to hear of damage in all of them);
// the rows are kept only when a picture is wanted. The buffers belong to the
// caller, whose frame an error jumps back to. When the coefficients are
// kept, they are returned and the decompressor is left open, holding them.
jvirt_barray_ptr *decodeScaled(j_decompress_ptr info, const QSize &bounds, bool keepBlocks,
                               QImage *rows, QByteArray *scratch)
{
    const bool wanted = !keepBlocks && bounds.isValid() && info->jpeg_color_space != JCS_CMYK &&
                        info->jpeg_color_space != JCS_YCCK;
    // The blocks' coefficients alone (every code is read, no pixel made) take
    // a fifth less time than an eighth-size decode, but are held whole: not
    // for a huge page, which the decode streams.
    constexpr qint64 HeldCoefficients = qint64(1) << 25;
    if (keepBlocks ||
        (!wanted && qint64(info->image_width) * info->image_height <= HeldCoefficients)) {
        // Every code is read by the time this returns: finishing reads no
        // more, it only lets the coefficients go.
        jvirt_barray_ptr *arrays = jpeg_read_coefficients(info);
        if (keepBlocks)
            return arrays;
        jpeg_finish_decompress(info);
        return nullptr;
    }
    info->scale_num =
        unsigned(eighthsFor(QSize(int(info->image_width), int(info->image_height)), bounds));
    info->scale_denom = 8;
    const bool grey = info->jpeg_color_space == JCS_GRAYSCALE;
    if (wanted)
        info->out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_start_decompress(info);
    if (wanted)
        *rows = QImage(int(info->output_width), int(info->output_height),
                       grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    else
        scratch->resize(int(info->output_width * unsigned(info->output_components)));
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = wanted ? rows->scanLine(int(info->output_scanline))
                              : reinterpret_cast<JSAMPROW>(scratch->data());
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return nullptr;
}

bool isUnsupported(int code)
{
    return code == JERR_BAD_PRECISION || code == JERR_SOF_UNSUPPORTED ||
           code == JERR_NOT_COMPILED || code == JERR_ARITH_NOTIMPL;
}

} // namespace

namespace {
bool commonSampling(const jpeg_decompress_struct &info)
{
    if (info.num_components == 1)
        return true;
    if (info.num_components != 3)
        return false;
    for (int c = 1; c < 3; ++c) {
        if (info.comp_info[c].h_samp_factor != 1 || info.comp_info[c].v_samp_factor != 1)
            return false;
    }
    const QSize luma(info.comp_info[0].h_samp_factor, info.comp_info[0].v_samp_factor);
    return luma == QSize(1, 1) || luma == QSize(2, 1) || luma == QSize(2, 2) ||
           luma == QSize(1, 2) || luma == QSize(4, 1);
}
} // namespace

// Everything libjpeg is handed while it decodes, in one place that can
// outlive the check when its coefficients are kept.
struct JpegCheck::Blocks::Decoder
{
    JpegErrors manager;
    TrickleSource source;
    jpeg_decompress_struct info;
    QByteArray data; // the source's bytes, shared so they stay put

    Decoder()
    {
        info.err = manager.install(true);
        jpeg_create_decompress(&info);
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
};

JpegCheck::Blocks::Blocks()
    : d(new Decoder)
{}

JpegCheck::Blocks::~Blocks() = default;

jpeg_decompress_struct *JpegCheck::Blocks::decompressor() const
{
    return &d->info;
}

qint64 JpegCheck::Blocks::bytes() const
{
    qint64 total = 0;
    for (int c = 0; c < d->info.num_components; ++c) {
        const jpeg_component_info &component = d->info.comp_info[c];
        const qint64 across = (component.width_in_blocks + component.h_samp_factor - 1) /
                              component.h_samp_factor * component.h_samp_factor;
        const qint64 down = (component.height_in_blocks + component.v_samp_factor - 1) /
                            component.v_samp_factor * component.v_samp_factor;
        total += across * down * qint64(sizeof(JBLOCK));
    }
    return total;
}

JpegCheck JpegCheck::run(const QByteArray &data, qint64 pixelBudget, const QSize &pictureBounds,
                         const std::atomic_bool *stop)
{
    return decode(data, pixelBudget, pictureBounds, true, false, stop);
}

JpegCheck JpegCheck::readBlocks(const QByteArray &data, qint64 pixelBudget,
                                const std::atomic_bool *stop)
{
    return decode(data, pixelBudget, QSize(), true, true, stop);
}

JpegCheck JpegCheck::decodeQuickly(const QByteArray &data, qint64 pixelBudget,
                                   const QSize &pictureBounds, const std::atomic_bool *stop)
{
    return decode(data, pixelBudget, pictureBounds, false, false, stop);
}

namespace {
// What one pass of libjpeg over a JPEG was asked for.
struct Pass
{
    QSize pictureBounds;
    bool careful = false;
    bool keepBlocks = false;
    qint64 pixelBudget = 0;
};

void readHeaderFacts(j_decompress_ptr info, JpegCheck *result)
{
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next)
        result->comments = result->comments || marker->marker == JPEG_COM;
    // As Qt's JPEG reader reads them.
    if (info->density_unit == 1)
        result->dotsPerMeter =
            QSize(int(100. * info->X_density / 2.54), int(100. * info->Y_density / 2.54));
    else if (info->density_unit == 2)
        result->dotsPerMeter = QSize(int(100. * info->X_density), int(100. * info->Y_density));
    JOCTET *icc = nullptr;
    unsigned int iccLength = 0;
    if (jpeg_read_icc_profile(info, &icc, &iccLength)) {
        result->layout.iccProfile = QByteArray(reinterpret_cast<const char *>(icc), int(iccLength));
        std::free(icc);
    }
    result->size = QSize(int(info->image_width), int(info->image_height));
    result->layout.blockGrid =
        QSize(info->max_h_samp_factor * DCTSIZE, info->max_v_samp_factor * DCTSIZE);
    result->layout.grey = info->jpeg_color_space == JCS_GRAYSCALE;
    result->layout.commonSampling = commonSampling(*info);
    result->layout.cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    result->layout.ycc = info->jpeg_color_space == JCS_YCbCr;
}

// libjpeg's whole run over the data. setjmp sits in a function whose locals
// are all plain, and everything it fills is the caller's: when libjpeg
// jumps back, nothing here was half made or is read in an unknown state.
bool decodePass(JpegCheck::Blocks::Decoder *decoder, const Pass *pass, JpegCheck *result,
                QImage *rows, QByteArray *scratch, jvirt_barray_ptr **arrays)
{
    jpeg_decompress_struct *info = &decoder->info;
    if (setjmp(decoder->manager.escape))
        return false;
    if (pass->careful)
        trickleFrom(info, &decoder->source, decoder->data);
    else
        jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(decoder->data.constData()),
                     static_cast<unsigned long>(decoder->data.size()));
    jpeg_save_markers(info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_save_markers(info, JPEG_COM, 16);
    jpeg_read_header(info, TRUE);
    readHeaderFacts(info, result);
    // A huge picture is refused by the caller, by its size, undecoded.
    if (qint64(info->image_width) * info->image_height <= pass->pixelBudget)
        *arrays = decodeScaled(info, pass->pictureBounds, pass->keepBlocks, rows, scratch);
    return true;
}

bool framePass(JpegCheck::Blocks::Decoder *decoder, JpegCheck::Frame *frame)
{
    jpeg_decompress_struct *info = &decoder->info;
    if (setjmp(decoder->manager.escape))
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(decoder->data.constData()),
                 static_cast<unsigned long>(decoder->data.size()));
    jpeg_read_header(info, TRUE);
    frame->size = QSize(int(info->image_width), int(info->image_height));
    frame->components = info->num_components;
    frame->adobe = info->saw_Adobe_marker;
    if (info->saw_JFIF_marker && info->X_density > 0 && info->X_density == info->Y_density &&
        (info->density_unit == 1 || info->density_unit == 2))
        frame->dotsPerInch = info->density_unit == 1 ? info->X_density : info->X_density * 2.54;
    // libjpeg's luminance table, in natural order, that its quality scales:
    // how far the first table is scaled from it tells the quality.
    static const unsigned short standard[DCTSIZE2] = {
        16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    if (const JQUANT_TBL *table = info->quant_tbl_ptrs[0]) {
        double sum = 0, reference = 0;
        for (int i = 0; i < DCTSIZE2; ++i) {
            sum += table->quantval[i];
            reference += standard[i];
        }
        const double scale = 100 * sum / reference;
        const double quality = scale <= 100 ? (200 - scale) / 2 : 5000 / scale;
        frame->quality = qBound(1, int(quality + 0.5), 100);
    }
    return true;
}
} // namespace

int JpegCheck::scanCount(const QByteArray &data)
{
    // Inside compressed data a 0xFF byte is always followed by 0 or a
    // restart marker, so each start of scan is a marker of its own.
    int scans = 0;
    const char *at = data.constData();
    const char *const end = at + data.size();
    while (at + 1 < end) {
        at = static_cast<const char *>(std::memchr(at, 0xFF, size_t(end - at - 1)));
        if (!at)
            break;
        if (quint8(at[1]) == 0xDA)
            ++scans;
        ++at;
    }
    return scans;
}

JpegCheck::Frame JpegCheck::frameOf(const QByteArray &data)
{
    Frame frame;
    if (!data.startsWith("\xFF\xD8\xFF"))
        return frame; // no JPEG, whatever else would decode it
    Blocks blocks;
    blocks.d->data = data;
    blocks.d->manager.abortOnWarning = true;
    if (!framePass(blocks.d.get(), &frame))
        return Frame();
    return frame;
}

JpegCheck JpegCheck::decode(const QByteArray &data, qint64 pixelBudget, const QSize &pictureBounds,
                            bool careful, bool keepBlocks, const std::atomic_bool *stop)
{
    JpegCheck result;
    const int scans = scanCount(data);
    if (scans > ScanLimit) {
        result.damage = QCoreApplication::translate(
                            "JpegCheck", "It holds %1 scans, more than any encoder writes.")
                            .arg(scans);
        return result;
    }
    QImage rows;
    QByteArray scratch;
    std::shared_ptr<Blocks> blocks(new Blocks);
    blocks->d->data = data;
    blocks->d->manager.abortOnWarning = true;
    // The careful pass reads a piece at a time, where a stop is heard; the
    // quick one is a single decode.
    blocks->d->source.stop = stop;
    const Pass pass{pictureBounds, careful, keepBlocks, pixelBudget};
    if (!decodePass(blocks->d.get(), &pass, &result, &rows, &scratch, &blocks->m_arrays)) {
        const JpegErrors &manager = blocks->d->manager;
        result.damage = manager.fatal;
        result.unsupported = !manager.warned && isUnsupported(manager.base.msg_code);
        result.picture = QImage();
        return result;
    }
    result.damage = blocks->d->manager.firstWarning;
    if (result.damage.isEmpty()) {
        result.picture = rows;
        if (blocks->m_arrays)
            result.blocks = std::move(blocks);
    }
    return result;
}
