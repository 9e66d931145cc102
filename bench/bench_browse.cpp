// Stepping through a book as fast as a held arrow key: 40 scans of
// 2480 x 3508 JPEG (A4 at 300 dpi, with a sensor's noise), the current row
// changed every 30 ms in
// the real window. Reports the time from a row change to its page being
// shown (median and worst, over the rows that were shown before the next
// change, and how many were passed by unshown), the time from a row change
// to its page or a later one being shown (over every row), and the longest
// the window went without handling a 10 ms timer; in a 1366 x 768 window and
// in a 1920 x 1200 one.
//
//   xvfb-run -a -s "-screen 0 1920x1200x24" build/bench/bench_browse [corpus folder]
//
// The corpus is made on the first run and kept.

#include "app/quirevale.h"
#include "pages/pagereader.h"
#include "preview/imagemanager.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace TestSupport;

namespace {
const QSize PageSize(2480, 3508);
const int Pages = 40;
const int StepMs = 30;

void makeCorpus(const QString &folder)
{
    QDir().mkpath(folder);
    if (QDir(folder).entryList({"*.jpg"}).size() == Pages)
        return;
    std::printf("making the corpus: %d pages of %dx%d in %s\n", Pages, PageSize.width(),
                PageSize.height(), qPrintable(folder));
    for (int i = 0; i < Pages; ++i)
        addScannerNoise(drawComicPage(i + 1, PageSize), quint32(i))
            .save(QStringLiteral("%1/page%2.jpg").arg(folder).arg(i + 1, 3, 10, QLatin1Char('0')),
                  "jpg", 90);
}

double percentile(QVector<qint64> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return double(values.at(qMin(values.size() - 1, int(p * (values.size() - 1) + 0.5))));
}
} // namespace

// One pass through the book in a window of that size.
int browse(const QString &corpus, const QSize &size)
{
    clearSettings();
    Quirevale window;
    window.resize(size);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !pickFolder(&window, corpus))
        return 1;
    auto *list = window.findChild<QListWidget *>(QStringLiteral("ImagesList"));
    auto *preview = window.findChild<ImageManager *>(QStringLiteral("ImageArea"));
    QElapsedTimer wait;
    wait.start();
    while (preview->GetImage().isNull() && wait.elapsed() < 10000)
        QTest::qWait(5);

    QElapsedTimer clock, sinceTick;
    clock.start();
    sinceTick.start();
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, sinceTick.elapsed());
        sinceTick.restart();
    });

    // Which picture is on show tells when the asked-for page arrived.
    // A row passed by unshown waits for the next page shown: that is how
    // long the preview trails the key.
    QVector<qint64> latencies, trailing;
    QVector<qint64> unshownSince;
    int passedBy = 0;
    qint64 askedAt = -1;
    qint64 shownKey = preview->GetImage().cacheKey();
    auto checkShown = [&] {
        if (askedAt >= 0 && preview->GetImage().cacheKey() != shownKey) {
            shownKey = preview->GetImage().cacheKey();
            latencies.append(clock.elapsed() - askedAt);
            for (qint64 since : unshownSince)
                trailing.append(clock.elapsed() - since);
            unshownSince.clear();
            askedAt = -1;
        }
    };
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, checkShown);

    int row = 0;
    QTimer key;
    key.setInterval(StepMs);
    QObject::connect(&key, &QTimer::timeout, [&] {
        checkShown();
        if (askedAt >= 0)
            ++passedBy;
        if (++row >= list->count()) {
            key.stop();
            return;
        }
        askedAt = clock.elapsed();
        unshownSince.append(askedAt);
        list->setCurrentRow(row);
        checkShown();
    });
    ticker.start();
    poll.start();
    key.start();
    while (key.isActive())
        QTest::qWait(1);
    wait.restart();
    while (askedAt >= 0 && wait.elapsed() < 10000)
        QTest::qWait(1);
    if (askedAt >= 0)
        ++passedBy;

    std::printf("window %d x %d (preview %d x %d)\n", size.width(), size.height(), preview->width(),
                preview->height());
    std::printf("browse: %d rows changed every %d ms; %d shown, %d passed by unshown\n",
                list->count() - 1, StepMs, latencies.size(), passedBy);
    std::printf("row change to page shown: median %.0f ms, worst %.0f ms\n",
                percentile(latencies, 0.5), percentile(latencies, 1.0));
    std::printf("row change to its page or a later one shown: median %.0f ms, worst %.0f ms\n",
                percentile(trailing, 0.5), percentile(trailing, 1.0));
    std::printf("longest gap of a 10 ms GUI timer: %lld ms\n", longestGap);
    return 0;
}

// One page read for a preview of bounds, the quick way and the careful way
// a build checks it: the median of every page of the corpus.
void timeDecodes(const QString &corpus, const QSize &bounds)
{
    QVector<qint64> quick, careful;
    for (const QString &name : QDir(corpus).entryList({"*.jpg"})) {
        const PageLocation page(QDir(corpus).filePath(name));
        QElapsedTimer timer;
        timer.start();
        const bool shown = PageReader::readPreviewPicture(page, bounds, 200).isValid();
        quick.append(timer.restart());
        const bool checked = PageReader::readFirstPicture(page, bounds).isValid();
        careful.append(timer.elapsed());
        if (!shown || !checked)
            std::printf("%s cannot be read\n", qPrintable(name));
    }
    std::printf("one page for a %d x %d preview: quick %.0f ms, careful %.0f ms (medians)\n",
                bounds.width(), bounds.height(), percentile(quick, 0.5), percentile(careful, 0.5));
}

int main(int argc, char *argv[])
{
    isolateSettings();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    const QString corpus = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir::temp().filePath("quirevale-bench-browse-scans");
    makeCorpus(corpus);
    // A laptop's screen, and a large one: the preview's pictures are read
    // larger there.
    for (const QSize &size : {QSize(1366, 768), QSize(1920, 1200)}) {
        if (browse(corpus, size) != 0)
            return 1;
    }
    timeDecodes(corpus, QSize(1515, 1007));
    return 0;
}
