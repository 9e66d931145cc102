#ifndef POOLTASK_H
#define POOLTASK_H

#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>

#include <functional>
#include <memory>

// Work offered to a pool's idle thread, done by whoever needs its result
// first: a pool busy with a build's pages runs it on the thread that waits
// for it, never on a thread more than the pool has, and never before work
// queued earlier (a page the writer waits for).
template<typename T> class PoolTask : public std::enable_shared_from_this<PoolTask<T>>
{
public:
    static std::shared_ptr<PoolTask> make(std::function<T()> work)
    {
        return std::shared_ptr<PoolTask>(new PoolTask(std::move(work)));
    }

    // Started now on an idle thread of pool, if it has one.
    void offer(QThreadPool *pool)
    {
        std::shared_ptr<PoolTask> self = this->shared_from_this();
        pool->tryStart([self] { self->run(); });
    }

    bool isDone()
    {
        QMutexLocker locker(&m_mutex);
        return m_done;
    }

    // The result, the work done here when no thread has started it.
    T take()
    {
        run();
        QMutexLocker locker(&m_mutex);
        while (!m_done)
            m_finished.wait(&m_mutex);
        return std::move(m_result);
    }

    // Not wanted any more: it is not started, or its end is waited for.
    void drop()
    {
        QMutexLocker locker(&m_mutex);
        if (!m_started) {
            m_started = true;
            m_done = true;
            return;
        }
        while (!m_done)
            m_finished.wait(&m_mutex);
    }

private:
    explicit PoolTask(std::function<T()> work)
        : m_work(std::move(work))
    {}

    void run()
    {
        {
            QMutexLocker locker(&m_mutex);
            if (m_started)
                return;
            m_started = true;
        }
        T result = m_work();
        QMutexLocker locker(&m_mutex);
        m_result = std::move(result);
        m_done = true;
        m_finished.wakeAll();
    }

    std::function<T()> m_work;
    QMutex m_mutex;
    QWaitCondition m_finished;
    bool m_started = false;
    bool m_done = false;
    T m_result = T();
};

#endif // POOLTASK_H
