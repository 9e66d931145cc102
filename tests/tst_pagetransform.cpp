#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "testsupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace {
// The pages a picture becomes, as the build makes them from its pixels.
QList<QImage> pagesOf(const QImage &picture, const PageOptions &options,
                      const PageTreatment &own = PageTreatment())
{
    QList<QImage> pages;
    for (const PagePart &part : PageRecipe::ofPicture(picture, options, own).carryOut(picture))
        pages << part.picture;
    return pages;
}

// Every pixel tells where it came from: red and green hold the column,
// blue the row, so a copy off by one column or row is caught exactly.
QImage coordinateImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 0xff, x >> 8, y & 0xff);
    }
    return image;
}

int columnOf(QRgb pixel)
{
    return qRed(pixel) | (qGreen(pixel) << 8);
}
// A page with plain margins of a given colour round a drawing, the scanner's
// noise of the given amplitude over all of it.
QImage marginedPage(const QColor &margin, const QRect &drawing, int noise)
{
    QImage page(400, 600, QImage::Format_RGB32);
    page.fill(margin);
    {
        QPainter painter(&page);
        painter.fillRect(drawing, QColor(250, 240, 200));
        painter.setPen(QPen(Qt::darkBlue, 3));
        painter.drawRect(drawing.adjusted(1, 1, -2, -2));
    }
    QRandomGenerator random(7);
    for (int y = 0; noise > 0 && y < page.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const int n = int(random.bounded(2 * noise + 1)) - noise;
            line[x] = qRgb(qBound(0, qRed(line[x]) + n, 255), qBound(0, qGreen(line[x]) + n, 255),
                           qBound(0, qBlue(line[x]) + n, 255));
        }
    }
    return page;
}

// A separable Lanczos (a = 3) scale, the usual reference for a resize.
QImage lanczos(const QImage &source, const QSize &size)
{
    const auto weights = [](int from, int to) {
        QVector<QVector<QPair<int, double>>> taps(to);
        const double scale = double(from) / to, support = 3 * scale;
        for (int i = 0; i < to; ++i) {
            const double centre = (i + 0.5) * scale - 0.5;
            double sum = 0;
            for (int j = int(std::floor(centre - support)); j <= int(std::ceil(centre + support));
                 ++j) {
                const double x = (j - centre) / scale;
                double w =
                    x == 0 ? 1
                           : (std::abs(x) < 3 ? 3 * std::sin(M_PI * x) * std::sin(M_PI * x / 3) /
                                                    (M_PI * M_PI * x * x)
                                              : 0);
                if (w == 0)
                    continue;
                taps[i].append({qBound(0, j, from - 1), w});
                sum += w;
            }
            for (auto &tap : taps[i])
                tap.second /= sum;
        }
        return taps;
    };
    const QImage grey = source.convertToFormat(QImage::Format_Grayscale8);
    const auto across = weights(grey.width(), size.width());
    const auto down = weights(grey.height(), size.height());
    QVector<double> rows(size.width() * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            double v = 0;
            for (const auto &tap : across[x])
                v += tap.second * grey.constScanLine(y)[tap.first];
            rows[y * size.width() + x] = v;
        }
    QImage out(size, QImage::Format_Grayscale8);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            double v = 0;
            for (const auto &tap : down[y])
                v += tap.second * rows[tap.first * size.width() + x];
            out.scanLine(y)[x] = uchar(qBound(0.0, v + 0.5, 255.0));
        }
    return out;
}

double psnr(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage y = b.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const double d = x.constScanLine(row)[col] - y.constScanLine(row)[col];
            sum += d * d;
        }
    const double mse = sum / (x.width() * x.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}
} // namespace

using TestSupport::jpegSize;

Q_DECLARE_METATYPE(PageOptions)

class tst_PageTransform : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void emptyPages_data();
    void emptyPages();
    void encodesEveryPage();
    void qualityReachesTheEncoder();
    void booksAsTheyAre_data();
    void booksAsTheyAre();
    void turnsAreExact();
    void plainMargins_data();
    void plainMargins();
    void smoothFitIsCloseToLanczos();
    void greyPages_data();
    void greyPages();
    void webpAsAsked_data();
    void webpAsAsked();
};

