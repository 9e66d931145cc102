#include "app/quirevale.h"

#include "book/bookpreset.h"
#include "book/settingsfile.h"

#include "app/blankfinder.h"
#include "app/booksession.h"
#include "app/booksources.h"
#include "app/buildcontroller.h"
#include "app/optionspanel.h"
#include "app/pagelist.h"
#include "app/presetmenu.h"
#include "app/previewcontroller.h"
#include "app/queuedock.h"
#include "app/shelltaskbarprogress.h"
#include "book/optiontable.h"
#include "dialogs/about.h"
#include "dialogs/comicinfodialog.h"
#include "dialogs/donations.h"
#include "dialogs/userguide.h"
#include "pages/pagesource.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QResizeEvent>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QtConcurrent>

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
    // Named first: the parts read their settings as they are made.
    QCoreApplication::setOrganizationName(QLatin1String(BookPreset::Organization));
    QCoreApplication::setApplicationName(QLatin1String(BookPreset::Application));
    // Nothing reads the settings before they are known to be a file.
    if (!SettingsFile::guardUserSettings(QLatin1String(BookPreset::Organization),
                                         QLatin1String(BookPreset::Application)))
        QTimer::singleShot(0, this, [this] {
            QMessageBox::warning(this, tr("Warning"), SettingsFile::guardNotice());
        });
    ui.setupUi(this);
    TaskbarProgress = TaskbarButton.progress();
    OptionsPanel::Widgets column;
    column.column = ui.OptionsScroll;
    column.frame = ui.OptionsFrame;
    column.listEveryType = ui.actionListEveryType;
    column.cutPointSlide = ui.ImageCutPointSlide;
    column.qualityNumber = ui.ImageQualityNumber;
    column.formatWarning = ui.FormatWarning;
    column.screenSizes = ui.ImageResizePreset;
    Options = new OptionsPanel(column, this);
    Presets = new PresetMenu(
        {ui.menuPresets, ui.actionSavePreset, ui.actionDeletePreset, ui.actionResetOptions},
        Options, this);
    Pages = new PageList(ui.ImagesList, this);
    ui.actionUndo->setShortcuts(QKeySequence::Undo);
    // Both of the usual keys for Redo, wherever the platform binds only one;
    // a key listed twice would be ambiguous and do nothing.
    QList<QKeySequence> redo = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redo.contains(keys))
            redo << keys;
    ui.actionRedo->setShortcuts(redo);
    Pages->setEditActions(ui.actionUndo, ui.actionRedo);
    Preview = new PreviewController(ui.ImageArea, this);
    Session = new BookSession(Pages, this);
    BookSources::Widgets sources;
    sources.path = ui.ImagesPath;
    sources.openArchive = ui.actionOpenArchive;
    sources.listEveryType = ui.actionListEveryType;
    sources.notice = ui.NoticeFrame;
    sources.noticeText = ui.NoticeText;
    sources.noticeClose = ui.NoticeClose;
    sources.noticeAction = ui.NoticeAction;
    sources.noticeChapters = ui.NoticeChapters;
    sources.noticeBooks = ui.NoticeBooks;
    Sources = new BookSources(sources, Session, ImagesDir, this);
    Builds = new BuildController({ui.MakeCBZProgressBar, ui.CancelBuild, TaskbarProgress}, this);
    connect(Builds, &BuildController::leaveOutUnreadableChosen, this,
            [this](const QString &fileName) { startBuild(fileName, true); });
    Blanks = new BlankFinder(this);
    Queue = new QueueDock({ui.MakeCBZProgressBar, TaskbarProgress}, this);
    addDockWidget(Qt::RightDockWidgetArea, Queue);
    Queue->hide();
    ui.menuView->addSeparator();
    ui.menuView->addAction(Queue->toggleViewAction());
    connect(Queue, &QueueDock::addThisBookAsked, this, &Quirevale::addThisBook);
    connect(Queue, &QueueDock::runningChanged, this, &Quirevale::updateEnabled);
    // The queue's panel shows, and sets, what books added next are made
    // with, book on show or not.
    const auto showNext = [this] {
        Queue->setOptionsForNext(Options->read(), Presets->inUse());
    };
    connect(Options, &OptionsPanel::changed, Queue, showNext);
    connect(Presets, &PresetMenu::chosenChanged, Queue, showNext);
    connect(Queue, &QueueDock::presetChosenForNext, Presets, &PresetMenu::choose);
    connect(Queue, &QueueDock::kindChosenForNext, this, [this](PageOptions::Kind kind) {
        BookOptions options = Options->read();
        options.pages.BookKind = kind;
        Options->apply(options);
    });
    showNext();
    connect(Sources, &BookSources::severalDropped, this, &Quirevale::dropSeveral);
    connect(Sources, &BookSources::booksOffered, this, &Quirevale::addToQueue);
    connect(Options, &OptionsPanel::changed, this, &Quirevale::updatePreview);
    connect(Options, &OptionsPanel::changed, this, &Quirevale::nameWhatIsMade);
    connect(Options, &OptionsPanel::changed, this, &Quirevale::followScanOptions);
    connect(Blanks, &BlankFinder::found, Pages, &PageList::setBlank);
    connect(Preview, &PreviewController::pageCleaned, Pages, &PageList::setScanNote);
    connect(Pages, &PageList::treatmentChanged, this, &Quirevale::updatePreview);
    connect(Preview, &PreviewController::pageShown, this, [this](const QSize &size) {
        ui.OriginalImageWidth->setText(size.isValid() ? QString::number(size.width()) : QString());
        ui.OriginalImageHeight->setText(size.isValid() ? QString::number(size.height())
                                                       : QString());
    });
    connect(Session, &BookSession::aboutToList, Preview, &PreviewController::forget);
    connect(Session, &BookSession::aboutToList, Blanks, &BlankFinder::stop);
    connect(Sources, &BookSources::listed, this, [this] {
        LeavingOutBlanks = false; // a new list: its pages are looked at afresh
        followScanOptions();
        updateEnabled();
        followReadingDirection(Session->book().comicInfo(false));
        Sources->summarizePdf(Options->read().pages.PdfResolution);
    });
    connect(Sources, &BookSources::listingChanged, this, &Quirevale::showListing);
    connect(Builds, &BuildController::buildingChanged, this, [this](bool building) {
        Pages->setLocked(building);
        if (!building)
            buildEnded();
        updateEnabled();
    });
    connect(&MakeCbzWatcher, &QFutureWatcher<bool>::finished, this, &Quirevale::MakeCbzFinished);
    connect(ui.ImagesList->model(), &QAbstractItemModel::rowsMoved, this,
            &Quirevale::updateEnabled);
    Pages->setBookBorder([this] { return ui.ImageCutBorderNumber->value(); });
    Builds->setRowName([this](int row) {
        const QListWidgetItem *item = ui.ImagesList->item(row);
        return item ? item->text() : QString();
    });
    // Shown only while a build runs.
    ui.CancelBuild->hide();
    ui.NoticeFrame->hide();
    // The keypad's Enter too.
    auto *enter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this);
    connect(enter, &QShortcut::activated, ui.MakeCBZ, [this] {
        if (ui.MakeCBZ->isEnabled())
            ui.MakeCBZ->click();
    });
    describeShortcuts();
    setAcceptDrops(true);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Quirevale/Quirevale.ico")));
    setWindowTitle(QStringLiteral("%1  v%2").arg(windowTitle()).arg(QLatin1String(Version)));
    // Relative weights: the preview side takes nearly all of the width.
    ui.ImageSplitterFrame->setSizes({ui.ImagesList->minimumWidth(), 2000});
    // A window made larger gives the list a fifth of the width it gains
    // (the splitter alone would give it all to the preview), so that long
    // page names show on a large screen.
    ui.ImageSplitterFrame->installEventFilter(this);

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
    SetTranslationLanguage(
        settings.value(QStringLiteral("Language"), int(QLocale::system().language())).toInt());
    // Remembered as soon as it is chosen.
    ui.actionKeepProportions->setChecked(
        settings.value(QStringLiteral("KeepPageProportions"), false).toBool());
    ui.ImageArea->setKeepProportions(ui.actionKeepProportions->isChecked());
    connect(ui.actionKeepProportions, &QAction::toggled, this, [this](bool keep) {
        ui.ImageArea->setKeepProportions(keep);
        QSettings().setValue(QStringLiteral("KeepPageProportions"), keep);
    });
    ui.actionActualSize->setChecked(
        settings.value(QStringLiteral("ActualPageSize"), false).toBool());
    Preview->setActualSize(ui.actionActualSize->isChecked());
    connect(ui.actionActualSize, &QAction::toggled, this, [this](bool actual) {
        Preview->setActualSize(actual);
        QSettings().setValue(QStringLiteral("ActualPageSize"), actual);
    });
    const BookOptions options = loadBookOptions(settings);
    Options->apply(options);
    UserFirstPageRight = options.pages.ImageCutFirstPageRight;
    Preview->setPdfResolution(options.pages.PdfResolution);
    ui.ImageArea->setPlaceholderText(emptyPreviewText());
    // Nothing to make until a book is listed; the rest as the form has it.
    ui.actionMakeCbz->setEnabled(false);
}

