#include "making/bookbuild.h"
#include "making/comicinfo.h"
#include "pages/blake2sp.h"
#include "pages/pagearchive.h"
#include "pages/pagelocation.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {
// A small page whose width tells it apart: 10 pixels more for each.
QByteArray page(int number)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(10 + 10 * number, 30).save(&buffer, "jpg", 80);
    return data;
}

QStringList names(const QVector<ListedPage> &pages)
{
    QStringList listed;
    for (const ListedPage &listedPage : pages)
        listed << listedPage.name;
    return listed;
}

// An archive of the entries in one of the formats comic archives come in;
// empty when the tool that makes it is missing.
QByteArray archiveOf(const QString &format, const QList<ZipEntry> &entries, const QString &work)
{
    if (format == QLatin1String("zip"))
        return storedZip(entries);
    if (format == QLatin1String("rar5"))
        return storedRar5(entries);
    QDir(work).mkpath(QStringLiteral("tree"));
    QStringList names;
    for (const ZipEntry &entry : entries) {
        const QString path = QDir(work).filePath(QStringLiteral("tree/") + entry.name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!writeFile(path, entry.data))
            return QByteArray();
        names << QString::fromUtf8(entry.name);
    }
    const QString out = QDir(work).filePath(QStringLiteral("out.") + format);
    QProcess bsdtar;
    bsdtar.setWorkingDirectory(QDir(work).filePath(QStringLiteral("tree")));
    bsdtar.start(QStringLiteral("bsdtar"),
                 QStringList{QStringLiteral("-cf"), out, QStringLiteral("--format"),
                             format == QLatin1String("7z") ? QStringLiteral("7zip")
                                                           : QStringLiteral("ustar")} +
                     names);
    if (!bsdtar.waitForFinished() || bsdtar.exitCode() != 0)
        return QByteArray();
    return contentOf(out);
}
} // namespace

class tst_PageArchive : public QObject
{
    Q_OBJECT

private slots:
    void pagesInOrder_data();
    void pagesInOrder();
    void sameEntriesAsFromTheFolder();
    void comicInfoKeptOnRepack();
    void badArchives_data();
    void badArchives();
    void linksAndDevicesInATar();
    void anArchiveRewrittenSinceItWasListed();
    void damagedRarEntries_data();
    void damagedRarEntries();
    void blake2spAsItsReferenceGivesIt_data();
    void blake2spAsItsReferenceGivesIt();
    void comicInfoInTheBookFolder();
    void sourceKindsByContent_data();
    void sourceKindsByContent();
};

void tst_PageArchive::pagesInOrder_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"zip", "rar5", "tar", "7z"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

// Pages in natural order of their paths, a folder's own pages before its
// sub-folders'; each read by its number, whatever the names.
void tst_PageArchive::pagesInOrder()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QStringList stored = {"ch10/p1.jpg",     "ch2/p10.jpg", "ch2/p2.jpeg", "cover.jpg",
                                "ch2/extra/x.jpg", "notes.txt",   "ch2/p1.jpg"};
    QList<ZipEntry> entries;
    for (int i = 0; i < stored.size(); ++i)
        entries.append({stored.at(i).toUtf8(), page(i)});
    const QByteArray archive = archiveOf(format, entries, dir.path());
    if (archive.isEmpty())
        QSKIP("bsdtar (libarchive-tools) is needed for tar and 7z archives");
    const QString path = dir.filePath("book.cb" + format.left(1));
    QVERIFY(writeFile(path, archive));

    const PageListing listed = PageArchive::list(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    // Every picture type: an archive's pictures are all its pages.
    const QStringList order = {"cover.jpg",   "ch2/p1.jpg",      "ch2/p2.jpeg",
                               "ch2/p10.jpg", "ch2/extra/x.jpg", "ch10/p1.jpg"};
    QCOMPARE(names(listed.pages), order);
    // Read back in an order that goes back and forth, each is its own page.
    for (int i : {5, 0, 3, 1, 4, 2}) {
        PageReader reader(listed.pages.at(i).location);
        QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
        QCOMPARE(reader.headerSize().width(), 10 + 10 * stored.indexOf(order.at(i)));
    }
}

