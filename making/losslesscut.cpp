#include "making/losslesscut.h"

#include "pages/pagereader.h"

#include <limits>

namespace {

using Turn = JpegPartWriter::Turn;

const Turn MirrorX{-1, 0, 0, 1};
const Turn MirrorY{1, 0, 0, -1};
const Turn Clockwise{0, -1, 1, 0};

// The camera's mirror and flip come first, then its quarter turn (as Qt
// applies them when it reads the page), then the page's own turn.
Turn turnFor(QImageIOHandler::Transformations camera, int rotation)
{
    Turn turn;
    if (camera & QImageIOHandler::TransformationMirror)
        turn = MirrorX * turn;
    if (camera & QImageIOHandler::TransformationFlip)
        turn = MirrorY * turn;
    if (camera & QImageIOHandler::TransformationRotate90)
        turn = Clockwise * turn;
    for (int quarter = 0; quarter < rotation / 90; ++quarter)
        turn = Clockwise * turn;
    return turn;
}

// Which of the source's own axes end up mirrored: after a transpose, the
// turned page's y runs along the source's x.
bool mirrorsSourceX(const Turn &turn)
{
    return turn.transposes() ? turn.mirrorsY() : turn.mirrorsX();
}

bool mirrorsSourceY(const Turn &turn)
{
    return turn.transposes() ? turn.mirrorsX() : turn.mirrorsY();
}

// A block at the right or bottom edge that is only partly filled cannot be
// moved to the other side: a mirrored axis needs whole blocks there.
bool turnsWholeBlocks(const Turn &turn, const QSize &size, const QSize &grid)
{
    return (!mirrorsSourceX(turn) || size.width() % grid.width() == 0) &&
           (!mirrorsSourceY(turn) || size.height() % grid.height() == 0);
}

} // namespace

LosslessCut::LosslessCut(const Source &source, const PageOptions &options, const PagePlan &plan)
{
    m_plan = plan;
    m_turn = turnFor(source.transformation, m_plan.rotation);
    m_grey = options.PageGrey == PageOptions::GreyEveryPage && !source.layout.grey;
    // A colour profile does not describe a page made grey.
    if (!m_grey)
        m_iccProfile = source.layout.iccProfile;
    m_whyNot = check(source, options);
    if (!m_whyNot.isEmpty())
        return;
    const QSize grid =
        m_turn.transposes() ? source.layout.blockGrid.transposed() : source.layout.blockGrid;
    m_regions = regions(m_plan, options, grid);
    for (const QRect &region : qAsConst(m_regions)) {
        if (region.isEmpty()) {
            m_regions.clear();
            m_whyNot = tr("nothing would be left of it");
        }
    }
}

QString LosslessCut::check(const Source &source, const PageOptions &options) const
{
    if (!source.layout.isValid())
        return tr("it is not a JPEG");
    if (source.layout.cmyk)
        return tr("it is a CMYK JPEG");
    if (!source.layout.commonSampling)
        return tr("its colours are sampled in %1 × %2 blocks, a layout it cannot be cut in")
            .arg(source.layout.blockGrid.width())
            .arg(source.layout.blockGrid.height());
    if (options.ImageResize)
        return tr("it is resized");
    if (m_plan.trim)
        return tr("its plain margins are trimmed");
    if (options.PageGrey == PageOptions::GreyWithoutColour && !source.layout.grey)
        return tr("whether it is grey is found by its pixels");
    if (m_grey && !source.layout.ycc)
        return tr("its colours are stored as red, green and blue, none of which is its "
                  "brightness");
    if (!turnsWholeBlocks(m_turn, source.size, source.layout.blockGrid))
        return tr("it is turned, and its size (%1 × %2) is not a whole number of its "
                  "%3 × %4 blocks")
            .arg(source.size.width())
            .arg(source.size.height())
            .arg(source.layout.blockGrid.width())
            .arg(source.layout.blockGrid.height());
    return QString();
}

QList<QRect> LosslessCut::regions(const PagePlan &plan, const PageOptions &options,
                                  const QSize &grid)
{
    // As a decoded page is cut.
    const QList<QRect> asked =
        cutRegions(insideBorder(plan.turnedSize, plan.border), options, plan.cut);
    QList<QRect> snapped;
    for (const QRect &region : qAsConst(asked)) {
        if (region.isEmpty()) {
            snapped.append(QRect());
            continue;
        }
        const QPoint corner(region.x() / grid.width() * grid.width(),
                            region.y() / grid.height() * grid.height());
        snapped.append(QRect(corner, region.bottomRight()));
    }
    return snapped;
}

QList<QByteArray> LosslessCut::run(const QByteArray &jpeg, QString *error,
                                   std::shared_ptr<const JpegCheck::Blocks> blocks) const
{
    if (!m_whyNot.isEmpty()) {
        *error = m_whyNot;
        return QList<QByteArray>();
    }
    if (!blocks) {
        // Within the budget any page is read in: the coefficients take
        // about three bytes a pixel.
        JpegCheck check = JpegCheck::readBlocks(jpeg, PageReader::PixelBudget);
        if (!check.blocks) {
            *error = !check.damage.isEmpty() ? check.damage
                     : check.size.isValid()  ? tr("it is larger than any page")
                                             : tr("it is not a JPEG");
            return QList<QByteArray>();
        }
        blocks = std::move(check.blocks);
    }
    return JpegPartWriter(std::move(blocks), m_turn, m_grey).write(m_regions, m_iccProfile, error);
}
