#include "pages/pagescan.h"

#include "pages/naturalorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QtConcurrent>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#endif

namespace {

// The lower-case extensions of every other picture type Qt and its plugins
// read ("jpeg", "webp", "avif", ...).
QVector<QByteArray> otherExtensions()
{
    QVector<QByteArray> list;
    for (const QString &type : otherPictureTypes())
        list.append('.' + type.toLatin1());
    return list;
}

bool endsWithOneOf(const char *name, size_t length, const QVector<QByteArray> &extensions)
{
    for (const QByteArray &extension : extensions) {
        const size_t size = size_t(extension.size());
        if (length >= size &&
            qstrnicmp(name + length - size, extension.constData(), uint(size)) == 0)
            return true;
    }
    return false;
}

// Raw bytes, before the name is decoded: most of a folder is filtered out
// without making a string of it.
NameKind kindOfRawName(const char *name, size_t length)
{
    static const QVector<QByteArray> pages = [] {
        QVector<QByteArray> list;
        for (const QString &type : pageFileTypes())
            list.append('.' + type.toLatin1());
        return list;
    }();
    static const QVector<QByteArray> others = otherExtensions();
    if (endsWithOneOf(name, length, pages))
        return NameKind::Page;
    if (endsWithOneOf(name, length, others))
        return NameKind::OtherPicture;
    return NameKind::None;
}

bool hasPageExtension(const char *name, size_t length)
{
    return kindOfRawName(name, length) == NameKind::Page;
}

#ifdef Q_OS_UNIX
struct Candidate
{
    QByteArray name;
    bool typeKnown = false;
    bool otherType = false;
    enum Kind
    {
        Page,
        Unreadable,
        Link,
        Other
    } kind = Other;
};

// What a folder's entries are, by name.
struct Entries
{
    QStringList names;
    QStringList others; // pictures of other types, not listed
    QStringList unusable;
    QStringList unreadable;
    QStringList symlinks;
};

Candidate::Kind kindOf(int dirFd, const Candidate &candidate)
{
    if (!candidate.typeKnown) {
        struct stat info;
        if (::fstatat(dirFd, candidate.name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return Candidate::Other;
        if (S_ISLNK(info.st_mode))
            return Candidate::Link;
        if (!S_ISREG(info.st_mode))
            return Candidate::Other;
    }
    return ::faccessat(dirFd, candidate.name.constData(), R_OK, 0) == 0 ? Candidate::Page
                                                                        : Candidate::Unreadable;
}

// Reads the entries directly: the names are filtered by extension before
// the file system is asked anything about a file, and names that do not
// decode to text are seen rather than silently dropped. The questions
// (regular file? readable?) are asked on several threads at once: each is
// a round trip to the file system, a slow one on a network share.
bool readEntries(const QString &folder, bool everyType, Entries *entries)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir);
    QVector<Candidate> candidates;
    while (const dirent *entry = ::readdir(dir)) {
        const char *raw = entry->d_name;
        const NameKind kind = kindOfRawName(raw, std::strlen(raw));
        if (raw[0] == '.' || kind == NameKind::None) // hidden, "." and ".."
            continue;
        Candidate candidate{QByteArray(raw), entry->d_type != DT_UNKNOWN,
                            kind == NameKind::OtherPicture && !everyType};
        if (entry->d_type == DT_LNK)
            candidate.kind = Candidate::Link;
        if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
            candidates.append(candidate);
    }
    QtConcurrent::blockingMap(candidates, [dirFd](Candidate &candidate) {
        if (candidate.kind != Candidate::Link)
            candidate.kind = kindOf(dirFd, candidate);
    });
    ::closedir(dir);

    for (const Candidate &candidate : qAsConst(candidates)) {
        const QString name = QFile::decodeName(candidate.name);
        // Bytes that are not text decode to U+FFFD; such a name cannot be
        // encoded back to the file's own.
        const bool usable = !name.contains(QChar::ReplacementCharacter) ||
                            QFile::encodeName(name) == candidate.name;
        if (candidate.otherType) {
            if (candidate.kind == Candidate::Page && usable)
                entries->others.append(name);
            continue;
        }
        if (candidate.kind == Candidate::Link)
            entries->symlinks.append(name);
        else if (candidate.kind == Candidate::Other)
            continue;
        else if (!usable)
            entries->unusable.append(name);
        else if (candidate.kind == Candidate::Unreadable)
            entries->unreadable.append(name);
        else
            entries->names.append(name);
    }
    return true;
}
#else
struct Entries
{
    QStringList names, others, unusable, unreadable, symlinks;
};

bool readEntries(const QString &folder, bool, Entries *entries)
{
    const QDir dir(folder);
    if (!dir.exists())
        return false;
    entries->names =
        dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.bmp"),
                       QStringLiteral("*.tif")},
                      QDir::Files | QDir::NoSymLinks | QDir::Readable | QDir::NoDotAndDotDot);
    return true;
}
#endif

