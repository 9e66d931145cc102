#include "pages/pagescan.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

class tst_SamplePages : public QObject
{
    Q_OBJECT

private slots:
    void folderShowsEveryOption();
    void pagesAreRepeatable();
};

void tst_SamplePages::folderShowsEveryOption()
{
    QTemporaryDir root;
    const QString folder = root.filePath("Sample Comic");
    const QStringList written = writeSampleFolder(folder);
    QCOMPARE(written.size(), 9);

    // Listed the way the program lists them: page 10 after page 9.
    QStringList listed;
    for (const ListedPage &file : scanPageFolder(folder).pages)
        listed << file.name;
    QCOMPARE(listed.size(), 9);
    QCOMPARE(listed.first(), QStringLiteral("page 1 cover.jpg"));
    QCOMPARE(listed.at(7), QStringLiteral("page 9.jpg"));
    QCOMPARE(listed.last(), QStringLiteral("page 10 back.jpg"));

    QStringList suffixes;
    for (const QString &name : listed)
        suffixes << QFileInfo(name).suffix();
    suffixes.removeDuplicates();
    suffixes.sort();
    QCOMPARE(suffixes, QStringList({"bmp", "jpg", "png", "tif"}));

    // Every page decodes, TIFF included; the spread is two pages wide.
    for (const QString &name : listed)
        QVERIFY2(!QImage(QDir(folder).filePath(name)).isNull(), qPrintable(name));
    QCOMPARE(QImage(QDir(folder).filePath("page 4-5 spread.jpg")).size(), QSize(2400, 1800));

    // The scan has a dark frame around the paper.
    const QImage scan(QDir(folder).filePath("page 6 scan.tif"));
    QCOMPARE(scan.size(), QSize(1280, 1880));
    QVERIFY(qGray(scan.pixel(scan.width() - 5, scan.height() / 2)) < 80);
    QVERIFY(qGray(scan.pixel(scan.width() / 2, 5)) < 80);
    QVERIFY(qGray(scan.pixel(50, 50)) > 150);

    QVERIFY(writeSampleFolder(folder + "/page 2.png/inside").isEmpty());
}

void tst_SamplePages::pagesAreRepeatable()
{
    QCOMPARE(drawComicPage(3, QSize(300, 450)), drawComicPage(3, QSize(300, 450)));
    QVERIFY(drawComicPage(3, QSize(300, 450)) != drawComicPage(4, QSize(300, 450)));
}

QUIREVALE_TEST_MAIN(tst_SamplePages)
#include "tst_samplepages.moc"
