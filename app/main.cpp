#include "quirevale.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    Quirevale window;
    window.show();
    return application.exec();
}
