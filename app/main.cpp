#include "quirevale.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIREVALE_DESKTOP_ID));
    Quirevale window;
    window.show();
    return application.exec();
}
