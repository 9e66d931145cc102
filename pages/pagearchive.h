#ifndef PAGEARCHIVE_H
#define PAGEARCHIVE_H

#include "pages/pagescan.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <atomic>

// Comic archives as sources of pages, read with libarchive: CBZ/ZIP,
// CBR/RAR (4 and 5), CB7/7z and CBT/tar. Nothing is ever extracted to disk:
// entries are found by their number, their names are only shown and sorted.
// What an archive's header claims is not believed: a page entry is read
// through the same budget as a page file, and never past EntryBudget.
class PageArchive
{
    Q_DECLARE_TR_FUNCTIONS(PageArchive)

public:
    // No page comes near it; an entry that claims or holds more is refused.
    static constexpr qint64 EntryBudget = qint64(256) << 20;
    // More entries than any book has; an archive of more is refused.
    static constexpr int EntryLimit = 65536;
    // ComicInfo.xml is a few kilobytes; a long summary in many languages
    // may make it a few hundred.
    static constexpr qint64 ComicInfoBudget = qint64(4) << 20;

    // Whether a file of that name is opened as an archive (by its extension).
    static bool isArchiveName(const QString &name);

    // The archive's pages in natural order of their paths inside it (the
    // files of a folder before its sub-folders), each location made with
    // PageLocation: pictures of every type this program reads, for an
    // archive is a book already and all its pictures are its pages. Its
    // ComicInfo.xml, when it has one at its top; archives inside it and
    // entries that cannot be read, named. An archive that cannot be listed
    // gives its reason in error.
    static PageFolder list(const QString &path);

    // The bytes of the entry numbered index, read whole; empty when it cannot
    // be read, and error then says why. Entries read in order from the same
    // archive are found without reading it again from its start. Any thread.
    // The entry must still be called name (when given): an archive
    // rewritten since it was listed fails, saying so. A RAR 4 entry's
    // bytes are checked against its CRC (libarchive checks the others').
    static QByteArray read(const QString &path, int index, const QString &name, QString *error,
                           const std::atomic_bool *stop = nullptr);

private:
    static QByteArray readEntry(const QString &path, int index, const QString &name,
                                QString *error, const std::atomic_bool *stop);
    static bool checkName(const QString &name, const QString &expected, int index,
                          QString *error);
};

#endif // PAGEARCHIVE_H
