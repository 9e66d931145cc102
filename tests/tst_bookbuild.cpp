#include "making/bookbuild.h"
#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "pages/pagearchive.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <turbojpeg.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace TestSupport;

Q_DECLARE_METATYPE(PageOptions)

namespace {
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A GIF of one grey, which Qt reads but cannot write: its codes are three
// bits each, the table cleared before it would grow. frames > 1 repeats the
// picture as the frames of an animation.
QByteArray greyGif(int width, int height, int frames = 1)
{
    QByteArray gif("GIF89a");
    const auto put16 = [&gif](int v) {
        gif += char(v & 0xff);
        gif += char(v >> 8);
    };
    put16(width);
    put16(height);
    gif += QByteArray("\x80\x00\x00", 3);             // a global table of two colours
    gif += QByteArray("\x80\x80\x80\xff\xff\xff", 6); // grey, white
    QByteArray codes;
    quint32 bits = 0;
    int count = 0;
    const auto push = [&](int code) {
        bits |= quint32(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            codes += char(bits & 0xff);
    };
    for (int pixel = 0; pixel < width * height; ++pixel) {
        if (pixel % 2 == 0)
            push(4);
        push(0);
    }
    push(5);
    if (count > 0)
        codes += char(bits & 0xff);
    for (int frame = 0; frame < frames; ++frame) {
        if (frames > 1) // a graphic control extension: a tenth of a second each
            gif += QByteArray("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);
        gif += ',';
        for (int value : {0, 0, width, height})
            put16(value);
        gif += char(0);
        gif += char(2); // minimum code size: clear is 4, end 5
        for (int at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            gif += char(block.size()) + block;
        }
        gif += char(0);
    }
    gif += ';';
    return gif;
}

PageOptions options(bool split, bool border, bool resize, int quality = 100)
{
    PageOptions o;
    o.ImageCutDoublePages = split;
    o.ImageCutPointNumber = 40;
    o.ImageCutFirstPageRight = false;
    o.ImageCutBorder = border;
    o.ImageCutBorderNumber = 7;
    o.ImageResize = resize;
    o.ResizeImageWidth = 120;
    o.ResizeImageHeight = 170;
    o.ImageQuality = quality;
    return o;
}
} // namespace

class tst_BookBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameEntriesForAnyThreadCount_data();
    void sameEntriesForAnyThreadCount();
    void rowsAreReportedInOrder();
    void cancelStopsAndLeavesNothing();
    void failuresSayWhy_data();
    void failuresSayWhy();
    void targetsThatAreNotReplaced_data();
    void targetsThatAreNotReplaced();
    void aFileThatAppearsIsNotReplaced();
    void everyDamagedPageInFlightIsNamed();
    void oneResultPerRun_data();
    void oneResultPerRun();
    void destroyedWhileRunning();
    void storedPagesReadBack();
    void keptPagesOfAZipAreCopied();
    void formatsAndKeptPages_data();
    void formatsAndKeptPages();
    void losslessCutsOfEveryKindOfJpeg();
    void animatedPagesGiveTheirFirstFrame();
    void filesOfMostlyNothingAreHeldAFewAtATime();

private:
    // Pages of every kind a folder may hold, each a different size.
    QVector<BuildPage> mixedPages() const { return m_mixed; }
    QVector<BuildPage> m_mixed;

    QTemporaryDir m_dir;
};

void tst_BookBuild::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir("pages"));
    const QString folder = m_dir.filePath("pages");
    QImage base = noiseImage(230, 160);
    QVERIFY2(base.save(folder + "/a.jpg", nullptr, 90), "jpg");
    QVERIFY2(base.convertToFormat(QImage::Format_Indexed8).save(folder + "/b.png"), "indexed");
    QVERIFY2(base.convertToFormat(QImage::Format_Grayscale8).save(folder + "/c.png"), "grey");
    QVERIFY2(base.scaled(150, 200).save(folder + "/d.bmp"), "bmp");
    QVERIFY2(base.scaled(180, 120).save(folder + "/e.tif"), "tif");
    QVERIFY2(writeFile(folder + "/f.tif", multiPageTiff({base, base.mirrored()})), "tiff pages");
    int row = 0;
    for (const char *name : {"a.jpg", "b.png", "c.png", "d.bmp", "e.tif", "f.tif"})
        m_mixed.append({row += 2, folder + '/' + name}); // unchecked rows in between
}

