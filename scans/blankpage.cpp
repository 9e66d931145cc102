#include "scans/blankpage.h"

#include "scans/greypicture.h"

#include <QVector>

namespace {
// How much darker than the paper a pixel is to count as ink.
constexpr int InkDepth = 48;
// Ink pixels, in clusters, that are still specks.
constexpr int MostSpecks = 6;
} // namespace

bool BlankPage::isBlank(const QImage &page)
{
    if (page.isNull())
        return false;
    const QImage grey = GreyPicture::within(page, BlankPage::Side);
    // A thin edge (the paper's edge, the scanner's bed) is no content.
    const int edge = qMax(1, qMin(grey.width(), grey.height()) * 3 / 100);
    const QRect inside = grey.rect().adjusted(edge, edge, -edge, -edge);
    if (inside.width() < 3 || inside.height() < 3)
        return false;
    const int paper = GreyPicture::percentile(GreyPicture::histogram(grey, inside), 0.5);
    if (paper < 128)
        return false; // dark all over: a black page is drawn, not blank
    const int threshold = paper - InkDepth;
    const auto ink = [&](int x, int y) {
        return grey.constScanLine(y)[x] < threshold;
    };
    // A lone dark pixel is dust; ink has ink beside it.
    int marks = 0;
    for (int y = inside.top() + 1; y < inside.bottom(); ++y) {
        for (int x = inside.left() + 1; x < inside.right(); ++x) {
            if (!ink(x, y))
                continue;
            const int beside = ink(x - 1, y) + ink(x + 1, y) + ink(x, y - 1) + ink(x, y + 1);
            if (beside > 0 && ++marks > MostSpecks)
                return false;
        }
    }
    return true;
}
