// qpdf 11 without its old smart pointer.
#define POINTERHOLDER_TRANSITION 4

#include "book/bookjob.h"
#include "making/bookbuild.h"
#include "making/pdfpackager.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

using namespace TestSupport;

namespace {
// What a tool says, or why it could not say it.
QString run(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    *ok = tool.waitForStarted() && tool.waitForFinished(120000) &&
          tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return QString::fromUtf8(tool.readAll());
}

bool toolsInstalled()
{
    bool ok = false;
    run("qpdf", {"--version"}, &ok);
    bool poppler = false;
    run("pdfinfo", {"-v"}, &poppler);
    bool mupdf = false;
    run("mutool", {"-v"}, &mupdf);
    return ok && poppler && mupdf;
}

// Each page's size, as poppler's pdfinfo gives it.
QStringList pageSizes(const QString &pdf, int pages)
{
    bool ok = false;
    const QString said = run("pdfinfo", {"-f", "1", "-l", QString::number(pages), pdf}, &ok);
    QStringList sizes;
    static const QRegularExpression line("Page +\\d+ size: +([0-9.]+) x ([0-9.]+) pts");
    auto it = line.globalMatch(said);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        sizes << QStringLiteral("%1x%2")
                     .arg(qRound(match.captured(1).toDouble()))
                     .arg(qRound(match.captured(2).toDouble()));
    }
    return sizes;
}

QString nameOf(QPDFObjectHandle dictionary, const char *key)
{
    QPDFObjectHandle value = dictionary.getKey(key);
    return value.isName() ? QString::fromStdString(value.getName()) : QString();
}
} // namespace

class tst_PdfPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theBuildMakesAPdf_data();
    void theBuildMakesAPdf();
    void readBackAsASourceTheSamePages();
    void pngResolutionIsRead_data();
    void pngResolutionIsRead();

private:
    QTemporaryDir m_pages;
};

// JPEG pages of each kind a scan has, naming their resolution or not, and a
// PNG.
void tst_PdfPackage::initTestCase()
{
    if (!toolsInstalled())
        QSKIP("qpdf, poppler-utils and mupdf-tools are not installed (tools/setup test installs "
              "them)");
    QImage colour = noiseImage(600, 900);
    colour.setDotsPerMeterX(5906); // 150 dpi
    colour.setDotsPerMeterY(5906);
    QVERIFY(colour.save(m_pages.filePath("1 cover.jpg"), "jpg", 85));
    QVERIFY(
        writeFile(m_pages.filePath("2 grey.jpg"),
                  jpegSampled(noiseImage(640, 960).convertToFormat(QImage::Format_Grayscale8), 1)));
    QImage red(300, 450, QImage::Format_RGB32);
    red.fill(QColor(200, 40, 40));
    QVERIFY(writeFile(m_pages.filePath("3 cmyk.jpg"), cmykJpeg(red)));
    QVERIFY(noiseImage(1600, 1100).save(m_pages.filePath("4 spread.jpg"), "jpg", 85));
    QVERIFY(noiseImage(300, 400).save(m_pages.filePath("5 drawn.png")));
}

void tst_PdfPackage::theBuildMakesAPdf_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<bool>("facing");
    QTest::addColumn<bool>("linearized");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");

    QTest::newRow("left to right") << false << false << false << "Tales"
                                   << "Tales";
    QTest::newRow("right to left, spreads facing, linearized") << true << true << true << "物語"
                                                               << "物語";
    // Markup, control characters and right-to-left script: the information
    // keeps the text, the XMP stays well-formed.
    QTest::newRow("hostile information")
        << false << false << false << QString("<b>\"Tales\" & \x01more</b> حكايات ]]>")
        << QString("<b>\"Tales\" & more</b> حكايات ]]>");
}

