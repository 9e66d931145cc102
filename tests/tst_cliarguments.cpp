#include "book/book.h"
#include "book/bookpreset.h"
#include "book/optiontable.h"
#include "cli/cliarguments.h"
#include "cli/pagetreatmentfile.h"
#include "making/pagetreatment.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace TestSupport;

class tst_CliArguments : public QObject
{
    Q_OBJECT

private slots:
    void goodArguments_data();
    void goodArguments();
    void badArguments_data();
    void badArguments();
    void comicInformation();
    void bookOptions();
    void everyFlagOfTheOptionTable();
    void pagesFileLines_data();
    void pagesFileLines();
    void presetsByTheirNamesAsShown_data();
    void presetsByTheirNamesAsShown();
    void optionsFromAFile();
};

void tst_CliArguments::goodArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("options"); // what they set, in a short form

    const QString defaults = "q100 keep cut:no@50 right border:no/5 t0 o:";
    QTest::newRow("folder alone") << QStringList{"A"} << defaults;
    QTest::newRow("every option") << QStringList{"--quality",    "0",         "--resize",
                                                 "100x10000",    "--split",   "20",
                                                 "--first-page", "left",      "--border",
                                                 "1000",         "--threads", "3",
                                                 "-o",           "out.cbz",   "A"}
                                  << "q0 100x10000 cut:yes@20 left border:yes/1000 t3 o:out.cbz";
    QTest::newRow("highest split, zero border, long output")
        << QStringList{"--split=80", "--border=0", "--output=books", "A", "B"}
        << "q100 keep cut:yes@80 right border:yes/0 t0 o:books";
}

void tst_CliArguments::goodArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, options);
    CliArguments parsed;
    QCOMPARE(parsed.parse(QStringList{"quirevale-cli"} + arguments), CliArguments::Run);
    const PageOptions &o = parsed.options.pages;
    const QString seen =
        QStringLiteral("q%1 %2 cut:%3@%4 %5 border:%6/%7 t%8 o:%9")
            .arg(o.ImageQuality)
            .arg(o.ImageResize
                     ? QStringLiteral("%1x%2").arg(o.ResizeImageWidth).arg(o.ResizeImageHeight)
                     : QStringLiteral("keep"))
            .arg(o.ImageCutDoublePages ? "yes" : "no")
            .arg(o.ImageCutPointNumber)
            .arg(o.ImageCutFirstPageRight ? "right" : "left")
            .arg(o.ImageCutBorder ? "yes" : "no")
            .arg(o.ImageCutBorderNumber)
            .arg(parsed.threads)
            .arg(parsed.output);
    QCOMPARE(seen, options);
    QCOMPARE(parsed.folders, arguments.filter(QRegularExpression("^[AB]$")));
}

void tst_CliArguments::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named"); // the option the error names

    QTest::newRow("quality above") << QStringList{"--quality", "101", "A"} << "--quality";
    QTest::newRow("quality negative") << QStringList{"--quality=-1", "A"} << "--quality";
    QTest::newRow("quality not a number") << QStringList{"--quality", "high", "A"} << "--quality";
    QTest::newRow("resize too small") << QStringList{"--resize", "99x800", "A"} << "--resize";
    QTest::newRow("resize one side") << QStringList{"--resize", "600", "A"} << "--resize";
    QTest::newRow("resize with a star") << QStringList{"--resize", "600*800", "A"} << "--resize";
    QTest::newRow("split below") << QStringList{"--split", "19", "A"} << "--split";
    QTest::newRow("split a fraction") << QStringList{"--split", "50.5", "A"} << "--split";
    QTest::newRow("first page up") << QStringList{"--first-page", "up", "A"} << "--first-page";
    QTest::newRow("border above") << QStringList{"--border", "1001", "A"} << "--border";
    QTest::newRow("no threads") << QStringList{"--threads", "0", "A"} << "--threads";
    QTest::newRow("unknown option") << QStringList{"--colour", "A"} << "colour";
    QTest::newRow("value missing") << QStringList{"A", "--quality"} << "quality";
    QTest::newRow("no folder") << QStringList{"--quality", "90"} << "folder";
    QTest::newRow("year out of range") << QStringList{"--year", "3500", "A"} << "--year";
    QTest::newRow("volume not a number") << QStringList{"--volume", "II", "A"} << "--volume";
    QTest::newRow("fit and resize both")
        << QStringList{"--fit", "600x800", "--resize", "600x800", "A"} << "--fit";
    QTest::newRow("fit one side") << QStringList{"--fit", "600", "A"} << "--fit";
    QTest::newRow("trim tolerance above")
        << QStringList{"--trim-margins=129", "A"} << "--trim-margins";
    QTest::newRow("no such preset") << QStringList{"--preset", "kindel", "A"} << "--preset";
    QTest::newRow("both directions")
        << QStringList{"--right-to-left", "--left-to-right", "A"} << "--right-to-left";
    QTest::newRow("pages with two folders")
        << QStringList{"--pages", "p.txt", "A", "B"} << "--pages";
}

