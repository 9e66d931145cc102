// The main window's book: listing the folder picked, following the current
// row, and making its archive.

#include "app/bookpicker.h"
#include "app/booksession.h"
#include "app/booksources.h"
#include "app/buildcontroller.h"
#include "app/optionspanel.h"
#include "app/pagelist.h"
#include "app/previewcontroller.h"
#include "app/presetmenu.h"
#include "app/queuedock.h"
#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
#include "dialogs/checkbooksdialog.h"
#include "pages/pagesource.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

void Quirevale::on_BrowsePath_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select images folder"), ImagesDir,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty() || !Pages->forgetTreatmentsFirst())
        return;
    // Remembered before the list is filled, so a folder without images is
    // remembered too.
    ImagesDir = folder;
    Sources->showListed(LoadImagesList(folder), folder);
}

void Quirevale::on_actionOpenFolder_triggered()
{
    if (ui.ImagesPathFrame->isEnabled())
        on_BrowsePath_clicked();
}

int Quirevale::LoadImagesList(QString folder)
{
    return Sources->show(Book::open(folder, Sources->listedTypes()));
}

void Quirevale::openFromOutside(const QString &path)
{
    if (!isBuilding())
        Sources->openFromOutside(path);
}

void Quirevale::dragEnterEvent(QDragEnterEvent *event)
{
    if (!isBuilding() && BookSources::mayBeDropped(event->mimeData()))
        event->acceptProposedAction();
}

void Quirevale::dropEvent(QDropEvent *event)
{
    if (!isBuilding())
        Sources->drop(event);
}

void Quirevale::addToQueue(const QStringList &sources)
{
    Queue->addSources(sources, Options->read(), Presets->inUse());
}

void Quirevale::on_actionAddToQueue_triggered()
{
    BookPicker dialog(this, tr("Add Books to Queue"), ImagesDir);
    dialog.setNameFilter(tr("Folders, comic archives, PDFs and EPUBs (%1)")
                             .arg(QStringLiteral("* *.cbz *.cbr *.cb7 *.cbt *.zip *.rar *.7z "
                                                 "*.tar *.pdf *.epub")));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QStringList sources;
    for (const QString &path : dialog.selectedFiles()) {
        if (QFileInfo(path).isDir() || isBookFile(path))
            sources << path;
    }
    if (!sources.isEmpty())
        addToQueue(sources);
}

void Quirevale::on_actionCheckBooks_triggered()
{
    BookPicker picker(this, tr("Check Books"), ImagesDir);
    picker.setNameFilter(tr("Comic archives and EPUBs (%1)")
                             .arg(QStringLiteral("* *.cbz *.cbr *.cb7 *.cbt *.zip *.epub")));
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return;
    CheckBooksDialog dialog(picker.selectedFiles(), this);
    dialog.exec();
}

// The book on show, as the list has it: its checked pages in their order,
// each with its own treatment, and what the user wrote of it.
void Quirevale::addThisBook()
{
    const Book &book = Session->book();
    if (book.pages().isEmpty())
        return;
    QHash<PageLocation, QString> names;
    for (const ListedPage &page : book.pages())
        names.insert(page.location, page.name);
    QueuedBook queued;
    queued.sources = book.sources();
    queued.chapters = book.hasChapters() && queued.sources.size() == 1;
    queued.options = Options->read();
    queued.preset = Presets->inUse();
    queued.comicInfo = comicInfoOfBook();
    queued.comicInfoEdited = true;
    for (const Book::Page &page : Pages->checkedPages()) {
        const QString name = names.value(page.location);
        queued.pageNames << name;
        if (!page.treatment.isDefault())
            queued.treatments.insert(name, page.treatment);
    }
    if (queued.pageNames.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("No page is checked: there is nothing to put in an archive."));
        return;
    }
    Queue->addBook(queued);
}

void Quirevale::dropSeveral(const QStringList &sources)
{
    QueueDock::DropChoice choice;
    if (!Queue->askDropChoice(&choice))
        return;
    if (choice == QueueDock::OneBookEach)
        addToQueue(sources);
    else
        Sources->openChapters(sources, false);
}

