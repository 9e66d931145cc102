#include "pages/zipentrycopy.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QVector>

#include <libdeflate.h>
#include <quazip/quazip.h>
#include <quazip/unzip.h>

namespace {
// Where each entry's header is in the archives read lately, so that the
// pages of a book do not each walk the index from its start.
struct Index
{
    QDateTime modified;
    qint64 size = 0;
    QVector<unz64_file_pos> entries;
};

QMutex s_mutex;
QHash<QString, Index> s_indexes;
constexpr int IndexesKept = 4;

bool positionOf(QuaZip &zip, const QString &path, int index, unz64_file_pos *position)
{
    const QFileInfo info(path);
    QMutexLocker locker(&s_mutex);
    Index &known = s_indexes[path];
    if (known.modified != info.lastModified() || known.size != info.size()) {
        known = Index{info.lastModified(), info.size(), {}};
        unzFile unz = zip.getUnzFile();
        for (int found = unzGoToFirstFile(unz); found == UNZ_OK; found = unzGoToNextFile(unz)) {
            unz64_file_pos at;
            if (unzGetFilePos64(unz, &at) != UNZ_OK)
                break;
            known.entries.append(at);
        }
    }
    if (index < 0 || index >= known.entries.size())
        return false;
    *position = known.entries.at(index);
    if (s_indexes.size() > IndexesKept)
        s_indexes.clear();
    return true;
}
} // namespace

ZipEntryCopy ZipEntryCopy::of(const QString &path, int index, const QString &name, qint64 budget)
{
    ZipEntryCopy copy;
    QuaZip zip(path);
    unz64_file_pos position;
    if (!zip.open(QuaZip::mdUnzip) || !positionOf(zip, path, index, &position))
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

QByteArray ZipEntryCopy::inflated(const std::function<void(qint64)> &reserve) const
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
        const libdeflate_result result =
            inflater ? libdeflate_deflate_decompress(inflater, compressed.constData(),
                                                     size_t(compressed.size()), data.data(),
                                                     size_t(data.size()), nullptr)
                     : LIBDEFLATE_BAD_DATA;
        libdeflate_free_decompressor(inflater);
        if (result != LIBDEFLATE_SUCCESS)
            return QByteArray();
    }
    if (data.size() != size || libdeflate_crc32(0, data.constData(), size_t(data.size())) != crc)
        return QByteArray();
    return data;
}
