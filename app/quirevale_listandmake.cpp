// The main window's book: listing the folder picked, following the current
// row, and making its archive.

#include "app/booksession.h"
#include "app/booksources.h"
#include "app/buildcontroller.h"
#include "app/optionspanel.h"
#include "app/pagelist.h"
#include "app/previewcontroller.h"
#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
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
    if (!Builds->mayMake(Session->book().request()))
        return;
    const QString fileName =
        Builds->askFileName(Session->book(), &CbzSaveDir, Options->read().pages.BookKind);
    if (!fileName.isEmpty())
        startBuild(fileName, pages);
}

// Everything the build needs is taken here, on this thread: it never looks
// at a widget again.
void Quirevale::startBuild(const QString &fileName, const QVector<BuildPage> &pages,
                           bool unreadableLeftOut)
{
    Preview->startFollowingBuild();
    // Asked to be made, it is made without what it lacks.
    QStringList leftOut = Session->book().request(QString(), true, true).leftOut;
    const QStringList blank = Pages->blankLeftOut();
    if (!blank.isEmpty())
        leftOut << tr("Left out as blank: %1").arg(blank.join(QStringLiteral(", ")));
    Builds->setLeftOut(leftOut);
    BuildController::Request request;
    request.fileName = fileName;
    request.pages = pages;
    request.rows = ui.ImagesList->count();
    request.options = Options->read().pages;
    request.comicInfo = comicInfoOfBook();
    request.pictures = Preview->builtPictures();
    request.threads = BuildThreads;
    request.unreadableLeftOut = unreadableLeftOut;
    MakeCbzFuture = Builds->start(
        request, [this](const QString &name) { return MakeCbz(name); },
        [this](CbzBuild *build) {
            connect(build, &CbzBuild::pageWritten, this, &Quirevale::showBuiltPage);
        });
    MakeCbzWatcher.setFuture(MakeCbzFuture);
}

// Runs on a pool thread; the build touches no widget.
bool Quirevale::MakeCbz(QString fileName)
{
    Q_ASSERT(Builds->build() && Builds->build()->fileName() == fileName);
    return Builds->build()->run() == CbzBuild::Done;
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
    if (const CbzBuild *build = Builds->build()) {
        for (const CbzBuild::ScanFound &found : build->scanFindings())
            Pages->setScanNote(found.page.page, found.cleanup.rowMark(found.straighten),
                               found.cleanup.rowNote(found.straighten));
    }
    Preview->stopFollowingBuild();
    ui.ImagesList->setCurrentRow(0);
}

void Quirevale::closeEvent(QCloseEvent *event)
{
    if (Builds->mayClose())
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}
