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

#include "samplepages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

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
} // namespace

int main(int argc, char *argv[])
{
    // Drawing the shelf's pages needs fonts, so a GUI application object;
    // the offscreen platform does without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString shelf =
        app.arguments().value(1, QDir::temp().filePath(QStringLiteral("quirevale-bench-shelf")));
    makeShelf(shelf);

    const QString cli =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../quirevale-cli");
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
