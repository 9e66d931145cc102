#include "scans/stripcut.h"

#include <algorithm>

namespace {
int distance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qAbs(qBlue(a) - qBlue(b)));
}
} // namespace

QVector<bool> StripCut::plainRows(const QImage &picture)
{
    const QImage image =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    QVector<bool> plain(image.height(), false);
    const int edge = int(image.width() * EdgeShare);
    const int from = edge, to = image.width() - edge;
    if (to <= from)
        return QVector<bool>(image.height(), true);
    // A wide row is judged on a sample of its pixels, enough to see a
    // line of art.
    const int step = qMax(1, (to - from) / 512);
    QVector<QRgb> samples;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        samples.clear();
        for (int x = from; x < to; x += step)
            samples.append(line[x] | 0xff000000u);
        // The row's own colour: the middle one by lightness.
        QVector<QRgb> sorted = samples;
        const auto middle = sorted.begin() + sorted.size() / 2;
        std::nth_element(sorted.begin(), middle, sorted.end(),
                         [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
        const QRgb colour = *middle;
        int off = 0;
        for (const QRgb pixel : qAsConst(samples))
            off += distance(pixel, colour) > Tolerance ? 1 : 0;
        // Nearly every pixel: specks of noise are allowed, a line of art is not.
        plain[y] = off * 100 <= samples.size();
    }
    return plain;
}

QVector<StripCut::Cut> StripCut::plan(const QVector<bool> &plain, int height)
{
    QVector<Cut> cuts;
    const int total = plain.size();
    if (height <= 0)
        return cuts;
    // Where each run of plain rows long enough to be a gutter starts, by row.
    QVector<int> runStart(total, -1), runEnd(total, -1);
    for (int y = 0; y < total;) {
        if (!plain.at(y)) {
            ++y;
            continue;
        }
        int end = y;
        while (end < total && plain.at(end))
            ++end;
        if (end - y >= GutterRows) {
            for (int r = y; r < end; ++r) {
                runStart[r] = y;
                runEnd[r] = end;
            }
        }
        y = end;
    }
    int top = 0;
    while (total - top > height) {
        const int lowest = top + int(height * Reach);
        const int highest = top + height; // the next page starts here at the latest
        int best = -1;
        // The gutter nearest the height, cut in its middle where that is in
        // reach, so that both pages keep a margin of background.
        for (int y = highest; y >= lowest; --y) {
            if (runStart.at(y) < 0)
                continue;
            const int middle = (runStart.at(y) + runEnd.at(y)) / 2;
            best = qBound(lowest, middle, highest); // still inside the run
            break;
        }
        Cut cut;
        cut.y = best >= 0 ? best : highest;
        cut.throughArt = best < 0;
        cuts.append(cut);
        top = cut.y;
    }
    return cuts;
}
