#ifndef PAGETREATMENT_H
#define PAGETREATMENT_H

#include <QCoreApplication>
#include <QHash>
#include <QMargins>
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

    enum Straighten
    {
        StraightenAsBook,
        StraightenFound, // by the slant found on it
        LeaveStraight,   // left as it is
        StraightenBy     // by degrees of its own
    };

    Cut cut = CutAsBook;
    Border border = BorderAsBook;
    QMargins borderSides; // with OwnBorder: left, top, right, bottom
    int rotation = 0;     // clockwise: 0, 90, 180 or 270
    Straighten straighten = StraightenAsBook;
    double straightenDegrees = 0; // with StraightenBy: the page's clockwise slant
    bool paperAsScanned = false;  // its levels are left alone
    bool keptThoughBlank = false; // kept when blank pages are left out

    bool isDefault() const { return *this == PageTreatment(); }
    // "turned 90°, always cut, border 40 px"; empty for the book's settings.
    QString description() const;
    // A quarter turn more, clockwise (or back).
    void turn(int quarters);
    // A border of its own, the same on every side or each side its own.
    void setOwnBorder(int pixels) { setOwnBorder(QMargins(pixels, pixels, pixels, pixels)); }
    void setOwnBorder(const QMargins &sides)
    {
        border = OwnBorder;
        borderSides = sides;
    }
    // "40 px", or "40, 10, 40, 10 px" for left, top, right and bottom.
    static QString borderText(const QMargins &sides);
    // A slant of its own, as written ("-1.5"): within the search's ±5°.
    static bool readDegrees(const QString &word, double *degrees);
    // A border as written: the numbers that begin words, one for every
    // side or four (left, top, right, bottom), each within the border's
    // range. False when they are not; *taken is how many words it took.
    static bool readBorder(const QStringList &words, QMargins *sides, int *taken);

    bool operator==(const PageTreatment &other) const
    {
        return cut == other.cut && border == other.border &&
               (border != OwnBorder || borderSides == other.borderSides) &&
               rotation == other.rotation && straighten == other.straighten &&
               (straighten != StraightenBy || straightenDegrees == other.straightenDegrees) &&
               paperAsScanned == other.paperAsScanned && keptThoughBlank == other.keptThoughBlank;
    }
    bool operator!=(const PageTreatment &other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(PageTreatment)

#endif // PAGETREATMENT_H
