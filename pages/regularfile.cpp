#include "pages/regularfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What fstat() or stat() said of it.
void describe(RegularFile *file, const struct stat &info)
{
    file->notRegular = !S_ISREG(info.st_mode);
    file->size = info.st_size;
}
} // namespace

RegularFile RegularFile::open(const QString &path)
{
    RegularFile file;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        file.error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return file;
    }
    describe(&file, info);
    if (file.notRegular) {
        ::close(fd);
        return file;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.fd = fd;
    file.stamp = FileStamp::ofOpen(fd);
    return file;
}
