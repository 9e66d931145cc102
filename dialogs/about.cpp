#include "dialogs/about.h"

#include "dialogs/dialogflags.h"

About::About(QWidget *parent, QString version)
    : QDialog(parent, informationDialogFlags())
{
    ui.setupUi(this);
    ui.SoftwareVersion->setText(QStringLiteral("%1 %2").arg(ui.SoftwareVersion->text(), version));
}

void About::on_ButtonOK_clicked()
{
    close();
}
