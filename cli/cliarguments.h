#ifndef CLIARGUMENTS_H
#define CLIARGUMENTS_H

#include "book/bookoptions.h"
#include "making/comicinfo.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What quirevale-cli was asked to do, read from its command line with the
// window's option ranges: a value out of range is an error naming its
// option, never clamped.
class CliArguments
{
    Q_DECLARE_TR_FUNCTIONS(CliArguments)

public:
    enum Outcome
    {
        Run,         // the folders are to be made into archives
        ShowHelp,    // --help: print helpText() and stop
        ShowVersion, // --version
        ListPresets, // --list-presets: print presetList() and stop
        UsageError,  // errorString() says what is wrong
    };

    Outcome parse(const QStringList &arguments);
    // Every preset, a line each: its name, what it is for, what it sets.
    static QString presetList();

    QStringList folders;
    QString output; // the archive (one folder) or the folder of archives (several)
    // The book's options, as the flags set them.
    BookOptions options;
    int threads = 0; // 0: one per core
    bool force = false;
    bool skipExisting = false; // books whose archives exist are skipped
    bool listOnly = false;
    bool checkOnly = false; // the books are checked, not made
    bool fix = false;       // with checkOnly: clean copies of books with findings
    bool quiet = false;
    // Go on without page files that cannot be read or whose names are not text.
    bool skipTroubled = false;
    // Pictures of other types than the page types, not listed, are left
    // out of the archive rather than keeping it from being made.
    bool otherTypesLeftOut = false;
    // A folder's sub-folders are the chapters of its book.
    bool chapters = false;
    // --first-page was given: it wins over the book's reading direction.
    bool firstHalfChosen = false;
    // The pages' own treatments, as a file of lines (--pages).
    QString pagesFile;
    // --watch: the folder whose books are made as they land in it, once
    // unchanged for settleSeconds; looked at again every pollSeconds.
    QString watchFolder;
    int settleSeconds = 30;
    int pollSeconds = 60;
    // --report json: a line of JSON a book on standard output.
    bool jsonReport = false;
    // --options-file: more options, a line each, read again on SIGHUP.
    QString optionsFile;
    // Arguments whose bytes are not text in the system's encoding (a folder
    // named on an old system): no path can reach them.
    QStringList undecodable;
    // The book's fields given on the command line (empty or -1: not given);
    // write is set when any was given, or --comic-info.
    ComicInfo comicInfo;

    QString errorString() const { return m_error; }
    QString helpText() const { return m_help; }

private:
    Outcome fail(const QString &error);
    static QStringList withOptionsFile(const QStringList &arguments, QString *error);
    QString readBookFlag(const struct BookOption &option, const QString &value);
    static QString wholeNumber(const struct OptionRange &range);

    QString m_error;
    QString m_help;
};

#endif // CLIARGUMENTS_H