Quirevale::~Quirevale()
{
    // A build still running (the application quitting by other means) is
    // stopped and waited for by its controller: nothing is reported.
    MakeCbzWatcher.disconnect(this);
    delete Builds;
    QSettings settings;
    settings.setValue(QStringLiteral("PanelsSplitter"), ui.ImageSplitterFrame->saveState());
    settings.setValue(QStringLiteral("MainWindowGeometry"), saveGeometry());
    settings.setValue(QStringLiteral("MainWindowState"), saveState(0));
    settings.setValue(QStringLiteral("LastCbzSaveDir"), CbzSaveDir);
    settings.setValue(QStringLiteral("LastImagesDir"), ImagesDir);
    // The user's own cut order is remembered, not a book's.
    BookOptions options = Options->read();
    options.pages.ImageCutFirstPageRight = UserFirstPageRight;
    saveBookOptions(settings, options);
}

bool Quirevale::isBuilding() const
{
    return Builds->isBuilding();
}

void Quirevale::setBuildThreads(int threads)
{
    BuildThreads = threads;
    Queue->setThreadCount(threads);
}

void Quirevale::showEvent(QShowEvent *event)
{
    // The native window may be new after every show, so bind again each time.
    TaskbarButton.setWindow(windowHandle());
    QMainWindow::showEvent(event);
    if (!SplitterFollowsWindow)
        QTimer::singleShot(0, this, [this] { SplitterFollowsWindow = true; });
}

