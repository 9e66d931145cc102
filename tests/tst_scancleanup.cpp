#include "making/bookbuild.h"
#include "making/pagetransform.h"
#include "making/scancleanup.h"
#include "samplepages.h"
#include "scans/blankpage.h"
#include "scans/facingpages.h"
#include "scans/levels.h"
#include "scans/skew.h"
#include "testsupport.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace TestSupport;

namespace {
// A page at 150 ppi with a paper margin: lines of text, panels with black
// borders, or a photograph (smooth shading, no lines) in a bordered frame.
QImage drawnPage(const QString &kind)
{
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(QColor(250, 248, 240));
    QPainter painter(&page);
    QRandomGenerator random(7);
    if (kind == "text") {
        for (int line = 0; line < 40; ++line) {
            int x = 120;
            while (x < 1080) {
                const int word = 20 + int(random.bounded(90));
                painter.fillRect(x, 140 + line * 36, qMin(word, 1120 - x), 14, QColor(30, 30, 30));
                x += word + 14;
            }
        }
    } else {
        const bool photograph = kind == "photograph";
        for (int row = 0; row < 3; ++row) {
            const QRect panel(120, 140 + row * 500, 1000, 460);
            if (photograph) {
                QLinearGradient shade(panel.topLeft(), panel.bottomRight());
                shade.setColorAt(0, QColor(200, 150, 90));
                shade.setColorAt(1, QColor(60, 90, 140));
                painter.fillRect(panel, shade);
            } else {
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(panel.adjusted(300, 100, -300, -100));
            }
            painter.setPen(QPen(Qt::black, 6));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(panel);
        }
    }
    return page;
}

// The row of the topmost dark pixel in column x, from top down.
int firstDarkRow(const QImage &page, int x, int from)
{
    for (int y = from; y < page.height(); ++y) {
        if (qGray(page.pixel(x, y)) < 100)
            return y;
    }
    return -1;
}

QImage noisePage(const QSize &size, int low, int high)
{
    QImage page(size, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int v = low + int(random.bounded(high - low + 1));
            page.setPixel(x, y, qRgb(v, v, v));
        }
    }
    return page;
}
} // namespace

class tst_ScanCleanup : public QObject
{
    Q_OBJECT

private slots:
    void slantIsFoundAndTurnedBack_data();
    void slantIsFoundAndTurnedBack();
    void pagesWithoutASlantAreLeftAlone_data();
    void pagesWithoutASlantAreLeftAlone();
    void levelsReachPaperAndInk();
    void blankPages_data();
    void blankPages();
    void facingPages_data();
    void facingPages();
    void buildCleansUpScans();
};

void tst_ScanCleanup::slantIsFoundAndTurnedBack_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("degrees");
    for (const char *kind : {"text", "panels", "photograph"}) {
        for (double degrees : {-4.8, -4.0, -2.5, -1.0, 0.4, 1.8, 3.0, 4.0, 4.6})
            QTest::addRow("%s, %.1f°", kind, degrees) << QString(kind) << degrees;
    }
}

