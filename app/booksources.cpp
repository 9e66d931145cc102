#include "app/booksources.h"

#include "pages/pagesource.h"
#include "ui_quirevale.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

BookSources::BookSources(Ui::QuirevaleClass &form, QWidget *window)
    : QObject(window)
    , ui(form)
    , m_window(window)
{}

Book BookSources::open(const QString &source, PictureTypes types, bool chapters) const
{
    const Book book = Book::open(source, types, chapters);
    if (!book.errorString().isEmpty())
        QMessageBox::warning(
            m_window, QCoreApplication::translate("Quirevale", "Warning"),
            tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(source), book.errorString()));
    return book;
}

Book BookSources::openChapters(const QStringList &sources, PictureTypes types) const
{
    if (QMessageBox::question(m_window, tr("Chapters"),
                              tr("List the pages of these %1 folders and archives as the "
                                 "chapters of one book, in the order of their names?")
                                  .arg(sources.size())) != QMessageBox::Yes)
        return Book();
    const Book book = Book::openChapters(sources, types);
    if (!book.errorString().isEmpty())
        QMessageBox::warning(m_window, QCoreApplication::translate("Quirevale", "Warning"),
                             tr("A chapter cannot be read: %1").arg(book.errorString()));
    return book;
}

bool BookSources::isSource(const QString &path)
{
    return QFileInfo(path).isDir() || isBookFile(path);
}

QStringList BookSources::sourcesOf(const QList<QUrl> &urls)
{
    QStringList sources;
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && isSource(url.toLocalFile()))
            sources << url.toLocalFile();
    }
    if (sources.size() > 1 && sources.size() == urls.size())
        return sources;
    const QString path = urls.isEmpty() ? QString() : urls.first().toLocalFile();
    if (!path.isEmpty() && (isSource(path) || isPageFileName(QFileInfo(path).fileName())))
        return {path};
    return {};
}

bool BookSources::mayBeDropped(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() && urls.first().isLocalFile();
}

void BookSources::drop(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!mayBeDropped(event->mimeData()))
        return;
    const QStringList sources = sourcesOf(urls);
    if (sources.isEmpty()) {
        event->ignore();
        const QString path = urls.first().toLocalFile();
        QTimer::singleShot(0, this, [this, path] { refuseDrop(path); });
        return;
    }
    event->acceptProposedAction();
    if (sources.size() > 1)
        QTimer::singleShot(0, this, [this, sources] { emit droppedChapters(sources); });
    else if (isBookFile(sources.first()))
        // An archive may need a word (it cannot be read): after the drop.
        QTimer::singleShot(0, this, [this, sources] { emit dropped(sources.first()); });
    else
        emit dropped(sources.first());
}

void BookSources::refuseDrop(const QString &path) const
{
    QMessageBox::warning(
        m_window, QCoreApplication::translate("Quirevale", "Warning"),
        tr("%1 is neither a folder, a comic archive nor a page (%2). Drop a folder of pages, "
           "a comic archive, or one of its pages.")
            .arg(QDir::toNativeSeparators(path), pageFileTypeList(QStringLiteral(", "))));
}

// The strip stays until closed or until another book is listed: nothing is
// left out without a word, and nothing has to be answered first.
void BookSources::showNotice(const Book &book, int listed)
{
    QStringList lines;
    bool others = false;
    for (const Book::LeftOut &leftOut : book.leftOut()) {
        lines << leftOut.text;
        others = others || leftOut.kind == Book::LeftOut::OtherPictures;
    }
    if (listed == 0 && book.missesPages())
        lines << tr("None of the page files of this folder can be used.");
    ui.NoticeAction->setVisible(others);
    // A folder whose pages sit in sub-folders is offered as one book.
    const int chapters = book.chapterFolders();
    if (chapters > 0) {
        lines << tr("%1 of its sub-folders hold pages.").arg(chapters);
        ui.NoticeChapters->setText(
            tr("List the pages of its %1 sub-folders as chapters").arg(chapters));
    }
    ui.NoticeChapters->setVisible(chapters > 0);
    ui.NoticeText->setText(lines.join(QLatin1Char('\n')));
    ui.NoticeFrame->setVisible(!lines.isEmpty());
}

void BookSources::hideNotice()
{
    ui.NoticeFrame->hide();
}
