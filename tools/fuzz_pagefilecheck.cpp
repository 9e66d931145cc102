// The checks that read a page file's untrusted bytes before any decoder
// does: the JPEG, PNG, BMP, GIF and WebP structure walks, a RAR archive's
// header walk and libjpeg's pass over every
// block with its piecemeal source, and the cut of those blocks into parts; a source archive's
// ComicInfo.xml, read and written again with its fields kept; and the command line's pages file,
// each page's own treatment; an EPUB's container, package, navigation and
// pages (the input cut at each record separator, 0x1e). Built two ways:
//  - with clang's libFuzzer (./tools/setup fuzz), which runs it for a
//    bounded time on a copy of tests/data/fuzz-seeds;
//  - as a plain program that runs the files named on its command line
//    through it once, as a CTest test over the seed corpus.

#include "making/comicinfo.h"
#include "making/losslesscut.h"
#include "cli/pagetreatmentfile.h"
#include "pages/epubpages.h"
#include "pages/jpegcheck.h"
#include "pages/pagefilecheck.h"
#include "pages/rarchecksums.h"

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

namespace {
// Whatever blocks a file gives, split and bordered, straight and turned a
// quarter into grey.
void cutOnBlocks(const QByteArray &bytes)
{
    const JpegCheck check = JpegCheck::readBlocks(bytes, 1 << 20);
    if (!check.blocks)
        return;
    const LosslessCut::Source source{check.size, check.layout, QImageIOHandler::TransformationNone};
    PageOptions options;
    options.ImageCutDoublePages = true;
    options.ImageCutBorder = true;
    options.ImageCutBorderNumber = 3;
    QString error;
    LosslessCut(source, options, planPage(check.size, options)).run(bytes, &error, check.blocks);
    options.PageGrey = PageOptions::GreyEveryPage;
    PageTreatment turned;
    turned.rotation = 90;
    LosslessCut(source, options, planPage(check.size, options, turned))
        .run(bytes, &error, check.blocks);
}

// The parts of the input as an EPUB's documents: its container, a package
// beside a navigation document and pictures the pages may name, the pages.
void listAsEpub(const QByteArray &bytes)
{
    const QList<QByteArray> parts = bytes.split('\x1e');
    PageArchive::Contents contents;
    const QStringList names = {QStringLiteral("META-INF/container.xml"),
                               QStringLiteral("OPS/book.opf"), QStringLiteral("OPS/nav.xhtml"),
                               QStringLiteral("META-INF/encryption.xml")};
    for (int i = 0; i < parts.size(); ++i) {
        const QString name =
            i < names.size() ? names.at(i) : QStringLiteral("OPS/p/%1.xhtml").arg(i - names.size());
        contents.documents.insert(name, parts.at(i));
        contents.entries.append({name, i, true, false});
    }
    for (const char *picture : {"OPS/i/a.png", "OPS/i/b.jpg", "a.png"})
        contents.entries.append(
            {QLatin1String(picture), int(contents.entries.size()), true, false});
    EpubPages::listFrom(QStringLiteral("book.epub"), contents);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    PageFileCheck::jpeg(bytes);
    PageFileCheck::png(bytes);
    PageFileCheck::bmp(bytes);
    int frames = 0;
    PageFileCheck::gif(bytes, &frames);
    PageFileCheck::webp(bytes);
    const RarChecksums sums = RarChecksums::parse(bytes);
    (void)sums.matches(0, bytes);
    (void)sums.reachedEnd();
    JpegCheck::frameOf(bytes);
    // A small budget: the fuzzer looks for crashes, not for large pictures.
    JpegCheck::run(bytes, 1 << 20);
    JpegCheck::run(bytes, 1 << 20, QSize(8, 8));
    cutOnBlocks(bytes);
    listAsEpub(bytes);
    ComicInfo::pagesSaidIn(bytes);
    ComicInfo info = ComicInfo::fromXml(bytes);
    info.sourceXml = QByteArray(bytes.constData(), bytes.size());
    comicInfoXml(info, {{1, 1, 1, false, QStringLiteral("a")}});
    PageTreatmentFile treatments;
    (void)treatments.parse(QString::fromUtf8(bytes),
                           {QStringLiteral("cover.jpg"), QStringLiteral("page 2.jpg")});
    return 0;
}

#ifndef QUIREVALE_LIBFUZZER
namespace {
bool runFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                           size_t(bytes.size()));
    return true;
}
} // namespace

// Each argument is a file, or a folder whose files are run.
int main(int argc, char *argv[])
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        QStringList paths;
        if (QFileInfo(argument).isDir()) {
            QDirIterator files(argument, QDir::Files);
            while (files.hasNext())
                paths << files.next();
        } else {
            paths << argument;
        }
        for (const QString &path : paths) {
            if (!runFile(path)) {
                std::fprintf(stderr, "%s cannot be read\n", argv[i]);
                return 1;
            }
            ++count;
        }
    }
    std::printf("%d inputs checked\n", count);
    return count > 0 ? 0 : 1;
}
#endif
