#include "app/desktopappearance.h"
#include "app/quirevale.h"
#include "app/signalquit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTranslator>

namespace {
// The usage, in the system's language; the window then chooses its own.
QStringList foldersToOpen(QCoreApplication &application)
{
    QTranslator translator;
    if (QLocale::system().language() == QLocale::Italian &&
        translator.load(QStringLiteral(":/Translations/quirevale_it")))
        QCoreApplication::installTranslator(&translator);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Makes a CBZ comic archive of a folder of page "
                                            "images, a comic archive or a PDF."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QCoreApplication::translate("main", "A folder of pages, one of its pages, a comic "
                                            "archive or a PDF, to list when the window opens."),
        QStringLiteral("[FOLDER]"));
    parser.process(application); // --help and --version print and end here
    return parser.positionalArguments();
}

// --help and --version only print: they need no display, nor a GUI.
bool onlyPrints(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all" || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    if (onlyPrints(argc, argv)) {
        QCoreApplication printer(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(QUIREVALE_VERSION));
        foldersToOpen(printer);
        return 0;
    }
    // Qt's own options (-platform, -style) are taken out of the arguments
    // by QApplication before ours are read.
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIREVALE_VERSION));
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIREVALE_DESKTOP_ID));
    const QStringList folders = foldersToOpen(application);

    SignalQuit signalQuit;
    DesktopAppearance appearance(nullptr);
    Quirevale window;
    window.show();
    if (!folders.isEmpty())
        window.openFromOutside(folders.first());
    return application.exec();
}