void tst_PageTransform::geometry_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<int>("border");   // -1: no border cut
    QTest::addColumn<int>("cutPoint"); // 0: no split
    QTest::addColumn<bool>("firstRight");
    QTest::addColumn<QSize>("resize"); // empty: keep the size
    // For each output page: size, and the source column and row of its top-left pixel.
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QList<QPoint>>("origins");

    QTest::newRow("untouched") << QSize(300, 200) << -1 << 0 << true << QSize()
                               << QList<QSize>{{300, 200}} << QList<QPoint>{{0, 0}};
    QTest::newRow("border 10 on 1000x800") << QSize(1000, 800) << 10 << 0 << true << QSize()
                                           << QList<QSize>{{980, 780}} << QList<QPoint>{{10, 10}};
    QTest::newRow("border 0 keeps the page") << QSize(1000, 800) << 0 << 0 << true << QSize()
                                             << QList<QSize>{{1000, 800}} << QList<QPoint>{{0, 0}};
    QTest::newRow("split 50 of 1000, right first")
        << QSize(1000, 800) << -1 << 50 << true << QSize() << QList<QSize>{{500, 800}, {501, 800}}
        << QList<QPoint>{{500, 0}, {0, 0}};
    QTest::newRow("split 50 of 1000, left first")
        << QSize(1000, 800) << -1 << 50 << false << QSize() << QList<QSize>{{501, 800}, {500, 800}}
        << QList<QPoint>{{0, 0}, {500, 0}};
    QTest::newRow("split 50 of 1001 shares column 500")
        << QSize(1001, 700) << -1 << 50 << false << QSize() << QList<QSize>{{501, 700}, {501, 700}}
        << QList<QPoint>{{0, 0}, {500, 0}};
    QTest::newRow("split 33 of 1015 truncates to 334")
        << QSize(1015, 600) << -1 << 33 << false << QSize() << QList<QSize>{{335, 600}, {681, 600}}
        << QList<QPoint>{{0, 0}, {334, 0}};
    QTest::newRow("border 10 then split 50")
        << QSize(1000, 800) << 10 << 50 << false << QSize() << QList<QSize>{{491, 780}, {490, 780}}
        << QList<QPoint>{{10, 10}, {500, 10}};
    QTest::newRow("split 80 of 2048, wide columns")
        << QSize(2048, 100) << -1 << 80 << false << QSize() << QList<QSize>{{1639, 100}, {410, 100}}
        << QList<QPoint>{{0, 0}, {1638, 0}};
    QTest::newRow("resize both halves")
        << QSize(1000, 800) << -1 << 30 << true << QSize(600, 800)
        << QList<QSize>{{600, 800}, {600, 800}} << QList<QPoint>{{300, 0}, {0, 0}};
    QTest::newRow("resize whole page") << QSize(1000, 800) << 5 << 0 << true << QSize(2000, 1600)
                                       << QList<QSize>{{2000, 1600}} << QList<QPoint>{{5, 5}};
}

void tst_PageTransform::geometry()
{
    QFETCH(QSize, source);
    QFETCH(int, border);
    QFETCH(int, cutPoint);
    QFETCH(bool, firstRight);
    QFETCH(QSize, resize);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QList<QPoint>, origins);

    PageOptions options;
    options.ImageCutBorder = border >= 0;
    options.ImageCutBorderNumber = qMax(border, 0);
    options.ImageCutDoublePages = cutPoint > 0;
    options.ImageCutPointNumber = cutPoint > 0 ? cutPoint : 50;
    options.ImageCutFirstPageRight = firstRight;
    options.ImageResize = resize.isValid();
    if (resize.isValid()) {
        options.ResizeImageWidth = resize.width();
        options.ResizeImageHeight = resize.height();
    }

    const QImage image = coordinateImage(source.width(), source.height());
    const QList<QImage> pages = pagesOf(image, options);
    QCOMPARE(pages.size(), sizes.size());
    for (int i = 0; i < pages.size(); ++i) {
        const QImage &page = pages.at(i);
        QCOMPARE(page.size(), sizes.at(i));
        const QRgb topLeft = page.pixel(0, 0);
        QCOMPARE(columnOf(topLeft), origins.at(i).x());
        QCOMPARE(qBlue(topLeft), origins.at(i).y() & 0xff);
        if (resize.isValid())
            continue;
        // Without scaling every pixel is a straight copy: check the far corner too.
        const QRgb bottomRight = page.pixel(page.width() - 1, page.height() - 1);
        QCOMPARE(columnOf(bottomRight), origins.at(i).x() + page.width() - 1);
        QCOMPARE(qBlue(bottomRight), (origins.at(i).y() + page.height() - 1) & 0xff);
    }
}

void tst_PageTransform::emptyPages_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<int>("border");
    QTest::addColumn<bool>("split");
    QTest::newRow("600 on 1000x800") << QSize(1000, 800) << 600 << false;
    QTest::newRow("600 on 1000x800, split") << QSize(1000, 800) << 600 << true;
    QTest::newRow("exactly half of a square") << QSize(10, 10) << 5 << false;
    QTest::newRow("exactly half the height") << QSize(100, 10) << 5 << true;
}

