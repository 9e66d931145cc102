#ifndef ZIPINDEX_H
#define ZIPINDEX_H

#include "pages/filestamp.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The index of a ZIP archive (its central directory) as the archive says
// it: each entry's name, how it is packed, whether it is encrypted, its
// sizes, and where its data lies. Read once for the pages of a book (the
// few archives read last are kept); an index whose records share an
// entry's data is not believed for where the data lies, as another reader
// would show other pages.
class ZipIndex
{
    Q_DECLARE_TR_FUNCTIONS(ZipIndex)

public:
    // Records read at most: far more than a book has; past them the index
    // is said to be too long.
    static constexpr int RecordLimit = 1 << 20;

    struct Record
    {
        QString name;
        int method = 0; // 0 stored, 8 deflated, 9 Deflate64, 12 bzip2, 99 AES, ...
        bool encrypted = false;
        qint64 size = 0;           // uncompressed
        qint64 compressedSize = 0; // as stored
        quint64 dataOffset = 0;    // where its data starts; 0 when not found
        quint64 directoryOffset = 0;
        quint64 directoryEntry = 0;
    };

    // The index of the archive at path, as it is now; records() is empty
    // for a file that is no ZIP.
    static ZipIndex of(const QString &path);

    // Every record, in the index's order.
    const QVector<Record> &records() const { return m_records; }
    // The records whose data was found, in the order their data lies in the
    // file (the order libarchive lists the entries in); empty when any
    // record's data was not found or the index is not to be believed.
    const QVector<Record> &byData() const { return m_byData; }
    // Why the index cannot be believed (two records sharing an entry's
    // data, more records than RecordLimit); empty when it can.
    QString error() const { return m_error; }
    bool isZip() const { return m_zip; }

private:
    static ZipIndex read(const QString &path, const FileStamp &stamp);

    FileStamp m_stamp;
    QVector<Record> m_records;
    QVector<Record> m_byData;
    QString m_error;
    bool m_zip = false;
};

#endif // ZIPINDEX_H
