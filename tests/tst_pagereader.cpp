#include "pagereader.h"
#include "testsupport.h"

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>

#include <libdeflate.h>

using namespace TestSupport;

namespace {
QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

// Top half red, bottom half blue: a page whose missing half shows.
QImage twoColourPage(int width = 200, int height = 300)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::red);
    QPainter(&page).fillRect(0, height / 2, width, height - height / 2, Qt::blue);
    return page;
}

// A PNG header (signature and IHDR) claiming the given size; no pixels.
QByteArray pngHeaderClaiming(quint32 width, quint32 height)
{
    QByteArray png = encoded(QImage(1, 1, QImage::Format_RGB32), "png");
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = libdeflate_crc32(0, png.constData() + 12, 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}
} // namespace

class tst_PageReader : public QObject
{
    Q_OBJECT

private slots:
    void damagedPagesDoNotLoad_data();
    void damagedPagesDoNotLoad();
    void wholePagesLoad_data();
    void wholePagesLoad();
    void orientationIsApplied();
    void everyPictureOfATiff();
    void hugePagesAreRefusedUndecoded();
    void transparentAreasBecomeWhite();
    void missingFileSaysWhy();

private:
    QTemporaryDir m_dir;
};

void tst_PageReader::damagedPagesDoNotLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray jpeg = encoded(twoColourPage(), "jpg");
    const QByteArray bmp = encoded(twoColourPage(), "bmp");
    const QByteArray png = encoded(twoColourPage(), "png");
    QTest::newRow("JPEG cut in half") << jpeg.left(jpeg.size() / 2);
    QTest::newRow("JPEG without its end marker") << jpeg.left(jpeg.size() - 2);
    QTest::newRow("BMP cut in half") << bmp.left(bmp.size() / 2);
    QTest::newRow("BMP one byte short") << bmp.left(bmp.size() - 1);
    QTest::newRow("PNG cut in half") << png.left(png.size() / 2);
    QTest::newRow("PNG without its end chunk") << png.left(png.size() - 12);
    QTest::newRow("not a picture") << QByteArray("just some text, named like a page");
}

void tst_PageReader::damagedPagesDoNotLoad()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath("damaged");
    QVERIFY(writeFile(path, bytes));
    PageReader reader(path);
    QVERIFY(!reader.read());
    QVERIFY(reader.images().isEmpty());
    QVERIFY(!reader.errorString().isEmpty());
}

void tst_PageReader::wholePagesLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QImage page = twoColourPage();
    QTest::newRow("JPEG") << encoded(page, "jpg");
    QTest::newRow("JPEG with EXIF thumbnail-like data") << jpegWithOrientation(page, 1);
    QTest::newRow("JPEG with bytes after its end") << encoded(page, "jpg") + QByteArray(100, 'x');
    QTest::newRow("PNG") << encoded(page, "png");
    QTest::newRow("BMP") << encoded(page, "bmp");
    QTest::newRow("TIFF") << encoded(page, "tif");
}

void tst_PageReader::wholePagesLoad()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath("whole");
    QVERIFY(writeFile(path, bytes));
    PageReader reader(path);
    QVERIFY2(reader.read(), qPrintable(reader.errorString()));
    QCOMPARE(reader.images().size(), 1);
    const QImage image = reader.images().first();
    QCOMPARE(image.size(), QSize(200, 300));
    QVERIFY(colorNear(image.pixelColor(100, 280), Qt::blue, 40));
    // Pages checked before decoding are held as read; others are decoded from the file.
    if (reader.format() != "tiff")
        QCOMPARE(reader.fileData(), bytes);
}

void tst_PageReader::orientationIsApplied()
{
    // Red on the left, as the camera saw it; "turn 90 degrees clockwise"
    // puts the red at the top of a picture as wide as the original was high.
    QImage sideways(300, 200, QImage::Format_RGB32);
    sideways.fill(Qt::blue);
    QPainter(&sideways).fillRect(0, 0, 150, 200, Qt::red);
    const QString path = m_dir.filePath("phone.jpg");
    QVERIFY(writeFile(path, jpegWithOrientation(sideways, 6)));
    PageReader reader(path);
    QVERIFY2(reader.read(), qPrintable(reader.errorString()));
    const QImage upright = reader.images().first();
    QCOMPARE(upright.size(), QSize(200, 300));
    QVERIFY(colorNear(upright.pixelColor(100, 20), Qt::red, 40));
    QVERIFY(colorNear(upright.pixelColor(100, 280), Qt::blue, 40));
}

void tst_PageReader::everyPictureOfATiff()
{
    QList<QImage> pages;
    for (int i = 0; i < 3; ++i) {
        QImage page(100 + 10 * i, 80, QImage::Format_RGB32);
        page.fill(QColor::fromHsv(i * 100, 200, 200));
        pages << page;
    }
    const QString path = m_dir.filePath("scanner.tif");
    QVERIFY(writeFile(path, multiPageTiff(pages)));

    PageReader all(path);
    QVERIFY2(all.read(PageReader::AllPictures), qPrintable(all.errorString()));
    QCOMPARE(all.images().size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(all.images().at(i).width(), 100 + 10 * i);
        QVERIFY(colorNear(all.images().at(i).pixelColor(5, 5), pages.at(i).pixelColor(5, 5)));
    }
    PageReader first(path);
    QVERIFY(first.read(PageReader::FirstPictureOnly));
    QCOMPARE(first.images().size(), 1);
    QCOMPARE(first.images().first().width(), 100);
}

void tst_PageReader::hugePagesAreRefusedUndecoded()
{
    const QString huge = m_dir.filePath("huge.png");
    QVERIFY(writeFile(huge, pngHeaderClaiming(50000, 50000)));
    PageReader reader(huge);
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("50000 × 50000"), qPrintable(reader.errorString()));

    // Large, but a page all the same.
    QImage large(20000, 12000, QImage::Format_Grayscale8);
    large.fill(200);
    const QString fine = m_dir.filePath("large.png");
    QVERIFY(large.save(fine));
    large = QImage();
    PageReader fineReader(fine);
    QVERIFY2(fineReader.read(), qPrintable(fineReader.errorString()));
    QCOMPARE(fineReader.images().first().size(), QSize(20000, 12000));
}

void tst_PageReader::transparentAreasBecomeWhite()
{
    QImage lineArt(40, 40, QImage::Format_ARGB32);
    lineArt.fill(Qt::transparent);
    QPainter(&lineArt).fillRect(10, 0, 5, 40, Qt::black);
    const QImage page = PageReader::forEncoding(lineArt);
    QCOMPARE(page.format(), QImage::Format_RGB32);
    QCOMPARE(page.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(page.pixelColor(12, 20), QColor(Qt::black));

    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(100);
    QCOMPARE(PageReader::forEncoding(grey).pixelColor(1, 1), QColor(100, 100, 100));
}

void tst_PageReader::missingFileSaysWhy()
{
    PageReader reader(m_dir.filePath("gone.jpg"));
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("No such file"), qPrintable(reader.errorString()));
}

QUIREVALE_TEST_MAIN(tst_PageReader)
#include "tst_pagereader.moc"
