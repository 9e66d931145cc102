#ifndef LEVELS_H
#define LEVELS_H

#include <QImage>

// A scan's paper and ink, from the levels of its pixels: the paper made
// white and the ink black by stretching every channel alike between them,
// so that colours keep their hues. Any thread.
class Levels
{
public:
    // The ink is at or below low, the paper at or above high.
    int low = 0;
    int high = 255;

    static Levels of(const QImage &page);
    // Whether the page has ink and paper far enough apart to stretch: a
    // blank page's scanner noise is not made into marks. A page whose paper
    // cannot be told (lighter tones above it, art to its edges) is left at
    // its levels: 0 and 255.
    bool stretchable() const { return high - low >= MinimumSpread; }
    // The page stretched, then with gamma (1 for none; above 1 lightens the
    // middle tones, as e-ink screens want); as it is when not stretchable.
    QImage applied(const QImage &page, double gamma = 1.0) const;

    static constexpr int MinimumSpread = 48;
    // How much darker than the lightest tones a page's margins may be and
    // still be paper.
    static constexpr int PaperSpread = 16;
};

#endif // LEVELS_H
