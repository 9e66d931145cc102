#ifndef JPEGCHECK_H
#define JPEGCHECK_H

#include <QByteArray>
#include <QSize>
#include <QString>

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

    static JpegCheck run(const QByteArray &data, qint64 pixelBudget);
};

#endif // JPEGCHECK_H
