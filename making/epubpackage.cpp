#include "making/epubpackage.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>
#include <QXmlStreamWriter>

namespace {
const char OpfNamespace[] = "http://www.idpf.org/2007/opf";
const char XhtmlNamespace[] = "http://www.w3.org/1999/xhtml";
const char OpsNamespace[] = "http://www.idpf.org/2007/ops";

// Text as XML 1.0 allows it: control characters, lone surrogates and the
// two non-characters dropped, so that any title makes a valid document.
QString clean(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept += c;
            kept += text.at(++i);
        } else if ((u >= 0x20 && !c.isSurrogate() && u != 0xfffe && u != 0xffff) || u == 0x09 ||
                   u == 0x0a || u == 0x0d) {
            kept += c;
        }
    }
    return kept.trimmed();
}

QString pagePath(int index)
{
    return QStringLiteral("pages/page-%1.xhtml").arg(index + 1, 4, 10, QLatin1Char('0'));
}

void start(QXmlStreamWriter &xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
}

// An XHTML document up to its head's title; the head is left open.
void startXhtml(QXmlStreamWriter &xml, const QString &title)
{
    start(xml);
    xml.writeDTD(QStringLiteral("<!DOCTYPE html>"));
    xml.writeStartElement(QStringLiteral("html"));
    xml.writeDefaultNamespace(QLatin1String(XhtmlNamespace));
    xml.writeNamespace(QLatin1String(OpsNamespace), QStringLiteral("epub"));
    xml.writeStartElement(QStringLiteral("head"));
    xml.writeTextElement(QStringLiteral("title"), title);
}

void meta(QXmlStreamWriter &xml, const QString &property, const QString &value,
          const QString &refines = QString(), const QString &scheme = QString())
{
    xml.writeStartElement(QStringLiteral("meta"));
    if (!refines.isEmpty())
        xml.writeAttribute(QStringLiteral("refines"), QLatin1Char('#') + refines);
    xml.writeAttribute(QStringLiteral("property"), property);
    if (!scheme.isEmpty())
        xml.writeAttribute(QStringLiteral("scheme"), scheme);
    xml.writeCharacters(value);
    xml.writeEndElement();
}

void item(QXmlStreamWriter &xml, const QString &id, const QString &href, const QString &type,
          const QString &properties = QString())
{
    xml.writeEmptyElement(QStringLiteral("item"));
    xml.writeAttribute(QStringLiteral("id"), id);
    xml.writeAttribute(QStringLiteral("href"), href);
    xml.writeAttribute(QStringLiteral("media-type"), type);
    if (!properties.isEmpty())
        xml.writeAttribute(QStringLiteral("properties"), properties);
}
} // namespace

EpubPackage::EpubPackage(const ComicInfo &info, const QString &fallbackTitle,
                         const QVector<Page> &pages)
    : m_info(info)
    , m_fallbackTitle(fallbackTitle)
    , m_pages(pages)
{}

QString EpubPackage::plainText(const QString &text)
{
    return clean(text);
}

QString EpubPackage::imagePath(const QString &name)
{
    return QLatin1String(ImageFolder) + name;
}

QString EpubPackage::mediaTypeOf(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return QStringLiteral("image/png");
    if (suffix == QLatin1String("gif"))
        return QStringLiteral("image/gif");
    return QStringLiteral("image/jpeg");
}

QString EpubPackage::title() const
{
    const QString title = clean(m_info.title);
    if (!title.isEmpty())
        return title;
    const QString series = clean(m_info.series);
    if (!series.isEmpty())
        return m_info.number.isEmpty() ? series
                                       : QStringLiteral("%1 %2").arg(series, clean(m_info.number));
    return clean(m_fallbackTitle).isEmpty() ? QStringLiteral("Comic") : clean(m_fallbackTitle);
}

