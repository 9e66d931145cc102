#ifndef BOOKSOURCES_H
#define BOOKSOURCES_H

#include "book/book.h"

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <functional>
#include <memory>

class BookSession;
class PageList;
class QAbstractButton;
class QAction;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMimeData;
class QWidget;

// The book the main window lists, and where it comes from: a folder, an
// archive or a PDF picked, dropped or named from outside, or several
// dropped as chapters. It fills the page list, and names what the book left
// out in the strip above it, without a box to answer first. A folder's
// pages are its directory's entries, listed at once; anything else (an
// archive, a PDF, chapters) is listed away from the GUI thread, and may be
// stopped.
class BookSources : public QObject
{
    Q_OBJECT

public:
    // The widgets it drives: the path of the book shown, the actions that
    // list books, and the strip that says what a book left out.
    struct Widgets
    {
        QLineEdit *path = nullptr;
        QAction *openArchive = nullptr;
        QAction *listEveryType = nullptr;
        QWidget *notice = nullptr;
        QLabel *noticeText = nullptr;
        QAbstractButton *noticeClose = nullptr;
        QAbstractButton *noticeAction = nullptr;
        QAbstractButton *noticeChapters = nullptr;
        QAbstractButton *noticeBooks = nullptr;
    };

    // imagesDir is the window's remembered folder, replaced by each book
    // listed; the book listed goes to session.
    BookSources(const Widgets &widgets, BookSession *session, QString &imagesDir, QWidget *window);
    // A listing under way is stopped and waited for.
    ~BookSources() override;

    // Whether a book is being listed, and stopping it: the list stays as it
    // was.
    bool isListing() const { return m_listing != nullptr; }
    void stopListing();
    // Told on the listing's own thread how far it has got, before it goes
    // on (a test holds a listing there).
    void setListingObserver(const std::function<void(int seen)> &observer)
    {
        m_listingObserver = observer;
    }

    const Book &book() const;
    // What the listed PDF's pages are taken as at resolution, found away
    // from the GUI thread: empty until found, and for other books.
    QString pdfSummary() const { return m_pdfSummary; }
    void summarizePdf(int resolution);
    // The pages of book in the list; their number.
    int show(const Book &book);
    // Lists source, as picked, dropped or named from outside; an archive
    // that cannot be read leaves the list as it is and says why.
    void open(const QString &source, PictureTypes types = PageTypesOnly, bool chapters = false);
    // A folder, an archive or a PDF, or a page file whose folder is meant.
    void openFromOutside(const QString &path);
    // The list just filled from source starts at its first page; a book
    // without pages, and with nothing in the strip to say why, is told so.
    void showListed(int count, const QString &source);
    // Pictures of every type, or the page types unless the menu asks for
    // every type.
    PictureTypes listedTypes(PictureTypes asked = PageTypesOnly) const;

    // Whether a drag may be of something to list: local files.
    static bool mayBeDropped(const QMimeData *data);
    // A folder, an archive or a page dropped is opened (a page, its folder);
    // several folders and archives are told (severalDropped).
    // Anything else leaves the list as it is and says why, once the drop is
    // over (a box inside the drop would hold the other program's drag until
    // answered).
    void drop(QDropEvent *event);

    // Several folders and archives as the chapters of one book; asked
    // first unless the user chose so already.
    void openChapters(const QStringList &sources, bool ask = true);

signals:
    // The list was filled; what may be used follows it.
    void listed();
    // A book began or ended being listed in the background; how far it got.
    void listingChanged(bool listing);
    void listingProgress(int seen);
    // Several folders and archives were dropped: one book of chapters, or
    // books of their own.
    void severalDropped(const QStringList &sources);
    // The folder opened has no pages but holds books: the user would have
    // them queued, one each.
    void booksOffered(const QStringList &books);

private:
    static bool isSource(const QString &path);
    static QStringList sourcesOf(const QList<QUrl> &urls);
    void openArchive();
    void refuseDrop(const QString &path) const;
    void showNotice(int listed);
    // Lists in the background what list gives, then shows it as source's
    // book; a failure is said as failed says it.
    using Failure = std::function<QString(const QString &why)>;
    void listInBackground(const std::function<Book(const ListingControl &)> &list,
                          const QString &source, const Failure &failed);
    void listingEnded(const Book &book, const QString &source, const Failure &failed);

    Widgets ui;
    BookSession *m_session;
    PageList *m_pages;
    QString &m_imagesDir;
    QWidget *m_window;
    QString m_pdfSummary;
    int m_summaryGeneration = 0;
    QFutureWatcher<Book> *m_listing = nullptr;
    std::shared_ptr<std::atomic_bool> m_stopListing;
    std::function<void(int)> m_listingObserver;
    QStringList m_booksHeld; // by the folder on show, which has no pages
};

#endif // BOOKSOURCES_H
