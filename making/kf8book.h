#ifndef KF8BOOK_H
#define KF8BOOK_H

#include "making/comicinfo.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QSize>
#include <QString>
#include <QVector>

// The records of a fixed-layout Kindle book (KF8, as a .azw3 file holds it)
// made of a book's pages, all but the pictures: the book's header with its
// information (EXTH), the text (one page document a picture, its size the
// picture's), the indexes a reader finds the pages and chapters by, and the
// records that follow the pictures (the page spreads, the text's sections
// and the end). The pictures are records of their own between the two, in
// the pages' order. The same pages and information give the same bytes.
class Kf8Book
{
    Q_DECLARE_TR_FUNCTIONS(Kf8Book)

public:
    struct Page
    {
        QSize size;
        int half = 0;        // 1 or 2: the left or the right half of a cut page
        bool spread = false; // a spread left whole
        QString bookmark;    // a chapter's name, on its first page
    };

    Kf8Book(const ComicInfo &info, const QString &fallbackTitle, const QVector<Page> &pages);

    // Records before the pictures (the header first) and after them.
    // identity makes the book's identifier; modified dates it.
    QVector<QByteArray> recordsBefore(const QByteArray &identity, const QDateTime &modified) const;
    QVector<QByteArray> recordsAfter() const;

    // The picture records' number (in this one the first) as the pages'
    // documents point at it: "kindle:embed:0001".
    static QString pictureLink(int index);
    // "B0" and eight letters or digits from identity: the same for the same
    // book, so that a reader keeps its place and cover across copies.
    static QByteArray asinOf(const QByteArray &identity);
    // The most records a book may have: its pages' pictures and the rest.
    static constexpr int RecordLimit = 0xffff;

private:
    struct Text
    {
        QByteArray bytes;
        QVector<int> skeletonStart, skeletonLength, insertAt, fragmentLength;
    };
    static Text textOf(const QVector<Page> &pages, const QString &title);
    QVector<QByteArray> indexes(int *fragments, int *skeletons) const;
    QByteArray header(const QByteArray &identity, const QDateTime &modified, int textRecords,
                      int ncx, int fragments, int skeletons, int firstPicture) const;
    QByteArray exth(const QByteArray &identity, const QDateTime &modified) const;
    QByteArray spreads() const;

    ComicInfo m_info;
    QString m_title;
    QString m_language;
    QVector<Page> m_pages;
    Text m_text;
};

#endif // KF8BOOK_H
