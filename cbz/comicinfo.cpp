#include "cbz/comicinfo.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

ComicInfo ComicInfo::suggestedFor(const QString &folderName)
{
    ComicInfo info;
    info.title = folderName.trimmed();
    // Scans are usually named "Series NNN (YEAR) (tags)": the groups in
    // brackets at the end give the year, never the number.
    static const QRegularExpression trailingGroup(
        QStringLiteral("\\s*[(\\[]([^()\\[\\]]*)[)\\]]$"));
    static const QRegularExpression year(QStringLiteral("^\\s*([12]\\d{3})\\s*$"));
    QString base = info.title;
    for (QRegularExpressionMatch group = trailingGroup.match(base); group.hasMatch();
         group = trailingGroup.match(base)) {
        const QRegularExpressionMatch isYear = year.match(group.captured(1));
        if (isYear.hasMatch())
            info.year = isYear.captured(1).toInt();
        base.chop(group.capturedLength(0));
    }
    if (base.trimmed().isEmpty())
        base = info.title;
    static const QRegularExpression lastNumber(QStringLiteral("^(.*?)[\\s#._-]*(\\d+)\\D*$"));
    const QRegularExpressionMatch match = lastNumber.match(base.trimmed());
    if (match.hasMatch()) {
        info.series = match.captured(1).trimmed();
        QString number = match.captured(2);
        while (number.size() > 1 && number.startsWith(QLatin1Char('0')))
            number.remove(0, 1);
        info.number = number;
    }
    if (info.series.isEmpty())
        info.series = base.trimmed();
    return info;
}

namespace {
// XML has no place for control characters but tab and line breaks.
QString xmlText(const QString &value)
{
    QString text;
    text.reserve(value.size());
    for (const QChar c : value) {
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r'))
            text.append(c);
    }
    return text;
}

void textElement(QXmlStreamWriter &xml, const char *name, const QString &value)
{
    const QString text = xmlText(value);
    if (!text.trimmed().isEmpty())
        xml.writeTextElement(QLatin1String(name), text);
}

void numberElement(QXmlStreamWriter &xml, const char *name, int value)
{
    if (value >= 0)
        xml.writeTextElement(QLatin1String(name), QString::number(value));
}
} // namespace

namespace {
// The elements of ComicInfo, in the order of its schema.
const char *const SchemaOrder[] = {"Title",
                                   "Series",
                                   "Number",
                                   "Count",
                                   "Volume",
                                   "AlternateSeries",
                                   "AlternateNumber",
                                   "AlternateCount",
                                   "Summary",
                                   "Notes",
                                   "Year",
                                   "Month",
                                   "Day",
                                   "Writer",
                                   "Penciller",
                                   "Inker",
                                   "Colorist",
                                   "Letterer",
                                   "CoverArtist",
                                   "Editor",
                                   "Publisher",
                                   "Imprint",
                                   "Genre",
                                   "Web",
                                   "PageCount",
                                   "LanguageISO",
                                   "Format",
                                   "BlackAndWhite",
                                   "Manga",
                                   "Characters",
                                   "Teams",
                                   "Locations",
                                   "ScanInformation",
                                   "StoryArc",
                                   "SeriesGroup",
                                   "AgeRating",
                                   "Pages",
                                   "CommunityRating"};

// The text fields set here, by their element's name.
const QHash<QString, QString ComicInfo::*> &textFields()
{
    static const QHash<QString, QString ComicInfo::*> fields = {
        {QStringLiteral("Title"), &ComicInfo::title},
        {QStringLiteral("Series"), &ComicInfo::series},
        {QStringLiteral("Number"), &ComicInfo::number},
        {QStringLiteral("Summary"), &ComicInfo::summary},
        {QStringLiteral("Writer"), &ComicInfo::writer},
        {QStringLiteral("Penciller"), &ComicInfo::penciller},
        {QStringLiteral("Publisher"), &ComicInfo::publisher},
        {QStringLiteral("LanguageISO"), &ComicInfo::languageIso}};
    return fields;
}

// The source's elements, each kept whole as a small document of its own,
// by name, in their order.
struct KeptElements
{
    QHash<QString, QList<QByteArray>> byName;
    QStringList order;
};

KeptElements keptElements(const QByteArray &xml)
{
    KeptElements kept;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ComicInfo"))
        return kept;
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        QByteArray fragment;
        QXmlStreamWriter writer(&fragment);
        int depth = 0;
        do {
            if (reader.isStartElement())
                ++depth;
            else if (reader.isEndElement())
                --depth;
            writer.writeCurrentToken(reader);
        } while (depth > 0 && !reader.atEnd() && (reader.readNext(), true));
        if (reader.hasError())
            return KeptElements();
        if (!kept.byName.contains(name))
            kept.order << name;
        kept.byName[name] << fragment;
    }
    return reader.hasError() ? KeptElements() : kept;
}

