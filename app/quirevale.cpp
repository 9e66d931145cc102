#include "app/quirevale.h"

#include "app/pagerow.h"
#include "app/pagerowdelegate.h"
#include "app/shelltaskbarprogress.h"
#include "app/storedoptions.h"
#include "cbz/cbzbuild.h"
#include "dialogs/about.h"
#include "dialogs/comicinfodialog.h"
#include "dialogs/donations.h"
#include "pages/pagescan.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

namespace {
const char *const Version = "1.5";
const int EnglishLanguage = QLocale::English; // 31
const int ItalianLanguage = QLocale::Italian; // 58
} // namespace

Quirevale::Quirevale(QWidget *parent)
    : QMainWindow(parent)
    , Translator(this)
    , TaskbarButton(this)
{
    ui.setupUi(this);
    applyOptionRanges();
    fillScreenSizes();
    fitOptionColumn();
    // Shown only while a build runs.
    ui.CancelBuild->hide();
    ui.NoticeFrame->hide();
    ui.actionMakeCbz->setEnabled(false);
    setShortcuts();
    connect(&PagePreviews, &PreviewLoader::pictureReady, this, &Quirevale::showPreviewPicture);
    // A preview grown past the size its picture was read for reads it again,
    // once the resizing has settled.
    PreviewResized = new QTimer(this);
    PreviewResized->setSingleShot(true);
    PreviewResized->setInterval(150);
    connect(PreviewResized, &QTimer::timeout, this, [this] {
        const QSize bounds = previewBounds();
        if (bounds.width() <= PagePreviews.bounds().width() &&
            bounds.height() <= PagePreviews.bounds().height())
            return;
        PagePreviews.setBounds(bounds);
        if (QListWidgetItem *current = ui.ImagesList->currentItem())
            loadCurrentPage(PageRow::locationOf(current));
    });
    ui.ImageArea->installEventFilter(this);
    setAcceptDrops(true);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Quirevale/Quirevale.ico")));
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrelind"));
    QCoreApplication::setApplicationName(QStringLiteral("Quirevale"));

    setWindowTitle(QStringLiteral("%1  v%2").arg(windowTitle()).arg(QLatin1String(Version)));

    // Relative weights: the preview side takes nearly all of the width.
    ui.ImageSplitterFrame->setSizes({ui.ImagesList->minimumWidth(), 2000});

    connect(ui.actionEnglish, &QAction::triggered, &LanguageMapper,
            qOverload<>(&QSignalMapper::map));
    LanguageMapper.setMapping(ui.actionEnglish, EnglishLanguage);
    connect(ui.actionItaliano, &QAction::triggered, &LanguageMapper,
            qOverload<>(&QSignalMapper::map));
    LanguageMapper.setMapping(ui.actionItaliano, ItalianLanguage);
    connect(&LanguageMapper, &QSignalMapper::mappedInt, this, &Quirevale::SetTranslationLanguage);

    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("MainWindowGeometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("MainWindowState")).toByteArray(), 0);
    ui.ImageSplitterFrame->restoreState(
        settings.value(QStringLiteral("PanelsSplitter")).toByteArray());
    CbzSaveDir = settings.value(QStringLiteral("LastCbzSaveDir")).toString();
    ImagesDir = settings.value(QStringLiteral("LastImagesDir")).toString();
    ui.actionListEveryType->setChecked(
        settings.value(QStringLiteral("ListEveryPictureType"), false).toBool());
    PdfPages::setResolution(
        settings.value(QStringLiteral("PdfResolution"), PdfPages::DefaultResolution).toInt());
    SetTranslationLanguage(
        settings.value(QStringLiteral("Language"), int(QLocale::system().language())).toInt());
    applyPageOptions(loadPageOptions(settings));
    WriteComicInfo = settings.value(QStringLiteral("Options/WriteComicInfo")).toString() ==
                     QLatin1String("true");

    ui.ImageArea->setPlaceholderText(emptyPreviewText());
    TaskbarProgress = TaskbarButton.progress();
    connect(&MakeCbzWatcher, &QFutureWatcher<bool>::finished, this, &Quirevale::MakeCbzFinished);
}

Quirevale::~Quirevale()
{
    finishBuildBeforeDestruction();

    QSettings settings;
    settings.setValue(QStringLiteral("PanelsSplitter"), ui.ImageSplitterFrame->saveState());
    settings.setValue(QStringLiteral("MainWindowGeometry"), saveGeometry());
    settings.setValue(QStringLiteral("MainWindowState"), saveState(0));
    settings.setValue(QStringLiteral("LastCbzSaveDir"), CbzSaveDir);
    settings.setValue(QStringLiteral("LastImagesDir"), ImagesDir);
    settings.setValue(QStringLiteral("ListEveryPictureType"), ui.actionListEveryType->isChecked());
    settings.setValue(QStringLiteral("PdfResolution"), PdfPages::resolution());
    savePageOptions(settings, readPageOptions());
    settings.setValue(QStringLiteral("Options/WriteComicInfo"), WriteComicInfo);
}

void Quirevale::showEvent(QShowEvent *event)
{
    // The native window may be new after every show, so bind again each time.
    TaskbarButton.setWindow(windowHandle());
    QMainWindow::showEvent(event);
}

bool Quirevale::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.ImageArea && event->type() == QEvent::Resize)
        PreviewResized->start();
    return QMainWindow::eventFilter(watched, event);
}