void tst_BookBuild::sameEntriesForAnyThreadCount_data()
{
    QTest::addColumn<PageOptions>("pageOptions");
    QTest::newRow("as they are") << options(false, false, false);
    QTest::newRow("split, border, resize") << options(true, true, true);
    QTest::newRow("border, quality 40") << options(false, true, false, 40);
}

void tst_BookBuild::sameEntriesForAnyThreadCount()
{
    QFETCH(PageOptions, pageOptions);
    const QVector<BuildPage> pages = mixedPages();
    QList<QList<QByteArray>> results;
    // The last run holds no pixels beyond the page the writer waits for: one
    // page at a time, with pages of many pictures among them, and no deadlock.
    for (int threads : {1, 2, 5, -4}) {
        const QString target = m_dir.filePath(QStringLiteral("threads %1.cbz").arg(threads));
        BookBuild build(target, pages, pageOptions);
        build.setReplaceExisting(true);
        build.setThreadCount(qAbs(threads));
        if (threads < 0)
            build.setMemoryBudget(1);
        QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
        QVERIFY(unzipTest(target));
        results << archiveData(target);
    }
    QCOMPARE(results.at(1), results.at(0));
    QCOMPARE(results.at(2), results.at(0));

    // Each entry is the JPEG a page shown in the preview would give, page
    // by page; a multi-page TIFF gives one set per picture.
    QList<QByteArray> expected;
    for (const BuildPage &page : pages)
        expected << TransformPage(QPixmap(page.page.file()).toImage(), pageOptions);
    const QImage secondPicture = noiseImage(230, 160).mirrored();
    expected << TransformPage(QPixmap::fromImage(secondPicture).toImage(), pageOptions);
    QCOMPARE(results.at(0).size(), expected.size());
    for (int i = 0; i < expected.size() - (pageOptions.ImageCutDoublePages ? 2 : 1); ++i)
        QVERIFY2(results.at(0).at(i) == expected.at(i), qPrintable(QString::number(i)));
}

void tst_BookBuild::rowsAreReportedInOrder()
{
    const QVector<BuildPage> pages = mixedPages();
    const QString target = m_dir.filePath("order.cbz");
    BookBuild build(target, pages, options(true, false, false));
    build.setThreadCount(3);
    // Each page's picture, told before the page is said to be written.
    struct Pictures : PagePictureObserver
    {
        QSize pictureBounds() const override { return QSize(100, 100); }
        void pagePicture(int row, const QImage &picture, const QSize &pageSize) override
        {
            rows << row;
            sizes << picture.size();
            pageSizes << pageSize;
        }
        QList<int> rows;
        QList<QSize> sizes, pageSizes;
    } observer;
    build.setPictureObserver(&observer);
    QSignalSpy written(&build, &BookBuild::pageWritten);
    QSignalSpy finished(&build, &BookBuild::finished);
    QList<QSize> pictures, pageSizes;
    connect(
        &build, &BookBuild::pageWritten, this,
        [&](int row) {
            QCOMPARE(observer.rows.last(), row);
            pictures << observer.sizes.last();
            pageSizes << observer.pageSizes.last();
        },
        Qt::DirectConnection);
    QCOMPARE(build.run(), BookBuild::Done);
    QCOMPARE(written.size(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(written.at(i).at(0).toInt(), pages.at(i).row);
        // Two entries a picture; the last page, a TIFF of two pictures, gives four.
        QCOMPARE(written.at(i).at(1).toInt(), 2 * (i + 1) + (i == pages.size() - 1 ? 2 : 0));
        const QSize pageSize = QImage(pages.at(i).page.file()).size();
        QCOMPARE(pageSizes.at(i), pageSize);
        QCOMPARE(pictures.at(i), pageSize.scaled(100, 100, Qt::KeepAspectRatio));
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).value<BookBuild::Result>(), BookBuild::Done);
    QCOMPARE(archiveData(target).size(), 2 * pages.size() + 2);
}

