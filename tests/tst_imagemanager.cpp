#include "app/previewcontroller.h"
#include "app/quirevale.h"
#include "making/bookbuild.h"
#include "preview/imagemanager.h"
#include "preview/splitoverlay.h"
#include "testsupport.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QWheelEvent>

Q_DECLARE_METATYPE(QMargins)

namespace {
// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QColor Grey(161, 161, 161);
const QColor PageColor(40, 80, 160);

// src over dst with alpha, as the painter blends.
QColor blend(const QColor &src, int alpha, const QColor &dst)
{
    const double a = alpha / 255.0;
    return QColor(qRound(src.red() * a + dst.red() * (1 - a)),
                  qRound(src.green() * a + dst.green() * (1 - a)),
                  qRound(src.blue() * a + dst.blue() * (1 - a)));
}
const QColor Band(250, 250, 250);
const QColor Shade(128, 128, 128);

// A 600 x 400 preview of a plain 1200 x 800 page.
void preparePreview(ImageManager &preview)
{
    QPixmap page(1200, 800);
    page.fill(PageColor);
    preview.resize(600, 400);
    preview.SetImage(page);
}

// The positions of the near-black pixels of a digit drawn as the preview
// draws its labels, centred in a box of the sheet's size.
QSet<int> glyphCore(const QString &digit, const QFont &base, const QSize &box)
{
    QImage image(box, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = base;
    font.setPixelSize(70);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), box), Qt::AlignCenter, digit);
    painter.end();
    QSet<int> core;
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            if (qGray(image.pixel(x, y)) < 40)
                core.insert(y * box.width() + x);
    return core;
}

QSet<int> darkPixels(const QImage &shot, const QRect &area)
{
    QSet<int> core;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (qGray(shot.pixel(area.x() + x, area.y() + y)) < 40)
                core.insert(y * area.width() + x);
    return core;
}
} // namespace

class tst_ImageManager : public QObject
{
    Q_OBJECT

private slots:
    void initialSettings();
    void settersStoreAndGetImageIsTheHeldPixmap();
    void backgroundOnlyWithoutImage_data();
    void backgroundOnlyWithoutImage();
    void imageFillsTheWholeWidget_data();
    void imageFillsTheWholeWidget();
    void severalSettersGiveOnePaint();
    void splitBandAndLine();
    void borderShading_data();
    void borderShading();
    void labelsFollowTheFirstPage();
    void hugeBorderShadesEverythingOnce();
    void actualSizeShowsEveryPixel();
    void previewCutIsTheBuildsCut_data();
    void previewCutIsTheBuildsCut();
};

void tst_ImageManager::initialSettings()
{
    ImageManager preview;
    QVERIFY(preview.GetImage().isNull());
    QVERIFY(!preview.cutDoublePages());
    QVERIFY(!preview.cutBorder());
    QVERIFY(preview.firstPageRight());
    QCOMPARE(preview.cutPoint(), 50);
    QCOMPARE(preview.cutBorderSize(), 5);
}

void tst_ImageManager::settersStoreAndGetImageIsTheHeldPixmap()
{
    ImageManager preview;
    QPixmap page(40, 30);
    page.fill(Qt::red);
    preview.SetImage(page);
    QCOMPARE(preview.GetImage().size(), QSize(40, 30));
    QVERIFY(&preview.GetImage() == &preview.GetImage());
    QCOMPARE(preview.GetImage().cacheKey(), page.cacheKey()); // shared, not copied

    // No bounds are applied: the form's controls are the only limits.
    preview.SetCutPoint(5);
    preview.SetCutBorderSize(-3);
    preview.SetFirstPageRight(false);
    preview.SetCutDoublePages(true);
    preview.SetCutBorder(true);
    QCOMPARE(preview.cutPoint(), 5);
    QCOMPARE(preview.cutBorderSize(), -3);
    QVERIFY(!preview.firstPageRight());
    QVERIFY(preview.cutDoublePages());
    QVERIFY(preview.cutBorder());

    preview.SetImage(QPixmap());
    QVERIFY(preview.GetImage().isNull());
}

void tst_ImageManager::backgroundOnlyWithoutImage_data()
{
    QTest::addColumn<bool>("overlays");
    QTest::newRow("overlays off") << false;
    QTest::newRow("both overlays on") << true;
}

