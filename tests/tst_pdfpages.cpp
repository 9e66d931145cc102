#include "book/book.h"
#include "cbz/cbzbuild.h"
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
    CbzBuild build(dir.filePath("Scan.cbz"), pages, options);
    QVERIFY2(build.run() == CbzBuild::Done, qPrintable(build.errorString()));
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
    QTest::addColumn<QByteArray>("alsoDrawn");
    QTest::addColumn<int>("rotate");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("taken"); // the page is its JPEG; else rendered
    QTest::newRow("a scan") << QByteArray() << 0 << false << true;
    QTest::newRow("a grey scan") << QByteArray() << 0 << true << true;
    QTest::newRow("an invisible text layer")
        << QByteArray("BT 3 Tr /F1 12 Tf 20 20 Td (hidden words) Tj ET") << 0 << false << true;
    QTest::newRow("a visible caption")
        << QByteArray("BT /F1 12 Tf 20 20 Td (Chapter 1) Tj ET") << 0 << false << false;
    QTest::newRow("a frame drawn over it")
        << QByteArray("1 w 10 10 100 150 re S") << 0 << false << false;
    QTest::newRow("the picture twice")
        << QByteArray("q 10 0 0 10 0 0 cm /Im0 Do Q") << 0 << false << false;
    QTest::newRow("a turned page") << QByteArray() << 90 << false << false;
}

// A page that is one JPEG drawn over it is that JPEG, byte for byte, kept
// as it is or decoded at its own size; any other page is rendered.
void tst_PdfPages::scannedPagesAreTheirJpegs()
{
    QFETCH(QByteArray, alsoDrawn);
    QFETCH(int, rotate);
    QFETCH(bool, grey);
    QFETCH(bool, taken);
    // Smooth, so that a render's resampling changes little; brighter to
    // the right and to the bottom, so that a turn would show.
    QImage picture(600, 840, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 600, y * 255 / 840, 96));
    }
    if (grey)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "jpg", 85));
    QTemporaryDir dir;
    const QString path = dir.filePath("Scans.pdf");
    QVERIFY(writeFile(path, pdfOfScans({{jpeg, picture.size(), grey, alsoDrawn, rotate}})));
    const PageListing listed = scanPageSource(path);
    QVERIFY2(listed.error.isEmpty(), qPrintable(listed.error));
    QCOMPARE(listed.pages.size(), 1);

    PageReader reader(listed.pages.first().location);
    QVERIFY2(reader.readWithoutDecoding(), qPrintable(reader.errorString()));
    QCOMPARE(reader.format() == "jpeg", taken);
    if (taken) {
        QCOMPARE(reader.fileData(), jpeg);
        QCOMPARE(reader.headerSize(), picture.size());
    } else {
        // Rendered no coarser than its picture (300 ppi, above the 200 dpi
        // asked for), as the page shows: its pixels are the picture's.
        const QImage shown = QImage::fromData(jpeg).transformed(QTransform().rotate(rotate));
        QCOMPARE(reader.headerSize(), shown.size());
        WholePage rendered(listed.pages.first().location);
        QVERIFY(rendered.read());
        const QImage page = rendered.images().first().convertToFormat(QImage::Format_RGB32);
        qint64 difference = 0;
        for (int y = 0; y < page.height(); y += 7) {
            for (int x = 0; x < page.width(); x += 7)
                difference += qAbs(qGray(page.pixel(x, y)) - qGray(shown.pixel(x, y)));
        }
        const qint64 samples = qint64(page.width() / 7 + 1) * (page.height() / 7 + 1);
        QVERIFY2(difference < 12 * samples, qPrintable(QString::number(difference / samples)));
    }

    // Kept as it is, a scan's entry is its JPEG; decoded, its own pixels.
    for (const bool keep : {true, false}) {
        PageOptions options;
        options.KeepUnchangedJpeg = keep;
        const QString target = dir.filePath(keep ? "kept.cbz" : "made.cbz");
        CbzBuild build(target, {{0, listed.pages.first().location}}, options);
        QVERIFY2(build.run() == CbzBuild::Done, qPrintable(build.errorString()));
        const QList<QByteArray> entries = archiveData(target);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first() == jpeg, taken && keep);
        if (taken)
            QCOMPARE(jpegSize(entries.first()), picture.size());
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
    QVERIFY(writeFile(path, pdfOfScans({{jpeg, pixels},
                                        {jpeg, pixels},
                                        {jpeg, pixels, false, "BT /F1 9 Tf 5 5 Td (1) Tj ET"}})));
    const Book book = Book::open(path, PageTypesOnly);
    QCOMPARE(book.pdfSummary(200),
             QStringLiteral("2 pages are single scans at 300 ppi; 1 page is rendered at 300 dpi"));
    QCOMPARE(book.pdfSummary(600),
             QStringLiteral("2 pages are single scans at 300 ppi; 1 page is rendered at 600 dpi"));
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
    QTest::newRow("a picture claiming 30000 x 30000")
        << pdfOfScans({{jpeg, QSize(30000, 30000)}}) << "jpeg";
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
    if (taken == "jpeg" || taken == "pdf") {
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
#include "tst_pdfpages.moc"
