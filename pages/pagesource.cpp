#include "pages/pagesource.h"

#include "pages/epubpages.h"
#include "pages/naturalorder.h"
#include "pages/pagearchive.h"
#include "pages/pdfpages.h"
#include "pages/regularfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

namespace {
SourceKind kindByName(const QString &path)
{
    if (path.endsWith(QLatin1String(".epub"), Qt::CaseInsensitive))
        return SourceKind::Epub;
    if (PdfPages::isPdfName(path))
        return SourceKind::Pdf;
    return PageArchive::isArchiveName(path) ? SourceKind::Archive : SourceKind::Other;
}

// Whether the bytes start as a picture does: a picture may carry a PDF's
// header in a comment, and is never taken for one.
bool startsAsPicture(const QByteArray &head)
{
    static const QByteArrayList signatures = {
        QByteArray::fromHex("ffd8ff"), QByteArray::fromHex("89504e470d0a1a0a"),
        QByteArrayLiteral("GIF8"),     QByteArrayLiteral("BM"),
        QByteArrayLiteral("II*\0"),    QByteArrayLiteral("MM\0*"),
        QByteArrayLiteral("RIFF")};
    for (const QByteArray &signature : signatures) {
        if (head.startsWith(signature))
            return true;
    }
    return false;
}

// An archive's signature at the start wins: a ZIP whose first entry is a
// stored PDF is a ZIP. A PDF is one by its header, which readers look for
// within the first kilobyte.
SourceKind kindByContent(const QByteArray &head)
{
    if (EpubPages::startsAsEpub(head))
        return SourceKind::Epub;
    // ZIP (an entry, an empty archive, a spanned one), RAR, 7z, then the
    // compressed tars: gzip, bzip2, xz.
    static const QByteArrayList signatures = {
        QByteArray::fromHex("504b0304"),     QByteArray::fromHex("504b0506"),
        QByteArray::fromHex("504b0708"),     QByteArray::fromHex("526172211a07"),
        QByteArray::fromHex("377abcaf271c"), QByteArray::fromHex("1f8b"),
        QByteArray::fromHex("425a68"),       QByteArray::fromHex("fd377a585a00")};
    for (const QByteArray &signature : signatures) {
        if (head.startsWith(signature))
            return SourceKind::Archive;
    }
    if (head.mid(257, 5) == "ustar") // tar
        return SourceKind::Archive;
    if (!startsAsPicture(head) && head.left(1024).contains("%PDF-"))
        return SourceKind::Pdf;
    return SourceKind::Other;
}
} // namespace

SourceKind sourceKindOf(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return SourceKind::Folder;
    const RegularFile file = RegularFile::open(path);
    if (file.fd < 0)
        return kindByName(path);
    QByteArray head(1024, '\0');
    const ssize_t got = ::read(file.fd, head.data(), size_t(head.size()));
    ::close(file.fd);
    if (got <= 0)
        return kindByName(path);
    head.truncate(int(got));
    const SourceKind kind = kindByContent(head);
    // Bytes no known source starts with, under an archive's name: listed as
    // one, the listing says why it cannot be.
    return kind == SourceKind::Other ? kindByName(path) : kind;
}

bool isBookFile(const QString &path)
{
    const SourceKind kind = sourceKindOf(path);
    return kind == SourceKind::Archive || kind == SourceKind::Pdf || kind == SourceKind::Epub;
}

QStringList booksOnShelf(const QString &folder, int limit)
{
    const QFileInfo where(folder);
    if (!where.isDir())
        return {};
    QVector<QFileInfo> books;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (isPageFileName(file.fileName()))
            return {};
        if (books.size() < limit && isBookFile(file.absoluteFilePath()))
            books << file;
    }
    stableMergeSort(books, NaturalOrderLess());
    QStringList paths;
    for (const QFileInfo &book : qAsConst(books))
        paths << book.absoluteFilePath();
    return paths;
}

QString bookNameOf(const QString &source)
{
    if (isBookFile(source)) {
        // "Tales.kepub.epub" is Kobo's name for the book "Tales".
        QString name = QFileInfo(source).fileName();
        const QLatin1String kobo(".kepub.epub");
        if (name.endsWith(kobo, Qt::CaseInsensitive) && name.size() > kobo.size())
            return name.left(name.size() - kobo.size());
        return QFileInfo(source).completeBaseName();
    }
    return QFileInfo(QDir(source).absolutePath()).fileName();
}

namespace {
// "Vol 01", "Volume 3", "v02", "Ch 3", "Chapter 12", "Tome 4", "Part 2",
// "#5": a name that says which part of a series, not which series.
bool namesOnlyAPart(const QString &name)
{
    static const QRegularExpression part(
        QStringLiteral("^\\s*(?:vol(?:ume)?|v|tome|t|ch(?:apter|ap)?|c|part|book|issue|no|#)"
                       "[\\s._-]*\\d+(?:\\.\\d+)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return part.match(name).hasMatch();
}
} // namespace

QString bookTitleOf(const QString &source)
{
    const QString name = bookNameOf(source);
    if (!namesOnlyAPart(name))
        return name;
    // The series is the folder that holds it: "Harbor Tales/Vol 01" is
    // "Harbor Tales Vol 01".
    const QString held = isBookFile(source) ? QFileInfo(source).absolutePath()
                                            : QFileInfo(QDir(source).absolutePath()).absolutePath();
    const QString series = QFileInfo(held).fileName();
    return series.isEmpty() ? name : series + QLatin1Char(' ') + name;
}

PageListing scanPageSource(const QString &path, PictureTypes types, const ListingControl &control)
{
    const QFileInfo info(path);
    const SourceKind kind = sourceKindOf(path);
    PageListing listing;
    switch (kind) {
    case SourceKind::Pdf:
        listing = PdfPages::list(info.absoluteFilePath(), control);
        break;
    case SourceKind::Archive:
        // An EPUB whose mimetype is not its first entry is still read as one.
        listing = kindByName(path) == SourceKind::Epub
                      ? EpubPages::list(info.absoluteFilePath(), control)
                      : PageArchive::list(info.absoluteFilePath(), control);
        break;
    case SourceKind::Epub:
        listing = EpubPages::list(info.absoluteFilePath(), control);
        break;
    default:
        return scanPageFolder(path, types);
    }
    // Told by its content, whatever its name says.
    if (kind == SourceKind::Pdf && kindByName(path) != SourceKind::Pdf)
        listing.realKind = PdfPages::tr("a PDF");
    if (kind == SourceKind::Epub && kindByName(path) != SourceKind::Epub)
        listing.realKind = EpubPages::tr("an EPUB");
    return listing;
}

PageListing scanSourcesAsChapters(const QStringList &sources, PictureTypes types,
                                  const ListingControl &control)
{
    QVector<QString> sorted(sources.begin(), sources.end());
    stableMergeSort(sorted, [](const QString &a, const QString &b) {
        return naturalLess(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });
    PageListing book;
    for (const QString &source : qAsConst(sorted)) {
        const PageListing part = scanPageSource(source, types, control);
        const QString chapter = bookNameOf(source);
        if (!part.error.isEmpty()) {
            book.error = part.stopped ? part.error
                                      : QStringLiteral("%1: %2").arg(QFileInfo(source).fileName(),
                                                                     part.error);
            book.stopped = part.stopped;
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