void tst_ImageManager::backgroundOnlyWithoutImage()
{
    QFETCH(bool, overlays);
    Quirevale window;
    auto *preview = window.findChild<ImageManager *>(QStringLiteral("ImageArea"));
    preview->SetCutDoublePages(overlays);
    preview->SetCutBorder(overlays);
    preview->setPlaceholderText(QString()); // the empty window's hint is text, not overlay
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage shot = preview->grab().toImage();
    QVERIFY(shot.width() >= 300);
    for (int y = 0; y < shot.height(); y += 7) {
        for (int x = 0; x < shot.width(); x += 7)
            QVERIFY2(shot.pixelColor(x, y) == Grey,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }
}

void tst_ImageManager::imageFillsTheWholeWidget_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QSize>("widgetSize");
    QTest::newRow("wide page in a tall widget") << QSize(400, 100) << QSize(300, 500);
    QTest::newRow("tall page in a wide widget") << QSize(60, 300) << QSize(640, 320);
    QTest::newRow("tiny page") << QSize(2, 2) << QSize(334, 211);
}

void tst_ImageManager::imageFillsTheWholeWidget()
{
    QFETCH(QSize, imageSize);
    QFETCH(QSize, widgetSize);

    // Four quadrants of different colours: each must reach its own corner.
    QImage page(imageSize, QImage::Format_RGB32);
    const int halfW = imageSize.width() / 2, halfH = imageSize.height() / 2;
    QPainter painter(&page);
    painter.fillRect(0, 0, halfW, halfH, Qt::red);
    painter.fillRect(halfW, 0, imageSize.width() - halfW, halfH, Qt::green);
    painter.fillRect(0, halfH, halfW, imageSize.height() - halfH, Qt::blue);
    painter.fillRect(halfW, halfH, imageSize.width() - halfW, imageSize.height() - halfH,
                     Qt::yellow);
    painter.end();

    ImageManager preview;
    preview.resize(widgetSize);
    preview.SetImage(QPixmap::fromImage(page));
    const QImage shot = preview.grab().toImage();
    QCOMPARE(shot.size(), widgetSize);
    const int w = widgetSize.width(), h = widgetSize.height();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(w - 1, 0), QColor(Qt::green));
    QCOMPARE(shot.pixelColor(0, h - 1), QColor(Qt::blue));
    QCOMPARE(shot.pixelColor(w - 1, h - 1), QColor(Qt::yellow));
    // Nearest neighbour: the boundary falls exactly at the middle, no blending.
    QCOMPARE(shot.pixelColor(w / 2 - 1, 0), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(w / 2, 0), QColor(Qt::green));
}

void tst_ImageManager::severalSettersGiveOnePaint()
{
    ImageManager preview;
    preview.resize(200, 200);
    QPixmap page(10, 10);
    page.fill(Qt::white);
    preview.SetImage(page);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCoreApplication::processEvents();

    PaintCounter counter;
    preview.installEventFilter(&counter);
    preview.SetCutPoint(30);
    preview.SetCutBorderSize(9);
    preview.SetCutDoublePages(true);
    preview.SetCutBorder(true);
    preview.SetFirstPageRight(false);
    QTRY_COMPARE(counter.paints, 1);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 1);
}

void tst_ImageManager::splitBandAndLine()
{
    ImageManager preview;
    preparePreview(preview);
    preview.SetCutDoublePages(true);
    preview.SetCutPoint(50);
    const QImage shot = preview.grab().toImage();

    const int y = 10; // above the scissors and the sheets
    QVERIFY(TestSupport::colorNear(shot.pixelColor(296, y), PageColor, 0));
    for (int x : {297, 299, 301, 302})
        QVERIFY2(TestSupport::colorNear(shot.pixelColor(x, y), blend(Band, 128, PageColor)),
                 qPrintable(QString::number(x)));
    QVERIFY(TestSupport::colorNear(shot.pixelColor(303, y), PageColor, 0));

    // The line at 300 is dashed: black and band pixels take turns.
    int black = 0, pale = 0;
    for (int row = 0; row < 60; ++row) {
        const QColor c = shot.pixelColor(300, row);
        if (TestSupport::colorNear(c, Qt::black))
            ++black;
        else if (TestSupport::colorNear(c, blend(Band, 128, PageColor)))
            ++pale;
    }
    QVERIFY(black > 15);
    QVERIFY(pale > 5);
    QCOMPARE(black + pale, 60);

    // Moving the cut point moves the line.
    preview.SetCutPoint(30);
    const QImage moved = preview.grab().toImage();
    QVERIFY(TestSupport::colorNear(moved.pixelColor(299, y), PageColor, 0));
    QVERIFY(TestSupport::colorNear(moved.pixelColor(179, y), blend(Band, 128, PageColor)));
}

void tst_ImageManager::borderShading_data()
{
    QTest::addColumn<bool>("split");
    QTest::newRow("border alone") << false;
    QTest::newRow("over the split") << true;
}

