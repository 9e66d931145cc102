#ifndef PACKEDENTRY_H
#define PACKEDENTRY_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// One archive entry's data, packed ahead of the archive (deflated, or
// stored as it is): pages are packed side by side on many threads and
// written in order by one.
struct PackedEntry
{
    Q_DECLARE_TR_FUNCTIONS(PackedEntry)

public:
    // The ZIP methods: stored as it is, or deflated.
    static constexpr int Stored = 0;
    static constexpr int Deflated = 8;

    QByteArray compressed; // the entry's data as the archive carries it
    quint32 crc = 0;       // of the uncompressed data
    qint64 size = 0;       // of the uncompressed data
    int method = Deflated;
    QString suffix = QStringLiteral("jpg"); // the page's file type, for its name

    // Deflates data into a raw deflate stream (method 8) at level 6 with
    // libdeflate, whose output depends on the data alone, never on which
    // thread made it.
    // An empty entry when it cannot be made; error then says why.
    static PackedEntry deflate(const QByteArray &data, QString *error = nullptr);
    // The data as it is (method 0): JPEG data hardly deflates, and storing
    // it spares the build most of its time.
    static PackedEntry store(const QByteArray &data);
};

#endif // PACKEDENTRY_H