// As it was, to the last space: indenting it would change text in
// elements that mix text with elements.
void writeKept(QXmlStreamWriter &xml, const QByteArray &fragment)
{
    const bool formatting = xml.autoFormatting();
    if (formatting) // on a line of its own, as the others
        xml.writeCharacters(QStringLiteral("\n    "));
    xml.setAutoFormatting(false);
    QXmlStreamReader reader(fragment);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartDocument() && !reader.isEndDocument() && !reader.hasError())
            xml.writeCurrentToken(reader);
    }
    xml.setAutoFormatting(formatting);
}

void writePages(QXmlStreamWriter &xml, const QVector<ComicPage> &pages)
{
    xml.writeStartElement(QStringLiteral("Pages"));
    for (int i = 0; i < pages.size(); ++i) {
        const ComicPage &page = pages.at(i);
        xml.writeEmptyElement(QStringLiteral("Page"));
        xml.writeAttribute(QStringLiteral("Image"), QString::number(i));
        if (i == 0)
            xml.writeAttribute(QStringLiteral("Type"), QStringLiteral("FrontCover"));
        if (page.doublePage)
            xml.writeAttribute(QStringLiteral("DoublePage"), QStringLiteral("true"));
        xml.writeAttribute(QStringLiteral("ImageSize"), QString::number(page.bytes));
        if (!xmlText(page.bookmark).isEmpty())
            xml.writeAttribute(QStringLiteral("Bookmark"), xmlText(page.bookmark));
        xml.writeAttribute(QStringLiteral("ImageWidth"), QString::number(page.width));
        xml.writeAttribute(QStringLiteral("ImageHeight"), QString::number(page.height));
    }
    xml.writeEndElement(); // Pages
}

// One element of the schema: the field set here, the new page list, or
// what the source had.
void writeElement(QXmlStreamWriter &xml, const QString &name, const ComicInfo &info,
                  const QVector<ComicPage> &pages, const KeptElements &kept)
{
    const QList<QByteArray> source = kept.byName.value(name);
    if (QString ComicInfo::*field = textFields().value(name)) {
        const QString &text = info.*field;
        if (!text.trimmed().isEmpty() || source.isEmpty())
            textElement(xml, name.toLatin1().constData(), text);
        else
            writeKept(xml, source.first());
    } else if (name == QLatin1String("Volume") || name == QLatin1String("Year")) {
        const int value = name == QLatin1String("Volume") ? info.volume : info.year;
        if (value >= 0 || source.isEmpty())
            numberElement(xml, name.toLatin1().constData(), value);
        else
            writeKept(xml, source.first());
    } else if (name == QLatin1String("PageCount")) {
        xml.writeTextElement(name, QString::number(pages.size()));
    } else if (name == QLatin1String("Manga")) {
        // A source's "Yes" (manga, read left to right) stays, unless
        // right to left is asked for now.
        if (info.rightToLeft || source.isEmpty())
            xml.writeTextElement(name, info.rightToLeft ? QStringLiteral("YesAndRightToLeft")
                                                        : QStringLiteral("No"));
        else
            writeKept(xml, source.first());
    } else if (name == QLatin1String("Pages")) {
        writePages(xml, pages);
    } else {
        for (const QByteArray &fragment : source)
            writeKept(xml, fragment);
    }
}
} // namespace

ComicInfo ComicInfo::fromXml(const QByteArray &xml, QString *error)
{
    ComicInfo info;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ComicInfo")) {
        if (error)
            *error =
                reader.hasError()
                    ? reader.errorString()
                    : QCoreApplication::translate("ComicInfo", "It is not a ComicInfo document.");
        return info;
    }
    const QHash<QString, QString ComicInfo::*> &texts = textFields();
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        if (name == QLatin1String("Pages")) {
            reader.skipCurrentElement();
            continue;
        }
        const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
        bool ok = false;
        if (texts.contains(name))
            info.*texts.value(name) = text.trimmed();
        else if (name == QLatin1String("Volume") && text.trimmed().toInt(&ok) >= 0 && ok)
            info.volume = text.trimmed().toInt();
        else if (name == QLatin1String("Year") && text.trimmed().toInt(&ok) >= 0 && ok)
            info.year = text.trimmed().toInt();
        else if (name == QLatin1String("Manga"))
            info.rightToLeft = text.trimmed() == QLatin1String("YesAndRightToLeft");
    }
    if (reader.hasError()) {
        if (error)
            *error = reader.errorString();
        return ComicInfo();
    }
    info.write = true;
    info.sourceXml = xml;
    return info;
}

QByteArray comicInfoXml(const ComicInfo &info, const QVector<ComicPage> &pages)
{
    const KeptElements kept = keptElements(info.sourceXml);
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ComicInfo"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema"), QStringLiteral("xsd"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"),
                       QStringLiteral("xsi"));
    QStringList known;
    for (const char *element : SchemaOrder) {
        known << QLatin1String(element);
        writeElement(xml, known.last(), info, pages, kept);
    }
    // What the schema does not know, the source had: kept, last.
    for (const QString &name : kept.order) {
        if (!known.contains(name)) {
            for (const QByteArray &fragment : kept.byName.value(name))
                writeKept(xml, fragment);
        }
    }
    xml.writeEndElement(); // ComicInfo
    xml.writeEndDocument();
    return document;
}
