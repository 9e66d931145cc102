#ifndef PACKAGER_H
#define PACKAGER_H

#include "making/comicinfo.h"
#include "making/packedentry.h"
#include "making/pageoptions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// What a book is packed as, one packager a kind: a CBZ, an EPUB, a Kobo
// EPUB, a Kindle book, a PDF. A build hands its packager each page's picture in reading order,
// then asks it to finish; the packager writes a partial file beside the
// book's name and puts it in place only when it is whole, so that a file of
// that name stays as it was until then. Every failure leaves its reason in
// errorString().
class Packager
{
    Q_DECLARE_TR_FUNCTIONS(Packager)

public:
    // What the book says of itself, known before its first page.
    struct Book
    {
        ComicInfo comicInfo;
        // What it is called when it says no title: its file's name
        // without the kind's suffix.
        QString name;
        // When it last changed (its newest page file): the same pages give
        // the same book, byte for byte.
        QDateTime modified;
    };

    // What a kind of book is and holds.
    struct Kind
    {
        PageOptions::Kind kind;
        const char *title;  // what it is called: "CBZ", "EPUB"
        const char *suffix; // of its file's name
        // The picture types a page may go in as its file is ("jpg", "png",
        // "webp", "gif"): those its readers show.
        QStringList keptTypes;
        // Whether its pages may be WebP; if not, a book of WebP pages is
        // refused before anything is made.
        bool webpPages;
        // Whether its pages are ZIP entries (deflated or stored as the
        // options say, a ZIP page copied as it is).
        bool zipEntries;
        // Whether every page it holds is JPEG: pages the options would
        // write as WebP are written as JPEG, and the report says so.
        bool jpegPages = false;
    };
    // Every kind, in the order of PageOptions::Kind; a title in the
    // current language is tr(title).
    static const QVector<Kind> &kinds();
    static const Kind &kind(PageOptions::Kind kind);
    static QString suffixOf(PageOptions::Kind kind);
    // The packager of the options' kind; one that makes parts when the
    // options set a largest size.
    static std::unique_ptr<Packager> make(const PageOptions &options);
    // The packager of the options' kind alone.
    static std::unique_ptr<Packager> ofKind(const PageOptions &options);

    virtual ~Packager() = default;

    // Starts the book that will be named fileName. False when it cannot.
    [[nodiscard]] virtual bool begin(const QString &fileName, const Book &book) = 0;
    // The next page's picture, packed already, and what it is.
    [[nodiscard]] virtual bool addPage(const PackedEntry &entry, const ComicPage &page) = 0;
    // A document of the book after its pages (ComicInfo.xml), deflated.
    [[nodiscard]] virtual bool addDocument(const QString &name, const QByteArray &data) = 0;
    // Writes what describes the book from its pages (its information, its
    // table of contents) and gives the file the book's name, replacing a
    // file there only when replace is set. Nothing is left behind when it
    // fails.
    [[nodiscard]] virtual bool finish(bool replace) = 0;
    // Drops the partial file; errorString() keeps the reason.
    virtual void abandon() = 0;

    // The pages added so far, as the book holds them.
    const QVector<ComicPage> &pages() const { return m_pages; }
    int pageCount() const { return m_pages.size(); }
    // The name each page has in the book, in order.
    const QStringList &pageNames() const { return m_pageNames; }
    // What the user should know of the book as the kind holds it (a value
    // it cannot carry as it was given), once it is finished.
    const QStringList &notes() const { return m_notes; }
    // The files made, once finished, when they are not the one named (a
    // book made as parts); empty otherwise.
    const QStringList &files() const { return m_files; }
    virtual QString errorString() const = 0;

protected:
    Book m_book;
    QVector<ComicPage> m_pages;
    QStringList m_pageNames;
    QStringList m_notes;
    QStringList m_files;
};

#endif // PACKAGER_H
