#include "making/kf8book.h"

#include "making/epubpackage.h"
#include "making/mobiindex.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {
const int TextRecordSize = 4096;
const int HeaderLength = 264; // the book header of a KF8 book
const quint32 None = 0xffffffff;
// Bounds on what the book says of itself, in bytes: a reader shows a few
// lines of it; a hostile ComicInfo.xml must not make the header huge.
const int TitleLimit = 1024;
const int ValueLimit = 16 * 1024;

void putU32(QByteArray &bytes, int at, quint32 value)
{
    qToBigEndian(value, reinterpret_cast<uchar *>(bytes.data() + at));
}

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    putU32(bytes, 0, value);
    return bytes;
}

QByteArray u16(quint16 value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xff);
}

// UTF-8 cut to at most limit bytes, never inside a character.
QByteArray utf8Within(const QString &text, int limit)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= limit)
        return bytes;
    int end = limit;
    while (end > 0 && (uchar(bytes.at(end)) & 0xc0) == 0x80)
        --end;
    return bytes.left(end);
}

// Text as the page documents carry it: XML's markup escaped and every
// character past ASCII a reference, so that no character is split between
// two text records.
QByteArray asciiXml(const QString &text)
{
    QByteArray bytes;
    const QVector<uint> points = text.toUcs4();
    for (const uint c : points) {
        if (c == '<')
            bytes += "&lt;";
        else if (c == '>')
            bytes += "&gt;";
        else if (c == '&')
            bytes += "&amp;";
        else if (c == '"')
            bytes += "&quot;";
        else if (c >= 0x20 && c < 0x7f)
            bytes += char(c);
        else
            bytes += "&#" + QByteArray::number(c) + ';';
    }
    return bytes;
}

// The Windows locale number readers take the book's language from; 0 for
// one not in this list (readers then go by the language record).
quint32 localeOf(const QString &language)
{
    static const struct
    {
        const char *tag;
        quint32 locale;
    } locales[] = {{"ar", 1},  {"zh", 4},  {"cs", 5},  {"da", 6},  {"de", 7},  {"el", 8},
                   {"en", 9},  {"es", 10}, {"fi", 11}, {"fr", 12}, {"he", 13}, {"hu", 14},
                   {"it", 16}, {"ja", 17}, {"ko", 18}, {"nl", 19}, {"no", 20}, {"nb", 20},
                   {"pl", 21}, {"pt", 22}, {"ru", 25}, {"sv", 29}, {"tr", 31}};
    const QString primary = language.section(QLatin1Char('-'), 0, 0).toLower();
    for (const auto &entry : locales)
        if (primary == QLatin1String(entry.tag))
            return entry.locale;
    return 0;
}

// Base 32 as KF8 numbers its links: digits, then A to V.
QByteArray base32(quint32 value, int width)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
    QByteArray bytes;
    do {
        bytes.prepend(digits[value % 32]);
        value /= 32;
    } while (value);
    while (bytes.size() < width)
        bytes.prepend('0');
    return bytes;
}
} // namespace

Kf8Book::Kf8Book(const ComicInfo &info, const QString &fallbackTitle, const QVector<Page> &pages)
    : m_info(info)
    , m_pages(pages)
{
    const EpubPackage epub(info, fallbackTitle, {});
    m_title = epub.title();
    m_language = epub.language();
    m_text = textOf(pages, m_title);
}

QString Kf8Book::pictureLink(int index)
{
    return QStringLiteral("kindle:embed:") + QString::fromLatin1(base32(quint32(index + 1), 4));
}

QByteArray Kf8Book::asinOf(const QByteArray &identity)
{
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256);
    quint64 bits = qFromBigEndian<quint64>(reinterpret_cast<const uchar *>(digest.constData()));
    static const char letters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QByteArray asin("B0");
    for (int i = 0; i < 8; ++i) {
        asin += letters[bits % 36];
        bits /= 36;
    }
    return asin;
}

