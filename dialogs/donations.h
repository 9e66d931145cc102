#ifndef DONATIONS_H
#define DONATIONS_H

#include "ui_donations.h"

#include <QDialog>

// A thank-you picture, a thank-you text and a link to the donations page.
class Donations : public QDialog
{
    Q_OBJECT

public:
    explicit Donations(QWidget *parent);

private slots:
    void on_ButtonOK_clicked();

private:
    Ui::Donations ui;
};

#endif // DONATIONS_H
