#ifndef BORDEROVERLAY_H
#define BORDEROVERLAY_H

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the border overlay goes on a preview of the given size showing a
// page of imageSize: the border is mapped onto the stretched display axis
// by axis, the margins outside the kept part are shaded, the kept part is
// outlined, and two scissors sit on each of its edges.
struct BorderOverlay
{
    int bx = 0;
    int by = 0;
    QRect kept;           // from (bx, by) to (W - bx - 1, H - by - 1)
    QList<QRect> margins; // left, top, right, bottom; they never overlap
    // When the border leaves nothing of the page, the whole preview is one
    // shaded margin and there is no outline and no scissors.
    bool vanished = false;

    // Top-left corners of the eight scissors, turned by 0 (left edge), 180
    // (right edge), 90 (top edge) and 270 degrees (bottom edge), two each.
    QPoint left[2];
    QPoint right[2];
    QPoint top[2];
    QPoint bottom[2];

    static BorderOverlay compute(const QSize &widget, const QSize &imageSize, int borderSize,
                                 const QSize &scissors0, const QSize &scissors90,
                                 const QSize &scissors180, const QSize &scissors270);
    // A border of its own on each side (left, top, right, bottom).
    static BorderOverlay compute(const QSize &widget, const QSize &imageSize,
                                 const QMargins &border, const QSize &scissors0,
                                 const QSize &scissors90, const QSize &scissors180,
                                 const QSize &scissors270);
};

#endif // BORDEROVERLAY_H
