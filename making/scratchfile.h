#ifndef SCRATCHFILE_H
#define SCRATCHFILE_H

#include <QFile>
#include <QString>

#include <memory>

// A file to hold what a book needs again before it is finished (its pages'
// bytes), in the book's own folder, where the book's size is known to fit,
// never in memory. It has no name where the system allows (a crash leaves
// nothing behind) and is removed when closed.
struct ScratchFile
{
    // Null when none can be made; error then says why.
    static std::unique_ptr<QFile> open(const QString &folder, QString *error);
};

#endif // SCRATCHFILE_H
