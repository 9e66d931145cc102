#include "pages/epubpages.h"

#include "pages/pagelocation.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString ContainerName = QStringLiteral("META-INF/container.xml");
const QString EncryptionName = QStringLiteral("META-INF/encryption.xml");
const QString DcNamespace = QStringLiteral("http://purl.org/dc/elements/1.1/");

// One token more of an untrusted document; false at its end or when it goes
// wrong, and then error says why. Entities a document declares itself are
// refused: a page needs none, and they are how a few bytes expand to
// gigabytes.
bool step(QXmlStreamReader &xml, int *tokens, QString *error)
{
    if (xml.atEnd()) {
        if (xml.hasError())
            *error = xml.errorString();
        return false;
    }
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::Invalid) {
        *error = xml.errorString();
        return false;
    }
    if (token == QXmlStreamReader::DTD && !xml.entityDeclarations().isEmpty()) {
        *error = EpubPages::tr("it declares entities of its own, which no page needs");
        return false;
    }
    if (++*tokens > EpubPages::TokenLimit) {
        *error =
            EpubPages::tr("it holds more than %1 elements and texts").arg(EpubPages::TokenLimit);
        return false;
    }
    return token != QXmlStreamReader::EndDocument;
}

QString folderOf(const QString &name)
{
    return name.left(name.lastIndexOf(QLatin1Char('/')) + 1);
}

// A reference made inside the document named base, as the name of an
// entry of the archive; or why it is not followed.
QString resolve(const QString &base, const QString &href, QString *problem)
{
    QString ref = href.trimmed();
    ref.truncate(ref.indexOf(QLatin1Char('#')) < 0 ? ref.size() : ref.indexOf(QLatin1Char('#')));
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (scheme.match(ref).hasMatch()) {
        *problem = EpubPages::tr("it names %1, outside the book, which is never fetched")
                       .arg(ref.left(120));
        return QString();
    }
    if (ref.startsWith(QLatin1Char('/')) || ref.startsWith(QLatin1Char('\\'))) {
        *problem = EpubPages::tr("it names %1, a path outside the book").arg(ref.left(120));
        return QString();
    }
    ref = QUrl::fromPercentEncoding(ref.toUtf8());
    QStringList parts;
    for (const QString &part : (folderOf(base) + ref).split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part != QLatin1String("..")) {
            parts << part;
            continue;
        }
        if (parts.isEmpty()) {
            *problem = EpubPages::tr("it names %1, which leaves the book").arg(href.left(120));
            return QString();
        }
        parts.removeLast();
    }
    if (parts.isEmpty())
        *problem = EpubPages::tr("it names nothing");
    return parts.join(QLatin1Char('/'));
}

// What a page document shows: the pictures it names, in order, and whether
// it has text or drawing of its own.
struct PageContent
{
    QStringList pictures; // references as written
    int textCharacters = 0;
    bool drawing = false; // SVG shapes or text, which are not pictures
    QString error;
};

PageContent readPage(const QByteArray &bytes)
{
    static const QSet<QString> shapes = {
        QStringLiteral("path"),    QStringLiteral("rect"),         QStringLiteral("circle"),
        QStringLiteral("ellipse"), QStringLiteral("line"),         QStringLiteral("polyline"),
        QStringLiteral("polygon"), QStringLiteral("text"),         QStringLiteral("use"),
        QStringLiteral("canvas"),  QStringLiteral("foreignObject")};
    PageContent page;
    QXmlStreamReader xml(bytes);
    int tokens = 0;
    int unshown = 0; // depth inside head, style or script
    while (step(xml, &tokens, &page.error)) {
        if (xml.isStartElement()) {
            const QStringRef name = xml.name();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (unshown || name == QLatin1String("head") || name == QLatin1String("style") ||
                name == QLatin1String("script"))
                ++unshown;
            else if (name == QLatin1String("img"))
                page.pictures << attributes.value(QLatin1String("src")).toString();
            else if (name == QLatin1String("image"))
                page.pictures << (attributes.hasAttribute(QLatin1String("href"))
                                      ? attributes.value(QLatin1String("href"))
                                      : attributes.value(
                                            QLatin1String("http://www.w3.org/1999/xlink"),
                                            QLatin1String("href")))
                                     .toString();
            else if (shapes.contains(name.toString()))
                page.drawing = true;
        } else if (xml.isEndElement() && unshown) {
            --unshown;
        } else if (xml.isCharacters() && !unshown) {
            page.textCharacters += xml.text().toString().simplified().size();
        }
    }
    return page;
}

