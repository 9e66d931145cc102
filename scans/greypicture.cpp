#include "scans/greypicture.h"

QImage GreyPicture::within(const QImage &page, int side)
{
    QImage grey = page.width() > side || page.height() > side
                      ? page.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                      : page;
    return grey.convertToFormat(QImage::Format_Grayscale8);
}

GreyPicture::Histogram GreyPicture::histogram(const QImage &grey, const QRect &part, int step)
{
    Histogram counts{};
    const QRect area = part.isNull() ? grey.rect() : part & grey.rect();
    for (int y = area.top(); y <= area.bottom(); y += step) {
        const uchar *row = grey.constScanLine(y);
        for (int x = area.left(); x <= area.right(); x += step)
            ++counts[row[x]];
    }
    return counts;
}

int GreyPicture::percentile(const Histogram &histogram, double fraction)
{
    qint64 total = 0;
    for (qint64 count : histogram)
        total += count;
    const qint64 wanted = qint64(fraction * total);
    qint64 below = 0;
    for (int level = 0; level < 256; ++level) {
        below += histogram[size_t(level)];
        if (below > wanted)
            return level;
    }
    return 255;
}
