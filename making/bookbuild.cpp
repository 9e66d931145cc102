#include "making/bookbuild.h"

#include "scans/facingpages.h"

#include "making/zipwriter.h"
#include "making/epubpackage.h"
#include "making/longstrip.h"
#include "making/losslesscut.h"
#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "pages/pagelocation.h"
#include "pages/pagereader.h"
#include "pages/pdfpages.h"
#include "pages/zipentrycopy.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

static_assert(PageOptions::PdfDpi.minimum == PdfPages::MinimumResolution &&
                  PageOptions::PdfDpi.maximum == PdfPages::MaximumResolution &&
                  PageOptions::PdfDpi.initial == PdfPages::DefaultResolution,
              "the PDF resolution's range is the renderer's");

// What one page has given so far, until the writer has taken all of it.
struct BookBuild::Page
{
    QVector<PackedEntry> entries;  // made, not written yet
    QVector<ComicPage> comicPages; // one an entry
    bool complete = false;
    QImage picture;    // the page as decoded, reduced, when wanted
    QSize pictureSize; // the page's own size
};

// What the page threads and the writer share. Pages are written strictly in
// order; a page that has more entries ready than the writer can take yet
// (a TIFF of many pictures) waits, so that its pictures are made and written
// one at a time instead of all held at once. Decoded pixels are held within
// a budget: a page waits for room unless it is the one the writer waits for.
class BookBuild::Progress
{
public:
    Progress(const std::atomic_bool &stop, qint64 budget)
        : m_stop(stop)
        , m_budget(budget)
    {}

    static constexpr int PendingEntries = 2;

    // A page thread's entry; false when the build is stopping.
    bool add(int index, const PackedEntry &entry, const ComicPage &comicPage)
    {
        QMutexLocker locker(&mutex);
        Page &page = pages[index];
        while (!stopping() && page.entries.size() >= PendingEntries)
            changed.wait(&mutex);
        if (stopping())
            return false;
        page.entries.append(entry);
        page.comicPages.append(comicPage);
        changed.wakeAll();
        return true;
    }

    void complete(int index, const QString &error, Page *last = nullptr,
                  const QString &note = QString(), bool unread = false)
    {
        QMutexLocker locker(&mutex);
        Page &page = pages[index];
        if (!note.isEmpty())
            notes.insert(index, note);
        if (unread)
            (error.isEmpty() ? unreadable : unreadableFailures).append(index);
        if (last) {
            page.picture = std::move(last->picture);
            page.pictureSize = last->pictureSize;
        }
        page.complete = true;
        if (!error.isEmpty()) {
            errors.insert(index, error);
            failed = true;
        }
        changed.wakeAll();
    }

    void reserve(int index, qint64 bytes)
    {
        QMutexLocker locker(&mutex);
        while (!stopping() && index != front && inUse > 0 && inUse + bytes > m_budget)
            changed.wait(&mutex);
        inUse += bytes;
    }

    void release(qint64 bytes)
    {
        QMutexLocker locker(&mutex);
        inUse -= bytes;
        changed.wakeAll();
    }

    // The writer's turn: what the page at the front has ready, waiting for it.
    Page takeFront(bool *complete)
    {
        QMutexLocker locker(&mutex);
        for (;;) {
            Page &page = pages[front];
            if (stopping() || page.complete || !page.entries.isEmpty())
                break;
            changed.wait(&mutex);
        }
        Page &page = pages[front];
        Page taken;
        taken.entries.swap(page.entries);
        taken.comicPages.swap(page.comicPages);
        *complete = page.complete && !stopping();
        if (*complete) {
            taken.picture = std::move(page.picture);
            taken.pictureSize = page.pictureSize;
            pages.remove(front);
            ++front;
        }
        changed.wakeAll();
        return taken;
    }

    bool hasFailed()
    {
        QMutexLocker locker(&mutex);
        return failed;
    }

    void wakeAll()
    {
        QMutexLocker locker(&mutex);
        changed.wakeAll();
    }

    QMap<int, QString> errors;       // by page, once the pool is done
    QMap<int, QString> notes;        // by page
    QVector<int> unreadable;         // pages left out, unread
    QVector<int> unreadableFailures; // pages that failed the book, unread
    // What cleaning up each page found, and whether it was to be straightened.
    QMap<int, QPair<ScanCleanup, bool>> cleanups;

    // The first picture's findings speak for the page.
    void found(int index, const ScanCleanup &cleanup, bool straighten)
    {
        QMutexLocker locker(&mutex);
        if (!cleanups.contains(index))
            cleanups.insert(index, {cleanup, straighten});
    }

private:
    bool stopping() const { return failed || m_stop.load(std::memory_order_relaxed); }

