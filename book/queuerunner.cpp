#include "book/queuerunner.h"

#include "book/book.h"
#include "book/sizereport.h"
#include "making/bookbuild.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

struct QueueRunner::Outcome
{
    QueuedBook::State state = QueuedBook::Failed;
    QString report;
    QString detail;
    QStringList leftOut;
};

namespace {
// The pages to make: every page the source lists, or those the window
// showed when the book was added, in that order; empty when one of those
// is gone, named in missing.
QVector<Book::Page> pagesOf(const Book &book, const QueuedBook &queued, QString *missing)
{
    const QVector<Book::Page> listed = book.listedPages(queued.treatments);
    if (queued.pageNames.isEmpty())
        return listed;
    QHash<QString, int> byName;
    for (int i = listed.size() - 1; i >= 0; --i)
        byName.insert(book.pages().at(i).name, i);
    QVector<Book::Page> chosen;
    for (const QString &name : queued.pageNames) {
        if (!byName.contains(name)) {
            *missing = name;
            return {};
        }
        chosen.append(listed.at(byName.value(name)));
        chosen.last().row = chosen.size() - 1;
    }
    return chosen;
}
} // namespace

QueueRunner::QueueRunner(BookQueue *queue, QObject *parent)
    : QObject(parent)
    , m_queue(queue)
{}

QueueRunner::~QueueRunner()
{
    m_stopping = true;
    m_cancel = true;
    {
        QMutexLocker locker(&m_buildMutex);
        if (m_build)
            m_build->cancel();
    }
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void QueueRunner::start()
{
    if (m_running)
        return;
    m_running = true;
    m_paused = false;
    m_stopping = false;
    m_booksEnded = 0;
    emit runningChanged(true);
    next();
}

void QueueRunner::next()
{
    if (m_paused)
        return;
    const int row = m_stopping ? -1 : m_queue->nextWaiting();
    if (row < 0) {
        m_running = false;
        m_stopping = false;
        m_current = -1;
        emit runningChanged(false);
        return;
    }
    makeRow(row);
}

void QueueRunner::tell(int id, const std::function<void(QueuedBook &)> &change)
{
    const int row = m_queue->rowOf(id);
    if (row < 0)
        return;
    change((*m_queue)[row]);
    emit rowChanged(row);
}

void QueueRunner::makeRow(int row)
{
    QueuedBook &book = (*m_queue)[row];
    const int same = m_queue->sameTargetAs(row);
    // Never one archive of the run over another: told before anything is made.
    if (same >= 0) {
        book.state = QueuedBook::Failed;
        book.report = tr("Its archive %1 would be the same as book %2's; give it another "
                         "folder or name.")
                          .arg(QDir::toNativeSeparators(book.target))
                          .arg(same + 1);
        emit rowChanged(row);
        next();
        return;
    }
    m_current = book.id;
    book.state = QueuedBook::Making;
    book.pagesDone = 0;
    book.pageCount = 0;
    emit rowChanged(row);
    m_cancel = false;
    m_clock.start();
    const QueuedBook copy = book;
    m_thread = QThread::create([this, copy] {
        const Outcome outcome = make(copy);
        QMetaObject::invokeMethod(
            this, [this, id = copy.id, outcome] { ended(id, outcome); }, Qt::QueuedConnection);
    });
    m_thread->start();
}

void QueueRunner::ended(int id, const Outcome &outcome)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    ++m_booksEnded;
    tell(id, [&](QueuedBook &book) {
        book.state = outcome.state;
        book.report = outcome.report;
        book.detail = outcome.detail;
        book.leftOut = outcome.leftOut;
        book.milliseconds = m_clock.elapsed();
    });
    m_current = -1;
    if (outcome.state == QueuedBook::Stopped && !m_stopping) {
        m_paused = true;
        emit paused();
        return;
    }
    next();
}

