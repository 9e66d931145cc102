#include "app/storedoptions.h"
#include "testsupport.h"

#include <QSettings>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(PageOptions)

namespace {
PageOptions with(std::function<void(PageOptions &)> change)
{
    PageOptions options;
    change(options);
    return options;
}
} // namespace

class tst_StoredOptions : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
};

void tst_StoredOptions::load_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<PageOptions>("loaded");

    QTest::newRow("nothing stored") << QVariantMap() << PageOptions();
    QTest::newRow("all good") << QVariantMap{{"ImageQuality", 0},
                                             {"ImageResize", true},
                                             {"ResizeImageWidth", 10000},
                                             {"ResizeImageHeight", 100},
                                             {"ImageCutDoublePages", true},
                                             {"ImageCutPointNumber", 80},
                                             {"ImageCutFirstPageRight", false},
                                             {"ImageCutBorder", true},
                                             {"ImageCutBorderNumber", 0}}
                              << with([](PageOptions &o) {
                                     o.ImageQuality = 0;
                                     o.ImageResize = true;
                                     o.ResizeImageWidth = 10000;
                                     o.ResizeImageHeight = 100;
                                     o.ImageCutDoublePages = true;
                                     o.ImageCutPointNumber = 80;
                                     o.ImageCutFirstPageRight = false;
                                     o.ImageCutBorder = true;
                                     o.ImageCutBorderNumber = 0;
                                 });
    QTest::newRow("out of range falls back, the rest is kept")
        << QVariantMap{{"ImageQuality", 101},
                       {"ResizeImageWidth", 99},
                       {"ImageCutPointNumber", 19},
                       {"ImageCutBorderNumber", -1},
                       {"ResizeImageHeight", 1200}}
        << with([](PageOptions &o) { o.ResizeImageHeight = 1200; });
    QTest::newRow("damaged") << QVariantMap{{"ImageQuality", "high"},
                                            {"ImageResize", "yes"},
                                            {"ImageCutPointNumber", "50.5"},
                                            {"ImageCutBorder", 1},
                                            {"ImageCutFirstPageRight", QStringList{"a", "b"}},
                                            {"ResizeImageWidth", QByteArray("\xff\x00", 2)}}
                             << PageOptions();
}

void tst_StoredOptions::load()
{
    QFETCH(QVariantMap, stored);
    QFETCH(PageOptions, loaded);
    QTemporaryDir dir;
    QSettings settings(dir.filePath("store.conf"), QSettings::IniFormat);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        settings.setValue("Options/" + it.key(), it.value());
    settings.sync();
    QSettings reread(dir.filePath("store.conf"), QSettings::IniFormat);
    const PageOptions o = loadPageOptions(reread);
    QCOMPARE(o.ImageQuality, loaded.ImageQuality);
    QCOMPARE(o.ImageResize, loaded.ImageResize);
    QCOMPARE(o.ResizeImageWidth, loaded.ResizeImageWidth);
    QCOMPARE(o.ResizeImageHeight, loaded.ResizeImageHeight);
    QCOMPARE(o.ImageCutDoublePages, loaded.ImageCutDoublePages);
    QCOMPARE(o.ImageCutPointNumber, loaded.ImageCutPointNumber);
    QCOMPARE(o.ImageCutFirstPageRight, loaded.ImageCutFirstPageRight);
    QCOMPARE(o.ImageCutBorder, loaded.ImageCutBorder);
    QCOMPARE(o.ImageCutBorderNumber, loaded.ImageCutBorderNumber);
}

QUIREVALE_TEST_MAIN(tst_StoredOptions)
#include "tst_storedoptions.moc"
