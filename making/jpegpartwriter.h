#ifndef JPEGPARTWRITER_H
#define JPEGPARTWRITER_H

#include "pages/jpegcheck.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>

// Writes parts of a JPEG page straight from its coefficients, turned and
// cut on its block grid, so that every pixel decodes as the source's own.
// Each part gets Huffman tables made for it from counts taken while its
// blocks are laid out: one pass over the blocks, where libjpeg's own
// optimization takes two.
class JpegPartWriter
{
public:
    // A turn or mirror as a matrix on pixel coordinates (x to the right, y
    // down): x' = a x + b y, y' = c x + d y.
    struct Turn
    {
        int a = 1, b = 0, c = 0, d = 1;
        // Read as a transpose (or not), then the result's x and y mirrored.
        bool transposes() const { return a == 0; }
        bool mirrorsX() const { return transposes() ? b < 0 : a < 0; }
        bool mirrorsY() const { return transposes() ? c < 0 : d < 0; }
        bool operator==(const Turn &o) const
        {
            return a == o.a && b == o.b && c == o.c && d == o.d;
        }
        Turn operator*(const Turn &q) const
        {
            return {a * q.a + b * q.c, a * q.b + b * q.d, c * q.a + d * q.c, c * q.b + d * q.d};
        }
    };

    // grey: only the luma is written.
    JpegPartWriter(std::shared_ptr<const JpegCheck::Blocks> blocks, const Turn &turn, bool grey);

    // One JPEG file a region of the turned page, each region's left and top
    // edges on its grid, with the colour profile when one is given; empty
    // when libjpeg refused, and error then says why.
    QList<QByteArray> write(const QList<QRect> &regions, const QByteArray &iccProfile,
                            QString *error) const;

private:
    std::shared_ptr<const JpegCheck::Blocks> m_blocks;
    Turn m_turn;
    bool m_grey;
};

#endif // JPEGPARTWRITER_H
