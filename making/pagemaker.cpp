#include "making/pagemaker.h"

#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "pages/pagereader.h"
#include "pages/zipentrycopy.h"

// What a page thread is making.
struct PageMaker::Made
{
    int index = 0;
    QString name;
    OrderedPages::Page last; // the picture for the preview
    QString error;
    QString encodedWhy; // why a lossless cut was not made
    QString note;
    QSize squeezed; // a part fitted to less than half the screen's width
};

PageMaker::PageMaker(const QVector<BuildPage> &pages, const Settings &settings,
                     OrderedPages &ordered, const std::atomic_bool &stop)
    : m_pages(pages)
    , m_settings(settings)
    , m_kind(Packager::kind(settings.options.BookKind))
    , m_ordered(ordered)
    , m_stop(stop)
{}

// A page that cannot be read fails the book, or is left out and named when
// the user asked to go on without such pages.
void PageMaker::completeUnreadable(int index, const QString &name, const QString &why) const
{
    if (m_settings.unreadableLeftOut)
        m_ordered.complete(index,
                           {QString(), tr("left out: it cannot be read: %1").arg(why), true});
    else
        m_ordered.complete(index,
                           {tr("Page %1 cannot be read: %2").arg(name, why), QString(), true});
}

void PageMaker::make(int index) const
{
    Made made;
    made.index = index;
    made.name = m_pages.at(index).page.displayName();
    const PageOptions &options = m_settings.options;
    PageReader reader(m_pages.at(index).page);
    reader.setStopFlag(&m_stop);
    reader.setPdfResolution(options.PdfResolution);
    // Without an option that may keep a page's bytes, every page is decoded:
    // its JPEG check decodes it too, once for both.
    reader.setWholePictureWhileChecking(!PageRecipe::mayUseFileBytes(options));
    // A page cut on its blocks is cut from the coefficients its check read.
    reader.setBlocksKeptWhileChecking(options.LosslessCuts);
    // The file's bytes, held while the page is made, count against the
    // budget as its pixels do.
    qint64 heldFile = 0, heldPixels = 0;
    reader.setMemoryGate([&](qint64 bytes, PageReader::Holding holding) {
        m_ordered.reserve(index, bytes, holding);
        (holding == PageReader::FileBytes ? heldFile : heldPixels) += bytes;
    });
    const Reservation releaseFile{m_ordered, heldFile, PageReader::FileBytes};
    const Reservation releasePixels{m_ordered, heldPixels};
    if (!reader.readWithoutDecoding()) {
        if (stopped())
            m_ordered.complete(index, {});
        else
            completeUnreadable(index, made.name, reader.errorString());
        return;
    }
    const BuildPage &page = m_pages.at(index);
    // Told on a small picture: a blank page needs no more to be known.
    if (ScanCleanup::leftOutWhenBlank(options, page.treatment) &&
        ScanCleanup::isBlankPage(reader)) {
        m_ordered.complete(index, {QString(), tr("left out: it is blank")});
        return;
    }
    const PageRecipe recipe(reader.facts(), options, page.treatment);
    // The coefficients the check kept serve a cut on the blocks alone.
    if (recipe.route() != PageRecipe::CutOnBlocks)
        reader.takeJpegBlocks();
    if (recipe.route() == PageRecipe::Kept) {
        keepUnchanged(reader, recipe, made);
        m_ordered.complete(index, {made.error, made.note}, &made.last);
        return;
    }
    if (recipe.route() == PageRecipe::CutOnBlocks) {
        if (cutLosslessly(reader, recipe, made)) {
            m_ordered.complete(index, {made.error}, &made.last);
            return;
        }
        encodeAll(reader, recipe.encodedInstead(made.encodedWhy), made);
        return;
    }
    encodeAll(reader, recipe, made);
}

