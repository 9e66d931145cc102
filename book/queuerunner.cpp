#include "book/queuerunner.h"

#include "book/bookjob.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

struct QueueRunner::Outcome
{
    QueuedBook::State state = QueuedBook::Failed;
    QString report;
    QString detail;
    QStringList leftOut;
    QStringList notes;
};

QueueRunner::QueueRunner(BookQueue *queue, QObject *parent)
    : QObject(parent)
    , m_queue(queue)
{}

QueueRunner::~QueueRunner()
{
    m_stopping = true;
    m_cancel = true;
    {
        QMutexLocker locker(&m_jobMutex);
        if (m_job)
            m_job->kill();
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
    book.listed = 0;
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
        book.notes = outcome.notes;
        book.milliseconds = m_clock.elapsed();
        // Replacing was asked for the archive made now; the next time it
        // is made, it is asked again.
        if (book.state == QueuedBook::Made || book.state == QueuedBook::MadeWithout)
            book.replace = false;
    });
    m_current = -1;
    if (outcome.state == QueuedBook::Stopped && !m_stopping) {
        m_paused = true;
        emit paused();
        return;
    }
    next();
}

// On the book's own thread: the book job, as the command line runs it.
QueueRunner::Outcome QueueRunner::make(const QueuedBook &queued)
{
    BookJob job;
    job.setSources(queued.sources, queued.chapters);
    job.setOptions(queued.options);
    job.setComicInfo(queued.comicInfo, queued.comicInfoEdited);
    job.setPageNames(queued.pageNames);
    job.setTreatments(queued.treatments);
    job.setTarget(queued.target);
    const bool replace = m_replace || queued.replace;
    job.setReplaceExisting(replace);
    // A book whose archive is there already is skipped unless replacing
    // was asked for.
    job.setSkipExisting(!replace);
    // An animation gives its first frame, and says so, as in the window.
    job.setMadeWithout(BookJob::LaterFrames);
    job.setThreadCount(m_threads);
    const int id = queued.id;
    // Told where the queue is shown, a page at a time.
    QObject::connect(&job, &BookJob::progressed, &job, [this, id](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, id, done, total] {
                tell(id, [done, total](QueuedBook &book) {
                    book.pagesDone = done;
                    book.pageCount = total;
                });
            },
            Qt::QueuedConnection);
    });
    // How far the listing has got, in the row, while it goes on.
    QObject::connect(
        &job, &BookJob::listing, &job,
        [this, id, observer = m_listingObserver](int seen) {
            if (observer)
                observer(seen);
            QMetaObject::invokeMethod(
                this,
                [this, id, seen] { tell(id, [seen](QueuedBook &book) { book.listed = seen; }); },
                Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    {
        QMutexLocker locker(&m_jobMutex);
        m_job = &job;
        if (m_cancel)
            job.kill();
    }
    if (job.open()) {
        const int count = job.pages().size();
        QMetaObject::invokeMethod(
            this,
            [this, id, count] { tell(id, [count](QueuedBook &book) { book.pageCount = count; }); },
            Qt::QueuedConnection);
        job.make();
    }
    {
        QMutexLocker locker(&m_jobMutex);
        m_job = nullptr;
    }
    return outcomeOf(job);
}

// What the queue says of a book once its job has ended: the same as the
// command line says, in a row.
QueueRunner::Outcome QueueRunner::outcomeOf(const BookJob &job)
{
    Outcome outcome;
    const PageOptions::Kind kind = job.options().pages.BookKind;
    switch (job.result()) {
    case BookJob::Made:
    case BookJob::MadeWithoutSome: {
        const SizeReport size = job.size();
        outcome.state = job.result() == BookJob::Made ? QueuedBook::Made : QueuedBook::MadeWithout;
        outcome.report = size.brief(kind);
        outcome.detail = size.line(kind);
        outcome.leftOut = job.leftOut();
        break;
    }
    case BookJob::Skipped:
        outcome.state = QueuedBook::Skipped;
        outcome.report = job.errorString();
        break;
    case BookJob::Stopped:
        outcome.state = QueuedBook::Stopped;
        break;
    case BookJob::Refused:
        outcome.report = job.errorStrings().join(QStringLiteral("; "));
        break;
    case BookJob::Failed:
        outcome.report = job.errorString();
        break;
    }
    // What became of the book, and of each page, named as the command line
    // names it.
    outcome.notes = job.bookNotes();
    for (const BookBuild::PageNote &note : job.pageNotes()) {
        for (const BuildPage &page : job.pages()) {
            if (page.row == note.row)
                outcome.notes << QStringLiteral("%1: %2").arg(page.page.shownPath(), note.text);
        }
    }
    return outcome;
}

void QueueRunner::cancelCurrent()
{
    m_cancel = true;
    QMutexLocker locker(&m_jobMutex);
    if (m_job)
        m_job->kill();
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
