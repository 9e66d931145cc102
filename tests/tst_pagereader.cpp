#include "pages/jpegcheck.h"
#include "pages/pagereader.h"
#include "testsupport.h"
#include "wholepage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <libdeflate.h>
#include <turbojpeg.h>

using namespace TestSupport;

namespace {
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
// A drawn page: flat paper, panels, lines and lettering, different each time.
QImage drawnPage(int seed)
{
    QRandomGenerator random(quint32(seed) * 31u + 7u);
    QImage page(480, 720, QImage::Format_RGB32);
    page.fill(QColor(250, 246, 236));
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int panel = 0; panel < 6; ++panel) {
        const QRect box(20 + (panel % 2) * 225, 20 + (panel / 2) * 230, 215, 220);
        painter.setPen(QPen(Qt::black, 3));
        painter.setBrush(QColor::fromHsv(int(random.bounded(360)), 60, 230));
        painter.drawRect(box);
        painter.drawEllipse(box.adjusted(30, 40, -int(random.bounded(80)), -30));
        painter.drawText(box.adjusted(10, 10, -10, -10), QStringLiteral("PAGE %1 BAM!").arg(seed));
    }
    return page;
}

// An 8-bit run-length BMP (which Qt reads but cannot write): red rows at the
// bottom, the top row blue, ended by its end-of-bitmap pair.
QByteArray rle8Bmp(int width, int height)
{
    QByteArray pixels;
    for (int y = 0; y < height; ++y) { // bottom-up
        for (int left = width; left > 0; left -= 255)
            pixels += char(qMin(left, 255)), pixels += char(y == height - 1 ? 1 : 0);
        pixels += QByteArray("\0\0", 2); // end of line
    }
    pixels += QByteArray("\0\1", 2); // end of bitmap
    const quint32 offset = 14 + 40 + 2 * 4;
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(offset + quint32(pixels.size())) << quint32(0) << offset;
    out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << quint16(8);
    out << quint32(1) // RLE8
        << quint32(0) // no size given: the data runs to its end mark
        << qint32(2835) << qint32(2835) << quint32(2) << quint32(0);
    out << quint32(0x00ff0000)  // palette entry 0: red (B, G, R, 0)
        << quint32(0x000000ff); // palette entry 1: blue
    return file + pixels;
}
} // namespace

class tst_PageReader : public QObject
{
    Q_OBJECT

private slots:
    void damagedPagesDoNotLoad_data();
    void damagedPagesDoNotLoad();
    void aStopReachesTheCheck();
    void damagedJpegsAsLibjpegSeesThem_data();
    void damagedJpegsAsLibjpegSeesThem();
    void wholeRunLengthBmpLoads();
    void aPipeIsNotWaitedFor();
    void wholePagesLoad_data();
    void wholePagesLoad();
    void orientationIsApplied();
    void everyPictureOfATiff();
    void hugePagesAreRefusedUndecoded();
    void transparentAreasBecomeWhite();
    void missingFileSaysWhy();
    void checkedPixelsAreQtsPixels_data();
    void checkedPixelsAreQtsPixels();
    void keptBlocksAreToldToTheGate_data();
    void keptBlocksAreToldToTheGate();

private:
    QTemporaryDir m_dir;
};

