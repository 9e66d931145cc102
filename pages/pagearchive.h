#ifndef PAGEARCHIVE_H
#define PAGEARCHIVE_H

#include "pages/pagescan.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>

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
    static PageListing list(const QString &path, const ListingControl &control = {});

    // What an archive holds, entry by entry, with the bytes of the small
    // documents asked for, read in the same one pass: a book whose pages are
    // named by documents inside it (an EPUB) is listed without reading the
    // archive once a document.
    struct Contents
    {
        struct Entry
        {
            QString name;
            int index = -1;
            bool regular = false; // neither a folder, a link nor a device
            bool encrypted = false;
            qint64 size = -1; // uncompressed, as its header says; -1 when it says none
            // How a ZIP's entry is packed (0 stored, 8 deflated, 9
            // Deflate64, ...), as its index says; -1 for other archives.
            int zipMethod = -1;
        };
        QVector<Entry> entries;
        QHash<QString, QByteArray> documents;   // by name
        QHash<QString, QString> documentErrors; // why one asked for is not read
        QString error;                          // why the archive cannot be listed
        bool stopped = false;                   // before the end of its entries
        // What the archive is, told by its content: "ZIP", "RAR", "7z",
        // "tar"; empty when it cannot be told.
        QString format;
    };
    // Each document wanted is read up to eachBudget bytes, and all of them
    // together up to allBudget.
    static Contents contents(const QString &path,
                             const std::function<bool(const QString &name)> &wanted,
                             qint64 eachBudget, qint64 allBudget,
                             const ListingControl &control = {});

    // The bytes of the entry numbered index, read whole; empty when it cannot
    // be read, and error then says why. Entries read in order from the same
    // archive are found without reading it again from its start. Any thread.
    // The entry must still be called name (when given): an archive
    // rewritten since it was listed fails, saying so. A RAR entry's
    // bytes are checked against its CRC (libarchive checks only packed ones).
    // reserve, when given, is told the bytes the entry will take before
    // they are read (or, when the archive does not say, once they are).
    static QByteArray read(const QString &path, int index, const QString &name, QString *error,
                           const std::atomic_bool *stop = nullptr,
                           const std::function<void(qint64)> &reserve = {},
                           qint64 budget = EntryBudget);

    // The bytes of entries passed on the way to another that are kept for
    // the threads that will ask for them (256 MB unless told otherwise; a
    // program that reads one page only keeps none).
    static void setPassedEntriesBudget(qint64 bytes);

private:
    static QByteArray readEntry(const QString &path, int index, const QString &name, QString *error,
                                const std::atomic_bool *stop,
                                const std::function<void(qint64)> &reserve, qint64 budget);
    static QString namedOtherwise(const QString &path, int format);
    static QString formatName(int format);
    static void takeZipMethods(const QString &path, Contents *contents);
    static QString endError(const QString &path, int fd, int format, int entries);
    static bool checkName(const QString &name, const QString &expected, int index, QString *error);
};

#endif // PAGEARCHIVE_H
