// Pages from other sources than folders:
//  - repacking a 200-page CBZ of 2000 x 3000 scan-like JPEG pages with
//    quirevale-cli --keep-jpeg, against what one would do by hand: `unzip`
//    into a folder, then `zip -6` of that folder (Debian packages unzip and
//    zip); each run five times, the median reported;
//  - listing a PDF of 2000 pages (five times, the median), which must not
//    render any of them;
//  - repacking a solid CB7 of 300 pages (1200 x 1800) whose entries are
//    stored in page order, and one whose entries are shuffled, with
//    quirevale-cli --keep-jpeg (three runs each, the median): a solid
//    archive is read once, whatever the order of its entries; and the one in
//    order with --store, at one thread and at the default, against `7z x`
//    (Debian's p7zip-full) then `zip -0`.
//
//  - a PDF of 40 A4 scans at 300 ppi (2480 x 3508 JPEG pages embedded as
//    they are): quirevale-cli --keep-jpeg against `pdfimages -j` then
//    `zip -q` (poppler-utils), and the default build against
//    `pdftoppm -r 300 -jpeg` then `zip -q` (three runs each, the median).
//
//   build/bench/bench_sources [work folder]
//
// The CBZ and the PDF are made on the first run and kept.

#include "pages/pdfpages.h"
#include "samplepages.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {
const int CbzPages = 200;
const int PdfPageCount = 2000;
const int SolidPages = 300;
const int ScannedPages = 40;

bool run(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

double median(QVector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// Seconds for each of runs of work, the median.
double timed(const std::function<bool()> &work, int runs = 5)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!work())
            return -1;
        times << timer.nsecsElapsed() / 1e9;
    }
    return median(times);
}