void tst_BookBuild::cancelStopsAndLeavesNothing()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    const QImage noise = noiseImage(900, 900);
    for (int i = 0; i < 40; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("n%1.png").arg(i))});
        QVERIFY(noise.save(pages.last().page.file()));
    }
    const QString target = dir.filePath("book.cbz");
    QVERIFY(writeFile(target, "earlier archive"));

    BookBuild build(target, pages, PageOptions());
    build.setReplaceExisting(true);
    build.setThreadCount(2);
    QSignalSpy written(&build, &BookBuild::pageWritten);
    connect(&build, &BookBuild::pageWritten, &build, &BookBuild::cancel, Qt::DirectConnection);
    QCOMPARE(build.run(), BookBuild::Canceled);
    QVERIFY(build.errorString().isEmpty());
    QCOMPARE(written.size(), 1); // nothing is written after the cancel
    QCOMPARE(contentOf(target), QByteArray("earlier archive"));
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

void tst_BookBuild::failuresSayWhy_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::newRow("vanished page") << "vanished"
                                   << "p2.png cannot be read: No such file";
    QTest::newRow("damaged page") << "damaged"
                                  << "p2.png cannot be read: The file is damaged";
    QTest::newRow("huge page") << "huge"
                               << "p2.png cannot be read: The page is 40000 × 40000";
    QTest::newRow("border eats the page") << "border"
                                          << "px leaves nothing of page p";
    QTest::newRow("fitted to nothing") << "sliver"
                                       << "nothing is left of page p2.png (3000 × 2)";
    QTest::newRow("folder gone") << "folder"
                                 << "does not exist";
    QTest::newRow("disk full") << "full"
                               << "File too large";
}

void tst_BookBuild::failuresSayWhy()
{
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(noiseImage(300, 200).save(pages.last().page.file()));
    }
    QString target = dir.filePath("book.cbz");
    QVERIFY(writeFile(target, "earlier archive"));
    PageOptions pageOptions;
    if (trouble == "vanished")
        QVERIFY(QFile::remove(pages.at(1).page.file()));
    if (trouble == "damaged")
        QVERIFY(writeFile(pages.at(1).page.file(), contentOf(pages.at(1).page.file()).left(3000)));
    if (trouble == "huge") {
        QImage huge(40000, 40000, QImage::Format_Mono);
        huge.fill(0);
        QVERIFY(huge.save(pages.at(1).page.file()));
    }
    if (trouble == "border") {
        pageOptions.ImageCutBorder = true;
        pageOptions.ImageCutBorderNumber = 100;
    }
    if (trouble == "folder")
        target = dir.filePath("gone/book.cbz");
    if (trouble == "sliver") {
        QVERIFY(noiseImage(3000, 2).save(pages.at(1).page.file()));
        pageOptions.ImageResize = true;
        pageOptions.ImageResizeMode = PageOptions::ResizeToFit;
        pageOptions.ResizeImageWidth = 300;
        pageOptions.ResizeImageHeight = 400;
    }

    BookBuild build(target, pages, pageOptions);
    build.setReplaceExisting(true);
    bool made;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (trouble == "full")
            limit = std::make_unique<FileSizeLimit>(300000);
        made = build.run() == BookBuild::Done;
    }
    QVERIFY(!made);
    QVERIFY2(build.errorString().contains(reason), qPrintable(build.errorString()));
    QCOMPARE(contentOf(dir.filePath("book.cbz")), QByteArray("earlier archive"));
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

void tst_BookBuild::targetsThatAreNotReplaced_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("reason");
    QTest::newRow("an archive, not to be replaced") << "old.cbz" << false << "exists already";
    QTest::newRow("a page of the book, even when allowed")
        << "p2.png" << true << "is a page of this book";
    QTest::newRow("the archive a page comes from, even when allowed")
        << "source.cbz" << true << "is a page of this book";
    QTest::newRow("a pipe, even when allowed") << "pipe" << true << "not a regular file";
    QTest::newRow("a folder, even when allowed") << "folder" << true << "not a regular file";
    QTest::newRow("a link, even when allowed") << "link.cbz" << true << "not a regular file";
}