// The same pages give the same archive, from a folder or from a CBZ of it.
void tst_PageArchive::sameEntriesAsFromTheFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Book"));
    QList<ZipEntry> entries;
    for (int i = 1; i <= 12; ++i) {
        const QByteArray name = QStringLiteral("page %1.jpg").arg(i).toUtf8();
        entries.append({name, page(i)});
        QVERIFY(writeFile(dir.filePath("Book/" + QString::fromUtf8(name)), entries.last().data));
    }
    QVERIFY(writeFile(dir.filePath("Book.cbz"), storedZip(entries)));
    for (bool keep : {false, true}) {
        PageOptions options;
        options.KeepUnchangedPages = keep;
        options.ImageCutBorder = !keep;
        QList<QList<QByteArray>> built;
        for (const QString &source : {dir.filePath("Book"), dir.filePath("Book.cbz")}) {
            QVector<BuildPage> pages;
            for (const ListedPage &listed : scanPageSource(source).pages)
                pages.append({pages.size(), listed.location});
            QCOMPARE(pages.size(), 12);
            const QString target = dir.filePath("out.cbz");
            QFile::remove(target);
            BookBuild build(target, pages, options);
            QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
            built << archiveData(target);
        }
        QCOMPARE(built.at(1), built.at(0));
        if (keep)
            QCOMPARE(built.at(1).at(11), entries.at(11).data);
    }
}

// Every field of the source's ComicInfo.xml stays; the page list is new.
void tst_PageArchive::comicInfoKeptOnRepack()
{
    QTemporaryDir dir;
    const QByteArray source =
        "<?xml version=\"1.0\"?>\n<ComicInfo><Title>Old</Title><Series>Saga</Series>"
        "<Summary>A &amp; B</Summary><Genre>Space opera</Genre><Manga>Yes</Manga>"
        "<PageCount>40</PageCount><Pages><Page Image=\"0\" Type=\"FrontCover\"/></Pages>"
        "<CommunityRating>4.5</CommunityRating><Custom kind=\"x\">kept <b>too</b></Custom>"
        "</ComicInfo>";
    QVERIFY(writeFile(
        dir.filePath("Saga 1.cbz"),
        storedZip({{"p1.jpg", page(1)}, {"ComicInfo.xml", source}, {"p2.jpg", page(2)}})));
    const PageListing listed = scanPageSource(dir.filePath("Saga 1.cbz"));
    QCOMPARE(listed.comicInfo, source);
    ComicInfo info = ComicInfo::fromXml(listed.comicInfo);
    QVERIFY(info.write);
    QCOMPARE(info.title, QStringLiteral("Old"));
    QCOMPARE(info.summary, QStringLiteral("A & B"));
    info.title = QStringLiteral("New");
    info.number = QStringLiteral("1");
    const QByteArray xml = comicInfoXml(
        info, {{20, 30, 100, false, QStringLiteral("Start")}, {30, 30, 120, false, QString()}});
    const QString text = QString::fromUtf8(xml);
    for (const char *kept : {"<Title>New</Title>", "<Series>Saga</Series>", "<Number>1</Number>",
                             "<Summary>A &amp; B</Summary>", "<Genre>Space opera</Genre>",
                             "<Manga>Yes</Manga>", "<PageCount>2</PageCount>", "Bookmark=\"Start\"",
                             "<CommunityRating>4.5</CommunityRating>"})
        QVERIFY2(text.contains(QLatin1String(kept)), qPrintable(text));
    QVERIFY(!text.contains(QLatin1String("40")));
    // What the schema does not know is left out, and named.
    QVERIFY(!text.contains(QLatin1String("Custom")));
    QCOMPARE(ComicInfo::leftOutOf(listed.comicInfo).size(), 1);
    QVERIFY(ComicInfo::leftOutOf(listed.comicInfo).first().contains(QLatin1String("Custom")));
    // In the order of the schema: the new fields among the old ones.
    QVERIFY(text.indexOf("<Number>") < text.indexOf("<Summary>"));
    QVERIFY(text.indexOf("<Genre>") < text.indexOf("<PageCount>"));
    QVERIFY(text.indexOf("<Pages>") < text.indexOf("<CommunityRating>"));
}

