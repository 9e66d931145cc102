#include "cbz/losslesscut.h"

#include <turbojpeg.h>

#include <QVector>

#include <memory>

namespace {

// A turn or mirror of the page as a matrix on its pixel coordinates (x to
// the right, y down), so that the camera's turn and the page's own can be
// put together and named as one of libjpeg-turbo's operations.
struct Turn
{
    int a, b, c, d;
    bool operator==(const Turn &other) const
    {
        return a == other.a && b == other.b && c == other.c && d == other.d;
    }
    Turn operator*(const Turn &q) const
    {
        return {a * q.a + b * q.c, a * q.b + b * q.d, c * q.a + d * q.c, c * q.b + d * q.d};
    }
};

// In the order of TJXOP_NONE ... TJXOP_ROT270.
const Turn Operations[TJ_NUMXOP] = {{1, 0, 0, 1},   {-1, 0, 0, 1}, {1, 0, 0, -1},  {0, 1, 1, 0},
                                    {0, -1, -1, 0}, {0, -1, 1, 0}, {-1, 0, 0, -1}, {0, 1, -1, 0}};

// The camera's mirror and flip come first, then its quarter turn (as Qt
// applies them when it reads the page), then the page's own turn.
int operationFor(QImageIOHandler::Transformations camera, int rotation)
{
    Turn turn = Operations[TJXOP_NONE];
    if (camera & QImageIOHandler::TransformationMirror)
        turn = Operations[TJXOP_HFLIP] * turn;
    if (camera & QImageIOHandler::TransformationFlip)
        turn = Operations[TJXOP_VFLIP] * turn;
    if (camera & QImageIOHandler::TransformationRotate90)
        turn = Operations[TJXOP_ROT90] * turn;
    for (int quarter = 0; quarter < rotation / 90; ++quarter)
        turn = Operations[TJXOP_ROT90] * turn;
    for (int operation = 0; operation < TJ_NUMXOP; ++operation) {
        if (Operations[operation] == turn)
            return operation;
    }
    return TJXOP_NONE;
}

bool transposes(int operation)
{
    return operation == TJXOP_TRANSPOSE || operation == TJXOP_TRANSVERSE ||
           operation == TJXOP_ROT90 || operation == TJXOP_ROT270;
}

// A block at the right or bottom edge that is only partly filled cannot be
// moved to the other side: the operations that would do so need whole blocks
// there.
bool turnsWholeBlocks(int operation, const QSize &size, const QSize &grid)
{
    const bool wholeColumns = size.width() % grid.width() == 0;
    const bool wholeRows = size.height() % grid.height() == 0;
    switch (operation) {
    case TJXOP_HFLIP:
    case TJXOP_ROT270:
        return wholeColumns;
    case TJXOP_VFLIP:
    case TJXOP_ROT90:
        return wholeRows;
    case TJXOP_TRANSVERSE:
    case TJXOP_ROT180:
        return wholeColumns && wholeRows;
    default:
        return true;
    }
}

// The colour profile in APP2 segments of at most 65519 bytes each, as every
// reader expects them.
QByteArray iccSegments(const QByteArray &profile)
{
    constexpr int Chunk = 65519;
    const int count = (profile.size() + Chunk - 1) / Chunk;
    QByteArray segments;
    if (count > 255)
        return segments;
    for (int i = 0; i < count; ++i) {
        const QByteArray part = profile.mid(i * Chunk, Chunk);
        const int length = 2 + 14 + part.size();
        segments += char(0xFF);
        segments += char(0xE2);
        segments += char(length >> 8);
        segments += char(length & 0xFF);
        segments += QByteArray("ICC_PROFILE", 12);
        segments += char(i + 1);
        segments += char(count);
        segments += part;
    }
    return segments;
}

// libjpeg-turbo writes its own JFIF header and nothing else: the profile
// goes right after it.
QByteArray withProfile(const QByteArray &jpeg, const QByteArray &profile)
{
    if (profile.isEmpty() || jpeg.size() < 4)
        return jpeg;
    int at = 2;
    if (uchar(jpeg.at(2)) == 0xFF && uchar(jpeg.at(3)) == 0xE0 && jpeg.size() >= 6)
        at = 4 + ((uchar(jpeg.at(4)) << 8) | uchar(jpeg.at(5)));
    return jpeg.left(at) + iccSegments(profile) + jpeg.mid(at);
}

struct TransformHandle
{
    void operator()(void *handle) const { tjDestroy(handle); }
};

} // namespace

LosslessCut::LosslessCut(const Source &source, const PageOptions &options, const PageTreatment &own)
    : LosslessCut(source, options, planPage(shownSize(source), options, own))
{}

QSize LosslessCut::shownSize(const Source &source)
{
    return source.transformation & QImageIOHandler::TransformationRotate90
               ? source.size.transposed()
               : source.size;
}

LosslessCut::LosslessCut(const Source &source, const PageOptions &options, const PagePlan &plan)
{
    m_plan = plan;
    m_operation = operationFor(source.transformation, m_plan.rotation);
    m_grey = options.PageGrey == PageOptions::GreyEveryPage && !source.layout.grey;
    // A colour profile does not describe a page made grey.
    if (!m_grey)
        m_iccProfile = source.layout.iccProfile;
    m_whyNot = check(source, options);
    if (!m_whyNot.isEmpty())
        return;
    const QSize grid =
        transposes(m_operation) ? source.layout.blockGrid.transposed() : source.layout.blockGrid;
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
    if (!turnsWholeBlocks(m_operation, source.size, source.layout.blockGrid))
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

QList<QByteArray> LosslessCut::run(const QByteArray &jpeg, QString *error) const
{
    QList<QByteArray> pages;
    if (!m_whyNot.isEmpty()) {
        *error = m_whyNot;
        return pages;
    }
    std::unique_ptr<void, TransformHandle> handle(tjInitTransform());
    if (!handle) {
        *error = QString::fromLocal8Bit(tjGetErrorStr2(nullptr));
        return pages;
    }
    const int count = m_regions.size();
    QVector<tjtransform> transforms(count);
    QVector<unsigned char *> outputs(count, nullptr);
    QVector<unsigned long> sizes(count, 0);
    for (int i = 0; i < count; ++i) {
        const QRect &region = m_regions.at(i);
        tjtransform &transform = transforms[i];
        transform = tjtransform();
        transform.r = {region.x(), region.y(), region.width(), region.height()};
        transform.op = m_operation;
        // The camera's turn is done: its note goes with the rest of the
        // metadata, and the colour profile is put back below.
        transform.options = TJXOPT_CROP | TJXOPT_PERFECT | TJXOPT_COPYNONE;
        if (m_grey)
            transform.options |= TJXOPT_GRAY;
    }
    const int failed = tjTransform(handle.get(), reinterpret_cast<const uchar *>(jpeg.constData()),
                                   static_cast<unsigned long>(jpeg.size()), count, outputs.data(),
                                   sizes.data(), transforms.data(), TJFLAG_STOPONWARNING);
    if (failed)
        *error = QString::fromLocal8Bit(tjGetErrorStr2(handle.get())).trimmed();
    for (int i = 0; i < count; ++i) {
        if (!failed)
            pages.append(
                withProfile(QByteArray(reinterpret_cast<const char *>(outputs[i]), int(sizes[i])),
                            m_iccProfile));
        tjFree(outputs[i]);
    }
    return pages;
}
