#include "deflatedentry.h"

#include <zlib.h>

namespace {
const int DefaultLevel = Z_DEFAULT_COMPRESSION;
const int RawWindowBits = -15; // a raw deflate stream, as ZIP entries carry it
const int MemoryLevel = 8;
} // namespace

DeflatedEntry DeflatedEntry::deflate(const QByteArray &data)
{
    DeflatedEntry entry;
    entry.size = data.size();
    entry.crc =
        quint32(::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.constData()),
                        uInt(data.size())));

    z_stream stream{};
    if (deflateInit2(&stream, DefaultLevel, Z_DEFLATED, RawWindowBits, MemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return DeflatedEntry();
    entry.compressed.resize(int(deflateBound(&stream, uLong(data.size()))));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(entry.compressed.data());
    stream.avail_out = uInt(entry.compressed.size());
    const int status = ::deflate(&stream, Z_FINISH);
    entry.compressed.resize(int(stream.total_out));
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        return DeflatedEntry();
    return entry;
}
