#ifndef STRIPCUT_H
#define STRIPCUT_H

#include <QImage>
#include <QVector>

// Where a long strip (a webtoon chapter's tiles, one below the other) is
// cut into pages a screen high: each cut on a gutter, a band of rows of
// plain background between panels, found within a quarter to the whole of
// the height below the last cut, the one nearest the height: a shorter
// page is better than a cut through a face. Where no gutter is in reach,
// at the height, and said so. No page is shorter than a quarter of the
// height but the strip's last. Any thread.
class StripCut
{
public:
    struct Cut
    {
        int y = 0;               // the first row of the next page
        bool throughArt = false; // no gutter was in reach
    };

    // How far a row's pixels may stray from its own colour (noise, a
    // scan's grain) and still be plain; how much of each side is passed
    // over (a panel's thin frame, a strip's edge).
    static constexpr int Tolerance = 24;
    static constexpr double EdgeShare = 0.03;
    // Rows of plain background in a run for it to be a gutter.
    static constexpr int GutterRows = 6;
    static constexpr double Reach = 0.25;

    // Each row's colour where the row is plain: nearly all of its pixels,
    // its edges aside, within Tolerance of the row's own middle colour;
    // NotPlain where it is not.
    static constexpr QRgb NotPlain = 0;
    static QVector<QRgb> rowColours(const QImage &picture);
    // A strip's background: the colour most of its plain rows have. A
    // panel's plain sky is no gutter.
    static QRgb backgroundOf(const QVector<QRgb> &colours);
    // Whether each row is plain and of the background's colour.
    static QVector<bool> onBackground(const QVector<QRgb> &colours, QRgb background);
    // The same for one picture, its background found on it.
    static QVector<bool> plainRows(const QImage &picture);
    // The cut below a page that begins at top, given the plain rows of the
    // strip from there to at least 2 * height + 1 rows on, or to its end
    // (plain then holds the whole strip); false when the rest is no higher
    // than height.
    static bool nextCut(const QVector<bool> &plain, int top, int height, Cut *cut);
    // The cuts of a strip of plain.size() rows into pages of at most height
    // rows, in order; none for a strip no higher than height.
    static QVector<Cut> plan(const QVector<bool> &plain, int height);
};

#endif // STRIPCUT_H
