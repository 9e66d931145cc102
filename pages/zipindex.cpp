#include "pages/zipindex.h"

#include <QHash>
#include <QMutex>

#include <algorithm>

#include <quazip/quazip.h>
#include <quazip/unzip.h>

namespace {
QMutex s_mutex;
QHash<QString, ZipIndex> s_indexes;
constexpr int IndexesKept = 4;

// Bit 0 of an entry's flags: its data is encrypted.
constexpr uLong EncryptedFlag = 1;
} // namespace

ZipIndex ZipIndex::of(const QString &path)
{
    const FileStamp now = FileStamp::of(path);
    QMutexLocker locker(&s_mutex);
    if (s_indexes.size() > IndexesKept)
        s_indexes.clear();
    const auto known = s_indexes.constFind(path);
    if (known != s_indexes.cend() && known->m_stamp == now && now.isValid())
        return *known;
    locker.unlock();
    const ZipIndex index = read(path, now);
    locker.relock();
    s_indexes.insert(path, index);
    return index;
}

ZipIndex ZipIndex::read(const QString &path, const FileStamp &stamp)
{
    ZipIndex index;
    index.m_stamp = stamp;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return index;
    index.m_zip = true;
    unzFile unz = zip.getUnzFile();
    bool whole = true; // every entry's data found where its header is
    QByteArray name;
    for (int found = unzGoToFirstFile(unz); found == UNZ_OK; found = unzGoToNextFile(unz)) {
        if (index.m_records.size() >= RecordLimit) {
            index.m_error = tr("Its index names more than %1 entries.").arg(RecordLimit);
            index.m_byData.clear();
            return index;
        }
        unz_file_info64 file;
        if (unzGetCurrentFileInfo64(unz, &file, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        // Names are as long as the index says, up to ZIP's 65,535 bytes.
        name.resize(int(file.size_filename));
        if (unzGetCurrentFileInfo64(unz, &file, name.data(), uLong(name.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK)
            break;
        Record record;
        record.name = QString::fromUtf8(name);
        record.method = int(file.compression_method);
        record.encrypted = file.flag & EncryptedFlag;
        record.size = qint64(file.uncompressed_size);
        record.compressedSize = qint64(file.compressed_size);
        unz64_file_pos position;
        int method = 0;
        int level = 0;
        if (whole && unzGetFilePos64(unz, &position) == UNZ_OK &&
            unzOpenCurrentFile2(unz, &method, &level, 1) == UNZ_OK) {
            record.directoryOffset = position.pos_in_zip_directory;
            record.directoryEntry = position.num_of_file;
            record.dataOffset = unzGetCurrentFileZStreamPos64(unz);
            unzCloseCurrentFile(unz);
        } else {
            whole = false; // nothing is copied from it; libarchive reads what it can
        }
        index.m_records.append(record);
    }
    if (!whole)
        return index;
    index.m_byData = index.m_records;
    std::stable_sort(index.m_byData.begin(), index.m_byData.end(),
                     [](const Record &a, const Record &b) { return a.dataOffset < b.dataOffset; });
    constexpr quint64 LocalHeader = 30; // the smallest an entry's own header takes
    for (int i = 1; i < index.m_byData.size(); ++i) {
        const Record &before = index.m_byData.at(i - 1);
        if (before.dataOffset + quint64(before.compressedSize) + LocalHeader >
            index.m_byData.at(i).dataOffset) {
            index.m_error = tr("Its index gives two entries the same data: other programs would "
                               "show other pages.");
            index.m_byData.clear();
            break;
        }
    }
    return index;
}