// Read back by readers nobody here wrote: qpdf finds no fault; poppler finds
// one picture a page, each JPEG the page's own file byte for byte and the
// PNG's pixels as they were, each page the picture's shape at its
// resolution; mupdf lists the chapters; the catalogue says the direction
// and the pairs; the information and the XMP say the title.
void tst_PdfPackage::theBuildMakesAPdf()
{
    QFETCH(bool, rightToLeft);
    QFETCH(bool, facing);
    QFETCH(bool, linearized);
    QFETCH(QString, title);
    QFETCH(QString, shown);

    QTemporaryDir dir;
    const QStringList files = QDir(m_pages.path()).entryList(QDir::Files, QDir::Name);
    QVector<BuildPage> pages;
    for (int i = 0; i < files.size(); ++i)
        pages.append({i, PageLocation(m_pages.filePath(files.at(i)))});
    pages[0].bookmark = QStringLiteral("One");
    pages[3].bookmark = QStringLiteral("Two ✓");
    PageOptions options;
    options.BookKind = PageOptions::PdfBook;
    options.KeepUnchangedPages = true;
    options.FacingSpreads = facing;
    options.LinearizePdf = linearized;
    ComicInfo info;
    info.title = title;
    info.writer = QStringLiteral("Ann Writer");
    info.summary = QStringLiteral("A summary.");
    info.languageIso = QStringLiteral("it");
    info.direction = rightToLeft ? ComicInfo::RightToLeft : ComicInfo::LeftToRight;
    BookBuild build(dir.filePath("Book.pdf"), pages, options);
    build.setComicInfo(info);
    QCOMPARE(build.run(), BookBuild::Done);
    const QString pdf = build.fileName();

    bool ok = false;
    const QString checked = run("qpdf", {"--check", pdf}, &ok);
    QVERIFY2(ok, qPrintable(checked));
    QCOMPARE(checked.contains("File is linearized"), linearized);

    const QString list = run("pdfimages", {"-list", pdf}, &ok);
    QVERIFY(ok);
    QCOMPARE(
        list.count(QRegularExpression("^ +\\d+ +\\d+ image ", QRegularExpression::MultilineOption)),
        files.size());
    const QString out = dir.filePath("images");
    QVERIFY(QDir().mkpath(out));
    run("pdfimages", {"-all", pdf, out + "/p"}, &ok);
    QVERIFY(ok);
    const QStringList extracted = QDir(out).entryList(QDir::Files, QDir::Name);
    QCOMPARE(extracted.size(), files.size());
    int at = 0;
    for (int i = 0; i < files.size(); ++i) {
        const QString source = m_pages.filePath(files.at(i));
        const QString made = QDir(out).filePath(extracted.at(at++));
        if (source.endsWith(".jpg")) {
            QVERIFY2(contentOf(made) == contentOf(source), qPrintable(files.at(i)));
        } else {
            QCOMPARE(QImage(made).convertToFormat(QImage::Format_RGB32),
                     QImage(source).convertToFormat(QImage::Format_RGB32));
        }
    }

    // At the resolution each names (150 dpi, and Qt's 96 for the spread and
    // the PNG); 300 where none is named.
    const QStringList sizes{"288x432", "154x230", "72x108", "1200x825", "225x300"};
    QCOMPARE(pageSizes(pdf, sizes.size()), sizes);

    // The CMYK page drawn in its own colours, its inverted channels read
    // as Adobe stores them.
    const QString drawn = dir.filePath("cmyk.png");
    run("mutool", {"draw", "-r", "72", "-o", drawn, pdf, "3"}, &ok);
    QVERIFY(ok);
    const QColor shown3 = QImage(drawn).pixelColor(36, 54);
    const QColor decoded = QImage(m_pages.filePath("3 cmyk.jpg")).pixelColor(150, 225);
    QVERIFY2(colorNear(shown3, decoded, 40),
             qPrintable(QStringLiteral("%1 %2").arg(shown3.name(), decoded.name())));

    const QString outline = run("mutool", {"show", pdf, "outline"}, &ok);
    QVERIFY(ok);
    QVERIFY2(outline.contains("One") && outline.contains(QStringLiteral("Two ✓")),
             qPrintable(outline));

    QPDF read;
    read.processFile(QFile::encodeName(pdf).constData());
    QPDFObjectHandle root = read.getRoot();
    QCOMPARE(nameOf(root.getKey("/ViewerPreferences"), "/Direction"),
             rightToLeft ? QStringLiteral("/R2L") : QString());
    QCOMPARE(nameOf(root, "/PageLayout"), facing ? QStringLiteral("/TwoPageRight") : QString());
    QCOMPARE(QString::fromStdString(root.getKey("/Lang").getUTF8Value()), QStringLiteral("it"));
    QPDFObjectHandle information = read.getTrailer().getKey("/Info");
    QCOMPARE(QString::fromStdString(information.getKey("/Title").getUTF8Value()), shown);
    QCOMPARE(QString::fromStdString(information.getKey("/Author").getUTF8Value()),
             QStringLiteral("Ann Writer"));
    const std::shared_ptr<Buffer> xmp = root.getKey("/Metadata").getStreamData();
    const QByteArray metadata(reinterpret_cast<const char *>(xmp->getBuffer()),
                              int(xmp->getSize()));
    QXmlStreamReader xml(metadata);
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::Characters && !xml.isWhitespace())
            texts << xml.text().toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(texts.contains(shown));
    QVERIFY(texts.contains(QStringLiteral("Ann Writer")));

    // The same pages and options give the same file.
    const QByteArray first = contentOf(pdf);
    QVERIFY(QFile::remove(pdf));
    BookBuild again(pdf, pages, options);
    again.setComicInfo(info);
    QCOMPARE(again.run(), BookBuild::Done);
    QVERIFY(contentOf(pdf) == first);
}

