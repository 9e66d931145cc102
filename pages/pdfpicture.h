#ifndef PDFPICTURE_H
#define PDFPICTURE_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

// The picture a scanned PDF's page is: the page's one picture, drawn
// exactly over the part of the page that shows, with nothing else drawn or
// hiding any of it (an invisible text layer, as OCR leaves, is allowed; a
// crop, a clip, an annotation, a hidden layer or transparency is not). Upright, a JPEG is taken as
// the file stores it; turned or mirrored, or grey or RGB pixels behind filters that lose nothing,
// it is decoded at its own size and turned as the page shows it. Read with qpdf, which reads a
// PDF's structure; a page that is anything else (two pictures, a caption, a mask, CMYK, JBIG2, a
// JPEG whose header disagrees with the PDF) is none, and is rendered. Any thread.
class PdfPicture
{
public:
    // The JPEG's bytes as stored, or empty when the page is no upright JPEG
    // scan or the picture holds more than byteBudget bytes.
    // stop, here and below, ends a walk through a page of many drawing
    // operators early: the page is then taken as none of these.
    static QByteArray scannedJpeg(const QString &path, int index, qint64 byteBudget,
                                  const std::atomic_bool *stop = nullptr);

    // The page's one picture as it shows: shown is invalid when the page is
    // none this program decodes itself, or its picture is beyond the budgets.
    struct Picture
    {
        QSize shown;
        int resolution = 0; // pixels an inch, as drawn
        // Set when the page is neither taken nor rendered: why no reader
        // could draw it.
        QString refused;
    };
    static Picture pictureOf(const QString &path, int index, qint64 pixelBudget, qint64 byteBudget,
                             const std::atomic_bool *stop = nullptr);
    // That picture decoded and turned as the page shows it; null, with why,
    // when its data is damaged.
    static QImage decodedPicture(const QString &path, int index, qint64 pixelBudget,
                                 qint64 byteBudget, QString *why);
    // The resolution of the sharpest picture the page draws (pixels an inch
    // as drawn; pictures smaller than half an inch do not count); 0 for a
    // page without one or that cannot be read.
    static int pictureResolution(const QString &path, int index,
                                 const std::atomic_bool *stop = nullptr);

    // What a page is taken as: a scan (its picture, at its pixels an inch) or
    // rendered (at resolution, or its sharpest picture's when finer).
    struct PageKind
    {
        bool scan = false;
        int resolution = 0;
    };
    static PageKind kindOf(const QString &path, int index, int resolution, qint64 pixelBudget,
                           qint64 byteBudget);
};

#endif // PDFPICTURE_H
