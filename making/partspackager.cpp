#include "making/partspackager.h"

#include "making/epubpackage.h"
#include "making/scratchfile.h"

#include <QDir>
#include <QFileInfo>

namespace {
// What a page costs a book beyond its picture (its document, its entries
// in the indexes), and what a book costs beyond its pages: more than any
// kind needs, so that a part planned within the limit is within it.
const qint64 PerPage = 2048;
const qint64 PerBook = 64 * 1024;

// Whether a part may end before page i: never between the two halves of a
// cut page, nor after a blank page put before a spread.
QVector<bool> cutsAllowed(const QVector<PartsPackager::Page> &pages)
{
    QVector<bool> allowed(pages.size() + 1, true);
    for (int i = 0; i + 1 < pages.size(); ++i) {
        const PartsPackager::Page &page = pages.at(i);
        if (page.blank)
            allowed[i + 1] = false;
        else if (page.half != 0 && pages.at(i + 1).half == 3 - page.half) {
            allowed[i + 1] = false;
            ++i; // the pair is whole; the next page begins another
        }
    }
    return allowed;
}
} // namespace

PartsPackager::PartsPackager(const PageOptions &options, qint64 limit)
    : m_options(options)
    , m_limit(limit)
{
    m_options.MaxBookMegabytes = 0;
}

PartsPackager::~PartsPackager()
{
    abandon();
}

bool PartsPackager::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

QString PartsPackager::errorString() const
{
    return m_error;
}

QVector<int> PartsPackager::partStarts(const QVector<Page> &pages, qint64 limit, qint64 perPage,
                                       qint64 perBook)
{
    const QVector<bool> allowed = cutsAllowed(pages);
    QVector<int> starts{0};
    int start = 0;
    while (start < pages.size()) {
        qint64 size = perBook;
        int end = start;
        // The longest run of pages from start within the limit.
        while (end < pages.size() && size + pages.at(end).bytes + perPage <= limit) {
            size += pages.at(end).bytes + perPage;
            ++end;
        }
        if (end == pages.size())
            break;
        // The last place a part may end within the run; a chapter's start
        // where one lies in its second half.
        int cut = -1;
        int chapter = -1;
        qint64 running = perBook;
        for (int i = start; i < end; ++i) {
            running += pages.at(i).bytes + perPage;
            if (i + 1 <= end && allowed.at(i + 1) && i + 1 > start) {
                cut = i + 1;
                if (i + 1 < pages.size() && pages.at(i + 1).chapter && running >= limit / 2)
                    chapter = i + 1;
            }
        }
        int next = chapter > 0 ? chapter : cut;
        if (next <= start) {
            // A page, or a pair, larger than the limit on its own: a part of
            // its own, as small as the pages allow.
            next = start + 1;
            while (next < pages.size() && !allowed.at(next))
                ++next;
        }
        starts.append(next);
        start = next;
    }
    return starts;
}

QString PartsPackager::partName(const QString &fileName, const QString &suffix, int part, int parts)
{
    QString base = fileName;
    if (base.endsWith(suffix, Qt::CaseInsensitive))
        base.chop(suffix.size());
    return tr("%1 (%2 of %3)").arg(base).arg(part + 1).arg(parts) + suffix;
}

bool PartsPackager::begin(const QString &fileName, const Book &book)
{
    abandon();
    m_error.clear();
    m_book = book;
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    m_pages.clear();
    m_pageNames.clear();
    m_notes.clear();
    m_files.clear();
    m_documents.clear();
    if (!QFileInfo(QFileInfo(m_fileName).path()).isDir())
        return fail(tr("The folder %1 does not exist.").arg(QFileInfo(m_fileName).path()));
    QString why;
    m_scratch = ScratchFile::open(QFileInfo(m_fileName).path(), &why);
    return m_scratch || fail(why);
}

bool PartsPackager::addPage(const PackedEntry &entry, const ComicPage &page)
{
    if (!m_scratch)
        return fail(tr("The book was not started."));
    const qint64 offset = m_scratch->pos();
    if (m_scratch->write(entry.compressed) != entry.compressed.size())
        return fail(
            tr("A page cannot be held until the parts are made: %1").arg(m_scratch->errorString()));
    Held held{offset, entry};
    held.entry.compressed.clear();
    m_held.append(held);
    m_pages.append(page);
    m_pageNames.append(QString()); // named when its part is made
    return true;
}

bool PartsPackager::addDocument(const QString &name, const QByteArray &data)
{
    m_documents.append({name, data});
    return true;
}

