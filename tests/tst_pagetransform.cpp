#include "cbz/pagetransform.h"
#include "testsupport.h"

#include <QBuffer>
#include <QImageReader>

namespace {
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
} // namespace

using TestSupport::jpegSize;

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
    const QList<QImage> pages = transformPageImages(image, options);
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

QUIREVALE_TEST_MAIN(tst_PageTransform)
#include "tst_pagetransform.moc"
