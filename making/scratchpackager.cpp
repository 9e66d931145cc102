#include "making/scratchpackager.h"

#include "making/scratchfile.h"
#include "making/zipwriter.h"

#include <QFileInfo>

#include <exception>

bool ScratchPackager::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

QString ScratchPackager::errorString() const
{
    return m_error.isEmpty() ? m_file.errorString() : m_error;
}

bool ScratchPackager::begin(const QString &fileName, const Book &book)
{
    abandon();
    m_error.clear();
    m_book = book;
    m_pages.clear();
    m_pageNames.clear();
    m_notes.clear();
    cleared();
    if (!m_file.open(fileName))
        return false;
    QString why;
    m_scratch = ScratchFile::open(QFileInfo(m_file.fileName()).path(), &why);
    if (m_scratch)
        return true;
    m_file.discard();
    return fail(why);
}

bool ScratchPackager::addPage(const PackedEntry &entry, const ComicPage &page)
{
    if (!m_scratch)
        return fail(tr("The book was not started."));
    const QString name = ZipWriter::entryName(m_pages.size(), entry.suffix);
    if (!held(name, entry, page))
        return false;
    m_pages.append(page);
    m_pageNames.append(name);
    return true;
}

bool ScratchPackager::addDocument(const QString &name, const QByteArray &data)
{
    Q_UNUSED(data);
    const QString note = documentNote(name);
    if (!m_notes.contains(note))
        m_notes.append(note);
    return true;
}

bool ScratchPackager::finish(bool replace)
{
    if (!m_scratch || !m_file.isOpen())
        return fail(tr("The book was not started."));
    if (m_pages.isEmpty()) {
        abandon();
        return fail(tr("Every page was left out: there is no page to make a book of."));
    }
    bool done = false;
    try {
        done = written();
    } catch (const std::exception &error) {
        fail(tr("The book cannot be written: %1").arg(QString::fromLocal8Bit(error.what())));
    }
    m_scratch.reset();
    if (!done) {
        m_file.discard();
        return false;
    }
    return m_file.commit(replace);
}

void ScratchPackager::abandon()
{
    m_scratch.reset();
    m_file.discard();
}
