#include "making/longstrip.h"

#include "making/pagetransform.h"
#include "pages/pagereader.h"
#include "scans/stripcut.h"

#include <QSemaphore>
#include <QThreadPool>

#include <cstring>

QVector<LongStrip::Run> LongStrip::runsOf(const QVector<Tile> &tiles)
{
    QVector<Run> runs;
    for (int first = 0; first < tiles.size();) {
        const Tile &start = tiles.at(first);
        if (!start.mayJoin || !isTall(start.size)) {
            ++first;
            continue;
        }
        int end = first + 1;
        // A page joins while the one before it is tall: the last may be
        // the strip's shorter end.
        while (end < tiles.size() && isTall(tiles.at(end - 1).size)) {
            const Tile &next = tiles.at(end);
            if (!next.mayJoin || next.startsChapter || !next.size.isValid() ||
                next.size.width() != start.size.width())
                break;
            ++end;
        }
        Run run{first, end - first, {}};
        for (int page = first; page < end; ++page)
            run.sizes.append(tiles.at(page).size);
        runs.append(run);
        first = end;
    }
    return runs;
}

QVector<LongStrip::Run> LongStrip::runsIn(const QVector<BuildPage> &pages, int pdfResolution,
                                          int threads, const std::atomic_bool *stop)
{
    QVector<Tile> tiles(pages.size());
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, threads));
    for (int i = 0; i < pages.size(); ++i) {
        tiles[i].mayJoin = mayJoin(pages.at(i).treatment);
        tiles[i].startsChapter = !pages.at(i).bookmark.isEmpty();
        if (!tiles.at(i).mayJoin)
            continue;
        Tile *tile = &tiles[i];
        const PageLocation page = pages.at(i).page;
        pool.start([tile, page, pdfResolution, stop] {
            if (!stop || !stop->load(std::memory_order_relaxed))
                tile->size = PageReader::readHeader(page, pdfResolution).size;
        });
    }
    pool.waitForDone();
    return runsOf(tiles);
}

int LongStrip::pieceRows(int width, const PageOptions &options)
{
    int screen = options.StripHeight;
    if (!options.ImageResize || width <= 0)
        return qMax(1, screen);
    screen = qMin(screen, options.ResizeImageHeight);
    // A strip's pages fill the screen's width, a narrower strip enlarged: a
    // strip kept narrow shows a screen with bands of nothing beside it.
    return qMax(1, int(qint64(screen) * width / options.ResizeImageWidth));
}

PageOptions LongStrip::pieceOptions(const PageOptions &options)
{
    PageOptions piece = options;
    piece.ImageCutDoublePages = false;
    piece.ImageCutBorder = false;
    piece.ImageTrimMargins = false;
    piece.ScanStraighten = false;
    piece.KeepUnchangedPages = false;
    piece.LosslessCuts = false;
    if (piece.ImageResize) {
        // Fitted, never stretched (a page of a strip shorter than the
        // screen would be), and filling the screen's width.
        piece.ImageResizeNoEnlarge = false;
        piece.ImageResizeMode = PageOptions::ResizeToFit;
        piece.ResizeImageHeight = qMin(piece.ResizeImageHeight, piece.StripHeight);
    }
    return piece;
}

QVector<LongStrip::Cut> LongStrip::cutsOf(const QVector<QVector<QRgb>> &rowColoursOfTiles,
                                          int pieceRows)
{
    QVector<bool> plain;
    QVector<int> tops;
    const QRgb background = rowColoursOfTiles.isEmpty()
                                ? qRgb(255, 255, 255)
                                : StripCut::backgroundOf(rowColoursOfTiles.first());
    for (const QVector<QRgb> &rows : rowColoursOfTiles) {
        tops.append(plain.size());
        plain += StripCut::onBackground(rows, background);
    }
    QVector<Cut> cuts;
    for (const StripCut::Cut &cut : StripCut::plan(plain, pieceRows)) {
        const int tile =
            int(std::upper_bound(tops.cbegin(), tops.cend(), cut.y) - tops.cbegin()) - 1;
        cuts.append({tile, cut.y - tops.at(tile), cut.throughArt});
    }
    return cuts;
}

LongStrip::Forecast LongStrip::forecast(const QVector<BuildPage> &pages, const Run &run,
                                        const PageOptions &options, int threads,
                                        const std::atomic_bool *stop)
{
    QVector<PageLocation> tiles;
    for (int tile = 0; tile < run.count; ++tile)
        tiles << pages.at(run.first + tile).page;
    QVector<QVector<QRgb>> colours(tiles.size());
    QVector<int> widths(tiles.size(), 0);
    Forecast forecast;
    QStringList &errors = forecast.errors;
    for (int i = 0; i < tiles.size(); ++i)
        errors << QString();
    {
        QThreadPool pool;
        pool.setMaxThreadCount(qMax(1, threads));
        // The tiles read at once hold no more than a build's pages would:
        // a mebibyte a unit, a tile larger than the whole taking it all.
        QSemaphore budget(BudgetMiB);
        for (int i = 0; i < tiles.size(); ++i) {
            pool.start([&, i] {
                // Taken at once, so that no two tiles each wait for the rest.
                const QSize size = run.sizes.value(i);
                const int units =
                    int(qBound<qint64>(1, size.isValid() ? pixelBytes(size) >> 20 : 0, BudgetMiB));
                budget.acquire(units);
                const TilePicture tile = readTile(tiles.at(i), options.PdfResolution, stop);
                if (!tile.error.isEmpty() || tile.several)
                    errors[i] = tile.several ? tr("it holds more than one picture: leave it uncut")
                                             : tile.error;
                else {
                    widths[i] = tile.picture.width();
                    colours[i] = StripCut::rowColours(tile.picture);
                }
                budget.release(units);
            });
        }
    }
    QVector<QVector<QRgb>> read;
    int width = 0;
    for (int i = 0; i < tiles.size(); ++i) {
        forecast.tileRows.append(colours.at(i).size());
        if (!errors.at(i).isEmpty())
            continue;
        width = width ? width : widths.at(i);
        read.append(colours.at(i));
    }
    const int rows = pieceRows(width, options);
    forecast.cuts = cutsOf(read, rows);
    // The cuts name tiles among those read: back to the strip's own.
    QVector<int> readTiles;
    for (int i = 0; i < tiles.size(); ++i) {
        if (errors.at(i).isEmpty())
            readTiles.append(i);
    }
    int top = 0; // rows of the strip so far
    QVector<int> tops;
    for (const int tile : qAsConst(readTiles)) {
        tops.append(top);
        top += forecast.tileRows.at(tile);
    }
    const PageOptions piece = pieceOptions(options);
    int from = 0;
    for (Cut &cut : forecast.cuts) {
        const int at = tops.at(cut.tile) + cut.row;
        forecast.sizes.append(resizedSize(QSize(width, at - from), piece));
        from = at;
        cut.tile = readTiles.at(cut.tile);
    }
    if (top > from)
        forecast.sizes.append(resizedSize(QSize(width, top - from), piece));
    return forecast;
}

