#include "making/comicinfo.h"
#include "pages/epubpages.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "testsupport.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

class tst_EpubPages : public QObject
{
    Q_OBJECT

private slots:
    void listsTheSpinesPictures_data();
    void listsTheSpinesPictures();
    void readsWhatThePackageSays();
    void toldByContent();
};

using namespace TestSupport;

namespace {
const QByteArray Container = "<?xml version=\"1.0\"?>\n"
                             "<container version=\"1.0\" "
                             "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
                             "<rootfiles><rootfile full-path=\"OPS/book.opf\" "
                             "media-type=\"application/oebps-package+xml\"/></rootfiles>"
                             "</container>";

QByteArray pngOf(int width, int height)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(width, height).save(&buffer, "png");
    return data;
}

// An XHTML page whose body is given.
QByteArray page(const QByteArray &body, const QByteArray &doctype = "<!DOCTYPE html>")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + doctype +
           "\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\"><head><title>p</title></head><body>" +
           body + "</body></html>";
}

// A package whose spine shows the pages named (each "p/<name>.xhtml"), in
// that order; extra goes into the manifest.
QByteArray package(const QByteArrayList &spine, const QByteArray &metadata = QByteArray(),
                   const QByteArray &extra = QByteArray(), bool fixed = true)
{
    QByteArray opf = "<?xml version=\"1.0\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" "
                     "version=\"3.0\" unique-identifier=\"id\"><metadata "
                     "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:identifier id=\"id\">x"
                     "</dc:identifier>" +
                     metadata +
                     (fixed ? QByteArray("<meta property=\"rendition:layout\">pre-paginated</meta>")
                            : QByteArray()) +
                     "</metadata><manifest>" + extra;
    for (const QByteArray &name : spine)
        opf += "<item id=\"" + name + "\" href=\"p/" + name +
               ".xhtml\" media-type=\"application/xhtml+xml\"/>";
    opf += "</manifest><spine>";
    for (const QByteArray &name : spine)
        opf += "<itemref idref=\"" + name + "\"/>";
    return opf + "</spine></package>";
}

QByteArray epub(const QList<ZipEntry> &entries)
{
    return storedZip(QList<ZipEntry>{{"mimetype", "application/epub+zip"},
                                     {"META-INF/container.xml", Container}} +
                     entries);
}
} // namespace