void tst_CliArguments::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    CliArguments parsed;
    QCOMPARE(parsed.parse(QStringList{"quirevale-cli"} + arguments), CliArguments::UsageError);
    QVERIFY2(parsed.errorString().contains(named), qPrintable(parsed.errorString()));
}

void tst_CliArguments::comicInformation()
{
    CliArguments plain;
    QCOMPARE(plain.parse({"quirevale-cli", "Saga 03"}), CliArguments::Run);
    QVERIFY(!Book::open("Saga 03", PageTypesOnly).comicInfoGiven(plain.comicInfo).write);
    QVERIFY(!plain.options.pages.KeepUnchangedPages);

    CliArguments given;
    QCOMPARE(given.parse({"quirevale-cli", "--keep-jpeg", "--number", "3b", "--writer", "B. K. V.",
                          "--year", "2012", "--right-to-left", "Saga 03"}),
             CliArguments::Run);
    QVERIFY(given.options.pages.KeepUnchangedPages);
    const ComicInfo info = Book::open("Saga 03", PageTypesOnly).comicInfoGiven(given.comicInfo);
    QVERIFY(info.write);
    QCOMPARE(info.series, QStringLiteral("Saga")); // from the name
    QCOMPARE(info.number, QStringLiteral("3b"));   // given wins
    QCOMPARE(info.writer, QStringLiteral("B. K. V."));
    QCOMPARE(info.year, 2012);
    QCOMPARE(info.volume, -1);
    QCOMPARE(info.direction, ComicInfo::RightToLeft);
}

void tst_CliArguments::bookOptions()
{
    CliArguments parsed;
    QCOMPARE(parsed.parse({"quirevale-cli", "--split-only-wide", "--trim-margins", "--fit",
                           "1072x1448", "--smooth", "A"}),
             CliArguments::Run);
    const PageOptions &o = parsed.options.pages;
    QVERIFY(o.ImageCutDoublePages && o.ImageCutOnlyWide);
    QVERIFY(o.ImageTrimMargins);
    QCOMPARE(o.ImageTrimTolerance, PageOptions::TrimTolerance.initial);
    QVERIFY(o.ImageResize && o.ImageResizeMode == PageOptions::ResizeToFit && o.ImageResizeSmooth);
    QCOMPARE(QSize(o.ResizeImageWidth, o.ResizeImageHeight), QSize(1072, 1448));
    CliArguments tolerance;
    QCOMPARE(tolerance.parse({"quirevale-cli", "--trim-margins=40", "A"}), CliArguments::Run);
    QCOMPARE(tolerance.options.pages.ImageTrimTolerance, 40);
    // A preset first, the options given changing it, wherever they stand.
    CliArguments preset;
    QCOMPARE(preset.parse({"quirevale-cli", "--quality", "70", "--preset", "eink6", "A"}),
             CliArguments::Run);
    const PageOptions &p = preset.options.pages;
    QCOMPARE(p.ImageQuality, 70);
    QCOMPARE(p.PageGrey, PageOptions::GreyEveryPage);
    QVERIFY(p.ImageResize && p.ImageResizeMode == PageOptions::ResizeToFit);
    QCOMPARE(QSize(p.ResizeImageWidth, p.ResizeImageHeight), QSize(1072, 1448));
}

