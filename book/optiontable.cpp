#include "book/optiontable.h"

#include "pages/pagescan.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
template<bool PageOptions::*field> int pageSwitch(const BookOptions &o)
{
    return o.pages.*field ? 1 : 0;
}
template<bool PageOptions::*field> void setPageSwitch(BookOptions &o, int value)
{
    o.pages.*field = value != 0;
}
template<int PageOptions::*field> int pageNumber(const BookOptions &o)
{
    return o.pages.*field;
}
template<int PageOptions::*field> void setPageNumber(BookOptions &o, int value)
{
    o.pages.*field = value;
}
template<typename Enum, Enum PageOptions::*field> int pageChoice(const BookOptions &o)
{
    return int(o.pages.*field);
}
template<typename Enum, Enum PageOptions::*field> void setPageChoice(BookOptions &o, int value)
{
    o.pages.*field = Enum(value);
}
template<bool BookOptions::*field> int bookSwitch(const BookOptions &o)
{
    return o.*field ? 1 : 0;
}
template<bool BookOptions::*field> void setBookSwitch(BookOptions &o, int value)
{
    o.*field = value != 0;
}

constexpr OptionRange OnOff{0, 1, 0};

#define PAGE_SWITCH(field) &pageSwitch<&PageOptions::field>, &setPageSwitch<&PageOptions::field>
#define PAGE_NUMBER(field) &pageNumber<&PageOptions::field>, &setPageNumber<&PageOptions::field>
#define PAGE_CHOICE(type, field)                                                                   \
    &pageChoice<PageOptions::type, &PageOptions::field>,                                           \
        &setPageChoice<PageOptions::type, &PageOptions::field>
#define BOOK_SWITCH(field) &bookSwitch<&BookOptions::field>, &setBookSwitch<&BookOptions::field>

// The help texts belong to the command line's help, where they are
// translated.