void tst_ImageManager::borderShading()
{
    QFETCH(bool, split);
    ImageManager preview;
    preparePreview(preview);
    preview.SetCutDoublePages(split);
    preview.SetCutBorder(true);
    preview.SetCutBorderSize(20); // 10 widget pixels on each axis
    const QImage shot = preview.grab().toImage();

    const QColor margin = blend(Shade, 100, PageColor);
    QVERIFY(TestSupport::colorNear(shot.pixelColor(5, 200), margin));   // left
    QVERIFY(TestSupport::colorNear(shot.pixelColor(150, 5), margin));   // top
    QVERIFY(TestSupport::colorNear(shot.pixelColor(595, 200), margin)); // right
    QVERIFY(TestSupport::colorNear(shot.pixelColor(150, 395), margin)); // bottom
    QVERIFY(TestSupport::colorNear(shot.pixelColor(5, 5), margin));     // a corner, shaded once
    QVERIFY(TestSupport::colorNear(shot.pixelColor(150, 60), PageColor, 0)); // kept
    // The outline runs along the kept part's first column, dashed.
    int black = 0;
    for (int row = 40; row < 90; ++row)
        black += TestSupport::colorNear(shot.pixelColor(10, row), Qt::black) ? 1 : 0;
    QVERIFY(black > 10 && black < 50);

    // Over the split band, the margin's shade lies on top of the band.
    const QColor top = shot.pixelColor(299, 5);
    if (split)
        QVERIFY(TestSupport::colorNear(top, blend(Shade, 100, blend(Band, 128, PageColor))));
    else
        QVERIFY(TestSupport::colorNear(top, margin));
}

void tst_ImageManager::labelsFollowTheFirstPage()
{
    ImageManager preview;
    preparePreview(preview);
    preview.SetCutDoublePages(true);
    const QPixmap sheet(QStringLiteral(":/Quirevale/page_left.png"));
    QVERIFY(!sheet.isNull());
    const SplitOverlay overlay =
        SplitOverlay::compute(preview.size(), 50, sheet.size(), sheet.size(), QSize(20, 20));
    const QSet<int> one = glyphCore(QStringLiteral("1"), preview.font(), sheet.size());
    const QSet<int> two = glyphCore(QStringLiteral("2"), preview.font(), sheet.size());
    QVERIFY(!one.isEmpty() && !two.isEmpty() && one != two);

    // A few pixels of the sheet's own outline may be as dark as the digit.
    auto shows = [](const QSet<int> &dark, const QSet<int> &digit) {
        return (dark - digit).size() + (digit - dark).size() < 12;
    };
    QImage shot = preview.grab().toImage();
    QVERIFY(shows(darkPixels(shot, overlay.leftSheet), two));
    QVERIFY(shows(darkPixels(shot, overlay.rightSheet), one));

    preview.SetFirstPageRight(false);
    shot = preview.grab().toImage();
    QVERIFY(shows(darkPixels(shot, overlay.leftSheet), one));
    QVERIFY(shows(darkPixels(shot, overlay.rightSheet), two));
    QVERIFY(!shows(one, two));
}

void tst_ImageManager::hugeBorderShadesEverythingOnce()
{
    ImageManager preview;
    preparePreview(preview);
    preview.SetCutBorder(true);
    preview.SetCutBorderSize(1000);
    const QImage shot = preview.grab().toImage();
    QCOMPARE(shot.size(), QSize(600, 400));
    const QColor margin = blend(Shade, 100, PageColor);
    for (int y = 0; y < 400; y += 13)
        for (int x = 0; x < 600; x += 17)
            QVERIFY2(TestSupport::colorNear(shot.pixelColor(x, y), margin),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));

    // A one-pixel page with both overlays on draws without trouble.
    preview.SetImage(QPixmap(1, 1));
    preview.SetCutDoublePages(true);
    preview.SetCutBorderSize(0);
    QCOMPARE(preview.grab().size(), QSize(600, 400));
}

