#include "preview/borderoverlay.h"
#include "preview/splitoverlay.h"
#include "testsupport.h"

class tst_OverlayGeometry : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void border_data();
    void border();
    void marginsNeverOverlap_data();
    void marginsNeverOverlap();
    void vanishedBorder_data();
    void vanishedBorder();
};

void tst_OverlayGeometry::split_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("cutPoint");
    QTest::addColumn<QSize>("sheet");
    QTest::addColumn<int>("cutX");
    QTest::addColumn<int>("divider");
    QTest::addColumn<QRect>("band");
    QTest::addColumn<int>("scissorsX");
    QTest::addColumn<QPoint>("leftSheet");
    QTest::addColumn<QPoint>("rightSheet");

    QTest::newRow("50 on 600") << QSize(600, 400) << 50 << QSize(96, 96) << 300 << 300
                               << QRect(QPoint(297, 0), QPoint(302, 399)) << 291 << QPoint(102, 152)
                               << QPoint(402, 152);
    QTest::newRow("20 on 400: sheets keep their room")
        << QSize(400, 300) << 20 << QSize(96, 96) << 80 << 96
        << QRect(QPoint(77, 0), QPoint(82, 299)) << 71 << QPoint(0, 102) << QPoint(200, 102);
    QTest::newRow("80 on 400: divider held from the right")
        << QSize(400, 300) << 80 << QSize(96, 96) << 320 << 304
        << QRect(QPoint(317, 0), QPoint(322, 299)) << 311 << QPoint(104, 102) << QPoint(304, 102);
    QTest::newRow("33 on 641 truncates")
        << QSize(641, 501) << 33 << QSize(96, 96) << 211 << 211
        << QRect(QPoint(208, 0), QPoint(213, 500)) << 202 << QPoint(57, 202) << QPoint(378, 202);
    QTest::newRow("widget smaller than the sheets")
        << QSize(50, 40) << 50 << QSize(96, 96) << 25 << 96 << QRect(QPoint(22, 0), QPoint(27, 39))
        << 16 << QPoint(0, -28) << QPoint(25, -28);
    QTest::newRow("pictures missing")
        << QSize(600, 400) << 50 << QSize(0, 0) << 300 << 300
        << QRect(QPoint(297, 0), QPoint(302, 399)) << 301 << QPoint(150, 200) << QPoint(450, 200);
}

void tst_OverlayGeometry::split()
{
    QFETCH(QSize, widget);
    QFETCH(int, cutPoint);
    QFETCH(QSize, sheet);
    QFETCH(int, cutX);
    QFETCH(int, divider);
    QFETCH(QRect, band);
    QFETCH(int, scissorsX);
    QFETCH(QPoint, leftSheet);
    QFETCH(QPoint, rightSheet);

    const QSize scissors = sheet.isEmpty() ? QSize(0, 0) : QSize(20, 20);
    const SplitOverlay overlay = SplitOverlay::compute(widget, cutPoint, sheet, sheet, scissors);
    QCOMPARE(overlay.cutX, cutX);
    QCOMPARE(overlay.divider, divider);
    QCOMPARE(overlay.band, band);
    QCOMPARE(overlay.upperScissors, QPoint(scissorsX, widget.height() / 4));
    QCOMPARE(overlay.lowerScissors, QPoint(scissorsX, 3 * (widget.height() / 4)));
    QCOMPARE(overlay.leftSheet, QRect(leftSheet, sheet));
    QCOMPARE(overlay.rightSheet, QRect(rightSheet, sheet));
}

void tst_OverlayGeometry::border_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("bx");
    QTest::addColumn<int>("by");
    QTest::addColumn<QRect>("kept");

    QTest::newRow("5 on 1000x1500 shown at 500x600")
        << QSize(500, 600) << QSize(1000, 1500) << 5 << 2 << 2 << QRect(2, 2, 496, 596);
    QTest::newRow("border 0: the whole widget")
        << QSize(500, 600) << QSize(1000, 1500) << 0 << 0 << 0 << QRect(0, 0, 500, 600);
    QTest::newRow("axes mapped apart")
        << QSize(400, 300) << QSize(100, 1000) << 10 << 40 << 3 << QRect(40, 3, 320, 294);
    QTest::newRow("1-pixel image")
        << QSize(300, 200) << QSize(1, 1) << 0 << 0 << 0 << QRect(0, 0, 300, 200);
}

