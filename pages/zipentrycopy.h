#ifndef ZIPENTRYCOPY_H
#define ZIPENTRYCOPY_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <functional>

// An entry of a ZIP archive as the archive holds it, compressed, for an
// archive made of the same pages to carry over without deflating it again.
// Found by its number in the archive's index, and only when it is still
// called name, stored or deflated, not encrypted, and within budget; its
// data is the caller's to check (its CRC against the entry as read).
struct ZipEntryCopy
{
    Q_DECLARE_TR_FUNCTIONS(ZipEntryCopy)

public:
    QByteArray compressed;
    quint32 crc = 0;
    qint64 size = 0; // uncompressed
    int method = -1; // 0 stored, 8 deflated; -1: none to copy

    bool isValid() const { return method >= 0; }

    // Entries are numbered in the order their data lies in the file, as
    // libarchive lists them.
    static ZipEntryCopy of(const QString &path, int index, const QString &name, qint64 budget);
    // Why the archive's index cannot be believed (two records sharing an
    // entry's data, or naming more entries than the listed ones found);
    // empty when it can, or it is no ZIP.
    static QString indexError(const QString &path, int listed);

    // The entry's bytes, inflated by libdeflate (or as they are, stored),
    // when they are exactly the size and CRC its header gives; empty else.
    // reserve, when given, is told their size before they are made. Any
    // bytes after the compressed stream's end are let go of.
    QByteArray inflated(const std::function<void(qint64)> &reserve = {});
};

#endif // ZIPENTRYCOPY_H
