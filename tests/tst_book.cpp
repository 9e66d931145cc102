#include "book/book.h"
#include "book/sizereport.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <QTemporaryDir>
#include <algorithm>

#include <unistd.h>

using namespace TestSupport;

// What both front ends ask of a book: where its archive goes, which pages
// mark chapters, the ComicInfo.xml it carries, and what it left out.
class tst_Book : public QObject
{
    Q_OBJECT

private slots:
    void targetNeverTheSource_data();
    void targetNeverTheSource();
    void chaptersMarkedOnTheirFirstPage();
    void comicInfoMerged();
    void leftOutSaidByKind();
    void sizesSaid_data();
    void sizesSaid();
};

void tst_Book::targetNeverTheSource_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder"); // where the archive goes
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder, beside it") << "Saga 03"
                                         << "."
                                         << "Saga 03.cbz";
    QTest::newRow("a folder, elsewhere") << "Saga 03"
                                         << "out"
                                         << "out/Saga 03.cbz";
    QTest::newRow("an archive repacked beside itself") << "Old.cbz"
                                                       << "."
                                                       << "Old (1).cbz";
    QTest::newRow("another kind of archive beside it") << "Old.cbr"
                                                       << "."
                                                       << "Old.cbz";
    QTest::newRow("an archive repacked elsewhere") << "Old.cbz"
                                                   << "out"
                                                   << "out/Old.cbz";
    // A folder named only as a part of a series keeps its name, and takes
    // its series' in the Comic information.
    QTest::newRow("a volume's folder") << "Harbor Tales/Vol 01"
                                       << "."
                                       << "Vol 01.cbz";
    QTest::newRow("a chapter's folder") << "Harbor Tales/Ch 3"
                                        << "out"
                                        << "out/Ch 3.cbz";
    QTest::newRow("a volume's archive") << "Harbor Tales/v02.cbz"
                                        << "."
                                        << "v02 (1).cbz";
    QTest::newRow("a folder named with a number of its own") << "Harbor Tales/Vol 01 Extras"
                                                             << "."
                                                             << "Vol 01 Extras.cbz";
}

void tst_Book::targetNeverTheSource()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath("out"));
    QVERIFY(root.mkpath(QFileInfo(root.filePath(source)).path()));
    if (source.endsWith(".cbz") || source.endsWith(".cbr"))
        QVERIFY(writeFile(root.filePath(source), storedZip({{"p1.png", "x"}})));
    else
        QVERIFY(root.mkpath(source));
    const Book book = Book::open(root.filePath(source), PageTypesOnly);
    const QString inFolder =
        folder == "." ? QFileInfo(root.filePath(source)).path() : root.filePath(folder);
    QCOMPARE(book.targetIn(inFolder), QDir(inFolder).filePath(QFileInfo(target).fileName()));
    // Without a folder named, the request's is beside the source, as a
    // folder's path is given with its slash or without.
    if (folder == ".") {
        QCOMPARE(book.request().target, book.targetIn(inFolder));
        if (QFileInfo(root.filePath(source)).isDir())
            QCOMPARE(Book::open(root.filePath(source) + '/', PageTypesOnly).request().target,
                     book.targetIn(inFolder));
    }
    // The series and its part, in the Comic information suggested for it.
    if (source.startsWith("Harbor Tales/") && !source.endsWith("Extras")) {
        const ComicInfo info = book.comicInfo(false);
        QCOMPARE(info.series, QStringLiteral("Harbor Tales"));
        QCOMPARE(info.volume, source.contains("Ch 3") ? -1 : source.contains("02") ? 2 : 1);
    }
}

// Whatever order the user puts the pages in, a chapter's name marks the
// first page of each run of its pages.
void tst_Book::chaptersMarkedOnTheirFirstPage()
{
    const QVector<Book::Page> pages = {{0, QStringLiteral("/a/1.jpg"), {}, "Ch 1"},
                                       {1, QStringLiteral("/a/2.jpg"), {}, "Ch 1"},
                                       {3, QStringLiteral("/b/1.jpg"), {}, "Ch 2"},
                                       {2, QStringLiteral("/a/3.jpg"), {}, "Ch 1"},
                                       {4, QStringLiteral("/c.jpg"), {}, ""}};
    QStringList marks;
    for (const BuildPage &page : Book::buildPages(pages))
        marks << QStringLiteral("%1:%2").arg(page.row).arg(page.bookmark);
    QCOMPARE(marks, QStringList({"0:Ch 1", "1:", "3:Ch 2", "2:Ch 1", "4:"}));
}

void tst_Book::comicInfoMerged()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Saga 03");
    QVERIFY(QDir().mkpath(folder));
    const Book plain = Book::open(folder, PageTypesOnly);
    // From the name, written only when asked.
    QCOMPARE(plain.comicInfo(false).series, QStringLiteral("Saga"));
    QVERIFY(!plain.comicInfo(false).write);
    QVERIFY(plain.comicInfo(true).write);

    const QString archive = dir.filePath("Saga 04.cbz");
    QVERIFY(writeFile(archive, storedZip({{"p1.png", "x"},
                                          {"ComicInfo.xml", "<ComicInfo><Series>Saga</Series>"
                                                            "<Number>4</Number><Genre>Space</Genre>"
                                                            "</ComicInfo>"}})));
    const Book repacked = Book::open(archive, PageTypesOnly);
    // Its own is carried over, asked for or not, and given fields win.
    const ComicInfo kept = repacked.comicInfo(false);
    QVERIFY(kept.write);
    QCOMPARE(kept.number, QStringLiteral("4"));
    ComicInfo given;
    given.number = QStringLiteral("4b");
    given.year = 2014;
    const ComicInfo merged = repacked.comicInfoGiven(given);
    QCOMPARE(merged.number, QStringLiteral("4b"));
    QCOMPARE(merged.series, QStringLiteral("Saga"));
    QCOMPARE(merged.year, 2014);
    QVERIFY(comicInfoXml(merged, {}).contains("<Genre>Space</Genre>"));
    // What the user wrote in full keeps the source's other fields under it.
    ComicInfo edited;
    edited.write = true;
    edited.title = QStringLiteral("Chapter Four");
    const QByteArray xml = comicInfoXml(repacked.comicInfoEdited(edited), {});
    QVERIFY2(xml.contains("<Title>Chapter Four</Title>") && xml.contains("<Genre>Space</Genre>"),
             xml.constData());
}

