#include "making/bookbuild.h"
#include "making/kf8book.h"
#include "making/mobiindex.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>

using namespace TestSupport;

namespace {
// Each EXTH value mobitool -i prints, by its number.
QMultiMap<int, QString> exthValues(const QString &said)
{
    QMultiMap<int, QString> values;
    static const QRegularExpression line(QStringLiteral("^.*\\((\\d+)\\)(?: \\(\\d+\\))?: (.*)$"),
                                         QRegularExpression::MultilineOption);
    const int start = said.indexOf(QStringLiteral("EXTH records:"));
    auto it = line.globalMatch(said.mid(qMax(0, start)));
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        values.insert(match.captured(1).toInt(), match.captured(2));
    }
    return values;
}

// The spine the book's RESC record gives: its direction, then each page's
// properties.
QStringList rescSpine(const QList<QByteArray> &records)
{
    for (const QByteArray &record : records) {
        if (!record.startsWith("RESC") || record.size() < 16)
            continue;
        const quint32 length = qFromBigEndian<quint32>(record.constData() + 12);
        QXmlStreamReader xml(record.mid(16, int(length)));
        QStringList spine;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("spine"))
                spine << xml.attributes().value("page-progression-direction").toString();
            if (xml.isStartElement() && xml.name() == QLatin1String("itemref"))
                spine << xml.attributes().value("properties").toString();
        }
        return xml.hasError() ? QStringList{xml.errorString()} : spine;
    }
    return {};
}

// What the book says in its text records: the page documents, whole.
QString pagesDocument(const QList<QByteArray> &records)
{
    const QByteArray &header = records.at(0);
    const int count = (uchar(header.at(8)) << 8) | uchar(header.at(9));
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += records.at(i).chopped(1); // its run-over byte
    return QString::fromLatin1(text);
}

struct Made
{
    QList<QByteArray> pictures; // the CBZ's pages
    QString azw3;
    BookBuild::Result result;
    QStringList notes;
};

Made makeBoth(const QString &folder, const QVector<BuildPage> &pages, PageOptions options,
              const ComicInfo &info)
{
    Made made;
    options.BookKind = PageOptions::CbzBook;
    BookBuild cbz(QDir(folder).filePath("Book.cbz"), pages, options);
    cbz.setComicInfo(info);
    if (cbz.run() != BookBuild::Done)
        return {{}, {}, BookBuild::Failed, cbz.errorStrings()};
    made.pictures = archiveData(cbz.fileName());
    options.BookKind = PageOptions::Azw3Book;
    made.azw3 = QDir(folder).filePath("Book.azw3");
    BookBuild azw3(made.azw3, pages, options);
    azw3.setComicInfo(info);
    made.result = azw3.run();
    made.notes = made.result == BookBuild::Done ? azw3.bookNotes() : azw3.errorStrings();
    return made;
}
} // namespace

class tst_Azw3Package : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theBuildMakesAKindleBook_data();
    void theBuildMakesAKindleBook();
    void webpPagesAreWrittenAsJpeg();
    void aLongBookReadsBack();
    void indexNumbersAsReadersTakeThem_data();
    void indexNumbersAsReadersTakeThem();

private:
    QTemporaryDir m_pages;
};

// A cover, a spread, two pages: JPEG files of their own sizes.
void tst_Azw3Package::initTestCase()
{
    const QList<QPair<QString, QSize>> files = {{"1 cover.jpg", {600, 900}},
                                                {"2 spread.jpg", {1600, 1100}},
                                                {"3.jpg", {640, 960}},
                                                {"4.jpg", {600, 900}}};
    for (const auto &file : files) {
        QVERIFY(noiseImage(file.second.width(), file.second.height())
                    .save(m_pages.filePath(file.first), "jpg", 85));
    }
}

