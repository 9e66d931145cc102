#ifndef PAGETRANSFORM_H
#define PAGETRANSFORM_H

#include "making/pageoptions.h"
#include "making/pagetreatment.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

// What the book's options and a page's own treatment do to a page of a
// given size (as its file shows it), before its pixels are looked at.
struct PagePlan
{
    int rotation = 0;  // clockwise
    QSize turnedSize;  // the page after its turn
    QMargins border;   // pixels cut from each side
    bool trim = false; // plain margins cut away
    bool cut = false;  // split in two
    // A scan's clean-up, on the turned page before its border: its slant
    // found and turned back (or turned back by degrees of its own), its
    // levels stretched.
    bool straighten = false;
    bool ownSlant = false;
    double slantDegrees = 0;
    bool levels = false;
    double levelsGamma = 1.0;
    // Its colours toned for a colour e-ink screen.
    bool toned = false;
    bool changes() const;
};
PagePlan planPage(const QSize &size, const PageOptions &options,
                  const PageTreatment &own = PageTreatment());

// The part of a page of size within a border of pixels on every side;
// empty when the border leaves nothing.
QRect insideBorder(const QSize &size, const QMargins &border);
// The parts of a page that become the archive's pages, in archive order:
// inner whole, or its two halves at the options' cut point, the cut column
// belonging to both. Empty rectangles where nothing would be left.
QList<QRect> cutRegions(const QRect &inner, const PageOptions &options, bool cut);

// The part of image within its plain margins: outer rows and columns whose
// pixels are all within tolerance of the margin's own colour, each side
// taking at most a third of the page and stopping at the first line with
// anything drawn on it. A page that is plain all over is kept whole.
QRect plainMarginsInside(const QImage &image, int tolerance);

// Whether no pixel of image carries colour: its channels within tolerance
// of each other.
bool hasNoColour(const QImage &image, int tolerance);

// The size a page of size becomes under the resize options; an empty size
// when nothing would be left of it.
QSize resizedSize(const QSize &size, const PageOptions &options);

// A complete JPEG file in memory; empty when the image is null or the
// encoder fails, and error then says why.
QByteArray encodeJpeg(const QImage &image, int quality, QString *error = nullptr);

// A page in the file type the options ask for (JPEG or WebP, at their
// quality), in grey when grey; empty when it cannot be made, and error then
// says why.
QByteArray encodePage(const QImage &image, const PageOptions &options, bool grey,
                      QString *error = nullptr);
// The entry suffix of the pages the options make: "jpg" or "webp".
QString pageSuffix(const PageOptions &options);

#endif // PAGETRANSFORM_H
