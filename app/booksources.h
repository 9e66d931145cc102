#ifndef BOOKSOURCES_H
#define BOOKSOURCES_H

#include "book/book.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

namespace Ui {
class QuirevaleClass;
}
class QWidget;

// Where the main window's books come from: a folder, an archive or a PDF
// picked, dropped or named from outside, or several dropped as chapters;
// and the strip above the list that names what a book left out without a
// box to answer first.
class BookSources : public QObject
{
    Q_OBJECT

public:
    BookSources(Ui::QuirevaleClass &ui, QWidget *window);

    // The book of source; when it cannot be listed at all, the user is told
    // and the book has an error.
    Book open(const QString &source, PictureTypes types, bool chapters) const;
    // Several folders and archives as one book's chapters, when the user
    // says so; a book without pages otherwise.
    Book openChapters(const QStringList &sources, PictureTypes types) const;

    // What a drop of urls asks for: one folder, archive or page (its
    // folder), or several folders and archives (chapters); empty for
    // anything else.
    static QStringList sourcesOf(const QList<QUrl> &urls);
    static bool isSource(const QString &path);
    void refuseDrop(const QString &path) const;

    // The strip names what book left out; listed is how many rows it gave.
    void showNotice(const Book &book, int listed);
    void hideNotice();

private:
    Ui::QuirevaleClass &ui;
    QWidget *m_window;
};

#endif // BOOKSOURCES_H
