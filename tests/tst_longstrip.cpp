#include "book/bookpreset.h"
#include "making/bookbuild.h"
#include "making/longstrip.h"
#include "making/pagetransform.h"
#include "samplepages.h"
#include "scans/stripcut.h"
#include "testsupport.h"

#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace TestSupport;

class tst_LongStrip : public QObject
{
    Q_OBJECT

private slots:
    void pagesThatMakeStrips_data();
    void pagesThatMakeStrips();
    void rowsOfAPage_data();
    void rowsOfAPage();
    void cutAsTilesComeIsThePlan_data();
    void cutAsTilesComeIsThePlan();
    void buildCutsStripsAndLeavesTheRest_data();
    void buildCutsStripsAndLeavesTheRest();
    void unreadableTileIsNamed();
    void devicePresetsCutStrips_data();
    void devicePresetsCutStrips();
    void anotherPageFailingStopsTheStrip();
};

using Sizes = QList<QSize>;
using Runs = QList<QPair<int, int>>;
Q_DECLARE_METATYPE(Runs)

void tst_LongStrip::pagesThatMakeStrips_data()
{
    QTest::addColumn<Sizes>("sizes");
    QTest::addColumn<QList<int>>("uncut");    // pages left uncut
    QTest::addColumn<QList<int>>("chapters"); // pages a chapter begins with
    QTest::addColumn<Runs>("runs");
    const QSize tile(800, 6000), end(800, 900), page(1200, 1800), spread(2400, 1800);
    QTest::newRow("a chapter and its short end")
        << Sizes{tile, tile, tile, end} << QList<int>{} << QList<int>{} << Runs{{0, 4}};
    QTest::newRow("strips among pages and spreads")
        << Sizes{page, tile, tile, spread, page, tile, QSize(800, 1600)} << QList<int>{}
        << QList<int>{} << Runs{{1, 2}, {5, 2}};
    QTest::newRow("a page of the strip's width that is not tall begins none")
        << Sizes{end, tile, end, end} << QList<int>{} << QList<int>{} << Runs{{1, 2}};
    QTest::newRow("another width ends a strip")
        << Sizes{tile, QSize(720, 6000), tile} << QList<int>{} << QList<int>{}
        << Runs{{0, 1}, {1, 1}, {2, 1}};
    QTest::newRow("a tile left uncut parts the strip")
        << Sizes{tile, tile, tile, tile} << QList<int>{1} << QList<int>{} << Runs{{0, 1}, {2, 2}};
    QTest::newRow("a chapter begins a strip of its own")
        << Sizes{tile, tile, tile} << QList<int>{} << QList<int>{2} << Runs{{0, 2}, {2, 1}};
    QTest::newRow("exactly twice as tall, and an unreadable page")
        << Sizes{QSize(800, 1600), QSize(), tile} << QList<int>{} << QList<int>{}
        << Runs{{0, 1}, {2, 1}};
    QTest::newRow("ordinary pages only")
        << Sizes{page, page, spread, QSize(800, 1599)} << QList<int>{} << QList<int>{} << Runs{};
}

void tst_LongStrip::pagesThatMakeStrips()
{
    QFETCH(Sizes, sizes);
    QFETCH(QList<int>, uncut);
    QFETCH(QList<int>, chapters);
    QFETCH(Runs, runs);
    QVector<LongStrip::Tile> tiles;
    for (int i = 0; i < sizes.size(); ++i) {
        PageTreatment own;
        if (uncut.contains(i))
            own.cut = PageTreatment::NeverCut;
        tiles.append({sizes.at(i), LongStrip::mayJoin(own), chapters.contains(i)});
    }
    Runs found;
    for (const LongStrip::Run &run : LongStrip::runsOf(tiles))
        found.append({run.first, run.count});
    QCOMPARE(found, runs);
}