void tst_EpubPages::listsTheSpinesPictures_data()
{
    QTest::addColumn<QByteArray>("book");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QString>("leftOut"); // "name: part of the reason"
    QTest::addColumn<QString>("error");
    const QByteArray png = pngOf(30, 40);
    const QByteArray a = page("<img src=\"../i/a.png\" alt=\"\"/>");
    const QByteArray b = page("<img src=\"../i/b%20b.png\" alt=\"\"/>");
    const QList<ZipEntry> pictures{{"OPS/i/a.png", png}, {"OPS/i/b b.png", png}};
    QTest::newRow("the spine's order, not the names'")
        << epub(pictures + QList<ZipEntry>{{"OPS/book.opf", package({"b", "a"})},
                                           {"OPS/p/a.xhtml", a},
                                           {"OPS/p/b.xhtml", b}})
        << QStringList{"OPS/i/b b.png", "OPS/i/a.png"} << ""
        << "";
    QTest::newRow("a picture inside an SVG, a cover only the package names")
        << epub(pictures +
                QList<ZipEntry>{
                    {"OPS/book.opf",
                     package({"a"}, "<meta name=\"cover\" content=\"c\"/>",
                             "<item id=\"c\" href=\"i/b%20b.png\" media-type=\"image/png\"/>")},
                    {"OPS/p/a.xhtml",
                     page("<svg xmlns=\"http://www.w3.org/2000/svg\"><image width=\"30\" "
                          "height=\"40\" xlink:href=\"../i/a.png\"/></svg>")}})
        << QStringList{"OPS/i/b b.png", "OPS/i/a.png"} << ""
        << "";
    const QList<ZipEntry> twoPages = pictures + QList<ZipEntry>{{"OPS/p/a.xhtml", a}};
    const struct
    {
        const char *row;
        QByteArray body;
        QString leftOut;
    } hostile[] = {
        {"a missing picture", page("<img src=\"../i/gone.png\"/>"),
         "OPS/i/gone.png (OPS/p/x.xhtml): not in the book"},
        {"a path that leaves the archive", page("<img src=\"../../../etc/passwd.png\"/>"),
         "../../../etc/passwd.png (OPS/p/x.xhtml): leaves the book"},
        {"a picture on the web", page("<img src=\"https://example.com/a.png\"/>"),
         "https://example.com/a.png (OPS/p/x.xhtml): never fetched"},
        {"a drawing", page("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"9\"/></svg>"),
         "OPS/p/x.xhtml: a drawing"},
        {"entities that expand to gigabytes",
         page("<p>&c;</p>", "<!DOCTYPE html [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                            "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
                            "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"),
         "OPS/p/x.xhtml: declares entities"},
        {"a page that is not XML", "<html><body><img src=a.png>", "OPS/p/x.xhtml: cannot be read"},
    };
    for (const auto &row : hostile)
        QTest::newRow(row.row) << epub(twoPages +
                                       QList<ZipEntry>{{"OPS/book.opf", package({"a", "x"})},
                                                       {"OPS/p/x.xhtml", row.body}})
                               << QStringList{"OPS/i/a.png"} << row.leftOut << "";
    QTest::newRow("a picture a shop's DRM locks")
        << epub(twoPages +
                QList<ZipEntry>{{"OPS/book.opf", package({"a"})},
                                {"META-INF/encryption.xml",
                                 "<encryption xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\">"
                                 "<enc:EncryptedData><enc:CipherData><enc:CipherReference "
                                 "URI=\"OPS/i/a.png\"/></enc:CipherData></enc:EncryptedData>"
                                 "</encryption>"}})
        << QStringList{} << "OPS/i/a.png (OPS/p/a.xhtml): encrypted"
        << "";
    QTest::newRow("a novel") << epub(twoPages +
                                     QList<ZipEntry>{
                                         {"OPS/book.opf", package({"a", "x"}, {}, {}, false)},
                                         {"OPS/p/x.xhtml", page("<p>It was a dark night.</p><p>And "
                                                                "stormy.</p>")}})
                             << QStringList{} << ""
                             << "an EPUB of text";
    QTest::newRow("no container") << storedZip({{"mimetype", "application/epub+zip"}})
                                  << QStringList{} << ""
                                  << "no META-INF/container.xml";
    QTest::newRow("a package the container names, missing") << epub(pictures) << QStringList{} << ""
                                                            << "OPS/book.opf cannot be read";
}

// The spine's pictures in its order; what cannot be taken is named with
// its reason and never followed out of the archive.
void tst_EpubPages::listsTheSpinesPictures()
{
    QFETCH(QByteArray, book);
    QFETCH(QStringList, pages);
    QFETCH(QString, leftOut);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.epub");
    QVERIFY(writeFile(path, book));
    const PageListing listing = scanPageSource(path);
    QVERIFY2(error.isEmpty() ? listing.error.isEmpty() : listing.error.contains(error),
             qPrintable(listing.error));
    QStringList names;
    for (const ListedPage &listed : listing.pages) {
        names << listed.name;
        // Each page reads from the archive as any archive's page does.
        const PagePicture picture = PageReader::readFirstPicture(listed.location);
        QVERIFY2(picture.isValid(), qPrintable(picture.error));
    }
    QCOMPARE(names, pages);
    QStringList said;
    for (const QString &name : listing.unreadable)
        said << name + QStringLiteral(": ") + listing.whyUnreadable(name);
    if (leftOut.isEmpty()) {
        QVERIFY2(said.isEmpty(), qPrintable(said.join('\n')));
    } else {
        QCOMPARE(said.size(), 1);
        const QString name = leftOut.section(": ", 0, 0);
        QVERIFY2(said.first().startsWith(name + ": ") &&
                     said.first().contains(leftOut.section(": ", 1)),
                 qPrintable(said.first()));
    }
}

