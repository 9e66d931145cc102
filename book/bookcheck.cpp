#include "book/bookcheck.h"

#include "book/book.h"
#include "book/bookjob.h"
#include "pages/naturalorder.h"
#include "pages/pagereader.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QtConcurrent>

namespace {
// Picture kinds many readers show no page of.
const QHash<QString, QString> &unshownKinds()
{
    static const QHash<QString, QString> kinds = {
        {QStringLiteral("webp"), QStringLiteral("WebP")},
        {QStringLiteral("avif"), QStringLiteral("AVIF")},
        {QStringLiteral("jxl"), QStringLiteral("JPEG XL")},
        {QStringLiteral("heic"), QStringLiteral("HEIF")},
        {QStringLiteral("heif"), QStringLiteral("HEIF")}};
    return kinds;
}

// A reason as a clause, to be followed by more of the sentence.
QString withoutStop(QString text)
{
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString shortList(const QStringList &names)
{
    constexpr int Named = 3;
    QString said = names.mid(0, Named).join(QStringLiteral(", "));
    if (names.size() > Named)
        said = BookCheck::tr("%1 and %2 more").arg(said).arg(names.size() - Named);
    return said;
}

// The quality the first of the pages that is a JPEG was made at; 0 for none.
int jpegQualityOf(const QVector<ListedPage> &pages)
{
    for (const ListedPage &page : pages) {
        const QString suffix = QFileInfo(page.name).suffix().toLower();
        if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg"))
            continue;
        PageReader reader(page.location);
        if (reader.readWithoutDecoding())
            return JpegCheck::frameOf(reader.fileData()).quality;
    }
    return 0;
}

// Why a page cannot be used, after its name; empty when it can, or when the
// check is stopped.
struct Damage
{
    using result_type = QString;
    const std::atomic_bool *stop;

    QString operator()(const ListedPage &page) const
    {
        if (stop && stop->load())
            return QString();
        const QString why = PageReader::check(page.location, PdfPages::DefaultResolution);
        return why.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(page.name, why);
    }
};

QString methodName(int method)
{
    switch (method) {
    case 9:
        return QStringLiteral("Deflate64");
    case 12:
        return QStringLiteral("bzip2");
    case 14:
        return QStringLiteral("LZMA");
    case 93:
        return QStringLiteral("Zstandard");
    case 95:
        return QStringLiteral("XZ");
    case 98:
        return QStringLiteral("PPMd");
    case 99:
        return BookCheck::tr("AES encryption");
    default:
        return BookCheck::tr("method %1").arg(method);
    }
}
} // namespace

BookCheck BookCheck::of(const QString &path, const std::atomic_bool *stop)
{
    BookCheck check;
    check.m_path = path;
    const QFileInfo info(path);
    if (!info.isFile()) {
        check.add(Finding::Unreadable, tr("It is not a regular file."));
        return check;
    }
    if (info.size() == 0) {
        check.add(Finding::Unreadable, tr("It is empty (0 bytes)."));
        return check;
    }
    const SourceKind kind = sourceKindOf(path);
    if (kind != SourceKind::Archive && kind != SourceKind::Epub) {
        check.add(Finding::Unreadable, tr("It is no comic archive (CBZ, CBR, CB7, CBT) or EPUB."));
        return check;
    }
    const ListingControl control{stop};
    const Book book = Book::open(path, EveryPictureType, false, control);
    if (!book.errorString().isEmpty()) {
        check.add(Finding::Unreadable, tr("It cannot be read: %1").arg(book.errorString()));
        return check;
    }
    QStringList names;
    for (const ListedPage &page : book.pages())
        names << page.name;
    if (names.isEmpty() && book.listing().unreadable.isEmpty()) {
        check.add(Finding::Unreadable, tr("It holds no pages."));
        return check;
    }
    check.m_fixable = !names.isEmpty();
    const bool epub = kind == SourceKind::Epub;
    if (!epub)
        check.checkOrder(names);
    check.checkNames(names);
    check.m_jpegQuality = jpegQualityOf(book.pages());
    // Each entry as the archive holds it: how it is packed, its size, and
    // whether it is encrypted.
    const PageArchive::Contents contents = PageArchive::contents(
        path, [](const QString &) { return false; }, 0, 0, control);
    if (contents.stopped) {
        check.add(Finding::Unreadable, ListingControl::stoppedReason());
        return check;
    }
    check.checkKind(book.listing().realKind, epub ? QString() : contents.format);
    check.checkEntries(contents, book.listing().unreadable);
    const PageListing &listing = book.listing();
    for (const QString &name : listing.unreadable) {
        if (!check.m_encrypted.contains(name))
            check.add(Finding::DamagedPage,
                      tr("%1 cannot be read: %2. --fix leaves it out and "
                         "names it.")
                          .arg(name, withoutStop(listing.whyUnreadable(name))));
    }
    // The build's own check of every page, on every core.
    const QVector<ListedPage> pages = book.pages();
    const QStringList damaged = QtConcurrent::blockingMapped<QStringList>(pages, Damage{stop});
    if (stop && stop->load()) {
        check.add(Finding::Unreadable, ListingControl::stoppedReason());
        return check;
    }
    for (const QString &said : damaged) {
        if (!said.isEmpty())
            check.add(Finding::DamagedPage,
                      tr("%1. --fix leaves it out and names it.").arg(withoutStop(said)));
    }
    if (!epub) {
        QHash<QString, qint64> sizes;
        for (const PageArchive::Contents::Entry &entry : contents.entries)
            sizes.insert(entry.name, entry.size);
        check.checkComicInfo(listing.comicInfo, names, sizes);
    }
    return check;
}

// Readers go by a book's name, and few open a 7z or a tar archive.
void BookCheck::checkKind(const QString &realKind, const QString &format)
{
    if (!realKind.isEmpty())
        add(Finding::Misnamed,
            tr("It is %1, whatever its name says: readers that go by the name fail to open it. "
               "--fix makes a CBZ of it.")
                .arg(realKind));
    if (format == QLatin1String("7z") || format == QLatin1String("tar"))
        add(Finding::Format,
            tr("It is a %1 archive, which many readers and servers do not open (they open a "
               "CBZ, a ZIP). --fix makes a CBZ of it.")
                .arg(format));
}

// Page names that are not valid text.
void BookCheck::checkNames(const QStringList &names)
{
    QHash<QString, QStringList> unshown;
    QStringList badNames;
    for (const QString &name : names) {
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (unshownKinds().contains(suffix))
            unshown[unshownKinds().value(suffix)] << name;
        if (name.contains(QChar::ReplacementCharacter))
            badNames << name;
    }
    for (auto kindOf = unshown.cbegin(); kindOf != unshown.cend(); ++kindOf)
        add(Finding::PictureKind,
            tr("%1 of its pages are %2, which Kobo's and Kindle's readers and some "
               "servers do not show (%3). --fix writes them as JPEG.")
                .arg(kindOf.value().size())
                .arg(kindOf.key(), shortList(kindOf.value())));
    if (!badNames.isEmpty())
        add(Finding::NameEncoding,
            tr("%1 page names are not valid text (%2): readers show them garbled or not "
               "at all. --fix names the pages afresh.")
                .arg(badNames.size())
                .arg(shortList(badNames)));
}

// Entries packed a way few readers unpack (Deflate64, as Windows' own
// compressor writes large files, and the rest), and encrypted ones, as the
// archive says of each.
void BookCheck::checkEntries(const PageArchive::Contents &contents, const QStringList &unreadable)
{
    QMap<int, QStringList> odd;
    QHash<QString, int> named; // regular entries, by name
    QStringList twice;
    for (const PageArchive::Contents::Entry &entry : contents.entries) {
        if (!entry.regular)
            continue;
        if (++named[entry.name] == 2)
            twice << entry.name;
        if (entry.zipMethod >= 0 && entry.zipMethod != 0 && entry.zipMethod != 8)
            odd[entry.zipMethod] << entry.name;
        if (entry.encrypted && unreadable.contains(entry.name)) {
            m_encrypted << entry.name;
            add(Finding::Encrypted, tr("%1 cannot be read: it is encrypted. --fix leaves it out "
                                       "and names it.")
                                        .arg(entry.name));
        }
    }
    // Readers and servers that look a page up by its name show one of them
    // twice and lose the other.
    if (!twice.isEmpty())
        add(Finding::SameName,
            tr("%1 of its names are each given to more than one entry (%2): readers that look "
               "pages up by name show one of them twice and lose the others. --fix names the "
               "pages afresh.")
                .arg(twice.size())
                .arg(shortList(twice)));
    for (auto method = odd.cbegin(); method != odd.cend(); ++method)
        add(Finding::Method, tr("%1 entries are packed with %2, which many readers cannot "
                                "unpack (%3). --fix packs them again.")
                                 .arg(method.value().size())
                                 .arg(methodName(method.key()), shortList(method.value())));
}

// Readers that sort by name put "10.jpg" before "2.jpg"; pages in
// sub-folders some show out of order or not at all.
void BookCheck::checkOrder(const QStringList &pages)
{
    QStringList byName = pages;
    std::sort(byName.begin(), byName.end());
    for (int i = 0; i < pages.size(); ++i) {
        if (byName.at(i) != pages.at(i)) {
            add(Finding::PageOrder,
                tr("Sorted by name, its pages come in another order (%1 before %2): readers "
                   "that sort by name show them out of order. --fix names them in order.")
                    .arg(byName.at(i), pages.at(i)));
            break;
        }
    }
    QStringList nested;
    for (const QString &page : pages) {
        if (page.contains(QLatin1Char('/')) || page.contains(QLatin1Char('\\')))
            nested << page;
    }
    if (!nested.isEmpty())
        add(Finding::SubFolders,
            tr("%1 of its pages are in sub-folders (%2): some readers show them out of order or "
               "not at all. --fix puts every page at the top.")
                .arg(nested.size())
                .arg(shortList(nested)));
}

void BookCheck::checkComicInfo(const QByteArray &xml, const QStringList &pages,
                               const QHash<QString, qint64> &sizes)
{
    if (xml.isEmpty()) {
        add(Finding::ComicInfo, tr("It has no ComicInfo.xml: servers know it only by its file "
                                   "name. --fix writes one."));
        return;
    }
    const QStringList lost = ComicInfo::leftOutOf(xml);
    if (!lost.isEmpty())
        add(Finding::ComicInfo,
            tr("Its ComicInfo.xml fails the schema: %1. Servers that check it take none of it. "
               "--fix keeps what the schema allows.")
                .arg(lost.join(QStringLiteral("; "))));
    const ComicInfo::PagesSaid said = ComicInfo::pagesSaidIn(xml);
    if (said.manga == QLatin1String("Yes"))
        add(Finding::Manga, tr("Its ComicInfo.xml says Manga \"Yes\": servers turn pages right to "
                               "left only for \"YesAndRightToLeft\". --fix writes that."));
    if ((said.pageCount >= 0 && said.pageCount != pages.size()) ||
        (said.listed > 0 && said.listed != pages.size()))
        add(Finding::PageCount,
            tr("Its ComicInfo.xml counts %1 pages, but it holds %2: readers show the wrong "
               "pages as the cover or as spreads. --fix counts them again.")
                .arg(said.pageCount >= 0 ? said.pageCount : said.listed)
                .arg(pages.size()));
    QStringList resized;
    for (auto page = said.sizes.cbegin(); page != said.sizes.cend(); ++page) {
        const QString name = pages.value(page.key());
        if (sizes.contains(name) && sizes.value(name) != page.value())
            resized << name;
    }
    if (!resized.isEmpty())
        add(Finding::PageCount,
            tr("Its ComicInfo.xml gives %1 pages another size than their entries have (%2): it "
               "was written for other pages. --fix writes it again.")
                .arg(resized.size())
                .arg(shortList(resized)));
}

QStringList BookCheck::booksIn(const QStringList &chosen, int limit)
{
    const auto isBook = [](const QString &path) {
        const SourceKind kind = sourceKindOf(path);
        return kind == SourceKind::Archive || kind == SourceKind::Epub;
    };
    QStringList books;
    for (const QString &path : chosen) {
        if (!QFileInfo(path).isDir()) {
            books << path; // named: checked, and said what it is not
            continue;
        }
        QVector<QString> found;
        QDirIterator files(path, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (files.hasNext() && books.size() + found.size() < limit) {
            const QString file = files.next();
            if (isBook(file))
                found << file;
        }
        stableMergeSort(found,
                        [](const QString &a, const QString &b) { return naturalLess(a, b); });
        books += QStringList(found.begin(), found.end());
    }
    return books.mid(0, limit);
}

QString BookCheck::cleanCopyName(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(bookNameOf(path) + QStringLiteral(" (fixed).cbz"));
}

void BookCheck::setUpCleanCopy(BookJob &job, const QString &target, bool replace) const
{
    BookOptions options;
    options.everyPictureType = true;
    options.pages.KeepUnchangedPages = true;
    options.pages.KeepOnlyJpegAndPng = true;
    // Pages written again as JPEG at the book's own quality: at the
    // default, a book of WebP pages would come out several times its size.
    options.pages.ImageQuality = cleanCopyQuality();
    ComicInfo given;
    given.write = true;
    // "Yes" says manga without saying how it is read; manga is read right
    // to left.
    if (std::any_of(m_findings.cbegin(), m_findings.cend(),
                    [](const Finding &finding) { return finding.kind == Finding::Manga; }))
        given.direction = ComicInfo::RightToLeft;
    job.setSources({m_path});
    job.setOptions(options);
    job.setComicInfo(given);
    job.setHalfChosen(true);
    // Pages in sub-folders go to the top: the folders are kept as chapters.
    job.setFoldersAsChapters(true);
    job.setTarget(target);
    job.setReplaceExisting(replace);
    // What cannot be read is left out of the copy, and named.
    job.setMadeWithout(BookJob::MissingFiles | BookJob::OtherPictures | BookJob::UnreadablePages |
                       BookJob::LaterFrames);
}

QStringList BookCheck::leftOutOf(const BookJob &job)
{
    QStringList leftOut;
    const PageListing &listing = job.book().listing();
    for (const QString &name : listing.unreadable)
        leftOut << tr("%1 left out: %2").arg(name, listing.whyUnreadable(name));
    for (const int row : job.leftOutRows())
        leftOut << tr("%1 left out: it cannot be read").arg(job.book().pages().at(row).name);
    return leftOut;
}

bool BookCheck::makeCleanCopy(const QString &target, bool replace, QStringList *leftOut,
                              QString *error) const
{
    BookJob job;
    setUpCleanCopy(job, target, replace);
    const BookJob::Result result = job.exec();
    if (result != BookJob::Made && result != BookJob::MadeWithoutSome) {
        *error = job.errorString();
        return false;
    }
    *leftOut = leftOutOf(job);
    return true;
}
