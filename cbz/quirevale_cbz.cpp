// The "Make CBZ" action of the main window: asking for the archive's name,
// the build on a thread of the global pool, and the report at its end.

#include "cbzwriter.h"
#include "pagetransform.h"
#include "quirevale.h"
#include "shelltaskbarprogress.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QtConcurrent>

void Quirevale::on_MakeCBZ_clicked()
{
    const QString folderName = QDir(ui.ImagesPath->text()).dirName();
    // One substitution for all three, so a '%' in a folder name stays text.
    const QString suggestion =
        folderName.isEmpty()
            ? CbzSaveDir
            : QStringLiteral("%1%2%3.cbz").arg(CbzSaveDir, QString(QDir::separator()), folderName);
    const QString fileName =
        QFileDialog::getSaveFileName(this, tr("Create CBZ"), suggestion, QStringLiteral("*.cbz"));
    if (fileName.isEmpty())
        return;
    CbzSaveDir = QFileInfo(fileName).absolutePath();

    setBuildControlsEnabled(false);
    ui.MakeCBZProgressBar->setRange(0, ui.ImagesList->count());
    TaskbarProgress->setRange(0, ui.ImagesList->count());
    TaskbarProgress->show();

    Building = true;
    MakeCbzFuture = QtConcurrent::run(this, &Quirevale::MakeCbz, fileName);
    MakeCbzWatcher.setFuture(MakeCbzFuture);
}

// Runs on a pool thread. The controls it reads sit in containers that stay
// disabled for the whole build, so they cannot change under it.
bool Quirevale::MakeCbz(QString fileName)
{
    CbzWriter archive;
    if (!archive.open(fileName))
        return false;

    const PageOptions options = readPageOptions();
    for (int row = 0; row < ui.ImagesList->count(); ++row) {
        if (ui.ImagesList->item(row)->checkState() != Qt::Checked)
            continue;

        // The GUI thread makes the row current, which loads its page into the
        // preview; this thread waits until that is done.
        QMetaObject::invokeMethod(this, "SelectImageItem", Qt::BlockingQueuedConnection,
                                  Q_ARG(unsigned int, unsigned(row)));
        // A page that did not load leaves the previous one in the preview:
        // writing that would silently double a page.
        if (!CurrentPageLoaded)
            return false;
        const QImage image = ui.ImageArea->GetImage().toImage();
        if (image.isNull())
            return false;

        for (const QByteArray &page : TransformPage(image, options)) {
            if (!archive.addPage(page))
                return false;
        }
    }
    return archive.commit();
}

void Quirevale::MakeCbzFinished()
{
    TaskbarProgress->hide();
    const bool created = MakeCbzFuture.result();
    // A close asked for during the build happens now; a failure is still
    // reported, a success needs no words.
    const bool closing = CloseWhenBuilt;
    CloseWhenBuilt = false;
    if (created) {
        ui.MakeCBZProgressBar->setValue(ui.MakeCBZProgressBar->maximum());
        if (!closing)
            QMessageBox::information(this, tr("Advise"), tr("File successfull created!"));
    } else {
        QMessageBox::warning(this, tr("Error"), tr("Unable to create CBZ file!"));
    }

    ui.MakeCBZProgressBar->setValue(0);
    TaskbarProgress->setValue(0);
    ui.ImagesList->setCurrentRow(0);
    setBuildControlsEnabled(true);
    Building = false;
    if (closing)
        close();
}

PageOptions Quirevale::readPageOptions() const
{
    PageOptions options;
    options.ImageQuality = ui.ImageQuality->value();
    options.ImageResize = ui.ImageResize->isChecked();
    options.ResizeImageWidth = ui.ResizeImageWidth->value();
    options.ResizeImageHeight = ui.ResizeImageHeight->value();
    options.ImageCutDoublePages = ui.ImageCutDoublePages->isChecked();
    options.ImageCutPointNumber = ui.ImageCutPointNumber->value();
    options.ImageCutFirstPageRight = ui.ImageCutFirstPageRight->isChecked();
    options.ImageCutBorder = ui.ImageCutBorder->isChecked();
    options.ImageCutBorderNumber = ui.ImageCutBorderNumber->value();
    return options;
}

void Quirevale::setBuildControlsEnabled(bool enabled)
{
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

// The build uses the window's widgets until it ends, so the window must
// outlive it. A close asked for meanwhile is put off until the build is done.
void Quirevale::closeEvent(QCloseEvent *event)
{
    if (Building) {
        CloseWhenBuilt = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// Should the window go while a build still runs (the application quitting
// by other means), let the build finish first. Events are processed while
// waiting: the build may be waiting for this thread to select a row.
void Quirevale::finishBuildBeforeDestruction()
{
    if (!MakeCbzFuture.isRunning())
        return;
    MakeCbzWatcher.disconnect(this);
    while (MakeCbzFuture.isRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}
