#include "making/packedentry.h"

#include <libdeflate.h>

#include <memory>

namespace {
// zlib's default level: archives as small as zlib's default makes them,
// at a fraction of its time.
const int Level = 6;

struct FreeCompressor
{
    void operator()(libdeflate_compressor *compressor) const
    {
        libdeflate_free_compressor(compressor);
    }
};
} // namespace

PackedEntry PackedEntry::deflate(const QByteArray &data, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return PackedEntry();
    };
    // One compressor a thread: it holds some hundred kilobytes of tables.
    thread_local std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(
        libdeflate_alloc_compressor(Level));
    if (!compressor)
        return fail(tr("There is not enough memory for the compressor."));

    PackedEntry entry;
    entry.size = data.size();
    entry.crc = libdeflate_crc32(0, data.constData(), size_t(data.size()));
    entry.compressed.resize(
        int(libdeflate_deflate_compress_bound(compressor.get(), size_t(data.size()))));
    const size_t size =
        libdeflate_deflate_compress(compressor.get(), data.constData(), size_t(data.size()),
                                    entry.compressed.data(), size_t(entry.compressed.size()));
    if (size == 0)
        return fail(tr("The compressor gave no data."));
    entry.compressed.resize(int(size));
    return entry;
}

PackedEntry PackedEntry::store(const QByteArray &data)
{
    PackedEntry entry;
    entry.compressed = data;
    entry.size = data.size();
    entry.crc = libdeflate_crc32(0, data.constData(), size_t(data.size()));
    entry.method = Stored;
    return entry;
}
