#include "pages/pagescan.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool touch(const QString &path, const QByteArray &content = QByteArray())
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList names(const QVector<ListedPage> &files)
{
    QStringList result;
    for (const ListedPage &file : files)
        result << file.name;
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
    void chapters_data();
    void chapters();
    void chaptersThatCannotBeListedAreNamed_data();
    void chaptersThatCannotBeListedAreNamed();
};

void tst_PageScan::whatIsListed_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("others");    // told of, not listed
    QTest::addColumn<QStringList>("everyType"); // listed when every type is asked for

    const QStringList mixed{"P01.JPG", "p02.Png",  "p03.bmp",   "p04.TIF", "p05.jpeg",   "p06.tiff",
                            "p07.gif", "p08.webp", "notes.txt", "jpg",     "p09.jpg.txt"};
    QTest::newRow("extensions, any case")
        << mixed << QStringList{"P01.JPG", "p02.Png", "p03.bmp", "p04.TIF"}
        << QStringList{"p05.jpeg", "p06.tiff", "p07.gif", "p08.webp"}
        << QStringList{"P01.JPG",  "p02.Png",  "p03.bmp", "p04.TIF",
                       "p05.jpeg", "p06.tiff", "p07.gif", "p08.webp"};
    QTest::newRow("one page of another type among the pages")
        << QStringList{"p1.jpg", "p2.jpeg", "p3.jpg", "p4.WEBP"} << QStringList{"p1.jpg", "p3.jpg"}
        << QStringList{"p2.jpeg", "p4.WEBP"}
        << QStringList{"p1.jpg", "p2.jpeg", "p3.jpg", "p4.WEBP"};
    QTest::newRow("only other types")
        << QStringList{"b.jpe", "a.jpeg"} << QStringList{} << QStringList{"a.jpeg", "b.jpe"}
        << QStringList{"a.jpeg", "b.jpe"};
    const QStringList ordered{"cover.png", "page1.jpg", "page2.jpg", "page10.jpg"};
    QTest::newRow("natural order")
        << QStringList{"page10.jpg", "page2.jpg", "page1.jpg", "cover.png"} << ordered
        << QStringList{} << ordered;
    const QStringList everywhere{"page 10.tif", "page 🎨 3.bmp", "pàgina 2.jpg", "ページ 1.png"};
    QTest::newRow("names from everywhere")
        << QStringList{"pàgina 2.jpg", "ページ 1.png", "page 🎨 3.bmp", "page 10.tif"} << everywhere
        << QStringList{} << everywhere;
    QTest::newRow("not images inside, listed all the same")
        << QStringList{"empty.jpg", "text.png"} << QStringList{"empty.jpg", "text.png"}
        << QStringList{} << QStringList{"empty.jpg", "text.png"};
    QTest::newRow("nothing") << QStringList{"readme.md"} << QStringList{} << QStringList{}
                             << QStringList{};
}

void tst_PageScan::whatIsListed()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, others);
    QFETCH(QStringList, everyType);

    QTemporaryDir folder;
    for (const QString &name : files)
        QVERIFY2(touch(folder.filePath(name), "not decoded"), qPrintable(name));
    const PageListing scanned = scanPageFolder(folder.path());
    QCOMPARE(names(scanned.pages), listed);
    QCOMPARE(scanned.otherPictures, others);
    const PageListing every = scanPageFolder(folder.path(), EveryPictureType);
    QCOMPARE(names(every.pages), everyType);
    QVERIFY(every.otherPictures.isEmpty());
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
    const QVector<ListedPage> files = scanPageFolder(root.filePath("Scans ")).pages;
    QCOMPARE(names(files), QStringList({"mine.png"}));
    QCOMPARE(files.first().location, root.filePath("Scans /mine.png"));
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
    const PageListing scanned = scanPageFolder(folder.path());
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
    const QVector<ListedPage> files = scanPageFolder(folder.path()).pages;
    QCOMPARE(files.size(), 10000);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(files.at(i).name, QStringLiteral("scan %1.jpg").arg(i + 1));
}

void tst_PageScan::chaptersThatCannotBeListedAreNamed_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("named");
    QTest::newRow("a symbolic link to a chapter") << "link"
                                                  << "Linked/";
    QTest::newRow("a chapter whose name is not text") << "name"
                                                      << "\xEF\xBF\xBD/";
    QTest::newRow("a chapter nobody may read") << "mode 000"
                                               << "Locked/";
    QTest::newRow("pages seven folders down") << "deep"
                                              << "a/b/c/d/e/f/g/";
}

