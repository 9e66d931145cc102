#include "pages/filestamp.h"

#include <QFile>

#include <sys/stat.h>

namespace {
FileStamp stampOf(const struct stat &info)
{
    return {qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            quint64(info.st_ino), quint64(info.st_dev)};
}
} // namespace

FileStamp FileStamp::of(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return FileStamp();
    return stampOf(info);
}

FileStamp FileStamp::ofOpen(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return FileStamp();
    return stampOf(info);
}
