#include "book/book.h"
#include "making/bookbuild.h"
#include "testsupport.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <quazip.h>
#include <quazipfile.h>

#include <libdeflate.h>

using namespace TestSupport;

using Entries = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Entries)

namespace {
bool writeZip(const QString &path, const Entries &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first)) ||
            file.write(entry.second) != entry.second.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

QByteArray png(int width, int height, const QColor &colour)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, "png");
    return data;
}

// A PNG header claiming a huge picture, its checksum right.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray data = png(1, 1, Qt::black);
    for (int i = 0; i < 4; ++i) {
        data[16 + i] = char(width >> (24 - 8 * i));
        data[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = libdeflate_crc32(0, data.constData() + 12, 17);
    for (int i = 0; i < 4; ++i)
        data[29 + i] = char(crc >> (24 - 8 * i));
    return data;
}
} // namespace

class tst_Thumbnailer : public QObject
{
    Q_OBJECT

private slots:
    void covers_data();
    void covers();
    void coverIsTheBooksFirstPage_data();
    void coverIsTheBooksFirstPage();
    void everyKindOfArchive_data();
    void everyKindOfArchive();
    void hostileArchivesWithinBounds_data();
    void hostileArchivesWithinBounds();
};

void tst_Thumbnailer::covers_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QSize>("size"); // invalid: no thumbnail
    const QByteArray red = png(300, 450, Qt::red), blue = png(300, 450, Qt::blue);
    QTest::newRow("the first page in natural order")
        << Entries{{"p10.png", blue}, {"p2.png", red}, {"ComicInfo.xml", "<ComicInfo/>"}}
        << QSize(85, 128);
    QTest::newRow("a page smaller than asked stays as it is")
        << Entries{{"a.png", png(40, 30, Qt::red)}} << QSize(40, 30);
    QTest::newRow("a page claiming billions of pixels")
        << Entries{{"a.png", pngClaiming(60000, 60000)}} << QSize();
    QTest::newRow("no page") << Entries{{"notes.txt", "text"}} << QSize();
    QByteArray damaged = red;
    damaged.chop(12); // no end chunk
    QTest::newRow("a damaged first page")
        << Entries{{"p1.png", damaged}, {"p2.png", blue}} << QSize();
    QTest::newRow("the book's first page, before its sub-folders'")
        << Entries{{"Book/x/01.png", blue}, {"Book/z.png", red}} << QSize(85, 128);
}

void tst_Thumbnailer::covers()
{
    QFETCH(Entries, entries);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString archive = dir.filePath("book.cbz"), thumbnail = dir.filePath("cover.png");
    QVERIFY(writeZip(archive, entries));
    QProcess process;
    process.start(QStringLiteral(QUIREVALE_THUMBNAILER), {"-s", "128", archive, thumbnail});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), size.isValid() ? 0 : 1);
    const QImage cover(thumbnail);
    QCOMPARE(cover.isNull(), !size.isValid()); // nothing written on a failure
    if (!size.isValid())
        return;
    QCOMPARE(cover.size(), size);
    QVERIFY(colorNear(cover.pixelColor(cover.width() / 2, cover.height() / 2), Qt::red, 8));
}

void tst_Thumbnailer::coverIsTheBooksFirstPage_data()
{
    QTest::addColumn<bool>("reversed"); // the archive's index in the other order
    QTest::addColumn<bool>("deflated");
    QTest::newRow("index in order") << false << false;
    QTest::newRow("index reversed") << true << false;
    QTest::newRow("deflated, index reversed") << true << true;
}

// Two entries of one name: the cover is the page the book begins with, as
// the build makes it.
void tst_Thumbnailer::coverIsTheBooksFirstPage()
{
    QFETCH(bool, reversed);
    QFETCH(bool, deflated);
    QTemporaryDir dir;
    const QString archive = dir.filePath("book.cbz"), thumbnail = dir.filePath("cover.png");
    QList<ZipEntry> entries{{"p1.png", png(300, 450, Qt::red)},
                            {"p1.png", png(300, 450, Qt::blue)}};
    for (ZipEntry &entry : entries)
        entry.deflated = deflated;
    QVERIFY(writeFile(archive, storedZip(entries, reversed)));
    QProcess process;
    process.start(QStringLiteral(QUIREVALE_THUMBNAILER), {"-s", "128", archive, thumbnail});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    // The book as it is made: its first entry.
    const Book book = Book::open(archive, EveryPictureType);
    QCOMPARE(book.pages().size(), 2);
    const QString made = dir.filePath("made.cbz");
    BookBuild build(made, Book::buildPages(book.listedPages()), PageOptions());
    QCOMPARE(build.run(), BookBuild::Done);
    const QImage first = QImage::fromData(archiveData(made).value(0));
    const QImage cover(thumbnail);
    QVERIFY(colorNear(cover.pixelColor(cover.width() / 2, cover.height() / 2),
                      first.pixelColor(10, 10), 8));
}

