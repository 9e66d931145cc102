#include "book/bookqueue.h"

#include "book/book.h"
#include "pages/pagesource.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

void BookQueue::add(const QueuedBook &book)
{
    add(QVector<QueuedBook>{book});
}

void BookQueue::add(const QVector<QueuedBook> &books)
{
    for (QueuedBook book : books) {
        book.id = m_nextId++;
        m_rows.push_back(book);
    }
    layOut();
}

void BookQueue::setOptions(int row, const BookOptions &options, const QString &preset)
{
    QueuedBook &book = (*this)[row];
    if (book.options == options && book.preset == preset)
        return;
    book.options = options;
    book.preset = preset;
    if (book.isDone())
        makeAgain(row);
    layOut();
}

int BookQueue::rowOf(int id) const
{
    for (int row = 0; row < size(); ++row) {
        if (at(row).id == id)
            return row;
    }
    return -1;
}

void BookQueue::remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
    layOut();
}

void BookQueue::move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= size() || to >= size())
        return;
    // The rows between shift by one toward from's place.
    if (from < to)
        std::rotate(m_rows.begin() + from, m_rows.begin() + from + 1, m_rows.begin() + to + 1);
    else
        std::rotate(m_rows.begin() + to, m_rows.begin() + from, m_rows.begin() + from + 1);
}

void BookQueue::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
    layOut();
}

QString BookQueue::commonFolder() const
{
    QStringList common;
    bool first = true;
    for (const QueuedBook &book : m_rows) {
        const QStringList parts = QDir::cleanPath(book.folder()).split(QLatin1Char('/'));
        if (first) {
            common = parts;
            first = false;
            continue;
        }
        int same = 0;
        while (same < common.size() && same < parts.size() && common.at(same) == parts.at(same))
            ++same;
        common = common.mid(0, same);
    }
    const QString joined = common.join(QLatin1Char('/'));
    return joined.isEmpty() && !first ? QStringLiteral("/") : joined;
}

// Each archive beside its source, or in the output folder where its source
// lies below the folder common to them all.
void BookQueue::layOut()
{
    const QString common = m_outputFolder.isEmpty() ? QString() : commonFolder();
    for (QueuedBook &book : m_rows) {
        QString folder = book.folder();
        if (!m_outputFolder.isEmpty())
            folder = QDir(m_outputFolder).filePath(QDir(common).relativeFilePath(folder));
        book.target = QDir::cleanPath(Book::targetFor(book.name(), book.sources.value(0), folder,
                                                      book.options.pages.BookKind));
    }
}

int BookQueue::sameTargetAs(int row) const
{
    for (int other = 0; other < row; ++other) {
        if (at(other).target == at(row).target)
            return other;
    }
    return -1;
}

int BookQueue::nextWaiting() const
{
    for (int row = 0; row < size(); ++row) {
        if (at(row).state == QueuedBook::Waiting)
            return row;
    }
    return -1;
}

void BookQueue::makeAgain(int row)
{
    QueuedBook &book = (*this)[row];
    book.state = QueuedBook::Waiting;
    book.pagesDone = 0;
    book.report.clear();
    book.detail.clear();
    book.leftOut.clear();
    book.notes.clear();
    book.milliseconds = 0;
}

int BookQueue::makeFailedAgain()
{
    int again = 0;
    for (int row = 0; row < size(); ++row) {
        if (at(row).state == QueuedBook::Failed) {
            makeAgain(row);
            ++again;
        }
    }
    return again;
}

int BookQueue::count(QueuedBook::State state) const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(),
                             [state](const QueuedBook &book) { return book.state == state; }));
}

BookQueue BookQueue::restored(const QVector<QueuedBook> &books, const QString &outputFolder)
{
    BookQueue queue;
    queue.m_outputFolder = outputFolder;
    for (QueuedBook book : books) {
        if (book.sources.isEmpty() || queue.size() >= RowLimit)
            continue;
        for (const QString &source : qAsConst(book.sources)) {
            if (book.state == QueuedBook::Waiting && !QFileInfo::exists(source)) {
                book.state = QueuedBook::Failed;
                book.report = QueuedBook::tr("Its source is gone: %1").arg(source);
            }
        }
        book.id = queue.m_nextId++;
        queue.m_rows.push_back(book);
    }
    queue.layOut();
    return queue;
}
