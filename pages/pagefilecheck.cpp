#include "pages/pagefilecheck.h"

#include <QtEndian>

#include <cstring>

namespace PageFileCheck {

namespace {

quint32 u32le(const uchar *at)
{
    return qFromLittleEndian<quint32>(at);
}

quint16 u16le(const uchar *at)
{
    return qFromLittleEndian<quint16>(at);
}

// Run-length pixels (RLE8, or RLE4 with four bits) end with the pair 0 1;
// a file cut short has none, and Qt fills the rest from memory.
Verdict runLengthData(const uchar *bytes, qint64 size, int bits)
{
    qint64 at = 0;
    while (at + 2 <= size) {
        const uchar count = bytes[at];
        const uchar code = bytes[at + 1];
        at += 2;
        if (count > 0)
            continue; // a run of one value
        if (code == 1)
            return Whole; // end of bitmap
        if (code == 0)
            continue; // end of line
        if (code == 2) {
            at += 2; // a move to another pixel
            continue;
        }
        // code pixels given one by one, padded to a whole 16-bit word.
        const qint64 literal = bits == 4 ? (code + 1) / 2 : code;
        at += (literal + 1) / 2 * 2;
    }
    return CutShort;
}

} // namespace

Verdict bmp(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    if (data.size() < 26)
        return CutShort;
    const qint64 offset = u32le(bytes + 10);
    const quint32 headerSize = u32le(bytes + 14);
    qint64 width, height;
    int bits;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = u16le(bytes + 18);
        height = u16le(bytes + 20);
        bits = u16le(bytes + 24);
    } else {
        if (data.size() < 38)
            return CutShort;
        width = qint32(u32le(bytes + 18));
        height = qint32(u32le(bytes + 22));
        bits = u16le(bytes + 28);
        compression = u32le(bytes + 30);
    }
    if (offset > data.size())
        return CutShort;
    if (compression == 1 || compression == 2)
        return runLengthData(bytes + offset, data.size() - offset, compression == 2 ? 4 : 8);
    const qint64 rowBytes = (qAbs(width) * bits + 31) / 32 * 4;
    // A row longer than the file leaves it short of any row at all; the
    // product of the header's numbers alone could overflow.
    if (height != 0 && rowBytes > data.size())
        return CutShort;
    return offset + rowBytes * qAbs(height) <= data.size() ? Whole : CutShort;
}

namespace {
Verdict jpegMarkers(const QByteArray &data);
}

// A marker-like pair inside the entropy-coded data (a stray 0xFF the
// encoder did not stuff) throws the walk off its track, and its "length"
// past the end looks like a file cut short. A file that still ends with
// its end marker is not: libjpeg's pass over the blocks names the damage.
Verdict jpeg(const QByteArray &data)
{
    const Verdict verdict = jpegMarkers(data);
    const int size = data.size();
    if (verdict == CutShort && size >= 4 && uchar(data[size - 2]) == 0xFF &&
        uchar(data[size - 1]) == 0xD9)
        return Whole;
    return verdict;
}

namespace {
Verdict jpegMarkers(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qint64 size = data.size();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return size < 4 ? CutShort : Damaged;
    qint64 at = 2;
    bool inScan = false;
    while (at < size) {
        if (inScan) {
            // Entropy-coded data: a 0xFF is followed by a stuffed 0 or a
            // restart marker; anything else is the next marker.
            const void *found = memchr(bytes + at, 0xFF, size_t(size - at));
            if (!found)
                return CutShort;
            at = static_cast<const uchar *>(found) - bytes;
            if (at + 1 >= size)
                return CutShort;
            const uchar next = bytes[at + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
                at += next == 0xFF ? 1 : 2;
                continue;
            }
            inScan = false;
        }
        if (bytes[at] != 0xFF)
            return Damaged;
        while (at < size && bytes[at] == 0xFF) // fill bytes
            ++at;
        if (at >= size)
            return CutShort;
        const uchar marker = bytes[at++];
        if (marker == 0xD9)
            return Whole;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length
        if (marker == 0x00 || marker == 0xD8)
            return Damaged;
        if (at + 2 > size)
            return CutShort;
        const int length = (bytes[at] << 8) | bytes[at + 1];
        if (length < 2)
            return Damaged;
        if (at + length > size)
            return CutShort;
        at += length;
        inScan = marker == 0xDA;
    }
    return CutShort;
}
} // namespace

namespace {
// Data sub-blocks, each a length byte and its bytes, up to an empty one;
// false when the data ends first.
bool skipSubBlocks(const uchar *bytes, qint64 size, qint64 *at)
{
    while (*at < size) {
        const int length = bytes[*at];
        *at += 1 + length;
        if (length == 0)
            return *at <= size;
    }
    return false;
}
} // namespace

Verdict gif(const QByteArray &data, int *frames)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qint64 size = data.size();
    if (frames)
        *frames = 0;
    if (size < 13)
        return CutShort;
    if (std::memcmp(bytes, "GIF87a", 6) != 0 && std::memcmp(bytes, "GIF89a", 6) != 0)
        return Damaged;
    const uchar screen = bytes[10];
    qint64 at = 13 + ((screen & 0x80) ? 3 * (qint64(2) << (screen & 7)) : 0);
    while (at < size) {
        const uchar block = bytes[at++];
        if (block == 0x3B)
            return Whole;    // the trailer
        if (block == 0x21) { // an extension: its label, then sub-blocks
            ++at;
            if (!skipSubBlocks(bytes, size, &at))
                return CutShort;
        } else if (block == 0x2C) { // a picture
            if (at + 9 > size)
                return CutShort;
            const uchar local = bytes[at + 8];
            at += 9 + ((local & 0x80) ? 3 * (qint64(2) << (local & 7)) : 0);
            ++at; // the LZW code size
            if (!skipSubBlocks(bytes, size, &at))
                return CutShort;
            if (frames)
                ++*frames;
        } else {
            return Damaged;
        }
    }
    return CutShort;
}

Verdict webp(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    if (data.size() < 12)
        return CutShort;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WEBP", 4) != 0)
        return Damaged;
    return qint64(u32le(bytes + 4)) + 8 <= data.size() ? Whole : CutShort;
}

Verdict png(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    qint64 at = 8;
    while (at + 8 <= data.size()) {
        const qint64 length = qFromBigEndian<quint32>(bytes + at);
        const bool end = std::memcmp(bytes + at + 4, "IEND", 4) == 0;
        at += 12 + length;
        if (end)
            return at <= data.size() ? Whole : CutShort;
    }
    return CutShort;
}

} // namespace PageFileCheck
