#ifndef QUEUERUNNER_H
#define QUEUERUNNER_H

#include "book/bookqueue.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QObject>

#include <atomic>
#include <functional>

class BookJob;
class QThread;

// Makes a queue's waiting books one after another, each by the book job the
// command line runs (listed, refused or made by the whole build), on a
// thread of its own so that nothing slow runs where the queue is shown.
// Each book's state and progress are told as they change.
class QueueRunner : public QObject
{
    Q_OBJECT

public:
    explicit QueueRunner(BookQueue *queue, QObject *parent = nullptr);
    // A book being made is stopped and waited for.
    ~QueueRunner() override;

    // Threads a book's build may use; 0: one per core.
    void setThreadCount(int threads) { m_threads = threads; }
    // Whether an archive there already is replaced; if not, its book is
    // skipped.
    void setReplaceExisting(bool replace) { m_replace = replace; }
    bool replacesExisting() const { return m_replace; }
    // Told on the book's own thread how far the listing of its source has
    // got, before it goes on (a test holds a listing there).
    void setListingObserver(const std::function<void(int seen)> &observer)
    {
        m_listingObserver = observer;
    }

    // Makes the waiting books, from the first, until none waits or it is
    // stopped.
    void start();
    bool isRunning() const { return m_running; }
    // The row being made; -1 for none.
    int current() const { return m_queue->rowOf(m_current); }
    // Stops the book being made (an archive it would replace stays as it
    // was); the queue then waits for resume() or stop().
    void cancelCurrent();
    bool isPaused() const { return m_paused; }
    void resume();
    // Stops the book being made, if any, and the queue.
    void stop();
    // The books of this run that have ended, made or not.
    int booksEnded() const { return m_booksEnded; }

signals:
    void rowChanged(int row);
    // A book was cancelled: the queue waits to be resumed or stopped.
    void paused();
    void runningChanged(bool running);

private:
    struct Outcome;
    void next();
    void makeRow(int row);
    void ended(int id, const Outcome &outcome);
    Outcome make(const QueuedBook &book);
    static Outcome outcomeOf(const BookJob &job);
    // Something said of the book of that id, while it is still queued.
    void tell(int id, const std::function<void(QueuedBook &)> &change);

    BookQueue *m_queue;
    // Read by the book's thread while the panel may change them.
    std::atomic_int m_threads{0};
    std::atomic_bool m_replace{false};
    bool m_running = false;
    bool m_paused = false;
    bool m_stopping = false;
    int m_current = -1; // the id of the book being made
    QThread *m_thread = nullptr;
    QElapsedTimer m_clock;
    // The job on the thread, reached from here only to stop it.
    QMutex m_jobMutex;
    BookJob *m_job = nullptr;
    std::function<void(int)> m_listingObserver;
    std::atomic_bool m_cancel{false};
    int m_booksEnded = 0;
};

#endif // QUEUERUNNER_H
