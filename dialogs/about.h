#ifndef ABOUT_H
#define ABOUT_H

#include "ui_about.h"

#include <QDialog>

// The product name, its version and a link to the maker's home page.
class About : public QDialog
{
    Q_OBJECT

public:
    About(QWidget *parent, QString version);

private slots:
    void on_ButtonOK_clicked();

private:
    Ui::About ui;
};

#endif // ABOUT_H