// The page decoded, each of its pictures made into its parts and each part
// encoded and handed on.
void PageMaker::encodeAll(PageReader &reader, const PageRecipe &recipe, Made &made) const
{
    const int index = made.index;
    if (made.encodedWhy.isEmpty())
        made.encodedWhy = recipe.encodedWhy();
    // The decoded picture, its copy for the encoder and the pages cut from it
    // (the check's picture has its room already); a scan straightened or
    // levelled is one more copy each.
    const QSize size = reader.headerSize();
    const int copies = (reader.holdsWholePicture() ? 2 : 3) + int(recipe.plan().straighten) +
                       int(recipe.plan().levels);
    const qint64 cost = qint64(size.width()) * size.height() * 4 * copies;
    m_ordered.reserve(index, cost);
    const Reservation release{m_ordered, cost};
    const QSize &bounds = m_settings.pictureBounds;
    int added = 0; // entries of the page handed to the writer
    const bool read = reader.readEach(PageReader::AllPictures, [&](const QImage &picture) {
        // An animation's other frames would be lost without a word.
        if (reader.frameCount() > 1 && !m_settings.partialPagesAllowed) {
            m_refusedPartialPage = true;
            made.error = tr("Page %1 is an animation of %2 frames; only its first can be a page.")
                             .arg(made.name)
                             .arg(reader.frameCount());
            return false;
        }
        if (made.last.pictureSize.isEmpty() && bounds.isValid()) {
            made.last.pictureSize = picture.size();
            made.last.picture =
                picture.width() > bounds.width() || picture.height() > bounds.height()
                    ? picture.scaled(bounds, Qt::KeepAspectRatio, Qt::FastTransformation)
                    : picture;
        }
        ScanCleanup cleanup;
        const QList<PagePart> parts = recipe.carryOut(PageReader::forEncoding(picture), &cleanup);
        if (made.note.isEmpty())
            made.note = cleanup.note();
        if (recipe.cleansScan())
            m_ordered.found(index, cleanup, recipe.plan().straighten);
        for (const PagePart &out : parts) {
            if (stopped())
                return false;
            if (out.isEmpty()) {
                made.error = nothingLeft(made.name, recipe.forPictureOfSize(picture.size()).plan());
                return false;
            }
            if (made.squeezed.isEmpty() && squeezed(out.size))
                made.squeezed = out.size;
            PackedEntry entry;
            ComicPage comicPage;
            made.error = encodePart(out, index, &entry, &comicPage);
            if (!made.error.isEmpty() || !m_ordered.add(index, entry, comicPage))
                return false;
            ++added;
        }
        return true;
    });
    const bool unread = !read && made.error.isEmpty() && !stopped();
    // Nothing of it was made: it is a page that cannot be read.
    if (unread && added == 0) {
        completeUnreadable(index, made.name, reader.errorString());
        return;
    }
    if (unread)
        made.error = tr("Page %1 cannot be read: %2").arg(made.name, reader.errorString());
    QStringList notes;
    if (!made.note.isEmpty())
        notes << made.note;
    if (!made.encodedWhy.isEmpty())
        notes << tr("encoded as usual, not cut on its blocks: %1").arg(made.encodedWhy);
    if (reader.frameCount() > 1)
        notes << tr("only the first of its %1 frames is used").arg(reader.frameCount());
    if (!made.squeezed.isEmpty())
        notes << tr("fitted to %1 × %2, less than half the screen's width: a long strip's tile "
                    "is cut to the screen's height when long strips are")
                     .arg(made.squeezed.width())
                     .arg(made.squeezed.height());
    m_ordered.complete(index, {made.error, notes.join(QStringLiteral("; "))}, &made.last);
}

