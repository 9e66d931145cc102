#include "app/previewloader.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

PreviewLoader::PreviewLoader(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<PagePicture>();
    // One for the page asked for, one for a neighbour: the build and the
    // GUI keep the rest of the machine.
    m_pool.setMaxThreadCount(2);
    // A held key asks for a page every 30 to 40 ms: checks wait until the
    // pages stop changing, so that reading ahead has both threads.
    m_settled.setSingleShot(true);
    m_settled.setInterval(200);
    connect(&m_settled, &QTimer::timeout, this, [this] {
        // The page the key stopped on comes first.
        if (m_wanted.removeAll(m_current) > 0)
            m_wanted.prepend(m_current);
        startReading();
    });
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
    m_toCheck.clear();
    m_kept.clear();
    m_keptOrder.clear();
}

// Read already, from the file as it is now, at least as large as needed.
bool PreviewLoader::isKept(const PageLocation &page) const
{
    const auto kept = m_kept.constFind(page);
    if (kept == m_kept.constEnd())
        return false;
    // An entry of an archive or a PDF changes with its container.
    const FileStamp now = FileStamp::of(page.file());
    // Whole pages and failures serve at any size; reduced ones while the
    // preview has not grown past what they were reduced for.
    const bool largeEnough =
        !kept->picture.isValid() || kept->picture.picture.size() == kept->picture.pageSize ||
        (kept->bounds.width() >= m_bounds.width() && kept->bounds.height() >= m_bounds.height());
    return kept->stamp == now && largeEnough;
}

void PreviewLoader::show(const PageLocation &path, const QVector<PageLocation> &neighbours,
                         bool passing)
{
    m_current = path;
    m_settled.start();
    m_wanted.clear();
    const QVector<PageLocation> order = passing ? neighbours + QVector<PageLocation>{path}
                                                : QVector<PageLocation>{path} + neighbours;
    for (const PageLocation &page : order) {
        if (!page.isNull() && !isKept(page) && !m_wanted.contains(page))
            m_wanted.append(page);
    }
    if (isKept(path))
        announce(path);
    startReading();
}

// The page on show is checked before the others shown.
void PreviewLoader::announce(const PageLocation &page)
{
    const PagePicture &picture = m_kept.value(page).picture;
    if (picture.isValid() && !picture.everyBlockChecked) {
        m_toCheck.removeAll(page);
        m_toCheck.prepend(page);
        m_toCheck.resize(qMin(m_toCheck.size(), KeptPictures));
    }
    emit pictureReady(page, picture);
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
    // Checks wait for the pages still to read: while keys repeat, what is
    // shown comes first.
    while (m_wanted.isEmpty() && !m_settled.isActive() && !m_toCheck.isEmpty() &&
           m_reading.size() < m_pool.maxThreadCount()) {
        const PageLocation page = m_toCheck.takeFirst();
        if (m_reading.contains(page) || !m_kept.contains(page))
            continue;
        m_reading.insert(page);
        check(page, m_generation);
    }
}

void PreviewLoader::check(const PageLocation &page, int generation)
{
    auto *watcher = new QFutureWatcher<QString>(this);
    const int resolution = m_pdfResolution;
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, page, generation] {
        watcher->deleteLater();
        checked(page, generation, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(
        &m_pool, [page, resolution] { return PageReader::check(page, resolution); }));
}

// A page found damaged is kept as the failure it is, so that it is told
// when shown again, and at once when it is on show.
void PreviewLoader::checked(const PageLocation &page, int generation, const QString &error)
{
    if (generation != m_generation)
        return;
    m_reading.remove(page);
    const auto kept = m_kept.find(page);
    // Asked for while it was being checked, and forgotten meanwhile.
    if (kept == m_kept.end() && page == m_current && !m_wanted.contains(page))
        m_wanted.prepend(page);
    if (kept != m_kept.end()) {
        kept->picture.everyBlockChecked = true;
        if (!error.isEmpty()) {
            kept->picture.error = error;
            if (page == m_current)
                emit pictureReady(page, kept->picture);
        }
    }
    startReading();
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
        const FileStamp stamp = FileStamp::of(path.file());
        return Kept{PageReader::readPreviewPicture(path, bounds, resolution), stamp, bounds};
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
    // A few pages either side of the one shown; whole pages (at actual
    // size) are many times larger, and fewer are kept.
    qint64 bytes = 0;
    for (const Kept &each : qAsConst(m_kept))
        bytes += each.picture.picture.sizeInBytes();
    while (m_keptOrder.size() > 1 && (m_keptOrder.size() > KeptPictures || bytes > KeptBytes)) {
        const PageLocation oldest = m_keptOrder.takeFirst();
        bytes -= m_kept.value(oldest).picture.picture.sizeInBytes();
        m_kept.remove(oldest);
    }
    if (path == m_current) {
        announce(path);
        // Read for a smaller preview than the one now asked for (the
        // preview grew while it was read): shown for now, and read again at
        // the size it is shown at.
        const bool reduced =
            kept.picture.isValid() && kept.picture.picture.size() != kept.picture.pageSize;
        if (reduced &&
            (kept.bounds.width() < m_bounds.width() || kept.bounds.height() < m_bounds.height()))
            m_wanted.prepend(path);
    }
    startReading();
}
