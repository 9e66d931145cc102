#include "making/bookbuild.h"
#include "making/losslesscut.h"
#include "making/pageforecast.h"
#include "pages/jpegcheck.h"
#include "testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTransform>

#include <turbojpeg.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <algorithm>

using namespace TestSupport;

Q_DECLARE_METATYPE(PageOptions)

namespace {
// Decoded with each pixel taken from its own colour samples only, so that a
// pixel depends on its own block alone and not on a neighbour that a cut
// took away.
QImage decoded(const QByteArray &jpeg)
{
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colours = 0;
    QImage image;
    if (tjDecompressHeader3(handle, reinterpret_cast<const uchar *>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling,
                            &colours) == 0) {
        image = QImage(width, height, QImage::Format_RGBX8888);
        if (tjDecompress2(handle, reinterpret_cast<const uchar *>(jpeg.constData()),
                          static_cast<unsigned long>(jpeg.size()), image.bits(), width,
                          image.bytesPerLine(), height, TJPF_RGBX, TJFLAG_FASTUPSAMPLE) != 0)
            image = QImage();
    }
    tjDestroy(handle);
    return image;
}

// The page as the usual path turns it: the camera's turn, then its own.
QImage turned(const QImage &image, QImageIOHandler::Transformations camera, int rotation)
{
    QImage out = image.mirrored(camera & QImageIOHandler::TransformationMirror,
                                camera & QImageIOHandler::TransformationFlip);
    if (camera & QImageIOHandler::TransformationRotate90)
        out = out.transformed(QTransform().rotate(90));
    return rotation ? out.transformed(QTransform().rotate(rotation)) : out;
}

// The largest difference of any channel of any pixel.
int colourDistance(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                              qAbs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

// A grey JPEG of one row of blocks, each block's DC step above the last's
// (up to 30000), written from its coefficients.
QByteArray jpegWithDcSteps(int width, int step)
{
    const QByteArray plain = jpegSampled(QImage(width, 8, QImage::Format_Grayscale8), TJSAMP_GRAY);
    jpeg_decompress_struct in;
    jpeg_error_mgr inErrors, outErrors;
    in.err = jpeg_std_error(&inErrors);
    jpeg_create_decompress(&in);
    jpeg_mem_src(&in, reinterpret_cast<const uchar *>(plain.constData()), plain.size());
    jpeg_read_header(&in, TRUE);
    jvirt_barray_ptr *blocks = jpeg_read_coefficients(&in);
    JBLOCKARRAY row =
        in.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&in), blocks[0], 0, 1, TRUE);
    for (JDIMENSION x = 0; x < in.comp_info[0].width_in_blocks; ++x)
        row[0][x][0] = JCOEF(qMin<int>(int(x) * step, 30000));
    jpeg_compress_struct out;
    out.err = jpeg_std_error(&outErrors);
    jpeg_create_compress(&out);
    uchar *written = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&out, &written, &size);
    jpeg_copy_critical_parameters(&in, &out);
    jpeg_write_coefficients(&out, blocks);
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    jpeg_finish_decompress(&in);
    jpeg_destroy_decompress(&in);
    const QByteArray jpeg(reinterpret_cast<const char *>(written), int(size));
    std::free(written);
    return jpeg;
}

LosslessCut::Source sourceOf(const QByteArray &jpeg, int subsampling)
{
    QByteArray data = jpeg;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    LosslessCut::Source source;
    source.size = reader.size();
    source.transformation = reader.transformation();
    source.layout.blockGrid = QSize(tjMCUWidth[subsampling], tjMCUHeight[subsampling]);
    source.layout.grey = subsampling == TJSAMP_GRAY;
    return source;
}
} // namespace

namespace {
// The cut a page's own treatment asks for, planned on the page as it shows.
LosslessCut cutOf(const LosslessCut::Source &source, const PageOptions &options,
                  const PageTreatment &own = PageTreatment())
{
    const bool turned = source.transformation & QImageIOHandler::TransformationRotate90;
    const QSize shown = turned ? source.size.transposed() : source.size;
    return LosslessCut(source, options, planPage(shown, options, own));
}
} // namespace

