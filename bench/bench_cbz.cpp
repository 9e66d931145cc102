// The whole "Make CBZ" build on a realistic corpus, against
//  - the floor: the same decode, transform, JPEG encode and deflate done by a
//    minimal single-threaded loop over the same libraries (Qt, QuaZip, zlib);
//  - what a user would pick instead: ImageMagick's convert, page by page,
//    then `zip -6` (Debian packages imagemagick and zip).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz [corpus folder] [pages]
//
// The corpus (default 40 pages of 2000 x 3000 scan-like JPEGs) is made on
// the first run and kept. Each measured build runs in a process of its own
// so that its peak memory is its own.

#include "cbzwriter.h"
#include "quirevale.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

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
int runProgram(const QString &corpus, const QString &target)
{
    Quirevale window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    if (!pickFolder(&window, corpus))
        return 1;

    const long before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    // Includes answering the save dialog and the report, a few tens of ms.
    const QList<BoxSeen> boxes = makeCbz(&window, target);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const bool ok = boxes.value(0).title == QLatin1String("Advise");
    std::printf("program %.3f s peak %ld KiB (before the build %ld KiB) %s\n", seconds, peakKiB(),
                before, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
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
QString child(const QString &mode, const QString &corpus, const QString &target)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), {mode, corpus, target});
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
        return runProgram(args.value(2), args.value(3));
    if (args.value(1) == QLatin1String("--floor"))
        return runFloor(args.value(2), args.value(3));

    const QString corpus =
        args.value(1, QDir::temp().filePath(QStringLiteral("quirevale-bench-corpus")));
    const int pages = args.value(2, QStringLiteral("40")).toInt();
    makeCorpus(corpus, pages);

    QTemporaryDir work;
    const QString program =
        child(QStringLiteral("--program"), corpus, work.filePath("program.cbz"));
    const QString floor = child(QStringLiteral("--floor"), corpus, work.filePath("floor.cbz"));
    const double magick = imageMagickPipeline(corpus, work.path());

    const double programSeconds = field(program, "program");
    const double floorSeconds = field(floor, "floor");
    std::printf("corpus: %d pages of %dx%d, quality 100, deflate level 6\n", pages,
                PageSize.width(), PageSize.height());
    std::printf("%s\n%s\n", qPrintable(program), qPrintable(floor));
    std::printf("imagemagick + zip -6 %.3f s\n", magick);
    std::printf("ratio program / floor: %.2f\n", programSeconds / floorSeconds);
    if (magick > 0)
        std::printf("ratio program / imagemagick+zip: %.2f\n", programSeconds / magick);
    else
        std::printf("imagemagick + zip: not available (apt-get install imagemagick zip)\n");
    std::printf("floor time shares: decode %.0f%%, encode %.0f%%, deflate %.0f%%\n",
                100 * field(floor, "decode") / floorSeconds,
                100 * field(floor, "encode") / floorSeconds,
                100 * field(floor, "deflate") / floorSeconds);
    std::printf("program archive %lld bytes, floor archive %lld bytes\n",
                QFileInfo(work.filePath("program.cbz")).size(),
                QFileInfo(work.filePath("floor.cbz")).size());
    return 0;
}