// What the package document says.
struct Package
{
    struct Item
    {
        QString name; // the entry it names; empty when it names none
        QString problem;
        QString mediaType;
        QStringList properties;
    };
    QHash<QString, Item> items; // by id
    QStringList spine;          // ids, in reading order
    bool rightToLeft = false;
    bool fixedLayout = false;
    QString coverId;
    QString navId, ncxId;
    // The book's information.
    QString title, series, seriesIndex, language, publisher, description, date;
    QStringList writers, artists;
    QString error;
};

void readItem(const QXmlStreamAttributes &attributes, const QString &opf, Package *package)
{
    Package::Item item;
    item.name = resolve(opf, attributes.value(QLatin1String("href")).toString(), &item.problem);
    item.mediaType = attributes.value(QLatin1String("media-type")).toString().trimmed();
    item.properties = attributes.value(QLatin1String("properties"))
                          .toString()
                          .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString id = attributes.value(QLatin1String("id")).toString();
    if (item.properties.contains(QLatin1String("cover-image")))
        package->coverId = id;
    if (item.properties.contains(QLatin1String("nav")))
        package->navId = id;
    package->items.insert(id, item);
}

// A meta element: EPUB 3's property with its text, or EPUB 2's name and
// content.
void readMeta(QXmlStreamReader &xml, QHash<QString, QString> *roles, QString *seriesId,
              Package *package, int *tokens)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QString name = attributes.value(QLatin1String("name")).toString();
    const QString content = attributes.value(QLatin1String("content")).toString().trimmed();
    if (name == QLatin1String("cover") && package->coverId.isEmpty())
        package->coverId = content;
    else if (name == QLatin1String("calibre:series"))
        package->series = content;
    else if (name == QLatin1String("calibre:series_index"))
        package->seriesIndex = content;
    const QString property = attributes.value(QLatin1String("property")).toString();
    if (property.isEmpty())
        return;
    const QString refines = attributes.value(QLatin1String("refines")).toString().mid(1);
    const QString id = attributes.value(QLatin1String("id")).toString();
    QString text;
    while (step(xml, tokens, &package->error) && !xml.isEndElement()) {
        if (xml.isCharacters())
            text += xml.text();
    }
    text = text.trimmed();
    if (property == QLatin1String("rendition:layout"))
        package->fixedLayout = text == QLatin1String("pre-paginated");
    else if (property == QLatin1String("role"))
        roles->insert(refines, text);
    else if (property == QLatin1String("belongs-to-collection") && package->series.isEmpty()) {
        package->series = text;
        *seriesId = id;
    } else if (property == QLatin1String("group-position") && !refines.isEmpty() &&
               refines == *seriesId)
        package->seriesIndex = text;
}