class tst_LosslessCut : public QObject
{
    Q_OBJECT

private slots:
    void keptPixelsAreTheSource_data();
    void keptPixelsAreTheSource();
    void sameBlocksAsLibjpegTurbo_data();
    void sameBlocksAsLibjpegTurbo();
    void damagedPageRefused();
    void refusedWhereItsPartsCannotBeCoded_data();
    void refusedWhereItsPartsCannotBeCoded();
    void colourProfileGoesWithTheParts_data();
    void colourProfileGoesWithTheParts();
    void pagesEncodedAsUsual_data();
    void pagesEncodedAsUsual();
    void rareSamplingsAreSaidBeforeTheCut_data();
    void rareSamplingsAreSaidBeforeTheCut();
    void aCutThatCannotBeCodedIsEncodedAsListed_data();
    void aCutThatCannotBeCodedIsEncodedAsListed();
};

void tst_LosslessCut::keptPixelsAreTheSource_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("subsampling");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("cutPoint"); // 0: not cut
    QTest::addColumn<bool>("onGrid");  // every edge exactly where it was asked

    const QSize whole(320, 224), ragged(333, 221);
    QTest::newRow("4:2:0, border and cut on the grid")
        << whole << int(TJSAMP_420) << 1 << 0 << 16 << 50 << true;
    QTest::newRow("4:2:0, border and cut off the grid")
        << whole << int(TJSAMP_420) << 1 << 0 << 5 << 37 << false;
    QTest::newRow("4:2:0, ragged size, no turn")
        << ragged << int(TJSAMP_420) << 1 << 0 << 5 << 50 << false;
    QTest::newRow("4:2:2, camera turned a quarter")
        << whole << int(TJSAMP_422) << 6 << 0 << 3 << 50 << false;
    QTest::newRow("4:2:2, own turn and the camera's")
        << whole << int(TJSAMP_422) << 8 << 90 << 8 << 0 << false;
    QTest::newRow("4:4:4, mirrored by the camera")
        << whole << int(TJSAMP_444) << 2 << 180 << 8 << 50 << true;
    QTest::newRow("4:4:4, transposed") << whole << int(TJSAMP_444) << 5 << 0 << 0 << 30 << false;
    QTest::newRow("grey, turned back") << whole << int(TJSAMP_GRAY) << 1 << 270 << 9 << 60 << false;
    QTest::newRow("nothing asked") << whole << int(TJSAMP_420) << 1 << 0 << 0 << 0 << true;
}

void tst_LosslessCut::keptPixelsAreTheSource()
{
    QFETCH(QSize, size);
    QFETCH(int, subsampling);
    QFETCH(int, orientation);
    QFETCH(int, rotation);
    QFETCH(int, border);
    QFETCH(int, cutPoint);
    QFETCH(bool, onGrid);

    QImage picture = noiseImage(size.width(), size.height());
    if (subsampling == TJSAMP_GRAY)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray plain = jpegSampled(picture, subsampling);
    QVERIFY(!plain.isEmpty());
    const QByteArray jpeg = orientation == 1 ? plain : withOrientation(plain, orientation);
    const LosslessCut::Source source = sourceOf(jpeg, subsampling);

    PageOptions options;
    options.ImageCutBorder = border > 0;
    options.ImageCutBorderNumber = border;
    options.ImageCutDoublePages = cutPoint > 0;
    options.ImageCutPointNumber = cutPoint;
    PageTreatment own;
    own.rotation = rotation;
    const LosslessCut cut = cutOf(source, options, own);
    QVERIFY2(cut.whyNot().isEmpty(), qPrintable(cut.whyNot()));
    QString error;
    const QList<QByteArray> pages = cut.run(jpeg, &error);
    QVERIFY2(!pages.isEmpty(), qPrintable(error));
    QCOMPARE(pages.size(), cutPoint > 0 ? 2 : 1);

    const QSize shown = source.transformation & QImageIOHandler::TransformationRotate90
                            ? source.size.transposed()
                            : source.size;
    const QList<QRect> asked =
        LosslessCut::regions(planPage(shown, options, own), options, QSize(1, 1));
    const bool transposed = bool(source.transformation & QImageIOHandler::TransformationRotate90) !=
                            (rotation % 180 != 0);
    const QSize grid = transposed ? source.layout.blockGrid.transposed() : source.layout.blockGrid;

    // The whole page turned on its blocks is the source turned. A block
    // turned a quarter is decoded in the other order of its rows and
    // columns, which may round a level apart; else it is the same, exactly.
    const QList<QByteArray> whole = cutOf(source, PageOptions(), own).run(jpeg, &error);
    QCOMPARE(whole.size(), 1);
    const QImage wholePage = decoded(whole.first());
    const QImage reference = turned(decoded(plain), source.transformation, rotation);
    QCOMPARE(wholePage.size(), reference.size());
    QVERIFY(colourDistance(wholePage, reference) <= (transposed ? 3 : 0));

    bool allOnGrid = true;
    for (int i = 0; i < pages.size(); ++i) {
        const QRect region = cut.regions().at(i);
        // The whole asked-for page is kept; only the left and top edges move,
        // back onto the grid.
        QVERIFY(region.contains(asked.at(i)));
        QCOMPARE(region.bottomRight(), asked.at(i).bottomRight());
        QCOMPARE(region.x() % grid.width(), 0);
        QCOMPARE(region.y() % grid.height(), 0);
        QVERIFY(asked.at(i).x() - region.x() < grid.width());
        QVERIFY(asked.at(i).y() - region.y() < grid.height());
        allOnGrid = allOnGrid && region == asked.at(i);
        QCOMPARE(decoded(pages.at(i)), wholePage.copy(region));
    }
    QCOMPARE(allOnGrid, onGrid);
}

