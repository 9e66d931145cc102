#include "cbz/comicinfo.h"

#include <QRegularExpression>
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

QByteArray comicInfoXml(const ComicInfo &info, const QVector<ComicPage> &pages)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ComicInfo"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema"), QStringLiteral("xsd"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"),
                       QStringLiteral("xsi"));
    textElement(xml, "Title", info.title);
    textElement(xml, "Series", info.series);
    textElement(xml, "Number", info.number);
    numberElement(xml, "Volume", info.volume);
    textElement(xml, "Summary", info.summary);
    numberElement(xml, "Year", info.year);
    textElement(xml, "Writer", info.writer);
    textElement(xml, "Penciller", info.penciller);
    textElement(xml, "Publisher", info.publisher);
    xml.writeTextElement(QStringLiteral("PageCount"), QString::number(pages.size()));
    textElement(xml, "LanguageISO", info.languageIso);
    xml.writeTextElement(QStringLiteral("Manga"), info.rightToLeft
                                                      ? QStringLiteral("YesAndRightToLeft")
                                                      : QStringLiteral("No"));
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
        xml.writeAttribute(QStringLiteral("ImageWidth"), QString::number(page.width));
        xml.writeAttribute(QStringLiteral("ImageHeight"), QString::number(page.height));
    }
    xml.writeEndElement(); // Pages
    xml.writeEndElement(); // ComicInfo
    xml.writeEndDocument();
    return document;
}