LongStrip::TilePicture LongStrip::readTile(const PageLocation &page, int pdfResolution,
                                           const std::atomic_bool *stop,
                                           const PageReader::MemoryGate &reserve)
{
    TilePicture read;
    PageReader reader(page);
    reader.setStopFlag(stop);
    reader.setPdfResolution(pdfResolution);
    reader.setWholePictureWhileChecking(true);
    const auto gate = [&](qint64 bytes, PageReader::Holding holding) {
        if (reserve)
            reserve(bytes, holding);
        (holding == PageReader::FileBytes ? read.reservedFile : read.reserved) += bytes;
    };
    reader.setMemoryGate(gate);
    bool opened = reader.readWithoutDecoding();
    if (opened)
        gate(pixelBytes(reader.headerSize()), PageReader::Pixels);
    if (!opened ||
        !reader.readEach(PageReader::FirstPictureOnly,
                         [&](const QImage &decoded) {
                             read.picture = PageReader::forEncoding(decoded);
                             return true;
                         }) ||
        read.picture.isNull()) {
        read.error = reader.errorString();
        read.picture = QImage();
        return read;
    }
    read.several = !reader.isOnePicture() || reader.frameCount() > 1;
    return read;
}

QString LongStrip::throughArtNote(const QVector<int> &rows)
{
    QStringList said;
    for (const int row : rows)
        said << tr("row %1").arg(row);
    return tr("cut through its art, no plain band between panels being in reach, at %1")
        .arg(said.join(QStringLiteral(", ")));
}

LongStrip::LongStrip(int pieceRows)
    : m_pieceRows(qMax(1, pieceRows))
{}

bool LongStrip::add(const QImage &tile)
{
    const QImage picture =
        tile.format() == QImage::Format_RGB32 ? tile : tile.convertToFormat(QImage::Format_RGB32);
    if (picture.isNull())
        return false;
    const QVector<QRgb> colours = StripCut::rowColours(picture);
    // The first tile tells the strip's background, as it does for cutsOf.
    if (m_tiles == 0) {
        m_width = picture.width();
        m_background = StripCut::backgroundOf(colours);
    }
    m_plain += StripCut::onBackground(colours, m_background);
    m_held.append({picture, m_added, m_tiles++});
    m_added += picture.height();
    return true;
}

bool LongStrip::takePiece(Piece *piece)
{
    if (m_done || m_added == m_top)
        return false;
    // Rows a page and one more past the next cut decide where it falls.
    if (!m_ended && m_plain.size() <= 2 * m_pieceRows)
        return false;
    StripCut::Cut cut;
    const bool more = StripCut::nextCut(m_plain, 0, m_pieceRows, &cut);
    const int bottom = more ? m_top + cut.y : m_added;
    piece->picture = rows(m_top, bottom);
    piece->last = !more;
    piece->cut = more ? placed(bottom) : Cut();
    piece->cut.throughArt = more && cut.throughArt;
    m_plain.remove(0, bottom - m_top);
    m_top = bottom;
    m_done = !more;
    while (!m_held.isEmpty() && m_held.first().top + m_held.first().picture.height() <= m_top)
        m_held.removeFirst();
    return true;
}

qint64 LongStrip::heldBytes() const
{
    qint64 bytes = 0;
    for (const Held &held : m_held)
        bytes += held.picture.sizeInBytes();
    return bytes;
}

LongStrip::Cut LongStrip::placed(int row) const
{
    for (const Held &held : m_held) {
        if (row < held.top + held.picture.height())
            return {held.tile, row - held.top, false};
    }
    return {m_tiles - 1, m_held.isEmpty() ? 0 : m_held.last().picture.height(), false};
}

// Rows from to to of the strip, from the tiles held; null when they cannot
// be held.
QImage LongStrip::rows(int from, int to) const
{
    if (to <= from || !fitsInMemory(m_width, to - from))
        return QImage();
    QImage picture(m_width, to - from, QImage::Format_RGB32);
    if (picture.isNull())
        return QImage();
    for (const Held &held : m_held) {
        const int first = qMax(from, held.top);
        const int last = qMin(to, held.top + held.picture.height());
        const int bytes = qMin(picture.bytesPerLine(), held.picture.bytesPerLine());
        for (int y = first; y < last; ++y)
            std::memcpy(picture.scanLine(y - from), held.picture.constScanLine(y - held.top),
                        size_t(bytes));
    }
    return picture;
}
