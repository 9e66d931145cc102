#include "pages/zipentrycopy.h"

#include "pages/filestamp.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QVector>
#include <algorithm>

#include <libdeflate.h>
#include <quazip/quazip.h>
#include <quazip/unzip.h>

namespace {
// An entry's record in the archive's index, with where its data starts.
struct Record
{
    unz64_file_pos position;
    quint64 dataOffset = 0;
    quint64 compressedSize = 0;
};

// The entries of the archives read lately, in the order their data lies in
// the file (the order libarchive lists them in, whatever the index's), so
// that the pages of a book do not each walk the index from its start.
struct Index
{
    FileStamp stamp;
    QVector<Record> entries;
    int records = 0; // in the index
    QString error;   // the index and the entries disagree
};

QMutex s_mutex;
QHash<QString, Index> s_indexes;
constexpr int IndexesKept = 4;

// Every entry's record, in the file's order; an index whose records share
// an entry's data, or overlap, is refused: the same archive would give
// other pages to another reader.
Index readIndex(QuaZip &zip, const FileStamp &stamp)
{
    Index index{stamp, {}, 0, {}};
    unzFile unz = zip.getUnzFile();
    bool whole = true; // every entry's data found where its header is
    for (int found = unzGoToFirstFile(unz); found == UNZ_OK; found = unzGoToNextFile(unz)) {
        ++index.records;
        Record record;
        unz_file_info64 file;
        int method = 0;
        int level = 0;
        if (!whole || unzGetFilePos64(unz, &record.position) != UNZ_OK ||
            unzGetCurrentFileInfo64(unz, &file, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile2(unz, &method, &level, 1) != UNZ_OK) {
            whole = false; // nothing is copied from it; libarchive reads what it can
            continue;
        }
        record.dataOffset = unzGetCurrentFileZStreamPos64(unz);
        record.compressedSize = file.compressed_size;
        unzCloseCurrentFile(unz);
        index.entries.append(record);
    }
    if (!whole)
        index.entries.clear();
    std::stable_sort(index.entries.begin(), index.entries.end(),
                     [](const Record &a, const Record &b) { return a.dataOffset < b.dataOffset; });
    constexpr quint64 LocalHeader = 30; // the smallest an entry's own header takes
    for (int i = 1; i < index.entries.size(); ++i) {
        const Record &before = index.entries.at(i - 1);
        if (before.dataOffset + before.compressedSize + LocalHeader >
            index.entries.at(i).dataOffset) {
            index.error = ZipEntryCopy::tr("Its index gives two entries the same data: other "
                                           "programs would show other pages.");
            index.entries.clear();
            break;
        }
    }
    return index;
}

const Index &indexOf(QuaZip &zip, const QString &path)
{
    const FileStamp now = FileStamp::of(path);
    if (s_indexes.size() > IndexesKept)
        s_indexes.clear();
    Index &known = s_indexes[path];
    if (known.stamp != now || !now.isValid())
        known = readIndex(zip, now);
    return known;
}

bool positionOf(QuaZip &zip, const QString &path, int index, unz64_file_pos *position)
{
    QMutexLocker locker(&s_mutex);
    const Index &known = indexOf(zip, path);
    if (index < 0 || index >= known.entries.size())
        return false;
    *position = known.entries.at(index).position;
    return true;
}
} // namespace

QString ZipEntryCopy::indexError(const QString &path, int listed)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return QString(); // libarchive says what is wrong
    QMutexLocker locker(&s_mutex);
    const Index &index = indexOf(zip, path);
    if (index.error.isEmpty() && index.records != listed)
        return tr("Its index names %1 entries where %2 are found: other programs would show "
                  "other pages.")
            .arg(index.records)
            .arg(listed);
    return index.error;
}

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