void tst_BookBuild::targetsThatAreNotReplaced()
{
    QFETCH(QString, target);
    QFETCH(bool, replace);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(noiseImage(60, 80).save(pages.last().page.file()));
    }
    QVERIFY(writeFile(dir.filePath("old.cbz"), "earlier archive"));
    QVERIFY(writeFile(dir.filePath("source.cbz"), "its pages"));
    pages.append({4, PageLocation::ofEntry(dir.filePath("source.cbz"), 0, "p4.png")});
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QVERIFY(QFile::link(dir.filePath("old.cbz"), dir.filePath("link.cbz")));
    const QFileInfo info(dir.filePath(target));
    const bool plainFile = info.isFile() && !info.isSymLink(); // a pipe is not opened
    const QByteArray before = plainFile ? contentOf(info.filePath()) : QByteArray();

    BookBuild build(dir.filePath(target), pages, PageOptions());
    build.setReplaceExisting(replace);
    QCOMPARE(build.run(), BookBuild::Failed);
    QVERIFY2(build.errorString().contains(reason), qPrintable(build.errorString()));
    if (plainFile)
        QCOMPARE(contentOf(info.filePath()), before);
    QCOMPARE(contentOf(dir.filePath("old.cbz")), QByteArray("earlier archive"));
    QVERIFY(QFileInfo(dir.filePath("pipe")).exists());
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

// Two processes onto one name: the one that finishes second must not take
// the place of the first one's archive.
void tst_BookBuild::aFileThatAppearsIsNotReplaced()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(noiseImage(60, 80).save(pages.last().page.file()));
    }
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, PageOptions());
    connect(
        &build, &BookBuild::pageWritten, this,
        [&](int row) {
            if (row == 2)
                writeFile(target, "the other process's archive");
        },
        Qt::DirectConnection);
    QCOMPARE(build.run(), BookBuild::Failed);
    QVERIFY2(build.errorString().contains("appeared while the book was made"),
             qPrintable(build.errorString()));
    QCOMPARE(contentOf(target), QByteArray("the other process's archive"));
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

void tst_BookBuild::everyDamagedPageInFlightIsNamed()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 4; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.jpg").arg(i))});
        QVERIFY(noiseImage(300, 200).save(pages.last().page.file(), "jpg"));
    }
    for (int damaged : {1, 2})
        QVERIFY(writeFile(pages.at(damaged).page.file(),
                          contentOf(pages.at(damaged).page.file()).left(2000)));
    BookBuild build(dir.filePath("book.cbz"), pages, PageOptions());
    build.setThreadCount(4);
    QCOMPARE(build.run(), BookBuild::Failed);
    const QStringList reasons = build.errorString().split('\n');
    QCOMPARE(reasons.size(), 2);
    QVERIFY2(reasons.at(0).contains("p2.jpg") && reasons.at(1).contains("p3.jpg"),
             qPrintable(build.errorString()));
}

void tst_BookBuild::oneResultPerRun_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<BookBuild::Result>("result");
    QTest::newRow("done") << "done" << BookBuild::Done;
    QTest::newRow("canceled") << "cancel" << BookBuild::Canceled;
    QTest::newRow("failed") << "fail" << BookBuild::Failed;
}

