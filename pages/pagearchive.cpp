#include "pages/pagearchive.h"

#include "pages/naturalorder.h"
#include "pages/pagelocation.h"
#include "pages/regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <archive.h>
#include <archive_entry.h>

#include <unistd.h>

#include <memory>

namespace {

// An archive open for reading, at the entry numbered next.
struct Cursor
{
    QString path;
    archive *handle = nullptr;
    int fd = -1;
    int next = 0;
    qint64 size = -1;
    qint64 modified = -1;

    ~Cursor()
    {
        if (handle)
            archive_read_free(handle);
        if (fd >= 0)
            ::close(fd);
    }
};

QString archiveError(archive *handle)
{
    const char *text = archive_error_string(handle);
    return text ? QString::fromLocal8Bit(text) : QString();
}

// Only what comic archives are made with; no filter that would run an
// outside program.
archive *newReader()
{
    archive *handle = archive_read_new();
    archive_read_support_format_zip(handle);
    archive_read_support_format_rar(handle);
    archive_read_support_format_rar5(handle);
    archive_read_support_format_7zip(handle);
    archive_read_support_format_tar(handle);
    archive_read_support_filter_gzip(handle);
    archive_read_support_filter_bzip2(handle);
    archive_read_support_filter_xz(handle);
    return handle;
}

// The archive must be a regular file when it is opened: a FIFO or a device
// would block or never end.
std::unique_ptr<Cursor> openCursor(const QString &path, QString *error)
{
    auto cursor = std::make_unique<Cursor>();
    cursor->path = path;
    const RegularFile file = RegularFile::open(path);
    if (file.fd < 0) {
        *error = file.notRegular ? PageArchive::tr("It is not a regular file.") : file.error;
        return nullptr;
    }
    cursor->fd = file.fd;
    cursor->size = file.size;
    cursor->modified = file.modified;
    cursor->handle = newReader();
    if (archive_read_open_fd(cursor->handle, cursor->fd, 1 << 16) != ARCHIVE_OK) {
        *error = archiveError(cursor->handle);
        return nullptr;
    }
    return cursor;
}

bool unchanged(const Cursor &cursor)
{
    const QFileInfo now(cursor.path);
    return now.size() == cursor.size &&
           now.lastModified().toMSecsSinceEpoch() == cursor.modified / 1000000;
}

// Open archives kept between reads, so that the pages of a build, asked
// for in about their order, are found by reading on rather than from the
// start: for a solid archive that is the difference between reading it once
// and reading it once a page.
class CursorPool
{
public:
    static CursorPool &instance()
    {
        static CursorPool pool;
        return pool;
    }

    // The idle cursor of path that is furthest on but not past index.
    std::unique_ptr<Cursor> take(const QString &path, int index)
    {
        QMutexLocker locker(&m_mutex);
        int best = -1;
        for (int i = 0; i < m_idle.size(); ++i) {
            const Cursor &cursor = *m_idle.at(i);
            if (cursor.path == path && cursor.next <= index &&
                (best < 0 || cursor.next > m_idle.at(best)->next))
                best = i;
        }
        if (best < 0)
            return nullptr;
        std::unique_ptr<Cursor> cursor(m_idle.takeAt(best));
        locker.unlock();
        return unchanged(*cursor) ? std::move(cursor) : nullptr;
    }

    void giveBack(std::unique_ptr<Cursor> cursor)
    {
        QMutexLocker locker(&m_mutex);
        m_idle.append(cursor.release());
        while (m_idle.size() > Kept)
            delete m_idle.takeFirst();
    }

    ~CursorPool() { qDeleteAll(m_idle); }

private:
    static constexpr int Kept = 8;
    QMutex m_mutex;
    QList<Cursor *> m_idle;
};

// Reads the current entry's data whole, never past budget.
QByteArray readData(archive *handle, qint64 budget, const QString &name, QString *error,
                    const std::atomic_bool *stop)
{
    QByteArray data;
    char block[1 << 16];
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            *error = PageArchive::tr("Stopped.");
            return QByteArray();
        }
        const la_ssize_t got = archive_read_data(handle, block, sizeof block);
        if (got < 0) {
            *error = PageArchive::tr("Entry %1 cannot be read: %2").arg(name, archiveError(handle));
            return QByteArray();
        }
        if (got == 0)
            return data;
        if (data.size() + got > budget) {
            *error = PageArchive::tr("Entry %1 holds more than %2 MB.").arg(name).arg(budget >> 20);
            return QByteArray();
        }
        data.append(block, int(got));
    }
}

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    // Bytes that are not text in any known encoding show as U+FFFD.
    const char *raw = archive_entry_pathname(entry);
    return raw ? QString::fromUtf8(raw) : QString();
}

