#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTest>
#include <QTimer>

#include <functional>

class QWidget;
class Quirevale;

namespace TestSupport {

struct BoxSeen
{
    QString title;
    QString text;
    QString informative;
};

// Points QSettings at a private folder for this process, so that tests
// running side by side never see each other's store. Call before the
// application object is made.
void isolateSettings();

// Removes every key of the native store, for a test that needs a fresh start.
void clearSettings();

// Answers the next modal dialog of the kind wanted from inside its nested
// event loop: polls every 20 ms until such a modal widget is up, then hands
// it to answer().
class ModalAnswer : public QObject
{
    Q_OBJECT

public:
    ModalAnswer(std::function<bool(QWidget *)> wanted, std::function<void(QWidget *)> answer);
    bool answered() const { return m_answered; }

private:
    void poll();

    std::function<bool(QWidget *)> m_wanted;
    std::function<void(QWidget *)> m_answer;
    QTimer m_timer;
    bool m_answered = false;
};

// Convenience answers built on ModalAnswer.
// What a file dialog showed when it came up.
struct DialogSeen
{
    QString caption;
    QString directory; // the folder it opened at
    QString suggested; // the text of its file name field
    QStringList filters;
    bool dirsOnly = false;
    bool resolvesLinks = true;
};
// Types path into the next file dialog and accepts it.
ModalAnswer *chooseInFileDialog(const QString &path, DialogSeen *seen = nullptr,
                                QObject *parent = nullptr);
// Cancels the next file dialog, saying where it started.
ModalAnswer *cancelFileDialog(QObject *parent = nullptr, QString *directory = nullptr);

// Answers every message box that comes up while it lives, recording what
// each said; whileShown runs as each box appears, before it is answered.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxAnswerer(std::function<void()> whileShown = {});
    const QList<BoxSeen> &seen() const { return m_seen; }
    // The button whose text is buttonText is pressed instead of OK (or the
    // box's default button when it has no OK).
    void pressButton(const QString &buttonText) { m_buttonText = buttonText; }

private:
    void poll();

    std::function<void()> m_whileShown;
    QString m_buttonText;
    QList<BoxSeen> m_seen;
    QTimer m_timer;
};

// Lets the process write at most limit bytes into any one file while it
// lives; a write past it fails instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    qint64 m_savedLimit = -1;
    void (*m_savedHandler)(int) = nullptr;
};

// Where the window's next folder dialog starts (the folder it remembers),
// the dialog cancelled.
QString folderDialogStart(Quirevale *window);
// Where the save dialog of "Make CBZ" starts (the folder archives were
// last saved in), the dialog cancelled; a book must be listed.
QString saveDialogStart(Quirevale *window);

// Picks folder through the window's folder dialog, as a user would.
bool pickFolder(Quirevale *window, const QString &folder);

// Presses "Make CBZ", answers the save dialog with target and every message
// box that follows (running whileBoxShown as each appears), and waits until
// the build has been reported. Returns the boxes, in order.
QList<BoxSeen> makeCbz(Quirevale *window, const QString &target, DialogSeen *dialog = nullptr,
                       std::function<void()> whileBoxShown = {},
                       const QString &buttonText = QString());

// True when the two colours differ by at most tolerance in every channel.
bool colorNear(const QColor &a, const QColor &b, int tolerance = 3);

// A picture that JPEG and deflate can hardly shrink.
QImage noiseImage(int width, int height);

// Writes a solid-coloured image file.
bool writeImage(const QString &path, int width, int height, const QColor &color,
                const char *format = nullptr);

// One entry of a ZIP archive as read back.
struct ArchiveEntry
{
    QString name;
    int method = -1;
    QByteArray data;
};
// Every entry of the archive at path, in order; ok is false when it cannot be read.
QList<ArchiveEntry> readArchive(const QString &path, bool *ok);

// The data of every entry, in order; empty when the archive cannot be read.
QList<QByteArray> archiveData(const QString &path);

// Runs `unzip -t` on the archive: true when it reports no error. An archive
// without entries is valid too, although unzip warns that it is empty.
bool unzipTest(const QString &path, QString *output = nullptr);

// The pixel size of a JPEG file in memory (invalid when it is not one).
QSize jpegSize(const QByteArray &data);

// The bytes of a file (empty when it cannot be read).
QByteArray contentOf(const QString &path);
// The records of a Palm database (a Kindle book), read with every offset
// checked; ok is false when it is not one.
QList<QByteArray> palmRecords(const QByteArray &file, bool *ok);
// What libmobi's mobitool says of a book with these arguments; empty with
// why set when it is not installed or fails.
QString mobitool(const QStringList &arguments, QString *why);
bool writeFile(const QString &path, const QByteArray &content);

// An entry of an archive made by the tests, its name as raw bytes.
struct ZipEntry
{
    QByteArray name;
    QByteArray data;
    quint32 claimedSize = 0; // the size its headers claim; 0: its own
    bool encrypted = false;  // flagged so, although it is not
    int pointsAt = -1;       // its index record gives that entry's header instead
    bool deflated = false;   // deflated, with afterStream after the stream's end
    QByteArray afterStream = QByteArray();
    int method = -1; // the method its headers name; -1: its own
};
// A ZIP archive of stored entries, written byte by byte: names, sizes and
// flags exactly as given.
QByteArray storedZip(const QList<ZipEntry> &entries, bool indexReversed = false);
// A RAR 5 archive of stored entries (no free tool writes RAR), after
// RARLAB's description of the format.
QByteArray storedRar5(const QList<ZipEntry> &entries, bool blake2 = false);
// The same in RAR 4, whose headers carry each entry's CRC32; claimedSize,
// when set, is taken as the CRC to write instead of the right one.
QByteArray storedRar4(const QList<ZipEntry> &entries, quint16 fileFlags = 0x8000);

// A baseline TIFF holding the given pictures as its pages, uncompressed RGB.
// With privateTag, each directory also holds a tag libtiff does not know.
QByteArray multiPageTiff(const QList<QImage> &pages, bool privateTag = false);
// A GIF of one colour, of frames pictures (an animation when more than one).
QByteArray gif(int frames, int width, int height);

// A JPEG of image whose EXIF data asks viewers to turn it (orientation 1-8).
QByteArray jpegWithOrientation(const QImage &image, int orientation);
// The same JPEG file with that EXIF orientation put in after its start.
QByteArray withOrientation(const QByteArray &jpeg, int orientation);
// The picture as a JPEG of quality 90 in one of TurboJPEG's samplings
// (TJSAMP_*), with its flags (progressive...); empty when it failed.
QByteArray jpegSampled(const QImage &image, int subsampling, int flags = 0);
// The picture as a CMYK JPEG, as Photoshop writes one (Adobe's inverted
// values); empty when it failed.
QByteArray cmykJpeg(const QImage &image);
// The picture written in format (quality -1: the writer's own).
QByteArray encoded(const QImage &image, const char *format, int quality = -1);
// A PDF written by hand with the first page's dictionary (object 4)
// revised by an update appended to it, keys added as a later save adds them.
QByteArray withPageUpdated(const QByteArray &pdf, const QByteArray &keys);

} // namespace TestSupport

// Like QTEST_MAIN, with the settings isolated and Qt's own dialogs in use.
#define QUIREVALE_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TestSupport::isolateSettings();                                                            \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);                                   \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#endif // TESTSUPPORT_H
