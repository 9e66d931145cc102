#include "cbz/pagetransform.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRect>

namespace {
// The rectangle from (left, top) to (right, bottom), both corners included.
QImage copyInclusive(const QImage &image, int left, int top, int right, int bottom)
{
    // A rectangle without pixels must give nothing: QImage::copy() would
    // return the whole image for a null rectangle.
    if (right < left || bottom < top)
        return QImage();
    return image.copy(QRect(QPoint(left, top), QPoint(right, bottom)));
}

QImage cutBorder(const QImage &image, int border)
{
    return copyInclusive(image, border, border, image.width() - border - 1,
                         image.height() - border - 1);
}

QImage resized(const QImage &image, const PageOptions &options)
{
    if (!options.ImageResize || image.isNull())
        return image;
    return image.scaled(options.ResizeImageWidth, options.ResizeImageHeight, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}
} // namespace

QList<QImage> transformPageImages(const QImage &source, const PageOptions &options)
{
    QImage image = source;
    if (options.ImageCutBorder)
        image = cutBorder(image, options.ImageCutBorderNumber);

    if (!options.ImageCutDoublePages)
        return {resized(image, options)};

    // Measured on the border-cut page; truncated, not rounded.
    const int w = image.width();
    const int h = image.height();
    const int k = int(qint64(w) * options.ImageCutPointNumber / 100);
    const QImage left = resized(copyInclusive(image, 0, 0, k, h - 1), options);
    const QImage right = resized(copyInclusive(image, k, 0, w - 1, h - 1), options);
    if (options.ImageCutFirstPageRight)
        return {right, left};
    return {left, right};
}

QByteArray encodeJpeg(const QImage &image, int quality, QString *error)
{
    QByteArray data;
    if (image.isNull()) {
        if (error)
            *error = QCoreApplication::translate("PageTransform", "There is no picture to encode.");
        return data;
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(quality);
    if (!writer.write(image)) {
        data.clear();
        if (error)
            *error = writer.errorString();
    }
    return data;
}

QList<QByteArray> TransformPage(const QImage &source, const PageOptions &options)
{
    QList<QByteArray> pages;
    for (const QImage &page : transformPageImages(source, options))
        pages.append(encodeJpeg(page, options.ImageQuality));
    return pages;
}
