#include "book/book.h"
#include "making/bookbuild.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"
#include "samplepages.h"
#include "testsupport.h"
#include "wholepage.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace TestSupport;

Q_DECLARE_METATYPE(PdfScan)

namespace {
// A PDF whose pages are one colour each, of the sizes given in points.
bool writePdf(const QString &path, const QList<QSizeF> &sizes, const QList<QColor> &colours)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(sizes.first(), QPageSize::Point));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    for (int i = 0; i < sizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(sizes.at(i), QPageSize::Point));
            writer.newPage();
        }
        painter.fillRect(QRectF(QPointF(0, 0), sizes.at(i)), colours.at(i));
    }
    return painter.end();
}

// A palette of 256 greys, darkest last, as a PDF string of hex digits.
QByteArray palette()
{
    QByteArray colours;
    for (int level = 255; level >= 0; --level)
        colours += QByteArray(3, char(level));
    return "<" + colours.toHex() + ">";
}

// A PDF written by hand from its objects, numbered from 1, the catalog
// first; trailer adds to its trailer.
QByteArray pdfOf(const QList<QByteArray> &objects, const QByteArray &trailer = QByteArray())
{
    QByteArray pdf("%PDF-1.4\n");
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " +
           trailer + ">>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// A PDF of one page, written by hand, whose pages are only for those who
// know a password.
QByteArray lockedPdf()
{
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
                  "<< /Filter /Standard /V 1 /R 2 /P -4 /O <" + QByteArray(64, '7') + "> /U <" +
                      QByteArray(64, '3') + "> >>"},
                 "/Encrypt 4 0 R /ID [<" + QByteArray(32, '1') + "> <" + QByteArray(32, '1') +
                     ">] ");
}
} // namespace

class tst_PdfPages : public QObject
{
    Q_OBJECT

private slots:
    void impossibleSizes_data();
    void impossibleSizes();
    void scansBuildAlikeOnAnyNumberOfThreads();
    void pagesAreRenderedAsAsked();
    void scannedPagesAreTheirJpegs_data();
    void scannedPagesAreTheirJpegs();
    void whatThePagesAreIsSaid();
    void scansThatLie_data();
    void scansThatLie();
    void badPdfs_data();
    void badPdfs();
};

// Listed without rendering, rendered at the resolution set, built like any
// page.
void tst_PdfPages::pagesAreRenderedAsAsked()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.pdf");
    QVERIFY(writePdf(path, {QSizeF(360, 504), QSizeF(720, 504), QSizeF(360, 504)},
                     {Qt::red, Qt::green, Qt::blue}));
    const PageListing listed = scanPageSource(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    QCOMPARE(listed.pages.size(), 3);
    QCOMPARE(listed.pages.at(2).name, QStringLiteral("page 3"));
    QCOMPARE(bookNameOf(path), QStringLiteral("Scan"));

    // Two pixels a point.
    WholePage reader(listed.pages.at(1).location);
    reader.setPdfResolution(144);
    QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
    QCOMPARE(reader.headerSize(), QSize(1440, 1008));
    QCOMPARE(PageReader::readHeaderSize(listed.pages.at(1).location, 144), QSize(1440, 1008));
    QCOMPARE(PageReader::readHeaderSize(listed.pages.at(1).location), QSize(2000, 1400));
    QVERIFY(reader.read());
    QVERIFY(colorNear(reader.images().first().pixelColor(700, 500), Qt::green, 8));

    QVector<BuildPage> pages;
    for (const ListedPage &page : listed.pages)
        pages.append({pages.size(), page.location});
    PageOptions options;
    options.ImageCutDoublePages = options.ImageCutOnlyWide = true;
    BookBuild build(dir.filePath("Scan.cbz"), pages, options);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    QVERIFY(unzipTest(build.fileName()));
    const QList<QByteArray> entries = archiveData(build.fileName());
    QCOMPARE(entries.size(), 4); // the wide page cut in two
    QCOMPARE(jpegSize(entries.at(0)), QSize(1000, 1400));
    QImage last;
    QVERIFY(last.loadFromData(entries.at(3)));
    QVERIFY(colorNear(last.pixelColor(500, 700), Qt::blue, 8));
}