// A book listed by its chapters misses none without a word.
void tst_PageScan::chaptersThatCannotBeListedAreNamed()
{
    QFETCH(QString, trouble);
    QFETCH(QString, named);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("Ch 1"));
    QVERIFY(touch(folder.filePath("Ch 1/p1.jpg")));
    if (trouble == "link")
        QVERIFY(QFile::link(folder.filePath("Ch 1"), folder.filePath("Linked")));
    const QByteArray raw = QFile::encodeName(folder.path()) + "/\xff";
    if (trouble == "name")
        QCOMPARE(::mkdir(raw.constData(), 0700), 0);
    if (trouble == "mode 000") {
        if (::geteuid() == 0)
            QSKIP("root reads every folder");
        QVERIFY(QDir(folder.path()).mkpath("Locked"));
        QVERIFY(touch(folder.filePath("Locked/p.jpg")));
        QVERIFY(QFile::setPermissions(folder.filePath("Locked"), {}));
    }
    if (trouble == "deep") {
        QVERIFY(QDir(folder.path()).mkpath("a/b/c/d/e/f/g"));
        QVERIFY(touch(folder.filePath("a/b/c/d/e/f/g/p.jpg")));
    }
    const PageListing book = scanChapters(folder.path());
    QCOMPARE(names(book.pages), QStringList{"Ch 1/p1.jpg"});
    QVERIFY(book.missesPages());
    QCOMPARE(book.unreadable + book.unusableNames, QStringList{named});
    if (trouble == "mode 000")
        QFile::setPermissions(folder.filePath("Locked"),
                              QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    if (trouble == "name") // QTemporaryDir cannot name it
        ::rmdir(raw.constData());
}

QUIREVALE_TEST_MAIN(tst_PageScan)
// Sub-folders as the chapters of one book: pages in natural order of their
// folders, each with its chapter; empty chapters named.
void tst_PageScan::chapters_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("chapters"); // one a page
    QTest::addColumn<QStringList>("empty");
    QTest::addColumn<int>("count");

    QTest::newRow("chapters in natural order")
        << QStringList{"Chapter 10/p1.jpg", "Chapter 2/p2.jpg", "Chapter 2/p10.jpg",
                       "Chapter 1/p1.png"}
        << QStringList{"Chapter 1/p1.png", "Chapter 2/p2.jpg", "Chapter 2/p10.jpg",
                       "Chapter 10/p1.jpg"}
        << QStringList{"Chapter 1", "Chapter 2", "Chapter 2", "Chapter 10"} << QStringList{} << 3;
    QTest::newRow("volumes of chapters, and a cover of the book's own")
        << QStringList{"Vol 3/Ch 12/a.jpg", "Vol 3/Ch 11/a.jpg", "cover.jpg", "Vol 2/Ch 9/a.jpg"}
        << QStringList{"cover.jpg", "Vol 2/Ch 9/a.jpg", "Vol 3/Ch 11/a.jpg", "Vol 3/Ch 12/a.jpg"}
        << QStringList{"", "Vol 2/Ch 9", "Vol 3/Ch 11", "Vol 3/Ch 12"} << QStringList{} << 3;
    QTest::newRow("a chapter without pages")
        << QStringList{"Ch 1/a.jpg", "Ch 2/notes.txt"} << QStringList{"Ch 1/a.jpg"}
        << QStringList{"Ch 1"} << QStringList{"Ch 2"} << 1;
    QTest::newRow("three levels down is a chapter too")
        << QStringList{"a/b/c/d.jpg"} << QStringList{"a/b/c/d.jpg"} << QStringList{"a/b/c"}
        << QStringList{} << 1;
}

void tst_PageScan::chapters()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, chapters);
    QFETCH(QStringList, empty);
    QFETCH(int, count);
    QTemporaryDir folder;
    for (const QString &name : files) {
        QVERIFY(QDir(folder.path()).mkpath(QFileInfo(name).path()));
        QVERIFY(touch(folder.filePath(name), "not decoded"));
    }
    const PageListing book = scanChapters(folder.path());
    QCOMPARE(names(book.pages), listed);
    QStringList found;
    for (const ListedPage &page : book.pages) {
        found << page.chapter;
        QCOMPARE(page.location, folder.filePath(page.name));
    }
    QCOMPARE(found, chapters);
    QCOMPARE(book.emptyChapters, empty);
    QCOMPARE(chapterCount(folder.path()), count);
}

#include "tst_pagescan.moc"
