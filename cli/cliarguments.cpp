#include "cli/cliarguments.h"

#include "cli/clirunner.h"

#include "book/bookpreset.h"
#include "book/optiontable.h"

#include "pages/pagescan.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

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

// The options of --options-file, a line each ("--preset Kobo Libra Colour":
// the option, then its value), put before those of the command line, which
// win. Lines that are empty or begin with # say nothing.
QStringList CliArguments::withOptionsFile(const QStringList &arguments, QString *error)
{
    QString file;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--options-file") && i + 1 < arguments.size())
            file = arguments.at(i + 1);
        else if (arguments.at(i).startsWith(QLatin1String("--options-file=")))
            file = arguments.at(i).section(QLatin1Char('='), 1);
    }
    // A file not there (yet) gives no options: a watch started by its
    // service runs with the command line's alone.
    if (file.isEmpty() || arguments.isEmpty() || !QFileInfo::exists(file))
        return arguments;
    QFile options(file);
    const qint64 limit = 64 * 1024;
    if (!QFileInfo(file).isFile() || !options.open(QIODevice::ReadOnly) || options.size() > limit) {
        *error = tr("--options-file: %1 cannot be read as a file of options").arg(file);
        return arguments;
    }
    QStringList read;
    for (const QString &line : QString::fromUtf8(options.read(limit)).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const int space = trimmed.indexOf(QRegularExpression(QStringLiteral("\\s")));
        if (space < 0) {
            read << trimmed;
        } else {
            read << trimmed.left(space) << trimmed.mid(space).trimmed();
        }
        if (!read.at(read.size() - (space < 0 ? 1 : 2)).startsWith(QLatin1String("--"))) {
            *error = tr("--options-file: %1: a line begins with an option (--name)").arg(file);
            return arguments;
        }
    }
    return arguments.mid(0, 1) + read + arguments.mid(1);
}

