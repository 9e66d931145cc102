#ifndef RAR4CHECKSUMS_H
#define RAR4CHECKSUMS_H

#include <QVector>
#include <QtGlobal>

// The CRC32 a RAR 4 archive's file headers give for each entry's unpacked
// bytes, in the order of its entries. libarchive checks them for packed
// entries only; a stored entry with a changed byte would pass. The header
// walk reads untrusted bytes: tools/fuzz_pagefilecheck.cpp runs it.
class Rar4Checksums
{
public:
    // What the headers of the RAR 4 archive open as fd say, or nothing when
    // they cannot be walked (then no entry is checked here).
    static Rar4Checksums read(int fd);
    // The same from bytes in memory, for the fuzzer.
    static Rar4Checksums parse(const QByteArray &bytes);

    // Whether entry index has a CRC that covers all its bytes (not one part
    // of an entry split over volumes), and which.
    bool has(int index) const { return index >= 0 && index < m_known.size() && m_known[index]; }
    quint32 crc(int index) const { return m_crcs.value(index); }

private:
    template<typename ReadAt>
    static Rar4Checksums walk(qint64 size, ReadAt readAt);

    QVector<quint32> m_crcs;
    QVector<bool> m_known;
};

#endif // RAR4CHECKSUMS_H
