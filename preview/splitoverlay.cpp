#include "preview/splitoverlay.h"

#include <QtGlobal>

SplitOverlay SplitOverlay::compute(const QSize &widget, int cutPoint, const QSize &leftSheetSize,
                                   const QSize &rightSheetSize, const QSize &scissorsSize)
{
    return atColumn(widget, int(qint64(cutPoint) * widget.width() / 100), leftSheetSize,
                    rightSheetSize, scissorsSize);
}

SplitOverlay SplitOverlay::atColumn(const QSize &widget, int cutX, const QSize &leftSheetSize,
                                    const QSize &rightSheetSize, const QSize &scissorsSize)
{
    const int w = widget.width();
    const int h = widget.height();
    SplitOverlay overlay;
    overlay.cutX = cutX;

    const int iconW = qMax(leftSheetSize.width(), rightSheetSize.width());
    overlay.divider = overlay.cutX < iconW ? iconW : qMin(overlay.cutX, w - iconW);

    overlay.leftSheet = QRect(
        QPoint((overlay.divider - leftSheetSize.width()) / 2, (h - leftSheetSize.height()) / 2),
        leftSheetSize);
    overlay.rightSheet =
        QRect(QPoint(overlay.divider + (w - overlay.divider - rightSheetSize.width()) / 2,
                     (h - rightSheetSize.height()) / 2),
              rightSheetSize);

    overlay.band = QRect(overlay.cutX - 3, 0, 6, h);
    const int scissorsX = overlay.cutX - scissorsSize.width() / 2 + 1;
    overlay.upperScissors = QPoint(scissorsX, h / 4);
    overlay.lowerScissors = QPoint(scissorsX, 3 * (h / 4));
    return overlay;
}