Package readPackage(const QString &opf, const QByteArray &bytes)
{
    Package package;
    QXmlStreamReader xml(bytes);
    int tokens = 0;
    QHash<QString, QString> roles;             // a creator's id, its role
    QVector<QPair<QString, QString>> creators; // id, name
    QString seriesId;
    while (step(xml, &tokens, &package.error)) {
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.namespaceUri() == DcNamespace) {
            // EPUB 2 gives a creator's role as an attribute.
            QString role;
            for (const QXmlStreamAttribute &attribute : attributes) {
                if (attribute.name() == QLatin1String("role"))
                    role = attribute.value().toString().trimmed();
            }
            const QString id = attributes.value(QLatin1String("id")).toString();
            const QString element = name.toString();
            const QString text =
                xml.readElementText(QXmlStreamReader::SkipChildElements).simplified();
            if (element == QLatin1String("creator")) {
                creators.append({id, text});
                if (!role.isEmpty())
                    roles.insert(id.isEmpty() ? text : id, role);
            }
            QString *field = element == QLatin1String("title")         ? &package.title
                             : element == QLatin1String("language")    ? &package.language
                             : element == QLatin1String("publisher")   ? &package.publisher
                             : element == QLatin1String("description") ? &package.description
                             : element == QLatin1String("date")        ? &package.date
                                                                       : nullptr;
            if (field && field->isEmpty())
                *field = text;
        } else if (name == QLatin1String("meta")) {
            readMeta(xml, &roles, &seriesId, &package, &tokens);
        } else if (name == QLatin1String("item")) {
            readItem(attributes, opf, &package);
        } else if (name == QLatin1String("spine")) {
            package.rightToLeft = attributes.value(QLatin1String("page-progression-direction")) ==
                                  QLatin1String("rtl");
            package.ncxId = attributes.value(QLatin1String("toc")).toString();
        } else if (name == QLatin1String("itemref")) {
            package.spine << attributes.value(QLatin1String("idref")).toString();
        }
    }
    for (const auto &creator : qAsConst(creators)) {
        const QString role = roles.value(creator.first.isEmpty() ? creator.second : creator.first);
        if (role == QLatin1String("art") || role == QLatin1String("ill"))
            package.artists << creator.second;
        else if (role.isEmpty() || role == QLatin1String("aut"))
            package.writers << creator.second;
    }
    return package;
}

// The book's information as a ComicInfo.xml document, its elements in the
// order readers that validate expect.
QByteArray comicInfoOf(const Package &package)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ComicInfo"));
    const auto field = [&](const char *element, const QString &value) {
        if (!value.trimmed().isEmpty())
            xml.writeTextElement(QLatin1String(element), value.trimmed());
    };
    field("Title", package.title);
    field("Series", package.series);
    field("Number", package.seriesIndex);
    field("Summary", package.description);
    static const QRegularExpression date(QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2}))?)?"));
    const QRegularExpressionMatch when = date.match(package.date.trimmed());
    if (when.hasMatch()) {
        field("Year", QString::number(when.captured(1).toInt()));
        if (when.captured(2).toInt() >= 1 && when.captured(2).toInt() <= 12)
            field("Month", QString::number(when.captured(2).toInt()));
        if (when.captured(3).toInt() >= 1 && when.captured(3).toInt() <= 31)
            field("Day", QString::number(when.captured(3).toInt()));
    }
    field("Writer", package.writers.join(QStringLiteral(", ")));
    field("Penciller", package.artists.join(QStringLiteral(", ")));
    field("Publisher", package.publisher);
    if (package.language != QLatin1String("und"))
        field("LanguageISO", package.language);
    if (package.rightToLeft)
        field("Manga", QStringLiteral("YesAndRightToLeft"));
    xml.writeEndDocument();
    return bytes;
}

// The chapters of the navigation document (or of EPUB 2's NCX): each
// target document's name and the chapter's name, in order.
QVector<QPair<QString, QString>> readChapters(const QString &name, const QByteArray &bytes,
                                              bool ncx)
{
    QVector<QPair<QString, QString>> chapters;
    QXmlStreamReader xml(bytes);
    int tokens = 0;
    QString error, ignored;
    int tocDepth = 0; // inside the table of contents' nav (0: outside)
    QString label;
    while (step(xml, &tokens, &error)) {
        if (xml.isStartElement()) {
            const QStringRef element = xml.name();
            if (!ncx && element == QLatin1String("nav") && !tocDepth &&
                xml.attributes().value(QLatin1String("http://www.idpf.org/2007/ops"),
                                       QLatin1String("type")) == QLatin1String("toc")) {
                tocDepth = 1;
            } else if (!ncx && tocDepth) {
                ++tocDepth;
                if (element == QLatin1String("a")) {
                    const QString target = resolve(
                        name, xml.attributes().value(QLatin1String("href")).toString(), &ignored);
                    chapters.append(
                        {target,
                         xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified()});
                    --tocDepth;
                }
            } else if (ncx && element == QLatin1String("text")) {
                label = xml.readElementText(QXmlStreamReader::SkipChildElements).simplified();
            } else if (ncx && element == QLatin1String("content")) {
                chapters.append(
                    {resolve(name, xml.attributes().value(QLatin1String("src")).toString(),
                             &ignored),
                     label});
            }
        } else if (xml.isEndElement() && tocDepth) {
            --tocDepth;
        }
    }
    return chapters;
}