void tst_LongStrip::rowsOfAPage_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("fit"); // invalid: no resize
    QTest::addColumn<bool>("exactly");
    QTest::addColumn<bool>("noEnlarge");
    QTest::addColumn<int>("stripHeight");
    QTest::addColumn<QSize>("page"); // a full page's size as written
    QTest::newRow("no resize") << 800 << QSize() << false << false << 1680 << QSize(800, 1680);
    // A strip fills the screen's width even where pages are not enlarged.
    QTest::newRow("narrow strip, pages never enlarged")
        << 800 << QSize(1264, 1680) << false << true << 1680 << QSize(1264, 1680);
    QTest::newRow("narrow strip, enlarged")
        << 800 << QSize(1264, 1680) << false << false << 1680 << QSize(1264, 1680);
    QTest::newRow("wide strip, reduced")
        << 2000 << QSize(1264, 1680) << false << true << 1680 << QSize(1264, 1680);
    QTest::newRow("the strip's height below the screen's")
        << 800 << QSize(1264, 1680) << false << true << 1200 << QSize(1264, 1200);
    QTest::newRow("exact size is fitted, not stretched")
        << 800 << QSize(600, 800) << true << true << 1680 << QSize(600, 800);
}

void tst_LongStrip::rowsOfAPage()
{
    QFETCH(int, width);
    QFETCH(QSize, fit);
    QFETCH(bool, exactly);
    QFETCH(bool, noEnlarge);
    QFETCH(int, stripHeight);
    QFETCH(QSize, page);
    PageOptions options;
    options.CutLongStrips = true;
    options.StripHeight = stripHeight;
    options.ImageResize = fit.isValid();
    if (fit.isValid()) {
        options.ResizeImageWidth = fit.width();
        options.ResizeImageHeight = fit.height();
    }
    options.ImageResizeMode = exactly ? PageOptions::ResizeExactly : PageOptions::ResizeToFit;
    options.ImageResizeNoEnlarge = noEnlarge;
    const int rows = LongStrip::pieceRows(width, options);
    const PageOptions piece = LongStrip::pieceOptions(options);
    // Whole rows of the strip: within a row of the height, never past it.
    const QSize made = resizedSize(QSize(width, rows), piece);
    QCOMPARE(made.width(), page.width());
    QVERIFY2(made.height() <= page.height() && made.height() >= page.height() - 1,
             qPrintable(QString::number(made.height())));
    // A page cut shorter keeps the strip's proportions.
    const QSize half = resizedSize(QSize(width, rows / 2), piece);
    QCOMPARE(half.width(), page.width());
    QVERIFY(qAbs(half.height() - page.height() / 2) <= 1);
}

void tst_LongStrip::cutAsTilesComeIsThePlan_data()
{
    QTest::addColumn<int>("tileHeight");
    QTest::addColumn<int>("pieceRows");
    QTest::newRow("tall tiles, a screen's pages") << 6000 << 1680;
    QTest::newRow("tiles about a page high") << 1700 << 1680;
    QTest::newRow("tiles shorter than a page, smaller pages") << 500 << 1063;
}

