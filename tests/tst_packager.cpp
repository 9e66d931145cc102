#include "making/packager.h"
#include "making/zipwriter.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>

using namespace TestSupport;

namespace {
// The names of what a ZIP holds, in order.
QStringList zipNames(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {};
    return zip.getFileNameList();
}

QStringList partialFiles(const QDir &dir)
{
    return dir.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
}
} // namespace

class tst_Packager : public QObject
{
    Q_OBJECT

private slots:
    void everyKindThroughTheSameSteps_data();
    void everyKindThroughTheSameSteps();
};

void tst_Packager::everyKindThroughTheSameSteps_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("pages"); // where the pages are in the book
    QTest::newRow("CBZ") << int(PageOptions::CbzBook)
                         << QStringList{"0000000000.jpg", "0000000001.jpg", "0000000002.jpg"};
    const QStringList images{"OEBPS/images/0000000000.jpg", "OEBPS/images/0000000001.jpg",
                             "OEBPS/images/0000000002.jpg"};
    QTest::newRow("EPUB") << int(PageOptions::EpubBook) << images;
    QTest::newRow("Kobo EPUB") << int(PageOptions::KepubBook) << images;
    QTest::newRow("Kindle") << int(PageOptions::Azw3Book) << QStringList();
    QTest::newRow("PDF") << int(PageOptions::PdfBook) << QStringList();
}

// Whatever the kind: nothing has the book's name until it is finished, a
// book abandoned leaves nothing, a file of its name is replaced only when
// told, and what was added is in the book in its order.
void tst_Packager::everyKindThroughTheSameSteps()
{
    QFETCH(int, kind);
    QFETCH(QStringList, pages);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    PageOptions options;
    options.BookKind = PageOptions::Kind(kind);
    const QString target = folder.filePath("Book" + Packager::suffixOf(options.BookKind));
    ComicInfo info;
    info.title = QStringLiteral("Tales");
    info.write = true;
    const Packager::Book book{info, QStringLiteral("Book"),
                              QDateTime(QDate(2026, 1, 2), QTime(3, 4), Qt::UTC)};
    const QByteArray jpeg = encoded(noiseImage(30, 40), "jpg", 90);

    const auto fill = [&](Packager &packager) {
        if (!packager.begin(target, book))
            return false;
        for (int i = 0; i < 3; ++i) {
            if (!packager.addPage(PackedEntry::store(jpeg), {30, 40, jpeg.size(), false, {}}))
                return false;
        }
        return true;
    };
    {
        const std::unique_ptr<Packager> abandoned = Packager::make(options);
        QVERIFY2(fill(*abandoned), qPrintable(abandoned->errorString()));
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(partialFiles(folder).size(), 1);
        abandoned->abandon();
        QVERIFY(partialFiles(folder).isEmpty());
    }
    const std::unique_ptr<Packager> packager = Packager::make(options);
    QVERIFY2(fill(*packager), qPrintable(packager->errorString()));
    QCOMPARE(packager->pageCount(), 3);
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY2(packager->finish(false), qPrintable(packager->errorString()));
    QVERIFY(partialFiles(folder).isEmpty());
    const QStringList names = zipNames(target);
    QCOMPARE(names.filter(QRegularExpression("\\.jpg$")), pages);
    if (pages.isEmpty()) // a Kindle book or a PDF: each picture as it is
        QCOMPARE(contentOf(target).count(jpeg), 3);
    QCOMPARE(packager->pageNames(),
             QStringList({"0000000000.jpg", "0000000001.jpg", "0000000002.jpg"}));

    // A file there is left alone unless it may be replaced.
    const QByteArray made = contentOf(target);
    const std::unique_ptr<Packager> again = Packager::make(options);
    QVERIFY(fill(*again));
    QVERIFY(!again->finish(false));
    QVERIFY(!again->errorString().isEmpty());
    QCOMPARE(contentOf(target), made);
    QVERIFY(partialFiles(folder).isEmpty());
    const std::unique_ptr<Packager> replacing = Packager::make(options);
    QVERIFY(fill(*replacing));
    QVERIFY2(replacing->finish(true), qPrintable(replacing->errorString()));
    QCOMPARE(zipNames(target), names);
    // The same book, byte for byte, but for a CBZ's entries dated when written.
    if (kind != PageOptions::CbzBook)
        QCOMPARE(contentOf(target), made);
    QVERIFY(partialFiles(folder).isEmpty());
}

QUIREVALE_TEST_MAIN(tst_Packager)
#include "tst_packager.moc"