void tst_Book::leftOutSaidByKind()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(writeImage(root.filePath("p1.png"), 20, 30, Qt::red, "png"));
    QVERIFY(writeImage(root.filePath("p2.webp"), 20, 30, Qt::red, "webp"));
    QVERIFY(QFile::link("p1.png", root.filePath("p3.png")));
    QVERIFY(writeFile(root.filePath("p4.png"), "not a picture at all"));
    QVERIFY(QFile::setPermissions(root.filePath("p4.png"), QFileDevice::WriteOwner));
    const Book book = Book::open(dir.path(), PageTypesOnly);
    QStringList said;
    for (const Book::LeftOut &leftOut : book.leftOut())
        said << QStringLiteral("%1 %2").arg(int(leftOut.kind)).arg(leftOut.text);
    const bool root_ = ::geteuid() == 0; // root reads any file
    QCOMPARE(said.filter("Symbolic links are not listed: p3.png").size(), 1);
    QVERIFY(said.contains(
        QStringLiteral("%1 Files of other picture types, not listed: 1 (webp): p2.webp")
            .arg(int(Book::LeftOut::OtherPictures))));
    // Named by file, ten at most, then counted.
    for (int i = 0; i < 12; ++i)
        QVERIFY(writeImage(root.filePath(QStringLiteral("x%1.webp").arg(i, 2, 10, QChar('0'))), 8,
                           8, Qt::red, "webp"));
    const QVector<Book::LeftOut> many = Book::open(dir.path(), PageTypesOnly).leftOut();
    QVERIFY(std::any_of(many.cbegin(), many.cend(), [](const Book::LeftOut &leftOut) {
        return leftOut.text.endsWith("not listed: 13 (webp): p2.webp, x00.webp, x01.webp, "
                                     "x02.webp, x03.webp, x04.webp, x05.webp, x06.webp, "
                                     "x07.webp, x08.webp and 3 more");
    }));
    QCOMPARE(book.missesPages(), !root_);
    if (!root_)
        QVERIFY(said.contains(QStringLiteral("%1 p4.png cannot be read: permission denied")
                                  .arg(int(Book::LeftOut::Trouble))));

    // Asked to be made, it is refused for each, unless made without them.
    const int missing = root_ ? 0 : int(BuildRequest::MissingPages);
    QCOMPARE(book.request().refusedFor, missing | BuildRequest::OtherPictures);
    QCOMPARE(book.request(QString(), true).refusedFor, int(BuildRequest::OtherPictures));
    QCOMPARE(book.request(QString(), false, true).refusedFor, missing);
    const BuildRequest made = book.request(QString(), true, true);
    QVERIFY(!made.refused());
    QCOMPARE(made.leftOut,
             QStringList("Files of other picture types, not listed: 1 (webp): p2.webp"));
}

void tst_Book::sizesSaid_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("why"); // empty: nothing to explain
    QTest::newRow("kept as they are, as large as its pages")
        << int(PageOptions::JpegPages) << true << "3 entries from 3 pages, %1, 1.0× its pages"
        << "";
    QTest::newRow("lossless WebP, much larger")
        << int(PageOptions::WebpLosslessPages) << false
        << "3 entries from 3 pages, %1, %2× its pages"
        << "made so by: lossless WebP, every page encoded again";
}

// The figures said are the archive's own: its entries, its size, and its
// share of the files it was made from; a heavy one is explained.
void tst_Book::sizesSaid()
{
    QFETCH(int, format);
    QFETCH(bool, kept);
    QFETCH(QString, line);
    QFETCH(QString, why);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 0; i < 3; ++i) {
        const QString file = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        QVERIFY(noiseImage(200, 300).save(file, "jpg", 60));
        pages.append({i, file});
    }
    PageOptions options;
    options.PageFormat = PageOptions::Format(format);
    options.KeepUnchangedPages = kept;
    BookBuild build(dir.filePath("book.cbz"), pages, options);
    QVERIFY(build.run() == BookBuild::Done);
    const qint64 archive = QFileInfo(build.fileName()).size();
    const qint64 source = SizeReport::bytesOf(pages);
    qint64 files = 0;
    for (const BuildPage &page : pages)
        files += QFileInfo(page.page.file()).size();
    QCOMPARE(source, files);
    const SizeReport report(build.entryCount(), pages.size(), archive, source);
    const QString share = QLocale().toString(double(archive) / source, 'f', 1);
    QCOMPARE(report.line(),
             line.arg(QLocale().formattedDataSize(archive, 1, QLocale::DataSizeSIFormat), share));
    const QString said = report.whyLarger(options);
    QCOMPARE(said.isEmpty(), why.isEmpty());
    QVERIFY2(said.contains(why), qPrintable(said));
    if (!why.isEmpty())
        QVERIFY2(said.contains("would not: Colour tablet"), qPrintable(said));
}

QUIREVALE_TEST_MAIN(tst_Book)
#include "tst_book.moc"
