#include "book/optiontable.h"

#include "pages/pagescan.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
template<bool PageOptions::*field> int getPageSwitch(const BookOptions &o)
{
    return o.pages.*field ? 1 : 0;
}
template<bool PageOptions::*field> void setPageSwitch(BookOptions &o, int value)
{
    o.pages.*field = value != 0;
}
template<int PageOptions::*field> int getPageNumber(const BookOptions &o)
{
    return o.pages.*field;
}
template<int PageOptions::*field> void setPageNumber(BookOptions &o, int value)
{
    o.pages.*field = value;
}
template<typename Enum, Enum PageOptions::*field> int getPageChoice(const BookOptions &o)
{
    return int(o.pages.*field);
}
template<typename Enum, Enum PageOptions::*field> void setPageChoice(BookOptions &o, int value)
{
    o.pages.*field = Enum(value);
}
template<bool BookOptions::*field> int getBookSwitch(const BookOptions &o)
{
    return o.*field ? 1 : 0;
}
template<bool BookOptions::*field> void setBookSwitch(BookOptions &o, int value)
{
    o.*field = value != 0;
}

BookOption row(const char *name, BookOption::Kind kind, OptionRange range)
{
    BookOption option;
    option.name = name;
    option.kind = kind;
    option.range = range;
    return option;
}

// An on or off of the pages, off unless initial says otherwise.
template<bool PageOptions::*field> BookOption pageSwitch(const char *name, int initial = 0)
{
    BookOption option = row(name, BookOption::Switch, {0, 1, initial});
    option.get = &getPageSwitch<field>;
    option.set = &setPageSwitch<field>;
    return option;
}

template<int PageOptions::*field> BookOption pageNumber(const char *name, OptionRange range)
{
    BookOption option = row(name, BookOption::Number, range);
    option.get = &getPageNumber<field>;
    option.set = &setPageNumber<field>;
    return option;
}

// One of the words, its value their place among them.
template<typename Enum, Enum PageOptions::*field>
BookOption pageChoice(const char *name, const char *words)
{
    const int count = QString::fromLatin1(words).split(QLatin1Char('|')).size();
    BookOption option = row(name, BookOption::Choice, {0, count - 1, 0});
    option.words = words;
    option.get = &getPageChoice<Enum, field>;
    option.set = &setPageChoice<Enum, field>;
    return option;
}

// A choice of two remembered as a switch: the second when on.
template<typename Enum, Enum PageOptions::*field> BookOption pageChoiceOfTwo(const char *name)
{
    BookOption option = row(name, BookOption::Switch, {0, 1, 0});
    option.get = &getPageChoice<Enum, field>;
    option.set = &setPageChoice<Enum, field>;
    return option;
}

template<bool BookOptions::*field> BookOption bookSwitch(const char *name)
{
    BookOption option = row(name, BookOption::Switch, {0, 1, 0});
    option.get = &getBookSwitch<field>;
    option.set = &setBookSwitch<field>;
    return option;
}

// Width and height given together on the command line.
BookOption box(const char *name)
{
    return row(name, BookOption::Box, PageOptions::ResizeWidth);
}

int earlierGrey(const QSettings &settings);

// The other types this program reads, and the page types.
QString everyTypeHelp(const QString &help)
{
    return help.arg(otherPictureTypes().join(QStringLiteral(", ")),
                    pageFileTypeList(QStringLiteral(", ")));
}

// The help texts belong to the command line's help, where they are
// translated.
using O = PageOptions;

