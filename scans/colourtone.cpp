#include "scans/colourtone.h"

#include <QtMath>

#include <array>

ColourTone::ColourTone(int boost, int gamma)
    : m_boost(boost)
    , m_gamma(gamma)
{}

QImage ColourTone::applied(const QImage &picture) const
{
    if (isIdentity() || picture.isNull())
        return picture;
    std::array<uchar, 256> curve;
    for (int v = 0; v < 256; ++v)
        curve[size_t(v)] = uchar(qBound(0, qRound(255.0 * qPow(v / 255.0, 100.0 / m_gamma)), 255));
    if (picture.format() == QImage::Format_Grayscale8) {
        QImage grey = picture;
        for (int y = 0; y < grey.height(); ++y) {
            uchar *line = grey.scanLine(y);
            for (int x = 0; x < grey.width(); ++x)
                line[x] = curve[line[x]];
        }
        return grey;
    }
    QImage toned = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                     : QImage::Format_RGB32);
    // In 256ths: each channel's distance from the pixel's lightness, grown.
    const int gain = 256 + m_boost * 256 / 100;
    for (int y = 0; y < toned.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(toned.scanLine(y));
        for (int x = 0; x < toned.width(); ++x) {
            const QRgb pixel = line[x];
            // The gamma bends the pixel's value alone, its channels scaled
            // alike: its hue and saturation stay, and the boost then grows
            // them by what it says whatever the gamma.
            int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
            const int value = qMax(r, qMax(g, b));
            if (value > 0) {
                const int bent = curve[size_t(value)];
                r = (r * bent + value / 2) / value;
                g = (g * bent + value / 2) / value;
                b = (b * bent + value / 2) / value;
            }
            const int lightness = (77 * r + 150 * g + 29 * b + 128) >> 8;
            const auto grown = [&](int channel) {
                return qBound(0, lightness + (((channel - lightness) * gain) >> 8), 255);
            };
            line[x] = qRgba(grown(r), grown(g), grown(b), qAlpha(pixel));
        }
    }
    return toned;
}
