#include "book/bookpreset.h"
#include "book/sizereport.h"
#include "cli/cliarguments.h"
#include "making/bookbuild.h"
#include "making/packager.h"
#include "testsupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

using namespace TestSupport;

// Presets set what they say: the pages of a book built with one have its
// sizes, type and channels; the user's own come back as they were saved.
class tst_BookPreset : public QObject
{
    Q_OBJECT

private slots:
    void builtInPresetsMakeTheirPages_data();
    void builtInPresetsMakeTheirPages();
    void ownPresetComesBack();
    void portraitScreensCutSpreads_data();
    void portraitScreensCutSpreads();
    void koboEpubNamesTheScreenPresets_data();
    void koboEpubNamesTheScreenPresets();
    void kindlePresets_data();
    void kindlePresets();
};

void tst_BookPreset::builtInPresetsMakeTheirPages_data()
{
    QTest::addColumn<QString>("name");
    for (const BookPreset &preset : BookPreset::builtIns())
        QTest::newRow(qPrintable(preset.name())) << preset.name();
}

// A large colour scan and a small one, as JPEG pages.
void tst_BookPreset::builtInPresetsMakeTheirPages()
{
    QFETCH(QString, name);
    QSettings settings;
    const BookPreset preset = BookPreset::find(settings, name);
    QVERIFY(preset.isValid() && preset.isBuiltIn());
    QVERIFY(!preset.description().isEmpty());
    PageOptions options = preset.appliedTo(BookOptions()).pages;
    // The pages as the preset makes them, read from a CBZ whatever its kind.
    options.BookKind = PageOptions::CbzBook;
    options.MaxBookMegabytes = 0;

    QTemporaryDir dir;
    const QList<QSize> sizes = {QSize(2000, 3000), QSize(600, 900)};
    QVector<BuildPage> pages;
    QList<QByteArray> sources;
    for (int i = 0; i < sizes.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        QVERIFY(noiseImage(sizes.at(i).width(), sizes.at(i).height()).save(path, "jpg", 90));
        sources << contentOf(path);
        pages.append({i, PageLocation(path)});
    }
    const QString target = dir.filePath("book.cbz");
    BookBuild build(target, pages, options);
    QCOMPARE(build.run(), BookBuild::Done);
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 2);
    const QSize box(options.ResizeImageWidth, options.ResizeImageHeight);
    for (int i = 0; i < entries.size(); ++i) {
        const ArchiveEntry &entry = entries.at(i);
        QVERIFY2(entry.name.endsWith(".jpg"), qPrintable(entry.name)); // no WebP for e-readers
        QCOMPARE(entry.method, options.StorePages ? 0 : 8);
        QBuffer buffer(const_cast<QByteArray *>(&entry.data));
        QImageReader reader(&buffer, "jpeg");
        const QImage page = reader.read();
        QVERIFY(!page.isNull());
        const bool fits =
            sizes.at(i).width() <= box.width() && sizes.at(i).height() <= box.height();
        if (!options.ImageResize || (fits && options.KeepUnchangedPages)) {
            QCOMPARE(entry.data, sources.at(i)); // kept as it is
            continue;
        }
        QCOMPARE(page.format() == QImage::Format_Grayscale8,
                 options.PageGrey == PageOptions::GreyEveryPage);
        if (fits) { // never enlarged
            QCOMPARE(page.size(), sizes.at(i));
            continue;
        }
        // Fitted, proportions kept: one side meets the box.
        QVERIFY(page.width() <= box.width() && page.height() <= box.height());
        QVERIFY(page.width() == box.width() || page.height() == box.height());
        QVERIFY(qAbs(page.width() * 3 - page.height() * 2) <= 3);
    }
}

void tst_BookPreset::portraitScreensCutSpreads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("rightFirst"); // the book's reading order
    QTest::addColumn<int>("entries");
    for (const BookPreset &preset : BookPreset::builtIns()) {
        // The portrait screens: e-ink readers, grey and colour, and the phone.
        const QStringList portrait{"eink6",
                                   "eink7",
                                   "eink10",
                                   "kobo-clara-colour",
                                   "kobo-libra-colour",
                                   "remarkable-paper-pro",
                                   "kindle",
                                   "kindle-paperwhite",
                                   "kindle-oasis",
                                   "kindle-scribe",
                                   "kindle-colorsoft",
                                   "kindle-mail",
                                   "phone"};
        const int cut = portrait.contains(preset.name()) ? 2 : 1;
        for (const bool right : {false, true})
            QTest::addRow("%s, %s first", qPrintable(preset.name()), right ? "right" : "left")
                << preset.name() << right << cut;
    }
}

