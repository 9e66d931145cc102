#include "book/sizereport.h"

#include "book/bookpreset.h"

#include <QFileInfo>
#include <QLocale>
#include <QSet>

qint64 SizeReport::bytesOf(const QVector<BuildPage> &pages)
{
    QSet<QString> counted;
    qint64 bytes = 0;
    for (const BuildPage &page : pages) {
        const QString file = page.page.file();
        if (counted.contains(file))
            continue;
        counted.insert(file);
        bytes += QFileInfo(file).size();
    }
    return bytes;
}

SizeReport::SizeReport(int entries, int pages, qint64 archiveBytes, qint64 pagesBytes)
    : m_entries(entries)
    , m_pages(pages)
    , m_archiveBytes(archiveBytes)
    , m_pagesBytes(pagesBytes)
{}

namespace {
QString ofKind(PageOptions::Kind kind, const QString &said)
{
    if (kind == PageOptions::EpubBook)
        return SizeReport::tr("EPUB: %1").arg(said);
    if (kind == PageOptions::KepubBook)
        return SizeReport::tr("Kobo EPUB: %1").arg(said);
    if (kind == PageOptions::Azw3Book)
        return SizeReport::tr("Kindle book: %1").arg(said);
    if (kind == PageOptions::PdfBook)
        return SizeReport::tr("PDF: %1").arg(said);
    return said;
}
} // namespace

QString SizeReport::sizeAndShare() const
{
    const QLocale locale;
    // Whole megabytes for a book, a tenth of one for a small one.
    const int decimals = m_archiveBytes >= 10 * 1000 * 1000 ? 0 : 1;
    const QString size =
        locale.formattedDataSize(m_archiveBytes, decimals, QLocale::DataSizeSIFormat);
    if (m_pagesBytes <= 0)
        return size;
    return tr("%1, %2× its pages")
        .arg(size, locale.toString(double(m_archiveBytes) / m_pagesBytes, 'f', 1));
}

QString SizeReport::brief(PageOptions::Kind kind) const
{
    return ofKind(kind, sizeAndShare());
}

QString SizeReport::line(PageOptions::Kind kind) const
{
    return ofKind(
        kind, tr("%1 entries from %2 pages, %3").arg(m_entries).arg(m_pages).arg(sizeAndShare()));
}

QString SizeReport::screenNote(const PageOptions &o)
{
    if (o.BookKind != PageOptions::KepubBook)
        return QString();
    // The largest screen any e-ink preset names.
    QSize largest;
    QStringList presets;
    for (const BookPreset &preset : BookPreset::builtIns()) {
        const PageOptions with = preset.appliedTo(BookOptions()).pages;
        if (!preset.name().startsWith(QLatin1String("eink")))
            continue;
        largest = largest.expandedTo(QSize(with.ResizeImageWidth, with.ResizeImageHeight));
        presets << tr("%1 (%2 × %3)")
                       .arg(preset.title())
                       .arg(with.ResizeImageWidth)
                       .arg(with.ResizeImageHeight);
    }
    if (o.ImageResize && o.ResizeImageWidth <= largest.width() &&
        o.ResizeImageHeight <= largest.height())
        return QString();
    return tr("Kobo's reader turns slowly through pictures larger than its screen; the presets "
              "for e-ink readers fit them to one: %1.")
        .arg(presets.join(QStringLiteral(", ")));
}

QString SizeReport::whyLarger(const PageOptions &o) const
{
    if (m_pagesBytes <= 0 || m_archiveBytes <= Larger * m_pagesBytes)
        return QString();
    QStringList causes;
    if (o.PageFormat == PageOptions::WebpLosslessPages)
        causes << tr("lossless WebP");
    if (!o.KeepUnchangedPages && !o.LosslessCuts)
        causes << tr("every page encoded again (unchanged pages are not kept as they are)");
    if (o.PageFormat != PageOptions::WebpLosslessPages && o.ImageQuality >= 92)
        causes << tr("quality %1").arg(o.ImageQuality);
    if (o.ImageResize && !(o.ImageResizeMode == PageOptions::ResizeToFit && o.ImageResizeNoEnlarge))
        causes << tr("pages enlarged to %1 × %2").arg(o.ResizeImageWidth).arg(o.ResizeImageHeight);
    if (o.StorePages)
        causes << tr("pages stored, not compressed");
    QStringList presets;
    for (const BookPreset &preset : BookPreset::builtIns()) {
        const PageOptions with = preset.appliedTo(BookOptions()).pages;
        if (with.KeepUnchangedPages && with.PageFormat == PageOptions::JpegPages)
            presets << preset.title();
    }
    QString said = tr("It is %1× the size of its pages")
                       .arg(QLocale().toString(double(m_archiveBytes) / m_pagesBytes, 'f', 1));
    if (!causes.isEmpty())
        said = tr("%1, made so by: %2").arg(said, causes.join(QStringLiteral(", ")));
    return tr("%1. Presets that keep pages as they are would not: %2.")
        .arg(said, presets.join(QStringLiteral(", ")));
}
