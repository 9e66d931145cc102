#include "pages/rarchecksums.h"

#include "pages/blake2sp.h"

#include <libdeflate.h>

#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {
const char Marker4[] = "Rar!\x1a\x07\x00";
const char Marker5[] = "Rar!\x1a\x07\x01\x00";
// Far more blocks than any book's archive holds.
const int BlockLimit = 1 << 20;

namespace Rar4 {
const int BaseHeader = 7; // CRC, type, flags, size
const uchar FileHeader = 0x74;
const uchar EndOfArchive = 0x7b;
const quint16 LongBlock = 0x8000;   // a data size follows the header
const quint16 LargeFile = 0x0100;   // sizes have high words
const quint16 SplitBefore = 0x0001; // the entry goes on from a previous volume
const quint16 SplitAfter = 0x0002;
} // namespace Rar4

namespace Rar5 {
const quint64 FileHeader = 2;
const quint64 EncryptionHeader = 4;
const quint64 EndOfArchive = 5;
const quint64 HasExtra = 0x0001;
const quint64 HasData = 0x0002;
const quint64 SplitBefore = 0x0008;
const quint64 SplitAfter = 0x0010;
const quint64 HasTime = 0x0002;
const quint64 HasCrc = 0x0004;
const quint64 HashRecord = 2; // in a file header's extra area
const quint64 Blake2spHash = 0;
const int HashSize = 32;
const int LargestHeader = 2 << 20; // the format's own limit

// A variable-length number of up to ten bytes; false past the end.
bool vint(const QByteArray &bytes, int *at, quint64 *value)
{
    *value = 0;
    for (int shift = 0; shift < 70 && *at < bytes.size(); shift += 7) {
        const uchar byte = uchar(bytes.at((*at)++));
        *value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}
// The BLAKE2sp hash in a file header's extra area (its last extraSize
// bytes); empty when it gives none.
QByteArray hashIn(const QByteArray &header, quint64 extraSize)
{
    if (extraSize > quint64(header.size()))
        return QByteArray();
    int at = header.size() - int(extraSize);
    while (at < header.size()) {
        quint64 size = 0, type = 0;
        if (!vint(header, &at, &size) || size == 0 || size > quint64(header.size() - at))
            return QByteArray();
        const int end = at + int(size);
        quint64 kind = 0;
        if (vint(header, &at, &type) && type == HashRecord && vint(header, &at, &kind) &&
            kind == Blake2spHash && end - at >= HashSize)
            return header.mid(at, HashSize);
        at = end;
    }
    return QByteArray();
}
} // namespace Rar5
} // namespace

void RarChecksums::add(quint32 crc, bool known, const QByteArray &blake2)
{
    m_crcs.append(crc);
    m_hashes.append(blake2);
    m_known.append(known);
}

bool RarChecksums::matches(int index, const QByteArray &data) const
{
    if (!has(index))
        return true;
    if (!m_hashes.at(index).isEmpty())
        return Blake2sp::hash(data) == m_hashes.at(index);
    return quint32(libdeflate_crc32(0, data.constData(), size_t(data.size()))) == m_crcs.at(index);
}

template<typename ReadAt> RarChecksums RarChecksums::walk(qint64 size, ReadAt readAt)
{
    uchar head[8];
    if (readAt(0, head, 8) && std::memcmp(head, Marker5, 8) == 0)
        return walk5(size, readAt);
    if (readAt(0, head, 7) && std::memcmp(head, Marker4, 7) == 0)
        return walk4(size, readAt);
    return RarChecksums();
}