void tst_PageArchive::badArchives_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");     // the listing's, or the build's
    QTest::addColumn<QStringList>("pages"); // listed
    QTest::addColumn<QStringList>("told");  // left out, and named

    QTest::newRow("cut short") << "cut short"
                               << "Truncated" << QStringList() << QStringList();
    QTest::newRow("an encrypted entry")
        << "encrypted"
        << "" << QStringList{"p1.jpg"} << QStringList{"p2.jpg (encrypted)"};
    QTest::newRow("an entry that claims 300 MB")
        << "bomb"
        << "" << QStringList{"p1.jpg"} << QStringList{"p2.jpg (more than 256 MB)"};
    QTest::newRow("100,000 entries") << "many"
                                     << "more than 65536 entries" << QStringList() << QStringList();
    QTest::newRow("names from anywhere, nothing extracted")
        << "names"
        << "" << QStringList{"dup.jpg",  "dup.jpg",   QString::fromUtf8("\xef\xbf\xbd.jpg"),
                             "/abs.jpg", "../up.jpg", "back/slash.jpg"}
        << QStringList();
    QTest::newRow("cut before its index") << "no index"
                                          << "cut short" << QStringList() << QStringList();
    QTest::newRow("an entry shorter than its header says")
        << "short entry"
        << "p2.jpg" << QStringList{"p1.jpg", "p2.jpg"} << QStringList();
    QTest::newRow("an archive inside") << "nested"
                                       << "" << QStringList{"p1.jpg"} << QStringList{"inner.cbz"};
    QTest::newRow("a pipe named like an archive")
        << "pipe"
        << "not a regular file" << QStringList() << QStringList();
    // Kept as they are, entries are copied from where libarchive read them.
    QTest::newRow("two entries of one name, the index reversed")
        << "reversed"
        << "" << QStringList{"dup.jpg", "dup.jpg"} << QStringList();
    QTest::newRow("an index record giving another entry's data")
        << "shared data"
        << "other programs would show other pages" << QStringList() << QStringList();
    QTest::newRow("bytes after a deflated stream")
        << "after the stream"
        << "" << QStringList{"p1.jpg", "p2.jpg"} << QStringList();
}

void tst_PageArchive::badArchives()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, told);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.cbz");
    QList<ZipEntry> entries = {{"p1.jpg", page(1)}, {"p2.jpg", page(2)}};
    if (kind == "encrypted")
        entries[1].encrypted = true;
    if (kind == "bomb")
        entries[1].claimedSize = 300u << 20;
    if (kind == "nested")
        entries[1] = {"inner.cbz", storedZip({{"x.jpg", page(3)}})};
    if (kind == "many") {
        entries.clear();
        for (int i = 0; i < 100000; ++i)
            entries.append({QByteArray::number(i) + ".jpg", QByteArray()});
    }
    if (kind == "names")
        entries = {{"../up.jpg", page(1)},       {"/abs.jpg", page(2)}, {"dup.jpg", page(3)},
                   {"back\\slash.jpg", page(4)}, {"\xff.jpg", page(5)}, {"dup.jpg", page(6)}};
    if (kind == "short entry")
        entries[1].claimedSize = quint32(entries[1].data.size() + 100);
    if (kind == "reversed")
        entries = {{"dup.jpg", page(1)}, {"dup.jpg", page(2)}};
    if (kind == "shared data")
        entries = {{"p1.jpg", page(1)}, {"p2.jpg", page(2), 0, false, 0}, {"p3.jpg", page(3)}};
    if (kind == "after the stream") {
        entries[0].deflated = entries[1].deflated = true;
        entries[1].afterStream = "words hidden after the stream";
    }
    QByteArray archive = storedZip(entries, kind == "reversed");
    if (kind == "cut short")
        archive = archive.left(archive.size() / 2);
    if (kind == "no index") // before the first entry of the index
        archive = archive.left(archive.indexOf("PK\x01\x02"));
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(writeFile(path, archive));

    const PageListing listed = PageArchive::list(path);
    QCOMPARE(names(listed.pages), pages);
    QStringList named;
    for (const QString &name : listed.unreadable)
        named << QStringLiteral("%1 (%2)").arg(name, listed.whyUnreadable(name));
    QCOMPARE(named + listed.archives, told);
    QString said = listed.error;
    if (said.isEmpty()) {
        QVector<BuildPage> buildPages;
        for (const ListedPage &listedPage : listed.pages)
            buildPages.append({buildPages.size(), listedPage.location});
        PageOptions options;
        options.KeepUnchangedPages = true;
        BookBuild build(dir.filePath("out.cbz"), buildPages, options);
        if (build.run() != BookBuild::Done)
            said = build.errorString();
        else if (kind == "names") // each entry found by its number, not its name
            QCOMPARE(archiveData(build.fileName()).size(), 6);
        else if (kind == "reversed" || kind == "after the stream")
            QCOMPARE(archiveData(build.fileName()), (QList<QByteArray>{page(1), page(2)}));
        QVERIFY(!contentOf(dir.filePath("out.cbz")).contains("hidden after"));
    }
    if (error.isEmpty())
        QVERIFY2(said.isEmpty(), qPrintable(said));
    else
        QVERIFY2(said.contains(error), qPrintable(said));
    if (!error.isEmpty())
        QVERIFY(!QFile::exists(dir.filePath("out.cbz")));
    QVERIFY(!QFile::exists(dir.filePath("up.jpg")) && !QFile::exists("/abs.jpg"));
}

