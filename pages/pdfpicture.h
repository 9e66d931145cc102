#ifndef PDFPICTURE_H
#define PDFPICTURE_H

#include <QByteArray>
#include <QString>

// The JPEG a scanned PDF's page is: the page's one picture, drawn upright
// over the whole page with nothing else visible on it (an invisible text
// layer, as OCR leaves, is allowed), taken as the file stores it. Read with
// qpdf, which reads a PDF's structure; a page that is anything else (two
// pictures, a caption, a turn, a mask, CMYK, another filter) is none, and is
// rendered as before. Any thread.
class PdfPicture
{
public:
    // The JPEG's bytes as stored, or empty when the page is no such scan or
    // the picture holds more than byteBudget bytes.
    static QByteArray scannedJpeg(const QString &path, int index, qint64 byteBudget);
    // The resolution of the sharpest picture the page draws (pixels an inch
    // as drawn; pictures smaller than half an inch do not count); 0 for a
    // page without one or that cannot be read.
    static int pictureResolution(const QString &path, int index);

    // What a page is taken as: a scan (its JPEG, at its pixels an inch) or
    // rendered (at resolution, or its sharpest picture's when finer).
    struct PageKind
    {
        bool scan = false;
        int resolution = 0;
    };
    static PageKind kindOf(const QString &path, int index, int resolution, qint64 byteBudget);
};

#endif // PDFPICTURE_H
