#include "pagescan.h"

#include "naturalorder.h"

#include <QDir>
#include <QtConcurrent>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#endif

namespace {

bool hasPageExtension(const char *name, size_t length)
{
    if (length < 4 || name[length - 4] != '.')
        return false;
    char extension[4] = {};
    for (int i = 0; i < 3; ++i)
        extension[i] = char(std::tolower(static_cast<unsigned char>(name[length - 3 + i])));
    return !std::strcmp(extension, "png") || !std::strcmp(extension, "jpg") ||
           !std::strcmp(extension, "bmp") || !std::strcmp(extension, "tif");
}

#ifdef Q_OS_UNIX
struct Candidate
{
    QByteArray name;
    bool typeKnown = false;
};

// Reads the entries directly: the names are filtered by extension before
// the file system is asked anything about a file, and names that do not
// decode to text are seen rather than silently dropped. The questions
// (regular file? readable?) are asked on several threads at once: each is
// a round trip to the file system, a slow one on a network share.
bool readEntries(const QString &folder, QStringList *names, QStringList *unusable)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir);
    QVector<Candidate> candidates;
    while (const dirent *entry = ::readdir(dir)) {
        const char *raw = entry->d_name;
        if (raw[0] == '.' || !hasPageExtension(raw, std::strlen(raw))) // hidden, "." and ".."
            continue;
        if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN)
            candidates.append({QByteArray(raw), entry->d_type == DT_REG});
    }
    const QVector<Candidate> readable =
        QtConcurrent::blockingFiltered(candidates, [dirFd](const Candidate &candidate) {
            if (!candidate.typeKnown) {
                struct stat info;
                if (::fstatat(dirFd, candidate.name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
                    !S_ISREG(info.st_mode))
                    return false;
            }
            return ::faccessat(dirFd, candidate.name.constData(), R_OK, 0) == 0;
        });
    ::closedir(dir);

    for (const Candidate &candidate : readable) {
        const QString name = QFile::decodeName(candidate.name);
        // Bytes that are not text decode to U+FFFD; such a name cannot be
        // encoded back to the file's own.
        if (name.contains(QChar::ReplacementCharacter) && QFile::encodeName(name) != candidate.name)
            unusable->append(name);
        else
            names->append(name);
    }
    return true;
}
#else
bool readEntries(const QString &folder, QStringList *names, QStringList *)
{
    const QDir dir(folder);
    if (!dir.exists())
        return false;
    *names = dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg"),
                            QStringLiteral("*.bmp"), QStringLiteral("*.tif")},
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

PageFolder scanPageFolder(const QString &folder)
{
    PageFolder result;
    QStringList names;
    if (folder.isEmpty() || !readEntries(folder, &names, &result.unusableNames))
        return result;
    QVector<QString> sorted = naturalOrder(names);

    result.unusableNames = naturalOrder(result.unusableNames).toList();

    const QDir dir(folder);
    result.pages.reserve(sorted.size());
    for (const QString &name : qAsConst(sorted))
        result.pages.append(QFileInfo(dir.absoluteFilePath(name)));
    return result;
}

QFileInfoList listPageFiles(const QString &folder)
{
    return scanPageFolder(folder).pages;
}
