#include "book/bookpreset.h"
#include "book/settingsfile.h"
#include "cli/cliarguments.h"
#include "cli/clirunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>

namespace {

// With --quiet, what the image libraries say of a page (a TIFF tag they do
// not know, a colour profile they doubt) stays unsaid: where it matters it
// is the page's reason for failing.
void dropWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = CliRunner::stopOnSignal;
    sigemptyset(&action.sa_mask);
    // A dropped SSH session sends SIGHUP: the build stops as for SIGTERM.
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

// Arguments whose bytes the system's encoding cannot carry back.
QStringList undecodableArguments(int argc, char *argv[])
{
    QStringList found;
    for (int i = 1; i < argc; ++i) {
        const QString decoded = QFile::decodeName(argv[i]);
        if (QFile::encodeName(decoded) != QByteArray(argv[i]))
            found.append(decoded);
    }
    return found;
}

// What was printed must have reached its file: --list or --help into a
// full disk is a failure.
int flushed(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "quirevale-cli: %s\n",
                     QCoreApplication::translate("CliRunner", "standard output cannot be written")
                         .toLocal8Bit()
                         .constData());
        return status == 0 ? 1 : status;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    // No display is needed: pages are read, drawn and written in memory.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quirevale-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIREVALE_VERSION));
    QTranslator translator;
    QTranslator qtTranslator;
    if (QLocale::system().language() == QLocale::Italian &&
        translator.load(QStringLiteral(":/Translations/quirevale_it"))) {
        QCoreApplication::installTranslator(&translator);
        // Qt's own words ("Usage:", "Displays this help.") too.
        if (qtTranslator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator);
    }

    // The window's settings hold the presets: read only when they are a file.
    if (!SettingsFile::guardUserSettings(QLatin1String(BookPreset::Organization),
                                         QLatin1String(BookPreset::Application)))
        std::fprintf(stderr, "quirevale-cli: %s\n",
                     SettingsFile::guardNotice().toLocal8Bit().constData());
    CliArguments arguments;
    switch (arguments.parse(QCoreApplication::arguments())) {
    case CliArguments::ShowHelp:
        std::fputs(arguments.helpText().toLocal8Bit().constData(), stdout);
        return flushed(0);
    case CliArguments::ListPresets:
        std::fputs(CliArguments::presetList().toLocal8Bit().constData(), stdout);
        return flushed(0);
    case CliArguments::ShowVersion:
        std::printf("quirevale-cli %s\n", QUIREVALE_VERSION);
        return flushed(0);
    case CliArguments::UsageError:
        std::fprintf(
            stderr, "quirevale-cli: %s\n%s\n", arguments.errorString().toLocal8Bit().constData(),
            QCoreApplication::translate("CliArguments", "Try 'quirevale-cli --help' for more.")
                .toLocal8Bit()
                .constData());
        return CliRunner::Usage;
    case CliArguments::Run:
        break;
    }
    arguments.undecodable = undecodableArguments(argc, argv);
    if (arguments.quiet)
        qInstallMessageHandler(dropWarnings);

    stopOnSignals();
    CliRunner runner(arguments, stdout, stderr);
    return flushed(runner.run());
}
