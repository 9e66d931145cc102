#include "book/bookjob.h"

#include "making/packager.h"
#include "pages/pagesource.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

BookJob::BookJob(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<BookJob::Result>();
}

BookJob::~BookJob()
{
    kill();
    // The build's own destructor waits for a run on another thread; the
    // owner of a job waits for its run before destroying it.
}

void BookJob::setSources(const QStringList &sources, bool chapters)
{
    m_sources = sources;
    m_chapters = chapters;
    m_given.reset();
}

void BookJob::setBook(const Book &book)
{
    m_given = book;
    m_sources = book.sources();
}

void BookJob::setPages(const QVector<Book::Page> &pages)
{
    m_chosen = pages;
}

void BookJob::setPageNames(const QStringList &names)
{
    m_pageNames = names;
}

void BookJob::setTreatments(const QHash<QString, PageTreatment> &treatments)
{
    m_treatments = treatments;
    if (m_opened)
        choosePages();
}

void BookJob::setOptions(const BookOptions &options)
{
    m_options = options;
}

void BookJob::setComicInfo(const ComicInfo &given, bool edited)
{
    m_comicInfo = given;
    m_comicInfoEdited = edited;
}

void BookJob::setTarget(const QString &fileName)
{
    m_target = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
}

void BookJob::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder;
}

void BookJob::kill()
{
    m_stop = true;
    ++m_killing;
    if (BookBuild *build = m_build.load())
        build->cancel();
    --m_killing;
}

BookJob::Result BookJob::end(Result result, Failure failure, const QStringList &errors)
{
    m_result = result;
    m_failure = failure;
    m_errors = errors;
    m_milliseconds = m_clock.isValid() ? m_clock.elapsed() : 0;
    return result;
}

BookJob::Result BookJob::endStopped()
{
    return end(Stopped, NoFailure, {tr("Stopped; nothing was made.")});
}

// Where the book goes: where it was told to, or "<name><suffix>" in the
// output folder, or beside its source.
QString BookJob::targetOf(const Book &book) const
{
    if (!m_target.isEmpty())
        return m_target;
    const PageOptions::Kind kind = m_options.pages.BookKind;
    const QString folder = m_outputFolder.isEmpty() ? book.defaultFolder() : m_outputFolder;
    return book.targetIn(folder, kind);
}

BookJob::Result BookJob::exec()
{
    if (!open())
        return m_result;
    return make();
}

bool BookJob::open()
{
    m_clock.start();
    m_opened = false;
    m_result = Failed;
    m_failure = NoFailure;
    m_errors.clear();
    if (m_stop) {
        endStopped();
        return false;
    }
    // A shelf made again: a book whose file is there already is passed over
    // before anything of it is read.
    if (m_skipExisting && !m_given && !m_sources.isEmpty()) {
        const Book unlisted = Book::unlisted(m_sources, m_chapters);
        const QString target = targetOf(unlisted);
        if (QFileInfo::exists(target)) {
            m_request.target = target;
            end(Skipped, NoFailure,
                {tr("%1 exists already").arg(QDir::toNativeSeparators(target))});
            return false;
        }
    }
    if (!list())
        return false;
    m_request = m_book.request(QFileInfo(targetOf(m_book)).absolutePath(), m_without & MissingFiles,
                               m_without & OtherPictures, m_options.pages.BookKind);
    m_request.target = targetOf(m_book);
    if (!choosePages())
        return false;
    m_plan = m_book.plan(m_options.pages, m_comicInfo, m_comicInfoEdited, m_halfChosen);
    m_opened = true;
    return true;
}

bool BookJob::list()
{
    if (m_given) {
        m_book = *m_given;
        return true;
    }
    for (const QString &source : qAsConst(m_sources)) {
        if (!QFileInfo::exists(source)) {
            end(Failed, SourceUnreadable, {tr("Its source is gone: %1").arg(source)});
            return false;
        }
    }
    const PictureTypes types = m_options.everyPictureType ? EveryPictureType : PageTypesOnly;
    const ListingControl control{&m_stop, [this](int seen) {
                                     emit listing(seen);
                                 }};
    m_book = m_sources.size() > 1 ? Book::openChapters(m_sources, types, control)
                                  : Book::open(m_sources.value(0), types, m_chapters, control);
    if (m_book.listing().stopped || m_stop) {
        endStopped();
        return false;
    }
    if (!m_book.errorString().isEmpty()) {
        end(Failed, SourceUnreadable, {tr("It cannot be read: %1").arg(m_book.errorString())});
        return false;
    }
    return true;
}