// Nothing but a regular entry is a page; links are never followed, but a
// hard link to an entry of the same archive is that entry.
void tst_PageArchive::linksAndDevicesInATar()
{
    QTemporaryDir dir;
    const QString tree = dir.filePath("tree");
    QVERIFY(QDir().mkpath(tree));
    QVERIFY(writeFile(tree + "/p1.jpg", page(1)));
    QVERIFY(QFile::link("/etc/hostname", tree + "/p2.jpg"));
    QCOMPARE(::link(QFile::encodeName(tree + "/p1.jpg").constData(),
                    QFile::encodeName(tree + "/p3.jpg").constData()),
             0);
    QCOMPARE(::mkfifo(QFile::encodeName(tree + "/p4.jpg").constData(), 0600), 0);
    QProcess bsdtar;
    bsdtar.setWorkingDirectory(tree);
    bsdtar.start("bsdtar", {"-cf", dir.filePath("book.cbt"), "--format", "ustar", "p1.jpg",
                            "p2.jpg", "p3.jpg", "p4.jpg"});
    QVERIFY(bsdtar.waitForFinished());
    if (bsdtar.exitCode() != 0)
        QSKIP("bsdtar (libarchive-tools) is needed");
    const PageListing listed = PageArchive::list(dir.filePath("book.cbt"));
    QCOMPARE(names(listed.pages), QStringList({"p1.jpg", "p3.jpg"}));
    QCOMPARE(listed.unreadable, QStringList({"p2.jpg", "p4.jpg"}));
    QVERIFY(listed.missesPages());
    QVERIFY(listed.whyUnreadable("p2.jpg").contains("symbolic link"));
    PageReader linked(listed.pages.at(1).location);
    QVERIFY2(linked.readWithoutDecoding(), qPrintable(linked.errorString()));
    QCOMPARE(linked.fileData(), page(1));
}

// A tagger rewrote the archive while its list was open: the pages are
// not taken by their numbers from whatever is there now.
void tst_PageArchive::anArchiveRewrittenSinceItWasListed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.cbz");
    QVERIFY(writeFile(path, storedZip({{"p1.jpg", page(1)}, {"p2.jpg", page(2)}})));
    const PageListing listed = PageArchive::list(path);
    QVERIFY(writeFile(path, storedZip({{"p2.jpg", page(2)}, {"p1.jpg", page(1)}})));
    PageReader reader(listed.pages.at(0).location);
    QVERIFY(!reader.readWithoutDecoding());
    QVERIFY2(reader.errorString().contains("changed since it was listed"),
             qPrintable(reader.errorString()));
}