void tst_PageTransform::emptyPages()
{
    QFETCH(QSize, source);
    QFETCH(int, border);
    QFETCH(bool, split);

    PageOptions options;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = border;
    options.ImageCutDoublePages = split;
    options.ImageResize = true; // a null page must stay null, not be scaled
    const QList<QByteArray> pages =
        TransformPage(coordinateImage(source.width(), source.height()), options);
    QCOMPARE(pages.size(), split ? 2 : 1);
    for (const QByteArray &page : pages)
        QVERIFY(page.isEmpty());
}

void tst_PageTransform::encodesEveryPage()
{
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.ImageCutPointNumber = 40;
    options.ImageCutFirstPageRight = true;
    const QList<QByteArray> pages = TransformPage(coordinateImage(500, 300), options);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages.at(0).startsWith("\xff\xd8"));
    QCOMPARE(jpegSize(pages.at(0)), QSize(300, 300));
    QCOMPARE(jpegSize(pages.at(1)), QSize(201, 300));
    QVERIFY(encodeJpeg(QImage(), 90).isEmpty());
}

void tst_PageTransform::qualityReachesTheEncoder()
{
    const QImage image = coordinateImage(256, 256);
    QMap<int, QByteArray> files;
    for (int quality : {0, 50, 100}) {
        PageOptions options;
        options.ImageQuality = quality;
        files[quality] = TransformPage(image, options).value(0);
        // The same as asking the encoder directly with that quality.
        QCOMPARE(files[quality], encodeJpeg(image, quality));
    }
    QVERIFY(files[0].size() < files[50].size());
    QVERIFY(files[50].size() < files[100].size());
    QCOMPARE(jpegSize(files[0]), QSize(256, 256));
}

// Real books: single pages with spreads among them, a cover with another
// border, a page scanned sideways; fitted sizes.
void tst_PageTransform::booksAsTheyAre_data()
{
    QTest::addColumn<QSize>("page");
    QTest::addColumn<PageOptions>("options");
    QTest::addColumn<PageTreatment>("own");
    QTest::addColumn<QList<QSize>>("made");
    PageOptions cut;
    cut.ImageCutDoublePages = true;
    PageOptions wideOnly = cut;
    wideOnly.ImageCutOnlyWide = true;
    PageOptions bordered;
    bordered.ImageCutBorder = true;
    bordered.ImageCutBorderNumber = 10;
    PageOptions fit;
    fit.ImageResize = true;
    fit.ImageResizeMode = PageOptions::ResizeToFit;
    fit.ResizeImageWidth = 300;
    fit.ResizeImageHeight = 400;
    PageOptions exact = fit;
    exact.ImageResizeMode = PageOptions::ResizeExactly;
    PageTreatment turned, never, always, noBorder, ownBorder;
    turned.rotation = 90;
    never.cut = PageTreatment::NeverCut;
    always.cut = PageTreatment::AlwaysCut;
    noBorder.border = PageTreatment::NoBorder;
    ownBorder.setOwnBorder(30);
    const PageTreatment book;
    const QSize single(600, 900), spread(1200, 900);
    QTest::newRow("every page cut, as before")
        << single << cut << book << QList<QSize>{{300, 900}, {301, 900}};
    QTest::newRow("only wide: a single page whole")
        << single << wideOnly << book << QList<QSize>{single};
    QTest::newRow("only wide: a spread cut")
        << spread << wideOnly << book << QList<QSize>{{600, 900}, {601, 900}};
    QTest::newRow("only wide: a single page turned is wide")
        << single << wideOnly << turned << QList<QSize>{{450, 600}, {451, 600}};
    QTest::newRow("a spread never cut") << spread << cut << never << QList<QSize>{spread};
    QTest::newRow("a single page always cut, book not cutting")
        << single << PageOptions() << always << QList<QSize>{{300, 900}, {301, 900}};
    QTest::newRow("turned sideways")
        << single << PageOptions() << turned << QList<QSize>{{900, 600}};
    QTest::newRow("a cover without the book's border")
        << single << bordered << noBorder << QList<QSize>{single};
    QTest::newRow("a border of its own")
        << single << bordered << ownBorder << QList<QSize>{{540, 840}};
    QTest::newRow("its own border, book without one")
        << single << PageOptions() << ownBorder << QList<QSize>{{540, 840}};
    PageTreatment sides;
    sides.setOwnBorder(QMargins(10, 20, 30, 40));
    QTest::newRow("a border of each side")
        << single << bordered << sides << QList<QSize>{{560, 840}};
    QTest::newRow("a border of each side, then cut")
        << single << cut << sides << QList<QSize>{{280, 840}, {281, 840}};
    QTest::newRow("fit: proportions kept") << single << fit << book << QList<QSize>{{267, 400}};
    QTest::newRow("fit, never enlarged: a small page stays") << QSize(150, 100) << [&] {
        PageOptions o = fit;
        o.ImageResizeNoEnlarge = true;
        return o;
    }() << book << QList<QSize>{{150, 100}};
    QTest::newRow("fit: a small page grows to the box")
        << QSize(150, 100) << fit << book << QList<QSize>{{300, 200}};
    QTest::newRow("fit: a spread's halves") << spread << [&] {
        PageOptions o = fit;
        o.ImageCutDoublePages = true;
        return o;
    }() << book << QList<QSize>{{267, 400}, {267, 400}};
    QTest::newRow("exactly: stretched as before")
        << single << exact << book << QList<QSize>{{300, 400}};
    QTest::newRow("fit: a sliver comes to nothing")
        << QSize(3000, 2) << fit << book << QList<QSize>{QSize()};
    QTest::newRow("own border eats the page")
        << QSize(50, 50) << PageOptions() << ownBorder << QList<QSize>{QSize()};
}

