#include "making/zippackager.h"

bool ZipPackager::begin(const QString &fileName, const Book &book)
{
    m_book = book;
    m_pages.clear();
    m_pageNames.clear();
    m_error.clear();
    if (!m_writer.open(fileName))
        return false;
    if (started())
        return true;
    m_writer.discard();
    return false;
}

bool ZipPackager::addPage(const PackedEntry &entry, const ComicPage &page)
{
    if (!m_writer.addEntry(entry))
        return false;
    m_pages.append(page);
    m_pageNames.append(m_writer.lastPageName());
    return true;
}

bool ZipPackager::addDocument(const QString &name, const QByteArray &data)
{
    QString why;
    const PackedEntry entry = PackedEntry::deflate(data, &why);
    if (entry.compressed.isEmpty())
        return fail(why);
    return m_writer.addNamedEntry(name, entry);
}

bool ZipPackager::finish(bool replace)
{
    if (!described()) {
        m_writer.discard();
        return false;
    }
    return m_writer.commit(replace);
}

void ZipPackager::abandon()
{
    m_writer.discard();
}

QString ZipPackager::errorString() const
{
    return m_error.isEmpty() ? m_writer.errorString() : m_error;
}

bool ZipPackager::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}
