#include "cli/clirunner.h"

#include "book/bookcheck.h"

#include "book/book.h"
#include "book/bookjob.h"
#include "book/sizereport.h"
#include "cli/clilisting.h"
#include "cli/pagetreatmentfile.h"
#include "making/bookbuild.h"
#include "pages/pagescan.h"
#include "pages/pagesource.h"
#include "pages/regularfile.h"

#include "book/optiontable.h"
#include "book/shelfwatch.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <csignal>

#include <algorithm>

#include <unistd.h>

std::atomic<BookJob *> CliRunner::s_job{nullptr};
std::atomic_int CliRunner::s_signal{0};
std::atomic_bool CliRunner::s_stopping{false};
std::atomic_bool CliRunner::s_reload{false};

namespace {
QByteArray local(const QString &text)
{
    return CliRunner::printable(text).toLocal8Bit();
}

// The folder's own name: "Scans/" and "Scans" are both "Scans".
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
    if (s_signal.exchange(signal) != 0)
        ::_exit(128 + signal); // asked twice: the user wants out now
    s_stopping = true;
    if (BookJob *job = s_job.load())
        job->kill();
}

QString CliRunner::printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            shown += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

bool CliRunner::outputIsFolder() const
{
    const QString &output = m_args.output;
    return !output.isEmpty() && (output.endsWith(QLatin1Char('/')) || QFileInfo(output).isDir() ||
                                 m_args.folders.size() > 1);
}

void CliRunner::reloadOnSignal(int)
{
    s_reload = true;
}

int CliRunner::run()
{
    if (m_args.checkOnly)
        return checkBooks();
    if (!m_args.watchFolder.isEmpty())
        return watch();
    // A folder of archives that does not exist yet is made, as mkdir -p would.
    if (!m_args.listOnly && outputIsFolder() && !QDir().mkpath(m_args.output)) {
        report(m_args.output, tr("the folder for the archives cannot be made"));
        return SomeFailed;
    }
    int failed = 0;
    QElapsedTimer shelf;
    shelf.start();
    for (const QString &folder : qAsConst(m_args.folders)) {
        if (s_signal)
            break;
        ++m_book;
        if (!makeArchive(folder))
            ++failed;
    }
    if (m_args.folders.size() > 1 && !m_args.quiet && !m_args.listOnly)
        tally(failed, shelf.elapsed() / 1000.0);
    if (m_usageError)
        return Usage;
    // A signal that came after the last archive was made stopped nothing.
    const bool stopped =
        s_signal && (m_stoppedABuild || failed + m_skipped + m_made.size() < m_args.folders.size());
    if (stopped)
        return 128 + s_signal;
    return failed ? SomeFailed : AllMade;
}

// Each book's findings, a line each on standard output; a clean book is
// said to be so unless quiet. 1 when any book has findings.
int CliRunner::checkBooks()
{
    int found = 0;
    for (const QString &file : BookCheck::booksIn(m_args.folders)) {
        if (s_signal)
            break;
        const BookCheck check = BookCheck::of(file, &s_stopping);
        for (const BookCheck::Finding &finding : check.findings())
            std::fprintf(m_out, "%s: %s\n", local(file).constData(),
                         local(finding.text).constData());
        if (check.isClean() && !m_args.quiet)
            std::fprintf(m_out, "%s: %s\n", local(file).constData(),
                         local(tr("clean")).constData());
        if (!check.isClean())
            ++found;
        if (m_args.fix && !check.isClean())
            fixBook(check);
    }
    std::fflush(m_out);
    if (s_signal)
        return 128 + s_signal;
    return found ? SomeFailed : AllMade;
}

void CliRunner::fixBook(const BookCheck &check)
{
    const QString &file = check.path();
    if (!check.isFixable()) {
        report(file, tr("no clean copy can be made of it"));
        return;
    }
    const QString target = BookCheck::cleanCopyName(file);
    if (!m_replaceThis && QFileInfo::exists(target)) {
        report(file, tr("%1 exists already; --force replaces it").arg(target));
        return;
    }
    BookJob job;
    check.setUpCleanCopy(job, target, m_args.force);
    s_job = &job;
    if (s_signal)
        job.kill();
    const BookJob::Result result = job.exec();
    s_job = nullptr;
    if (result != BookJob::Made && result != BookJob::MadeWithoutSome) {
        report(file, job.errorString());
        return;
    }
    std::fprintf(m_out, "%s: %s\n", local(file).constData(),
                 local(tr("clean copy made: %1 (%2)").arg(target, job.size().line())).constData());
    for (const QString &left : BookCheck::leftOutOf(job))
        report(target, left);
}