QString EpubPackage::language() const
{
    const QString tag = clean(m_info.languageIso);
    return isLanguageTag(tag) ? tag : QStringLiteral("und");
}

// A well-formed language tag (RFC 5646): a language (with up to three
// extended subtags), then a script, a region, variants, extensions and a
// private use, each of its own form; or a private use alone.
bool EpubPackage::isLanguageTag(const QString &tag)
{
    static const QRegularExpression wellFormed(
        QStringLiteral("^(?:(?:[A-Za-z]{2,3}(?:-[A-Za-z]{3}){0,3}|[A-Za-z]{4,8})"
                       "(?:-[A-Za-z]{4})?"
                       "(?:-(?:[A-Za-z]{2}|[0-9]{3}))?"
                       "(?:-(?:[A-Za-z0-9]{5,8}|[0-9][A-Za-z0-9]{3}))*"
                       "(?:-[0-9A-WY-Za-wy-z](?:-[A-Za-z0-9]{2,8})+)*"
                       "(?:-[Xx](?:-[A-Za-z0-9]{1,8})+)?"
                       "|[Xx](?:-[A-Za-z0-9]{1,8})+)$"));
    return wellFormed.match(tag).hasMatch();
}

QString EpubPackage::seriesPosition(const QString &number)
{
    // A finite decimal number, as it is written: no sign, no exponent, no
    // "inf", at most a few places.
    static const QRegularExpression decimal(QStringLiteral("^0*([0-9]{1,9}(?:\\.[0-9]{1,6})?)$"));
    const QRegularExpressionMatch match = decimal.match(number.trimmed());
    return match.hasMatch() ? match.captured(1) : QString();
}

QStringList EpubPackage::notes() const
{
    QStringList notes;
    const QString tag = clean(m_info.languageIso);
    if (!tag.isEmpty() && !isLanguageTag(tag))
        notes << tr("Its language \"%1\" is no language tag (such as en or pt-BR): the EPUB says "
                    "its language is undetermined (und).")
                     .arg(tag);
    return notes;
}

QString EpubPackage::spreadSide(int index, const Page &page)
{
    if (index == 0)
        return QString();
    if (page.spread)
        return QStringLiteral("rendition:page-spread-center");
    if (page.half == 0)
        return QString();
    return page.half == 1 ? QStringLiteral("page-spread-left")
                          : QStringLiteral("page-spread-right");
}