// The same outcome, told once, whichever way the caller looks at it.
void tst_BookBuild::oneResultPerRun()
{
    QFETCH(QString, how);
    QFETCH(BookBuild::Result, result);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(noiseImage(60, 80).save(pages.last().page.file()));
    }
    if (how == "fail")
        QVERIFY(writeFile(pages.at(2).page.file(), "not a page"));
    BookBuild build(dir.filePath("book.cbz"), pages, PageOptions());
    if (how == "cancel")
        connect(&build, &BookBuild::pageWritten, &build, &BookBuild::cancel, Qt::DirectConnection);
    QSignalSpy finished(&build, &BookBuild::finished);
    QCOMPARE(build.run(), result);
    QCOMPARE(build.result(), result);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).value<BookBuild::Result>(), result);
    QCOMPARE(finished.first().at(1).toString(), build.errorString());
    QCOMPARE(build.errorString().isEmpty(), result != BookBuild::Failed);
    QCOMPARE(QFileInfo::exists(dir.filePath("book.cbz")), result == BookBuild::Done);
}

// Whoever owns a running build may let it go: it stops and is waited for.
void tst_BookBuild::destroyedWhileRunning()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    const QImage noise = noiseImage(800, 800);
    for (int i = 0; i < 40; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("n%1.bmp").arg(i))});
        QVERIFY(noise.save(pages.last().page.file()));
    }
    auto build = std::make_unique<BookBuild>(dir.filePath("book.cbz"), pages, PageOptions());
    build->setThreadCount(1);
    std::atomic_int written{0};
    connect(
        build.get(), &BookBuild::pageWritten, this, [&written] { ++written; },
        Qt::DirectConnection);
    std::thread runner([&build] { (void)build->run(); });
    QTRY_VERIFY(written > 0);
    build.reset(); // cancels, and returns once the run has ended
    runner.join();
    QCOMPARE(filesIn(dir.path()).filter(".cbz"), QStringList());
}

// Stored pages: method 0, the same data as deflated ones, ComicInfo.xml
// deflated all the same, and an archive unzip finds sound.
namespace {
// Each entry of a ZIP as it is held: its compressed bytes, CRC and method.
QStringList heldEntries(const QString &path)
{
    QStringList held;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return held;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        QuaZipFile file(&zip);
        int method = 0, level = 0;
        file.open(QIODevice::ReadOnly, &method, &level, true);
        held << QStringLiteral("%1 %2 %3")
                    .arg(info.crc)
                    .arg(method)
                    .arg(QString::fromLatin1(file.readAll().toHex().left(64)));
    }
    return held;
}
} // namespace

// A repacked ZIP's pages kept as they are go over as the archive holds them
// (no deflate again), unless pages are to be stored; a damaged page is still
// refused.
void tst_BookBuild::keptPagesOfAZipAreCopied()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.jpg").arg(i))});
        QVERIFY(noiseImage(120, 160).save(pages.last().page.file(), "jpg", 90));
    }
    PageOptions keep;
    keep.KeepUnchangedPages = true;
    // Deflated by zlib at its fastest: deflated again here, they would differ.
    const QString source = dir.filePath("source.cbz");
    {
        QuaZip zip(source);
        QVERIFY(zip.open(QuaZip::mdCreate));
        for (const BuildPage &page : pages) {
            QuaZipFile file(&zip);
            QVERIFY(file.open(QIODevice::WriteOnly, QuaZipNewInfo(page.page.displayName()), nullptr,
                              0, Z_DEFLATED, 1));
            file.write(contentOf(page.page.file()));
        }
    }
    const PageListing listed = PageArchive::list(source);
    QVector<BuildPage> entries;
    for (const ListedPage &page : listed.pages)
        entries.append({entries.size(), page.location});
    const QString copied = dir.filePath("copied.cbz");
    BookBuild build(copied, entries, keep);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    QVERIFY(unzipTest(copied));
    QCOMPARE(heldEntries(copied), heldEntries(source));
    QVERIFY(heldEntries(source).first().contains(" 8 "));

    // Stored when asked, whatever the source holds.
    PageOptions stored = keep;
    stored.StorePages = true;
    const QString storedPath = dir.filePath("stored.cbz");
    QVERIFY(BookBuild(storedPath, entries, stored).run() == BookBuild::Done);
    for (const QString &entry : heldEntries(storedPath))
        QCOMPARE(entry.section(' ', 1, 1), QStringLiteral("0"));

    // A page whose blocks are damaged, its CRC right, is not copied but named.
    QByteArray jpeg = contentOf(pages.at(1).page.file());
    jpeg.insert(jpeg.indexOf("\xFF\xDA") + 300, "\xFF\xC4\x7F\xFF");
    const QString damaged = dir.filePath("damaged.cbz");
    QVERIFY(writeFile(
        damaged, storedZip({{"p1.jpg", contentOf(pages.at(0).page.file())}, {"p2.jpg", jpeg}})));
    QVector<BuildPage> two;
    for (const ListedPage &page : PageArchive::list(damaged).pages)
        two.append({two.size(), page.location});
    BookBuild refused(dir.filePath("refused.cbz"), two, keep);
    QCOMPARE(refused.run(), BookBuild::Failed);
    QVERIFY2(refused.errorString().contains("p2.jpg"), qPrintable(refused.errorString()));
}

