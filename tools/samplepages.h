#ifndef SAMPLEPAGES_H
#define SAMPLEPAGES_H

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// Pictures that look like scanned comic pages: paper with grain, panels,
// speech balloons, a page number. The same number always gives the same page.
QImage drawComicPage(int number, const QSize &size);

// Two pages side by side, as a double-page scan.
QImage drawSpread(int leftNumber, const QSize &pageSize);

// The page as a flatbed scanner leaves it: a dark, uneven frame around it.
QImage addScannerBorder(const QImage &page, int border);

// page as a scanner sees it laid askew: turned clockwise by degrees about
// its centre, on paper of the colour of its corner.
QImage turnedOnPaper(const QImage &page, double degrees);

// A scanner's sensor noise over page, the same for the same seed: what
// makes a real scan's JPEG two or three times a drawn page's size, and its
// blocks that much slower to decode.
QImage addScannerNoise(QImage page, quint32 seed);

// A page of a scanned PDF: its picture drawn over the whole page (at 300
// ppi), and what else the page's content draws.
struct PdfScan
{
    QByteArray stored; // the picture's data, behind filter
    QSize pixels;
    bool grey = false;
    QByteArray alsoDrawn = QByteArray(); // content after the picture's
    int rotate = 0;
    QByteArray filter = "/DCTDecode";
    QByteArray space = QByteArray(); // else grey or RGB
    // The picture's matrix in the page's units (its width and height in
    // points are w and h); else drawn upright over the page.
    QByteArray placement = QByteArray();
    // More keys for the page's dictionary, its resources and its picture's
    // (for the first page: the catalog's too), and objects numbered after
    // all the pages' (from 4 + 3 × pages), written as given.
    QByteArray pageKeys = QByteArray();
    QByteArray resources = QByteArray();
    QByteArray pictureKeys = QByteArray();
    QByteArray catalogKeys = QByteArray();
    QList<QByteArray> objects = {};
    QSize claimed = QSize(); // the picture's size as its dictionary says; else pixels
};
// Tile number tile of a webtoon chapter's strip, width wide, as the
// chapter's site slices it: at a fixed height, through panels and gutters
// alike. Panels are as wide as the strip or nearly, their heights between
// half and one and a half times its width, mostly with white gutters
// between them; the same seed always gives the same strip.
QImage drawWebtoonTile(quint32 seed, int width, int tileHeight, int tile);

// A PDF of such pages, written as a scanner's software writes one.
QByteArray pdfOfScans(const QList<PdfScan> &pages);

// Writes a folder of sample pages that shows every option at work: names
// that need natural order, every file type, a double-page spread and a
// page with a scanner border. Returns the files written, or an empty list
// when the folder could not be written.
QStringList writeSampleFolder(const QString &folder);

#endif // SAMPLEPAGES_H
