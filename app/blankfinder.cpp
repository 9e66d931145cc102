#include "app/blankfinder.h"

#include "making/scancleanup.h"
#include "pages/pagereader.h"

#include <QThread>

BlankFinder::BlankFinder(QObject *parent)
    : QObject(parent)
{
    // The preview reads on threads of its own; this leaves it one.
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount() - 1));
}

BlankFinder::~BlankFinder()
{
    stop();
    m_pool.waitForDone();
}

void BlankFinder::find(const QVector<PageLocation> &pages, int pdfResolution)
{
    const int generation = ++*m_generation;
    m_pool.clear();
    // The pool's work never outlives this: the destructor waits for it.
    for (const PageLocation &page : pages) {
        m_pool.start([this, page, pdfResolution, generation, current = m_generation] {
            if (*current != generation)
                return;
            PageReader reader(page);
            reader.setPdfResolution(pdfResolution);
            const bool blank = reader.readWithoutDecoding() && ScanCleanup::isBlankPage(reader);
            QMetaObject::invokeMethod(
                this,
                [this, page, blank, generation, current] {
                    if (*current == generation)
                        emit found(page, blank);
                },
                Qt::QueuedConnection);
        });
    }
}

void BlankFinder::stop()
{
    ++*m_generation;
    m_pool.clear();
}