const QVector<BookOption> Options = {
    pageNumber<&O::ImageQuality>("ImageQuality", O::Quality)
        .storedAs("Options/ImageQuality")
        .onCommandLine(
            "quality", "n",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Quality of the pages made, JPEG or WebP, %1 to %2 (default %3)."))
        .shownBy("ImageQuality"),
    box("resize").onCommandLine(
        "resize", "WxH",
        QT_TRANSLATE_NOOP("CliArguments",
                          "Scale every page to exactly this width and height, %1 to %2 each.")),
    box("fit").onCommandLine(
        "fit", "WxH",
        QT_TRANSLATE_NOOP("CliArguments",
                          "Scale every page to the largest size within this width and "
                          "height, its proportions kept.")),
    pageSwitch<&O::ImageResize>("ImageResize")
        .storedAs("Options/ImageResize")
        .shownBy("ImageResize=1 ImageKeepOriginalSize=0"),
    pageNumber<&O::ResizeImageWidth>("ResizeImageWidth", O::ResizeWidth)
        .storedAs("Options/ResizeImageWidth")
        .shownBy("ResizeImageWidth")
        .inUseUnder("ImageResize"),
    pageNumber<&O::ResizeImageHeight>("ResizeImageHeight", O::ResizeHeight)
        .storedAs("Options/ResizeImageHeight")
        .shownBy("ResizeImageHeight")
        .inUseUnder("ImageResize"),
    // Remembered as it always was: whether pages are fitted.
    pageChoiceOfTwo<O::ResizeMode, &O::ImageResizeMode>("ImageResizeMode")
        .storedAs("Options/ImageResizeFit")
        .shownBy("ImageResizeMode")
        .inUseUnder("ImageResize"),
    pageSwitch<&O::ImageResizeSmooth>("ImageResizeSmooth")
        .storedAs("Options/ImageResizeSmooth")
        .onCommandLine(
            "smooth", nullptr,
            QT_TRANSLATE_NOOP("CliArguments", "Scale with filtering: slower, and finer lines."))
        .shownBy("ImageResizeSmooth")
        .inUseUnder("ImageResize"),
    pageSwitch<&O::ImageResizeNoEnlarge>("ImageResizeNoEnlarge")
        .storedAs("Options/ImageResizeNoEnlarge")
        .onCommandLine(
            "no-enlarge", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "With --fit, pages that already fit keep their size instead of being "
                              "enlarged."))
        .shownBy("ImageResizeNoEnlarge")
        .inUseUnder("ImageResizeMode=1"),
    pageSwitch<&O::ImageCutDoublePages>("ImageCutDoublePages")
        .storedAs("Options/ImageCutDoublePages")
        .shownBy("ImageCutDoublePages"),
    pageNumber<&O::ImageCutPointNumber>("ImageCutPointNumber", O::CutPoint)
        .storedAs("Options/ImageCutPointNumber")
        .onCommandLine(
            "split", "percent",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Cut each page in two at this percentage of its width, %1 to %2."))
        .turningOnItsSwitch()
        .shownBy("ImageCutPointNumber")
        .inUseUnder("ImageCutDoublePages"),
    pageSwitch<&O::ImageCutOnlyWide>("ImageCutOnlyWide")
        .storedAs("Options/ImageCutOnlyWide")
        .onCommandLine(
            "split-only-wide", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Cut only pages wider than tall (the spreads among single pages)."))
        .turningOnItsSwitch()
        .shownBy("ImageCutOnlyWide")
        .inUseUnder("ImageCutDoublePages"),
    pageSwitch<&O::ImageCutFirstPageRight>("ImageCutFirstPageRight", 1)
        .givenAs("left|right")
        .storedAs("Options/ImageCutFirstPageRight")
        .onCommandLine("first-page", "side",
                       QT_TRANSLATE_NOOP(
                           "CliArguments",
                           "Which half of a cut page comes first: left or right (default right)."))
        .shownBy("ImageCutFirstPageRight=1 ImageCutFirstPageLeft=0")
        .inUseUnder("ImageCutDoublePages"),
    pageNumber<&O::ImageCutBorderNumber>("ImageCutBorderNumber", O::BorderPixels)
        .storedAs("Options/ImageCutBorderNumber")
        .onCommandLine(
            "border", "pixels",
            QT_TRANSLATE_NOOP("CliArguments", "Cut this many pixels off every side, %1 to %2."))
        .turningOnItsSwitch()
        .shownBy("ImageCutBorderNumber")
        .inUseUnder("ImageCutBorder"),
    pageSwitch<&O::ImageCutBorder>("ImageCutBorder")
        .storedAs("Options/ImageCutBorder")
        .shownBy("ImageCutBorder"),
    pageNumber<&O::ImageTrimTolerance>("ImageTrimTolerance", O::TrimTolerance)
        .storedAs("Options/ImageTrimTolerance")
        .onCommandLine("trim-margins", "TOLERANCE",
                       QT_TRANSLATE_NOOP(
                           "CliArguments",
                           "Cut away plain margins (paper, a scanner's bed), each side at most a "
                           "third; a pixel within TOLERANCE of the margin's colour is margin (%1 "
                           "to %2, default %3)."))
        .turningOnItsSwitch()
        .shownBy("ImageTrimTolerance")
        .inUseUnder("ImageTrimMargins"),
    pageSwitch<&O::ImageTrimMargins>("ImageTrimMargins")
        .storedAs("Options/ImageTrimMargins")
        .shownBy("ImageTrimMargins"),
    // Named as stored since it kept JPEG pages alone: settings and presets
    // saved then still read.
    pageSwitch<&O::KeepUnchangedPages>("KeepUnchangedJpeg")
        .storedAs("Options/KeepUnchangedJpeg")
        .onCommandLine(
            "keep-jpeg", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Put JPEG, PNG, WebP and GIF pages that no option changes into the "
                              "archive as they are."))
        .shownBy("ImageKeepJpeg"),
    pageSwitch<&O::StorePages>("StorePages")
        .storedAs("Options/StorePages")
        .onCommandLine(
            "store", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Store the pages without compression: JPEG and WebP data hardly "
                              "deflate, and the archive is made in a fraction of the time."))
        .shownBy("ImageStorePages"),
    pageChoice<O::Kind, &O::BookKind>("BookKind", "cbz|epub|kepub|azw3|pdf")
        .storedAs("Options/BookKind")
        .onCommandLine(
            "kind", "cbz|epub|kepub|azw3|pdf",
            QT_TRANSLATE_NOOP("CliArguments",
                              "What is made: cbz (the default), epub (a fixed-layout EPUB 3 for "
                              "e-readers), kepub (the same, named for Kobo's reader), azw3 (a "
                              "fixed-layout Kindle book, to copy to a Kindle by cable) or pdf (a "
                              "page a picture, each page the picture's shape)."))
        .shownBy("BookKind"),
    pageNumber<&O::MaxBookMegabytes>("MaxBookMegabytes", O::BookMegabytes)
        .storedAs("Options/MaxBookMegabytes")
        .onCommandLine("max-size", "MB",
                       QT_TRANSLATE_NOOP(
                           "CliArguments",
                           "Make a book larger than this many megabytes as parts no larger "
                           "(\"Book (1 of 3).epub\"), each a whole book, parted between "
                           "chapters where one lies within reach; 0 (the default) for no limit."))
        .shownBy("MaxBookMegabytes"),
    pageSwitch<&O::LinearizePdf>("LinearizePdf")
        .storedAs("Options/LinearizePdf")
        .onCommandLine("linearize", nullptr,
                       QT_TRANSLATE_NOOP("CliArguments",
                                         "Write a PDF linearized (fast web view): its first page "
                                         "shows before the whole file has come over a network.")),
    pageSwitch<&O::LosslessCuts>("LosslessCuts")
        .storedAs("Options/LosslessCuts")
        .onCommandLine(
            "lossless-cuts", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Turn, border and split JPEG pages on their compressed blocks, "
                              "without encoding them again; a cut's left and top edges move back "
                              "to the 8 or 16 pixel grid."))
        .shownBy("ImageLosslessCuts"),
    pageSwitch<&O::ScanStraighten>("ScanStraighten")
        .storedAs("Options/ScanStraighten")
        .onCommandLine(
            "deskew", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Straighten scanned pages: each page's slant (up to 5°) is found and "
                              "turned back; a page whose slant cannot be told is left as it is, "
                              "and said so."))
        .shownBy("ScanStraighten"),
    pageNumber<&O::ScanLevelsGamma>("ScanLevelsGamma", O::LevelsGamma)
        .storedAs("Options/ScanLevelsGamma")
        .onCommandLine(
            "levels-gamma", "hundredths",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Even out the paper, then apply this gamma, in hundredths (%1 to "
                              "%2, default %3): above 100 lightens the middle tones, as e-ink "
                              "screens want."))
        .turningOnItsSwitch()
        .shownBy("ScanLevelsGamma")
        .inUseUnder("ScanLevels"),
    pageSwitch<&O::ScanLevels>("ScanLevels")
        .storedAs("Options/ScanLevels")
        .onCommandLine(
            "levels", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Even out the paper: each page's levels stretched so that its paper "
                              "is white and its ink black, colours kept."))
        .shownBy("ScanLevels"),
    pageNumber<&O::ColourBoost>("ColourBoost", O::Boost)
        .storedAs("Options/ColourBoost")
        .onCommandLine(
            "saturation", "percent",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Make colours this much stronger, in percent (%1 to %2, default %3), "
                              "for a colour e-ink screen that shows them pale; greys stay grey."))
        .shownBy("ColourBoost"),
    pageNumber<&O::ColourGamma>("ColourGamma", O::ToneGamma)
        .storedAs("Options/ColourGamma")
        .onCommandLine(
            "gamma", "hundredths",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Apply this gamma to every page, in hundredths (%1 to %2, default "
                              "%3): above 100 lightens the middle tones; greys stay grey."))
        .shownBy("ColourGamma"),
    pageNumber<&O::StripHeight>("StripHeight", O::StripRows)
        .storedAs("Options/StripHeight")
        .onCommandLine("strip", "height",
                       QT_TRANSLATE_NOOP(
                           "CliArguments",
                           "Join long strips (a webtoon's tiles: pages of one width at least "
                           "twice as tall as wide) and cut them into pages at most this high (%1 "
                           "to %2, default %3), each cut on a plain band between panels where "
                           "one is in reach. Other pages are left alone."))
        .turningOnItsSwitch()
        .shownBy("StripHeight")
        .inUseUnder("CutLongStrips"),
    pageSwitch<&O::CutLongStrips>("CutLongStrips")
        .storedAs("Options/CutLongStrips")
        .shownBy("CutLongStrips"),
    pageSwitch<&O::ScanLeaveOutBlank>("ScanLeaveOutBlank")
        .storedAs("Options/ScanLeaveOutBlank")
        .onCommandLine(
            "drop-blank", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Leave out pages with nothing on them (a scanner's noise, specks and "
                              "a thin edge aside); the report names them."))
        .shownBy("ScanLeaveOutBlank"),
    pageSwitch<&O::FacingSpreads>("FacingSpreads")
        .storedAs("Options/FacingSpreads")
        .onCommandLine(
            "facing-spreads", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Put a blank page before a spread kept whole that would begin on the "
                              "second page of a two-page reader's pair (the cover shown alone), so "
                              "that every spread sits on facing pages."))
        .shownBy("FacingSpreads"),
    bookSwitch<&BookOptions::everyPictureType>("ListEveryPictureType")
        .storedAs("ListEveryPictureType")
        .onCommandLine(
            "every-type", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "List pictures of every type this program reads (%1), not only %2."))
        .helpFilledBy(&everyTypeHelp)
        .shownBy("actionListEveryType"),
    pageChoice<O::Grey, &O::PageGrey>("PageGrey", "colour|auto|all")
        .storedAs("Options/Grey")
        .readingEarlier(&earlierGrey)
        .onCommandLine(
            "grey", "auto|all",
            QT_TRANSLATE_NOOP("CliArguments",
                              "Write pages in grey (JPEGs of one channel, or grey WebP): auto, "
                              "those without colour; all, every page (for e-ink readers)."))
        .shownBy("ImageGreyAuto=1 ImageGreyAll=2"),
    pageChoice<O::Format, &O::PageFormat>("PageFormat", "jpeg|webp|webp-lossless")
        .storedAs("Options/PageFormat")
        .onCommandLine(
            "format", "jpeg|webp|webp-lossless",
            QT_TRANSLATE_NOOP("CliArguments",
                              "What the pages are written as: jpeg (the default) or webp, at the "
                              "same quality, or webp-lossless, every pixel kept."))
        .shownBy("ImageFormat"),
    bookSwitch<&BookOptions::writeComicInfo>("WriteComicInfo")
        .storedAs("Options/WriteComicInfo")
        .onCommandLine(
            "comic-info", nullptr,
            QT_TRANSLATE_NOOP("CliArguments",
                              "Write ComicInfo.xml into each archive, its title, series and number "
                              "taken from the folder's name unless given below.")),
    pageNumber<&O::PdfResolution>("PdfResolution", O::PdfDpi)
        .storedAs("PdfResolution")
        .onCommandLine(
            "pdf-dpi", "n",
            QT_TRANSLATE_NOOP("CliArguments",
                              "The resolution PDF pages are rendered at, %1 to %2 dots per inch "
                              "(default %3).")),
};

