#ifndef BOOK_H
#define BOOK_H

#include "book/buildrequest.h"
#include "making/bookbuild.h"
#include "making/comicinfo.h"
#include "pages/pagescan.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One book as both the window and the command line see it: where its pages
// come from (a folder, an archive, a PDF, or chapters of them), what was
// listed and what was left out, and what it says of itself. Whatever is
// decided about a book is decided here once: the pages to build and the
// chapters they mark, the archive's suggested name, the ComicInfo.xml it
// carries and the report of what it leaves out.
class Book
{
    Q_DECLARE_TR_FUNCTIONS(Book)

public:
    // A page as a front end holds it, in the order the user wants.
    struct Page
    {
        int row = 0;
        PageLocation location;
        PageTreatment treatment = PageTreatment();
        QString chapter = QString();
    };

    // Something the listing left out, said the same way everywhere.
    struct LeftOut
    {
        QString text;
        enum Kind
        {
            Trouble,       // named always
            OtherPictures, // listed when asked for
            Note           // only worth saying when asked to say more than errors
        };
        Kind kind = Trouble;
    };

    Book() = default;
    // The pages of a folder, archive or PDF, told by its content; with
    // chapters, a folder's sub-folders are the chapters of one book. control
    // may stop a long listing (the book then has no pages, and says why).
    static Book open(const QString &source, PictureTypes types, bool chapters = false,
                     const ListingControl &control = {});
    // Several folders and archives as the chapters of one book, named after
    // the folder that holds the first.
    static Book openChapters(const QStringList &sources, PictureTypes types,
                             const ListingControl &control = {});
    // The book of those sources before it is listed: its name and where it
    // goes are known, its pages not.
    static Book unlisted(const QStringList &sources, bool chapters = false);

    // What was opened: the folder, archive or PDF, or the folder of the
    // chapters.
    QString source() const { return m_source; }
    // What it was opened from: the one source, or the chapters' sources.
    QStringList sources() const { return m_sources.isEmpty() ? QStringList{m_source} : m_sources; }
    QString name() const;
    bool hasChapters() const { return m_chapters; }
    // Why nothing could be listed at all; empty when listed.
    QString errorString() const { return m_listing.error; }
    const PageListing &listing() const { return m_listing; }
    const QVector<ListedPage> &pages() const { return m_listing.pages; }

    QVector<LeftOut> leftOut() const;
    bool missesPages() const { return m_listing.missesPages(); }
    // A folder listed on its own whose sub-folders hold pages: how many.
    int chapterFolders() const;
    // A folder listed on its own that has no pages but holds archives,
    // PDFs or EPUBs: those, each a book of its own.
    QStringList booksHeld() const;
    // The books that sources are, each made on its own: a source as it is,
    // a folder of books without pages of its own as those books.
    static QStringList booksOf(const QStringList &sources);

    // The pages of the listing in their order, with their treatments.
    QVector<Page> listedPages(const QHash<QString, PageTreatment> &treatments = {}) const;
    // The pages a build makes of pages, the first page of each chapter
    // marking it in ComicInfo.xml.
    static QVector<BuildPage> buildPages(const QVector<Page> &pages);

    // What the pages of a PDF are taken as, when pages are rendered at
    // resolution: "12 pages are single scans at 300 ppi; 2 pages are
    // rendered at 300 dpi". Empty for a book without PDF pages. Reads each
    // page's structure: not for the GUI thread on a long PDF.
    QString pdfSummary(int resolution) const;

    // Where the archive goes in folder: "<name>.cbz", never the source's own
    // place (a repacked archive would replace what it is read from).
    QString targetIn(const QString &folder, PageOptions::Kind kind = PageOptions::CbzBook) const;
    // The same for a book of that name read from source, before it is
    // opened.
    static QString targetFor(const QString &name, const QString &source, const QString &folder,
                             PageOptions::Kind kind);
    // Where its archive goes when no folder is named: beside the folder,
    // archive or PDF it was opened from.
    QString defaultFolder() const { return defaultFolderOf(m_source); }
    static QString defaultFolderOf(const QString &source);
    // What to do when asked to make it: its target in folder (the default
    // folder when empty), and whether it is made. A book that misses page
    // files, or holds pictures of other types not listed, is refused unless
    // the user said to make it without them.
    BuildRequest request(const QString &folder = QString(), bool withoutMissingPages = false,
                         bool withoutOtherPictures = false,
                         PageOptions::Kind kind = PageOptions::CbzBook) const;

    // The ComicInfo.xml the archive carries, before anyone said anything:
    // the source's own, kept whole, or what the book's name suggests,
    // written when asked.
    ComicInfo comicInfo(bool write) const;
    // What the user wrote in full (the window's dialog), the source's own
    // document kept under it.
    ComicInfo comicInfoEdited(const ComicInfo &edited) const;
    // The fields given one by one (the command line), over comicInfo().
    ComicInfo comicInfoGiven(const ComicInfo &given) const;
    // The options the book is built with: the first half of a cut page is
    // the one read first, when the book says how it is read (right to
    // left: the right half), unless the user chose the half for this
    // build.
    static PageOptions withReadingDirection(PageOptions options, const ComicInfo &info,
                                            bool halfChosen);

    // What a build of pages of this book is made with, the same for the
    // command line and the window's queue: the ComicInfo.xml (the fields
    // given over the book's own, or the user's whole edit) and the options
    // with the book's reading direction.
    struct Plan
    {
        ComicInfo comicInfo;
        PageOptions options;
    };
    Plan plan(const PageOptions &options, const ComicInfo &given, bool edited,
              bool halfChosen) const;

private:
    void takeSourceChapters();

    QString m_source;
    QStringList m_sources; // the chapters', when several were opened as one book
    bool m_chapters = false;
    PictureTypes m_types = PageTypesOnly;
    PageListing m_listing;
};

#endif // BOOK_H
