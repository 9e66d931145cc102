#ifndef PAGEREADER_H
#define PAGEREADER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Reads a page file the same way for the preview and for the build: the
// whole file once, checked for damage before any decoding (a JPEG or PNG cut
// short, a BMP shorter than its header says), each picture's size checked
// against a budget no comic page needs before it is decoded, the camera's
// orientation applied, and every picture of a multi-page TIFF in order.
// Safe to use on any thread; touches no widget and no pixmap.
class PageReader
{
    Q_DECLARE_TR_FUNCTIONS(PageReader)

public:
    // About 16000 x 16000 pixels: a page above it would take gigabytes.
    static constexpr qint64 PixelBudget = qint64(1) << 28;

    enum Pictures
    {
        FirstPictureOnly,
        AllPictures
    };

    explicit PageReader(const QString &path);

    // False when the file cannot be used; errorString() then says why.
    bool read(Pictures which = AllPictures);
    // Reads the file and checks it (whole, within the budget) as read()
    // does, without decoding a pixel; headerSize() is the page's size as it
    // shows, the camera's turn applied.
    bool readWithoutDecoding();
    QSize headerSize() const { return m_headerSize; }
    // The first picture, decoded small enough to fit within bounds (JPEG
    // decodes straight at a fraction of its size, which costs little).
    QImage reducedPicture(const QSize &bounds) const;

    const QList<QImage> &images() const { return m_images; }
    // The file's bytes as they are on disk.
    const QByteArray &fileData() const { return m_data; }
    // The format the file's content declares ("jpeg", "png", ...).
    const QByteArray &format() const { return m_format; }
    QString errorString() const { return m_error; }

    // The size of the picture reader is at, from its header alone, as it
    // shows: turned when the camera said so.
    static QSize shownSize(class QImageReader &reader);

    // The picture as the archive's JPEG encoder is given it: opaque pages in
    // 32-bit RGB, transparent areas laid on white.
    static QImage forEncoding(const QImage &image);

private:
    bool fail(const QString &reason);
    bool readFile();
    bool checkBudget(const QSize &size);
    bool checkWhole();
    bool readPicture(class QImageReader &reader);

    QString m_path;
    QByteArray m_data;
    QByteArray m_format;
    QList<QImage> m_images;
    QSize m_headerSize;
    QString m_error;
};

#endif // PAGEREADER_H
