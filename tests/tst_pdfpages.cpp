#include "cbz/cbzbuild.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"
#include "testsupport.h"
#include "wholepage.h"

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
