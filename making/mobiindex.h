#ifndef MOBIINDEX_H
#define MOBIINDEX_H

#include <QByteArray>
#include <QVector>

// An index of a Kindle book (KF8): the header record that describes its
// entries' tags, the records of entries, and the records of the texts its
// entries point to (CNCX). Each entry has a label and, for each tag, a
// group of values. Labels must be given in order; the entries are spread
// over as many records as their size needs.
class MobiIndex
{
public:
    // A tag's number and how many values it has; each entry has one group
    // of values for every tag.
    struct Tag
    {
        int number;
        int values;
    };
    explicit MobiIndex(const QVector<Tag> &tags);

    void addEntry(const QByteArray &label, const QVector<quint32> &values);
    // A text for the entries to point at: its offset in the text records.
    quint32 addText(const QByteArray &text);

    // The header record, the entries' records, then the texts' records.
    QVector<QByteArray> records() const;

    // A number in the forward form of the index entries: seven bits a
    // byte, the highest first, the last byte marked by its top bit.
    static QByteArray forwardNumber(quint32 value);

private:
    QByteArray tagTable() const;
    QByteArray entryBytes(int index) const;

    QVector<Tag> m_tags;
    QVector<QByteArray> m_labels;
    QVector<QVector<quint32>> m_values;
    QVector<QByteArray> m_texts; // CNCX records
};

#endif // MOBIINDEX_H
