#include "making/bookbuild.h"
#include "making/zipwriter.h"
#include "making/comicinfo.h"
#include "dialogs/comicinfodialog.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace TestSupport;

namespace {
// The text of every element, and the attributes of each Page, in order.
struct ReadBack
{
    QMap<QString, QString> fields;
    QList<QXmlStreamAttributes> pages;
};

ReadBack readBack(const QByteArray &xml)
{
    ReadBack back;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == QLatin1String("Page"))
            back.pages << reader.attributes();
        else if (reader.isStartElement() && reader.name() != QLatin1String("ComicInfo") &&
                 reader.name() != QLatin1String("Pages"))
            back.fields.insert(reader.name().toString(), reader.readElementText());
        else
            reader.readNext();
    }
    return back;
}

bool validates(const QByteArray &xml, QString *output)
{
    QTemporaryDir dir;
    if (!writeFile(dir.filePath("ComicInfo.xml"), xml))
        return false;
    QProcess xmllint;
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start("xmllint", {"--noout", "--schema", QUIREVALE_COMICINFO_SCHEMA,
                              dir.filePath("ComicInfo.xml")});
    xmllint.waitForFinished(60000);
    *output = QString::fromUtf8(xmllint.readAll());
    return xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0;
}

QMap<QString, QByteArray> entriesByName(const QString &archive)
{
    bool ok = false;
    QMap<QString, QByteArray> entries;
    for (const ArchiveEntry &entry : readArchive(archive, &ok))
        entries.insert(entry.name, entry.data);
    return entries;
}
} // namespace

class tst_ComicInfo : public QObject
{
    Q_OBJECT

private slots:
    void suggestions_data();
    void suggestions();
    void bookOfSplitBorderedRightToLeftPages();
    void awkwardTextComesBackAsItWas();
    void untouchedJpegsAmongChangedPages();
    void cutJpegFailsEvenUntouched();
    void dialogRoundTrip();
    void spreadsLeftWholeAreDoublePages();
    void sourceDocuments_data();
    void sourceDocuments();
};

void tst_ComicInfo::suggestions_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("year");
    const auto row = [](const char *folder, const char *series, const char *number, int volume,
                        int year) {
        QTest::newRow(folder) << QString::fromUtf8(folder) << QString::fromUtf8(series)
                              << QString::fromUtf8(number) << volume << year;
    };
    row("Saga 03", "Saga", "3", -1, -1);
    row("Batman 001 (2016) (Digital)", "Batman", "1", -1, 2016);
    row("Saga 054 [Scanlator] (c2c)", "Saga", "54", -1, -1);
    row("Maus (1986)", "Maus", "", -1, 1986);
    row("Blacksad #2", "Blacksad", "2", -1, -1);
    row("2000 AD Prog 1234", "2000 AD Prog", "1234", -1, -1);
    row("Tintin 12b", "Tintin", "12", -1, -1);
    row("Maus", "Maus", "", -1, -1);
    row("007", "007", "7", -1, -1);
    row("Hoshizora Vol 3", "Hoshizora", "", 3, -1);
    row("Hoshizora Vol. 3", "Hoshizora", "", 3, -1);
    row("Hoshizora Volume 03", "Hoshizora", "", 3, -1);
    row("Hoshizora v03", "Hoshizora", "", 3, -1);
    row("Hoshizora_v03", "Hoshizora", "", 3, -1);
    row("Berserk Vol 3 Ch. 12", "Berserk", "12", 3, -1);
    row("Berserk - Chapter 12", "Berserk", "12", -1, -1);
    row("Berserk Ch.12.5", "Berserk", "12.5", -1, -1);
    row("[Group] Naruto v05 (2004)", "Naruto", "", 5, 2004);
    row("Naruto v05 012", "Naruto", "12", 5, -1);
    row("Watchmen #01 (of 12) (1986)", "Watchmen", "1", -1, 1986);
    row("The Walking Dead 100 (2012) (Digital) (Zone-Empire)", "The Walking Dead", "100", -1, 2012);
    row("Asterix - 05 - Le Tour de Gaule", "Asterix", "5", -1, -1);
    row("X-Men 2099 #3", "X-Men 2099", "3", -1, -1);
    row("Spider-Man Vol 2 #15 (2005)", "Spider-Man", "15", 2, 2005);
    row("Lucky Luke Tome 12", "Lucky Luke", "", 12, -1);
    row("Saga Issue 7 (2013)", "Saga", "7", -1, 2013);
}

