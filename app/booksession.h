#ifndef BOOKSESSION_H
#define BOOKSESSION_H

#include "book/book.h"
#include "making/comicinfo.h"

#include <QHash>
#include <QObject>
#include <QVector>

class PageList;

// The book the window works on, one object its parts share: the book
// listed, its pages as the list holds them (their order, checks and own
// treatments), and what the user wrote of it in Comic information this
// session.
class BookSession : public QObject
{
    Q_OBJECT

public:
    BookSession(PageList *pages, QObject *parent);

    const Book &book() const { return m_book; }
    // The list shows book's pages; their number.
    int setBook(const Book &book);
    PageList *pages() const { return m_pages; }
    // The pages checked, in the list's order, as a build takes them.
    QVector<BuildPage> buildPages() const;

    // The ComicInfo.xml the book carries: what the user wrote of it this
    // session, or what it says of itself or its name suggests, written
    // when write.
    ComicInfo comicInfo(bool write) const;
    void setComicInfo(const ComicInfo &info);

signals:
    // Another book is about to be listed: what was read of the last goes.
    void aboutToList();

private:
    Book m_book;
    PageList *m_pages;
    // By the book's source: a book listed again keeps what was written.
    QHash<QString, ComicInfo> m_edited;
};

#endif // BOOKSESSION_H
