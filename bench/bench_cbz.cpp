// The whole "Make CBZ" build through the real window on a realistic corpus,
// with one build thread and with one per core, against
//  - the floor: the same decode, transform, JPEG encode and deflate done by a
//    minimal single-threaded loop over Qt and QuaZip (zlib);
//  - what a user would pick instead: ImageMagick's convert, page by page,
//    then `zip -6` (Debian packages imagemagick and zip).
// It also reports the peak memory of a build of 40 and of 200 pages, the
// longest the window went without handling a 10 ms timer during a build, and
// whether the archives of one thread and of all cores hold the same entries;
// and, without the window, a build that keeps the (quality 90) JPEG pages as
// they are against the default build, and one that stores its pages
// (method 0) against the default deflated one.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz [corpus folder] [pages]
//
// The corpora (default 40 pages of 2000 x 3000 scan-like JPEGs, and a
// second of 200) are made on the first run and kept. Each measured build
// runs in a process of its own so that its peak memory is its own.

#include "app/quirevale.h"
#include "cbz/cbzbuild.h"
#include "cbz/cbzwriter.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace TestSupport;

namespace {
const QSize PageSize(2000, 3000);

QStringList corpusFiles(const QString &folder)
{
    QStringList files;
    for (const QString &name : QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name))
        files << QDir(folder).filePath(name);
    return files;
}

void makeCorpus(const QString &folder, int pages)
{
    QDir().mkpath(folder);
    if (corpusFiles(folder).size() == pages)
        return;
    std::printf("making the corpus: %d pages of %dx%d in %s\n", pages, PageSize.width(),
                PageSize.height(), qPrintable(folder));
    for (int i = 0; i < pages; ++i)
        drawComicPage(i + 1, PageSize)
            .save(QStringLiteral("%1/page%2.jpg").arg(folder).arg(i + 1, 3, 10, QLatin1Char('0')),
                  "jpg", 90);
}

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Child: the real window, offscreen, driven like a user.
int runProgram(const QString &corpus, const QString &target, int threads)
{
    Quirevale window;
    window.setBuildThreads(threads);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    if (!pickFolder(&window, corpus))
        return 1;

    // How long the window goes without handling its events while it builds,
    // and how long the build takes: from the name chosen to the report.
    QElapsedTimer sinceTick, building;
    qint64 longestGap = 0;
    double seconds = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (window.isBuilding()) {
            longestGap = std::max(longestGap, sinceTick.elapsed());
            if (!building.isValid())
                building.start();
        } else if (building.isValid() && seconds == 0) {
            seconds = building.nsecsElapsed() / 1e9;
        }
        sinceTick.start();
    });
    sinceTick.start();
    ticker.start();

    const long before = peakKiB();
    const QList<BoxSeen> boxes = makeCbz(&window, target);
    QTest::qWait(50);
    const bool ok = boxes.value(0).title == QLatin1String("Advise");
    std::printf(
        "program %.3f s threads %d peak %ld KiB (before the build %ld KiB) gap %lld ms %s\n",
        seconds, threads, peakKiB(), before, longestGap, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

// Child: the build job alone, without a window.
int runJob(const QString &corpus, const QString &target, int threads, bool keepJpeg,
           bool store = false)
{
    QVector<BuildPage> pages;
    for (const QString &file : corpusFiles(corpus))
        pages.append({pages.size(), file});
    PageOptions options;
    options.KeepUnchangedJpeg = keepJpeg;
    options.StorePages = store;
    CbzBuild build(target, pages, options);
    build.setThreadCount(threads);
    QElapsedTimer timer;
    timer.start();
    const bool ok = build.run() == CbzBuild::Done;
    std::printf("job %.3f s threads %d peak %ld KiB %s\n", timer.nsecsElapsed() / 1e9, threads,
                peakKiB(), ok ? "ok" : qPrintable(build.errorString()));
    return ok ? 0 : 1;
}

// The entries of two archives, names, data, CRCs and compressed sizes, are
// the same.
bool sameEntries(const QString &a, const QString &b)
{
    QuaZip za(a), zb(b);
    if (!za.open(QuaZip::mdUnzip) || !zb.open(QuaZip::mdUnzip))
        return false;
    const QList<QuaZipFileInfo64> ia = za.getFileInfoList64(), ib = zb.getFileInfoList64();
    if (ia.size() != ib.size())
        return false;
    for (int i = 0; i < ia.size(); ++i) {
        if (ia.at(i).name != ib.at(i).name || ia.at(i).crc != ib.at(i).crc ||
            ia.at(i).compressedSize != ib.at(i).compressedSize)
            return false;
    }
    bool okA = false, okB = false;
    QList<ArchiveEntry> ea = readArchive(a, &okA), eb = readArchive(b, &okB);
    for (int i = 0; okA && okB && i < ea.size(); ++i) {
        if (ea.at(i).data != eb.at(i).data)
            return false;
    }
    return okA && okB;
}

// Child: the floor, one thread, no window.
int runFloor(const QString &corpus, const QString &target)
{
    double decode = 0, encode = 0, deflate = 0;
    QElapsedTimer total, step;
    total.start();
    QuaZip zip(target);
    if (!zip.open(QuaZip::mdCreate))
        return 1;
    int number = 0;
    for (const QString &file : corpusFiles(corpus)) {
        step.start();
        const QImage image(file);
        decode += step.nsecsElapsed() / 1e9;

        step.start();
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.setQuality(100);
        writer.write(image);
        encode += step.nsecsElapsed() / 1e9;

        step.start();
        QuaZipFile entry(&zip);
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo(CbzWriter::entryName(number++)), nullptr, 0,
                   8, -1, false, -15, 8, 0);
        entry.write(jpeg);
        entry.close();
        deflate += step.nsecsElapsed() / 1e9;
    }
    zip.close();
    const double seconds = total.nsecsElapsed() / 1e9;
    std::printf("floor %.3f s decode %.3f encode %.3f deflate %.3f peak %ld KiB\n", seconds, decode,
                encode, deflate, peakKiB());
    return zip.getZipError() == 0 ? 0 : 1;
}

