#include "book/book.h"

#include "making/packager.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "pages/pdfpicture.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

Book Book::open(const QString &source, PictureTypes types, bool chapters,
                const ListingControl &control)
{
    Book book = unlisted({source}, chapters);
    book.m_types = types;
    book.m_listing = book.m_chapters ? scanChapters(source, types, control)
                                     : scanPageSource(source, types, control);
    book.takeSourceChapters();
    return book;
}

// An archive's chapters are those its ComicInfo.xml marks, when nothing
// else told them: made again, the book keeps them.
void Book::takeSourceChapters()
{
    QVector<ListedPage> &pages = m_listing.pages;
    if (m_listing.comicInfo.isEmpty() ||
        std::any_of(pages.cbegin(), pages.cend(),
                    [](const ListedPage &page) { return !page.chapter.isEmpty(); }))
        return;
    const QMap<int, QString> bookmarks = ComicInfo::pagesSaidIn(m_listing.comicInfo).bookmarks;
    for (auto mark = bookmarks.cbegin(); mark != bookmarks.cend() && mark.key() < pages.size();
         ++mark) {
        const int end = std::next(mark) == bookmarks.cend()
                            ? pages.size()
                            : qMin(std::next(mark).key(), pages.size());
        for (int page = mark.key(); page < end; ++page)
            pages[page].chapter = mark.value();
    }
}

Book Book::openChapters(const QStringList &sources, PictureTypes types,
                        const ListingControl &control)
{
    Book book = unlisted(sources, true);
    book.m_types = types;
    book.m_listing = scanSourcesAsChapters(sources, types, control);
    return book;
}

Book Book::unlisted(const QStringList &sources, bool chapters)
{
    Book book;
    if (sources.size() > 1) {
        book.m_source = QFileInfo(sources.first()).absolutePath();
        book.m_sources = sources;
        book.m_chapters = true;
    } else {
        book.m_source = sources.value(0);
        book.m_chapters = chapters && QFileInfo(book.m_source).isDir();
    }
    return book;
}

QString Book::name() const
{
    return bookNameOf(m_source);
}

QVector<Book::LeftOut> Book::leftOut() const
{
    const PageListing &listing = m_listing;
    const auto named = [](const QStringList &names) {
        return names.join(QStringLiteral(", "));
    };
    QVector<LeftOut> said;
    if (!listing.realKind.isEmpty())
        said.append({tr("It is %1, whatever its name says").arg(listing.realKind), LeftOut::Note});
    for (const QString &name : listing.unusableNames)
        said.append({tr("%1 cannot be used: its name is not valid text").arg(name)});
    for (const QString &name : listing.unreadable)
        said.append({tr("%1 cannot be read: %2").arg(name, listing.whyUnreadable(name))});
    if (!listing.symlinks.isEmpty())
        said.append({tr("Symbolic links are not listed: %1").arg(named(listing.symlinks))});
    if (!listing.archives.isEmpty())
        said.append({tr("Archives inside it are not opened: %1").arg(named(listing.archives))});
    const QStringList lost = comicInfoLeftOut(listing);
    if (!lost.isEmpty())
        said.append({tr("Not kept of its ComicInfo.xml: %1").arg(lost.join(QStringLiteral("; ")))});
    if (!listing.emptyChapters.isEmpty())
        said.append(
            {tr("Sub-folders without pages are left out: %1").arg(named(listing.emptyChapters))});
    if (!listing.otherPictures.isEmpty()) {
        // Named by file, the first ten: a count by type alone does not say
        // which pages a book would lack.
        constexpr int Named = 10;
        const QStringList first = listing.otherPictures.mid(0, Named);
        QString files = named(first);
        if (listing.otherPictures.size() > Named)
            files = tr("%1 and %2 more").arg(files).arg(listing.otherPictures.size() - Named);
        said.append({tr("Files of other picture types, not listed: %1 (%2): %3")
                         .arg(listing.otherPictures.size())
                         .arg(pictureTypesOf(listing.otherPictures).join(QStringLiteral(", ")))
                         .arg(files),
                     LeftOut::OtherPictures});
    }
    return said;
}

int Book::chapterFolders() const
{
    if (m_chapters || !QFileInfo(m_source).isDir())
        return 0;
    return chapterCount(m_source, m_types);
}

namespace {
// More books than a shelf holds, as many as a queue takes.
constexpr int ShelfLimit = 100000;
} // namespace

QStringList Book::booksHeld() const
{
    if (m_chapters || !m_listing.pages.isEmpty())
        return {};
    return booksOnShelf(m_source, ShelfLimit);
}

QStringList Book::booksOf(const QStringList &sources)
{
    QStringList books;
    for (const QString &source : sources) {
        const QStringList held = booksOnShelf(source, ShelfLimit);
        if (held.isEmpty())
            books << source;
        else
            books << held;
    }
    return books;
}

QVector<Book::Page> Book::listedPages(const QHash<QString, PageTreatment> &treatments) const
{
    QVector<Page> pages;
    for (const ListedPage &page : m_listing.pages)
        pages.append({pages.size(), page.location, treatments.value(page.name), page.chapter});
    return pages;
}