// A webtoon chapter sliced at a fixed height, cut as the build cuts it,
// tile by tile: every row of the strip in one page, in order; pages no
// higher than asked, none shorter than a quarter of that but the last; the
// cuts where the listing and the preview find them, and on a gutter of
// white wherever the cut is not said to go through art.
void tst_LongStrip::cutAsTilesComeIsThePlan()
{
    QFETCH(int, tileHeight);
    QFETCH(int, pieceRows);
    const int rows = 18000;
    const int width = 400;
    QVector<QImage> tiles;
    QVector<QVector<QRgb>> colours;
    // The tiles of one strip: drawn whole once, then sliced.
    const QImage whole = drawWebtoonTile(11, width, rows, 0);
    for (int top = 0; top < rows; top += tileHeight) {
        tiles.append(whole.copy(0, top, width, qMin(tileHeight, rows - top)));
        colours.append(StripCut::rowColours(tiles.last()));
    }
    const QVector<LongStrip::Cut> planned = LongStrip::cutsOf(colours, pieceRows);

    LongStrip strip(pieceRows);
    QVector<LongStrip::Piece> pieces;
    LongStrip::Piece piece;
    for (const QImage &tile : qAsConst(tiles)) {
        QVERIFY(strip.add(tile));
        QVERIFY(strip.heldBytes() <= qint64(width) * 4 * (3 * pieceRows + 2 * tileHeight));
        while (strip.takePiece(&piece))
            pieces.append(piece);
    }
    strip.end();
    while (strip.takePiece(&piece))
        pieces.append(piece);

    QCOMPARE(pieces.size(), planned.size() + 1);
    const QVector<bool> white =
        StripCut::onBackground(StripCut::rowColours(whole), qRgb(255, 255, 255));
    int top = 0, throughArt = 0;
    for (int i = 0; i < pieces.size(); ++i) {
        const QImage &picture = pieces.at(i).picture;
        QVERIFY2(picture.height() <= pieceRows, qPrintable(QString::number(picture.height())));
        QCOMPARE(pieces.at(i).last, i == pieces.size() - 1);
        if (!pieces.at(i).last) {
            QVERIFY(picture.height() >= pieceRows / 4);
            QCOMPARE(pieces.at(i).cut.tile, planned.at(i).tile);
            QCOMPARE(pieces.at(i).cut.row, planned.at(i).row);
            QCOMPARE(pieces.at(i).cut.throughArt, planned.at(i).throughArt);
            const int at = top + picture.height();
            QCOMPARE(at, planned.at(i).tile * tileHeight + planned.at(i).row);
            if (planned.at(i).throughArt)
                ++throughArt;
            else
                QVERIFY2(white.at(at) && white.at(at - 1), qPrintable(QString::number(at)));
        }
        QCOMPARE(picture, whole.copy(0, top, width, picture.height()));
        top += picture.height();
    }
    QCOMPARE(top, rows);
    // Most of a chapter's cuts find a gutter.
    QVERIFY(throughArt * 3 < pieces.size());
}

void tst_LongStrip::buildCutsStripsAndLeavesTheRest_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<qint64>("budget");
    QTest::newRow("one thread") << 1 << BookBuild::DefaultMemoryBudget;
    QTest::newRow("three threads") << 3 << BookBuild::DefaultMemoryBudget;
    // Every page waits for room but the one the writer waits for, and the
    // strip reads no tile ahead nor encodes its pages side by side.
    QTest::newRow("one thread, no room to spare") << 1 << qint64(1);
    QTest::newRow("four threads, no room to spare") << 4 << qint64(1);
}

