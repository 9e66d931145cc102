#include "pages/pagearchive.h"

#include "pages/naturalorder.h"
#include "pages/pagelocation.h"
#include "pages/rarchecksums.h"
#include "pages/regularfile.h"
#include "pages/zipentrycopy.h"
#include "pages/zipindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <libdeflate.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <mutex>

namespace {

// An archive open for reading, at the entry numbered next.
struct Cursor
{
    QString path;
    archive *handle = nullptr;
    int fd = -1;
    int next = 0;
    FileStamp stamp; // the file as it was opened
    // A RAR archive's own CRCs, read when the first entry is checked.
    bool checksumsRead = false;
    RarChecksums checksums;

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
    // libarchive does not always say why.
    return text && *text ? QString::fromLocal8Bit(text)
                         : PageArchive::tr("its data is damaged or cut short");
}

int formatOf(const Cursor &cursor)
{
    return archive_format(cursor.handle) & ARCHIVE_FORMAT_BASE_MASK;
}

// A ZIP ends with the record that locates its index: within the last 64 KB
// and 22 bytes, after the comment it may carry. One cut short has none,
// and read as a stream it would seem to end after its last whole entry.
bool hasZipIndex(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return false;
    const qint64 tail = qMin<qint64>(info.st_size, 65535 + 22);
    QByteArray bytes(int(tail), '\0');
    if (::pread(fd, bytes.data(), size_t(tail), off_t(info.st_size - tail)) != tail)
        return false;
    return bytes.lastIndexOf(QByteArray("PK\x05\x06", 4)) >= 0;
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
    cursor->stamp = file.stamp;
    cursor->handle = newReader();
    if (archive_read_open_fd(cursor->handle, cursor->fd, 1 << 16) != ARCHIVE_OK) {
        *error = archiveError(cursor->handle);
        return nullptr;
    }
    return cursor;
}

bool unchanged(const Cursor &cursor)
{
    return FileStamp::of(cursor.path) == cursor.stamp;
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
                    const std::atomic_bool *stop, archive_entry *entry = nullptr)
{
    QByteArray data;
    // Grown by doubling, a large entry would briefly take twice its size.
    if (entry && archive_entry_size_is_set(entry) && archive_entry_size(entry) <= budget)
        data.reserve(int(archive_entry_size(entry)));
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

// 0 for the archive's own ComicInfo.xml, 1 for one inside the folder that
// holds the book (Book/ComicInfo.xml, as many tools pack it), -1 otherwise.
int comicInfoDepth(const QString &name)
{
    const QStringList parts =
        QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    if (parts.size() > 2 ||
        parts.last().compare(QLatin1String("ComicInfo.xml"), Qt::CaseInsensitive) != 0)
        return -1;
    return parts.size() - 1;
}

// The header of the entry numbered index: false at the archive's end, or
// when it cannot be read or is one entry too many (error says why then).
bool nextEntry(Cursor &cursor, archive_entry **entry, int index, QString *error)
{
    const int status = archive_read_next_header(cursor.handle, entry);
    if (status == ARCHIVE_EOF)
        return false;
    if (status < ARCHIVE_WARN)
        *error = archiveError(cursor.handle);
    else if (index >= PageArchive::EntryLimit)
        *error = PageArchive::tr("It holds more than %1 entries; no book has so many.")
                     .arg(PageArchive::EntryLimit);
    return error->isEmpty();
}

bool isComicInfo(const QString &name)
{
    return comicInfoDepth(name) >= 0;
}

// The shallowest ComicInfo.xml wins; what cannot be read of it is said.
void readComicInfo(archive *handle, archive_entry *entry, const QString &name, bool tooLarge,
                   PageListing *result, int *depthTaken)
{
    const int depth = comicInfoDepth(name);
    if (*depthTaken >= 0 && *depthTaken <= depth)
        return;
    *depthTaken = depth;
    result->comicInfo.clear();
    result->comicInfoProblem.clear();
    QString error;
    if (archive_entry_is_encrypted(entry))
        result->comicInfoProblem = PageArchive::tr("%1 is encrypted").arg(name);
    else if (tooLarge)
        result->comicInfoProblem = PageArchive::tr("%1 holds more than %2 MB")
                                       .arg(name)
                                       .arg(PageArchive::EntryBudget >> 20);
    else
        result->comicInfo = readData(handle, PageArchive::ComicInfoBudget, name, &error, nullptr);
    if (!error.isEmpty())
        result->comicInfoProblem = error;
}

} // namespace

bool PageArchive::isArchiveName(const QString &name)
{
    static const QStringList types = {
        QStringLiteral("cbz"), QStringLiteral("cbr"), QStringLiteral("cb7"), QStringLiteral("cbt"),
        QStringLiteral("zip"), QStringLiteral("rar"), QStringLiteral("7z"),  QStringLiteral("tar")};
    return types.contains(QFileInfo(name).suffix().toLower());
}

PageListing PageArchive::list(const QString &path, const ListingControl &control)
{
    PageListing result;
    QString error;
    std::unique_ptr<Cursor> cursor = openCursor(path, &error);
    if (!cursor) {
        result.error = error;
        return result;
    }
    QVector<ListedPage> pages;
    QHash<QString, int> regular; // the regular entries met so far, by name
    int comicInfoTaken = -1;
    archive_entry *entry = nullptr;
    int index = 0;
    for (;; ++index) {
        if (!control.goOn(index)) {
            result.stop();
            return result;
        }
        if (!nextEntry(*cursor, &entry, index, &result.error)) {
            if (!result.error.isEmpty())
                return result;
            break;
        }
        const QString name = entryName(entry);
        const NameKind kind = kindOfName(name);
        const unsigned type = archive_entry_filetype(entry);
        const char *hardlink = archive_entry_hardlink(entry);
        if (type == AE_IFREG && !hardlink && !isComicInfo(name))
            regular.insert(name, index);
        if (type == AE_IFDIR ||
            (kind == NameKind::None && !isComicInfo(name) && !isArchiveName(name)) ||
            (type != AE_IFREG && isArchiveName(name)))
            continue;
        // Links are never followed: a hard link to an entry of this archive
        // is that entry; anything else named like a page is named.
        if (hardlink) {
            const QString target = QString::fromUtf8(hardlink);
            if (regular.contains(target) && kind != NameKind::None)
                pages.append({name, PageLocation::ofEntry(path, regular.value(target), target)});
            else if (kind != NameKind::None)
                result.addUnreadable(name, tr("a hard link to %1, which is not a page of the "
                                              "archive")
                                               .arg(target));
            continue;
        }
        if (type != AE_IFREG) {
            if (kind != NameKind::None)
                result.addUnreadable(name, type == AE_IFLNK ? tr("a symbolic link")
                                                            : tr("not a regular file"));
            continue;
        }
        const bool claimsTooMuch =
            archive_entry_size_is_set(entry) && archive_entry_size(entry) > EntryBudget;
        if (isComicInfo(name)) {
            readComicInfo(cursor->handle, entry, name, claimsTooMuch, &result, &comicInfoTaken);
            continue;
        }
        if (isArchiveName(name)) {
            result.archives << name;
            continue;
        }
        if (archive_entry_is_encrypted(entry))
            result.addUnreadable(name, tr("encrypted"));
        else if (claimsTooMuch)
            result.addUnreadable(name, tr("more than %1 MB").arg(EntryBudget >> 20));
        else
            pages.append({name, PageLocation::ofEntry(path, index, name)});
    }
    result.error = endError(path, cursor->fd, formatOf(*cursor), index);
    if (!result.error.isEmpty())
        return result;
    // The same order whatever order the archive gives its entries in.
    std::sort(pages.begin(), pages.end(),
              [](const ListedPage &a, const ListedPage &b) { return a.location < b.location; });
    stableMergeSort(
        pages, [](const ListedPage &a, const ListedPage &b) { return pathLess(a.name, b.name); });
    result.pages = pages;
    result.realKind = namedOtherwise(path, formatOf(*cursor));
    return result;
}

// Why an archive read to its end of entries may still miss some: a ZIP or
// RAR 5 cut short, a ZIP whose index disagrees with its entries.
QString PageArchive::endError(const QString &path, int fd, int format, int entries)
{
    if (entries > 0 && format == ARCHIVE_FORMAT_ZIP && !hasZipIndex(fd))
        return tr("It is cut short: the index of its entries is missing, so entries "
                  "after the last one found may be missing too.");
    if (format == ARCHIVE_FORMAT_RAR_V5 && !RarChecksums::read(fd).reachedEnd())
        return tr("It is cut short: the end of the archive is missing, so entries after "
                  "the last one found may be missing too.");
    if (format == ARCHIVE_FORMAT_ZIP)
        return ZipEntryCopy::indexError(path, entries);
    return QString();
}

PageArchive::Contents PageArchive::contents(const QString &path,
                                            const std::function<bool(const QString &)> &wanted,
                                            qint64 eachBudget, qint64 allBudget,
                                            const ListingControl &control)
{
    Contents result;
    std::unique_ptr<Cursor> cursor = openCursor(path, &result.error);
    if (!cursor)
        return result;
    archive_entry *entry = nullptr;
    qint64 taken = 0;
    int index = 0;
    for (;; ++index) {
        if (!control.goOn(index)) {
            result.stopped = true;
            result.error = ListingControl::stoppedReason();
            return result;
        }
        if (!nextEntry(*cursor, &entry, index, &result.error)) {
            if (!result.error.isEmpty())
                return result;
            break;
        }
        Contents::Entry listed;
        listed.name = entryName(entry);
        listed.index = index;
        listed.regular =
            archive_entry_filetype(entry) == AE_IFREG && !archive_entry_hardlink(entry);
        listed.encrypted = archive_entry_is_encrypted(entry);
        if (archive_entry_size_is_set(entry))
            listed.size = archive_entry_size(entry);
        result.entries.append(listed);
        if (!listed.regular || !wanted(listed.name) || result.documents.contains(listed.name))
            continue;
        QString why;
        if (listed.encrypted)
            why = tr("%1 is encrypted").arg(listed.name);
        else if (taken >= allBudget)
            why = tr("%1 is past the %2 MB its documents may take together")
                      .arg(listed.name)
                      .arg(allBudget >> 20);
        else {
            const QByteArray data = readData(cursor->handle, qMin(eachBudget, allBudget - taken),
                                             listed.name, &why, nullptr, entry);
            taken += data.size();
            if (why.isEmpty())
                result.documents.insert(listed.name, data);
        }
        if (!why.isEmpty())
            result.documentErrors.insert(listed.name, why);
    }
    result.error = endError(path, cursor->fd, formatOf(*cursor), index);
    result.format = formatName(formatOf(*cursor));
    if (formatOf(*cursor) == ARCHIVE_FORMAT_ZIP)
        takeZipMethods(path, &result);
    return result;
}

// Each ZIP entry's method, from the record of its name in the index (the
// second entry of a name from the second record of it).
void PageArchive::takeZipMethods(const QString &path, Contents *contents)
{
    QHash<QString, QVector<int>> methods;
    const ZipIndex index = ZipIndex::of(path);
    for (const ZipIndex::Record &record : index.records())
        methods[record.name].append(record.method);
    QHash<QString, int> seen;
    for (Contents::Entry &entry : contents->entries) {
        const int nth = seen[entry.name]++;
        entry.zipMethod = methods.value(entry.name).value(nth, -1);
    }
}

QString PageArchive::formatName(int format)
{
    switch (format) {
    case ARCHIVE_FORMAT_ZIP:
        return QStringLiteral("ZIP");
    case ARCHIVE_FORMAT_RAR:
    case ARCHIVE_FORMAT_RAR_V5:
        return QStringLiteral("RAR");
    case ARCHIVE_FORMAT_7ZIP:
        return QStringLiteral("7z");
    case ARCHIVE_FORMAT_TAR:
        return QStringLiteral("tar");
    default:
        return QString();
    }
}

// "a RAR archive" for a RAR named .cbz: what an archive is, when its name
// says another kind.
QString PageArchive::namedOtherwise(const QString &path, int format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    struct Kind
    {
        QStringList suffixes;
        QString name;
    };
    const Kind kinds[] = {
        {{QStringLiteral("cbz"), QStringLiteral("zip")}, tr("a ZIP archive")},
        {{QStringLiteral("cbr"), QStringLiteral("rar")}, tr("a RAR archive")},
        {{QStringLiteral("cb7"), QStringLiteral("7z")}, tr("a 7z archive")},
        {{QStringLiteral("cbt"), QStringLiteral("tar")}, tr("a tar archive")},
    };
    int found = -1;
    switch (format) {
    case ARCHIVE_FORMAT_ZIP:
        found = 0;
        break;
    case ARCHIVE_FORMAT_RAR:
    case ARCHIVE_FORMAT_RAR_V5:
        found = 1;
        break;
    case ARCHIVE_FORMAT_7ZIP:
        found = 2;
        break;
    case ARCHIVE_FORMAT_TAR:
        found = 3;
        break;
    default:
        return QString();
    }
    return kinds[found].suffixes.contains(suffix) ? QString() : kinds[found].name;
}

QByteArray PageArchive::read(const QString &path, int index, const QString &name, QString *error,
                             const std::atomic_bool *stop,
                             const std::function<void(qint64)> &reserve, qint64 budget)
{
    QString why;
    const QByteArray data =
        readEntry(path, index, name, &why, stop, reserve, qMin(budget, EntryBudget));
    if (error)
        *error = why;
    return data;
}

namespace {
std::atomic<qint64> s_passedBudget{qint64(256) << 20};

// Entries a reader passed on its way to the one asked for, kept for the
// threads that will ask for them next. A solid archive (7z, RAR, a
// compressed tar) can only be read on from its start: pages asked for out
// of the archive's order would each cost a pass over all before them. Only
// one archive's entries are kept, within a budget.
class SkippedEntries
{
public:
    static SkippedEntries &instance()
    {
        static SkippedEntries kept;
        return kept;
    }

