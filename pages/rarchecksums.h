#ifndef RARCHECKSUMS_H
#define RARCHECKSUMS_H

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// The CRC32 a RAR archive's file headers (RAR 4 and RAR 5) give for each
// entry's unpacked bytes, in the order of its entries. libarchive checks
// them for packed entries only; a stored entry with a changed byte would
// pass. The header walk reads untrusted bytes: tools/fuzz_pagefilecheck.cpp
// runs it.
class RarChecksums
{
public:
    // What the headers of the RAR archive open as fd say, or nothing when
    // they cannot be walked (then no entry is checked here).
    static RarChecksums read(int fd);
    // The same from bytes in memory, for the fuzzer.
    static RarChecksums parse(const QByteArray &bytes);

    // Whether entry index has a CRC that covers all its bytes (not one part
    // of an entry split over volumes), and which.
    bool has(int index) const { return index >= 0 && index < m_known.size() && m_known[index]; }
    quint32 crc(int index) const { return m_crcs.value(index); }

private:
    template<typename ReadAt> static RarChecksums walk(qint64 size, ReadAt readAt);
    template<typename ReadAt> static RarChecksums walk4(qint64 size, ReadAt readAt);
    template<typename ReadAt> static RarChecksums walk5(qint64 size, ReadAt readAt);
    void add(quint32 crc, bool known);

    QVector<quint32> m_crcs;
    QVector<bool> m_known;
};

#endif // RARCHECKSUMS_H
