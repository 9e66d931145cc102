// Writes a folder of sample pages to try every option of Quirevale on:
//
//   build/tools/quirevale-samples <folder>

#include "samplepages.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The pages are drawn in memory: no display is needed, only fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a folder of sample pages to try every option of Quirevale on."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The folder to write (made if missing)."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    const QString folder = parser.positionalArguments().first();
    const QStringList written = writeSampleFolder(folder);
    if (written.isEmpty()) {
        std::fprintf(stderr, "could not write the sample pages into %s\n", qPrintable(folder));
        return 1;
    }
    for (const QString &name : written)
        std::printf("%s\n", qPrintable(name));
    return 0;
}