QVector<BuildPage> Book::buildPages(const QVector<Page> &pages)
{
    QVector<BuildPage> built;
    QString chapter;
    for (const Page &page : pages) {
        built.append({page.row, page.location, page.treatment,
                      page.chapter != chapter ? page.chapter : QString()});
        chapter = page.chapter;
    }
    return built;
}

QString Book::targetIn(const QString &folder, PageOptions::Kind kind) const
{
    return targetFor(name(), m_source, folder, kind);
}

QString Book::targetFor(const QString &name, const QString &source, const QString &folder,
                        PageOptions::Kind kind)
{
    const QDir dir(folder);
    const QString suffix = Packager::suffixOf(kind);
    const QString target = dir.absoluteFilePath(name + suffix);
    if (QFileInfo(target) == QFileInfo(source))
        return dir.absoluteFilePath(name + QStringLiteral(" (1)") + suffix);
    return target;
}

QString Book::defaultFolderOf(const QString &source)
{
    const QFileInfo info(source);
    // A folder's path may end in a slash: its own name is not its parent.
    return info.isDir() ? QFileInfo(QDir(source).absolutePath()).absolutePath()
                        : info.absolutePath();
}

BuildRequest Book::request(const QString &folder, bool withoutMissingPages,
                           bool withoutOtherPictures, PageOptions::Kind kind) const
{
    BuildRequest request;
    request.target = targetIn(folder.isEmpty() ? defaultFolder() : folder, kind);
    if (missesPages() && !withoutMissingPages) {
        request.refusedFor |= BuildRequest::MissingPages;
        request.reasons << tr("no archive made, so that no page is missing from it");
    }
    for (const LeftOut &leftOut : leftOut()) {
        if (leftOut.kind != LeftOut::OtherPictures)
            continue;
        if (withoutOtherPictures) {
            request.leftOut << leftOut.text;
        } else {
            request.refusedFor |= BuildRequest::OtherPictures;
            request.reasons << leftOut.text;
        }
    }
    return request;
}

QString Book::pdfSummary(int resolution) const
{
    QMap<int, int> scans, rendered; // pages at each resolution
    for (const ListedPage &page : m_listing.pages) {
        if (!page.location.isPdfPage())
            continue;
        const PdfPicture::PageKind kind =
            PdfPicture::kindOf(page.location.file(), page.location.index(), resolution,
                               PageReader::PixelBudget, PageReader::FileBudget);
        ++(kind.scan ? scans : rendered)[kind.resolution];
    }
    const auto count = [](const QMap<int, int> &pages) {
        int sum = 0;
        for (int n : pages)
            sum += n;
        return sum;
    };
    const auto range = [](const QMap<int, int> &pages) {
        return pages.firstKey() == pages.lastKey()
                   ? QString::number(pages.firstKey())
                   : tr("%1 to %2").arg(pages.firstKey()).arg(pages.lastKey());
    };
    QStringList said;
    if (!scans.isEmpty())
        said << (count(scans) == 1 ? tr("1 page is a single scan at %1 ppi").arg(range(scans))
                                   : tr("%1 pages are single scans at %2 ppi")
                                         .arg(count(scans))
                                         .arg(range(scans)));
    if (!rendered.isEmpty())
        said << (count(rendered) == 1 ? tr("1 page is rendered at %1 dpi").arg(range(rendered))
                                      : tr("%1 pages are rendered at %2 dpi")
                                            .arg(count(rendered))
                                            .arg(range(rendered)));
    return said.join(QStringLiteral("; "));
}

ComicInfo Book::comicInfo(bool write) const
{
    const ComicInfo source = ComicInfo::fromXml(m_listing.comicInfo);
    if (source.write)
        return source; // carried over, asked for or not
    ComicInfo info = ComicInfo::suggestedFor(bookTitleOf(m_source));
    info.write = write;
    return info;
}

PageOptions Book::withReadingDirection(PageOptions options, const ComicInfo &info, bool halfChosen)
{
    if (!halfChosen && info.direction != ComicInfo::DirectionUnsaid)
        options.ImageCutFirstPageRight = info.direction == ComicInfo::RightToLeft;
    return options;
}

ComicInfo Book::comicInfoEdited(const ComicInfo &edited) const
{
    ComicInfo info = edited;
    info.sourceXml = ComicInfo::fromXml(m_listing.comicInfo).sourceXml;
    return info;
}

ComicInfo Book::comicInfoGiven(const ComicInfo &given) const
{
    return given.over(comicInfo(given.write));
}

Book::Plan Book::plan(const PageOptions &options, const ComicInfo &given, bool edited,
                      bool halfChosen) const
{
    Plan plan;
    plan.comicInfo = edited ? comicInfoEdited(given) : comicInfoGiven(given);
    plan.options = withReadingDirection(options, plan.comicInfo, halfChosen);
    // One direction the book is made with: the half of a cut page that comes
    // first says it where the book says none, or where the user chose that
    // half for this book; what it carries (its ComicInfo.xml's Manga, an
    // EPUB's progression) says the same.
    const ComicInfo::Direction cut =
        plan.options.ImageCutFirstPageRight ? ComicInfo::RightToLeft : ComicInfo::LeftToRight;
    if (plan.options.ImageCutDoublePages &&
        (halfChosen || plan.comicInfo.direction == ComicInfo::DirectionUnsaid))
        plan.comicInfo.direction = cut;
    return plan;
}