void tst_PageTransform::booksAsTheyAre()
{
    QFETCH(QSize, page);
    QFETCH(PageOptions, options);
    QFETCH(PageTreatment, own);
    QFETCH(QList<QSize>, made);
    QList<QSize> sizes;
    for (const QImage &out : pagesOf(coordinateImage(page.width(), page.height()), options, own))
        sizes << (out.isNull() ? QSize() : out.size());
    QCOMPARE(sizes, made);
}

// A quarter turn moves pixels, never blends them.
void tst_PageTransform::turnsAreExact()
{
    const QImage page = coordinateImage(40, 30);
    PageTreatment own;
    own.rotation = 90;
    const QImage right = pagesOf(page, PageOptions(), own).value(0);
    QCOMPARE(right.size(), QSize(30, 40));
    QCOMPARE(right.pixel(29, 0), page.pixel(0, 0));   // top left goes to top right
    QCOMPARE(right.pixel(0, 39), page.pixel(39, 29)); // bottom right to bottom left
    own.rotation = 270;
    const QImage left = pagesOf(page, PageOptions(), own).value(0);
    QCOMPARE(left.pixel(0, 39), page.pixel(0, 0));
}

void tst_PageTransform::plainMargins_data()
{
    QTest::addColumn<QImage>("page");
    QTest::addColumn<QRect>("kept");
    const QRect drawing(60, 90, 280, 420);
    QTest::newRow("white paper") << marginedPage(Qt::white, drawing, 0) << drawing;
    QTest::newRow("black scanner bed") << marginedPage(Qt::black, drawing, 0) << drawing;
    QTest::newRow("noisy margins") << marginedPage(QColor(235, 235, 230), drawing, 8) << drawing;
    QTest::newRow("a margin wider than a third stops at a third")
        << marginedPage(Qt::white, QRect(180, 90, 160, 420), 0) << QRect(133, 90, 207, 420);
    QImage blank(400, 600, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QTest::newRow("a blank page stays whole") << blank << blank.rect();
    QImage touching = marginedPage(Qt::white, drawing, 0);
    QPainter(&touching).fillRect(0, 300, 400, 2, Qt::red); // a line across the page
    QTest::newRow("a drawing out to the edge is not cut into")
        << touching << QRect(0, 90, 400, 420);
}

void tst_PageTransform::plainMargins()
{
    QFETCH(QImage, page);
    QFETCH(QRect, kept);
    QCOMPARE(plainMarginsInside(page, PageOptions::TrimTolerance.initial), kept);
    PageOptions options;
    options.ImageTrimMargins = true;
    QCOMPARE(pagesOf(page, options).value(0).size(), kept.size());
}

// Line art at half size: filtered scaling must come close to a Lanczos
// reference; the fast scale drops whole lines.
void tst_PageTransform::smoothFitIsCloseToLanczos()
{
    QImage art(1200, 1800, QImage::Format_RGB32);
    art.fill(Qt::white);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 60; ++i) {
            painter.setPen(QPen(Qt::black, 1 + i % 3));
            painter.drawLine(0, i * 30, 1200, 1800 - i * 25);
            painter.drawEllipse(QPoint(600, 900), 20 * i, 15 * i);
        }
    }
    PageOptions options;
    options.ImageResize = true;
    options.ImageResizeMode = PageOptions::ResizeToFit;
    options.ResizeImageWidth = 600;
    options.ResizeImageHeight = 900;
    const QImage reference = lanczos(art, QSize(600, 900));
    options.ImageResizeSmooth = true;
    const double smooth = psnr(pagesOf(art, options).value(0), reference);
    options.ImageResizeSmooth = false;
    const double fast = psnr(pagesOf(art, options).value(0), reference);
    qInfo("PSNR against Lanczos at half size: smooth %.1f dB, fast %.1f dB", smooth, fast);
    QVERIFY2(smooth >= 30, qPrintable(QString::number(smooth)));
    QVERIFY(smooth > fast);
}

