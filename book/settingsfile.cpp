#include "book/settingsfile.h"

#include "pages/regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

QString SettingsFile::whyNotReplaceable(const QString &path)
{
    struct stat info;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &info) != 0) {
        // Nothing there; a link that names nothing is not followed.
        struct stat link;
        if (errno == ENOENT && ::lstat(name.constData(), &link) == 0)
            return tr("%1 is a link to nothing.").arg(QDir::toNativeSeparators(path));
        return errno == ENOENT ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode))
        return tr("%1 is not a regular file (a device, a pipe, a socket or a folder).")
            .arg(QDir::toNativeSeparators(path));
    return QString();
}

QByteArray SettingsFile::read(const QString &path, qint64 limit, QString *error, bool *absent)
{
    if (absent)
        *absent = false;
    const RegularFile opened = RegularFile::open(path);
    if (opened.fd < 0) {
        if (absent && !opened.notRegular && !QFileInfo::exists(path))
            *absent = true;
        *error = opened.notRegular ? tr("it is not a regular file (a device, a pipe, a socket or "
                                        "a folder)")
                                   : opened.error;
        return QByteArray();
    }
    QFile file;
    if (!file.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened.fd);
        *error = file.errorString();
        return QByteArray();
    }
    if (opened.size > limit) {
        *error =
            tr("it is larger (%1 bytes) than any such file (%2 bytes)").arg(opened.size).arg(limit);
        return QByteArray();
    }
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        *error = tr("it grew past %1 bytes while it was read").arg(limit);
        return QByteArray();
    }
    error->clear();
    return bytes;
}

bool SettingsFile::save(const QString &path, const QByteArray &bytes, QString *error)
{
    *error = whyNotReplaceable(path);
    if (!error->isEmpty())
        return false;
    // QSaveFile writes beside the file a link names, and puts it there in
    // one step; the link stays a link.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString SettingsFile::keepAside(const QString &path)
{
    const QString aside =
        QStringLiteral("%1.unread-%2")
            .arg(path, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0
               ? aside
               : QString();
}

QString SettingsFile::s_unusable;
QString SettingsFile::s_why;

bool SettingsFile::guardUserSettings(const QString &organization, const QString &application)
{
    // Named as Qt names it, without a settings object: making one reads
    // the file, and a pipe there would block right here.
    const QString file =
        QStringLiteral("%1/%2/%3.conf")
            .arg(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                 organization, application);
    QString why = whyNotReplaceable(file);
    if (why.isEmpty()) {
        // A regular file it must be, of a size settings have.
        QString error;
        bool absent = false;
        read(file, qint64(64) << 20, &error, &absent);
        if (absent || error.isEmpty())
            return true;
        why = error;
    }
    // Kept for this run only, in a folder nobody else uses.
    static QTemporaryDir aside;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, aside.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, aside.path());
    s_unusable = file;
    s_why = why;
    return false;
}

QString SettingsFile::guardNotice()
{
    if (s_unusable.isEmpty())
        return QString();
    return tr("The settings file %1 cannot be used: %2. What is set now is not kept.")
        .arg(QDir::toNativeSeparators(s_unusable), s_why);
}
