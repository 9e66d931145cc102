#ifndef PAGERECIPE_H
#define PAGERECIPE_H

#include "making/losslesscut.h"
#include "making/pageoptions.h"
#include "making/pagepart.h"
#include "making/pagetransform.h"
#include "making/pagetreatment.h"
#include "making/scancleanup.h"
#include "pages/pagereader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QImageIOHandler>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// What one page becomes under the book's options and its own treatment,
// decided once from its facts: kept as its file is, cut on its JPEG blocks,
// or encoded; turned, bordered, trimmed and cut into which parts, of which
// sizes. The build carries it out, the command line's listing prints it and
// the preview draws it, so that none of them can say otherwise.
class PageRecipe
{
    Q_DECLARE_TR_FUNCTIONS(PageRecipe)

public:
    enum Route
    {
        Kept,        // the file's bytes, under its own type's name
        CutOnBlocks, // turned, bordered and split without decoding
        Encoded      // decoded, transformed and encoded as the options say
    };

    // What must be read of a page to carry its recipe out, or to know its
    // parts exactly: its header alone, its whole file checked (whether it
    // may be kept as it is, how its blocks lie), or its pixels.
    enum Reading
    {
        HeaderOnly,
        WholeFile,
        Pixels
    };

    PageRecipe(const PageFacts &facts, const PageOptions &options,
               const PageTreatment &own = PageTreatment());
    // The recipe of a picture made into pages from its pixels alone.
    static PageRecipe ofPicture(const QImage &picture, const PageOptions &options,
                                const PageTreatment &own = PageTreatment());
    // The same recipe for another picture of the page (a scanner's file of
    // many): planned on that picture's size.
    PageRecipe forPictureOfSize(const QSize &size) const;
    // What the page becomes when its cut on its blocks cannot be made (its
    // blocks' values beyond what a part could code): encoded, its parts
    // where the cut falls without the blocks' grid, and still grey where
    // the cut would have kept it so.
    PageRecipe encodedInstead(const QString &why) const;

    // What must be read of a page before its recipe can be made.
    static Reading readingToPlan(const PageOptions &options, const PageTreatment &own);
    // Whether a page may go in as its file's bytes, or be cut on its
    // blocks: until its recipe says otherwise, its pixels are not needed.
    static bool mayUseFileBytes(const PageOptions &options)
    {
        return options.KeepUnchangedPages || options.LosslessCuts;
    }
    // What must be read, once it is made, to know its parts exactly.
    Reading reading() const;

    Route route() const { return m_route; }
    const PagePlan &plan() const { return m_plan; }
    const PageFacts &facts() const { return m_facts; }
    // With CutOnBlocks: the cut itself, its regions where they really fall.
    const LosslessCut &losslessCut() const { return m_cut; }
    // Why a page that lossless cuts were asked for is encoded instead;
    // empty when there is nothing worth saying (nothing to cut).
    QString encodedWhy() const { return m_encodedWhy; }
    // The name ending of the page's entries: "jpg", "webp", or the kept
    // file's own.
    QString entrySuffix() const { return m_suffix; }

    // Whether the parts' rectangles can be known only from the page's
    // pixels (plain margins are found on them).
    bool needsPixels() const { return m_route == Encoded && m_plan.trim; }
    // Whether the page is cleaned up as a scan (straightened, levelled):
    // what is done is known only from its pixels.
    bool cleansScan() const { return m_plan.straighten || m_plan.levels; }
    // A picture of the page, as it shows, turned as the plan says.
    QImage turned(const QImage &picture) const;
    // That turned picture cleaned up as a scan, as the build does it;
    // cleanup, when given, says what was done.
    QImage cleaned(const QImage &turnedPicture, ScanCleanup *cleanup = nullptr) const;
    // Where the plain margins end on the page turned by the plan: found on
    // picture, the page turned, at its own size or reduced, and measured
    // back on the page; invalid when nothing is trimmed.
    QRect trimmedRect(const QImage &turnedPicture) const;
    // The parts of the turned page that become the archive's pages, in
    // archive order; an empty rectangle where nothing would be left. With a
    // trim, within trimmed (trimmedRect()).
    QList<QRect> regions(const QRect &trimmed = QRect()) const;
    // The archive's pages as planned, in archive order: their regions,
    // sizes and whether each is a spread; grey when every page is.
    QList<PagePart> parts(const QRect &trimmed = QRect()) const;
    // The recipe carried out on a decoded picture of the page (as the file
    // shows it, of the size planned): turned, cleaned up as a scan, its
    // border cut, its margins trimmed, cut in two and resized; each part's
    // grey settled on its own pixels. A part of which nothing is left has
    // a null picture. cleanup, when given, says what was done to the scan.
    QList<PagePart> carryOut(const QImage &picture, ScanCleanup *cleanup = nullptr) const;
    // Whether a part of these pixels is written in grey: every page, or
    // one without colour, as the options say.
    bool writesGrey(const QImage &pixels) const;

private:
    QImage resized(const QImage &image) const;
    QList<PagePart> placed(QList<PagePart> parts) const;
    // The sizes of the archive's pages: the regions resized as asked; an
    // empty size where nothing would be left.
    QList<QSize> outputSizes(const QRect &trimmed) const;

    PageFacts m_facts;
    PageOptions m_options;
    PageTreatment m_own;
    PagePlan m_plan;
    LosslessCut m_cut;
    Route m_route = Encoded;
    QString m_encodedWhy;
    // A grey JPEG stays grey, as cut on its blocks it would.
    bool m_keepsGrey = false;
    QString m_suffix;
};

// The pages of a picture made from its pixels, each encoded as JPEG with
// the chosen quality: one element without the split, two with it. An
// element is empty when its page could not be made.
QList<QByteArray> TransformPage(const QImage &source, const PageOptions &options);

#endif // PAGERECIPE_H