// Entries the EPUB says are encrypted (a shop's DRM): their bytes are no
// picture anyone but the shop's reader can show.
QSet<QString> encryptedNames(const QByteArray &bytes)
{
    QSet<QString> names;
    QXmlStreamReader xml(bytes);
    int tokens = 0;
    QString error, ignored;
    while (step(xml, &tokens, &error)) {
        if (xml.isStartElement() && xml.name() == QLatin1String("CipherReference"))
            names.insert(resolve(QString(), xml.attributes().value(QLatin1String("URI")).toString(),
                                 &ignored));
    }
    return names;
}

QString rootfileOf(const QByteArray &container, QString *error)
{
    QXmlStreamReader xml(container);
    int tokens = 0;
    while (step(xml, &tokens, error)) {
        if (xml.isStartElement() && xml.name() == QLatin1String("rootfile") &&
            xml.attributes().value(QLatin1String("media-type")) ==
                QLatin1String("application/oebps-package+xml"))
            return xml.attributes().value(QLatin1String("full-path")).toString();
    }
    return QString();
}

// Turns the package into the listing: one page a picture, in spine order.
class Lister
{
public:
    Lister(const QString &path, const PageArchive::Contents &contents, const Package &package)
        : m_path(path)
        , m_contents(contents)
        , m_package(package)
    {
        for (const auto &entry : contents.entries) {
            if (entry.regular && !m_entries.contains(entry.name))
                m_entries.insert(entry.name, entry);
        }
        m_encrypted = encryptedNames(contents.documents.value(EncryptionName));
    }

    PageListing run();

private:
    void addDocument(const QString &id, const Package::Item &item);
    void addPicture(const QString &shown, const QString &name, const QString &from);
    void addCover();
    void markChapters();
    QString documentOf(const QString &name, QString *why) const;

    const QString m_path;
    const PageArchive::Contents &m_contents;
    const Package &m_package;
    QHash<QString, PageArchive::Contents::Entry> m_entries;
    QSet<QString> m_encrypted;
    PageListing m_listing;
    QSet<QString> m_pictures;          // the entries taken as pages
    QHash<QString, int> m_firstPageOf; // a spine document, its first page
    int m_textPages = 0, m_picturePages = 0;
    QStringList m_textPageNames;
};

QString Lister::documentOf(const QString &name, QString *why) const
{
    if (m_contents.documentErrors.contains(name)) {
        *why = m_contents.documentErrors.value(name);
        return QString();
    }
    if (!m_contents.documents.contains(name)) {
        *why = EpubPages::tr("it is not in the book");
        return QString();
    }
    return name;
}

void Lister::addPicture(const QString &shown, const QString &name, const QString &from)
{
    const QString where = from.isEmpty() ? shown : QStringLiteral("%1 (%2)").arg(shown, from);
    if (!m_entries.contains(name)) {
        m_listing.addUnreadable(where, EpubPages::tr("it is not in the book"));
        return;
    }
    const PageArchive::Contents::Entry &entry = m_entries.value(name);
    if (entry.encrypted || m_encrypted.contains(name))
        m_listing.addUnreadable(where, EpubPages::tr("encrypted"));
    else if (kindOfName(name) == NameKind::None)
        m_listing.addUnreadable(where, EpubPages::tr("not a picture this program reads"));
    else {
        m_listing.pages.append({name, PageLocation::ofEntry(m_path, entry.index, name)});
        m_pictures.insert(name);
    }
}

