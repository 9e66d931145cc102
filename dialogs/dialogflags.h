#ifndef DIALOGFLAGS_H
#define DIALOGFLAGS_H

#include <Qt>

// A title bar with the title only: no close, minimize, maximize or help
// button, so the dialog is left through its own OK button.
inline Qt::WindowFlags informationDialogFlags()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
}

#endif // DIALOGFLAGS_H
