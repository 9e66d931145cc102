// A shelf of scanned volumes made into archives from a terminal: 10 folders
// of 20 scan-like 2000 x 3000 JPEG pages, by
//  - quirevale-cli over the whole shelf in one command (every core busy);
//  - quirevale-cli one process per folder with --threads 1, run by
//    `xargs -P <cores>`, as one would spread it over machines;
//  - ImageMagick's convert page by page and `zip -6`, a folder per process
//    under `xargs -P <cores>` (Debian packages imagemagick and zip).
// Every archive is made from the same pages at quality 100.
//
//   build/bench/bench_shelf [shelf folder]
//
// The shelf is made on the first run and kept.
//
//   build/bench/bench_shelf --queue [shelf folder]
//
// times 30 books of 8 pages through the window's queue against one
// quirevale-cli call on the same 30 folders, turn about, three times each,
// and measures what the window holds more after 1,000 books (one small page
// each) are queued than with an empty queue.
//
//   build/bench/bench_shelf --check [shelf folder]
//
// times quirevale-cli --check over 200 books of 8 pages against unzip -t
// over the same archives, one after another.

#include "samplepages.h"

#include "app/queuedock.h"
#include "app/quirevale.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
const int Folders = 10;
const int PagesPerFolder = 20;

QString volume(int i)
{
    return QStringLiteral("Volume %1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

void makeShelf(const QString &shelf)
{
    for (int v = 0; v < Folders; ++v) {
        const QDir folder(QDir(shelf).filePath(volume(v)));
        QDir().mkpath(folder.path());
        for (int p = 0; p < PagesPerFolder; ++p) {
            const QString name = folder.filePath(QStringLiteral("page %1.jpg").arg(p + 1));
            if (!QFileInfo::exists(name))
                drawComicPage(v * PagesPerFolder + p + 1, QSize(2000, 3000)).save(name, "jpg", 90);
        }
    }
}

// Runs a shell command in folder and returns its wall time, or -1.
double timed(const QString &command, const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    shell.setWorkingDirectory(folder);
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    shell.waitForFinished(-1);
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

// What the process holds in memory, in megabytes.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

QStringList bookFolders(const QString &shelf, int books, int pages, const QSize &size)
{
    QStringList folders;
    for (int b = 0; b < books; ++b) {
        const QDir folder(
            QDir(shelf).filePath(QStringLiteral("Book %1").arg(b + 1, 4, 10, QLatin1Char('0'))));
        QDir().mkpath(folder.path());
        for (int p = 0; p < pages; ++p) {
            const QString name = folder.filePath(QStringLiteral("page %1.jpg").arg(p + 1));
            if (!QFileInfo::exists(name))
                drawComicPage(b * pages + p + 1, size).save(name, "jpg", 90);
        }
        folders << folder.path();
    }
    return folders;
}

// A new window with an empty queue, its settings out of the user's way.
std::unique_ptr<Quirevale> emptyWindow(const QString &config)
{
    QDir(config).removeRecursively();
    return std::make_unique<Quirevale>();
}

double queueRun(const QStringList &books, const QString &out, const QString &config)
{
    const std::unique_ptr<Quirevale> window = emptyWindow(config);
    auto *dock = window->findChild<QueueDock *>(QStringLiteral("QueueDock"));
    dock->findChild<QCheckBox *>(QStringLiteral("QueueReplace"))->setChecked(true);
    window->addToQueue(books);
    dock->setOutputFolder(out);
    QElapsedTimer timer;
    timer.start();
    window->findChild<QAction *>(QStringLiteral("actionStartQueue"))->trigger();
    while (dock->isRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = timer.nsecsElapsed() / 1e9;
    return dock->queue().count(QueuedBook::Made) == books.size() ? seconds : -1;
}

double median(QVector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.value(times.size() / 2);
}

int queueBench(const QString &shelf, const QString &cli)
{
    const QString config = QDir::temp().filePath(QStringLiteral("quirevale-bench-queue-config"));
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    const QStringList books = bookFolders(shelf + QStringLiteral("/books"), 30, 8, {1200, 1800});
    QTemporaryDir out;
    QVector<double> byCli, byQueue;
    for (int round = 0; round < 3; ++round) {
        byCli << timed(QStringLiteral("'%1' -q --force -o '%2' 'Book '*").arg(cli, out.path()),
                       shelf + QStringLiteral("/books"));
        byQueue << queueRun(books, out.path(), config);
    }
    const double c = median(byCli), q = median(byQueue);
    std::printf("30 books of 8 pages of 1200x1800: quirevale-cli %.2f s, the window's queue "
                "%.2f s (%.3fx), median of 3 turn about\n",
                c, q, q / c);

    const QStringList many = bookFolders(shelf + QStringLiteral("/many"), 1000, 1, {60, 90});
    const std::unique_ptr<Quirevale> window = emptyWindow(config);
    QCoreApplication::processEvents();
    const double before = residentMegabytes();
    window->addToQueue(many);
    QCoreApplication::processEvents();
    const double after = residentMegabytes();
    std::printf("1000 books queued: %.1f MB more than an empty queue (%.1f MB, %.1f MB)\n",
                after - before, before, after);
    return c > 0 && q > 0 ? 0 : 1;
}
int checkBench(const QString &shelf, const QString &cli)
{
    const QString books = shelf + QStringLiteral("/books");
    const QString archives = shelf + QStringLiteral("/archives");
    if (!QFileInfo::exists(archives + QStringLiteral("/Book 0200.cbz"))) {
        bookFolders(books, 200, 8, {900, 1350});
        QDir().mkpath(archives);
        if (timed(
                QStringLiteral("'%1' -q --force --comic-info -o '%2' 'Book '*").arg(cli, archives),
                books) < 0)
            return 1;
    }
    double checked = 0, tested = 0;
    QVector<double> byCheck, byUnzip;
    for (int round = 0; round < 3; ++round) {
        byCheck << timed(QStringLiteral("'%1' -q --check *.cbz > /dev/null").arg(cli), archives);
        byUnzip << timed(
            QStringLiteral("for f in *.cbz; do unzip -tq \"$f\" > /dev/null || exit 1; "
                           "done"),
            archives);
    }
    checked = median(byCheck);
    tested = median(byUnzip);
    std::printf("200 books of 8 pages of 900x1350: quirevale-cli --check %.2f s, unzip -t %.2f s "
                "(%.2fx), median of 3 turn about, %d cores\n",
                checked, tested, checked / tested, QThread::idealThreadCount());
    return checked > 0 && tested > 0 ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    // Drawing the shelf's pages needs fonts, so a GUI application object;
    // the offscreen platform does without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString cli =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../quirevale-cli");
    if (app.arguments().value(1) == QLatin1String("--check"))
        return checkBench(app.arguments().value(
                              2, QDir::temp().filePath(QStringLiteral("quirevale-bench-check"))),
                          cli);
    if (app.arguments().value(1) == QLatin1String("--queue"))
        return queueBench(app.arguments().value(
                              2, QDir::temp().filePath(QStringLiteral("quirevale-bench-queue"))),
                          cli);
    const QString shelf =
        app.arguments().value(1, QDir::temp().filePath(QStringLiteral("quirevale-bench-shelf")));
    makeShelf(shelf);

    const int cores = QThread::idealThreadCount();
    QTemporaryDir out;
    const QString volumes = QStringLiteral("'Volume '*");

    const double together =
        timed(QStringLiteral("'%1' -q -o '%2' %3").arg(cli, out.path(), volumes), shelf);
    const double spread =
        timed(QStringLiteral(
                  "printf '%s\\0' %3 | xargs -0 -P %4 -I{} '%1' -q --force --threads 1 -o '%2' {}")
                  .arg(cli, out.path(), volumes)
                  .arg(cores),
              shelf);
    const QString magickOne = QStringLiteral(
        "d=\"$1\"; w=$(mktemp -d); n=0; "
        "for f in \"$d\"/*.jpg; do convert \"$f\" -quality 100 \"$w/$(printf %010d $n).jpg\" || "
        "exit 1; "
        "n=$((n+1)); done; (cd \"$w\" && zip -6 -q \"OUT/$d-magick.cbz\" *.jpg) && rm -r \"$w\"");
    const double magick =
        timed(QStringLiteral("printf '%s\\0' %1 | xargs -0 -P %2 -I{} sh -c '%3' _ {}")
                  .arg(volumes)
                  .arg(cores)
                  .arg(QString(magickOne)
                           .replace(QLatin1String("OUT"), out.path())
                           .replace(QLatin1String("'"), QLatin1String("'\\''"))),
              shelf);

    std::printf("shelf: %d folders of %d pages of 2000x3000, quality 100, %d cores\n", Folders,
                PagesPerFolder, cores);
    std::printf("quirevale-cli, one command: %.2f s\n", together);
    std::printf("quirevale-cli --threads 1 under xargs -P %d: %.2f s\n", cores, spread);
    std::printf("imagemagick + zip -6 under xargs -P %d: %.2f s\n", cores, magick);
    if (together > 0 && magick > 0)
        std::printf("imagemagick+zip / quirevale-cli: %.2f (one command), %.2f (xargs)\n",
                    magick / together, magick / spread);
    return together > 0 && spread > 0 ? 0 : 1;
}
