#include "making/bookbuild.h"
#include "making/epubpackage.h"
#include "testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace TestSupport;

namespace {
// A small JPEG of the given size.
QByteArray jpegOf(const QSize &size)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(size.width(), size.height()).save(&buffer, "jpg", 80);
    return data;
}

// The book's pages: a cover, a spread cut in two, a page with a chapter.
QVector<EpubPackage::Page> bookPages()
{
    return {{"0000.jpg", {90, 120}, 0, false, {}},
            {"0001.jpg", {90, 120}, 1, false, "Chapter <One> & \"Two\""},
            {"0002.jpg", {90, 120}, 2, false, {}},
            {"0003.jpg", {180, 120}, 0, true, {}},
            {"0004.jpg", {90, 120}, 0, false, "Second\x01 chapter"}};
}

bool wellFormed(const QByteArray &document, QString *why)
{
    QXmlStreamReader xml(document);
    while (!xml.atEnd())
        xml.readNext();
    *why = xml.errorString();
    return !xml.hasError();
}

// The spine's properties, page by page.
QStringList spineProperties(const QByteArray &opf)
{
    QStringList found;
    QXmlStreamReader xml(opf);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == QLatin1String("itemref"))
            found << xml.attributes().value("properties").toString();
        else if (!xml.isStartElement())
            xml.readNext();
    }
    return found;
}
} // namespace

class tst_EpubPackage : public QObject
{
    Q_OBJECT

private slots:
    void documentsAreWellFormed();
    void valuesOnlyAsTheyMayBeWritten_data();
    void valuesOnlyAsTheyMayBeWritten();
    void spreadsFollowTheReadingDirection_data();
    void spreadsFollowTheReadingDirection();
    void identifierFollowsTheBook();
    void passesEpubCheck();
    void theBuildMakesAnEpub_data();
    void theBuildMakesAnEpub();
    void webpPagesAreRefused();
};

// Titles, creators and chapters with markup, right-to-left script and
// control characters still give valid XML, their text kept.
void tst_EpubPackage::documentsAreWellFormed()
{
    ComicInfo info;
    info.title = QStringLiteral("<b>Tom & Jerry</b>\x07 \u0645\u0631\u062d\u0628\u0627");
    info.writer = QStringLiteral("A \"quoted\" writer");
    info.series = QStringLiteral("Saga");
    info.number = QStringLiteral("12b");
    const EpubPackage epub(info, "Folder", bookPages());
    for (const auto &document : epub.documents("book", QDateTime::fromSecsSinceEpoch(0))) {
        if (!document.first.endsWith(".xhtml") && !document.first.endsWith(".opf") &&
            !document.first.endsWith(".xml"))
            continue;
        QString why;
        QVERIFY2(wellFormed(document.second, &why), qPrintable(document.first + ": " + why));
    }
    const QByteArray opf = epub.package("book", QDateTime::fromSecsSinceEpoch(0));
    QVERIFY2(opf.contains("&lt;b&gt;Tom &amp; Jerry&lt;/b&gt; \xd9\x85\xd8\xb1"), opf.constData());
    // A number that is no number gives no place in the series.
    QVERIFY(!opf.contains("group-position"));
    const QByteArray nav = epub.navigation();
    QVERIFY2(nav.contains("Chapter &lt;One&gt; &amp; &quot;Two&quot;") &&
                 nav.contains(">Second chapter<"),
             nav.constData());
    QVERIFY(epub.pageDocument(3).contains("content=\"width=180, height=120\""));
}

