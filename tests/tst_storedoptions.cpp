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
    void everyFieldComesBack();
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
    QVERIFY(loadPageOptions(reread) == loaded);
}

// Every option saved comes back as it was: one given no key would come
// back as its default.
void tst_StoredOptions::everyFieldComesBack()
{
    // Grows with every field added: give it a key, and a place in
    // PageOptions::operator== and below.
    static_assert(sizeof(PageOptions) == 52, "PageOptions has a field this test does not set");
    PageOptions o;
    o.ImageQuality = 77;
    o.ImageResize = true;
    o.ResizeImageWidth = 1200;
    o.ResizeImageHeight = 1600;
    o.ImageResizeFit = true;
    o.ImageResizeSmooth = true;
    o.ImageCutDoublePages = true;
    o.ImageCutOnlyWide = true;
    o.ImageCutPointNumber = 47;
    o.ImageCutFirstPageRight = false;
    o.ImageCutBorder = true;
    o.ImageCutBorderNumber = 12;
    o.ImageTrimMargins = true;
    o.ImageTrimTolerance = 40;
    o.KeepUnchangedJpeg = true;
    o.PageFormat = PageOptions::WebpPages;
    o.StorePages = true;
    o.GreyAuto = true;
    o.GreyAll = true;
    o.LosslessCuts = true;
    QTemporaryDir dir;
    {
        QSettings settings(dir.filePath("store.conf"), QSettings::IniFormat);
        savePageOptions(settings, o);
    }
    QSettings reread(dir.filePath("store.conf"), QSettings::IniFormat);
    QVERIFY(loadPageOptions(reread) == o);
}

QUIREVALE_TEST_MAIN(tst_StoredOptions)
#include "tst_storedoptions.moc"
