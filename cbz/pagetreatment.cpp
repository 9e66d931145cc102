#include "cbz/pagetreatment.h"

#include "cbz/pageoptions.h"

QString PageTreatment::description() const
{
    QStringList said;
    if (rotation != 0)
        said << tr("turned %1°").arg(rotation);
    if (cut == AlwaysCut)
        said << tr("always cut");
    else if (cut == NeverCut)
        said << tr("never cut");
    if (border == NoBorder)
        said << tr("no border");
    else if (border == OwnBorder)
        said << tr("border %1 px").arg(borderPixels);
    return said.join(QStringLiteral(", "));
}

void PageTreatment::turn(int quarters)
{
    rotation = ((rotation + quarters * 90) % 360 + 360) % 360;
}