void tst_EpubPackage::valuesOnlyAsTheyMayBeWritten_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("position"); // empty: none written
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "12"
                           << "12"
                           << "en"
                           << "en";
    QTest::newRow("leading zeros, a region") << "007"
                                             << "7"
                                             << "pt-BR"
                                             << "pt-BR";
    QTest::newRow("a half, a script") << "7.5"
                                      << "7.5"
                                      << "zh-Hant-TW"
                                      << "zh-Hant-TW";
    QTest::newRow("infinity, private use without a subtag") << "inf"
                                                            << ""
                                                            << "en-x"
                                                            << "und";
    QTest::newRow("an exponent, a digit for a region") << "1e9"
                                                       << ""
                                                       << "de-1"
                                                       << "und";
    QTest::newRow("a sign, a private use") << "-3"
                                           << ""
                                           << "x-klingon"
                                           << "x-klingon";
    QTest::newRow("not a number, markup") << "12b"
                                          << ""
                                          << "<en>"
                                          << "und";
    QTest::newRow("nan, an extension") << "nan"
                                       << ""
                                       << "en-a-bbb-x-a-ccc"
                                       << "en-a-bbb-x-a-ccc";
}

// Only a finite decimal number is a place in a series, and only a
// well-formed tag a language (else "und", and the book says so).
void tst_EpubPackage::valuesOnlyAsTheyMayBeWritten()
{
    QFETCH(QString, number);
    QFETCH(QString, position);
    QFETCH(QString, language);
    QFETCH(QString, written);
    ComicInfo info;
    info.series = QStringLiteral("Saga");
    info.number = number;
    info.languageIso = language;
    const EpubPackage epub(info, "Book", bookPages());
    const QByteArray opf = epub.package("book", QDateTime::fromSecsSinceEpoch(0));
    const QRegularExpression placed("refines=\"#series\" property=\"group-position\">([^<]*)<|"
                                    "property=\"group-position\" refines=\"#series\">([^<]*)<");
    const QRegularExpressionMatch found = placed.match(QString::fromUtf8(opf));
    QCOMPARE(found.hasMatch() ? found.captured(1) + found.captured(2) : QString(), position);
    QVERIFY2(opf.contains("<dc:language>" + written.toUtf8() + "</dc:language>"), opf.constData());
    QCOMPARE(epub.notes().isEmpty(), written != QLatin1String("und"));
}

void tst_EpubPackage::spreadsFollowTheReadingDirection_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("progression");
    // The first page shows alone; each half goes on its own side whichever
    // way the book is read; a spread left whole is centred.
    QTest::newRow("left to right") << int(ComicInfo::LeftToRight) << "ltr";
    QTest::newRow("right to left") << int(ComicInfo::RightToLeft) << "rtl";
}

void tst_EpubPackage::spreadsFollowTheReadingDirection()
{
    QFETCH(int, direction);
    QFETCH(QString, progression);
    const QStringList properties{"", "page-spread-left", "page-spread-right",
                                 "rendition:page-spread-center", ""};
    ComicInfo info;
    info.direction = ComicInfo::Direction(direction);
    const QByteArray opf =
        EpubPackage(info, "Book", bookPages()).package("book", QDateTime::fromSecsSinceEpoch(0));
    QVERIFY(opf.contains(
        QStringLiteral("page-progression-direction=\"%1\"").arg(progression).toUtf8()));
    QCOMPARE(spineProperties(opf), properties);
    // What Kindle's conversion by mail reads the direction from.
    QCOMPARE(opf.contains("<meta name=\"primary-writing-mode\" content=\"horizontal-rl\"/>"),
             progression == "rtl");
}

// The same book and options are the same EPUB; another is another.
void tst_EpubPackage::identifierFollowsTheBook()
{
    const EpubPackage epub(ComicInfo(), "Book", bookPages());
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000);
    QCOMPARE(epub.documents("one", when), epub.documents("one", when));
    const QRegularExpression uuid("urn:uuid:[0-9a-f-]{36}");
    const QString first = uuid.match(epub.package("one", when)).captured();
    QVERIFY(!first.isEmpty());
    QCOMPARE(uuid.match(epub.package("one", when)).captured(), first);
    QVERIFY(uuid.match(epub.package("two", when)).captured() != first);
}

