#include "app/pagerowdelegate.h"

#include "app/pagerow.h"

#include <QAbstractItemView>
#include <QPainter>

PageRowDelegate::PageRowDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{}

QSize PageRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(qMin(size.width(), m_view->viewport()->width()));
    return size;
}

void PageRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const bool own = index.data(PageRow::TreatmentRole).isValid();
    const QString scan = index.data(PageRow::ScanMarkRole).toString();
    QStyleOptionViewItem room = option;
    const int mark = option.rect.height() / 2;
    if (own)
        room.rect.setRight(room.rect.right() - mark - 4);
    // What the scan's clean-up found, right of the name, in a quieter colour.
    QRect scanRect;
    if (!scan.isEmpty()) {
        const int width = option.fontMetrics.horizontalAdvance(scan) + 6;
        scanRect = QRect(room.rect.right() - width, room.rect.top(), width, room.rect.height());
        room.rect.setRight(scanRect.left() - 2);
    }
    QStyledItemDelegate::paint(painter, room, index);
    if (!scan.isEmpty()) {
        painter->save();
        painter->setPen(option.palette.color(QPalette::PlaceholderText));
        painter->drawText(scanRect, Qt::AlignRight | Qt::AlignVCenter, scan);
        painter->restore();
    }
    if (!own)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(option.palette.color(QPalette::Highlight));
    const QRect dot(option.rect.right() - mark - 2, option.rect.center().y() - mark / 2, mark,
                    mark);
    painter->drawEllipse(dot);
    painter->restore();
}
