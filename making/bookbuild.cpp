#include "making/bookbuild.h"

#include "scans/facingpages.h"

#include "making/orderedpages.h"
#include "making/packager.h"
#include "making/pagemaker.h"
#include "making/stripmaker.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

static_assert(PageOptions::PdfDpi.minimum == PdfPages::MinimumResolution &&
                  PageOptions::PdfDpi.maximum == PdfPages::MaximumResolution &&
                  PageOptions::PdfDpi.initial == PdfPages::DefaultResolution,
              "the PDF resolution's range is the renderer's");

// Where the writer is in the book.
struct BookBuild::Writing
{
    int submitted = 0;              // pages handed to the pool
    int written = 0;                // pages whose every entry is in the book
    QMap<int, QString> facingNotes; // by page
};

BookBuild::BookBuild(const QString &fileName, const QVector<BuildPage> &pages,
                     const PageOptions &options, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_pages(pages)
    , m_options(options)
{
    qRegisterMetaType<BookBuild::Result>();
}

BookBuild::~BookBuild()
{
    cancel();
    QMutexLocker locker(&m_runMutex);
    while (m_running)
        m_runEnded.wait(&m_runMutex);
}

int BookBuild::threadCount() const
{
    const int ideal = qMax(1, QThread::idealThreadCount());
    return qBound(1, m_threads > 0 ? m_threads : ideal, qMin(64, 4 * ideal));
}

void BookBuild::cancel()
{
    if (m_committing)
        return;
    m_canceled = true;
    m_stop = true;
}

// When the book last changed: its newest page file's time, to the second.
QDateTime BookBuild::newestPageTime() const
{
    QDateTime newest = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    for (const BuildPage &page : m_pages)
        newest = qMax(newest, QFileInfo(page.page.file()).lastModified().toUTC());
    return QDateTime::fromSecsSinceEpoch(newest.toSecsSinceEpoch(), Qt::UTC);
}

void BookBuild::makePage(const PageMaker &maker, int index, QThreadPool *pool) const
{
    // A page of a long strip is made with the rest of it, by the thread of
    // its first page.
    const int run = m_runOf.value(index, -1);
    if (run < 0)
        maker.make(index);
    else if (m_runs.at(run).first == index)
        StripMaker(maker, m_runs.at(run), pool).make();
}

// The writer: each page's entries handed to the packager as soon as they
// come, in order, a blank page put before a spread where one is wanted.
// Empty when every page went in, or the build stopped; else why not.
QString BookBuild::write(Packager &packager, OrderedPages &ordered, const PageMaker &maker,
                         const std::function<void()> &startPages, Writing &writing)
{
    FacingPages facing;
    int bookmarked = -1;
    while (writing.written < m_pages.size() && !stopped() && !ordered.hasFailed()) {
        bool complete = false;
        OrderedPages::Page page = ordered.takeFront(&complete);
        if (stopped() || ordered.hasFailed())
            break;
        const int written = writing.written;
        // A chapter's name marks the first entry of its first page.
        if (bookmarked < written && !page.comicPages.isEmpty()) {
            page.comicPages.first().bookmark = m_pages.at(written).bookmark;
            bookmarked = written;
        }
        for (int i = 0; i < page.entries.size(); ++i) {
            const ComicPage &comicPage = page.comicPages.at(i);
            if (m_options.FacingSpreads && facing.blankBefore(comicPage.doublePage)) {
                ComicPage blank;
                QString why;
                const PackedEntry entry = maker.facingBlank(comicPage, &blank, &why);
                if (entry.compressed.isEmpty() || !packager.addPage(entry, blank))
                    return tr("The blank page before a spread cannot be written: %1")
                        .arg(why.isEmpty() ? packager.errorString() : why);
                writing.facingNotes.insert(written, tr("a blank page put before it, so that the "
                                                       "spread sits on facing pages"));
            }
            facing.place(comicPage.doublePage);
            if (!packager.addPage(page.entries.at(i), comicPage))
                return packager.errorString();
            m_bytesWritten += page.entries.at(i).size;
        }
        if (!complete)
            continue;
        if (m_observer)
            m_observer->pagePicture(m_pages.at(written).row, page.picture, page.pictureSize);
        emit pageWritten(m_pages.at(written).row, packager.pageCount(), m_bytesWritten);
        ++writing.written;
        startPages();
    }
    return QString();
}

// What the page threads said of the pages, by row, once they are done.
void BookBuild::gather(OrderedPages &ordered, const PageMaker &maker, const Writing &writing)
{
    m_refusedPartialPage = maker.refusedPartialPage();
    m_pageNotes.clear();
    for (auto page = writing.facingNotes.cbegin(); page != writing.facingNotes.cend(); ++page) {
        const QString note = ordered.notes.value(page.key());
        ordered.notes.insert(
            page.key(), note.isEmpty() ? page.value() : note + QStringLiteral("; ") + page.value());
    }
    for (auto page = ordered.notes.cbegin(); page != ordered.notes.cend(); ++page)
        m_pageNotes.append({m_pages.at(page.key()).row, page.value()});
    m_scanFindings.clear();
    for (auto found = ordered.cleanups.cbegin(); found != ordered.cleanups.cend(); ++found)
        m_scanFindings.append({m_pages.at(found.key()).row, m_pages.at(found.key()),
                               found.value().first, found.value().second});
    m_leftOutRows.clear();
    for (const int index : qAsConst(ordered.unreadable))
        m_leftOutRows.append(m_pages.at(index).row);
    std::sort(m_leftOutRows.begin(), m_leftOutRows.end());
}

BookBuild::Result BookBuild::build()
{
    m_stop = m_canceled.load();
    m_committing = false;
    m_refusedPartialPage = false;
    m_bytesWritten = 0;
    m_entryCount = 0;
    m_cutPages = 0;
    m_bookNotes.clear();
    m_kindNote.clear();
    m_files.clear();
    const QString trouble = checkTarget();
    if (!trouble.isEmpty())
        return finish(Failed, {trouble});
    // A kind that holds only JPEG pages has them written so, and says so.
    const Packager::Kind &kind = Packager::kind(m_options.BookKind);
    if (kind.jpegPages && m_options.PageFormat != PageOptions::JpegPages) {
        m_options.PageFormat = PageOptions::JpegPages;
        m_kindNote = tr("A %1 holds JPEG pages: the pages are written as JPEG, not WebP.")
                         .arg(Packager::tr(kind.title));
    } else if (kind.jpegPages && m_options.KeepUnchangedPages) {
        // Pages another kind would keep as their files are.
        int written = 0;
        for (const BuildPage &page : qAsConst(m_pages)) {
            const QString type = QFileInfo(page.page.shownPath()).suffix().toLower();
            if (!kind.keptTypes.contains(type == QLatin1String("jpeg") ? QStringLiteral("jpg")
                                                                       : type) &&
                (type == QLatin1String("png") || type == QLatin1String("webp") ||
                 type == QLatin1String("gif")))
                ++written;
        }
        if (written > 0)
            m_kindNote = tr("PNG, WebP or GIF pages written as JPEG, as a %1 holds no other "
                            "pictures as they are: %2.")
                             .arg(Packager::tr(kind.title))
                             .arg(written);
    }
    // Said before anything is made: an EPUB reader need not show WebP.
    if (!Packager::kind(m_options.BookKind).webpPages &&
        m_options.PageFormat != PageOptions::JpegPages)
        return finish(Failed, {tr("An EPUB holds JPEG and PNG pages: not every e-reader shows "
                                  "WebP. Choose JPEG pages for an EPUB.")});
    // "Tales.kepub.epub" is the book "Tales".
    QString name = QFileInfo(m_fileName).fileName();
    const QString suffix = Packager::suffixOf(m_options.BookKind);
    if (name.endsWith(suffix, Qt::CaseInsensitive) && name.size() > suffix.size())
        name.chop(suffix.size());
    else
        name = QFileInfo(m_fileName).completeBaseName();
    const std::unique_ptr<Packager> packager = Packager::make(m_options);
    if (!packager->begin(m_fileName, {m_comicInfo, name, newestPageTime()}))
        return finish(Failed, {packager->errorString()});

    findStrips();
    OrderedPages ordered(m_stop, m_memoryBudget);
    const PageMaker::Settings settings{m_options, m_partialPagesAllowed, m_unreadableLeftOut,
                                       m_observer ? m_observer->pictureBounds() : QSize()};
    const PageMaker maker(m_pages, settings, ordered, m_stop);
    const int threads = threadCount();
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    Writing writing;
    const auto startPages = [&] {
        while (writing.submitted < m_pages.size() &&
               writing.submitted - writing.written < threads + 2) {
            const int index = writing.submitted++;
            pool.start([this, &maker, &ordered, &pool, index] {
                if (stopped())
                    ordered.complete(index, {});
                else
                    makePage(maker, index, &pool);
            });
        }
    };
    startPages();
    const QString error = write(*packager, ordered, maker, startPages, writing);

    // The pages still in the pool end at their next step; after a damaged
    // page they are still checked, so that the report names every damaged
    // page among them, not only the first.
    if (!ordered.hasFailed() || !error.isEmpty())
        m_stop = true;
    ordered.wakeAll();
    pool.waitForDone();
    m_peakReserved = ordered.peak();
    gather(ordered, maker, writing);
    const QStringList errors =
        error.isEmpty() ? QStringList(ordered.errors.values()) : QStringList{error};
    // Failed on pages that could be left out, and on nothing else.
    m_failedOnUnreadable = !ordered.errors.isEmpty() && error.isEmpty() &&
                           ordered.unreadableFailures.size() == ordered.errors.size();
    if (m_canceled) {
        packager->abandon();
        return finish(Canceled);
    }
    if (!errors.isEmpty()) {
        packager->abandon();
        return finish(Failed, errors);
    }
    m_entryCount = packager->pageCount();
    m_cutPages = int(std::count_if(packager->pages().cbegin(), packager->pages().cend(),
                                   [](const ComicPage &page) { return page.half == 1; }));
    // Every page left out (blank, or unread): a book of nothing is no book.
    if (m_entryCount == 0 && !m_pages.isEmpty()) {
        packager->abandon();
        return finish(Failed, {tr("Every page was left out: there is no page to make a book of.")});
    }
    // From here on the book is as good as made: a cancel is too late.
    m_committing = true;
    if (m_canceled) {
        packager->abandon();
        return finish(Canceled);
    }
    if (!packager->finish(m_replace))
        return finish(Failed, {packager->errorString()});
    m_bookNotes = packager->notes();
    m_files = packager->files();
    if (!m_kindNote.isEmpty())
        m_bookNotes.prepend(m_kindNote);
    return finish(Done);
}

BookBuild::Result BookBuild::finish(Result result, const QStringList &errors)
{
    m_result = result;
    m_errors = result == Failed ? errors : QStringList();
    emit finished(m_result, errorString());
    return m_result;
}

// The archive may take the place of nothing, or of a regular file when
// allowed; never of a page of this very book, nor of a device or a pipe.
QString BookBuild::checkTarget() const
{
#ifdef Q_OS_UNIX
    struct stat target;
    if (::lstat(QFile::encodeName(m_fileName).constData(), &target) != 0)
        return QString();
    if (!S_ISREG(target.st_mode))
        return tr("%1 is not a regular file; an archive cannot take its place.")
            .arg(QDir::toNativeSeparators(m_fileName));
    if (!m_replace)
        return tr("%1 exists already.").arg(QDir::toNativeSeparators(m_fileName));
    // An archive or a PDF the pages come from counts as much as a page file.
    for (const BuildPage &page : m_pages) {
        struct stat info;
        if (::stat(QFile::encodeName(page.page.file()).constData(), &info) == 0 &&
            info.st_dev == target.st_dev && info.st_ino == target.st_ino)
            return tr("%1 is a page of this book; the archive cannot take its place.")
                .arg(QDir::toNativeSeparators(m_fileName));
    }
#else
    if (QFileInfo::exists(m_fileName) && !m_replace)
        return tr("%1 exists already.").arg(QDir::toNativeSeparators(m_fileName));
#endif
    return QString();
}

// Which pages make long strips, when they are to be cut: their headers
// read on the build's threads.
void BookBuild::findStrips()
{
    m_runs.clear();
    m_runOf.fill(-1, m_pages.size());
    if (!m_options.CutLongStrips)
        return;
    m_runs = LongStrip::runsIn(m_pages, m_options.PdfResolution, threadCount(), &m_stop);
    for (int run = 0; run < m_runs.size(); ++run) {
        for (int page = 0; page < m_runs.at(run).count; ++page)
            m_runOf[m_runs.at(run).first + page] = run;
    }
}

BookBuild::Result BookBuild::run()
{
    {
        QMutexLocker locker(&m_runMutex);
        m_running = true;
    }
    const Result result = build();
    QMutexLocker locker(&m_runMutex);
    m_running = false;
    m_runEnded.wakeAll();
    return result;
}