void tst_LosslessCut::sameBlocksAsLibjpegTurbo_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("subsampling");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<int>("flags");

    const int samplings[] = {TJSAMP_444, TJSAMP_422, TJSAMP_420,
                             TJSAMP_440, TJSAMP_411, TJSAMP_GRAY};
    const char *names[] = {"4:4:4", "4:2:2", "4:2:0", "4:4:0", "4:1:1", "grey"};
    for (int s = 0; s < 6; ++s) {
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::addRow("%s, orientation %d", names[s], orientation)
                << QSize(320, 224) << samplings[s] << orientation << false << 0;
    }
    QTest::newRow("4:2:0 made grey") << QSize(320, 224) << int(TJSAMP_420) << 1 << true << 0;
    QTest::newRow("4:2:2 made grey, turned")
        << QSize(320, 224) << int(TJSAMP_422) << 6 << true << 0;
    QTest::newRow("progressive") << QSize(320, 224) << int(TJSAMP_420) << 1 << false
                                 << int(TJFLAG_PROGRESSIVE);
    QTest::newRow("ragged, transposed") << QSize(333, 221) << int(TJSAMP_420) << 5 << false << 0;
    QTest::newRow("ragged, not turned") << QSize(333, 221) << int(TJSAMP_411) << 1 << false << 0;
}

// The cut's coefficients are those of libjpeg-turbo's own lossless
// transform of the page, so the pixels decode the same; only the Huffman
// tables differ, made for each part, and the part is smaller for it.
void tst_LosslessCut::sameBlocksAsLibjpegTurbo()
{
    QFETCH(QSize, size);
    QFETCH(int, subsampling);
    QFETCH(int, orientation);
    QFETCH(bool, grey);
    QFETCH(int, flags);

    QImage picture = noiseImage(size.width(), size.height());
    if (subsampling == TJSAMP_GRAY)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray jpeg = withOrientation(jpegSampled(picture, subsampling, flags), orientation);
    QVERIFY(!jpeg.isEmpty());
    const JpegCheck check = JpegCheck::readBlocks(jpeg, 1 << 24);
    QVERIFY2(check.blocks, qPrintable(check.damage));
    LosslessCut::Source source = sourceOf(jpeg, subsampling);
    source.layout = check.layout;
    PageOptions options;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 5;
    options.ImageCutDoublePages = true;
    options.ImageCutPointNumber = 47;
    if (grey)
        options.PageGrey = PageOptions::GreyEveryPage;
    const LosslessCut cut = cutOf(source, options);
    QVERIFY2(cut.whyNot().isEmpty(), qPrintable(cut.whyNot()));
    QString error;
    const QList<QByteArray> pages = cut.run(jpeg, &error, check.blocks);
    QVERIFY2(!pages.isEmpty(), qPrintable(error));

    // libjpeg-turbo's transform of the whole page (2.1 refuses some crops of
    // a transposed page that are on its grid); a part decodes as its region.
    const int operations[] = {TJXOP_NONE,      TJXOP_HFLIP, TJXOP_ROT180,     TJXOP_VFLIP,
                              TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};
    tjtransform transform = tjtransform();
    transform.op = operations[orientation - 1];
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE | (grey ? TJXOPT_GRAY : 0);
    tjhandle handle = tjInitTransform();
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    const int failed =
        tjTransform(handle, reinterpret_cast<const uchar *>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &outSize, &transform, 0);
    const QByteArray reference(reinterpret_cast<const char *>(out), int(outSize));
    tjFree(out);
    tjDestroy(handle);
    QCOMPARE(failed, 0);
    const QImage whole = decoded(reference);
    const QList<QRect> regions = cut.regions();
    QCOMPARE(pages.size(), regions.size());
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(decoded(pages.at(i)), whole.copy(regions.at(i)));

    PageOptions asIs;
    asIs.PageGrey = options.PageGrey;
    const QList<QByteArray> ours = cutOf(source, asIs).run(jpeg, &error, check.blocks);
    QCOMPARE(ours.size(), 1);
    QCOMPARE(decoded(ours.first()), whole);
    QVERIFY2(
        ours.first().size() < reference.size(),
        qPrintable(
            QStringLiteral("%1 against %2 bytes").arg(ours.first().size()).arg(reference.size())));
}

