#ifndef BLANKPAGE_H
#define BLANKPAGE_H

#include <QImage>

// Whether a page has nothing on it: light paper all over, save for a
// scanner's noise, a few specks and a thin edge. A page number is
// something. Any thread.
class BlankPage
{
public:
    // The page is looked at reduced to fit this either way: a scanner's
    // noise averages out, while a page number's strokes are still pixels.
    static constexpr int Side = 800;

    static bool isBlank(const QImage &page);
};

#endif // BLANKPAGE_H