void Lister::addDocument(const QString &id, const Package::Item &item)
{
    if (!item.problem.isEmpty()) {
        m_listing.addUnreadable(item.name.isEmpty() ? id : item.name, item.problem);
        return;
    }
    if (item.mediaType.startsWith(QLatin1String("image/")) &&
        item.mediaType != QLatin1String("image/svg+xml")) {
        m_firstPageOf.insert(item.name, m_listing.pages.size());
        addPicture(item.name, item.name, QString());
        ++m_picturePages;
        return;
    }
    QString why;
    const QString name = documentOf(item.name, &why);
    if (name.isEmpty()) {
        m_listing.addUnreadable(item.name, why);
        return;
    }
    const PageContent page = readPage(m_contents.documents.value(name));
    if (!page.error.isEmpty()) {
        m_listing.addUnreadable(name, EpubPages::tr("it cannot be read: %1").arg(page.error));
        return;
    }
    m_firstPageOf.insert(name, m_listing.pages.size());
    if (page.pictures.isEmpty()) {
        if (page.textCharacters > 0) {
            ++m_textPages;
            m_textPageNames << name;
        } else {
            m_listing.addUnreadable(name, page.drawing
                                              ? EpubPages::tr("a drawing (SVG), not a picture")
                                              : EpubPages::tr("a page with no picture"));
        }
        return;
    }
    ++m_picturePages;
    for (const QString &reference : page.pictures) {
        QString problem;
        const QString picture = resolve(name, reference, &problem);
        if (!problem.isEmpty())
            m_listing.addUnreadable(QStringLiteral("%1 (%2)").arg(reference.left(120), name),
                                    problem);
        else
            addPicture(picture, picture, name);
    }
}

// A cover that only the package names (no page shows it) comes first.
void Lister::addCover()
{
    const Package::Item cover = m_package.items.value(m_package.coverId);
    if (cover.name.isEmpty() || m_pictures.contains(cover.name) ||
        !cover.mediaType.startsWith(QLatin1String("image/")) || !m_entries.contains(cover.name) ||
        kindOfName(cover.name) == NameKind::None)
        return;
    m_listing.pages.prepend(
        {cover.name, PageLocation::ofEntry(m_path, m_entries.value(cover.name).index, cover.name)});
    for (int &first : m_firstPageOf)
        ++first;
}

// Chapters from the table of contents: one entry naming the first page
// (as every book this program makes has) is no chapter.
void Lister::markChapters()
{
    const bool nav = !m_package.navId.isEmpty();
    const QString tocName = m_package.items.value(nav ? m_package.navId : m_package.ncxId).name;
    if (tocName.isEmpty() || !m_contents.documents.contains(tocName))
        return;
    const auto chapters = readChapters(tocName, m_contents.documents.value(tocName), !nav);
    if (chapters.isEmpty() ||
        (chapters.size() == 1 && m_firstPageOf.value(chapters.first().first, -1) <= 0))
        return;
    QVector<QPair<int, QString>> starts;
    for (const auto &chapter : chapters) {
        const int first = m_firstPageOf.value(chapter.first, -1);
        if (first >= 0 && first < m_listing.pages.size() && !chapter.second.isEmpty() &&
            (starts.isEmpty() || first > starts.last().first))
            starts.append({first, chapter.second});
    }
    for (int i = 0; i < starts.size(); ++i) {
        const int end = i + 1 < starts.size() ? starts.at(i + 1).first : m_listing.pages.size();
        for (int page = starts.at(i).first; page < end; ++page)
            m_listing.pages[page].chapter = starts.at(i).second;
    }
}