// Drawn pages turned by known angles: the angle is found within 0.15°, and
// once turned back the panels' top borders are level within a pixel.
void tst_ScanCleanup::slantIsFoundAndTurnedBack()
{
    QFETCH(QString, kind);
    QFETCH(double, degrees);
    const QImage skewed = turnedOnPaper(drawnPage(kind), degrees);
    const Skew skew = Skew::find(skewed);
    QVERIFY2(skew.found, qPrintable(skew.whyNot));
    QVERIFY2(std::abs(skew.degrees - degrees) <= 0.15, qPrintable(QString::number(skew.degrees)));
    const QImage straight = Skew::straightened(skewed, skew.degrees);
    QCOMPARE(straight.size(), skewed.size());
    // The corners brought in are the margin's paper, not white or black.
    QVERIFY(colorNear(straight.pixelColor(2, 2), QColor(250, 248, 240), 6));
    if (kind != "text") {
        const int left = firstDarkRow(straight, 160, 80), right = firstDarkRow(straight, 1080, 80);
        QVERIFY(left > 0 && right > 0);
        QVERIFY2(std::abs(left - right) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
    }
}

void tst_ScanCleanup::pagesWithoutASlantAreLeftAlone_data()
{
    QTest::addColumn<QImage>("page");
    QTest::newRow("a page of noise") << noisePage(QSize(600, 850), 0, 255);
    QImage black(600, 850, QImage::Format_RGB32);
    black.fill(Qt::black);
    QTest::newRow("a page all black") << black;
    QImage thin(1, 20000, QImage::Format_RGB32);
    thin.fill(Qt::white);
    QTest::newRow("1 × 20000") << thin;
    QImage striped(20000, 3, QImage::Format_RGB32);
    for (int x = 0; x < striped.width(); ++x) {
        for (int y = 0; y < 3; ++y)
            striped.setPixel(x, y, x % 7 ? qRgb(240, 240, 240) : qRgb(20, 20, 20));
    }
    QTest::newRow("20000 × 3, with ink") << striped;
    QTest::newRow("blank paper") << noisePage(QSize(600, 850), 236, 250);
}

// Nothing to find the slant by, or nothing sure: the page stays as it is,
// and why is said.
void tst_ScanCleanup::pagesWithoutASlantAreLeftAlone()
{
    QFETCH(QImage, page);
    const Skew skew = Skew::find(page);
    QVERIFY(!skew.found);
    QVERIFY(!skew.whyNot.isEmpty());
    PagePlan plan;
    plan.straighten = true;
    ScanCleanup cleanup;
    QCOMPARE(cleanup.apply(page, plan), page);
    QVERIFY(cleanup.note().contains(skew.whyNot));
    // Levelled too, it keeps its size, and nothing is read past its pixels
    // (the sanitizer's build would say so).
    plan.levels = true;
    QCOMPARE(cleanup.apply(page, plan).size(), page.size());
}

// A faded page's ink goes black and its paper white; a colour keeps its hue.
void tst_ScanCleanup::levelsReachPaperAndInk()
{
    QImage faded = noisePage(QSize(800, 1100), 180, 200);
    QPainter painter(&faded);
    painter.fillRect(100, 100, 600, 200, QColor(70, 70, 70));
    painter.fillRect(100, 500, 600, 200, QColor(150, 110, 90)); // faded brown
    painter.end();
    const Levels levels = Levels::of(faded);
    QVERIFY(levels.stretchable());
    const QImage even = levels.applied(faded);
    // The mean of a patch: the paper's grain is stretched too.
    const auto mean = [](const QImage &image, const QRect &patch) {
        qint64 sum = 0;
        for (int y = patch.top(); y <= patch.bottom(); ++y) {
            for (int x = patch.left(); x <= patch.right(); ++x)
                sum += qGray(image.pixel(x, y));
        }
        return int(sum / (patch.width() * patch.height()));
    };
    const QRect ink(300, 150, 100, 100), paper(20, 800, 100, 200);
    QVERIFY2(mean(even, ink) <= 10, qPrintable(QString::number(mean(even, ink))));
    QVERIFY2(mean(even, paper) >= 235, qPrintable(QString::number(mean(even, paper))));
    const QColor before = faded.pixelColor(400, 600), after = even.pixelColor(400, 600);
    QVERIFY2(std::abs(before.hsvHue() - after.hsvHue()) <= 4,
             qPrintable(QStringLiteral("%1 %2").arg(before.hsvHue()).arg(after.hsvHue())));
    QVERIFY(after.hsvSaturation() >= before.hsvSaturation());
    // A gamma above one lightens the middle tones only.
    const QImage light = levels.applied(faded, 1.8);
    QVERIFY(qGray(light.pixel(400, 600)) > qGray(even.pixel(400, 600)));
    QVERIFY(qGray(light.pixel(400, 200)) <= 20);
    // Art to the page's edges has no paper to lift: a grey tone with light
    // highlights keeps its level.
    QImage bleed = noisePage(QSize(800, 1100), 205, 215);
    {
        QPainter tone(&bleed);
        tone.fillRect(300, 300, 200, 120, QColor(232, 232, 232)); // highlights
        tone.fillRect(300, 500, 200, 100, QColor(20, 20, 20));    // ink
    }
    const QImage bled = Levels::of(bleed).applied(bleed);
    QCOMPARE(mean(bled, QRect(50, 50, 100, 100)), mean(bleed, QRect(50, 50, 100, 100)));
    // Toned paper under pure white balloons cannot be lifted: neither it nor
    // a middle tone darkens, nor does the paper's tone grow.
    QImage toned(800, 1100, QImage::Format_RGB32);
    toned.fill(QColor(231, 219, 193));
    {
        QPainter art(&toned);
        art.fillRect(100, 100, 250, 150, Qt::white); // balloons
        art.fillRect(450, 100, 250, 150, Qt::white);
        art.fillRect(100, 400, 600, 60, Qt::black); // ink
        art.fillRect(100, 600, 600, 200, QColor(120, 120, 120));
    }
    const QImage kept = Levels::of(toned).applied(toned);
    const QColor paperBefore = toned.pixelColor(50, 1000), paperAfter = kept.pixelColor(50, 1000);
    QVERIFY(paperAfter.red() >= paperBefore.red() && paperAfter.green() >= paperBefore.green() &&
            paperAfter.blue() >= paperBefore.blue());
    QVERIFY(paperAfter.hsvSaturation() <= paperBefore.hsvSaturation());
    QVERIFY(qGray(kept.pixel(400, 700)) >= 120);
    // Blank paper is not stretched into marks.
    const QImage blank = noisePage(QSize(400, 560), 230, 250);
    QVERIFY(!Levels::of(blank).stretchable());
    QCOMPARE(Levels::of(blank).applied(blank), blank);
}

void tst_ScanCleanup::blankPages_data()
{
    QTest::addColumn<QImage>("page");
    QTest::addColumn<bool>("blank");
    QImage white(2480, 3508, QImage::Format_RGB32);
    white.fill(Qt::white);
    QTest::newRow("blank") << white << true;
    QImage noisy = addScannerNoise(QImage(white).convertToFormat(QImage::Format_RGB32), 5);
    {
        // A scanner's dark edge and a few specks of dust.
        QPainter painter(&noisy);
        painter.fillRect(0, 0, 2480, 30, QColor(40, 40, 40));
        painter.fillRect(700, 900, 3, 3, Qt::black);
        painter.fillRect(1900, 2500, 4, 4, Qt::black);
    }
    QTest::newRow("blank with noise, an edge and dust") << noisy << true;
    QImage numbered = noisy.copy();
    {
        // "17", 10 pt at 300 ppi: strokes of 4 pixels, 40 tall.
        QPainter painter(&numbered);
        painter.setPen(QPen(Qt::black, 4));
        painter.drawLine(1210, 3300, 1210, 3340);
        painter.drawLine(1225, 3300, 1245, 3300);
        painter.drawLine(1245, 3300, 1230, 3340);
    }
    QTest::newRow("nearly blank: a page number") << numbered << false;
    QImage black(1240, 1754, QImage::Format_RGB32);
    black.fill(Qt::black);
    QTest::newRow("all black") << black << false;
    QTest::newRow("noise") << noisePage(QSize(600, 850), 0, 255) << false;
    QTest::newRow("a drawn page") << drawnPage("panels") << false;
    // Colour counts as ink, and a coloured page is no blank one.
    QImage yellow = white.copy();
    QPainter(&yellow).fillRect(1000, 1500, 400, 30, QColor(255, 240, 120));
    QTest::newRow("a line in light yellow ink") << yellow << false;
    QImage pastel(1240, 1754, QImage::Format_RGB32);
    pastel.fill(QColor(200, 230, 255));
    QTest::newRow("a pastel fill") << pastel << false;
    // A back cover of toned paper with dust: specks, however their pixels
    // touch, are no content.
    QImage cream(1240, 1754, QImage::Format_RGB32);
    cream.fill(QColor(236, 226, 204));
    cream = addScannerNoise(cream, 9);
    {
        QPainter painter(&cream);
        for (int i = 0; i < 6; ++i)
            painter.fillRect(150 + i * 170, 300 + i * 210, 4, 4, QColor(60, 50, 40));
    }
    QTest::newRow("a toned back cover with specks") << cream << true;
    QImage numberedCream = cream.copy();
    {
        QPainter painter(&numberedCream);
        painter.setPen(QPen(QColor(30, 30, 30), 3));
        painter.drawLine(610, 1650, 610, 1680);
    }
    QTest::newRow("a page number on toned paper") << numberedCream << false;
}

void tst_ScanCleanup::blankPages()
{
    QFETCH(QImage, page);
    QFETCH(bool, blank);
    QCOMPARE(BlankPage::isBlank(page), blank);
}

void tst_ScanCleanup::facingPages_data()
{
    // Each page: s a spread kept whole, p a single page; the pages with a
    // blank before them.
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QVector<int>>("blanks");
    QTest::newRow("no spread") << "pppp" << QVector<int>();
    QTest::newRow("a spread on a pair") << "ppps" << QVector<int>();
    QTest::newRow("a spread a page late") << "pps" << QVector<int>{2};
    QTest::newRow("a spread as the cover") << "sps" << QVector<int>{2};
    QTest::newRow("spreads one after the other") << "psss" << QVector<int>();
    QTest::newRow("each spread put off") << "ppspsp" << QVector<int>{2, 4};
    QTest::newRow("a blank that sets later spreads right") << "ppsppsps" << QVector<int>{2, 7};
}

void tst_ScanCleanup::facingPages()
{
    QFETCH(QString, pages);
    QFETCH(QVector<int>, blanks);
    // The pages with a blank before them, placed one after the other.
    FacingPages facing;
    QVector<int> found;
    for (int i = 0; i < pages.size(); ++i) {
        const bool spread = pages.at(i) == 's';
        if (facing.blankBefore(spread))
            found << i;
        facing.place(spread);
    }
    QCOMPARE(found, blanks);
}

// The build straightens, levels, leaves out blank pages and puts blank
// pages before spreads, and says so; none of it without being asked.
void tst_ScanCleanup::buildCleansUpScans()
{
    QTemporaryDir dir;
    const QImage skewed = turnedOnPaper(drawnPage("panels"), 2.0);
    QImage blank(1240, 1754, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QImage spread = drawnPage("photograph").scaled(2480, 1754);
    QVERIFY(skewed.save(dir.filePath("1.png")));
    QVERIFY(blank.save(dir.filePath("2.png")));
    QVERIFY(drawnPage("text").save(dir.filePath("3.png")));
    QVERIFY(spread.save(dir.filePath("4.png")));
    // A scanner's file of two pictures, the first blank: never left out for it.
    QVERIFY(writeFile(dir.filePath("5.tif"), multiPageTiff({blank, drawnPage("text")})));
    QVector<BuildPage> pages;
    for (int i = 1; i <= 4; ++i)
        pages.append({i - 1, PageLocation(dir.filePath(QStringLiteral("%1.png").arg(i)))});
    pages.append({4, PageLocation(dir.filePath("5.tif"))});
    PageOptions options;
    options.ScanStraighten = true;
    options.ScanLeaveOutBlank = true;
    options.FacingSpreads = true;
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, options);
    ComicInfo info;
    info.write = true;
    build.setComicInfo(info);
    QVERIFY2(build.run() == BookBuild::Done, qPrintable(build.errorString()));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    // Cover, text page, a blank put in, the spread, the TIFF's two pictures,
    // ComicInfo.xml; the blank page of the book left out.
    QCOMPARE(entries.size(), 7);
    const QByteArray xml = entries.last().data;
    QVERIFY2(xml.contains("<Page Image=\"2\" Type=\"Other\""), xml.constData());
    QVERIFY(xml.contains("<Page Image=\"3\" DoublePage=\"true\""));
    QStringList notes;
    for (const BookBuild::PageNote &note : build.pageNotes())
        notes << QStringLiteral("%1: %2").arg(note.row).arg(note.text);
    QVERIFY2(notes.contains("1: left out: it is blank"), qPrintable(notes.join('\n')));
    QVERIFY2(notes.filter(QRegularExpression("^0: straightened by 2.0°")).size() == 1,
             qPrintable(notes.join('\n')));
    QVERIFY2(notes.filter(QRegularExpression("^3: a blank page put before it")).size() == 1,
             qPrintable(notes.join('\n')));
    QImage first;
    QVERIFY(first.loadFromData(entries.first().data));
    const int left = firstDarkRow(first, 160, 80), right = firstDarkRow(first, 1080, 80);
    QVERIFY2(std::abs(left - right) <= 1, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
}

QTEST_GUILESS_MAIN(tst_ScanCleanup)
#include "tst_scancleanup.moc"
