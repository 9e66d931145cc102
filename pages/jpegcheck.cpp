#include "pages/jpegcheck.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf escape;
    QString firstWarning;
    QString fatal;
};

QString messageOf(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    return QString::fromLocal8Bit(text);
}

void onError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    manager->fatal = messageOf(info);
    std::longjmp(manager->escape, 1);
}

// Warnings that say nothing about the pixels: metadata the reader skips, and
// stray bytes after the last block, just before the end marker.
bool harmless(const jpeg_error_mgr *error)
{
    switch (error->msg_code) {
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC:
        return true;
    case JWRN_EXTRANEOUS_DATA:
        return error->msg_parm.i[1] == 0xD9;
    default:
        return false;
    }
}

void onMessage(j_common_ptr info, int level)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    if (level < 0 && !harmless(info->err) && manager->firstWarning.isEmpty())
        manager->firstWarning = messageOf(info);
}

void silence(j_common_ptr) {}

bool isUnsupported(int code)
{
    return code == JERR_BAD_PRECISION || code == JERR_SOF_UNSUPPORTED ||
           code == JERR_NOT_COMPILED || code == JERR_ARITH_NOTIMPL;
}

} // namespace

JpegCheck JpegCheck::run(const QByteArray &data, qint64 pixelBudget)
{
    JpegCheck result;
    jpeg_decompress_struct info;
    ErrorManager manager;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    manager.base.output_message = silence;
    jpeg_create_decompress(&info);
    if (setjmp(manager.escape)) {
        result.damage = manager.fatal;
        result.unsupported = isUnsupported(manager.base.msg_code);
        jpeg_destroy_decompress(&info);
        return result;
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    result.size = QSize(int(info.image_width), int(info.image_height));
    // The blocks of a huge picture would take as much memory as its pixels;
    // the caller refuses such a page by its size.
    if (qint64(info.image_width) * info.image_height <= pixelBudget) {
        jpeg_read_coefficients(&info);
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    result.damage = manager.firstWarning;
    return result;
}
