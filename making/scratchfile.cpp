#include "making/scratchfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

std::unique_ptr<QFile> ScratchFile::open(const QString &folder, QString *error)
{
#ifdef Q_OS_LINUX
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        auto file = std::make_unique<QFile>();
        if (file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle))
            return file;
        ::close(fd);
    }
#endif
    auto file =
        std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral(".pages-XXXXXX")));
    if (file->open())
        return file;
    if (error)
        *error = QCoreApplication::translate("PartialFile", "The book cannot be created in %1: %2")
                     .arg(QDir::toNativeSeparators(folder), file->errorString());
    return nullptr;
}