void tst_PdfPages::scannedPagesAreTheirJpegs_data()
{
    // The page as written: its picture's filter and colour space, what else
    // it draws, its turn and the picture's placement, with any keys and
    // objects more; then keys a later revision of the file adds to the page.
    QTest::addColumn<PdfScan>("scan");
    QTest::addColumn<QByteArray>("update");
    // "kept": the page is the JPEG as stored; "decoded": the picture at its
    // own size, as the page shows it; "rendered": poppler's render.
    QTest::addColumn<QString>("taken");
    const QByteArray jpeg = "/DCTDecode", flate = "/FlateDecode", rgb = "/DeviceRGB";
    const QByteArray none;
    const auto page = [&](const QByteArray &filter, const QByteArray &space,
                          const QByteArray &alsoDrawn = QByteArray(), int rotate = 0,
                          const QByteArray &placement = QByteArray()) {
        PdfScan scan;
        scan.filter = filter;
        scan.space = space;
        scan.alsoDrawn = alsoDrawn;
        scan.rotate = rotate;
        scan.placement = placement;
        return scan;
    };
    const PdfScan scan = page(jpeg, rgb);
    QTest::newRow("a scan") << scan << none << "kept";
    QTest::newRow("a grey scan") << page(jpeg, "/DeviceGray") << none << "kept";
    QTest::newRow("an invisible text layer")
        << page(jpeg, rgb, "BT 3 Tr /F1 12 Tf 20 20 Td (hidden words) Tj ET") << none << "kept";
    QTest::newRow("a visible caption")
        << page(jpeg, rgb, "BT /F1 12 Tf 20 20 Td (Chapter 1) Tj ET") << none << "rendered";
    QTest::newRow("text shown again once its invisible mode is restored")
        << page(jpeg, rgb, "q 3 Tr Q BT /F1 12 Tf 20 20 Td (A. Name) Tj ET") << none << "rendered";
    QTest::newRow("a frame drawn over it")
        << page(jpeg, rgb, "1 w 10 10 100 150 re S") << none << "rendered";
    QTest::newRow("the picture twice")
        << page(jpeg, rgb, "q 10 0 0 10 0 0 cm /Im0 Do Q") << none << "rendered";
    QTest::newRow("a page turned a quarter") << page(jpeg, rgb, none, 90) << none << "decoded";
    QTest::newRow("a page turned three quarters")
        << page(jpeg, rgb, none, -90) << none << "decoded";
    QTest::newRow("a turn of 91 degrees, which is none")
        << page(jpeg, rgb, none, 91) << none << "rendered";
    QTest::newRow("a picture drawn mirrored")
        << page(jpeg, rgb, none, 0, "-w 0 0 h w 0") << none << "decoded";
    QTest::newRow("a picture drawn upside down, on a turned page")
        << page(jpeg, rgb, none, 270, "w 0 0 -h 0 h") << none << "decoded";
    QTest::newRow("Flate RGB") << page(flate, rgb) << none << "decoded";
    QTest::newRow("Flate grey") << page(flate, "/DeviceGray") << none << "decoded";
    QTest::newRow("Flate grey, turned")
        << page(flate, "/DeviceGray", none, 180) << none << "decoded";
    QTest::newRow("Flate CMYK") << page(flate, "/DeviceCMYK") << none << "rendered";
    // Samples that are indexes into a palette, darkest last: read as grey
    // levels, the page would show as its negative.
    QTest::newRow("Flate indexed")
        << page(flate, "[/Indexed /DeviceRGB 255 " + palette() + "]") << none << "rendered";

    // What hides part of the picture: the page shows less than it holds.
    PdfScan cropped = scan;
    cropped.pageKeys = "/CropBox [0 0 72 100]";
    QTest::newRow("a crop box inside the picture") << cropped << none << "rendered";
    QTest::newRow("a picture drawn past the page")
        << page(jpeg, rgb, none, 0, "w 0 0 h -30 -40") << none << "rendered";
    QTest::newRow("a picture drawn short of the page, on paper")
        << page(jpeg, rgb, none, 0, "0.96 0 0 0.96 3 4 cm w 0 0 h 0 0") << none << "rendered";
    QTest::newRow("a clip") << page(jpeg, rgb, none, 0,
                                    "w 0 0 h 0 0 cm 0 0 0.5 0.5 re W n 1 0 0 1 0 0")
                            << none << "rendered";
    PdfScan boxed = scan;
    const QByteArray box = "0 0 0 rg 0 0 50 30 re f";
    boxed.pageKeys = "/Annots [7 0 R]";
    boxed.objects = {"<< /Type /Annot /Subtype /Square /Rect [20 60 70 90] /F 4 "
                     "/AP << /N 8 0 R >> >>",
                     "<< /Type /XObject /Subtype /Form /BBox [0 0 50 30] /Length " +
                         QByteArray::number(box.size()) + " >>\nstream\n" + box + "\nendstream"};
    QTest::newRow("a box drawn over a name") << boxed << none << "rendered";
    PdfScan layered = scan;
    layered.pictureKeys = "/OC 7 0 R";
    layered.catalogKeys = "/OCProperties << /OCGs [7 0 R] /D << /OFF [7 0 R] >> >>";
    layered.objects = {"<< /Type /OCG /Name (Scan) >>"};
    QTest::newRow("a layer switched off") << layered << none << "rendered";
    PdfScan faded = page(jpeg, rgb, none, 0, "1 0 0 1 0 0 cm /G0 gs w 0 0 h 0 0");
    faded.resources = "/ExtGState << /G0 << /Type /ExtGState /ca 0.5 >> >>";
    QTest::newRow("drawn half transparent") << faded << none << "rendered";
    PdfScan plainState = page(jpeg, rgb, none, 0, "1 0 0 1 0 0 cm /G0 gs w 0 0 h 0 0");
    plainState.resources = "/ExtGState << /G0 << /Type /ExtGState /ca 1 /SA true >> >>";
    QTest::newRow("a graphics state that changes nothing") << plainState << none << "kept";
    QTest::newRow("a crop box added by a later revision")
        << scan << QByteArray("/CropBox [0 0 72 100]") << "rendered";
    QTest::newRow("an annotation added by a later revision")
        << boxed << QByteArray("/Annots [7 0 R]") << "rendered";

    // What the picture's own data says against what the PDF says of it.
    PdfScan png = scan;
    png.stored = "png";
    QTest::newRow("a PNG behind DCTDecode") << png << none << "rendered";
    PdfScan larger = scan;
    larger.claimed = QSize(300, 420);
    QTest::newRow("a JPEG larger than the picture's size") << larger << none << "rendered";
    PdfScan turned = scan;
    turned.stored = "exif";
    QTest::newRow("a JPEG with an orientation of its own") << turned << none << "decoded";
    PdfScan untransformed = scan;
    untransformed.pictureKeys = "/DecodeParms << /ColorTransform 0 >>";
    QTest::newRow("ColorTransform 0") << untransformed << none << "rendered";
    PdfScan cmyk = scan;
    cmyk.stored = "cmyk";
    QTest::newRow("CMYK data labelled RGB") << cmyk << none << "rendered";
}