// Each page one document: a skeleton (the document without its body's
// content) followed by one fragment (the picture) that goes into its body.
Kf8Book::Text Kf8Book::textOf(const QVector<Page> &pages, const QString &title)
{
    Text text;
    const QByteArray bodyEnd("</body></html>");
    for (int i = 0; i < pages.size(); ++i) {
        const Page &page = pages.at(i);
        const QByteArray width = QByteArray::number(page.size.width());
        const QByteArray height = QByteArray::number(page.size.height());
        const QByteArray skeleton = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
                                    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>" +
                                    asciiXml(QStringLiteral("%1 (%2)").arg(title).arg(i + 1)) +
                                    "</title><meta name=\"viewport\" content=\"width=" + width +
                                    ", height=" + height +
                                    "\"/></head><body style=\"margin:0;padding:0\" aid=\"" +
                                    base32(quint32(2 * i), 1) + "\">" + bodyEnd;
        const QByteArray fragment = "<div aid=\"" + base32(quint32(2 * i + 1), 1) +
                                    "\" style=\"margin:0;padding:0\"><img src=\"" +
                                    pictureLink(i).toLatin1() +
                                    "?mime=image/jpeg\" alt=\"\" style=\"width:" + width +
                                    "px;height:" + height + "px;display:block\"/></div>";
        text.skeletonStart.append(text.bytes.size());
        text.skeletonLength.append(skeleton.size());
        text.insertAt.append(text.bytes.size() + skeleton.size() - bodyEnd.size());
        text.fragmentLength.append(fragment.size());
        text.bytes += skeleton + fragment;
    }
    return text;
}

// The fragment, skeleton and chapter (NCX) indexes, in that order.
QVector<QByteArray> Kf8Book::indexes(int *fragments, int *skeletons) const
{
    MobiIndex fragment({{2, 1}, {3, 1}, {4, 1}, {6, 2}});
    MobiIndex skeleton({{1, 1}, {6, 2}});
    MobiIndex ncx({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 2}});
    for (int i = 0; i < m_pages.size(); ++i) {
        const quint32 at = quint32(m_text.insertAt.at(i));
        const quint32 selector =
            fragment.addText("P-//*[@aid='" + base32(quint32(2 * i), 1) + "']");
        fragment.addEntry(QByteArray::number(at).rightJustified(10, '0'),
                          {selector, quint32(i), quint32(i),
                           quint32(at - quint32(m_text.skeletonStart.at(i))),
                           quint32(m_text.fragmentLength.at(i))});
        skeleton.addEntry(
            "SKEL" + QByteArray::number(i).rightJustified(10, '0'),
            {1, quint32(m_text.skeletonStart.at(i)), quint32(m_text.skeletonLength.at(i))});
    }
    // Go To lists the chapters; a book without any, its start.
    QVector<QPair<int, QString>> chapters;
    for (int i = 0; i < m_pages.size(); ++i)
        if (!EpubPackage::plainText(m_pages.at(i).bookmark).isEmpty())
            chapters.append({i, EpubPackage::plainText(m_pages.at(i).bookmark)});
    if (chapters.isEmpty() && !m_pages.isEmpty())
        chapters.append({0, m_title});
    const int width = qMax(3, int(QByteArray::number(chapters.size()).size()));
    for (int c = 0; c < chapters.size(); ++c) {
        const int page = chapters.at(c).first;
        const int end = c + 1 < chapters.size() ? m_text.skeletonStart.at(chapters.at(c + 1).first)
                                                : m_text.bytes.size();
        const int start = m_text.skeletonStart.at(page);
        const quint32 label = ncx.addText(utf8Within(chapters.at(c).second, TitleLimit));
        ncx.addEntry(QByteArray::number(c).rightJustified(width, '0'),
                     {quint32(start), quint32(end - start), label, 0, quint32(page), 0});
    }
    const QVector<QByteArray> ncxRecords = ncx.records();
    const QVector<QByteArray> fragmentRecords = fragment.records();
    *fragments = ncxRecords.size();
    *skeletons = *fragments + fragmentRecords.size();
    return ncxRecords + fragmentRecords + skeleton.records();
}

