#include "making/mobiindex.h"

#include <QtEndian>

namespace {
const int HeaderLength = 192;
const int RecordLimit = 0x10000 - 4096; // room left for the offsets table
const int TextRecordLimit = 0xfff8;

void putU32(QByteArray &bytes, int at, quint32 value)
{
    qToBigEndian(value, reinterpret_cast<uchar *>(bytes.data() + at));
}

void appendU16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value >> 8)).append(char(value & 0xff));
}

void padToFour(QByteArray &bytes)
{
    while (bytes.size() % 4)
        bytes.append('\0');
}

// The common head of an index's records: its name, length and kind.
QByteArray recordHead(quint32 type)
{
    QByteArray head(HeaderLength, '\0');
    head.replace(0, 4, "INDX", 4);
    putU32(head, 4, HeaderLength);
    putU32(head, 12, type);
    return head;
}

// An offsets table of the entries (from the record's start) after them.
void appendOffsets(QByteArray &record, const QVector<int> &offsets)
{
    putU32(record, 20, quint32(record.size()));
    putU32(record, 24, quint32(offsets.size()));
    record.append("IDXT", 4);
    for (const int offset : offsets)
        appendU16(record, quint16(offset));
    padToFour(record);
}
} // namespace

MobiIndex::MobiIndex(const QVector<Tag> &tags)
    : m_tags(tags)
{}

QByteArray MobiIndex::forwardNumber(quint32 value)
{
    QByteArray bytes;
    do {
        bytes.prepend(char(value & 0x7f));
        value >>= 7;
    } while (value);
    bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) | 0x80);
    return bytes;
}

void MobiIndex::addEntry(const QByteArray &label, const QVector<quint32> &values)
{
    m_labels.append(label.left(255));
    m_values.append(values);
}

quint32 MobiIndex::addText(const QByteArray &text)
{
    const QByteArray bytes = forwardNumber(quint32(text.size())) + text;
    if (m_texts.isEmpty() || m_texts.last().size() + bytes.size() > TextRecordLimit)
        m_texts.append(QByteArray());
    const quint32 offset = quint32(m_texts.size() - 1) * 0x10000 + quint32(m_texts.last().size());
    m_texts.last().append(bytes);
    return offset;
}

// TAGX: each tag's number, its values a group, its bit in the control
// byte, then the end mark.
QByteArray MobiIndex::tagTable() const
{
    QByteArray table("TAGX", 4);
    table.append(QByteArray(8, '\0'));
    putU32(table, 4, quint32(12 + 4 * (m_tags.size() + 1)));
    putU32(table, 8, 1); // one control byte
    for (int i = 0; i < m_tags.size(); ++i)
        table.append(char(m_tags.at(i).number))
            .append(char(m_tags.at(i).values))
            .append(char(1 << i))
            .append('\0');
    table.append("\0\0\0\1", 4);
    return table;
}

QByteArray MobiIndex::entryBytes(int index) const
{
    const QByteArray &label = m_labels.at(index);
    QByteArray bytes;
    bytes.append(char(label.size())).append(label);
    bytes.append(char((1 << m_tags.size()) - 1)); // one group of every tag
    for (const quint32 value : m_values.at(index))
        bytes.append(forwardNumber(value));
    return bytes;
}

QVector<QByteArray> MobiIndex::records() const
{
    // The entries' records, each as full as it may be.
    QVector<QByteArray> entryRecords;
    QVector<int> lastEntries;
    QVector<int> offsets;
    QByteArray record;
    const auto close = [&](int last) {
        appendOffsets(record, offsets);
        entryRecords.append(record);
        lastEntries.append(last);
        offsets.clear();
    };
    for (int i = 0; i < m_labels.size(); ++i) {
        const QByteArray entry = entryBytes(i);
        if (record.isEmpty())
            record = recordHead(1);
        else if (record.size() + entry.size() + 2 * (offsets.size() + 1) + 8 > RecordLimit) {
            close(i - 1);
            record = recordHead(1);
        }
        offsets.append(record.size());
        record.append(entry);
    }
    if (!record.isEmpty())
        close(m_labels.size() - 1);

    // The header: what the entries are, and each record's last label and
    // count, for a reader to find an entry without reading every record.
    QByteArray header = recordHead(0);
    putU32(header, 28, 65001); // UTF-8
    putU32(header, 32, 0xffffffff);
    putU32(header, 36, quint32(m_labels.size()));
    putU32(header, 52, quint32(m_texts.size()));
    putU32(header, 180, HeaderLength); // where the tags are
    header.append(tagTable());
    QVector<int> lastOffsets;
    int first = 0;
    for (int r = 0; r < entryRecords.size(); ++r) {
        lastOffsets.append(header.size());
        const QByteArray &label = m_labels.at(lastEntries.at(r));
        header.append(char(label.size())).append(label);
        appendU16(header, quint16(lastEntries.at(r) - first + 1));
        first = lastEntries.at(r) + 1;
    }
    appendOffsets(header, lastOffsets); // its count: the entries' records

    QVector<QByteArray> all{header};
    all += entryRecords;
    for (QByteArray text : m_texts) {
        padToFour(text);
        all.append(text);
    }
    return all;
}
