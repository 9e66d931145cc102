#ifndef PAGETREATMENTFILE_H
#define PAGETREATMENTFILE_H

#include "making/pagetreatment.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

// The pages' own treatments from a small text file, as quirevale-cli's
// --pages reads it: one line a page, its file name, a tab, then words
// separated by spaces: "cut" or "nocut", "border N" or "noborder",
// "rotate 90|180|270", "straighten" (by the slant found) or "straighten
// DEGREES" (the page's clockwise slant, -5 to 5) or "nostraighten",
// "nolevels" (its paper left as scanned), "keepblank" (kept when blank
// pages are left out). "#" starts a comment, on a line of its own or after the
// words; blank lines are skipped.
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

#endif // PAGETREATMENTFILE_H
