#include "making/packager.h"

#include "making/azw3packager.h"
#include "making/cbzpackager.h"
#include "making/epubpackager.h"
#include "making/partspackager.h"
#include "making/pdfpackager.h"

// Every kind of book, in the order of PageOptions::Kind.
const QVector<Packager::Kind> &Packager::kinds()
{
    const QStringList every{QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("webp"),
                            QStringLiteral("gif")};
    // An e-reader's EPUB need not show WebP or GIF.
    const QStringList epub{QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("gif")};
    const QStringList jpeg{QStringLiteral("jpg")};
    const QStringList jpegAndPng{QStringLiteral("jpg"), QStringLiteral("png")};
    static const QVector<Packager::Kind> all = {
        {PageOptions::CbzBook, QT_TR_NOOP("CBZ"), ".cbz", every, true, true},
        {PageOptions::EpubBook, QT_TR_NOOP("EPUB"), ".epub", epub, false, true},
        {PageOptions::KepubBook, QT_TR_NOOP("Kobo EPUB"), ".kepub.epub", epub, false, true},
        // A Kindle shows JPEG pictures in its fixed-layout books; a PDF holds
        // JPEG as it is and PNG losslessly.
        {PageOptions::Azw3Book, QT_TR_NOOP("Kindle (AZW3)"), ".azw3", jpeg, false, false, true},
        {PageOptions::PdfBook, QT_TR_NOOP("PDF"), ".pdf", jpegAndPng, false, false, true},
    };
    return all;
}

const Packager::Kind &Packager::kind(PageOptions::Kind kind)
{
    const QVector<Kind> &all = kinds();
    return all.at(qBound(0, int(kind), all.size() - 1));
}

QString Packager::suffixOf(PageOptions::Kind kind)
{
    return QLatin1String(Packager::kind(kind).suffix);
}

std::unique_ptr<Packager> Packager::make(const PageOptions &options)
{
    if (options.MaxBookMegabytes > 0)
        return std::make_unique<PartsPackager>(options,
                                               qint64(options.MaxBookMegabytes) * 1000 * 1000);
    return ofKind(options);
}

std::unique_ptr<Packager> Packager::ofKind(const PageOptions &options)
{
    switch (options.BookKind) {
    case PageOptions::EpubBook:
        return std::make_unique<EpubPackager>(false);
    case PageOptions::KepubBook:
        return std::make_unique<EpubPackager>(true);
    case PageOptions::Azw3Book:
        return std::make_unique<Azw3Packager>();
    case PageOptions::PdfBook:
        return std::make_unique<PdfPackager>(options);
    case PageOptions::CbzBook:
        break;
    }
    return std::make_unique<CbzPackager>();
}
