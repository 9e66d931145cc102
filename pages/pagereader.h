#ifndef PAGEREADER_H
#define PAGEREADER_H

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageIOHandler>
#include <QList>
#include <QMetaType>
#include <QSize>
#include <QString>

#include "pages/jpegcheck.h"
#include "pages/pagelocation.h"
#include "pages/pdfpages.h"
#include "pages/zipentrycopy.h"

#include <atomic>
#include <functional>
#include <memory>

class QImageReader;

// A page's first picture as read for showing: reduced to fit the bounds
// asked for, with the page's own size; or why it cannot be shown.
// What a page is, as read once before any of its pixels are made: its size
// as it shows, its format and, for a JPEG, how its blocks lie and the
// camera's turn.
struct PageFacts
{
    QSize size;
    QByteArray format;
    JpegLayout jpegLayout;
    QImageIOHandler::Transformations transformation;
};

struct PagePicture
{
    QImage picture;
    QSize pageSize;
    QString error;
    // For a JPEG page: how its blocks lie, and the camera's turn.
    JpegLayout jpegLayout;
    QImageIOHandler::Transformations transformation;
    QByteArray format;
    // False for a JPEG decoded the quick way, whose every block is still to
    // be checked (check()).
    bool everyBlockChecked = true;

    bool isValid() const { return error.isEmpty() && !picture.isNull(); }
    PageFacts facts() const { return {pageSize, format, jpegLayout, transformation}; }
};

// Reads a page file the same way for the preview and for the build: the
// file must be a regular file when it is opened (a FIFO or a device would
// block or never end); a JPEG, PNG or BMP is read whole and checked for
// damage before any decoding (cut short, broken structure, and for a JPEG
// every block decoded once by libjpeg, whose warnings Qt would swallow);
// each picture's size is checked against a budget no comic page needs before
// it is decoded; the camera's orientation is applied; a multi-page TIFF gives
// its pictures one at a time. Safe to use on any thread; touches no widget
// and no pixmap.
class PageReader
{
    Q_DECLARE_TR_FUNCTIONS(PageReader)

public:
    // About 16000 x 16000 pixels: a page above it would take gigabytes.
    static constexpr qint64 PixelBudget = qint64(1) << 28;
    // No compressed page comes near it; a larger file is not read into memory.
    static constexpr qint64 FileBudget = qint64(1) << 30;

    enum Pictures
    {
        FirstPictureOnly,
        AllPictures
    };

    explicit PageReader(const PageLocation &location);
    ~PageReader();

    // The first picture of the page at path, checked as for a build and
    // decoded small enough to fit within bounds (an invalid size: whole).
    // A page of more pixels or bytes than the budgets given is refused
    // before it is checked or decoded.
    static PagePicture readFirstPicture(const PageLocation &location, const QSize &bounds = QSize(),
                                        qint64 pixelBudget = PixelBudget,
                                        qint64 byteBudget = FileBudget,
                                        int pdfResolution = PdfPages::DefaultResolution);
    // The same, for a preview on show at once: a JPEG is decoded the quick
    // way (its structure checked, its blocks not each heard), and the
    // picture says so; check() then tells whether the page can be used.
    static PagePicture readPreviewPicture(const PageLocation &location, const QSize &bounds,
                                          int pdfResolution);
    // Checks the page as a build does, without a picture: empty when it
    // can be used, else why not.
    static QString check(const PageLocation &location, int pdfResolution);
    // The page's size from its header alone, as it shows; invalid when the
    // file cannot be used.
    static QSize readHeaderSize(const PageLocation &location,
                                int pdfResolution = PdfPages::DefaultResolution);
    // What the page's header says, without checking the rest of it (an
    // archive's entry is read whole, a PDF's page is not rendered); its
    // size is invalid when it cannot be used, and error then says why.
    static PageFacts readHeader(const PageLocation &location,
                                int pdfResolution = PdfPages::DefaultResolution,
                                QString *error = nullptr);

    // Whether the check of a JPEG page decodes its pixels whole, so that
    // readEach() gives them without decoding the page a second time: for a
    // caller that will want them. Off by default.
    void setWholePictureWhileChecking(bool whole) { m_wholeWhileChecking = whole; }
    // After readWithoutDecoding(): whether readEach() will give the pixels
    // the check decoded (held already, their bytes told to the memory gate).
    bool holdsWholePicture() const { return !m_wholePicture.isNull(); }
    // Whether the check of a JPEG page keeps the coefficients it reads, for
    // a caller that cuts the page on its blocks: off by default.
    void setBlocksKeptWhileChecking(bool keep) { m_keepBlocks = keep; }
    // After readWithoutDecoding(): the coefficients the check kept (null
    // when none were), handed over; their bytes were told to the memory gate.
    std::shared_ptr<const JpegCheck::Blocks> takeJpegBlocks() { return std::move(m_jpegBlocks); }

    // Dots per inch a PDF's page is rendered at.
    void setPdfResolution(int dotsPerInch) { m_pdfResolution = dotsPerInch; }
    // Reading gives up, as failed, soon after *stop becomes true.
    void setStopFlag(const std::atomic_bool *stop) { m_stop = stop; }
    // What bytes a page holds: its file's (or entry's), or the pixels and
    // coefficients made of them.
    enum Holding
    {
        FileBytes,
        Pixels
    };
    // Told the bytes a page's file or entry, and its pixels, will take in
    // memory before they are read or made (when their size is known), so
    // that a caller holding many pages at once can wait for room; a caller
    // that does not ask is not told.
    using MemoryGate = std::function<void(qint64 bytes, Holding holding)>;
    void setMemoryGate(const MemoryGate &reserve) { m_reserve = reserve; }
    // A page larger than these is refused, its pixels counted from its
    // header before it is checked or decoded. PixelBudget and FileBudget
    // unless told otherwise.
    void setBudgets(qint64 pixels, qint64 bytes)
    {
        m_pixelBudget = pixels;
        m_byteBudget = bytes;
    }

