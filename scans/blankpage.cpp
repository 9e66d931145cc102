#include "scans/blankpage.h"

#include "scans/greypicture.h"

#include <QVector>

#include <vector>

namespace {
// How much darker than the paper a pixel is to count as ink.
constexpr int InkDepth = 48;
// How far from the paper's colour a pixel's colour is to count as ink:
// yellow ink is nearly as light as paper.
constexpr int ColourDepth = 48;
// Paper is white, grey or toned (yellowed, cream, a cardboard back cover);
// a page coloured more than this all over is a coloured page, not blank.
constexpr int PaperChroma = 40;
// A mark of this many pixels (on the reduced page), or this long, is
// something: a page number's stroke is both. Smaller marks are specks.
constexpr int MarkArea = 7;
constexpr int MarkLength = 5;
// Specks of dust a blank page may carry.
constexpr int MostSpecks = 12;

int chroma(QRgb p)
{
    return qMax(qRed(p), qMax(qGreen(p), qBlue(p))) - qMin(qRed(p), qMin(qGreen(p), qBlue(p)));
}

int colourDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)),
                qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

// The median of each channel: the paper's colour.
QRgb medianColour(const QImage &colour, const QRect &inside)
{
    GreyPicture::Histogram red{}, green{}, blue{};
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(colour.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++red[size_t(qRed(row[x]))];
            ++green[size_t(qGreen(row[x]))];
            ++blue[size_t(qBlue(row[x]))];
        }
    }
    return qRgb(GreyPicture::percentile(red, 0.5), GreyPicture::percentile(green, 0.5),
                GreyPicture::percentile(blue, 0.5));
}
} // namespace

bool BlankPage::isBlank(const QImage &page)
{
    if (page.isNull())
        return false;
    const QImage grey = GreyPicture::within(page, BlankPage::Side);
    // The colours at the same size, for what is light but coloured.
    const QImage colour = page.isGrayscale() ? QImage()
                                             : page.scaled(grey.size(), Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation)
                                                   .convertToFormat(QImage::Format_RGB32);
    // A thin edge (the paper's edge, the scanner's bed) is no content.
    const int edge = qMax(1, qMin(grey.width(), grey.height()) * 3 / 100);
    const QRect inside = grey.rect().adjusted(edge, edge, -edge, -edge);
    if (inside.width() < 3 || inside.height() < 3)
        return false;
    const int paper = GreyPicture::percentile(GreyPicture::histogram(grey, inside), 0.5);
    if (paper < 128)
        return false; // dark all over: a black page is drawn, not blank
    const QRgb paperColour =
        colour.isNull() ? qRgb(paper, paper, paper) : medianColour(colour, inside);
    if (chroma(paperColour) > PaperChroma)
        return false; // a page filled with a colour
    const int threshold = paper - InkDepth;
    const int width = inside.width(), height = inside.height();
    std::vector<uchar> ink(size_t(width) * size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const uchar *levels = grey.constScanLine(inside.top() + y) + inside.left();
        const auto *colours =
            colour.isNull()
                ? nullptr
                : reinterpret_cast<const QRgb *>(colour.constScanLine(inside.top() + y)) +
                      inside.left();
        for (int x = 0; x < width; ++x)
            ink[size_t(y) * size_t(width) + size_t(x)] =
                levels[x] < threshold ||
                (colours && colourDistance(colours[x], paperColour) > ColourDepth);
    }
    // Each mark, found whole: a speck is a small one, however its pixels
    // touch; a mark large or long enough is something.
    int specks = 0;
    std::vector<int> stack;
    for (int start = 0; start < width * height; ++start) {
        if (!ink[size_t(start)])
            continue;
        ink[size_t(start)] = 0;
        stack.assign(1, start);
        int area = 0, left = width, right = -1, top = height, bottom = -1;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            const int x = at % width, y = at / width;
            ++area;
            left = qMin(left, x), right = qMax(right, x);
            top = qMin(top, y), bottom = qMax(bottom, y);
            const int next[4] = {x > 0 ? at - 1 : -1, x + 1 < width ? at + 1 : -1,
                                 y > 0 ? at - width : -1, y + 1 < height ? at + width : -1};
            for (const int n : next) {
                if (n >= 0 && ink[size_t(n)]) {
                    ink[size_t(n)] = 0;
                    stack.push_back(n);
                }
            }
        }
        if (area >= MarkArea || right - left + 1 >= MarkLength || bottom - top + 1 >= MarkLength)
            return false;
        // A lone pixel is the scanner's noise; larger specks are counted.
        if (area > 1 && ++specks > MostSpecks)
            return false;
    }
    return true;
}