// A page whose blocks are damaged is not cut, whether its coefficients are
// read here or were to be kept by its check.
void tst_LosslessCut::damagedPageRefused()
{
    QByteArray jpeg = jpegSampled(noiseImage(320, 224), TJSAMP_420);
    // Garble the middle of the compressed data, away from any marker.
    for (int i = jpeg.size() / 2; i < jpeg.size() / 2 + 40; ++i)
        jpeg[i] = char(0x13 * i);
    const JpegCheck check = JpegCheck::readBlocks(jpeg, 1 << 24);
    QVERIFY(!check.damage.isEmpty());
    QVERIFY(!check.blocks);
    LosslessCut::Source source = sourceOf(jpeg, TJSAMP_420);
    source.layout = check.layout;
    const LosslessCut cut = cutOf(source, PageOptions());
    QString error;
    QVERIFY(cut.run(jpeg, &error).isEmpty());
    QCOMPARE(error, check.damage);
}

void tst_LosslessCut::refusedWhereItsPartsCannotBeCoded_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("grey");
    QTest::addColumn<QString>("why");
    // Each block's DC 2000 above the last: the page codes, but its right
    // half would start at a DC of 30000, more than a JPEG's 11 bits.
    QTest::newRow("DC values near 30000")
        << "rising DC" << int(PageOptions::ColourPages) << "beyond what a part of it could code";
    QTest::newRow("DC values within range") << "level DC" << int(PageOptions::ColourPages) << "";
    // Stored as RGB (Adobe's transform 0): its first channel is red.
    QTest::newRow("grey from an RGB JPEG")
        << "rgb" << int(PageOptions::GreyEveryPage) << "none of which is its brightness";
    QTest::newRow("colour from an RGB JPEG") << "rgb" << int(PageOptions::ColourPages) << "";
}

void tst_LosslessCut::refusedWhereItsPartsCannotBeCoded()
{
    QFETCH(QString, page);
    QFETCH(int, grey);
    QFETCH(QString, why);
    QByteArray jpeg;
    if (page == "rgb") {
        const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
        if (cjpeg.isEmpty())
            QSKIP("cjpeg (libjpeg-turbo-progs) writes RGB JPEGs");
        QProcess encoder;
        encoder.start(cjpeg, {"-rgb"});
        encoder.write("P6 64 32 255\n" + QByteArray("\xff\0\0", 3).repeated(64 * 32));
        encoder.closeWriteChannel();
        QVERIFY(encoder.waitForFinished());
        jpeg = encoder.readAllStandardOutput();
    } else {
        jpeg = jpegWithDcSteps(256, page == "rising DC" ? 2000 : 0);
    }
    const JpegCheck check = JpegCheck::readBlocks(jpeg, 1 << 24);
    QVERIFY2(check.damage.isEmpty(), qPrintable(check.damage));
    LosslessCut::Source source;
    source.size = check.size;
    source.layout = check.layout;
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.PageGrey = PageOptions::Grey(grey);
    const LosslessCut cut = cutOf(source, options);
    QString error;
    const QList<QByteArray> parts = cut.run(jpeg, &error, check.blocks);
    QCOMPARE(parts.isEmpty(), !why.isEmpty());
    QVERIFY2(error.contains(why), qPrintable(error));
    for (const QByteArray &part : parts)
        QVERIFY(JpegCheck::run(part, 1 << 24).damage.isEmpty());
}

