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
// (method 0) against the default deflated one. Last, a table of the size,
// time and PSNR of each kind of archive made from the same 40 pages:
// the default, stored, JPEG at quality 90 against WebP at the quality whose
// PSNR matches it, the pages in grey with and without grey pages found, and
// a split with a border re-encoded against the same cut on the blocks. And
// 40 skewed A4 scans: the default build against one that straightens them
// and one that evens out their paper, with the slants found against the
// truth. And the peak memory of a build of four 4000 x 4000 pages in each
// format, with one thread and with four. And a webtoon chapter of 60 tiles of
// 800 x 12000 for a colour e-reader, its strip cut into pages a screen high
// against the same tiles built plainly.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz [corpus folder] [pages]
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --formats [corpus folder]
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --scans
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --memory
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --strips
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --long-epub
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --long-azw3
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cbz --kinds [corpus folder]
//
// The corpora (default 40 pages of 2000 x 3000 scan-like JPEGs, and a
// second of 200) are made on the first run and kept. Each measured build
// runs in a process of its own so that its peak memory is its own.

#include "app/quirevale.h"
#include "book/book.h"
#include "book/bookpreset.h"
#include "making/bookbuild.h"
#include "making/losslesscut.h"
#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "making/zipwriter.h"
#include "pages/pagereader.h"
#include "samplepages.h"
#include "scans/skew.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace TestSupport;

