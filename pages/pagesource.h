#ifndef PAGESOURCE_H
#define PAGESOURCE_H

#include "pages/pagescan.h"

#include <QString>

// Where the pages of a book come from: a folder, a comic archive or a PDF.

// Whether path is a file whose pages are listed: an archive or a PDF.
bool isBookFile(const QString &path);
// What a book is called after its source: the folder's name, or the file's
// without its extension.
QString bookNameOf(const QString &source);
// The pages of a folder, or of the archive or PDF that path names.
PageFolder scanPageSource(const QString &path, PictureTypes types = PageTypesOnly);

// Several folders, archives or PDFs as the chapters of one book, in
// natural order of their names, each chapter named after its source. The
// first source that cannot be read gives its reason in error.
PageFolder scanSourcesAsChapters(const QStringList &sources, PictureTypes types = PageTypesOnly);

#endif // PAGESOURCE_H
