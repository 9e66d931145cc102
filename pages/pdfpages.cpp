#include "pages/pdfpages.h"

#include "pages/pagelocation.h"
#include "pages/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <poppler-qt5.h>

#include <unistd.h>

#include <memory>
#include <vector>

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
// Documents open and not in use, kept for the next page of the same PDF:
// the pages of a build come from it one after the other, and opening a
// long PDF costs its cross-reference table each time. Each is used by one
// thread at a time (poppler's are not to be shared), and closed by the
// thread that gives it back, never at a thread's exit: a thread's own
// documents would be destroyed after the thread was waited for, while the
// program ends and poppler's own globals go.
class IdleDocuments
{
public:
    static constexpr size_t Kept = 8;

    std::unique_ptr<OpenPdf> take(const QString &path)
    {
        QMutexLocker locker(&m_mutex);
        for (auto open = m_idle.begin(); open != m_idle.end(); ++open) {
            if ((*open)->path == path) {
                std::unique_ptr<OpenPdf> taken = std::move(*open);
                m_idle.erase(open);
                return taken;
            }
        }
        return nullptr;
    }

    void giveBack(std::unique_ptr<OpenPdf> pdf)
    {
        std::unique_ptr<OpenPdf> closed; // outside the lock
        QMutexLocker locker(&m_mutex);
        m_idle.push_back(std::move(pdf));
        if (m_idle.size() > Kept) {
            closed = std::move(m_idle.front());
            m_idle.erase(m_idle.begin());
        }
        locker.unlock();
    }

private:
    QMutex m_mutex;
    std::vector<std::unique_ptr<OpenPdf>> m_idle;
};

// Never destroyed: at the program's end poppler's globals may go before it.
IdleDocuments &idleDocuments()
{
    static IdleDocuments *idle = new IdleDocuments;
    return *idle;
}

// A page of an open document; the document goes back to be used again once
// the page is done with.
struct OpenPage
{
    std::unique_ptr<OpenPdf> pdf;
    std::unique_ptr<Poppler::Page> page;

    OpenPage() = default;
    OpenPage(OpenPage &&) = default;
    ~OpenPage()
    {
        page.reset();
        if (pdf && pdf->document)
            idleDocuments().giveBack(std::move(pdf));
    }
};

OpenPage openPage(const QString &path, int index, QString *error)
{
    OpenPage open;
    open.pdf = idleDocuments().take(path);
    if (!open.pdf) {
        open.pdf = std::make_unique<OpenPdf>();
        if (!openPdf(path, open.pdf.get(), error)) {
            open.pdf.reset();
            return open;
        }
        open.pdf->document->setRenderHint(Poppler::Document::Antialiasing);
        open.pdf->document->setRenderHint(Poppler::Document::TextAntialiasing);
        open.pdf->document->setPaperColor(Qt::white);
    }
    if (index < 0 || index >= open.pdf->document->numPages()) {
        *error = PdfPages::tr("The PDF has no page %1.").arg(index + 1);
        return open;
    }
    open.page.reset(open.pdf->document->page(index));
    if (!open.page)
        *error = PdfPages::tr("Page %1 cannot be found in the PDF: its page tree is damaged.")
                     .arg(index + 1);
    return open;
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
    const OpenPage open = openPage(path, index, &why);
    const std::unique_ptr<Poppler::Page> &page = open.page;
    const QSize size = page ? pixelsOf(page->pageSizeF(), index, resolution, &why) : QSize();
    if (error)
        *error = why;
    return size;
}

QImage PdfPages::render(const QString &path, int index, int resolution, qint64 pixelBudget,
                        QString *error, const std::atomic_bool *stop)
{
    const OpenPage open = openPage(path, index, error);
    const std::unique_ptr<Poppler::Page> &page = open.page;
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