namespace {
const QSize PageSize(2000, 3000);

QStringList corpusFiles(const QString &folder)
{
    QStringList files;
    for (const QString &name : QDir(folder).entryList({"*.jpg", "*.png"}, QDir::Files, QDir::Name))
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

// The options a recipe names, comma-separated: "keep" (JPEG pages kept as
// they are), "store", "q<quality>", "webp", "grey" (grey pages found by
// their pixels), "cut" (split in two at the middle, a 30-pixel border) and
// "lossless" (cut on the blocks).
PageOptions optionsFor(const QString &recipe)
{
    PageOptions options;
    for (const QString &word : recipe.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("keep"))
            options.KeepUnchangedPages = true;
        else if (word == QLatin1String("store"))
            options.StorePages = true;
        else if (word.startsWith(QLatin1Char('q')))
            options.ImageQuality = word.mid(1).toInt();
        else if (word == QLatin1String("webp"))
            options.PageFormat = PageOptions::WebpPages;
        else if (word == QLatin1String("webplossless"))
            options.PageFormat = PageOptions::WebpLosslessPages;
        else if (word == QLatin1String("grey"))
            options.PageGrey = PageOptions::GreyWithoutColour;
        else if (word == QLatin1String("lossless"))
            options.LosslessCuts = true;
        else if (word == QLatin1String("deskew"))
            options.ScanStraighten = true;
        else if (word == QLatin1String("levels"))
            options.ScanLevels = true;
        else if (word == QLatin1String("epub"))
            options.BookKind = PageOptions::EpubBook;
        else if (word == QLatin1String("azw3"))
            options.BookKind = PageOptions::Azw3Book;
        else if (word == QLatin1String("pdf"))
            options.BookKind = PageOptions::PdfBook;
        else if (word == QLatin1String("strip"))
            options.CutLongStrips = true;
        else if (word == QLatin1String("eink") || word == QLatin1String("libra")) {
            // The 7 to 8 inch e-ink reader's preset, or the Kobo Libra
            // Colour's, as the window applies it.
            const QLatin1String name(word == QLatin1String("eink") ? "eink7" : "kobo-libra-colour");
            for (const BookPreset &preset : BookPreset::builtIns()) {
                if (preset.name() == name) {
                    const PageOptions::Kind kind = options.BookKind;
                    options = preset.appliedTo(BookOptions()).pages;
                    options.BookKind = kind;
                }
            }
        } else if (word == QLatin1String("cut")) {
            options.ImageCutDoublePages = true;
            options.ImageCutBorder = true;
            options.ImageCutBorderNumber = 30;
        }
    }
    return options;
}

// Child: the build job alone, without a window.
int runJob(const QString &corpus, const QString &target, int threads, const QString &recipe)
{
    QVector<BuildPage> pages;
    if (QFileInfo(corpus).isFile()) // an archive's pages
        pages = Book::buildPages(Book::open(corpus, EveryPictureType).listedPages());
    for (const QString &file : corpusFiles(corpus))
        pages.append({pages.size(), file});
    BookBuild build(target, pages, optionsFor(recipe));
    build.setThreadCount(threads);
    QElapsedTimer timer;
    timer.start();
    // A scan's clean-up says what it did to each page.
    const bool ok = build.run() == BookBuild::Done &&
                    (build.pageNotes().isEmpty() || recipe.contains(QLatin1String("deskew")) ||
                     recipe.contains(QLatin1String("strip")));
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
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo(ZipWriter::entryName(number++)), nullptr, 0,
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
QString child(const QString &mode, const QString &corpus, const QString &target, int threads = 0,
              const QString &recipe = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  {mode, corpus, target, QString::number(threads), recipe});
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
        const QString name = ZipWriter::entryName(number++);
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

// A script's way to the lossless row: jpegtran -optimize cuts each part of
// every page (the parts our build makes), the cores kept busy by xargs, then
// zip -6 packs them. Seconds, and the archive's bytes; -1 when a tool is
// missing or failed.
QPair<double, qint64> jpegtranPipeline(const QString &corpus, const QString &work,
                                       const PageOptions &options, int cores)
{
    if (QStandardPaths::findExecutable(QStringLiteral("jpegtran")).isEmpty())
        return {-1, -1};
    const QString parts = QDir(work).filePath(QStringLiteral("jpegtran"));
    QDir().mkpath(parts);
    QByteArray commands;
    QStringList entries;
    for (const QString &file : corpusFiles(corpus)) {
        const QSize size = QImageReader(file).size();
        for (const QRect &region :
             LosslessCut::regions(planPage(size, options), options, QSize(16, 16))) {
            const QString name = ZipWriter::entryName(entries.size());
            commands += QStringLiteral("-optimize -copy none -crop %1x%2+%3+%4 -outfile %5 %6\n")
                            .arg(region.width())
                            .arg(region.height())
                            .arg(region.x())
                            .arg(region.y())
                            .arg(QDir(parts).filePath(name), file)
                            .toUtf8();
            entries << name;
        }
    }
    const QString list = QDir(work).filePath(QStringLiteral("jpegtran.txt"));
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(commands) != commands.size())
        return {-1, -1};
    listFile.close();
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(
            QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("xargs -P %1 -L 1 jpegtran < %2").arg(cores).arg(list)}) != 0)
        return {-1, -1};
    QProcess zip;
    zip.setWorkingDirectory(parts);
    zip.start(QStringLiteral("zip"), QStringList{"-6", "-q", "peer.cbz"} + entries);
    zip.waitForFinished(-1);
    if (zip.exitCode() != 0)
        return {-1, -1};
    return {timer.nsecsElapsed() / 1e9, QFileInfo(QDir(parts).filePath("peer.cbz")).size()};
}

// Squared differences of every channel of every pixel, and their count.
struct Error
{
    double squares = 0;
    double samples = 0;

    void add(const QImage &made, const QImage &expected)
    {
        const QImage a = made.convertToFormat(QImage::Format_RGB32);
        const QImage b = expected.convertToFormat(QImage::Format_RGB32);
        if (a.size() != b.size()) {
            squares = qInf();
            return;
        }
        for (int y = 0; y < a.height(); ++y) {
            const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
            const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                const int r = qRed(p[x]) - qRed(q[x]), g = qGreen(p[x]) - qGreen(q[x]),
                          bl = qBlue(p[x]) - qBlue(q[x]);
                squares += r * r + g * g + bl * bl;
            }
        }
        samples += 3.0 * a.width() * a.height();
    }
    double psnr() const
    {
        return squares == 0 ? qInf() : 10 * std::log10(255.0 * 255.0 * samples / squares);
    }
};

