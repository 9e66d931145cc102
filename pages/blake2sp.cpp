#include "pages/blake2sp.h"

#include <QtEndian>

#include <cstring>

namespace {
const quint32 Iv[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                       0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};

const quint8 Sigma[10][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4},
    {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13},
    {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11},
    {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5},
    {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
};

constexpr int Block = 64;
constexpr int Leaves = 8;
constexpr int Digest = 32;

quint32 rotr(quint32 x, int n)
{
    return (x >> n) | (x << (32 - n));
}

// One BLAKE2s hash with the tree parameters of a BLAKE2sp node.
class Blake2s
{
public:
    Blake2s(quint32 nodeOffset, quint8 nodeDepth, bool lastNode)
        : m_lastNode(lastNode)
    {
        // Digest length, no key, fanout 8, depth 2; leaf length 0; the
        // node's offset and depth; inner length 32.
        const quint32 parameters[8] = {quint32(Digest) | (Leaves << 16) | (2u << 24),
                                       0,
                                       nodeOffset,
                                       quint32(nodeDepth) << 16 | quint32(Digest) << 24,
                                       0,
                                       0,
                                       0,
                                       0};
        for (int i = 0; i < 8; ++i)
            m_h[i] = Iv[i] ^ parameters[i];
    }

    void add(const uchar *data, size_t length)
    {
        while (length > 0) {
            // The last block is held back: it is compressed as the last.
            if (m_filled == Block) {
                m_counter += Block;
                compress(false);
                m_filled = 0;
            }
            const size_t taken = qMin(length, size_t(Block - m_filled));
            std::memcpy(m_block + m_filled, data, taken);
            m_filled += int(taken);
            data += taken;
            length -= taken;
        }
    }

    void finish(uchar *digest)
    {
        m_counter += quint64(m_filled);
        std::memset(m_block + m_filled, 0, size_t(Block - m_filled));
        compress(true);
        for (int i = 0; i < 8; ++i)
            qToLittleEndian(m_h[i], digest + 4 * i);
    }

private:
    void compress(bool last)
    {
        quint32 m[16];
        for (int i = 0; i < 16; ++i)
            m[i] = qFromLittleEndian<quint32>(m_block + 4 * i);
        quint32 v[16];
        for (int i = 0; i < 8; ++i) {
            v[i] = m_h[i];
            v[i + 8] = Iv[i];
        }
        v[12] ^= quint32(m_counter);
        v[13] ^= quint32(m_counter >> 32);
        if (last) {
            v[14] = ~v[14];
            if (m_lastNode)
                v[15] = ~v[15];
        }
        const auto g = [&v, &m](int a, int b, int c, int d, quint32 x, quint32 y) {
            v[a] += v[b] + x;
            v[d] = rotr(v[d] ^ v[a], 16);
            v[c] += v[d];
            v[b] = rotr(v[b] ^ v[c], 12);
            v[a] += v[b] + y;
            v[d] = rotr(v[d] ^ v[a], 8);
            v[c] += v[d];
            v[b] = rotr(v[b] ^ v[c], 7);
        };
        for (const quint8 *s : Sigma) {
            g(0, 4, 8, 12, m[s[0]], m[s[1]]);
            g(1, 5, 9, 13, m[s[2]], m[s[3]]);
            g(2, 6, 10, 14, m[s[4]], m[s[5]]);
            g(3, 7, 11, 15, m[s[6]], m[s[7]]);
            g(0, 5, 10, 15, m[s[8]], m[s[9]]);
            g(1, 6, 11, 12, m[s[10]], m[s[11]]);
            g(2, 7, 8, 13, m[s[12]], m[s[13]]);
            g(3, 4, 9, 14, m[s[14]], m[s[15]]);
        }
        for (int i = 0; i < 8; ++i)
            m_h[i] ^= v[i] ^ v[i + 8];
    }

    quint32 m_h[8];
    uchar m_block[Block] = {};
    int m_filled = 0;
    quint64 m_counter = 0;
    bool m_lastNode;
};
} // namespace

QByteArray Blake2sp::hash(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const size_t size = size_t(data.size());
    uchar leafDigests[Leaves * Digest];
    for (int leaf = 0; leaf < Leaves; ++leaf) {
        Blake2s node(quint32(leaf), 0, leaf == Leaves - 1);
        for (size_t at = size_t(leaf) * Block; at < size; at += Leaves * Block)
            node.add(bytes + at, qMin(size - at, size_t(Block)));
        node.finish(leafDigests + leaf * Digest);
    }
    Blake2s root(0, 1, true);
    root.add(leafDigests, sizeof leafDigests);
    QByteArray digest(Digest, '\0');
    root.finish(reinterpret_cast<uchar *>(digest.data()));
    return digest;
}
