// quirevale-thumbnailer: the cover of a comic archive for file managers, as
// the freedesktop thumbnailer entry installed with the program asks:
//
//   quirevale-thumbnailer -s SIZE ARCHIVE OUTPUT.png
//
// The cover is the book's first page as the program lists it (CBZ, CBR,
// CB7 or CBT, in the same order), read and checked as a build reads it.
// File managers run this unattended on whatever lands in a folder, so it is
// bounded more tightly than a build: a first page of more pixels or bytes
// than a scan has is not decoded, and the whole run is given a few seconds.
// Exit status 0 with the picture written, 1 otherwise.

#include "pages/pagearchive.h"
#include "pages/pagereader.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <unistd.h>

#include <cstdio>

namespace {
// A 600 ppi A4 scan has 35 million pixels; decoding one takes about 150 MB.
const qint64 CoverPixelBudget = qint64(36) << 20;
const qint64 CoverByteBudget = qint64(64) << 20;
// A file manager waits for no more; the system ends the run after it.
const unsigned TimeLimitSeconds = 8;

QImage cover(const QString &archive, int size, QString *error)
{
    PageArchive::setPassedEntriesBudget(0); // one page is read, and no other
    const PageListing book = PageArchive::list(archive);
    if (!book.error.isEmpty()) {
        *error = book.error;
        return QImage();
    }
    if (book.pages.isEmpty()) {
        *error = QStringLiteral("no page");
        return QImage();
    }
    const PagePicture first = PageReader::readFirstPicture(
        book.pages.first().location, QSize(size, size), CoverPixelBudget, CoverByteBudget);
    if (!first.isValid())
        *error = first.error;
    return first.isValid() ? first.picture : QImage();
}
} // namespace

int main(int argc, char *argv[])
{
    // Pictures are read and written in memory: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::alarm(TimeLimitSeconds);
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the cover of a comic archive as a PNG thumbnail."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(QStringLiteral("s"),
                                        QStringLiteral("The thumbnail's largest side."),
                                        QStringLiteral("size"), QStringLiteral("256"));
    parser.addOption(sizeOption);
    parser.addPositionalArgument(QStringLiteral("archive"), QStringLiteral("A comic archive."));
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