    QMutex mutex;
    QWaitCondition changed;
    QHash<int, Page> pages;
    bool failed = false;
    int front = 0;
    qint64 inUse = 0;
    const std::atomic_bool &m_stop;
    const qint64 m_budget;
};

// Bytes reserved for what a page holds (its file, its pixels), given back
// when it goes, however the page ends.
struct BookBuild::Reservation
{
    Progress &progress;
    const qint64 &bytes;
    ~Reservation() { progress.release(bytes); }
};

// A page of a long strip, encoded.
struct BookBuild::StripPage
{
    PackedEntry entry;
    ComicPage comicPage;
    QString error;
};

// What a page thread is making.
struct BookBuild::Made
{
    int index = 0;
    Progress *progress = nullptr;
    Page last; // the picture for the preview
    QString error;
    QString encodedWhy; // why a lossless cut was not made
    QString note;
};

BookBuild::BookBuild(const QString &fileName, const QVector<BuildPage> &pages,
                   const PageOptions &options, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_pages(pages)
    , m_options(options)
{
    qRegisterMetaType<BookBuild::Result>();
}

BookBuild::~BookBuild()
{
    cancel();
    QMutexLocker locker(&m_runMutex);
    while (m_running)
        m_runEnded.wait(&m_runMutex);
}

int BookBuild::threadCount() const
{
    const int ideal = qMax(1, QThread::idealThreadCount());
    return qBound(1, m_threads > 0 ? m_threads : ideal, qMin(64, 4 * ideal));
}

void BookBuild::cancel()
{
    if (m_committing)
        return;
    m_canceled = true;
    m_stop = true;
}

// The blank page put before a spread: paper white, as tall as the spread
// and half as wide, written as the options write pages. Empty when it was
// added; else why not.
QString BookBuild::addFacingBlank(ZipWriter &writer, const ComicPage &spread,
                                 QVector<ComicPage> *comicPages) const
{
    QImage blank(qMax(1, spread.width / 2), qMax(1, spread.height), QImage::Format_Grayscale8);
    blank.fill(255);
    QString why;
    const QByteArray data = encodePage(
        blank, m_options, PageRecipe::ofPicture(blank, m_options).writesGrey(blank), &why);
    PackedEntry entry = data.isEmpty() ? PackedEntry() : packed(data, &why);
    entry.suffix = pageSuffix(m_options);
    if (entry.compressed.isEmpty() || !writer.addEntry(entry))
        return tr("The blank page before a spread cannot be written: %1")
            .arg(why.isEmpty() ? writer.errorString() : why);
    ComicPage page{blank.width(), blank.height(), data.size(), false, QString()};
    page.blank = true;
    comicPages->append(page);
    return QString();
}

// The EPUB's pages, navigation and package, after its pictures. Its
// identifier is made of what its pictures hold and what it says of itself,
// and its date is its newest page file's: the same pages and options give
// the same book, byte for byte. Empty when written; else why not.
QString BookBuild::addEpubDocuments(ZipWriter &writer, const QVector<ComicPage> &comicPages,
                                   const QStringList &pictureNames) const
{
    QVector<EpubPackage::Page> pages;
    QByteArray identity = comicInfoXml(m_comicInfo, comicPages);
    for (int i = 0; i < comicPages.size(); ++i) {
        const ComicPage &page = comicPages.at(i);
        pages.append({pictureNames.at(i), QSize(page.width, page.height), page.half,
                      page.doublePage, page.bookmark});
        identity += pictureNames.at(i).toUtf8() + QByteArray::number(page.bytes);
    }
    // "Tales.kepub.epub" is the book "Tales".
    QString name = QFileInfo(m_fileName).fileName();
    const QLatin1String suffix(PageOptions::suffixOf(m_options.BookKind));
    if (name.endsWith(suffix, Qt::CaseInsensitive) && name.size() > suffix.size())
        name.chop(suffix.size());
    else
        name = QFileInfo(m_fileName).completeBaseName();
    EpubPackage epub(m_comicInfo, name, pages);
    epub.setForKobo(m_options.BookKind == PageOptions::KepubBook);
    for (const auto &document : epub.documents(identity, newestPageTime())) {
        if (document.first == QLatin1String("mimetype"))
            continue; // first of all, already
        QString why;
        const PackedEntry entry = PackedEntry::deflate(document.second, &why);
        if (entry.compressed.isEmpty())
            return why;
        if (!writer.addNamedEntry(document.first, entry))
            return writer.errorString();
    }
    return QString();
}

// When the book last changed: its newest page file's time, to the second.
QDateTime BookBuild::newestPageTime() const
{
    QDateTime newest = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    for (const BuildPage &page : m_pages)
        newest = qMax(newest, QFileInfo(page.page.file()).lastModified().toUTC());
    return QDateTime::fromSecsSinceEpoch(newest.toSecsSinceEpoch(), Qt::UTC);
}

// A page kept goes in byte for byte, under its own type's name, once it has
// decoded cleanly (a JPEG's blocks were all decoded by the check already).
void BookBuild::keepUnchanged(PageReader &reader, const PageRecipe &recipe, Made &made) const
{
    if (recipe.entrySuffix() != QLatin1String("jpg") &&
        !reader.readEach(PageReader::FirstPictureOnly, [](const QImage &) { return true; })) {
        made.error = tr("Page %1 cannot be read: %2")
                         .arg(m_pages.at(made.index).page.displayName(), reader.errorString());
        return;
    }
    const QSize size = reader.headerSize();
    PackedEntry entry = copiedFromZip(reader);
    if (entry.compressed.isEmpty())
        entry = packed(reader.fileData());
    entry.suffix = recipe.entrySuffix();
    if (reader.frameCount() > 1)
        made.note = tr("kept as an animation of %1 frames").arg(reader.frameCount());
    made.progress->add(made.index, entry,
                       {size.width(), size.height(), reader.fileData().size(),
                        recipe.parts().constFirst().spread, QString()});
    if (m_pictureBounds.isValid()) {
        made.last.picture = reader.reducedPicture(m_pictureBounds);
        made.last.pictureSize = size;
    }
}

// A JPEG page turned, bordered and split on its blocks. True when the page
// was dealt with here; else made.encodedWhy says why it could not be, and
// it is made as usual.
bool BookBuild::cutLosslessly(PageReader &reader, const PageRecipe &recipe, Made &made) const
{
    const QSize size = reader.headerSize();
    const LosslessCut &cut = recipe.losslessCut();
    // The parts' coefficients, made from the page's while it is cut: as
    // many as the page's, which are read here too when the check kept none
    // (about three bytes a pixel each).
    std::shared_ptr<const JpegCheck::Blocks> blocks = reader.takeJpegBlocks();
    const qint64 cost = blocks ? blocks->bytes() : qint64(size.width()) * size.height() * 3 * 2;
    made.progress->reserve(made.index, cost);
    const QList<QByteArray> pages = cut.run(reader.fileData(), &made.encodedWhy, std::move(blocks));
    made.progress->release(cost);
    if (pages.isEmpty())
        return false;
    const QList<PagePart> parts = recipe.parts();
    for (int i = 0; i < pages.size(); ++i) {
        const QSize out = parts.at(i).size;
        QString why;
        PackedEntry entry = packed(pages.at(i), &why);
        entry.suffix = QStringLiteral("jpg");
        if (entry.compressed.isEmpty()) {
            made.error = tr("Page %1 cannot be compressed: %2")
                             .arg(m_pages.at(made.index).page.displayName(), why);
            return true;
        }
        ComicPage comicPage{out.width(), out.height(), pages.at(i).size(), parts.at(i).spread,
                            QString()};
        comicPage.half = parts.at(i).half;
        if (!made.progress->add(made.index, entry, comicPage))
            return true;
    }
    if (m_pictureBounds.isValid()) {
        made.last.picture = reader.reducedPicture(m_pictureBounds);
        made.last.pictureSize = reader.headerSize();
    }
    return true;
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

// A part of page index encoded and packed as the options say. Empty when
// it was; else why not.
QString BookBuild::encodePart(const PagePart &out, const QString &name, int index,
                             Progress &progress, PackedEntry *entry, ComicPage *comicPage) const
{
    QString why;
    const qint64 encoding = qint64(out.size.width()) * out.size.height() * encoderBytes(m_options);
    progress.reserve(index, encoding);
    const QByteArray data = encodePage(out.picture, m_options, out.grey, &why);
    progress.release(encoding);
    if (data.isEmpty())
        return tr("Page %1 cannot be encoded as %2: %3")
            .arg(name,
                 m_options.PageFormat != PageOptions::JpegPages ? QStringLiteral("WebP")
                                                                : QStringLiteral("JPEG"),
                 why);
    *entry = packed(data, &why);
    // Not the recipe's own: a page whose cut on its blocks failed is
    // encoded as the options say.
    entry->suffix = pageSuffix(m_options);
    if (entry->compressed.isEmpty())
        return tr("Page %1 cannot be compressed: %2").arg(name, why);
    *comicPage = {out.size.width(), out.size.height(), data.size(), out.spread, QString()};
    comicPage->half = out.half;
    return QString();
}

// The rows of a long strip's run of pages made into pages a screen high:
// its pages read in order on this thread, each cut decided as soon as the
// rows below it are known, and the pages cut encoded on threads of their
// own, handed on in order as entries of the run's first page. The other
// pages of the run give no entries of their own; each is told what became
// of it (a cut through its art) once the strip is done.
void BookBuild::makeStrip(const LongStrip::Run &run, Progress &progress) const
{
    const PageOptions pieceOptions = LongStrip::pieceOptions(m_options);
    const int first = run.first;
    QThreadPool encoders;
    encoders.setMaxThreadCount(threadCount());
    QList<QFuture<StripPage>> encoding; // oldest first
    QString error;
    int failedPage = first;
    bool unread = false;
    bool halted = false; // the build stops: another page failed
    // An encoded page goes in once those before it have.
    const auto handOn = [&](bool all) {
        while (!encoding.isEmpty() && (all || encoding.size() > encoders.maxThreadCount())) {
            const StripPage made = encoding.takeFirst().result();
            if (!error.isEmpty() || halted || stopped())
                continue;
            if (!made.error.isEmpty())
                error = made.error;
            else if (!progress.add(first, made.entry, made.comicPage))
                halted = true;
        }
    };
    QMap<int, QVector<int>> cutsThroughArt; // rows, by page
    int pieces = 0;
    const auto takePieces = [&](LongStrip &strip) {
        LongStrip::Piece piece;
        while (error.isEmpty() && !halted && strip.takePiece(&piece)) {
            ++pieces;
            if (piece.cut.throughArt)
                cutsThroughArt[first + piece.cut.tile] << piece.cut.row;
            const QString name = m_pages.at(first).page.displayName();
            const qint64 cost = piece.picture.sizeInBytes() * 3;
            progress.reserve(first, cost);
            encoding.append(QtConcurrent::run(&encoders, [=, &progress] {
                StripPage made;
                const QList<PagePart> parts =
                    PageRecipe::ofPicture(piece.picture, pieceOptions).carryOut(piece.picture);
                made.error =
                    parts.size() == 1 && !parts.first().isEmpty()
                        ? encodePart(parts.first(), name, first, progress, &made.entry,
                                     &made.comicPage)
                        : tr("A page of the long strip from page %1 comes to nothing.").arg(name);
                progress.release(cost);
                return made;
            }));
            handOn(false);
        }
    };
    std::unique_ptr<LongStrip> strip;
    QVector<Page> pictures(run.count); // for the preview, by page of the run
    QMap<int, QString> leftOut;        // by page
    // Each tile is read while the one before it is cut.
    // Its file and pixels count against the budget as a page's do, the
    // rows the strip holds of it once it is added.
    const auto readTile = [this, first, &progress](int index) {
        return LongStrip::readTile(
            m_pages.at(index).page, m_options.PdfResolution, &m_stop,
            [first, &progress](qint64 bytes) { progress.reserve(first, bytes); });
    };
    qint64 held = 0;
    const auto holdRows = [&] {
        const qint64 now = strip ? strip->heldBytes() : 0;
        if (now > held)
            progress.reserve(first, now - held);
        else
            progress.release(held - now);
        held = now;
    };
    QFuture<LongStrip::TilePicture> next = QtConcurrent::run(readTile, first);
    bool pending = true; // next is read, not taken yet
    for (int tile = 0; tile < run.count && error.isEmpty() && !halted && !stopped(); ++tile) {
        const int index = first + tile;
        const QString name = m_pages.at(index).page.displayName();
        LongStrip::TilePicture read = next.result();
        pending = false;
        const Reservation reading{progress, read.reserved};
        if (tile + 1 < run.count) {
            next = QtConcurrent::run(readTile, index + 1);
            pending = true;
        }
        QImage picture = std::move(read.picture);
        if (!read.error.isEmpty()) {
            if (stopped())
                break;
            if (m_unreadableLeftOut) {
                leftOut.insert(index, read.error);
                continue;
            }
            error = tr("Page %1 cannot be read: %2").arg(name, read.error);
            failedPage = index;
            unread = true;
            break;
        }
        if (read.several) {
            error = tr("Page %1 holds more than one picture; a long strip is made of pages of one "
                       "each. Leave it uncut.")
                        .arg(name);
            failedPage = index;
            break;
        }
        if (!strip)
            strip.reset(new LongStrip(LongStrip::pieceRows(picture.width(), m_options)));
        else if (strip->width() != picture.width()) {
            error = tr("Page %1 is %2 pixels wide, the long strip it is in %3. Leave it uncut.")
                        .arg(name)
                        .arg(picture.width())
                        .arg(strip->width());
            failedPage = index;
            break;
        }
        if (m_pictureBounds.isValid()) {
            pictures[tile].pictureSize = picture.size();
            pictures[tile].picture = picture.scaled(picture.size().boundedTo(m_pictureBounds),
                                                    Qt::KeepAspectRatio, Qt::FastTransformation);
        }
        strip->add(picture);
        picture = QImage();
        holdRows();
        takePieces(*strip);
        holdRows();
    }
    if (strip && error.isEmpty() && !halted && !stopped()) {
        strip->end();
        takePieces(*strip);
    }
    if (pending)
        progress.release(next.result().reserved);
    handOn(true);
    progress.release(held);
    if ((halted || stopped()) && error.isEmpty()) {
        for (int tile = 0; tile < run.count; ++tile)
            progress.complete(first + tile, QString());
        return;
    }
    for (int tile = run.count - 1; tile >= 0; --tile) {
        const int index = first + tile;
        QStringList notes;
        if (tile == 0 && error.isEmpty())
            notes << (run.count == 1 ? tr("a long strip, cut into %1 pages").arg(pieces)
                                     : tr("its long strip of %1 pages is cut into %2")
                                           .arg(run.count)
                                           .arg(pieces));
        if (leftOut.contains(index))
            notes << tr("left out: it cannot be read: %1").arg(leftOut.value(index));
        else if (tile > 0 && error.isEmpty())
            notes << tr("joined to the long strip that begins with page %1")
                         .arg(m_pages.at(first).page.displayName());
        if (cutsThroughArt.contains(index))
            notes << LongStrip::throughArtNote(cutsThroughArt.value(index));
        progress.complete(index, index == failedPage ? error : QString(), &pictures[tile],
                          notes.join(QStringLiteral("; ")),
                          leftOut.contains(index) || (unread && index == failedPage));
    }
}

void BookBuild::makePage(int index, Progress &progress) const
{
    // A page of a long strip is made with the rest of it.
    const int run = m_runOf.value(index, -1);
    if (run >= 0) {
        if (m_runs.at(run).first == index)
            makeStrip(m_runs.at(run), progress);
        return;
    }
    Made made;
    made.index = index;
    made.progress = &progress;
    const QString name = m_pages.at(index).page.displayName();
    PageReader reader(m_pages.at(index).page);
    reader.setStopFlag(&m_stop);
    reader.setPdfResolution(m_options.PdfResolution);
    // Without an option that may keep a page's bytes, every page is decoded:
    // its JPEG check decodes it too, once for both.
    reader.setWholePictureWhileChecking(!PageRecipe::mayUseFileBytes(m_options));
    // A page cut on its blocks is cut from the coefficients its check read.
    reader.setBlocksKeptWhileChecking(m_options.LosslessCuts);
    // The file's bytes, held while the page is made, count against the
    // budget as its pixels do.
    qint64 held = 0;
    reader.setMemoryGate([&](qint64 bytes) {
        progress.reserve(index, bytes);
        held += bytes;
    });
    const Reservation release{progress, held};
    const auto unreadable = [&] {
        return tr("Page %1 cannot be read: %2").arg(name, reader.errorString());
    };
    // A page that cannot be read fails the book, or is left out and named
    // when the user asked to go on without such pages.
    const auto failUnreadable = [&] {
        if (stopped())
            progress.complete(index, QString());
        else if (m_unreadableLeftOut)
            progress.complete(index, QString(), nullptr,
                              tr("left out: it cannot be read: %1").arg(reader.errorString()),
                              true);
        else
            progress.complete(index, unreadable(), nullptr, QString(), true);
    };
    if (!reader.readWithoutDecoding()) {
        failUnreadable();
        return;
    }
    const BuildPage &page = m_pages.at(index);
    // Told on a small picture: a blank page needs no more to be known.
    if (ScanCleanup::leftOutWhenBlank(m_options, page.treatment) &&
        ScanCleanup::isBlankPage(reader)) {
        progress.complete(index, QString(), nullptr, tr("left out: it is blank"));
        return;
    }
    const PageRecipe recipe(reader.facts(), m_options, page.treatment);
    // The coefficients the check kept serve a cut on the blocks alone.
    if (recipe.route() != PageRecipe::CutOnBlocks)
        reader.takeJpegBlocks();
    if (recipe.route() == PageRecipe::Kept) {
        keepUnchanged(reader, recipe, made);
        progress.complete(index, made.error, &made.last, made.note);
        return;
    }
    if (recipe.route() == PageRecipe::CutOnBlocks && cutLosslessly(reader, recipe, made)) {
        progress.complete(index, made.error, &made.last);
        return;
    }
    if (made.encodedWhy.isEmpty())
        made.encodedWhy = recipe.encodedWhy();
    // The decoded picture, its copy for the encoder and the pages cut from it
    // (the check's picture has its room already).
    const QSize size = reader.headerSize();
    // A scan straightened or levelled is one more copy each.
    const int copies = (reader.holdsWholePicture() ? 2 : 3) + int(recipe.plan().straighten) +
                       int(recipe.plan().levels);
    const qint64 cost = qint64(size.width()) * size.height() * 4 * copies;
    progress.reserve(index, cost);
    int added = 0; // entries of the page handed to the writer
    const bool read = reader.readEach(PageReader::AllPictures, [&](const QImage &picture) {
        // An animation's other frames would be lost without a word.
        if (reader.frameCount() > 1 && !m_partialPagesAllowed) {
            m_refusedPartialPage = true;
            made.error = tr("Page %1 is an animation of %2 frames; only its first can be a page.")
                             .arg(name)
                             .arg(reader.frameCount());
            return false;
        }
        if (made.last.pictureSize.isEmpty() && m_pictureBounds.isValid()) {
            made.last.pictureSize = picture.size();
            made.last.picture =
                picture.width() > m_pictureBounds.width() ||
                        picture.height() > m_pictureBounds.height()
                    ? picture.scaled(m_pictureBounds, Qt::KeepAspectRatio, Qt::FastTransformation)
                    : picture;
        }
        ScanCleanup cleanup;
        const QList<PagePart> parts = recipe.carryOut(PageReader::forEncoding(picture), &cleanup);
        if (made.note.isEmpty())
            made.note = cleanup.note();
        if (recipe.cleansScan())
            progress.found(index, cleanup, recipe.plan().straighten);
        for (int part = 0; part < parts.size(); ++part) {
            const PagePart &out = parts.at(part);
            if (stopped())
                return false;
            if (out.isEmpty()) {
                made.error = nothingLeft(name, recipe.forPictureOfSize(picture.size()).plan());
                return false;
            }
            PackedEntry entry;
            ComicPage comicPage;
            made.error = encodePart(out, name, index, progress, &entry, &comicPage);
            if (!made.error.isEmpty())
                return false;
            if (!progress.add(index, entry, comicPage))
                return false;
            ++added;
        }
        return true;
    });
    progress.release(cost);
    if (!read && made.error.isEmpty() && !stopped() && added == 0) {
        failUnreadable();
        return;
    }
    if (!read && made.error.isEmpty() && !stopped())
        made.error = unreadable();
    QStringList notes;
    if (!made.note.isEmpty())
        notes << made.note;
    if (!made.encodedWhy.isEmpty())
        notes << tr("encoded as usual, not cut on its blocks: %1").arg(made.encodedWhy);
    if (reader.frameCount() > 1)
        notes << tr("only the first of its %1 frames is used").arg(reader.frameCount());
    progress.complete(index, made.error, &made.last, notes.join(QStringLiteral("; ")));
}

// A page kept as it is, from a ZIP archive that holds it as this archive
// will (stored, or deflated unless pages are stored), goes over as the
// archive holds it: no deflate again. Its bytes as read and checked are the
// bytes the entry's CRC describes. An empty entry when it cannot be copied.
PackedEntry BookBuild::copiedFromZip(const PageReader &reader) const
{
    // The reader took the page's bytes from this very entry, its size and
    // CRC found right; an entry it could not take them from is not copied.
    const ZipEntryCopy &copy = reader.zipEntry();
    const bool allowed = copy.method == PackedEntry::Stored ||
                         (copy.method == PackedEntry::Deflated && !m_options.StorePages);
    if (!copy.isValid() || !allowed)
        return PackedEntry();
    PackedEntry entry;
    entry.compressed = copy.compressed;
    entry.crc = copy.crc;
    entry.size = copy.size;
    entry.method = copy.method;
    return entry;
}

// A page's entry, deflated or stored as the options say.
PackedEntry BookBuild::packed(const QByteArray &data, QString *error) const
{
    return m_options.StorePages ? PackedEntry::store(data) : PackedEntry::deflate(data, error);
}

// Why a page came to nothing: its border, or the size it was to have.
QString BookBuild::nothingLeft(const QString &name, const PagePlan &plan) const
{
    if (insideBorder(plan.turnedSize, plan.border).isEmpty())
        return tr("A border of %1 leaves nothing of page %2 (%3 × %4).")
            .arg(PageTreatment::borderText(plan.border))
            .arg(name)
            .arg(plan.turnedSize.width())
            .arg(plan.turnedSize.height());
    if (m_options.ImageResize)
        return tr("Fitted within %1 × %2, nothing is left of page %3 (%4 × %5).")
            .arg(m_options.ResizeImageWidth)
            .arg(m_options.ResizeImageHeight)
            .arg(name)
            .arg(plan.turnedSize.width())
            .arg(plan.turnedSize.height());
    return tr("Cut in two, nothing is left of one half of page %1 (%2 × %3).")
        .arg(name)
        .arg(plan.turnedSize.width())
        .arg(plan.turnedSize.height());
}

BookBuild::Result BookBuild::finish(Result result, const QStringList &errors)
{
    m_result = result;
    m_errors = result == Failed ? errors : QStringList();
    emit finished(m_result, errorString());
    return m_result;
}

// The archive may take the place of nothing, or of a regular file when
// allowed; never of a page of this very book, nor of a device or a pipe.
QString BookBuild::checkTarget() const
{
#ifdef Q_OS_UNIX
    struct stat target;
    if (::lstat(QFile::encodeName(m_fileName).constData(), &target) != 0)
        return QString();
    if (!S_ISREG(target.st_mode))
        return tr("%1 is not a regular file; an archive cannot take its place.")
            .arg(QDir::toNativeSeparators(m_fileName));
    if (!m_replace)
        return tr("%1 exists already.").arg(QDir::toNativeSeparators(m_fileName));
    // An archive or a PDF the pages come from counts as much as a page file.
    for (const BuildPage &page : m_pages) {
        struct stat info;
        if (::stat(QFile::encodeName(page.page.file()).constData(), &info) == 0 &&
            info.st_dev == target.st_dev && info.st_ino == target.st_ino)
            return tr("%1 is a page of this book; the archive cannot take its place.")
                .arg(QDir::toNativeSeparators(m_fileName));
    }
#else
    if (QFileInfo::exists(m_fileName) && !m_replace)
        return tr("%1 exists already.").arg(QDir::toNativeSeparators(m_fileName));
#endif
    return QString();
}

// Which pages make long strips, when they are to be cut: their headers
// read on the build's threads.
void BookBuild::findStrips()
{
    m_runs.clear();
    m_runOf.fill(-1, m_pages.size());
    if (!m_options.CutLongStrips)
        return;
    m_runs = LongStrip::runsIn(m_pages, m_options.PdfResolution, threadCount(), &m_stop);
    for (int run = 0; run < m_runs.size(); ++run) {
        for (int page = 0; page < m_runs.at(run).count; ++page)
            m_runOf[m_runs.at(run).first + page] = run;
    }
}

BookBuild::Result BookBuild::run()
{
    {
        QMutexLocker locker(&m_runMutex);
        m_running = true;
    }
    const Result result = build();
    QMutexLocker locker(&m_runMutex);
    m_running = false;
    m_runEnded.wakeAll();
    return result;
}

BookBuild::Result BookBuild::build()
{
    m_stop = m_canceled.load();
    m_committing = false;
    m_pictureBounds = m_observer ? m_observer->pictureBounds() : QSize();
    m_refusedPartialPage = false;
    const QString trouble = checkTarget();
    if (!trouble.isEmpty())
        return finish(Failed, {trouble});
    const bool epub = m_options.BookKind != PageOptions::CbzBook;
    // Said before anything is made: an EPUB reader need not show WebP.
    if (epub && m_options.PageFormat != PageOptions::JpegPages)
        return finish(Failed, {tr("An EPUB holds JPEG and PNG pages: not every e-reader shows "
                                  "WebP. Choose JPEG pages for an EPUB.")});
    ZipWriter writer;
    if (!writer.open(m_fileName))
        return finish(Failed, {writer.errorString()});
    // An EPUB's first entry says what it is, stored, as readers look for it.
    if (epub) {
        writer.setPageFolder(QLatin1String(EpubPackage::ImageFolder));
        writer.setEntryTime(newestPageTime());
        if (!writer.addNamedEntry(QStringLiteral("mimetype"),
                                  PackedEntry::store(EpubPackage::mimetype()))) {
            writer.discard();
            return finish(Failed, {writer.errorString()});
        }
    }

    findStrips();
    Progress progress(m_stop, m_memoryBudget);
    const int threads = threadCount();
    const int inFlightLimit = threads + 2;
    QThreadPool pool;
    pool.setMaxThreadCount(threads);

    int submitted = 0;
    int written = 0;
    QVector<ComicPage> comicPages;
    FacingPages facing;
    QMap<int, QString> facingNotes; // by page
    int bookmarked = -1;
    QString error;
    QStringList pictureNames; // each entry's name, in order
    auto startPages = [&] {
        while (submitted < m_pages.size() && submitted - written < inFlightLimit) {
            const int index = submitted++;
            pool.start([this, index, &progress] {
                if (stopped())
                    progress.complete(index, QString());
                else
                    makePage(index, progress);
            });
        }
    };

    startPages();
    while (written < m_pages.size() && !stopped() && !progress.hasFailed()) {
        bool complete = false;
        Page page = progress.takeFront(&complete);
        if (stopped() || progress.hasFailed())
            break;
        // A chapter's name marks the first entry of its first page.
        if (bookmarked < written && !page.comicPages.isEmpty()) {
            page.comicPages.first().bookmark = m_pages.at(written).bookmark;
            bookmarked = written;
        }
        for (int i = 0; i < page.entries.size() && error.isEmpty(); ++i) {
            const ComicPage &comicPage = page.comicPages.at(i);
            if (m_options.FacingSpreads && facing.blankBefore(comicPage.doublePage)) {
                error = addFacingBlank(writer, comicPage, &comicPages);
                if (error.isEmpty())
                    pictureNames.append(writer.lastPageName());
                facingNotes.insert(written, tr("a blank page put before it, so that the spread "
                                               "sits on facing pages"));
            }
            facing.place(comicPage.doublePage);
            if (error.isEmpty() && !writer.addEntry(page.entries.at(i)))
                error = writer.errorString();
            comicPages.append(comicPage);
            pictureNames.append(writer.lastPageName());
        }
        if (!error.isEmpty())
            break;
        if (!complete)
            continue;
        if (m_observer)
            m_observer->pagePicture(m_pages.at(written).row, page.picture, page.pictureSize);
        emit pageWritten(m_pages.at(written).row, writer.pageCount());
        ++written;
        startPages();
    }

    // The pages still in the pool end at their next step; after a damaged
    // page they are still checked, so that the report names every damaged
    // page among them, not only the first.
    if (!progress.hasFailed() || !error.isEmpty())
        m_stop = true;
    progress.wakeAll();
    pool.waitForDone();
    const QStringList errors =
        error.isEmpty() ? QStringList(progress.errors.values()) : QStringList{error};
    m_pageNotes.clear();
    for (auto page = facingNotes.cbegin(); page != facingNotes.cend(); ++page) {
        const QString note = progress.notes.value(page.key());
        progress.notes.insert(
            page.key(), note.isEmpty() ? page.value() : note + QStringLiteral("; ") + page.value());
    }
    for (auto page = progress.notes.cbegin(); page != progress.notes.cend(); ++page)
        m_pageNotes.append({m_pages.at(page.key()).row, page.value()});
    // Failed on pages that could be left out, and on nothing else.
    m_failedOnUnreadable = !progress.errors.isEmpty() && error.isEmpty() &&
                           progress.unreadableFailures.size() == progress.errors.size();
    m_scanFindings.clear();
    for (auto found = progress.cleanups.cbegin(); found != progress.cleanups.cend(); ++found)
        m_scanFindings.append({m_pages.at(found.key()).row, m_pages.at(found.key()),
                               found.value().first, found.value().second});
    m_leftOutRows.clear();
    for (const int index : qAsConst(progress.unreadable))
        m_leftOutRows.append(m_pages.at(index).row);
    std::sort(m_leftOutRows.begin(), m_leftOutRows.end());
    if (m_canceled) {
        writer.discard();
        return finish(Canceled);
    }
    if (!errors.isEmpty()) {
        writer.discard();
        return finish(Failed, errors);
    }
    m_entryCount = writer.pageCount();
    // Every page left out (blank, or unread): a book of nothing is no book.
    if (writer.pageCount() == 0 && !m_pages.isEmpty()) {
        writer.discard();
        return finish(Failed, {tr("Every page was left out: there is no page to make a book of.")});
    }
    const QString finishing =
        epub ? addEpubDocuments(writer, comicPages, pictureNames)
        : m_comicInfo.write &&
                !writer.addNamedEntry(QStringLiteral("ComicInfo.xml"),
                                      PackedEntry::deflate(comicInfoXml(m_comicInfo, comicPages)))
            ? writer.errorString()
            : QString();
    if (!finishing.isEmpty()) {
        writer.discard();
        return finish(Failed, {finishing});
    }
    // From here on the archive is as good as made: a cancel is too late.
    m_committing = true;
    if (m_canceled) {
        writer.discard();
        return finish(Canceled);
    }
    if (!writer.commit(m_replace))
        return finish(Failed, {writer.errorString()});
    return finish(Done);
}