// What the pages of a build from source should show, before any loss.
QList<QImage> expectedPages(const QImage &source, const PageOptions &options)
{
    QList<QImage> pages;
    if (!options.LosslessCuts) {
        const QImage picture = PageReader::forEncoding(source);
        for (const PagePart &part : PageRecipe::ofPicture(picture, options).carryOut(picture))
            pages << part.picture;
        return pages;
    }
    const QSize grid(16, 16); // the corpus's 4:2:0 JPEGs
    for (const QRect &region :
         LosslessCut::regions(planPage(source.size(), options), options, grid))
        pages << source.copy(region);
    return pages;
}

// The PSNR of an archive's pages against its sources.
double archivePsnr(const QString &archive, const QString &corpus, const PageOptions &options)
{
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(archive, &ok);
    Error error;
    int next = 0;
    for (const QString &file : corpusFiles(corpus)) {
        for (const QImage &expected : expectedPages(QImage(file), options)) {
            QImage made;
            if (!ok || next >= entries.size() || !made.loadFromData(entries.at(next++).data))
                return -1;
            error.add(made, expected);
        }
    }
    return error.psnr();
}

// The lowest WebP quality (in fives) whose pages are at least as close to
// the sources as JPEG's at quality 90, measured on a few pages.
int webpQualityMatchingJpeg90(const QString &corpus)
{
    const QStringList files = corpusFiles(corpus).mid(0, 6);
    PageOptions jpeg;
    jpeg.ImageQuality = 90;
    Error jpegError;
    QList<QImage> sources;
    for (const QString &file : files) {
        sources << PageReader::forEncoding(QImage(file));
        QImage made;
        made.loadFromData(encodePage(sources.last(), jpeg, false));
        jpegError.add(made, sources.last());
    }
    for (int quality = 50; quality < 100; quality += 5) {
        PageOptions webp;
        webp.PageFormat = PageOptions::WebpPages;
        webp.ImageQuality = quality;
        Error error;
        for (const QImage &source : qAsConst(sources)) {
            QImage made;
            made.loadFromData(encodePage(source, webp, false));
            error.add(made, source);
        }
        if (error.psnr() >= jpegError.psnr())
            return quality;
    }
    return 100;
}

// The same pages in grey, saved as colour JPEGs (as many scans of manga
// are); and the pages as drawn, before any JPEG, in PNG files.
void makeGreyCorpus(const QString &corpus, const QString &grey)
{
    QDir().mkpath(grey);
    const QStringList files = corpusFiles(corpus);
    if (corpusFiles(grey).size() == files.size())
        return;
    for (const QString &file : files)
        QImage(file)
            .convertToFormat(QImage::Format_Grayscale8)
            .convertToFormat(QImage::Format_RGB32)
            .save(QDir(grey).filePath(QFileInfo(file).fileName()), "jpg", 90);
}

void makeDrawnCorpus(const QString &folder, int pages)
{
    QDir().mkpath(folder);
    if (corpusFiles(folder).size() == pages)
        return;
    for (int i = 0; i < pages; ++i)
        drawComicPage(i + 1, PageSize)
            .save(QStringLiteral("%1/page%2.png").arg(folder).arg(i + 1, 3, 10, QLatin1Char('0')));
}

