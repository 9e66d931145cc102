#include "pagescan.h"

#include "naturalorder.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool hasPageExtension(const QString &name)
{
    static const QLatin1String extensions[] = {QLatin1String(".png"), QLatin1String(".jpg"),
                                               QLatin1String(".bmp"), QLatin1String(".tif")};
    for (const QLatin1String &extension : extensions) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

#ifdef Q_OS_UNIX
// Reads the entries directly: the names are filtered by extension before
// the file system is asked anything about a file, and names that do not
// decode to text are seen rather than silently dropped.
bool readEntries(const QString &folder, QStringList *names, QStringList *unusable)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw.startsWith('.')) // hidden, and "." and ".."
            continue;
        const QString name = QFile::decodeName(raw);
        if (!hasPageExtension(name))
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat info;
            if (::fstatat(dirFd, raw.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type != DT_REG || ::faccessat(dirFd, raw.constData(), R_OK, 0) != 0)
            continue;
        if (QFile::encodeName(name) != raw)
            unusable->append(name);
        else
            names->append(name);
    }
    ::closedir(dir);
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
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
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
