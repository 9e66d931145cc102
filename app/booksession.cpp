#include "app/booksession.h"

#include "app/pagelist.h"

BookSession::BookSession(PageList *pages, QObject *parent)
    : QObject(parent)
    , m_pages(pages)
{}

int BookSession::setBook(const Book &book)
{
    emit aboutToList();
    m_book = book;
    m_pages->fill(book);
    return m_pages->count();
}

QVector<BuildPage> BookSession::buildPages() const
{
    return Book::buildPages(m_pages->checkedPages());
}

ComicInfo BookSession::comicInfo(bool write) const
{
    const auto edited = m_edited.constFind(m_book.source());
    if (edited != m_edited.cend())
        return m_book.comicInfoEdited(*edited);
    return m_book.comicInfo(write);
}

void BookSession::setComicInfo(const ComicInfo &info)
{
    m_edited.insert(m_book.source(), info);
}