// The pages to make: those the user has, or those named in their order,
// or every page listed.
bool BookJob::choosePages()
{
    if (m_chosen) {
        m_pages = Book::buildPages(*m_chosen);
        return true;
    }
    QVector<Book::Page> listed = m_book.listedPages(m_treatments);
    if (m_foldersAsChapters &&
        std::none_of(listed.cbegin(), listed.cend(),
                     [](const Book::Page &page) { return !page.chapter.isEmpty(); })) {
        for (int i = 0; i < listed.size(); ++i) {
            const QString &name = m_book.pages().at(i).name;
            const int slash = name.lastIndexOf(QLatin1Char('/'));
            if (slash > 0)
                listed[i].chapter = name.left(slash);
        }
    }
    if (m_pageNames.isEmpty()) {
        m_pages = Book::buildPages(listed);
        return true;
    }
    QHash<QString, int> byName;
    for (int i = listed.size() - 1; i >= 0; --i)
        byName.insert(m_book.pages().at(i).name, i);
    QVector<Book::Page> chosen;
    for (const QString &name : qAsConst(m_pageNames)) {
        if (!byName.contains(name)) {
            end(Failed, SourceChanged,
                {tr("Its source has changed since it was added: %1 is gone").arg(name)});
            return false;
        }
        chosen.append(listed.at(byName.value(name)));
        chosen.last().row = chosen.size() - 1;
    }
    m_pages = Book::buildPages(chosen);
    return true;
}

// Whether the book may go where it goes: a file there is replaced only
// when told so, and its folder is made when missing.
bool BookJob::checkTarget()
{
    const QString &target = m_request.target;
    if (!m_replace && QFileInfo::exists(target)) {
        if (m_skipExisting)
            end(Skipped, NoFailure,
                {tr("%1 exists already").arg(QDir::toNativeSeparators(target))});
        else
            end(Failed, TargetExists,
                {tr("%1 exists already").arg(QDir::toNativeSeparators(target))});
        return false;
    }
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder)) {
        end(Failed, TargetFolder,
            {tr("The folder for its book cannot be made: %1")
                 .arg(QDir::toNativeSeparators(folder))});
        return false;
    }
    return true;
}

BookJob::Result BookJob::make()
{
    if (!m_opened && !open())
        return m_result;
    if (m_stop)
        return endStopped();
    if (m_pages.isEmpty())
        return end(Failed, NoPages,
                   {m_book.missesPages() ? tr("None of its page files can be used.")
                                         : tr("It has no pages.")});
    if (m_request.refused())
        return end(Refused, NoFailure, m_request.reasons);
    if (!checkTarget())
        return m_result;
    return build();
}

BookJob::Result BookJob::build()
{
    BookBuild build(m_request.target, m_pages, m_plan.options);
    build.setThreadCount(m_threads);
    build.setMemoryBudget(m_memoryBudget);
    build.setReplaceExisting(m_replace);
    build.setComicInfo(m_plan.comicInfo);
    build.setPictureObserver(m_observer);
    build.setPartialPagesAllowed(m_without & LaterFrames);
    build.setUnreadablePagesLeftOut(m_without & UnreadablePages);
    const int total = m_pages.size();
    int done = 0;
    connect(
        &build, &BookBuild::pageWritten, this,
        [this, total, &done](int row, int entries, qint64 bytes) {
            emit pageWritten(row, entries, bytes);
            emit progressed(++done, total, bytes);
        },
        Qt::DirectConnection);
    m_build = &build;
    if (m_stop)
        build.cancel();
    const BookBuild::Result result = build.run();
    m_build = nullptr;
    while (m_killing.load() > 0)
        QThread::yieldCurrentThread();
    gather(build);
    if (result == BookBuild::Canceled)
        return endStopped();
    if (result == BookBuild::Failed)
        return end(Failed, BuildFailed, build.errorStrings());
    m_entries = build.entryCount();
    m_bookNotes = build.bookNotes();
    m_cutPages = build.cutPages();
    m_bytes = 0;
    for (const QString &file : build.files())
        m_bytes += QFileInfo(file).size();
    m_listingLeftOut = m_request.leftOut;
    for (const Book::LeftOut &left : m_book.leftOut()) {
        if (left.kind == Book::LeftOut::Trouble)
            m_listingLeftOut << left.text;
    }
    m_leftOut = m_listingLeftOut;
    for (const int row : qAsConst(m_leftOutRows)) {
        for (const BuildPage &page : qAsConst(m_pages)) {
            if (page.row == row)
                m_leftOut << tr("%1 cannot be read").arg(page.page.shownPath());
        }
    }
    return end(m_leftOut.isEmpty() ? Made : MadeWithoutSome);
}

void BookJob::gather(const BookBuild &build)
{
    m_leftOutRows = build.leftOutRows();
    m_notes = build.pageNotes();
    m_scanFindings = build.scanFindings();
    m_refusedPartialPage = build.refusedPartialPage();
    m_failedOnUnreadable = build.failedOnUnreadablePages();
}

SizeReport BookJob::size() const
{
    return SizeReport(m_entries, pagesMade(), m_bytes, SizeReport::bytesOf(m_pages));
}
