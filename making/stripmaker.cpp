#include "making/stripmaker.h"

#include "making/pagemaker.h"
#include "making/pagerecipe.h"
#include "making/pooltask.h"

#include <QThreadPool>

// A page of the strip, encoded.
struct StripMaker::Piece
{
    PackedEntry entry;
    ComicPage comicPage;
    QString error;
};

// A page of the strip being encoded, and the bytes it holds meanwhile.
struct StripMaker::Encoding
{
    std::shared_ptr<PoolTask<Piece>> task;
    qint64 cost = 0;
};

StripMaker::StripMaker(const PageMaker &pages, const LongStrip::Run &run, QThreadPool *pool)
    : m_maker(pages)
    , m_ordered(pages.ordered())
    , m_run(run)
    , m_pool(pool)
    , m_pictures(run.count)
    , m_failedPage(run.first)
{}

StripMaker::~StripMaker()
{
    for (const std::shared_ptr<Encoding> &encoding : m_encoding) {
        encoding->task->drop();
        m_ordered.release(encoding->cost);
    }
}

bool StripMaker::going() const
{
    return m_error.isEmpty() && !m_halted && !m_maker.stopped();
}

// Its file and pixels count against the budget as a page's do, against
// the run's first page.
LongStrip::TilePicture StripMaker::readTile(int index) const
{
    OrderedPages &ordered = m_ordered;
    const int first = m_run.first;
    return LongStrip::readTile(m_maker.pages().at(index).page,
                               m_maker.settings().options.PdfResolution, m_maker.stopFlag(),
                               [&ordered, first](qint64 bytes, PageReader::Holding holding) {
                                   ordered.reserve(first, bytes, holding);
                               });
}

void StripMaker::make()
{
    using TileTask = PoolTask<LongStrip::TilePicture>;
    const auto tileTask = [this](int index) {
        return TileTask::make([this, index] { return readTile(index); });
    };
    std::shared_ptr<TileTask> next = tileTask(m_run.first);
    for (int tile = 0; tile < m_run.count && going(); ++tile) {
        LongStrip::TilePicture read = next->take();
        next.reset();
        const Reservation reading{m_ordered, read.reserved};
        const Reservation readingFile{m_ordered, read.reservedFile, PageReader::FileBytes};
        // The next tile is read while this one is cut when the budget has
        // room for it; else once this one is done.
        if (tile + 1 < m_run.count) {
            next = tileTask(m_run.first + tile + 1);
            if (m_ordered.fits(LongStrip::pixelBytes(m_run.sizes.value(tile + 1))))
                next->offer(m_pool);
        }
        if (!takeTile(tile, read))
            break;
    }
    if (next) {
        next->drop();
        if (next->isDone()) {
            const LongStrip::TilePicture unused = next->take();
            m_ordered.release(unused.reserved);
            m_ordered.release(unused.reservedFile, PageReader::FileBytes);
        }
    }
    if (m_strip && going()) {
        m_strip->end();
        takePieces();
    }
    handOn(true);
    m_ordered.release(m_heldRows);
    m_heldRows = 0;
    complete();
}

