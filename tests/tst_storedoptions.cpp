#include "book/optiontable.h"
#include "book/settingsfile.h"
#include "testsupport.h"

#include <QSet>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

Q_DECLARE_METATYPE(BookOptions)

namespace {
BookOptions with(std::function<void(PageOptions &)> change)
{
    BookOptions options;
    change(options.pages);
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
    void everyOptionOfTheTableComesBack();
    void namesKeysAndFlagsAreEachOptionsOwn();
    void settingsOnlyInARegularFile_data();
    void settingsOnlyInARegularFile();
};

void tst_StoredOptions::load_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<BookOptions>("loaded");

    QTest::newRow("nothing stored") << QVariantMap() << BookOptions();
    QTest::newRow("all good") << QVariantMap{{"Options/ImageQuality", 0},
                                             {"Options/ImageResize", true},
                                             {"Options/ResizeImageWidth", 10000},
                                             {"Options/ResizeImageHeight", 100},
                                             {"Options/ImageCutDoublePages", true},
                                             {"Options/ImageCutPointNumber", 80},
                                             {"Options/ImageCutFirstPageRight", false},
                                             {"Options/ImageCutBorder", true},
                                             {"Options/ImageCutBorderNumber", 0},
                                             {"Options/Grey", "all"},
                                             {"PdfResolution", 300}}
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
                                     o.PageGrey = PageOptions::GreyEveryPage;
                                     o.PdfResolution = 300;
                                 });
    QTest::newRow("out of range falls back, the rest is kept")
        << QVariantMap{{"Options/ImageQuality", 101},
                       {"Options/ResizeImageWidth", 99},
                       {"Options/ImageCutPointNumber", 19},
                       {"Options/ImageCutBorderNumber", -1},
                       {"PdfResolution", 5000},
                       {"Options/ResizeImageHeight", 1200}}
        << with([](PageOptions &o) { o.ResizeImageHeight = 1200; });
    QTest::newRow("damaged") << QVariantMap{{"Options/ImageQuality", "high"},
                                            {"Options/ImageResize", "yes"},
                                            {"Options/ImageCutPointNumber", "50.5"},
                                            {"Options/ImageCutBorder", 1},
                                            {"Options/ImageCutFirstPageRight", QStringList{"a"}},
                                            {"Options/PageFormat", "gif"},
                                            {"Options/Grey", "sepia"},
                                            {"Options/ResizeImageWidth", QByteArray("\xff\x00", 2)}}
                             << BookOptions();
    // Settings left by the version whose grey pages were two switches.
    QTest::newRow("grey of before, every page")
        << QVariantMap{{"Options/GreyAuto", true}, {"Options/GreyAll", true}}
        << with([](PageOptions &o) { o.PageGrey = PageOptions::GreyEveryPage; });
    QTest::newRow("grey of before, pages without colour")
        << QVariantMap{{"Options/GreyAuto", true}, {"Options/GreyAll", false}}
        << with([](PageOptions &o) { o.PageGrey = PageOptions::GreyWithoutColour; });
    QTest::newRow("the choice of now wins over the switches of before")
        << QVariantMap{{"Options/GreyAll", true}, {"Options/Grey", "colour"}} << BookOptions();
}

void tst_StoredOptions::load()
{
    QFETCH(QVariantMap, stored);
    QFETCH(BookOptions, loaded);
    QTemporaryDir dir;
    QSettings settings(dir.filePath("store.conf"), QSettings::IniFormat);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    QSettings reread(dir.filePath("store.conf"), QSettings::IniFormat);
    QVERIFY(loadBookOptions(reread) == loaded);
}

// Every field saved comes back as it was: one given no key would come back
// as its default.
void tst_StoredOptions::everyFieldComesBack()
{
    // Grows with every field added: give it a place in the option table
    // and below.
    // KeepOnlyJpegAndPng is no user's option: a clean copy of a book sets it.
    static_assert(sizeof(PageOptions) == 108, "PageOptions has a field this test does not set");
    static_assert(sizeof(BookOptions) == 112, "BookOptions has a field this test does not set");
    BookOptions b;
    PageOptions &o = b.pages;
    o.ImageQuality = 77;
    o.ImageResize = true;
    o.ResizeImageWidth = 1200;
    o.ResizeImageHeight = 1600;
    o.ImageResizeMode = PageOptions::ResizeToFit;
    o.ImageResizeSmooth = true;
    o.ImageResizeNoEnlarge = true;
    o.ImageCutDoublePages = true;
    o.ImageCutOnlyWide = true;
    o.ImageCutPointNumber = 47;
    o.ImageCutFirstPageRight = false;
    o.ImageCutBorder = true;
    o.ImageCutBorderNumber = 12;
    o.ImageTrimMargins = true;
    o.ImageTrimTolerance = 40;
    o.KeepUnchangedPages = true;
    o.PageFormat = PageOptions::WebpPages;
    o.StorePages = true;
    o.BookKind = PageOptions::Azw3Book;
    o.MaxBookMegabytes = 50;
    o.LinearizePdf = true;
    o.PageGrey = PageOptions::GreyWithoutColour;
    o.LosslessCuts = true;
    o.PdfResolution = 600;
    o.ScanStraighten = true;
    o.ScanLevels = true;
    o.ScanLevelsGamma = 150;
    o.ScanLeaveOutBlank = true;
    o.FacingSpreads = true;
    o.ColourBoost = 25;
    o.ColourGamma = 120;
    o.CutLongStrips = true;
    o.StripHeight = 1448;
    b.everyPictureType = true;
    b.writeComicInfo = true;
    QTemporaryDir dir;
    {
        QSettings settings(dir.filePath("store.conf"), QSettings::IniFormat);
        saveBookOptions(settings, b);
    }
    QSettings reread(dir.filePath("store.conf"), QSettings::IniFormat);
    QVERIFY(loadBookOptions(reread) == b);
}

