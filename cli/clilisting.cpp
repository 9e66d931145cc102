#include "cli/clilisting.h"

#include "scans/facingpages.h"

#include "making/epubpackage.h"
#include "making/pageforecast.h"
#include "making/pagetransform.h"
#include "making/pdfpackager.h"
#include "making/zipwriter.h"
#include "pages/jpegcheck.h"
#include "pages/pagescan.h"

#include <QFile>
#include <QThread>

#include <climits>

// Each page's name, and what it becomes where it does not go in as it is;
// where a blank page goes before a spread, that too.
QString CliListing::directionNote(const PageOptions &options)
{
    return options.ImageCutFirstPageRight
               ? tr("read right to left: the right half of a cut page comes first")
               : tr("read left to right: the left half of a cut page comes first");
}

QStringList CliListing::lines(const QVector<BuildPage> &pages, const QVector<ListedPage> &listed,
                              const PageOptions &options)
{
    QStringList lines;
    FacingPages facing;
    int entry = 0; // the running number of the book's entries
    const bool epub =
        options.BookKind == PageOptions::EpubBook || options.BookKind == PageOptions::KepubBook;
    const bool pdf = options.BookKind == PageOptions::PdfBook;
    const QVector<LongStrip::Run> strips =
        options.CutLongStrips
            ? LongStrip::runsIn(pages, options.PdfResolution, QThread::idealThreadCount())
            : QVector<LongStrip::Run>();
    int strip = 0;
    LongStrip::Forecast forecast;
    for (int index = 0; index < pages.size(); ++index) {
        const BuildPage &page = pages.at(index);
        const QString name = listed.at(page.row).name;
        while (strip < strips.size() && strips.at(strip).first + strips.at(strip).count <= index)
            ++strip;
        if (strip < strips.size() && strips.at(strip).contains(index)) {
            const LongStrip::Run &run = strips.at(strip);
            if (index == run.first)
                forecast = LongStrip::forecast(pages, run, options, QThread::idealThreadCount());
            const QString said =
                describeStripPage(forecast, index - run.first, run.count, &entry, options, &facing);
            lines << QStringLiteral("%1: %2").arg(name, said);
            continue;
        }
        const Described described = describe(page, options);
        QStringList said;
        if (!described.text.isEmpty())
            said << described.text;
        QStringList files; // in an EPUB, each entry's picture and its side
        for (int i = 0; !described.leftOut && i < qMax(1, described.spreads.size()); ++i) {
            const bool spread = described.spreads.value(i);
            if (options.FacingSpreads && facing.blankBefore(spread)) {
                said << tr("a blank page goes before it");
                ++entry;
            }
            if (options.FacingSpreads)
                facing.place(spread);
            const QString file = ZipWriter::entryName(entry, described.suffix);
            const QString side =
                EpubPackage::spreadSide(entry++, {file, {}, described.halves.value(i), spread, {}});
            files << (side.isEmpty() ? file : QStringLiteral("%1 %2").arg(file, side));
        }
        if (epub && !files.isEmpty())
            said << tr("in the EPUB: %1").arg(files.join(QStringLiteral(" + ")));
        if (pdf && !described.leftOut)
            said << tr("in the PDF: %1").arg(pdfPages(page, described));
        lines << (said.isEmpty()
                      ? name
                      : QStringLiteral("%1: %2").arg(name, said.join(QStringLiteral("; "))));
    }
    return lines;
}

// The PDF's pages a page becomes, in points: at the resolution the page's
// file names (kept as it is, or carried by its picture when written again),
// 300 dots an inch for a file kept that names none.
QString CliListing::pdfPages(const BuildPage &page, const Described &described)
{
    QFile file(page.page.file());
    const QByteArray head =
        !page.page.isEntry() && !page.page.isPdfPage() && file.open(QIODevice::ReadOnly)
            ? file.read(1 << 20)
            : QByteArray();
    double dpi = JpegCheck::frameOf(head).dotsPerInch;
    if (dpi <= 0)
        dpi = PdfPackager::pngDotsPerInch(head);
    if (dpi <= 0)
        dpi = described.kept ? 300 : 96;
    QStringList sizes;
    for (const QSize &size : described.sizes) {
        PdfPackager::Picture picture;
        picture.width = size.width();
        picture.height = size.height();
        picture.dotsPerInch = dpi;
        const QSizeF points = PdfPackager::pageSize(picture);
        sizes << tr("%1 × %2 pt").arg(points.width(), 0, 'f', 1).arg(points.height(), 0, 'f', 1);
    }
    return sizes.join(QStringLiteral(" + "));
}

