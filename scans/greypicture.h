#ifndef GREYPICTURE_H
#define GREYPICTURE_H

#include <QImage>
#include <QRect>

#include <array>

// The grey working copy that a scan's slant, levels and blankness are
// found on, and its histogram.
class GreyPicture
{
public:
    using Histogram = std::array<qint64, 256>;

    // The page in grey, reduced by the smallest whole factor that makes it
    // fit within side pixels either way, each pixel the mean of its block
    // (a scanner's noise averages out).
    static QImage within(const QImage &page, int side);
    // The grey levels of the pixels of part (all of grey when null), every
    // step-th pixel along and down.
    static Histogram histogram(const QImage &grey, const QRect &part = QRect(), int step = 1);
    // The level below which fraction of the pixels lie.
    static int percentile(const Histogram &histogram, double fraction);
};

#endif // GREYPICTURE_H
