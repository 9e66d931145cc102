// The page list of the main window: choosing a folder, keeping the preview
// in step with the current row, moving rows, and selecting rows for the build.

#include "app/pagerow.h"
#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
#include "cbz/comicinfo.h"
#include "cbz/pagerecipe.h"
#include "pages/pagereader.h"
#include "pages/pagescan.h"
#include "pages/pagesource.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QListWidgetItem>
#include <QMenu>
#include <QMessageBox>
#include <QTransform>

void Quirevale::on_BrowsePath_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select images folder"), ImagesDir,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    openFolder(folder);
}

// Lists the pages of folder, as picked, dropped or named on the command line.
void Quirevale::openFolder(const QString &folder, PictureTypes types, bool chapters)
{
    if (!forgetTreatmentsFirst())
        return;
    ListedTypes = ui.actionListEveryType->isChecked() ? EveryPictureType : types;
    ListedChapters = chapters && QFileInfo(folder).isDir();
    // An archive that cannot be read leaves the list as it is.
    const PageListing scanned =
        ListedChapters ? scanChapters(folder, ListedTypes) : scanPageSource(folder, ListedTypes);
    if (!scanned.error.isEmpty()) {
        QMessageBox::warning(
            this, tr("Warning"),
            tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(folder), scanned.error));
        return;
    }
    // Remembered before the list is filled, so a folder without images is
    // remembered too.
    ImagesDir = folder;
    const int count = fillImagesList(scanned);
    showListed(count, folder);
    if (count == 0 && ui.NoticeFrame->isHidden()) {
        QMessageBox::warning(
            this, tr("Warning"),
            QStringLiteral("%1! (%2)")
                .arg(tr("No image file found"), pageFileTypeList(QStringLiteral(","))));
    }
}

// The controls follow the list just filled from source: usable when it
// holds pages, which start at the first.
void Quirevale::showListed(int count, const QString &source)
{
    ui.OptionsFrame->setEnabled(count != 0);
    ui.MakeCBZFrame->setEnabled(count != 0);
    ui.actionMakeCbz->setEnabled(count != 0);
    if (count != 0) {
        ui.ImagesPath->setText(source);
        ui.ImagesList->setCurrentRow(0);
    }
}

// Page files the list cannot hold are named in the strip above it, which
// stays until closed or until another folder is listed: nothing is left out
// without a word, and nothing has to be answered first.
void Quirevale::showFolderNotice(const PageListing &scanned, int listed)
{
    QStringList lines;
    const auto named = [](const QStringList &names) {
        return names.join(QStringLiteral(", "));
    };
    if (!scanned.unreadable.isEmpty()) {
        QStringList unreadable;
        for (const QString &name : scanned.unreadable)
            unreadable << QStringLiteral("%1 (%2)").arg(name, scanned.whyUnreadable(name));
        lines << tr("Page files that cannot be read are not listed: %1").arg(named(unreadable));
    }
    if (!scanned.unusableNames.isEmpty())
        lines << tr("Files whose names are not valid text cannot be used; rename them and "
                    "pick the folder again: %1")
                     .arg(named(scanned.unusableNames));
    if (!scanned.symlinks.isEmpty())
        lines << tr("Symbolic links are not listed: %1").arg(named(scanned.symlinks));
    if (listed == 0 && scanned.missesPages())
        lines << tr("None of the page files of this folder can be used.");
    if (!scanned.archives.isEmpty())
        lines << tr("Archives inside this one are not opened: %1").arg(named(scanned.archives));
    const QStringList lost = comicInfoLeftOut(scanned);
    if (!lost.isEmpty())
        lines << tr("Not kept of its ComicInfo.xml: %1").arg(lost.join(QStringLiteral("; ")));
    const bool others = !scanned.otherPictures.isEmpty();
    if (others)
        lines << tr("Files of other picture types, not listed: %1 (%2).")
                     .arg(scanned.otherPictures.size())
                     .arg(pictureTypesOf(scanned.otherPictures).join(QStringLiteral(", ")));
    ui.NoticeAction->setVisible(others);
    if (!scanned.emptyChapters.isEmpty())
        lines << tr("Sub-folders without pages are left out: %1").arg(named(scanned.emptyChapters));
    // A folder whose pages sit in sub-folders is offered as one book.
    const int chapters =
        ListedChapters || !QFileInfo(ImagesDir).isDir() ? 0 : chapterCount(ImagesDir, ListedTypes);
    if (chapters > 0) {
        lines << tr("%1 of its sub-folders hold pages.").arg(chapters);
        ui.NoticeChapters->setText(
            tr("List the pages of its %1 sub-folders as chapters").arg(chapters));
    }
    ui.NoticeChapters->setVisible(chapters > 0);
    ui.NoticeText->setText(lines.join(QLatin1Char('\n')));
    ui.NoticeFrame->setVisible(!lines.isEmpty());
}

