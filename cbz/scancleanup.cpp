#include "cbz/scancleanup.h"

#include "cbz/pagetransform.h"
#include "scans/levels.h"
#include "scans/skew.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

QImage ScanCleanup::apply(const QImage &turned, const PagePlan &plan)
{
    *this = ScanCleanup();
    QImage page = turned;
    if (plan.straighten && !page.isNull()) {
        double slant = plan.slantDegrees;
        if (!plan.ownSlant) {
            const Skew skew = Skew::find(page);
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

QString ScanCleanup::degreesText(double degrees)
{
    return QStringLiteral("%1°").arg(QLocale().toString(degrees, 'f', 1));
}
