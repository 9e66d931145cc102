#include "testsupport.h"

#include "pages/blake2sp.h"

#include "app/quirevale.h"

#include <QAbstractButton>
#include <QBuffer>

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>

#include <memory>

#include <csignal>
#include <sys/resource.h>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <turbojpeg.h>
#include <zlib.h>

namespace TestSupport {

namespace {
template<typename T> bool isA(QWidget *widget)
{
    return qobject_cast<T *>(widget) != nullptr;
}
} // namespace

void isolateSettings()
{
    // Lives until the process ends; removed with its contents then.
    static QTemporaryDir config(QDir::tempPath() + QStringLiteral("/quirevale-test-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
}

void clearSettings()
{
    // The window sets the same names when it is made; a test that opens the
    // store before that must already reach the same file.
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrelind"));
    QCoreApplication::setApplicationName(QStringLiteral("Quirevale"));
    QSettings settings;
    settings.clear();
    // The queue kept beside the settings goes too.
    const QDir folder = QFileInfo(settings.fileName()).dir();
    for (const QString &name : {QStringLiteral("Queue.json"), QStringLiteral("Queue.ini")})
        QFile::remove(folder.filePath(name));
}

ModalAnswer::ModalAnswer(std::function<bool(QWidget *)> wanted,
                         std::function<void(QWidget *)> answer)
    : m_wanted(std::move(wanted))
    , m_answer(std::move(answer))
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::poll);
    m_timer.start();
}

void ModalAnswer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !m_wanted(modal))
        return;
    m_timer.stop();
    m_answered = true;
    m_answer(modal);
}

