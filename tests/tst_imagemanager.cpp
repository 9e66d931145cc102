#include "imagemanager.h"
#include "quirevale.h"
#include "testsupport.h"

#include <QPainter>

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

QUIREVALE_TEST_MAIN(tst_ImageManager)
#include "tst_imagemanager.moc"