// Size, time and PSNR of each kind of archive, from the same pages.
void printFormatTable(const QString &corpus, const QString &work, int cores)
{
    const QString grey = corpus + QStringLiteral("-grey");
    makeGreyCorpus(corpus, grey);
    // Codecs are compared on pages that no JPEG has touched yet.
    const QString drawn = corpus + QStringLiteral("-drawn");
    makeDrawnCorpus(drawn, corpusFiles(corpus).size());
    const QString webp = QStringLiteral("webp,q%1").arg(webpQualityMatchingJpeg90(drawn));
    struct Row
    {
        const char *label;
        QString corpus;
        QString recipe;
        double seconds = 0;
        qint64 bytes = 0;
        double psnr = 0;
    };
    QList<Row> rows = {
        {"default (JPEG q100, deflated)", corpus, QString()},
        {"stored", corpus, QStringLiteral("store")},
        {"kept as they are", corpus, QStringLiteral("keep")},
        {"kept as they are, stored", corpus, QStringLiteral("keep,store")},
        {"drawn pages: JPEG q90", drawn, QStringLiteral("q90")},
        {"drawn pages: WebP, same PSNR", drawn, webp},
        {"grey pages: default", grey, QString()},
        {"grey pages: grey auto", grey, QStringLiteral("grey")},
        {"split + border, re-encoded", corpus, QStringLiteral("cut")},
        {"split + border, lossless", corpus, QStringLiteral("cut,lossless")},
    };
    for (Row &row : rows) {
        const QString target = QDir(work).filePath(QStringLiteral("row.cbz"));
        QFile::remove(target);
        row.seconds =
            field(child(QStringLiteral("--job"), row.corpus, target, cores, row.recipe), "job");
        row.bytes = QFileInfo(target).size();
        row.psnr = archivePsnr(target, row.corpus, optionsFor(row.recipe));
    }
    std::printf("\n%-32s %9s %12s %9s   (%d threads, %s)\n", "archive", "time s", "bytes",
                "PSNR dB", cores, qPrintable(webp));
    for (const Row &row : qAsConst(rows))
        std::printf("%-32s %9.3f %12lld %9.2f\n", row.label, row.seconds, row.bytes, row.psnr);
    const auto ratio = [&rows](int a, int b, bool bytes) {
        return bytes ? double(rows.at(a).bytes) / rows.at(b).bytes
                     : rows.at(a).seconds / rows.at(b).seconds;
    };
    std::printf("stored: %.2fx faster, %.4fx the size; pages kept as they are: %.2fx faster, "
                "%.4fx the size\n",
                ratio(0, 1, false), ratio(1, 0, true), ratio(2, 3, false), ratio(3, 2, true));
    std::printf("WebP: %.3fx the size of JPEG q90\n", ratio(5, 4, true));
    std::printf("grey auto on grey pages: %.2fx faster, %.3fx the size\n", ratio(6, 7, false),
                ratio(7, 6, true));
    std::printf("lossless cuts: %.2fx faster than re-encoded, %.3fx the size\n", ratio(8, 9, false),
                ratio(9, 8, true));
    const QPair<double, qint64> peer =
        jpegtranPipeline(corpus, work, optionsFor(QStringLiteral("cut,lossless")), cores);
    if (peer.first > 0)
        std::printf("lossless cuts against jpegtran -optimize (xargs -P %d) + zip -6: %.3f s "
                    "against %.3f s, %.4fx the size\n",
                    cores, rows.at(9).seconds, peer.first, double(rows.at(9).bytes) / peer.second);
}
// The slant of scan i of the skewed corpus, from -4° to 4° in tenths.
double slantOf(int i)
{
    return std::round(-40 + (i * 37) % 81) / 10.0;
}

// Skewed scans: drawn pages of A4 at 300 ppi, laid askew on the scanner by
// slantOf() degrees, with its noise, saved as a scanner saves them.
void makeSkewedCorpus(const QString &folder, int pages)
{
    QDir().mkpath(folder);
    if (corpusFiles(folder).size() == pages)
        return;
    std::printf("making the skewed scans: %d pages of 2480x3508 in %s\n", pages,
                qPrintable(folder));
    for (int i = 0; i < pages; ++i)
        addScannerNoise(turnedOnPaper(drawComicPage(i + 1, QSize(2480, 3508)), slantOf(i)),
                        quint32(i))
            .save(QStringLiteral("%1/scan%2.jpg").arg(folder).arg(i, 3, 10, QLatin1Char('0')),
                  "jpg", 90);
}

