#include "app/booksources.h"

#include "app/booksession.h"
#include "app/pagelist.h"
#include "pages/pagesource.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QtConcurrent>

namespace {
QString warning()
{
    return QCoreApplication::translate("Quirevale", "Warning");
}
} // namespace

BookSources::BookSources(const Widgets &widgets, BookSession *session, QString &imagesDir,
                         QWidget *window)
    : QObject(window)
    , ui(widgets)
    , m_session(session)
    , m_pages(session->pages())
    , m_imagesDir(imagesDir)
    , m_window(window)
{
    connect(ui.openArchive, &QAction::triggered, this, &BookSources::openArchive);
    connect(ui.listEveryType, &QAction::triggered, this, [this] {
        if (!ui.path->text().isEmpty() && ui.path->text() == m_imagesDir)
            open(m_imagesDir);
    });
    connect(ui.noticeClose, &QAbstractButton::clicked, ui.notice, &QWidget::hide);
    // The book listed again, pictures of every type among its pages; or as
    // one book, its sub-folders its chapters.
    connect(ui.noticeAction, &QAbstractButton::clicked, this,
            [this] { open(m_imagesDir, EveryPictureType, book().hasChapters()); });
    connect(ui.noticeChapters, &QAbstractButton::clicked, this,
            [this] { open(m_imagesDir, listedTypes(), true); });
    connect(ui.noticeBooks, &QAbstractButton::clicked, this, [this] {
        ui.notice->hide();
        emit booksOffered(m_booksHeld);
    });
}

BookSources::~BookSources()
{
    if (m_listing) {
        *m_stopListing = true;
        m_listing->waitForFinished();
    }
}

void BookSources::stopListing()
{
    if (m_stopListing)
        *m_stopListing = true;
}

void BookSources::listInBackground(const std::function<Book(const ListingControl &)> &list,
                                   const QString &source, const Failure &failed)
{
    if (m_listing)
        return;
    m_stopListing = std::make_shared<std::atomic_bool>(false);
    m_listing = new QFutureWatcher<Book>(this);
    connect(m_listing, &QFutureWatcher<Book>::finished, this, [this, source, failed] {
        const Book book = m_listing->result();
        m_listing->deleteLater();
        m_listing = nullptr;
        emit listingChanged(false);
        listingEnded(book, source, failed);
    });
    emit listingChanged(true);
    const std::shared_ptr<std::atomic_bool> stop = m_stopListing;
    const std::function<void(int)> observer = m_listingObserver;
    // This object waits for the listing before it goes.
    m_listing->setFuture(QtConcurrent::run([this, list, stop, observer] {
        const ListingControl control{stop.get(), [this, observer](int seen) {
                                         if (observer)
                                             observer(seen);
                                         QMetaObject::invokeMethod(
                                             this, [this, seen] { emit listingProgress(seen); },
                                             Qt::QueuedConnection);
                                     }};
        return list(control);
    }));
}

// A listing stopped leaves the list as it was.
void BookSources::listingEnded(const Book &book, const QString &source, const Failure &failed)
{
    if (book.listing().stopped)
        return;
    if (!book.errorString().isEmpty()) {
        QMessageBox::warning(m_window, warning(), failed(book.errorString()));
        return;
    }
    m_imagesDir = source;
    showListed(show(book), source);
}

PictureTypes BookSources::listedTypes(PictureTypes asked) const
{
    return ui.listEveryType->isChecked() ? EveryPictureType : asked;
}

const Book &BookSources::book() const
{
    return m_session->book();
}

int BookSources::show(const Book &book)
{
    const int count = m_session->setBook(book);
    showNotice(count);
    return count;
}

void BookSources::open(const QString &source, PictureTypes types, bool chapters)
{
    if (isListing() || !m_pages->forgetTreatmentsFirst())
        return;
    types = listedTypes(types);
    if (!QFileInfo(source).isDir() || chapters) {
        listInBackground(
            [source, types, chapters](const ListingControl &control) {
                return Book::open(source, types, chapters, control);
            },
            source,
            [source](const QString &why) {
                return tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(source), why);
            });
        return;
    }
    const Book book = Book::open(source, types);
    if (!book.errorString().isEmpty()) {
        QMessageBox::warning(
            m_window, warning(),
            tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(source), book.errorString()));
        return;
    }
    m_imagesDir = source;
    showListed(show(book), source);
}

void BookSources::openArchive()
{
    const QString archive = QFileDialog::getOpenFileName(
        m_window, tr("Open Archive"), m_imagesDir,
        tr("Comic archives, PDFs and EPUBs (%1)")
            .arg(QStringLiteral("*.cbz *.cbr *.cb7 *.cbt *.zip *.rar *.7z *.tar *.pdf *.epub")));
    if (!archive.isEmpty())
        open(archive);
}

