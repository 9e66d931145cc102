#include "cliarguments.h"
#include "clirunner.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // No display is needed: pages are read, drawn and written in memory.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quirevale-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIREVALE_VERSION));

    QTranslator translator;
    if (QLocale::system().language() == QLocale::Italian &&
        translator.load(QStringLiteral(":/Translations/quirevale_it")))
        QCoreApplication::installTranslator(&translator);

    CliArguments arguments;
    switch (arguments.parse(QCoreApplication::arguments())) {
    case CliArguments::ShowHelp:
        std::fputs(arguments.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CliArguments::ShowVersion:
        std::printf("quirevale-cli %s\n", QUIREVALE_VERSION);
        return 0;
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

    std::signal(SIGINT, CliRunner::stopOnSignal);
    std::signal(SIGTERM, CliRunner::stopOnSignal);
    CliRunner runner(arguments, stdout, stderr);
    return runner.run();
}