// Runs this program again in the given mode and returns the line it printed.
QString child(const QString &mode, const QString &corpus, const QString &target, int threads = 0)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  {mode, corpus, target, QString::number(threads)});
    process.waitForFinished(-1);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

double field(const QString &line, const QString &name)
{
    const QStringList words = line.split(QLatin1Char(' '));
    const int at = words.indexOf(name);
    return at >= 0 ? words.value(at + 1).toDouble() : -1;
}

double imageMagickPipeline(const QString &corpus, const QString &work)
{
    QElapsedTimer timer;
    timer.start();
    int number = 0;
    QStringList entries;
    for (const QString &file : corpusFiles(corpus)) {
        const QString name = CbzWriter::entryName(number++);
        if (QProcess::execute(QStringLiteral("convert"),
                              {file, QStringLiteral("-quality"), QStringLiteral("100"),
                               QDir(work).filePath(name)}) != 0)
            return -1;
        entries << name;
    }
    QProcess zip;
    zip.setWorkingDirectory(work);
    zip.start(QStringLiteral("zip"), QStringList{"-6", "-q", "magick.cbz"} + entries);
    zip.waitForFinished(-1);
    if (zip.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char *argv[])
{
    isolateSettings();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.value(1) == QLatin1String("--program"))
        return runProgram(args.value(2), args.value(3), args.value(4).toInt());
    if (args.value(1) == QLatin1String("--job"))
        return runJob(args.value(2), args.value(3), args.value(4).toInt(), false);
    if (args.value(1) == QLatin1String("--job-keep"))
        return runJob(args.value(2), args.value(3), args.value(4).toInt(), true);
    if (args.value(1) == QLatin1String("--job-store"))
        return runJob(args.value(2), args.value(3), args.value(4).toInt(), false, true);
    if (args.value(1) == QLatin1String("--floor"))
        return runFloor(args.value(2), args.value(3));

    const QString corpus =
        args.value(1, QDir::temp().filePath(QStringLiteral("quirevale-bench-corpus")));
    const int pages = args.value(2, QStringLiteral("40")).toInt();
    makeCorpus(corpus, pages);

    const QString bigCorpus = corpus + QStringLiteral("-200");
    makeCorpus(bigCorpus, 200);

    QTemporaryDir work;
    const int cores = QThread::idealThreadCount();
    const QString single =
        child(QStringLiteral("--program"), corpus, work.filePath("single.cbz"), 1);
    const QString program =
        child(QStringLiteral("--program"), corpus, work.filePath("program.cbz"), cores);
    const QString floor = child(QStringLiteral("--floor"), corpus, work.filePath("floor.cbz"));
    const double magick = imageMagickPipeline(corpus, work.path());
    const QString job = child(QStringLiteral("--job"), corpus, work.filePath("job.cbz"), cores);
    const QString kept =
        child(QStringLiteral("--job-keep"), corpus, work.filePath("kept.cbz"), cores);
    const QString stored =
        child(QStringLiteral("--job-store"), corpus, work.filePath("stored.cbz"), cores);
    const QString big =
        child(QStringLiteral("--program"), bigCorpus, work.filePath("big.cbz"), cores);
    QFile::remove(work.filePath("big.cbz"));

    const double programSeconds = field(program, "program");
    const double floorSeconds = field(floor, "floor");
    std::printf("corpus: %d pages of %dx%d, quality 100, deflate level 6, %d cores\n", pages,
                PageSize.width(), PageSize.height(), cores);
    std::printf("%s\n%s\n%s\n", qPrintable(single), qPrintable(program), qPrintable(floor));
    std::printf("imagemagick + zip -6 %.3f s\n", magick);
    std::printf("200 pages: %s\n", qPrintable(big));
    std::printf("floor / program, 1 thread: %.2f\n", floorSeconds / field(single, "program"));
    std::printf("floor / program, %d threads: %.2f\n", cores, floorSeconds / programSeconds);
    if (magick > 0)
        std::printf("imagemagick+zip / program: %.2f\n", magick / programSeconds);
    else
        std::printf("imagemagick + zip: not available (apt-get install imagemagick zip)\n");
    std::printf("peak memory, 40 pages %.0f KiB, 200 pages %.0f KiB\n", field(program, "peak"),
                field(big, "peak"));
    std::printf("longest GUI gap during a build: %.0f ms\n", field(program, "gap"));
    std::printf("without the window, %d threads: %.3f s, %lld bytes; JPEG pages kept as they are "
                "(quality 90 scans): %.3f s, %lld bytes\n",
                cores, field(job, "job"), QFileInfo(work.filePath("job.cbz")).size(),
                field(kept, "job"), QFileInfo(work.filePath("kept.cbz")).size());
    const double storedSize = QFileInfo(work.filePath("stored.cbz")).size();
    const double deflatedSize = QFileInfo(work.filePath("job.cbz")).size();
    std::printf("pages stored, not deflated: %.3f s, %.0f bytes; deflated / stored time %.2f, "
                "stored / deflated size %.4f\n",
                field(stored, "job"), storedSize, field(job, "job") / field(stored, "job"),
                storedSize / deflatedSize);
    std::printf("entries of 1 and %d threads identical: %s\n", cores,
                sameEntries(work.filePath("single.cbz"), work.filePath("program.cbz")) ? "yes"
                                                                                       : "NO");
    std::printf("floor time shares: decode %.0f%%, encode %.0f%%, deflate %.0f%%\n",
                100 * field(floor, "decode") / floorSeconds,
                100 * field(floor, "encode") / floorSeconds,
                100 * field(floor, "deflate") / floorSeconds);
    std::printf("program archive %lld bytes, floor archive %lld bytes\n",
                QFileInfo(work.filePath("program.cbz")).size(),
                QFileInfo(work.filePath("floor.cbz")).size());
    return 0;
}
