#ifndef ORDEREDPAGES_H
#define ORDEREDPAGES_H

#include "making/comicinfo.h"
#include "making/packedentry.h"
#include "making/scancleanup.h"
#include "pages/pagereader.h"

#include <QHash>
#include <QImage>
#include <QMap>
#include <QMutex>
#include <QPair>
#include <QSize>
#include <QString>
#include <QVector>
#include <QWaitCondition>

#include <atomic>

// What the page threads of a build hand on and the one writer takes,
// strictly in page order, within a memory budget. A page that has more
// entries ready than the writer can take yet (a TIFF of many pictures)
// waits, so that its pictures are made and written one at a time instead of
// all held at once. What pages hold (their files, their pixels) is reserved
// against the budget: a page waits for room unless it is the one the writer
// waits for, which must always be let through or nothing would move.
class OrderedPages
{
public:
    // Entries of one page ready and not yet taken, at most.
    static constexpr int PendingEntries = 2;

    // What one page has given so far, until the writer has taken all of it.
    struct Page
    {
        QVector<PackedEntry> entries;  // made, not written yet
        QVector<ComicPage> comicPages; // one an entry
        bool complete = false;
        QImage picture;    // the page as decoded, reduced, when wanted
        QSize pictureSize; // the page's own size
    };

    // How a page ended: why it failed (empty when it did not), what is to be
    // said of it, and whether it could not be read at all (left out when the
    // error is empty).
    struct Ending
    {
        QString error = QString();
        QString note = QString();
        bool unread = false;
    };

    OrderedPages(const std::atomic_bool &stop, qint64 budget);

    // A page thread's entry; false when the build is stopping.
    bool add(int index, const PackedEntry &entry, const ComicPage &comicPage);
    // The page has given all it gives; last, when given, is its picture for
    // whoever watches the build.
    void complete(int index, const Ending &ending, Page *last = nullptr);

    // Waits for room for bytes, unless index is the page the writer waits
    // for. The bytes of pages' files have a budget of their own within the
    // whole, a quarter of it: a file of mostly nothing (a picture followed
    // by hundreds of megabytes in its entry) is read by one page at a time,
    // while the pixels of ordinary pages go on side by side.
    void reserve(int index, qint64 bytes, PageReader::Holding holding = PageReader::Pixels);
    void release(qint64 bytes, PageReader::Holding holding = PageReader::Pixels);
    // Whether bytes more fit now: what a page may take on top of what it
    // needs (a read ahead, an encoder in parallel) is taken only then.
    bool fits(qint64 bytes);

    // The writer's turn: what the page at the front has ready, waiting for
    // it; complete says whether that was all of the page.
    Page takeFront(bool *complete);
    int front();

    // The most bytes reserved at once.
    qint64 peak();
    bool hasFailed();
    void wakeAll();
    // What cleaning up a page found; the first picture's findings speak for
    // the page.
    void found(int index, const ScanCleanup &cleanup, bool straighten);

    // Once the page threads are done: what they said, by page.
    QMap<int, QString> errors;
    QMap<int, QString> notes;
    QVector<int> unreadable;         // pages left out, unread
    QVector<int> unreadableFailures; // pages that failed the book, unread
    QMap<int, QPair<ScanCleanup, bool>> cleanups;

private:
    bool stopping() const { return m_failed || m_stop.load(std::memory_order_relaxed); }

    QMutex m_mutex;
    QWaitCondition m_changed;
    QHash<int, Page> m_pages;
    bool m_failed = false;
    int m_front = 0;
    qint64 m_inUse = 0;
    qint64 m_fileBytesInUse = 0;
    qint64 m_peak = 0;
    const std::atomic_bool &m_stop;
    const qint64 m_budget;
};

// Bytes reserved for what a page holds, given back when it goes, however
// the page ends.
struct Reservation
{
    OrderedPages &pages;
    const qint64 &bytes;
    PageReader::Holding holding = PageReader::Pixels;
    ~Reservation() { pages.release(bytes, holding); }
};

#endif // ORDEREDPAGES_H
