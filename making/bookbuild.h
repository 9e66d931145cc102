#ifndef BOOKBUILD_H
#define BOOKBUILD_H

#include "making/buildpage.h"
#include "making/comicinfo.h"
#include "making/longstrip.h"
#include "making/pageoptions.h"
#include "making/pagepictureobserver.h"
#include "making/scancleanup.h"

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class OrderedPages;
class PageMaker;
class Packager;
class QThreadPool;

// Makes one book from page files, without any window: each page is made
// (PageMaker; a long strip's run by a StripMaker) on a pool of threads, a
// bounded number of pages (and of bytes) at a time, and one writer hands the
// finished pictures to the kind's packager strictly in page order
// (OrderedPages), so the book is the same whatever the number of threads.
// A failure or a cancel stops the other threads promptly and leaves nothing
// behind: an earlier book of the same name stays as it was.
class BookBuild : public QObject
{
    Q_OBJECT

public:
    enum Result
    {
        Done,
        Canceled,
        Failed
    };
    Q_ENUM(Result)

    // What the pages hold at once (their files, their pixels), in bytes,
    // unless told otherwise.
    static constexpr qint64 DefaultMemoryBudget = qint64(1) << 30;

    BookBuild(const QString &fileName, const QVector<BuildPage> &pages, const PageOptions &options,
              QObject *parent = nullptr);
    // Cancels a build that still runs on another thread and waits for it.
    ~BookBuild() override;

    // 0, the default, means one thread per core; more than a few per core
    // only cost memory, so no more than that are used.
    void setThreadCount(int threads) { m_threads = threads; }
    int threadCount() const;
    void setMemoryBudget(qint64 bytes) { m_memoryBudget = bytes; }
    // Written as ComicInfo.xml after the pages when its write flag is set.
    void setComicInfo(const ComicInfo &info) { m_comicInfo = info; }
    // Whether a file of the book's name may be replaced. Off, the
    // default: a file there, even one that appears while the build runs, is
    // left alone and the build fails.
    void setReplaceExisting(bool replace) { m_replace = replace; }
    // Told of each page's picture as the build writes the page; none by
    // default. It must outlive the build's run().
    void setPictureObserver(PagePictureObserver *observer) { m_observer = observer; }

    // Builds the archive, blocking the calling thread; any thread will do.
    // The same result is then given by result() and by finished().
    [[nodiscard]] Result run();
    // Stops a running build within about one page's time; any thread. Once
    // the book is being put in place it is too late: the build is done.
    void cancel();
    Result result() const { return m_result; }

    QString fileName() const { return m_fileName; }
    const PageOptions &options() const { return m_options; }
    const QVector<BuildPage> &pages() const { return m_pages; }
    // Why the build failed: every page found damaged, or the file's trouble;
    // empty after a success or a cancel.
    QString errorString() const { return m_errors.join(QLatin1Char('\n')); }
    // The same, one reason a line (a page's name may hold a line break).
    QStringList errorStrings() const { return m_errors; }

    // Whether a page may go in with less than it holds: only the first
    // frame of an animation. On, the default, such a page is named in
    // pageNotes(); off, it fails the build like a damaged page.
    void setPartialPagesAllowed(bool allowed) { m_partialPagesAllowed = allowed; }
    // Whether the build failed on such a page.
    bool refusedPartialPage() const { return m_refusedPartialPage; }

    // Whether a page whose file cannot be read (not a picture, cut short,
    // damaged) is left out of the book instead of failing it. Off by
    // default; on, each is named in pageNotes() and leftOutRows().
    void setUnreadablePagesLeftOut(bool leftOut) { m_unreadableLeftOut = leftOut; }
    // The rows of the pages left out so, once the build has ended.
    QVector<int> leftOutRows() const { return m_leftOutRows; }
    // The pages' entries written (ComicInfo.xml not counted), once the build
    // is done.
    int entryCount() const { return m_entryCount; }
    // How many pages were cut in two, their halves written, once the build
    // is done.
    int cutPages() const { return m_cutPages; }
    // The bytes of the pages' pictures written so far; any thread.
    qint64 bytesWritten() const { return m_bytesWritten; }
    // The most bytes the pages held at once (their files, pixels and
    // encoders, as reserved against the budget), once the build has ended.
    qint64 peakReserved() const { return m_peakReserved; }
    // What cleaning each page up as a scan found, by row, once the build has
    // ended: what the list says of the pages it made.
    struct ScanFound
    {
        int row;
        BuildPage page;
        ScanCleanup cleanup;
        bool straighten;
    };
    QVector<ScanFound> scanFindings() const { return m_scanFindings; }
    // Whether the build failed only on pages it could have left out so.
    bool failedOnUnreadablePages() const { return m_failedOnUnreadable; }

    // What the user should know of a page that was made: that only the
    // first frame of an animation was used, or that it was encoded as usual
    // although lossless cuts were asked for, and why. By row, once the
    // build has ended.
    struct PageNote
    {
        int row;
        QString text;
    };
    QVector<PageNote> pageNotes() const { return m_pageNotes; }
    // What is to be said of the book as a whole (a value its kind could not
    // carry as given), once it is made.
    QStringList bookNotes() const { return m_bookNotes; }
    // The files made: the one named, or the parts it was made as.
    QStringList files() const { return m_files.isEmpty() ? QStringList{m_fileName} : m_files; }

signals:
    // After the entries of the page from row were written; entryCount is
    // the number of entries in the book so far, bytes their pictures'.
    void pageWritten(int row, int entryCount, qint64 bytes);
    void finished(BookBuild::Result result, const QString &error);

private:
    struct Writing;
    void findStrips();
    QDateTime newestPageTime() const;
    void makePage(const PageMaker &maker, int index, QThreadPool *pool) const;
    QString write(Packager &packager, OrderedPages &ordered, const PageMaker &maker,
                  const std::function<void()> &startPages, Writing &writing);
    void gather(OrderedPages &ordered, const PageMaker &maker, const Writing &writing);
    QString checkTarget() const;
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    Result finish(Result result, const QStringList &errors = QStringList());
    Result build();

    QString m_fileName;
    QVector<BuildPage> m_pages;
    PageOptions m_options;
    ComicInfo m_comicInfo;
    int m_threads = 0;
    qint64 m_memoryBudget = DefaultMemoryBudget;
    bool m_replace = false;
    PagePictureObserver *m_observer = nullptr;
    std::atomic_bool m_canceled{false};
    std::atomic_bool m_stop{false};
    std::atomic_bool m_committing{false};
    Result m_result = Failed;
    QStringList m_errors;
    bool m_partialPagesAllowed = true;
    bool m_unreadableLeftOut = false;
    bool m_failedOnUnreadable = false;
    int m_entryCount = 0;
    std::atomic<qint64> m_bytesWritten{0};
    qint64 m_peakReserved = 0;
    int m_cutPages = 0;
    QVector<ScanFound> m_scanFindings;
    QVector<int> m_leftOutRows;
    bool m_refusedPartialPage = false;
    QVector<PageNote> m_pageNotes;
    QStringList m_bookNotes;
    QString m_kindNote; // what the kind changed of the options
    QStringList m_files;
    QVector<LongStrip::Run> m_runs; // the long strips to cut
    QVector<int> m_runOf;           // each page's run; -1 for none
    QMutex m_runMutex;
    QWaitCondition m_runEnded;
    bool m_running = false;
};

#endif // BOOKBUILD_H