// The default build of skewed scans against straightened and levelled
// ones, and the slants found against the truth.
void printScanTable(const QString &corpus, const QString &work, int cores)
{
    const int pages = 40;
    makeSkewedCorpus(corpus, pages);
    const QString target = QDir(work).filePath(QStringLiteral("scans.cbz"));
    struct Row
    {
        const char *label;
        QString recipe;
        double seconds = 0;
    };
    QList<Row> rows = {{"default", QString()},
                       {"straightened", QStringLiteral("deskew")},
                       {"levelled", QStringLiteral("levels")},
                       {"default, again", QString()}};
    for (Row &row : rows) {
        QFile::remove(target);
        row.seconds =
            field(child(QStringLiteral("--job"), corpus, target, cores, row.recipe), "job");
    }
    double worst = 0;
    int within = 0;
    for (int i = 0; i < pages; ++i) {
        const QImage scan(
            QStringLiteral("%1/scan%2.jpg").arg(corpus).arg(i, 3, 10, QLatin1Char('0')));
        const Skew skew = Skew::find(scan);
        const double error = skew.found ? std::abs(skew.degrees - slantOf(i)) : 99;
        worst = std::max(worst, error);
        within += error <= 0.15;
    }
    const double base = (rows.at(0).seconds + rows.at(3).seconds) / 2;
    std::printf("\n%d skewed scans of 2480x3508 (JPEG q90), %d threads\n", pages, cores);
    for (const Row &row : qAsConst(rows))
        std::printf("%-16s %8.3f s  %.2fx the default\n", row.label, row.seconds,
                    row.seconds / base);
    std::printf("slants found within 0.15 degrees: %d of %d; worst error %.3f degrees\n", within,
                pages, worst);
}
// Four pages of 4000 x 4000 scanned at 600 ppi: the pages whose buffers
// decide a build's peak memory.
void makeLargeCorpus(const QString &folder)
{
    QDir().mkpath(folder);
    if (corpusFiles(folder).size() == 4)
        return;
    for (int i = 0; i < 4; ++i)
        addScannerNoise(drawComicPage(i + 1, QSize(4000, 4000)), quint32(i))
            .save(QStringLiteral("%1/large%2.jpg").arg(folder).arg(i), "jpg", 90);
}

// Peak memory of a build of the large pages in each format, with one thread
// and with four: the memory budget holds pages back, so that four threads
// stay near one thread's peak plus a page.
void printMemoryTable(const QString &corpus, const QString &work)
{
    makeLargeCorpus(corpus);
    const QString target = QDir(work).filePath(QStringLiteral("large.cbz"));
    std::printf("\npeak memory, 4 pages of 4000x4000 (budget %lld MiB)\n",
                BookBuild::DefaultMemoryBudget >> 20);
    std::printf("%-16s %10s %10s\n", "format", "1 thread", "4 threads");
    for (const char *recipe : {"", "keep", "webp", "webplossless"}) {
        double peaks[2] = {};
        for (int i = 0; i < 2; ++i) {
            QFile::remove(target);
            peaks[i] = field(
                child(QStringLiteral("--job"), corpus, target, i ? 4 : 1, QLatin1String(recipe)),
                "peak");
        }
        std::printf("%-16s %6.0f MiB %6.0f MiB\n", *recipe ? recipe : "jpeg", peaks[0] / 1024,
                    peaks[1] / 1024);
    }
    // A CBZ of four small JPEG pages, each followed in its entry by 250 MB
    // of nothing: what the pages' files hold is read a few at a time.
    const QString padded = QDir(work).filePath(QStringLiteral("padded.cbz"));
    {
        QuaZip zip(padded);
        zip.open(QuaZip::mdCreate);
        const QByteArray page = encoded(noiseImage(64, 96), "jpg", 90) + QByteArray(250 << 20, 0);
        for (int i = 0; i < 4; ++i) {
            QuaZipFile file(&zip);
            file.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("%1.jpg").arg(i)));
            file.write(page);
        }
    }
    double peaks[2] = {};
    for (int i = 0; i < 2; ++i) {
        QFile::remove(target);
        peaks[i] =
            field(child(QStringLiteral("--job"), padded, target, i ? 4 : 1, QString()), "peak");
    }
    std::printf("%-16s %6.0f MiB %6.0f MiB (%.2fx)\n", "250 MB entries", peaks[0] / 1024,
                peaks[1] / 1024, peaks[1] / peaks[0]);
    QFile::remove(padded);
}
} // namespace