void tst_ComicInfo::suggestions()
{
    QFETCH(QString, folder);
    QFETCH(QString, series);
    QFETCH(QString, number);
    QFETCH(int, volume);
    QFETCH(int, year);
    const ComicInfo info = ComicInfo::suggestedFor(folder);
    QCOMPARE(info.title, folder);
    QCOMPARE(info.series, series);
    QCOMPARE(info.number, number);
    QCOMPARE(info.volume, volume);
    QCOMPARE(info.year, year);
    QVERIFY(!info.write);
}

void tst_ComicInfo::bookOfSplitBorderedRightToLeftPages()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    const QList<QSize> sizes = {QSize(400, 300), QSize(300, 400)};
    for (int i = 0; i < sizes.size(); ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(writeImage(pages.last().page.file(), sizes.at(i).width(), sizes.at(i).height(),
                           Qt::gray));
    }
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 10;
    ComicInfo info = ComicInfo::suggestedFor("Saga 03");
    info.write = true;
    info.direction = ComicInfo::RightToLeft;
    info.year = 2012;
    info.writer = "Brian K. Vaughan";
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, options);
    build.setComicInfo(info);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));

    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 5);
    QCOMPARE(entries.last().name, QStringLiteral("ComicInfo.xml")); // after the pages
    QString output;
    QVERIFY2(validates(entries.last().data, &output), qPrintable(output));

    const ReadBack back = readBack(entries.last().data);
    QCOMPARE(back.fields.value("Series"), QStringLiteral("Saga"));
    QCOMPARE(back.fields.value("Number"), QStringLiteral("3"));
    QCOMPARE(back.fields.value("Year"), QStringLiteral("2012"));
    QCOMPARE(back.fields.value("PageCount"), QStringLiteral("4"));
    QCOMPARE(back.fields.value("Manga"), QStringLiteral("YesAndRightToLeft"));
    QVERIFY(!back.fields.contains("Volume")); // not given, not written
    QVERIFY(!back.fields.contains("Publisher"));
    QCOMPARE(back.pages.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QXmlStreamAttributes &page = back.pages.at(i);
        const QSize size = jpegSize(entries.at(i).data);
        QCOMPARE(page.value("Image").toInt(), i);
        QCOMPARE(page.value("ImageWidth").toInt(), size.width());
        QCOMPARE(page.value("ImageHeight").toInt(), size.height());
        QCOMPARE(page.value("ImageSize").toLongLong(), qint64(entries.at(i).data.size()));
        QCOMPARE(page.value("Type").toString(), i == 0 ? QStringLiteral("FrontCover") : QString());
        QVERIFY(!page.hasAttribute("DoublePage")); // split pages are single pages
    }
}

void tst_ComicInfo::awkwardTextComesBackAsItWas()
{
    ComicInfo info;
    info.title = "Tom & Jerry <Special> \"Deluxe\" 'Edition'";
    info.series = "Émile 🎨 漫画";
    info.number = "12b";
    info.summary = QString(5000, QLatin1Char('x')).replace(2500, 1, "\n]]>");
    info.publisher = "Bell\x07 rings"; // no control characters in XML
    const QVector<ComicPage> pages = {{800, 600, 1234, true, QString()},
                                      {600, 800, 99, false, QString()}};
    const QByteArray xml = comicInfoXml(info, pages);
    QString output;
    QVERIFY2(validates(xml, &output), qPrintable(output));
    const ReadBack back = readBack(xml);
    QCOMPARE(back.fields.value("Title"), info.title);
    QCOMPARE(back.fields.value("Series"), info.series);
    QCOMPARE(back.fields.value("Number"), QStringLiteral("12b"));
    QCOMPARE(back.fields.value("Summary"), info.summary);
    QCOMPARE(back.fields.value("Publisher"), QStringLiteral("Bell rings"));
    QCOMPARE(back.fields.value("Manga"), QStringLiteral("No"));
    QCOMPARE(back.pages.first().value("DoublePage").toString(), QStringLiteral("true"));
}

