#include "quirevale.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIREVALE_DESKTOP_ID));
    Quirevale window;
    window.show();
    // quirevale FOLDER opens with that folder's pages listed.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openFromOutside(arguments.at(1));
    return application.exec();
}