// A page kept goes in byte for byte, under its own type's name, once it has
// decoded cleanly (a JPEG's blocks were all decoded by the check already).
void PageMaker::keepUnchanged(PageReader &reader, const PageRecipe &recipe, Made &made) const
{
    if (recipe.entrySuffix() != QLatin1String("jpg") &&
        !reader.readEach(PageReader::FirstPictureOnly, [](const QImage &) { return true; })) {
        made.error = tr("Page %1 cannot be read: %2").arg(made.name, reader.errorString());
        return;
    }
    const QSize size = reader.headerSize();
    PackedEntry entry = copiedFromZip(reader);
    if (entry.compressed.isEmpty())
        entry = packed(reader.fileData());
    entry.suffix = recipe.entrySuffix();
    if (reader.frameCount() > 1)
        made.note = tr("kept as an animation of %1 frames").arg(reader.frameCount());
    m_ordered.add(made.index, entry,
                  {size.width(), size.height(), reader.fileData().size(),
                   recipe.parts().constFirst().spread, QString()});
    if (m_settings.pictureBounds.isValid()) {
        made.last.picture = reader.reducedPicture(m_settings.pictureBounds);
        made.last.pictureSize = size;
    }
}

// A JPEG page turned, bordered and split on its blocks. True when the page
// was dealt with here; else made.encodedWhy says why it could not be, and
// it is made as usual.
bool PageMaker::cutLosslessly(PageReader &reader, const PageRecipe &recipe, Made &made) const
{
    const QSize size = reader.headerSize();
    const LosslessCut &cut = recipe.losslessCut();
    // The parts' coefficients, made from the page's while it is cut: as
    // many as the page's, which are read here too when the check kept none
    // (about three bytes a pixel each).
    std::shared_ptr<const JpegCheck::Blocks> blocks = reader.takeJpegBlocks();
    const qint64 cost = blocks ? blocks->bytes() : qint64(size.width()) * size.height() * 3 * 2;
    m_ordered.reserve(made.index, cost);
    const QList<QByteArray> pages = cut.run(reader.fileData(), &made.encodedWhy, std::move(blocks));
    m_ordered.release(cost);
    if (pages.isEmpty())
        return false;
    const QList<PagePart> parts = recipe.parts();
    for (int i = 0; i < pages.size(); ++i) {
        const QSize out = parts.at(i).size;
        QString why;
        PackedEntry entry = packed(pages.at(i), &why);
        entry.suffix = QStringLiteral("jpg");
        if (entry.compressed.isEmpty()) {
            made.error = tr("Page %1 cannot be compressed: %2").arg(made.name, why);
            return true;
        }
        ComicPage comicPage{out.width(), out.height(), pages.at(i).size(), parts.at(i).spread,
                            QString()};
        comicPage.half = parts.at(i).half;
        if (!m_ordered.add(made.index, entry, comicPage))
            return true;
    }
    if (m_settings.pictureBounds.isValid()) {
        made.last.picture = reader.reducedPicture(m_settings.pictureBounds);
        made.last.pictureSize = reader.headerSize();
    }
    return true;
}

// Whether a part fitted within the screen comes out less than half its
// width, its height the screen's: a long strip's tile made a sliver.
bool PageMaker::squeezed(const QSize &part) const
{
    const PageOptions &options = m_settings.options;
    return options.ImageResize && options.ImageResizeMode == PageOptions::ResizeToFit &&
           part.width() * 2 < options.ResizeImageWidth &&
           part.height() >= options.ResizeImageHeight - 1;
}

// The encoder's own buffers while it writes a page, a pixel: libwebp's take
// many times the pixels (measured with libwebp 1.2 on scans, at the quality
// and effort used here), libjpeg's a few rows.
static int encoderBytes(const PageOptions &options)
{
    return options.PageFormat == PageOptions::WebpLosslessPages ? 32
           : options.PageFormat == PageOptions::WebpPages       ? 16
                                                                : 0;
}

