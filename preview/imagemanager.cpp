#include "preview/imagemanager.h"

#include "preview/borderoverlay.h"
#include "preview/splitoverlay.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QWheelEvent>

namespace {
QPixmap picture(const char *name)
{
    return QPixmap(QStringLiteral(":/Quirevale/") + QLatin1String(name));
}
} // namespace

ImageManager::ImageManager(QWidget *parent)
    : QWidget(parent)
{}

ImageManager::~ImageManager() = default;

void ImageManager::SetImage(const QPixmap &image)
{
    SetImage(image, image.size());
}

void ImageManager::SetImage(const QPixmap &image, const QSize &pageSize)
{
    Image = image;
    PageSize = pageSize;
    update();
}

const QPixmap &ImageManager::GetImage() const
{
    return Image;
}

void ImageManager::SetCutDoublePages(bool cut)
{
    CutDoublePages = cut;
    update();
}

void ImageManager::SetCutBorder(bool cut)
{
    CutBorder = cut;
    update();
}

void ImageManager::SetFirstPageRight(bool right)
{
    FirstPageRight = right;
    update();
}

void ImageManager::SetCutPoint(int percent)
{
    CutPoint = percent;
    update();
}

void ImageManager::SetCutBorderSize(int pixels)
{
    CutBorderSize = pixels;
    CutBorderSides = QMargins();
    update();
}

void ImageManager::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Without a page only the palette's backdrop shows, and what to do.
    if (Image.isNull()) {
        if (!PlaceholderText.isEmpty()) {
            painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
            painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                             PlaceholderText);
        }
        return;
    }

    // Stretched to the whole widget: the preview shows every pixel column,
    // so the cut line lands where the cut will be made. In proportion when
    // asked, centred; the overlays are drawn over the page alone either way.
    const QSize page = PageSize.isValid() ? PageSize : Image.size();
    const QSize area = ActualSize        ? page
                       : KeepProportions ? page.scaled(size(), Qt::KeepAspectRatio)
                                         : size();
    if (ActualSize) {
        moveBy(QPoint()); // kept within the page as the widget or page changes
        painter.translate(area.width() < width() ? (width() - area.width()) / 2 : -Offset.x(),
                          area.height() < height() ? (height() - area.height()) / 2 : -Offset.y());
    } else {
        painter.translate((width() - area.width()) / 2, (height() - area.height()) / 2);
    }
    Area = area;
    painter.drawPixmap(0, 0,
                       Image.size() == area
                           ? Image
                           : Image.scaled(area, Qt::IgnoreAspectRatio,
                                          KeepProportions || ActualSize ? Qt::SmoothTransformation
                                                                        : Qt::FastTransformation));
    if (CutDoublePages)
        drawSplitOverlay(painter);
    // Drawn last, so the shaded margins lie over the split band and the sheets.
    if (CutBorder)
        drawBorderOverlay(painter);
    if (!TrimRect.isNull())
        drawKeptOverlay(painter, {TrimRect}, QColor(0, 120, 215));
    if (!KeptRegions.isEmpty())
        drawKeptOverlay(painter, KeptRegions, QColor(0, 150, 70));
    if (!StripCuts.isEmpty())
        drawStripCuts(painter);
}

void ImageManager::setStripCuts(const QVector<QPair<int, bool>> &cuts)
{
    StripCuts = cuts;
    update();
}

// Each cut a line across the page with scissors at its start: dashed on a
// plain band, solid red where it goes through the art.
void ImageManager::drawStripCuts(QPainter &painter)
{
    const QSize page = PageSize.isValid() ? PageSize : Image.size();
    if (page.isEmpty())
        return;
    const QPixmap scissors = picture("scissors.png");
    painter.save();
    for (const auto &cut : qAsConst(StripCuts)) {
        const int y = int(qint64(cut.first) * Area.height() / page.height());
        painter.setPen(cut.second ? QPen(QColor(210, 30, 30), 2)
                                  : QPen(QColor(0, 90, 200), 2, Qt::DashLine));
        painter.drawLine(0, y, Area.width(), y);
        painter.drawPixmap(2, y - scissors.height() / 2, scissors);
    }
    painter.restore();
}

void ImageManager::setCutColumn(int column)
{
    CutColumn = column;
    update();
}

int ImageManager::drawnCutX() const
{
    const QSize page = PageSize.isValid() ? PageSize : Image.size();
    if (CutColumn < 0 || page.width() <= 0)
        return int(qint64(CutPoint) * Area.width() / 100);
    return int(qint64(CutColumn) * Area.width() / page.width());
}

void ImageManager::SetTrimRect(const QRect &kept)
{
    TrimRect = kept;
    update();
}

void ImageManager::SetKeptRegions(const QList<QRect> &regions)
{
    KeptRegions = regions;
    update();
}