// A page that is one picture drawn over it is that picture: a JPEG byte
// for byte when upright, else decoded at its own size as the page shows
// it; any other page is rendered. All show what poppler shows.
void tst_PdfPages::scannedPagesAreTheirJpegs()
{
    QFETCH(PdfScan, scan);
    QFETCH(QByteArray, update);
    QFETCH(QString, taken);
    const QByteArray filter = scan.filter, space = scan.space;
    const int rotate = scan.rotate;
    // Smooth, so that a render's resampling changes little; brighter to
    // the right and to the bottom, so that a turn would show.
    QImage picture(600, 840, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 600, y * 255 / 840, 96));
    }
    const bool grey = space == "/DeviceGray";
    if (grey)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    QByteArray stored;
    if (scan.stored == "png") {
        stored = encoded(picture, "png");
    } else if (scan.stored == "cmyk") {
        stored = cmykJpeg(picture);
    } else if (filter == "/DCTDecode") {
        stored = encoded(picture, "jpg", 85);
        if (scan.stored == "exif")
            stored = withOrientation(stored, 6);
    } else {
        QByteArray samples;
        for (int y = 0; y < picture.height(); ++y) {
            const char *row = reinterpret_cast<const char *>(picture.constScanLine(y));
            if (space.startsWith("[/Indexed")) {
                for (int x = 0; x < picture.width(); ++x)
                    samples += char(255 - qGray(picture.pixel(x, y)));
            } else if (space == "/DeviceCMYK") {
                for (int x = 0; x < picture.width(); ++x)
                    samples += QByteArray(row + 3 * x, 3) + char(0); // no black
            } else {
                samples += QByteArray(row, picture.width() * (grey ? 1 : 3));
            }
        }
        stored = qCompress(samples).mid(4); // a zlib stream, without Qt's length
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("Scans.pdf");
    scan.stored = stored;
    scan.pixels = picture.size();
    scan.grey = grey;
    QByteArray pdf = pdfOfScans({scan});
    if (!update.isEmpty())
        pdf = withPageUpdated(pdf, update);
    QVERIFY(writeFile(path, pdf));
    const PageListing listed = scanPageSource(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    QCOMPARE(listed.pages.size(), 1);
    const PageLocation location = listed.pages.first().location;

    PageReader reader(location);
    QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
    QCOMPARE(reader.format() == "jpeg", taken == "kept");
    if (taken == "kept")
        QCOMPARE(reader.fileData(), stored);
    // No coarser than its picture (300 ppi, above the 200 dpi asked for),
    // or its own resolution where it is drawn larger or smaller.
    const auto render = [&](int resolution) {
        QString why;
        const QImage shown = PdfPages::render(path, 0, resolution, PageReader::PixelBudget, &why);
        return shown.convertToFormat(QImage::Format_RGB32);
    };
    QImage poppler = render(300);
    QVERIFY(!poppler.isNull());
    if (taken == "rendered" && reader.headerSize() != poppler.size())
        poppler = render(qRound(300.0 * reader.headerSize().width() / poppler.width()));
    QCOMPARE(reader.headerSize(), poppler.size());
    WholePage whole(location);
    QVERIFY2(whole.read(), qPrintable(whole.errorString()));
    const QImage page = whole.images().first().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(page.size(), poppler.size());
    qint64 difference = 0;
    for (int y = 0; y < page.height(); y += 7) {
        for (int x = 0; x < page.width(); x += 7)
            difference += qAbs(qGray(page.pixel(x, y)) - qGray(poppler.pixel(x, y)));
    }
    const qint64 samples = qint64(page.width() / 7 + 1) * (page.height() / 7 + 1);
    QVERIFY2(difference < 12 * samples, qPrintable(QString::number(difference / samples)));
    if (filter == "/FlateDecode" && taken == "decoded") {
        // Nothing lost: the picture's own pixels, turned as shown.
        const QImage own =
            picture.convertToFormat(QImage::Format_RGB32).transformed(QTransform().rotate(rotate));
        QCOMPARE(page, own);
    }

    // Kept as it is, an upright scan's entry is its JPEG; else its pixels.
    for (const bool keep : {true, false}) {
        PageOptions options;
        options.KeepUnchangedPages = keep;
        const QString target = dir.filePath(keep ? "kept.cbz" : "made.cbz");
        BookBuild build(target, {{0, location}}, options);
        QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
        const QList<QByteArray> entries = archiveData(target);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first() == stored, taken == "kept" && keep);
        QCOMPARE(jpegSize(entries.first()), poppler.size());
    }
}

