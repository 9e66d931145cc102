#ifndef BOOKQUEUE_H
#define BOOKQUEUE_H

#include "book/queuedbook.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <vector>

// The books waiting to be made one after another, and how each went. Each
// book's archive goes beside its source, as the command line names it, or
// under an output folder that keeps the sources' folders as they lie
// below the folder that holds them all. Two books never share an archive:
// the later one is told so before anything is made.
class BookQueue
{
    Q_DECLARE_TR_FUNCTIONS(BookQueue)

public:
    // More books than a shelf holds; a queue of more is not remembered.
    static constexpr int RowLimit = 100000;

    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    const QueuedBook &at(int row) const { return m_rows.at(size_t(row)); }
    QueuedBook &operator[](int row) { return m_rows.at(size_t(row)); }

    // Added at the end, its target laid out with the others'.
    void add(const QueuedBook &book);
    void add(const QVector<QueuedBook> &books);
    void remove(int row);
    // Moves the row from to the place to.
    void move(int from, int to);
    // The book is made with options, named after preset (empty: its own
    // options); its target follows (the kind names another file). A book
    // made, or that failed, waits to be made again with them.
    void setOptions(int row, const BookOptions &options, const QString &preset);
    // The row of the book of that id; -1 when it is no longer queued.
    int rowOf(int id) const;

    // Empty: each archive beside its source.
    void setOutputFolder(const QString &folder);
    QString outputFolder() const { return m_outputFolder; }
    // The folder every book's source lies in, however deep.
    QString commonFolder() const;

    // The earlier row whose archive this row's would be; -1 for none.
    int sameTargetAs(int row) const;
    // The first row waiting to be made; -1 for none.
    int nextWaiting() const;
    // The row waits to be made again; every failed row does.
    void makeAgain(int row);
    int makeFailedAgain();
    int count(QueuedBook::State state) const;

    // The queue of those books, as they were kept across runs (QueueFile):
    // a row left making (the program stopped under it) is waiting again; a
    // row whose source has vanished says so; one without a source, or past
    // RowLimit, is no row.
    static BookQueue restored(const QVector<QueuedBook> &books, const QString &outputFolder);

private:
    void layOut();

    std::vector<QueuedBook> m_rows;
    QString m_outputFolder;
    int m_nextId = 1;
};

#endif // BOOKQUEUE_H