    bool take(const QString &path, const FileStamp &stamp, int index, QByteArray *data,
              QString *name)
    {
        QMutexLocker locker(&m_mutex);
        if (path != m_path || stamp != m_stamp || !m_entries.contains(index))
            return false;
        const Entry entry = m_entries.take(index);
        m_bytes -= entry.data.size();
        *data = entry.data;
        *name = entry.name;
        return true;
    }

    void keep(const QString &path, const FileStamp &stamp, int index, const QString &name,
              const QByteArray &data)
    {
        QMutexLocker locker(&m_mutex);
        if (path != m_path || stamp != m_stamp) {
            m_entries.clear();
            m_bytes = 0;
            m_path = path;
            m_stamp = stamp;
        }
        if (m_bytes + data.size() > s_passedBudget || m_entries.contains(index))
            return;
        m_entries.insert(index, {name, data});
        m_bytes += data.size();
    }

private:
    struct Entry
    {
        QString name;
        QByteArray data;
    };
    QMutex m_mutex;
    QString m_path;
    FileStamp m_stamp;
    QHash<int, Entry> m_entries;
    qint64 m_bytes = 0;
};

// Archives whose entries can be reached without decompressing the ones
// before them (ZIP): read by several threads at once. The others are read
// by one thread at a time, which keeps what it passes for the rest.
QMutex s_inParallelMutex;
QSet<QString> s_inParallel;
QMutex s_serialRead;

bool readsInParallel(const QString &path)
{
    QMutexLocker locker(&s_inParallelMutex);
    return s_inParallel.contains(path);
}

void noteFormat(const Cursor &cursor)
{
    if (formatOf(cursor) != ARCHIVE_FORMAT_ZIP)
        return;
    QMutexLocker locker(&s_inParallelMutex);
    s_inParallel.insert(cursor.path);
}

// A RAR entry's bytes against the CRC its header gives.
QString checkCrc(Cursor &cursor, int index, const QString &name, const QByteArray &data)
{
    const int format = formatOf(cursor);
    if (format != ARCHIVE_FORMAT_RAR && format != ARCHIVE_FORMAT_RAR_V5)
        return QString();
    if (!cursor.checksumsRead) {
        cursor.checksums = RarChecksums::read(cursor.fd);
        cursor.checksumsRead = true;
    }
    return cursor.checksums.matches(index, data)
               ? QString()
               : PageArchive::tr("Entry %1 is damaged: its bytes do not match its CRC.").arg(name);
}

// Whether an entry passed on the way is worth keeping for another thread.
bool worthKeeping(archive_entry *entry, const QString &name)
{
    return archive_entry_filetype(entry) == AE_IFREG && !archive_entry_is_encrypted(entry) &&
           kindOfName(name) != NameKind::None &&
           (!archive_entry_size_is_set(entry) ||
            archive_entry_size(entry) <= PageArchive::EntryBudget);
}
} // namespace

QByteArray PageArchive::readEntry(const QString &path, int index, const QString &expected,
                                  QString *error, const std::atomic_bool *stop,
                                  const std::function<void(qint64)> &reserve, qint64 budget)
{
    // Told once, with what the archive says or, failing that, what was read.
    bool told = false;
    const auto tell = [&](qint64 bytes) {
        if (reserve && !told)
            reserve(bytes);
        told = true;
    };
    QByteArray data;
    QString name;
    SkippedEntries &skipped = SkippedEntries::instance();
    const auto kept = [&] {
        return skipped.take(path, FileStamp::of(path), index, &data, &name);
    };
    std::unique_lock<QMutex> serial;
    if (!readsInParallel(path)) {
        serial = std::unique_lock<QMutex>(s_serialRead);
        // Another thread may have passed it while this one waited.
        if (kept()) {
            serial.unlock();
            tell(data.size());
            return checkName(name, expected, index, error) ? data : QByteArray();
        }
    }
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
            *error = tr("The archive has changed since it was listed: it has no entry %1 any "
                        "more. Open it again.")
                         .arg(index + 1);
            return QByteArray();
        }
        if (status < ARCHIVE_WARN) {
            *error = archiveError(cursor->handle);
            return QByteArray();
        }
        if (cursor->next == 0)
            noteFormat(*cursor);
        const QString passed = entryName(entry);
        if (cursor->next < index && serial.owns_lock() && !readsInParallel(path) &&
            worthKeeping(entry, passed)) {
            QString why;
            const QByteArray bytes = readData(cursor->handle, EntryBudget, passed, &why, stop);
            if (why.isEmpty() && checkCrc(*cursor, cursor->next, passed, bytes).isEmpty())
                skipped.keep(path, cursor->stamp, cursor->next, passed, bytes);
        }
        ++cursor->next;
    }
    name = entryName(entry);
    if (!checkName(name, expected, index, error))
        return QByteArray();
    if (archive_entry_is_encrypted(entry)) {
        *error = tr("Entry %1 is encrypted.").arg(name);
        return QByteArray();
    }
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > budget) {
        *error = tr("Entry %1 holds more than %2 MB.").arg(name).arg(budget >> 20);
        return QByteArray();
    }
    // Waiting for room while holding the one reader of a solid archive
    // could wait for a page that needs that reader: such an entry is counted
    // once it is read and the reader is free again.
    if (archive_entry_size_is_set(entry) && !serial.owns_lock())
        tell(archive_entry_size(entry));
    data = readData(cursor->handle, budget, name, error, stop, entry);
    if (error->isEmpty())
        *error = checkCrc(*cursor, index, name, data);
    if (!error->isEmpty())
        return QByteArray();
    CursorPool::instance().giveBack(std::move(cursor));
    if (serial.owns_lock())
        serial.unlock();
    tell(data.size());
    return data;
}

void PageArchive::setPassedEntriesBudget(qint64 bytes)
{
    s_passedBudget = bytes;
}

// An archive rewritten since it was listed (a tagger, another program)
// may hold other entries under the same numbers.
bool PageArchive::checkName(const QString &name, const QString &expected, int index, QString *error)
{
    if (expected.isEmpty() || name == expected)
        return true;
    *error = tr("The archive has changed since it was listed: its entry %1 is %2, not %3. "
                "Open it again.")
                 .arg(index + 1)
                 .arg(name, expected);
    return false;
}
