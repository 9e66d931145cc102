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

    // Deflates data into a raw deflate stream (method 8) at level 6 with
    // libdeflate, whose output depends on the data alone, never on which
    // thread made it.
    static DeflatedEntry deflate(const QByteArray &data);
};

#endif // DEFLATEDENTRY_H
