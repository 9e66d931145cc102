#ifndef BOOKBUILD_H
#define BOOKBUILD_H

#include "making/buildpage.h"
#include "making/comicinfo.h"
#include "making/longstrip.h"
#include "making/packedentry.h"
#include "making/pageoptions.h"
#include "making/pagepart.h"
#include "making/pagepictureobserver.h"
#include "making/pagetreatment.h"
#include "making/scancleanup.h"
#include "pages/pagelocation.h"

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class ZipWriter;

class PageReader;

// Makes one CBZ archive from page files, without any window: each page is
// read from its file, transformed, encoded and deflated on a pool of
// threads, a bounded number of pages (and of pixels) at a time, and one
// writer appends the finished entries strictly in page order, so the
// archive is the same whatever the number of threads. A failure or a cancel
// stops the other threads promptly and leaves nothing behind: an earlier
// archive of the same name stays as it was.
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

    // Pixels of decoded pages held at once, in bytes, unless told otherwise.
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
    // Whether a file of the archive's name may be replaced. Off, the
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
    // the archive is being put in place it is too late: the build is done.
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

signals:
    // After the entries of the page from row were written; entryCount is
    // the number of entries in the archive so far.
    void pageWritten(int row, int entryCount);
    void finished(BookBuild::Result result, const QString &error);

private:
    struct Page;
    class Progress;
    struct Made;
    struct StripPage;
    struct Reservation;
    void makePage(int index, Progress &progress) const;
    void makeStrip(const LongStrip::Run &run, Progress &progress) const;
    QString encodePart(const PagePart &out, const QString &name, int index, Progress &progress,
                       PackedEntry *entry, ComicPage *comicPage) const;
    void findStrips();
    QDateTime newestPageTime() const;
    QString addEpubDocuments(ZipWriter &writer, const QVector<ComicPage> &comicPages,
                             const QStringList &pictureNames) const;
    QString addFacingBlank(ZipWriter &writer, const ComicPage &spread,
                           QVector<ComicPage> *comicPages) const;
    void keepUnchanged(PageReader &reader, const class PageRecipe &recipe, Made &made) const;
    bool cutLosslessly(PageReader &reader, const class PageRecipe &recipe, Made &made) const;
    QString checkTarget() const;
    PackedEntry packed(const QByteArray &data, QString *error = nullptr) const;
    PackedEntry copiedFromZip(const PageReader &reader) const;
    QString nothingLeft(const QString &name, const struct PagePlan &plan) const;
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
    QSize m_pictureBounds; // the observer's, for this run
    std::atomic_bool m_canceled{false};
    std::atomic_bool m_stop{false};
    std::atomic_bool m_committing{false};
    Result m_result = Failed;
    QStringList m_errors;
    bool m_partialPagesAllowed = true;
    bool m_unreadableLeftOut = false;
    bool m_failedOnUnreadable = false;
    int m_entryCount = 0;
    QVector<ScanFound> m_scanFindings;
    QVector<int> m_leftOutRows;
    mutable std::atomic_bool m_refusedPartialPage{false};
    QVector<PageNote> m_pageNotes;
    QVector<LongStrip::Run> m_runs; // the long strips to cut
    QVector<int> m_runOf;           // each page's run; -1 for none
    QMutex m_runMutex;
    QWaitCondition m_runEnded;
    bool m_running = false;
};

#endif // BOOKBUILD_H
