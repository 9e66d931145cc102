#include "pages/pdfpages.h"

#include "pages/pagelocation.h"
#include "pages/regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <poppler-qt5.h>

#include <unistd.h>

#include <memory>

namespace {

// A PDF open for reading: its file, opened as a regular file only (a FIFO
// would block), and poppler's document on it.
struct OpenPdf
{
    QString path;
    std::unique_ptr<QFile> file;
    std::unique_ptr<Poppler::Document> document;

    // The document reads from the file to its end: it goes first. (A
    // member-wise assignment would free the file under it.)
    void close()
    {
        document.reset();
        file.reset();
        path.clear();
    }
    ~OpenPdf() { close(); }
};

// Poppler's own complaints about a broken file would reach the terminal;
// the reason goes to the user through error instead.
void quiet(const QString &, const QVariant &) {}

bool openPdf(const QString &path, OpenPdf *pdf, QString *error)
{
    static const bool silenced = [] {
        Poppler::setDebugErrorFunction(quiet, QVariant());
        return true;
    }();
    Q_UNUSED(silenced)
    const RegularFile opened = RegularFile::open(path);
    if (opened.fd < 0) {
        *error = opened.notRegular ? PdfPages::tr("It is not a regular file.") : opened.error;
        return false;
    }
    pdf->file = std::make_unique<QFile>();
    if (!pdf->file->open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened.fd);
        *error = pdf->file->errorString();
        return false;
    }
    pdf->document.reset(Poppler::Document::load(pdf->file.get()));
    if (!pdf->document) {
        *error = PdfPages::tr("It is not a PDF this program can read.");
        return false;
    }
    if (pdf->document->isLocked()) {
        *error = PdfPages::tr("It is protected by a password.");
        return false;
    }
    pdf->path = path;
    return true;
}

bool shouldStop(const QVariant &payload)
{
    const auto *stop = static_cast<const std::atomic_bool *>(payload.value<void *>());
    return stop && stop->load(std::memory_order_relaxed);
}
// One document a thread: poppler's are not to be shared between them, and
// the pages of a build come from the same PDF one after the other.
Poppler::Page *openPage(const QString &path, int index, QString *error)
{
    thread_local OpenPdf pdf;
    if (pdf.path != path || !pdf.document) {
        pdf.close();
        if (!openPdf(path, &pdf, error)) {
            pdf.close();
            return nullptr;
        }
        pdf.document->setRenderHint(Poppler::Document::Antialiasing);
        pdf.document->setRenderHint(Poppler::Document::TextAntialiasing);
        pdf.document->setPaperColor(Qt::white);
    }
    if (index < 0 || index >= pdf.document->numPages()) {
        *error = PdfPages::tr("The PDF has no page %1.").arg(index + 1);
        return nullptr;
    }
    Poppler::Page *page = pdf.document->page(index);
    if (!page)
        *error = PdfPages::tr("Page %1 cannot be found in the PDF: its page tree is damaged.")
                     .arg(index + 1);
    return page;
}

// The page's size in pixels at the resolution set; invalid, with the
// reason, when the page claims a size no page has (a MediaBox of 1e12
// points would pass any int).
QSize pixelsOf(const QSizeF &points, int index, int resolution, QString *error)
{
    const double dpi = qBound(PdfPages::MinimumResolution, resolution, PdfPages::MaximumResolution);
    const double width = points.width() * dpi / 72, height = points.height() * dpi / 72;
    const double limit = double(PdfPages::LargestSide);
    if (!(width >= 0.5 && height >= 0.5 && width <= limit && height <= limit &&
          width * height <= double(PdfPages::PixelBudget))) {
        if (error)
            *error = PdfPages::tr("Page %1 claims %2 × %3 points: at %4 dpi, not the size of "
                                  "any page.")
                         .arg(index + 1)
                         .arg(points.width(), 0, 'g', 6)
                         .arg(points.height(), 0, 'g', 6)
                         .arg(dpi);
        return QSize();
    }
    return QSize(qMax(1, qRound(width)), qMax(1, qRound(height)));
}
} // namespace

bool PdfPages::isPdfName(const QString &name)
{
    return QFileInfo(name).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

PageListing PdfPages::list(const QString &path, const ListingControl &control)
{
    PageListing result;
    OpenPdf pdf;
    if (!openPdf(path, &pdf, &result.error))
        return result;
    const int count = pdf.document->numPages();
    // A page tree that names itself, or a count no file of this size can
    // hold, is damaged: no page is listed that cannot be found.
    if (count <= 0) {
        result.error = tr("It holds no pages.");
        return result;
    }
    if (count > PageLimit || count > pdf.file->size() / SmallestPageBytes) {
        result.error = tr("It claims %1 pages, more than its %2 bytes can hold.")
                           .arg(count)
                           .arg(pdf.file->size());
        return result;
    }
    for (int index = 0; index < count; ++index) {
        if (!control.goOn(index)) {
            result.stop();
            return result;
        }
        std::unique_ptr<Poppler::Page> page(pdf.document->page(index));
        if (!page) {
            result.error =
                tr("Page %1 cannot be found in it: its page tree is damaged.").arg(index + 1);
            return result;
        }
    }
    result.pages.reserve(count);
    for (int index = 0; index < count; ++index) {
        const QString name = QStringLiteral("page %1").arg(index + 1);
        result.pages.append({name, PageLocation::ofPdfPage(path, index, name)});
    }
    return result;
}

QSize PdfPages::renderedSize(const QString &path, int index, int resolution, QString *error)
{
    QString why;
    std::unique_ptr<Poppler::Page> page(openPage(path, index, &why));
    const QSize size = page ? pixelsOf(page->pageSizeF(), index, resolution, &why) : QSize();
    if (error)
        *error = why;
    return size;
}

QImage PdfPages::render(const QString &path, int index, int resolution, qint64 pixelBudget,
                        QString *error, const std::atomic_bool *stop)
{
    std::unique_ptr<Poppler::Page> page(openPage(path, index, error));
    if (!page)
        return QImage();
    const double dpi = qBound(MinimumResolution, resolution, MaximumResolution);
    const QSizeF points = page->pageSizeF();
    const QSize pixels = pixelsOf(points, index, resolution, error);
    if (!pixels.isValid())
        return QImage();
    if (qint64(pixels.width()) * pixels.height() > pixelBudget) {
        *error = tr("Page %1 is %2 × %3 points: at %4 dpi, larger than any page.")
                     .arg(index + 1)
                     .arg(points.width())
                     .arg(points.height())
                     .arg(dpi);
        return QImage();
    }
    QImage image = page->renderToImage(
        dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr, shouldStop,
        QVariant::fromValue(const_cast<void *>(static_cast<const void *>(stop))));
    if (image.isNull())
        *error = stop && stop->load() ? tr("Stopped.")
                                      : tr("Page %1 cannot be rendered.").arg(index + 1);
    return image;
}
