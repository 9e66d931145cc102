#include "making/pagerecipe.h"

#include "scans/colourtone.h"

#include "making/packager.h"

#include <QHash>
#include <QTransform>

namespace {
// The types a page file may go into the archive as, and their names there.
QString keptSuffixOf(const QByteArray &format)
{
    static const QHash<QByteArray, QString> keptTypes = {{"jpeg", QStringLiteral("jpg")},
                                                         {"jpg", QStringLiteral("jpg")},
                                                         {"png", QStringLiteral("png")},
                                                         {"webp", QStringLiteral("webp")},
                                                         {"gif", QStringLiteral("gif")}};
    return keptTypes.value(format);
}
} // namespace

PageRecipe::PageRecipe(const PageFacts &facts, const PageOptions &options, const PageTreatment &own)
    : m_facts(facts)
    , m_options(options)
    , m_own(own)
    , m_plan(planPage(facts.size, options, own))
    , m_cut(LosslessCut::Source::shown(facts.size, facts.jpegLayout, facts.transformation), options,
            m_plan)
{
    m_suffix = pageSuffix(options);
    const bool unchanged = !m_plan.changes() &&
                           (!options.ImageResize || resizedSize(facts.size, options) == facts.size);
    // Grey pages kept as they are stay as they are: only colour would change.
    // A book keeps only the types its readers show (an EPUB no WebP page).
    QString kept = keptSuffixOf(facts.format);
    if (!Packager::kind(options.BookKind).keptTypes.contains(kept))
        kept.clear();
    if (options.KeepOnlyJpegAndPng && kept != QLatin1String("jpg") && kept != QLatin1String("png"))
        kept.clear();
    if (options.KeepUnchangedPages && unchanged && options.PageGrey != PageOptions::GreyEveryPage &&
        !kept.isEmpty()) {
        m_route = Kept;
        m_suffix = kept;
        return;
    }
    if (!options.LosslessCuts)
        return;
    // Turned by a slant, levelled or toned, every pixel changes: no block is
    // kept.
    if (m_plan.straighten || m_plan.levels || m_plan.toned) {
        m_encodedWhy = m_plan.straighten ? tr("it is straightened")
                       : m_plan.levels   ? tr("its paper is evened out")
                                         : tr("its colours are toned");
        return;
    }
    if (m_cut.whyNot().isEmpty()) {
        m_route = CutOnBlocks;
        m_suffix = QStringLiteral("jpg");
        return;
    }
    // Only a page with something to cut is worth a word.
    if (!unchanged)
        m_encodedWhy = m_cut.whyNot();
}

PageRecipe PageRecipe::ofPicture(const QImage &picture, const PageOptions &options,
                                 const PageTreatment &own)
{
    return PageRecipe({picture.size(), {}, {}, {}}, options, own);
}

PageRecipe PageRecipe::forPictureOfSize(const QSize &size) const
{
    if (size == m_facts.size)
        return *this;
    PageFacts facts = m_facts;
    facts.size = size;
    PageRecipe recipe(facts, m_options, m_own);
    recipe.m_keepsGrey = m_keepsGrey;
    if (m_keepsGrey) {
        recipe.m_route = Encoded;
        recipe.m_encodedWhy = m_encodedWhy;
    }
    return recipe;
}

PageRecipe PageRecipe::encodedInstead(const QString &why) const
{
    PageOptions options = m_options;
    options.LosslessCuts = false;
    PageRecipe encoded(m_facts, options, m_own);
    encoded.m_route = Encoded;
    encoded.m_suffix = pageSuffix(options);
    encoded.m_encodedWhy = why;
    encoded.m_keepsGrey = m_route == CutOnBlocks && m_facts.jpegLayout.grey;
    return encoded;
}

PageRecipe::Reading PageRecipe::readingToPlan(const PageOptions &options, const PageTreatment &own)
{
    if (options.ImageTrimMargins || options.ScanStraighten || options.ScanLevels ||
        options.ScanLeaveOutBlank || own.straighten != PageTreatment::StraightenAsBook)
        return Pixels;
    return mayUseFileBytes(options) ? WholeFile : HeaderOnly;
}

PageRecipe::Reading PageRecipe::reading() const
{
    if (m_route != Encoded)
        return WholeFile;
    return m_plan.trim || cleansScan() || m_options.PageGrey == PageOptions::GreyWithoutColour
               ? Pixels
               : HeaderOnly;
}

QImage PageRecipe::turned(const QImage &picture) const
{
    if (m_plan.rotation == 0 || picture.isNull())
        return picture;
    return picture.transformed(QTransform().rotate(m_plan.rotation));
}

QImage PageRecipe::cleaned(const QImage &turnedPicture, ScanCleanup *cleanup) const
{
    ScanCleanup done;
    const QImage page = done.apply(turnedPicture, m_plan);
    if (cleanup)
        *cleanup = done;
    return page;
}

