#include "scans/stripcut.h"
#include "testsupport.h"

#include <QPainter>
#include <QtTest>

using namespace TestSupport;

class tst_StripCut : public QObject
{
    Q_OBJECT

private slots:
    void cutsFallOnGutters_data();
    void cutsFallOnGutters();
};

namespace {
// A strip of panels of noise (art) parted by gutters of white with specks
// and a thin dark frame at each side; panels lists each panel's height,
// gutters come between them.
QImage strip(int width, const QList<int> &panels, int gutter, QList<QPair<int, int>> *gutters)
{
    int height = 0;
    for (int panel : panels)
        height += panel + gutter;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    int y = 0;
    for (int panel : panels) {
        painter.drawImage(QPoint(width / 20, y), noiseImage(width - width / 10, panel));
        y += panel;
        gutters->append({y, y + gutter});
        // A speck in the gutter, as a scan has.
        if (gutter > 2)
            image.setPixel(width / 2, y + 1, qRgb(120, 120, 120));
        y += gutter;
    }
    if (width >= 40)
        painter.fillRect(0, 0, 2, height, Qt::black); // the strip's thin edge
    return image;
}
} // namespace

void tst_StripCut::cutsFallOnGutters_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("panels");
    QTest::addColumn<int>("gutter");
    QTest::addColumn<int>("height");
    QTest::newRow("panels of many heights")
        << 400 << QList<int>{500, 800, 300, 1200, 600, 900, 450, 700} << 60 << 1680;
    QTest::newRow("small panels, narrow gutters")
        << 300 << QList<int>{200, 250, 180, 300, 220, 260, 240, 210, 230, 190, 280} << 8 << 1000;
    QTest::newRow("one panel taller than the screen")
        << 400 << QList<int>{300, 4000, 300} << 80 << 1680;
    QTest::newRow("no gutter at all") << 400 << QList<int>{9000} << 0 << 1680;
    // Wide gutters a quarter to a half of the height down: each page ends
    // on one, none is cut through its art.
    QTest::newRow("gutters at 15 to 55 % of the height")
        << 800 << QList<int>{250, 1200, 300, 1250, 400, 1300} << 450 << 1680;
    // Too narrow to tell art from background: only the heights hold.
    QTest::newRow("a strip one pixel wide") << 1 << QList<int>{200000} << 0 << 1680;
}

// Every cut lies in a gutter wherever one is within reach; where none is,
// the cut falls at the height and says so. Pages are never higher than
// the height, nor shorter than a quarter of it but the last.
void tst_StripCut::cutsFallOnGutters()
{
    QFETCH(int, width);
    QFETCH(QList<int>, panels);
    QFETCH(int, gutter);
    QFETCH(int, height);
    QList<QPair<int, int>> gutters;
    const QImage image = strip(width, panels, gutter, &gutters);
    const QVector<StripCut::Cut> cuts = StripCut::plan(StripCut::plainRows(image), height);
    int top = 0;
    for (const StripCut::Cut &cut : cuts) {
        QVERIFY(cut.y - top <= height);
        QVERIFY(cut.y - top >= int(height * StripCut::Reach));
        bool inGutter = false, gutterInReach = false;
        for (const auto &band : qAsConst(gutters)) {
            if (band.second - band.first < StripCut::GutterRows)
                continue;
            inGutter = inGutter || (cut.y >= band.first && cut.y < band.second);
            gutterInReach = gutterInReach || (band.second > top + int(height * StripCut::Reach) &&
                                              band.first <= top + height);
        }
        if (width > 1) {
            QVERIFY2(inGutter == !cut.throughArt, qPrintable(QString::number(cut.y)));
            QCOMPARE(cut.throughArt, !gutterInReach);
        }
        top = cut.y;
    }
    QVERIFY(image.height() - top <= height);
    if (QTest::currentDataTag() == QLatin1String("gutters at 15 to 55 % of the height")) {
        for (const StripCut::Cut &cut : cuts)
            QVERIFY(!cut.throughArt);
    }
    QVERIFY(image.height() <= height || !cuts.isEmpty());
}

QUIREVALE_TEST_MAIN(tst_StripCut)
#include "tst_stripcut.moc"
