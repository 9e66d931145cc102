#ifndef QUEUEPROGRESSDELEGATE_H
#define QUEUEPROGRESSDELEGATE_H

#include <QStyledItemDelegate>

// Draws a queue row's share made as a progress bar; a row with none (a
// book waiting, or one that failed) is drawn as plain text.
class QueueProgressDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

#endif // QUEUEPROGRESSDELEGATE_H
