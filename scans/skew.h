#ifndef SKEW_H
#define SKEW_H

#include <QColor>
#include <QImage>
#include <QString>

// How far a scanned page is turned from straight, found on its lines of
// text and its panels' edges (Leptonica's search, over more than the ±5° promised), and the page
// turned back. Any thread.
class Skew
{
public:
    // Slants up to this are promised; the search goes wider, since a
    // slant found at the search's edge is refused as unsure.
    static constexpr double PromisedDegrees = 5.0;
    static constexpr double SearchDegrees = 7.0;
    // Turns smaller than this are not worth filtering the page for.
    static constexpr double Negligible = 0.05;
    // The slant is found on the page reduced to fit this either way (an A4
    // scan at 300 ppi to half its size): a tenth of a degree is still two
    // pixels over its width.
    static constexpr int WorkingSide = 1800;

    // Degrees the page is turned clockwise; meaningful when found.
    double degrees = 0;
    bool found = false;
    // When not found: why the page is left as it is.
    QString whyNot;

    static Skew find(const QImage &page);
    // The page turned back by degrees (clockwise turns undone), filtered,
    // its size kept; the corners brought in take the colour of its margin.
    static QImage straightened(const QImage &page, double degrees);

private:
    // The colour of the page's outermost pixels: paper or a scanner's bed.
    static QColor marginColour(const QImage &page);
};

#endif // SKEW_H