bool PartsPackager::makePart(const QString &fileName, int part, int parts, int first, int end,
                             bool replace)
{
    std::unique_ptr<Packager> packager = Packager::ofKind(m_options);
    Book book = m_book;
    if (parts > 1) {
        // Its information says which part it is; its title too.
        const EpubPackage named(m_book.comicInfo, m_book.name, {});
        book.comicInfo.title = tr("%1 (%2 of %3)").arg(named.title()).arg(part + 1).arg(parts);
        book.name = QFileInfo(fileName).completeBaseName();
    }
    if (!packager->begin(fileName, book))
        return fail(packager->errorString());
    // A part that begins inside a chapter begins with its name.
    QString chapter;
    for (int i = first; i >= 0 && chapter.isEmpty(); --i)
        chapter = m_pages.at(i).bookmark;
    QVector<ComicPage> pages;
    for (int i = first; i < end; ++i) {
        ComicPage page = m_pages.at(i);
        if (i == first && page.bookmark.isEmpty())
            page.bookmark = chapter;
        PackedEntry entry = m_held.at(i).entry;
        const qint64 size = i + 1 < m_held.size() ? m_held.at(i + 1).offset - m_held.at(i).offset
                                                  : m_scratch->size() - m_held.at(i).offset;
        if (!m_scratch->seek(m_held.at(i).offset) ||
            (entry.compressed = m_scratch->read(size)).size() != size) {
            packager->abandon();
            return fail(
                tr("A page cannot be read back for its part: %1").arg(m_scratch->errorString()));
        }
        if (!packager->addPage(entry, page)) {
            packager->abandon();
            return fail(packager->errorString());
        }
        m_pageNames[i] = packager->pageNames().constLast();
        pages.append(page);
    }
    for (const auto &document : qAsConst(m_documents)) {
        // ComicInfo.xml lists the part's own pages.
        const QByteArray data = document.first == QLatin1String("ComicInfo.xml")
                                    ? comicInfoXml(book.comicInfo, pages)
                                    : document.second;
        if (!packager->addDocument(document.first, data)) {
            packager->abandon();
            return fail(packager->errorString());
        }
    }
    if (!packager->finish(replace))
        return fail(packager->errorString());
    for (const QString &note : packager->notes())
        if (!m_notes.contains(note))
            m_notes.append(note);
    m_made.append(fileName);
    return true;
}

bool PartsPackager::finish(bool replace)
{
    if (!m_scratch)
        return fail(tr("The book was not started."));
    QVector<Page> planned;
    for (int i = 0; i < m_pages.size(); ++i) {
        const ComicPage &page = m_pages.at(i);
        const qint64 end = i + 1 < m_held.size() ? m_held.at(i + 1).offset : m_scratch->size();
        planned.append(
            {end - m_held.at(i).offset, page.half, page.blank, !page.bookmark.isEmpty()});
    }
    const QVector<int> starts = partStarts(planned, m_limit, PerPage, PerBook);
    const int parts = starts.size();
    const QString suffix = Packager::suffixOf(m_options.BookKind);
    // A part already there stops the book before any part is made.
    for (int p = 0; parts > 1 && !replace && p < parts; ++p) {
        const QString name = partName(m_fileName, suffix, p, parts);
        if (QFileInfo::exists(name)) {
            m_scratch.reset();
            return fail(tr("%1 exists already.").arg(QDir::toNativeSeparators(name)));
        }
    }
    for (int p = 0; p < parts; ++p) {
        const QString name = parts == 1 ? m_fileName : partName(m_fileName, suffix, p, parts);
        const int end = p + 1 < parts ? starts.at(p + 1) : m_pages.size();
        if (!makePart(name, p, parts, starts.at(p), end, replace)) {
            removeMade();
            m_scratch.reset();
            return false;
        }
    }
    m_scratch.reset();
    if (parts > 1) {
        m_files = m_made;
        QStringList named;
        for (const QString &file : qAsConst(m_made)) {
            const qint64 size = QFileInfo(file).size();
            named
                << tr("%1 (%2 MB)").arg(QFileInfo(file).fileName()).arg((size + 500000) / 1000000);
            if (size > m_limit)
                m_notes << tr("%1 is larger than %2 MB: its pages could not be parted smaller.")
                               .arg(QFileInfo(file).fileName())
                               .arg(m_limit / 1000000);
        }
        m_notes.prepend(tr("Made as %1 parts of at most %2 MB: %3.")
                            .arg(parts)
                            .arg(m_limit / 1000000)
                            .arg(named.join(QStringLiteral(", "))));
    }
    m_made.clear();
    return true;
}

// A book made only in part is no book: the parts made go again.
void PartsPackager::removeMade()
{
    for (const QString &file : qAsConst(m_made))
        QFile::remove(file);
    m_made.clear();
}

void PartsPackager::abandon()
{
    m_scratch.reset();
    m_held.clear();
    m_documents.clear();
}
