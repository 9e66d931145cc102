#include "app/previewcontroller.h"

#include "making/pagerecipe.h"
#include "preview/imagemanager.h"
#include "scans/skew.h"

#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QtConcurrent>

PreviewController::PreviewController(ImageManager *area, QWidget *window)
    : QObject(window)
    , m_area(area)
    , m_window(window)
{
    connect(&m_loader, &PreviewLoader::pictureReady, this, &PreviewController::pictureReady);
    connect(&m_cleaning, &QFutureWatcher<Cleaned>::finished, this, &PreviewController::cleaned);
    connect(&m_strips, &StripCutFinder::found, this, &PreviewController::redraw);
    // A preview grown past the size its picture was read for reads it again,
    // once the resizing has settled.
    m_resized = new QTimer(this);
    m_resized->setSingleShot(true);
    m_resized->setInterval(150);
    connect(m_resized, &QTimer::timeout, this, &PreviewController::grown);
    m_area->installEventFilter(this);
}

// The preview's size in device pixels: what its pictures are read to fit.
QSize PreviewController::bounds() const
{
    // At actual size the page is read whole, within the budget every page
    // is read in.
    if (m_area->actualSize())
        return QSize(ActualSizeSide, ActualSizeSide);
    return (QSizeF(m_area->size()) * m_area->devicePixelRatioF()).toSize();
}

void PreviewController::setActualSize(bool actual)
{
    m_area->setActualSize(actual);
    // Read again at the size it is shown at; what was read at the other
    // size is let go.
    m_loader.clear();
    m_loader.setBounds(bounds());
    if (!m_current.isNull())
        show(m_current, {});
}

bool PreviewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && event->type() == QEvent::Resize)
        m_resized->start();
    return QObject::eventFilter(watched, event);
}

void PreviewController::grown()
{
    const QSize now = bounds();
    if (now.width() <= m_loader.bounds().width() && now.height() <= m_loader.bounds().height())
        return;
    m_loader.setBounds(now);
    if (!m_current.isNull())
        show(m_current, {});
}

void PreviewController::show(const PageLocation &page, const QVector<PageLocation> &neighbours,
                             bool passing)
{
    m_current = page;
    if (m_followingBuild)
        return;
    if (!m_loader.bounds().isValid())
        m_loader.setBounds(bounds());
    m_loader.show(page, neighbours, passing);
}

void PreviewController::clear(const QString &placeholder)
{
    m_current = PageLocation();
    m_reported = PageLocation();
    m_picture = QImage();
    m_facts = PageFacts();
    m_area->SetImage(QPixmap());
    m_area->SetTrimRect(QRect());
    m_area->setPlaceholderText(placeholder);
    emit pageShown(QSize());
}

void PreviewController::forget()
{
    m_loader.clear();
}

void PreviewController::setPdfResolution(int dotsPerInch)
{
    m_pdfResolution = dotsPerInch;
    m_loader.setPdfResolution(dotsPerInch);
    if (!m_current.isNull())
        show(m_current, {});
}

// A page that cannot be used is reported with its reason and leaves the
// previous one on show. Only the current page gets here.
void PreviewController::pictureReady(const PageLocation &page, const PagePicture &picture)
{
    if (m_followingBuild || page != m_current)
        return;
    if (!picture.isValid()) {
        // Read again for a grown preview, the page fails again: once said
        // for the page is enough.
        if (m_reported == page)
            return;
        m_reported = page;
        QMessageBox box(
            QMessageBox::Warning, QCoreApplication::translate("Quirevale", "Warning"),
            QStringLiteral("%1 '%2'").arg(
                QCoreApplication::translate("Quirevale", "Unable to load image"), page.shownPath()),
            QMessageBox::Ok, m_window);
        box.setInformativeText(picture.error);
        box.exec();
        return;
    }
    showPicture(picture.picture, picture.facts());
}

// picture may be reduced from the page's own size.
void PreviewController::showPicture(const QImage &picture, const PageFacts &facts)
{
    m_picture = picture;
    m_facts = facts;
    emit pageShown(facts.size);
    redraw();
}

void PreviewController::setTreatment(const PageOptions &options, const PageTreatment &own)
{
    m_options = options;
    m_own = own;
    redraw();
}

void PreviewController::setBookPages(const QVector<BuildPage> &pages)
{
    m_strips.setPages(pages, m_options);
}

