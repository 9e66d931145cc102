#ifndef COMICINFO_H
#define COMICINFO_H

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// What comic servers and readers show of a book, written as ComicInfo.xml,
// the archive's last entry, when the user asks for it.
struct ComicInfo
{
    Q_DECLARE_TR_FUNCTIONS(ComicInfo)

public:
    bool write = false; // whether the archive carries it at all
    QString title;
    QString series;
    QString number;  // "12b" is a number too
    int volume = -1; // -1: not given
    int year = -1;
    QString writer;
    QString penciller;
    QString publisher;
    QString languageIso;
    QString summary;
    // How its pages are read, when something says: the user, or the Manga
    // field of the source's own document ("No": left to right).
    enum Direction
    {
        DirectionUnsaid,
        LeftToRight,
        RightToLeft
    };
    Direction direction = DirectionUnsaid;
    // The ComicInfo.xml of the archive the pages come from, as it was: the
    // new one keeps every field of it that is not set above, and replaces
    // its page list.
    QByteArray sourceXml;

    // Title and series from a folder's name, the number from its last
    // number: "Saga 03" is series "Saga", number "3".
    static ComicInfo suggestedFor(const QString &folderName);
    // The fields of a ComicInfo.xml, as the merge keeps them, the document
    // kept as sourceXml; write is set. A document that is not ComicInfo.xml
    // gives nothing (leftOutOf says why).
    static ComicInfo fromXml(const QByteArray &xml);
    // What of a source's ComicInfo.xml the new one cannot keep, and why:
    // elements the schema does not know, a second of one, values it does
    // not allow; or why none of it can be read.
    static QStringList leftOutOf(const QByteArray &xml);
    // The document as text, in the encoding it declares, or without a
    // declaration in UTF-8 or, when it is not, windows-1252.
    static QString decoded(const QByteArray &xml);
    // What a document says of its pages: their count, its page list (each
    // chapter's name by the number of its first page, each page's size by
    // its number) and its Manga field as written. Nothing for a document
    // that cannot be read.
    struct PagesSaid
    {
        int pageCount = -1; // -1: not said
        int listed = 0;     // Page elements
        QMap<int, QString> bookmarks;
        QHash<int, qint64> sizes;
        QString manga;
    };
    static PagesSaid pagesSaidIn(const QByteArray &xml);
    // The fields set here, each over base's: base with what this says.
    ComicInfo over(const ComicInfo &base) const;
};

// What of a listed source's ComicInfo.xml cannot be kept, and why: the
// listing's own trouble reading it, then what ComicInfo::leftOutOf says.
QStringList comicInfoLeftOut(const struct PageListing &scanned);

// One entry of the archive, as the page list of ComicInfo.xml tells it.
struct ComicPage
{
    int width = 0;
    int height = 0;
    qint64 bytes = 0;
    bool doublePage = false; // a spread left whole
    QString bookmark;        // a chapter's name, on its first page
    // Put in so that a spread sits on facing pages: no page of the book.
    bool blank = false;
    // 1 or 2: the left or the right half of a cut page.
    int half = 0;
};

// The ComicInfo.xml document: the fields given (an empty one is left out),
// the page count, the reading direction and one element a page, the first
// the front cover; in the order readers that validate expect. With a
// source document, its other fields are kept as they were.
QByteArray comicInfoXml(const ComicInfo &info, const QVector<ComicPage> &pages);

#endif // COMICINFO_H
