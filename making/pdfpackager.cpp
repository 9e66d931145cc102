// qpdf 11 without its old smart pointer.
#define POINTERHOLDER_TRANSITION 4

#include "making/pdfpackager.h"

#include "making/epubpackage.h"
#include "pages/jpegcheck.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QXmlStreamWriter>
#include <QtEndian>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {
const double DefaultDotsPerInch = 300;
const qint64 CopyBlock = 1 << 20;

using Handle = QPDFObjectHandle;

// Gives qpdf a picture's bytes from the scratch file when it writes them:
// the book is never whole in memory.
class ScratchData : public QPDFObjectHandle::StreamDataProvider
{
public:
    ScratchData(std::shared_ptr<QFile> file, qint64 offset, qint64 size)
        : m_file(std::move(file))
        , m_offset(offset)
        , m_size(size)
    {}

    void provideStreamData(QPDFObjGen const &, Pipeline *pipeline) override
    {
        if (!m_file->seek(m_offset))
            throw std::runtime_error(m_file->errorString().toStdString());
        for (qint64 left = m_size; left > 0;) {
            const QByteArray block = m_file->read(qMin(left, CopyBlock));
            if (block.isEmpty())
                throw std::runtime_error(m_file->errorString().toStdString());
            pipeline->write(reinterpret_cast<const unsigned char *>(block.constData()),
                            size_t(block.size()));
            left -= block.size();
        }
        pipeline->finish();
    }

private:
    std::shared_ptr<QFile> m_file;
    qint64 m_offset;
    qint64 m_size;
};

std::string utf8(const QString &text)
{
    return EpubPackage::plainText(text).toStdString();
}

// "D:20260102030400Z"
std::string pdfDate(const QDateTime &when)
{
    return when.toUTC().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")).toStdString();
}

Handle name(const char *text)
{
    return Handle::newName(text);
}

// The XMP packet: what the information dictionary says, as XML readers and
// archives read it.
QByteArray xmp(const QString &title, const QStringList &creators, const QString &summary,
               const QString &language, const QDateTime &modified)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    const QString rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    const QString xmpNs = QStringLiteral("http://ns.adobe.com/xap/1.0/");
    xml.writeProcessingInstruction(
        QStringLiteral("xpacket"),
        QStringLiteral("begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\""));
    xml.writeNamespace(rdf, QStringLiteral("rdf"));
    xml.writeNamespace(dc, QStringLiteral("dc"));
    xml.writeNamespace(xmpNs, QStringLiteral("xmp"));
    xml.writeStartElement(QStringLiteral("adobe:ns:meta/"), QStringLiteral("xmpmeta"));
    xml.writeStartElement(rdf, QStringLiteral("RDF"));
    xml.writeStartElement(rdf, QStringLiteral("Description"));
    xml.writeAttribute(rdf, QStringLiteral("about"), QString());
    const auto alt = [&](const QString &element, const QString &value) {
        xml.writeStartElement(dc, element);
        xml.writeStartElement(rdf, QStringLiteral("Alt"));
        xml.writeStartElement(rdf, QStringLiteral("li"));
        xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
        xml.writeCharacters(value);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    };
    alt(QStringLiteral("title"), title);
    if (!creators.isEmpty()) {
        xml.writeStartElement(dc, QStringLiteral("creator"));
        xml.writeStartElement(rdf, QStringLiteral("Seq"));
        for (const QString &creator : creators)
            xml.writeTextElement(rdf, QStringLiteral("li"), creator);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (!summary.isEmpty())
        alt(QStringLiteral("description"), summary);
    xml.writeStartElement(dc, QStringLiteral("language"));
    xml.writeStartElement(rdf, QStringLiteral("Bag"));
    xml.writeTextElement(rdf, QStringLiteral("li"), language);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeTextElement(xmpNs, QStringLiteral("ModifyDate"),
                         modified.toUTC().toString(Qt::ISODate));
    xml.writeEndElement(); // Description
    xml.writeEndElement(); // RDF
    xml.writeEndElement(); // xmpmeta
    xml.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end=\"w\""));
    return bytes;
}
} // namespace

PdfPackager::PdfPackager(const PageOptions &options)
    : m_options(options)
{}

void PdfPackager::cleared()
{
    m_pictures.clear();
}

QSizeF PdfPackager::pageSize(const Picture &picture)
{
    const double dpi = picture.dotsPerInch > 0 ? picture.dotsPerInch : DefaultDotsPerInch;
    return QSizeF(picture.width * 72.0 / dpi, picture.height * 72.0 / dpi);
}