void tst_BookBuild::storedPagesReadBack()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.jpg").arg(i))});
        QVERIFY(noiseImage(200, 300).save(pages.last().page.file(), "jpg", 90));
    }
    PageOptions options;
    ComicInfo info;
    info.write = true;
    QList<QList<ArchiveEntry>> built;
    for (bool keep : {false, true}) {
        for (bool store : {false, true}) {
            options.KeepUnchangedPages = keep;
            options.StorePages = store;
            const QString target =
                dir.filePath(QStringLiteral("book %1%2.cbz").arg(keep).arg(store));
            BookBuild build(target, pages, options);
            build.setComicInfo(info);
            QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
            QString said;
            QVERIFY2(unzipTest(target, &said), qPrintable(said));
            bool ok = false;
            built << readArchive(target, &ok);
            QVERIFY(ok);
            QCOMPARE(built.last().size(), 4);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(built.last().at(i).method, store ? 0 : 8);
            QCOMPARE(built.last().at(3).name, QStringLiteral("ComicInfo.xml"));
            QCOMPARE(built.last().at(3).method, 8);
        }
        // Stored or deflated, the pages are the same.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(built.at(built.size() - 1).at(i).data, built.at(built.size() - 2).at(i).data);
    }
}

// What each kind of page becomes: its entry's name, its type, and whether
// it went in byte for byte.
void tst_BookBuild::formatsAndKeptPages_data()
{
    QTest::addColumn<PageOptions>("pageOptions");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("kept"); // a letter a page: k kept, m made
    PageOptions webp;
    webp.PageFormat = PageOptions::WebpPages;
    PageOptions keep;
    keep.KeepUnchangedPages = true;
    PageOptions keepWebp = keep;
    keepWebp.PageFormat = PageOptions::WebpPages;
    PageOptions keepBordered = keep;
    keepBordered.ImageCutBorder = true;
    QTest::newRow("default: JPEG pages")
        << PageOptions()
        << QStringList{"0000000000.jpg", "0000000001.jpg", "0000000002.jpg", "0000000003.jpg",
                       "0000000004.jpg"}
        << "mmmmm";
    QTest::newRow("WebP pages") << webp
                                << QStringList{"0000000000.webp", "0000000001.webp",
                                               "0000000002.webp", "0000000003.webp",
                                               "0000000004.webp"}
                                << "mmmmm";
    QTest::newRow("kept as they are, the BMP converted")
        << keep
        << QStringList{"0000000000.jpg", "0000000001.png", "0000000002.webp", "0000000003.gif",
                       "0000000004.jpg"}
        << "kkkkm";
    QTest::newRow("kept, the BMP as WebP")
        << keepWebp
        << QStringList{"0000000000.jpg", "0000000001.png", "0000000002.webp", "0000000003.gif",
                       "0000000004.webp"}
        << "kkkkm";
    QTest::newRow("a border changes every page")
        << keepBordered
        << QStringList{"0000000000.jpg", "0000000001.jpg", "0000000002.jpg", "0000000003.jpg",
                       "0000000004.jpg"}
        << "mmmmm";
}

