#include "app/previewloader.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

namespace {
struct Stamp
{
    QDateTime modified;
    qint64 size;
};

// An entry of an archive or a PDF changes with its container.
Stamp stampOf(const PageLocation &page)
{
    const QFileInfo info(page.file());
    return {info.lastModified(), info.size()};
}
} // namespace

PreviewLoader::PreviewLoader(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<PagePicture>();
    // One for the page asked for, one for a neighbour: the build and the
    // GUI keep the rest of the machine.
    m_pool.setMaxThreadCount(2);
}

PreviewLoader::~PreviewLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void PreviewLoader::setBounds(const QSize &bounds)
{
    m_bounds = bounds;
}

void PreviewLoader::setPdfResolution(int dotsPerInch)
{
    if (dotsPerInch == m_pdfResolution)
        return;
    m_pdfResolution = dotsPerInch;
    clear();
}

void PreviewLoader::clear()
{
    ++m_generation;
    m_current = PageLocation();
    m_wanted.clear();
    m_reading.clear();
    m_kept.clear();
    m_keptOrder.clear();
}

// Read already, from the file as it is now, at least as large as needed.
bool PreviewLoader::isKept(const PageLocation &page) const
{
    const auto kept = m_kept.constFind(page);
    if (kept == m_kept.constEnd())
        return false;
    const Stamp now = stampOf(page);
    // Whole pages and failures serve at any size; reduced ones while the
    // preview has not grown past what they were reduced for.
    const bool largeEnough =
        !kept->picture.isValid() || kept->picture.picture.size() == kept->picture.pageSize ||
        (kept->bounds.width() >= m_bounds.width() && kept->bounds.height() >= m_bounds.height());
    return kept->modified == now.modified && kept->size == now.size && largeEnough;
}

void PreviewLoader::show(const PageLocation &path, const QVector<PageLocation> &neighbours)
{
    m_current = path;
    m_wanted.clear();
    for (const PageLocation &page : QVector<PageLocation>{path} + neighbours) {
        if (!page.isNull() && !isKept(page) && !m_wanted.contains(page))
            m_wanted.append(page);
    }
    if (isKept(path))
        emit pictureReady(path, m_kept.value(path).picture);
    startReading();
}

void PreviewLoader::startReading()
{
    while (!m_wanted.isEmpty() && m_reading.size() < m_pool.maxThreadCount()) {
        const PageLocation path = m_wanted.takeFirst();
        if (m_reading.contains(path))
            continue;
        m_reading.insert(path);
        read(path, m_generation);
    }
}

void PreviewLoader::read(const PageLocation &path, int generation)
{
    auto *watcher = new QFutureWatcher<Kept>(this);
    const QSize bounds = m_bounds;
    const int resolution = m_pdfResolution;
    connect(watcher, &QFutureWatcher<Kept>::finished, this, [this, watcher, path, generation] {
        watcher->deleteLater();
        finished(path, generation, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&m_pool, [path, bounds, resolution] {
        const Stamp stamp = stampOf(path);
        return Kept{PageReader::readFirstPicture(path, bounds, PageReader::PixelBudget,
                                                 PageReader::FileBudget, resolution),
                    stamp.modified, stamp.size, bounds};
    }));
}

void PreviewLoader::finished(const PageLocation &path, int generation, const Kept &kept)
{
    if (generation != m_generation)
        return; // read for a list that is gone
    m_reading.remove(path);
    m_kept.insert(path, kept);
    m_keptOrder.removeAll(path);
    m_keptOrder.append(path);
    while (m_keptOrder.size() > KeptPictures)
        m_kept.remove(m_keptOrder.takeFirst());
    if (path == m_current)
        emit pictureReady(path, kept.picture);
    startReading();
}
