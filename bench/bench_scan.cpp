// Listing and natural-sorting a folder of 10,000 page files, against
// `ls -v` (GNU version sort) on the same folder.
//
//   build/bench/bench_scan [count]
//
// Prints the median of several runs of each and their ratio.

#include "pages/pagescan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
double median(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

// Names like a real scan folder: chapters, page numbers with and without
// leading zeros, a few spreads and covers, four extensions.
QString pageName(int i)
{
    static const char *const extensions[] = {"jpg", "png", "JPG", "tif", "bmp"};
    const char *extension = extensions[i % 5];
    switch (i % 4) {
    case 0:
        return QStringLiteral("Chapter %1 - page %2.%3")
            .arg(i / 100 + 1)
            .arg(i % 100)
            .arg(extension);
    case 1:
        return QStringLiteral("scan_%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(extension);
    case 2:
        return QStringLiteral("IMG_2026120%1_%2.%3").arg(i % 9).arg(i).arg(extension);
    default:
        return QStringLiteral("p%1v%2.%3").arg(i).arg(i % 7).arg(extension);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int runs = 7;

    QTemporaryDir folder;
    for (int i = 0; i < count; ++i) {
        QFile file(folder.filePath(pageName(i)));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }

    QVector<double> ours, ls;
    int listed = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        listed = scanPageFolder(folder.path()).pages.size();
        ours.append(timer.nsecsElapsed() / 1e6);

        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        timer.start();
        process.start(QStringLiteral("ls"), {QStringLiteral("-v"), folder.path()});
        process.waitForFinished(-1);
        ls.append(timer.nsecsElapsed() / 1e6);
    }

    const double a = median(ours), b = median(ls);
    std::printf("files: %d listed: %d\n", count, listed);
    std::printf("quirevale scan + natural sort: %.1f ms (median of %d)\n", a, runs);
    std::printf("ls -v:                         %.1f ms (median of %d)\n", b, runs);
    std::printf("ratio quirevale / ls -v:       %.2f\n", a / b);
    return 0;
}