void tst_LosslessCut::colourProfileGoesWithTheParts_data()
{
    QTest::addColumn<int>("grey");
    QTest::addColumn<bool>("profile");
    QTest::newRow("colour") << int(PageOptions::ColourPages) << true;
    QTest::newRow("made grey") << int(PageOptions::GreyEveryPage) << false;
}

// Every part carries the page's colour profile, but for a page made grey,
// which the profile no longer describes.
void tst_LosslessCut::colourProfileGoesWithTheParts()
{
    QFETCH(int, grey);
    QFETCH(bool, profile);
    QImage picture = noiseImage(320, 224);
    picture.setColorSpace(QColorSpace::DisplayP3);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "jpg", 90));
    const JpegCheck check = JpegCheck::readBlocks(jpeg, 1 << 24);
    QVERIFY(!check.layout.iccProfile.isEmpty());
    LosslessCut::Source source{check.size, check.layout, QImageIOHandler::TransformationNone};
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.PageGrey = PageOptions::Grey(grey);
    QString error;
    const QList<QByteArray> parts = cutOf(source, options).run(jpeg, &error, check.blocks);
    QCOMPARE(parts.size(), 2);
    for (const QByteArray &part : parts) {
        const JpegCheck read = JpegCheck::run(part, 1 << 24);
        QVERIFY2(read.damage.isEmpty(), qPrintable(read.damage));
        QCOMPARE(read.layout.iccProfile, profile ? check.layout.iccProfile : QByteArray());
    }
}

void tst_LosslessCut::pagesEncodedAsUsual_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<PageOptions>("pageOptions");
    QTest::addColumn<bool>("cmyk");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<QString>("why"); // empty: cut on its blocks

    const QSize whole(320, 224);
    PageOptions plain;
    PageOptions resized;
    resized.ImageResize = true;
    PageOptions trimmed;
    trimmed.ImageTrimMargins = true;
    PageOptions greyAuto;
    greyAuto.PageGrey = PageOptions::GreyWithoutColour;
    PageOptions greyAll = greyAuto;
    greyAll.PageGrey = PageOptions::GreyEveryPage;
    PageOptions everything;
    everything.ImageCutBorder = true;
    everything.ImageCutDoublePages = true;
    QTest::newRow("resized") << whole << 1 << resized << false << false << "it is resized";
    QTest::newRow("trimmed") << whole << 1 << trimmed << false << false
                             << "its plain margins are trimmed";
    QTest::newRow("CMYK") << whole << 1 << plain << true << false << "it is a CMYK JPEG";
    QTest::newRow("grey found by pixels, colour page")
        << whole << 1 << greyAuto << false << false << "whether it is grey is found by its pixels";
    QTest::newRow("grey found by pixels, grey page")
        << whole << 1 << greyAuto << false << true << "";
    QTest::newRow("every page grey") << whole << 1 << greyAll << false << false << "";
    QTest::newRow("ragged page turned")
        << QSize(330, 224) << 3 << plain << false << false
        << "it is turned, and its size (330 × 224) is not a whole number of its 16 × 16 blocks";
    QTest::newRow("ragged page turned a quarter, whole rows")
        << QSize(330, 224) << 6 << plain << false << false << "";
    QTest::newRow("ragged page cut, not turned")
        << QSize(331, 223) << 1 << everything << false << false << "";
}

void tst_LosslessCut::pagesEncodedAsUsual()
{
    QFETCH(QSize, size);
    QFETCH(int, orientation);
    QFETCH(PageOptions, pageOptions);
    QFETCH(bool, cmyk);
    QFETCH(bool, grey);
    QFETCH(QString, why);

    LosslessCut::Source source;
    source.size = size;
    source.layout.blockGrid = grey ? QSize(8, 8) : QSize(16, 16);
    source.layout.grey = grey;
    source.layout.cmyk = cmyk;
    source.layout.ycc = !grey && !cmyk;
    const QByteArray jpeg = withOrientation(
        jpegSampled(noiseImage(size.width(), size.height()), grey ? TJSAMP_GRAY : TJSAMP_420),
        orientation);
    source.transformation = sourceOf(jpeg, TJSAMP_420).transformation;
    const LosslessCut cut = cutOf(source, pageOptions);
    QCOMPARE(cut.whyNot(), why);
    if (!why.isEmpty() || cmyk)
        return;
    QString error;
    const QList<QByteArray> pages = cut.run(jpeg, &error);
    QVERIFY2(!pages.isEmpty(), qPrintable(error));
    // Asked for every page in grey, the blocks of colour are left out.
    QCOMPARE(decoded(pages.first()).isGrayscale(),
             pageOptions.PageGrey == PageOptions::GreyEveryPage || grey);
}