// The folder listed again, pictures of every type among its pages.
void Quirevale::on_NoticeAction_clicked()
{
    openFolder(ImagesDir, EveryPictureType, ListedChapters);
}

// The folder listed again as one book, its sub-folders its chapters.
void Quirevale::on_NoticeChapters_clicked()
{
    openFolder(ImagesDir, ListedTypes, true);
}

void Quirevale::on_actionListEveryType_triggered()
{
    if (!ui.ImagesPath->text().isEmpty() && ui.ImagesPath->text() == ImagesDir)
        openFolder(ImagesDir);
}

void Quirevale::on_NoticeClose_clicked()
{
    ui.NoticeFrame->hide();
}

int Quirevale::LoadImagesList(QString folder)
{
    return fillImagesList(scanPageSource(folder, ListedTypes));
}

int Quirevale::fillImagesList(const PageListing &scanned)
{
    PagePreviews.clear();
    ui.ImagesList->clear();
    SourceComicInfo = scanned.comicInfo;
    const QVector<ListedPage> &files = scanned.pages;
    for (const ListedPage &file : files) {
        auto *row = new PageRow(file.name, file.location);
        if (!file.chapter.isEmpty())
            row->setData(PageRow::ChapterRole, file.chapter);
        ui.ImagesList->addItem(row);
    }
    showFolderNotice(scanned, files.size());
    return files.size();
}

void Quirevale::on_ImagesList_currentItemChanged(QListWidgetItem *current, QListWidgetItem *)
{
    ReportedPage = PageLocation();
    if (!current) {
        CurrentPicture = QImage();
        CurrentFacts = PageFacts();
        ui.ImageArea->SetImage(QPixmap());
        ui.ImageArea->SetTrimRect(QRect());
        ui.ImageArea->setPlaceholderText(emptyPreviewText());
        ui.OriginalImageWidth->clear();
        ui.OriginalImageHeight->clear();
        return;
    }

    // The move buttons follow the row even when its page cannot be shown.
    updateMoveButtons();
    loadCurrentPage(PageRow::locationOf(current));
}

void Quirevale::updateMoveButtons()
{
    const int row = ui.ImagesList->currentRow();
    ui.MoveImageUp->setEnabled(row > 0);
    ui.MoveImageDown->setEnabled(row >= 0 && row < ui.ImagesList->count() - 1);
}

// The preview's size in device pixels: what its pictures are read to fit.
QSize Quirevale::previewBounds() const
{
    return (QSizeF(ui.ImageArea->size()) * ui.ImageArea->devicePixelRatioF()).toSize();
}

// Asks for the page of path, read away from this thread, and for its
// neighbours after it; showPreviewPicture() shows it when it is ready.
void Quirevale::loadCurrentPage(const PageLocation &path)
{
    if (FollowingBuild)
        return;
    if (!PagePreviews.bounds().isValid())
        PagePreviews.setBounds(previewBounds());
    const int row = ui.ImagesList->currentRow();
    QVector<PageLocation> neighbours;
    for (int step : {1, -1, 2}) {
        if (QListWidgetItem *item = ui.ImagesList->item(row + step))
            neighbours << PageRow::locationOf(item);
    }
    PagePreviews.show(path, neighbours);
}

