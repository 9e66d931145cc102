#ifndef LOSSLESSCUT_H
#define LOSSLESSCUT_H

#include "making/jpegpartwriter.h"
#include "making/pageoptions.h"
#include "making/pagetransform.h"
#include "pages/jpegcheck.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QImageIOHandler>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>

// Cuts a JPEG page on its compressed blocks: the page's turn (the camera's
// and its own), the border and the double-page split are done on the
// coefficients, without decoding a pixel, so every kept pixel is the
// source's own. Each part is written with Huffman tables made for it. A block cannot be split, so a
// cut's left and top edges fall on the block grid: each moves back to the grid line before it,
// keeping the whole of what was asked for and a few columns or rows more. Right and bottom edges
// fall where they were asked.
class LosslessCut
{
    Q_DECLARE_TR_FUNCTIONS(LosslessCut)

public:
    // What is known of the JPEG page from its header.
    struct Source
    {
        QSize size; // in the file's own orientation
        JpegLayout layout;
        QImageIOHandler::Transformations transformation;

        // From the page's size as it shows, the camera's turn applied.
        static Source shown(const QSize &shownSize, const JpegLayout &layout,
                            QImageIOHandler::Transformations transformation)
        {
            const bool turned = transformation & QImageIOHandler::TransformationRotate90;
            return {turned ? shownSize.transposed() : shownSize, layout, transformation};
        }
    };

    // The page's cut as its plan (made for the page as it shows) asks.
    LosslessCut(const Source &source, const PageOptions &options, const PagePlan &plan);

    // Why the page must be encoded as usual; empty when it can be cut here.
    QString whyNot() const { return m_whyNot; }
    // The parts of the turned page that become the archive's pages, in
    // archive order, their edges where they will really fall.
    QList<QRect> regions() const { return m_regions; }

    // The page's JPEG files, one a region; empty when they could not be
    // made, and error then says why. The coefficients are those the page's
    // check kept, or are read here (hearing every warning) when there are
    // none.
    QList<QByteArray> run(const QByteArray &jpeg, QString *error,
                          std::shared_ptr<const JpegCheck::Blocks> blocks = {}) const;

    // The regions of a turned page of the plan's size that the book's
    // options and a page's treatment ask for, their left and top edges moved
    // back onto a grid of that size (1 × 1: exactly as asked).
    static QList<QRect> regions(const PagePlan &plan, const PageOptions &options,
                                const QSize &grid);

private:
    QString check(const Source &source, const PageOptions &options) const;

    PagePlan m_plan;
    JpegPartWriter::Turn m_turn;
    bool m_grey = false;
    QByteArray m_iccProfile;
    QList<QRect> m_regions;
    QString m_whyNot;
};

#endif // LOSSLESSCUT_H
