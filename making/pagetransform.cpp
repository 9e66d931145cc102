#include "making/pagetransform.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QRect>

#include <turbojpeg.h>
#include <webp/encode.h>

namespace {
// Whether every pixel of the line from (x, y) stepping by (dx, dy) is
// within tolerance of colour.
bool plainLine(const QImage &image, int x, int y, int dx, int dy, int count, QRgb colour,
               int tolerance)
{
    for (int i = 0; i < count; ++i, x += dx, y += dy) {
        const QRgb p = reinterpret_cast<const QRgb *>(image.constScanLine(y))[x];
        if (qAbs(qRed(p) - qRed(colour)) > tolerance ||
            qAbs(qGreen(p) - qGreen(colour)) > tolerance ||
            qAbs(qBlue(p) - qBlue(colour)) > tolerance)
            return false;
    }
    return true;
}
} // namespace

bool PagePlan::changes() const
{
    return rotation != 0 || !border.isNull() || trim || cut || straighten || levels || toned;
}

PagePlan planPage(const QSize &size, const PageOptions &options, const PageTreatment &own)
{
    PagePlan plan;
    plan.rotation = own.rotation;
    plan.turnedSize = own.rotation % 180 ? size.transposed() : size;
    if (own.border == PageTreatment::OwnBorder)
        plan.border = own.borderSides;
    else if (own.border == PageTreatment::BorderAsBook && options.ImageCutBorder)
        plan.border = QMargins(options.ImageCutBorderNumber, options.ImageCutBorderNumber,
                               options.ImageCutBorderNumber, options.ImageCutBorderNumber);
    plan.trim = options.ImageTrimMargins;
    if (own.cut == PageTreatment::CutAsBook)
        plan.cut =
            options.ImageCutDoublePages &&
            (!options.ImageCutOnlyWide || plan.turnedSize.width() > plan.turnedSize.height());
    else
        plan.cut = own.cut == PageTreatment::AlwaysCut;
    plan.straighten = own.straighten == PageTreatment::StraightenAsBook
                          ? options.ScanStraighten
                          : own.straighten != PageTreatment::LeaveStraight;
    plan.ownSlant = own.straighten == PageTreatment::StraightenBy;
    plan.slantDegrees = plan.ownSlant ? own.straightenDegrees : 0;
    plan.levels = options.ScanLevels && !own.paperAsScanned;
    plan.levelsGamma = options.ScanLevelsGamma / 100.0;
    plan.toned = options.tunesColour();
    return plan;
}

QRect plainMarginsInside(const QImage &source, int tolerance)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const QRect whole(0, 0, w, h);
    if (w < 3 || h < 3)
        return whole;
    const auto corner = [&image](int x, int y) {
        return reinterpret_cast<const QRgb *>(image.constScanLine(y))[x];
    };
    // A blank page has nothing to keep whole but all of it.
    const QRgb paper = corner(0, 0);
    bool blank = true;
    for (int y = 0; blank && y < h; ++y)
        blank = plainLine(image, 0, y, 1, 0, w, paper, tolerance);
    if (blank)
        return whole;

    int top = 0, bottom = 0, left = 0, right = 0;
    const QRgb topColour = corner(w / 2, 0), bottomColour = corner(w / 2, h - 1);
    const QRgb leftColour = corner(0, h / 2), rightColour = corner(w - 1, h / 2);
    while (top < h / 3 && plainLine(image, 0, top, 1, 0, w, topColour, tolerance))
        ++top;
    while (bottom < h / 3 && plainLine(image, 0, h - 1 - bottom, 1, 0, w, bottomColour, tolerance))
        ++bottom;
    const int rows = h - top - bottom;
    while (left < w / 3 && plainLine(image, left, top, 0, 1, rows, leftColour, tolerance))
        ++left;
    while (right < w / 3 &&
           plainLine(image, w - 1 - right, top, 0, 1, rows, rightColour, tolerance))
        ++right;
    return QRect(left, top, w - left - right, h - top - bottom);
}

bool hasNoColour(const QImage &source, int tolerance)
{
    if (source.isGrayscale())
        return true;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            if (qAbs(r - g) > tolerance || qAbs(g - b) > tolerance || qAbs(r - b) > tolerance)
                return false;
        }
    }
    return true;
}

QSize resizedSize(const QSize &size, const PageOptions &options)
{
    if (!options.ImageResize)
        return size;
    const QSize box(options.ResizeImageWidth, options.ResizeImageHeight);
    if (options.ImageResizeMode != PageOptions::ResizeToFit)
        return box;
    // Proportions kept, within the box; a sliver may round to nothing.
    double scale = qMin(double(box.width()) / size.width(), double(box.height()) / size.height());
    if (options.ImageResizeNoEnlarge && scale >= 1)
        return size;
    return QSize(int(size.width() * scale + 0.5), int(size.height() * scale + 0.5)).boundedTo(box);
}