// At actual size each pixel of the page is one of the widget: the view
// starts at the page's corner, moves with the wheel and a drag within the
// page, and the cut line is drawn where the page is cut, moved with it.
void tst_ImageManager::actualSizeShowsEveryPixel()
{
    QImage page(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            page.setPixel(x, y, qRgb(x * 255 / 800, y * 255 / 600, 128));
    }
    ImageManager preview;
    preview.resize(300, 200);
    preview.SetImage(QPixmap::fromImage(page));
    preview.setActualSize(true);
    QCOMPARE(preview.grab().toImage().pixelColor(40, 30), page.pixelColor(40, 30));
    // The wheel goes down the page, Shift and the wheel across it.
    QWheelEvent down(QPointF(150, 100), QPointF(150, 100), QPoint(), QPoint(0, -240), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&preview, &down);
    QCOMPARE(preview.scrollOffset(), QPoint(0, 120));
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(200, 100));
    QMouseEvent drag(QEvent::MouseMove, QPointF(100, 90), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&preview, &drag);
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(100, 90));
    QCOMPARE(preview.scrollOffset(), QPoint(100, 130));
    QCOMPARE(preview.grab().toImage().pixelColor(40, 30), page.pixelColor(140, 160));
    // Never past the page's edge.
    QWheelEvent far(QPointF(150, 100), QPointF(150, 100), QPoint(), QPoint(0, -24000), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&preview, &far);
    QCOMPARE(preview.scrollOffset(), QPoint(100, 400));
    // The cut at 50 % is at the page's column 400: the widget's 300, here.
    preview.SetCutDoublePages(true);
    preview.SetCutPoint(50);
    int black = 0;
    const QImage shot = preview.grab().toImage();
    for (int y = 0; y < 60; ++y)
        black += TestSupport::colorNear(shot.pixelColor(299, y), Qt::black) ||
                 TestSupport::colorNear(shot.pixelColor(300, y), Qt::black);
    QVERIFY(black > 15);
    preview.setActualSize(false);
    QCOMPARE(preview.scrollOffset(), QPoint());
}

QUIREVALE_TEST_MAIN(tst_ImageManager)
void tst_ImageManager::previewCutIsTheBuildsCut_data()
{
    QTest::addColumn<int>("cutPoint");
    QTest::addColumn<bool>("rightFirst");
    QTest::addColumn<int>("bookBorder"); // 0: none
    QTest::addColumn<bool>("trim");
    QTest::addColumn<QMargins>("ownBorder"); // null: the book's
    QTest::newRow("plain, at half") << 50 << false << 0 << false << QMargins();
    QTest::newRow("right first, at 40 %") << 40 << true << 0 << false << QMargins();
    QTest::newRow("the book's border") << 50 << false << 12 << false << QMargins();
    QTest::newRow("margins trimmed") << 50 << false << 0 << true << QMargins();
    QTest::newRow("an own border of four sides")
        << 50 << false << 0 << false << QMargins(60, 4, 10, 8);
    QTest::newRow("own border and trim, right first, at 35 %")
        << 35 << true << 0 << true << QMargins(30, 2, 6, 2);
}

// The cut line the preview draws falls on the column where the build cuts:
// inside the border and the trimmed margins, not at the cut point of the
// whole page. Lossless WebP pages tell the columns they came from.
void tst_ImageManager::previewCutIsTheBuildsCut()
{
    QFETCH(int, cutPoint);
    QFETCH(bool, rightFirst);
    QFETCH(int, bookBorder);
    QFETCH(bool, trim);
    QFETCH(QMargins, ownBorder);
    // White margins round a drawing whose pixels hold their own column.
    QImage page(400, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int y = 30; y < 180; ++y) {
        auto *line = reinterpret_cast<QRgb *>(page.scanLine(y));
        for (int x = 70; x < 380; ++x)
            line[x] = qRgb(x & 0xff, x >> 8, 0x80);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath("spread.png");
    QVERIFY(page.save(file));
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.ImageCutPointNumber = cutPoint;
    options.ImageCutFirstPageRight = rightFirst;
    options.ImageCutBorder = bookBorder > 0;
    options.ImageCutBorderNumber = qMax(1, bookBorder);
    options.ImageTrimMargins = trim;
    options.PageFormat = PageOptions::WebpLosslessPages;
    PageTreatment own;
    if (!ownBorder.isNull())
        own.setOwnBorder(ownBorder);

    ImageManager area;
    area.resize(400, 200);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QWidget window;
    PreviewController preview(&area, &window);
    preview.setTreatment(options, own);
    preview.show(PageLocation(file), {});
    QTRY_VERIFY(!area.GetImage().isNull());
    preview.setTreatment(options, own);

    const QString archive = dir.filePath("made.cbz");
    BookBuild build(archive, {BuildPage{0, PageLocation(file), own}}, options);
    build.setThreadCount(1);
    QCOMPARE(build.run(), BookBuild::Done);
    bool ok = false;
    const QList<TestSupport::ArchiveEntry> entries = TestSupport::readArchive(archive, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 2);
    // The half that holds the right of the page starts on the cut column.
    const QImage right = QImage::fromData(entries.at(rightFirst ? 0 : 1).data);
    const QRgb first = right.pixel(0, right.height() / 2);
    const int column = qRed(first) | (qGreen(first) << 8);
    QCOMPARE(area.cutColumn(), column);
    area.repaint();
    QCOMPARE(area.drawnCutX(), column * area.width() / page.width());
}

#include "tst_imagemanager.moc"
