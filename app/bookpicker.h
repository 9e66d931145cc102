#ifndef BOOKPICKER_H
#define BOOKPICKER_H

#include <QFileDialog>

// A file dialog that takes several folders and book files at once (Qt's own
// dialog, whose list lets more than one be selected): what "Add Books to
// Queue…" asks with. Whatever is selected is taken, folders and files in
// any order; double-clicking a folder still goes into it.
class BookPicker : public QFileDialog
{
    Q_OBJECT

public:
    BookPicker(QWidget *parent, const QString &caption, const QString &folder);

public slots:
    void accept() override;
};

#endif // BOOKPICKER_H