// Each option with a flag is in the help, and its flag sets it (and what it
// turns on) to the value given.
void tst_CliArguments::everyFlagOfTheOptionTable()
{
    const QString help = [] {
        CliArguments parsed;
        parsed.parse({"quirevale-cli", "--help"});
        return parsed.helpText();
    }();
    for (const BookOption &option : ::bookOptions()) {
        if (!option.flag)
            continue;
        const QString flag = QStringLiteral("--") + option.flag;
        QVERIFY2(help.contains(flag), option.flag);
        QStringList words = option.kind == BookOption::Choice
                                ? QString::fromLatin1(option.valueName).split('|')
                                : option.wordList();
        QString value;
        int expected = 1;
        if (option.kind == BookOption::Number) {
            expected = option.range.maximum;
            value = QString::number(expected);
        } else if (option.kind == BookOption::Box) {
            value = "300x400";
        } else if (!words.isEmpty()) {
            value = words.last();
            expected = option.valueOfWord(value);
        }
        CliArguments parsed;
        // --trim-margins takes its value only after '='.
        const QStringList given{value.isEmpty() ? flag : flag + '=' + value};
        QCOMPARE(parsed.parse(QStringList{"quirevale-cli"} + given + QStringList{"A"}),
                 CliArguments::Run);
        if (option.kind == BookOption::Box) {
            QCOMPARE(QSize(parsed.options.pages.ResizeImageWidth,
                           parsed.options.pages.ResizeImageHeight),
                     QSize(300, 400));
            continue;
        }
        QVERIFY2(option.get(parsed.options) == expected, option.flag);
        if (option.turnsOnUsedUnder)
            QVERIFY2(option.usedUnderOption()->get(parsed.options) == 1, option.flag);
        // A value out of its range or not one of its words is refused.
        if (!value.isEmpty()) {
            CliArguments bad;
            QCOMPARE(bad.parse({"quirevale-cli", flag + "=x", "A"}), CliArguments::UsageError);
            QVERIFY2(bad.errorString().contains(flag), qPrintable(bad.errorString()));
        }
    }
}

void tst_CliArguments::pagesFileLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");       // empty: read
    QTest::addColumn<PageTreatment>("cover"); // what "cover.jpg" gets
    PageTreatment turnedBordered;
    turnedBordered.rotation = 270;
    turnedBordered.setOwnBorder(40);
    PageTreatment whole;
    whole.cut = PageTreatment::NeverCut;
    whole.border = PageTreatment::NoBorder;
    QTest::newRow("words, a comment, blank lines")
        << "# my book\n\ncover.jpg\trotate 270 border 40  # the scan\r\n"
        << "" << turnedBordered;
    QTest::newRow("two lines for one page") << "cover.jpg\tnocut\ncover.jpg\tnoborder\n"
                                            << "" << whole;
    QTest::newRow("a name with spaces") << "page 2.jpg\tcut\n"
                                        << "" << PageTreatment();
    QTest::newRow("no tab") << "cover.jpg cut\n"
                            << "line 1:" << PageTreatment();
    QTest::newRow("unknown page") << "\ncover.png\tcut\n"
                                  << "line 2: there is no page cover.png" << PageTreatment();
    QTest::newRow("unknown word") << "cover.jpg\tflip\n"
                                  << "line 1: unknown word 'flip'" << PageTreatment();
    QTest::newRow("rotate by 45") << "cover.jpg\trotate 45\n"
                                  << "line 1: rotate" << PageTreatment();
    QTest::newRow("border without pixels") << "cover.jpg\tborder\n"
                                           << "line 1: border" << PageTreatment();
    QTest::newRow("border too wide") << "cover.jpg\tborder 5000\n"
                                     << "line 1: border" << PageTreatment();
    PageTreatment sides;
    sides.setOwnBorder(QMargins(10, 20, 30, 40));
    sides.cut = PageTreatment::AlwaysCut;
    QTest::newRow("a border of each side") << "cover.jpg\tborder 10 20 30 40 cut\n"
                                           << "" << sides;
    QTest::newRow("a border of two sides") << "cover.jpg\tborder 10 20 cut\n"
                                           << "line 1: border" << PageTreatment();
    QTest::newRow("a border of five sides") << "cover.jpg\tborder 1 2 3 4 5\n"
                                            << "line 1: unknown word '5'" << PageTreatment();
    PageTreatment slanted;
    slanted.straighten = PageTreatment::StraightenBy;
    slanted.straightenDegrees = -1.5;
    slanted.paperAsScanned = true;
    QTest::newRow("a slant of its own, paper as scanned") << "cover.jpg\tstraighten -1.5 nolevels\n"
                                                          << "" << slanted;
    PageTreatment found;
    found.straighten = PageTreatment::StraightenFound;
    found.keptThoughBlank = true;
    QTest::newRow("straightened as found, kept though blank") << "cover.jpg\tstraighten keepblank\n"
                                                              << "" << found;
    QTest::newRow("a slant past the search") << "cover.jpg\tstraighten 7\n"
                                             << "line 1: straighten" << PageTreatment();
    QTest::newRow("a slant that is no number") << "cover.jpg\tstraighten 1,5\n"
                                               << "line 1: straighten" << PageTreatment();
    QTest::newRow("a name with a hash") << "c#1.jpg\tcut # the spread\n"
                                        << "" << PageTreatment();
    QTest::newRow("a megabyte of a name, not echoed whole")
        << QString(1 << 20, QLatin1Char('x')) + "\tcut\n"
        << "line 1: there is no page " + QString(80, QLatin1Char('x')) + QChar(0x2026)
        << PageTreatment();
}

