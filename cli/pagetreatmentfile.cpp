#include "cli/pagetreatmentfile.h"

#include "making/pageoptions.h"

// What a message quotes of a file's text: enough to find it, never a
// megabyte of it.
QString PageTreatmentFile::shortened(const QString &text)
{
    const int most = 80;
    return text.size() <= most ? text : text.left(most) + QChar(0x2026);
}

bool PageTreatmentFile::fail(int line, const QString &reason)
{
    m_error = tr("line %1: %2").arg(line).arg(reason);
    m_treatments.clear();
    return false;
}

bool PageTreatmentFile::parse(const QString &text, const QStringList &pageNames)
{
    m_treatments.clear();
    m_error.clear();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        QString line = lines.at(number - 1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A comment is a line of its own, or follows the words: a page's
        // name may hold a '#' ("c#1.jpg").
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            return fail(number, tr("a page's file name, a tab, then its words"));
        const int comment = line.indexOf(QLatin1Char('#'), tab);
        if (comment >= 0)
            line.truncate(comment);
        const QString name = line.left(tab);
        if (!pageNames.contains(name))
            return fail(number, tr("there is no page %1").arg(shortened(name)));
        PageTreatment treatment = m_treatments.value(name);
        const QStringList words = line.mid(tab + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (int i = 0; i < words.size(); ++i) {
            const QString &word = words.at(i);
            const QString next = words.value(i + 1);
            bool number_ok = false;
            if (word == QLatin1String("cut")) {
                treatment.cut = PageTreatment::AlwaysCut;
            } else if (word == QLatin1String("nocut")) {
                treatment.cut = PageTreatment::NeverCut;
            } else if (word == QLatin1String("noborder")) {
                treatment.border = PageTreatment::NoBorder;
            } else if (word == QLatin1String("border")) {
                QMargins sides;
                int taken = 0;
                if (!PageTreatment::readBorder(words.mid(i + 1), &sides, &taken))
                    return fail(number,
                                tr("border takes one number of pixels from %1 to %2, or four "
                                   "(left, top, right, bottom)")
                                    .arg(PageOptions::BorderPixels.minimum)
                                    .arg(PageOptions::BorderPixels.maximum));
                treatment.setOwnBorder(sides);
                i += taken;
            } else if (word == QLatin1String("rotate")) {
                const int degrees = next.toInt(&number_ok);
                if (!number_ok || (degrees != 90 && degrees != 180 && degrees != 270))
                    return fail(number, tr("rotate takes 90, 180 or 270"));
                treatment.rotation = degrees;
                ++i;
            } else if (word == QLatin1String("straighten")) {
                // Alone, by the slant found; with a number, by that slant.
                double degrees = 0;
                if (PageTreatment::readDegrees(next, &degrees)) {
                    treatment.straighten = PageTreatment::StraightenBy;
                    treatment.straightenDegrees = degrees;
                    ++i;
                } else if (!next.isEmpty() &&
                           (next.front().isDigit() || next.startsWith(QLatin1Char('-')))) {
                    return fail(number, tr("straighten takes a slant from -5 to 5 degrees"));
                } else {
                    treatment.straighten = PageTreatment::StraightenFound;
                }
            } else if (word == QLatin1String("nostraighten")) {
                treatment.straighten = PageTreatment::LeaveStraight;
            } else if (word == QLatin1String("nolevels")) {
                treatment.paperAsScanned = true;
            } else if (word == QLatin1String("keepblank")) {
                treatment.keptThoughBlank = true;
            } else {
                return fail(number, tr("unknown word '%1'").arg(shortened(word)));
            }
        }
        m_treatments.insert(name, treatment);
    }
    return true;
}
