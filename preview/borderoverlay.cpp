#include "preview/borderoverlay.h"

BorderOverlay BorderOverlay::compute(const QSize &widget, const QSize &imageSize, int borderSize,
                                     const QSize &scissors0, const QSize &scissors90,
                                     const QSize &scissors180, const QSize &scissors270)
{
    return compute(widget, imageSize, QMargins(borderSize, borderSize, borderSize, borderSize),
                   scissors0, scissors90, scissors180, scissors270);
}

BorderOverlay BorderOverlay::compute(const QSize &widget, const QSize &imageSize,
                                     const QMargins &border, const QSize &scissors0,
                                     const QSize &scissors90, const QSize &scissors180,
                                     const QSize &scissors270)
{
    const int w = widget.width();
    const int h = widget.height();
    BorderOverlay overlay;
    if (imageSize.isEmpty())
        return overlay;
    overlay.bx = int(qint64(border.left()) * w / imageSize.width());
    overlay.by = int(qint64(border.top()) * h / imageSize.height());
    const int bx = overlay.bx;
    const int by = overlay.by;
    const int rx = int(qint64(border.right()) * w / imageSize.width());
    const int ry = int(qint64(border.bottom()) * h / imageSize.height());
    const int kw = w - bx - rx;
    const int kh = h - by - ry;

    if (kw <= 0 || kh <= 0) {
        overlay.vanished = true;
        overlay.margins = {QRect(0, 0, w, h)};
        return overlay;
    }

    overlay.kept = QRect(bx, by, kw, kh);
    overlay.margins = {QRect(0, by, bx, kh), QRect(0, 0, w, by), QRect(w - rx, by, rx, kh),
                       QRect(0, h - ry, w, ry)};

    const int leftX = bx - scissors0.width() / 2 + 1;
    const int rightX = w - rx - 1 - scissors180.width() / 2 + 1;
    const int topY = by - scissors90.height() / 2 + 1;
    const int bottomY = h - ry - 1 - scissors270.height() / 2 + 1;
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