// Names the natural order holds equal (p3 and p\u0663) keep an order that
// does not depend on the order the directory gave them in.
QVector<QString> naturalOrder(const QStringList &names)
{
    QVector<QString> sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end());
    stableMergeSort(sorted, naturalLess);
    return sorted;
}

} // namespace

const QStringList &pageFileTypes()
{
    static const QStringList types = {QStringLiteral("jpg"), QStringLiteral("png"),
                                      QStringLiteral("bmp"), QStringLiteral("tif")};
    return types;
}

QString pageFileTypeList(const QString &separator)
{
    return pageFileTypes().join(separator);
}

const QStringList &otherPictureTypes()
{
    static const QStringList types = [] {
        QStringList list;
        for (const QByteArray &format : QImageReader::supportedImageFormats()) {
            const QString type = QString::fromLatin1(format).toLower();
            if (!pageFileTypes().contains(type) && !list.contains(type) && !isRefusedFormat(format))
                list << type;
        }
        // Other names JPEG files go by; the reader knows them by their content.
        for (const QString &alias : {QStringLiteral("jpe"), QStringLiteral("jfif")}) {
            if (!list.contains(alias))
                list << alias;
        }
        list.sort();
        return list;
    }();
    return types;
}

bool isRefusedFormat(const QByteArray &format)
{
    static const QByteArrayList refused = {"svg", "svgz", "eps", "epsf", "epsi", "ps", "pdf"};
    return refused.contains(format.toLower());
}

QStringList pictureTypesOf(const QStringList &names)
{
    QStringList types;
    for (const QString &name : names) {
        const QString type = QFileInfo(name).suffix().toLower();
        if (!types.contains(type))
            types << type;
    }
    types.sort();
    return types;
}

PageListing scanPageFolder(const QString &folder, PictureTypes types)
{
    PageListing result;
    Entries entries;
    if (folder.isEmpty() || !readEntries(folder, types == EveryPictureType, &entries))
        return result;
    result.otherPictures = naturalOrder(entries.others).toList();
    const QVector<QString> sorted = naturalOrder(entries.names);
    result.unusableNames = naturalOrder(entries.unusable).toList();
    result.unreadable = naturalOrder(entries.unreadable).toList();
    result.symlinks = naturalOrder(entries.symlinks).toList();

    const QDir dir(folder);
    result.pages.reserve(sorted.size());
    for (const QString &name : sorted)
        result.pages.append({name, QFileInfo(dir.absoluteFilePath(name)).absoluteFilePath()});
    return result;
}

NameKind kindOfName(const QString &name)
{
    const QByteArray encoded = name.toUtf8();
    return kindOfRawName(encoded.constData(), size_t(encoded.size()));
}

bool isPageFileName(const QString &name)
{
    const QByteArray encoded = QFile::encodeName(name);
    return hasPageExtension(encoded.constData(), size_t(encoded.size()));
}

void PageListing::addLeftOut(const PageListing &part, const QString &prefix)
{
    const auto prefixed = [&prefix](const QStringList &names) {
        QStringList result;
        for (const QString &name : names)
            result << prefix + name;
        return result;
    };
    unusableNames += prefixed(part.unusableNames);
    unreadable += prefixed(part.unreadable);
    for (auto why = part.unreadableWhy.cbegin(); why != part.unreadableWhy.cend(); ++why)
        unreadableWhy.insert(prefix + why.key(), why.value());
    symlinks += prefixed(part.symlinks);
    otherPictures += prefixed(part.otherPictures);
    archives += prefixed(part.archives);
}

void PageListing::addUnreadable(const QString &name, const QString &why)
{
    unreadable << name;
    unreadableWhy.insert(name, why);
}

