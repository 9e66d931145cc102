#ifndef COMICINFODIALOG_H
#define COMICINFODIALOG_H

#include "making/comicinfo.h"
#include "ui_comicinfodialog.h"

#include <QDialog>

// Title, series, number, credits and reading direction of the book in the
// window, and whether the archive carries them.
class ComicInfoDialog : public QDialog
{
    Q_OBJECT

public:
    ComicInfoDialog(const ComicInfo &info, QWidget *parent);

    ComicInfo comicInfo() const;

private:
    Ui::ComicInfoDialog ui;
};

#endif // COMICINFODIALOG_H
