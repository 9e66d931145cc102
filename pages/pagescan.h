#ifndef PAGESCAN_H
#define PAGESCAN_H

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVector>

// A page as the list shows it: its name (a file's name, or its path inside
// an archive), and where its bytes are (a file's absolute path, or a
// PageLocation of an entry).
struct ListedPage
{
    QString name;
    QString location;
    // The sub-folder it was found in when sub-folders are chapters ("Vol 3/
    // Ch 12"); empty otherwise.
    QString chapter = QString();
};

// What a folder or an archive holds for the page list.
struct PageFolder
{
    // Readable regular files directly inside the folder named *.png, *.jpg,
    // *.bmp or *.tif in any case; no hidden files, no symbolic links, no
    // sub-folders; in natural order.
    QVector<ListedPage> pages;
    // Page files that cannot be used because their names are not valid
    // text in the system's encoding (bytes from an old system's disk): no
    // path to them can be written down. Shown with the bad bytes replaced.
    QStringList unusableNames;
    // Page files that cannot be read (no permission). Never left out
    // silently: whoever lists the folder names them.
    QStringList unreadable;
    // Symbolic links with a page's name: not listed, but named.
    QStringList symlinks;
    // Readable pictures of other types (jpeg, webp, ...), when only the
    // page types are listed: not listed, but counted and named.
    QStringList otherPictures;
    // Archives inside an archive: not opened, but named.
    QStringList archives;
    // An archive's own ComicInfo.xml, as it is.
    QByteArray comicInfo;
    // Why the source cannot be listed at all (a damaged archive); empty
    // for a folder.
    QString error;
    // Sub-folders listed as chapters that hold no page: left out, named.
    QStringList emptyChapters;

    // The files another listing left out and named, joined to these, each
    // name after prefix.
    void addLeftOut(const PageFolder &part, const QString &prefix = QString());
};

enum PictureTypes
{
    PageTypesOnly,   // jpg, png, bmp and tif
    EveryPictureType // and every other type this program reads
};

// Reads the directory entries of folder, exactly as named (nothing is
// trimmed); no image is opened. A folder that is missing or unreadable
// gives nothing.
PageFolder scanPageFolder(const QString &folder, PictureTypes types = PageTypesOnly);

// A folder whose pages sit in sub-folders, as one book: its own pages
// first, then each sub-folder's (and theirs, two levels down: "Vol 3/Ch
// 12"), the sub-folders in natural order, each page named by its path
// below folder and marked with its chapter.
PageFolder scanChapters(const QString &folder, PictureTypes types = PageTypesOnly);
// How many sub-folders of folder (two levels down) hold pages.
int chapterCount(const QString &folder, PictureTypes types = PageTypesOnly);

// The extensions of page files, in lower case ("jpg", ...): the file types
// listed, in the order they are named to the user.
const QStringList &pageFileTypes();
// The same, as "jpg, png, bmp, tif" with the separator given.
QString pageFileTypeList(const QString &separator);

// The extensions of every other picture type that Qt and its plugins read
// (jpeg, webp, gif, avif, jxl, heic, ...), in lower case and in order.
const QStringList &otherPictureTypes();
// The distinct extensions of names, in lower case and in order.
QStringList pictureTypesOf(const QStringList &names);

// What a name says of a file, by its extension.
enum class NameKind
{
    None,
    Page,         // one of the four page types
    OtherPicture, // another picture type this program reads
};
NameKind kindOfName(const QString &name);

// Whether a file of that name is listed as a page (by its extension).
bool isPageFileName(const QString &name);

#endif // PAGESCAN_H
