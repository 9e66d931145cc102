#include "pages/pagescan.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {
bool touch(const QString &path, const QByteArray &content = QByteArray())
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList names(const QFileInfoList &files)
{
    QStringList result;
    for (const QFileInfo &file : files)
        result << file.fileName();
    return result;
}
} // namespace

class tst_PageScan : public QObject
{
    Q_OBJECT

private slots:
    void whatIsListed_data();
    void whatIsListed();
    void leavesOutLinksHiddenAndFolders();
    void namesAreTakenAsTheyAre();
    void namesThatAreNotTextAreReported();
    void missingFolderIsEmpty();
    void unreadableFileIsLeftOut();
    void tenThousandPages();
};

void tst_PageScan::whatIsListed_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("extensions, any case")
        << QStringList{"P01.JPG", "p02.Png",  "p03.bmp",   "p04.TIF", "p05.jpeg",   "p06.tiff",
                       "p07.gif", "p08.webp", "notes.txt", "jpg",     "p09.jpg.txt"}
        << QStringList{"P01.JPG", "p02.Png", "p03.bmp", "p04.TIF"};
    QTest::newRow("natural order")
        << QStringList{"page10.jpg", "page2.jpg", "page1.jpg", "cover.png"}
        << QStringList{"cover.png", "page1.jpg", "page2.jpg", "page10.jpg"};
    QTest::newRow("names from everywhere")
        << QStringList{"pàgina 2.jpg", "ページ 1.png", "page 🎨 3.bmp", "page 10.tif"}
        << QStringList{"page 10.tif", "page 🎨 3.bmp", "pàgina 2.jpg", "ページ 1.png"};
    QTest::newRow("not images inside, listed all the same")
        << QStringList{"empty.jpg", "text.png"} << QStringList{"empty.jpg", "text.png"};
    QTest::newRow("nothing") << QStringList{"readme.md"} << QStringList{};
}

void tst_PageScan::whatIsListed()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);

    QTemporaryDir folder;
    for (const QString &name : files)
        QVERIFY2(touch(folder.filePath(name), "not decoded"), qPrintable(name));
    QCOMPARE(names(scanPageFolder(folder.path()).pages), listed);
}

void tst_PageScan::leavesOutLinksHiddenAndFolders()
{
    QTemporaryDir folder;
    QVERIFY(touch(folder.filePath("real.jpg")));
    QVERIFY(touch(folder.filePath(".hidden.jpg")));
    QVERIFY(QFile::link(folder.filePath("real.jpg"), folder.filePath("link.jpg")));
    QVERIFY(QDir(folder.path()).mkdir("sub.jpg"));
    QVERIFY(QDir(folder.path()).mkdir("chapter"));
    QVERIFY(touch(folder.filePath("chapter/inner.jpg")));
    QCOMPARE(names(scanPageFolder(folder.path()).pages), QStringList({"real.jpg"}));
}

void tst_PageScan::namesAreTakenAsTheyAre()
{
    // "Scans " is not "Scans": each lists its own pages.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("Scans"));
    QVERIFY(QDir(root.path()).mkdir("Scans "));
    QVERIFY(touch(root.filePath("Scans/sibling.png")));
    QVERIFY(touch(root.filePath("Scans /mine.png")));
    const QFileInfoList files = scanPageFolder(root.filePath("Scans ")).pages;
    QCOMPARE(names(files), QStringList({"mine.png"}));
    QCOMPARE(files.first().absoluteFilePath(), root.filePath("Scans /mine.png"));
    QVERIFY(scanPageFolder(QStringLiteral(" ") + root.filePath("Scans")).pages.isEmpty());
}

void tst_PageScan::namesThatAreNotTextAreReported()
{
    QTemporaryDir folder;
    QVERIFY(touch(folder.filePath("p2.jpg")));
    QList<QByteArray> rawPaths;
    for (const char *raw : {"p1 \xff.jpg", "p3 \xc3(.png", "notes \xff.txt"}) {
        rawPaths << QFile::encodeName(folder.path()) + '/' + raw;
        FILE *file = std::fopen(rawPaths.last().constData(), "w");
        QVERIFY(file);
        std::fclose(file);
    }
    const PageFolder scanned = scanPageFolder(folder.path());
    for (const QByteArray &path : rawPaths) // QDir cannot name them to remove them
        std::remove(path.constData());
    QCOMPARE(names(scanned.pages), QStringList({"p2.jpg"}));
    QCOMPARE(scanned.unusableNames,
             QStringList({QStringLiteral("p1 \uFFFD.jpg"), QStringLiteral("p3 \uFFFD(.png")}));
}

void tst_PageScan::missingFolderIsEmpty()
{
    QTemporaryDir folder;
    const QString gone = folder.filePath("gone");
    QVERIFY(QDir().mkdir(gone));
    QVERIFY(touch(gone + "/a.jpg"));
    QVERIFY(QDir(gone).removeRecursively());
    QVERIFY(scanPageFolder(gone).pages.isEmpty());
    QVERIFY(scanPageFolder(folder.filePath("a.jpg/not a folder")).pages.isEmpty());
}

void tst_PageScan::unreadableFileIsLeftOut()
{
    QTemporaryDir folder;
    QVERIFY(touch(folder.filePath("open.jpg")));
    QVERIFY(touch(folder.filePath("locked.jpg")));
    QVERIFY(QFile::setPermissions(folder.filePath("locked.jpg"), QFileDevice::WriteOwner));
    if (QFileInfo(folder.filePath("locked.jpg")).isReadable())
        QSKIP("running as root: permissions do not stop reading");
    QCOMPARE(names(scanPageFolder(folder.path()).pages), QStringList({"open.jpg"}));
}

void tst_PageScan::tenThousandPages()
{
    QTemporaryDir folder;
    for (int i = 10000; i >= 1; --i)
        QVERIFY(touch(folder.filePath(QStringLiteral("scan %1.jpg").arg(i))));
    const QFileInfoList files = scanPageFolder(folder.path()).pages;
    QCOMPARE(files.size(), 10000);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(files.at(i).fileName(), QStringLiteral("scan %1.jpg").arg(i + 1));
}

QUIREVALE_TEST_MAIN(tst_PageScan)
#include "tst_pagescan.moc"
