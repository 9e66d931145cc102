#ifndef EPUBPACKAGE_H
#define EPUBPACKAGE_H

#include "making/comicinfo.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>
#include <QVector>

// The documents of a fixed-layout EPUB 3 made of a book's pages: one XHTML
// page a picture, each its picture's size, the package document with the
// book's ComicInfo as its metadata, the navigation by chapters, and the
// container that points at the package. Everything is escaped as XML
// wants, control characters dropped; the same pages and information give
// the same bytes.
class EpubPackage
{
    Q_DECLARE_TR_FUNCTIONS(EpubPackage)

public:
    // One page of the book, in reading order.
    struct Page
    {
        QString image; // the picture's name in the package's image folder
        QSize size;
        // 1 or 2: the left or the right half of a cut page; 0 for a page of
        // its own.
        int half = 0;
        bool spread = false; // a spread left whole
        QString bookmark;    // a chapter's name, on its first page
    };

    EpubPackage(const ComicInfo &info, const QString &fallbackTitle, const QVector<Page> &pages);

    // Kobo's reader takes a book for fixed layout from its display options
    // as well as from the package, and its e-ink reader only from them when
    // the book came in by cable: a Kobo EPUB carries both.
    void setForKobo(bool kobo) { m_kobo = kobo; }
    static constexpr const char *KoboOptions = "META-INF/com.kobobooks.display-options.xml";

    // Where the pictures go in the package: "OEBPS/images/<name>".
    static constexpr const char *ImageFolder = "OEBPS/images/";
    static QString imagePath(const QString &name);
    // The first entry's content: what the archive is.
    static QByteArray mimetype() { return QByteArrayLiteral("application/epub+zip"); }
    static QString mediaTypeOf(const QString &name);
    // Every document but the pictures, in the order they go into the
    // archive: the mimetype first (stored, as readers want), then the
    // container, the style, the pages, the navigation and the package.
    // identity makes the book's identifier (the same for the same book and
    // options); modified is when it was last changed.
    QList<QPair<QString, QByteArray>> documents(const QByteArray &identity,
                                                const QDateTime &modified) const;

    // The side of a reader's pair the page at index goes on, in the
    // spine's words; empty for none. The first page shows alone, as a cover
    // does; a half goes on its own side, a spread left whole across both.
    static QString spreadSide(int index, const Page &page);

    // Whether a language is a well-formed tag; one that is not is written
    // as undetermined.
    static bool isLanguageTag(const QString &tag);
    // A number's place in a series, written as a decimal ("12", "7.5");
    // empty for a number that is none ("12b", "inf", "1e9").
    static QString seriesPosition(const QString &number);
    // What the book said that its package could not say as it was said.
    QStringList notes() const;

    QByteArray pageDocument(int index) const;
    QByteArray navigation() const;
    QByteArray package(const QByteArray &identity, const QDateTime &modified) const;

    // The book's title: its own, or its series and number, or its file's
    // name; and its language, "und" for a tag that is none.
    QString title() const;
    QString language() const;
    // Text as XML 1.0 and every reader take it: control characters, lone
    // surrogates and non-characters dropped, the ends trimmed.
    static QString plainText(const QString &text);

private:
    ComicInfo m_info;
    QString m_fallbackTitle;
    QVector<Page> m_pages;
    bool m_kobo = false;
};

#endif // EPUBPACKAGE_H