void tst_PageReader::damagedPagesDoNotLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray jpeg = encoded(twoColourPage(), "jpg");
    const QByteArray bmp = encoded(twoColourPage(), "bmp");
    const QByteArray png = encoded(twoColourPage(), "png");
    const QByteArray rle = rle8Bmp(64, 48);
    const int scan = jpeg.indexOf("\xFF\xDA");
    const int frame = jpeg.indexOf("\xFF\xC0");
    QTest::newRow("JPEG cut in half") << jpeg.left(jpeg.size() / 2) << "cut short";
    QTest::newRow("JPEG without its end marker") << jpeg.left(jpeg.size() - 2) << "cut short";
    QTest::newRow("JPEG cut short, an end marker added")
        << jpeg.left(jpeg.size() * 2 / 3) + "\xFF\xD9"
        << "premature end";
    QTest::newRow("JPEG with an 8 KB hole")
        << jpeg.left(scan + 600) + jpeg.mid(scan + 600 + 8192) << "damaged";
    QTest::newRow("JPEG with a broken marker, same size")
        << QByteArray(jpeg).replace(frame, 2, "\x12\x34") << "structure is broken";
    QTest::newRow("12-bit JPEG") << QByteArray(jpeg).replace(frame + 4, 1, "\x0C")
                                 << "cannot read: Unsupported JPEG data precision 12";
    QTest::newRow("lossless JPEG") << QByteArray(jpeg).replace(frame + 1, 1, "\xC3")
                                   << "cannot read: Unsupported JPEG process";
    QTest::newRow("BMP cut in half") << bmp.left(bmp.size() / 2) << "cut short";
    QTest::newRow("BMP one byte short") << bmp.left(bmp.size() - 1) << "cut short";
    QTest::newRow("RLE BMP without its end of bitmap")
        << rle.left(rle.size() * 3 / 5) << "cut short";
    QTest::newRow("PNG cut in half") << png.left(png.size() / 2) << "cut short";
    QTest::newRow("PNG without its end chunk") << png.left(png.size() - 12) << "cut short";
    QTest::newRow("not a picture") << QByteArray("just some text, named like a page") << "format";
    QTest::newRow("an XML document")
        << QByteArray("<?xml version=\"1.0\"?><note>x</note>") << "not a picture in a format";
    QTest::newRow("an SVG that draws a file of the disk")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"9\" height=\"9\">"
                      "<image xlink:href=\"/etc/hostname\" width=\"9\" height=\"9\"/></svg>")
        << "never taken as a page";
    const QByteArray gif = TestSupport::gif(1, 64, 64);
    QTest::newRow("GIF cut in half") << gif.left(gif.size() / 2) << "cut short";
    const QByteArray webp = encoded(twoColourPage(), "webp");
    QTest::newRow("WebP cut in half") << webp.left(webp.size() / 2) << "cut short";
    QTest::newRow("JPEG with a stray marker in its data, nothing missing")
        << jpeg.left(scan + 300) + "\xFF\xC4\x7F\xFF" + jpeg.mid(scan + 300)
        << "Bogus Huffman table";
    // A progressive JPEG's last scan repeated: libjpeg decodes every copy,
    // minutes of work for a few megabytes, and the first is damage already.
    const QByteArray progressive =
        jpegSampled(twoColourPage(400, 600), TJSAMP_420, TJFLAG_PROGRESSIVE);
    const int last = progressive.lastIndexOf("\xFF\xDA");
    const QByteArray repeated = progressive.mid(last, progressive.size() - 2 - last);
    QTest::newRow("progressive JPEG repeating a scan")
        << progressive.left(progressive.size() - 2) + repeated.repeated(3) + "\xFF\xD9"
        << "Inconsistent progression";
    QTest::newRow("progressive JPEG repeating a scan 20,000 times")
        << progressive.left(progressive.size() - 2) + repeated.repeated(20000) + "\xFF\xD9"
        << "scans, more than any encoder writes";
}

// A check asked to stop gives up within a piece of the data, whatever
// libjpeg is doing, and says so.
void tst_PageReader::aStopReachesTheCheck()
{
    const QByteArray jpeg = jpegSampled(noiseImage(800, 600), TJSAMP_420, TJFLAG_PROGRESSIVE);
    const std::atomic_bool stop{true};
    QCOMPARE(JpegCheck::run(jpeg, 1 << 24, QSize(), &stop).damage, QStringLiteral("Stopped."));
    QVERIFY(!JpegCheck::readBlocks(jpeg, 1 << 24, &stop).blocks);
    const std::atomic_bool going{false};
    QVERIFY(JpegCheck::run(jpeg, 1 << 24, QSize(), &going).damage.isEmpty());
}

void tst_PageReader::damagedPagesDoNotLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath("damaged");
    QVERIFY(writeFile(path, bytes));
    WholePage reader(path);
    QVERIFY(!reader.read());
    QVERIFY(reader.images().isEmpty());
    QVERIFY2(reader.errorString().contains(reason), qPrintable(reader.errorString()));
    // Kept as it is or decoded, the page is refused alike.
    PageReader kept(path);
    QVERIFY(!kept.readWithoutDecoding());
}