QRect insideBorder(const QSize &size, const QMargins &border)
{
    const QRect inner = QRect(QPoint(), size).marginsRemoved(border);
    return inner.isEmpty() ? QRect() : inner;
}

QList<QRect> cutRegions(const QRect &inner, const PageOptions &options, bool cut)
{
    if (!cut)
        return {inner};
    if (inner.isEmpty())
        return {QRect(), QRect()};
    // Measured on the page within its border; truncated, not rounded.
    const int k = int(qint64(inner.width()) * options.ImageCutPointNumber / 100);
    const QRect left(inner.x(), inner.y(), k + 1, inner.height());
    const QRect right(inner.x() + k, inner.y(), inner.width() - k, inner.height());
    return options.ImageCutFirstPageRight ? QList<QRect>{right, left} : QList<QRect>{left, right};
}

namespace {
// A complete file of the format, written by Qt's image writer.
QByteArray written(const QImage &image, const char *format, int quality, QString *error)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        data.clear();
        if (error)
            *error = writer.errorString();
    }
    return data;
}
} // namespace

QByteArray encodeJpeg(const QImage &image, int quality, QString *error)
{
    if (image.isNull()) {
        if (error)
            *error = QCoreApplication::translate("PageTransform", "There is no picture to encode.");
        return QByteArray();
    }
    return written(image, "jpg", quality, error);
}

namespace {
// libjpeg-turbo makes the one channel straight from the page's colour
// pixels: no grey copy of the page is made first.
QByteArray encodeGreyJpeg(const QImage &image, int quality, QString *error)
{
    const QImage page = image.format() == QImage::Format_Grayscale8
                            ? image
                            : image.convertToFormat(QImage::Format_RGB32);
    const int format = page.format() == QImage::Format_Grayscale8 ? TJPF_GRAY : TJPF_BGRX;
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    QByteArray data;
    if (handle &&
        tjCompress2(handle, page.constBits(), page.width(), page.bytesPerLine(), page.height(),
                    format, &out, &size, TJSAMP_GRAY, quality, TJFLAG_ACCURATEDCT) == 0)
        data = QByteArray(reinterpret_cast<const char *>(out), int(size));
    else if (error)
        *error = QString::fromLocal8Bit(tjGetErrorStr2(handle));
    tjFree(out);
    if (handle)
        tjDestroy(handle);
    return data;
}

// libwebp itself: lossy at any quality, lossless only when asked (the
// quality then says how hard it tries), on a thread of its own for the
// analysis. Pages are opaque: the encoder is given their colour alone.
QByteArray encodeWebp(const QImage &image, int quality, bool lossless, QString *error)
{
    const auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (image.width() > PageOptions::WebpSideLimit || image.height() > PageOptions::WebpSideLimit)
        return failed(QCoreApplication::translate("PageTransform",
                                                  "it is %1 × %2 pixels, and WebP takes at most "
                                                  "%3 a side")
                          .arg(image.width())
                          .arg(image.height())
                          .arg(PageOptions::WebpSideLimit));
    if (image.isNull())
        return failed(
            QCoreApplication::translate("PageTransform", "There is no picture to encode."));
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return failed(QStringLiteral("libwebp: version mismatch"));
    config.quality = float(qBound(0, quality, 100));
    config.lossless = lossless ? 1 : 0;
    config.thread_level = 1;
    const QImage page = image.convertToFormat(QImage::Format_RGB32);
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.width = page.width();
    picture.height = page.height();
    picture.use_argb = 1;
    WebPMemoryWriter written;
    WebPMemoryWriterInit(&written);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &written;
    QByteArray data;
    if (WebPPictureImportBGRX(&picture, page.constBits(), int(page.bytesPerLine())) &&
        WebPEncode(&config, &picture))
        data = QByteArray(reinterpret_cast<const char *>(written.mem), int(written.size));
    else if (error)
        *error = QCoreApplication::translate("PageTransform", "libwebp cannot encode it (error %1)")
                     .arg(int(picture.error_code));
    WebPPictureFree(&picture);
    WebPMemoryWriterClear(&written);
    return data;
}
} // namespace

QByteArray encodePage(const QImage &image, const PageOptions &options, bool grey, QString *error)
{
    if (options.PageFormat != PageOptions::JpegPages)
        return encodeWebp(grey ? image.convertToFormat(QImage::Format_Grayscale8) : image,
                          options.ImageQuality,
                          options.PageFormat == PageOptions::WebpLosslessPages, error);
    if (grey)
        return encodeGreyJpeg(image, options.ImageQuality, error);
    return encodeJpeg(image, options.ImageQuality, error);
}

QString pageSuffix(const PageOptions &options)
{
    return options.PageFormat != PageOptions::JpegPages ? QStringLiteral("webp")
                                                        : QStringLiteral("jpg");
}