CliArguments::Outcome CliArguments::parse(const QStringList &asGiven)
{
    QString fileError;
    const QStringList arguments = withOptionsFile(asGiven, &fileError);
    if (!fileError.isEmpty())
        return fail(fileError);
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
    const QCommandLineOption presetOption(
        QStringLiteral("preset"),
        tr("Start from a preset's options (see --list-presets); the options given with it "
           "change them."),
        tr("name"));
    const QCommandLineOption listPresetsOption(
        QStringLiteral("list-presets"), tr("List the presets and what each sets, and stop."));
    parser.addOptions({help, version, outputOption, presetOption, listPresetsOption});
    // The book's options, each described once for the settings, this help
    // and the window.
    QList<QPair<const BookOption *, QCommandLineOption>> bookFlags;
    for (const BookOption &option : bookOptions()) {
        if (!option.flag)
            continue;
        const QString flag = QLatin1String(option.flag);
        bookFlags.append({&option, option.valueName ? QCommandLineOption(flag, option.helpText(),
                                                                         tr(option.valueName))
                                                    : QCommandLineOption(flag, option.helpText())});
        parser.addOption(bookFlags.last().second);
    }
    const QCommandLineOption pagesOption(
        QStringLiteral("pages"),
        tr("Pages of their own, from a file: a line a page, its file name, a tab, then any of "
           "cut, nocut, border N, noborder, rotate 90|180|270, straighten [DEGREES], "
           "nostraighten, nolevels, keepblank. One folder only."),
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
    const QCommandLineOption otherTypesOption(
        QStringLiteral("leave-out-other-types"),
        tr("Make the archive without pictures of other types than the page types (they are "
           "named either way; without this or --every-type, such a folder is not made)."));
    const QCommandLineOption chaptersOption(
        QStringLiteral("chapters"),
        tr("List the pages of each folder's sub-folders (up to six levels down) as the "
           "chapters of one book, each marked in ComicInfo.xml."));
    const QCommandLineOption skipExistingOption(
        QStringLiteral("skip-existing"),
        tr("Make only the books whose archives do not exist yet, and say which were skipped: a "
           "shelf can be run again after it was stopped or grew."));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        tr("Check books made already (CBZ, CBR, CB7, EPUB) for what readers and servers trip "
           "on, a line each with what to do; exit 1 when any has findings, 0 when all are "
           "clean."));
    const QCommandLineOption fixOption(
        QStringLiteral("fix"),
        tr("With --check, make a clean copy of each book with findings beside it, named "
           "\"<name> (fixed).cbz\"; never over the book itself."));
    const QCommandLineOption watchOption(
        QStringLiteral("watch"),
        tr("Watch this folder and make each book that lands in it (a folder of pages, an "
           "archive, a PDF, an EPUB) once it has not changed for --settle seconds, one at a "
           "time; a book whose archive exists is left alone, one that failed is tried again "
           "when it changes. Runs until SIGTERM or SIGINT; SIGHUP reads --options-file again."),
        tr("folder"));
    const QCommandLineOption settleOption(
        QStringLiteral("settle"),
        tr("With --watch, the seconds a book must stay unchanged before it is made (default "
           "30)."),
        tr("seconds"));
    const QCommandLineOption pollOption(
        QStringLiteral("poll"),
        tr("With --watch, look at the folder again every this many seconds (default 60), for "
           "network shares and containers that send no change notices."),
        tr("seconds"));
    const QCommandLineOption reportOption(
        QStringLiteral("report"),
        tr("json: a line of JSON a book on standard output (source, target, kind, state, "
           "pages, entries, bytes, seconds, notes, reason), nothing else; text (the default): "
           "the report on standard error only."),
        tr("text|json"));
    const QCommandLineOption optionsFileOption(
        QStringLiteral("options-file"),
        tr("Read more options from this file, an option a line as on the command line "
           "(\"--preset Kobo Libra Colour\"), none when it does not exist; with --watch, read "
           "again on "
           "SIGHUP."),
        tr("file"));
    parser.addOptions({pagesOption, threadsOption, forceOption, skipExistingOption, listOption,
                       quietOption, skipOption, otherTypesOption, chaptersOption, checkOption,
                       fixOption, watchOption, settleOption, pollOption, reportOption,
                       optionsFileOption});
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
    const QCommandLineOption rightToLeft(
        QStringLiteral("right-to-left"),
        tr("It is read from right to left, as manga are: the right half of a cut page comes "
           "first."));
    const QCommandLineOption leftToRight(
        QStringLiteral("left-to-right"),
        tr("It is read from left to right: the left half of a cut page comes first."));
    for (const TextField &text : textFields)
        parser.addOption(text.option);
    parser.addOptions({volumeOption, yearOption, rightToLeft, leftToRight});
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

    if (parser.isSet(listPresetsOption))
        return ListPresets;
    if (parser.isSet(presetOption)) {
        QSettings store{QLatin1String(BookPreset::Organization),
                        QLatin1String(BookPreset::Application)};
        const BookPreset preset = BookPreset::find(store, parser.value(presetOption));
        if (!preset.isValid())
            return fail(tr("--preset: there is no preset '%1'; --list-presets lists them")
                            .arg(parser.value(presetOption)));
        options = preset.appliedTo(options);
    }
    const auto badValue = [&parser](const QString &option, const QString &expected) {
        return tr("--%1: '%2' is not %3").arg(option, parser.value(option), expected);
    };
    for (const auto &flag : qAsConst(bookFlags)) {
        if (!parser.isSet(flag.second))
            continue;
        const QString error = readBookFlag(*flag.first, parser.value(flag.second));
        if (!error.isEmpty())
            return fail(badValue(QLatin1String(flag.first->flag), error));
    }
    if (parser.isSet(QStringLiteral("fit")) && parser.isSet(QStringLiteral("resize")))
        return fail(tr("--fit and --resize: give one of them"));
    pagesFile = parser.value(pagesOption);
    if (parser.isSet(threadsOption) && !readNumber(parser.value(threadsOption), Threads, &threads))
        return fail(badValue(threadsOption.names().first(), wholeNumber(Threads)));

    comicInfo.write = options.writeComicInfo || parser.isSet(volumeOption) ||
                      parser.isSet(yearOption) || parser.isSet(rightToLeft) ||
                      parser.isSet(leftToRight);
    for (const TextField &text : textFields) {
        comicInfo.*text.field = parser.value(text.option);
        comicInfo.write = comicInfo.write || parser.isSet(text.option);
    }
    if (parser.isSet(volumeOption) &&
        !readNumber(parser.value(volumeOption), Volume, &comicInfo.volume))
        return fail(badValue(volumeOption.names().first(), wholeNumber(Volume)));
    if (parser.isSet(yearOption) && !readNumber(parser.value(yearOption), Year, &comicInfo.year))
        return fail(badValue(yearOption.names().first(), tr("a year from 1000 to 2999")));
    if (parser.isSet(rightToLeft) && parser.isSet(leftToRight))
        return fail(tr("--right-to-left and --left-to-right: give one of them"));
    comicInfo.direction = parser.isSet(rightToLeft)   ? ComicInfo::RightToLeft
                          : parser.isSet(leftToRight) ? ComicInfo::LeftToRight
                                                      : ComicInfo::DirectionUnsaid;
    firstHalfChosen = parser.isSet(QStringLiteral("first-page"));
    chapters = parser.isSet(chaptersOption);

    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty())
        return fail(tr("--output: an empty name is no place for an archive"));
    output = parser.value(outputOption);
    skipTroubled = parser.isSet(skipOption);
    otherTypesLeftOut = parser.isSet(otherTypesOption);
    force = parser.isSet(forceOption);
    skipExisting = parser.isSet(skipExistingOption);
    if (force && skipExisting)
        return fail(tr("--force replaces archives that exist, --skip-existing keeps them: give "
                       "one"));
    listOnly = parser.isSet(listOption);
    checkOnly = parser.isSet(checkOption);
    fix = parser.isSet(fixOption);
    if (fix && !checkOnly)
        return fail(tr("--fix: give it with --check"));
    quiet = parser.isSet(quietOption);
    folders = parser.positionalArguments();
    watchFolder = parser.value(watchOption);
    const OptionRange seconds{1, 86400, 30};
    for (const auto &given :
         {qMakePair(&settleOption, &settleSeconds), qMakePair(&pollOption, &pollSeconds)}) {
        if (parser.isSet(*given.first) &&
            !readNumber(parser.value(*given.first), seconds, given.second))
            return fail(QStringLiteral("--%1: %2")
                            .arg(given.first->names().constFirst(), wholeNumber(seconds)));
    }
    if (parser.isSet(reportOption)) {
        const QString report = parser.value(reportOption);
        if (report != QLatin1String("json") && report != QLatin1String("text"))
            return fail(tr("--report: text or json"));
        jsonReport = report == QLatin1String("json");
    }
    optionsFile = parser.value(optionsFileOption);
    if (!watchFolder.isEmpty()) {
        if (!folders.isEmpty() || listOnly || checkOnly)
            return fail(tr("--watch: give no folder beside it, nor --list or --check"));
        if (!QFileInfo(watchFolder).isDir())
            return fail(tr("--watch: %1 is not a folder").arg(watchFolder));
        return Run;
    }
    if (folders.isEmpty())
        return fail(tr("no folder given"));
    if (!pagesFile.isEmpty() && folders.size() > 1)
        return fail(tr("--pages: give one folder, whose pages the file names"));
    return Run;
}

