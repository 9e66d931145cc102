#include "making/comicinfo.h"

#include "pages/pagescan.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTextCodec>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
QString withoutLeadingZeros(QString number)
{
    while (number.size() > 1 && number.startsWith(QLatin1Char('0')) &&
           number.at(1) != QLatin1Char('.'))
        number.remove(0, 1);
    return number;
}

// Blanks out a match, keeping the places of what follows.
void blankOut(QString *text, const QRegularExpressionMatch &match)
{
    text->replace(match.capturedStart(0), match.capturedLength(0),
                  QString(match.capturedLength(0), QLatin1Char(' ')));
}
} // namespace

ComicInfo ComicInfo::suggestedFor(const QString &folderName)
{
    ComicInfo info;
    info.title = folderName.trimmed();
    // Scans are named "[Group] Series v03 #12 (2016) (Digital)" and the like:
    // groups in brackets give the year or are tags, never the number.
    static const QRegularExpression group(QStringLiteral("[(\\[]([^()\\[\\]]*)[)\\]]"));
    static const QRegularExpression year(QStringLiteral("^\\s*([12]\\d{3})\\s*$"));
    QString base = info.title;
    for (QRegularExpressionMatch found = group.match(base); found.hasMatch();
         found = group.match(base)) {
        const QRegularExpressionMatch isYear = year.match(found.captured(1));
        if (isYear.hasMatch() && info.year < 0)
            info.year = isYear.captured(1).toInt();
        blankOut(&base, found);
    }
    base.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (base.trimmed().isEmpty())
        base = info.title;
    int seriesEnd = base.size();
    static const QRegularExpression volume(
        QStringLiteral("(?:^|[\\s.-])(?:vol(?:ume)?\\.?\\s*|v|tome\\s*)(\\d+)(?=$|[\\s.-])"),
        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch found = volume.match(base); found.hasMatch()) {
        info.volume = found.captured(1).toInt();
        seriesEnd = found.capturedStart(0);
        blankOut(&base, found);
    }
    // A number said to be one ("#12", "Ch. 5", "Issue 3"); else the last
    // number of the name.
    static const QRegularExpression marked(
        QStringLiteral(
            "(?:#\\s*|(?:^|[\\s.-])(?:ch(?:apter)?|issue|no)\\.?\\s*)(\\d+(?:\\.\\d+)?)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lastNumber(QStringLiteral("^(.*?)[\\s#.-]*(\\d+)\\D*$"));
    if (const QRegularExpressionMatch found = marked.match(base); found.hasMatch()) {
        info.number = withoutLeadingZeros(found.captured(1));
        seriesEnd = qMin(seriesEnd, found.capturedStart(0));
    } else if (const QRegularExpressionMatch last = lastNumber.match(base); last.hasMatch()) {
        info.number = withoutLeadingZeros(last.captured(2));
        seriesEnd = qMin(seriesEnd, last.capturedEnd(1));
    }
    static const QRegularExpression edges(QStringLiteral("^[\\s.-]+|[\\s.-]+$"));
    info.series = base.left(seriesEnd).remove(edges).simplified();
    if (info.series.isEmpty())
        info.series = base.simplified();
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

} // namespace

ComicInfo ComicInfo::over(const ComicInfo &base) const
{
    ComicInfo info = base;
    for (QString ComicInfo::*field : textFields()) {
        if (!(this->*field).isEmpty())
            info.*field = this->*field;
    }
    if (volume >= 0)
        info.volume = volume;
    if (year >= 0)
        info.year = year;
    if (direction != DirectionUnsaid)
        info.direction = direction;
    info.write = base.write || write;
    return info;
}

namespace {
// What the schema allows in each element that holds a value of its own.
bool allowedValue(const QString &name, const QString &text)
{
    static const QStringList numbers = {QStringLiteral("Count"),          QStringLiteral("Volume"),
                                        QStringLiteral("AlternateCount"), QStringLiteral("Year"),
                                        QStringLiteral("Month"),          QStringLiteral("Day"),
                                        QStringLiteral("PageCount")};
    static const QStringList yesNo = {QStringLiteral("Unknown"), QStringLiteral("No"),
                                      QStringLiteral("Yes")};
    static const QStringList manga = yesNo + QStringList{QStringLiteral("YesAndRightToLeft")};
    static const QStringList ageRatings = {QStringLiteral("Unknown"),
                                           QStringLiteral("Adults Only 18+"),
                                           QStringLiteral("Early Childhood"),
                                           QStringLiteral("Everyone"),
                                           QStringLiteral("Everyone 10+"),
                                           QStringLiteral("G"),
                                           QStringLiteral("Kids to Adults"),
                                           QStringLiteral("M"),
                                           QStringLiteral("MA15+"),
                                           QStringLiteral("Mature 17+"),
                                           QStringLiteral("PG"),
                                           QStringLiteral("R18+"),
                                           QStringLiteral("Rating Pending"),
                                           QStringLiteral("Teen"),
                                           QStringLiteral("X18+")};
    const QString value = text.trimmed();
    bool ok = false;
    if (numbers.contains(name)) {
        static const QRegularExpression integer(QStringLiteral("^[+-]?\\d{1,10}$"));
        value.toInt(&ok);
        return ok && integer.match(value).hasMatch();
    }
    if (name == QLatin1String("BlackAndWhite"))
        return yesNo.contains(value);
    if (name == QLatin1String("Manga"))
        return manga.contains(value);
    if (name == QLatin1String("AgeRating"))
        return ageRatings.contains(value);
    if (name == QLatin1String("CommunityRating")) {
        static const QRegularExpression decimal(QStringLiteral("^\\+?\\d{1,3}(\\.\\d{0,8})?$"));
        const double rating = value.toDouble(&ok);
        return decimal.match(value).hasMatch() && ok && rating >= 0 && rating <= 5;
    }
    return true;
}

bool isSchemaElement(const QString &name)
{
    for (const char *element : SchemaOrder) {
        if (name == QLatin1String(element))
            return true;
    }
    return false;
}

// The source's values that the schema allows, one of each element, by
// name; and what was left out of it, and why.
struct KeptElements
{
    QHash<QString, QString> values;
    ComicInfo::PagesSaid pages;
    QStringList leftOut;
    bool read = false; // a ComicInfo document, read to its end
};

KeptElements keptElements(const QByteArray &xml)
{
    KeptElements kept;
    if (xml.isEmpty())
        return kept;
    QXmlStreamReader reader(ComicInfo::decoded(xml));
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ComicInfo")) {
        kept.leftOut << (reader.hasError()
                             ? ComicInfo::tr("it cannot be read: %1").arg(reader.errorString())
                             : ComicInfo::tr("it is not a ComicInfo document (its root is %1)")
                                   .arg(reader.name().toString()));
        return kept;
    }
    QSet<QString> unknown;
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        if (name == QLatin1String("Pages")) { // made anew, but for its chapters
            while (reader.readNextStartElement()) {
                const QXmlStreamAttributes page = reader.attributes();
                bool numbered = false, sized = false;
                const int image = page.value(QLatin1String("Image")).toInt(&numbered);
                const qint64 size = page.value(QLatin1String("ImageSize")).toLongLong(&sized);
                const QString bookmark = page.value(QLatin1String("Bookmark")).toString().trimmed();
                ++kept.pages.listed;
                if (numbered && image >= 0 && !bookmark.isEmpty())
                    kept.pages.bookmarks.insert(image, bookmark);
                if (numbered && image >= 0 && sized)
                    kept.pages.sizes.insert(image, size);
                reader.skipCurrentElement();
            }
            continue;
        }
        const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
        if (reader.hasError())
            break;
        if (!isSchemaElement(name)) {
            if (!unknown.contains(name))
                kept.leftOut << ComicInfo::tr("%1, which ComicInfo does not know").arg(name);
            unknown.insert(name);
        } else if (kept.values.contains(name)) {
            kept.leftOut << ComicInfo::tr("a second %1").arg(name);
        } else if (!allowedValue(name, text)) {
            kept.leftOut << ComicInfo::tr("%1 \"%2\", which is not a value it may hold")
                                .arg(name, text.trimmed().left(40));
        } else {
            kept.values.insert(name, text);
        }
    }
    if (reader.hasError()) {
        kept.values.clear();
        kept.leftOut =
            QStringList{ComicInfo::tr("it cannot be read: %1").arg(reader.errorString())};
    }
    kept.read = !reader.hasError();
    return kept;
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
        else if (page.blank)
            xml.writeAttribute(QStringLiteral("Type"), QStringLiteral("Other"));
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
    const QStringList source =
        kept.values.contains(name) ? QStringList{kept.values.value(name)} : QStringList();
    const auto writeKept = [&xml, &name](const QString &text) {
        xml.writeTextElement(name, xmlText(text));
    };
    if (QString ComicInfo::*field = textFields().value(name)) {
        const QString &text = info.*field;
        if (!text.trimmed().isEmpty() || source.isEmpty())
            textElement(xml, name.toLatin1().constData(), text);
        else
            writeKept(source.first());
    } else if (name == QLatin1String("Volume") || name == QLatin1String("Year")) {
        const int value = name == QLatin1String("Volume") ? info.volume : info.year;
        if (value >= 0 || source.isEmpty())
            numberElement(xml, name.toLatin1().constData(), value);
        else
            writeKept(source.first());
    } else if (name == QLatin1String("PageCount")) {
        xml.writeTextElement(name, QString::number(pages.size()));
    } else if (name == QLatin1String("Manga")) {
        // A source's "Yes" (manga, read left to right) stays unless another
        // direction is asked for now.
        const bool sourceRightToLeft =
            !source.isEmpty() && source.first().trimmed() == QLatin1String("YesAndRightToLeft");
        if (info.direction == ComicInfo::RightToLeft)
            xml.writeTextElement(name, QStringLiteral("YesAndRightToLeft"));
        else if (source.isEmpty() ||
                 (info.direction == ComicInfo::LeftToRight && sourceRightToLeft))
            xml.writeTextElement(name, QStringLiteral("No"));
        else
            writeKept(source.first());
    } else if (name == QLatin1String("Pages")) {
        writePages(xml, pages);
    } else if (!source.isEmpty()) {
        writeKept(source.first());
    }
}
} // namespace

QString ComicInfo::decoded(const QByteArray &xml)
{
    // The encoding the declaration names; without one, UTF-8 when the bytes
    // are UTF-8, else the Windows code page most old taggers wrote.
    static const QRegularExpression declaration(
        QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
    const QRegularExpressionMatch named = declaration.match(QString::fromLatin1(xml.left(200)));
    QTextCodec *codec =
        named.hasMatch() ? QTextCodec::codecForName(named.captured(1).toLatin1()) : nullptr;
    if (!codec) {
        codec = QTextCodec::codecForUtfText(xml, nullptr);
        if (!codec) {
            QTextCodec::ConverterState state;
            QTextCodec::codecForName("UTF-8")->toUnicode(xml.constData(), xml.size(), &state);
            codec = QTextCodec::codecForName(state.invalidChars ? "windows-1252" : "UTF-8");
        }
    }
    return codec->toUnicode(xml);
}

QStringList ComicInfo::leftOutOf(const QByteArray &xml)
{
    return keptElements(xml).leftOut;
}

ComicInfo ComicInfo::fromXml(const QByteArray &xml)
{
    const KeptElements kept = keptElements(xml);
    ComicInfo info;
    if (!kept.read)
        return info;
    const QHash<QString, QString ComicInfo::*> &texts = textFields();
    for (auto value = kept.values.cbegin(); value != kept.values.cend(); ++value) {
        const QString text = value.value().trimmed();
        if (texts.contains(value.key()))
            info.*texts.value(value.key()) = text;
        else if (value.key() == QLatin1String("Volume"))
            info.volume = qMax(-1, text.toInt());
        else if (value.key() == QLatin1String("Year"))
            info.year = qMax(-1, text.toInt());
        else if (value.key() == QLatin1String("Manga"))
            info.direction = text == QLatin1String("YesAndRightToLeft") ? RightToLeft
                             : text == QLatin1String("No")              ? LeftToRight
                                                                        : DirectionUnsaid;
    }
    info.write = true;
    info.sourceXml = xml;
    return info;
}

ComicInfo::PagesSaid ComicInfo::pagesSaidIn(const QByteArray &xml)
{
    const KeptElements kept = keptElements(xml);
    if (!kept.read)
        return PagesSaid();
    PagesSaid said = kept.pages;
    bool number = false;
    const int count = kept.values.value(QStringLiteral("PageCount")).trimmed().toInt(&number);
    said.pageCount = number ? count : -1;
    said.manga = kept.values.value(QStringLiteral("Manga")).trimmed();
    return said;
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
    // Only what the schema allows: readers and servers that validate refuse
    // the whole document for one stray element.
    for (const char *element : SchemaOrder)
        writeElement(xml, QLatin1String(element), info, pages, kept);
    xml.writeEndElement(); // ComicInfo
    xml.writeEndDocument();
    return document;
}

QStringList comicInfoLeftOut(const PageListing &scanned)
{
    QStringList lost;
    if (!scanned.comicInfoProblem.isEmpty())
        lost << scanned.comicInfoProblem;
    return lost + ComicInfo::leftOutOf(scanned.comicInfo);
}