// The same pages with the e-ink preset as a CBZ, an EPUB and a Kindle book,
// turn about, the median of five each; then kept as they are, as a CBZ and
// as a PDF.
void printKindRow(const QString &corpus, const QString &work, int cores)
{
    const QStringList kinds{QStringLiteral("cbz"), QStringLiteral("epub"), QStringLiteral("azw3")};
    QVector<QVector<double>> times(kinds.size());
    for (int run = 0; run < 5; ++run) {
        for (int k = 0; k < kinds.size(); ++k) {
            const QString target = QDir(work).filePath(QStringLiteral("kind.") + kinds.at(k));
            QFile::remove(target);
            const QString said = child(QStringLiteral("--job"), corpus, target, cores,
                                       QStringLiteral("eink,") + kinds.at(k));
            times[k].append(field(said, "job"));
        }
    }
    for (QVector<double> &each : times)
        std::sort(each.begin(), each.end());
    std::printf("e-ink preset, %d threads: CBZ %.3f s, EPUB %.3f s (%.3fx), AZW3 %.3f s (%.3fx the "
                "CBZ's time)\n",
                cores, times[0].at(2), times[1].at(2), times[1].at(2) / times[0].at(2),
                times[2].at(2), times[2].at(2) / times[0].at(2));

    // The pages kept as they are, as a CBZ and as a PDF: the time, and the
    // PDF's bytes beyond its pages'.
    QVector<double> keptCbz, keptPdf;
    qint64 pdfBytes = 0;
    for (int run = 0; run < 5; ++run) {
        for (const bool pdf : {false, true}) {
            const QString target =
                QDir(work).filePath(pdf ? QStringLiteral("kept.pdf") : QStringLiteral("kept.cbz"));
            QFile::remove(target);
            const QString said = child(QStringLiteral("--job"), corpus, target, cores,
                                       pdf ? QStringLiteral("keep,pdf") : QStringLiteral("keep"));
            (pdf ? keptPdf : keptCbz).append(field(said, "job"));
            if (pdf)
                pdfBytes = QFileInfo(target).size();
        }
    }
    std::sort(keptCbz.begin(), keptCbz.end());
    std::sort(keptPdf.begin(), keptPdf.end());
    qint64 pagesBytes = 0;
    for (const QString &file : corpusFiles(corpus))
        pagesBytes += QFileInfo(file).size();
    std::printf("pages kept, %d threads: CBZ %.3f s, PDF %.3f s (%.3fx the CBZ's time); the PDF "
                "%lld bytes, its pages %lld (%.4fx, %lld bytes more)\n",
                cores, keptCbz.at(2), keptPdf.at(2), keptPdf.at(2) / keptCbz.at(2), pdfBytes,
                pagesBytes, double(pdfBytes) / pagesBytes, pdfBytes - pagesBytes);
}

