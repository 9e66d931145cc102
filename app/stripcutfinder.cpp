#include "app/stripcutfinder.h"

#include <QThread>
#include <QtConcurrent>

namespace {
// What the cuts depend on: the pages, whether each may join a strip and
// where chapters begin, and the options that set a page's height.
QString keyOf(const QVector<BuildPage> &pages, const PageOptions &options)
{
    if (!options.CutLongStrips)
        return QString();
    QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7|")
                      .arg(options.StripHeight)
                      .arg(options.ImageResize)
                      .arg(options.ImageResizeMode)
                      .arg(options.ResizeImageWidth)
                      .arg(options.ResizeImageHeight)
                      .arg(options.ImageResizeNoEnlarge)
                      .arg(options.PdfResolution);
    for (const BuildPage &page : pages)
        key += page.page.shownPath() + QLatin1Char(LongStrip::mayJoin(page.treatment) ? '+' : '-') +
               QString::number(page.bookmark.isEmpty()) + QLatin1Char('\n');
    return key;
}
} // namespace

StripCutFinder::StripCutFinder(QObject *parent)
    : QObject(parent)
{
    connect(&m_search, &QFutureWatcher<Found>::finished, this, &StripCutFinder::finished);
}

StripCutFinder::~StripCutFinder()
{
    if (m_stop)
        *m_stop = true;
    m_search.waitForFinished();
}

void StripCutFinder::setPages(const QVector<BuildPage> &pages, const PageOptions &options)
{
    const QString key = keyOf(pages, options);
    // The search under way, unless it was told to stop, is for these.
    if (key == m_key || (m_search.isRunning() && key == m_seeking && !m_stop->load()))
        return;
    m_key.clear();
    m_found.clear();
    if (key.isEmpty()) {
        // Strips are no longer cut: what is being looked for is not wanted.
        if (m_search.isRunning())
            *m_stop = true;
        m_hasPending = false;
        m_key = key;
        emit found();
        return;
    }
    if (m_search.isRunning()) {
        // The search under way is for pages that are gone: it stops, and
        // this one starts once it has.
        *m_stop = true;
        m_pending = pages;
        m_pendingOptions = options;
        m_hasPending = true;
        return;
    }
    m_seeking = key;
    m_stop = std::make_shared<std::atomic_bool>(false);
    const std::shared_ptr<std::atomic_bool> stop = m_stop;
    m_search.setFuture(
        QtConcurrent::run([pages, options, stop] { return find(pages, options, stop.get()); }));
}

QVector<LongStrip::Cut> StripCutFinder::cutsOn(const PageLocation &page) const
{
    return m_found.value(page);
}

StripCutFinder::Found StripCutFinder::find(const QVector<BuildPage> &pages,
                                           const PageOptions &options, const std::atomic_bool *stop)
{
    Found found;
    const int threads = qMax(1, QThread::idealThreadCount());
    for (const LongStrip::Run &run :
         LongStrip::runsIn(pages, options.PdfResolution, threads, stop)) {
        if (stop->load())
            break;
        const LongStrip::Forecast forecast =
            LongStrip::forecast(pages, run, options, threads, stop);
        for (int tile = 0; tile < run.count; ++tile)
            found.insert(pages.at(run.first + tile).page, {});
        for (const LongStrip::Cut &cut : forecast.cuts)
            found[pages.at(run.first + cut.tile).page].append(cut);
    }
    return found;
}

void StripCutFinder::finished()
{
    if (m_hasPending) {
        m_hasPending = false;
        const QVector<BuildPage> pages = std::move(m_pending);
        setPages(pages, m_pendingOptions);
        return;
    }
    if (m_stop && m_stop->load())
        return;
    m_found = m_search.result();
    m_key = m_seeking;
    emit found();
}