// On the book's own thread: what the command line does for one folder.
QueueRunner::Outcome QueueRunner::make(const QueuedBook &queued)
{
    Outcome outcome;
    const PageOptions::Kind kind = queued.options.pages.BookKind;
    for (const QString &source : queued.sources) {
        if (!QFileInfo::exists(source)) {
            outcome.report = QueuedBook::tr("Its source is gone: %1").arg(source);
            return outcome;
        }
    }
    const PictureTypes types = queued.options.everyPictureType ? EveryPictureType : PageTypesOnly;
    const Book book = queued.sources.size() > 1
                          ? Book::openChapters(queued.sources, types)
                          : Book::open(queued.sources.first(), types, queued.chapters);
    if (!book.errorString().isEmpty()) {
        outcome.report = tr("It cannot be read: %1").arg(book.errorString());
        return outcome;
    }
    const BuildRequest request =
        book.request(QFileInfo(queued.target).absolutePath(), false, false, kind);
    if (!m_replace && QFileInfo::exists(queued.target)) {
        outcome.state = QueuedBook::Skipped;
        outcome.report = tr("%1 exists already").arg(QDir::toNativeSeparators(queued.target));
        return outcome;
    }
    if (request.refused()) {
        outcome.report = request.reasons.join(QStringLiteral("; "));
        return outcome;
    }
    QString missing;
    const QVector<BuildPage> pages = Book::buildPages(pagesOf(book, queued, &missing));
    if (!missing.isEmpty()) {
        outcome.report = tr("Its source has changed since it was added: %1 is gone").arg(missing);
        return outcome;
    }
    if (pages.isEmpty()) {
        outcome.report =
            book.missesPages() ? tr("None of its page files can be used.") : tr("It has no pages.");
        return outcome;
    }
    if (!QDir().mkpath(QFileInfo(queued.target).absolutePath())) {
        outcome.report =
            tr("The folder for its archive cannot be made: %1")
                .arg(QDir::toNativeSeparators(QFileInfo(queued.target).absolutePath()));
        return outcome;
    }
    const Book::Plan plan =
        book.plan(queued.options.pages, queued.comicInfo, queued.comicInfoEdited, false);
    BookBuild build(queued.target, pages, plan.options);
    build.setThreadCount(m_threads);
    build.setReplaceExisting(m_replace);
    build.setComicInfo(plan.comicInfo);
    const int id = queued.id;
    // Told where the queue is shown, a page at a time.
    QObject::connect(&build, &BookBuild::pageWritten, &build, [this, id] {
        QMetaObject::invokeMethod(
            this, [this, id] { tell(id, [](QueuedBook &book) { ++book.pagesDone; }); },
            Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this,
        [this, id, count = pages.size()] {
            tell(id, [count](QueuedBook &book) { book.pageCount = count; });
        },
        Qt::QueuedConnection);
    {
        QMutexLocker locker(&m_buildMutex);
        m_build = &build;
        if (m_cancel)
            build.cancel();
    }
    const BookBuild::Result result = build.run();
    {
        QMutexLocker locker(&m_buildMutex);
        m_build = nullptr;
    }
    if (result == BookBuild::Canceled) {
        outcome.state = QueuedBook::Stopped;
        return outcome;
    }
    if (result == BookBuild::Failed) {
        outcome.report = build.errorStrings().join(QLatin1Char('\n'));
        return outcome;
    }
    const QVector<int> unread = build.leftOutRows();
    const SizeReport size(build.entryCount(), pages.size() - unread.size(),
                          QFileInfo(queued.target).size(), SizeReport::bytesOf(pages));
    outcome.report = size.brief(kind);
    outcome.detail = size.line(kind);
    outcome.leftOut = request.leftOut;
    for (const Book::LeftOut &left : book.leftOut()) {
        if (left.kind != Book::LeftOut::Note)
            outcome.leftOut << left.text;
    }
    for (const int page : unread)
        outcome.leftOut << pages.at(page).page.shownPath();
    outcome.state = outcome.leftOut.isEmpty() ? QueuedBook::Made : QueuedBook::MadeWithout;
    return outcome;
}

void QueueRunner::cancelCurrent()
{
    m_cancel = true;
    QMutexLocker locker(&m_buildMutex);
    if (m_build)
        m_build->cancel();
}

void QueueRunner::resume()
{
    if (!m_paused)
        return;
    m_paused = false;
    next();
}

void QueueRunner::stop()
{
    if (!m_running)
        return;
    m_stopping = true;
    if (m_current >= 0) {
        cancelCurrent();
        return; // ended() goes on from there
    }
    m_paused = false;
    next();
}
