#include "clirunner.h"

#include "cbzbuild.h"
#include "pagescan.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

std::atomic<CbzBuild *> CliRunner::s_build{nullptr};
std::atomic_int CliRunner::s_signal{0};

namespace {
QByteArray local(const QString &text)
{
    return text.toLocal8Bit();
}

// The folder's own name: "Scans/" and "Scans" are both "Scans".
QString folderName(const QString &folder)
{
    return QFileInfo(QDir(folder).absolutePath()).fileName();
}

QString duration(double seconds)
{
    const int whole = int(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

CliRunner::CliRunner(const CliArguments &arguments, FILE *out, FILE *err)
    : m_args(arguments)
    , m_out(out)
    , m_err(err)
    , m_terminal(::isatty(::fileno(err)) == 1)
{}

void CliRunner::stopOnSignal(int signal)
{
    s_signal = signal;
    if (CbzBuild *build = s_build.load())
        build->cancel();
}

QString CliRunner::targetFor(const QString &folder) const
{
    const QString archive = folderName(folder) + QStringLiteral(".cbz");
    if (m_args.output.isEmpty())
        return QDir::cleanPath(QDir(folder).absoluteFilePath(QStringLiteral("../") + archive));
    if (m_args.folders.size() == 1 && !QFileInfo(m_args.output).isDir())
        return QFileInfo(m_args.output).absoluteFilePath();
    return QDir(m_args.output).absoluteFilePath(archive);
}

int CliRunner::run()
{
    int failed = 0;
    for (const QString &folder : qAsConst(m_args.folders)) {
        if (s_signal)
            break;
        if (!makeArchive(folder))
            ++failed;
    }
    if (s_signal)
        return 128 + s_signal;
    return failed ? SomeFailed : AllMade;
}

void CliRunner::report(const QString &folder, const QString &message)
{
    if (m_terminal && !m_args.quiet)
        std::fputs("\r\033[K", m_err); // over the progress line
    std::fprintf(m_err, "quirevale-cli: %s: %s\n", local(folder).constData(),
                 local(message).constData());
}

void CliRunner::listPages(const QString &folder, const QFileInfoList &pages)
{
    if (m_args.folders.size() > 1)
        std::fprintf(m_out, "%s:\n", local(folder).constData());
    for (const QFileInfo &page : pages)
        std::fprintf(m_out, "%s\n", local(page.fileName()).constData());
    std::fflush(m_out);
}

void CliRunner::showProgress(int done, int total, const QString &name)
{
    if (!m_terminal || m_args.quiet)
        return;
    const int width = 30;
    const int filled = total > 0 ? done * width / total : width;
    const double seconds = m_clock.elapsed() / 1000.0;
    const double rate = seconds > 0 ? done / seconds : 0;
    const QString left = rate > 0 ? duration((total - done) / rate) : QStringLiteral("-:--");
    const QString line =
        tr("%1 [%2%3] %4/%5 pages, %6 pages/s, %7 left")
            .arg(name, QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
            .arg(done)
            .arg(total)
            .arg(rate, 0, 'f', 1)
            .arg(left);
    std::fprintf(m_err, "\r\033[K%s", local(line).constData());
    std::fflush(m_err);
}

bool CliRunner::makeArchive(const QString &folder)
{
    if (!QFileInfo(folder).isDir()) {
        report(folder, tr("not a folder"));
        return false;
    }
    const PageFolder scanned = scanPageFolder(folder);
    for (const QString &name : scanned.unusableNames)
        report(folder, tr("%1 is left out: its name is not valid text").arg(name));
    if (m_args.listOnly) {
        listPages(folder, scanned.pages);
        return true;
    }
    QVector<BuildPage> pages;
    for (const QFileInfo &page : scanned.pages)
        pages.append({pages.size(), page.absoluteFilePath()});
    if (pages.isEmpty()) {
        report(folder, QFileInfo(folder).isReadable()
                           ? tr("no image file found (jpg, png, bmp, tif)")
                           : tr("the folder cannot be read"));
        return false;
    }
    const QString target = targetFor(folder);
    if (!m_args.force && QFileInfo::exists(target)) {
        report(folder, tr("%1 exists already; --force replaces it").arg(target));
        return false;
    }

    CbzBuild build(target, pages, m_args.pageOptions);
    build.setThreadCount(m_args.threads);
    const QString name = folderName(folder);
    build.setComicInfo(m_args.comicInfoFor(name));
    m_clock.start();
    QObject::connect(&build, &CbzBuild::pageWritten,
                     [&](int row) { showProgress(row + 1, pages.size(), name); });
    showProgress(0, pages.size(), name);
    s_build = &build;
    if (s_signal) // a signal that came before the build could see it
        build.cancel();
    const bool made = build.run();
    s_build = nullptr;

    if (!made) {
        if (build.isCanceled())
            report(folder, tr("stopped; no archive was made"));
        else
            report(folder, build.errorString());
        return false;
    }
    if (!m_args.quiet) {
        if (m_terminal)
            std::fputs("\r\033[K", m_err);
        std::fprintf(m_err, "%s\n",
                     local(tr("%1: %2 pages in %3 s")
                               .arg(target)
                               .arg(pages.size())
                               .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1))
                         .constData());
    }
    return true;
}
