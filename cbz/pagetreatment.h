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

// The pages' own treatments from a small text file, as quirevale-cli's
// --pages reads it: one line a page, its file name, a tab, then words
// separated by spaces: "cut" or "nocut", "border N" or "noborder",
// "rotate 90|180|270". "#" starts a comment; blank lines are skipped.
class PageTreatmentFile
{
    Q_DECLARE_TR_FUNCTIONS(PageTreatmentFile)

public:
    // False when a line cannot be read, or names no page of pageNames;
    // errorString() then names the line.
    [[nodiscard]] bool parse(const QString &text, const QStringList &pageNames);
    const QHash<QString, PageTreatment> &treatments() const { return m_treatments; }
    QString errorString() const { return m_error; }

private:
    bool fail(int line, const QString &reason);
    static QString shortened(const QString &text);

    QHash<QString, PageTreatment> m_treatments;
    QString m_error;
};

#endif // PAGETREATMENT_H
