#include "pages/rar4checksums.h"

#include <QByteArray>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {
const char Marker[] = "Rar!\x1a\x07\x00";
const int MarkerSize = 7;
const int BaseHeader = 7; // CRC, type, flags, size
const uchar FileHeader = 0x74;
const uchar EndOfArchive = 0x7b;
const quint16 LongBlock = 0x8000;   // a data size follows the header
const quint16 LargeFile = 0x0100;   // sizes have high words
const quint16 SplitBefore = 0x0001; // the entry goes on from a previous volume
const quint16 SplitAfter = 0x0002;
// Far more blocks than any book's archive holds.
const int BlockLimit = 1 << 20;
} // namespace

template<typename ReadAt>
Rar4Checksums Rar4Checksums::walk(qint64 size, ReadAt readAt)
{
    Rar4Checksums sums;
    uchar head[32];
    if (!readAt(0, head, MarkerSize) || std::memcmp(head, Marker, MarkerSize) != 0)
        return sums;
    qint64 at = MarkerSize;
    for (int blocks = 0; at + BaseHeader <= size && blocks < BlockLimit; ++blocks) {
        if (!readAt(at, head, BaseHeader))
            return Rar4Checksums();
        const uchar type = head[2];
        const quint16 flags = qFromLittleEndian<quint16>(head + 3);
        const quint16 headSize = qFromLittleEndian<quint16>(head + 5);
        if (headSize < BaseHeader)
            return Rar4Checksums();
        if (type == EndOfArchive)
            break;
        qint64 dataSize = 0;
        if (flags & LongBlock) {
            if (headSize < BaseHeader + 4 || !readAt(at + BaseHeader, head + BaseHeader, 4))
                return Rar4Checksums();
            dataSize = qFromLittleEndian<quint32>(head + BaseHeader);
        }
        if (type == FileHeader) {
            if (headSize < 32 || !readAt(at, head, 32))
                return Rar4Checksums();
            if (flags & LargeFile) {
                uchar high[4];
                if (headSize < 40 || !readAt(at + 32, high, 4))
                    return Rar4Checksums();
                dataSize += qint64(qFromLittleEndian<quint32>(high)) << 32;
            }
            sums.m_crcs.append(qFromLittleEndian<quint32>(head + 16));
            sums.m_known.append(!(flags & (SplitBefore | SplitAfter)));
        }
        at += headSize + dataSize;
    }
    return sums;
}

Rar4Checksums Rar4Checksums::read(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return Rar4Checksums();
    return walk(info.st_size, [fd](qint64 at, uchar *into, int count) {
        return ::pread(fd, into, size_t(count), off_t(at)) == count;
    });
}

Rar4Checksums Rar4Checksums::parse(const QByteArray &bytes)
{
    return walk(bytes.size(), [&bytes](qint64 at, uchar *into, int count) {
        if (at < 0 || at + count > bytes.size())
            return false;
        std::memcpy(into, bytes.constData() + at, size_t(count));
        return true;
    });
}
