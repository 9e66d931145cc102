#ifndef BOOKJOB_H
#define BOOKJOB_H

#include "book/book.h"
#include "book/bookoptions.h"
#include "book/buildrequest.h"
#include "book/sizereport.h"
#include "making/bookbuild.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>
#include <optional>

// Making one book, whoever asked for it (the command line, the queue, the
// window, a clean copy of a book checked): given its sources, the options
// and what the user said of it, it opens the book (lists its pages),
// asks it what is to be made and where, plans it and builds it, and says
// how it went: made, made without some of it (what), refused (why), failed
// (why), skipped or stopped, with what each page became and what the book
// weighs. Any thread may run it, one run at a time; kill() from any thread
// stops every long step, the listing of a large archive or PDF included.
class BookJob : public QObject
{
    Q_OBJECT

public:
    enum Result
    {
        Made,
        MadeWithoutSome, // without files or pages it names (leftOut())
        Refused,         // it misses pages or holds pictures not listed (errorStrings())
        Failed,
        Skipped, // its book exists, and was to be left alone
        Stopped
    };
    Q_ENUM(Result)

    // Why it failed, for a front end that has more to say than the reason.
    enum Failure
    {
        NoFailure,
        SourceUnreadable,
        NoPages,       // nothing listed, or nothing that can be used
        SourceChanged, // a page chosen when it was queued is gone
        TargetExists,
        TargetFolder, // the folder of its book cannot be made
        BuildFailed
    };

    // What it may be made without, when the user said so.
    enum Without
    {
        MissingFiles = 1,    // page files that are there but cannot be used
        OtherPictures = 2,   // pictures of other types, not listed
        UnreadablePages = 4, // pages found damaged while it is made
        LaterFrames = 8      // an animation's frames after its first
    };

    explicit BookJob(QObject *parent = nullptr);
    // A run on another thread is stopped and waited for.
    ~BookJob() override;

    // Where its pages come from: a folder, an archive, a PDF or an EPUB
    // (with chapters, a folder's sub-folders as its chapters); several, the
    // chapters of one book.
    void setSources(const QStringList &sources, bool chapters = false);
    // The book listed already (the window's).
    void setBook(const Book &book);
    // Its pages as the user has them (the window's list): their order,
    // rows and own treatments. By default every page listed.
    void setPages(const QVector<Book::Page> &pages);
    // Its pages by name, in this order (the queue's); a name no longer
    // listed fails it.
    void setPageNames(const QStringList &names);
    // An archive's sub-folders, where it says no chapters of its own, are
    // its chapters: each folder's first page marks one.
    void setFoldersAsChapters(bool chapters) { m_foldersAsChapters = chapters; }
    // Pages' own treatments, by name; once open, the pages take them.
    void setTreatments(const QHash<QString, PageTreatment> &treatments);
    void setOptions(const BookOptions &options);
    // What the user said of it: fields given over its own, or (edited) the
    // whole of it.
    void setComicInfo(const ComicInfo &given, bool edited = false);
    // The half of a cut page that comes first was chosen for this book:
    // what the book says of its direction does not change it.
    void setHalfChosen(bool chosen) { m_halfChosen = chosen; }
    // Exactly where its book goes; or the folder that receives
    // "<name><suffix>"; by default beside its source.
    void setTarget(const QString &fileName);
    void setOutputFolder(const QString &folder);
    void setReplaceExisting(bool replace) { m_replace = replace; }
    // A book whose file exists is skipped, before anything of it is read.
    void setSkipExisting(bool skip) { m_skipExisting = skip; }
    // Without flags.
    void setMadeWithout(int without) { m_without = without; }
    void setThreadCount(int threads) { m_threads = threads; }
    void setMemoryBudget(qint64 bytes) { m_memoryBudget = bytes; }
    void setPictureObserver(PagePictureObserver *observer) { m_observer = observer; }

    // Lists the book and decides what is to be made of it; false when the
    // job ended there (result() says how). Blocks.
    bool open();
    // Makes what open() decided (opening it first if it was not). Blocks.
    Result make();
    // Both.
    Result exec();
    // Stops it within about a page's time, from any thread or a signal
    // handler (it only sets flags); too late once the book is being put in
    // place.
    void kill();
    bool isKilled() const { return m_stop.load(); }