bool storedSwitch(const QVariant &stored, bool *value)
{
    const QString text = stored.toString();
    if (text != QLatin1String("true") && text != QLatin1String("false"))
        return false;
    *value = text == QLatin1String("true");
    return true;
}

// Before the grey pages were one choice, they were two switches.
int earlierGrey(const QSettings &settings)
{
    bool on = false;
    if (storedSwitch(settings.value(QStringLiteral("Options/GreyAll")), &on) && on)
        return PageOptions::GreyEveryPage;
    if (storedSwitch(settings.value(QStringLiteral("Options/GreyAuto")), &on) && on)
        return PageOptions::GreyWithoutColour;
    return PageOptions::ColourPages;
}

// An option's value as stored (invalid when nothing is): what is missing,
// damaged or out of range gives its default.
int storedValue(const QVariant &stored, const BookOption &option)
{
    switch (option.kind) {
    case BookOption::Switch: {
        bool on = false;
        return storedSwitch(stored, &on) ? int(on) : option.range.initial;
    }
    case BookOption::Number: {
        bool ok = false;
        const int value = stored.toString().trimmed().toInt(&ok);
        return ok && option.range.contains(value) ? value : option.range.initial;
    }
    case BookOption::Choice: {
        const int value = option.valueOfWord(stored.toString());
        return value >= 0 ? value : option.range.initial;
    }
    case BookOption::Box:
        break;
    }
    return option.range.initial;
}
} // namespace

