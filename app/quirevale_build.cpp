// The "Make CBZ" action of the main window: asking for the archive's name,
// the build on a thread of the global pool, the list following it page by
// page, cancelling it, and the report at its end.

#include "app/pagerow.h"
#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
#include "cbz/cbzbuild.h"
#include "pages/pagesource.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QtConcurrent>

void Quirevale::on_MakeCBZ_clicked()
{
    const QVector<BuildPage> pages = checkedPages();
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

// The remembered save folder and the images folder's name; before any save
// folder is remembered, the images folder's parent, so the first archive
// lands beside its pages rather than at the root of the disk.
QString Quirevale::suggestedArchiveName() const
{
    const QString source = ui.ImagesPath->text();
    const QDir images(source);
    const bool archive = isBookFile(source);
    const QString folderName = archive ? bookNameOf(source) : images.dirName();
    QString saveDir = CbzSaveDir;
    if (saveDir.isEmpty())
        saveDir = archive ? QFileInfo(source).absolutePath()
                          : QFileInfo(images.absolutePath()).absolutePath();
    if (folderName.isEmpty())
        return saveDir;
    // One substitution for all three, so a '%' in a folder name stays text.
    const QString suggested =
        QStringLiteral("%1%2%3.cbz").arg(saveDir, QString(QDir::separator()), folderName);
    // A repacked archive is not offered its own source's place.
    if (archive && QFileInfo(suggested).absoluteFilePath() == QFileInfo(source).absoluteFilePath())
        return QStringLiteral("%1%2%3 (1).cbz")
            .arg(saveDir, QString(QDir::separator()), folderName);
    return suggested;
}

QVector<BuildPage> Quirevale::checkedPages() const
{
    QVector<BuildPage> pages;
    QString chapter;
    for (int row = 0; row < ui.ImagesList->count(); ++row) {
        const QListWidgetItem *item = ui.ImagesList->item(row);
        if (item->checkState() != Qt::Checked)
            continue;
        // The first page of a chapter in the book marks it in ComicInfo.xml.
        const QString itsChapter = item->data(PageRow::ChapterRole).toString();
        pages.append({row, PageRow::locationOf(item), PageRow::treatmentOf(item),
                      itsChapter != chapter ? itsChapter : QString()});
        chapter = itsChapter;
    }
    return pages;
}

// Everything the build needs is taken here, on this thread: it never looks
// at a widget again.
void Quirevale::startBuild(const QString &fileName, const QVector<BuildPage> &pages)
{
    Build = std::make_unique<CbzBuild>(fileName, pages, readPageOptions());
    // The user said yes to replacing what was there when asked; a file that
    // appears after that is not replaced.
    Build->setReplaceExisting(QFileInfo::exists(fileName));
    BuiltPagePictures.setBounds(ui.ImageArea->size() * ui.ImageArea->devicePixelRatioF());
    Build->setPictureObserver(&BuiltPagePictures);
    Build->setThreadCount(BuildThreads);
    Build->setComicInfo(comicInfoOfFolder());
    connect(Build.get(), &CbzBuild::pageWritten, this, &Quirevale::showBuiltPage);

    setBuildControlsEnabled(false);
    ui.MakeCBZProgressBar->setRange(0, ui.ImagesList->count());
    TaskbarProgress->setRange(0, ui.ImagesList->count());
    TaskbarProgress->show();
    ui.CancelBuild->show();

    Building = true;
    MakeCbzFuture = QtConcurrent::run(this, &Quirevale::MakeCbz, fileName);
    MakeCbzWatcher.setFuture(MakeCbzFuture);
}

// Runs on a pool thread; the build touches no widget.
bool Quirevale::MakeCbz(QString fileName)
{
    Q_ASSERT(Build && Build->fileName() == fileName);
    return Build->run() == CbzBuild::Done;
}

// The list, the preview and the progress follow the build: the page the
// build decoded is shown as it is, without reading its file again.
void Quirevale::showBuiltPage(int row)
{
    FollowingBuild = true;
    SelectImageItem(unsigned(row));
    FollowingBuild = false;
    // Null when a later page's picture has overtaken it: that one comes next.
    QSize pageSize;
    const QImage picture = BuiltPagePictures.take(row, &pageSize);
    if (!picture.isNull())
        showPage(picture, {pageSize, {}, {}, {}});
}

void Quirevale::on_CancelBuild_clicked()
{
    if (Build)
        Build->cancel();
}

void Quirevale::MakeCbzFinished()
{
    if (CloseQuestionOpen) {
        BuildEndedDuringQuestion = true;
        return;
    }
    if (reportBuild())
        close();
}

// True when the window is to close now that the build has ended.
bool Quirevale::reportBuild()
{
    TaskbarProgress->hide();
    ui.CancelBuild->hide();
    const CbzBuild::Result result = Build->result();
    const QString reason = Build->errorString();
    // A close asked for during the build happens now; a failure is still
    // reported, a success or a cancel needs no words.
    const bool closing = CloseWhenBuilt;
    CloseWhenBuilt = false;
    if (result == CbzBuild::Done) {
        ui.MakeCBZProgressBar->setValue(ui.MakeCBZProgressBar->maximum());
        if (!closing)
            reportSuccess(Build->fileName());
    } else if (result == CbzBuild::Failed) {
        QMessageBox box(QMessageBox::Warning, tr("Error"), tr("Unable to create CBZ file!"),
                        QMessageBox::Ok, this);
        box.setInformativeText(reason);
        box.exec();
    }

    ui.MakeCBZProgressBar->setValue(0);
    TaskbarProgress->setValue(0);
    ui.ImagesList->setCurrentRow(0);
    setBuildControlsEnabled(true);
    Building = false;
    return closing;
}

// The report keeps its words and gains a way to the new archive.
void Quirevale::reportSuccess(const QString &fileName)
{
    QMessageBox box(QMessageBox::Information, tr("Advise"), tr("File successfull created!"),
                    QMessageBox::Ok, this);
    const QVector<CbzBuild::PageNote> notes = Build->pageNotes();
    if (!notes.isEmpty()) {
        box.setInformativeText(tr("Some pages were made differently; the details say how."));
        QStringList lines;
        for (const CbzBuild::PageNote &note : notes) {
            const QListWidgetItem *item = ui.ImagesList->item(note.row);
            lines << QStringLiteral("%1: %2").arg(item ? item->text() : QString(), note.text);
        }
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    }
    QPushButton *open = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() != open)
        return;
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        QMessageBox::warning(this, tr("Warning"),
                             tr("No file manager answered. The archive is in %1.")
                                 .arg(QDir::toNativeSeparators(folder)));
}

