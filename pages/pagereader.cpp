#include "pagereader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <mutex>

namespace {

// What the decoders say while a page is read on this thread. Qt's JPEG and
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

class DecoderComplaints
{
public:
    DecoderComplaints()
    {
        static std::once_flag installed;
        std::call_once(installed,
                       [] { previousHandler = qInstallMessageHandler(listenToDecoders); });
        complaints = &m_heard;
    }
    ~DecoderComplaints() { complaints = nullptr; }
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
};

const int DotsPerMeterAt96Dpi = 3780;

quint32 u32le(const QByteArray &data, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(data.constData()) + at);
}

quint16 u16le(const QByteArray &data, int at)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(data.constData()) + at);
}

// A BMP's pixels must all be in the file: Qt fills a short one from memory
// that was never cleared.
bool isWholeBmp(const QByteArray &data)
{
    if (data.size() < 26)
        return false;
    const qint64 offset = u32le(data, 10);
    const quint32 headerSize = u32le(data, 14);
    qint64 width, height;
    int bits;
    quint32 compression = 0, imageSize = 0;
    if (headerSize == 12) {
        width = u16le(data, 18);
        height = u16le(data, 20);
        bits = u16le(data, 24);
    } else {
        if (data.size() < 38)
            return false;
        width = qint32(u32le(data, 18));
        height = qint32(u32le(data, 22));
        bits = u16le(data, 28);
        compression = u32le(data, 30);
        imageSize = u32le(data, 34);
    }
    const bool runLength = compression == 1 || compression == 2;
    const qint64 rowBytes = (qAbs(width) * bits + 31) / 32 * 4;
    const qint64 pixelBytes = runLength ? imageSize : rowBytes * qAbs(height);
    return offset + pixelBytes <= data.size();
}

// Markers well formed up to the end marker: a file cut short has none.
bool isWholeJpeg(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qint64 size = data.size();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    qint64 at = 2;
    bool inScan = false;
    while (at < size) {
        if (inScan) {
            // Entropy-coded data: a 0xFF is followed by a stuffed 0 or a
            // restart marker; anything else is the next marker.
            const void *found = memchr(bytes + at, 0xFF, size_t(size - at));
            if (!found)
                return false;
            at = static_cast<const uchar *>(found) - bytes;
            if (at + 1 >= size)
                return false;
            const uchar next = bytes[at + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
                at += next == 0xFF ? 1 : 2;
                continue;
            }
            inScan = false;
        }
        if (bytes[at] != 0xFF)
            return false;
        while (at < size && bytes[at] == 0xFF) // fill bytes
            ++at;
        if (at >= size)
            return false;
        const uchar marker = bytes[at++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length
        if (at + 2 > size)
            return false;
        const int length = (bytes[at] << 8) | bytes[at + 1];
        if (length < 2 || at + length > size)
            return false;
        at += length;
        inScan = marker == 0xDA;
    }
    return false;
}

// Walks the chunks up to IEND; a file cut short ends before it.
bool isWholePng(const QByteArray &data)
{
    qint64 at = 8;
    while (at + 8 <= data.size()) {
        const qint64 length =
            qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(data.constData()) + at);
        const QByteArray type = data.mid(int(at + 4), 4);
        at += 12 + length;
        if (type == "IEND")
            return at <= data.size();
    }
    return false;
}

} // namespace

PageReader::PageReader(const QString &path)
    : m_path(path)
{}

bool PageReader::fail(const QString &reason)
{
    m_error = reason;
    m_images.clear();
    return false;
}

bool PageReader::readFile()
{
    m_images.clear();
    m_error.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    m_data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    QBuffer buffer(&m_data);
    buffer.open(QIODevice::ReadOnly);
    m_format = QImageReader::imageFormat(&buffer);
    if (m_format.isEmpty())
        return fail(tr("The file is not a picture in a format this program reads."));
    return checkWhole();
}

bool PageReader::readWithoutDecoding()
{
    if (!readFile())
        return false;
    QBuffer buffer(&m_data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    reader.setAutoTransform(true);
    m_headerSize = shownSize(reader);
    if (!m_headerSize.isValid())
        return fail(reader.errorString());
    return checkBudget(m_headerSize);
}

QSize PageReader::shownSize(QImageReader &reader)
{
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QImage PageReader::reducedPicture(const QSize &bounds) const
{
    QBuffer buffer;
    buffer.setData(m_data); // shared, not copied
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    reader.setAutoTransform(true);
    const QSize shown = shownSize(reader);
    if (shown.isValid() && (shown.width() > bounds.width() || shown.height() > bounds.height())) {
        // The decoder scales before it turns the picture.
        const QSize fitted = shown.scaled(bounds, Qt::KeepAspectRatio);
        reader.setScaledSize(reader.size() == shown ? fitted : fitted.transposed());
    }
    return reader.read();
}

bool PageReader::checkBudget(const QSize &size)
{
    if (size.isValid() && qint64(size.width()) * size.height() > PixelBudget) {
        return fail(tr("The page is %1 × %2 pixels, larger than any page needs (at most %3 "
                       "million pixels).")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(PixelBudget / 1000000));
    }
    return true;
}

bool PageReader::read(Pictures which)
{
    if (!readFile())
        return false;
    QBuffer buffer(&m_data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    reader.setAutoTransform(true); // a phone's portrait photo stands upright

    // Scanners write multi-page TIFFs: each picture is a page of its own.
    const bool manyPictures =
        which == AllPictures && !reader.supportsAnimation() && reader.imageCount() > 1;
    const int count = manyPictures ? reader.imageCount() : 1;
    for (int picture = 0; picture < count; ++picture) {
        if (picture > 0 && !reader.jumpToImage(picture))
            return fail(tr("Picture %1 of the file cannot be found.").arg(picture + 1));
        if (!readPicture(reader))
            return false;
    }
    return true;
}

bool PageReader::checkWhole()
{
    bool whole = true;
    if (m_format == "jpeg" || m_format == "jpg")
        whole = isWholeJpeg(m_data);
    else if (m_format == "png")
        whole = isWholePng(m_data);
    else if (m_format == "bmp")
        whole = isWholeBmp(m_data);
    if (!whole)
        return fail(tr("The file is damaged: it is cut short."));
    return true;
}

bool PageReader::readPicture(QImageReader &reader)
{
    // Read from the header alone: a small file may claim a huge picture.
    if (!checkBudget(reader.size()))
        return false;
    QImage image;
    QString damage;
    {
        DecoderComplaints listening;
        image = reader.read();
        damage = listening.damage();
    }
    if (image.isNull())
        return fail(reader.errorString());
    if (!damage.isEmpty())
        return fail(tr("The file is damaged: %1").arg(damage));
    // A file that names no resolution gets the one Qt assumes for the screen,
    // which differs between the window and the command line (and from one
    // screen to another); the archive's JPEG carries it. Such pages say 96
    // dots per inch wherever they are made.
    const int assumed = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    if (image.dotsPerMeterX() == assumed && image.dotsPerMeterY() == assumed) {
        image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
        image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    }
    m_images.append(image);
    return true;
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
