// Writes a folder of sample pages to try every option of Quirevale on, or a
// webtoon chapter's tiles to try long strips on:
//
//   build/tools/quirevale-samples <folder>
//   build/tools/quirevale-samples --webtoon <folder>

#include "samplepages.h"

#include <QCommandLineParser>
#include <QDir>
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
    const QCommandLineOption webtoon(
        QStringLiteral("webtoon"),
        QStringLiteral("Write a webtoon chapter instead: 12 tiles of 800 x 6000, sliced through "
                       "its panels as sites slice them."));
    parser.addOption(webtoon);
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The folder to write (made if missing)."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    const QString folder = parser.positionalArguments().first();
    QStringList written;
    if (parser.isSet(webtoon)) {
        QDir().mkpath(folder);
        for (int tile = 0; tile < 12; ++tile) {
            const QString name = QStringLiteral("%1.jpg").arg(tile + 1, 3, 10, QLatin1Char('0'));
            if (drawWebtoonTile(7, 800, 6000, tile).save(QDir(folder).filePath(name), "jpg", 90))
                written << name;
        }
    } else {
        written = writeSampleFolder(folder);
    }
    if (written.isEmpty()) {
        std::fprintf(stderr, "could not write the sample pages into %s\n", qPrintable(folder));
        return 1;
    }
    for (const QString &name : written)
        std::printf("%s\n", qPrintable(name));
    return 0;
}