ModalAnswer *chooseInFileDialog(const QString &path, DialogSeen *seen, QObject *parent)
{
    auto *answer = new ModalAnswer(isA<QFileDialog>, [path, seen](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (seen) {
            seen->caption = dialog->windowTitle();
            seen->directory = dialog->directory().absolutePath();
            seen->suggested = nameEdit->text();
            seen->filters = dialog->nameFilters();
            seen->dirsOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
            seen->resolvesLinks = !dialog->testOption(QFileDialog::DontResolveSymlinks);
        }
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(
            dialog->fileMode() == QFileDialog::Directory ? path : QFileInfo(path).absolutePath());
        nameEdit->setText(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    answer->setParent(parent);
    return answer;
}

ModalAnswer *cancelFileDialog(QObject *parent, QString *directory)
{
    auto *answer = new ModalAnswer(isA<QFileDialog>, [directory](QWidget *modal) {
        if (directory)
            *directory = qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
        static_cast<QDialog *>(modal)->reject();
    });
    answer->setParent(parent);
    return answer;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::function<void()> whileShown)
    : m_whileShown(std::move(whileShown))
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_seen.append({box->windowTitle(), box->text(), box->informativeText()});
    if (m_whileShown)
        m_whileShown();
    QAbstractButton *press = box->button(QMessageBox::Ok);
    for (QAbstractButton *button : box->buttons()) {
        if (!m_buttonText.isEmpty() && button->text() == m_buttonText)
            press = button;
    }
    if (!press)
        press = box->defaultButton();
    press->click();
}

FileSizeLimit::FileSizeLimit(qint64 limit)
{
    rlimit current{};
    getrlimit(RLIMIT_FSIZE, &current);
    m_savedLimit = qint64(current.rlim_cur);
    m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    current.rlim_cur = rlim_t(limit);
    setrlimit(RLIMIT_FSIZE, &current);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit current{};
    getrlimit(RLIMIT_FSIZE, &current);
    current.rlim_cur = rlim_t(m_savedLimit);
    setrlimit(RLIMIT_FSIZE, &current);
    std::signal(SIGXFSZ, m_savedHandler);
}

bool pickFolder(Quirevale *window, const QString &folder)
{
    std::unique_ptr<ModalAnswer> answer(chooseInFileDialog(folder));
    window->findChild<QPushButton *>(QStringLiteral("BrowsePath"))->click();
    return answer->answered();
}

namespace {
QString dialogStart(Quirevale *window, const char *button)
{
    QString directory;
    std::unique_ptr<ModalAnswer> cancel(cancelFileDialog(nullptr, &directory));
    window->findChild<QPushButton *>(QLatin1String(button))->click();
    return cancel->answered() ? directory : QStringLiteral("(no dialog)");
}
} // namespace

QString folderDialogStart(Quirevale *window)
{
    return dialogStart(window, "BrowsePath");
}

QString saveDialogStart(Quirevale *window)
{
    return dialogStart(window, "MakeCBZ");
}

QList<BoxSeen> makeCbz(Quirevale *window, const QString &target, DialogSeen *dialog,
                       std::function<void()> whileBoxShown, const QString &buttonText)
{
    std::unique_ptr<ModalAnswer> save(chooseInFileDialog(target, dialog));
    MessageBoxAnswerer boxes(std::move(whileBoxShown));
    boxes.pressButton(buttonText);
    window->findChild<QPushButton *>(QStringLiteral("MakeCBZ"))->click();
    if (!save->answered())
        return {};
    QElapsedTimer timer;
    timer.start();
    // Sleeps until something happens: the answerers' timers wake it.
    while (window->isBuilding() && timer.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return boxes.seen();
}

bool colorNear(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

QImage noiseImage(int width, int height)
{
    QImage noise(width, height, QImage::Format_RGB32);
    // Unsigned, so that a tall strip's rows wrap rather than overflow.
    for (quint32 y = 0; y < quint32(height); ++y) {
        for (quint32 x = 0; x < quint32(width); ++x)
            noise.setPixel(int(x), int(y),
                           qRgb(int((x * 7919u + y * 104729u) & 0xffu), int((x * y) & 0xffu),
                                int((x ^ y) & 0xffu)));
    }
    return noise;
}

bool writeImage(const QString &path, int width, int height, const QColor &color, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image.save(path, format);
}

QList<ArchiveEntry> readArchive(const QString &path, bool *ok)
{
    QList<ArchiveEntry> entries;
    *ok = false;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        // QuaZip will not open an archive without entries; such an archive
        // is a bare end-of-central-directory record that counts no entries.
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        *ok = bytes.size() == 22 && bytes.startsWith("PK\x05\x06") &&
              bytes.mid(4, 18) == QByteArray(18, '\0');
        return entries;
    }
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return entries;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return entries;
        entries.append({info.name, int(info.method), file.readAll()});
        file.close();
        if (file.getZipError() != UNZ_OK) // a CRC mismatch shows here
            return entries;
    }
    *ok = zip.getZipError() == UNZ_OK;
    return entries;
}

QList<QByteArray> archiveData(const QString &path)
{
    bool ok = false;
    QList<QByteArray> data;
    for (const ArchiveEntry &entry : readArchive(path, &ok))
        data << entry.data;
    return ok ? data : QList<QByteArray>();
}

bool unzipTest(const QString &path, QString *output)
{
    QProcess unzip;
    unzip.setProcessChannelMode(QProcess::MergedChannels);
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-t"), path});
    if (!unzip.waitForFinished(60000))
        return false;
    const QString text = QString::fromLocal8Bit(unzip.readAll());
    if (output)
        *output = text;
    if (unzip.exitStatus() != QProcess::NormalExit)
        return false;
    return unzip.exitCode() == 0 ||
           (unzip.exitCode() == 1 && text.contains(QLatin1String("zipfile is empty")));
}

QSize jpegSize(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImage image;
    if (!image.load(&buffer, "jpg"))
        return QSize();
    return image.size();
}

} // namespace TestSupport

namespace TestSupport {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> palmRecords(const QByteArray &file, bool *ok)
{
    *ok = false;
    if (file.size() < 78 || file.mid(60, 8) != "BOOKMOBI")
        return {};
    const auto u32 = [&](qint64 at) {
        return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(file.constData() + at));
    };
    const int count = (uchar(file.at(76)) << 8) | uchar(file.at(77));
    if (78 + 8 * qint64(count) > file.size())
        return {};
    QList<QByteArray> records;
    for (int i = 0; i < count; ++i) {
        const qint64 start = u32(78 + 8 * i);
        const qint64 end = i + 1 < count ? u32(78 + 8 * (i + 1)) : file.size();
        if (start > end || end > file.size())
            return {};
        records.append(file.mid(start, end - start));
    }
    *ok = true;
    return records;
}

QString mobitool(const QStringList &arguments, QString *why)
{
    QProcess tool;
    tool.start(QStringLiteral("mobitool"), arguments);
    if (!tool.waitForStarted()) {
        *why = QStringLiteral("mobitool is not installed (tools/setup test installs it)");
        return QString();
    }
    tool.waitForFinished(120000);
    const QString said = QString::fromUtf8(tool.readAllStandardOutput());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *why = QStringLiteral("mobitool failed: ") + said +
               QString::fromUtf8(tool.readAllStandardError());
        return QString();
    }
    return said;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

namespace {
void put16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xff)).append(char(value >> 8));
}

