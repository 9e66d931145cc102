#ifndef EPUBPAGES_H
#define EPUBPAGES_H

#include "pages/pagearchive.h"
#include "pages/pagescan.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// An EPUB of pictures (a fixed-layout comic, or a book this program made) as
// a source of pages: the pictures its spine shows, in the spine's order,
// each read from the archive by its entry number like any archive's page;
// what its package says of the book, as a ComicInfo.xml document. An EPUB
// of text is refused. Only the archive's own entries are ever read: a
// reference that leaves it, or names the web, is named and never followed.
class EpubPages
{
    Q_DECLARE_TR_FUNCTIONS(EpubPages)

public:
    // A page document or the package is a few kilobytes, a package of
    // thousands of pages some hundreds; all of them together stay well
    // within the last.
    static constexpr qint64 DocumentBudget = qint64(4) << 20;
    static constexpr qint64 DocumentsBudget = qint64(64) << 20;
    // Elements, text runs and attributes read in one document, at most.
    static constexpr int TokenLimit = 200000;

    // Whether a file's first bytes are an EPUB's: a ZIP whose first entry
    // is the stored "mimetype" naming application/epub+zip.
    static bool startsAsEpub(const QByteArray &head);

    static PageListing list(const QString &path, const ListingControl &control = {});

    // The same, from an archive's contents already read (path only names
    // the container of the pages' locations).
    static PageListing listFrom(const QString &path, const PageArchive::Contents &contents);

    // Whether an entry of that name is one of the documents an EPUB is
    // listed from.
    static bool isDocumentName(const QString &name);
};

#endif // EPUBPAGES_H
