#ifndef PDFPAGES_H
#define PDFPAGES_H

#include "pages/pagescan.h"

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <atomic>

// A PDF as a source of pages, read with poppler: listing a PDF counts its
// pages without rendering any, so a book of thousands lists at once; a page
// is rendered only when it is shown or built, at the resolution set here.
class PdfPages
{
    Q_DECLARE_TR_FUNCTIONS(PdfPages)

public:
    // Dots per inch pages are rendered at, unless told otherwise.
    static constexpr int DefaultResolution = 200;
    static constexpr int MinimumResolution = 36;
    static constexpr int MaximumResolution = 1200;
    // No page is larger, whatever its MediaBox claims.
    static constexpr int LargestSide = 1 << 16;
    static constexpr qint64 PixelBudget = qint64(1) << 28;
    // More pages than any book has.
    static constexpr int PageLimit = 65536;
    // A page object takes at least this many bytes of the file, even packed
    // in a compressed object stream.
    static constexpr int SmallestPageBytes = 8;

    static bool isPdfName(const QString &name);

    // The PDF's pages, named "page 1", "page 2", ..., in their order, each
    // location made with PageLocation; or why it cannot be listed (a
    // password, damage) in error.
    static PageListing list(const QString &path, const ListingControl &control = {});

    // The size page index is rendered at, in dots per inch; invalid when
    // it cannot be, and error (when given) then says why.
    static QSize renderedSize(const QString &path, int index, int resolution, QString *error);
    // Page index of the PDF rendered at resolution, on white; null when it
    // cannot be, and error then says why. Rendering gives up soon after
    // *stop becomes true. A page whose pixels would pass pixelBudget is not
    // rendered. Any thread.
    static QImage render(const QString &path, int index, int resolution, qint64 pixelBudget,
                         QString *error, const std::atomic_bool *stop = nullptr);
};

#endif // PDFPAGES_H
