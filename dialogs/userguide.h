#ifndef USERGUIDE_H
#define USERGUIDE_H

#include "ui_userguide.h"

#include <QDialog>

// The program's user guide, in the language of the window, searched as it
// is read. It is the guide shipped with the sources, its pictures left out.
class UserGuide : public QDialog
{
    Q_OBJECT

public:
    explicit UserGuide(QWidget *parent);

    // The guide's text in the current language, as Markdown without its
    // pictures.
    static QString text();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showText();
    void findNext();

    Ui::UserGuide ui;
};

#endif // USERGUIDE_H