void tst_ComicInfo::untouchedJpegsAmongChangedPages()
{
    QTemporaryDir dir;
    const QImage picture = noiseImage(300, 420);
    QVector<BuildPage> pages;
    pages.append({0, dir.filePath("a.jpg")});
    QVERIFY(picture.save(pages.last().page.file(), "jpg", 90));
    pages.append({1, dir.filePath("b.png")});
    QVERIFY(picture.save(pages.last().page.file()));
    pages.append({2, dir.filePath("c.jpg")}); // named .jpg, a PNG inside
    QVERIFY(picture.save(pages.last().page.file(), "png"));
    pages.append({3, dir.filePath("d.jpg")});
    QVERIFY(writeFile(pages.last().page.file(), jpegWithOrientation(picture, 6)));

    PageOptions options;
    options.ImageQuality = 80;
    options.KeepUnchangedPages = true;
    ComicInfo info;
    info.write = true;
    BookBuild build(dir.filePath("book.cbz"), pages, options);
    build.setComicInfo(info);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    const QMap<QString, QByteArray> entries = entriesByName(dir.filePath("book.cbz"));
    QCOMPARE(entries.size(), 5);
    // Every page byte for byte, in its place, named by what it holds (the
    // PNG named .jpg goes in as a .png).
    QCOMPARE(entries.value(ZipWriter::entryName(0)), contentOf(pages.at(0).page.file()));
    QCOMPARE(entries.value(ZipWriter::entryName(3)), contentOf(pages.at(3).page.file()));
    for (int png : {1, 2})
        QCOMPARE(entries.value(ZipWriter::entryName(png, "png")),
                 contentOf(pages.at(png).page.file()));
    // The turned photo is listed as it shows.
    const ReadBack back = readBack(entries.value("ComicInfo.xml"));
    QCOMPARE(back.pages.at(3).value("ImageWidth").toInt(), 420);
    QCOMPARE(back.pages.at(3).value("ImageSize").toLongLong(),
             qint64(contentOf(pages.at(3).page.file()).size()));

    // With any change asked for, every page is made again (a border of no
    // pixels changes nothing).
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 1;
    BookBuild changed(dir.filePath("changed.cbz"), pages, options);
    QCOMPARE(changed.run(), BookBuild::Done);
    QVERIFY(entriesByName(dir.filePath("changed.cbz")).value(ZipWriter::entryName(0)) !=
            contentOf(pages.at(0).page.file()));
}

void tst_ComicInfo::cutJpegFailsEvenUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.jpg");
    QVERIFY(noiseImage(200, 200).save(path, "jpg"));
    QVERIFY(writeFile(path, contentOf(path).left(2000)));
    PageOptions options;
    options.KeepUnchangedPages = true;
    BookBuild build(dir.filePath("book.cbz"), {{0, path}}, options);
    QCOMPARE(build.run(), BookBuild::Failed);
    QVERIFY2(build.errorString().contains("cut.jpg cannot be read: The file is damaged"),
             qPrintable(build.errorString()));
    QVERIFY(!QFile::exists(dir.filePath("book.cbz")));
}

void tst_ComicInfo::dialogRoundTrip()
{
    ComicInfo info = ComicInfo::suggestedFor("Saga 03");
    info.write = true;
    info.year = 2012;
    ComicInfoDialog dialog(info, nullptr);
    auto *year = dialog.findChild<QSpinBox *>("Year");
    year->clear();
    QTest::keyClicks(year, "3500"); // no such year: refused as it is typed
    QVERIFY(year->value() <= 2999);
    year->setValue(2013);
    dialog.findChild<QComboBox *>("ReadingDirection")->setCurrentIndex(2);
    auto *language = dialog.findChild<QLineEdit *>("LanguageISO");
    QTest::keyClicks(language, "it-IT!");
    const ComicInfo back = dialog.comicInfo();
    QVERIFY(back.write);
    QCOMPARE(back.series, QStringLiteral("Saga"));
    QCOMPARE(back.number, QStringLiteral("3"));
    QCOMPARE(back.year, 2013);
    QCOMPARE(back.volume, -1);
    QCOMPARE(back.direction, ComicInfo::RightToLeft);
    QCOMPARE(back.languageIso, QStringLiteral("it-IT"));
}

