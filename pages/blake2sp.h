#ifndef BLAKE2SP_H
#define BLAKE2SP_H

#include <QByteArray>

// BLAKE2sp, the hash RAR 5 gives an entry instead of a CRC32 when its
// maker asks for one: eight BLAKE2s leaves, each taking every eighth block
// of 64 bytes, under one BLAKE2s root.
class Blake2sp
{
public:
    // The 32 bytes of the digest of data.
    static QByteArray hash(const QByteArray &data);
};

#endif // BLAKE2SP_H