QRect PageRecipe::trimmedRect(const QImage &turned) const
{
    if (!m_plan.trim || turned.isNull() || m_plan.turnedSize.isEmpty())
        return QRect();
    const double scale = double(m_plan.turnedSize.width()) / turned.width();
    const QMargins &border = m_plan.border;
    const QRect inside = turned.rect().marginsRemoved(
        QMargins(int(border.left() / scale), int(border.top() / scale), int(border.right() / scale),
                 int(border.bottom() / scale)));
    if (inside.isEmpty())
        return QRect();
    const QRect found = plainMarginsInside(turned.copy(inside), m_options.ImageTrimTolerance)
                            .translated(inside.topLeft());
    if (scale == 1.0)
        return found;
    return QRect(int(found.x() * scale), int(found.y() * scale), int(found.width() * scale),
                 int(found.height() * scale));
}

QList<QRect> PageRecipe::regions(const QRect &trimmed) const
{
    if (m_route == Kept)
        return {QRect(QPoint(), m_facts.size)};
    if (m_route == CutOnBlocks)
        return m_cut.regions();
    QRect inner = insideBorder(m_plan.turnedSize, m_plan.border);
    if (m_plan.trim && trimmed.isValid() && !inner.isEmpty())
        inner = trimmed;
    return cutRegions(inner, m_options, m_plan.cut);
}

QList<QSize> PageRecipe::outputSizes(const QRect &trimmed) const
{
    QList<QSize> sizes;
    for (const QRect &region : regions(trimmed)) {
        if (region.isEmpty())
            sizes.append(QSize());
        else if (m_route != Encoded)
            sizes.append(region.size());
        else
            sizes.append(resizedSize(region.size(), m_options));
    }
    return sizes;
}

QList<PagePart> PageRecipe::parts(const QRect &trimmed) const
{
    const QList<QRect> rects = regions(trimmed);
    const QList<QSize> sizes = outputSizes(trimmed);
    // Kept, a page is as grey as its file; cut on its blocks, a grey JPEG
    // stays grey and a colour one is made grey only for every page.
    const bool everyPage = m_options.PageGrey == PageOptions::GreyEveryPage;
    const bool grey = m_route == Kept          ? m_facts.jpegLayout.grey
                      : m_route == CutOnBlocks ? everyPage || m_facts.jpegLayout.grey
                                               : everyPage || m_keepsGrey;
    QList<PagePart> parts;
    for (int i = 0; i < rects.size(); ++i) {
        PagePart part;
        part.source = rects.at(i);
        part.size = sizes.at(i);
        part.grey = grey && !part.isEmpty();
        parts.append(part);
    }
    return placed(parts);
}

// Where each part goes in a reader: a page's only part wider than tall is a
// spread left whole; the two parts of a cut page are its halves, in the
// order the options read them.
QList<PagePart> PageRecipe::placed(QList<PagePart> parts) const
{
    for (int i = 0; i < parts.size(); ++i) {
        PagePart &part = parts[i];
        part.spread = parts.size() == 1 && part.size.width() > part.size.height();
        part.half = parts.size() != 2 ? 0 : (i == 0) == m_options.ImageCutFirstPageRight ? 2 : 1;
    }
    return parts;
}

bool PageRecipe::writesGrey(const QImage &pixels) const
{
    if (pixels.isNull())
        return false;
    return m_options.PageGrey == PageOptions::GreyEveryPage ||
           (m_options.PageGrey == PageOptions::GreyWithoutColour &&
            hasNoColour(pixels, PageOptions::GreyTolerance));
}

QList<PagePart> PageRecipe::carryOut(const QImage &picture, ScanCleanup *cleanup) const
{
    // Planned on the picture's own size, so that nothing is measured twice.
    if (picture.size() != m_facts.size)
        return forPictureOfSize(picture.size()).carryOut(picture, cleanup);
    const QImage page = cleaned(turned(picture), cleanup);
    const QRect trimmed = trimmedRect(page);
    QList<PagePart> parts;
    for (const QRect &region : cutRegions(
             m_plan.trim && trimmed.isValid() ? trimmed : insideBorder(page.size(), m_plan.border),
             m_options, m_plan.cut)) {
        PagePart part;
        part.source = region;
        // A page kept whole is not copied: it is tens of megabytes.
        const QImage cut = region.isEmpty()        ? QImage()
                           : region == page.rect() ? page
                                                   : page.copy(region);
        part.picture =
            ColourTone(m_options.ColourBoost, m_options.ColourGamma).applied(resized(cut));
        part.size = part.picture.size();
        part.grey = writesGrey(part.picture) || (m_keepsGrey && !part.picture.isNull());
        parts.append(part);
    }
    return placed(parts);
}

QImage PageRecipe::resized(const QImage &image) const
{
    if (!m_options.ImageResize || image.isNull())
        return image;
    const QSize size = resizedSize(image.size(), m_options);
    if (size.isEmpty())
        return QImage();
    return image.scaled(size, Qt::IgnoreAspectRatio,
                        m_options.ImageResizeSmooth ? Qt::SmoothTransformation
                                                    : Qt::FastTransformation);
}

QList<QByteArray> TransformPage(const QImage &source, const PageOptions &options)
{
    QList<QByteArray> pages;
    for (const PagePart &page : PageRecipe::ofPicture(source, options).carryOut(source))
        pages.append(encodeJpeg(page.picture, options.ImageQuality));
    return pages;
}
