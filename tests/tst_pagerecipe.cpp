#include "making/pagerecipe.h"

#include <QPainter>
#include <QtTest>

Q_DECLARE_METATYPE(PageOptions)
Q_DECLARE_METATYPE(PageFacts)
Q_DECLARE_METATYPE(PageRecipe::Route)

namespace {
PageFacts jpeg(int width, int height, QImageIOHandler::Transformations turn = {})
{
    JpegLayout layout;
    layout.blockGrid = QSize(16, 16);
    return {QSize(width, height), "jpeg", layout, turn};
}

PageFacts picture(const QByteArray &format, int width, int height)
{
    return {QSize(width, height), format, JpegLayout(), {}};
}

PageOptions options(const std::function<void(PageOptions &)> &set)
{
    PageOptions o;
    set(o);
    return o;
}
} // namespace

// Which way a page goes, what its entries are called and how large they are,
// decided without a pixel.
namespace {
QList<QSize> sizesOf(const QList<PagePart> &parts)
{
    QList<QSize> sizes;
    for (const PagePart &part : parts)
        sizes << part.size;
    return sizes;
}
} // namespace

class tst_PageRecipe : public QObject
{
    Q_OBJECT

private slots:
    void decidesBeforeAnyPixel_data();
    void decidesBeforeAnyPixel();
    void trimIsFoundOnThePicture();
};

void tst_PageRecipe::decidesBeforeAnyPixel_data()
{
    QTest::addColumn<PageFacts>("facts");
    QTest::addColumn<PageOptions>("options");
    QTest::addColumn<PageTreatment>("own");
    QTest::addColumn<PageRecipe::Route>("route");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<bool>("saysWhyEncoded");

    const PageTreatment book;
    PageTreatment turned;
    turned.rotation = 90;
    PageTreatment neverCut;
    neverCut.cut = PageTreatment::NeverCut;
    const auto keep = options([](PageOptions &o) { o.KeepUnchangedPages = true; });
    const auto split = options([](PageOptions &o) {
        o.ImageCutDoublePages = true;
        o.ImageCutOnlyWide = true;
    });
    const auto lossless = options([](PageOptions &o) {
        o.LosslessCuts = true;
        o.ImageCutBorder = true;
        o.ImageCutBorderNumber = 20;
    });

    QTest::newRow("a page as it is, encoded")
        << jpeg(600, 900) << PageOptions() << book << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{600, 900}} << false;
    QTest::newRow("kept: a PNG under its own name")
        << picture("png", 600, 900) << keep << book << PageRecipe::Kept << "png"
        << QList<QSize>{{600, 900}} << false;
    QTest::newRow("not kept: a TIFF")
        << picture("tiff", 600, 900) << keep << book << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{600, 900}} << false;
    QTest::newRow("not kept: turned by its own treatment")
        << jpeg(600, 900) << keep << turned << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{900, 600}} << false;
    QTest::newRow("not kept: every page made grey")
        << jpeg(600, 900) << options([](PageOptions &o) {
               o.KeepUnchangedPages = true;
               o.PageGrey = PageOptions::GreyEveryPage;
           })
        << book << PageRecipe::Encoded << "jpg" << QList<QSize>{{600, 900}} << false;
    QTest::newRow("a spread cut, right half first")
        << jpeg(1200, 900) << split << book << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{600, 900}, {601, 900}} << false;
    QTest::newRow("a single page of that book is not cut")
        << jpeg(600, 900) << split << book << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{600, 900}} << false;
    QTest::newRow("a spread told never to be cut")
        << jpeg(1200, 900) << split << neverCut << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{1200, 900}} << false;
    QTest::newRow("fitted halves, in WebP")
        << picture("png", 1200, 900) << options([](PageOptions &o) {
               o.ImageCutDoublePages = true;
               o.ImageResize = true;
               o.ImageResizeMode = PageOptions::ResizeToFit;
               o.ResizeImageWidth = 300;
               o.ResizeImageHeight = 300;
               o.PageFormat = PageOptions::WebpPages;
           })
        << book << PageRecipe::Encoded << "webp" << QList<QSize>{{200, 300}, {200, 300}} << false;
    QTest::newRow("a border that leaves nothing") << jpeg(30, 30) << options([](PageOptions &o) {
        o.ImageCutBorder = true;
        o.ImageCutBorderNumber = 15;
    }) << book << PageRecipe::Encoded << "jpg" << QList<QSize>{QSize()}
                                                  << false;
    // The left and top edges move back onto the 16-pixel grid.
    QTest::newRow("cut on its blocks")
        << jpeg(600, 900) << lossless << book << PageRecipe::CutOnBlocks << "jpg"
        << QList<QSize>{{564, 864}} << false;
    QTest::newRow("cut on its blocks, in a WebP book")
        << jpeg(600, 900) << options([&](PageOptions &o) {
               o = lossless;
               o.PageFormat = PageOptions::WebpPages;
           })
        << book << PageRecipe::CutOnBlocks << "jpg" << QList<QSize>{{564, 864}} << false;
    QTest::newRow("a PNG cannot be cut on blocks, and it says why")
        << picture("png", 600, 900) << lossless << book << PageRecipe::Encoded << "jpg"
        << QList<QSize>{{560, 860}} << true;
    QTest::newRow("nothing to cut: no word")
        << picture("png", 600, 900) << options([](PageOptions &o) { o.LosslessCuts = true; })
        << book << PageRecipe::Encoded << "jpg" << QList<QSize>{{600, 900}} << false;
    QTest::newRow("kept rather than cut when nothing changes")
        << jpeg(600, 900) << options([](PageOptions &o) {
               o.LosslessCuts = true;
               o.KeepUnchangedPages = true;
           })
        << book << PageRecipe::Kept << "jpg" << QList<QSize>{{600, 900}} << false;
}