QByteArray EpubPackage::pageDocument(int index) const
{
    const Page &page = m_pages.at(index);
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startXhtml(xml, QStringLiteral("%1 (%2)").arg(title()).arg(index + 1));
    xml.writeEmptyElement(QStringLiteral("meta"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("viewport"));
    xml.writeAttribute(
        QStringLiteral("content"),
        QStringLiteral("width=%1, height=%2").arg(page.size.width()).arg(page.size.height()));
    xml.writeEmptyElement(QStringLiteral("link"));
    xml.writeAttribute(QStringLiteral("rel"), QStringLiteral("stylesheet"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("text/css"));
    xml.writeAttribute(QStringLiteral("href"), QStringLiteral("../style.css"));
    xml.writeEndElement(); // head
    xml.writeStartElement(QStringLiteral("body"));
    xml.writeEmptyElement(QStringLiteral("img"));
    xml.writeAttribute(QStringLiteral("src"), QStringLiteral("../images/") + page.image);
    xml.writeAttribute(QStringLiteral("alt"), QString::number(index + 1));
    xml.writeAttribute(QStringLiteral("width"), QString::number(page.size.width()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(page.size.height()));
    xml.writeEndDocument();
    return bytes;
}

QByteArray EpubPackage::navigation() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startXhtml(xml, title());
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("body"));
    xml.writeStartElement(QStringLiteral("nav"));
    xml.writeAttribute(QLatin1String(OpsNamespace), QStringLiteral("type"), QStringLiteral("toc"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("toc"));
    xml.writeStartElement(QStringLiteral("ol"));
    // The chapters, as ComicInfo.xml marks them; without any, the first page.
    QVector<QPair<int, QString>> entries;
    for (int i = 0; i < m_pages.size(); ++i) {
        const QString name = clean(m_pages.at(i).bookmark);
        if (!name.isEmpty())
            entries.append({i, name});
    }
    if (entries.isEmpty())
        entries.append({0, title()});
    for (const auto &entry : qAsConst(entries)) {
        xml.writeStartElement(QStringLiteral("li"));
        xml.writeStartElement(QStringLiteral("a"));
        xml.writeAttribute(QStringLiteral("href"), pagePath(entry.first));
        xml.writeCharacters(entry.second);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QByteArray EpubPackage::package(const QByteArray &identity, const QDateTime &modified) const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    start(xml);
    xml.writeStartElement(QStringLiteral("package"));
    xml.writeDefaultNamespace(QLatin1String(OpfNamespace));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("3.0"));
    xml.writeAttribute(QStringLiteral("unique-identifier"), QStringLiteral("book-id"));
    xml.writeAttribute(QStringLiteral("prefix"),
                       QStringLiteral("rendition: http://www.idpf.org/vocab/rendition/#"));
    xml.writeStartElement(QStringLiteral("metadata"));
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    xml.writeNamespace(dc, QStringLiteral("dc"));
    // The same book and options give the same identifier.
    const QUuid uuid = QUuid::createUuidV5(
        QUuid(QStringLiteral("{6ba7b811-9dad-11d1-80b4-00c04fd430c8}")), identity);
    xml.writeStartElement(dc, QStringLiteral("identifier"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("book-id"));
    xml.writeCharacters(QStringLiteral("urn:uuid:") + uuid.toString(QUuid::WithoutBraces));
    xml.writeEndElement();
    xml.writeTextElement(dc, QStringLiteral("title"), title());
    xml.writeTextElement(dc, QStringLiteral("language"), language());
    const struct
    {
        QString name;
        const char *id;
        const char *role; // MARC relator
    } creators[] = {{clean(m_info.writer), "writer", "aut"},
                    {clean(m_info.penciller), "artist", "art"}};
    for (const auto &creator : creators) {
        if (creator.name.isEmpty())
            continue;
        xml.writeStartElement(dc, QStringLiteral("creator"));
        xml.writeAttribute(QStringLiteral("id"), QLatin1String(creator.id));
        xml.writeCharacters(creator.name);
        xml.writeEndElement();
        meta(xml, QStringLiteral("role"), QLatin1String(creator.role), QLatin1String(creator.id),
             QStringLiteral("marc:relators"));
    }
    if (!clean(m_info.publisher).isEmpty())
        xml.writeTextElement(dc, QStringLiteral("publisher"), clean(m_info.publisher));
    if (!clean(m_info.summary).isEmpty())
        xml.writeTextElement(dc, QStringLiteral("description"), clean(m_info.summary));
    if (m_info.year > 0 && m_info.year <= 9999)
        xml.writeTextElement(dc, QStringLiteral("date"),
                             QStringLiteral("%1").arg(m_info.year, 4, 10, QLatin1Char('0')));
    const QString series = clean(m_info.series);
    if (!series.isEmpty()) {
        xml.writeStartElement(QStringLiteral("meta"));
        xml.writeAttribute(QStringLiteral("property"), QStringLiteral("belongs-to-collection"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("series"));
        xml.writeCharacters(series);
        xml.writeEndElement();
        meta(xml, QStringLiteral("collection-type"), QStringLiteral("series"),
             QStringLiteral("series"));
        // Its place in the series, where the number is one.
        const QString position = seriesPosition(m_info.number);
        if (!position.isEmpty())
            meta(xml, QStringLiteral("group-position"), position, QStringLiteral("series"));
    }
    meta(xml, QStringLiteral("dcterms:modified"),
         modified.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
    meta(xml, QStringLiteral("rendition:layout"), QStringLiteral("pre-paginated"));
    meta(xml, QStringLiteral("rendition:spread"), QStringLiteral("landscape"));
    xml.writeEmptyElement(QStringLiteral("meta"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("cover"));
    xml.writeAttribute(QStringLiteral("content"), QStringLiteral("image-1"));
    // Kindle's conversion of a book sent by mail reads the direction only
    // from this.
    if (m_info.direction == ComicInfo::RightToLeft) {
        xml.writeEmptyElement(QStringLiteral("meta"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("primary-writing-mode"));
        xml.writeAttribute(QStringLiteral("content"), QStringLiteral("horizontal-rl"));
    }
    xml.writeEndElement(); // metadata

    xml.writeStartElement(QStringLiteral("manifest"));
    item(xml, QStringLiteral("nav"), QStringLiteral("nav.xhtml"),
         QStringLiteral("application/xhtml+xml"), QStringLiteral("nav"));
    item(xml, QStringLiteral("style"), QStringLiteral("style.css"), QStringLiteral("text/css"));
    for (int i = 0; i < m_pages.size(); ++i) {
        const QString image = m_pages.at(i).image;
        item(xml, QStringLiteral("image-%1").arg(i + 1), QStringLiteral("images/") + image,
             mediaTypeOf(image), i == 0 ? QStringLiteral("cover-image") : QString());
        item(xml, QStringLiteral("page-%1").arg(i + 1), pagePath(i),
             QStringLiteral("application/xhtml+xml"));
    }
    xml.writeEndElement(); // manifest

    xml.writeStartElement(QStringLiteral("spine"));
    xml.writeAttribute(QStringLiteral("page-progression-direction"),
                       m_info.direction == ComicInfo::RightToLeft ? QStringLiteral("rtl")
                                                                  : QStringLiteral("ltr"));
    for (int i = 0; i < m_pages.size(); ++i) {
        xml.writeEmptyElement(QStringLiteral("itemref"));
        xml.writeAttribute(QStringLiteral("idref"), QStringLiteral("page-%1").arg(i + 1));
        const QString side = spreadSide(i, m_pages.at(i));
        if (!side.isEmpty())
            xml.writeAttribute(QStringLiteral("properties"), side);
    }
    xml.writeEndDocument();
    return bytes;
}

QList<QPair<QString, QByteArray>> EpubPackage::documents(const QByteArray &identity,
                                                         const QDateTime &modified) const
{
    QList<QPair<QString, QByteArray>> documents;
    documents.append({QStringLiteral("mimetype"), mimetype()});
    documents.append(
        {QStringLiteral("META-INF/container.xml"),
         QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<container version=\"1.0\" "
                           "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
                           " <rootfiles>\n"
                           "  <rootfile full-path=\"OEBPS/package.opf\" "
                           "media-type=\"application/oebps-package+xml\"/>\n"
                           " </rootfiles>\n"
                           "</container>\n")});
    if (m_kobo)
        documents.append({QLatin1String(KoboOptions),
                          QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                            "<display_options>\n"
                                            " <platform name=\"*\">\n"
                                            "  <option name=\"fixed-layout\">true</option>\n"
                                            " </platform>\n"
                                            "</display_options>\n")});
    documents.append({QStringLiteral("OEBPS/style.css"),
                      QByteArrayLiteral("html, body { margin: 0; padding: 0; }\n"
                                        "img { display: block; width: 100%; height: 100%; }\n")});
    for (int i = 0; i < m_pages.size(); ++i)
        documents.append({QStringLiteral("OEBPS/") + pagePath(i), pageDocument(i)});
    documents.append({QStringLiteral("OEBPS/nav.xhtml"), navigation()});
    documents.append({QStringLiteral("OEBPS/package.opf"), package(identity, modified)});
    return documents;
}
