#ifndef FILESTAMP_H
#define FILESTAMP_H

#include <QString>
#include <QtGlobal>

// What tells a file from the one read before, "has it changed since it was
// listed": its size, its time of change to the nanosecond, and which file
// it is on which device (a file replaced by another of the same size and
// second is another file). Invalid when the file cannot be looked at.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = -1; // nanoseconds
    quint64 inode = 0;
    quint64 device = 0;

    // What path names now, without opening it.
    static FileStamp of(const QString &path);
    // The file open as fd.
    static FileStamp ofOpen(int fd);

    bool isValid() const { return size >= 0; }
    bool operator==(const FileStamp &other) const
    {
        return size == other.size && modified == other.modified && inode == other.inode &&
               device == other.device;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};

#endif // FILESTAMP_H