// A spread, its left half red and its right half blue: on a portrait
// screen it becomes two pages in the book's reading order; a portrait
// page stays whole.
void tst_BookPreset::portraitScreensCutSpreads()
{
    QFETCH(QString, name);
    QFETCH(bool, rightFirst);
    QFETCH(int, entries);
    QSettings settings;
    BookOptions book;
    book.pages.ImageCutFirstPageRight = rightFirst;
    PageOptions options = BookPreset::find(settings, name).appliedTo(book).pages;
    QCOMPARE(options.ImageCutFirstPageRight, rightFirst); // the book's, not the preset's
    options.BookKind = PageOptions::CbzBook;
    QTemporaryDir dir;
    QImage spread(1600, 1100, QImage::Format_RGB32);
    spread.fill(Qt::red);
    QPainter(&spread).fillRect(800, 0, 800, 1100, Qt::blue);
    QVERIFY(spread.save(dir.filePath("spread.png")));
    QVERIFY(noiseImage(600, 900).save(dir.filePath("page.png")));
    BookBuild build(dir.filePath("book.cbz"),
                    {{0, PageLocation(dir.filePath("spread.png"))},
                     {1, PageLocation(dir.filePath("page.png"))}},
                    options);
    QCOMPARE(build.run(), BookBuild::Done);
    const QList<QByteArray> data = archiveData(build.fileName());
    QCOMPARE(data.size(), entries + 1);
    QImage first;
    QVERIFY(first.loadFromData(data.first()));
    if (entries == 2) {
        QVERIFY(first.height() > first.width());
        const QColor read = first.pixelColor(first.width() / 2, first.height() / 2);
        const QColor half = rightFirst ? Qt::blue : Qt::red; // in grey on e-ink
        QVERIFY2(first.isGrayscale() ? qAbs(qGray(read.rgb()) - qGray(half.rgb())) <= 12
                                     : colorNear(read, half, 30),
                 qPrintable(read.name()));
    }
}

void tst_BookPreset::ownPresetComesBack()
{
    QSettings settings;
    BookOptions mine;
    mine.pages.ImageQuality = 72;
    mine.pages.ImageResize = true;
    mine.pages.ImageResizeMode = PageOptions::ResizeToFit;
    mine.pages.ResizeImageWidth = 1234;
    mine.pages.ImageCutDoublePages = true;
    mine.pages.ImageCutBorder = true;
    mine.pages.ImageCutBorderNumber = 33;
    mine.pages.PageFormat = PageOptions::WebpPages;
    mine.pages.ImageCutFirstPageRight = false;
    mine.pages.ScanLevels = true;
    mine.pages.ScanLevelsGamma = 140;
    QVERIFY(BookPreset::save(settings, "My Kobo", mine));
    QVERIFY(!BookPreset::save(settings, "Tablet", mine));                 // a built-in one's name
    QVERIFY(!BookPreset::save(settings, "e-ink reader, 6 inches", mine)); // and its title
    QVERIFY(!BookPreset::save(settings, "a/b", mine));
    // Names match in any case, the user's as the program's: saved again in
    // other letters, it is still one preset.
    QCOMPARE(BookPreset::find(settings, "my kobo").name(), QStringLiteral("My Kobo"));
    QVERIFY(BookPreset::save(settings, "MY KOBO", mine));
    QCOMPARE(BookPreset::find(settings, "My Kobo").name(), QStringLiteral("MY KOBO"));
    QVERIFY(BookPreset::save(settings, "My Kobo", mine));
    // One of the program's names kept by hand is never listed: it could
    // not be chosen.
    QSettings store{QLatin1String(BookPreset::Organization),
                    QLatin1String(BookPreset::Application)};
    store.setValue("Presets/PHONE/ImageQuality", 40);
    // A name with a terminal's escape and a line break is listed as text.
    store.setValue("Presets/evil\x1b[2J\nline/ImageQuality", 40);
    store.sync();
    const QString listed = CliArguments::presetList();
    QVERIFY2(!listed.contains("PHONE"), qPrintable(listed));
    QVERIFY2(listed.contains("evil\\x1b[2J\\x0aline\t"), qPrintable(listed));
    store.remove("Presets");

    const BookPreset back = BookPreset::find(settings, "My Kobo");
    QVERIFY(back.isValid() && !back.isBuiltIn());
    QVERIFY(back.appliedTo(BookOptions()) == mine);
    // Every option it sets is told, the cut order and the levels too.
    for (const char *told : {"border 33 px", "left half first", "gamma 1.40", "WebP"})
        QVERIFY2(back.description().contains(QLatin1String(told)), qPrintable(back.description()));
    QCOMPARE(BookPreset::all(settings).size(), BookPreset::builtIns().size() + 1);

    BookPreset::remove(settings, "My Kobo");
    QVERIFY(!BookPreset::find(settings, "My Kobo").isValid());
}