void Quirevale::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi(this);
        fillScreenSizes();
        describeShortcuts();
        ui.ImageArea->setPlaceholderText(emptyPreviewText());
        fitOptionColumn();
    }
    QMainWindow::changeEvent(event);
}

// The option column's minimum height was chosen for small system fonts.
// Where the fonts (or a translation's longer words) need more, the column
// takes what its contents need, so that no control is squeezed and clipped,
// and scrolls where the window is lower than that: the window keeps its own
// size and fits a small screen.
void Quirevale::fitOptionColumn()
{
    ui.OptionsFrame->ensurePolished();
    const int needed = ui.OptionsFrame->layout()->minimumSize().height();
    if (needed > ui.OptionsFrame->minimumHeight())
        ui.OptionsFrame->setMinimumHeight(needed);
    ui.OptionsScroll->setFixedWidth(ui.OptionsFrame->maximumWidth() +
                                    ui.OptionsScroll->verticalScrollBar()->sizeHint().width());
    ui.OptionsScroll->setMinimumHeight(0);
}

// The controls show the options as if the user had set them: the enabling
// rule holds and the preview draws them.
void Quirevale::applyPageOptions(const PageOptions &options)
{
    ui.ImageQuality->setValue(options.ImageQuality);
    ui.ImageKeepJpeg->setChecked(options.KeepUnchangedJpeg);
    ui.ImageStorePages->setChecked(options.StorePages);
    ui.ImageLosslessCuts->setChecked(options.LosslessCuts);
    ui.ImageFormat->setCurrentIndex(options.PageFormat == PageOptions::WebpPages ? 1 : 0);
    ui.ImageGreyAuto->setChecked(options.GreyAuto);
    ui.ImageGreyAll->setChecked(options.GreyAll);
    ui.ResizeImageWidth->setValue(options.ResizeImageWidth);
    ui.ResizeImageHeight->setValue(options.ResizeImageHeight);
    ui.ImageResizeMode->setCurrentIndex(options.ImageResizeFit ? 1 : 0);
    ui.ImageResizeSmooth->setChecked(options.ImageResizeSmooth);
    (options.ImageResize ? ui.ImageResize : ui.ImageKeepOriginalSize)->setChecked(true);
    setResizeControlsEnabled(options.ImageResize);

    ui.ImageCutPointNumber->setValue(options.ImageCutPointNumber);
    (options.ImageCutFirstPageRight ? ui.ImageCutFirstPageRight : ui.ImageCutFirstPageLeft)
        ->setChecked(true);
    ui.ImageArea->SetFirstPageRight(options.ImageCutFirstPageRight);
    ui.ImageCutOnlyWide->setChecked(options.ImageCutOnlyWide);
    ui.ImageCutDoublePages->setChecked(options.ImageCutDoublePages);
    on_ImageCutDoublePages_clicked();

    ui.ImageCutBorderNumber->setValue(options.ImageCutBorderNumber);
    ui.ImageCutBorder->setChecked(options.ImageCutBorder);
    on_ImageCutBorder_clicked();
    ui.ImageTrimTolerance->setValue(options.ImageTrimTolerance);
    ui.ImageTrimMargins->setChecked(options.ImageTrimMargins);
    on_ImageTrimMargins_clicked();
}