void tst_Azw3Package::theBuildMakesAKindleBook_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("title"); // as given
    QTest::addColumn<QString>("shown"); // as the book says it
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("chapters");
    QTest::addColumn<QStringList>("spine"); // direction, then each page's side
    QTest::addColumn<QString>("resolution");

    QTest::newRow("left to right, the spread whole")
        << false << false << "Tales"
        << "Tales"
        << "A summary." << QStringList{"Tales"}
        << QStringList{"ltr", "", "rendition:page-spread-center", "", ""} << "1600x1100";
    QTest::newRow("right to left, the spread cut, chapters")
        << true << true << "物語"
        << "物語"
        << "" << QStringList{"One", "Two"}
        << QStringList{"rtl", "", "page-spread-right", "page-spread-left", "", ""} << "801x1100";
    // Markup, control characters, right-to-left script and a summary far
    // longer than a reader shows: the header stays what readers can read.
    QTest::newRow("hostile information")
        << false << false << QString("<b>\"Tales\" & \x01more</b> حكايات")
        << QString("<b>\"Tales\" & more</b> حكايات") << QString(200000, QLatin1Char('x'))
        << QStringList{"One", "Two"}
        << QStringList{"ltr", "", "rendition:page-spread-center", "", ""} << "1600x1100";
}

