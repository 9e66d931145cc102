#ifndef BLANKFINDER_H
#define BLANKFINDER_H

#include "pages/pagelocation.h"

#include <QObject>
#include <QThreadPool>
#include <QVector>

#include <atomic>
#include <memory>

// Looks at every page of a book away from the GUI thread for whether it
// has nothing on it, and says so page by page, as found. Asked again, it
// drops what it was looking at.
class BlankFinder : public QObject
{
    Q_OBJECT

public:
    explicit BlankFinder(QObject *parent = nullptr);
    // Waits for the pages being looked at: they touch nothing of ours.
    ~BlankFinder() override;

    void find(const QVector<PageLocation> &pages, int pdfResolution);
    void stop();

signals:
    void found(const PageLocation &page, bool blank);

private:
    QThreadPool m_pool;
    // Bumped by every find() and stop(): older work ends unsaid.
    std::shared_ptr<std::atomic_int> m_generation = std::make_shared<std::atomic_int>(0);
};

#endif // BLANKFINDER_H