void tst_PageRecipe::decidesBeforeAnyPixel()
{
    QFETCH(PageFacts, facts);
    QFETCH(PageOptions, options);
    QFETCH(PageTreatment, own);
    QFETCH(PageRecipe::Route, route);
    QFETCH(QString, suffix);
    QFETCH(QList<QSize>, sizes);
    QFETCH(bool, saysWhyEncoded);

    const PageRecipe recipe(facts, options, own);
    QCOMPARE(recipe.route(), route);
    QCOMPARE(recipe.entrySuffix(), suffix);
    QCOMPARE(sizesOf(recipe.parts()), sizes);
    QCOMPARE(!recipe.encodedWhy().isEmpty(), saysWhyEncoded);
    QVERIFY(!recipe.needsPixels());
}

// The margins are found on the picture, reduced or not, within the border,
// and the parts are cut from what is left.
void tst_PageRecipe::trimIsFoundOnThePicture()
{
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).fillRect(QRect(40, 30, 320, 240), Qt::black);
    PageOptions options;
    options.ImageTrimMargins = true;
    options.ImageCutDoublePages = true;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 10;
    const PageRecipe recipe({page.size(), "png", JpegLayout(), {}}, options);
    QVERIFY(recipe.needsPixels());

    const QRect whole = recipe.trimmedRect(page);
    QCOMPARE(whole, QRect(40, 30, 320, 240));
    QCOMPARE(sizesOf(recipe.parts(whole)), (QList<QSize>{{160, 240}, {161, 240}}));
    // What the build makes of the same picture.
    QList<QSize> made;
    for (const PagePart &part : recipe.carryOut(page))
        made << part.picture.size();
    QCOMPARE(made, sizesOf(recipe.parts(whole)));
    // The preview's quarter-size picture finds the same margins, measured
    // back, within one of its pixels.
    const QRect reduced = recipe.trimmedRect(page.scaled(100, 75));
    for (const auto edge : {&QRect::left, &QRect::top, &QRect::right, &QRect::bottom})
        QVERIFY2(qAbs((reduced.*edge)() - (whole.*edge)()) <= 4,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(reduced.x())
                                .arg(reduced.y())
                                .arg(reduced.width())
                                .arg(reduced.height())));
}

QTEST_MAIN(tst_PageRecipe)
#include "tst_pagerecipe.moc"
