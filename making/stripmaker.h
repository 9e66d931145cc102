#ifndef STRIPMAKER_H
#define STRIPMAKER_H

#include "making/longstrip.h"
#include "making/orderedpages.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QVector>

#include <deque>
#include <memory>

class PageMaker;
class QThreadPool;

// Makes a long strip's run of pages into pages a screen high, as entries of
// the run's first page: its tiles read in order on this thread (the next
// one while the one before is cut, when the budget has room), each cut
// decided as soon as the rows below it are known, and the pages cut encoded
// on the build's own threads, handed on in order. Everything it holds (a
// tile's file and pixels, the strip's rows, the pages being encoded) is
// reserved against the build's budget; what it would take on top of what
// it needs to go on (a tile read ahead, pages encoded side by side) only
// when the budget has room. The other pages of the run give no entries;
// each is told what became of it once the strip is done.
class StripMaker
{
    Q_DECLARE_TR_FUNCTIONS(StripMaker)

public:
    StripMaker(const PageMaker &pages, const LongStrip::Run &run, QThreadPool *pool);
    ~StripMaker();

    void make();

private:
    struct Piece;
    struct Encoding;
    bool takeTile(int tile, LongStrip::TilePicture &read);
    void takePieces();
    void encode(const LongStrip::Piece &piece);
    void handOn(bool all);
    void holdRows();
    LongStrip::TilePicture readTile(int index) const;
    void complete();
    bool going() const;

    const PageMaker &m_maker;
    OrderedPages &m_ordered;
    const LongStrip::Run m_run;
    QThreadPool *m_pool;
    std::unique_ptr<LongStrip> m_strip;
    std::deque<std::shared_ptr<Encoding>> m_encoding; // oldest first
    QVector<OrderedPages::Page> m_pictures;           // for the preview, by tile
    QMap<int, QString> m_leftOut;                     // by page
    QMap<int, QVector<int>> m_cutsThroughArt;         // rows, by page
    QString m_error;
    int m_failedPage = 0;
    bool m_unread = false;
    bool m_halted = false; // the build stops: another page failed
    int m_pieces = 0;
    qint64 m_heldRows = 0;
};

#endif // STRIPMAKER_H