// What is cut away shaded, each kept part outlined, in a colour of its own.
void ImageManager::drawKeptOverlay(QPainter &painter, const QList<QRect> &kept,
                                   const QColor &colour)
{
    const QSize page = PageSize.isValid() ? PageSize : Image.size();
    if (page.isEmpty())
        return;
    const qreal sx = qreal(Area.width()) / page.width(), sy = qreal(Area.height()) / page.height();
    painter.save();
    QPainterPath margins;
    margins.addRect(QRectF(QPointF(), QSizeF(Area)));
    QPainterPath inside;
    for (const QRect &region : kept)
        inside.addRect(
            QRectF(region.x() * sx, region.y() * sy, region.width() * sx, region.height() * sy));
    QColor shade = colour;
    shade.setAlpha(60);
    painter.fillPath(margins.subtracted(inside.simplified()), shade);
    painter.setPen(QPen(colour, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(inside);
    painter.restore();
}

void ImageManager::setCutBorderSides(const QMargins &sides)
{
    CutBorderSides = sides;
    update();
}

void ImageManager::setKeepProportions(bool keep)
{
    KeepProportions = keep;
    update();
}

void ImageManager::setPlaceholderText(const QString &text)
{
    PlaceholderText = text;
    update();
}

QString ImageManager::halfLabel(bool leftHalf) const
{
    // The first page's sheet says "1".
    return leftHalf == FirstPageRight ? tr("2") : tr("1");
}

void ImageManager::drawSplitOverlay(QPainter &painter)
{
    const QPixmap pageRight = picture("page_right.png");
    const QPixmap pageLeft = picture("page_left.png");
    const QPixmap scissors = picture("scissors.png");
    const SplitOverlay overlay = SplitOverlay::atColumn(Area, drawnCutX(), pageLeft.size(),
                                                        pageRight.size(), scissors.size());

    const QPen dashed(Qt::black, 1, Qt::DashLine);
    QFont labelFont = painter.font();
    labelFont.setPixelSize(70);

    painter.save();
    painter.setPen(dashed);
    painter.fillRect(overlay.band, QColor(250, 250, 250, 128));
    painter.drawLine(overlay.cutX, 0, overlay.cutX, Area.height());
    painter.drawPixmap(overlay.upperScissors, scissors);
    painter.drawPixmap(overlay.lowerScissors, scissors);
    painter.drawPixmap(overlay.leftSheet, pageLeft);
    painter.drawPixmap(overlay.rightSheet, pageRight);

    painter.setPen(QPen(Qt::black));
    painter.setFont(labelFont);
    painter.drawText(overlay.leftSheet, Qt::AlignCenter, halfLabel(true));
    painter.drawText(overlay.rightSheet, Qt::AlignCenter, halfLabel(false));
    painter.restore();
}

void ImageManager::drawBorderOverlay(QPainter &painter)
{
    const QPixmap s0 = picture("scissors.png");
    // One transform turned further after each copy: 90, then 270, then 540 degrees.
    QTransform turn;
    const QPixmap s90 = s0.transformed(turn.rotate(90), Qt::FastTransformation);
    const QPixmap s270 = s0.transformed(turn.rotate(180), Qt::FastTransformation);
    const QPixmap s180 = s0.transformed(turn.rotate(270), Qt::FastTransformation);

    const QMargins sides = CutBorderSides.isNull() ? QMargins(CutBorderSize, CutBorderSize,
                                                              CutBorderSize, CutBorderSize)
                                                   : CutBorderSides;
    const BorderOverlay overlay = BorderOverlay::compute(Area, PageSize, sides, s0.size(),
                                                         s90.size(), s180.size(), s270.size());
    painter.save();
    for (const QRect &margin : overlay.margins) {
        if (!margin.isEmpty())
            painter.fillRect(margin, QColor(128, 128, 128, 100));
    }
    if (!overlay.vanished) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(overlay.kept);
        for (const QPoint &at : overlay.left)
            painter.drawPixmap(at, s0);
        for (const QPoint &at : overlay.right)
            painter.drawPixmap(at, s180);
        for (const QPoint &at : overlay.top)
            painter.drawPixmap(at, s90);
        for (const QPoint &at : overlay.bottom)
            painter.drawPixmap(at, s270);
    }
    painter.restore();
}

void ImageManager::setActualSize(bool actual)
{
    ActualSize = actual;
    Offset = QPoint();
    setCursor(actual ? Qt::OpenHandCursor : Qt::ArrowCursor);
    update();
}

void ImageManager::moveBy(const QPoint &step)
{
    const QSize page = PageSize.isValid() ? PageSize : Image.size();
    Offset = QPoint(qBound(0, Offset.x() + step.x(), qMax(0, page.width() - width())),
                    qBound(0, Offset.y() + step.y(), qMax(0, page.height() - height())));
}

void ImageManager::mousePressEvent(QMouseEvent *event)
{
    if (!ActualSize || event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    DragStart = event->pos();
    setCursor(Qt::ClosedHandCursor);
}

void ImageManager::mouseMoveEvent(QMouseEvent *event)
{
    if (!ActualSize || DragStart.isNull())
        return QWidget::mouseMoveEvent(event);
    // The page follows the hand.
    moveBy(DragStart - event->pos());
    DragStart = event->pos();
    update();
}

void ImageManager::mouseReleaseEvent(QMouseEvent *event)
{
    if (!ActualSize)
        return QWidget::mouseReleaseEvent(event);
    DragStart = QPoint();
    setCursor(Qt::OpenHandCursor);
}

void ImageManager::wheelEvent(QWheelEvent *event)
{
    if (!ActualSize)
        return QWidget::wheelEvent(event);
    // Down the page, or across it with Shift or a sideways wheel.
    QPoint step = -event->angleDelta() / 2;
    if (event->modifiers() & Qt::ShiftModifier)
        step = QPoint(step.y(), step.x());
    moveBy(step);
    update();
    event->accept();
}