QStringList BookOption::wordList() const
{
    return words ? QString::fromLatin1(words).split(QLatin1Char('|')) : QStringList();
}

int BookOption::valueOfWord(const QString &word) const
{
    return wordList().indexOf(word);
}

QVector<BookOption::Control> BookOption::controlList() const
{
    QVector<Control> list;
    if (!controls)
        return list;
    for (const QString &word : QString::fromLatin1(controls).split(QLatin1Char(' '))) {
        const int equals = word.indexOf(QLatin1Char('='));
        list.append(equals < 0 ? Control{word, -1}
                               : Control{word.left(equals), word.mid(equals + 1).toInt()});
    }
    return list;
}

const BookOption *BookOption::usedUnderOption() const
{
    return usedUnder ? bookOption(QString::fromLatin1(usedUnder).section(QLatin1Char('='), 0, 0))
                     : nullptr;
}

bool BookOption::inUse(const BookOptions &options) const
{
    const BookOption *under = usedUnderOption();
    if (!under)
        return true;
    const QString needed = QString::fromLatin1(usedUnder).section(QLatin1Char('='), 1);
    const int value = under->get(options);
    return under->inUse(options) && (needed.isEmpty() ? value != 0 : value == needed.toInt());
}

BookOption &BookOption::storedAs(const char *key)
{
    settingsKey = key;
    return *this;
}

