#ifndef IMAGEMANAGER_H
#define IMAGEMANAGER_H

#include <QList>
#include <QPair>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

// Shows the current page stretched over the whole widget, with the
// double-page cut and the border cut drawn over it. The picture it holds is
// read at about the widget's size (the build reads every page from its file
// itself); the overlays are measured on the page's own size.
class QPainter;

class ImageManager : public QWidget
{
    Q_OBJECT

public:
    explicit ImageManager(QWidget *parent = nullptr);
    ~ImageManager() override;

    void SetImage(const QPixmap &image);
    // A reduced picture of a page of pageSize pixels: drawn the same, the
    // border measured on the page itself.
    void SetImage(const QPixmap &image, const QSize &pageSize);
    // The held page itself, at full size; no copy is made.
    const QPixmap &GetImage() const;

    void SetCutDoublePages(bool cut);
    void SetCutBorder(bool cut);
    void SetFirstPageRight(bool right);
    void SetCutPoint(int percent);
    void SetCutBorderSize(int pixels);
    // The page's column the cut falls on, in its own pixels, where it is
    // known (inside its border and trimmed margins); -1 draws the cut at the
    // cut point of the whole page.
    void setCutColumn(int column);
    int cutColumn() const { return CutColumn; }
    // Where the drawn cut line is, in the widget's pixels from the page's
    // left edge as last drawn.
    int drawnCutX() const;
    // A page's own border, each side its own (left, top, right, bottom);
    // SetCutBorderSize() gives every side the same again.
    void setCutBorderSides(const QMargins &sides);

    bool cutDoublePages() const { return CutDoublePages; }
    bool cutBorder() const { return CutBorder; }
    bool firstPageRight() const { return FirstPageRight; }
    int cutPoint() const { return CutPoint; }
    int cutBorderSize() const { return CutBorderSize; }

    // The part of the page left inside its plain margins, in the page's
    // own pixels; a null rectangle draws nothing.
    void SetTrimRect(const QRect &kept);
    QRect trimRect() const { return TrimRect; }
    // Where the pages cut from this one really fall, in the page's own
    // pixels, when that differs from what the cut and border ask for (a
    // JPEG cut on its blocks); none draws nothing.
    void SetKeptRegions(const QList<QRect> &regions);
    QList<QRect> keptRegions() const { return KeptRegions; }

    // Where a long strip is cut on this page, in its own rows: a row, and
    // whether no plain band was in reach there (drawn as a warning); none
    // draws nothing.
    void setStripCuts(const QVector<QPair<int, bool>> &cuts);
    QVector<QPair<int, bool>> stripCuts() const { return StripCuts; }

    // The page drawn in its own proportions, centred, rather than stretched
    // over the whole widget.
    void setKeepProportions(bool keep);
    bool keepsProportions() const { return KeepProportions; }
    // The page at 100 %, one of its pixels a pixel of the screen (of the
    // page's own size, whatever the picture held), moved over by dragging
    // it or turning the wheel; the overlays drawn over it alike.
    void setActualSize(bool actual);
    bool actualSize() const { return ActualSize; }
    // Where the view over the page starts, in the page's pixels.
    QPoint scrollOffset() const { return Offset; }

    // What the empty preview says (how to get pages into it).
    void setPlaceholderText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The label drawn on the left or the right sheet of the split overlay.
    QString halfLabel(bool leftHalf) const;
    void drawSplitOverlay(QPainter &painter);
    void drawBorderOverlay(QPainter &painter);
    void drawKeptOverlay(QPainter &painter, const QList<QRect> &kept, const QColor &colour);
    void drawStripCuts(QPainter &painter);

    QPixmap Image;
    QSize PageSize;
    QString PlaceholderText;
    QRect TrimRect;
    QList<QRect> KeptRegions;
    QVector<QPair<int, bool>> StripCuts;
    bool CutDoublePages = false;
    bool CutBorder = false;
    bool FirstPageRight = true;
    qint32 CutPoint = 50;
    int CutColumn = -1;
    qint32 CutBorderSize = 5;
    QMargins CutBorderSides; // null: CutBorderSize on every side
    bool KeepProportions = false;
    bool ActualSize = false;
    QPoint Offset;    // the page's pixel at the view's top left, at actual size
    QPoint DragStart; // where a drag was last, or null
    QSize Area;       // where the page was last drawn, the overlays over it
    // Keeps the view over the page: a page smaller than the widget is
    // centred, a larger one never leaves a gap at its edges.
    void moveBy(const QPoint &step);
};

#endif // IMAGEMANAGER_H
