#ifndef NATURALORDER_H
#define NATURALORDER_H

#include <QFileInfo>
#include <QString>
#include <QVector>

#include <algorithm>
#include <functional>

// A run of decimal digits inside a name, its leading zeros skipped. Runs of
// any length compare by their exact value: timestamps and serial numbers
// longer than any machine integer still sort right.
struct DigitRun
{
    const QChar *digits = nullptr; // first significant digit
    int length = 0;                // number of significant digits; 0 for a value of zero
};

// Reads the run of digits that starts at pos and leaves pos on the first
// code unit after it.
DigitRun ReadNumber(const QString &name, int &pos);

// Negative, zero or positive as the value of a is below, equal to or above b's.
int compareNumbers(const DigitRun &a, const DigitRun &b);

// Natural order of two file names: digit runs compare as numbers, a digit
// comes before any other character, other code units compare by value
// (capitals first), and when one name is used up the shorter whole name wins.
bool naturalLess(const QString &s1, const QString &s2);

// The same order on file information records, by file name.
struct NaturalOrderLess
{
    bool operator()(const QFileInfo &a, const QFileInfo &b) const
    {
        return naturalLess(a.fileName(), b.fileName());
    }
};

// Stable merge sort whose every loop is bounded by indices, never by what
// less() answered. It stays memory-safe and deterministic with a predicate
// that is not a strict weak ordering, which the whole-length tie-break of
// the natural order is not for some sets of names.
template<typename T, typename Less> void stableMergeSort(QVector<T> &items, Less less)
{
    const int count = items.size();
    if (count < 2)
        return;
    QVector<T> buffer(count);
    for (int width = 1; width < count; width *= 2) {
        for (int lo = 0; lo < count; lo += 2 * width) {
            const int mid = std::min(lo + width, count);
            const int hi = std::min(lo + 2 * width, count);
            int i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                buffer[k++] =
                    less(items[j], items[i]) ? std::move(items[j++]) : std::move(items[i++]);
            while (i < mid)
                buffer[k++] = std::move(items[i++]);
            while (j < hi)
                buffer[k++] = std::move(items[j++]);
        }
        items.swap(buffer);
    }
}

#endif // NATURALORDER_H
