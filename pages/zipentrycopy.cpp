#include "pages/zipentrycopy.h"

#include "pages/zipindex.h"

#include <libdeflate.h>
#include <quazip/quazip.h>
#include <quazip/unzip.h>

QString ZipEntryCopy::indexError(const QString &path, int listed)
{
    const ZipIndex index = ZipIndex::of(path);
    if (!index.isZip())
        return QString(); // libarchive says what is wrong
    if (index.error().isEmpty() && index.records().size() != listed)
        return tr("Its index names %1 entries where %2 are found: other programs would show "
                  "other pages.")
            .arg(index.records().size())
            .arg(listed);
    return index.error();
}

ZipEntryCopy ZipEntryCopy::of(const QString &path, int index, const QString &name, qint64 budget)
{
    ZipEntryCopy copy;
    const ZipIndex zipIndex = ZipIndex::of(path);
    if (index < 0 || index >= zipIndex.byData().size())
        return copy;
    const ZipIndex::Record &record = zipIndex.byData().at(index);
    unz64_file_pos position{record.directoryOffset, record.directoryEntry};
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return copy;
    unzFile unz = zip.getUnzFile();
    unz_file_info64 info;
    QByteArray stored(1024, '\0');
    if (unzGoToFilePos64(unz, &position) != UNZ_OK ||
        unzGetCurrentFileInfo64(unz, &info, stored.data(), uLong(stored.size()), nullptr, 0,
                                nullptr, 0) != UNZ_OK)
        return copy;
    stored.truncate(int(qMin<uLong>(info.size_filename, uLong(stored.size()))));
    constexpr uLong Encrypted = 1;
    if (stored != name.toUtf8() || (info.flag & Encrypted) ||
        (info.compression_method != 0 && info.compression_method != 8) ||
        qint64(info.compressed_size) > budget || qint64(info.uncompressed_size) > budget)
        return copy;
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(unz, &method, &level, 1) != UNZ_OK)
        return copy;
    copy.compressed.resize(int(info.compressed_size));
    const int read =
        copy.compressed.isEmpty()
            ? 0
            : unzReadCurrentFile(unz, copy.compressed.data(), unsigned(copy.compressed.size()));
    unzCloseCurrentFile(unz);
    if (read != copy.compressed.size())
        return ZipEntryCopy();
    copy.crc = quint32(info.crc);
    copy.size = qint64(info.uncompressed_size);
    copy.method = int(info.compression_method);
    return copy;
}

QByteArray ZipEntryCopy::inflated(const std::function<void(qint64)> &reserve)
{
    if (!isValid() || size <= 0 || size > qint64(INT_MAX))
        return QByteArray();
    if (reserve)
        reserve(size);
    QByteArray data;
    if (method == 0) {
        data = compressed;
    } else {
        data.resize(int(size));
        libdeflate_decompressor *inflater = libdeflate_alloc_decompressor();
        size_t streamLength = 0;
        const libdeflate_result result =
            inflater ? libdeflate_deflate_decompress_ex(inflater, compressed.constData(),
                                                        size_t(compressed.size()), data.data(),
                                                        size_t(data.size()), &streamLength, nullptr)
                     : LIBDEFLATE_BAD_DATA;
        libdeflate_free_decompressor(inflater);
        if (result != LIBDEFLATE_SUCCESS)
            return QByteArray();
        // Bytes after the stream's end are no part of the page: a copy
        // carries the stream alone.
        compressed.truncate(int(streamLength));
    }
    if (data.size() != size || libdeflate_crc32(0, data.constData(), size_t(data.size())) != crc)
        return QByteArray();
    return data;
}
