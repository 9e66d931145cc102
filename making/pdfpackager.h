#ifndef PDFPACKAGER_H
#define PDFPACKAGER_H

#include "making/scratchpackager.h"

#include <QFile>
#include <QVector>

#include <memory>
#include <vector>

// A PDF of the book's pages: one page a picture, the page the picture's
// shape (its size in points from the resolution the picture names, 300 dots
// an inch where it names none), the picture over the whole page. A JPEG goes
// in as it is (DCTDecode), a PNG losslessly (its pixels deflated). Its
// information and XMP metadata say what the book says, its outline lists the
// chapters, and it opens right to left for a book read so. The pictures wait
// in a scratch file until the book is written; the same pages and options
// give the same file.
class PdfPackager : public ScratchPackager
{
    Q_DECLARE_TR_FUNCTIONS(PdfPackager)

public:
    explicit PdfPackager(const PageOptions &options);

    // What a page's picture is, as the PDF draws it.
    struct Picture
    {
        qint64 offset = 0; // in the scratch file
        qint64 size = 0;
        int width = 0;
        int height = 0;
        int components = 3;
        bool jpeg = true;         // DCTDecode; else the pixels, deflated
        bool inverted = false;    // CMYK stored inverted (Adobe's way)
        double dotsPerInch = 300; // the picture's own, or 300
    };
    // The size of a page in points.
    static QSizeF pageSize(const Picture &picture);
    // The resolution a PNG names (its pHYs chunk), as dots per inch; 0 for
    // none.
    static double pngDotsPerInch(const QByteArray &png);

protected:
    void cleared() override;
    bool held(const QString &name, const PackedEntry &entry, const ComicPage &page) override;
    bool written() override;
    QString documentNote(const QString &name) const override;

private:
    bool write();
    bool readBack();

    PageOptions m_options;
    std::vector<Picture> m_pictures; // QVector of it trips GCC 12's overflow warning
};

#endif // PDFPACKAGER_H