void put32(QByteArray &out, quint32 value)
{
    put16(out, quint16(value & 0xffff));
    put16(out, quint16(value >> 16));
}

quint32 crc32Of(const QByteArray &data)
{
    return quint32(
        ::crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

// RAR 5's variable-length integer: seven bits a byte, low bits first.
QByteArray vint(quint64 value)
{
    QByteArray out;
    do {
        out += char((value & 0x7f) | (value > 0x7f ? 0x80 : 0));
        value >>= 7;
    } while (value);
    return out;
}

// A RAR 5 block: its CRC32, then its size, then what it holds.
QByteArray rar5Block(const QByteArray &header)
{
    const QByteArray sized = vint(quint64(header.size())) + header;
    QByteArray block;
    put32(block, crc32Of(sized));
    return block + sized;
}
} // namespace

QByteArray storedZip(const QList<ZipEntry> &entries, bool indexReversed)
{
    QByteArray zip;
    QByteArrayList records;
    QList<quint32> offsets;
    for (const ZipEntry &entry : entries) {
        offsets << quint32(zip.size());
        const quint32 crc = crc32Of(entry.data);
        const quint32 size = entry.claimedSize ? entry.claimedSize : quint32(entry.data.size());
        // A raw deflate stream: zlib's, less Qt's length, its header and its checksum.
        const QByteArray data = entry.deflated
                                    ? qCompress(entry.data).mid(6).chopped(4) + entry.afterStream
                                    : entry.data;
        const auto header = [&](QByteArray &out, bool central) {
            put32(out, central ? 0x02014b50 : 0x04034b50);
            if (central)
                put16(out, 20); // made by
            put16(out, 20);     // needed
            put16(out, entry.encrypted ? 1 : 0);
            put16(out, quint16(entry.method >= 0 ? entry.method : entry.deflated ? 8 : 0));
            put32(out, 0); // time and date
            put32(out, crc);
            put32(out, quint32(data.size()));
            put32(out, size);
            put16(out, quint16(entry.name.size()));
            put16(out, 0); // extra
            if (central) {
                put16(out, 0); // comment
                put16(out, 0); // disk
                put16(out, 0); // internal attributes
                put32(out, 0); // external attributes
                put32(out, entry.pointsAt >= 0 ? offsets.at(entry.pointsAt) : offsets.last());
            }
            out += entry.name;
        };
        header(zip, false);
        zip += data;
        QByteArray record;
        header(record, true);
        records << record;
    }
    if (indexReversed)
        std::reverse(records.begin(), records.end());
    const QByteArray directory = records.join();
    const quint32 start = quint32(zip.size());
    zip += directory;
    put32(zip, 0x06054b50);
    put32(zip, 0);
    put16(zip, quint16(qMin(entries.size(), 0xffff)));
    put16(zip, quint16(qMin(entries.size(), 0xffff)));
    put32(zip, quint32(directory.size()));
    put32(zip, start);
    put16(zip, 0);
    return zip;
}

namespace {
QByteArray le16(quint16 value)
{
    return QByteArray(1, char(value & 0xff)) + char(value >> 8);
}

QByteArray le32(quint32 value)
{
    return le16(quint16(value & 0xffff)) + le16(quint16(value >> 16));
}

// A RAR 4 block: its CRC16 (the low half of the CRC32 of the rest), then
// the rest.
QByteArray rar4Block(const QByteArray &rest)
{
    return le16(quint16(crc32Of(rest))) + rest;
}
} // namespace

QByteArray gif(int frames, int width, int height)
{
    // One colour, written with a clear code before every second pixel so
    // that the codes stay three bits wide.
    QByteArray out("GIF89a", 6);
    out += char(width & 0xff) + QByteArray(1, char(width >> 8)) + char(height & 0xff) +
           QByteArray(1, char(height >> 8));
    out += QByteArray("\x80\x00\x00", 3); // a global table of two colours
    out += QByteArray("\xff\x00\x00\x00\x00\xff", 6);
    for (int f = 0; f < frames; ++f) {
        if (frames > 1) // the loop extension and a delay, as animations carry
            out += QByteArray("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);
        out += QByteArray("\x2c\x00\x00\x00\x00", 5) + char(width & 0xff) +
               QByteArray(1, char(width >> 8)) + char(height & 0xff) +
               QByteArray(1, char(height >> 8)) + QByteArray(1, '\0');
        out += char(2); // the smallest code size
        QByteArray codes;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= quint32(code) << count;
            count += 3;
            while (count >= 8) {
                codes += char(bits & 0xff);
                bits >>= 8;
                count -= 8;
            }
        };
        for (int pixel = 0; pixel < width * height; ++pixel) {
            if (pixel % 2 == 0)
                put(4); // clear
            put(0);
        }
        put(5); // end
        if (count > 0)
            codes += char(bits & 0xff);
        for (int at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            out += char(block.size()) + block;
        }
        out += QByteArray(1, '\0');
    }
    return out + QByteArray(1, '\x3b');
}

QByteArray storedRar4(const QList<ZipEntry> &entries, quint16 fileFlags)
{
    QByteArray rar("Rar!\x1a\x07\x00", 7);
    rar += rar4Block(QByteArray("\x73", 1) + le16(0) + le16(13) + le16(0) + le32(0));
    for (const ZipEntry &entry : entries) {
        const quint32 crc = entry.claimedSize ? entry.claimedSize : crc32Of(entry.data);
        QByteArray header =
            QByteArray("\x74", 1) + le16(fileFlags) + le16(quint16(32 + entry.name.size())) +
            le32(quint32(entry.data.size())) + le32(quint32(entry.data.size())) +
            QByteArray(1, '\x02') + le32(crc) + le32(0x5a210000) + QByteArray(1, char(20)) +
            QByteArray(1, '\x30') + le16(quint16(entry.name.size())) + le32(0x20) + entry.name;
        rar += rar4Block(header) + entry.data;
    }
    rar += rar4Block(QByteArray("\x7b", 1) + le16(0x4000) + le16(7));
    return rar;
}

QByteArray storedRar5(const QList<ZipEntry> &entries, bool blake2)
{
    QByteArray rar("Rar!\x1a\x07\x01\x00", 8);
    rar += rar5Block(vint(1) + vint(0) + vint(0)); // main header: no flags
    for (const ZipEntry &entry : entries) {
        // A BLAKE2sp hash instead of the CRC, in the header's extra area.
        QByteArray extra = vint(2) + vint(0) + Blake2sp::hash(entry.data);
        extra = vint(quint64(extra.size())) + extra;
        QByteArray header = vint(2);              // file header
        header += vint(blake2 ? 0x0003 : 0x0002); // a data area follows, an extra area too
        if (blake2)
            header += vint(quint64(extra.size()));
        header += vint(quint64(entry.data.size())); // its size
        header += vint(blake2 ? 0 : 0x0004);        // the data's CRC32 is given
        header += vint(quint64(entry.data.size())); // unpacked size
        header += vint(0100644);                    // a regular file, as Unix says it
        if (!blake2)
            put32(header, crc32Of(entry.data));
        header += vint(0); // compression: version 0, stored
        header += vint(1); // written on Unix
        header += vint(quint64(entry.name.size()));
        header += entry.name;
        if (blake2)
            header += extra;
        rar += rar5Block(header) + entry.data;
    }
    rar += rar5Block(vint(5) + vint(0) + vint(0)); // end of archive
    return rar;
}

QByteArray multiPageTiff(const QList<QImage> &pages, bool privateTag)
{
    QByteArray out("II*\0", 4);
    put32(out, 8); // the first directory follows the header
    for (int p = 0; p < pages.size(); ++p) {
        const QImage rgb = pages.at(p).convertToFormat(QImage::Format_RGB888);
        const int entries = privateTag ? 11 : 10;
        const quint32 directory = quint32(out.size());
        const quint32 bitsAt = directory + 2 + entries * 12 + 4;
        const quint32 pixelsAt = bitsAt + 6;
        const quint32 pixelBytes = quint32(rgb.width() * rgb.height() * 3);
        const quint32 next = p + 1 < pages.size() ? pixelsAt + pixelBytes : 0;
        put16(out, entries);
        auto tag = [&out](quint16 id, quint16 type, quint32 count, quint32 value) {
            put16(out, id);
            put16(out, type);
            put32(out, count);
            put32(out, value);
        };
        tag(256, 4, 1, quint32(rgb.width()));
        tag(257, 4, 1, quint32(rgb.height()));
        tag(258, 3, 3, bitsAt);
        tag(259, 3, 1, 1); // no compression
        tag(262, 3, 1, 2); // RGB
        tag(273, 4, 1, pixelsAt);
        tag(277, 3, 1, 3);
        tag(278, 4, 1, quint32(rgb.height()));
        tag(279, 4, 1, pixelBytes);
        tag(284, 3, 1, 1); // interleaved
        if (privateTag)
            tag(65000, 3, 1, 7); // a tag of some scanner's own
        put32(out, next);
        put16(out, 8);
        put16(out, 8);
        put16(out, 8);
        for (int y = 0; y < rgb.height(); ++y)
            out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    }
    return out;
}

QByteArray jpegWithOrientation(const QImage &image, int orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpg", 95);
    return withOrientation(jpeg, orientation);
}

QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    // APP1 "Exif": a little-endian TIFF header and one directory holding
    // the orientation tag alone.
    QByteArray tiff("II*\0", 4);
    put32(tiff, 8);
    put16(tiff, 1);
    put16(tiff, 0x0112);
    put16(tiff, 3);
    put32(tiff, 1);
    put16(tiff, quint16(orientation));
    put16(tiff, 0);
    put32(tiff, 0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xff\xe1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    segment.append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray jpegSampled(const QImage &image, int subsampling, int flags)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGBX8888);
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(handle, rgb.constBits(), rgb.width(), rgb.bytesPerLine(),
                                   rgb.height(), TJPF_RGBX, &out, &size, subsampling, 90, flags);
    const QByteArray jpeg =
        failed ? QByteArray() : QByteArray(reinterpret_cast<const char *>(out), int(size));
    tjFree(out);
    tjDestroy(handle);
    return jpeg;
}

