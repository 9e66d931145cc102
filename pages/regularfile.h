#ifndef REGULARFILE_H
#define REGULARFILE_H

#include "pages/filestamp.h"

#include <QString>
#include <QtGlobal>

// A file opened for reading only when it is a regular file, whatever its
// name was when it was listed: it is opened without waiting (a FIFO would
// block the open itself until a writer came), checked, then made to block
// again for reading.
struct RegularFile
{
    int fd = -1;             // -1: not opened
    bool notRegular = false; // opened, but a pipe, a device or a folder
    QString error;           // why it was not opened, when it was not
    qint64 size = 0;
    FileStamp stamp; // of the file opened

    static RegularFile open(const QString &path);
};

#endif // REGULARFILE_H