// The chunks of a PNG, walked within its bytes, to its pHYs chunk.
double PdfPackager::pngDotsPerInch(const QByteArray &png)
{
    qint64 at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(int(at + 4), 4);
        if (length > quint32(png.size()) || at + 12 + qint64(length) > png.size())
            return 0;
        if (type == "pHYs" && length == 9) {
            const quint32 x = qFromBigEndian<quint32>(png.constData() + at + 8);
            const quint32 y = qFromBigEndian<quint32>(png.constData() + at + 12);
            const bool metres = png.at(int(at + 16)) == 1;
            return metres && x == y && x > 0 ? x * 0.0254 : 0;
        }
        if (type == "IDAT" || type == "IEND")
            return 0; // pHYs comes before the pixels or not at all
        at += 12 + qint64(length);
    }
    return 0;
}

bool PdfPackager::held(const QString &name, const PackedEntry &entry, const ComicPage &page)
{
    Q_UNUSED(page);
    const QByteArray &data = entry.compressed;
    Picture picture;
    picture.offset = m_scratch->pos();
    QByteArray bytes;
    if (entry.method == PackedEntry::Stored && entry.suffix == QLatin1String("jpg")) {
        const JpegCheck::Frame frame = JpegCheck::frameOf(data);
        if (!frame.size.isValid() ||
            (frame.components != 1 && frame.components != 3 && frame.components != 4))
            return fail(tr("Page %1 is not a JPEG picture a PDF can hold.").arg(name));
        picture.width = frame.size.width();
        picture.height = frame.size.height();
        picture.components = frame.components;
        picture.inverted = frame.components == 4 && frame.adobe;
        picture.dotsPerInch = frame.dotsPerInch;
        bytes = data;
    } else if (entry.method == PackedEntry::Stored && entry.suffix == QLatin1String("png")) {
        // Kept losslessly: its pixels, deflated as the PDF is written.
        QBuffer buffer(const_cast<QByteArray *>(&data));
        QImageReader reader(&buffer, "png");
        QImage image = reader.read();
        if (image.isNull())
            return fail(tr("Page %1 cannot be read: %2").arg(name, reader.errorString()));
        if (image.hasAlphaChannel()) {
            // A reader shows a page's clear parts as paper.
            QImage paper(image.size(), QImage::Format_RGB888);
            paper.fill(Qt::white);
            QPainter(&paper).drawImage(0, 0, image);
            image = paper;
        }
        const bool grey = image.isGrayscale();
        image = image.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        picture.width = image.width();
        picture.height = image.height();
        picture.components = grey ? 1 : 3;
        picture.jpeg = false;
        picture.dotsPerInch = pngDotsPerInch(data);
        const int row = picture.width * picture.components;
        bytes.reserve(row * picture.height);
        for (int y = 0; y < image.height(); ++y)
            bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), row);
    } else {
        return fail(tr("Page %1 is neither JPEG nor PNG: a PDF of this program holds only those.")
                        .arg(name));
    }
    if (m_scratch->write(bytes) != bytes.size())
        return fail(tr("Page %1 cannot be written: %2").arg(name, m_scratch->errorString()));
    picture.size = bytes.size();
    m_pictures.push_back(picture);
    return true;
}

QString PdfPackager::documentNote(const QString &name) const
{
    return tr("A PDF carries its information in its own document information and metadata, not "
              "as %1.")
        .arg(name);
}