QByteArray cmykJpeg(const QImage &image)
{
    QByteArray pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y).toCmyk();
            pixels += char(255 - colour.cyan());
            pixels += char(255 - colour.magenta());
            pixels += char(255 - colour.yellow());
            pixels += char(255 - colour.black());
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    QByteArray jpeg;
    if (tjCompress2(handle, reinterpret_cast<const uchar *>(pixels.constData()), image.width(), 0,
                    image.height(), TJPF_CMYK, &out, &size, TJSAMP_444, 95, 0) == 0)
        jpeg = QByteArray(reinterpret_cast<const char *>(out), int(size));
    tjFree(out);
    tjDestroy(handle);
    return jpeg;
}

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return data;
}

QByteArray withPageUpdated(const QByteArray &pdf, const QByteArray &keys)
{
    const int start = pdf.indexOf("\n4 0 obj\n") + 1;
    const int body = start + int(qstrlen("4 0 obj\n"));
    const int end = pdf.indexOf("\nendobj", body);
    QByteArray page = pdf.mid(body, end - body).trimmed();
    page.chop(2); // its closing ">>"
    const int size = pdf.mid(pdf.indexOf("/Size ") + 6).split(' ').first().toInt();
    const QByteArray previous =
        pdf.mid(pdf.lastIndexOf("startxref\n") + 10).split('\n').first().trimmed();
    QByteArray updated = pdf;
    const int offset = updated.size();
    updated += "4 0 obj\n" + page + " " + keys + " >>\nendobj\n";
    const int xref = updated.size();
    updated += "xref\n0 1\n0000000000 65535 f \n4 1\n" +
               QByteArray::number(offset).rightJustified(10, '0') +
               " 00000 n \ntrailer\n<< /Size " + QByteArray::number(size) + " /Root 1 0 R /Prev " +
               previous + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return updated;
}

} // namespace TestSupport
