#include "pages/pagesource.h"

#include "pages/naturalorder.h"
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
        return PageArchive::list(info.absoluteFilePath());
    return scanPageFolder(path, types);
}

PageFolder scanSourcesAsChapters(const QStringList &sources, PictureTypes types)
{
    QVector<QString> sorted(sources.begin(), sources.end());
    stableMergeSort(sorted, [](const QString &a, const QString &b) {
        return naturalLess(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });
    PageFolder book;
    for (const QString &source : qAsConst(sorted)) {
        const PageFolder part = scanPageSource(source, types);
        const QString chapter = bookNameOf(source);
        if (!part.error.isEmpty()) {
            book.error = QStringLiteral("%1: %2").arg(QFileInfo(source).fileName(), part.error);
            return book;
        }
        if (part.pages.isEmpty())
            book.emptyChapters << chapter;
        for (const ListedPage &page : part.pages)
            book.pages.append({chapter + QLatin1Char('/') + page.name, page.location, chapter});
        book.addLeftOut(part);
    }
    return book;
}