void CliRunner::report(const QString &folder, const QString &message)
{
    if (m_terminal && !m_args.quiet)
        std::fputs("\r\033[K", m_err); // over the progress line
    std::fprintf(m_err, "quirevale-cli: %s: %s\n", local(folder).constData(),
                 local(message).constData());
    m_said << message;
}

// Each page's name, and what it becomes where it does not go in as it is;
// where a blank page goes before a spread, that too.
void CliRunner::listPages(const QString &folder, const QVector<BuildPage> &pages,
                          const QVector<ListedPage> &listed, const PageOptions &options)
{
    if (m_args.folders.size() > 1)
        std::fprintf(m_out, "%s:\n", local(folder).constData());
    // The book's direction, as its ComicInfo.xml, a flag or the user's
    // choice sets it, and so which half of a cut page comes first.
    if (options.ImageCutDoublePages && !m_args.quiet)
        report(folder, CliListing::directionNote(options));
    for (const QString &line : CliListing::lines(pages, listed, options))
        std::fprintf(m_out, "%s\n", local(line).constData());
}

bool CliRunner::readTreatments(const QVector<ListedPage> &pages,
                               QHash<QString, PageTreatment> *treatments)
{
    // Opened as a regular file only: a FIFO would block the open itself,
    // and /dev/zero would never end.
    const RegularFile opened = RegularFile::open(m_args.pagesFile);
    if (opened.fd < 0) {
        report(m_args.pagesFile, opened.notRegular
                                     ? tr("not a regular file (a pipe, a device or a folder)")
                                     : opened.error);
        return false;
    }
    QFile file;
    const qint64 limit = 1 << 20; // a line a page: far more than any book needs
    if (!file.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ||
        opened.size > limit) {
        if (!file.isOpen())
            ::close(opened.fd);
        report(m_args.pagesFile,
               file.isOpen() ? tr("larger than any list of pages") : file.errorString());
        return false;
    }
    QStringList names;
    for (const ListedPage &page : pages)
        names << page.name;
    PageTreatmentFile parsed;
    if (!parsed.parse(QString::fromUtf8(file.read(limit)), names)) {
        report(m_args.pagesFile, parsed.errorString());
        return false;
    }
    *treatments = parsed.treatments();
    return true;
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
    QString line =
        tr("%1 [%2%3] %4/%5 pages, %L6 pages/s, %7 left")
            .arg(name, QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
            .arg(done)
            .arg(total)
            .arg(rate, 0, 'f', 1)
            .arg(left);
    if (m_args.folders.size() > 1)
        line = tr("book %1 of %2: %3").arg(m_book).arg(m_args.folders.size()).arg(line);
    std::fprintf(m_err, "\r\033[K%s", local(line).constData());
    std::fflush(m_err);
}

// The last line of a shelf: what was made of it, and how long it took.
void CliRunner::tally(int failed, double seconds)
{
    if (m_terminal)
        std::fputs("\r\033[K", m_err);
    const int books = m_args.folders.size();
    const QString line =
        m_skipped ? tr("%1 of %2 books made (%3 pages), %4 skipped as their archives exist, %5 "
                       "failed, %6 made with files left out; %7")
                        .arg(m_made.size())
                        .arg(books)
                        .arg(m_pagesMade)
                        .arg(m_skipped)
                        .arg(failed)
                        .arg(m_madeWithoutSome)
                        .arg(duration(seconds))
                  : tr("%1 of %2 books made (%3 pages), %4 failed, %5 made with files left out; %6")
                        .arg(m_made.size())
                        .arg(books)
                        .arg(m_pagesMade)
                        .arg(failed)
                        .arg(m_madeWithoutSome)
                        .arg(duration(seconds));
    std::fprintf(m_err, "%s\n", local(line).constData());
}

// What the listing left out is named; page files that are there but cannot
// be put in the book stop the folder unless the user said to go on without
// them.
// Pages that cannot be used, and pictures of other types that are not
// listed, are named even under --quiet: a book made without them would look
// whole. Either keeps the archive from being made unless told otherwise.
bool CliRunner::refuseTroubledFiles(const Book &book, const BuildRequest &request)
{
    const bool otherPictures = request.refusedFor & BuildRequest::OtherPictures;
    for (const Book::LeftOut &leftOut : book.leftOut()) {
        if (leftOut.kind == Book::LeftOut::OtherPictures) {
            report(book.source(),
                   !otherPictures
                       ? leftOut.text
                       : tr("%1; --every-type lists them, --leave-out-other-types makes the "
                            "archive without them")
                             .arg(leftOut.text));
        } else if (leftOut.kind == Book::LeftOut::Trouble || !m_args.quiet) {
            report(book.source(), leftOut.text);
        }
    }
    if ((request.refusedFor & BuildRequest::MissingPages) && !book.pages().isEmpty())
        report(book.source(),
               tr("%1; --skip-unreadable makes it without them").arg(request.reasons.constFirst()));
    return request.refused();
}

bool CliRunner::makeArchive(const QString &folder, bool replace)
{
    BookJob job;
    m_said.clear();
    m_clock.start();
    const bool made = makeWith(folder, job, replace);
    if (m_args.jsonReport && !m_args.listOnly)
        printJson(folder, job, made);
    m_lastTarget = job.target();
    m_lastResult = int(job.result());
    return made;
}

// One line of JSON: what became of the book, with the figures of the text
// report.
void CliRunner::printJson(const QString &folder, const BookJob &job, bool made)
{
    const BookJob::Result result = job.result();
    const bool skipped = made && result == BookJob::Skipped;
    const QString state = skipped ? QStringLiteral("skipped")
                          : made && result == BookJob::MadeWithoutSome
                              ? QStringLiteral("made without some")
                          : made                       ? QStringLiteral("made")
                          : result == BookJob::Stopped ? QStringLiteral("stopped")
                          : result == BookJob::Refused ? QStringLiteral("refused")
                                                       : QStringLiteral("failed");
    const bool built = made && !skipped;
    QJsonArray notes;
    if (built) {
        for (const BookBuild::PageNote &note : job.pageNotes())
            notes.append(
                QStringLiteral("%1: %2").arg(job.pages().at(note.row).page.shownPath(), note.text));
        for (const QString &note : job.bookNotes())
            notes.append(note);
    }
    const BookOption *kinds = bookOption(QStringLiteral("BookKind"));
    const QStringList words = QString::fromLatin1(kinds->words).split(QLatin1Char('|'));
    QJsonObject line{
        {QStringLiteral("source"), QFileInfo(folder).absoluteFilePath()},
        {QStringLiteral("target"), job.target()},
        {QStringLiteral("kind"), words.value(int(job.options().pages.BookKind))},
        {QStringLiteral("state"), state},
        {QStringLiteral("pages"), built ? job.pagesMade() : 0},
        {QStringLiteral("entries"), built ? job.entryCount() : 0},
        {QStringLiteral("bytes"), double(built ? job.bytes() : 0)},
        {QStringLiteral("seconds"), qRound(m_clock.elapsed() / 100.0) / 10.0},
        {QStringLiteral("notes"), notes},
        {QStringLiteral("reason"), made ? QString() : m_said.join(QStringLiteral("; "))}};
    std::fprintf(m_out, "%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(m_out);
}

bool CliRunner::makeWith(const QString &folder, BookJob &job, bool replace)
{
    m_replaceThis = m_args.force || replace;
    if (m_args.undecodable.contains(folder)) {
        report(folder, tr("its name is not valid text in this system's encoding; rename it"));
        return false;
    }
    const QFileInfo source(folder);
    if (!source.isDir() && !isBookFile(folder)) {
        report(folder, tr("not a folder, a comic archive or a PDF"));
        return false;
    }
    job.setSources({folder}, m_args.chapters);
    job.setOptions(m_args.options);
    job.setComicInfo(m_args.comicInfo);
    job.setHalfChosen(m_args.firstHalfChosen);
    if (outputIsFolder())
        job.setOutputFolder(m_args.output);
    else if (!m_args.output.isEmpty())
        job.setTarget(m_args.output);
    job.setReplaceExisting(m_replaceThis);
    // A shelf run again, or watched: a book whose archive is there already
    // is passed over before anything of it is read or said.
    job.setSkipExisting(!m_replaceThis && (m_args.skipExisting || !m_args.watchFolder.isEmpty()) &&
                        !m_args.listOnly);
    // The command line makes no book that misses anything unless told to.
    int without = m_args.otherTypesLeftOut ? BookJob::OtherPictures : 0;
    if (m_args.skipTroubled)
        without |= BookJob::MissingFiles | BookJob::UnreadablePages | BookJob::LaterFrames;
    job.setMadeWithout(without);
    job.setThreadCount(m_args.threads);
    s_job = &job;
    if (s_signal) // a signal that came before the job could see it
        job.kill();
    const Opened opened = open(job);
    const bool made = opened == Opened::ToMake ? makeOpened(job) : opened == Opened::Done;
    s_job = nullptr;
    return made;
}

// The book listed, what it leaves out named, its pages listed when asked:
// whether it is to be made, or all that was asked is done, or it failed.
CliRunner::Opened CliRunner::open(BookJob &job)
{
    if (!job.open()) {
        if (job.result() == BookJob::Skipped) {
            ++m_skipped;
            if (!m_args.quiet)
                report(m_args.folders.value(m_book - 1),
                       tr("skipped: %1 exists already").arg(job.target()));
            return Opened::Done;
        }
        if (job.result() == BookJob::Stopped)
            m_stoppedABuild = true;
        report(m_args.folders.value(m_book - 1),
               job.result() == BookJob::Stopped
                   ? tr("stopped; no archive was made")
                   : tr("it cannot be read: %1")
                         .arg(job.book().errorString().isEmpty() ? job.errorString()
                                                                 : job.book().errorString()));
        return Opened::Failed;
    }
    const Book &book = job.book();
    const bool refused = refuseTroubledFiles(book, job.request());
    if (!m_args.pagesFile.isEmpty()) {
        QHash<QString, PageTreatment> treatments;
        if (!readTreatments(book.pages(), &treatments)) {
            m_usageError = true;
            return Opened::Failed;
        }
        job.setTreatments(treatments);
    }
    const QVector<BuildPage> &pages = job.pages();
    if (m_args.listOnly && !pages.isEmpty()) {
        listPages(book.source(), pages, book.pages(), job.plan().options);
        const QString pdf = book.pdfSummary(job.plan().options.PdfResolution);
        if (!pdf.isEmpty() && !m_args.quiet)
            report(book.source(), pdf);
        return refused ? Opened::Failed : Opened::Done;
    }
    if (pages.isEmpty()) {
        if (book.missesPages())
            report(book.source(), tr("none of its page files can be used"));
        else if (const int chapters = book.chapterFolders())
            report(book.source(), tr("no image file found, but %1 of its sub-folders hold pages; "
                                     "--chapters lists them as chapters")
                                      .arg(chapters));
        else
            report(book.source(),
                   QFileInfo(book.source()).isReadable()
                       ? tr("no image file found (%1)").arg(pageFileTypeList(QStringLiteral(", ")))
                       : tr("the folder cannot be read"));
        return Opened::Failed;
    }
    return refused ? Opened::Failed : Opened::ToMake;
}

bool CliRunner::makeOpened(BookJob &job)
{
    const QString folder = job.book().source();
    const QString target = job.target();
    if (m_made.contains(target) && m_made.value(target) != folder) {
        report(folder, tr("%1 was made from %2 in this run already; give each folder its own "
                          "archive")
                           .arg(target, m_made.value(target)));
        return false;
    }
    if (!m_args.force && QFileInfo::exists(target)) {
        report(folder, tr("%1 exists already; --force replaces it").arg(target));
        return false;
    }
    const QString name = job.book().name();
    m_clock.start();
    QObject::connect(&job, &BookJob::progressed,
                     [&](int done, int total) { showProgress(done, total, name); });
    showProgress(0, job.pages().size(), name);
    const BookJob::Result result = job.make();
    if (result == BookJob::Stopped) {
        m_stoppedABuild = true;
        report(folder, tr("stopped; no archive was made"));
        return false;
    }
    if (result != BookJob::Made && result != BookJob::MadeWithoutSome) {
        for (const QString &reason : job.errorStrings())
            report(folder, reason);
        if (job.refusedPartialPage())
            report(folder, tr("--skip-unreadable makes it with the first frame of each "
                              "animation"));
        return false;
    }
    m_made.insert(target, folder);
    const QVector<int> unread = job.leftOutRows();
    m_pagesMade += job.pagesMade();
    if (result == BookJob::MadeWithoutSome)
        ++m_madeWithoutSome;
    // A page left out unread is named even under --quiet: the book would
    // look whole.
    const QVector<BuildPage> &pages = job.pages();
    for (const BookBuild::PageNote &note : job.pageNotes()) {
        if (!m_args.quiet || unread.contains(note.row))
            report(pages.at(note.row).page.shownPath(), note.text);
    }
    if (!m_args.quiet) {
        for (const QString &note : job.bookNotes())
            report(target, note);
        // Which half came first, and how to have the other: a book that
        // says nothing of its direction takes the half chosen.
        if (job.cutPages() > 0)
            report(folder, job.plan().options.ImageCutFirstPageRight
                               ? tr("read right to left: the right half of each cut page came "
                                    "first (--first-page left, or a book that says Manga No, "
                                    "puts the left half first)")
                               : tr("read left to right: the left half of each cut page came "
                                    "first (--first-page right, or a book that says Manga "
                                    "YesAndRightToLeft, puts the right half first)"));
    }
    if (!m_args.quiet) {
        if (m_terminal)
            std::fputs("\r\033[K", m_err);
        // What it weighs against its pages; what makes it heavy, when it is.
        const PageOptions &options = job.plan().options;
        const SizeReport size = job.size();
        std::fprintf(m_err, "%s\n",
                     local(tr("%1: %2, in %L3 s")
                               .arg(target, size.line(options.BookKind))
                               .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1))
                         .constData());
        for (const QString &note : {size.whyLarger(options), SizeReport::screenNote(options)}) {
            if (!note.isEmpty())
                std::fprintf(m_err, "%s\n", local(note).constData());
        }
    }
    return true;
}

// The options again, from the command line and the options file, when
// SIGHUP asks: the watch goes on with them for the books made next.
void CliRunner::reloadOptions()
{
    CliArguments again;
    if (again.parse(QCoreApplication::arguments()) != CliArguments::Run) {
        report(m_args.watchFolder,
               tr("the options cannot be read again, the watch goes on with those it had: %1")
                   .arg(again.errorString()));
        return;
    }
    again.undecodable = m_args.undecodable;
    m_args = again;
    if (!m_args.quiet)
        report(m_args.watchFolder, tr("options read again"));
}

// Makes each book that lands in the watched folder once it has settled, one
// at a time, until SIGTERM or SIGINT. A change notice makes it look at
// once; it looks every --poll seconds as well, for file systems that send
// none.
int CliRunner::watch()
{
    struct sigaction action = {};
    action.sa_handler = CliRunner::reloadOnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGHUP, &action, nullptr);

    ShelfWatch shelf(m_args.watchFolder, qint64(m_args.settleSeconds) * 1000);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QFileSystemWatcher notices;
    QTimer look;
    look.setSingleShot(true);
    QTimer poll;
    QTimer heard;
    const auto lookNow = [&] {
        const QStringList due = shelf.due(clock.elapsed());
        for (const QString &path : due) {
            if (s_signal)
                break;
            const bool replace = shelf.madeBefore(path);
            shelf.started(path);
            m_args.folders = QStringList{path};
            m_book = 1;
            makeArchive(path, replace);
            if (m_lastResult == int(BookJob::Stopped) || s_signal)
                break;
            shelf.finished(path, m_lastTarget);
        }
        // Notices for the folder and for each book folder in it.
        QStringList paths{m_args.watchFolder};
        for (const QFileInfo &info :
             QDir(m_args.watchFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            paths << info.absoluteFilePath();
        const QStringList watched = notices.directories();
        for (const QString &path : paths)
            if (!watched.contains(path))
                notices.addPath(path);
        if (shelf.nextLook() >= 0)
            look.start(int(qBound<qint64>(50, shelf.nextLook() - clock.elapsed() + 50, 86400000)));
    };
    QObject::connect(&notices, &QFileSystemWatcher::directoryChanged, &loop,
                     [&] { look.start(200); });
    QObject::connect(&look, &QTimer::timeout, &loop, lookNow);
    QObject::connect(&poll, &QTimer::timeout, &loop, lookNow);
    QObject::connect(&heard, &QTimer::timeout, &loop, [&] {
        if (s_signal)
            loop.quit();
        if (s_reload.exchange(false)) {
            reloadOptions();
            poll.start(m_args.pollSeconds * 1000);
            look.start(0);
        }
    });
    poll.start(m_args.pollSeconds * 1000);
    heard.start(100);
    look.start(0);
    if (!s_signal)
        loop.exec();
    return m_usageError ? Usage : AllMade;
}