// What each control may hold, as the engine says.
void Quirevale::applyOptionRanges()
{
    const auto range = [](auto *control, const OptionRange &option) {
        control->setRange(option.minimum, option.maximum);
    };
    range(ui.ImageQuality, PageOptions::Quality);
    range(ui.ResizeImageWidth, PageOptions::ResizeWidth);
    range(ui.ResizeImageHeight, PageOptions::ResizeHeight);
    range(ui.ImageCutPointSlide, PageOptions::CutPoint);
    range(ui.ImageCutPointNumber, PageOptions::CutPoint);
    range(ui.ImageCutBorderNumber, PageOptions::BorderPixels);
    range(ui.ImageTrimTolerance, PageOptions::TrimTolerance);
}

// Screens of common readers, portrait; the first entry names the list.
void Quirevale::fillScreenSizes()
{
    struct Screen
    {
        const char *name;
        int width, height;
    };
    static const Screen screens[] = {
        {"Kindle (2022), Kobo Clara", 1072, 1448},
        {"Kindle Paperwhite (2021)", 1236, 1648},
        {"Kindle Oasis, Kobo Libra", 1264, 1680},
        {"Kindle Scribe", 1860, 2480},
        {"Kobo Sage", 1440, 1920},
        {"iPad (10th gen.)", 1640, 2360},
        {"iPad Pro 12.9\"", 2048, 2732},
        {"Full HD tablet", 1200, 1920},
    };
    ui.ImageResizePreset->clear();
    ui.ImageResizePreset->addItem(tr("Screen size…"));
    for (const Screen &screen : screens)
        ui.ImageResizePreset->addItem(QStringLiteral("%1: %2 × %3")
                                          .arg(QLatin1String(screen.name))
                                          .arg(screen.width)
                                          .arg(screen.height),
                                      QSize(screen.width, screen.height));
}

void Quirevale::setResizeControlsEnabled(bool enabled)
{
    ui.ResizeImageWidth->setEnabled(enabled);
    ui.ResizeImageWidthLabel->setEnabled(enabled);
    ui.ResizeImageHeight->setEnabled(enabled);
    ui.ResizeImageHeightLabel->setEnabled(enabled);
    ui.ImageResizeMode->setEnabled(enabled);
    ui.ImageResizePreset->setEnabled(enabled);
    ui.ImageResizeSmooth->setEnabled(enabled);
}

// Each control's own shortcut acts only while the control is enabled, as a
// click would.
void Quirevale::setShortcuts()
{
    // The keypad's Enter too.
    auto *enter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this);
    connect(enter, &QShortcut::activated, ui.MakeCBZ, [this] {
        if (ui.MakeCBZ->isEnabled())
            ui.MakeCBZ->click();
    });
    // Rows can be dragged to a new place; the move buttons follow.
    ui.ImagesList->setContextMenuPolicy(Qt::CustomContextMenu);
    ui.ImagesList->setDragDropMode(QAbstractItemView::InternalMove);
    ui.ImagesList->setDefaultDropAction(Qt::MoveAction);
    ui.ImagesList->setTextElideMode(Qt::ElideMiddle);
    ui.ImagesList->setItemDelegate(new PageRowDelegate(ui.ImagesList));
    ui.ImagesList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.ImagesList->setResizeMode(QListView::Adjust); // rows follow the list's width
    connect(ui.ImagesList->model(), &QAbstractItemModel::rowsMoved, this,
            &Quirevale::updateMoveButtons);
    connect(ui.ImagesList->model(), &QAbstractItemModel::rowsInserted, this,
            &Quirevale::updateMoveButtons);
    describeShortcuts();
    makePageActions();
}

