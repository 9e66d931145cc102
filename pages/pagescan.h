#ifndef PAGESCAN_H
#define PAGESCAN_H

#include "pages/pagelocation.h"

#include <QFileInfo>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// A page as the list shows it: its name (a file's name, or its path inside
// an archive), and where its bytes are (a file's absolute path, or a
// PageLocation of an entry).
struct ListedPage
{
    QString name;
    PageLocation location;
    // The sub-folder it was found in when sub-folders are chapters ("Vol 3/
    // Ch 12"); empty otherwise.
    QString chapter = QString();
};

// What a folder or an archive holds for the page list.
struct PageListing
{
    // Readable regular files directly inside the folder named *.png, *.jpg,
    // *.bmp or *.tif in any case; no hidden files, no symbolic links, no
    // sub-folders; in natural order.
    QVector<ListedPage> pages;
    // Page files that cannot be used because their names are not valid
    // text in the system's encoding (bytes from an old system's disk): no
    // path to them can be written down. Shown with the bad bytes replaced.
    QStringList unusableNames;
    // Page files that cannot be read (no permission; in an archive, an
    // encrypted entry, a link or a device). Never left out silently:
    // whoever lists the folder names them, with the reason from
    // unreadableWhy where it is not the lack of permission.
    QStringList unreadable;
    QHash<QString, QString> unreadableWhy;
    // Symbolic links with a page's name: not listed, but named.
    QStringList symlinks;
    // Readable pictures of other types (jpeg, webp, ...), when only the
    // page types are listed: not listed, but counted and named.
    QStringList otherPictures;
    // Archives inside an archive: not opened, but named.
    QStringList archives;
    // An archive's own ComicInfo.xml, as it is (at its top, or in the one
    // folder that holds the book), and why it could not be read when it
    // could not.
    QByteArray comicInfo;
    QString comicInfoProblem;
    // Why the source cannot be listed at all (a damaged archive); empty
    // for a folder.
    QString error;
    // Sub-folders listed as chapters that hold no page: left out, named.
    QStringList emptyChapters;
    // What the source really is, when its name says otherwise (a .cbz that
    // is a RAR); empty when its name is right.
    QString realKind;
    // The listing was stopped before it ran its course (error says so).
    bool stopped = false;
    // Marks it so.
    void stop();

    // The files another listing left out and named, joined to these, each
    // name after prefix.
    void addLeftOut(const PageListing &part, const QString &prefix = QString());
    // A page file named unreadable, and why it cannot be read.
    void addUnreadable(const QString &name, const QString &why);
    QString whyUnreadable(const QString &name) const;
    // Whether pages were found that cannot go in: the book would miss them.
    bool missesPages() const { return !unreadable.isEmpty() || !unusableNames.isEmpty(); }
};

// What may stop a listing under way (a large archive or PDF takes a while)
// and who is told how far it has got.
struct ListingControl
{
    const std::atomic_bool *stop = nullptr;
    // The entries or pages gone through so far, now and then.
    std::function<void(int seen)> progress = {};

    // Told every so many entries; false once the listing is to stop.
    bool goOn(int seen) const;
    // Why a listing stopped short.
    static QString stoppedReason();
};

enum PictureTypes
{
    PageTypesOnly,   // jpg, png, bmp and tif
    EveryPictureType // and every other type this program reads
};

// Reads the directory entries of folder, exactly as named (nothing is
// trimmed); no image is opened. A folder that is missing or unreadable
// gives nothing.
PageListing scanPageFolder(const QString &folder, PictureTypes types = PageTypesOnly);

// A folder whose pages sit in sub-folders, as one book: its own pages
// first, then each sub-folder's (and theirs, up to six levels down: "Vol 3/Ch
// 12"), the sub-folders in natural order, each page named by its path
// below folder and marked with its chapter. Sub-folders that cannot be
// listed (links, names that are not text, no permission, too deep) are named
// as unreadable or unusable: a book must not miss them without a word.
PageListing scanChapters(const QString &folder, PictureTypes types = PageTypesOnly,
                         const ListingControl &control = {});
// How many sub-folders of folder hold pages.
int chapterCount(const QString &folder, PictureTypes types = PageTypesOnly);

// The extensions of page files, in lower case ("jpg", ...): the file types
// listed, in the order they are named to the user.
const QStringList &pageFileTypes();
// The same, as "jpg, png, bmp, tif" with the separator given.
QString pageFileTypeList(const QString &separator);

// The extensions of every other picture type that Qt and its plugins read
// (jpeg, webp, gif, avif, jxl, heic, ...), in lower case and in order; never
// a vector or page-description type (see isRefusedFormat).
const QStringList &otherPictureTypes();
// Whether a format Qt or a plugin may read is never taken as a page: vector
// pictures (SVG) can name other files to draw, and PostScript is run by an
// outside interpreter. A page never reads anything but its own bytes.
bool isRefusedFormat(const QByteArray &format);
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