bool makeCbz(const QString &work, const QString &cbz)
{
    if (QFileInfo::exists(cbz))
        return true;
    const QString pages = QDir(work).filePath(QStringLiteral("pages"));
    QDir().mkpath(pages);
    QStringList names;
    for (int i = 0; i < CbzPages; ++i) {
        names << QStringLiteral("page%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
        if (!drawComicPage(i + 1, QSize(2000, 3000))
                 .save(QDir(pages).filePath(names.last()), "jpg", 90))
            return false;
    }
    return run(QStringLiteral("zip"),
               QStringList{QStringLiteral("-6"), QStringLiteral("-q"), cbz} + names, pages);
}

// A solid 7z of the same pages, its entries in page order or shuffled.
bool makeSolid(const QString &work, const QString &archive, bool shuffled)
{
    if (QFileInfo::exists(archive))
        return true;
    const QString pages = QDir(work).filePath(QStringLiteral("solid-pages"));
    QStringList names;
    for (int i = 0; i < SolidPages; ++i) {
        names << QStringLiteral("page%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
        const QString path = QDir(pages).filePath(names.last());
        if (QFileInfo::exists(path))
            continue;
        QDir().mkpath(pages);
        if (!drawComicPage(i + 1, QSize(1200, 1800)).save(path, "jpg", 90))
            return false;
    }
    if (shuffled) {
        std::srand(7);
        std::random_shuffle(names.begin(), names.end(), [](int n) { return std::rand() % n; });
    }
    return run(QStringLiteral("bsdtar"),
               QStringList{QStringLiteral("-cf"), archive, QStringLiteral("--format"),
                           QStringLiteral("7zip")} +
                   names,
               pages);
}

// Scans with a sensor's noise, as a scanner's software puts them in a PDF.
bool makeScannedPdf(const QString &pdf)
{
    if (QFileInfo::exists(pdf))
        return true;
    QList<PdfScan> scans;
    const QSize a4(2480, 3508);
    for (int i = 0; i < ScannedPages; ++i) {
        const QImage page = addScannerNoise(drawComicPage(i + 1, a4), quint32(i));
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (!page.save(&buffer, "jpg", 90))
            return false;
        scans.append({jpeg, a4});
    }
    QFile file(pdf);
    return file.open(QIODevice::WriteOnly) && file.write(pdfOfScans(scans)) > 0;
}

// Grey scans stored deflated, as a scanner's software stores line art.
bool makeDeflatedPdf(const QString &pdf)
{
    if (QFileInfo::exists(pdf))
        return true;
    QList<PdfScan> scans;
    const QSize a4(2480, 3508);
    for (int i = 0; i < ScannedPages; ++i) {
        const QImage page = addScannerNoise(drawComicPage(i + 1, a4), quint32(i))
                                .convertToFormat(QImage::Format_Grayscale8);
        QByteArray rows;
        for (int y = 0; y < page.height(); ++y)
            rows.append(reinterpret_cast<const char *>(page.constScanLine(y)), page.width());
        scans.append({qCompress(rows, 6).mid(4), a4, true, {}, 0, "/FlateDecode"});
    }
    QFile file(pdf);
    return file.open(QIODevice::WriteOnly) && file.write(pdfOfScans(scans)) > 0;
}

bool makePdf(const QString &pdf)
{
    if (QFileInfo::exists(pdf))
        return true;
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A5));
    QPainter painter(&writer);
    for (int i = 0; i < PdfPageCount; ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 200), QStringLiteral("Page %1").arg(i + 1));
        painter.fillRect(QRectF(300, 300, 2000, 3000), QColor::fromHsv(i % 360, 160, 220));
    }
    return painter.end();
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString work =
        app.arguments().value(1, QDir::temp().filePath(QStringLiteral("quirevale-bench-sources")));
    QDir().mkpath(work);
    const QString cbz = QDir(work).filePath(QStringLiteral("Book.cbz"));
    const QString pdf = QDir(work).filePath(QStringLiteral("Long.pdf"));
    if (!makeCbz(work, cbz) || !makePdf(pdf)) {
        std::fprintf(stderr, "the CBZ or the PDF cannot be made in %s\n", qPrintable(work));
        return 1;
    }
    const QString cli =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../quirevale-cli"));
    QTemporaryDir scratch;
    const double repack = timed([&] {
        return run(cli,
                   {QStringLiteral("--keep-jpeg"), QStringLiteral("-q"), QStringLiteral("--force"),
                    QStringLiteral("-o"), scratch.filePath(QStringLiteral("repacked.cbz")), cbz},
                   work);
    });
    const double byHand = timed([&] {
        const QString unpacked = scratch.filePath(QStringLiteral("unpacked"));
        QDir(unpacked).removeRecursively();
        QFile::remove(scratch.filePath(QStringLiteral("zipped.cbz")));
        return run(QStringLiteral("unzip"),
                   {QStringLiteral("-q"), cbz, QStringLiteral("-d"), unpacked}, work) &&
               run(QStringLiteral("zip"),
                   {QStringLiteral("-6"), QStringLiteral("-q"), QStringLiteral("-r"),
                    scratch.filePath(QStringLiteral("zipped.cbz")), QStringLiteral(".")},
                   unpacked);
    });
    int listed = 0;
    const double listing = timed([&] {
        const PageListing pages = PdfPages::list(pdf);
        listed = pages.pages.size();
        return pages.error.isEmpty();
    });
    const QString inOrder = QDir(work).filePath(QStringLiteral("Solid.cb7"));
    const QString shuffled = QDir(work).filePath(QStringLiteral("Shuffled.cb7"));
    if (!makeSolid(work, inOrder, false) || !makeSolid(work, shuffled, true)) {
        std::fprintf(stderr, "the solid CB7s cannot be made in %s (bsdtar)\n", qPrintable(work));
        return 1;
    }
    const auto repackOf = [&](const QString &archive) {
        return timed(
            [&] {
                return run(cli,
                           {QStringLiteral("--keep-jpeg"), QStringLiteral("-q"),
                            QStringLiteral("--force"), QStringLiteral("-o"),
                            scratch.filePath(QStringLiteral("solid.cbz")), archive},
                           work);
            },
            3);
    };
    const double solidInOrder = repackOf(inOrder);
    const double solidShuffled = repackOf(shuffled);
    // Pages kept and stored, against its peer by hand, and with one reading
    // thread against the default.
    const auto storedWith = [&](const QStringList &more) {
        return timed(
            [&] {
                return run(cli,
                           QStringList{QStringLiteral("--keep-jpeg"), QStringLiteral("--store"),
                                       QStringLiteral("-q"), QStringLiteral("--force"),
                                       QStringLiteral("-o"),
                                       scratch.filePath(QStringLiteral("solid.cbz"))} +
                               more + QStringList{inOrder},
                           work);
            },
            3);
    };
    const QString scanned = QDir(work).filePath(QStringLiteral("Scans.pdf"));
    if (!makeScannedPdf(scanned)) {
        std::fprintf(stderr, "the scanned PDF cannot be made in %s\n", qPrintable(work));
        return 1;
    }
    const auto fromPdf = [&](const QStringList &options) {
        return timed(
            [&] {
                return run(cli,
                           options + QStringList{QStringLiteral("-q"), QStringLiteral("--force"),
                                                 QStringLiteral("-o"),
                                                 scratch.filePath(QStringLiteral("scans.cbz")),
                                                 scanned},
                           work);
            },
            3);
    };
    const auto byTools = [&](const QString &program, const QStringList &arguments) {
        return timed(
            [&] {
                const QString out = scratch.filePath(QStringLiteral("pictures"));
                QDir(out).removeRecursively();
                QFile::remove(scratch.filePath(QStringLiteral("pictures.cbz")));
                QDir().mkpath(out);
                return run(program, arguments + QStringList{scanned, QStringLiteral("p")}, out) &&
                       run(QStringLiteral("sh"),
                           {QStringLiteral("-c"), QStringLiteral("zip -q ../pictures.cbz *.jpg")},
                           out);
            },
            3);
    };
    const QString deflated = QDir(work).filePath(QStringLiteral("Deflated scans.pdf"));
    if (!makeDeflatedPdf(deflated)) {
        std::fprintf(stderr, "the deflated PDF cannot be made in %s\n", qPrintable(work));
        return 1;
    }
    // Its pages decoded on one thread and on two, cut in two.
    const auto deflatedOn = [&](int threads) {
        return timed(
            [&] {
                return run(cli,
                           {QStringLiteral("-q"), QStringLiteral("--force"),
                            QStringLiteral("--split"), QStringLiteral("50"),
                            QStringLiteral("--threads"), QString::number(threads),
                            QStringLiteral("-o"), scratch.filePath(QStringLiteral("deflated.cbz")),
                            deflated},
                           work);
            },
            3);
    };
    const double deflatedOne = deflatedOn(1);
    const double deflatedTwo = deflatedOn(2);
    const double scansKept = fromPdf({QStringLiteral("--keep-jpeg")});
    const double scansByHand = byTools(QStringLiteral("pdfimages"), {QStringLiteral("-j")});
    const double scansMade = fromPdf({});
    const double scansRendered =
        byTools(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-jpeg")});
    const double stored = storedWith({});
    const double storedOneThread = storedWith({QStringLiteral("--threads"), QStringLiteral("1")});
    const double sevenZip = timed(
        [&] {
            const QString unpacked = scratch.filePath(QStringLiteral("unpacked7z"));
            QDir(unpacked).removeRecursively();
            QFile::remove(scratch.filePath(QStringLiteral("zipped7z.cbz")));
            QDir().mkpath(unpacked);
            return run(QStringLiteral("7z"),
                       {QStringLiteral("x"), QStringLiteral("-bd"), QStringLiteral("-y"), inOrder},
                       unpacked) &&
                   run(QStringLiteral("zip"),
                       {QStringLiteral("-0"), QStringLiteral("-q"), QStringLiteral("-r"),
                        scratch.filePath(QStringLiteral("zipped7z.cbz")), QStringLiteral(".")},
                       unpacked);
        },
        3);
    std::printf("repack %d pages, quirevale-cli --keep-jpeg: %.3f s; unzip + zip -6: %.3f s; "
                "%.2fx faster\n",
                CbzPages, repack, byHand, byHand / repack);
    std::printf("repack a solid CB7 of %d pages: entries in page order %.3f s, shuffled %.3f s\n",
                SolidPages, solidInOrder, solidShuffled);
    std::printf("repack that CB7 stored, quirevale-cli --keep-jpeg --store: %.3f s (one thread "
                "%.3f s); 7z x + zip -0: %.3f s (negative: no 7z)\n",
                stored, storedOneThread, sevenZip);
    std::printf("a PDF of %d scans, quirevale-cli --keep-jpeg: %.3f s; pdfimages -j + zip: "
                "%.3f s (%.2fx its time)\n",
                ScannedPages, scansKept, scansByHand, scansKept / scansByHand);
    std::printf("the same, quirevale-cli: %.3f s; pdftoppm -r 300 -jpeg + zip: %.3f s (%.2fx its "
                "time)\n",
                scansMade, scansRendered, scansMade / scansRendered);
    std::printf("a PDF of %d deflated grey scans, cut: one thread %.3f s, two %.3f s (%.2fx)\n",
                ScannedPages, deflatedOne, deflatedTwo, deflatedOne / deflatedTwo);
    std::printf("list a PDF of %d pages: %.1f ms\n", listed, listing * 1000);
    return 0;
}
