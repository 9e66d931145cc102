#ifndef QUEUEMODEL_H
#define QUEUEMODEL_H

#include "book/bookqueue.h"

#include <QAbstractTableModel>

// The queue as the panel's view shows it: a row a book, its name, its state
// (with the reason a book failed), and where its archive goes; the row's
// tooltip says the rest (its source, the options it is made with, what it
// was made without).
class QueueModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        BookColumn,
        StateColumn,
        ArchiveColumn,
        ColumnCount
    };

    explicit QueueModel(BookQueue *queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The queue changed under it: rows added, removed or moved, or all anew.
    void reset();
    // One row's state or progress changed.
    void rowChanged(int row);

    static QString tooltipOf(const QueuedBook &book);

private:
    BookQueue *m_queue;
};

#endif // QUEUEMODEL_H
