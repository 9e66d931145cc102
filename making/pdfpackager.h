#ifndef PDFPACKAGER_H
#define PDFPACKAGER_H

#include "making/packager.h"
#include "making/partialfile.h"

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
class PdfPackager : public Packager
{
    Q_DECLARE_TR_FUNCTIONS(PdfPackager)

public:
    explicit PdfPackager(const PageOptions &options);
    ~PdfPackager() override;

    bool begin(const QString &fileName, const Book &book) override;
    bool addPage(const PackedEntry &entry, const ComicPage &page) override;
    bool addDocument(const QString &name, const QByteArray &data) override;
    bool finish(bool replace) override;
    void abandon() override;
    QString errorString() const override;

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

private:
    bool fail(const QString &reason);
    bool write();
    bool readBack();

    PageOptions m_options;
    PartialFile m_file;
    std::shared_ptr<QFile> m_scratch;
    std::vector<Picture> m_pictures; // QVector of it trips GCC 12's overflow warning
    QString m_error;
};

#endif // PDFPACKAGER_H
