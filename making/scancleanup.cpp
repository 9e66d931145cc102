#include "making/scancleanup.h"

#include "making/pageoptions.h"
#include "making/pagetransform.h"
#include "making/pagetreatment.h"
#include "pages/pagereader.h"
#include "scans/blankpage.h"
#include "scans/levels.h"
#include "scans/skew.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

QImage ScanCleanup::apply(const QImage &turned, const PagePlan &plan, const QImage &slantFrom)
{
    *this = ScanCleanup();
    QImage page = turned;
    if (plan.straighten && !page.isNull()) {
        double slant = plan.slantDegrees;
        if (!plan.ownSlant) {
            const Skew skew = Skew::find(slantFrom.isNull() ? page : slantFrom);
            slant = skew.degrees;
            leftAlone = skew.whyNot;
        }
        if (leftAlone.isEmpty()) {
            degrees = slant;
            straightened = std::abs(slant) >= Skew::Negligible;
            if (straightened)
                page = Skew::straightened(page, slant);
        }
    }
    if (plan.levels && !page.isNull()) {
        const Levels levels = Levels::of(page);
        levelled = levels.stretchable();
        if (levelled)
            page = levels.applied(page, plan.levelsGamma);
        else
            levelsLeft = tr("it has no ink to tell from its paper");
    }
    return page;
}

QString ScanCleanup::note() const
{
    QStringList said;
    if (straightened)
        said << tr("straightened by %1").arg(degreesText(degrees));
    else if (!leftAlone.isEmpty())
        said << tr("not straightened: %1").arg(leftAlone);
    if (!levelsLeft.isEmpty())
        said << tr("paper left as scanned: %1").arg(levelsLeft);
    return said.join(QStringLiteral("; "));
}

bool ScanCleanup::leftOutWhenBlank(const PageOptions &options, const PageTreatment &own)
{
    return options.ScanLeaveOutBlank && !own.keptThoughBlank;
}

bool ScanCleanup::isBlankPage(PageReader &reader)
{
    if (!reader.isOnePicture())
        return false;
    const QImage small = reader.reducedPicture(QSize(BlankPage::Side, BlankPage::Side));
    return !small.isNull() && BlankPage::isBlank(small);
}

QString ScanCleanup::rowMark(bool straighten) const
{
    if (!straighten)
        return QString();
    return leftAlone.isEmpty() ? degreesText(degrees) : QStringLiteral("?");
}

QString ScanCleanup::rowNote(bool straighten) const
{
    const QString said = note();
    if (said.isEmpty() && straighten)
        return tr("Straight already (%1)").arg(degreesText(degrees));
    return said;
}

QString ScanCleanup::degreesText(double degrees)
{
    return QStringLiteral("%1°").arg(QLocale().toString(degrees, 'f', 1));
}