// A page that cannot be used is reported with its reason and leaves the
// previous one on show. Only the current row's page gets here.
void Quirevale::showPreviewPicture(const PageLocation &path, const PagePicture &picture)
{
    const QListWidgetItem *current = ui.ImagesList->currentItem();
    if (FollowingBuild || !current || PageRow::locationOf(current) != path)
        return;
    if (!picture.isValid()) {
        // Read again for a grown preview, the page fails again: once said
        // for the row is enough.
        if (ReportedPage == path)
            return;
        ReportedPage = path;
        QMessageBox box(QMessageBox::Warning, tr("Warning"),
                        QStringLiteral("%1 '%2'").arg(tr("Unable to load image"), path.shownPath()),
                        QMessageBox::Ok, this);
        box.setInformativeText(picture.error);
        box.exec();
        return;
    }
    showPage(picture.picture, picture.facts());
}

// picture may be reduced from the page's own size. It is shown as it will
// be made: turned, with the cut, border and trim that apply to it.
void Quirevale::showPage(const QImage &picture, const PageFacts &facts)
{
    CurrentPicture = picture;
    CurrentFacts = facts;
    ui.OriginalImageWidth->setText(QString::number(facts.size.width()));
    ui.OriginalImageHeight->setText(QString::number(facts.size.height()));
    updatePreviewTreatment();
}

// The book's options and the current page's own treatment, drawn as the
// build will make the page.
void Quirevale::updatePreviewTreatment()
{
    const PageOptions options = readPageOptions();
    const PageRecipe recipe(CurrentFacts, options,
                            PageRow::treatmentOf(ui.ImagesList->currentItem()));
    const PagePlan &plan = recipe.plan();
    if (!CurrentPicture.isNull()) {
        // In grey when it will be written so.
        const QImage turned = inGreyIfAsked(recipe.turned(CurrentPicture), options);
        ui.ImageArea->SetImage(QPixmap::fromImage(turned), plan.turnedSize);
        ui.ImageArea->SetTrimRect(recipe.needsPixels() ? recipe.trimmedRect(turned) : QRect());
    }
    ui.ImageArea->SetKeptRegions(recipe.route() == PageRecipe::CutOnBlocks ? recipe.regions()
                                                                           : QList<QRect>());
    const bool known = CurrentFacts.size.isValid();
    ui.ImageArea->SetCutDoublePages(known ? plan.cut : options.ImageCutDoublePages);
    ui.ImageArea->SetCutBorder(known ? plan.border > 0 : options.ImageCutBorder);
    ui.ImageArea->SetCutBorderSize(known && plan.border > 0 ? plan.border
                                                            : options.ImageCutBorderNumber);
}

// The per-page actions: keys that work anywhere in the window, and the
// list's context menu.
void Quirevale::makePageActions()
{
    const auto action = [this](QAction **made, const QKeySequence &keys,
                               const std::function<void(PageTreatment &)> &change) {
        *made = new QAction(this);
        (*made)->setShortcut(keys);
        (*made)->setShortcutContext(Qt::WindowShortcut);
        addAction(*made);
        connect(*made, &QAction::triggered, this, [this, change] { treatCurrentPage(change); });
    };
    action(&PageTurnRight, QKeySequence(Qt::CTRL | Qt::Key_R),
           [](PageTreatment &own) { own.turn(1); });
    action(&PageTurnLeft, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
           [](PageTreatment &own) { own.turn(-1); });
    action(&PageCutAsBook, {}, [](PageTreatment &own) { own.cut = PageTreatment::CutAsBook; });
    action(&PageAlwaysCut, {}, [](PageTreatment &own) { own.cut = PageTreatment::AlwaysCut; });
    action(&PageNeverCut, {}, [](PageTreatment &own) { own.cut = PageTreatment::NeverCut; });
    action(&PageBorderAsBook, {},
           [](PageTreatment &own) { own.border = PageTreatment::BorderAsBook; });
    action(&PageNoBorder, {}, [](PageTreatment &own) { own.border = PageTreatment::NoBorder; });
    action(&PageOwnBorder, {}, [this](PageTreatment &own) {
        bool ok = false;
        const int pixels = QInputDialog::getInt(
            this, tr("Border of this page"), tr("Pixels to cut from every side:"),
            own.border == PageTreatment::OwnBorder ? own.borderPixels
                                                   : ui.ImageCutBorderNumber->value(),
            PageOptions::BorderPixels.minimum, PageOptions::BorderPixels.maximum, 1, &ok);
        if (ok) {
            own.border = PageTreatment::OwnBorder;
            own.borderPixels = pixels;
        }
    });
    action(&PageReset, QKeySequence(Qt::CTRL | Qt::Key_Backspace),
           [](PageTreatment &own) { own = PageTreatment(); });
    for (QAction *choice : {PageCutAsBook, PageAlwaysCut, PageNeverCut, PageBorderAsBook,
                            PageNoBorder, PageOwnBorder})
        choice->setCheckable(true);
    describePageActions();
}