bool Quirevale::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.ImageSplitterFrame && event->type() == QEvent::Resize) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        const int gained = resize->size().width() - resize->oldSize().width();
        QList<int> sizes = ui.ImageSplitterFrame->sizes();
        if (SplitterFollowsWindow && resize->oldSize().width() > 0 && gained != 0 &&
            sizes.size() == 2) {
            const int before = sizes.at(0);
            const int list = qMax(ui.ImagesList->minimumWidth(), before + gained / 5);
            sizes = {list, qMax(0, resize->size().width() - list)};
            // Once the splitter has taken its new width; unless the user or
            // a caller has placed it meanwhile, which is theirs to keep.
            QTimer::singleShot(0, this, [this, sizes, before] {
                if (ui.ImageSplitterFrame->sizes().value(0) == before)
                    ui.ImageSplitterFrame->setSizes(sizes);
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Quirevale::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi(this);
        Options->fillScreenSizes();
        describeShortcuts();
        ui.ImageArea->setPlaceholderText(emptyPreviewText());
        Options->fitColumn();
    }
    QMainWindow::changeEvent(event);
}

// What may be used now, all in one place: the list and the options once a
// book has pages, nothing that changes the book while it is being made.
// While a book is listed in the background, nothing else is done; the
// progress bar says it goes on, and Cancel (or Escape) stops it.
void Quirevale::showListing(bool listing)
{
    ui.MakeCBZProgressBar->setRange(0, listing ? 0 : 100);
    ui.MakeCBZProgressBar->setValue(0);
    ui.CancelBuild->setVisible(listing);
    updateEnabled();
}

void Quirevale::updateEnabled()
{
    const bool idle = !Builds->isBuilding() && !Sources->isListing();
    const bool pages = ui.ImagesList->count() > 0;
    // One archive is made at a time: the queue's, or the one on show.
    const bool queueIdle = !Queue->isRunning();
    ui.OptionsFrame->setEnabled(idle && pages);
    ui.MakeCBZFrame->setEnabled(idle && queueIdle && pages);
    ui.actionMakeCbz->setEnabled(idle && queueIdle && pages);
    Queue->setWindowState(!idle, pages);
    ui.ImagesPathFrame->setEnabled(idle);
    ui.ImageSplitterFrame->setEnabled(idle);
    ui.actionOpenFolder->setEnabled(idle);
    ui.actionOpenArchive->setEnabled(idle);
    const int row = ui.ImagesList->currentRow();
    ui.MoveImageUp->setEnabled(row > 0);
    ui.MoveImageDown->setEnabled(row >= 0 && row < ui.ImagesList->count() - 1);
    Options->updateEnabled();
}

// The rows follow the scan options: with blank pages left out, every page
// is looked at, and rows of blank pages are marked and unchecked as they
// are found, then checked again when blank pages are no longer left out;
// slants said on the rows go when pages are no longer straightened.
void Quirevale::followScanOptions()
{
    const BookOptions options = Options->read();
    // Slants said on the rows are stale once pages are no longer straightened.
    if (Straightening && !options.pages.ScanStraighten)
        Pages->forgetSlants();
    Straightening = options.pages.ScanStraighten;
    if (options.pages.ScanLeaveOutBlank == LeavingOutBlanks)
        return;
    LeavingOutBlanks = options.pages.ScanLeaveOutBlank;
    if (LeavingOutBlanks) {
        Blanks->find(Pages->pages(), options.pages.PdfResolution);
    } else {
        Blanks->stop();
        Pages->forgetBlanks();
    }
}

void Quirevale::updatePreview()
{
    const PageOptions options = Options->read().pages;
    Preview->setTreatment(options, Pages->currentTreatment());
    // The pages matter only to long strips; without them none is cut.
    Preview->setBookPages(options.CutLongStrips ? Session->buildPages() : QVector<BuildPage>());
}

// The button and its menu entry say what they make: "Make CBZ", "Make
// EPUB".
void Quirevale::nameWhatIsMade()
{
    const PageOptions::Kind kind = Options->read().pages.BookKind;
    ui.MakeCBZ->setText(BuildController::makeText(kind));
    ui.actionMakeCbz->setText(BuildController::makeText(kind));
    ui.MakeCBZ->setToolTip(QStringLiteral("%1 (%2)").arg(
        kind == PageOptions::CbzBook ? tr("Make the archive of the checked pages")
                                     : tr("Make the book of the checked pages"),
        ui.actionMakeCbz->shortcut().toString(QKeySequence::NativeText)));
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
    nameWhatIsMade();
    tip(ui.MoveImageUp, tr("Move the current page up"));
    tip(ui.MoveImageDown, tr("Move the current page down"));
    tip(ui.CancelBuild, tr("Stop making the archive"));
    ui.ImagesList->setToolTip(
        tr("Space checks or unchecks the current page; drag a page to move it; %1 turns it; "
           "right-click for a cut or a border of its own.")
            .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)));
    Pages->describeActions();
}

