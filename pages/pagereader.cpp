#include "pages/pagereader.h"

#include "pages/jpegcheck.h"
#include "pages/pagearchive.h"
#include "pages/pagefilecheck.h"
#include "pages/pagelocation.h"
#include "pages/pagesource.h"
#include "pages/pdfpages.h"
#include "pages/pdfpicture.h"
#include "pages/regularfile.h"
#include "pages/zipentrycopy.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <new>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

// What the decoders say while a page is read on this thread. Qt's PNG and
// TIFF readers report damage only as warnings and still return a picture,
// with its lower part grey or garbage; the reader listens to them.
thread_local QStringList *complaints = nullptr;
QtMessageHandler previousHandler = nullptr;

void listenToDecoders(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (complaints && type == QtWarningMsg) {
        complaints->append(message);
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

// libtiff prints its warnings and errors on the terminal by itself (Qt's
// reader does not take them): they are made Qt's warnings, which the page
// reader hears while it reads and a quiet command line keeps quiet.
void tiffSays(const char *module, const char *format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    qWarning("%s: %s", module ? module : "TIFF", text);
}

class DecoderComplaints
{
public:
    DecoderComplaints()
    {
        static std::once_flag installed;
        std::call_once(installed, [] {
            previousHandler = qInstallMessageHandler(listenToDecoders);
            TIFFSetWarningHandler(tiffSays);
            TIFFSetErrorHandler(tiffSays);
        });
        m_outer = complaints;
        complaints = &m_heard;
    }
    ~DecoderComplaints() { complaints = m_outer; }
    DecoderComplaints(const DecoderComplaints &) = delete;
    DecoderComplaints &operator=(const DecoderComplaints &) = delete;

    // The first complaint that means pixels are missing or made up. Others
    // (an unknown TIFF tag, a few stray bytes before a marker) are harmless.
    QString damage() const
    {
        static const char *const fatal[] = {"premature end", "bad huffman", "bad arithmetic",
                                            "corrupt",       "read error",  "unexpected end"};
        for (const QString &message : m_heard) {
            for (const char *word : fatal) {
                if (message.contains(QLatin1String(word), Qt::CaseInsensitive) &&
                    !message.contains(QLatin1String("extraneous bytes")))
                    return message.trimmed();
            }
        }
        return QString();
    }

private:
    QStringList m_heard;
    QStringList *m_outer = nullptr;
};

const int DotsPerMeterAt96Dpi = 3780;
const qint64 ChunkSize = 4 << 20;

bool isJpeg(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg";
}

// The formats whose files are read whole (and, for the first three, checked
// before decoding): those a build may keep as they are.
bool readsWhole(const QByteArray &format)
{
    return isJpeg(format) || format == "png" || format == "bmp" || format == "webp" ||
           format == "gif";
}

} // namespace

PageReader::PageReader(const PageLocation &location)
    : m_location(location)
{}

PageReader::~PageReader() = default;

QString PageReader::notAPicture()
{
    return tr("The file is not a picture in a format this program reads.");
}

// Qt's readers often give no reason of their own.
QString PageReader::readerError(const QImageReader &reader)
{
    const QImageReader::ImageReaderError kind = reader.error();
    if (kind == QImageReader::UnknownError || reader.errorString().isEmpty() ||
        reader.errorString() == QLatin1String("Unknown error"))
        return tr("Its header or its data is not what a picture of its kind holds.");
    if (kind == QImageReader::UnsupportedFormatError)
        return notAPicture();
    return reader.errorString();
}

bool PageReader::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

// Opens without waiting: a FIFO would block the open itself until a writer
// came. What was opened must be a regular file, whatever the name was when
// the folder was listed.
bool PageReader::openFile()
{
#ifdef Q_OS_UNIX
    const RegularFile file = RegularFile::open(m_location.file());
    if (file.notRegular)
        return fail(tr("It is not a regular file (a pipe, a device or a folder)."));
    if (file.fd < 0)
        return fail(file.error);
    if (!m_file.open(file.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(file.fd);
        return fail(m_file.errorString());
    }
    return true;
#else
    m_file.setFileName(m_location.file());
    return m_file.open(QIODevice::ReadOnly) || fail(m_file.errorString());
#endif
}

// In pieces, so that a cancel is heard while a slow disk or share delivers.
std::function<void(qint64)> PageReader::fileGate() const
{
    if (!m_reserve)
        return {};
    const MemoryGate gate = m_reserve;
    return [gate](qint64 bytes) {
        gate(bytes, FileBytes);
    };
}

bool PageReader::readWholeFile()
{
    const qint64 size = m_file.size();
    if (size > m_byteBudget)
        return fail(tr("The file is %1 MB, larger than any page.").arg(size >> 20));
    reserve(size, FileBytes);
    m_data.clear();
    m_data.reserve(int(size));
    for (;;) {
        if (stopped())
            return fail(tr("Stopped."));
        const QByteArray piece = m_file.read(ChunkSize);
        if (m_file.error() != QFileDevice::NoError)
            return fail(m_file.errorString());
        if (piece.isEmpty())
            break;
        if (m_data.size() + qint64(piece.size()) > m_byteBudget)
            return fail(tr("The file is larger than any page."));
        m_data += piece;
    }
    m_file.close();
    return true;
}

bool PageReader::readWithoutDecoding()
{
    m_error.clear();
    m_rendered = QImage();
    m_wholePicture = QImage();
    m_jpegBlocks.reset();
    m_zipEntry = ZipEntryCopy();
    m_jpegLayout = JpegLayout();
    m_data.clear();
    m_loaded = false;
    if (m_file.isOpen())
        m_file.close();
    // An archive's entry is read whole, and decoded from memory.
    const PageLocation &location = m_location;
    if (location.isPdfPage()) {
        // A scanned page is its JPEG, as stored, read as any JPEG page is;
        // any other page is rendered.
        m_data = PdfPicture::scannedJpeg(location.file(), location.index(), m_byteBudget, m_stop);
        if (m_data.isEmpty())
            return openPdfPage(location);
        reserve(m_data.size(), FileBytes);
    } else if (location.isEntry()) {
        // A ZIP's entry is inflated by libdeflate, in a fraction of zlib's
        // time, when its header and CRC agree with what it holds; anything
        // else, and any entry that is not so, is read by libarchive, which
        // says what is wrong.
        m_zipEntry =
            ZipEntryCopy::of(location.file(), location.index(), location.entryName(), m_byteBudget);
        // The compressed copy is held with the page, for an archive that
        // carries it over.
        if (m_zipEntry.isValid())
            reserve(m_zipEntry.compressed.size(), FileBytes);
        m_data = m_zipEntry.inflated(fileGate());
        if (m_data.isEmpty()) {
            m_zipEntry = ZipEntryCopy();
            QString why;
            m_data = PageArchive::read(location.file(), location.index(), location.entryName(),
                                       &why, m_stop, fileGate(), m_byteBudget);
            if (!why.isEmpty())
                return fail(why);
        }
    } else if (!openFile()) {
        return false;
    }
    {
        DecoderComplaints quiet; // a header read may complain; decoding says it again
        if (m_file.isOpen()) {
            m_format = QImageReader::imageFormat(&m_file);
        } else {
            QBuffer buffer(&m_data);
            buffer.open(QIODevice::ReadOnly);
            m_format = QImageReader::imageFormat(&buffer);
        }
    }
    if (m_format.isEmpty())
        return fail(notAPicture());
    // Told by its content, whatever its name: an SVG named .jpg is refused
    // too. Qt's SVG reader claims any XML; one that is no SVG is no picture.
    if (m_format == "svg") {
        const QByteArray head = m_file.isOpen() ? m_file.peek(4096) : m_data.left(4096);
        if (!head.contains("<svg"))
            return fail(notAPicture());
    }
    if (isRefusedFormat(m_format))
        return fail(tr("It is a vector or PostScript picture (%1), which is never taken as a "
                       "page: it may draw other files or run a program.")
                        .arg(QString::fromLatin1(m_format)));
    if (readsWhole(m_format) && m_file.isOpen() && !readWholeFile())
        return false;
    // The size its header claims is checked before anything is decoded: the
    // check of a JPEG's blocks holds them all for a progressive one.
    {
        std::unique_ptr<QImageReader> reader = imageReader();
        DecoderComplaints quiet;
        m_headerSize = shownSize(*reader);
        m_transformation = reader->transformation();
        if (!m_headerSize.isValid() && !readsWhole(m_format))
            return fail(readerError(*reader));
    }
    if (!checkBudget(m_headerSize) || (readsWhole(m_format) && !checkWhole()))
        return false;
    if (!m_headerSize.isValid()) // whole, yet no header a reader takes
        return fail(readerError(*imageReader()));
    m_loaded = true;
    return true;
}

// A PDF's page has its size in points: it is rendered only when its
// pixels are asked for, so that whoever holds pages within a budget can
// count them first.
bool PageReader::openPdfPage(const PageLocation &location)
{
    QString why;
    m_pdfPath = location.file();
    m_pdfPage = location.index();
    m_format = "pdf";
    m_transformation = QImageIOHandler::TransformationNone;
    // A page that is one picture is that picture, at its own size.
    const PdfPicture::Picture picture = PdfPicture::pictureOf(location.file(), location.index(),
                                                              m_pixelBudget, m_byteBudget, m_stop);
    if (!picture.refused.isEmpty())
        return fail(picture.refused);
    m_pdfPicture = picture.shown.isValid();
    if (m_pdfPicture) {
        m_headerSize = picture.shown;
        m_loaded = true;
        return true;
    }
    // Rendered no coarser than its pictures, so that scans keep their
    // pixels; the resolution chosen is the floor.
    const int pictures =
        qMin(PdfPicture::pictureResolution(location.file(), location.index(), m_stop),
             int(PdfPages::MaximumResolution));
    if (pictures > m_pdfResolution) {
        const QSize sharp =
            PdfPages::renderedSize(location.file(), location.index(), pictures, &why);
        if (sharp.isValid() && qint64(sharp.width()) * sharp.height() <= m_pixelBudget)
            m_pdfResolution = pictures;
    }
    m_headerSize = PdfPages::renderedSize(location.file(), location.index(), m_pdfResolution, &why);
    if (!m_headerSize.isValid())
        return fail(why);
    if (!checkBudget(m_headerSize))
        return false;
    m_loaded = true;
    return true;
}

bool PageReader::renderPdfPage()
{
    if (!m_rendered.isNull())
        return true;
    QString why;
    if (m_pdfPicture) {
        // The picture's samples as the PDF stores them, then its pixels:
        // held while the page is made, as a file's bytes and pixels are.
        reserve(qint64(m_headerSize.width()) * m_headerSize.height() * (3 + 4), Pixels);
        m_rendered =
            PdfPicture::decodedPicture(m_pdfPath, m_pdfPage, m_pixelBudget, m_byteBudget, &why);
        return !m_rendered.isNull() || fail(tr("The file is damaged: %1").arg(why));
    }
    m_rendered = PdfPages::render(m_pdfPath, m_pdfPage, m_pdfResolution, PixelBudget, &why, m_stop);
    return !m_rendered.isNull() || fail(why);
}

// On the bytes read, or on the file itself for formats read as decoded.
// One reader at a time: they share the device.
std::unique_ptr<QImageReader> PageReader::imageReader()
{
    QIODevice *device = &m_file;
    if (m_file.isOpen()) {
        m_file.seek(0);
    } else {
        m_buffer.close();
        m_buffer.setData(m_data); // shared, not copied
        m_buffer.open(QIODevice::ReadOnly);
        device = &m_buffer;
    }
    auto reader = std::make_unique<QImageReader>(device, m_format);
    reader->setAutoTransform(true); // a phone's portrait photo stands upright
    return reader;
}

QSize PageReader::shownSize(QImageReader &reader)
{
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QImage PageReader::reducedPicture(const QSize &bounds)
{
    if (m_format == "pdf" && !renderPdfPage())
        return QImage();
    if (!m_rendered.isNull())
        return bounds.isValid() && (m_rendered.width() > bounds.width() ||
                                    m_rendered.height() > bounds.height())
                   ? m_rendered.scaled(bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                   : m_rendered;
    std::unique_ptr<QImageReader> reader = imageReader();
    const QSize shown = shownSize(*reader);
    if (shown.isValid() && bounds.isValid() &&
        (shown.width() > bounds.width() || shown.height() > bounds.height())) {
        // The decoder scales before it turns the picture.
        const QSize fitted = shown.scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        reader->setScaledSize(reader->size() == shown ? fitted : fitted.transposed());
    }
    QImage image;
    return readPicture(*reader, &image) ? image : QImage();
}

PagePicture PageReader::readFirstPicture(const PageLocation &location, const QSize &bounds,
                                         qint64 pixelBudget, qint64 byteBudget, int pdfResolution)
{
    PageReader reader(location);
    reader.setPdfResolution(pdfResolution);
    reader.setBudgets(pixelBudget, byteBudget);
    return reader.firstPicture(bounds);
}

PagePicture PageReader::readPreviewPicture(const PageLocation &location, const QSize &bounds,
                                           int pdfResolution)
{
    PageReader reader(location);
    reader.setPdfResolution(pdfResolution);
    reader.m_quickPicture = true;
    return reader.firstPicture(bounds);
}

QString PageReader::check(const PageLocation &location, int pdfResolution)
{
    PageReader reader(location);
    reader.setPdfResolution(pdfResolution);
    return reader.readWithoutDecoding() ? QString() : reader.errorString();
}

PagePicture PageReader::firstPicture(const QSize &bounds)
{
    // A JPEG's check decodes every block anyway: at a fraction of the size,
    // it gives the picture too, in one pass.
    m_pictureBounds = bounds;
    PagePicture read;
    if (readWithoutDecoding()) {
        read.pageSize = headerSize();
        read.jpegLayout = jpegLayout();
        read.transformation = transformation();
        read.format = format();
        read.picture = m_checkedPicture.isNull() ? reducedPicture(bounds) : turnedAndFitted(bounds);
        read.everyBlockChecked = !(m_quickPicture && isJpeg(m_format));
    }
    read.error = errorString();
    return read;
}

// The picture the check decoded, turned as the camera said and fitted.
QImage PageReader::turnedAndFitted(const QSize &bounds)
{
    std::unique_ptr<QImageReader> reader = imageReader();
    const QImageIOHandler::Transformations turn = reader->transformation();
    QImage picture = m_checkedPicture.mirrored(turn & QImageIOHandler::TransformationMirror,
                                               turn & QImageIOHandler::TransformationFlip);
    if (turn & QImageIOHandler::TransformationRotate90)
        picture = picture.transformed(QTransform().rotate(90));
    if (bounds.isValid() &&
        (picture.width() > bounds.width() || picture.height() > bounds.height()))
        picture = picture.scaled(bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return picture;
}

QSize PageReader::readHeaderSize(const PageLocation &location, int pdfResolution)
{
    return readHeader(location, pdfResolution).size;
}

PageFacts PageReader::readHeader(const PageLocation &location, int pdfResolution, QString *error)
{
    PageReader reader(location);
    reader.setPdfResolution(pdfResolution);
    PageFacts facts;
    // An entry has no header of its own to read first; a PDF's page has
    // its size in points.
    if (location.isEntry()) {
        if (reader.readWithoutDecoding())
            facts = reader.facts();
    } else if (reader.openFile()) {
        DecoderComplaints quiet;
        QImageReader header(&reader.m_file);
        header.setAutoTransform(true);
        facts = {shownSize(header), header.format(), JpegLayout(), header.transformation()};
        if (!facts.size.isValid())
            reader.m_error = readerError(header);
    }
    if (error)
        *error = reader.errorString();
    return facts;
}

bool PageReader::checkBudget(const QSize &size)
{
    if (size.isValid() && qint64(size.width()) * size.height() > m_pixelBudget) {
        return fail(tr("The page is %1 × %2 pixels, larger than any page needs (at most %3 "
                       "million pixels).")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(m_pixelBudget / 1000000));
    }
    return true;
}

bool PageReader::isOnePicture()
{
    if (!m_loaded)
        return false;
    if (m_format == "pdf" || !m_rendered.isNull() || !m_wholePicture.isNull())
        return true;
    std::unique_ptr<QImageReader> reader = imageReader();
    return reader->supportsAnimation() || reader->imageCount() <= 1;
}

bool PageReader::readEach(Pictures which, const std::function<bool(const QImage &)> &take)
{
    if (!m_loaded)
        return fail(tr("The file was not opened."));
    if (m_format == "pdf" && !renderPdfPage())
        return false;
    if (!m_rendered.isNull() || !m_wholePicture.isNull()) {
        m_frameCount = 1;
        take(m_rendered.isNull() ? m_wholePicture : m_rendered);
        return true;
    }
    std::unique_ptr<QImageReader> reader = imageReader();
    // Scanners write multi-page TIFFs: each picture is a page of its own.
    const bool manyPictures =
        which == AllPictures && !reader->supportsAnimation() && reader->imageCount() > 1;
    const int count = manyPictures ? reader->imageCount() : 1;
    // An animation gives its first frame, and says how many it has.
    m_frameCount = reader->supportsAnimation() ? qMax(1, reader->imageCount()) : 1;
    for (int picture = 0; picture < count; ++picture) {
        if (stopped())
            return fail(tr("Stopped."));
        if (picture > 0 && !reader->jumpToImage(picture))
            return fail(tr("Picture %1 of the file cannot be found.").arg(picture + 1));
        QImage image;
        if (!readPicture(*reader, &image))
            return false;
        if (!take(image))
            break;
    }
    return true;
}

bool PageReader::checkWhole()
{
    PageFileCheck::Verdict verdict = PageFileCheck::Whole;
    if (isJpeg(m_format))
        verdict = PageFileCheck::jpeg(m_data);
    else if (m_format == "png")
        verdict = PageFileCheck::png(m_data);
    else if (m_format == "bmp")
        verdict = PageFileCheck::bmp(m_data);
    else if (m_format == "gif")
        verdict = PageFileCheck::gif(m_data);
    else if (m_format == "webp")
        verdict = PageFileCheck::webp(m_data);
    if (verdict == PageFileCheck::CutShort)
        return fail(tr("The file is damaged: it is cut short."));
    if (verdict == PageFileCheck::Damaged)
        return fail(tr("The file is damaged: its structure is broken."));
    if (isJpeg(m_format)) {
        // The pixels are made once, by the check, when they will be wanted:
        // their room is asked for first.
        const bool whole = m_wholeWhileChecking && !m_pictureBounds.isValid();
        if (whole)
            reserve(qint64(m_headerSize.width()) * m_headerSize.height() * 4, Pixels);
        const QSize bounds = whole ? JpegCheck::wholePicture() : m_pictureBounds;
        // Kept coefficients take three bytes a pixel in the common 4:2:0,
        // more in other samplings, which are told once they are known.
        const bool keepBlocks = m_keepBlocks && !whole && !bounds.isValid();
        const qint64 blocksGuess = qint64(m_headerSize.width()) * m_headerSize.height() * 3;
        if (keepBlocks)
            reserve(blocksGuess, Pixels);
        JpegCheck check = keepBlocks ? JpegCheck::readBlocks(m_data, m_pixelBudget, m_stop)
                          : m_quickPicture && bounds.isValid()
                              ? JpegCheck::decodeQuickly(m_data, m_pixelBudget, bounds, m_stop)
                              : JpegCheck::run(m_data, m_pixelBudget, bounds, m_stop);
        m_jpegLayout = check.layout;
        m_jpegBlocks = std::move(check.blocks);
        if (m_jpegBlocks && m_jpegBlocks->bytes() > blocksGuess)
            reserve(m_jpegBlocks->bytes() - blocksGuess, Pixels);
        if (whole)
            m_wholePicture = asQtReads(std::move(check));
        else
            m_checkedPicture = check.picture;
        if (check.unsupported)
            return fail(
                tr("The page uses a kind of JPEG this program cannot read: %1").arg(check.damage));
        if (!check.damage.isEmpty())
            return fail(tr("The file is damaged: %1").arg(check.damage));
    }
    return true;
}

// The check's picture, when it is what Qt's reader would give, bit for bit:
// its pixels come from the same libjpeg with the same settings, and only
// the resolution is set by the reader on a plain page. A page the camera
// turned, or with a colour profile or comments, is decoded by Qt's reader.
QImage PageReader::asQtReads(JpegCheck &&check)
{
    if (check.picture.isNull() || check.comments || !check.layout.iccProfile.isEmpty() ||
        m_transformation != QImageIOHandler::TransformationNone)
        return QImage();
    // Taken, not shared: setting its resolution would copy it whole.
    QImage picture = std::move(check.picture);
    if (check.dotsPerMeter.isValid()) {
        picture.setDotsPerMeterX(check.dotsPerMeter.width());
        picture.setDotsPerMeterY(check.dotsPerMeter.height());
    }
    withKnownResolution(&picture);
    return picture;
}

bool PageReader::readPicture(QImageReader &reader, QImage *image)
{
    // Read from the header alone: a small file may claim a huge picture.
    if (!checkBudget(reader.size()))
        return false;
    QString damage;
    try {
        DecoderComplaints listening;
        *image = reader.read();
        damage = listening.damage();
    } catch (const std::bad_alloc &) {
        // A plugin that allocates with new past what the machine can give.
        *image = QImage();
        return fail(tr("There is not enough memory to decode it."));
    }
    if (image->isNull())
        return fail(readerError(reader));
    if (!damage.isEmpty())
        return fail(tr("The file is damaged: %1").arg(damage));
    withKnownResolution(image);
    return true;
}

// A file that names no resolution gets the one Qt assumes for the screen,
// which differs between the window and the command line (and from one
// screen to another); the archive's JPEG carries it. Such pages say 96 dots
// per inch wherever they are made.
void PageReader::withKnownResolution(QImage *image)
{
    const int assumed = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    if (image->dotsPerMeterX() == assumed && image->dotsPerMeterY() == assumed) {
        image->setDotsPerMeterX(DotsPerMeterAt96Dpi);
        image->setDotsPerMeterY(DotsPerMeterAt96Dpi);
    }
}

QImage PageReader::forEncoding(const QImage &image)
{
    if (image.isNull() || !image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    // JPEG has no transparency: what shows through is the paper, not black.
    QImage page(image.size(), QImage::Format_RGB32);
    page.setDotsPerMeterX(image.dotsPerMeterX());
    page.setDotsPerMeterY(image.dotsPerMeterY());
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, image);
    painter.end();
    return page;
}