// A Kindle book of 2,000 small pages, read back by libmobi's mobitool: its
// pages all there, in order.
void printLongAzw3Row(const QString &work, int cores)
{
    QVector<BuildPage> pages;
    for (int i = 0; i < 2000; ++i) {
        const QString file = QDir(work).filePath(QStringLiteral("p%1.png").arg(i));
        noiseImage(9 + i % 7, 13).save(file);
        pages.append({i, PageLocation(file), PageTreatment(),
                      i % 100 == 0 ? QStringLiteral("Chapter %1").arg(i / 100 + 1) : QString()});
    }
    PageOptions options;
    options.BookKind = PageOptions::Azw3Book;
    const QString target = QDir(work).filePath(QStringLiteral("long.azw3"));
    BookBuild build(target, pages, options);
    build.setThreadCount(cores);
    QElapsedTimer timer;
    timer.start();
    const bool made = build.run() == BookBuild::Done;
    const double making = timer.nsecsElapsed() / 1e9;
    timer.restart();
    const QString out = QDir(work).filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral("mobitool"),
               {QStringLiteral("-e"), QStringLiteral("-o"), out, target});
    const bool read = tool.waitForFinished(600000) && tool.exitCode() == 0;
    QuaZip epub(QDir(out).filePath(QStringLiteral("long.epub")));
    int pictures = 0;
    int chapters = 0;
    if (epub.open(QuaZip::mdUnzip)) {
        const QStringList names = epub.getFileNameList();
        pictures = names.filter(QRegularExpression(QStringLiteral("resource\\d+\\.jpg$"))).size();
        for (bool more = epub.goToFirstFile(); more; more = epub.goToNextFile()) {
            if (!epub.getCurrentFileName().endsWith(QLatin1String(".ncx")))
                continue;
            QuaZipFile ncx(&epub);
            if (ncx.open(QIODevice::ReadOnly))
                chapters = int(ncx.readAll().count("<navPoint"));
        }
    }
    std::printf("a Kindle book of 2,000 pages: made in %.3f s (%s), %.1f MB; mobitool read it in "
                "%.1f s (%s): %d pictures, %d chapters\n",
                making, made ? "ok" : qPrintable(build.errorString()),
                QFileInfo(target).size() / 1e6, timer.nsecsElapsed() / 1e9,
                read ? "ok" : qPrintable(QString::fromUtf8(tool.readAll()).right(500)), pictures,
                chapters);
}

// A book of 2,000 small pages as an EPUB, and what EPUBCheck says of it:
// too long a check for the tests on a busy machine.
void printLongEpubRow(const QString &work, int cores)
{
    QVector<BuildPage> pages;
    const QImage page = noiseImage(9, 13);
    for (int i = 0; i < 2000; ++i) {
        const QString file = QDir(work).filePath(QStringLiteral("p%1.png").arg(i));
        page.save(file);
        pages.append({i, PageLocation(file)});
    }
    PageOptions options;
    options.BookKind = PageOptions::EpubBook;
    const QString target = QDir(work).filePath(QStringLiteral("long.epub"));
    BookBuild build(target, pages, options);
    build.setThreadCount(cores);
    QElapsedTimer timer;
    timer.start();
    const bool made = build.run() == BookBuild::Done;
    const double making = timer.nsecsElapsed() / 1e9;
    timer.restart();
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("java"),
                {QStringLiteral("-jar"), QStringLiteral("/usr/share/java/epubcheck.jar"), target});
    const bool checked = check.waitForFinished(600000) && check.exitCode() == 0;
    const QString said = QString::fromUtf8(check.readAll());
    std::printf("an EPUB of 2,000 pages: made in %.3f s (%s), EPUBCheck %.1f s: %s\n", making,
                made ? "ok" : qPrintable(build.errorString()), timer.nsecsElapsed() / 1e9,
                checked && !said.contains(QLatin1String("WARNING")) ? "no error, no warning"
                                                                    : qPrintable(said.right(2000)));
}

// A webtoon chapter: 60 tiles of 800 x 12000, sliced through its panels.
void makeStripCorpus(const QString &folder)
{
    QDir().mkpath(folder);
    if (corpusFiles(folder).size() == 60)
        return;
    for (int tile = 0; tile < 60; ++tile)
        drawWebtoonTile(3, 800, 12000, tile)
            .save(QStringLiteral("%1/%2.jpg").arg(folder).arg(tile + 1, 3, 10, QLatin1Char('0')),
                  "jpg", 90);
}

