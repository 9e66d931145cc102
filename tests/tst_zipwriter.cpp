#include "making/zipwriter.h"
#include "making/pagetransform.h"
#include "testsupport.h"

#include <sys/file.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <quazip.h>

using namespace TestSupport;

namespace {
QByteArray page(int width, int height, QColor color = Qt::darkGreen)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return encodeJpeg(image, 90);
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class tst_ZipWriter : public QObject
{
    Q_OBJECT

private slots:
    void entryNames_data();
    void entryNames();
    void writesPagesInOrder_data();
    void writesPagesInOrder();
    void emptyArchiveIsValid();
    void replacesAnExistingFileCompletely();
    void failureKeepsTheOldFile();
    void emptyPageIsRefused();
    void folderThatCannotBeWritten();
    void writeErrorIsNoSuccess();
    void commitOntoAFolderFails();
    void diskFullWhileTheIndexIsWritten_data();
    void diskFullWhileTheIndexIsWritten();
    void partialNameStaysWithinTheLimit_data();
    void partialNameStaysWithinTheLimit();
    void stalePartialsAreRemoved();
    void aNameTooLongIsRefusedAtOnce();
};

void tst_ZipWriter::entryNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 0 << "0000000000.jpg";
    QTest::newRow("second") << 1 << "0000000001.jpg";
    QTest::newRow("forty-two") << 42 << "0000000042.jpg";
    QTest::newRow("large") << 1234567890 << "1234567890.jpg";
}

void tst_ZipWriter::entryNames()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QCOMPARE(ZipWriter::entryName(number), name);
}

void tst_ZipWriter::writesPagesInOrder_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain") << "book.cbz";
    QTest::newRow("spaces and accents") << "Vol 1 – è à ü.cbz";
    QTest::newRow("CJK and emoji") << "漫画 📚.cbz";
    QTest::newRow("another extension") << "book.zip";
}

void tst_ZipWriter::writesPagesInOrder()
{
    QFETCH(QString, fileName);
    QTemporaryDir folder;
    const QString path = folder.filePath(fileName);

    QList<QByteArray> pages;
    for (int i = 0; i < 12; ++i)
        pages << page(40 + i, 30);
    ZipWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(!QFile::exists(path)); // nothing under the chosen name before commit
    for (const QByteArray &data : pages)
        QVERIFY(writer.addEntry(PackedEntry::deflate(data)));
    QCOMPARE(writer.pageCount(), 12);
    QVERIFY(writer.commit());

    QString report;
    QVERIFY2(unzipTest(path, &report), qPrintable(report));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(path, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 12);
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).name, ZipWriter::entryName(i));
        QCOMPARE(entries.at(i).method, 8);
        QCOMPARE(entries.at(i).data, pages.at(i));
        QCOMPARE(jpegSize(entries.at(i).data), QSize(40 + i, 30));
    }
    QCOMPARE(leftovers(folder.path()), QStringList({fileName}));
    QVERIFY(QFileInfo(path).permissions() & QFileDevice::ReadOther);
    // Unpacked, each page is a regular file its reader may open.
    QuaZip zip(path);
    QVERIFY(zip.open(QuaZip::mdUnzip));
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        QVERIFY(zip.getCurrentFileInfo(&info));
        QCOMPARE(info.externalAttr >> 16, 0100644u);
    }
}

void tst_ZipWriter::emptyArchiveIsValid()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("empty.cbz");
    ZipWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.commit());
    QString report;
    QVERIFY2(unzipTest(path, &report), qPrintable(report));
    bool ok = false;
    QVERIFY(readArchive(path, &ok).isEmpty());
    QVERIFY(ok);
}

void tst_ZipWriter::replacesAnExistingFileCompletely()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("book.cbz");
    {
        ZipWriter writer;
        QVERIFY(writer.open(path));
        for (int i = 0; i < 5; ++i)
            QVERIFY(writer.addEntry(PackedEntry::deflate(page(100, 100))));
        QVERIFY(writer.commit());
    }
    ZipWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.addEntry(PackedEntry::deflate(page(10, 20))));
    QVERIFY(writer.commit());

    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(path, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(jpegSize(entries.first().data), QSize(10, 20));
    QVERIFY(unzipTest(path));
}

void tst_ZipWriter::failureKeepsTheOldFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("book.cbz");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the user's earlier archive");
    old.close();

    {
        ZipWriter writer;
        QVERIFY(writer.open(path));
        QVERIFY(writer.addEntry(PackedEntry::deflate(page(10, 10))));
        QVERIFY(QFile::exists(writer.partialFileName()));
        // Dropped unfinished, as when a page cannot be taken.
    }
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the user's earlier archive"));
    QCOMPARE(leftovers(folder.path()), QStringList({"book.cbz"}));
}

void tst_ZipWriter::emptyPageIsRefused()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("book.cbz");
    ZipWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.addEntry(PackedEntry::deflate(page(10, 10))));
    QVERIFY(!writer.addEntry(PackedEntry::deflate(QByteArray())));
    QVERIFY(!writer.addEntry(PackedEntry::deflate(page(10, 10)))); // the archive is spoilt now
    QVERIFY(!writer.commit());
    QVERIFY(!QFile::exists(path));
    QVERIFY(leftovers(folder.path()).isEmpty());
}

