#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The files the program keeps what it remembers in (its settings with the
// presets, the queue), read and written only as regular files: read whole
// within a size, never from a pipe that would block the start or a device
// that never ends; written through a partial file put in place in one step,
// over nothing or a regular file (the one a link names, as Qt's own
// settings do), never over a device, a pipe, a socket or a folder.
class SettingsFile
{
    Q_DECLARE_TR_FUNCTIONS(SettingsFile)

public:
    // Why path may not be written over; empty when nothing is there or a
    // regular file is (through links).
    static QString whyNotReplaceable(const QString &path);
    // The bytes of path, read whole when it is a regular file of at most
    // limit bytes; else empty, and error says why (absent: nothing is there).
    static QByteArray read(const QString &path, qint64 limit, QString *error,
                           bool *absent = nullptr);
    // bytes saved at path, or at the file a link there names, in one step.
    // False when they are not, and error says why.
    static bool save(const QString &path, const QByteArray &bytes, QString *error);
    // Puts a file that cannot be read whole aside, beside it, so that it is
    // not written over: its new name; empty when it could not be moved.
    static QString keepAside(const QString &path);

    // Checks the settings file of that organization and application before
    // anything reads it: when it is not a regular file of a size settings
    // have, the settings of this run are kept in a folder of their own, so
    // that nothing blocks on it or writes over it, and the text returned
    // says so (empty when all is well), in the language in force when it is
    // asked for. Called once at start.
    static bool guardUserSettings(const QString &organization, const QString &application);
    static QString guardNotice();

private:
    static QString s_unusable;
    static QString s_why;
};

#endif // SETTINGSFILE_H