void tst_LosslessCut::rareSamplingsAreSaidBeforeTheCut_data()
{
    QTest::addColumn<QString>("sampling"); // as cjpeg takes it
    QTest::addColumn<bool>("cut");
    QTest::newRow("2x2, cut") << "2x2" << true;
    QTest::newRow("1x4, encoded as usual") << "1x4" << false;
    QTest::newRow("4x2, encoded as usual") << "4x2" << false;
}

// What --list says of a page before the build is what the build does.
void tst_LosslessCut::rareSamplingsAreSaidBeforeTheCut()
{
    QFETCH(QString, sampling);
    QFETCH(bool, cut);
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty())
        QSKIP("cjpeg (libjpeg-turbo-progs) writes JPEGs of any sampling");
    const QImage page = noiseImage(64, 64).convertToFormat(QImage::Format_RGB888);
    QByteArray ppm = "P6 64 64 255\n";
    for (int y = 0; y < page.height(); ++y)
        ppm.append(reinterpret_cast<const char *>(page.constScanLine(y)), 64 * 3);
    QProcess encoder;
    encoder.start(cjpeg, {"-sample", sampling});
    encoder.write(ppm);
    encoder.closeWriteChannel();
    QVERIFY(encoder.waitForFinished());
    const QByteArray jpeg = encoder.readAllStandardOutput();
    const JpegCheck check = JpegCheck::run(jpeg, 1 << 24);
    QVERIFY2(check.damage.isEmpty(), qPrintable(check.damage));
    LosslessCut::Source source;
    source.size = QSize(64, 64);
    source.layout = check.layout;
    PageOptions options;
    options.ImageCutDoublePages = true;
    const LosslessCut lossless = cutOf(source, options);
    QCOMPARE(lossless.whyNot().isEmpty(), cut);
    QString error;
    QCOMPARE(lossless.run(jpeg, &error).isEmpty(), !cut);
    if (!cut)
        QCOMPARE(error, lossless.whyNot());
}

QUIREVALE_TEST_MAIN(tst_LosslessCut)
void tst_LosslessCut::aCutThatCannotBeCodedIsEncodedAsListed_data()
{
    QTest::addColumn<int>("grey");
    QTest::newRow("colour pages") << int(PageOptions::ColourPages);
    QTest::newRow("grey pages without colour") << int(PageOptions::GreyWithoutColour);
    QTest::newRow("every page grey") << int(PageOptions::GreyEveryPage);
}

// A grey page whose right half would start at a DC no part can code: the
// build encodes it instead, still grey as the cut would have kept it, and
// the listing says so, with the sizes the build writes.
void tst_LosslessCut::aCutThatCannotBeCodedIsEncodedAsListed()
{
    QFETCH(int, grey);
    QTemporaryDir dir;
    const QString file = dir.filePath("dc.jpg");
    QVERIFY(writeFile(file, jpegWithDcSteps(256, 2000)));
    PageOptions options;
    options.LosslessCuts = true;
    options.ImageCutDoublePages = true;
    options.PageGrey = PageOptions::Grey(grey);
    const PageForecast forecast = PageForecast::of(PageLocation(file), options);
    QCOMPARE(forecast.recipe().route(), PageRecipe::Encoded);
    QVERIFY2(forecast.recipe().encodedWhy().contains("beyond what a part of it could code"),
             qPrintable(forecast.recipe().encodedWhy()));
    BookBuild build(dir.filePath("book.cbz"), {BuildPage{0, PageLocation(file)}}, options);
    QCOMPARE(build.run(), BookBuild::Done);
    const QList<QByteArray> entries = archiveData(dir.filePath("book.cbz"));
    QCOMPARE(entries.size(), forecast.parts().size());
    for (int i = 0; i < entries.size(); ++i) {
        const JpegCheck::Frame frame = JpegCheck::frameOf(entries.at(i));
        QCOMPARE(frame.size, forecast.parts().at(i).size);
        QVERIFY(forecast.parts().at(i).grey);
        QCOMPARE(frame.components, 1);
    }
}

#include "tst_losslesscut.moc"
