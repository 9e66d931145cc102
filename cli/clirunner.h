#ifndef CLIRUNNER_H
#define CLIRUNNER_H

#include "cli/cliarguments.h"
#include "making/pagetreatment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QString>

#include <atomic>
#include <cstdio>

struct PageListing;

// Makes the archives quirevale-cli was asked for, one folder after the
// other, each with the same job, scan and page transformation as the
// window, and tells how it goes on standard error: a progress line while
// that is a terminal, a line per archive otherwise, nothing but errors
// when quiet; with --report json, a line of JSON a book on standard output.
// Ctrl+C, SIGTERM or SIGHUP stops the build under way within about a page,
// removes its partial file and makes no further archive. With --watch it
// makes the books that land in a folder until SIGTERM or SIGINT, and
// SIGHUP reads its options again.
class CliRunner
{
    Q_DECLARE_TR_FUNCTIONS(CliRunner)

public:
    enum ExitStatus
    {
        AllMade = 0,
        SomeFailed = 1,
        Usage = 2
    };

    CliRunner(const CliArguments &arguments, FILE *out, FILE *err);

    // The process's exit status: 0, 1, or 128 + the signal that stopped a
    // build (an archive finished before the signal counts as made).
    int run();

    // Whether --output is the folder that receives <folder name>.cbz: it
    // ends in a slash, is a folder, or is given for several folders.
    bool outputIsFolder() const;

    // Called from a signal handler: only sets flags. A second signal ends
    // the process at once; the next build of that archive removes the
    // partial file left behind.
    static void stopOnSignal(int signal);

    // Control characters of a name, as the terminal would otherwise obey
    // them, written out as \xHH.
    static QString printable(const QString &text);

    // Called from a signal handler when watching: the options are read
    // again.
    static void reloadOnSignal(int signal);

private:
    bool makeArchive(const QString &folder, bool replace = false);
    bool makeWith(const QString &folder, class BookJob &job, bool replace);
    void printJson(const QString &folder, const class BookJob &job, bool made);
    int watch();
    void reloadOptions();
    enum class Opened
    {
        ToMake,
        Done,
        Failed
    };
    Opened open(class BookJob &job);
    bool makeOpened(class BookJob &job);
    int checkBooks();
    void fixBook(const class BookCheck &check);
    bool refuseTroubledFiles(const class Book &book, const struct BuildRequest &request);
    void listPages(const QString &folder, const QVector<struct BuildPage> &pages,
                   const QVector<struct ListedPage> &listed, const PageOptions &options);
    bool readTreatments(const QVector<struct ListedPage> &pages,
                        QHash<QString, PageTreatment> *treatments);
    void showProgress(int done, int total, const QString &name);
    void tally(int failed, double seconds);
    void report(const QString &folder, const QString &message);

    CliArguments m_args;
    FILE *m_out;
    FILE *m_err;
    bool m_terminal;
    QElapsedTimer m_clock;
    // The shelf: the book being made (from 1), and what was made so far.
    int m_book = 0;
    int m_pagesMade = 0;
    int m_madeWithoutSome = 0;
    int m_skipped = 0; // their archives exist, and --skip-existing keeps them
    // The archives of this run so far, and the folders they came from.
    QHash<QString, QString> m_made;
    bool m_stoppedABuild = false;
    bool m_usageError = false;
    bool m_replaceThis = false; // the book being made may replace its archive
    QStringList m_said;         // what was said of the book being made
    QString m_lastTarget;       // the last book's archive, and what became of it
    int m_lastResult = 0;

    static std::atomic_bool s_reload;
    static std::atomic<class BookJob *> s_job;
    static std::atomic_int s_signal;
    // Set with it, for what takes a stop flag (the check of a book).
    static std::atomic_bool s_stopping;
};

#endif // CLIRUNNER_H