void tst_OverlayGeometry::border()
{
    QFETCH(QSize, widget);
    QFETCH(QSize, image);
    QFETCH(int, border);
    QFETCH(int, bx);
    QFETCH(int, by);
    QFETCH(QRect, kept);

    const QSize s(20, 20);
    const BorderOverlay overlay = BorderOverlay::compute(widget, image, border, s, s, s, s);
    QVERIFY(!overlay.vanished);
    QCOMPARE(overlay.bx, bx);
    QCOMPARE(overlay.by, by);
    QCOMPARE(overlay.kept, kept);
    QCOMPARE(overlay.kept.right(), widget.width() - bx - 1);
    QCOMPARE(overlay.kept.bottom(), widget.height() - by - 1);
    // Scissors straddle the kept rectangle's edges, a quarter and three quarters along.
    const int kw = kept.width(), kh = kept.height();
    QCOMPARE(overlay.left[0], QPoint(bx - 10 + 1, by + kh / 4));
    QCOMPARE(overlay.left[1], QPoint(bx - 10 + 1, by + 3 * (kh / 4)));
    QCOMPARE(overlay.right[1], QPoint(widget.width() - bx - 1 - 10 + 1, by + 3 * (kh / 4)));
    QCOMPARE(overlay.top[0], QPoint(bx + kw / 4, by - 10 + 1));
    QCOMPARE(overlay.bottom[1], QPoint(bx + 3 * (kw / 4), widget.height() - by - 1 - 10 + 1));
}

void tst_OverlayGeometry::marginsNeverOverlap_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("border");
    QTest::newRow("small border") << QSize(500, 600) << QSize(1000, 1500) << 5;
    QTest::newRow("large border") << QSize(333, 777) << QSize(640, 480) << 200;
    QTest::newRow("no border") << QSize(300, 300) << QSize(300, 300) << 0;
}

// Shaded twice, a pixel would come out darker than the others: the four
// margins and the kept rectangle must tile the widget exactly.
void tst_OverlayGeometry::marginsNeverOverlap()
{
    QFETCH(QSize, widget);
    QFETCH(QSize, image);
    QFETCH(int, border);
    const QSize s(20, 20);
    const BorderOverlay overlay = BorderOverlay::compute(widget, image, border, s, s, s, s);
    QCOMPARE(overlay.margins.size(), 4);

    QVector<int> cover(widget.width() * widget.height(), 0);
    QList<QRect> pieces = overlay.margins;
    pieces << overlay.kept;
    for (const QRect &piece : pieces) {
        for (int y = piece.top(); y <= piece.bottom(); ++y)
            for (int x = piece.left(); x <= piece.right(); ++x) {
                QVERIFY(x >= 0 && y >= 0 && x < widget.width() && y < widget.height());
                ++cover[y * widget.width() + x];
            }
    }
    QVERIFY(std::all_of(cover.cbegin(), cover.cend(), [](int n) { return n == 1; }));
}

void tst_OverlayGeometry::vanishedBorder_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("border");
    QTest::newRow("twice the border is the width") << QSize(500, 500) << QSize(1000, 2000) << 500;
    QTest::newRow("far past the page") << QSize(500, 500) << QSize(100, 100) << 1000;
    QTest::newRow("1-pixel image, border 1") << QSize(300, 200) << QSize(1, 1) << 1;
}

void tst_OverlayGeometry::vanishedBorder()
{
    QFETCH(QSize, widget);
    QFETCH(QSize, image);
    QFETCH(int, border);
    const QSize s(20, 20);
    const BorderOverlay overlay = BorderOverlay::compute(widget, image, border, s, s, s, s);
    QVERIFY(overlay.vanished);
    // Everything is shaded once; nothing lies outside the widget.
    QCOMPARE(overlay.margins, QList<QRect>({QRect(QPoint(0, 0), widget)}));
}

QUIREVALE_TEST_MAIN(tst_OverlayGeometry)
#include "tst_overlaygeometry.moc"