// EPUB 3's refinements and EPUB 2's attributes both become the book's
// information; chapters come from the table of contents.
void tst_EpubPages::readsWhatThePackageSays()
{
    const QByteArray png = pngOf(30, 40);
    const QByteArray metadata =
        "<dc:title>Harbor &amp; Tales</dc:title><dc:language>it</dc:language>"
        "<dc:creator id=\"w\">Ann Writer</dc:creator><meta refines=\"#w\" "
        "property=\"role\" scheme=\"marc:relators\">aut</meta>"
        "<dc:creator xmlns:opf=\"http://www.idpf.org/2007/opf\" opf:role=\"ill\">Bo "
        "Artist</dc:creator><dc:date>2019-04-07</dc:date><dc:publisher>Ostrelind</dc:publisher>"
        "<meta property=\"belongs-to-collection\" id=\"s\">Saga</meta>"
        "<meta refines=\"#s\" property=\"group-position\">12</meta>";
    const QByteArray nav =
        page("<nav xmlns:epub=\"http://www.idpf.org/2007/ops\" epub:type=\"toc\"><ol>"
             "<li><a href=\"a.xhtml\">One</a></li><li><a href=\"c.xhtml#top\">Two</a></li>"
             "</ol></nav>");
    QByteArray opf = package({"a", "b", "c"}, metadata,
                             "<item id=\"nav\" href=\"p/nav.xhtml\" properties=\"nav\" "
                             "media-type=\"application/xhtml+xml\"/>");
    opf.replace("<spine>", "<spine page-progression-direction=\"rtl\">");
    QList<ZipEntry> entries{{"OPS/book.opf", opf}, {"OPS/p/nav.xhtml", nav}};
    for (const char *name : {"a", "b", "c"}) {
        entries.append({QByteArray("OPS/i/") + name + ".png", png});
        entries.append({QByteArray("OPS/p/") + name + ".xhtml",
                        page(QByteArray("<img src=\"../i/") + name + ".png\"/>")});
    }
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("b.epub"), epub(entries)));
    const PageListing listing = scanPageSource(dir.filePath("b.epub"));
    QVERIFY2(listing.error.isEmpty(), qPrintable(listing.error));
    QCOMPARE(listing.pages.size(), 3);
    QCOMPARE(listing.pages.at(1).chapter, QStringLiteral("One"));
    QCOMPARE(listing.pages.at(2).chapter, QStringLiteral("Two"));
    QVERIFY2(ComicInfo::leftOutOf(listing.comicInfo).isEmpty(),
             qPrintable(ComicInfo::leftOutOf(listing.comicInfo).join('\n')));
    const ComicInfo info = ComicInfo::fromXml(listing.comicInfo);
    QCOMPARE(info.title, QStringLiteral("Harbor & Tales"));
    QCOMPARE(info.series, QStringLiteral("Saga"));
    QCOMPARE(info.number, QStringLiteral("12"));
    QCOMPARE(info.writer, QStringLiteral("Ann Writer"));
    QCOMPARE(info.penciller, QStringLiteral("Bo Artist"));
    QCOMPARE(info.publisher, QStringLiteral("Ostrelind"));
    QCOMPARE(info.languageIso, QStringLiteral("it"));
    QCOMPARE(info.year, 2019);
    QCOMPARE(info.direction, ComicInfo::RightToLeft);
}

// An EPUB is one by its first entry whatever its name; a ZIP named .epub
// without that entry is still read as one; a Kobo EPUB's book is named
// without both suffixes.
void tst_EpubPages::toldByContent()
{
    QTemporaryDir dir;
    const QByteArray book = epub({{"OPS/book.opf", package({"a"})},
                                  {"OPS/p/a.xhtml", page("<img src=\"../i/a.png\"/>")},
                                  {"OPS/i/a.png", pngOf(20, 20)}});
    QVERIFY(writeFile(dir.filePath("Tales.kepub.epub"), book));
    QVERIFY(writeFile(dir.filePath("named.cbz"), book));
    QCOMPARE(sourceKindOf(dir.filePath("named.cbz")), SourceKind::Epub);
    QCOMPARE(scanPageSource(dir.filePath("named.cbz")).realKind, QStringLiteral("an EPUB"));
    QCOMPARE(scanPageSource(dir.filePath("named.cbz")).pages.size(), 1);
    QCOMPARE(bookNameOf(dir.filePath("Tales.kepub.epub")), QStringLiteral("Tales"));
    // The same entries, the mimetype no longer first.
    QVERIFY(writeFile(dir.filePath("late.epub"),
                      storedZip({{"OPS/book.opf", package({"a"})},
                                 {"mimetype", "application/epub+zip"},
                                 {"META-INF/container.xml", Container},
                                 {"OPS/p/a.xhtml", page("<img src=\"../i/a.png\"/>")},
                                 {"OPS/i/a.png", pngOf(20, 20)}})));
    QCOMPARE(sourceKindOf(dir.filePath("late.epub")), SourceKind::Archive);
    QCOMPARE(scanPageSource(dir.filePath("late.epub")).pages.size(), 1);
    QCOMPARE(scanPageSource(dir.filePath("late.epub")).pages.first().name,
             QStringLiteral("OPS/i/a.png"));
}

QUIREVALE_TEST_MAIN(tst_EpubPages)
#include "tst_epubpages.moc"