// A tile read, added to the strip and cut where it can be. False when the
// strip goes no further.
bool StripMaker::takeTile(int tile, LongStrip::TilePicture &read)
{
    const int index = m_run.first + tile;
    const QString name = m_maker.pages().at(index).page.displayName();
    QImage picture = std::move(read.picture);
    if (!read.error.isEmpty()) {
        if (m_maker.stopped())
            return false;
        if (m_maker.settings().unreadableLeftOut) {
            m_leftOut.insert(index, read.error);
            return true;
        }
        m_error = tr("Page %1 cannot be read: %2").arg(name, read.error);
        m_failedPage = index;
        m_unread = true;
        return false;
    }
    if (read.several) {
        m_error = tr("Page %1 holds more than one picture; a long strip is made of pages of one "
                     "each. Leave it uncut.")
                      .arg(name);
        m_failedPage = index;
        return false;
    }
    if (!m_strip) {
        const int rows = LongStrip::pieceRows(picture.width(), m_maker.settings().options);
        // Its pages are checked before any is made.
        if (!LongStrip::fitsInMemory(picture.width(), rows)) {
            m_error = tr("The pages of the long strip from page %1 would be %2 × %3 pixels "
                         "before they are fitted: too large to be made.")
                          .arg(name)
                          .arg(picture.width())
                          .arg(rows);
            return false;
        }
        m_strip.reset(new LongStrip(rows));
    } else if (m_strip->width() != picture.width()) {
        m_error = tr("Page %1 is %2 pixels wide, the long strip it is in %3. Leave it uncut.")
                      .arg(name)
                      .arg(picture.width())
                      .arg(m_strip->width());
        m_failedPage = index;
        return false;
    }
    const QSize &bounds = m_maker.settings().pictureBounds;
    if (bounds.isValid()) {
        m_pictures[tile].pictureSize = picture.size();
        m_pictures[tile].picture = picture.scaled(picture.size().boundedTo(bounds),
                                                  Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    if (!m_strip->add(picture)) {
        m_error = tr("Page %1 cannot be held in memory to be joined to its long strip.").arg(name);
        m_failedPage = index;
        return false;
    }
    picture = QImage();
    holdRows();
    takePieces();
    holdRows();
    return going();
}

// The rows the strip holds count against the budget as they change.
void StripMaker::holdRows()
{
    const qint64 now = m_strip ? m_strip->heldBytes() : 0;
    if (now > m_heldRows)
        m_ordered.reserve(m_run.first, now - m_heldRows);
    else
        m_ordered.release(m_heldRows - now);
    m_heldRows = now;
}

void StripMaker::takePieces()
{
    LongStrip::Piece piece;
    while (going() && m_strip->takePiece(&piece)) {
        ++m_pieces;
        if (piece.cut.throughArt)
            m_cutsThroughArt[m_run.first + piece.cut.tile] << piece.cut.row;
        if (piece.picture.isNull()) {
            m_error = tr("A page of the long strip from page %1 cannot be held in memory.")
                          .arg(m_maker.pages().at(m_run.first).page.displayName());
            return;
        }
        encode(piece);
    }
}

void StripMaker::encode(const LongStrip::Piece &piece)
{
    auto encoding = std::make_shared<Encoding>();
    encoding->cost = piece.picture.sizeInBytes() * 3;
    // Pages are encoded side by side only while the budget has room for
    // them; else those under way are handed on first.
    if (!m_encoding.empty() && !m_ordered.fits(encoding->cost))
        handOn(true);
    m_ordered.reserve(m_run.first, encoding->cost);
    const PageMaker &maker = m_maker;
    const int first = m_run.first;
    const QImage picture = piece.picture;
    encoding->task = PoolTask<Piece>::make([&maker, first, picture] {
        Piece made;
        const PageOptions options = LongStrip::pieceOptions(maker.settings().options);
        const QList<PagePart> parts = PageRecipe::ofPicture(picture, options).carryOut(picture);
        made.error = parts.size() == 1 && !parts.first().isEmpty()
                         ? maker.encodePart(parts.first(), first, &made.entry, &made.comicPage)
                         : tr("A page of the long strip from page %1 comes to nothing.")
                               .arg(maker.pages().at(first).page.displayName());
        return made;
    });
    encoding->task->offer(m_pool);
    m_encoding.push_back(encoding);
    handOn(false);
}

// An encoded page goes in once those before it have; no more pages wait
// encoded, or to be, than the pool has threads.
void StripMaker::handOn(bool all)
{
    const size_t limit = size_t(qMax(1, m_pool->maxThreadCount()));
    while (!m_encoding.empty() &&
           (all || m_encoding.size() > limit || m_encoding.front()->task->isDone())) {
        const std::shared_ptr<Encoding> oldest = m_encoding.front();
        m_encoding.pop_front();
        if (!going()) {
            oldest->task->drop();
            m_ordered.release(oldest->cost);
            continue;
        }
        const Piece made = oldest->task->take();
        m_ordered.release(oldest->cost);
        if (!made.error.isEmpty()) {
            m_error = made.error;
        } else if (!m_ordered.add(m_run.first, made.entry, made.comicPage)) {
            m_halted = true;
        }
    }
}

// Each page of the run is told what became of it, the last first so that
// the writer, waiting for the first, takes the run whole.
void StripMaker::complete()
{
    const int first = m_run.first;
    if (m_error.isEmpty() && (m_halted || m_maker.stopped())) {
        for (int tile = 0; tile < m_run.count; ++tile)
            m_ordered.complete(first + tile, {});
        return;
    }
    for (int tile = m_run.count - 1; tile >= 0; --tile) {
        const int index = first + tile;
        QStringList notes;
        if (tile == 0 && m_error.isEmpty())
            notes << (m_run.count == 1 ? tr("a long strip, cut into %1 pages").arg(m_pieces)
                                       : tr("its long strip of %1 pages is cut into %2")
                                             .arg(m_run.count)
                                             .arg(m_pieces));
        if (m_leftOut.contains(index))
            notes << tr("left out: it cannot be read: %1").arg(m_leftOut.value(index));
        else if (tile > 0 && m_error.isEmpty())
            notes << tr("joined to the long strip that begins with page %1")
                         .arg(m_maker.pages().at(first).page.displayName());
        if (m_cutsThroughArt.contains(index))
            notes << LongStrip::throughArtNote(m_cutsThroughArt.value(index));
        const bool failed = index == m_failedPage && !m_error.isEmpty();
        m_ordered.complete(index,
                           {failed ? m_error : QString(), notes.join(QStringLiteral("; ")),
                            m_leftOut.contains(index) || (m_unread && failed)},
                           &m_pictures[tile]);
    }
}