const QVector<BookOption> Options = {
    {"ImageQuality", BookOption::Number, PageOptions::Quality, nullptr, "Options/ImageQuality",
     "quality", "n",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Quality of the pages made, JPEG or WebP, %1 to %2 (default %3)."),
     false, PAGE_NUMBER(ImageQuality), "ImageQuality", nullptr},
    {"resize", BookOption::Box, PageOptions::ResizeWidth, nullptr, nullptr, "resize", "WxH",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Scale every page to exactly this width and height, %1 to %2 each."),
     false, nullptr, nullptr, nullptr, nullptr},
    {"fit", BookOption::Box, PageOptions::ResizeWidth, nullptr, nullptr, "fit", "WxH",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Scale every page to the largest size within this width and height, its "
                       "proportions kept."),
     false, nullptr, nullptr, nullptr, nullptr},
    {"ImageResize", BookOption::Switch, OnOff, nullptr, "Options/ImageResize", nullptr, nullptr,
     nullptr, false, PAGE_SWITCH(ImageResize), "ImageResize=1 ImageKeepOriginalSize=0", nullptr},
    {"ResizeImageWidth", BookOption::Number, PageOptions::ResizeWidth, nullptr,
     "Options/ResizeImageWidth", nullptr, nullptr, nullptr, false, PAGE_NUMBER(ResizeImageWidth),
     "ResizeImageWidth", "ImageResize"},
    {"ResizeImageHeight", BookOption::Number, PageOptions::ResizeHeight, nullptr,
     "Options/ResizeImageHeight", nullptr, nullptr, nullptr, false, PAGE_NUMBER(ResizeImageHeight),
     "ResizeImageHeight", "ImageResize"},
    // Remembered as it always was: whether pages are fitted.
    {"ImageResizeMode", BookOption::Switch, OnOff, nullptr, "Options/ImageResizeFit", nullptr,
     nullptr, nullptr, false, PAGE_CHOICE(ResizeMode, ImageResizeMode), "ImageResizeMode",
     "ImageResize"},
    {"ImageResizeSmooth", BookOption::Switch, OnOff, nullptr, "Options/ImageResizeSmooth", "smooth",
     nullptr, QT_TRANSLATE_NOOP("CliArguments", "Scale with filtering: slower, and finer lines."),
     false, PAGE_SWITCH(ImageResizeSmooth), "ImageResizeSmooth", "ImageResize"},
    {"ImageResizeNoEnlarge", BookOption::Switch, OnOff, nullptr, "Options/ImageResizeNoEnlarge",
     "no-enlarge", nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "With --fit, pages that already fit keep their size instead of being "
                       "enlarged."),
     false, PAGE_SWITCH(ImageResizeNoEnlarge), "ImageResizeNoEnlarge", "ImageResizeMode=1"},
    {"ImageCutDoublePages", BookOption::Switch, OnOff, nullptr, "Options/ImageCutDoublePages",
     nullptr, nullptr, nullptr, false, PAGE_SWITCH(ImageCutDoublePages), "ImageCutDoublePages",
     nullptr},
    {"ImageCutPointNumber", BookOption::Number, PageOptions::CutPoint, nullptr,
     "Options/ImageCutPointNumber", "split", "percent",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Cut each page in two at this percentage of its width, %1 to %2."),
     true, PAGE_NUMBER(ImageCutPointNumber), "ImageCutPointNumber", "ImageCutDoublePages"},
    {"ImageCutOnlyWide", BookOption::Switch, OnOff, nullptr, "Options/ImageCutOnlyWide",
     "split-only-wide", nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "Cut only pages wider than tall (the spreads among single pages)."),
     true, PAGE_SWITCH(ImageCutOnlyWide), "ImageCutOnlyWide", "ImageCutDoublePages"},
    {"ImageCutFirstPageRight",
     BookOption::Switch,
     {0, 1, 1},
     "left|right",
     "Options/ImageCutFirstPageRight",
     "first-page",
     "side",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Which half of a cut page comes first: left or right (default right)."),
     false,
     PAGE_SWITCH(ImageCutFirstPageRight),
     "ImageCutFirstPageRight=1 ImageCutFirstPageLeft=0",
     "ImageCutDoublePages"},
    {"ImageCutBorderNumber", BookOption::Number, PageOptions::BorderPixels, nullptr,
     "Options/ImageCutBorderNumber", "border", "pixels",
     QT_TRANSLATE_NOOP("CliArguments", "Cut this many pixels off every side, %1 to %2."), true,
     PAGE_NUMBER(ImageCutBorderNumber), "ImageCutBorderNumber", "ImageCutBorder"},
    {"ImageCutBorder", BookOption::Switch, OnOff, nullptr, "Options/ImageCutBorder", nullptr,
     nullptr, nullptr, false, PAGE_SWITCH(ImageCutBorder), "ImageCutBorder", nullptr},
    {"ImageTrimTolerance", BookOption::Number, PageOptions::TrimTolerance, nullptr,
     "Options/ImageTrimTolerance", "trim-margins", "TOLERANCE",
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Cut away plain margins (paper, a scanner's bed), each side at most a third; a "
         "pixel within TOLERANCE of the margin's colour is margin (%1 to %2, default %3)."),
     true, PAGE_NUMBER(ImageTrimTolerance), "ImageTrimTolerance", "ImageTrimMargins"},
    {"ImageTrimMargins", BookOption::Switch, OnOff, nullptr, "Options/ImageTrimMargins", nullptr,
     nullptr, nullptr, false, PAGE_SWITCH(ImageTrimMargins), "ImageTrimMargins", nullptr},
    // Named as stored since it kept JPEG pages alone: settings and presets
    // saved then still read.
    {"KeepUnchangedJpeg", BookOption::Switch, OnOff, nullptr, "Options/KeepUnchangedJpeg",
     "keep-jpeg", nullptr,
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Put JPEG, PNG, WebP and GIF pages that no option changes into the archive as they "
         "are."),
     false, PAGE_SWITCH(KeepUnchangedPages), "ImageKeepJpeg", nullptr},
    {"StorePages", BookOption::Switch, OnOff, nullptr, "Options/StorePages", "store", nullptr,
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Store the pages without compression: JPEG and WebP data hardly deflate, and the "
         "archive is made in a fraction of the time."),
     false, PAGE_SWITCH(StorePages), "ImageStorePages", nullptr},
    {"BookKind",
     BookOption::Choice,
     {0, 2, 0},
     "cbz|epub|kepub",
     "Options/BookKind",
     "kind",
     "cbz|epub|kepub",
     QT_TRANSLATE_NOOP("CliArguments",
                       "What is made: cbz (the default), epub (a fixed-layout EPUB 3 for "
                       "e-readers) or kepub (the same, named for Kobo's reader)."),
     false,
     PAGE_CHOICE(Kind, BookKind),
     "BookKind",
     nullptr},
    {"LosslessCuts", BookOption::Switch, OnOff, nullptr, "Options/LosslessCuts", "lossless-cuts",
     nullptr,
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Turn, border and split JPEG pages on their compressed blocks, without encoding "
         "them again; a cut's left and top edges move back to the 8 or 16 pixel grid."),
     false, PAGE_SWITCH(LosslessCuts), "ImageLosslessCuts", nullptr},
    {"ScanStraighten", BookOption::Switch, OnOff, nullptr, "Options/ScanStraighten", "deskew",
     nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "Straighten scanned pages: each page's slant (up to 5°) is found and "
                       "turned back; a page whose slant cannot be told is left as it is, and "
                       "said so."),
     false, PAGE_SWITCH(ScanStraighten), "ScanStraighten", nullptr},
    {"ScanLevelsGamma", BookOption::Number, PageOptions::LevelsGamma, nullptr,
     "Options/ScanLevelsGamma", "levels-gamma", "hundredths",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Even out the paper, then apply this gamma, in hundredths (%1 to %2, "
                       "default %3): above 100 lightens the middle tones, as e-ink screens "
                       "want."),
     true, PAGE_NUMBER(ScanLevelsGamma), "ScanLevelsGamma", "ScanLevels"},
    {"ScanLevels", BookOption::Switch, OnOff, nullptr, "Options/ScanLevels", "levels", nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "Even out the paper: each page's levels stretched so that its paper is "
                       "white and its ink black, colours kept."),
     false, PAGE_SWITCH(ScanLevels), "ScanLevels", nullptr},
    {"ColourBoost", BookOption::Number, PageOptions::Boost, nullptr, "Options/ColourBoost",
     "saturation", "percent",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Make colours this much stronger, in percent (%1 to %2, default %3), for "
                       "a colour e-ink screen that shows them pale; greys stay grey."),
     false, PAGE_NUMBER(ColourBoost), "ColourBoost", nullptr},
    {"ColourGamma", BookOption::Number, PageOptions::ToneGamma, nullptr, "Options/ColourGamma",
     "gamma", "hundredths",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Apply this gamma to every page, in hundredths (%1 to %2, default %3): "
                       "above 100 lightens the middle tones; greys stay grey."),
     false, PAGE_NUMBER(ColourGamma), "ColourGamma", nullptr},
    {"StripHeight", BookOption::Number, PageOptions::StripRows, nullptr, "Options/StripHeight",
     "strip", "height",
     QT_TRANSLATE_NOOP("CliArguments",
                       "Join long strips (a webtoon's tiles: pages of one width at least twice "
                       "as tall as wide) and cut them into pages at most this high (%1 to %2, "
                       "default %3), each cut on a plain band between panels where one is in "
                       "reach. Other pages are left alone."),
     true, PAGE_NUMBER(StripHeight), "StripHeight", "CutLongStrips"},
    {"CutLongStrips", BookOption::Switch, OnOff, nullptr, "Options/CutLongStrips", nullptr, nullptr,
     nullptr, false, PAGE_SWITCH(CutLongStrips), "CutLongStrips", nullptr},
    {"ScanLeaveOutBlank", BookOption::Switch, OnOff, nullptr, "Options/ScanLeaveOutBlank",
     "drop-blank", nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "Leave out pages with nothing on them (a scanner's noise, specks and a "
                       "thin edge aside); the report names them."),
     false, PAGE_SWITCH(ScanLeaveOutBlank), "ScanLeaveOutBlank", nullptr},
    {"FacingSpreads", BookOption::Switch, OnOff, nullptr, "Options/FacingSpreads", "facing-spreads",
     nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "Put a blank page before a spread kept whole that would begin on the "
                       "second page of a two-page reader's pair (the cover shown alone), so "
                       "that every spread sits on facing pages."),
     false, PAGE_SWITCH(FacingSpreads), "FacingSpreads", nullptr},
    {"ListEveryPictureType", BookOption::Switch, OnOff, nullptr, "ListEveryPictureType",
     "every-type", nullptr,
     QT_TRANSLATE_NOOP("CliArguments",
                       "List pictures of every type this program reads (%1), not only %2."),
     false, BOOK_SWITCH(everyPictureType), "actionListEveryType", nullptr},
    {"PageGrey",
     BookOption::Choice,
     {0, 2, 0},
     "colour|auto|all",
     "Options/Grey",
     "grey",
     "auto|all",
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Write pages in grey (JPEGs of one channel, or grey WebP): auto, those without "
         "colour; all, every page (for e-ink readers)."),
     false,
     PAGE_CHOICE(Grey, PageGrey),
     "ImageGreyAuto=1 ImageGreyAll=2",
     nullptr},
    {"PageFormat",
     BookOption::Choice,
     {0, 2, 0},
     "jpeg|webp|webp-lossless",
     "Options/PageFormat",
     "format",
     "jpeg|webp|webp-lossless",
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "What the pages are written as: jpeg (the default) or webp, at the same quality, "
         "or webp-lossless, every pixel kept."),
     false,
     PAGE_CHOICE(Format, PageFormat),
     "ImageFormat",
     nullptr},
    {"WriteComicInfo", BookOption::Switch, OnOff, nullptr, "Options/WriteComicInfo", "comic-info",
     nullptr,
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "Write ComicInfo.xml into each archive, its title, series and number taken from "
         "the folder's name unless given below."),
     false, BOOK_SWITCH(writeComicInfo), nullptr, nullptr},
    {"PdfResolution", BookOption::Number, PageOptions::PdfDpi, nullptr, "PdfResolution", "pdf-dpi",
     "n",
     QT_TRANSLATE_NOOP(
         "CliArguments",
         "The resolution PDF pages are rendered at, %1 to %2 dots per inch (default %3)."),
     false, PAGE_NUMBER(PdfResolution), nullptr, nullptr},
};