void tst_Thumbnailer::everyKindOfArchive_data()
{
    QTest::addColumn<QString>("format"); // as bsdtar names it
    QTest::addColumn<QString>("name");
    QTest::newRow("CBT") << "ustar"
                         << "book.cbt";
    QTest::newRow("CB7") << "7zip"
                         << "book.cb7";
}

// Every kind of archive the program reads has a cover.
void tst_Thumbnailer::everyKindOfArchive()
{
    QFETCH(QString, format);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("tree"));
    QVERIFY(writeFile(dir.filePath("tree/p1.png"), png(300, 450, Qt::red)));
    QProcess bsdtar;
    bsdtar.setWorkingDirectory(dir.filePath("tree"));
    bsdtar.start("bsdtar", {"-cf", dir.filePath(name), "--format", format, "p1.png"});
    QVERIFY(bsdtar.waitForFinished());
    if (bsdtar.exitCode() != 0)
        QSKIP("bsdtar (libarchive-tools) is needed");
    QProcess process;
    process.start(QStringLiteral(QUIREVALE_THUMBNAILER),
                  {"-s", "128", dir.filePath(name), dir.filePath("cover.png")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QImage(dir.filePath("cover.png")).size(), QSize(85, 128));
}

namespace {
// A BMP of side × side pixels in 8-bit run-length data: a few megabytes
// that decode into a gigabyte.
QByteArray runLengthBmp(int side)
{
    QByteArray rows;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; x += 255)
            rows += char(qMin(255, side - x)) + QByteArray(1, '\0');
        rows += QByteArray(2, '\0'); // end of line
    }
    rows += QByteArray("\0\1", 2); // end of bitmap
    QByteArray bmp("BM", 2);
    const auto put32 = [&bmp](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp += char((v >> (8 * i)) & 0xff);
    };
    const quint32 offset = 14 + 40 + 256 * 4;
    put32(offset + quint32(rows.size()));
    put32(0);
    put32(offset);
    put32(40);
    put32(quint32(side));
    put32(quint32(side));
    bmp += QByteArray("\1\0\x08\0", 4); // one plane, 8 bits
    put32(1);                           // RLE8
    put32(quint32(rows.size()));
    put32(2835);
    put32(2835);
    put32(256);
    put32(0);
    bmp += QByteArray(256 * 4, '\0');
    return bmp + rows;
}
} // namespace

void tst_Thumbnailer::hostileArchivesWithinBounds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a 16384² run-length BMP") << "bmp";
    QTest::newRow("a pipe named like an archive") << "pipe";
    QTest::newRow("a page of another archive's name") << "svg";
}

// File managers run the thumbnailer on whatever they find: it ends soon,
// within a few hundred megabytes, and reads nothing but the archive.
void tst_Thumbnailer::hostileArchivesWithinBounds()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString archive = dir.filePath("book.cbz"), thumbnail = dir.filePath("cover.png");
    if (kind == "bmp")
        QVERIFY(writeZip(archive, {{"p1.bmp", runLengthBmp(16384)}}));
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(archive).constData(), 0600), 0);
    if (kind == "svg") {
        QVERIFY(writeFile(dir.filePath("secret.png"), png(64, 64, Qt::red)));
        const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"64\" "
                               "height=\"64\"><image xlink:href=\"" +
                               QFile::encodeName(dir.filePath("secret.png")) +
                               "\" width=\"64\" height=\"64\"/></svg>";
        QVERIFY(writeZip(archive, {{"p1.png", svg}}));
    }
    QProcess process;
    process.start(QStringLiteral(QUIREVALE_THUMBNAILER), {"-s", "128", archive, thumbnail});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(!QFileInfo::exists(thumbnail));
#if !defined(__SANITIZE_ADDRESS__)
    struct rusage usage;
    QCOMPARE(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < 300 * 1024, qPrintable(QString::number(usage.ru_maxrss)));
#endif
}

QUIREVALE_TEST_MAIN(tst_Thumbnailer)
#include "tst_thumbnailer.moc"