// The book read back by libmobi: every value of its header, its pages'
// pictures the CBZ's byte for byte in reading order, its chapters for Go
// To, each page's side of a pair as the EPUB's spine gives it.
void tst_Azw3Package::theBuildMakesAKindleBook()
{
    QFETCH(bool, rightToLeft);
    QFETCH(bool, cut);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QFETCH(QString, summary);
    QFETCH(QStringList, chapters);
    QFETCH(QStringList, spine);
    QFETCH(QString, resolution);

    QTemporaryDir dir;
    const QStringList files = QDir(m_pages.path()).entryList(QDir::Files, QDir::Name);
    QVector<BuildPage> pages;
    for (int i = 0; i < files.size(); ++i)
        pages.append({i, PageLocation(m_pages.filePath(files.at(i)))});
    if (chapters.size() > 1) {
        pages[0].bookmark = chapters.at(0);
        pages[2].bookmark = chapters.at(1);
    }
    PageOptions options;
    options.KeepUnchangedPages = true;
    options.ImageCutDoublePages = cut;
    options.ImageCutOnlyWide = true;
    options.ImageCutFirstPageRight = rightToLeft;
    ComicInfo info;
    info.title = title;
    info.writer = QStringLiteral("Ann \x02Writer");
    info.penciller = QStringLiteral("Bo Artist");
    info.publisher = QStringLiteral("Press & Co");
    info.summary = summary;
    info.year = 2021;
    info.languageIso = rightToLeft ? QStringLiteral("ja") : QStringLiteral("en");
    info.direction = rightToLeft ? ComicInfo::RightToLeft : ComicInfo::LeftToRight;
    const Made made = makeBoth(dir.path(), pages, options, info);
    QVERIFY2(made.result == BookBuild::Done, qPrintable(made.notes.join('\n')));

    QString why;
    const QString said = mobitool({QStringLiteral("-i"), made.azw3}, &why);
    if (said.isEmpty() && why.contains("not installed"))
        QSKIP(qPrintable(why));
    QVERIFY2(!said.isEmpty(), qPrintable(why));
    const QMultiMap<int, QString> exth = exthValues(said);
    QCOMPARE(exth.value(503), shown);
    QCOMPARE(exth.values(100), QStringList({"Bo Artist", "Ann Writer"}));
    QCOMPARE(exth.value(101), QStringLiteral("Press & Co"));
    QVERIFY(exth.value(103).size() <= 16 * 1024);
    QVERIFY(summary.startsWith(exth.value(103)));
    QCOMPARE(exth.value(106), QStringLiteral("2021"));
    QCOMPARE(exth.value(524), info.languageIso);
    QCOMPARE(exth.value(501), QStringLiteral("EBOK"));
    QCOMPARE(exth.value(122), QStringLiteral("true"));
    QCOMPARE(exth.value(123), QStringLiteral("comic"));
    QCOMPARE(exth.value(126), resolution);
    QCOMPARE(exth.value(129), QStringLiteral("kindle:embed:0001"));
    QCOMPARE(exth.value(201), QStringLiteral("0"));
    QCOMPARE(exth.value(202), QStringLiteral("0"));
    QVERIFY(QRegularExpression("^B0[0-9A-Z]{8}$").match(exth.value(113)).hasMatch());
    QCOMPARE(exth.value(504), exth.value(113));
    QCOMPARE(exth.value(527), rightToLeft ? QStringLiteral("rtl") : QString());
    QCOMPARE(exth.value(525), rightToLeft ? QStringLiteral("horizontal-rl") : QString());

    // The pages as libmobi makes an EPUB of them: in order, each the CBZ's.
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(out));
    QVERIFY2(!mobitool({"-e", "-o", out, made.azw3}, &why).isEmpty(), qPrintable(why));
    bool ok = false;
    const QList<ArchiveEntry> epub = readArchive(out + "/Book.epub", &ok);
    QVERIFY(ok);
    QMap<QString, QByteArray> entries;
    for (const ArchiveEntry &entry : epub)
        entries.insert(entry.name, entry.data);
    QList<QByteArray> pictures;
    QStringList navigation;
    for (int i = 0; i < made.pictures.size(); ++i) {
        const QString part = QStringLiteral("OEBPS/part%1.html").arg(i, 5, 10, QLatin1Char('0'));
        const QRegularExpressionMatch img =
            QRegularExpression("src=\"(resource\\d+\\.jpg)\"").match(entries.value(part));
        QVERIFY2(img.hasMatch(), qPrintable(part));
        pictures << entries.value("OEBPS/" + img.captured(1));
    }
    QCOMPARE(pictures.size(), made.pictures.size());
    for (int i = 0; i < pictures.size(); ++i)
        QVERIFY2(pictures.at(i) == made.pictures.at(i), qPrintable(QString::number(i)));
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (!it.key().endsWith(".ncx"))
            continue;
        QXmlStreamReader xml(it.value());
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("navLabel")) {
                xml.readNextStartElement();
                navigation << xml.readElementText();
            }
        }
    }
    QCOMPARE(navigation, chapters.size() > 1 ? chapters : QStringList{shown});

    const QList<QByteArray> records = palmRecords(contentOf(made.azw3), &ok);
    QVERIFY(ok);
    QCOMPARE(rescSpine(records), spine);
    // Every page document is well-formed XHTML of its picture's size, with
    // no character past ASCII to be split between text records.
    const QString text = pagesDocument(records);
    QCOMPARE(text.count("<img "), made.pictures.size());
    for (const QChar c : text)
        QVERIFY(c.unicode() < 0x80);

    // The same pages and options give the same book, byte for byte.
    const QByteArray first = contentOf(made.azw3);
    QVERIFY(QFile::remove(made.azw3));
    QVERIFY(QFile::remove(dir.filePath("Book.cbz")));
    const Made again = makeBoth(dir.path(), pages, options, info);
    QCOMPARE(again.result, BookBuild::Done);
    QVERIFY(contentOf(again.azw3) == first);
}