// Among single pages, a spread left whole is a double page; one cut in two
// gives single pages; the page list follows what was made.
void tst_ComicInfo::spreadsLeftWholeAreDoublePages()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    const QList<QSize> sizes = {QSize(300, 400), QSize(800, 400), QSize(800, 400)};
    for (int i = 0; i < sizes.size(); ++i) {
        pages.append({i, dir.filePath(QStringLiteral("p%1.png").arg(i))});
        QVERIFY(writeImage(pages.last().page.file(), sizes.at(i).width(), sizes.at(i).height(),
                           Qt::gray));
    }
    pages[2].treatment.cut = PageTreatment::NeverCut;
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.ImageCutOnlyWide = true;
    ComicInfo info;
    info.write = true;
    BookBuild build(dir.filePath("book.cbz"), pages, options);
    build.setComicInfo(info);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    const ReadBack back = readBack(entriesByName(dir.filePath("book.cbz")).value("ComicInfo.xml"));
    QCOMPARE(back.pages.size(), 4); // the single page, two halves, the spread left whole
    QStringList doubles;
    for (const auto &page : back.pages)
        doubles << page.value("DoublePage").toString();
    QCOMPARE(doubles, QStringList({"", "", "", "true"}));
    QCOMPARE(back.pages.at(3).value("ImageWidth").toInt(), 800);
}

// Whatever a source's ComicInfo.xml holds, what can be read of it is kept,
// what cannot is named, and the merge validates.
void tst_ComicInfo::sourceDocuments_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("title"); // as read; empty: nothing readable
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("leftOut"); // words of each thing named
    QTest::newRow("Latin-1 without a declaration")
        << QByteArray("<ComicInfo><Title>Caf\xe9</Title><Writer>M\xfcller</Writer></ComicInfo>")
        << QString::fromUtf8("Café") << QStringList{QString::fromUtf8("<Writer>Müller</Writer>")}
        << QStringList();
    QTest::newRow("windows-1252, declared")
        << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
                      "<ComicInfo><Title>\x93Quoted\x94</Title></ComicInfo>")
        << QString::fromUtf8("\u201cQuoted\u201d") << QStringList() << QStringList();
    QTest::newRow("UTF-8 as it should be")
        << QByteArray("<ComicInfo><Title>\xe6\xbc\xab\xe7\x94\xbb</Title></ComicInfo>")
        << QString::fromUtf8("漫画") << QStringList() << QStringList();
    QTest::newRow("unknown elements, a second title, numbers that are not")
        << QByteArray("<ComicInfo><Title>A</Title><Title>B</Title><Custom>x</Custom>"
                      "<Count>twelve</Count><Month>3</Month><Manga>Maybe</Manga>"
                      "<AgeRating>Teen</AgeRating><CommunityRating>7</CommunityRating>"
                      "</ComicInfo>")
        << "A" << QStringList{"<Month>3</Month>", "<AgeRating>Teen</AgeRating>"}
        << QStringList{"second Title", "Custom", "Count", "Maybe", "CommunityRating"};
    QTest::newRow("another root") << QByteArray("<Book><Title>A</Title></Book>") << ""
                                  << QStringList() << QStringList{"root is Book"};
    QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE ComicInfo [<!ENTITY a \"aaaaaaaaaa\">";
    for (int i = 1; i < 9; ++i)
        bomb += QStringLiteral("<!ENTITY %1 \"&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;\">")
                    .arg(QChar('a' + i))
                    .arg(QChar('a' + i - 1))
                    .toLatin1();
    bomb += "]><ComicInfo><Title>&i;</Title></ComicInfo>";
    QTest::newRow("an entity bomb") << bomb << "" << QStringList() << QStringList{"read"};
}

void tst_ComicInfo::sourceDocuments()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, title);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, leftOut);
    const ComicInfo info = ComicInfo::fromXml(source);
    QCOMPARE(info.title, title);
    const QStringList named = ComicInfo::leftOutOf(source);
    QCOMPARE(named.size(), leftOut.size());
    for (int i = 0; i < leftOut.size(); ++i)
        QVERIFY2(named.at(i).contains(leftOut.at(i)), qPrintable(named.join('\n')));
    ComicInfo merged = info;
    merged.sourceXml = source;
    const QByteArray xml = comicInfoXml(merged, {{10, 20, 30, false, QString()}});
    for (const QString &element : kept)
        QVERIFY2(QString::fromUtf8(xml).contains(element), xml.constData());
    QString output;
    QVERIFY2(validates(xml, &output), qPrintable(output));
}

QUIREVALE_TEST_MAIN(tst_ComicInfo)
#include "tst_comicinfo.moc"