// The page as the build will make it: turned, in grey when it will be
// written so, with the cut, border, trim and lossless regions that apply.
void PreviewController::redraw()
{
    const PageRecipe recipe(m_facts, m_options, m_own);
    const PagePlan &plan = recipe.plan();
    QRect trimmed;
    if (!m_picture.isNull()) {
        QImage shown = recipe.turned(m_picture);
        if (recipe.cleansScan()) {
            // Until it is cleaned up, the page shows as it is.
            const QString key = cleaningKey(recipe);
            if (m_cleaned.key == key)
                shown = m_cleaned.picture;
            else
                startCleaning(recipe, shown, key);
        }
        const QImage turned =
            recipe.writesGrey(shown) ? shown.convertToFormat(QImage::Format_Grayscale8) : shown;
        m_area->SetImage(QPixmap::fromImage(turned), plan.turnedSize);
        trimmed = recipe.needsPixels() ? recipe.trimmedRect(shown) : QRect();
        m_area->SetTrimRect(trimmed);
    }
    // The cut where the build makes it: between the parts, inside the
    // border and the trimmed margins.
    const QList<PagePart> parts = recipe.parts(trimmed);
    m_area->setCutColumn(parts.size() == 2 && !parts.at(0).isEmpty() && !parts.at(1).isEmpty()
                             ? qMax(parts.at(0).source.x(), parts.at(1).source.x())
                             : -1);
    m_area->SetKeptRegions(recipe.route() == PageRecipe::CutOnBlocks ? recipe.regions()
                                                                     : QList<QRect>());
    const bool known = m_facts.size.isValid();
    m_area->SetCutPoint(m_options.ImageCutPointNumber);
    m_area->SetFirstPageRight(m_options.ImageCutFirstPageRight);
    m_area->SetCutDoublePages(known ? plan.cut : m_options.ImageCutDoublePages);
    m_area->SetCutBorder(known ? !plan.border.isNull() : m_options.ImageCutBorder);
    m_area->SetCutBorderSize(m_options.ImageCutBorderNumber);
    if (known && !plan.border.isNull())
        m_area->setCutBorderSides(plan.border);
    QVector<QPair<int, bool>> stripCuts;
    if (m_options.CutLongStrips && !m_picture.isNull()) {
        for (const LongStrip::Cut &cut : m_strips.cutsOn(m_current))
            stripCuts.append({cut.row, cut.throughArt});
    }
    m_area->setStripCuts(stripCuts);
}

QString PreviewController::cleaningKey(const PageRecipe &recipe) const
{
    const PagePlan &plan = recipe.plan();
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
        .arg(m_picture.cacheKey())
        .arg(plan.rotation)
        .arg(plan.straighten)
        .arg(plan.ownSlant ? plan.slantDegrees : qQNaN())
        .arg(plan.levels)
        .arg(plan.levelsGamma)
        .arg(m_current.shownPath());
}

void PreviewController::startCleaning(const PageRecipe &recipe, const QImage &turned,
                                      const QString &key)
{
    // One at a time: the one asked for last starts when it ends.
    if (m_cleaning.isRunning())
        return;
    const PageLocation page = m_current;
    const int pdfResolution = m_pdfResolution;
    m_cleaning.setFuture(QtConcurrent::run([recipe, turned, key, page, pdfResolution] {
        Cleaned done{key, page, QImage(), ScanCleanup()};
        // The slant is found at the size the build finds it at, not on the
        // preview's small picture, so that both say the same.
        QImage slantFrom;
        if (recipe.plan().straighten && !recipe.plan().ownSlant)
            slantFrom =
                recipe.turned(PageReader::readFirstPicture(
                                  page, QSize(Skew::WorkingSide, Skew::WorkingSide),
                                  PageReader::PixelBudget, PageReader::FileBudget, pdfResolution)
                                  .picture);
        done.picture = done.cleanup.apply(turned, recipe.plan(), slantFrom);
        return done;
    }));
}

void PreviewController::cleaned()
{
    const Cleaned done = m_cleaning.result();
    const PageRecipe recipe(m_facts, m_options, m_own);
    if (m_picture.isNull() || !recipe.cleansScan())
        return;
    if (done.key == cleaningKey(recipe)) {
        m_cleaned = done;
        const bool straighten = recipe.plan().straighten;
        emit pageCleaned(done.page, done.cleanup.rowMark(straighten),
                         done.cleanup.rowNote(straighten));
    }
    redraw(); // the picture, or the next one asked for
}

PagePictureObserver *PreviewController::builtPictures()
{
    // What the build hands over for a glance is fitted to the preview, at
    // actual size too: a whole page for each would cost the build dearly.
    m_built.setBounds((QSizeF(m_area->size()) * m_area->devicePixelRatioF()).toSize());
    return &m_built;
}

void PreviewController::startFollowingBuild()
{
    m_followingBuild = true;
}

void PreviewController::showBuilt(int row)
{
    // Null when a later page's picture has overtaken it: that one comes next.
    QSize pageSize;
    const QImage picture = m_built.take(row, &pageSize);
    if (!picture.isNull())
        showPicture(picture, {pageSize, {}, {}, {}});
}