// A book of ordinary pages, a spread and a webtoon chapter: the chapter's
// tiles become pages a screen high, as the forecast says, its cuts through
// art named; the other pages, and a tile left uncut, stay as they are.
void tst_LongStrip::buildCutsStripsAndLeavesTheRest()
{
    QFETCH(int, threads);
    QFETCH(qint64, budget);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    int row = 0;
    const auto add = [&](const QImage &picture, const QString &name, const PageTreatment &own) {
        QVERIFY(picture.save(dir.filePath(name), "png"));
        pages.append({row++, PageLocation(dir.filePath(name)), own});
    };
    add(drawComicPage(1, QSize(600, 900)), QStringLiteral("01.png"), {});
    for (int tile = 0; tile < 4; ++tile)
        add(drawWebtoonTile(5, 400, 2500, tile), QStringLiteral("1%1.png").arg(tile), {});
    add(drawWebtoonTile(5, 400, 700, 14), QStringLiteral("15.png"), {}); // the short end
    PageTreatment uncut;
    uncut.cut = PageTreatment::NeverCut;
    add(drawWebtoonTile(9, 400, 2500, 0), QStringLiteral("20.png"), uncut);
    add(drawSpread(3, QSize(600, 900)), QStringLiteral("30.png"), {});

    PageOptions options;
    options.CutLongStrips = true;
    options.StripHeight = 1000;
    options.ImageQuality = 80;
    BookBuild build(dir.filePath(QStringLiteral("book.cbz")), pages, options);
    build.setThreadCount(threads);
    build.setMemoryBudget(budget);
    QCOMPARE(build.run(), BookBuild::Done);
    if (budget == 1) {
        // The strip alone, with no room to spare, holds no more than one
        // thread with room for everything does: no tile read ahead, no two
        // of its pages encoded side by side.
        const QVector<BuildPage> strip = pages.mid(1, 5);
        BookBuild tight(dir.filePath(QStringLiteral("tight.cbz")), strip, options);
        tight.setThreadCount(threads);
        tight.setMemoryBudget(budget);
        QCOMPARE(tight.run(), BookBuild::Done);
        BookBuild alone(dir.filePath(QStringLiteral("alone.cbz")), strip, options);
        alone.setThreadCount(1);
        QCOMPARE(alone.run(), BookBuild::Done);
        QVERIFY2(
            tight.peakReserved() <= alone.peakReserved(),
            qPrintable(
                QStringLiteral("%1 > %2").arg(tight.peakReserved()).arg(alone.peakReserved())));
    }

    const LongStrip::Forecast forecast = LongStrip::forecast(
        pages, LongStrip::runsIn(pages, options.PdfResolution, 2).value(0), options, 2);
    QVector<QSize> expected{QSize(600, 900)};
    expected += forecast.sizes;
    expected << QSize(400, 2500) << QSize(1200, 900);
    QCOMPARE(build.entryCount(), expected.size());
    QuaZip zip(dir.filePath(QStringLiteral("book.cbz")));
    QVERIFY(zip.open(QuaZip::mdUnzip));
    int entry = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        if (zip.getCurrentFileName() == QLatin1String("ComicInfo.xml"))
            continue;
        QuaZipFile file(&zip);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QImage::fromData(file.readAll()).size(), expected.value(entry++));
    }
    QCOMPARE(entry, expected.size());
    for (int i = 1; i < 1 + forecast.sizes.size(); ++i)
        QVERIFY(expected.at(i).height() <= 1000);

    // What the report says: the strip's size on its first tile, a cut
    // through art on the tile it falls in.
    QHash<int, QString> notes;
    for (const BookBuild::PageNote &note : build.pageNotes())
        notes.insert(note.row, note.text);
    QVERIFY2(notes.value(1).contains(
                 QStringLiteral("of 5 pages is cut into %1").arg(forecast.sizes.size())),
             qPrintable(notes.value(1)));
    for (const LongStrip::Cut &cut : forecast.cuts) {
        if (cut.throughArt)
            QVERIFY(notes.value(1 + cut.tile).contains(QStringLiteral("row %1").arg(cut.row)));
    }
    QVERIFY(!notes.contains(6) && !notes.contains(7));
}

// A tile cut short is named, by the forecast and by the build: the build
// fails on it, or leaves it out when told to and joins the others, as the
// forecast says it will.
void tst_LongStrip::unreadableTileIsNamed()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    QVector<PageLocation> tiles;
    for (int tile = 0; tile < 3; ++tile) {
        const QString file = dir.filePath(QStringLiteral("%1.png").arg(tile));
        QVERIFY(drawWebtoonTile(2, 300, 2000, tile).save(file));
        pages.append({tile, PageLocation(file)});
        tiles << PageLocation(file);
    }
    QFile cut(tiles.at(1).file());
    QVERIFY(cut.resize(cut.size() / 2));
    PageOptions options;
    options.CutLongStrips = true;
    options.StripHeight = 800;
    const LongStrip::Forecast forecast = LongStrip::forecast(
        pages, LongStrip::runsIn(pages, options.PdfResolution, 2).value(0), options, 2);
    QVERIFY(forecast.errors.at(0).isEmpty() && forecast.errors.at(2).isEmpty());
    QVERIFY(!forecast.errors.at(1).isEmpty());
    int rows = 0;
    for (const QSize &size : forecast.sizes)
        rows += size.height();
    QCOMPARE(rows, 4000);

    BookBuild failing(dir.filePath(QStringLiteral("failing.cbz")), pages, options);
    QCOMPARE(failing.run(), BookBuild::Failed);
    QVERIFY2(failing.errorString().contains(QStringLiteral("Page 1.png cannot be read")),
             qPrintable(failing.errorString()));
    QVERIFY(failing.failedOnUnreadablePages());
    QVERIFY(!QFile::exists(failing.fileName()));

    BookBuild build(dir.filePath(QStringLiteral("book.cbz")), pages, options);
    build.setUnreadablePagesLeftOut(true);
    QCOMPARE(build.run(), BookBuild::Done);
    QCOMPARE(build.leftOutRows(), QVector<int>{1});
    QCOMPARE(build.entryCount(), forecast.sizes.size());
}