BookOption &BookOption::onCommandLine(const char *flagName, const char *value, const char *helpText)
{
    flag = flagName;
    valueName = value;
    help = helpText;
    return *this;
}

BookOption &BookOption::givenAs(const char *switchWords)
{
    words = switchWords;
    return *this;
}

BookOption &BookOption::turningOnItsSwitch()
{
    turnsOnUsedUnder = true;
    return *this;
}

BookOption &BookOption::shownBy(const char *controlNames)
{
    controls = controlNames;
    return *this;
}

BookOption &BookOption::inUseUnder(const char *option)
{
    usedUnder = option;
    return *this;
}

BookOption &BookOption::readingEarlier(int (*earlier)(const QSettings &))
{
    earlierValue = earlier;
    return *this;
}

BookOption &BookOption::helpFilledBy(QString (*fill)(const QString &))
{
    fillHelp = fill;
    return *this;
}

QString BookOption::helpText() const
{
    QString text = QCoreApplication::translate("CliArguments", help);
    if (fillHelp)
        return fillHelp(text);
    return text.replace(QLatin1String("%1"), QString::number(range.minimum))
        .replace(QLatin1String("%2"), QString::number(range.maximum))
        .replace(QLatin1String("%3"), QString::number(range.initial));
}

const QVector<BookOption> &bookOptions()
{
    return Options;
}

