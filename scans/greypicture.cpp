#include "scans/greypicture.h"

#include <algorithm>
#include <vector>

QImage GreyPicture::within(const QImage &page, int side)
{
    // Reduced by a whole factor, each pixel the mean of its block: the
    // page is read once, and no colour copy of it is made.
    const int factor = (qMax(page.width(), page.height()) + side - 1) / qMax(1, side);
    // A sliver narrower than a block is small already: taken as it is.
    if (factor <= 1 || page.isNull() || page.width() < factor || page.height() < factor)
        return page.convertToFormat(QImage::Format_Grayscale8);
    const QImage source = page.format() == QImage::Format_Grayscale8 ||
                                  page.format() == QImage::Format_RGB32 ||
                                  page.format() == QImage::Format_ARGB32
                              ? page
                              : page.convertToFormat(QImage::Format_RGB32);
    const bool grey = source.format() == QImage::Format_Grayscale8;
    QImage reduced(qMax(1, source.width() / factor), qMax(1, source.height() / factor),
                   QImage::Format_Grayscale8);
    if (reduced.isNull())
        return reduced;
    const int area = factor * factor;
    // Sizes as locals: QImage's accessors are calls the loops would repeat.
    const int columns = reduced.width(), rows = reduced.height();
    const int width = columns * factor; // the columns that make whole blocks
    std::vector<int> sums(static_cast<size_t>(columns));
    std::vector<int> levels(static_cast<size_t>(width));
    for (int y = 0; y < rows; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const uchar *line = source.constScanLine(y * factor + dy);
            if (grey) {
                std::copy(line, line + width, levels.begin());
            } else {
                // Luminance as qGray() weighs it, a row at a time.
                const auto *pixels = reinterpret_cast<const QRgb *>(line);
                for (int x = 0; x < width; ++x) {
                    const QRgb p = pixels[x];
                    levels[size_t(x)] = (int((p >> 16) & 0xff) * 11 + int((p >> 8) & 0xff) * 16 +
                                         int(p & 0xff) * 5) >>
                                        5;
                }
            }
            for (int x = 0, at = 0; x < columns; ++x) {
                int sum = 0;
                for (int dx = 0; dx < factor; ++dx, ++at)
                    sum += levels[size_t(at)];
                sums[size_t(x)] += sum;
            }
        }
        uchar *out = reduced.scanLine(y);
        for (int x = 0; x < columns; ++x)
            out[x] = uchar(sums[size_t(x)] / area);
    }
    return reduced;
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