// Colour, grey and almost grey pages; grey when asked, one channel when written.
void tst_PageTransform::greyPages_data()
{
    QTest::addColumn<QImage>("page");
    QTest::addColumn<bool>("noColour");
    const auto tinted = [](int red, int green, int blue) {
        QImage page = coordinateImage(60, 40);
        for (int y = 0; y < page.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(page.scanLine(y));
            for (int x = 0; x < page.width(); ++x) {
                const int v = (x * 4 + y) % 200;
                line[x] = qRgb(v + red, v + green, v + blue);
            }
        }
        return page;
    };
    QTest::newRow("grey") << tinted(0, 0, 0) << true;
    QTest::newRow("almost grey (a scan's tint)") << tinted(3, 0, 5) << true;
    QTest::newRow("sepia") << tinted(40, 20, 0) << false;
    QTest::newRow("colour") << coordinateImage(60, 40) << false;
    QTest::newRow("one channel already")
        << tinted(0, 0, 0).convertToFormat(QImage::Format_Grayscale8) << true;
}

void tst_PageTransform::greyPages()
{
    QFETCH(QImage, page);
    QFETCH(bool, noColour);
    QCOMPARE(hasNoColour(page, PageOptions::GreyTolerance), noColour);
    PageOptions options;
    options.ImageQuality = 90;
    const auto channels = [&options](const QImage &source) {
        QImage written;
        const PagePart part = PageRecipe::ofPicture(source, options).carryOut(source).value(0);
        written.loadFromData(encodePage(source, options, part.grey), "jpg");
        // Its light is the page's own.
        const QPoint at(31, 17);
        const QRgb shown = written.pixel(at), was = source.pixel(at);
        if (qAbs(qGray(shown) - qGray(was)) > 6)
            return -1;
        return written.format() == QImage::Format_Grayscale8 ? 1 : 3; // one component read
    };
    QCOMPARE(channels(page.convertToFormat(QImage::Format_RGB32)), 3); // as ever, by default
    options.PageGrey = PageOptions::GreyWithoutColour;
    QCOMPARE(channels(page.convertToFormat(QImage::Format_RGB32)), noColour ? 1 : 3);
    options.PageGrey = PageOptions::GreyEveryPage;
    QCOMPARE(channels(page.convertToFormat(QImage::Format_RGB32)), 1);
}

void tst_PageTransform::webpAsAsked_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("quality");
    QTest::addColumn<QByteArray>("chunk"); // VP8: lossy, VP8L: lossless
    QTest::newRow("lossy at 80") << int(PageOptions::WebpPages) << 80 << QByteArray("VP8 ");
    QTest::newRow("lossy at 100 too") << int(PageOptions::WebpPages) << 100 << QByteArray("VP8 ");
    QTest::newRow("lossless when asked")
        << int(PageOptions::WebpLosslessPages) << 100 << QByteArray("VP8L");
    QTest::newRow("lossless, trying less hard")
        << int(PageOptions::WebpLosslessPages) << 0 << QByteArray("VP8L");
}

// WebP pages are what they say: lossy at any quality, lossless (every pixel
// kept) only when asked.
void tst_PageTransform::webpAsAsked()
{
    QFETCH(int, format);
    QFETCH(int, quality);
    QFETCH(QByteArray, chunk);
    const QImage page = TestSupport::noiseImage(120, 90);
    PageOptions options;
    options.PageFormat = PageOptions::Format(format);
    options.ImageQuality = quality;
    QString error;
    const QByteArray webp = encodePage(page, options, false, &error);
    QVERIFY2(!webp.isEmpty(), qPrintable(error));
    QCOMPARE(webp.left(4), QByteArray("RIFF"));
    QCOMPARE(webp.mid(12, 4), chunk);
    const QImage back = QImage::fromData(webp).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back.size(), page.size());
    if (chunk == "VP8L")
        QVERIFY(back == page.convertToFormat(QImage::Format_RGB32));
}

QUIREVALE_TEST_MAIN(tst_PageTransform)
#include "tst_pagetransform.moc"
