#include "scans/levels.h"

#include "scans/greypicture.h"

#include <array>
#include <cmath>

Levels Levels::of(const QImage &page)
{
    const QImage grey = GreyPicture::within(page, 1024);
    // A thin edge (a scanner's bed, the paper's own edge) says nothing of
    // the paper's colour.
    const int edge = qMax(1, qMin(grey.width(), grey.height()) / 50);
    const GreyPicture::Histogram levels =
        GreyPicture::histogram(grey, grey.rect().adjusted(edge, edge, -edge, -edge));
    Levels found;
    found.low = GreyPicture::percentile(levels, 0.01);
    found.high = GreyPicture::percentile(levels, 0.92);
    // Paper is the lightest broad tone, and shows in a page's margins.
    // Where lighter tones lie above it, or the margins are darker than it,
    // the art bleeds to the edge: a grey tone is art too, and nothing is
    // lifted to white.
    const int band = edge + qMax(1, qMin(grey.width(), grey.height()) * 6 / 100);
    const QRect inner = grey.rect().adjusted(band, band, -band, -band);
    GreyPicture::Histogram margins =
        GreyPicture::histogram(grey, grey.rect().adjusted(edge, edge, -edge, -edge));
    const GreyPicture::Histogram within = GreyPicture::histogram(grey, inner);
    for (size_t level = 0; level < margins.size(); ++level)
        margins[level] -= within[level];
    // Then the page keeps its levels: stretched toward its ink alone, its
    // paper would only darken, and its tone move away from neutral.
    if (GreyPicture::percentile(levels, 0.99) > found.high + PaperSpread ||
        GreyPicture::percentile(margins, 0.5) < found.high - PaperSpread)
        return Levels();
    return found;
}

QImage Levels::applied(const QImage &page, double gamma) const
{
    if (!stretchable() || page.isNull())
        return page;
    std::array<uchar, 256> map;
    for (int level = 0; level < 256; ++level) {
        const double stretched = qBound(0.0, double(level - low) / (high - low), 1.0);
        map[size_t(level)] = uchar(std::lround(255 * std::pow(stretched, 1.0 / gamma)));
    }
    QImage out = page.format() == QImage::Format_Grayscale8
                     ? page
                     : page.convertToFormat(page.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                   : QImage::Format_RGB32);
    const bool grey = out.format() == QImage::Format_Grayscale8;
    const int width = out.width(), height = out.height();
    for (int y = 0; y < height; ++y) {
        uchar *row = out.scanLine(y);
        if (grey) {
            for (int x = 0; x < width; ++x)
                row[x] = map[row[x]];
            continue;
        }
        // Every channel alike; alpha stays as it is.
        auto *pixels = reinterpret_cast<QRgb *>(row);
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixels[x];
            pixels[x] = qRgba(map[size_t(qRed(p))], map[size_t(qGreen(p))], map[size_t(qBlue(p))],
                              qAlpha(p));
        }
    }
    return out;
}