void tst_BookBuild::formatsAndKeptPages()
{
    QFETCH(PageOptions, pageOptions);
    QFETCH(QStringList, names);
    QFETCH(QString, kept);
    QTemporaryDir dir;
    const QImage page = noiseImage(120, 90);
    QVector<BuildPage> pages;
    for (const char *name : {"a.jpg", "b.png", "c.webp", "d.gif", "e.bmp"}) {
        pages.append({pages.size(), dir.filePath(QLatin1String(name))});
        QVERIFY2(QByteArray(name).endsWith("gif")
                     ? writeFile(pages.last().page.file(), greyGif(120, 90))
                     : page.save(pages.last().page.file(), nullptr, 90),
                 name);
    }
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, pageOptions);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    QVERIFY(unzipTest(target));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), names.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).name, names.at(i));
        QCOMPARE(entries.at(i).data == contentOf(pages.at(i).page.file()),
                 kept.at(i) == QLatin1Char('k'));
        QImage read;
        QVERIFY2(read.loadFromData(entries.at(i).data), qPrintable(names.at(i)));
        const QSize expected = pageOptions.ImageCutBorder ? QSize(110, 80) : QSize(120, 90);
        QCOMPARE(read.size(), expected);
        // The data is of the type its name says.
        QByteArray data = entries.at(i).data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        const QByteArray type = QImageReader::imageFormat(&buffer);
        QCOMPARE(QString::fromLatin1(type == "jpeg" ? "jpg" : type), names.at(i).section('.', 1));
    }
}

// Progressive and arithmetic-coded JPEGs are cut on their blocks; a CMYK
// JPEG and a PNG are made as usual, keep their colours and are named; a
// JPEG with damaged blocks stops the build.
void tst_BookBuild::losslessCutsOfEveryKindOfJpeg()
{
    QTemporaryDir dir;
    const QImage picture = noiseImage(160, 96);
    const auto write = [&](const QString &name, const QByteArray &data) {
        const QString path = dir.filePath(name);
        return writeFile(path, data) ? path : QString();
    };
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(picture));
    }
    QProcess cjpeg;
    QVERIFY(picture.save(dir.filePath("source.ppm")));
    cjpeg.start("cjpeg", {"-arithmetic", "-outfile", dir.filePath("arithmetic.jpg"),
                          dir.filePath("source.ppm")});
    if (!cjpeg.waitForFinished() || cjpeg.exitCode() != 0)
        QSKIP("cjpeg (libjpeg-turbo-progs) is needed for an arithmetic-coded JPEG");
    QImage cmykPicture(picture.size(), QImage::Format_RGB32);
    cmykPicture.fill(QColor(200, 60, 30));
    const QByteArray cmyk = cmykJpeg(cmykPicture);
    QVERIFY(!cmyk.isEmpty());
    QVector<BuildPage> pages = {
        {0, write("1 progressive.jpg", progressive)},
        {1, dir.filePath("arithmetic.jpg")},
        {2, write("3 cmyk.jpg", cmyk)},
        {3, dir.filePath("4.png")},
    };
    QVERIFY(picture.save(pages.at(3).page.file()));
    PageOptions options;
    options.LosslessCuts = true;
    options.ImageCutDoublePages = true;
    options.ImageCutFirstPageRight = false;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 4;
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, options);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    QVERIFY(unzipTest(target));
    const QList<QByteArray> entries = archiveData(target);
    QCOMPARE(entries.size(), 8);
    const QVector<BookBuild::PageNote> notes = build.pageNotes();
    QCOMPARE(notes.size(), 2);
    QCOMPARE(notes.at(0).row, 2);
    QCOMPARE(notes.at(0).text,
             QStringLiteral("encoded as usual, not cut on its blocks: it is a CMYK JPEG"));
    QCOMPARE(notes.at(1).row, 3);
    QCOMPARE(notes.at(1).text,
             QStringLiteral("encoded as usual, not cut on its blocks: it is not a JPEG"));

    // Cut on the blocks: the left halves start at the grid's first column
    // instead of the border's, and keep the source's pixels; but for the
    // last row and column, where the decoder smooths the colour with a
    // neighbour that was cut away.
    for (int page = 0; page < 2; ++page) {
        QImage source, left;
        QVERIFY(source.load(pages.at(page).page.file()));
        QVERIFY(left.loadFromData(entries.at(2 * page)));
        QCOMPARE(left.size(), QSize(80 + 1, 96 - 4));
        QCOMPARE(left.copy(0, 0, 80, 91).convertToFormat(QImage::Format_RGB32),
                 source.copy(0, 0, 80, 91).convertToFormat(QImage::Format_RGB32));
    }
    // Made as usual: the border and the split exactly as asked, and the
    // CMYK page in its own colours.
    QImage cmykRead, cmykLeft;
    QVERIFY(cmykRead.loadFromData(cmyk));
    QVERIFY(cmykLeft.loadFromData(entries.at(4)));
    QCOMPARE(cmykLeft.size(), QSize(77, 88));
    QVERIFY(colorNear(cmykRead.pixelColor(34, 44), QColor(200, 60, 30), 6));
    QVERIFY(colorNear(cmykLeft.pixelColor(30, 40), QColor(200, 60, 30), 6));

    // Blocks damaged: found, named, nothing made.
    QByteArray damaged = contentOf(pages.at(0).page.file());
    const int scan = damaged.indexOf("\xFF\xDA");
    for (int at = scan + 400; at < scan + 460; ++at)
        damaged[at] = char(0x5A);
    QVERIFY(writeFile(pages.at(0).page.file(), damaged));
    QVERIFY(QFile::remove(target));
    BookBuild broken(target, pages, options);
    QCOMPARE(broken.run(), BookBuild::Failed);
    QVERIFY2(broken.errorString().contains("1 progressive.jpg"), qPrintable(broken.errorString()));
    QVERIFY(!QFile::exists(target));
}