PageOptions Quirevale::readPageOptions() const
{
    PageOptions options;
    options.ImageQuality = ui.ImageQuality->value();
    options.KeepUnchangedJpeg = ui.ImageKeepJpeg->isChecked();
    options.StorePages = ui.ImageStorePages->isChecked();
    options.LosslessCuts = ui.ImageLosslessCuts->isChecked();
    options.PageFormat =
        ui.ImageFormat->currentIndex() == 1 ? PageOptions::WebpPages : PageOptions::JpegPages;
    options.GreyAuto = ui.ImageGreyAuto->isChecked();
    options.GreyAll = ui.ImageGreyAll->isChecked();
    options.ImageResize = ui.ImageResize->isChecked();
    options.ResizeImageWidth = ui.ResizeImageWidth->value();
    options.ResizeImageHeight = ui.ResizeImageHeight->value();
    options.ImageResizeFit = ui.ImageResizeMode->currentIndex() == 1;
    options.ImageResizeSmooth = ui.ImageResizeSmooth->isChecked();
    options.ImageCutOnlyWide = ui.ImageCutOnlyWide->isChecked();
    options.ImageTrimMargins = ui.ImageTrimMargins->isChecked();
    options.ImageTrimTolerance = ui.ImageTrimTolerance->value();
    options.ImageCutDoublePages = ui.ImageCutDoublePages->isChecked();
    options.ImageCutPointNumber = ui.ImageCutPointNumber->value();
    options.ImageCutFirstPageRight = ui.ImageCutFirstPageRight->isChecked();
    options.ImageCutBorder = ui.ImageCutBorder->isChecked();
    options.ImageCutBorderNumber = ui.ImageCutBorderNumber->value();
    return options;
}

void Quirevale::setBuildControlsEnabled(bool enabled)
{
    ui.actionOpenFolder->setEnabled(enabled);
    ui.actionOpenArchive->setEnabled(enabled);
    ui.actionMakeCbz->setEnabled(enabled && ui.ImagesList->count() > 0);
    if (!enabled) {
        ui.OptionsFrame->setEnabled(false);
        ui.ImageSplitterFrame->setEnabled(false);
        ui.ImagesPathFrame->setEnabled(false);
        ui.MakeCBZFrame->setEnabled(false);
    } else {
        ui.OptionsFrame->setEnabled(true);
        ui.ImagesPathFrame->setEnabled(true);
        ui.ImageSplitterFrame->setEnabled(true);
        ui.MakeCBZFrame->setEnabled(true);
    }
}

// A close during a build asks first: the user may want the archive.
void Quirevale::closeEvent(QCloseEvent *event)
{
    if (!Building) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (CloseWhenBuilt)
        return; // asked already; the build is stopping
    QMessageBox question(QMessageBox::Question, tr("Close"),
                         tr("A CBZ file is being made. Stop it and close the window?"),
                         QMessageBox::NoButton, this);
    QPushButton *stop = question.addButton(tr("Stop and Close"), QMessageBox::DestructiveRole);
    QPushButton *keep = question.addButton(tr("Keep Building"), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    CloseQuestionOpen = true;
    question.exec();
    CloseQuestionOpen = false;
    const bool stopAndClose = question.clickedButton() == stop;
    if (stopAndClose) {
        CloseWhenBuilt = true;
        Build->cancel(); // too late when the archive is being put in place
    }
    // Ended while the question was open: this very close goes ahead (a
    // close() from inside it would be ignored).
    if (BuildEndedDuringQuestion) {
        BuildEndedDuringQuestion = false;
        if (reportBuild())
            event->accept();
    }
}

// Should the window go while a build still runs (the application quitting
// by other means), the build is stopped and waited for: it needs nothing
// from this thread, so the wait is short.
void Quirevale::finishBuildBeforeDestruction()
{
    if (!MakeCbzFuture.isRunning())
        return;
    MakeCbzWatcher.disconnect(this);
    Build->cancel();
    MakeCbzFuture.waitForFinished();
}