void Quirevale::describePageActions()
{
    if (!PageTurnRight)
        return;
    PageTurnRight->setText(tr("Turn Right"));
    PageTurnLeft->setText(tr("Turn Left"));
    PageCutAsBook->setText(tr("Cut as the Book"));
    PageAlwaysCut->setText(tr("Always Cut"));
    PageNeverCut->setText(tr("Never Cut"));
    PageBorderAsBook->setText(tr("Border as the Book"));
    PageNoBorder->setText(tr("No Border"));
    PageOwnBorder->setText(tr("Own Border…"));
    PageReset->setText(tr("Reset Page"));
}

void Quirevale::on_ImagesList_customContextMenuRequested(const QPoint &at)
{
    QListWidgetItem *row = ui.ImagesList->itemAt(at);
    if (!row || Building)
        return;
    ui.ImagesList->setCurrentItem(row);
    const PageTreatment own = PageRow::treatmentOf(row);
    PageCutAsBook->setChecked(own.cut == PageTreatment::CutAsBook);
    PageAlwaysCut->setChecked(own.cut == PageTreatment::AlwaysCut);
    PageNeverCut->setChecked(own.cut == PageTreatment::NeverCut);
    PageBorderAsBook->setChecked(own.border == PageTreatment::BorderAsBook);
    PageNoBorder->setChecked(own.border == PageTreatment::NoBorder);
    PageOwnBorder->setChecked(own.border == PageTreatment::OwnBorder);
    PageReset->setEnabled(!own.isDefault());
    QMenu menu(this);
    menu.addActions({PageTurnRight, PageTurnLeft});
    menu.addSeparator();
    menu.addActions({PageCutAsBook, PageAlwaysCut, PageNeverCut});
    menu.addSeparator();
    menu.addActions({PageBorderAsBook, PageNoBorder, PageOwnBorder});
    menu.addSeparator();
    menu.addAction(PageReset);
    menu.exec(ui.ImagesList->viewport()->mapToGlobal(at));
    PageReset->setEnabled(true);
}

void Quirevale::treatCurrentPage(const std::function<void(PageTreatment &)> &change)
{
    QListWidgetItem *row = ui.ImagesList->currentItem();
    if (!row || Building)
        return;
    PageTreatment own = PageRow::treatmentOf(row);
    change(own);
    PageRow::setTreatment(row, own);
    updatePreviewTreatment();
}

// Another folder's list would drop what the pages were given here: ask.
bool Quirevale::forgetTreatmentsFirst()
{
    bool any = false;
    for (int row = 0; !any && row < ui.ImagesList->count(); ++row)
        any = !PageRow::treatmentOf(ui.ImagesList->item(row)).isDefault();
    return !any ||
           QMessageBox::question(this, tr("Warning"),
                                 tr("Some pages have a turn, a cut or a border of their own. "
                                    "Forget them and list the other folder?")) == QMessageBox::Yes;
}

void Quirevale::on_MoveImageUp_clicked()
{
    moveCurrentRow(-1);
}

void Quirevale::on_MoveImageDown_clicked()
{
    moveCurrentRow(+1);
}

// The buttons' enabled state keeps the step inside the list. Taking the row
// out makes a neighbour current for a moment, so the handler runs for it
// before it runs for the moved row.
void Quirevale::moveCurrentRow(int step)
{
    const int from = ui.ImagesList->currentRow();
    QListWidgetItem *row = ui.ImagesList->takeItem(from);
    if (row)
        ui.ImagesList->insertItem(from + step, row);
    ui.ImagesList->setCurrentRow(from + step);
}

void Quirevale::SelectImageItem(unsigned int i)
{
    const int row = int(i);
    ui.ImagesList->setCurrentRow(row);
    ui.MakeCBZProgressBar->setValue(row + 1);
    TaskbarProgress->setValue(row + 1);
}