void tst_PdfPages::whatThePagesAreIsSaid()
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(noiseImage(300, 420).save(&buffer, "jpg"));
    const QSize pixels(300, 420);
    QTemporaryDir dir;
    const QString path = dir.filePath("Mixed.pdf");
    const QByteArray wideGrey = qCompress(QByteArray(600 * 300, '\x40')).mid(4);
    QVERIFY(writeFile(path, pdfOfScans({{jpeg, pixels},
                                        {jpeg, pixels},
                                        {wideGrey, QSize(600, 300), true, {}, 0, "/FlateDecode"},
                                        {jpeg, pixels, false, "BT /F1 9 Tf 5 5 Td (1) Tj ET"}})));
    const Book book = Book::open(path, PageTypesOnly);
    QCOMPARE(book.pdfSummary(200),
             QStringLiteral("3 pages are single scans at 300 ppi; 1 page is rendered at 300 dpi"));
    QCOMPARE(book.pdfSummary(600),
             QStringLiteral("3 pages are single scans at 300 ppi; 1 page is rendered at 600 dpi"));
    PageReader wide(book.pages().at(2).location);
    QVERIFY2(wide.readWithoutDecoding(), qPrintable(wide.errorString()));
    QCOMPARE(wide.headerSize(), QSize(600, 300));
}

