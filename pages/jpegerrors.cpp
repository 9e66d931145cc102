#include "pages/jpegerrors.h"

// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {
void onError(j_common_ptr info)
{
    JpegErrors::of(info)->fatal = JpegErrors::messageOf(info);
    JpegErrors::jumpBack(info);
}

// Warnings that say nothing about the pixels: metadata the reader skips.
// Stray bytes before a marker are damage, even before the end marker: a
// garbled block often ends its scan early, leaving bytes unread.
bool harmless(const jpeg_error_mgr *error)
{
    return error->msg_code == JWRN_JFIF_MAJOR || error->msg_code == JWRN_ADOBE_XFORM ||
           error->msg_code == JWRN_BOGUS_ICC;
}

void onWarning(j_common_ptr info, int level)
{
    JpegErrors *errors = JpegErrors::of(info);
    if (level >= 0 || harmless(info->err))
        return;
    if (errors->firstWarning.isEmpty())
        errors->firstWarning = JpegErrors::messageOf(info);
    constexpr int WarningLimit = 1000;
    if (errors->abortOnWarning &&
        (info->err->msg_code == JWRN_BOGUS_PROGRESSION || ++errors->warnings > WarningLimit)) {
        errors->warned = true;
        errors->fatal = errors->firstWarning;
        JpegErrors::jumpBack(info);
    }
}

void deaf(j_common_ptr, int) {}
void silence(j_common_ptr) {}
} // namespace

jpeg_error_mgr *JpegErrors::install(bool hearWarnings)
{
    jpeg_std_error(&base);
    base.error_exit = onError;
    base.emit_message = hearWarnings ? onWarning : deaf;
    base.output_message = silence;
    return &base;
}

JpegErrors *JpegErrors::of(j_common_ptr info)
{
    return reinterpret_cast<JpegErrors *>(info->err);
}

void JpegErrors::jumpBack(j_common_ptr info)
{
    std::longjmp(of(info)->escape, 1);
}

QString JpegErrors::messageOf(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    return QString::fromLocal8Bit(text);
}
