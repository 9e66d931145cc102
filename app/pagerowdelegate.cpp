#include "app/pagerowdelegate.h"

#include <QAbstractItemView>

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
