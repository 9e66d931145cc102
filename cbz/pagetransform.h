#ifndef PAGETRANSFORM_H
#define PAGETRANSFORM_H

#include "cbz/pageoptions.h"

#include <QByteArray>
#include <QImage>
#include <QList>

// One page image becomes the page or pages of the archive, in archive order:
// the border cut, then the double-page split (the cut column belongs to both
// halves), then the resize. A border that leaves no pixels gives null images.
QList<QImage> transformPageImages(const QImage &source, const PageOptions &options);

// A complete JPEG file in memory; empty when the image is null or the
// encoder fails, and error then says why.
QByteArray encodeJpeg(const QImage &image, int quality, QString *error = nullptr);

// The pages above, each encoded as JPEG with the chosen quality: one
// element without the split, two with it. An element is empty when its
// page could not be made.
QList<QByteArray> TransformPage(const QImage &source, const PageOptions &options);

#endif // PAGETRANSFORM_H
