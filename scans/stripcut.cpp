#include "scans/stripcut.h"

#include <QHash>

#include <algorithm>

namespace {
int distance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qAbs(qBlue(a) - qBlue(b)));
}
} // namespace

QVector<QRgb> StripCut::rowColours(const QImage &picture)
{
    const QImage image =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    QVector<QRgb> colours(image.height(), NotPlain);
    const int edge = int(image.width() * EdgeShare);
    const int from = edge, to = image.width() - edge;
    if (to <= from) {
        // Too narrow to tell art from background: every row is background.
        colours.fill(qRgb(255, 255, 255));
        return colours;
    }
    // A wide row is judged on a sample of its pixels, enough to see a
    // line of art.
    const int step = qMax(1, (to - from) / 512);
    QVector<QRgb> samples;
    int lightness[256];
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        samples.clear();
        std::fill(std::begin(lightness), std::end(lightness), 0);
        for (int x = from; x < to; x += step) {
            samples.append(line[x] | 0xff000000u);
            ++lightness[qGray(line[x])];
        }
        // The row's own colour: the middle one by lightness (the first
        // sample of the middle lightness), found by counting, not sorting.
        int middle = 0;
        for (int seen = 0; middle < 255; ++middle) {
            seen += lightness[middle];
            if (seen > samples.size() / 2)
                break;
        }
        QRgb colour = samples.first();
        for (const QRgb pixel : qAsConst(samples)) {
            if (qGray(pixel) == middle) {
                colour = pixel;
                break;
            }
        }
        // Nearly every pixel: specks of noise are allowed, a line of art is
        // not. Past that many strays the row is art, whatever the rest.
        const int allowed = samples.size() / 100;
        int off = 0;
        for (int i = 0; i < samples.size() && off <= allowed; ++i)
            off += distance(samples.at(i), colour) > Tolerance ? 1 : 0;
        if (off <= allowed)
            colours[y] = colour;
    }
    return colours;
}

// The colour most plain rows have, near enough: the paper the panels are
// laid on. White when no row is plain.
QRgb StripCut::backgroundOf(const QVector<QRgb> &colours)
{
    QHash<QRgb, int> counts; // by colour, to a sixteenth of each channel
    QRgb best = qRgb(255, 255, 255);
    int most = 0;
    for (const QRgb colour : colours) {
        if (colour == NotPlain)
            continue;
        const int count = ++counts[colour & 0xfff0f0f0u];
        if (count > most) {
            most = count;
            best = colour;
        }
    }
    return best;
}

QVector<bool> StripCut::onBackground(const QVector<QRgb> &colours, QRgb background)
{
    QVector<bool> plain(colours.size());
    for (int y = 0; y < colours.size(); ++y)
        plain[y] = colours.at(y) != NotPlain && distance(colours.at(y), background) <= Tolerance;
    return plain;
}

QVector<bool> StripCut::plainRows(const QImage &picture)
{
    const QVector<QRgb> colours = rowColours(picture);
    return onBackground(colours, backgroundOf(colours));
}

// The gutter is judged on the rows from the page's top to one page past
// its bottom: what lies further on cannot move the cut, so a strip read
// in order is cut the same, without the rest of it at hand.
bool StripCut::nextCut(const QVector<bool> &plain, int top, int height, Cut *cut)
{
    const int total = plain.size();
    if (height <= 0 || total - top <= height)
        return false;
    const int lowest = top + int(height * Reach);
    const int highest = top + height; // the next page starts here at the latest
    const int seen = qMin(total, top + 2 * height + 1);
    // The gutter nearest the height, cut in its middle where that is in
    // reach, so that both pages keep a margin of background.
    for (int y = highest; y >= lowest; --y) {
        if (!plain.at(y))
            continue;
        int start = y, end = y + 1;
        while (start > top && plain.at(start - 1))
            --start;
        while (end < seen && plain.at(end))
            ++end;
        if (end - start < GutterRows) {
            y = start; // a run too short to be a gutter: past it
            continue;
        }
        cut->y = qBound(lowest, (start + end) / 2, highest);
        cut->throughArt = false;
        return true;
    }
    cut->y = highest;
    cut->throughArt = true;
    return true;
}

QVector<StripCut::Cut> StripCut::plan(const QVector<bool> &plain, int height)
{
    QVector<Cut> cuts;
    Cut cut;
    for (int top = 0; nextCut(plain, top, height, &cut); top = cut.y)
        cuts.append(cut);
    return cuts;
}