QString PageListing::whyUnreadable(const QString &name) const
{
    return unreadableWhy.value(name,
                               QCoreApplication::translate("PageListing", "permission denied"));
}

namespace {
// Deeper than any book's folders go; a folder below it is named, not read.
constexpr int ChapterDepth = 6;

// A folder's sub-folders in natural order; those that cannot be listed as
// chapters (a link, a name that is not text, no permission) are named in
// book under prefix.
QStringList subFolders(const QString &folder, const QString &prefix, PageListing *book)
{
    QStringList names;
#ifdef Q_OS_UNIX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const char *raw = entry->d_name;
        if (raw[0] == '.')
            continue; // hidden, "." and ".."
        struct stat info;
        if (::fstatat(dirFd, raw, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QString name = QFile::decodeName(raw);
        const QString shown = prefix + name + QLatin1Char('/');
        if (S_ISLNK(info.st_mode)) {
            struct stat target;
            if (::fstatat(dirFd, raw, &target, 0) == 0 && S_ISDIR(target.st_mode))
                book->addUnreadable(shown, QCoreApplication::translate(
                                               "PageListing", "a symbolic link to a folder, "
                                                              "which is not followed"));
            continue;
        }
        if (!S_ISDIR(info.st_mode))
            continue;
        if (QFile::encodeName(name) != QByteArray(raw)) {
            book->unusableNames << shown;
            continue;
        }
        if (::faccessat(dirFd, raw, R_OK | X_OK, 0) != 0) {
            book->addUnreadable(shown, QString::fromLocal8Bit(std::strerror(EACCES)));
            continue;
        }
        names << name;
    }
    ::closedir(dir);
#else
    Q_UNUSED(prefix)
    Q_UNUSED(book)
    names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
#endif
    QVector<QString> sorted = naturalOrder(names);
    return QStringList(sorted.begin(), sorted.end());
}

// The pages of folder/relative and of its sub-folders, in book order;
// false when none was found there.
bool collectChapter(const QString &folder, const QString &relative, int depth, PictureTypes types,
                    PageListing *book, const ListingControl &control)
{
    if (book->stopped || !control.goOn(book->pages.size())) {
        book->stop();
        return false;
    }
    const QString path = relative.isEmpty() ? folder : QDir(folder).filePath(relative);
    const PageListing here = scanPageFolder(path, types);
    const QString prefix = relative.isEmpty() ? QString() : relative + QLatin1Char('/');
    for (const ListedPage &page : here.pages)
        book->pages.append({prefix + page.name, page.location, relative});
    book->addLeftOut(here, prefix);
    bool found = !here.pages.isEmpty();
    for (const QString &sub : subFolders(path, prefix, book)) {
        if (depth >= ChapterDepth) {
            book->addUnreadable(
                prefix + sub + QLatin1Char('/'),
                QCoreApplication::translate("PageListing", "more than %1 folders down")
                    .arg(ChapterDepth));
            continue;
        }
        const bool inside = collectChapter(folder, prefix + sub, depth + 1, types, book, control);
        found = found || inside;
    }
    if (!found && !relative.isEmpty() && depth == 1)
        book->emptyChapters << relative;
    return found;
}
} // namespace

bool ListingControl::goOn(int seen) const
{
    if (stop && stop->load(std::memory_order_relaxed))
        return false;
    if (progress && seen % 256 == 0)
        progress(seen);
    return true;
}

QString ListingControl::stoppedReason()
{
    return QCoreApplication::translate("PageListing", "Stopped.");
}

void PageListing::stop()
{
    stopped = true;
    error = ListingControl::stoppedReason();
}

PageListing scanChapters(const QString &folder, PictureTypes types, const ListingControl &control)
{
    PageListing book;
    if (!QFileInfo(folder).isDir())
        return book;
    collectChapter(folder, QString(), 0, types, &book, control);
    if (book.stopped)
        book.pages.clear();
    return book;
}

int chapterCount(const QString &folder, PictureTypes types)
{
    PageListing chapters;
    for (const QString &sub : subFolders(folder, QString(), &chapters))
        collectChapter(folder, sub, 1, types, &chapters, {});
    QStringList names;
    for (const ListedPage &page : qAsConst(chapters.pages)) {
        if (!names.contains(page.chapter))
            names << page.chapter;
    }
    return names.size();
}
