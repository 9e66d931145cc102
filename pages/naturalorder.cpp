#include "pages/naturalorder.h"

DigitRun ReadNumber(const QString &name, int &pos)
{
    const int size = name.size();
    while (pos < size && name.at(pos).isDigit() && name.at(pos).digitValue() == 0)
        ++pos;
    DigitRun run;
    run.digits = name.constData() + pos;
    while (pos < size && name.at(pos).isDigit()) {
        ++pos;
        ++run.length;
    }
    return run;
}

int compareNumbers(const DigitRun &a, const DigitRun &b)
{
    // Without leading zeros, a longer run is the larger number.
    if (a.length != b.length)
        return a.length < b.length ? -1 : 1;
    for (int i = 0; i < a.length; ++i) {
        // Digits of other scripts count by their decimal value, so "٣" equals "3".
        const int da = a.digits[i].digitValue();
        const int db = b.digits[i].digitValue();
        if (da != db)
            return da < db ? -1 : 1;
    }
    return 0;
}

bool naturalLess(const QString &s1, const QString &s2)
{
    int i = 0, j = 0;
    while (i < s1.size() && j < s2.size()) {
        const QChar c1 = s1.at(i);
        const QChar c2 = s2.at(j);
        const bool digit1 = c1.isDigit();
        const bool digit2 = c2.isDigit();
        if (digit1 && digit2) {
            const DigitRun x = ReadNumber(s1, i);
            const DigitRun y = ReadNumber(s2, j);
            const int order = compareNumbers(x, y);
            if (order != 0)
                return order < 0;
            continue;
        }
        if (digit1)
            return true;
        if (digit2)
            return false;
        if (c1 != c2)
            return c1.unicode() < c2.unicode();
        ++i;
        ++j;
    }
    // The whole lengths decide, not what is left of each: of 7.jpg and
    // 007.jpg the shorter name comes first.
    return s1.size() < s2.size();
}