QVector<QByteArray> Kf8Book::recordsBefore(const QByteArray &identity,
                                           const QDateTime &modified) const
{
    QVector<QByteArray> records{QByteArray()};
    for (int at = 0; at < m_text.bytes.size(); at += TextRecordSize)
        // Each text record ends with a byte that says how many bytes of a
        // character run over into the next one: none, as the text is ASCII.
        records.append(m_text.bytes.mid(at, TextRecordSize) + '\0');
    const int textRecords = records.size() - 1;
    int fragments = 0;
    int skeletons = 0;
    const QVector<QByteArray> index = indexes(&fragments, &skeletons);
    const int ncx = records.size();
    records += index;
    records[0] = header(identity, modified, textRecords, ncx, ncx + fragments, ncx + skeletons,
                        records.size());
    return records;
}

QByteArray Kf8Book::exth(const QByteArray &identity, const QDateTime &modified) const
{
    QVector<QPair<quint32, QByteArray>> values;
    const auto text = [&](quint32 type, const QString &value, int limit = ValueLimit) {
        const QString plain = EpubPackage::plainText(value);
        if (!plain.isEmpty())
            values.append({type, utf8Within(plain, limit)});
    };
    text(100, m_info.writer);
    if (EpubPackage::plainText(m_info.penciller) != EpubPackage::plainText(m_info.writer))
        text(100, m_info.penciller);
    text(101, m_info.publisher);
    text(103, m_info.summary);
    if (m_info.year > 0 && m_info.year <= 9999)
        values.append({106, QByteArray::number(m_info.year).rightJustified(4, '0')});
    const QByteArray asin = asinOf(identity);
    values.append({113, asin});
    values.append({122, "true"});
    values.append({123, "comic"});
    QSize largest;
    for (const Page &page : m_pages)
        largest = largest.expandedTo(page.size);
    values.append(
        {126, QByteArray::number(largest.width()) + 'x' + QByteArray::number(largest.height())});
    values.append({129, pictureLink(0).toLatin1()});
    values.append({201, u32(0)}); // the cover: the first picture
    values.append({202, u32(0)});
    values.append({501, "EBOK"});
    values.append({502, modified.toUTC().toString(Qt::ISODate).toLatin1()});
    text(503, m_title, TitleLimit);
    values.append({504, asin});
    values.append({524, m_language.toLatin1()});
    if (m_info.direction == ComicInfo::RightToLeft) {
        values.append({525, "horizontal-rl"});
        values.append({527, "rtl"});
    }
    QByteArray records;
    for (const auto &value : qAsConst(values))
        records += u32(value.first) + u32(quint32(value.second.size() + 8)) + value.second;
    QByteArray bytes =
        "EXTH" + u32(quint32(records.size() + 12)) + u32(quint32(values.size())) + records;
    while (bytes.size() % 4)
        bytes.append('\0');
    return bytes;
}

