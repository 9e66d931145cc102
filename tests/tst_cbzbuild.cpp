#include "cbzbuild.h"
#include "pagetransform.h"
#include "testsupport.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace TestSupport;

Q_DECLARE_METATYPE(PageOptions)

namespace {
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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

class tst_CbzBuild : public QObject
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

private:
    // Pages of every kind a folder may hold, each a different size.
    QVector<BuildPage> mixedPages() const { return m_mixed; }
    QVector<BuildPage> m_mixed;

    QTemporaryDir m_dir;
};

void tst_CbzBuild::initTestCase()
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

void tst_CbzBuild::sameEntriesForAnyThreadCount_data()
{
    QTest::addColumn<PageOptions>("pageOptions");
    QTest::newRow("as they are") << options(false, false, false);
    QTest::newRow("split, border, resize") << options(true, true, true);
    QTest::newRow("border, quality 40") << options(false, true, false, 40);
}

void tst_CbzBuild::sameEntriesForAnyThreadCount()
{
    QFETCH(PageOptions, pageOptions);
    const QVector<BuildPage> pages = mixedPages();
    QList<QList<QByteArray>> results;
    for (int threads : {1, 2, 5}) {
        const QString target = m_dir.filePath(QStringLiteral("threads %1.cbz").arg(threads));
        CbzBuild build(target, pages, pageOptions);
        build.setReplaceExisting(true);
        build.setThreadCount(threads);
        QVERIFY2(build.run() == CbzBuild::Done, qPrintable(build.errorString()));
        QVERIFY(unzipTest(target));
        results << archiveData(target);
    }
    QCOMPARE(results.at(1), results.at(0));
    QCOMPARE(results.at(2), results.at(0));

    // Each entry is the JPEG a page shown in the preview would give, page
    // by page; a multi-page TIFF gives one set per picture.
    QList<QByteArray> expected;
    for (const BuildPage &page : pages)
        expected << TransformPage(QPixmap(page.path).toImage(), pageOptions);
    const QImage secondPicture = noiseImage(230, 160).mirrored();
    expected << TransformPage(QPixmap::fromImage(secondPicture).toImage(), pageOptions);
    QCOMPARE(results.at(0).size(), expected.size());
    for (int i = 0; i < expected.size() - (pageOptions.ImageCutDoublePages ? 2 : 1); ++i)
        QVERIFY2(results.at(0).at(i) == expected.at(i), qPrintable(QString::number(i)));
}

void tst_CbzBuild::rowsAreReportedInOrder()
{
    const QVector<BuildPage> pages = mixedPages();
    const QString target = m_dir.filePath("order.cbz");
    CbzBuild build(target, pages, options(true, false, false));
    build.setThreadCount(3);
    build.setPicturesWanted(QSize(100, 100));
    QSignalSpy written(&build, &CbzBuild::pageWritten);
    QSignalSpy finished(&build, &CbzBuild::finished);
    QList<QSize> pictures, pageSizes;
    connect(
        &build, &CbzBuild::pageWritten, this,
        [&](int row) {
            QSize pageSize;
            pictures << build.takePicture(row, &pageSize).size();
            pageSizes << pageSize;
        },
        Qt::DirectConnection);
    QCOMPARE(build.run(), CbzBuild::Done);
    QCOMPARE(written.size(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(written.at(i).at(0).toInt(), pages.at(i).row);
        // Two entries a picture; the last page, a TIFF of two pictures, gives four.
        QCOMPARE(written.at(i).at(1).toInt(), 2 * (i + 1) + (i == pages.size() - 1 ? 2 : 0));
        const QSize pageSize = QImage(pages.at(i).path).size();
        QCOMPARE(pageSizes.at(i), pageSize);
        QCOMPARE(pictures.at(i), pageSize.scaled(100, 100, Qt::KeepAspectRatio));
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).value<CbzBuild::Result>(), CbzBuild::Done);
    QCOMPARE(archiveData(target).size(), 2 * pages.size() + 2);
}

void tst_CbzBuild::cancelStopsAndLeavesNothing()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    const QImage noise = noiseImage(900, 900);
    for (int i = 0; i < 40; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("n%1.png").arg(i))});
        QVERIFY(noise.save(pages.last().path));
    }
    const QString target = dir.filePath("book.cbz");
    QVERIFY(writeFile(target, "earlier archive"));

    CbzBuild build(target, pages, PageOptions());
    build.setReplaceExisting(true);
    build.setThreadCount(2);
    QSignalSpy written(&build, &CbzBuild::pageWritten);
    connect(&build, &CbzBuild::pageWritten, &build, &CbzBuild::cancel, Qt::DirectConnection);
    QCOMPARE(build.run(), CbzBuild::Canceled);
    QVERIFY(build.errorString().isEmpty());
    QCOMPARE(written.size(), 1); // nothing is written after the cancel
    QCOMPARE(contentOf(target), QByteArray("earlier archive"));
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

void tst_CbzBuild::failuresSayWhy_data()
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
                                          << "pixels leaves nothing of page p";
    QTest::newRow("folder gone") << "folder"
                                 << "does not exist";
    QTest::newRow("disk full") << "full"
                               << "File too large";
}

void tst_CbzBuild::failuresSayWhy()
{
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 1; i <= 3; ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(noiseImage(300, 200).save(pages.last().path));
    }
    QString target = dir.filePath("book.cbz");
    QVERIFY(writeFile(target, "earlier archive"));
    PageOptions pageOptions;
    if (trouble == "vanished")
        QVERIFY(QFile::remove(pages.at(1).path));
    if (trouble == "damaged")
        QVERIFY(writeFile(pages.at(1).path, contentOf(pages.at(1).path).left(3000)));
    if (trouble == "huge") {
        QImage huge(40000, 40000, QImage::Format_Mono);
        huge.fill(0);
        QVERIFY(huge.save(pages.at(1).path));
    }
    if (trouble == "border") {
        pageOptions.ImageCutBorder = true;
        pageOptions.ImageCutBorderNumber = 100;
    }
    if (trouble == "folder")
        target = dir.filePath("gone/book.cbz");

    CbzBuild build(target, pages, pageOptions);
    build.setReplaceExisting(true);
    bool made;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (trouble == "full")
            limit = std::make_unique<FileSizeLimit>(300000);
        made = build.run() == CbzBuild::Done;
    }
    QVERIFY(!made);
    QVERIFY2(build.errorString().contains(reason), qPrintable(build.errorString()));
    QCOMPARE(contentOf(dir.filePath("book.cbz")), QByteArray("earlier archive"));
    QCOMPARE(filesIn(dir.path()).filter(".part"), QStringList());
}

QUIREVALE_TEST_MAIN(tst_CbzBuild)
#include "tst_cbzbuild.moc"