QString PageMaker::encodePart(const PagePart &out, int index, PackedEntry *entry,
                              ComicPage *comicPage) const
{
    const PageOptions &options = m_settings.options;
    const QString name = m_pages.at(index).page.displayName();
    QString why;
    const qint64 encoding = qint64(out.size.width()) * out.size.height() * encoderBytes(options);
    m_ordered.reserve(index, encoding);
    const QByteArray data = encodePage(out.picture, options, out.grey, &why);
    m_ordered.release(encoding);
    if (data.isEmpty())
        return tr("Page %1 cannot be encoded as %2: %3")
            .arg(name,
                 options.PageFormat != PageOptions::JpegPages ? QStringLiteral("WebP")
                                                              : QStringLiteral("JPEG"),
                 why);
    *entry = packed(data, &why);
    // Not the recipe's own: a page whose cut on its blocks failed is
    // encoded as the options say.
    entry->suffix = pageSuffix(options);
    if (entry->compressed.isEmpty())
        return tr("Page %1 cannot be compressed: %2").arg(name, why);
    *comicPage = {out.size.width(), out.size.height(), data.size(), out.spread, QString()};
    comicPage->half = out.half;
    return QString();
}

PackedEntry PageMaker::facingBlank(const ComicPage &spread, ComicPage *blank, QString *why) const
{
    const PageOptions &options = m_settings.options;
    QImage picture(qMax(1, spread.width / 2), qMax(1, spread.height), QImage::Format_Grayscale8);
    picture.fill(255);
    const QByteArray data = encodePage(
        picture, options, PageRecipe::ofPicture(picture, options).writesGrey(picture), why);
    PackedEntry entry = data.isEmpty() ? PackedEntry() : packed(data, why);
    entry.suffix = pageSuffix(options);
    *blank = {picture.width(), picture.height(), data.size(), false, QString()};
    blank->blank = true;
    return entry;
}

// A page kept as it is, from a ZIP archive that holds it as this book
// will (stored, or deflated unless pages are stored), goes over as the
// archive holds it: no deflate again. Its bytes as read and checked are the
// bytes the entry's CRC describes. An empty entry when it cannot be copied.
PackedEntry PageMaker::copiedFromZip(const PageReader &reader) const
{
    // The reader took the page's bytes from this very entry, its size and
    // CRC found right; an entry it could not take them from is not copied.
    const ZipEntryCopy &copy = reader.zipEntry();
    const bool allowed = m_kind.zipEntries &&
                         (copy.method == PackedEntry::Stored ||
                          (copy.method == PackedEntry::Deflated && !m_settings.options.StorePages));
    if (!copy.isValid() || !allowed)
        return PackedEntry();
    PackedEntry entry;
    entry.compressed = copy.compressed;
    entry.crc = copy.crc;
    entry.size = copy.size;
    entry.method = copy.method;
    return entry;
}

PackedEntry PageMaker::packed(const QByteArray &data, QString *error) const
{
    // A book of another kind than a ZIP takes the pages' bytes as they are.
    return m_settings.options.StorePages || !m_kind.zipEntries ? PackedEntry::store(data)
                                                               : PackedEntry::deflate(data, error);
}

// Why a page came to nothing: its border, or the size it was to have.
QString PageMaker::nothingLeft(const QString &name, const PagePlan &plan) const
{
    const PageOptions &options = m_settings.options;
    if (insideBorder(plan.turnedSize, plan.border).isEmpty())
        return tr("A border of %1 leaves nothing of page %2 (%3 × %4).")
            .arg(PageTreatment::borderText(plan.border))
            .arg(name)
            .arg(plan.turnedSize.width())
            .arg(plan.turnedSize.height());
    if (options.ImageResize)
        return tr("Fitted within %1 × %2, nothing is left of page %3 (%4 × %5).")
            .arg(options.ResizeImageWidth)
            .arg(options.ResizeImageHeight)
            .arg(name)
            .arg(plan.turnedSize.width())
            .arg(plan.turnedSize.height());
    return tr("Cut in two, nothing is left of one half of page %1 (%2 × %3).")
        .arg(name)
        .arg(plan.turnedSize.width())
        .arg(plan.turnedSize.height());
}