    Result result() const { return m_result; }
    Failure failure() const { return m_failure; }
    // Why it was refused or failed, a reason a line.
    QStringList errorStrings() const { return m_errors; }
    QString errorString() const { return m_errors.join(QLatin1Char('\n')); }

    // Once open: the book, what is asked of it, the pages and how they are
    // made.
    const Book &book() const { return m_book; }
    const BuildRequest &request() const { return m_request; }
    QString target() const { return m_request.target; }
    const QVector<BuildPage> &pages() const { return m_pages; }
    const Book::Plan &plan() const { return m_plan; }
    const BookOptions &options() const { return m_options; }

    // Once made: what each page became, what was left out and what it weighs.
    int entryCount() const { return m_entries; }
    int pagesMade() const { return m_pages.size() - m_leftOutRows.size(); }
    QVector<int> leftOutRows() const { return m_leftOutRows; }
    QVector<BookBuild::PageNote> pageNotes() const { return m_notes; }
    // What is said of the book as a whole.
    QStringList bookNotes() const { return m_bookNotes; }
    // How many of its pages were cut in two.
    int cutPages() const { return m_cutPages; }
    QVector<BookBuild::ScanFound> scanFindings() const { return m_scanFindings; }
    // What it was made without, a line each: pictures and files its listing
    // left out, pages that could not be read.
    QStringList leftOut() const { return m_leftOut; }
    // The same, but for the pages found unreadable while it was made.
    QStringList listingLeftOut() const { return m_listingLeftOut; }
    SizeReport size() const;
    qint64 bytes() const { return m_bytes; }
    qint64 milliseconds() const { return m_milliseconds; }
    // The build failed on an animation of several frames, or only on pages
    // that could have been left out.
    bool refusedPartialPage() const { return m_refusedPartialPage; }
    bool failedOnUnreadablePages() const { return m_failedOnUnreadable; }

signals:
    // The listing has gone through so many entries or pages.
    void listing(int seen);
    // The entries of the page from row are in the book: entries and their
    // pictures' bytes so far, done of total pages.
    void pageWritten(int row, int entries, qint64 bytes);
    void progressed(int done, int total, qint64 bytes);

private:
    bool list();
    bool choosePages();
    bool checkTarget();
    Result build();
    void gather(const BookBuild &build);
    QString targetOf(const Book &book) const;
    Result end(Result result, Failure failure = NoFailure, const QStringList &errors = {});
    Result endStopped();

    QStringList m_sources;
    bool m_chapters = false;
    bool m_foldersAsChapters = false;
    std::optional<Book> m_given;
    std::optional<QVector<Book::Page>> m_chosen;
    QStringList m_pageNames;
    QHash<QString, PageTreatment> m_treatments;
    BookOptions m_options;
    ComicInfo m_comicInfo;
    bool m_comicInfoEdited = false;
    bool m_halfChosen = false;
    QString m_target;
    QString m_outputFolder;
    bool m_replace = false;
    bool m_skipExisting = false;
    int m_without = 0;
    int m_threads = 0;
    qint64 m_memoryBudget = BookBuild::DefaultMemoryBudget;
    PagePictureObserver *m_observer = nullptr;

    std::atomic_bool m_stop{false};
    // The build, reached by kill() from another thread: it is not let go of
    // while a kill() holds it.
    std::atomic<BookBuild *> m_build{nullptr};
    std::atomic_int m_killing{0};
    QElapsedTimer m_clock;
    bool m_opened = false;

    Book m_book;
    BuildRequest m_request;
    QVector<BuildPage> m_pages;
    Book::Plan m_plan;
    Result m_result = Failed;
    Failure m_failure = NoFailure;
    QStringList m_errors;
    int m_entries = 0;
    qint64 m_bytes = 0;
    qint64 m_milliseconds = 0;
    QVector<int> m_leftOutRows;
    QVector<BookBuild::PageNote> m_notes;
    QStringList m_bookNotes;
    int m_cutPages = 0;
    QVector<BookBuild::ScanFound> m_scanFindings;
    QStringList m_leftOut;
    QStringList m_listingLeftOut;
    bool m_refusedPartialPage = false;
    bool m_failedOnUnreadable = false;
};

#endif // BOOKJOB_H
