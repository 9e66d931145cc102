#include "preview/borderoverlay.h"

BorderOverlay BorderOverlay::compute(const QSize &widget, const QSize &imageSize, int borderSize,
                                     const QSize &scissors0, const QSize &scissors90,
                                     const QSize &scissors180, const QSize &scissors270)
{
    const int w = widget.width();
    const int h = widget.height();
    BorderOverlay overlay;
    if (imageSize.isEmpty())
        return overlay;
    overlay.bx = int(qint64(borderSize) * w / imageSize.width());
    overlay.by = int(qint64(borderSize) * h / imageSize.height());
    const int bx = overlay.bx;
    const int by = overlay.by;
    const int kw = w - 2 * bx;
    const int kh = h - 2 * by;

    if (kw <= 0 || kh <= 0) {
        overlay.vanished = true;
        overlay.margins = {QRect(0, 0, w, h)};
        return overlay;
    }

    overlay.kept = QRect(bx, by, kw, kh);
    overlay.margins = {QRect(0, by, bx, kh), QRect(0, 0, w, by), QRect(w - bx, by, bx, kh),
                       QRect(0, h - by, w, by)};

    const int leftX = bx - scissors0.width() / 2 + 1;
    const int rightX = w - bx - 1 - scissors180.width() / 2 + 1;
    const int topY = by - scissors90.height() / 2 + 1;
    const int bottomY = h - by - 1 - scissors270.height() / 2 + 1;
    const int upperY = by + kh / 4;
    const int lowerY = by + 3 * (kh / 4);
    const int firstX = bx + kw / 4;
    const int secondX = bx + 3 * (kw / 4);
    overlay.left[0] = QPoint(leftX, upperY);
    overlay.left[1] = QPoint(leftX, lowerY);
    overlay.right[0] = QPoint(rightX, upperY);
    overlay.right[1] = QPoint(rightX, lowerY);
    overlay.top[0] = QPoint(firstX, topY);
    overlay.top[1] = QPoint(secondX, topY);
    overlay.bottom[0] = QPoint(firstX, bottomY);
    overlay.bottom[1] = QPoint(secondX, bottomY);
    return overlay;
}