// Each remembered option of the table, set to each end of its range, comes
// back alone: its key reads what it writes.
void tst_StoredOptions::everyOptionOfTheTableComesBack()
{
    for (const BookOption &option : bookOptions()) {
        if (!option.settingsKey)
            continue;
        for (const int value : {option.range.minimum, option.range.maximum}) {
            BookOptions given;
            option.set(given, value);
            QTemporaryDir dir;
            {
                QSettings settings(dir.filePath("store.conf"), QSettings::IniFormat);
                saveBookOptions(settings, given);
            }
            QSettings reread(dir.filePath("store.conf"), QSettings::IniFormat);
            QVERIFY2(option.get(loadBookOptions(reread)) == value, option.name);
        }
    }
}

QUIREVALE_TEST_MAIN(tst_StoredOptions)
// Two rows under one key or flag would overwrite each other's value; a
// switch's two controls, or a word given twice, would read back as another.
void tst_StoredOptions::namesKeysAndFlagsAreEachOptionsOwn()
{
    QSet<QString> names, keys, flags, controls;
    for (const BookOption &option : bookOptions()) {
        QVERIFY2(!names.contains(option.name), option.name);
        names << option.name;
        if (option.settingsKey) {
            QVERIFY2(!keys.contains(option.settingsKey), option.settingsKey);
            keys << option.settingsKey;
        }
        if (option.flag) {
            QVERIFY2(!flags.contains(option.flag), option.flag);
            flags << option.flag;
        }
        for (const BookOption::Control &control : option.controlList()) {
            QVERIFY2(!controls.contains(control.name), qPrintable(control.name));
            controls << control.name;
        }
        const QStringList words = option.wordList();
        QCOMPARE(QSet<QString>(words.begin(), words.end()).size(), words.size());
        if (option.kind == BookOption::Choice)
            QCOMPARE(option.range.maximum, words.size() - 1);
        // Remembered or given, its value has somewhere to go.
        QVERIFY2((option.settingsKey == nullptr && option.flag == nullptr) || option.get ||
                     option.kind == BookOption::Box,
                 option.name);
        if (option.usedUnder)
            QVERIFY2(option.usedUnderOption(), option.usedUnder);
    }
}

void tst_StoredOptions::settingsOnlyInARegularFile_data()
{
    QTest::addColumn<QString>("linkedTo");
    QTest::addColumn<bool>("used");
    QTest::newRow("a regular file, through a link") << "file" << true;
    QTest::newRow("a pipe, that would block the start") << "fifo" << false;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("a device node of the test's own") << "device" << false;
}

// The settings file is a link: the settings are read and written through
// it only when it names a regular file; otherwise the run keeps its
// settings aside, says so, and what the link names stays as it is.
void tst_StoredOptions::settingsOnlyInARegularFile()
{
    QFETCH(QString, linkedTo);
    QFETCH(bool, used);
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    const QByteArray name = QFile::encodeName(target);
    if (linkedTo == "file")
        QVERIFY(QFile(target).open(QIODevice::WriteOnly));
    else if (linkedTo == "fifo")
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    else if (linkedTo == "folder")
        QVERIFY(QDir().mkdir(target));
    else if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        QSKIP("A device node needs the right to make one (root, or CAP_MKNOD)");
    const QString organization = QStringLiteral("GuardTest");
    const QString settingsFile = QSettings(organization, "Quirevale").fileName();
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile).path()));
    QFile::remove(settingsFile);
    QVERIFY(QFile::link(target, settingsFile));
    const bool guarded = SettingsFile::guardUserSettings(organization, "Quirevale");
    QCOMPARE(guarded, used);
    QCOMPARE(SettingsFile::guardNotice().isEmpty(), used);
    {
        QSettings settings(organization, "Quirevale");
        settings.setValue("Options/ImageQuality", 42);
        settings.sync();
    }
    struct stat info;
    QCOMPARE(::lstat(name.constData(), &info), 0);
    QCOMPARE(bool(S_ISREG(info.st_mode)), linkedTo == "file");
    if (used)
        QVERIFY(TestSupport::contentOf(target).contains("ImageQuality=42"));
    QVERIFY(QFileInfo(settingsFile).isSymLink());
    QFile::remove(settingsFile);
    // Back to this process's own folder for the tests after this one.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

#include "tst_storedoptions.moc"
