// The main window's book: listing it from a folder, archive or PDF (picked,
// dropped or named from outside), following the current row, and making
// its archive.

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
#include <QtConcurrent>

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
    showListed(LoadImagesList(folder), folder);
}

void Quirevale::on_actionOpenFolder_triggered()
{
    if (ui.ImagesPathFrame->isEnabled())
        on_BrowsePath_clicked();
}

void Quirevale::on_actionOpenArchive_triggered()
{
    const QString archive = QFileDialog::getOpenFileName(
        this, tr("Open Archive"), ImagesDir,
        tr("Comic archives and PDFs (%1)")
            .arg(QStringLiteral("*.cbz *.cbr *.cb7 *.cbt *.zip *.rar *.7z *.tar *.pdf")));
    if (!archive.isEmpty())
        openFolder(archive);
}

PictureTypes Quirevale::listedTypes(PictureTypes asked) const
{
    return ui.actionListEveryType->isChecked() ? EveryPictureType : asked;
}

int Quirevale::LoadImagesList(QString folder)
{
    return showBook(Book::open(folder, listedTypes()));
}

// Lists the pages of folder, as picked, dropped or named on the command line.
void Quirevale::openFolder(const QString &folder, PictureTypes types, bool chapters)
{
    if (!Pages->forgetTreatmentsFirst())
        return;
    // An archive that cannot be read leaves the list as it is.
    const Book book = Sources->open(folder, listedTypes(types), chapters);
    if (!book.errorString().isEmpty())
        return;
    ImagesDir = folder;
    showListed(showBook(book), folder);
}

int Quirevale::showBook(const Book &book)
{
    CurrentBook = book;
    Preview->forget();
    Pages->fill(book);
    Sources->showNotice(book, Pages->count());
    return Pages->count();
}

// The controls follow the list just filled from source: usable when it
// holds pages, which start at the first; a book without pages, and with
// nothing in the strip to say why, is told so.
void Quirevale::showListed(int count, const QString &source)
{
    updateEnabled();
    if (count != 0) {
        ui.ImagesPath->setText(source);
        ui.ImagesList->setCurrentRow(0);
    } else if (ui.NoticeFrame->isHidden()) {
        QMessageBox::warning(
            this, tr("Warning"),
            QStringLiteral("%1! (%2)")
                .arg(tr("No image file found"), pageFileTypeList(QStringLiteral(","))));
    }
}

void Quirevale::openFromOutside(const QString &path)
{
    const QFileInfo info(path);
    if (isBuilding() || path.isEmpty())
        return;
    if (isBookFile(path)) {
        openFolder(info.absoluteFilePath());
        return;
    }
    openFolder(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    // A page named on its own becomes the current one.
    const int row = info.isDir() ? -1 : Pages->rowOf(info.absoluteFilePath());
    if (row >= 0)
        ui.ImagesList->setCurrentRow(row);
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

// Several folders and archives dropped, as the chapters of one book.
void Quirevale::openChapters(const QStringList &sources)
{
    if (isBuilding() || !Pages->forgetTreatmentsFirst())
        return;
    const Book book = Sources->openChapters(sources, listedTypes());
    if (book.source().isEmpty() || !book.errorString().isEmpty())
        return;
    // The book is named after the folder that holds its chapters.
    ImagesDir = book.source();
    showListed(showBook(book), ImagesDir);
}

// The book listed again, pictures of every type among its pages.
void Quirevale::on_NoticeAction_clicked()
{
    openFolder(ImagesDir, EveryPictureType, CurrentBook.hasChapters());
}

// The folder listed again as one book, its sub-folders its chapters.
void Quirevale::on_NoticeChapters_clicked()
{
    openFolder(ImagesDir, listedTypes(), true);
}

void Quirevale::on_actionListEveryType_triggered()
{
    if (!ui.ImagesPath->text().isEmpty() && ui.ImagesPath->text() == ImagesDir)
        openFolder(ImagesDir);
}

void Quirevale::on_NoticeClose_clicked()
{
    Sources->hideNotice();
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
    Preview->show(Pages->current(), Pages->neighbours());
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
    const QVector<BuildPage> pages = Book::buildPages(Pages->checkedPages());
    if (pages.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("No page is checked: there is nothing to put in an archive."));
        return;
    }
    QString fileName = QFileDialog::getSaveFileName(this, tr("Create CBZ"), suggestedArchiveName(),
                                                    QStringLiteral("*.cbz"));
    if (fileName.isEmpty())
        return;
    // A name typed without the extension gets it; the dialog asked about
    // replacing the name as typed, so ask again for the name it became.
    if (!fileName.endsWith(QLatin1String(".cbz"), Qt::CaseInsensitive)) {
        fileName += QLatin1String(".cbz");
        if (QFileInfo::exists(fileName) &&
            QMessageBox::question(this, tr("Create CBZ"),
                                  tr("%1 already exists.\nDo you want to replace it?")
                                      .arg(QDir::toNativeSeparators(fileName))) != QMessageBox::Yes)
            return;
    }
    CbzSaveDir = QFileInfo(fileName).absolutePath();
    startBuild(fileName, pages);
}

// The remembered save folder, or before any is remembered the folder beside
// the book's own, so the first archive lands beside its pages rather than
// at the root of the disk.
QString Quirevale::suggestedArchiveName() const
{
    const QString source = ui.ImagesPath->text();
    QString saveDir = CbzSaveDir;
    if (saveDir.isEmpty())
        saveDir = isBookFile(source) ? QFileInfo(source).absolutePath()
                                     : QFileInfo(QDir(source).absolutePath()).absolutePath();
    if (CurrentBook.name().isEmpty())
        return saveDir;
    return QDir::toNativeSeparators(CurrentBook.targetIn(saveDir));
}

// Everything the build needs is taken here, on this thread: it never looks
// at a widget again.
void Quirevale::startBuild(const QString &fileName, const QVector<BuildPage> &pages)
{
    Preview->startFollowingBuild();
    CbzBuild *build = Builds->start(fileName, pages, Options->read().pages, comicInfoOfBook(),
                                    Preview->builtPictures(), BuildThreads);
    connect(build, &CbzBuild::pageWritten, this, &Quirevale::showBuiltPage);
    MakeCbzFuture = QtConcurrent::run(this, &Quirevale::MakeCbz, fileName);
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
