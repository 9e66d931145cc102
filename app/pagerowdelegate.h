#ifndef PAGEROWDELEGATE_H
#define PAGEROWDELEGATE_H

#include <QStyledItemDelegate>

// Draws the page rows no wider than the list, so a long file name is
// shortened in the middle ("page 4-5…spread.jpg") instead of running under
// the list's edge; the whole name is in the row's tooltip.
class PageRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit PageRowDelegate(QAbstractItemView *view);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A row whose page has a treatment of its own carries a small mark.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    QAbstractItemView *m_view;
};

#endif // PAGEROWDELEGATE_H