namespace {
const char Checker[] = "/usr/share/java/epubcheck.jar";

// What EPUBCheck says of the book; empty when it has no error and no
// warning.
QString epubCheckOf(const QString &path)
{
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start("java", {"-jar", Checker, path});
    if (!check.waitForFinished(300000))
        return "EPUBCheck did not finish";
    const QString said = QString::fromUtf8(check.readAll());
    return check.exitCode() == 0 && !said.contains("WARNING") && !said.contains("ERROR") ? QString()
                                                                                         : said;
}
} // namespace

// The whole book, its pictures in, as EPUBCheck judges it: no error, no
// warning.
void tst_EpubPackage::passesEpubCheck()
{
    const QString checker = QLatin1String(Checker);
    if (!QFile::exists(checker))
        QSKIP("EPUBCheck is not installed (tools/setup test installs it)");
    ComicInfo info;
    info.title = QStringLiteral("Tom & Jerry");
    info.series = QStringLiteral("Saga");
    info.number = QStringLiteral("3");
    info.writer = QStringLiteral("A Writer");
    info.penciller = QStringLiteral("An Artist");
    info.languageIso = QStringLiteral("it");
    info.year = 2014;
    info.direction = ComicInfo::RightToLeft;
    const QVector<EpubPackage::Page> pages = bookPages();
    const EpubPackage epub(info, "Book", pages);
    QList<ZipEntry> entries;
    const auto documents = epub.documents("book", QDateTime::fromSecsSinceEpoch(1700000000));
    for (const auto &document : documents)
        entries.append({document.first.toUtf8(), document.second});
    for (const EpubPackage::Page &page : pages)
        entries.append({EpubPackage::imagePath(page.image).toUtf8(), jpegOf(page.size)});
    QTemporaryDir dir;
    const QString path = dir.filePath("book.epub");
    QVERIFY(writeFile(path, storedZip(entries)));
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start("java", {"-jar", checker, path});
    QVERIFY(check.waitForFinished(120000));
    const QString said = QString::fromUtf8(check.readAll());
    QVERIFY2(check.exitCode() == 0 && !said.contains("WARNING") && !said.contains("ERROR"),
             qPrintable(said));
}

void tst_EpubPackage::theBuildMakesAnEpub_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<QString>("options"); // "facing", "grey", "whole"
    // A page a letter: p portrait, w wide; in capitals, the first page of
    // a chapter.
    QTest::addColumn<QString>("shapes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("spine"); // empty: not compared
    QTest::newRow("EPUB, left to right, a cut spread and a chapter")
        << int(PageOptions::EpubBook) << false << ""
        << "pwP"
        << "A <Test> Book" << QStringList{"", "page-spread-left", "page-spread-right", ""};
    QTest::newRow("Kobo EPUB, right to left")
        << int(PageOptions::KepubBook) << true << ""
        << "pwP"
        << "A <Test> Book" << QStringList{"", "page-spread-right", "page-spread-left", ""};
    QTest::newRow("spreads whole, on facing pages, in grey")
        << int(PageOptions::EpubBook) << false << "facing,grey,whole"
        << "pwP"
        << "Grey" << QStringList{"", "rendition:page-spread-center", ""};
    QTest::newRow("chapters with blanks so that spreads face")
        << int(PageOptions::KepubBook) << true << "facing,whole"
        << "PpwPwpW"
        << "Chapters" << QStringList{};
    QTest::newRow("one page, Unicode metadata")
        << int(PageOptions::KepubBook) << true << ""
        << "p" << QStringLiteral("\u6f2b\u753b \u0645\u0631\u062d\u0628\u0627 \x01<&>")
        << QStringList{""};
    // 2,000 pages are checked by bench_cbz --long-epub: minutes on a busy
    // machine under the sanitizers.
    QTest::newRow("200 pages") << int(PageOptions::EpubBook) << false << "" << QString(200, 'p')
                               << "Long" << QStringList{};
}

