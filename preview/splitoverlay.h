#ifndef SPLITOVERLAY_H
#define SPLITOVERLAY_H

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the double-page overlay goes on a preview of the given size: the
// cut line, the pale band under it, two scissors on it, and a sheet
// picture centred in each half. Integer divisions drop the fraction.
struct SplitOverlay
{
    int cutX = 0;
    // Where the halves meet for placing the sheets: each sheet keeps at
    // least its own width of room, whatever the cut point.
    int divider = 0;
    QRect band;
    QRect leftSheet;
    QRect rightSheet;
    QPoint upperScissors;
    QPoint lowerScissors;

    static SplitOverlay compute(const QSize &widget, int cutPoint, const QSize &leftSheetSize,
                                const QSize &rightSheetSize, const QSize &scissorsSize);
    // The same with the cut line at a column of the preview of its own.
    static SplitOverlay atColumn(const QSize &widget, int cutX, const QSize &leftSheetSize,
                                 const QSize &rightSheetSize, const QSize &scissorsSize);
};

#endif // SPLITOVERLAY_H