void tst_ZipWriter::folderThatCannotBeWritten()
{
    QTemporaryDir folder;
    QFile plain(folder.filePath("not a folder"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    ZipWriter writer;
    QVERIFY(!writer.open(folder.filePath("not a folder/book.cbz")));
    QVERIFY(!writer.open(folder.filePath("missing/book.cbz")));
    QVERIFY(!writer.addEntry(PackedEntry::deflate(page(10, 10))));
    QVERIFY(!writer.commit());
    QCOMPARE(leftovers(folder.path()), QStringList({"not a folder"}));
}

void tst_ZipWriter::writeErrorIsNoSuccess()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("book.cbz");
    // Noise compresses badly: a few of these pages outgrow the limit.
    const QImage noise = noiseImage(400, 400);
    const QByteArray big = encodeJpeg(noise, 100);
    QVERIFY(big.size() > 20000);

    bool succeeded = true;
    {
        FileSizeLimit limit(64 * 1024);
        ZipWriter writer;
        QVERIFY(writer.open(path));
        for (int i = 0; i < 8 && succeeded; ++i)
            succeeded = writer.addEntry(PackedEntry::deflate(big));
        if (succeeded)
            succeeded = writer.commit();
    }
    QVERIFY(!succeeded);
    QVERIFY(!QFile::exists(path));
    QVERIFY(leftovers(folder.path()).isEmpty());
}

void tst_ZipWriter::commitOntoAFolderFails()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("book.cbz");
    QVERIFY(QDir().mkpath(path + "/inside"));
    ZipWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.addEntry(PackedEntry::deflate(page(10, 10))));
    QVERIFY(!writer.commit());
    QVERIFY(QFileInfo(path + "/inside").isDir());
    QCOMPARE(leftovers(folder.path()), QStringList());
}

void tst_ZipWriter::diskFullWhileTheIndexIsWritten_data()
{
    QTest::addColumn<int>("bytesShort");
    // The central directory of three entries and its end record are the
    // last 3 * 60 + 22 bytes of the archive.
    for (int shortBy : {1, 10, 22, 40, 120, 190})
        QTest::addRow("%d bytes short", shortBy) << shortBy;
}

void tst_ZipWriter::diskFullWhileTheIndexIsWritten()
{
    QFETCH(int, bytesShort);
    QTemporaryDir dir;
    const QString target = dir.filePath("book.cbz");
    const QList<QByteArray> pages = {page(300, 200), page(200, 300, Qt::red), page(50, 50)};
    auto build = [&pages](const QString &name, ZipWriter &writer) {
        if (!writer.open(name))
            return false;
        for (const QByteArray &jpeg : pages) {
            if (!writer.addEntry(PackedEntry::deflate(jpeg)))
                return false;
        }
        return writer.commit();
    };
    ZipWriter first;
    QVERIFY(build(target, first));
    const QByteArray good = contentOf(target);

    ZipWriter second;
    {
        FileSizeLimit limit(good.size() - bytesShort);
        QVERIFY(!build(target, second));
    }
    QVERIFY(!second.errorString().isEmpty());
    QCOMPARE(contentOf(target), good); // byte for byte
    QCOMPARE(leftovers(dir.path()), QStringList({"book.cbz"}));
    QVERIFY(unzipTest(target));
}

void tst_ZipWriter::partialNameStaysWithinTheLimit_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("short") << QStringLiteral("book.cbz");
    QTest::newRow("242 bytes") << QString(238, QLatin1Char('a')) + ".cbz";
    QTest::newRow("255 bytes") << QString(251, QLatin1Char('b')) + ".cbz";
    // 4 bytes each in UTF-8, 2 code units each: never cut in half.
    QTest::newRow("emoji") << QString(62, QChar(0x263A)).replace(QChar(0x263A), "\U0001F3A8") +
                                  ".cbz";
}

void tst_ZipWriter::partialNameStaysWithinTheLimit()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString partial =
        QFileInfo(PartialFile::partialNameFor(dir.filePath(name), "zzzzzzz")).fileName();
    QVERIFY(QFile::encodeName(partial).size() <= 255);
    QVERIFY(!partial.toUtf8().contains("\xef\xbf\xbd")); // no broken character
    QVERIFY(partial.startsWith('.') && partial.endsWith(".zzzzzzz.part"));

    ZipWriter writer;
    QVERIFY2(writer.open(dir.filePath(name)), qPrintable(writer.errorString()));
    QVERIFY(writer.addEntry(PackedEntry::deflate(page(20, 20))));
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
    QCOMPARE(leftovers(dir.path()), QStringList({name}));
}

// Left by a build that was killed; one still held by a running build stays.
void tst_ZipWriter::stalePartialsAreRemoved()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("book.cbz");
    const QString stale = PartialFile::partialNameFor(target, "dead1");
    const QString held = PartialFile::partialNameFor(target, "live2");
    const QString otherBook = PartialFile::partialNameFor(dir.filePath("other.cbz"), "dead3");
    for (const QString &path : {stale, held, otherBook})
        QVERIFY(writeFile(path, "partial"));
    QFile holder(held);
    QVERIFY(holder.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(holder.handle(), LOCK_EX | LOCK_NB), 0);

    ZipWriter writer;
    QVERIFY(writer.open(target));
    QVERIFY(writer.addEntry(PackedEntry::deflate(QByteArray(100, 'x'))));
    QVERIFY(writer.commit());
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo::exists(held));
    QVERIFY(QFileInfo::exists(otherBook));
}

void tst_ZipWriter::aNameTooLongIsRefusedAtOnce()
{
    QTemporaryDir dir;
    ZipWriter writer;
    QVERIFY(!writer.open(dir.filePath(QString(300, QLatin1Char('n')) + ".cbz")));
    QVERIFY2(writer.errorString().contains("too long"), qPrintable(writer.errorString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QUIREVALE_TEST_MAIN(tst_ZipWriter)
#include "tst_zipwriter.moc"