void tst_PageArchive::damagedRarEntries_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("readable");
    QTest::newRow("RAR 4, whole") << 4 << "" << true;
    QTest::newRow("RAR 4, a byte changed") << 4 << "byte" << false;
    QTest::newRow("RAR 4, a wrong CRC") << 4 << "crc" << false;
    // Headers written without the flag that says a size follows: a file
    // header gives its size all the same.
    QTest::newRow("RAR 4, whole, no long-block flag") << 4 << "flags" << true;
    QTest::newRow("RAR 5, whole") << 5 << "" << true;
    QTest::newRow("RAR 5, a byte changed") << 5 << "byte" << false;
    QTest::newRow("RAR 5 with BLAKE2 hashes, whole") << 5 << "blake2" << true;
    QTest::newRow("RAR 5 with BLAKE2 hashes, a byte changed") << 5 << "blake2 byte" << false;
    QTest::newRow("RAR 5, cut after an entry") << 5 << "cut" << false;
    QTest::newRow("RAR 5, cut inside a header") << 5 << "cut in a header" << false;
    QTest::newRow("ZIP, whole") << 0 << "" << true;
    QTest::newRow("ZIP, a byte changed") << 0 << "byte" << false;
}

// libarchive checks the CRC of packed RAR entries only; a stored page with
// a changed byte must not go into a book.
void tst_PageArchive::damagedRarEntries()
{
    QFETCH(int, version);
    QFETCH(QString, damage);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    QList<ZipEntry> entries = {{"p1.jpg", page(1)}, {"p2.jpg", page(2)}};
    if (damage == "crc")
        entries[1].claimedSize = 0x12345678;
    QByteArray archive = version == 4   ? storedRar4(entries, damage == "flags" ? 0 : 0x8000)
                         : version == 5 ? storedRar5(entries, damage.startsWith("blake2"))
                                        : storedZip(entries);
    if (damage.startsWith("cut")) {
        // No end of the archive: whatever followed is gone.
        const int second = archive.indexOf("p2.jpg");
        archive = damage == "cut" ? archive.left(archive.lastIndexOf("\xFF\xD9") + 2)
                                  : archive.left(second - 3);
        const QString path = dir.filePath("book.cbr");
        QVERIFY(writeFile(path, archive));
        const PageListing listed = PageArchive::list(path);
        QVERIFY2(listed.error.contains("cut short"), qPrintable(listed.error));
        return;
    }
    if (damage.endsWith("byte")) { // inside the second page's scan data
        const int at = archive.lastIndexOf("\xFF\xD9") - 30;
        archive[at] = char(archive.at(at) ^ 0x10);
    }
    const QString path = dir.filePath(version ? "book.cbr" : "book.cbz");
    QVERIFY(writeFile(path, archive));
    const PageListing listed = PageArchive::list(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    QCOMPARE(names(listed.pages), QStringList({"p1.jpg", "p2.jpg"}));
    PageReader first(listed.pages.at(0).location);
    QVERIFY2(first.readWithoutDecoding(), qPrintable(first.errorString()));
    PageReader second(listed.pages.at(1).location);
    QCOMPARE(second.readWithoutDecoding(), readable);
    if (!readable)
        QVERIFY2(second.errorString().contains("p2.jpg"), qPrintable(second.errorString()));
}

// Many tools pack the book's folder whole: its ComicInfo.xml is the book's.
void tst_PageArchive::blake2spAsItsReferenceGivesIt_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("digest");
    // Bytes (7i + 3) mod 256, hashed by Python's hashlib.blake2s with
    // BLAKE2sp's tree parameters.
    QTest::newRow("empty")
        << 0 << QByteArray("dd0e891776933f43c7d032b08a917e25741f8aa9a12c12e1cac8801500f2ca4f");
    QTest::newRow("1") << 1
                       << QByteArray(
                              "456da349adc8eaa1ee5fd8397d9c181c21a8e9173ad90f22613fd34e1d576d44");
    QTest::newRow("64") << 64
                        << QByteArray(
                               "e375bba69fb1c84c7f202f06e71090695f81786b7413da0cd0126e15a0f80181");
    QTest::newRow("511") << 511
                         << QByteArray(
                                "63a8cc6d628b88d471d4f81035b367f62b8a14dbf55bd9cca0d945dae8e226cf");
    QTest::newRow("512") << 512
                         << QByteArray(
                                "201135254f94f0cf5307da6ae28daf819258fd08df8249684ffbbded6c23e0e5");
    QTest::newRow("513") << 513
                         << QByteArray(
                                "4524c7cfa3a7cde180691ba1a3c0d4b9fc20ced214f27e65f5c76dbb0ff44c91");
    QTest::newRow("3000")
        << 3000 << QByteArray("3df1c4cbea7aaa3641793f6a2d5876fe32e585bc32140985a1c847967e25c1b0");
}

