#include "app/quirevale.h"
#include "app/signalquit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIREVALE_VERSION));
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIREVALE_DESKTOP_ID));

    QStringList folders;
    {
        // The usage in the system's language; the window then chooses its own.
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
        folders = parser.positionalArguments();
    }

    SignalQuit signalQuit;
    Quirevale window;
    window.show();
    if (!folders.isEmpty())
        window.openFromOutside(folders.first());
    return application.exec();
}