    // Opens and checks the file (whole, undamaged, within the budget)
    // without making a pixel; headerSize() is then the page's size as it
    // shows, the camera's turn applied. False when the file cannot be used;
    // errorString() then says why.
    [[nodiscard]] bool readWithoutDecoding();
    // Decodes the pictures one after the other after readWithoutDecoding(),
    // handing each to take, which returns false to stop early.
    [[nodiscard]] bool readEach(Pictures which, const std::function<bool(const QImage &)> &take);

    QSize headerSize() const { return m_headerSize; }
    const PageLocation &location() const { return m_location; }
    // After readWithoutDecoding() of a ZIP's entry: the entry as the archive
    // holds it, when its bytes were taken from there (invalid otherwise).
    const ZipEntryCopy &zipEntry() const { return m_zipEntry; }
    // After readWithoutDecoding(): all that is known before decoding.
    PageFacts facts() const { return {m_headerSize, m_format, m_jpegLayout, m_transformation}; }
    // After readWithoutDecoding(): the camera's turn the file asks for.
    QImageIOHandler::Transformations transformation() const { return m_transformation; }
    // After readWithoutDecoding() of a JPEG: how its blocks lie; invalid
    // for other formats.
    const JpegLayout &jpegLayout() const { return m_jpegLayout; }
    // After readWithoutDecoding(): the first picture, decoded small enough
    // to fit within bounds (JPEG decodes straight at a fraction of its size,
    // which costs little); null when it cannot be decoded, errorString()
    // then says why.
    QImage reducedPicture(const QSize &bounds);
    // After readWithoutDecoding(): whether the page is one picture, not a
    // file of many (a scanner's multi-page TIFF), whose first alone would
    // not speak for the others.
    bool isOnePicture();

    // After readEach(): the frames of an animated picture, of which only the
    // first is read; 1 for any other.
    int frameCount() const { return m_frameCount; }
    // The file's bytes as they are on disk (JPEG, PNG, BMP, WebP and GIF
    // files; others are decoded from the file as it is read).
    const QByteArray &fileData() const { return m_data; }
    // The format the file's content declares ("jpeg", "png", ...).
    const QByteArray &format() const { return m_format; }
    QString errorString() const { return m_error; }

    // The size of the picture reader is at, from its header alone, as it
    // shows: turned when the camera said so.
    static QSize shownSize(QImageReader &reader);

    // The picture as the archive's JPEG encoder is given it: opaque pages in
    // 32-bit RGB, transparent areas laid on white.
    static QImage forEncoding(const QImage &image);

private:
    static QString notAPicture();
    static QString readerError(const QImageReader &reader);
    bool fail(const QString &reason);
    bool openPdfPage(const PageLocation &location);
    bool renderPdfPage();
    bool openFile();
    bool readWholeFile();
    bool checkBudget(const QSize &size);
    bool checkWhole();
    QImage turnedAndFitted(const QSize &bounds);
    std::unique_ptr<QImageReader> imageReader();
    bool readPicture(QImageReader &reader, QImage *image);
    PagePicture firstPicture(const QSize &bounds);
    QImage asQtReads(JpegCheck &&check);
    static void withKnownResolution(QImage *image);
    bool stopped() const { return m_stop && m_stop->load(std::memory_order_relaxed); }

    PageLocation m_location;
    int m_pdfResolution = PdfPages::DefaultResolution;
    QFile m_file;
    QBuffer m_buffer;
    QByteArray m_data;
    QByteArray m_format;
    QSize m_headerSize;
    QString m_error;
    const std::atomic_bool *m_stop = nullptr;
    MemoryGate m_reserve;
    void reserve(qint64 bytes, Holding holding) const
    {
        if (m_reserve)
            m_reserve(bytes, holding);
    }
    // The gate for the file's bytes alone, as the archive's readers take it.
    std::function<void(qint64)> fileGate() const;
    qint64 m_pixelBudget = PixelBudget;
    qint64 m_byteBudget = FileBudget;
    bool m_loaded = false;
    int m_frameCount = 1;
    // The picture a JPEG's check may decode on the way, at this size.
    QSize m_pictureBounds;
    QImage m_checkedPicture;
    bool m_quickPicture = false; // the picture decoded the quick way
    bool m_wholeWhileChecking = false;
    bool m_keepBlocks = false;
    std::shared_ptr<const JpegCheck::Blocks> m_jpegBlocks;
    QImage m_wholePicture; // the check's, as Qt's reader would give it
    ZipEntryCopy m_zipEntry;
    QImage m_rendered; // a PDF's page, once rendered
    QString m_pdfPath;
    int m_pdfPage = -1;
    bool m_pdfPicture = false; // the page is its one picture, decoded
    QImageIOHandler::Transformations m_transformation;
    JpegLayout m_jpegLayout;
};

Q_DECLARE_METATYPE(PagePicture)

#endif // PAGEREADER_H
