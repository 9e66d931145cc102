#ifndef BOOKSOURCES_H
#define BOOKSOURCES_H

#include "book/book.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

class QDropEvent;
class QMimeData;

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

    // Whether a drag may be of something to list: local files.
    static bool mayBeDropped(const QMimeData *data);
    // A folder, an archive or a page dropped is opened (a page, its folder);
    // several folders and archives, perhaps the chapters of one book.
    // Anything else leaves the list as it is and says why, once the drop is
    // over (a box inside the drop would hold the other program's drag until
    // answered).
    void drop(QDropEvent *event);

signals:
    // A folder, an archive, a PDF or a page dropped, to be opened.
    void dropped(const QString &path);
    void droppedChapters(const QStringList &sources);

public:
    // The strip names what book left out; listed is how many rows it gave.
    void showNotice(const Book &book, int listed);
    void hideNotice();

private:
    static bool isSource(const QString &path);
    static QStringList sourcesOf(const QList<QUrl> &urls);
    void refuseDrop(const QString &path) const;

    Ui::QuirevaleClass &ui;
    QWidget *m_window;
};

#endif // BOOKSOURCES_H