void tst_CliArguments::pagesFileLines()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(PageTreatment, cover);
    PageTreatmentFile file;
    const bool read = file.parse(text, {"cover.jpg", "page 2.jpg", "c#1.jpg"});
    QCOMPARE(read, error.isEmpty());
    QVERIFY(file.errorString().size() < 200);
    QVERIFY2(error.isEmpty() ? file.errorString().isEmpty() : file.errorString().startsWith(error),
             qPrintable(file.errorString()));
    QVERIFY(file.treatments().value("cover.jpg") == cover);
    if (text.startsWith("page 2"))
        QCOMPARE(file.treatments().value("page 2.jpg").cut, PageTreatment::AlwaysCut);
    if (text.startsWith("c#1"))
        QCOMPARE(file.treatments().value("c#1.jpg").cut, PageTreatment::AlwaysCut);
}

void tst_CliArguments::presetsByTheirNamesAsShown_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("name");
    QTest::newRow("its name") << "kobo-libra-colour"
                              << "kobo-libra-colour";
    QTest::newRow("its title") << "Kobo Libra Colour"
                               << "kobo-libra-colour";
    QTest::newRow("its title in any case") << "KOBO libra colour"
                                           << "kobo-libra-colour";
    QTest::newRow("its title, Italian") << "Lettore e-ink, 6 pollici"
                                        << "eink6";
    QTest::newRow("its title, English, spaced") << "  E-ink reader, 6 inches "
                                                << "eink6";
}

// A preset is taken by its name or by its title as the window shows it,
// in either language, in any case.
void tst_CliArguments::presetsByTheirNamesAsShown()
{
    QFETCH(QString, given);
    QFETCH(QString, name);
    CliArguments arguments;
    QCOMPARE(arguments.parse({"quirevale-cli", "--preset", given, "A"}), CliArguments::Run);
    BookPreset meant;
    for (const BookPreset &preset : BookPreset::builtIns()) {
        if (preset.name() == name)
            meant = preset;
    }
    QVERIFY(meant.isValid());
    QCOMPARE(arguments.options, meant.appliedTo(BookOptions()));
}

// An options file's lines come before the command line's, which win; a
// file not there gives none; a line that is no option is refused; a watch
// takes no folder beside it.
void tst_CliArguments::optionsFromAFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("watch.conf");
    QVERIFY(writeFile(file, "# the service's options\n--quality 70\n\n--preset Kobo Libra Colour\n"
                            "--title  A title with  spaces \n"));
    CliArguments parsed;
    QCOMPARE(parsed.parse({"quirevale-cli", "--options-file", file, "--quality", "80", "A"}),
             CliArguments::Run);
    QCOMPARE(parsed.options.pages.ImageQuality, 80);
    QCOMPARE(parsed.options.pages.BookKind, PageOptions::CbzBook);
    QCOMPARE(parsed.options.pages.ResizeImageWidth, 1264); // the preset's
    QCOMPARE(parsed.comicInfo.title, QStringLiteral("A title with  spaces"));
    CliArguments missing;
    QCOMPARE(missing.parse({"quirevale-cli", "--options-file", dir.filePath("none"), "A"}),
             CliArguments::Run);
    QVERIFY(writeFile(file, "quality 70\n"));
    CliArguments bad;
    QCOMPARE(bad.parse({"quirevale-cli", "--options-file=" + file, "A"}), CliArguments::UsageError);
    QVERIFY(bad.errorString().contains("--options-file"));
    CliArguments watch;
    QCOMPARE(
        watch.parse({"quirevale-cli", "--watch", dir.path(), "--settle", "5", "--report", "json"}),
        CliArguments::Run);
    QCOMPARE(watch.watchFolder, dir.path());
    QCOMPARE(watch.settleSeconds, 5);
    QVERIFY(watch.jsonReport);
    CliArguments both;
    QCOMPARE(both.parse({"quirevale-cli", "--watch", dir.path(), "A"}), CliArguments::UsageError);
}

QUIREVALE_TEST_MAIN(tst_CliArguments)
#include "tst_cliarguments.moc"
