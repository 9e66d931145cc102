#include "app/bookpicker.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

BookPicker::BookPicker(QWidget *parent, const QString &caption, const QString &folder)
    : QFileDialog(parent, caption, folder)
{
    setOption(QFileDialog::DontUseNativeDialog);
    // In this mode files are shown beside folders, and Open takes what is
    // selected rather than going into the folder.
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, false);
    for (QAbstractItemView *view : findChildren<QAbstractItemView *>(
             QRegularExpression(QStringLiteral("^(listView|treeView)$"))))
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

// Qt's dialog takes a selection in this mode only when its first item is a
// folder: a book file selected first would leave Open doing nothing.
void BookPicker::accept()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty() || !std::all_of(files.cbegin(), files.cend(), [](const QString &file) {
            return QFileInfo::exists(file);
        })) {
        QFileDialog::accept(); // says what is wrong, as it does
        return;
    }
    QDialog::accept();
}
