#ifndef DEFLATEDENTRY_H
#define DEFLATEDENTRY_H

#include <QByteArray>
#include <QtGlobal>

// One archive entry's data, compressed ahead of the archive: pages are
// deflated side by side on many threads and written in order by one.
struct DeflatedEntry
{
    QByteArray compressed; // a raw deflate stream, as a ZIP entry carries it
    quint32 crc = 0;       // of the uncompressed data
    qint64 size = 0;       // of the uncompressed data

    // Deflates data with the archive's fixed settings (method 8, default
    // level, raw stream, memory level 8, default strategy), so that the
    // entry never depends on which thread made it.
    static DeflatedEntry deflate(const QByteArray &data);
};

#endif // DEFLATEDENTRY_H
