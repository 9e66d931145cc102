#ifndef QUIREVALE_H
#define QUIREVALE_H

#include "app/builtpictures.h"
#include "app/previewloader.h"
#include "app/shelltaskbarbutton.h"
#include "cbz/comicinfo.h"
#include "cbz/pageoptions.h"
#include "cbz/pagetreatment.h"
#include "pages/jpegcheck.h"
#include "pages/pagescan.h"
#include "ui_quirevale.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QImageIOHandler>
#include <QMainWindow>
#include <QSignalMapper>
#include <QTimer>
#include <QTranslator>
#include <QVector>

#include <functional>
#include <memory>

class CbzBuild;
struct BuildPage;
struct PageListing;
class ShellTaskbarProgress;

// The main window: the option column, the page list beside the preview,
// and the "Make CBZ" row.
class Quirevale : public QMainWindow
{
    Q_OBJECT

public:
    explicit Quirevale(QWidget *parent = nullptr);
    ~Quirevale() override;

    // Lists the pages of a folder given from outside (the command line): a
    // folder, or a page file whose folder is meant.
    void openFromOutside(const QString &path);

    // For whoever drives the window from outside (tests, tools, benchmarks).
    const QString &imagesDir() const { return ImagesDir; }
    const QString &cbzSaveDir() const { return CbzSaveDir; }
    ShellTaskbarProgress *taskbarProgress() const { return TaskbarProgress; }
    bool isBuilding() const { return Building; }
    // Threads a build may use; 0, the default, means one per core.
    void setBuildThreads(int threads) { BuildThreads = threads; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void on_BrowsePath_clicked();
    void on_ImagesList_currentItemChanged(QListWidgetItem *current, QListWidgetItem *previous);
    void on_ImageResize_clicked();
    void on_ImageKeepOriginalSize_clicked();
    void on_ImageCutDoublePages_clicked();
    void on_ImageCutBorder_clicked();
    void on_ImageCutPointSlide_valueChanged(int value);
    void on_ImageCutPointNumber_valueChanged(int value);
    void on_ImageCutBorderNumber_valueChanged(int value);
    void on_ImageCutFirstPageLeft_clicked();
    void on_ImageCutFirstPageRight_clicked();
    void on_MakeCBZ_clicked();
    void MakeCbzFinished();
    void SelectImageItem(unsigned int i);
    void on_actionExit_triggered();
    void on_actionDonations_triggered();
    void on_actionAbout_triggered();
    void on_MoveImageUp_clicked();
    void on_MoveImageDown_clicked();
    void SetTranslationLanguage(int LangID);
    void showBuiltPage(int row);
    void on_CancelBuild_clicked();
    void on_actionComicInfo_triggered();
    void on_actionOpenFolder_triggered();
    void on_actionMakeCbz_triggered();
    void on_NoticeClose_clicked();
    void on_ImageTrimMargins_clicked();
    void on_ImageCutOnlyWide_clicked();
    void on_ImageGreyAuto_clicked();
    void on_ImageGreyAll_clicked();
    void on_ImageLosslessCuts_clicked();
    void on_NoticeAction_clicked();
    void on_NoticeChapters_clicked();
    void on_actionOpenArchive_triggered();
    void on_actionPdfResolution_triggered();
    void on_actionListEveryType_triggered();
    void on_ImageTrimTolerance_valueChanged(int value);
    void on_ImageResizeMode_currentIndexChanged(int index);
    void on_ImageResizePreset_activated(int index);
    void on_ImagesList_customContextMenuRequested(const QPoint &at);

private:
    void applyPageOptions(const PageOptions &options);
    void applyOptionRanges();
    void fillScreenSizes();
    void setResizeControlsEnabled(bool enabled);
    void fitOptionColumn();
    void openFolder(const QString &folder, PictureTypes types = PageTypesOnly,
                    bool chapters = false);
    void showFolderNotice(const PageListing &scanned, int listed);
    int fillImagesList(const PageListing &scanned);
    void showListed(int count, const QString &source);
    QString emptyPreviewText() const;
    void refuseDrop(const QString &path);
    void offerChapters(const QStringList &sources);
    bool reportBuild();
    int LoadImagesList(QString folder);
    void updateMoveButtons();
    void setShortcuts();
    void describeShortcuts();
    void moveCurrentRow(int step);
    QString suggestedArchiveName() const;
    QVector<BuildPage> checkedPages() const;
    ComicInfo comicInfoOfFolder() const;
    void startBuild(const QString &fileName, const QVector<BuildPage> &pages);
    void reportSuccess(const QString &fileName);
    bool MakeCbz(QString fileName);
    void loadCurrentPage(const PageLocation &page);
    void showPreviewPicture(const PageLocation &page, const PagePicture &picture);
    QSize previewBounds() const;
    void showPage(const QImage &picture, const PageFacts &facts);
    void updatePreviewTreatment();
    void makePageActions();
    void describePageActions();
    void treatCurrentPage(const std::function<void(PageTreatment &)> &change);
    bool forgetTreatmentsFirst();
    PageOptions readPageOptions() const;
    void setBuildControlsEnabled(bool enabled);
    void finishBuildBeforeDestruction();

    Ui::QuirevaleClass ui;
    QFutureWatcher<bool> MakeCbzWatcher;
    QFuture<bool> MakeCbzFuture;
    QString ImagesDir;
    QString CbzSaveDir;
    QTranslator Translator;
    QTranslator QtTranslator;
    QSignalMapper LanguageMapper;
    ShellTaskbarButton TaskbarButton;
    ShellTaskbarProgress *TaskbarProgress = nullptr;
    // The current page as read for the preview, before its own turn.
    QImage CurrentPicture;
    // What is known of the current page before its pixels: its size, and
    // how its JPEG blocks lie (where lossless cuts fall).
    PageFacts CurrentFacts;
    // The ComicInfo.xml of the archive listed, as it was.
    QByteArray SourceComicInfo;
    // Which pictures the list holds: the page types, or every type.
    PictureTypes ListedTypes = PageTypesOnly;
    // The current row's page, once it was reported as unusable.
    PageLocation ReportedPage;
    // Whether the list holds a folder's sub-folders as chapters.
    bool ListedChapters = false;
    // What the current page may do differently from the book.
    QAction *PageTurnRight = nullptr;
    QAction *PageTurnLeft = nullptr;
    QAction *PageCutAsBook = nullptr;
    QAction *PageAlwaysCut = nullptr;
    QAction *PageNeverCut = nullptr;
    QAction *PageBorderAsBook = nullptr;
    QAction *PageNoBorder = nullptr;
    QAction *PageOwnBorder = nullptr;
    QAction *PageReset = nullptr;
    // Pages read for the preview, on threads of their own.
    PreviewLoader PagePreviews;
    QTimer *PreviewResized = nullptr;
    // What the build decoded, for the preview; outlives the build.
    BuiltPictures BuiltPagePictures;
    // The build under way (or last run); it reads no widget.
    std::unique_ptr<CbzBuild> Build;
    // While the list follows the build, its pages are not read again: the
    // build hands over what it decoded.
    bool FollowingBuild = false;
    // What the user said of each folder's book this session, and whether
    // archives carry it (remembered).
    QHash<QString, ComicInfo> ComicInfos;
    bool WriteComicInfo = false;
    // From the start of a build until its report has been closed.
    bool Building = false;
    int BuildThreads = 0;
    bool CloseWhenBuilt = false;
    // While "Stop it and close the window?" is open, the end of the build is
    // reported only once it has been answered, the way it was answered.
    bool CloseQuestionOpen = false;
    bool BuildEndedDuringQuestion = false;
};

#endif // QUIREVALE_H