// The chapter for the Kobo Libra Colour, its strip cut into pages of the
// screen's height against the same tiles fitted as pages; turn about, the
// median of three each, with the peak memory of each.
void printStripRow(const QString &corpus, const QString &work, int cores)
{
    makeStripCorpus(corpus);
    QVector<double> plain, cut, plainPeak, cutPeak;
    for (int run = 0; run < 3; ++run) {
        for (const bool strip : {false, true}) {
            const QString target = QDir(work).filePath(QStringLiteral("strip.cbz"));
            QFile::remove(target);
            const QString said =
                child(QStringLiteral("--job"), corpus, target, cores,
                      strip ? QStringLiteral("libra,strip") : QStringLiteral("libra"));
            (strip ? cut : plain).append(field(said, "job"));
            (strip ? cutPeak : plainPeak).append(field(said, "peak"));
        }
    }
    for (QVector<double> *times : {&plain, &cut, &plainPeak, &cutPeak})
        std::sort(times->begin(), times->end());
    std::printf("60 strip tiles of 800x12000, Kobo Libra Colour (1264x1680), %d threads: cut into "
                "pages %.3f s (peak %.0f MiB), built plainly %.3f s (peak %.0f MiB): %.2fx\n",
                cores, cut.at(1), cutPeak.at(1) / 1024, plain.at(1), plainPeak.at(1) / 1024,
                cut.at(1) / plain.at(1));
}

int main(int argc, char *argv[])
{
    isolateSettings();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.value(1) == QLatin1String("--program"))
        return runProgram(args.value(2), args.value(3), args.value(4).toInt());
    if (args.value(1) == QLatin1String("--job"))
        return runJob(args.value(2), args.value(3), args.value(4).toInt(), args.value(5));
    if (args.value(1) == QLatin1String("--floor"))
        return runFloor(args.value(2), args.value(3));
    if (args.value(1) == QLatin1String("--scans")) {
        QTemporaryDir work;
        printScanTable(QDir::temp().filePath(QStringLiteral("quirevale-bench-scans")), work.path(),
                       QThread::idealThreadCount());
        return 0;
    }
    if (args.value(1) == QLatin1String("--strips")) {
        QTemporaryDir work;
        printStripRow(QDir::temp().filePath(QStringLiteral("quirevale-bench-strips")), work.path(),
                      QThread::idealThreadCount());
        return 0;
    }
    if (args.value(1) == QLatin1String("--memory")) {
        QTemporaryDir work;
        printMemoryTable(QDir::temp().filePath(QStringLiteral("quirevale-bench-large")),
                         work.path());
        return 0;
    }
    if (args.value(1) == QLatin1String("--long-epub")) {
        QTemporaryDir work;
        printLongEpubRow(work.path(), QThread::idealThreadCount());
        return 0;
    }
    if (args.value(1) == QLatin1String("--long-azw3")) {
        QTemporaryDir work;
        printLongAzw3Row(work.path(), QThread::idealThreadCount());
        return 0;
    }
    if (args.value(1) == QLatin1String("--kinds")) {
        const QString corpus =
            args.value(2, QDir::temp().filePath(QStringLiteral("quirevale-bench-corpus")));
        makeCorpus(corpus, 40);
        QTemporaryDir work;
        printKindRow(corpus, work.path(), QThread::idealThreadCount());
        return 0;
    }
    if (args.value(1) == QLatin1String("--formats")) {
        const QString corpus =
            args.value(2, QDir::temp().filePath(QStringLiteral("quirevale-bench-corpus")));
        makeCorpus(corpus, 40);
        QTemporaryDir work;
        printFormatTable(corpus, work.path(), QThread::idealThreadCount());
        return 0;
    }

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
    const QString kept = child(QStringLiteral("--job"), corpus, work.filePath("kept.cbz"), cores,
                               QStringLiteral("keep"));
    const QString stored = child(QStringLiteral("--job"), corpus, work.filePath("stored.cbz"),
                                 cores, QStringLiteral("store"));
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
    printFormatTable(corpus, work.path(), cores);
    printKindRow(corpus, work.path(), cores);
    printScanTable(QDir::temp().filePath(QStringLiteral("quirevale-bench-scans")), work.path(),
                   cores);
    return 0;
}
