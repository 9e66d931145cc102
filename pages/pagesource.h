#ifndef PAGESOURCE_H
#define PAGESOURCE_H

#include "pages/pagescan.h"

#include <QString>
#include <QStringList>

// Where the pages of a book come from: a folder, a comic archive, a PDF or
// an EPUB of pictures.

// What a source is, told by its content.
enum class SourceKind
{
    Folder,
    Archive, // ZIP, RAR, 7z or tar (plain or compressed)
    Pdf,
    Epub,  // a ZIP that says it is an EPUB in its first entry
    Other, // anything else, or a file that cannot be opened
};

// What path holds, told by its first bytes: a RAR named .cbz is an archive,
// a PDF named .cbz a PDF. A file that cannot be read (or is no regular
// file) is told by its name, so that its listing says why it cannot be.
SourceKind sourceKindOf(const QString &path);

// Whether path is a file whose pages are listed: an archive, a PDF or an
// EPUB.
bool isBookFile(const QString &path);
// The archives, PDFs and EPUBs that a folder holds beside no page of its
// own (a shelf, each of whose books is made on its own), in natural order
// of their names, at most limit of them; empty for a folder that has pages.
QStringList booksOnShelf(const QString &folder, int limit);
// What a book is called after its source: the folder's name, or the file's
// without its extension.
QString bookNameOf(const QString &source);
// What the book's title is taken from: its name, after the name of the
// folder that holds it when its own names only a part of a series ("Vol
// 01", "Ch 3" in "Harbor Tales").
QString bookTitleOf(const QString &source);
// The pages of a folder, or of the archive or PDF that path names.
PageListing scanPageSource(const QString &path, PictureTypes types = PageTypesOnly,
                           const ListingControl &control = {});

// Several folders, archives or PDFs as the chapters of one book, in
// natural order of their names, each chapter named after its source. The
// first source that cannot be read gives its reason in error.
PageListing scanSourcesAsChapters(const QStringList &sources, PictureTypes types = PageTypesOnly,
                                  const ListingControl &control = {});

#endif // PAGESOURCE_H
