#include "pages/pagesource.h"

#include "pages/pagearchive.h"
#include "pages/pdfpages.h"

#include <QDir>
#include <QFileInfo>

bool isBookFile(const QString &path)
{
    return (PageArchive::isArchiveName(path) || PdfPages::isPdfName(path)) &&
           QFileInfo(path).isFile();
}

QString bookNameOf(const QString &source)
{
    if (isBookFile(source))
        return QFileInfo(source).completeBaseName();
    return QFileInfo(QDir(source).absolutePath()).fileName();
}

PageFolder scanPageSource(const QString &path, PictureTypes types)
{
    const QFileInfo info(path);
    if (!info.isDir() && PdfPages::isPdfName(path))
        return PdfPages::list(info.absoluteFilePath());
    if (!info.isDir() && PageArchive::isArchiveName(path))
        return PageArchive::list(info.absoluteFilePath(), types);
    return scanPageFolder(path, types);
}