// A Kindle shows JPEG pictures: pages asked for as WebP are written as
// JPEG, and the report says so.
void tst_Azw3Package::webpPagesAreWrittenAsJpeg()
{
    QTemporaryDir dir;
    PageOptions options;
    options.PageFormat = PageOptions::WebpPages;
    options.BookKind = PageOptions::Azw3Book;
    QVERIFY(noiseImage(300, 400).save(dir.filePath("page.png")));
    BookBuild build(dir.filePath("Book.azw3"), {{0, PageLocation(dir.filePath("page.png"))}},
                    options);
    QCOMPARE(build.run(), BookBuild::Done);
    QVERIFY2(build.bookNotes().join(' ').contains("written as JPEG"),
             qPrintable(build.bookNotes().join(' ')));
    // A PNG page kept as it is in a CBZ is written as JPEG here, and said.
    options.PageFormat = PageOptions::JpegPages;
    options.KeepUnchangedPages = true;
    BookBuild kept(dir.filePath("Kept.azw3"), {{0, PageLocation(dir.filePath("page.png"))}},
                   options);
    QCOMPARE(kept.run(), BookBuild::Done);
    QVERIFY2(
        kept.bookNotes().join(' ').contains("PNG, WebP or GIF pages written as JPEG, as a Kindle "
                                            "(AZW3) holds no other pictures as they are: 1."),
        qPrintable(kept.bookNotes().join(' ')));
    bool ok = false;
    const QList<QByteArray> records = palmRecords(contentOf(build.fileName()), &ok);
    QVERIFY(ok);
    const quint32 firstPicture = qFromBigEndian<quint32>(records.at(0).constData() + 108);
    QVERIFY(records.at(int(firstPicture)).startsWith("\xff\xd8\xff"));
    QCOMPARE(jpegSize(records.at(int(firstPicture))), QSize(300, 400));
}

// 2,000 pages and 20 chapters: the indexes spread over several records,
// and every page and chapter found by libmobi in its place.
void tst_Azw3Package::aLongBookReadsBack()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int i = 0; i < 2000; ++i) {
        const QString file =
            dir.filePath(QStringLiteral("p%1.png").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(noiseImage(9 + i % 7, 13).save(file));
        pages.append({i, PageLocation(file), PageTreatment(),
                      i % 100 == 0 ? QStringLiteral("Chapter %1").arg(i / 100 + 1) : QString()});
    }
    PageOptions options;
    options.BookKind = PageOptions::Azw3Book;
    BookBuild build(dir.filePath("Long.azw3"), pages, options);
    QCOMPARE(build.run(), BookBuild::Done);
    bool ok = false;
    const QList<QByteArray> records = palmRecords(contentOf(build.fileName()), &ok);
    QVERIFY(ok);
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(out));
    QString why;
    if (mobitool({"-e", "-o", out, build.fileName()}, &why).isEmpty()) {
        if (why.contains("not installed"))
            QSKIP(qPrintable(why));
        QFAIL(qPrintable(why));
    }
    const QList<ArchiveEntry> epub = readArchive(out + "/Long.epub", &ok);
    QVERIFY(ok);
    QMap<QString, QByteArray> entries;
    for (const ArchiveEntry &entry : epub)
        entries.insert(entry.name, entry.data);
    const quint32 first = qFromBigEndian<quint32>(records.at(0).constData() + 108);
    for (int i = 0; i < pages.size(); ++i) {
        const QString part = QStringLiteral("OEBPS/part%1.html").arg(i, 5, 10, QLatin1Char('0'));
        const QRegularExpressionMatch img =
            QRegularExpression("src=\"(resource\\d+\\.jpg)\"").match(entries.value(part));
        QVERIFY2(img.hasMatch(), qPrintable(part));
        QVERIFY2(entries.value("OEBPS/" + img.captured(1)) == records.at(int(first) + i),
                 qPrintable(part));
    }
    int chapters = 0;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        if (it.key().endsWith(".ncx"))
            chapters += it.value().count("<navPoint");
    QCOMPARE(chapters, 20);
}

void tst_Azw3Package::indexNumbersAsReadersTakeThem_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0") << 0u << QByteArray("\x80", 1);
    QTest::newRow("127") << 127u << QByteArray("\xff", 1);
    QTest::newRow("128") << 128u << QByteArray("\x01\x80", 2);
    QTest::newRow("300") << 300u << QByteArray("\x02\xac", 2);
    QTest::newRow("largest") << 0xffffffffu << QByteArray("\x0f\x7f\x7f\x7f\xff", 5);
}

// The seven-bit numbers of index entries, the last byte marked.
void tst_Azw3Package::indexNumbersAsReadersTakeThem()
{
    QFETCH(quint32, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(MobiIndex::forwardNumber(value), bytes);
}

QUIREVALE_TEST_MAIN(tst_Azw3Package)
#include "tst_azw3package.moc"