QString Quirevale::emptyPreviewText() const
{
    return ui.ImagesList->count() == 0
               ? tr("Pick a folder of pages with File > Open Folder… (%1), or drop one here.")
                     .arg(ui.actionOpenFolder->shortcut().toString(QKeySequence::NativeText))
               : QString();
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

// The guide stays open beside the window, one at a time.
void Quirevale::on_actionUserGuide_triggered()
{
    if (!Guide) {
        Guide = new UserGuide(this);
        Guide->setAttribute(Qt::WA_DeleteOnClose);
    }
    Guide->show();
    Guide->raise();
    Guide->activateWindow();
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

// The option slots of the form: the option panel keeps the controls that
// depend on another in step, the preview draws what they say.
void Quirevale::on_ImageResize_clicked()
{
    Options->updateEnabled();
}

void Quirevale::on_ImageKeepOriginalSize_clicked()
{
    Options->updateEnabled();
}

void Quirevale::on_ImageCutDoublePages_clicked()
{
    Options->updateEnabled();
    updatePreview();
}

void Quirevale::on_ImageCutBorder_clicked()
{
    Options->updateEnabled();
    updatePreview();
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
    updatePreview();
}

void Quirevale::on_ImageCutFirstPageLeft_clicked()
{
    UserFirstPageRight = false;
    ui.ImageArea->SetFirstPageRight(false);
    sayReadingDirection(ComicInfo::LeftToRight);
}

void Quirevale::on_ImageCutFirstPageRight_clicked()
{
    UserFirstPageRight = true;
    ui.ImageArea->SetFirstPageRight(true);
    sayReadingDirection(ComicInfo::RightToLeft);
}

// The half chosen to come first is how the book is read: its ComicInfo.xml
// says so too.
void Quirevale::sayReadingDirection(ComicInfo::Direction direction)
{
    if (Session->book().source().isEmpty())
        return;
    ComicInfo info = comicInfoOfBook();
    if (info.direction == direction)
        return;
    info.direction = direction;
    Session->setComicInfo(info);
}

// A book that says how it is read has the half read first come first; one
// that says nothing has the half the user chose, whatever the book before
// it said.
void Quirevale::followReadingDirection(const ComicInfo &info)
{
    BookOptions options = Options->read();
    const bool right = options.pages.ImageCutFirstPageRight;
    options.pages.ImageCutFirstPageRight = UserFirstPageRight;
    options.pages = Book::withReadingDirection(options.pages, info, false);
    if (options.pages.ImageCutFirstPageRight == right)
        return;
    Options->apply(options);
    ui.ImageArea->SetFirstPageRight(options.pages.ImageCutFirstPageRight);
}

void Quirevale::on_actionPdfResolution_triggered()
{
    BookOptions options = Options->read();
    bool ok = false;
    // What the listed PDF's pages are, once that is known.
    const QString found = Sources->pdfSummary();
    const int dotsPerInch = QInputDialog::getInt(
        this, tr("PDF Resolution"),
        found.isEmpty() ? tr("Dots per inch PDF pages are rendered at:")
                        : tr("%1.\nDots per inch PDF pages are rendered at, at least:").arg(found),
        options.pages.PdfResolution, PageOptions::PdfDpi.minimum, PageOptions::PdfDpi.maximum, 10,
        &ok);
    if (!ok)
        return;
    Options->setPdfResolution(dotsPerInch);
    Sources->summarizePdf(dotsPerInch);
    // The pages shown were rendered at the old resolution.
    Preview->setPdfResolution(dotsPerInch);
}

void Quirevale::on_actionComicInfo_triggered()
{
    ComicInfoDialog dialog(comicInfoOfBook(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ComicInfo info = dialog.comicInfo();
    Session->setComicInfo(info);
    Options->setWriteComicInfo(info.write);
    followReadingDirection(info);
}

// The book listed: what the user said of it this session, or what it says
// of itself or its name suggests.
ComicInfo Quirevale::comicInfoOfBook() const
{
    return Session->comicInfo(Options->read().writeComicInfo);
}
