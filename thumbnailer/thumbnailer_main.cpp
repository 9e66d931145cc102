// quirevale-thumbnailer: the cover of a comic archive for file managers, as
// the freedesktop thumbnailer entry installed with the program asks:
//
//   quirevale-thumbnailer -s SIZE ARCHIVE OUTPUT.png
//
// The first page in natural order of the entries' names is read straight
// from the archive, its size checked from its header against the page
// budget before anything is decoded, and decoded at the size asked (JPEG
// decodes straight at a fraction of its size). An entry larger than any
// page is not read. Exit status 0 with the picture written, 1 otherwise.

#include "pages/naturalorder.h"
#include "pages/pagereader.h"
#include "pages/pagescan.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImageReader>

#include <quazip.h>
#include <quazipfile.h>

#include <cstdio>

namespace {
// No compressed page comes near it; a larger entry is a bomb or no page.
const qint64 EntryBudget = qint64(256) << 20;

// The archive's first page: its name in natural order among the entries
// whose type is a picture's.
QString firstPage(QuaZip &zip)
{
    QVector<QString> pages;
    for (const QString &name : zip.getFileNameList()) {
        const QString suffix = name.section(QLatin1Char('.'), -1).toLower();
        if (!name.endsWith(QLatin1Char('/')) &&
            QImageReader::supportedImageFormats().contains(suffix.toLatin1()))
            pages.append(name);
    }
    std::sort(pages.begin(), pages.end());
    stableMergeSort(pages, naturalLess);
    return pages.value(0);
}

QImage cover(const QString &archive, int size, QString *error)
{
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("not a ZIP archive");
        return QImage();
    }
    const QString name = firstPage(zip);
    QuaZipFile entry(&zip);
    QuaZipFileInfo64 info;
    if (name.isEmpty() || !zip.setCurrentFile(name) || !zip.getCurrentFileInfo(&info) ||
        qint64(info.uncompressedSize) > EntryBudget || !entry.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no page that can be read");
        return QImage();
    }
    QByteArray data = entry.read(EntryBudget + 1);
    if (data.size() > EntryBudget) {
        *error = QStringLiteral("the first page is larger than any page");
        return QImage();
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize shown = PageReader::shownSize(reader);
    if (!shown.isValid() || qint64(shown.width()) * shown.height() > PageReader::PixelBudget) {
        *error = QStringLiteral("the first page is not a picture of a page's size");
        return QImage();
    }
    if (shown.width() > size || shown.height() > size) {
        const QSize fitted = shown.scaled(size, size, Qt::KeepAspectRatio).expandedTo({1, 1});
        reader.setScaledSize(reader.size() == shown ? fitted : fitted.transposed());
    }
    const QImage picture = reader.read();
    if (picture.isNull())
        *error = reader.errorString();
    return picture;
}
} // namespace

int main(int argc, char *argv[])
{
    // Pictures are read and written in memory: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the cover of a comic archive as a PNG thumbnail."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(QStringLiteral("s"),
                                        QStringLiteral("The thumbnail's largest side."),
                                        QStringLiteral("size"), QStringLiteral("256"));
    parser.addOption(sizeOption);
    parser.addPositionalArgument(QStringLiteral("archive"), QStringLiteral("A CBZ archive."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PNG to write."));
    parser.process(application);
    bool sized = false;
    const int size = parser.value(sizeOption).toInt(&sized);
    if (parser.positionalArguments().size() != 2 || !sized || size < 1 || size > 4096) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    QString error;
    const QImage picture = cover(parser.positionalArguments().at(0), size, &error);
    if (picture.isNull() || !picture.save(parser.positionalArguments().at(1), "png")) {
        std::fprintf(
            stderr, "quirevale-thumbnailer: %s: %s\n",
            qPrintable(parser.positionalArguments().at(0)),
            qPrintable(error.isEmpty() ? QStringLiteral("cannot write the thumbnail") : error));
        return 1;
    }
    return 0;
}
