#include "making/orderedpages.h"

OrderedPages::OrderedPages(const std::atomic_bool &stop, qint64 budget)
    : m_stop(stop)
    , m_budget(budget)
{}

bool OrderedPages::add(int index, const PackedEntry &entry, const ComicPage &comicPage)
{
    QMutexLocker locker(&m_mutex);
    Page &page = m_pages[index];
    while (!stopping() && page.entries.size() >= PendingEntries)
        m_changed.wait(&m_mutex);
    if (stopping())
        return false;
    page.entries.append(entry);
    page.comicPages.append(comicPage);
    m_changed.wakeAll();
    return true;
}

void OrderedPages::complete(int index, const Ending &ending, Page *last)
{
    QMutexLocker locker(&m_mutex);
    Page &page = m_pages[index];
    if (!ending.note.isEmpty())
        notes.insert(index, ending.note);
    if (ending.unread)
        (ending.error.isEmpty() ? unreadable : unreadableFailures).append(index);
    if (last) {
        page.picture = std::move(last->picture);
        page.pictureSize = last->pictureSize;
    }
    page.complete = true;
    if (!ending.error.isEmpty()) {
        errors.insert(index, ending.error);
        m_failed = true;
    }
    m_changed.wakeAll();
}

void OrderedPages::reserve(int index, qint64 bytes, PageReader::Holding holding)
{
    QMutexLocker locker(&m_mutex);
    const bool file = holding == PageReader::FileBytes;
    const auto wanting = [&] {
        return (m_inUse > 0 && m_inUse + bytes > m_budget) ||
               (file && m_fileBytesInUse > 0 && m_fileBytesInUse + bytes > m_budget / 4);
    };
    while (!stopping() && index != m_front && wanting())
        m_changed.wait(&m_mutex);
    m_inUse += bytes;
    if (file)
        m_fileBytesInUse += bytes;
    m_peak = qMax(m_peak, m_inUse);
}

qint64 OrderedPages::peak()
{
    QMutexLocker locker(&m_mutex);
    return m_peak;
}

void OrderedPages::release(qint64 bytes, PageReader::Holding holding)
{
    if (bytes == 0)
        return;
    QMutexLocker locker(&m_mutex);
    m_inUse -= bytes;
    if (holding == PageReader::FileBytes)
        m_fileBytesInUse -= bytes;
    m_changed.wakeAll();
}

bool OrderedPages::fits(qint64 bytes)
{
    QMutexLocker locker(&m_mutex);
    return m_inUse + bytes <= m_budget;
}

OrderedPages::Page OrderedPages::takeFront(bool *complete)
{
    QMutexLocker locker(&m_mutex);
    for (;;) {
        Page &page = m_pages[m_front];
        if (stopping() || page.complete || !page.entries.isEmpty())
            break;
        m_changed.wait(&m_mutex);
    }
    Page &page = m_pages[m_front];
    Page taken;
    taken.entries.swap(page.entries);
    taken.comicPages.swap(page.comicPages);
    *complete = page.complete && !stopping();
    if (*complete) {
        taken.picture = std::move(page.picture);
        taken.pictureSize = page.pictureSize;
        m_pages.remove(m_front);
        ++m_front;
    }
    m_changed.wakeAll();
    return taken;
}

int OrderedPages::front()
{
    QMutexLocker locker(&m_mutex);
    return m_front;
}

bool OrderedPages::hasFailed()
{
    QMutexLocker locker(&m_mutex);
    return m_failed;
}

void OrderedPages::wakeAll()
{
    QMutexLocker locker(&m_mutex);
    m_changed.wakeAll();
}

void OrderedPages::found(int index, const ScanCleanup &cleanup, bool straighten)
{
    QMutexLocker locker(&m_mutex);
    if (!cleanups.contains(index))
        cleanups.insert(index, {cleanup, straighten});
}
