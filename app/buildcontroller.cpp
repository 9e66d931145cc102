#include "app/buildcontroller.h"

#include "app/shelltaskbarprogress.h"

#include "book/sizereport.h"
#include "making/packager.h"
#include "pages/pagesource.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QtConcurrent>

BuildController::BuildController(const Widgets &widgets, QWidget *window)
    : QObject(window)
    , m_widgets(widgets)
    , m_window(window)
{}

BuildController::~BuildController()
{
    if (m_run.isRunning()) {
        m_job->kill();
        m_run.waitForFinished();
    }
}

QString BuildController::createCaption(PageOptions::Kind kind)
{
    if (kind == PageOptions::CbzBook)
        return QCoreApplication::translate("Quirevale", "Create CBZ");
    return tr("Create %1").arg(Packager::tr(Packager::kind(kind).title));
}

QString BuildController::makeText(PageOptions::Kind kind)
{
    if (kind == PageOptions::CbzBook)
        return QCoreApplication::translate("QuirevaleClass", "Make CBZ");
    return tr("Make %1").arg(Packager::tr(Packager::kind(kind).title));
}

QString BuildController::failedText(PageOptions::Kind kind)
{
    if (kind == PageOptions::CbzBook)
        return QCoreApplication::translate("Quirevale", "Unable to create CBZ file!");
    return tr("Unable to create %1 file!").arg(Packager::tr(Packager::kind(kind).title));
}

QString BuildController::askFileName(const Book &book, QString *saveDir, PageOptions::Kind kind)
{
    const QString suffix = Packager::suffixOf(kind);
    // Before any save folder is remembered, the folder beside the book's
    // own, so the first archive lands beside its pages rather than at the
    // root of the disk.
    const QString folder = saveDir->isEmpty() ? book.defaultFolder() : *saveDir;
    const QString suggested =
        book.name().isEmpty()
            ? folder
            : QDir::toNativeSeparators(book.request(folder, false, false, kind).target);
    const QString create = createCaption(kind);
    QString fileName =
        QFileDialog::getSaveFileName(m_window, create, suggested, QLatin1Char('*') + suffix);
    if (fileName.isEmpty())
        return QString();
    // A name typed without the extension gets it; the dialog asked about
    // replacing the name as typed, so ask again for the name it became.
    if (!fileName.endsWith(suffix, Qt::CaseInsensitive)) {
        fileName += suffix;
        if (QFileInfo::exists(fileName) &&
            QMessageBox::question(m_window, create,
                                  tr("%1 already exists.\nDo you want to replace it?")
                                      .arg(QDir::toNativeSeparators(fileName))) != QMessageBox::Yes)
            return QString();
    }
    *saveDir = QFileInfo(fileName).absolutePath();
    return fileName;
}

QFuture<bool> BuildController::start(const Request &request,
                                     const std::function<bool(const QString &)> &run,
                                     const std::function<void(BookJob *)> &connect)
{
    m_job = std::make_unique<BookJob>();
    m_kind = request.options.pages.BookKind;
    m_job->setBook(request.book);
    m_job->setPages(request.pages);
    m_job->setOptions(request.options);
    // The dialog and "First page begins from" follow each other: the half
    // the options say is the one the user chose.
    m_job->setComicInfo(request.comicInfo, true);
    m_job->setHalfChosen(true);
    m_job->setTarget(request.fileName);
    m_job->setReplaceExisting(QFileInfo::exists(request.fileName));
    // What the list showed left out was the user's to see; an animation's
    // first frame is named in the report.
    int without = BookJob::MissingFiles | BookJob::OtherPictures | BookJob::LaterFrames;
    if (request.unreadableLeftOut)
        without |= BookJob::UnreadablePages;
    m_job->setMadeWithout(without);
    m_job->setPictureObserver(request.pictures);
    m_job->setThreadCount(request.threads);
    if (connect)
        connect(m_job.get());
    m_widgets.progress->setRange(0, request.rows);
    m_widgets.taskbar->setRange(0, request.rows);
    m_widgets.taskbar->show();
    m_widgets.cancel->show();
    m_building = true;
    emit buildingChanged(true);
    // The job touches no widget: it runs on the pool, and is waited for
    // before this goes.
    m_run = QtConcurrent::run([run, fileName = request.fileName] { return run(fileName); });
    return m_run;
}

void BuildController::cancel()
{
    if (m_job)
        m_job->kill();
}

bool BuildController::finished()
{
    if (m_questionOpen) {
        m_endedDuringQuestion = true;
        return false;
    }
    return report();
}