// A folder of JPEG pages made into a PDF, the PDF made into a CBZ with its
// pages kept: the same CBZ as of the folder, entry for entry.
void tst_PdfPackage::readBackAsASourceTheSamePages()
{
    QTemporaryDir dir;
    QStringList jpegs = QDir(m_pages.path()).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    jpegs.removeOne(QStringLiteral("3 cmyk.jpg")); // a CMYK page is turned to RGB in a CBZ
    QVERIFY(QDir().mkpath(dir.filePath("pages")));
    for (const QString &file : jpegs)
        QVERIFY(QFile::copy(m_pages.filePath(file), dir.filePath("pages/" + file)));
    const auto make = [&](const QString &source, const QString &target, PageOptions::Kind kind) {
        BookJob job;
        BookOptions options;
        options.pages.KeepUnchangedPages = true;
        options.pages.BookKind = kind;
        job.setOptions(options);
        job.setSources({source});
        job.setTarget(target);
        const BookJob::Result result = job.make();
        return result == BookJob::Made;
    };
    QVERIFY(make(dir.filePath("pages"), dir.filePath("Book.pdf"), PageOptions::PdfBook));
    QVERIFY(make(dir.filePath("pages"), dir.filePath("Folder.cbz"), PageOptions::CbzBook));
    QVERIFY(make(dir.filePath("Book.pdf"), dir.filePath("Pdf.cbz"), PageOptions::CbzBook));
    const QList<QByteArray> folder = archiveData(dir.filePath("Folder.cbz"));
    QCOMPARE(folder.size(), jpegs.size());
    QVERIFY(archiveData(dir.filePath("Pdf.cbz")) == folder);
}

void tst_PdfPackage::pngResolutionIsRead_data()
{
    QTest::addColumn<int>("dotsPerMeter"); // 0: none named
    QTest::addColumn<double>("dotsPerInch");
    QTest::newRow("300 dpi") << 11811 << 300.0;
    QTest::newRow("72 dpi") << 2835 << 72.0;
}

void tst_PdfPackage::pngResolutionIsRead()
{
    QFETCH(int, dotsPerMeter);
    QFETCH(double, dotsPerInch);
    QImage image = noiseImage(20, 30);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    const QByteArray png = encoded(image, "png");
    QVERIFY(qAbs(PdfPackager::pngDotsPerInch(png) - dotsPerInch) < 0.1);
    // Cut short inside its chunks: nothing named, nothing read past the end.
    QCOMPARE(PdfPackager::pngDotsPerInch(png.left(40)), 0.0);
}

QUIREVALE_TEST_MAIN(tst_PdfPackage)
#include "tst_pdfpackage.moc"
