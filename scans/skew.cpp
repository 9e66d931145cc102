#include "scans/skew.h"

#include "scans/greypicture.h"

#include <QCoreApplication>
#include <QPainter>

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {
// Leptonica's pictures, freed however the function ends.
struct PixFree
{
    void operator()(PIX *pix) const { pixDestroy(&pix); }
};
using OwnedPix = std::unique_ptr<PIX, PixFree>;

// Below this, Leptonica's own measure says the lines found may be chance.
constexpr float MinimumConfidence = 3.0f;

// The ink of grey (darker than threshold) as Leptonica's one-bit picture:
// the edge of Leptonica's world, where nothing but these bits crosses.
OwnedPix inkOf(const QImage &grey, int threshold)
{
    OwnedPix pix(pixCreate(grey.width(), grey.height(), 1));
    if (!pix)
        return pix;
    const int wordsPerLine = pixGetWpl(pix.get());
    l_uint32 *data = pixGetData(pix.get());
    const int width = grey.width(), height = grey.height();
    for (int y = 0; y < height; ++y) {
        const uchar *row = grey.constScanLine(y);
        l_uint32 *line = data + qint64(y) * wordsPerLine;
        for (int x = 0; x < width; ++x) {
            if (row[x] < threshold)
                line[x >> 5] |= 0x80000000u >> (x & 31);
        }
    }
    return pix;
}

void quietLeptonica()
{
    // Its complaints go to stderr; ours say what matters, in the user's words.
    static const bool quiet = [] {
        setMsgSeverity(L_SEVERITY_NONE);
        return true;
    }();
    Q_UNUSED(quiet);
}
} // namespace

Skew Skew::find(const QImage &page)
{
    quietLeptonica();
    Skew skew;
    if (page.width() < 64 || page.height() < 64 || page.width() > 8 * page.height() ||
        page.height() > 8 * page.width()) {
        skew.whyNot =
            QCoreApplication::translate("Skew", "it is too small or too narrow to find its slant");
        return skew;
    }
    const QImage grey = GreyPicture::within(page, Skew::WorkingSide);
    const GreyPicture::Histogram levels = GreyPicture::histogram(grey, QRect(), 2);
    const int ink = GreyPicture::percentile(levels, 0.02);
    const int paper = GreyPicture::percentile(levels, 0.9);
    if (paper - ink < 48) {
        skew.whyNot =
            QCoreApplication::translate("Skew", "it has too little on it to find its slant");
        return skew;
    }
    OwnedPix bits = inkOf(grey, (ink + paper) / 2);
    float angle = 0, confidence = 0, endScore = 0;
    if (!bits ||
        pixFindSkewSweepAndSearchScore(bits.get(), &angle, &confidence, &endScore, 2, 1, 0.0f,
                                       float(SearchDegrees), 0.5f, 0.01f) != 0 ||
        confidence < MinimumConfidence || std::abs(angle) > SearchDegrees - 0.05) {
        skew.whyNot =
            QCoreApplication::translate("Skew", "its slant cannot be told with confidence");
        return skew;
    }
    // Leptonica's angle is the turn that straightens the page.
    skew.degrees = -double(angle);
    skew.found = true;
    return skew;
}

QColor Skew::marginColour(const QImage &page)
{
    if (page.isNull())
        return Qt::white;
    // The median of each channel along the four edges.
    std::vector<int> reds, greens, blues;
    const auto take = [&](int x, int y) {
        const QRgb pixel = page.pixel(x, y);
        reds.push_back(qRed(pixel));
        greens.push_back(qGreen(pixel));
        blues.push_back(qBlue(pixel));
    };
    const int stepX = qMax(1, page.width() / 256), stepY = qMax(1, page.height() / 256);
    for (int x = 0; x < page.width(); x += stepX) {
        take(x, 0);
        take(x, page.height() - 1);
    }
    for (int y = 0; y < page.height(); y += stepY) {
        take(0, y);
        take(page.width() - 1, y);
    }
    const auto median = [](std::vector<int> &values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    return QColor(median(reds), median(greens), median(blues));
}

QImage Skew::straightened(const QImage &page, double degrees)
{
    if (page.isNull() || std::abs(degrees) < Negligible)
        return page;
    const bool grey = page.format() == QImage::Format_Grayscale8;
    QImage turned(page.size(), page.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                      : QImage::Format_RGB32);
    if (turned.isNull())
        return QImage();
    turned.setDotsPerMeterX(page.dotsPerMeterX());
    turned.setDotsPerMeterY(page.dotsPerMeterY());
    turned.fill(marginColour(page));
    {
        QPainter painter(&turned);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPointF centre(page.width() / 2.0, page.height() / 2.0);
        painter.translate(centre);
        painter.rotate(-degrees);
        painter.translate(-centre);
        painter.drawImage(0, 0, page);
    }
    return grey ? turned.convertToFormat(QImage::Format_Grayscale8) : turned;
}