// A button's new text takes its shortcut away (it would be the text's
// mnemonic), so they are given again with every translation.
void Quirevale::describeShortcuts()
{
    ui.MoveImageUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    ui.MoveImageDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    ui.CancelBuild->setShortcut(QKeySequence(Qt::Key_Escape));

    const auto tip = [](QAbstractButton *button, const QString &what,
                        const QKeySequence &keys = QKeySequence()) {
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            what, (keys.isEmpty() ? button->shortcut() : keys).toString(QKeySequence::NativeText)));
    };
    // The File menu's actions carry these two keys; the buttons do the same.
    tip(ui.BrowsePath, tr("Pick the folder of pages"), ui.actionOpenFolder->shortcut());
    tip(ui.MakeCBZ, tr("Make the archive of the checked pages"), ui.actionMakeCbz->shortcut());
    tip(ui.MoveImageUp, tr("Move the current page up"));
    tip(ui.MoveImageDown, tr("Move the current page down"));
    tip(ui.CancelBuild, tr("Stop making the archive"));
    ui.ImagesList->setToolTip(
        tr("Space checks or unchecks the current page; drag a page to move it; %1 turns it; "
           "right-click for a cut or a border of its own.")
            .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)));
    describePageActions();
}

void Quirevale::openFromOutside(const QString &path)
{
    const QFileInfo info(path);
    if (Building || path.isEmpty())
        return;
    if (isBookFile(path)) {
        openFolder(info.absoluteFilePath());
        return;
    }
    openFolder(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    // A page named on its own becomes the current one.
    if (!info.isDir()) {
        for (int row = 0; row < ui.ImagesList->count(); ++row) {
            if (PageRow::locationOf(ui.ImagesList->item(row)) == PageLocation(info.absoluteFilePath()))
                ui.ImagesList->setCurrentRow(row);
        }
    }
}

void Quirevale::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!Building && !urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

// A folder, or a page file whose folder is meant; anything else leaves the
// list as it is and says why, once the drop is over (a box inside the drop
// would hold the other program's drag until answered).
void Quirevale::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (Building || urls.isEmpty() || !urls.first().isLocalFile())
        return;
    // Several folders or archives: perhaps the chapters of one book.
    QStringList sources;
    for (const QUrl &url : urls) {
        const QString dropped = url.toLocalFile();
        if (url.isLocalFile() && (QFileInfo(dropped).isDir() || isBookFile(dropped)))
            sources << dropped;
    }
    if (sources.size() > 1 && sources.size() == urls.size()) {
        event->acceptProposedAction();
        QTimer::singleShot(0, this, [this, sources] { offerChapters(sources); });
        return;
    }
    const QString path = urls.first().toLocalFile();
    const QFileInfo info(path);
    if (!info.isDir() && !isPageFileName(info.fileName()) && !isBookFile(path)) {
        event->ignore();
        QTimer::singleShot(0, this, [this, path] { refuseDrop(path); });
        return;
    }
    event->acceptProposedAction();
    // An archive may need a word (it cannot be read): after the drop.
    if (isBookFile(path))
        QTimer::singleShot(0, this, [this, path] { openFromOutside(path); });
    else
        openFromOutside(path);
}

void Quirevale::offerChapters(const QStringList &sources)
{
    if (Building ||
        QMessageBox::question(this, tr("Chapters"),
                              tr("List the pages of these %1 folders and archives as the "
                                 "chapters of one book, in the order of their names?")
                                  .arg(sources.size())) != QMessageBox::Yes)
        return;
    if (!forgetTreatmentsFirst())
        return;
    const PageListing book = scanSourcesAsChapters(sources, ListedTypes);
    if (!book.error.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("A chapter cannot be read: %1").arg(book.error));
        return;
    }
    // The book is named after the folder that holds its chapters.
    ImagesDir = QFileInfo(sources.first()).absolutePath();
    ListedChapters = true;
    const int count = fillImagesList(book);
    ui.OptionsFrame->setEnabled(count != 0);
    ui.MakeCBZFrame->setEnabled(count != 0);
    ui.actionMakeCbz->setEnabled(count != 0);
    if (count != 0) {
        ui.ImagesPath->setText(ImagesDir);
        ui.ImagesList->setCurrentRow(0);
    }
}

