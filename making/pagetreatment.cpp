#include "making/pagetreatment.h"

#include "making/pageoptions.h"

#include <QLocale>

#include <cmath>

QString PageTreatment::description() const
{
    QStringList said;
    if (rotation != 0)
        said << tr("turned %1°").arg(rotation);
    if (cut == AlwaysCut)
        said << tr("always cut");
    else if (cut == NeverCut)
        said << tr("never cut");
    if (straighten == StraightenFound)
        said << tr("straightened");
    else if (straighten == LeaveStraight)
        said << tr("not straightened");
    else if (straighten == StraightenBy)
        said << tr("straightened by %1°").arg(QLocale().toString(straightenDegrees, 'f', 1));
    if (paperAsScanned)
        said << tr("paper as scanned");
    if (keptThoughBlank)
        said << tr("kept though blank");
    if (border == NoBorder)
        said << tr("no border");
    else if (border == OwnBorder)
        said << tr("border %1").arg(borderText(borderSides));
    return said.join(QStringLiteral(", "));
}

QString PageTreatment::borderText(const QMargins &sides)
{
    if (sides.left() == sides.top() && sides.top() == sides.right() &&
        sides.right() == sides.bottom())
        return tr("%1 px").arg(sides.left());
    return tr("%1, %2, %3, %4 px")
        .arg(sides.left())
        .arg(sides.top())
        .arg(sides.right())
        .arg(sides.bottom());
}

bool PageTreatment::readBorder(const QStringList &words, QMargins *sides, int *taken)
{
    QVector<int> numbers;
    for (const QString &word : words) {
        bool ok = false;
        const int pixels = word.toInt(&ok);
        if (!ok || numbers.size() == 4)
            break;
        numbers.append(pixels);
    }
    *taken = numbers.size();
    if (numbers.size() != 1 && numbers.size() != 4)
        return false;
    for (int pixels : qAsConst(numbers)) {
        if (!PageOptions::BorderPixels.contains(pixels))
            return false;
    }
    *sides = numbers.size() == 1
                 ? QMargins(numbers.at(0), numbers.at(0), numbers.at(0), numbers.at(0))
                 : QMargins(numbers.at(0), numbers.at(1), numbers.at(2), numbers.at(3));
    return true;
}

bool PageTreatment::readDegrees(const QString &word, double *degrees)
{
    bool ok = false;
    const double value = word.toDouble(&ok); // "C" locale: files travel
    if (!ok || !std::isfinite(value) || std::abs(value) > 5.0)
        return false;
    *degrees = value;
    return true;
}

void PageTreatment::turn(int quarters)
{
    rotation = ((rotation + quarters * 90) % 360 + 360) % 360;
}