void Quirevale::on_ImagesList_currentItemChanged(QListWidgetItem *current, QListWidgetItem *)
{
    // The move buttons follow the row even when its page cannot be shown.
    updateEnabled();
    if (!current) {
        Preview->clear(emptyPreviewText());
        return;
    }
    updatePreview();
    const QVector<PageLocation> neighbours = Pages->neighbours();
    Preview->show(Pages->current(), neighbours, Pages->passing());
}

void Quirevale::on_ImagesList_customContextMenuRequested(const QPoint &at)
{
    Pages->showContextMenu(at);
}

void Quirevale::on_MoveImageUp_clicked()
{
    Pages->moveCurrent(-1);
}

void Quirevale::on_MoveImageDown_clicked()
{
    Pages->moveCurrent(+1);
}

void Quirevale::SelectImageItem(unsigned int i)
{
    const int row = int(i);
    ui.ImagesList->setCurrentRow(row);
    ui.MakeCBZProgressBar->setValue(row + 1);
    TaskbarProgress->setValue(row + 1);
}

void Quirevale::on_actionMakeCbz_triggered()
{
    if (ui.MakeCBZ->isEnabled() && ui.MakeCBZFrame->isEnabled())
        on_MakeCBZ_clicked();
}

void Quirevale::on_MakeCBZ_clicked()
{
    const QVector<BuildPage> pages = Session->buildPages();
    if (pages.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("No page is checked: there is nothing to put in an archive."));
        return;
    }
    // What the listing left out was named in the strip above the list when
    // the book was listed; the report names it again. Make CBZ goes
    // straight to the save dialog.
    const QString fileName =
        Builds->askFileName(Session->book(), &CbzSaveDir, Options->read().pages.BookKind);
    if (!fileName.isEmpty())
        startBuild(fileName);
}

// Everything the build needs is taken here, on this thread: it never looks
// at a widget again.
void Quirevale::startBuild(const QString &fileName, bool unreadableLeftOut)
{
    Preview->startFollowingBuild();
    // The pages the list left unchecked as blank are named in the report.
    const QStringList blank = Pages->blankLeftOut();
    Builds->setLeftOut(blank.isEmpty() ? QStringList()
                                       : QStringList{tr("Left out as blank: %1").arg(
                                             blank.join(QStringLiteral(", ")))});
    BuildController::Request request;
    request.fileName = fileName;
    request.book = Session->book();
    request.pages = Pages->checkedPages();
    request.rows = ui.ImagesList->count();
    request.options = Options->read();
    request.comicInfo = comicInfoOfBook();
    request.pictures = Preview->builtPictures();
    request.threads = BuildThreads;
    request.unreadableLeftOut = unreadableLeftOut;
    MakeCbzFuture = Builds->start(
        request, [this](const QString &name) { return MakeCbz(name); },
        [this](BookJob *job) {
            connect(job, &BookJob::pageWritten, this, &Quirevale::showBuiltPage);
        });
    MakeCbzWatcher.setFuture(MakeCbzFuture);
}

// Runs on a pool thread; the build touches no widget.
bool Quirevale::MakeCbz(QString fileName)
{
    Q_UNUSED(fileName) // the job was given it
    const BookJob::Result result = Builds->job()->exec();
    return result == BookJob::Made || result == BookJob::MadeWithoutSome;
}

// The list, the preview and the progress follow the build: the page the
// build decoded is shown as it is, without reading its file again.
void Quirevale::showBuiltPage(int row)
{
    SelectImageItem(unsigned(row));
    Preview->showBuilt(row);
}

void Quirevale::on_CancelBuild_clicked()
{
    if (Sources->isListing())
        Sources->stopListing();
    else
        Builds->cancel();
}

void Quirevale::MakeCbzFinished()
{
    if (Builds->finished())
        close();
}

void Quirevale::buildEnded()
{
    // Every page the build cleaned up says on its row what was found, as
    // the preview says it of the pages shown.
    if (const BookJob *job = Builds->job()) {
        for (const BookBuild::ScanFound &found : job->scanFindings())
            Pages->setScanNote(found.page.page, found.cleanup.rowMark(found.straighten),
                               found.cleanup.rowNote(found.straighten));
    }
    Preview->stopFollowingBuild();
    ui.ImagesList->setCurrentRow(0);
}

void Quirevale::closeEvent(QCloseEvent *event)
{
    // A book being listed is not worth a question: it stops.
    Sources->stopListing();
    if (Builds->mayClose() && Queue->mayClose())
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}