// What a page of a long strip becomes: the strip's first says how many
// pages the strip is cut into and which entries they are; each says where
// it is cut through its art, and whether it cannot be read.
QString CliListing::describeStripPage(const LongStrip::Forecast &forecast, int tile, int tiles,
                                      int *entry, const PageOptions &options, FacingPages *facing)
{
    QStringList said;
    if (!forecast.errors.at(tile).isEmpty())
        said << tr("cannot be read: %1").arg(forecast.errors.at(tile));
    if (tile == 0) {
        int shortest = INT_MAX, tallest = 0;
        for (const QSize &size : forecast.sizes) {
            shortest = qMin(shortest, size.height());
            tallest = qMax(tallest, size.height());
            if (options.FacingSpreads)
                facing->place(false);
        }
        const QString suffix = pageSuffix(options);
        const int first = *entry;
        *entry += forecast.sizes.size();
        if (!forecast.sizes.isEmpty())
            said << (tiles == 1 ? tr("a long strip, cut into %2 pages %3 wide and %4 to %5 high "
                                     "(%6 to %7)")
                                : tr("a long strip of %1 pages, cut into %2 pages %3 wide and %4 "
                                     "to %5 high (%6 to %7)")
                                      .arg(tiles))
                        .arg(forecast.sizes.size())
                        .arg(forecast.sizes.first().width())
                        .arg(shortest)
                        .arg(tallest)
                        .arg(ZipWriter::entryName(first, suffix),
                             ZipWriter::entryName(*entry - 1, suffix));
    } else {
        said << tr("in the long strip above");
    }
    QVector<int> rows;
    for (const LongStrip::Cut &cut : forecast.cuts) {
        if (cut.tile == tile && cut.throughArt)
            rows << cut.row;
    }
    if (!rows.isEmpty())
        said << LongStrip::throughArtNote(rows);
    return said.join(QStringLiteral("; "));
}

// "2400 × 1800, turned 90°, cut → 1200 × 1800 + 1201 × 1800 grey", as
// the build will make it; "kept as it is" for a page that goes in as its
// file is; "grey" alone for a page that becomes one page of its own size in
// grey, and nothing for one that becomes one page of its own size.
CliListing::Described CliListing::describe(const BuildPage &page, const PageOptions &options)
{
    Described described;
    described.suffix = pageSuffix(options);
    // Nothing the options or the page's own treatment ask for changes it,
    // and nothing is said of its entries.
    if (!options.changesPages() && page.treatment.isDefault() && !options.KeepUnchangedPages &&
        !options.LosslessCuts && !options.ScanLeaveOutBlank && !options.FacingSpreads &&
        options.PageGrey == PageOptions::ColourPages && options.BookKind == PageOptions::CbzBook)
        return described;
    const PageForecast forecast = PageForecast::of(page.page, options, page.treatment);
    if (forecast.leftOut()) {
        described.text = forecast.leftOutWhy();
        described.leftOut = true;
        return described;
    }
    const PageRecipe &recipe = forecast.recipe();
    const PagePlan &plan = recipe.plan();
    described.suffix = recipe.entrySuffix();
    bool allGrey = true;
    QStringList parts;
    for (const PagePart &part : forecast.parts()) {
        described.sizes << part.size;
        described.spreads << part.spread;
        described.halves << part.half;
        allGrey = allGrey && part.grey;
        const QString size =
            part.isEmpty()
                ? tr("nothing")
                : QStringLiteral("%1 × %2").arg(part.size.width()).arg(part.size.height());
        parts << (part.grey ? tr("%1 grey").arg(size) : size);
    }
    if (recipe.route() == PageRecipe::Kept) {
        described.text = tr("kept as it is");
        described.kept = true;
        return described;
    }
    if (recipe.route() == PageRecipe::Encoded && !plan.changes() && !options.ImageResize) {
        if (allGrey && !forecast.parts().isEmpty())
            described.text = tr("grey");
        return described;
    }
    const QSize size = recipe.facts().size;
    QStringList notes{QStringLiteral("%1 × %2").arg(size.width()).arg(size.height())};
    const ScanCleanup &cleanup = forecast.cleanup();
    if (plan.rotation)
        notes << tr("turned %1°").arg(plan.rotation);
    if (!cleanup.note().isEmpty())
        notes << cleanup.note();
    if (cleanup.levelled)
        notes << tr("paper evened out");
    if (!plan.border.isNull())
        notes << tr("border %1").arg(PageTreatment::borderText(plan.border));
    if (plan.trim)
        notes << tr("margins trimmed");
    if (plan.cut)
        notes << tr("cut");
    if (recipe.route() == PageRecipe::CutOnBlocks)
        notes << tr("cut on its blocks");
    else if (options.LosslessCuts)
        notes << tr("encoded as usual: %1")
                     .arg(recipe.encodedWhy().isEmpty() ? recipe.losslessCut().whyNot()
                                                        : recipe.encodedWhy());
    described.text = QStringLiteral("%1 → %2").arg(notes.join(QStringLiteral(", ")),
                                                   parts.join(QStringLiteral(" + ")));
    return described;
}