// Drawn pages (flat colours, lines, text) and photos with bytes changed
// inside their compressed blocks: whatever libjpeg's own djpeg reports as
// damage, the reader must refuse, and nothing else.
void tst_PageReader::damagedJpegsAsLibjpegSeesThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        QSKIP("djpeg (libjpeg-turbo-progs) is needed to tell damaged pages");
    for (int page = 0; page < 20; ++page) {
        const QByteArray jpeg = encoded(drawnPage(page), "jpg");
        QRandomGenerator random(quint32(page) + 1);
        const int scan = jpeg.indexOf("\xFF\xDA") + 20;
        QByteArray changed = jpeg;
        const int at = scan + int(random.bounded(jpeg.size() - scan - 40));
        for (int i = 0; i < 32; ++i)
            changed[at + i] = char(random.bounded(256));
        QTest::addRow("drawn page %d, 32 bytes changed", page) << changed;
        if (page >= 8)
            continue;
        QByteArray flipped = jpeg;
        const int bit = scan * 8 + int(random.bounded((jpeg.size() - scan - 4) * 8));
        flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
        QTest::addRow("drawn page %d, one bit flipped", page) << flipped;
        QByteArray zeroed = jpeg;
        zeroed.replace(scan + (jpeg.size() - scan) / 3, 4096, QByteArray(4096, '\0'));
        QTest::addRow("drawn page %d, 4 KB zeroed", page) << zeroed.left(jpeg.size());
    }
}

void tst_PageReader::damagedJpegsAsLibjpegSeesThem()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath("changed.jpg");
    QVERIFY(writeFile(path, bytes));
    QProcess djpeg;
    djpeg.start(QStringLiteral("djpeg"),
                {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
    QVERIFY(djpeg.waitForFinished());
    const QString said = QString::fromLocal8Bit(djpeg.readAllStandardError()).trimmed();
    // djpeg reads its file in pieces, as the reader's check does; whole in
    // memory, libjpeg would overlook some bad codes.
    const bool damaged = djpeg.exitCode() != 0 || !said.isEmpty();
    WholePage reader(path);
    QVERIFY2(
        reader.read() != damaged,
        qPrintable(QStringLiteral("djpeg: '%1'; reader: '%2'").arg(said, reader.errorString())));
    PageReader kept(path);
    QCOMPARE(kept.readWithoutDecoding(), !damaged);
}

void tst_PageReader::wholeRunLengthBmpLoads()
{
    const QString path = m_dir.filePath("rle.bmp");
    QVERIFY(writeFile(path, rle8Bmp(64, 48)));
    WholePage reader(path);
    QVERIFY2(reader.read(), qPrintable(reader.errorString()));
    QCOMPARE(reader.images().first().size(), QSize(64, 48));
    QCOMPARE(reader.images().first().pixelColor(3, 47), QColor(Qt::red));
    QCOMPARE(reader.images().first().pixelColor(60, 0), QColor(Qt::blue));
}

void tst_PageReader::aPipeIsNotWaitedFor()
{
    const QString path = m_dir.filePath("pipe.jpg");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    WholePage reader(path); // would block for ever in open() or read()
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("not a regular file"), qPrintable(reader.errorString()));
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
    // From the desktop's image format plugins; empty where they are absent.
    for (const char *format : {"avif", "jxl"}) {
        const bool writable = QImageWriter::supportedImageFormats().contains(format);
        QTest::addRow("%s", format) << (writable ? encoded(page, format) : QByteArray());
    }
}

void tst_PageReader::wholePagesLoad()
{
    QFETCH(QByteArray, bytes);
    if (bytes.isEmpty())
        QSKIP("no image format plugin writes this format here");
    const QString path = m_dir.filePath("whole");
    QVERIFY(writeFile(path, bytes));
    WholePage reader(path);
    QVERIFY2(reader.read(), qPrintable(reader.errorString()));
    QCOMPARE(reader.images().size(), 1);
    const QImage image = reader.images().first();
    QCOMPARE(image.size(), QSize(200, 300));
    QVERIFY(colorNear(image.pixelColor(100, 280), Qt::blue, 40));
    // Pages checked before decoding are held as read; others are decoded from the file.
    if (reader.format() != "tiff" && !reader.fileData().isEmpty())
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
    WholePage reader(path);
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

    WholePage all(path);
    QVERIFY2(all.read(PageReader::AllPictures), qPrintable(all.errorString()));
    QCOMPARE(all.images().size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(all.images().at(i).width(), 100 + 10 * i);
        QVERIFY(colorNear(all.images().at(i).pixelColor(5, 5), pages.at(i).pixelColor(5, 5)));
    }
    WholePage first(path);
    QVERIFY(first.read(PageReader::FirstPictureOnly));
    QCOMPARE(first.images().size(), 1);
    QCOMPARE(first.images().first().width(), 100);
}

