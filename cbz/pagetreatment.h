#ifndef PAGETREATMENT_H
#define PAGETREATMENT_H

#include <QCoreApplication>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>

// What one page does differently from the book's settings: a cover with
// another border, a spread among single pages, a page scanned sideways.
struct PageTreatment
{
    Q_DECLARE_TR_FUNCTIONS(PageTreatment)

public:
    enum Cut
    {
        CutAsBook,
        AlwaysCut,
        NeverCut
    };
    enum Border
    {
        BorderAsBook,
        NoBorder,
        OwnBorder
    };

    Cut cut = CutAsBook;
    Border border = BorderAsBook;
    int borderPixels = 0; // with OwnBorder
    int rotation = 0;     // clockwise: 0, 90, 180 or 270

    bool isDefault() const { return *this == PageTreatment(); }
    // "turned 90°, always cut, border 40 px"; empty for the book's settings.
    QString description() const;
    // A quarter turn more, clockwise (or back).
    void turn(int quarters);

    bool operator==(const PageTreatment &other) const
    {
        return cut == other.cut && border == other.border &&
               (border != OwnBorder || borderPixels == other.borderPixels) &&
               rotation == other.rotation;
    }
    bool operator!=(const PageTreatment &other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(PageTreatment)

#endif // PAGETREATMENT_H