void tst_BookBuild::animatedPagesGiveTheirFirstFrame()
{
    QTemporaryDir dir;
    const QVector<BuildPage> pages = {{0, dir.filePath("still.gif")},
                                      {1, dir.filePath("moving.gif")}};
    QVERIFY(writeFile(pages.at(0).page.file(), greyGif(40, 30)));
    QVERIFY(writeFile(pages.at(1).page.file(), greyGif(40, 30, 3)));
    BookBuild build(dir.filePath("book.cbz"), pages, PageOptions());
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    QCOMPARE(archiveData(build.fileName()).size(), 2);
    const QVector<BookBuild::PageNote> notes = build.pageNotes();
    QCOMPARE(notes.size(), 1);
    QCOMPARE(notes.first().row, 1);
    QCOMPARE(notes.first().text, QStringLiteral("only the first of its 3 frames is used"));
}

// Pages whose entries hold a small picture and a megabyte of nothing: what
// their files hold counts against a budget of its own, a quarter of the
// whole, so that at four threads no more than two are held at once (the
// one the writer waits for, and one more).
void tst_BookBuild::filesOfMostlyNothingAreHeldAFewAtATime()
{
    QTemporaryDir dir;
    constexpr int Padding = 1 << 20;
    const QByteArray page = encoded(noiseImage(32, 48), "jpg", 90) + QByteArray(Padding, '\0');
    QList<ZipEntry> entries;
    for (int i = 0; i < 4; ++i)
        entries.append({QByteArray::number(i) + ".jpg", page, 0, false, -1, true});
    const QString archive = dir.filePath("padded.cbz");
    QVERIFY(writeFile(archive, storedZip(entries)));
    QVector<BuildPage> pages;
    for (int i = 0; i < 4; ++i)
        pages.append({i, PageLocation::ofEntry(archive, i, QString::number(i) + ".jpg")});
    BookBuild build(dir.filePath("book.cbz"), pages, PageOptions());
    build.setThreadCount(4);
    build.setMemoryBudget(4 * Padding + Padding / 2);
    QCOMPARE(build.run(), BookBuild::Done);
    QVERIFY2(build.peakReserved() < 3 * Padding, qPrintable(QString::number(build.peakReserved())));
}

QUIREVALE_TEST_MAIN(tst_BookBuild)
#include "tst_bookbuild.moc"