void Quirevale::refuseDrop(const QString &path)
{
    QMessageBox::warning(
        this, tr("Warning"),
        tr("%1 is neither a folder, a comic archive nor a page (%2). Drop a folder of pages, "
           "a comic archive, or one of its pages.")
            .arg(QDir::toNativeSeparators(path), pageFileTypeList(QStringLiteral(", "))));
}

QString Quirevale::emptyPreviewText() const
{
    return ui.ImagesList->count() == 0
               ? tr("Pick a folder of pages with File > Open Folder… (%1), or drop one here.")
                     .arg(ui.actionOpenFolder->shortcut().toString(QKeySequence::NativeText))
               : QString();
}

void Quirevale::on_actionOpenFolder_triggered()
{
    if (ui.ImagesPathFrame->isEnabled())
        on_BrowsePath_clicked();
}

void Quirevale::on_actionMakeCbz_triggered()
{
    if (ui.MakeCBZ->isEnabled() && ui.MakeCBZFrame->isEnabled())
        on_MakeCBZ_clicked();
}

void Quirevale::on_ImageResize_clicked()
{
    setResizeControlsEnabled(true);
}

void Quirevale::on_ImageKeepOriginalSize_clicked()
{
    setResizeControlsEnabled(false);
}

void Quirevale::on_ImageCutDoublePages_clicked()
{
    const bool on = ui.ImageCutDoublePages->isChecked();
    ui.ImageCutPointLabel->setEnabled(on);
    ui.ImageCutPointSlide->setEnabled(on);
    ui.ImageCutPointNumber->setEnabled(on);
    ui.ImageCutPageLabel->setEnabled(on);
    ui.ImageCutFirstPageLeft->setEnabled(on);
    ui.ImageCutFirstPageRight->setEnabled(on);
    ui.ImageCutOnlyWide->setEnabled(on);
    // The preview draws exactly what the number control shows right now.
    ui.ImageArea->SetCutPoint(ui.ImageCutPointNumber->value());
    updatePreviewTreatment();
}

void Quirevale::on_ImageCutOnlyWide_clicked()
{
    updatePreviewTreatment();
}

void Quirevale::on_ImageGreyAuto_clicked()
{
    updatePreviewTreatment();
}