QByteArray Kf8Book::header(const QByteArray &identity, const QDateTime &modified, int textRecords,
                           int ncx, int fragments, int skeletons, int firstPicture) const
{
    const int resc = firstPicture + m_pages.size();
    const int fdst = resc + 1;
    const int flis = resc + 2;
    const int fcis = resc + 3;
    // PalmDOC's part: no compression, the text's length and records.
    QByteArray bytes(16 + HeaderLength, '\0');
    bytes[1] = 1;
    putU32(bytes, 4, quint32(m_text.bytes.size()));
    bytes.replace(8, 2, u16(quint16(textRecords)));
    bytes.replace(10, 2, u16(TextRecordSize));
    bytes.replace(16, 4, "MOBI", 4);
    putU32(bytes, 20, HeaderLength);
    putU32(bytes, 24, 2);     // a book
    putU32(bytes, 28, 65001); // UTF-8
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha1);
    putU32(bytes, 32, qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(digest.constData())));
    putU32(bytes, 36, 8); // KF8
    for (int at = 40; at <= 76; at += 4)
        putU32(bytes, at, None); // no dictionary indexes
    putU32(bytes, 80, quint32(textRecords + 1));
    putU32(bytes, 92, localeOf(m_language));
    putU32(bytes, 104, 8);
    putU32(bytes, 108, quint32(firstPicture));
    putU32(bytes, 128, 0x50); // an EXTH follows
    putU32(bytes, 164, None);
    putU32(bytes, 168, None); // no DRM
    putU32(bytes, 192, quint32(fdst));
    putU32(bytes, 196, 1);
    putU32(bytes, 200, quint32(fcis));
    putU32(bytes, 204, 1);
    putU32(bytes, 208, quint32(flis));
    putU32(bytes, 212, 1);
    putU32(bytes, 224, None);
    putU32(bytes, 232, None);
    putU32(bytes, 236, None);
    putU32(bytes, 240, 1); // text records end with their run-over byte
    putU32(bytes, 244, quint32(ncx));
    putU32(bytes, 248, quint32(fragments));
    putU32(bytes, 252, quint32(skeletons));
    putU32(bytes, 256, None); // no DATP
    putU32(bytes, 260, None); // no guide
    putU32(bytes, 264, None);
    putU32(bytes, 272, None);
    putU32(bytes, 276, None);
    bytes += exth(identity, modified);
    const QByteArray name = utf8Within(m_title, TitleLimit);
    putU32(bytes, 84, quint32(bytes.size()));
    putU32(bytes, 88, quint32(name.size()));
    bytes += name + QByteArray(2, '\0');
    while (bytes.size() % 4)
        bytes.append('\0');
    return bytes;
}

// The spine as an EPUB's package gives it, with each page's side of a
// reader's pair: how a Kindle lays out pages in landscape.
QByteArray Kf8Book::spreads() const
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<package version=\"3.0\" xmlns=\"http://www.idpf.org/2007/opf\">"
                     "<spine page-progression-direction=\"";
    xml += m_info.direction == ComicInfo::RightToLeft ? "rtl" : "ltr";
    xml += "\">";
    for (int i = 0; i < m_pages.size(); ++i) {
        const Page &page = m_pages.at(i);
        EpubPackage::Page side;
        side.half = page.half;
        side.spread = page.spread;
        const QString properties = EpubPackage::spreadSide(i, side);
        xml += "<itemref idref=\"page-" + QByteArray::number(i + 1) + "\" skelid=\"" +
               QByteArray::number(i) + '"';
        if (!properties.isEmpty())
            xml += " properties=\"" + properties.toLatin1() + '"';
        xml += "/>";
    }
    xml += "</spine></package>";
    return xml;
}

QVector<QByteArray> Kf8Book::recordsAfter() const
{
    // RESC: its name, the length of this head, a kind, the text's length.
    const QByteArray xml = spreads();
    QByteArray resc = "RESC" + u32(16) + u32(1) + u32(quint32(xml.size())) + xml;
    while (resc.size() % 4)
        resc.append('\0');
    // FDST: the text's sections; one, the pages' documents.
    const QByteArray fdst = "FDST" + u32(12) + u32(1) + u32(0) + u32(quint32(m_text.bytes.size()));
    const QByteArray flis = QByteArray("FLIS", 4) + u32(8) + u16(65) + u16(0) + u32(0) + u32(None) +
                            u16(1) + u16(3) + u32(3) + u32(1) + u32(None);
    const QByteArray fcis = QByteArray("FCIS", 4) + u32(20) + u32(16) + u32(1) + u32(0) +
                            u32(quint32(m_text.bytes.size())) + u32(0) + u32(32) + u32(8) + u16(1) +
                            u16(1) + u32(0);
    const QByteArray end("\xe9\x8e\r\n", 4);
    return {resc, fdst, flis, fcis, end};
}