void tst_PdfPages::scansThatLie_data()
{
    QTest::addColumn<QByteArray>("pdf");
    QTest::addColumn<QString>("taken"); // "jpeg", "pdf" (rendered) or a reason refused
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(noiseImage(300, 420).save(&buffer, "jpg"));
    // The picture's own header says what it is, whatever the PDF claims.
    // A JPEG smaller than the PDF says is not the page poppler shows.
    QTest::newRow("a picture claiming 30000 x 30000")
        << pdfOfScans({{jpeg, QSize(30000, 30000)}}) << "not the size of any page";
    QByteArray cut = pdfOfScans({{jpeg, QSize(300, 420)}});
    cut.replace("/Length " + QByteArray::number(jpeg.size()),
                "/Length " + QByteArray::number(jpeg.size() * 50));
    QTest::newRow("a picture longer than the file") << cut << "pdf";
    QByteArray shifted = pdfOfScans({{jpeg, QSize(300, 420)}});
    shifted.insert(shifted.indexOf("1 0 obj"), QByteArray(37, ' ')); // every offset wrong
    QTest::newRow("a broken cross-reference table") << shifted << "pdf";
    QByteArray damaged = pdfOfScans({{jpeg, QSize(300, 420)}});
    const int scan = damaged.indexOf("\xFF\xDA");
    damaged.replace(scan + 200, 64, QByteArray(64, '\0'));
    QTest::newRow("a damaged picture") << damaged << "damaged";
    // Pixels behind Flate are counted as they inflate, against the size
    // the picture claims: the rows it declares are its picture, as readers
    // show it, and the rest is let go of.
    const QByteArray endless = qCompress(QByteArray(64 << 20, '\0')).mid(4);
    QTest::newRow("a stream that inflates without end")
        << pdfOfScans({{endless, QSize(300, 420), true, {}, 0, "/FlateDecode"}})
        << "declared rows, black";
    const QByteArray longer = qCompress(QByteArray(300 * 421, '\x80')).mid(4);
    QTest::newRow("a picture a row longer than it says")
        << pdfOfScans({{longer, QSize(300, 420), true, {}, 0, "/FlateDecode"}})
        << "declared rows, grey";
    // A state saved without end: poppler would copy its whole state each
    // time, gigabytes from a few kilobytes.
    QTest::newRow("states saved a hundred thousand times")
        << pdfOfScans({{jpeg, QSize(300, 420), false, QByteArray("q ").repeated(100000)}})
        << "saves its state more than 256 times";
    // Samples in another colour space than sRGB's show in other colours.
    const QByteArray lab = QByteArray(16, '\0') + "Lab XYZ " + QByteArray(104, '\0');
    PdfScan profiled{jpeg, QSize(300, 420)};
    profiled.space = "[/ICCBased 7 0 R]";
    profiled.objects = {"<< /N 3 /Length " + QByteArray::number(lab.size()) + " >>\nstream\n" +
                        lab + "\nendstream"};
    QTest::newRow("a Lab colour profile") << pdfOfScans({profiled}) << "pdf";
    const QByteArray half = qCompress(QByteArray(300 * 210, '\x80')).mid(4);
    QTest::newRow("a stream short of its picture")
        << pdfOfScans({{half, QSize(300, 420), true, {}, 0, "/FlateDecode"}}) << "undecoded";
}