template<typename ReadAt> RarChecksums RarChecksums::walk4(qint64 size, ReadAt readAt)
{
    using namespace Rar4;
    RarChecksums sums;
    uchar head[36];
    qint64 at = 7;
    for (int blocks = 0; at + BaseHeader <= size && blocks < BlockLimit; ++blocks) {
        if (!readAt(at, head, BaseHeader))
            return RarChecksums();
        const uchar type = head[2];
        const quint16 flags = qFromLittleEndian<quint16>(head + 3);
        const quint16 headSize = qFromLittleEndian<quint16>(head + 5);
        if (headSize < BaseHeader)
            return RarChecksums();
        if (type == EndOfArchive) {
            sums.m_reachedEnd = true;
            break;
        }
        // A file header always gives its packed size, whether its flags
        // say a size follows or not.
        quint64 dataSize = 0;
        if ((flags & LongBlock) || type == FileHeader) {
            if (headSize < BaseHeader + 4 || !readAt(at + BaseHeader, head + BaseHeader, 4))
                return RarChecksums();
            dataSize = qFromLittleEndian<quint32>(head + BaseHeader);
        }
        if (type == FileHeader) {
            if (headSize < 32 || !readAt(at, head, 32))
                return RarChecksums();
            if (flags & LargeFile) {
                uchar high[4];
                if (headSize < 40 || !readAt(at + 32, high, 4))
                    return RarChecksums();
                dataSize += quint64(qFromLittleEndian<quint32>(high)) << 32;
            }
            sums.add(qFromLittleEndian<quint32>(head + 16), !(flags & (SplitBefore | SplitAfter)));
        }
        if (dataSize > quint64(size - at))
            return RarChecksums(); // past the file's end
        at += headSize + qint64(dataSize);
    }
    return sums;
}

template<typename ReadAt> RarChecksums RarChecksums::walk5(qint64 size, ReadAt readAt)
{
    using namespace Rar5;
    RarChecksums sums;
    qint64 at = 8;
    for (int blocks = 0; at + 5 < size && blocks < BlockLimit; ++blocks) {
        // The block's CRC, then the size of the rest as a vint.
        QByteArray sized(14, '\0');
        const int got = int(qMin<qint64>(14, size - at));
        if (!readAt(at, reinterpret_cast<uchar *>(sized.data()), got))
            return RarChecksums();
        sized.truncate(got);
        int pos = 4;
        quint64 headSize = 0;
        if (!vint(sized, &pos, &headSize) || headSize == 0 || headSize > LargestHeader)
            return RarChecksums();
        QByteArray header(int(headSize), '\0');
        if (!readAt(at + pos, reinterpret_cast<uchar *>(header.data()), int(headSize)))
            return RarChecksums();
        int h = 0;
        quint64 type = 0, flags = 0, extra = 0, dataSize = 0;
        if (!vint(header, &h, &type) || !vint(header, &h, &flags) ||
            ((flags & HasExtra) && !vint(header, &h, &extra)) ||
            ((flags & HasData) && !vint(header, &h, &dataSize)))
            return RarChecksums();
        if (type == EncryptionHeader || dataSize > quint64(size))
            return RarChecksums(); // nothing of it can be read without a password
        if (type == EndOfArchive) {
            sums.m_reachedEnd = true;
            break;
        }
        if (type == FileHeader) {
            quint64 fileFlags = 0, unpacked = 0, attributes = 0;
            if (!vint(header, &h, &fileFlags) || !vint(header, &h, &unpacked) ||
                !vint(header, &h, &attributes))
                return RarChecksums();
            if (fileFlags & HasTime)
                h += 4;
            quint32 crc = 0;
            const bool hasCrc = (fileFlags & HasCrc) && h + 4 <= header.size();
            if (hasCrc)
                crc = qFromLittleEndian<quint32>(header.constData() + h);
            const QByteArray hash = (flags & HasExtra) ? hashIn(header, extra) : QByteArray();
            sums.add(crc, (hasCrc || !hash.isEmpty()) && !(flags & (SplitBefore | SplitAfter)),
                     hash);
        }
        at += pos + qint64(headSize) + qint64(dataSize);
    }
    return sums;
}

RarChecksums RarChecksums::read(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return RarChecksums();
    return walk(info.st_size, [fd](qint64 at, uchar *into, int count) {
        return ::pread(fd, into, size_t(count), off_t(at)) == count;
    });
}

RarChecksums RarChecksums::parse(const QByteArray &bytes)
{
    return walk(bytes.size(), [&bytes](qint64 at, uchar *into, int count) {
        if (at < 0 || count < 0 || at + count > bytes.size())
            return false;
        std::memcpy(into, bytes.constData() + at, size_t(count));
        return true;
    });
}
