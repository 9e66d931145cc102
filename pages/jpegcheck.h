#ifndef JPEGCHECK_H
#define JPEGCHECK_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>

struct jpeg_decompress_struct;
struct jvirt_barray_control;

// How a JPEG's blocks are laid out, and its colour profile: its header.
struct JpegLayout
{
    // The smallest block of whole colour samples (8 or 16 pixels a side,
    // more for rare samplings), in the file's own orientation; invalid when
    // the header could not be read.
    QSize blockGrid;
    bool grey = false; // one channel
    bool cmyk = false; // four channels (CMYK or YCCK)
    // Brightness and colour (YCbCr), whose first channel alone is the
    // page in grey; false for grey, RGB and CMYK data.
    bool ycc = false;
    // Grey, or colour sampled as cameras and scanners do (4:4:4, 4:2:2,
    // 4:2:0, 4:4:0, 4:1:1): the layouts a page is cut on its blocks in.
    bool commonSampling = true;
    QByteArray iccProfile; // the colour profile, whole; empty without one

    bool isValid() const { return blockGrid.isValid(); }
};

// What libjpeg itself says of a JPEG's compressed data, found by decoding
// every block without making pixels of them. Qt's reader prints only the
// first of the decoder's warnings and returns a picture all the same, so a
// page whose blocks are damaged ("bad Huffman code") would go into an
// archive as garbage; this check hears every warning.
struct JpegCheck
{
    // Empty when the data decodes cleanly; else the decoder's own words.
    QString damage;
    // Set with damage when the file is sound but uses what this program
    // cannot decode (12-bit samples, a lossless process).
    bool unsupported = false;
    QSize size; // from the header, before any block is decoded
    JpegLayout layout;
    // When a picture to fit a size was asked for, and the data is sound: the
    // page decoded at the fewest eighths of its size that leave it
    // at least that large, in the file's own orientation. Null for CMYK.
    QImage picture;
    // The resolution the header names, as Qt's reader takes it: dots per
    // metre, or invalid when the header names none in inches or
    // centimetres.
    QSize dotsPerMeter;
    // Whether the header holds comments (which Qt's reader turns into the
    // picture's text).
    bool comments = false;

    // Every block's coefficients, as the check read them; kept only by
    // readBlocks(), for a lossless cut that would otherwise read them again.
    class Blocks;
    std::shared_ptr<const Blocks> blocks;

    // Decodes every block once; at an eighth of the size unless a picture
    // to fit within pictureBounds is wanted too.
    // A long check gives up soon after *stop becomes true, as damage
    // "Stopped.".
    static JpegCheck run(const QByteArray &data, qint64 pixelBudget,
                         const QSize &pictureBounds = QSize(),
                         const std::atomic_bool *stop = nullptr);
    // The picture to fit within pictureBounds, decoded the quick way: the
    // data whole in memory, where libjpeg takes its fast Huffman path. It
    // passes over some bad codes without a word: damage it does not hear
    // is for run() to find.
    static JpegCheck decodeQuickly(const QByteArray &data, qint64 pixelBudget,
                                   const QSize &pictureBounds,
                                   const std::atomic_bool *stop = nullptr);
    // Reads every block as run() does, and keeps the coefficients (about
    // three bytes a pixel) when the data is sound: no picture is made.
    static JpegCheck readBlocks(const QByteArray &data, qint64 pixelBudget,
                                const std::atomic_bool *stop = nullptr);
    // Any size at all: the picture is decoded whole.
    static QSize wholePicture() { return QSize(1 << 30, 1 << 30); }

    // A JPEG's frame as its header gives it, no block decoded: what a PDF
    // says of its picture is held against it.
    struct Frame
    {
        QSize size;         // invalid when there is no JPEG header to read
        int components = 0; // 1 grey, 3 colour, 4 CMYK or YCCK
        // The quality its first quantization table was made at, on the
        // scale of libjpeg's own tables (1 to 100); 0 when it cannot be told.
        int quality = 0;
        // The resolution it names in inches or centimetres, as dots per
        // inch; 0 when it names none.
        double dotsPerInch = 0;
        // An Adobe marker: four channels stored inverted, as Adobe writes
        // CMYK.
        bool adobe = false;
    };
    static Frame frameOf(const QByteArray &data);
    // More scans than any encoder writes: a progressive JPEG of 10 scans
    // a component is common, 100 in all is rare. A file of thousands is
    // built to keep its decoder busy, and is refused before it is read.
    static constexpr int ScanLimit = 1000;
    static int scanCount(const QByteArray &data);

private:
    static JpegCheck decode(const QByteArray &data, qint64 pixelBudget, const QSize &pictureBounds,
                            bool careful, bool keepBlocks, const std::atomic_bool *stop);
};

// A JPEG's header and coefficients, read whole into libjpeg's decompressor,
// which is held open (with its error handler and the data) until the last
// user lets go. libjpeg's types are only named here: the lossless cut is
// its one reader.
class JpegCheck::Blocks
{
public:
    ~Blocks();
    Blocks(const Blocks &) = delete;
    Blocks &operator=(const Blocks &) = delete;

    jpeg_decompress_struct *decompressor() const;
    // The memory the coefficients take.
    qint64 bytes() const;
    // One array a component, as jpeg_read_coefficients() gives them.
    jvirt_barray_control **arrays() const { return m_arrays; }

    // libjpeg's decompressor with its error handler and the data it reads.
    struct Decoder;

private:
    friend struct JpegCheck;
    Blocks();
    std::unique_ptr<Decoder> d;
    jvirt_barray_control **m_arrays = nullptr;
};

#endif // JPEGCHECK_H
