#ifndef PREVIEWCONTROLLER_H
#define PREVIEWCONTROLLER_H

#include "app/builtpictures.h"
#include "app/previewloader.h"
#include "app/stripcutfinder.h"
#include "making/pageoptions.h"
#include "making/pagerecipe.h"
#include "making/pagetreatment.h"
#include "making/scancleanup.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>

class ImageManager;
class QTimer;

// The preview of the main window: the current page read away from the GUI
// thread (its neighbours after it), drawn as the build will make it, with
// the cut, border, trim and lossless regions over it; while the list
// follows a build, the pictures the build decoded instead.
class PreviewController : public QObject
{
    Q_OBJECT

public:
    PreviewController(ImageManager *area, QWidget *window);

    // Shows page once it is read; the neighbours are read after it.
    // Passing: the rows pass at a held key's pace.
    void show(const PageLocation &page, const QVector<PageLocation> &neighbours,
              bool passing = false);
    // No page: the preview empties and says placeholder.
    void clear(const QString &placeholder);
    // Forgets the pictures read (another book, another PDF resolution).
    void forget();
    void setPdfResolution(int dotsPerInch);
    // The page at 100 %, read whole (View > Actual Size), or fitted.
    void setActualSize(bool actual);
    // No page is read larger than this either way at actual size.
    static constexpr int ActualSizeSide = 16384;
    // Draws the page shown with options and its own treatment.
    void setTreatment(const PageOptions &options, const PageTreatment &own);
    // The book's pages as a build takes them: where its long strips are
    // cut is drawn over their pages.
    void setBookPages(const QVector<BuildPage> &pages);

    // For a build: it hands its pictures over here, and while the list
    // follows it no page is read.
    PagePictureObserver *builtPictures();
    void startFollowingBuild();
    // The picture of row's page as the build decoded it.
    void showBuilt(int row);
    void stopFollowingBuild() { m_followingBuild = false; }

signals:
    // A page was shown: its size, as its file has it.
    void pageShown(const QSize &size);
    // The page shown was cleaned up as a scan: what was found, short for
    // its row and in full.
    void pageCleaned(const PageLocation &page, const QString &mark, const QString &note);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pictureReady(const PageLocation &page, const PagePicture &picture);
    void showPicture(const QImage &picture, const PageFacts &facts);
    void redraw();
    // The picture cleaned up as a scan is found away from the GUI thread.
    struct Cleaned
    {
        QString key; // the picture and what was asked of it
        PageLocation page;
        QImage picture;
        ScanCleanup cleanup;
    };
    QString cleaningKey(const PageRecipe &recipe) const;
    void startCleaning(const PageRecipe &recipe, const QImage &turned, const QString &key);
    void cleaned();
    QSize bounds() const;
    void grown();

    ImageManager *m_area;
    QWidget *m_window;
    PreviewLoader m_loader;
    BuiltPictures m_built;
    QTimer *m_resized;
    PageLocation m_current;
    PageLocation m_reported; // the page last said to be unusable
    QImage m_picture;        // as read, before its own turn
    PageFacts m_facts;
    PageOptions m_options;
    PageTreatment m_own;
    bool m_followingBuild = false;
    int m_pdfResolution = PdfPages::DefaultResolution;
    StripCutFinder m_strips;
    QFutureWatcher<Cleaned> m_cleaning;
    Cleaned m_cleaned;
};

#endif // PREVIEWCONTROLLER_H
