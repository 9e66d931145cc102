#include "cliarguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {
// A whole number from low to high, or nothing.
bool readNumber(const QString &text, int low, int high, int *value)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,6}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toInt();
    return *value >= low && *value <= high;
}
} // namespace

CliArguments::Outcome CliArguments::fail(const QString &error)
{
    m_error = error;
    return UsageError;
}

CliArguments::Outcome CliArguments::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Makes a CBZ comic archive of each folder of page images (jpg, png, bmp, tif),\n"
           "its pages in natural order, as numbered JPEG entries."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help and stop."));
    const QCommandLineOption version(QStringLiteral("version"), tr("Show the version and stop."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        tr("The archive to make, for one folder; for several, the folder that receives "
           "<folder name>.cbz for each. Without it each archive goes beside its folder."),
        tr("path"));
    const QCommandLineOption quality(QStringLiteral("quality"),
                                     tr("JPEG quality, 0 to 100 (default 100)."), tr("n"));
    const QCommandLineOption resize(
        QStringLiteral("resize"),
        tr("Scale every page to exactly this width and height, 100 to 10000 each."), tr("WxH"));
    const QCommandLineOption split(
        QStringLiteral("split"),
        tr("Cut each page in two at this percentage of its width, 20 to 80."), tr("percent"));
    const QCommandLineOption firstPage(
        QStringLiteral("first-page"),
        tr("Which half of a cut page comes first: left or right (default right)."), tr("side"));
    const QCommandLineOption border(QStringLiteral("border"),
                                    tr("Cut this many pixels off every side, 0 to 1000."),
                                    tr("pixels"));
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
    parser.addOptions({help, version, outputOption, quality, resize, split, firstPage, border,
                       threadsOption, forceOption, listOption, quietOption});
    parser.addPositionalArgument(tr("FOLDER"), tr("A folder of page images."), tr("FOLDER..."));
    m_help = parser.helpText();

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help))
        return ShowHelp;
    if (parser.isSet(version))
        return ShowVersion;

    const auto badValue = [&parser](const QString &option, const QString &expected) {
        return tr("--%1: '%2' is not %3").arg(option, parser.value(option), expected);
    };
    if (parser.isSet(quality) &&
        !readNumber(parser.value(quality), 0, 100, &pageOptions.ImageQuality))
        return fail(badValue(quality.names().first(), tr("a whole number from 0 to 100")));
    if (parser.isSet(resize)) {
        const QStringList sides = parser.value(resize).split(QLatin1Char('x'));
        pageOptions.ImageResize = true;
        if (sides.size() != 2 ||
            !readNumber(sides.at(0), 100, 10000, &pageOptions.ResizeImageWidth) ||
            !readNumber(sides.at(1), 100, 10000, &pageOptions.ResizeImageHeight))
            return fail(badValue(resize.names().first(),
                                 tr("a width and height such as 1200x1800, each from 100 to "
                                    "10000")));
    }
    if (parser.isSet(split)) {
        pageOptions.ImageCutDoublePages = true;
        if (!readNumber(parser.value(split), 20, 80, &pageOptions.ImageCutPointNumber))
            return fail(badValue(split.names().first(), tr("a whole number from 20 to 80")));
    }
    if (parser.isSet(firstPage)) {
        const QString side = parser.value(firstPage);
        if (side != QLatin1String("left") && side != QLatin1String("right"))
            return fail(badValue(firstPage.names().first(), tr("left or right")));
        pageOptions.ImageCutFirstPageRight = side == QLatin1String("right");
    }
    if (parser.isSet(border)) {
        pageOptions.ImageCutBorder = true;
        if (!readNumber(parser.value(border), 0, 1000, &pageOptions.ImageCutBorderNumber))
            return fail(badValue(border.names().first(), tr("a whole number from 0 to 1000")));
    }
    if (parser.isSet(threadsOption) && !readNumber(parser.value(threadsOption), 1, 1024, &threads))
        return fail(badValue(threadsOption.names().first(), tr("a whole number from 1 to 1024")));

    output = parser.value(outputOption);
    force = parser.isSet(forceOption);
    listOnly = parser.isSet(listOption);
    quiet = parser.isSet(quietOption);
    folders = parser.positionalArguments();
    if (folders.isEmpty())
        return fail(tr("no folder given"));
    return Run;
}