void tst_PageArchive::blake2spAsItsReferenceGivesIt()
{
    QFETCH(int, length);
    QFETCH(QByteArray, digest);
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char((i * 7 + 3) & 255);
    QCOMPARE(Blake2sp::hash(data).toHex(), digest);
}

void tst_PageArchive::comicInfoInTheBookFolder()
{
    QTemporaryDir dir;
    const QByteArray xml = "<ComicInfo><Title>Inside</Title></ComicInfo>";
    QVERIFY(writeFile(dir.filePath("a.cbz"),
                      storedZip({{"Book/p1.jpg", page(1)}, {"Book/ComicInfo.xml", xml}})));
    QCOMPARE(PageArchive::list(dir.filePath("a.cbz")).comicInfo, xml);
    // One at the top wins over one inside.
    QVERIFY(writeFile(dir.filePath("b.cbz"), storedZip({{"Book/ComicInfo.xml", "<ComicInfo/>"},
                                                        {"Book/p1.jpg", page(1)},
                                                        {"ComicInfo.xml", xml}})));
    QCOMPARE(PageArchive::list(dir.filePath("b.cbz")).comicInfo, xml);
}

void tst_PageArchive::sourceKindsByContent_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");      // -1: cannot be listed
    QTest::addColumn<QString>("really"); // what the listing says it is
    QTest::newRow("a RAR named .cbz") << "rar"
                                      << "book.cbz" << 2 << "a RAR archive";
    QTest::newRow("a ZIP named .cbr") << "zip"
                                      << "book.cbr" << 2 << "a ZIP archive";
    QTest::newRow("a ZIP named .cbz") << "zip"
                                      << "book.cbz" << 2 << "";
    QTest::newRow("a PDF named .cbz") << "pdf"
                                      << "book.cbz" << 1 << "a PDF";
    QTest::newRow("text named .cb7") << "text"
                                     << "book.cb7" << -1 << "";
    // A PDF's header inside the first kilobyte is no PDF when the file
    // starts as an archive or a picture.
    QTest::newRow("a ZIP whose first entry is a stored PDF") << "zip with a pdf"
                                                             << "book.cbz" << 2 << "";
    QTest::newRow("a JPEG with a PDF's header in a comment") << "jpeg"
                                                             << "page.jpg" << -1 << "";
}

// A source is what its bytes say, whatever its name; the name is a hint
// for a file whose bytes say nothing.
void tst_PageArchive::sourceKindsByContent()
{
    QFETCH(QString, content);
    QFETCH(QString, name);
    QFETCH(int, pages);
    QFETCH(QString, really);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QList<ZipEntry> entries = {{"p1.jpg", page(1)}, {"p2.jpg", page(2)}};
    QByteArray bytes = "just some text";
    if (content == "rar")
        bytes = storedRar5(entries);
    if (content == "zip")
        bytes = storedZip(entries);
    if (content == "zip with a pdf")
        bytes = storedZip(QList<ZipEntry>{{"bonus.pdf", "%PDF-1.4\n%%EOF\n"}} + entries);
    if (content == "jpeg") {
        QImage picture(30, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.setText("Comment", "%PDF-1.7");
        bytes = encoded(picture, "jpg");
        QVERIFY(bytes.left(1024).contains("%PDF-"));
        QVERIFY(writeFile(path, bytes));
        QVERIFY(!isBookFile(path));
        return;
    }
    if (content == "pdf") {
        QVERIFY(writeImage(dir.filePath("p.png"), 30, 40, Qt::red, "png"));
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.drawImage(QPointF(0, 0), QImage(dir.filePath("p.png")));
        QVERIFY(painter.end());
    } else {
        QVERIFY(writeFile(path, bytes));
    }
    const PageListing listed = scanPageSource(path);
    QCOMPARE(listed.error.isEmpty(), pages >= 0);
    QCOMPARE(listed.pages.size(), qMax(0, pages));
    QCOMPARE(listed.realKind, really);
    if (pages > 0) {
        PageReader reader(listed.pages.first().location);
        QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
    }
}

QUIREVALE_TEST_MAIN(tst_PageArchive)
#include "tst_pagearchive.moc"
