#include "making/pagerecipe.h"
#include "scans/colourtone.h"
#include "testsupport.h"

#include <QtTest>

class tst_ColourTone : public QObject
{
    Q_OBJECT

private slots:
    void saturationGrowsByTheBoost_data();
    void saturationGrowsByTheBoost();
    void greysStayGrey_data();
    void greysStayGrey();
    void tonedPagesAreNotKeptAsTheyAre();
};

namespace {
// Colours away from the ends, so that a boost of up to half does not clip.
QImage chart()
{
    const QList<QColor> colours = {{180, 120, 100}, {100, 140, 170}, {120, 160, 110},
                                   {150, 110, 150}, {170, 160, 100}, {110, 150, 150}};
    QImage image(colours.size() * 4, 4, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            image.setPixelColor(x, y, colours.at(x / 4));
    return image;
}

// How far, on average, a pixel's channels lie from its lightness, for its
// lightness.
double chroma(const QImage &image)
{
    double sum = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, 0);
        const double y = 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
        sum += (qAbs(c.red() - y) + qAbs(c.green() - y) + qAbs(c.blue() - y)) / y;
    }
    return sum / image.width();
}
} // namespace

void tst_ColourTone::saturationGrowsByTheBoost_data()
{
    QTest::addColumn<int>("boost");
    QTest::addColumn<int>("gamma");
    QTest::newRow("10%") << 10 << 100;
    QTest::newRow("30%") << 30 << 100;
    QTest::newRow("50%") << 50 << 100;
    // A gamma bends the lightness, never the colour's own strength.
    QTest::newRow("30%, gamma 3.00") << 30 << 300;
    QTest::newRow("10%, gamma 2.00") << 10 << 200;
    QTest::newRow("50%, gamma 0.70") << 50 << 70;
}

// A colour chart's distance from grey, for its lightness, grows by the
// boost within 2 % at any gamma; without a gamma its lightness stays.
void tst_ColourTone::saturationGrowsByTheBoost()
{
    QFETCH(int, boost);
    QFETCH(int, gamma);
    const QImage before = chart();
    const QImage after = ColourTone(boost, gamma).applied(before);
    const double measured = chroma(after) / chroma(before);
    QVERIFY2(qAbs(measured - (1 + boost / 100.0)) <= 0.02 * (1 + boost / 100.0),
             qPrintable(QString::number(measured)));
    for (int x = 0; x < before.width(); x += 4) {
        if (gamma == 100)
            QVERIFY(qAbs(qGray(after.pixel(x, 0)) - qGray(before.pixel(x, 0))) <= 2);
        // No colour comes out paler than it went in.
        QVERIFY(after.pixelColor(x, 0).hsvSaturation() >= before.pixelColor(x, 0).hsvSaturation());
    }
    // Even where the boost clips: a doubled boost over a strong gamma.
    const QImage strong = ColourTone(100, 300).applied(before);
    for (int x = 0; x < before.width(); x += 4)
        QVERIFY(strong.pixelColor(x, 0).hsvSaturation() > before.pixelColor(x, 0).hsvSaturation());
}

void tst_ColourTone::greysStayGrey_data()
{
    QTest::addColumn<int>("boost");
    QTest::addColumn<int>("gamma");
    QTest::newRow("boost alone") << 40 << 100;
    QTest::newRow("gamma alone") << 0 << 140;
    QTest::newRow("both") << 30 << 110;
    QTest::newRow("a darkening gamma") << 30 << 70;
}

// A grey ramp stays neutral, each step still lighter than the last; the
// gamma lightens (or darkens) the middle and keeps black and white.
void tst_ColourTone::greysStayGrey()
{
    QFETCH(int, boost);
    QFETCH(int, gamma);
    QImage ramp(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        ramp.setPixel(x, 0, qRgb(x, x, x));
    const QImage toned = ColourTone(boost, gamma).applied(ramp);
    for (int x = 0; x < 256; ++x) {
        const QRgb p = toned.pixel(x, 0);
        QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p), qPrintable(QString::number(x)));
        if (x > 0)
            QVERIFY(qRed(p) >= qRed(toned.pixel(x - 1, 0)));
    }
    QCOMPARE(qRed(toned.pixel(0, 0)), 0);
    QCOMPARE(qRed(toned.pixel(255, 0)), 255);
    const int middle = qRed(toned.pixel(128, 0));
    QVERIFY(gamma > 100 ? middle > 128 : gamma < 100 ? middle < 128 : middle == 128);
    // A page in one channel stays in one channel, toned the same way.
    const QImage grey =
        ColourTone(boost, gamma).applied(ramp.convertToFormat(QImage::Format_Grayscale8));
    QCOMPARE(grey.format(), QImage::Format_Grayscale8);
    QCOMPARE(qGray(grey.pixel(128, 0)), middle);
}

// A page whose colours are toned changes in every pixel: it is neither put
// in as its file is nor cut on its blocks.
void tst_ColourTone::tonedPagesAreNotKeptAsTheyAre()
{
    PageOptions options;
    options.KeepUnchangedPages = true;
    options.LosslessCuts = true;
    const PageFacts facts{QSize(800, 1200), "jpeg", {}, {}};
    QCOMPARE(PageRecipe(facts, options).route(), PageRecipe::Kept);
    options.ColourBoost = 20;
    const PageRecipe toned(facts, options);
    QCOMPARE(toned.route(), PageRecipe::Encoded);
}

QUIREVALE_TEST_MAIN(tst_ColourTone)
#include "tst_colourtone.moc"