// A page that fails the book stops a strip being made beside it, which
// gives no reason of its own: the report names the page at fault alone.
void tst_LongStrip::anotherPageFailingStopsTheStrip()
{
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    QFile damaged(dir.filePath(QStringLiteral("0.png")));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("\x89PNG\r\n\x1a\n") == 8);
    damaged.close();
    pages.append({0, PageLocation(damaged.fileName())});
    for (int tile = 0; tile < 4; ++tile) {
        const QString file = dir.filePath(QStringLiteral("%1.png").arg(tile + 1));
        QVERIFY(drawWebtoonTile(4, 600, 6000, tile).save(file));
        pages.append({tile + 1, PageLocation(file)});
    }
    PageOptions options;
    options.CutLongStrips = true;
    options.StripHeight = 400;
    BookBuild build(dir.filePath(QStringLiteral("book.cbz")), pages, options);
    build.setThreadCount(2);
    QCOMPARE(build.run(), BookBuild::Failed);
    QCOMPARE(build.errorStrings().size(), 1);
    QVERIFY2(build.errorString().startsWith(QStringLiteral("Page 0.png cannot be read")),
             qPrintable(build.errorString()));
}

void tst_LongStrip::devicePresetsCutStrips_data()
{
    QTest::addColumn<bool>("stripsOff"); // turned off after the preset
    QTest::newRow("a device preset") << false;
    QTest::newRow("a device preset, long strips turned off") << true;
}

// A webtoon chapter under a screen's preset is cut into pages as wide as
// the screen, not fitted into slivers; turned off, each sliver is named.
void tst_LongStrip::devicePresetsCutStrips()
{
    QFETCH(bool, stripsOff);
    QTemporaryDir dir;
    QVector<BuildPage> pages;
    for (int tile = 0; tile < 3; ++tile) {
        const QString file = dir.filePath(QStringLiteral("%1.png").arg(tile));
        QVERIFY(drawWebtoonTile(3, 400, 3200, tile).save(file));
        pages.append({tile, PageLocation(file)});
    }
    BookOptions options;
    for (const BookPreset &preset : BookPreset::builtIns()) {
        if (preset.name() == QLatin1String("kobo-libra-colour"))
            options = preset.appliedTo(options);
    }
    QVERIFY(options.pages.CutLongStrips);
    options.pages.CutLongStrips = !stripsOff;
    BookBuild build(dir.filePath("book.cbz"), pages, options.pages);
    QCOMPARE(build.run(), BookBuild::Done);
    const QList<QByteArray> entries = archiveData(dir.filePath("book.cbz"));
    QVERIFY(!entries.isEmpty());
    for (const QByteArray &entry : entries) {
        const QSize size = QImage::fromData(entry).size();
        QVERIFY(size.height() <= 1680);
        if (stripsOff)
            QVERIFY(size.width() * 2 < 1264);
        else
            QCOMPARE(size.width(), 1264);
    }
    int named = 0;
    for (const BookBuild::PageNote &note : build.pageNotes())
        named += note.text.contains(QLatin1String("less than half the screen's width"));
    QCOMPARE(named, stripsOff ? pages.size() : 0);
}

QTEST_MAIN(tst_LongStrip)
#include "tst_longstrip.moc"