// Paths inside an archive in natural order, a folder's files before its
// sub-folders; a backslash counts as a folder's end, as Windows tools
// write it.
bool pathLess(const QString &a, const QString &b)
{
    const QStringList pa =
        QString(a).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    const QStringList pb =
        QString(b).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    for (int i = 0; i < pa.size() && i < pb.size(); ++i) {
        const bool fileA = i == pa.size() - 1, fileB = i == pb.size() - 1;
        if (fileA != fileB)
            return fileA;
        if (pa.at(i) != pb.at(i))
            return naturalLess(pa.at(i), pb.at(i));
    }
    return pa.size() < pb.size();
}

bool isTopComicInfo(const QString &name)
{
    return name.compare(QLatin1String("ComicInfo.xml"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool PageArchive::isArchiveName(const QString &name)
{
    static const QStringList types = {
        QStringLiteral("cbz"), QStringLiteral("cbr"), QStringLiteral("cb7"), QStringLiteral("cbt"),
        QStringLiteral("zip"), QStringLiteral("rar"), QStringLiteral("7z"),  QStringLiteral("tar")};
    return types.contains(QFileInfo(name).suffix().toLower());
}

PageFolder PageArchive::list(const QString &path)
{
    PageFolder result;
    QString error;
    std::unique_ptr<Cursor> cursor = openCursor(path, &error);
    if (!cursor) {
        result.error = error;
        return result;
    }
    QVector<ListedPage> pages;
    archive_entry *entry = nullptr;
    int index = 0;
    int status = ARCHIVE_OK;
    for (;; ++index) {
        status = archive_read_next_header(cursor->handle, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN) {
            result.error = archiveError(cursor->handle);
            return result;
        }
        if (index >= EntryLimit) {
            result.error =
                tr("It holds more than %1 entries; no book has so many.").arg(EntryLimit);
            return result;
        }
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        const QString name = entryName(entry);
        const bool claimsTooMuch =
            archive_entry_size_is_set(entry) && archive_entry_size(entry) > EntryBudget;
        if (isTopComicInfo(name)) {
            if (!claimsTooMuch && !archive_entry_is_encrypted(entry))
                result.comicInfo = readData(cursor->handle, ComicInfoBudget, name, &error, nullptr);
            continue;
        }
        if (isArchiveName(name)) {
            result.archives << name;
            continue;
        }
        const NameKind kind = kindOfName(name);
        if (kind == NameKind::None)
            continue;
        if (archive_entry_is_encrypted(entry))
            result.unreadable << tr("%1 (encrypted)").arg(name);
        else if (claimsTooMuch)
            result.unreadable << tr("%1 (more than %2 MB)").arg(name).arg(EntryBudget >> 20);
        else
            pages.append({name, PageLocation::ofEntry(path, index, name)});
    }
    // The same order whatever order the archive gives its entries in.
    std::sort(pages.begin(), pages.end(),
              [](const ListedPage &a, const ListedPage &b) { return a.location < b.location; });
    stableMergeSort(
        pages, [](const ListedPage &a, const ListedPage &b) { return pathLess(a.name, b.name); });
    result.pages = pages;
    return result;
}

QByteArray PageArchive::read(const QString &path, int index, QString *error,
                             const std::atomic_bool *stop)
{
    QString why;
    const QByteArray data = readEntry(path, index, &why, stop);
    if (error)
        *error = why;
    return data;
}

QByteArray PageArchive::readEntry(const QString &path, int index, QString *error,
                                  const std::atomic_bool *stop)
{
    std::unique_ptr<Cursor> cursor = CursorPool::instance().take(path, index);
    if (!cursor)
        cursor = openCursor(path, error);
    if (!cursor)
        return QByteArray();
    archive_entry *entry = nullptr;
    while (cursor->next <= index) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            *error = tr("Stopped.");
            return QByteArray();
        }
        const int status = archive_read_next_header(cursor->handle, &entry);
        if (status == ARCHIVE_EOF) {
            *error = tr("The archive has no entry %1 any more.").arg(index + 1);
            return QByteArray();
        }
        if (status < ARCHIVE_WARN) {
            *error = archiveError(cursor->handle);
            return QByteArray();
        }
        ++cursor->next;
    }
    const QString name = entryName(entry);
    if (archive_entry_is_encrypted(entry)) {
        *error = tr("Entry %1 is encrypted.").arg(name);
        return QByteArray();
    }
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > EntryBudget) {
        *error = tr("Entry %1 holds more than %2 MB.").arg(name).arg(EntryBudget >> 20);
        return QByteArray();
    }
    const QByteArray data = readData(cursor->handle, EntryBudget, name, error, stop);
    if (error->isEmpty())
        CursorPool::instance().giveBack(std::move(cursor));
    return data;
}