PageListing Lister::run()
{
    if (m_package.spine.isEmpty()) {
        m_listing.error = EpubPages::tr("Its package lists no page to read.");
        return m_listing;
    }
    for (const QString &id : m_package.spine) {
        if (!m_package.items.contains(id))
            m_listing.addUnreadable(id, EpubPages::tr("its page is not in the package's list"));
        else
            addDocument(id, m_package.items.value(id));
    }
    // A book of text flows to fit the screen; its few pictures are no comic.
    if (m_picturePages == 0 || (!m_package.fixedLayout && m_textPages >= m_picturePages)) {
        m_listing = PageListing();
        m_listing.error = EpubPages::tr("It is an EPUB of text, not of pictures (%1 pages of "
                                        "text, %2 of pictures): there is no comic in it to make "
                                        "a book of.")
                              .arg(m_textPages)
                              .arg(m_picturePages);
        return m_listing;
    }
    for (const QString &name : qAsConst(m_textPageNames))
        m_listing.addUnreadable(name, EpubPages::tr("a page of text, not a picture"));
    addCover();
    markChapters();
    const QString comicInfo = QStringLiteral("ComicInfo.xml");
    if (m_contents.documents.contains(comicInfo))
        m_listing.comicInfo = m_contents.documents.value(comicInfo);
    else
        m_listing.comicInfo = comicInfoOf(m_package);
    return m_listing;
}
} // namespace

bool EpubPages::startsAsEpub(const QByteArray &head)
{
    // A local header: the name's length at 26, the extra field's at 28, the
    // name at 30, a stored entry's bytes right after.
    if (!head.startsWith(QByteArray::fromHex("504b0304")) || head.size() < 30)
        return false;
    const auto word = [&](int at) {
        return int(uchar(head.at(at))) | int(uchar(head.at(at + 1))) << 8;
    };
    const int nameLength = word(26), extraLength = word(28);
    const QByteArray type = QByteArrayLiteral("application/epub+zip");
    return word(8) == 0 && head.mid(30, nameLength) == "mimetype" &&
           head.mid(30 + nameLength + extraLength, type.size()) == type;
}

bool EpubPages::isDocumentName(const QString &name)
{
    static const QStringList suffixes = {QStringLiteral("xml"),   QStringLiteral("opf"),
                                         QStringLiteral("xhtml"), QStringLiteral("html"),
                                         QStringLiteral("htm"),   QStringLiteral("ncx"),
                                         QStringLiteral("svg")};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

PageListing EpubPages::list(const QString &path, const ListingControl &control)
{
    const PageArchive::Contents contents = PageArchive::contents(
        path, &EpubPages::isDocumentName, DocumentBudget, DocumentsBudget, control);
    if (!contents.error.isEmpty()) {
        PageListing listing;
        listing.error = contents.error;
        listing.stopped = contents.stopped;
        return listing;
    }
    return listFrom(path, contents);
}

PageListing EpubPages::listFrom(const QString &path, const PageArchive::Contents &contents)
{
    PageListing listing;
    if (!contents.documents.contains(ContainerName)) {
        listing.error = contents.documentErrors.contains(ContainerName)
                            ? tr("Its %1 cannot be read: %2")
                                  .arg(ContainerName, contents.documentErrors.value(ContainerName))
                            : tr("It has no %1, which names its package.").arg(ContainerName);
        return listing;
    }
    QString error;
    const QString opf = rootfileOf(contents.documents.value(ContainerName), &error);
    if (opf.isEmpty()) {
        listing.error = error.isEmpty() ? tr("Its %1 names no package.").arg(ContainerName)
                                        : tr("Its %1 cannot be read: %2").arg(ContainerName, error);
        return listing;
    }
    if (!contents.documents.contains(opf)) {
        listing.error = tr("Its package %1 cannot be read: %2")
                            .arg(opf.left(120),
                                 contents.documentErrors.value(opf, tr("it is not in the book")));
        return listing;
    }
    const Package package = readPackage(opf, contents.documents.value(opf));
    if (!package.error.isEmpty()) {
        listing.error = tr("Its package %1 cannot be read: %2").arg(opf, package.error);
        return listing;
    }
    return Lister(path, contents, package).run();
}
