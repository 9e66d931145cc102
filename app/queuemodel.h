#ifndef QUEUEMODEL_H
#define QUEUEMODEL_H

#include "book/bookqueue.h"

#include <QAbstractTableModel>
#include <QHash>

// The queue as the panel's view shows it: a row a book, its name (with its
// folder's where another book is called the same), the kind it is made as,
// its preset, how far it is made, its state (with the reason a book failed)
// and where its archive goes; the row's tooltip says the rest (its source,
// what it was made without).
class QueueModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        BookColumn,
        KindColumn,
        PresetColumn,
        ProgressColumn,
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
    // The progress column's share made, 0 to 100, -1 for none.
    static constexpr int PercentRole = Qt::UserRole;

private:
    QString nameOf(const QueuedBook &book) const;

    BookQueue *m_queue;
    QHash<QString, int> m_named; // how many books go by each name

};

#endif // QUEUEMODEL_H