// The build makes a book EPUBCheck passes, the mimetype first and stored,
// the halves of a cut spread on their sides, Kobo's display options in a
// Kobo EPUB alone; made again, the same bytes.
void tst_EpubPackage::theBuildMakesAnEpub()
{
    if (!QFile::exists(QLatin1String(Checker)))
        QSKIP("EPUBCheck is not installed (tools/setup test installs it)");
    QFETCH(int, kind);
    QFETCH(bool, rightToLeft);
    QFETCH(QString, options);
    QFETCH(QString, shapes);
    QFETCH(QString, title);
    QFETCH(QStringList, spine);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    // Small pages for a long book: EPUBCheck's time goes by page count.
    const int scale = shapes.size() > 100 ? 10 : 1;
    const QImage portrait = noiseImage(90 / scale, 130 / scale);
    const QImage wide = noiseImage(200 / scale, 130 / scale);
    int chapters = 0;
    for (int i = 0; i < shapes.size(); ++i) {
        const QString file = dir.filePath(QStringLiteral("p%1.png").arg(i));
        QVERIFY((shapes.at(i).toLower() == 'w' ? wide : portrait).save(file));
        const QString chapter =
            shapes.at(i).isUpper() ? QStringLiteral("Chapter %1").arg(++chapters) : QString();
        pages.append({i, PageLocation(file), {}, chapter});
    }
    PageOptions made;
    made.BookKind = PageOptions::Kind(kind);
    made.ImageCutDoublePages = !options.contains("whole");
    made.ImageCutOnlyWide = true;
    made.ImageCutFirstPageRight = rightToLeft;
    made.FacingSpreads = options.contains("facing");
    made.PageGrey =
        options.contains("grey") ? PageOptions::GreyEveryPage : PageOptions::ColourPages;
    ComicInfo info;
    info.title = title;
    info.writer = title;
    info.direction = rightToLeft ? ComicInfo::RightToLeft : ComicInfo::LeftToRight;
    QByteArray first;
    for (const char *name : {"one.epub", "two.epub"}) {
        const QString path = dir.filePath(name);
        BookBuild build(path, pages, made);
        build.setComicInfo(info);
        QCOMPARE(build.run(), BookBuild::Done);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // A local header, method 0 (stored), no extra field, "mimetype".
        QCOMPARE(bytes.mid(8, 2), QByteArray(2, '\0'));
        QCOMPARE(bytes.mid(28, 2), QByteArray(2, '\0'));
        QCOMPARE(bytes.mid(30, 28), QByteArray("mimetypeapplication/epub+zip"));
        if (first.isEmpty())
            first = bytes;
        else
            QVERIFY2(bytes == first, "made again, the book differs");
    }
    const QString said = epubCheckOf(dir.filePath("one.epub"));
    QVERIFY2(said.isEmpty(), qPrintable(said));
    bool ok = false;
    int packages = 0;
    for (const ArchiveEntry &entry : readArchive(dir.filePath("one.epub"), &ok)) {
        if (entry.name != "OEBPS/package.opf")
            continue;
        ++packages;
        if (!spine.isEmpty())
            QCOMPARE(spineProperties(entry.data), spine);
    }
    QVERIFY(ok);
    QCOMPARE(packages, 1);
    bool kobo = false;
    for (const ArchiveEntry &entry : readArchive(dir.filePath("one.epub"), &ok))
        kobo = kobo || entry.name == QLatin1String(EpubPackage::KoboOptions);
    QCOMPARE(kobo, kind == PageOptions::KepubBook);
}

// WebP pages are refused for an EPUB before anything is made.
void tst_EpubPackage::webpPagesAreRefused()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("p.png");
    QVERIFY(noiseImage(40, 60).save(file));
    PageOptions options;
    options.BookKind = PageOptions::EpubBook;
    options.PageFormat = PageOptions::WebpPages;
    BookBuild build(dir.filePath("book.epub"), {BuildPage{0, PageLocation(file)}}, options);
    QCOMPARE(build.run(), BookBuild::Failed);
    QVERIFY2(build.errorString().contains("JPEG"), qPrintable(build.errorString()));
    QVERIFY(!QFileInfo::exists(dir.filePath("book.epub")));
}

QUIREVALE_TEST_MAIN(tst_EpubPackage)
#include "tst_epubpackage.moc"