bool PdfPackager::write()
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper document(pdf);
    QVector<Handle> pages;
    for (const Picture &picture : m_pictures) {
        Handle image = Handle::newStream(&pdf);
        Handle dict = image.getDict();
        dict.replaceKey("/Type", name("/XObject"));
        dict.replaceKey("/Subtype", name("/Image"));
        dict.replaceKey("/Width", Handle::newInteger(picture.width));
        dict.replaceKey("/Height", Handle::newInteger(picture.height));
        dict.replaceKey("/BitsPerComponent", Handle::newInteger(8));
        dict.replaceKey("/ColorSpace", name(picture.components == 1   ? "/DeviceGray"
                                            : picture.components == 4 ? "/DeviceCMYK"
                                                                      : "/DeviceRGB"));
        if (picture.inverted)
            dict.replaceKey("/Decode", Handle::parse("[1 0 1 0 1 0 1 0]"));
        image.replaceStreamData(
            std::make_shared<ScratchData>(m_scratch, picture.offset, picture.size),
            picture.jpeg ? name("/DCTDecode") : Handle::newNull(), Handle::newNull());

        const QSizeF size = pageSize(picture);
        const std::string width = QString::number(size.width(), 'f', 3).toStdString();
        const std::string height = QString::number(size.height(), 'f', 3).toStdString();
        Handle page = pdf.makeIndirectObject(Handle::newDictionary());
        page.replaceKey("/Type", name("/Page"));
        page.replaceKey("/MediaBox", Handle::parse("[0 0 " + width + " " + height + "]"));
        Handle xobjects = Handle::newDictionary();
        xobjects.replaceKey("/Im0", image);
        Handle resources = Handle::newDictionary();
        resources.replaceKey("/XObject", xobjects);
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", Handle::newStream(&pdf, "q " + width + " 0 0 " + height +
                                                                 " 0 0 cm /Im0 Do Q\n"));
        document.addPage(page, false);
        pages.append(document.getAllPages().back().getObjectHandle());
    }

    const EpubPackage named(m_book.comicInfo, m_book.name, {});
    const ComicInfo &info = m_book.comicInfo;
    QStringList creators;
    for (const QString &creator : {info.writer, info.penciller}) {
        const QString plain = EpubPackage::plainText(creator);
        if (!plain.isEmpty() && !creators.contains(plain))
            creators << plain;
    }
    Handle information = pdf.makeIndirectObject(Handle::newDictionary());
    information.replaceKey("/Title", Handle::newUnicodeString(utf8(named.title())));
    if (!creators.isEmpty())
        information.replaceKey(
            "/Author", Handle::newUnicodeString(creators.join(QStringLiteral(", ")).toStdString()));
    if (!EpubPackage::plainText(info.summary).isEmpty())
        information.replaceKey("/Subject", Handle::newUnicodeString(utf8(info.summary)));
    information.replaceKey("/Creator", Handle::newUnicodeString("Quirevale"));
    information.replaceKey("/CreationDate", Handle::newString(pdfDate(m_book.modified)));
    information.replaceKey("/ModDate", Handle::newString(pdfDate(m_book.modified)));
    pdf.getTrailer().replaceKey("/Info", information);

    Handle root = pdf.getRoot();
    const QByteArray metadata = xmp(named.title(), creators, EpubPackage::plainText(info.summary),
                                    named.language(), m_book.modified);
    Handle xmpStream = Handle::newStream(&pdf, metadata.toStdString());
    xmpStream.getDict().replaceKey("/Type", name("/Metadata"));
    xmpStream.getDict().replaceKey("/Subtype", name("/XML"));
    root.replaceKey("/Metadata", xmpStream);
    root.replaceKey("/Lang", Handle::newUnicodeString(named.language().toStdString()));
    if (info.direction == ComicInfo::RightToLeft) {
        Handle preferences = Handle::newDictionary();
        preferences.replaceKey("/Direction", name("/R2L"));
        root.replaceKey("/ViewerPreferences", preferences);
    }
    // Spreads put to face: the cover alone, then pairs.
    if (m_options.FacingSpreads)
        root.replaceKey("/PageLayout", name("/TwoPageRight"));

    // The outline: each chapter at its first page.
    QVector<Handle> items;
    Handle outlines = pdf.makeIndirectObject(Handle::newDictionary());
    outlines.replaceKey("/Type", name("/Outlines"));
    for (int i = 0; i < m_pages.size(); ++i) {
        const QString chapter = EpubPackage::plainText(m_pages.at(i).bookmark);
        if (chapter.isEmpty())
            continue;
        Handle item = pdf.makeIndirectObject(Handle::newDictionary());
        item.replaceKey("/Title", Handle::newUnicodeString(chapter.toStdString()));
        item.replaceKey("/Parent", outlines);
        Handle destination = Handle::newArray();
        destination.appendItem(pages.at(i));
        destination.appendItem(name("/Fit"));
        item.replaceKey("/Dest", destination);
        if (!items.isEmpty()) {
            item.replaceKey("/Prev", items.last());
            items.last().replaceKey("/Next", item);
        }
        items.append(item);
    }
    if (!items.isEmpty()) {
        outlines.replaceKey("/First", items.first());
        outlines.replaceKey("/Last", items.last());
        outlines.replaceKey("/Count", Handle::newInteger(items.size()));
        root.replaceKey("/Outlines", outlines);
        root.replaceKey("/PageMode", name("/UseOutlines"));
    }

    const int fd = ::dup(m_file.file()->handle());
    FILE *out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0)
            ::close(fd);
        return fail(m_file.fileError(tr("The book cannot be written")));
    }
    QPDFWriter writer(pdf);
    writer.setOutputFile(QFile::encodeName(m_file.fileName()).constData(), out, true);
    writer.setDeterministicID(true);
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.setCompressStreams(true);
    writer.setLinearization(m_options.LinearizePdf);
    writer.write();
    return true;
}

// The file read back by qpdf: its pages all there.
bool PdfPackager::readBack()
{
    QPDF pdf;
    pdf.processFile(QFile::encodeName(m_file.fileName()).constData());
    return int(QPDFPageDocumentHelper(pdf).getAllPages().size()) == m_pages.size() ||
           fail(tr("The finished book does not read back as it was written."));
}

bool PdfPackager::written()
{
    return write() && readBack();
}