void Quirevale::on_ImageGreyAll_clicked()
{
    updatePreviewTreatment();
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

void Quirevale::on_actionPdfResolution_triggered()
{
    bool ok = false;
    const int dotsPerInch = QInputDialog::getInt(
        this, tr("PDF Resolution"), tr("Dots per inch PDF pages are rendered at:"),
        PdfPages::resolution(), PdfPages::MinimumResolution, PdfPages::MaximumResolution, 10, &ok);
    if (!ok || dotsPerInch == PdfPages::resolution())
        return;
    PdfPages::setResolution(dotsPerInch);
    // The pages shown were rendered at the old resolution.
    PagePreviews.clear();
    if (QListWidgetItem *current = ui.ImagesList->currentItem())
        loadCurrentPage(PageRow::locationOf(current));
}

void Quirevale::on_ImageLosslessCuts_clicked()
{
    updatePreviewTreatment();
}

void Quirevale::on_ImageTrimMargins_clicked()
{
    const bool on = ui.ImageTrimMargins->isChecked();
    ui.ImageTrimToleranceLabel->setEnabled(on);
    ui.ImageTrimTolerance->setEnabled(on);
    updatePreviewTreatment();
}

void Quirevale::on_ImageTrimTolerance_valueChanged(int)
{
    updatePreviewTreatment();
}

void Quirevale::on_ImageResizeMode_currentIndexChanged(int)
{
    updatePreviewTreatment();
}

// A reader's screen sets the width and height; the first entry only names
// the list.
void Quirevale::on_ImageResizePreset_activated(int index)
{
    const QSize size = ui.ImageResizePreset->itemData(index).toSize();
    if (!size.isValid())
        return;
    ui.ResizeImageWidth->setValue(size.width());
    ui.ResizeImageHeight->setValue(size.height());
    ui.ImageResizePreset->setCurrentIndex(0);
}

void Quirevale::on_ImageCutBorder_clicked()
{
    const bool on = ui.ImageCutBorder->isChecked();
    ui.ImageBorderCutLabel->setEnabled(on);
    ui.ImageCutBorderNumber->setEnabled(on);
    updatePreviewTreatment();
}

// The slider and the spin box mirror each other; the echo stops after one
// round trip because neither reports a value it already holds.
void Quirevale::on_ImageCutPointSlide_valueChanged(int value)
{
    ui.ImageCutPointNumber->setValue(value);
    ui.ImageArea->SetCutPoint(value);
}

void Quirevale::on_ImageCutPointNumber_valueChanged(int value)
{
    ui.ImageCutPointSlide->setValue(value);
    ui.ImageArea->SetCutPoint(value);
}

void Quirevale::on_ImageCutBorderNumber_valueChanged(int)
{
    updatePreviewTreatment();
}

void Quirevale::on_ImageCutFirstPageLeft_clicked()
{
    ui.ImageArea->SetFirstPageRight(false);
}

void Quirevale::on_ImageCutFirstPageRight_clicked()
{
    ui.ImageArea->SetFirstPageRight(true);
}

// The book of the folder listed: what the user said of it this session, or
// what its name suggests.
ComicInfo Quirevale::comicInfoOfFolder() const
{
    const QString folder = ui.ImagesPath->text();
    // An archive's own ComicInfo.xml is carried over whole, asked for or not.
    const ComicInfo source = ComicInfo::fromXml(SourceComicInfo);
    if (ComicInfos.contains(folder)) {
        ComicInfo info = ComicInfos.value(folder);
        info.sourceXml = source.sourceXml;
        return info;
    }
    if (source.write)
        return source;
    ComicInfo info = ComicInfo::suggestedFor(bookNameOf(folder));
    info.write = WriteComicInfo;
    return info;
}

void Quirevale::on_actionComicInfo_triggered()
{
    ComicInfoDialog dialog(comicInfoOfFolder(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ComicInfo info = dialog.comicInfo();
    ComicInfos.insert(ui.ImagesPath->text(), info);
    WriteComicInfo = info.write;
}

void Quirevale::on_actionExit_triggered()
{
    close();
}

void Quirevale::on_actionDonations_triggered()
{
    Donations dialog(this);
    dialog.exec();
}

void Quirevale::on_actionAbout_triggered()
{
    About dialog(this, QLatin1String(Version));
    dialog.exec();
}

void Quirevale::SetTranslationLanguage(int LangID)
{
    QSettings settings;
    QString suffix;

    // Always start from the source texts; a catalogue is installed again
    // only once it has loaded.
    QCoreApplication::removeTranslator(&Translator);
    QCoreApplication::removeTranslator(&QtTranslator);
    if (LangID == ItalianLanguage)
        suffix = QStringLiteral("it");
    if (!suffix.isEmpty()) {
        if (Translator.load(QStringLiteral(":/Translations/quirevale_%1").arg(suffix)))
            QCoreApplication::installTranslator(&Translator);
        // Qt's own words: the file dialogs, OK and Cancel.
        if (QtTranslator.load(QStringLiteral("qtbase_%1").arg(suffix),
                              QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&QtTranslator);
    }

    ui.actionEnglish->setChecked(LangID == EnglishLanguage);
    ui.actionItaliano->setChecked(LangID == ItalianLanguage);
    settings.setValue(QStringLiteral("Language"), LangID);
}