void BookSources::openFromOutside(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        return;
    if (isBookFile(path)) {
        open(info.absoluteFilePath());
        return;
    }
    open(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    // A page named on its own becomes the current one.
    const int row = info.isDir() ? -1 : m_pages->rowOf(info.absoluteFilePath());
    if (row >= 0)
        m_pages->setCurrentRow(row);
}

void BookSources::openChapters(const QStringList &sources, bool ask)
{
    if (isListing() || !m_pages->forgetTreatmentsFirst() ||
        (ask && QMessageBox::question(m_window, tr("Chapters"),
                                      tr("List the pages of these %1 folders and archives as the "
                                         "chapters of one book, in the order of their names?")
                                          .arg(sources.size())) != QMessageBox::Yes))
        return;
    const PictureTypes types = listedTypes();
    // The book is named after the folder that holds its chapters.
    listInBackground(
        [sources, types](const ListingControl &control) {
            return Book::openChapters(sources, types, control);
        },
        Book::unlisted(sources).source(),
        [](const QString &why) { return tr("A chapter cannot be read: %1").arg(why); });
}

void BookSources::summarizePdf(int resolution)
{
    m_pdfSummary.clear();
    const int generation = ++m_summaryGeneration;
    if (!std::any_of(book().pages().cbegin(), book().pages().cend(),
                     [](const ListedPage &page) { return page.location.isPdfPage(); }))
        return;
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation == m_summaryGeneration)
            m_pdfSummary = watcher->result();
    });
    const Book book = m_session->book();
    watcher->setFuture(
        QtConcurrent::run([book, resolution] { return book.pdfSummary(resolution); }));
}

void BookSources::showListed(int count, const QString &source)
{
    emit listed();
    if (count != 0) {
        ui.path->setText(source);
        m_pages->setCurrentRow(0);
    } else if (!ui.notice->isHidden()) {
        // The strip speaks of this source (its chapters, its other
        // pictures): the path says which, not the book listed before.
        ui.path->setText(source);
    } else {
        QMessageBox::warning(
            m_window, warning(),
            QStringLiteral("%1! (%2)")
                .arg(QCoreApplication::translate("Quirevale", "No image file found"),
                     pageFileTypeList(QStringLiteral(","))));
    }
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
    // A box for an archive that cannot be read, or for the chapters, comes
    // after the drop.
    if (sources.size() > 1)
        QTimer::singleShot(0, this, [this, sources] { emit severalDropped(sources); });
    else if (isBookFile(sources.first()))
        QTimer::singleShot(0, this, [this, sources] { openFromOutside(sources.first()); });
    else
        openFromOutside(sources.first());
}

void BookSources::refuseDrop(const QString &path) const
{
    QMessageBox::warning(
        m_window, warning(),
        tr("%1 is neither a folder, a comic archive nor a page (%2). Drop a folder of pages, "
           "a comic archive, or one of its pages.")
            .arg(QDir::toNativeSeparators(path), pageFileTypeList(QStringLiteral(", "))));
}

// The strip stays until closed or until another book is listed: nothing is
// left out without a word, and nothing has to be answered first.
void BookSources::showNotice(int listed)
{
    QStringList lines;
    bool others = false;
    for (const Book::LeftOut &leftOut : book().leftOut()) {
        lines << leftOut.text;
        others = others || leftOut.kind == Book::LeftOut::OtherPictures;
    }
    if (listed == 0 && book().missesPages())
        lines << tr("None of the page files of this folder can be used.");
    ui.noticeAction->setVisible(others);
    // A folder whose pages sit in sub-folders is offered as one book.
    const int chapters = book().chapterFolders();
    if (chapters > 0) {
        lines << tr("%1 of its sub-folders hold pages.").arg(chapters);
        ui.noticeChapters->setText(
            tr("List the pages of its %1 sub-folders as chapters").arg(chapters));
    }
    ui.noticeChapters->setVisible(chapters > 0);
    // A shelf: its books are offered to the queue, one each.
    m_booksHeld = listed == 0 ? book().booksHeld() : QStringList();
    if (!m_booksHeld.isEmpty()) {
        lines << tr("It has no pages of its own, but holds %1 books (archives, PDFs or EPUBs).")
                     .arg(m_booksHeld.size());
        ui.noticeBooks->setText(tr("Queue Its %1 Books, One Each").arg(m_booksHeld.size()));
    }
    ui.noticeBooks->setVisible(!m_booksHeld.isEmpty());
    ui.noticeText->setText(lines.join(QLatin1Char('\n')));
    ui.notice->setVisible(!lines.isEmpty());
}
