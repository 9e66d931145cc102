#ifndef RARCHECKSUMS_H
#define RARCHECKSUMS_H

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// The CRC32 (or, in RAR 5, the BLAKE2sp hash) a RAR archive's file headers
// give for each entry's unpacked bytes, in the order of its entries. libarchive checks
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
    // Whether data is what entry index held when it was packed (true for
    // an entry whose headers give nothing to check it by).
    bool matches(int index, const QByteArray &data) const;
    // Whether the walk met the archive's end: a RAR 5 archive always ends
    // with one, and without it entries after the last found may be gone.
    bool reachedEnd() const { return m_reachedEnd; }

private:
    template<typename ReadAt> static RarChecksums walk(qint64 size, ReadAt readAt);
    template<typename ReadAt> static RarChecksums walk4(qint64 size, ReadAt readAt);
    template<typename ReadAt> static RarChecksums walk5(qint64 size, ReadAt readAt);
    void add(quint32 crc, bool known, const QByteArray &blake2 = QByteArray());

    QVector<quint32> m_crcs;
    QVector<QByteArray> m_hashes; // BLAKE2sp, where given instead of a CRC
    QVector<bool> m_known;
    bool m_reachedEnd = false;
};

#endif // RARCHECKSUMS_H