const BookOption *bookOption(const QString &name)
{
    for (const BookOption &option : Options) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

BookOptions loadBookOptions(const QSettings &settings)
{
    BookOptions options;
    for (const BookOption &option : Options) {
        if (!option.settingsKey || !option.set)
            continue;
        const QString key = QLatin1String(option.settingsKey);
        option.set(options, !settings.contains(key) && option.earlierValue
                                ? option.earlierValue(settings)
                                : storedValue(settings.value(key), option));
    }
    return options;
}

BookOptions bookOptionsFrom(const QVariantMap &stored)
{
    BookOptions options;
    for (const BookOption &option : Options) {
        if (option.settingsKey && option.set)
            option.set(options,
                       storedValue(stored.value(QLatin1String(option.settingsKey)), option));
    }
    return options;
}

QVariantMap storedBookOptions(const BookOptions &options)
{
    QVariantMap stored;
    for (const BookOption &option : Options) {
        if (!option.settingsKey || !option.get)
            continue;
        const QString key = QLatin1String(option.settingsKey);
        const int value = option.get(options);
        if (option.kind == BookOption::Switch)
            stored.insert(key, value != 0);
        else if (option.kind == BookOption::Choice)
            stored.insert(key, option.wordList().value(value));
        else
            stored.insert(key, value);
    }
    return stored;
}

void saveBookOptions(QSettings &settings, const BookOptions &options)
{
    const QVariantMap stored = storedBookOptions(options);
    for (auto value = stored.cbegin(); value != stored.cend(); ++value)
        settings.setValue(value.key(), value.value());
}

bool BookOptions::operator==(const BookOptions &o) const
{
    for (const BookOption &option : Options) {
        if (option.get && option.get(*this) != option.get(o))
            return false;
    }
    return true;
}

void setResizeBox(BookOptions &options, const QString &flag, int width, int height)
{
    options.pages.ImageResize = true;
    options.pages.ImageResizeMode =
        flag == QLatin1String("fit") ? PageOptions::ResizeToFit : PageOptions::ResizeExactly;
    options.pages.ResizeImageWidth = width;
    options.pages.ResizeImageHeight = height;
}
