#ifndef PAGESCAN_H
#define PAGESCAN_H

#include <QFileInfo>
#include <QString>

// The page files directly inside folder (leading and trailing blanks of the
// path ignored): readable regular files named *.png, *.jpg, *.bmp or *.tif
// in any case, no hidden files, no symbolic links, no sub-folders, in
// natural order. Only directory entries are read; no image is opened.
// A folder that is missing or unreadable gives an empty list.
QFileInfoList listPageFiles(const QString &folder);

#endif // PAGESCAN_H
