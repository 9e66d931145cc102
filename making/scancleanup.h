#ifndef SCANCLEANUP_H
#define SCANCLEANUP_H

#include <QCoreApplication>
#include <QImage>
#include <QString>

class PageReader;
struct PageOptions;
struct PagePlan;
struct PageTreatment;

// What a scan's clean-up did to one page: its slant turned back, or why
// the page was left as it was; its levels stretched, or why not.
class ScanCleanup
{
    Q_DECLARE_TR_FUNCTIONS(ScanCleanup)

public:
    bool straightened = false;
    double degrees = 0; // the clockwise slant turned back
    QString leftAlone;  // why a page to straighten was not
    bool levelled = false;
    QString levelsLeft; // why a page to level was not

    // The page turned by the plan, cleaned up as the plan says: its slant
    // found and turned back, then its levels stretched. The slant is found
    // on slantFrom when given: the same page turned, larger than a small
    // picture of it.
    QImage apply(const QImage &turned, const PagePlan &plan, const QImage &slantFrom = QImage());
    // "straightened by 1.8°", "not straightened: …", "paper evened out";
    // empty when nothing was asked.
    QString note() const;
    // "1.8°" in the user's language.
    static QString degreesText(double degrees);
    // What a page's row says of it once straightened (when straighten):
    // its slant, or "?" where it could not be told; and in full, for the
    // row's tooltip.
    QString rowMark(bool straighten) const;
    QString rowNote(bool straighten) const;

    // After reader.readWithoutDecoding(): whether the page is blank, told
    // on a small picture of it. A file of many pictures (a scanner's
    // multi-page TIFF) never is: its first does not speak for the others.
    static bool isBlankPage(PageReader &reader);
    // Whether the options leave the page out for being blank, own kept.
    static bool leftOutWhenBlank(const PageOptions &options, const PageTreatment &own);
};

#endif // SCANCLEANUP_H
