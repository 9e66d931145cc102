#include "making/partialfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const int NameLimit = 255; // bytes in one name, on every common file system

// Puts the file's data on the disk before its name replaces an older file,
// so that a power cut cannot leave an empty archive where a good one was.
bool syncToDisk(const QString &fileName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fileName);
    return true; // the move below writes through
#else
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && ::fsync(file.handle()) == 0;
#endif
}

// Moves from over to, replacing to in one step where the system allows it;
// without replace, the move itself refuses when to exists, so that a file
// that appeared since anyone looked is never lost.
bool moveFile(const QString &from, const QString &to, bool replace)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH);
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (replace)
        return std::rename(source.constData(), target.constData()) == 0;
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that flag: a new link fails as well when the
    // name is taken.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
#endif
}

// Locks the partial file of that name through a descriptor of its own, held
// until the file has its final name or is gone: closing the archive's own
// handle must not let another process's clean-up take it. -1 when the file
// is not the one just made any more (a clean-up took it before the lock).
int lockPartial(const QString &fileName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fileName);
    return 0;
#else
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return -1;
    // Where the file system has no locks, nothing can be told apart anyway.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return -1;
    }
    return fd;
#endif
}

void unlockPartial(int fd)
{
#ifndef Q_OS_WIN
    if (fd >= 0)
        ::close(fd);
#else
    Q_UNUSED(fd);
#endif
}

// The longest name the target's folder takes, in bytes.
qint64 nameLimitOf(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return NameLimit;
#else
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : NameLimit;
#endif
}
} // namespace

// The partial file. It keeps the first write error: a writer that seeks
// back to fill in a header (QuaZip after each entry) clears the error QFile
// would otherwise still report.
class PartialFile::File : public QFile
{
public:
    QString firstError;

protected:
    // A short write is tried again for the rest, so that what stopped it
    // (a full disk, a size limit) is named by the system's own error.
    qint64 writeData(const char *data, qint64 length) override
    {
        qint64 written = 0;
        while (written < length) {
            const qint64 now = QFile::writeData(data + written, length - written);
            if (now <= 0) {
                if (firstError.isEmpty())
                    firstError = errorString();
                return written > 0 ? written : now;
            }
            written += now;
        }
        return written;
    }
};

PartialFile::PartialFile()
    : m_file(std::make_unique<File>())
{}

PartialFile::~PartialFile()
{
    discard();
}

QFile *PartialFile::file() const
{
    return m_file.get();
}

bool PartialFile::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

QString PartialFile::fileError(const QString &what) const
{
    if (!m_file->firstError.isEmpty())
        return tr("%1: %2").arg(what, m_file->firstError);
    if (m_file->error() != QFileDevice::NoError)
        return tr("%1: %2").arg(what, m_file->errorString());
    return what;
}

bool PartialFile::writeFailed() const
{
    return !m_file->firstError.isEmpty() || m_file->error() != QFileDevice::NoError;
}

QString PartialFile::partialNameFor(const QString &target, const QString &tag)
{
    const QFileInfo info(target);
    const QString decoration = QStringLiteral("..%1.part").arg(tag);
    const int room = NameLimit - QFile::encodeName(decoration).size();
    QString name = info.fileName();
    // Shortened by whole characters, never inside a surrogate pair.
    while (QFile::encodeName(name).size() > room) {
        name.chop(1);
        if (!name.isEmpty() && QChar(name.back()).isHighSurrogate())
            name.chop(1);
    }
    return info.dir().filePath(QStringLiteral(".%1.%2.part").arg(name, tag));
}

// Creates an empty file of a name nobody uses yet, in the target's folder,
// so that the final move is a rename on the same file system.
bool PartialFile::create()
{
    const QFileInfo info(m_target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString tag = QString::number(QRandomGenerator::global()->generate(), 36);
        m_partial = partialNameFor(m_target, tag);
        m_file->setFileName(m_partial);
        // Unbuffered: a write that fails (a full disk) fails at once, where
        // it can be seen, not in a flush nobody checks.
        if (m_file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            m_lock = lockPartial(m_partial);
            if (m_lock >= 0)
                return true;
            m_file->close();
            continue;
        }
        if (m_file->error() != QFileDevice::OpenError || !QFileInfo::exists(m_partial))
            break;
    }
    m_partial.clear();
    return fail(tr("The book cannot be created in %1: %2")
                    .arg(QDir::toNativeSeparators(info.path()), m_file->errorString()));
}

bool PartialFile::checkTargetName()
{
    const QFileInfo info(m_target);
    const qint64 length = QFile::encodeName(info.fileName()).size();
    const qint64 limit = nameLimitOf(info.path());
    if (length > limit)
        return fail(
            tr("The name %1 is too long for its folder's file system (%2 bytes; at most %3).")
                .arg(info.fileName())
                .arg(length)
                .arg(limit));
    return true;
}

void PartialFile::removeStalePartials(const QString &target)
{
#ifdef Q_OS_UNIX
    const QFileInfo info(target);
    const QDir dir = info.dir();
    const QStringList parts =
        dir.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : parts) {
        const QStringList pieces = name.split(QLatin1Char('.'));
        if (pieces.size() < 4)
            continue;
        const QString path = dir.filePath(name);
        if (partialNameFor(info.absoluteFilePath(), pieces.at(pieces.size() - 2)) !=
            QFileInfo(path).absoluteFilePath())
            continue;
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(QFile::encodeName(path).constData());
        ::close(fd);
    }
#else
    Q_UNUSED(target);
#endif
}

bool PartialFile::open(const QString &fileName)
{
    discard();
    m_error.clear();
    m_target = QFileInfo(fileName).absoluteFilePath();
    if (!QFileInfo(m_target).dir().exists())
        return fail(tr("The folder %1 does not exist.")
                        .arg(QDir::toNativeSeparators(QFileInfo(m_target).path())));
    if (!checkTargetName())
        return false;
    removeStalePartials(m_target);
    return create();
}

bool PartialFile::commit(bool replace)
{
    if (m_partial.isEmpty())
        return fail(tr("The book was not started."));
    m_file->close();
    bool done = !writeFailed() || fail(fileError(tr("The book cannot be finished")));
    if (done && !syncToDisk(m_partial))
        done = fail(tr("The book cannot be saved to the disk: %1")
                        .arg(QString::fromLocal8Bit(strerror(errno))));
    if (done && !moveFile(m_partial, m_target, replace))
        done =
            fail(errno == EEXIST ? tr("%1 appeared while the book was made; it is left as it is.")
                                       .arg(QDir::toNativeSeparators(m_target))
                                 : tr("The book cannot be renamed to %1: %2")
                                       .arg(QDir::toNativeSeparators(m_target),
                                            QString::fromLocal8Bit(strerror(errno))));
    if (!done) {
        discard();
        return false;
    }
    m_partial.clear();
    unlockPartial(m_lock);
    m_lock = -1;
    return true;
}

void PartialFile::discard()
{
    if (m_file->isOpen())
        m_file->close();
    m_file->firstError.clear();
    m_file->unsetError();
    if (!m_partial.isEmpty()) {
        QFile::remove(m_partial);
        m_partial.clear();
    }
    unlockPartial(m_lock);
    m_lock = -1;
}