// One of the book's options as given: empty when read, else what its value
// should have been.
QString CliArguments::readBookFlag(const BookOption &option, const QString &value)
{
    int number = 1;
    switch (option.kind) {
    case BookOption::Box: {
        // "1200x1800", each side within its range.
        const QStringList sides = value.split(QLatin1Char('x'));
        int height = 0;
        if (sides.size() != 2 || !readNumber(sides.at(0), option.range, &number) ||
            !readNumber(sides.at(1), option.range, &height))
            return tr("a width and height such as 1200x1800, each from %1 to %2")
                .arg(option.range.minimum)
                .arg(option.range.maximum);
        setResizeBox(options, QLatin1String(option.flag), number, height);
        return QString();
    }
    case BookOption::Number:
        if (!readNumber(value, option.range, &number))
            return wholeNumber(option.range);
        break;
    case BookOption::Switch:
    case BookOption::Choice: {
        // A switch without words is given by its flag alone; a choice takes
        // the words its value names ("auto|all": not the colour it has
        // without the flag).
        QStringList accepted = option.kind == BookOption::Choice
                                   ? QString::fromLatin1(option.valueName).split(QLatin1Char('|'))
                                   : option.wordList();
        if (accepted.isEmpty())
            break;
        number = accepted.contains(value) ? option.valueOfWord(value) : -1;
        if (number < 0) {
            const QString last = accepted.takeLast();
            return tr("%1 or %2").arg(accepted.join(QStringLiteral(", ")), last);
        }
        option.set(options, number);
        return QString();
    }
    }
    option.set(options, number);
    if (option.turnsOnUsedUnder)
        option.usedUnderOption()->set(options, 1);
    return QString();
}

QString CliArguments::presetList()
{
    QSettings store{QLatin1String(BookPreset::Organization),
                    QLatin1String(BookPreset::Application)};
    QString list;
    // A user's name is shown as text: no escape sequence or line break of
    // it reaches the terminal.
    for (const BookPreset &preset : BookPreset::all(store))
        list += QStringLiteral("%1\t%2: %3\n")
                    .arg(CliRunner::printable(preset.name()), CliRunner::printable(preset.title()),
                         preset.description());
    return list;
}
