#include "making/azw3packager.h"

#include "making/kf8book.h"

#include <QtEndian>

namespace {
const int DatabaseHeader = 78;
const qint64 CopyBlock = 1 << 20;

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, reinterpret_cast<uchar *>(bytes.data()));
    return bytes;
}

// The database's own name: 31 bytes of ASCII, as old readers list it.
QByteArray databaseName(const QString &title)
{
    QByteArray name;
    for (const QChar c : title) {
        if (name.size() == 31)
            break;
        name += c.unicode() < 0x7f && c.isLetterOrNumber() ? char(c.unicode()) : '_';
    }
    return name.isEmpty() ? QByteArray("Comic") : name;
}
} // namespace

void Azw3Packager::cleared()
{
    m_pictureSizes.clear();
    m_identity.clear();
}

bool Azw3Packager::held(const QString &name, const PackedEntry &entry, const ComicPage &page)
{
    // The build writes every page of this kind as JPEG, stored.
    if (entry.method != PackedEntry::Stored || entry.suffix != QLatin1String("jpg") ||
        entry.compressed.isEmpty())
        return fail(tr("Page %1 is not a JPEG picture: a Kindle book holds only those.").arg(name));
    if (m_pages.size() + 16 >= Kf8Book::RecordLimit / 2)
        return fail(tr("A Kindle book holds at most %1 pages.").arg(Kf8Book::RecordLimit / 2 - 16));
    if (m_scratch->write(entry.compressed) != entry.compressed.size())
        return fail(tr("Page %1 cannot be written: %2").arg(name, m_scratch->errorString()));
    m_pictureSizes.append(entry.compressed.size());
    m_identity += name.toUtf8() + QByteArray::number(page.bytes);
    return true;
}

QString Azw3Packager::documentNote(const QString &name) const
{
    return tr("A Kindle book carries its information in its own header, not as %1.").arg(name);
}

QByteArray Azw3Packager::databaseHeader(const QVector<qint64> &sizes) const
{
    const int count = sizes.size();
    QByteArray header(DatabaseHeader, '\0');
    const QByteArray name =
        databaseName(m_book.comicInfo.title.isEmpty() ? m_book.name : m_book.comicInfo.title);
    header.replace(0, name.size(), name);
    // Seconds since 1970, as readers of these books take a date without its
    // top bit.
    const quint32 date = quint32(qBound<qint64>(0, m_book.modified.toSecsSinceEpoch(), 0x7fffffff));
    header.replace(36, 4, u32(date));
    header.replace(40, 4, u32(date));
    header.replace(60, 8, "BOOKMOBI");
    header.replace(68, 4, u32(quint32(2 * count - 1)));
    header[76] = char(count >> 8);
    header[77] = char(count & 0xff);
    qint64 offset = DatabaseHeader + 8 * qint64(count) + 2;
    for (int i = 0; i < count; ++i) {
        header += u32(quint32(offset));
        header += u32(quint32(2 * i) & 0xffffff); // attributes 0, then its id
        offset += sizes.at(i);
    }
    header += QByteArray(2, '\0');
    return header;
}

bool Azw3Packager::writeRecords(const QVector<QByteArray> &before, const QVector<QByteArray> &after)
{
    QVector<qint64> sizes;
    for (const QByteArray &record : before)
        sizes.append(record.size());
    sizes += m_pictureSizes;
    for (const QByteArray &record : after)
        sizes.append(record.size());
    qint64 total = DatabaseHeader + 8 * qint64(sizes.size()) + 2;
    for (const qint64 size : qAsConst(sizes))
        total += size;
    if (sizes.size() > Kf8Book::RecordLimit || total - sizes.last() > 0xffffffffLL)
        return fail(tr("The book is too large for a Kindle book (%1 MB; at most 4,096 MB).")
                        .arg(total >> 20));
    QFile *file = m_file.file();
    const auto put = [&](const QByteArray &bytes) {
        return file->write(bytes) == bytes.size() ||
               fail(m_file.fileError(tr("The book cannot be written")));
    };
    if (!put(databaseHeader(sizes)))
        return false;
    for (const QByteArray &record : before)
        if (!put(record))
            return false;
    if (!m_scratch->flush() || !m_scratch->seek(0))
        return fail(tr("The pages cannot be read back: %1").arg(m_scratch->errorString()));
    QByteArray block;
    while (!m_scratch->atEnd()) {
        block = m_scratch->read(CopyBlock);
        if (block.isEmpty())
            return fail(tr("The pages cannot be read back: %1").arg(m_scratch->errorString()));
        if (!put(block))
            return false;
    }
    for (const QByteArray &record : after)
        if (!put(record))
            return false;
    return file->size() == total || fail(tr("The finished book does not have the size it should."));
}

bool Azw3Packager::written()
{
    QVector<Kf8Book::Page> pages;
    for (const ComicPage &page : qAsConst(m_pages))
        pages.append({QSize(page.width, page.height), page.half, page.doublePage, page.bookmark});
    const Kf8Book book(m_book.comicInfo, m_book.name, pages);
    const QByteArray identity = comicInfoXml(m_book.comicInfo, m_pages) + m_identity;
    return writeRecords(book.recordsBefore(identity, m_book.modified), book.recordsAfter());
}
