#ifndef QUIREVALE_H
#define QUIREVALE_H

#include "app/shelltaskbarbutton.h"
#include "book/book.h"
#include "making/comicinfo.h"
#include "ui_quirevale.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSignalMapper>
#include <QTranslator>

class BlankFinder;
class BookSources;
class BuildController;
class BookSession;
class OptionsPanel;
class PageList;
class PreviewController;
class PresetMenu;
class UserGuide;
class QueueDock;
class ShellTaskbarProgress;

// The main window: the option column, the page list beside the preview,
// and the "Make CBZ" row. Each of its parts has one job (the options, the
// list, the preview, the sources of books, the build); the window holds the
// book listed, hands what one part says to the others and sets what is
// enabled.
class Quirevale : public QMainWindow
{
    Q_OBJECT

public:
    explicit Quirevale(QWidget *parent = nullptr);
    ~Quirevale() override;

    // Lists the pages of a folder given from outside (the command line): a
    // folder, an archive or a PDF, or a page file whose folder is meant.
    void openFromOutside(const QString &path);

    // Whether an archive is being made.
    bool isBuilding() const;
    // Threads a build may use; 0, the default, means one per core.
    void setBuildThreads(int threads);

public slots:
    // Each source a book of the queue, made with the options in force.
    void addToQueue(const QStringList &sources);

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
    void on_actionUserGuide_triggered();
    void on_MoveImageUp_clicked();
    void on_MoveImageDown_clicked();
    void SetTranslationLanguage(int LangID);
    void showBuiltPage(int row);
    void on_CancelBuild_clicked();
    void on_actionComicInfo_triggered();
    void on_actionOpenFolder_triggered();
    void on_actionMakeCbz_triggered();
    void on_actionPdfResolution_triggered();
    void on_ImagesList_customContextMenuRequested(const QPoint &at);
    void on_actionAddToQueue_triggered();
    void on_actionCheckBooks_triggered();

private:
    int LoadImagesList(QString folder);
    void updateEnabled();
    void updatePreview();
    QString emptyPreviewText() const;
    void describeShortcuts();
    ComicInfo comicInfoOfBook() const;
    void sayReadingDirection(ComicInfo::Direction direction);
    void followReadingDirection(const ComicInfo &info);
    void addThisBook();
    void dropSeveral(const QStringList &sources);
    void nameWhatIsMade();
    void showListing(bool listing);
    void startBuild(const QString &fileName, bool unreadableLeftOut = false);
    bool MakeCbz(QString fileName);
    void buildEnded();

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
    // The parts, children of the window.
    OptionsPanel *Options = nullptr;
    BookSession *Session = nullptr;
    PageList *Pages = nullptr;
    PreviewController *Preview = nullptr;
    BookSources *Sources = nullptr;
    BuildController *Builds = nullptr;
    BlankFinder *Blanks = nullptr;
    QueueDock *Queue = nullptr;
    PresetMenu *Presets = nullptr;
    QPointer<UserGuide> Guide;
    bool LeavingOutBlanks = false; // as the options were when last looked at
    bool Straightening = false;
    // Whether the splitter follows the window's width: not while the first
    // show lays the window out, which would move a restored splitter.
    bool SplitterFollowsWindow = false;
    // The half the user chose to come first (or the one remembered): a book
    // that says its reading direction sets the cut order for itself only.
    bool UserFirstPageRight = true;
    void followScanOptions();
    // What the user said of each book this session.
    int BuildThreads = 0;
};

#endif // QUIREVALE_H