bool storedSwitch(const QSettings &settings, const char *key, bool *value)
{
    const QString stored = settings.value(QLatin1String(key)).toString();
    if (stored != QLatin1String("true") && stored != QLatin1String("false"))
        return false;
    *value = stored == QLatin1String("true");
    return true;
}

// Before the grey pages were one choice, they were two switches.
int earlierGrey(const QSettings &settings)
{
    bool on = false;
    if (storedSwitch(settings, "Options/GreyAll", &on) && on)
        return PageOptions::GreyEveryPage;
    if (storedSwitch(settings, "Options/GreyAuto", &on) && on)
        return PageOptions::GreyWithoutColour;
    return PageOptions::ColourPages;
}

int storedValue(const QSettings &settings, const BookOption &option)
{
    const char *key = option.settingsKey;
    switch (option.kind) {
    case BookOption::Switch: {
        bool on = false;
        return storedSwitch(settings, key, &on) ? int(on) : option.range.initial;
    }
    case BookOption::Number: {
        bool ok = false;
        const int value = settings.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
        return ok && option.range.contains(value) ? value : option.range.initial;
    }
    case BookOption::Choice: {
        if (!settings.contains(QLatin1String(key)) && qstrcmp(option.name, "PageGrey") == 0)
            return earlierGrey(settings);
        const int value = option.valueOfWord(settings.value(QLatin1String(key)).toString());
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

QString BookOption::helpText() const
{
    QString text = QCoreApplication::translate("CliArguments", help);
    if (qstrcmp(flag, "every-type") == 0)
        return text.arg(otherPictureTypes().join(QStringLiteral(", ")),
                        pageFileTypeList(QStringLiteral(", ")));
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
        if (option.settingsKey && option.set)
            option.set(options, storedValue(settings, option));
    }
    return options;
}

void saveBookOptions(QSettings &settings, const BookOptions &options)
{
    for (const BookOption &option : Options) {
        if (!option.settingsKey || !option.get)
            continue;
        const QString key = QLatin1String(option.settingsKey);
        const int value = option.get(options);
        if (option.kind == BookOption::Switch)
            settings.setValue(key, value != 0);
        else if (option.kind == BookOption::Choice)
            settings.setValue(key, option.wordList().value(value));
        else
            settings.setValue(key, value);
    }
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
