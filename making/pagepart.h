#ifndef PAGEPART_H
#define PAGEPART_H

#include <QImage>
#include <QRect>
#include <QSize>

// One page of the archive as a page's recipe makes it: which part of the
// page (turned and cleaned up) it is, the size it is written at, whether it
// is a spread and whether it is written in grey. Planned, its picture is
// null; carried out, the picture is the page to encode.
struct PagePart
{
    QRect source; // empty: nothing is left of it
    QSize size;   // as written; empty: nothing is left of it
    // A spread left whole: the page's only part, wider than tall. The
    // halves of a cut page are single pages.
    bool spread = false;
    // 1 or 2: the left or the right half of a cut page; 0 for a whole one.
    int half = 0;
    // Written in grey. Planned, true only when the options make every page
    // grey; carried out, also when its pixels carry no colour and the
    // options ask for that.
    bool grey = false;
    QImage picture;

    bool isEmpty() const { return size.isEmpty(); }
};

#endif // PAGEPART_H
