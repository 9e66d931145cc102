#include "making/bookbuild.h"
#include "making/partspackager.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace TestSupport;

using Pages = QVector<PartsPackager::Page>;
Q_DECLARE_METATYPE(Pages)

namespace {
Pages ofSizes(const QVector<qint64> &sizes)
{
    Pages pages;
    for (const qint64 size : sizes)
        pages.append({size, 0, false, false});
    return pages;
}
} // namespace

class tst_BookParts : public QObject
{
    Q_OBJECT

private slots:
    void partsEndWhereTheyMay_data();
    void partsEndWhereTheyMay();
    void theBookIsMadeAsParts_data();
    void theBookIsMadeAsParts();
};

void tst_BookParts::partsEndWhereTheyMay_data()
{
    QTest::addColumn<Pages>("pages");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QVector<int>>("starts");

    QTest::newRow("fits whole") << ofSizes({100, 100, 100}) << qint64(1000) << QVector<int>{0};
    QTest::newRow("as full as each may be")
        << ofSizes({300, 300, 300, 300, 300, 300}) << qint64(1000) << QVector<int>{0, 3};
    Pages pair = ofSizes({300, 300, 300, 300});
    pair[1].half = 1;
    pair[2].half = 2;
    QTest::newRow("never between the halves of a cut page")
        << pair << qint64(700) << QVector<int>{0, 1, 3};
    Pages rightToLeft = pair;
    rightToLeft[1].half = 2;
    rightToLeft[2].half = 1;
    QTest::newRow("nor when the right half comes first")
        << rightToLeft << qint64(700) << QVector<int>{0, 1, 3};
    Pages chapter = ofSizes({100, 100, 100, 100, 100, 100, 100, 100});
    chapter[4].chapter = true;
    QTest::newRow("at a chapter within reach") << chapter << qint64(600) << QVector<int>{0, 4};
    Pages early = ofSizes({100, 100, 100, 100, 100, 100, 100, 100});
    early[1].chapter = true;
    QTest::newRow("not at a chapter too early for it")
        << early << qint64(600) << QVector<int>{0, 6};
    QTest::newRow("a page larger than the limit, alone")
        << ofSizes({100, 2000, 100}) << qint64(500) << QVector<int>{0, 1, 2};
    Pages blank = ofSizes({300, 100, 300});
    blank[1].blank = true;
    QTest::newRow("a blank stays with its spread") << blank << qint64(500) << QVector<int>{0, 1};
}

void tst_BookParts::partsEndWhereTheyMay()
{
    QFETCH(Pages, pages);
    QFETCH(qint64, limit);
    QFETCH(QVector<int>, starts);
    QCOMPARE(PartsPackager::partStarts(pages, limit, 0, 0), starts);
}

void tst_BookParts::theBookIsMadeAsParts_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("CBZ") << int(PageOptions::CbzBook);
    QTest::newRow("EPUB") << int(PageOptions::EpubBook);
    QTest::newRow("Kindle") << int(PageOptions::Azw3Book);
}

// Six pages of about 400 kB in books of at most 1 MB: three parts, each
// named with its number, each a whole book that says which part it is,
// the pages all there once, a chapter's name on the part that begins in it.
void tst_BookParts::theBookIsMadeAsParts()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    qint64 largest = 0;
    for (int i = 0; i < 6; ++i) {
        const QString path = dir.filePath(QStringLiteral("page %1.jpg").arg(i));
        QVERIFY(noiseImage(700, 1000).save(path, "jpg", 80));
        largest = qMax(largest, QFileInfo(path).size());
        pages.append({i, PageLocation(path)});
    }
    QVERIFY2(largest > 300000 && largest < 450000, qPrintable(QString::number(largest)));
    pages[0].bookmark = QStringLiteral("Beginning");
    PageOptions options;
    options.KeepUnchangedPages = true;
    options.BookKind = PageOptions::Kind(kind);
    options.MaxBookMegabytes = 1;
    const QString suffix = Packager::suffixOf(options.BookKind);
    const QString target = dir.filePath("Book" + suffix);
    BookBuild build(target, pages, options);
    ComicInfo info;
    info.title = QStringLiteral("Tales");
    info.write = true;
    build.setComicInfo(info);
    QCOMPARE(build.run(), BookBuild::Done);
    QVERIFY(!QFileInfo::exists(target));
    const QStringList parts = {dir.filePath("Book (1 of 3)" + suffix),
                               dir.filePath("Book (2 of 3)" + suffix),
                               dir.filePath("Book (3 of 3)" + suffix)};
    QCOMPARE(build.files(), parts);
    QVERIFY2(build.bookNotes().join(' ').contains("Made as 3 parts"),
             qPrintable(build.bookNotes().join(' ')));
    // Nothing else is left: no partial file, no scratch file.
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    left = left.filter(QRegularExpression("^(?!page )"));
    QCOMPARE(left, QStringList({"Book (1 of 3)" + suffix, "Book (2 of 3)" + suffix,
                                "Book (3 of 3)" + suffix}));
    int made = 0;
    for (int p = 0; p < parts.size(); ++p) {
        QVERIFY(QFileInfo(parts.at(p)).size() <= 1000 * 1000);
        const QByteArray book = contentOf(parts.at(p));
        const QString part = QStringLiteral("Tales (%1 of 3)").arg(p + 1);
        if (kind == PageOptions::Azw3Book) {
            bool ok = false;
            const QList<QByteArray> records = palmRecords(book, &ok);
            QVERIFY(ok);
            QVERIFY(records.at(0).contains(part.toUtf8()));
            made += int(std::count_if(records.cbegin(), records.cend(), [](const QByteArray &r) {
                return r.startsWith("\xff\xd8");
            }));
            QVERIFY(std::any_of(records.cbegin(), records.cend(),
                                [](const QByteArray &r) { return r.contains("Beginning"); }));
            continue;
        }
        bool ok = false;
        const QList<ArchiveEntry> entries = readArchive(parts.at(p), &ok);
        QVERIFY(ok);
        QByteArray described;
        for (const ArchiveEntry &entry : entries) {
            if (entry.name.endsWith(".jpg"))
                ++made;
            else
                described += entry.data;
        }
        QVERIFY2(described.contains(part.toUtf8()), qPrintable(part));
        // Each part begins inside the chapter of the first page.
        QVERIFY2(described.contains("Beginning"), qPrintable(part));
    }
    QCOMPARE(made, pages.size());

    // Made again: the parts there are left alone unless they may be replaced.
    const QByteArray first = contentOf(parts.at(0));
    QVERIFY(QFile::copy(parts.at(0), dir.filePath("first.copy")));
    BookBuild again(target, pages, options);
    again.setComicInfo(info);
    QCOMPARE(again.run(), BookBuild::Failed);
    QVERIFY2(again.errorString().contains("Book (1 of 3)" + suffix + " exists already"),
             qPrintable(again.errorString()));
    QCOMPARE(contentOf(parts.at(0)), first);
    BookBuild replacing(target, pages, options);
    replacing.setComicInfo(info);
    replacing.setReplaceExisting(true);
    QCOMPARE(replacing.run(), BookBuild::Done);
    // The same book again; a CBZ's entries are dated when they are written.
    if (kind == PageOptions::CbzBook)
        QVERIFY(archiveData(parts.at(0)) == archiveData(dir.filePath("first.copy")));
    else
        QVERIFY(contentOf(parts.at(0)) == first);
}

QUIREVALE_TEST_MAIN(tst_BookParts)
#include "tst_bookparts.moc"