void tst_PageReader::hugePagesAreRefusedUndecoded()
{
    const QString huge = m_dir.filePath("huge.png");
    QVERIFY(writeFile(huge, pngHeaderClaiming(50000, 50000)));
    WholePage reader(huge);
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("50000 × 50000"), qPrintable(reader.errorString()));

    // Large, but a page all the same.
    QImage large(20000, 12000, QImage::Format_Grayscale8);
    large.fill(200);
    const QString fine = m_dir.filePath("large.png");
    QVERIFY(large.save(fine));
    large = QImage();
    WholePage fineReader(fine);
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
    WholePage reader(m_dir.filePath("gone.jpg"));
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("No such file"), qPrintable(reader.errorString()));
}

void tst_PageReader::checkedPixelsAreQtsPixels_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    const QImage page = noiseImage(160, 120);
    const auto written = [](const QImage &image, bool progressive, const QString &comment) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.setQuality(88);
        writer.setProgressiveScanWrite(progressive);
        if (!comment.isEmpty())
            writer.setText("Description", comment);
        writer.write(image);
        return data;
    };
    QImage inches = page;
    inches.setDotsPerMeterX(11811); // 300 dpi
    inches.setDotsPerMeterY(11811);
    QByteArray centimetres = written(inches, false, QString());
    centimetres[13] = 2; // the JFIF density's unit
    QTest::newRow("plain") << written(page, false, QString());
    QTest::newRow("300 dots per inch") << written(inches, false, QString());
    QTest::newRow("dots per centimetre") << centimetres;
    QTest::newRow("grey") << written(page.convertToFormat(QImage::Format_Grayscale8), false, "");
    QTest::newRow("progressive") << written(page, true, QString());
    QTest::newRow("a comment") << written(page, false, "scanned at home");
    QTest::newRow("turned by the camera") << withOrientation(written(page, false, QString()), 6);
}

// A page decoded by its check, once, is the page Qt's reader gives: the
// same pixels, format and resolution, and the same text; else it is decoded
// by Qt's reader after all.
void tst_PageReader::checkedPixelsAreQtsPixels()
{
    QFETCH(QByteArray, jpeg);
    const QString path = m_dir.filePath("once.jpg");
    QVERIFY(writeFile(path, jpeg));
    WholePage once(path);
    once.setWholePictureWhileChecking(true);
    WholePage twice(path);
    QVERIFY(once.read() && twice.read());
    const QImage a = once.images().first(), b = twice.images().first();
    QCOMPARE(a.format(), b.format());
    QCOMPARE(a.size(), b.size());
    QVERIFY(a == b);
    QCOMPARE(a.dotsPerMeterX(), b.dotsPerMeterX());
    QCOMPARE(a.dotsPerMeterY(), b.dotsPerMeterY());
    QCOMPARE(a.textKeys(), b.textKeys());
    QCOMPARE(a.colorSpace(), b.colorSpace());
}

void tst_PageReader::keptBlocksAreToldToTheGate_data()
{
    QTest::addColumn<int>("sampling");
    QTest::addColumn<qint64>("blockBytes"); // 128 bytes a block of 8 × 8
    // 320 × 224: 40 × 28 blocks of luma; each colour has a quarter of them
    // in 4:2:0, as many in 4:4:4.
    QTest::newRow("4:2:0") << int(TJSAMP_420) << qint64(40 * 28 + 2 * 20 * 14) * 128;
    QTest::newRow("4:4:4") << int(TJSAMP_444) << qint64(3 * 40 * 28) * 128;
}

// The coefficients a lossless cut will use are held from the check on: the
// memory gate hears of all of them, whatever the sampling.
void tst_PageReader::keptBlocksAreToldToTheGate()
{
    QFETCH(int, sampling);
    QFETCH(qint64, blockBytes);
    const QByteArray jpeg = jpegSampled(noiseImage(320, 224), sampling);
    QVERIFY(!jpeg.isEmpty());
    const QString path = m_dir.filePath("blocks.jpg");
    QVERIFY(writeFile(path, jpeg));
    PageReader reader{PageLocation(path)};
    reader.setBlocksKeptWhileChecking(true);
    qint64 told = 0;
    reader.setMemoryGate([&told](qint64 bytes, PageReader::Holding) { told += bytes; });
    QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
    const std::shared_ptr<const JpegCheck::Blocks> blocks = reader.takeJpegBlocks();
    QVERIFY(blocks);
    QCOMPARE(blocks->bytes(), blockBytes);
    QCOMPARE(told, jpeg.size() + blockBytes);
}

QUIREVALE_TEST_MAIN(tst_PageReader)
#include "tst_pagereader.moc"