// A PDF that says one thing of its picture and holds another: the page
// is the picture, rendered, or refused with its reason, at once.
void tst_PdfPages::scansThatLie()
{
    QFETCH(QByteArray, pdf);
    QFETCH(QString, taken);
    QTemporaryDir dir;
    const QString path = dir.filePath("Lies.pdf");
    QVERIFY(writeFile(path, pdf));
    const PageListing listed = scanPageSource(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    QCOMPARE(listed.pages.size(), 1);
    PageReader reader(listed.pages.first().location);
    const bool read = reader.readWithoutDecoding();
    if (taken == "undecoded") {
        // Its size is known before its pixels are; those are refused.
        QVERIFY2(read, qPrintable(reader.errorString()));
        QCOMPARE(reader.headerSize(), QSize(300, 420));
        WholePage whole(listed.pages.first().location);
        QVERIFY(!whole.read());
        QVERIFY2(whole.errorString().contains("damaged"), qPrintable(whole.errorString()));
    } else if (taken.startsWith("declared rows")) {
        // As poppler shows it: the rows declared, nothing refused.
        QVERIFY2(read, qPrintable(reader.errorString()));
        QCOMPARE(reader.headerSize(), QSize(300, 420));
        WholePage whole(listed.pages.first().location);
        QVERIFY2(whole.read(), qPrintable(whole.errorString()));
        const QImage page = whole.images().first();
        const int level = taken.endsWith("black") ? 0 : 0x80;
        QString why;
        const QImage shown = PdfPages::render(path, 0, 72, PdfPages::PixelBudget, &why);
        QVERIFY2(!shown.isNull(), qPrintable(why));
        for (const QImage &picture : {page, shown}) {
            for (const QPoint &at :
                 {QPoint(1, 1), QPoint(picture.width() / 2, picture.height() / 2),
                  QPoint(picture.width() - 2, picture.height() - 2)})
                QVERIFY(qAbs(qGray(picture.pixel(at)) - level) <= 2);
        }
    } else if (taken == "jpeg" || taken == "pdf") {
        QVERIFY2(read, qPrintable(reader.errorString()));
        QCOMPARE(QString::fromLatin1(reader.format()), taken);
        if (taken == "jpeg")
            QCOMPARE(reader.headerSize(), QSize(300, 420));
    } else {
        QVERIFY(!read);
        QVERIFY2(reader.errorString().contains(taken), qPrintable(reader.errorString()));
    }
}

void tst_PdfPages::badPdfs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("a password") << "locked"
                                << "It is protected by a password.";
    QTest::newRow("not a PDF inside") << "broken"
                                      << "It is not a PDF this program can read.";
    QTest::newRow("a pipe") << "pipe"
                            << "It is not a regular file.";
    QTest::newRow("no pages") << "no pages"
                              << "It holds no pages.";
    QTest::newRow("a page tree that contains itself")
        << "loop"
        << "cannot be found in it: its page tree is damaged.";
    QTest::newRow("a missing page object")
        << "missing"
        << "Page 2 cannot be found in it: its page tree is damaged.";
}