void tst_BookPreset::koboEpubNamesTheScreenPresets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("preset"); // empty: none
    QTest::addColumn<bool>("noted");
    QTest::newRow("Kobo EPUB, pages as they are") << int(PageOptions::KepubBook) << "" << true;
    QTest::newRow("Kobo EPUB, for a tablet") << int(PageOptions::KepubBook) << "tablet" << true;
    QTest::newRow("Kobo EPUB, for a 7 inch reader")
        << int(PageOptions::KepubBook) << "eink7" << false;
    QTest::newRow("EPUB, pages as they are") << int(PageOptions::EpubBook) << "" << false;
    QTest::newRow("CBZ, pages as they are") << int(PageOptions::CbzBook) << "" << false;
}

// A Kobo EPUB whose pictures outgrow every e-reader's screen says which
// presets would fit them; the same book for another reader says nothing.
void tst_BookPreset::koboEpubNamesTheScreenPresets()
{
    QFETCH(int, kind);
    QFETCH(QString, preset);
    QFETCH(bool, noted);
    QSettings settings;
    BookOptions options;
    if (!preset.isEmpty())
        options = BookPreset::find(settings, preset).appliedTo(options);
    options.pages.BookKind = PageOptions::Kind(kind);
    const QString note = SizeReport::screenNote(options.pages);
    QCOMPARE(!note.isEmpty(), noted);
    if (noted)
        QVERIFY2(note.contains(QStringLiteral("1072 × 1448")) &&
                     note.contains(QStringLiteral("1404 × 1872")),
                 qPrintable(note));
}

void tst_BookPreset::kindlePresets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("megabytes"); // 0: no limit
    QTest::newRow("Kindle") << "kindle" << int(PageOptions::Azw3Book) << QSize(1072, 1448) << false
                            << 0;
    QTest::newRow("Paperwhite") << "Kindle Paperwhite" << int(PageOptions::Azw3Book)
                                << QSize(1236, 1648) << false << 0;
    QTest::newRow("Oasis") << "kindle-oasis" << int(PageOptions::Azw3Book) << QSize(1264, 1680)
                           << false << 0;
    QTest::newRow("Scribe") << "kindle scribe" << int(PageOptions::Azw3Book) << QSize(1860, 2480)
                            << false << 0;
    QTest::newRow("Colorsoft") << "Kindle Colorsoft" << int(PageOptions::Azw3Book)
                               << QSize(1264, 1680) << true << 0;
    // Sent by mail: an EPUB the service takes, its pictures as it keeps them.
    QTest::newRow("by mail") << "Kindle by mail (EPUB)" << int(PageOptions::EpubBook)
                             << QSize(1920, 1920) << true << 50;
}

// Each Kindle's preset makes its kind of book at its screen's size, wide
// pages cut in the book's order and long strips cut, grey or toned as its
// screen wants; the mail's in parts the service takes.
void tst_BookPreset::kindlePresets()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QSize, screen);
    QFETCH(bool, colour);
    QFETCH(int, megabytes);
    QSettings settings;
    const BookPreset preset = BookPreset::find(settings, name);
    QVERIFY(preset.isValid());
    const PageOptions o = preset.appliedTo(BookOptions()).pages;
    QCOMPARE(int(o.BookKind), kind);
    QVERIFY(o.ImageResize && o.ImageResizeMode == PageOptions::ResizeToFit);
    QCOMPARE(QSize(o.ResizeImageWidth, o.ResizeImageHeight), screen);
    QCOMPARE(o.PageFormat, PageOptions::JpegPages);
    QVERIFY(o.ImageCutDoublePages && o.ImageCutOnlyWide);
    QVERIFY(o.CutLongStrips);
    QCOMPARE(o.StripHeight, screen.height());
    QCOMPARE(o.PageGrey == PageOptions::ColourPages, colour);
    QCOMPARE(o.tunesColour(), colour && kind == PageOptions::Azw3Book);
    QCOMPARE(o.MaxBookMegabytes, megabytes);
    QVERIFY2(preset.description().startsWith(Packager::tr(Packager::kind(o.BookKind).title)),
             qPrintable(preset.description()));
}

QUIREVALE_TEST_MAIN(tst_BookPreset)
#include "tst_bookpreset.moc"
