#include "cli/cliarguments.h"

#include "pages/pagescan.h"
#include "pages/pdfpages.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {
// A whole number within range, or nothing.
bool readNumber(const QString &text, const OptionRange &range, int *value)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,6}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toInt();
    return range.contains(*value);
}

const OptionRange Threads{1, 1024, 0};
const OptionRange PdfResolution{PdfPages::MinimumResolution, PdfPages::MaximumResolution,
                                PdfPages::DefaultResolution};
const OptionRange Volume{0, 99999, -1};
const OptionRange Year{1000, 2999, -1};
} // namespace

QString CliArguments::wholeNumber(const OptionRange &range)
{
    return tr("a whole number from %1 to %2").arg(range.minimum).arg(range.maximum);
}

CliArguments::Outcome CliArguments::fail(const QString &error)
{
    m_error = error;
    return UsageError;
}

CliArguments::Outcome CliArguments::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Makes a CBZ comic archive of each folder of page images (%1), comic archive\n"
           "or PDF, its pages in natural order, as numbered entries.")
            .arg(pageFileTypeList(QStringLiteral(", "))));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help and stop."));
    const QCommandLineOption version(QStringLiteral("version"), tr("Show the version and stop."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        tr("The archive to make, for one folder; for several, the folder that receives "
           "<folder name>.cbz for each. Without it each archive goes beside its folder."),
        tr("path"));
    const QCommandLineOption quality(QStringLiteral("quality"),
                                     tr("JPEG quality, %1 to %2 (default %3).")
                                         .arg(PageOptions::Quality.minimum)
                                         .arg(PageOptions::Quality.maximum)
                                         .arg(PageOptions::Quality.initial),
                                     tr("n"));
    const QCommandLineOption resize(
        QStringLiteral("resize"),
        tr("Scale every page to exactly this width and height, %1 to %2 each.")
            .arg(PageOptions::ResizeWidth.minimum)
            .arg(PageOptions::ResizeWidth.maximum),
        tr("WxH"));
    const QCommandLineOption split(
        QStringLiteral("split"),
        tr("Cut each page in two at this percentage of its width, %1 to %2.")
            .arg(PageOptions::CutPoint.minimum)
            .arg(PageOptions::CutPoint.maximum),
        tr("percent"));
    const QCommandLineOption firstPage(
        QStringLiteral("first-page"),
        tr("Which half of a cut page comes first: left or right (default right)."), tr("side"));
    const QCommandLineOption border(QStringLiteral("border"),
                                    tr("Cut this many pixels off every side, %1 to %2.")
                                        .arg(PageOptions::BorderPixels.minimum)
                                        .arg(PageOptions::BorderPixels.maximum),
                                    tr("pixels"));
    const QCommandLineOption fit(
        QStringLiteral("fit"),
        tr("Scale every page to the largest size within this width and height, its "
           "proportions kept."),
        tr("WxH"));
    const QCommandLineOption smooth(QStringLiteral("smooth"),
                                    tr("Scale with filtering: slower, and finer lines."));
    const QCommandLineOption onlyWide(
        QStringLiteral("split-only-wide"),
        tr("Cut only pages wider than tall (the spreads among single pages)."));
    const QCommandLineOption trim(
        QStringLiteral("trim-margins"),
        tr("Cut away plain margins (paper, a scanner's bed), each side at most a third; a "
           "pixel within TOLERANCE of the margin's colour is margin (%1 to %2, default %3).")
            .arg(PageOptions::TrimTolerance.minimum)
            .arg(PageOptions::TrimTolerance.maximum)
            .arg(PageOptions::TrimTolerance.initial),
        tr("TOLERANCE"));
    const QCommandLineOption pagesOption(
        QStringLiteral("pages"),
        tr("Pages of their own, from a file: a line a page, its file name, a tab, then any of "
           "cut, nocut, border N, noborder, rotate 90|180|270. One folder only."),
        tr("file"));
    const QCommandLineOption threadsOption(
        QStringLiteral("threads"),
        tr("Pages made side by side (default: one per core). Give 1 when several "
           "quirevale-cli run at once."),
        tr("n"));
    const QCommandLineOption forceOption(QStringLiteral("force"),
                                         tr("Replace archives that exist already."));
    const QCommandLineOption listOption(
        QStringLiteral("list"), tr("Only list the pages of each folder, in archive order."));
    const QCommandLineOption quietOption({QStringLiteral("q"), QStringLiteral("quiet")},
                                         tr("Say nothing but errors."));
    const QCommandLineOption skipOption(
        QStringLiteral("skip-unreadable"),
        tr("Make the archive without page files that cannot be read or whose names are not "
           "valid text (they are named either way; without this, such a folder is not made)."));
    const QCommandLineOption keepJpeg(
        QStringLiteral("keep-jpeg"),
        tr("Put JPEG, PNG, WebP and GIF pages that no option changes into the archive as they "
           "are."));
    const QCommandLineOption storeOption(
        QStringLiteral("store"),
        tr("Store the pages without compression: JPEG data hardly deflates, and the archive "
           "is made in a fraction of the time."));
    const QCommandLineOption pdfResolutionOption(
        QStringLiteral("pdf-dpi"),
        tr("The resolution PDF pages are rendered at, %1 to %2 dots per inch (default %3).")
            .arg(PdfResolution.minimum)
            .arg(PdfResolution.maximum)
            .arg(PdfResolution.initial),
        tr("n"));
    const QCommandLineOption chaptersOption(
        QStringLiteral("chapters"),
        tr("List the pages of each folder's sub-folders (up to six levels down) as the "
           "chapters of one book, each marked in ComicInfo.xml."));
    const QCommandLineOption everyTypeOption(
        QStringLiteral("every-type"),
        tr("List pictures of every type this program reads (%1), not only %2.")
            .arg(otherPictureTypes().join(QStringLiteral(", ")),
                 pageFileTypeList(QStringLiteral(", "))));
    const QCommandLineOption losslessOption(
        QStringLiteral("lossless-cuts"),
        tr("Turn, border and split JPEG pages on their compressed blocks, without encoding "
           "them again; a cut's left and top edges move back to the 8 or 16 pixel grid."));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        tr("What the pages are written as: jpeg (the default) or webp, at the same quality."),
        tr("jpeg|webp"));
    const QCommandLineOption greyOption(
        QStringLiteral("grey"),
        tr("Write pages as one-channel (grey) JPEGs: auto, those without colour; all, every "
           "page (for e-ink readers)."),
        tr("auto|all"));
    const QCommandLineOption comicInfoOption(
        QStringLiteral("comic-info"),
        tr("Write ComicInfo.xml into each archive, its title, series and number taken from "
           "the folder's name unless given below."));
    struct TextField
    {
        QCommandLineOption option;
        QString ComicInfo::*field;
    };
    const QList<TextField> textFields = {
        {{QStringLiteral("title"), tr("The book's title (for ComicInfo.xml)."), tr("text")},
         &ComicInfo::title},
        {{QStringLiteral("series"), tr("The series it belongs to."), tr("text")},
         &ComicInfo::series},
        {{QStringLiteral("number"), tr("Its number in the series, such as 12 or 12b."), tr("text")},
         &ComicInfo::number},
        {{QStringLiteral("writer"), tr("Who wrote it."), tr("name")}, &ComicInfo::writer},
        {{QStringLiteral("artist"), tr("Who drew it (the penciller)."), tr("name")},
         &ComicInfo::penciller},
        {{QStringLiteral("publisher"), tr("Who published it."), tr("name")}, &ComicInfo::publisher},
        {{QStringLiteral("language"), tr("Its language, as an ISO code such as en or it."),
          tr("code")},
         &ComicInfo::languageIso},
        {{QStringLiteral("summary"), tr("What it is about."), tr("text")}, &ComicInfo::summary},
    };
    const QCommandLineOption volumeOption(QStringLiteral("volume"), tr("Its volume number."),
                                          tr("n"));
    const QCommandLineOption yearOption(QStringLiteral("year"),
                                        tr("The year it came out, 1000 to 2999."), tr("n"));
    const QCommandLineOption rightToLeft(QStringLiteral("right-to-left"),
                                         tr("It is read from right to left, as manga are."));
    parser.addOptions({help,
                       version,
                       outputOption,
                       quality,
                       resize,
                       fit,
                       smooth,
                       split,
                       onlyWide,
                       firstPage,
                       border,
                       trim,
                       pagesOption,
                       threadsOption,
                       forceOption,
                       listOption,
                       quietOption,
                       skipOption,
                       keepJpeg,
                       storeOption,
                       losslessOption,
                       everyTypeOption,
                       greyOption,
                       formatOption,
                       comicInfoOption,
                       pdfResolutionOption,
                       chaptersOption});
    for (const TextField &text : textFields)
        parser.addOption(text.option);
    parser.addOptions({volumeOption, yearOption, rightToLeft});
    parser.addPositionalArgument(
        tr("FOLDER"), tr("A folder of page images, a comic archive or a PDF."), tr("FOLDER..."));
    m_help = parser.helpText();

    // --trim-margins takes its tolerance only as --trim-margins=N.
    QStringList given = arguments;
    for (QString &argument : given) {
        if (argument == QLatin1String("--trim-margins"))
            argument += QStringLiteral("=%1").arg(PageOptions::TrimTolerance.initial);
    }
    if (!parser.parse(given))
        return fail(parser.errorText());
    if (parser.isSet(help))
        return ShowHelp;
    if (parser.isSet(version))
        return ShowVersion;

    const auto badValue = [&parser](const QString &option, const QString &expected) {
        return tr("--%1: '%2' is not %3").arg(option, parser.value(option), expected);
    };
    if (parser.isSet(quality) &&
        !readNumber(parser.value(quality), PageOptions::Quality, &pageOptions.ImageQuality))
        return fail(badValue(quality.names().first(), wholeNumber(PageOptions::Quality)));
    // --resize and --fit: "1200x1800", each side within its range.
    const auto readBox = [&](const QCommandLineOption &option) {
        const QStringList sides = parser.value(option).split(QLatin1Char('x'));
        pageOptions.ImageResize = true;
        return sides.size() == 2 &&
               readNumber(sides.at(0), PageOptions::ResizeWidth, &pageOptions.ResizeImageWidth) &&
               readNumber(sides.at(1), PageOptions::ResizeHeight, &pageOptions.ResizeImageHeight);
    };
    const QString box = tr("a width and height such as 1200x1800, each from %1 to %2")
                            .arg(PageOptions::ResizeWidth.minimum)
                            .arg(PageOptions::ResizeWidth.maximum);
    if (parser.isSet(resize) && !readBox(resize))
        return fail(badValue(resize.names().first(), box));
    if (parser.isSet(fit)) {
        if (parser.isSet(resize))
            return fail(tr("--fit and --resize: give one of them"));
        pageOptions.ImageResizeFit = true;
        if (!readBox(fit))
            return fail(badValue(fit.names().first(), box));
    }
    pageOptions.ImageResizeSmooth = parser.isSet(smooth);
    if (parser.isSet(onlyWide)) {
        pageOptions.ImageCutDoublePages = true;
        pageOptions.ImageCutOnlyWide = true;
    }
    if (parser.isSet(trim)) {
        pageOptions.ImageTrimMargins = true;
        if (!readNumber(parser.value(trim), PageOptions::TrimTolerance,
                        &pageOptions.ImageTrimTolerance))
            return fail(badValue(trim.names().first(), wholeNumber(PageOptions::TrimTolerance)));
    }
    pagesFile = parser.value(pagesOption);
    if (parser.isSet(split)) {
        pageOptions.ImageCutDoublePages = true;
        if (!readNumber(parser.value(split), PageOptions::CutPoint,
                        &pageOptions.ImageCutPointNumber))
            return fail(badValue(split.names().first(), wholeNumber(PageOptions::CutPoint)));
    }
    if (parser.isSet(firstPage)) {
        const QString side = parser.value(firstPage);
        if (side != QLatin1String("left") && side != QLatin1String("right"))
            return fail(badValue(firstPage.names().first(), tr("left or right")));
        pageOptions.ImageCutFirstPageRight = side == QLatin1String("right");
    }
    if (parser.isSet(border)) {
        pageOptions.ImageCutBorder = true;
        if (!readNumber(parser.value(border), PageOptions::BorderPixels,
                        &pageOptions.ImageCutBorderNumber))
            return fail(badValue(border.names().first(), wholeNumber(PageOptions::BorderPixels)));
    }
    if (parser.isSet(threadsOption) && !readNumber(parser.value(threadsOption), Threads, &threads))
        return fail(badValue(threadsOption.names().first(), wholeNumber(Threads)));
    if (parser.isSet(pdfResolutionOption) &&
        !readNumber(parser.value(pdfResolutionOption), PdfResolution, &pdfResolution))
        return fail(badValue(pdfResolutionOption.names().first(), wholeNumber(PdfResolution)));

    comicInfo.write = parser.isSet(comicInfoOption) || parser.isSet(volumeOption) ||
                      parser.isSet(yearOption) || parser.isSet(rightToLeft);
    for (const TextField &text : textFields) {
        comicInfo.*text.field = parser.value(text.option);
        comicInfo.write = comicInfo.write || parser.isSet(text.option);
    }
    if (parser.isSet(volumeOption) &&
        !readNumber(parser.value(volumeOption), Volume, &comicInfo.volume))
        return fail(badValue(volumeOption.names().first(), wholeNumber(Volume)));
    if (parser.isSet(yearOption) && !readNumber(parser.value(yearOption), Year, &comicInfo.year))
        return fail(badValue(yearOption.names().first(), tr("a year from 1000 to 2999")));
    comicInfo.rightToLeft = parser.isSet(rightToLeft);
    pageOptions.KeepUnchangedJpeg = parser.isSet(keepJpeg);
    pageOptions.StorePages = parser.isSet(storeOption);
    pageOptions.LosslessCuts = parser.isSet(losslessOption);
    everyType = parser.isSet(everyTypeOption);
    chapters = parser.isSet(chaptersOption);
    if (parser.isSet(formatOption)) {
        const QString format = parser.value(formatOption);
        if (format != QLatin1String("jpeg") && format != QLatin1String("webp"))
            return fail(badValue(formatOption.names().first(), tr("jpeg or webp")));
        pageOptions.PageFormat =
            format == QLatin1String("webp") ? PageOptions::WebpPages : PageOptions::JpegPages;
    }
    if (parser.isSet(greyOption)) {
        const QString grey = parser.value(greyOption);
        if (grey != QLatin1String("auto") && grey != QLatin1String("all"))
            return fail(badValue(greyOption.names().first(), tr("auto or all")));
        pageOptions.GreyAuto = grey == QLatin1String("auto");
        pageOptions.GreyAll = grey == QLatin1String("all");
    }

    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty())
        return fail(tr("--output: an empty name is no place for an archive"));
    output = parser.value(outputOption);
    skipTroubled = parser.isSet(skipOption);
    force = parser.isSet(forceOption);
    listOnly = parser.isSet(listOption);
    quiet = parser.isSet(quietOption);
    folders = parser.positionalArguments();
    if (folders.isEmpty())
        return fail(tr("no folder given"));
    if (!pagesFile.isEmpty() && folders.size() > 1)
        return fail(tr("--pages: give one folder, whose pages the file names"));
    return Run;
}

ComicInfo CliArguments::comicInfoFor(const QString &folderName, const QByteArray &sourceXml) const
{
    const ComicInfo kept = ComicInfo::fromXml(sourceXml);
    ComicInfo info = kept.write ? kept : ComicInfo::suggestedFor(folderName);
    for (QString ComicInfo::*field :
         {&ComicInfo::title, &ComicInfo::series, &ComicInfo::number, &ComicInfo::writer,
          &ComicInfo::penciller, &ComicInfo::publisher, &ComicInfo::languageIso,
          &ComicInfo::summary}) {
        if (!(comicInfo.*field).isEmpty())
            info.*field = comicInfo.*field;
    }
    if (comicInfo.volume >= 0)
        info.volume = comicInfo.volume;
    if (comicInfo.year >= 0)
        info.year = comicInfo.year;
    info.rightToLeft = info.rightToLeft || comicInfo.rightToLeft;
    // A source's ComicInfo.xml is carried over, asked for or not.
    info.write = comicInfo.write || kept.write;
    return info;
}