void tst_PdfPages::badPdfs()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.pdf");
    if (kind == "locked")
        QVERIFY(writeFile(path, lockedPdf()));
    if (kind == "broken")
        QVERIFY(writeFile(path, "%PDF-1.4\nthe rest is gone"));
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R >>";
    const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>";
    if (kind == "no pages")
        QVERIFY(writeFile(path, pdfOf({catalog, "<< /Type /Pages /Kids [] /Count 0 >>"})));
    if (kind == "loop")
        QVERIFY(writeFile(
            path, pdfOf({catalog, "<< /Type /Pages /Kids [2 0 R 3 0 R] /Count 2 >>", page})));
    if (kind == "missing")
        QVERIFY(writeFile(
            path, pdfOf({catalog, "<< /Type /Pages /Kids [3 0 R 9 0 R] /Count 2 >>", page})));
    const PageListing listed = PdfPages::list(path);
    QVERIFY2(listed.error.contains(error), qPrintable(listed.error));
    QVERIFY(listed.pages.isEmpty());
}

// A page whose MediaBox no page has is refused with its size, not made
// a page of one pixel.
void tst_PdfPages::impossibleSizes_data()
{
    QTest::addColumn<QByteArray>("mediaBox");
    QTest::newRow("1e12 points") << QByteArray("[0 0 1000000000000 1000000000000]");
    QTest::newRow("3e9 × 612 points") << QByteArray("[0 0 3000000000 612]");
    QTest::newRow("no area") << QByteArray("[0 0 0 612]");
}

void tst_PdfPages::impossibleSizes()
{
    QFETCH(QByteArray, mediaBox);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.pdf");
    QVERIFY(writeFile(path, pdfOf({"<< /Type /Catalog /Pages 2 0 R >>",
                                   "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                   "<< /Type /Page /Parent 2 0 R /MediaBox " + mediaBox + " >>"})));
    const PageListing listed = PdfPages::list(path);
    QCOMPARE(listed.pages.size(), 1);
    QString error;
    QVERIFY(!PdfPages::renderedSize(path, 0, PdfPages::DefaultResolution, &error).isValid());
    QVERIFY2(error.contains("not the size of any page"), qPrintable(error));
    WholePage reader(listed.pages.first().location);
    QVERIFY(!reader.read());
    QVERIFY2(reader.errorString().contains("not the size of any page"),
             qPrintable(reader.errorString()));
}

QUIREVALE_TEST_MAIN(tst_PdfPages)
// Pages of a scanned PDF are decoded on several threads at once, qpdf's
// objects read by one at a time: the archive is the same on one thread as
// on several.
void tst_PdfPages::scansBuildAlikeOnAnyNumberOfThreads()
{
    QList<PdfScan> scans;
    for (int i = 0; i < 6; ++i) {
        QImage page = noiseImage(240 + 8 * i, 320);
        QPainter(&page).fillRect(20, 20, 40 + 10 * i, 60, Qt::darkRed);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(page.save(&buffer, "jpg", 85));
        scans.append({jpeg, page.size()});
        const QByteArray grey =
            qCompress(page.convertToFormat(QImage::Format_Grayscale8).copy(0, 0, 240, 320).bits(),
                      240 * 320)
                .mid(4);
        scans.append({grey, QSize(240, 320), true, {}, 0, "/FlateDecode"});
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("Scans.pdf");
    QVERIFY(writeFile(path, pdfOfScans(scans)));
    const Book book = Book::open(path, PageTypesOnly);
    QCOMPARE(book.pages().size(), scans.size());
    PageOptions options;
    options.ImageCutDoublePages = true; // every page decoded and cut
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 3;
    QList<QByteArray> first;
    for (const int threads : {1, 2, 4}) {
        const QString archive = dir.filePath(QStringLiteral("%1.cbz").arg(threads));
        BookBuild build(archive, Book::buildPages(book.listedPages()), options);
        build.setThreadCount(threads);
        QCOMPARE(build.run(), BookBuild::Done);
        const QList<QByteArray> made = archiveData(archive);
        QCOMPARE(made.size(), 2 * scans.size());
        if (first.isEmpty())
            first = made;
        else
            QVERIFY(made == first);
    }
}

#include "tst_pdfpages.moc"
