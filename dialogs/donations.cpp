#include "dialogs/donations.h"

#include "dialogs/dialogflags.h"

Donations::Donations(QWidget *parent)
    : QDialog(parent, informationDialogFlags())
{
    ui.setupUi(this);
}

void Donations::on_ButtonOK_clicked()
{
    close();
}
