#ifndef LONGSTRIP_H
#define LONGSTRIP_H

#include "making/buildpage.h"
#include "making/pageoptions.h"
#include "pages/pagelocation.h"
#include "pages/pagereader.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// A long strip: a webtoon chapter's tiles, pages at least twice as tall as
// wide and of one width, read one below the other. Which pages of a book
// make one, and how its rows become pages a screen high, each cut placed on
// a band of plain background (StripCut). A strip is cut as its tiles come,
// in order, holding no more than about two pages and a tile of it; the
// listing and the preview find the same cuts from the tiles' plain rows.
class LongStrip
{
    Q_DECLARE_TR_FUNCTIONS(LongStrip)

public:
    // A run of pages that make one strip: the first, and how many.
    struct Run
    {
        int first = 0;
        int count = 0;
        QVector<QSize> sizes; // each page's, as its header says

        bool contains(int page) const { return page >= first && page < first + count; }
    };
    // What decides whether a page joins a strip: its size as it shows
    // (invalid when it cannot be read), whether its own treatment lets it
    // (not left uncut, not turned) and whether a chapter begins with it.
    struct Tile
    {
        QSize size;
        bool mayJoin = true;
        bool startsChapter = false;
    };
    // Where a strip is cut: the tile of the run the next page begins in and
    // the row of that tile; whether no plain band was in reach.
    struct Cut
    {
        int tile = 0;
        int row = 0;
        bool throughArt = false;
    };
    // A page of the strip, as it is cut: its pixels, and the cut below it
    // (none for the strip's last page).
    struct Piece
    {
        QImage picture;
        bool last = false;
        Cut cut;
    };

    static bool isTall(const QSize &size)
    {
        return size.isValid() && size.height() / 2 >= size.width();
    }
    static bool mayJoin(const PageTreatment &own)
    {
        return own.cut != PageTreatment::NeverCut && own.rotation == 0;
    }
    // The strips among pages: runs of pages of one width, the first and
    // every other one tall but the last, which may be a strip's short end.
    static QVector<Run> runsOf(const QVector<Tile> &tiles);
    // The same, the pages' sizes read from their headers on threads.
    static QVector<Run> runsIn(const QVector<BuildPage> &pages, int pdfResolution, int threads,
                               const std::atomic_bool *stop = nullptr);
    // How many of a strip's rows one page holds, for a strip of width, so
    // that the page, fitted as the options ask, is no higher than their
    // strip height nor their fitted height.
    static int pieceRows(int width, const PageOptions &options);
    // What each page of a strip is made under: fitted, never stretched, and
    // not cut in two, bordered, trimmed or straightened, which would cut
    // into the strip or tilt it.
    static PageOptions pieceOptions(const PageOptions &options);
    // The cuts of a strip, given its tiles' row colours (StripCut), in
    // order: the same cuts as the strip cut as its tiles come.
    static QVector<Cut> cutsOf(const QVector<QVector<QRgb>> &rowColoursOfTiles, int pieceRows);

    // What a strip's tiles become, found without making a page: their rows
    // read on threads, the cuts as the build places them, and each page's
    // size as it is written. Unreadable tiles are passed over, as a build
    // that leaves them out does.
    struct Forecast
    {
        QVector<Cut> cuts;
        QVector<QSize> sizes;  // the pages, in order
        QVector<int> tileRows; // each tile's height; 0 for one not read
        QStringList errors;    // by tile: why it cannot be read; empty when it can
    };
    static constexpr int BudgetMiB = 1024;
    static Forecast forecast(const QVector<BuildPage> &pages, const Run &run,
                             const PageOptions &options, int threads,
                             const std::atomic_bool *stop = nullptr);

    // A tile's picture as the encoder is given it, read whole; or why it
    // cannot be read, or that it holds several pictures (a scanner's TIFF,
    // an animation), of which a strip cannot be made. reserve, when given,
    // is told the bytes the file and its pixels will take before they are
    // read, and reserved says how many it was told.
    struct TilePicture
    {
        QImage picture;
        QString error;
        bool several = false;
        qint64 reserved = 0;     // pixels
        qint64 reservedFile = 0; // the file's bytes
    };
    static TilePicture readTile(const PageLocation &page, int pdfResolution,
                                const std::atomic_bool *stop,
                                const PageReader::MemoryGate &reserve = {});
    // What reading a tile of size takes at most: its pixels as decoded and
    // as the encoder is given them.
    static qint64 pixelBytes(const QSize &size) { return qint64(size.width()) * size.height() * 8; }

    // What is said of a tile where its strip is cut through art: "cut
    // through its art, no plain band being in reach, at row 4709, row 5321".
    static QString throughArtNote(const QVector<int> &rows);

    // Whether a page of rows × width pixels may be made at all: within
    // what a page read from a file may be.
    static bool fitsInMemory(int width, qint64 rows)
    {
        return width > 0 && rows > 0 && qint64(width) * rows <= PageReader::PixelBudget;
    }

    explicit LongStrip(int pieceRows);
    // The next tile, a picture of the strip's width; false when its rows
    // cannot be held.
    [[nodiscard]] bool add(const QImage &tile);
    // No tile comes after those added.
    void end() { m_ended = true; }
    // The next page, once where it ends is decided; false until then. Its
    // picture is null when its rows cannot be held.
    bool takePiece(Piece *piece);
    // The strip's width: its first tile's.
    int width() const { return m_width; }
    // The bytes of the tiles held.
    qint64 heldBytes() const;

private:
    struct Held
    {
        QImage picture;
        int top = 0; // its first row in the strip
        int tile = 0;
    };
    Cut placed(int row) const;
    QImage rows(int from, int to) const;

    int m_pieceRows;
    QVector<Held> m_held;
    QVector<bool> m_plain; // from m_top on
    int m_top = 0;         // the first row of the next page
    int m_added = 0;       // rows added
    int m_tiles = 0;
    int m_width = 0;
    QRgb m_background = 0;
    bool m_ended = false;
    bool m_done = false;
};

#endif // LONGSTRIP_H