// True when the window is to close now that the build has ended.
bool BuildController::report()
{
    m_widgets.taskbar->hide();
    m_widgets.cancel->hide();
    // A close asked for during the build happens now; a failure is still
    // reported, a success or a cancel needs no words.
    const bool closing = m_closeWhenBuilt;
    m_closeWhenBuilt = false;
    bool again = false; // made again without the pages that cannot be read
    const BookJob::Result result = m_job->result();
    const bool failed = result == BookJob::Failed || result == BookJob::Refused;
    if (result == BookJob::Made || result == BookJob::MadeWithoutSome) {
        m_widgets.progress->setValue(m_widgets.progress->maximum());
        if (!closing)
            reportSuccess(m_job->target());
    } else if (failed && !closing && m_job->failedOnUnreadablePages() &&
               askToLeaveOutUnreadable()) {
        again = true;
    } else if (failed) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Quirevale", "Error"),
                        failedText(m_kind), QMessageBox::Ok, m_window);
        box.setInformativeText(m_job->errorString());
        box.exec();
    }
    m_widgets.progress->setValue(0);
    m_widgets.taskbar->setValue(0);
    m_building = false;
    emit buildingChanged(false);
    // Made again once the controls are back, as a new build.
    if (again)
        emit leaveOutUnreadableChosen(m_job->target());
    return closing;
}

// Pages that cannot be read stopped the book: the user may make it without
// them, each named in the report, or keep the failure as it is.
bool BuildController::askToLeaveOutUnreadable()
{
    const QString question = tr("Some pages cannot be read. Make the archive without them?");
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Quirevale", "Warning"),
                    question, QMessageBox::NoButton, m_window);
    box.setInformativeText(m_job->errorString());
    QPushButton *leaveOut = box.addButton(tr("Leave Them Out"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == leaveOut;
}

// The report keeps its words and gains a way to the new archive.
void BuildController::reportSuccess(const QString &fileName)
{
    QMessageBox box(QMessageBox::Information, QCoreApplication::translate("Quirevale", "Advise"),
                    QCoreApplication::translate("Quirevale", "File successfull created!"),
                    QMessageBox::Ok, m_window);
    const QVector<BookBuild::PageNote> notes = m_job->pageNotes();
    // What the archive weighs against its pages, and why, when it is heavy.
    const SizeReport size = m_job->size();
    const PageOptions &options = m_job->plan().options;
    QStringList said{size.line(options.BookKind)};
    for (const QString &note : {size.whyLarger(options), SizeReport::screenNote(options)}) {
        if (!note.isEmpty())
            said << note;
    }
    // What the listing left out, then what the list did, then the pages
    // found unreadable.
    said << m_job->listingLeftOut() << m_leftOut << m_job->bookNotes();
    if (m_job->cutPages() > 0)
        said << (options.ImageCutFirstPageRight
                     ? tr("The right half of each cut page came first: the book is read right to "
                          "left. Choose Left under \"First page begins from\" for the other.")
                     : tr("The left half of each cut page came first: the book is read left to "
                          "right. Choose Right under \"First page begins from\" for the other."));
    QStringList unread;
    for (const int row : m_job->leftOutRows())
        unread << (m_rowName ? m_rowName(row) : QString::number(row + 1));
    if (!unread.isEmpty())
        said << tr("Left out, as they cannot be read: %1").arg(unread.join(QStringLiteral(", ")));
    if (!notes.isEmpty())
        said << tr("Some pages were made differently; the details say how.");
    box.setInformativeText(said.join(QLatin1Char('\n')));
    if (!notes.isEmpty()) {
        QStringList lines;
        for (const BookBuild::PageNote &note : notes)
            lines << QStringLiteral("%1: %2").arg(m_rowName ? m_rowName(note.row) : QString(),
                                                  note.text);
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    }
    QPushButton *open = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() != open)
        return;
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        QMessageBox::warning(m_window, QCoreApplication::translate("Quirevale", "Warning"),
                             tr("No file manager answered. The archive is in %1.")
                                 .arg(QDir::toNativeSeparators(folder)));
}

// A close during a build asks first: the user may want the archive.
bool BuildController::mayClose()
{
    if (!m_building)
        return true;
    if (m_closeWhenBuilt)
        return false; // asked already; the build is stopping
    QMessageBox question(QMessageBox::Question, tr("Close"),
                         m_kind == PageOptions::CbzBook
                             ? tr("A CBZ file is being made. Stop it and close the window?")
                             : tr("A %1 file is being made. Stop it and close the window?")
                                   .arg(Packager::tr(Packager::kind(m_kind).title)),
                         QMessageBox::NoButton, m_window);
    QPushButton *stop = question.addButton(tr("Stop and Close"), QMessageBox::DestructiveRole);
    QPushButton *keep = question.addButton(tr("Keep Building"), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    m_questionOpen = true;
    question.exec();
    m_questionOpen = false;
    if (question.clickedButton() == stop) {
        m_closeWhenBuilt = true;
        m_job->kill(); // too late when the book is being put in place
    }
    // Ended while the question was open: this very close goes ahead (a
    // close() from inside it would be ignored).
    if (m_endedDuringQuestion) {
        m_endedDuringQuestion = false;
        return report();
    }
    return false;
}
