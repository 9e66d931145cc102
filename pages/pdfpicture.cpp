#include "pages/pdfpicture.h"

// qpdf's own smart pointers are std::shared_ptr here, with no old spelling.
#define POINTERHOLDER_TRANSITION 4
#include <libdeflate.h>
#include <limits>
#include <qpdf/Buffer.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include "pages/filestamp.h"
#include "pages/jpegcheck.h"
#include "pages/pdfpages.h"
#include "pages/regularfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMutex>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include <unistd.h>

namespace {
bool isName(QPDFObjectHandle object, const char *name)
{
    return object.isName() && object.getName() == name;
}

bool isNumber(QPDFObjectHandle object, double value)
{
    double number = 0;
    return object.getValueAsNumber(number) && number == value;
}

// A graphics state that changes nothing of how a picture shows: no
// transparency, blend, soft mask or transfer function. Line widths, dashes
// and the like only touch paths, which end the walk's trust anyway.
bool isPlainState(QPDFObjectHandle state)
{
    if (!state.isDictionary())
        return false;
    static const char *const harmless[] = {"/Type", "/LW",  "/LC",  "/LJ",   "/ML", "/D",   "/RI",
                                           "/FL",   "/SM",  "/SA",  "/OP",   "/op", "/OPM", "/Font",
                                           "/BG",   "/BG2", "/UCR", "/UCR2", "/HT", "/TK"};
    for (const std::string &key : state.getKeys()) {
        QPDFObjectHandle value = state.getKey(key);
        if (key == "/CA" || key == "/ca") {
            if (!isNumber(value, 1))
                return false;
        } else if (key == "/BM") {
            if (!isName(value, "/Normal") && !isName(value, "/Compatible"))
                return false;
        } else if (key == "/SMask") {
            if (!isName(value, "/None"))
                return false;
        } else if (key == "/AIS") {
            if (!value.isBool() || value.getBoolValue())
                return false;
        } else if (key == "/TR" || key == "/TR2") {
            if (!isName(value, "/Identity") && !isName(value, "/Default"))
                return false;
        } else if (std::none_of(std::begin(harmless), std::end(harmless),
                                [&key](const char *name) { return key == name; })) {
            return false;
        }
    }
    return true;
}

// Walks a page's content: which picture it draws, where, and whether it
// draws or hides anything else. Bounded: a content of endless operators or
// saved states is given up on.
class ContentWalk : public QPDFObjectHandle::ParserCallbacks
{
public:
    explicit ContentWalk(QPDFObjectHandle resources = QPDFObjectHandle::newNull(),
                         const std::atomic_bool *stop = nullptr)
        : m_resources(resources)
        , m_stop(stop)
    {}

    // Saved states deeper than any page nests them; poppler would copy its
    // whole state for each.
    static constexpr size_t DepthLimit = 256;
    // Operators of a scan's page are a handful; a text layer has a few per
    // word. Beyond this the walk stops and the page is rendered.
    static constexpr qint64 OperatorLimit = 1 << 20;

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            if (m_operands.size() > 64) // no operator takes more
                m_operands.erase(m_operands.begin());
            return;
        }
        // A page of many operators takes a while to walk: a stop ends it.
        if (++m_operators > OperatorLimit ||
            (m_operators % 1024 == 0 && m_stop && m_stop->load(std::memory_order_relaxed))) {
            other = true;
            terminateParsing();
        }
        operate(object.getOperatorValue());
        m_operands.clear();
        if (tooDeep)
            terminateParsing();
    }
    void handleEOF() override {}

    std::string drawn; // the name of the one picture drawn
    double matrix[6] = {1, 0, 0, 1, 0, 0};
    bool other = false;   // something else shows or hides, or a picture twice
    bool tooDeep = false; // states saved past DepthLimit: no page to draw
    // Every XObject drawn, with the size it is drawn at, in points.
    std::vector<std::pair<std::string, std::pair<double, double>>> draws;

private:
    struct State
    {
        double ctm[6];
        bool invisibleText;
    };

    void operate(const std::string &op)
    {
        if (op == "Do") {
            if (m_operands.size() != 1 || !m_operands[0].isName()) {
                other = true;
                return;
            }
            if (draws.size() < 4096)
                draws.push_back({m_operands[0].getName(),
                                 {std::hypot(m_ctm[0], m_ctm[1]), std::hypot(m_ctm[2], m_ctm[3])}});
            if (!drawn.empty()) {
                other = true;
                return;
            }
            drawn = m_operands[0].getName();
            std::copy(m_ctm, m_ctm + 6, matrix);
        } else if (op == "cm" && m_operands.size() == 6) {
            concatenate();
        } else if (op == "q") {
            if (m_saved.size() >= DepthLimit) {
                tooDeep = other = true;
                return;
            }
            State state;
            std::copy(m_ctm, m_ctm + 6, state.ctm);
            state.invisibleText = m_invisibleText;
            m_saved.push_back(state);
        } else if (op == "Q") {
            // The text mode is part of the state: "q 3 Tr Q" shows text again.
            if (!m_saved.empty()) {
                std::copy(m_saved.back().ctm, m_saved.back().ctm + 6, m_ctm);
                m_invisibleText = m_saved.back().invisibleText;
                m_saved.pop_back();
            }
        } else if (op == "Tr") {
            m_invisibleText = m_operands.size() == 1 && m_operands[0].isInteger() &&
                              m_operands[0].getIntValue() == 3;
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            other = other || !m_invisibleText;
        } else if (op == "gs") {
            other = other || !plainState();
        } else if (op == "BDC") {
            // Marked content bound to an optional layer may be hidden.
            other = other || (!m_operands.empty() && isName(m_operands[0], "/OC"));
        } else if (isPainting(op)) {
            other = true;
        }
    }

    void concatenate()
    {
        double m[6];
        for (int i = 0; i < 6; ++i) {
            if (!m_operands[size_t(i)].getValueAsNumber(m[i])) {
                other = true;
                return;
            }
        }
        const double *c = m_ctm;
        const double next[6] = {m[0] * c[0] + m[1] * c[2],        m[0] * c[1] + m[1] * c[3],
                                m[2] * c[0] + m[3] * c[2],        m[2] * c[1] + m[3] * c[3],
                                m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5]};
        std::copy(next, next + 6, m_ctm);
    }

    bool plainState()
    {
        if (m_operands.size() != 1 || !m_operands[0].isName() || !m_resources.isDictionary())
            return false;
        QPDFObjectHandle states = m_resources.getKey("/ExtGState");
        return states.isDictionary() && isPlainState(states.getKey(m_operands[0].getName()));
    }

    // What marks or hides part of the page: filled or stroked paths,
    // shadings, inline pictures, clips. A path ended by "n" alone marks
    // nothing, but with "W" before it, it clips what follows.
    static bool isPainting(const std::string &op)
    {
        static const char *const painting[] = {"S",  "s",  "f",  "F",  "f*", "B", "B*", "b",
                                               "b*", "sh", "BI", "ID", "EI", "W", "W*"};
        for (const char *name : painting) {
            if (op == name)
                return true;
        }
        return false;
    }

    QPDFObjectHandle m_resources;
    const std::atomic_bool *m_stop = nullptr;
    std::vector<QPDFObjectHandle> m_operands;
    double m_ctm[6] = {1, 0, 0, 1, 0, 0};
    std::vector<State> m_saved;
    bool m_invisibleText = false;
    qint64 m_operators = 0;
};

// Takes a stream's decoded bytes up to a limit: a stream that inflates
// without end stops there.
class BoundedBuffer : public Pipeline
{
public:
    // What ends a stream once the bytes wanted are there.
    struct Enough : std::exception
    {};

    // With keepFirst, bytes past the limit are let go of, as readers let a
    // picture's rows past those it declares go, and the stream ends there;
    // without, a stream that holds more fails.
    BoundedBuffer(QByteArray *out, qint64 limit, bool keepFirst = false)
        : Pipeline("bounded buffer", nullptr)
        , m_out(out)
        , m_limit(limit)
        , m_keepFirst(keepFirst)
    {}
    void write(unsigned char const *data, size_t length) override
    {
        const qint64 room = m_limit - qint64(m_out->size());
        if (qint64(length) > room) {
            if (!m_keepFirst)
                throw std::length_error("The picture holds more than its size.");
            m_out->append(reinterpret_cast<const char *>(data), int(room));
            throw Enough();
        }
        m_out->append(reinterpret_cast<const char *>(data), int(length));
    }
    void finish() override {}

private:
    QByteArray *m_out;
    qint64 m_limit;
    bool m_keepFirst;
};
// Whether a colour profile is sRGB's, which the page shows its samples
// in unchanged; any other is poppler's to apply.
bool isSrgbProfile(QPDFObjectHandle profile)
{
    if (!profile.isStream())
        return false;
    QByteArray bytes;
    BoundedBuffer out(&bytes, 1 << 20);
    try {
        if (!profile.pipeStreamData(&out, 0, qpdf_dl_generalized, true))
            return false;
    } catch (const std::exception &) {
        return false;
    }
    // The header names the data's colour space at 16; the description
    // names the profile, in ASCII (version 2) or UTF-16 (version 4).
    return bytes.size() >= 128 && bytes.mid(16, 4) == "RGB " &&
           (bytes.contains("sRGB") || bytes.contains(QByteArray("\0s\0R\0G\0B", 8)));
}

// A grey or RGB colour space, or sRGB's profile; an empty name for
// anything else (CMYK, indexed, separations, Lab, other profiles), which
// is rendered.
std::string plainSpace(QPDFObjectHandle space)
{
    if (space.isArray() && space.getArrayNItems() == 2 &&
        isName(space.getArrayItem(0), "/ICCBased")) {
        QPDFObjectHandle profile = space.getArrayItem(1);
        QPDFObjectHandle n =
            profile.isStream() ? profile.getDict().getKey("/N") : QPDFObjectHandle::newNull();
        return n.isInteger() && n.getIntValue() == 3 && isSrgbProfile(profile) ? "/DeviceRGB" : "";
    }
    if (isName(space, "/DeviceGray") || isName(space, "/DeviceRGB"))
        return space.getName();
    return "";
}

// How a picture's data is coded, when it is a picture this program takes
// itself: a JPEG, or pixels behind filters that lose nothing.
enum class Coding
{
    None,
    Jpeg,
    Pixels
};

Coding codingOf(QPDFObjectHandle dictionary)
{
    if (dictionary.hasKey("/SMask") || dictionary.hasKey("/Mask") || dictionary.hasKey("/Decode") ||
        dictionary.hasKey("/OC") ||
        (dictionary.getKey("/ImageMask").isBool() &&
         dictionary.getKey("/ImageMask").getBoolValue()))
        // Shown through something else, in a layer that may be hidden, or
        // with its colours transformed otherwise: rendered.
        return Coding::None;
    const std::string space = plainSpace(dictionary.getKey("/ColorSpace"));
    QPDFObjectHandle bits = dictionary.getKey("/BitsPerComponent");
    if (space.empty() || !bits.isInteger())
        return Coding::None;
    std::vector<QPDFObjectHandle> filters;
    QPDFObjectHandle filter = dictionary.getKey("/Filter");
    if (filter.isArray())
        filters = filter.getArrayAsVector();
    else if (!filter.isNull())
        filters.push_back(filter);
    // A JPEG's colour transform said in the PDF (ColorTransform 0) is
    // not the one its own header leads a reader to.
    if (filters.size() == 1 && isName(filters.front(), "/DCTDecode"))
        return bits.getIntValue() == 8 && !dictionary.hasKey("/DecodeParms") ? Coding::Jpeg
                                                                             : Coding::None;
    for (const QPDFObjectHandle &each : filters) {
        if (!isName(each, "/FlateDecode") && !isName(each, "/LZWDecode") &&
            !isName(each, "/RunLengthDecode") && !isName(each, "/ASCIIHexDecode") &&
            !isName(each, "/ASCII85Decode"))
            return Coding::None; // JBIG2, JPX, CCITT: poppler's to decode
    }
    const int depth = int(bits.getIntValue());
    return depth == 8 || (depth == 1 && space == "/DeviceGray") ? Coding::Pixels : Coding::None;
}

// Which way a picture shows: where a step right and a step down in the
// picture go on the page as shown (right, down), each -1, 0 or 1.
struct Orientation
{
    int xu = 1, yu = 0, xv = 0, yv = 1;
    bool upright() const { return xu == 1 && yv == 1; }
    bool turned() const { return xu == 0; }
};

// The orientation the matrix m draws a picture in, on a page turned by
// rotate degrees; false when it is drawn slanted or squashed flat.
bool orientationOf(const double m[6], long long rotate, Orientation *orientation)
{
    const double scale = std::max({std::abs(m[0]), std::abs(m[1]), std::abs(m[2]), std::abs(m[3])});
    const auto sign = [scale](double t) {
        return t > scale * 1e-6 ? 1 : t < -scale * 1e-6 ? -1 : 0;
    };
    // The picture's first row is at the top of its square; the page's y
    // goes up, the picture's down.
    Orientation o{sign(m[0]), sign(-m[1]), sign(-m[2]), sign(m[3])};
    const bool straight = o.xu != 0 && o.yu == 0 && o.xv == 0 && o.yv != 0;
    const bool across = o.xu == 0 && o.yu != 0 && o.xv != 0 && o.yv == 0;
    if (!straight && !across)
        return false;
    // The page turns clockwise as it shows: right becomes down.
    for (long long turns = ((rotate / 90) % 4 + 4) % 4; turns > 0; --turns)
        o = {-o.yu, o.xu, -o.yv, o.xv};
    *orientation = o;
    return true;
}

QImage oriented(QImage image, const Orientation &o)
{
    if (o.turned()) {
        // A quarter turn clockwise leaves right going down and down going left.
        image = image.transformed(QTransform().rotate(90));
        return image.mirrored(o.xv == 1, o.yu == -1);
    }
    return o.upright() ? image : image.mirrored(o.xu == -1, o.yv == -1);
}

// What of the page shows: its crop box within its media box, as a
// reader shows it (a crop box outside the media box is taken as absent).
QPDFObjectHandle::Rectangle visibleBox(QPDFPageObjectHelper page)
{
    const QPDFObjectHandle::Rectangle media = page.getMediaBox(false).getArrayAsRectangle();
    const QPDFObjectHandle::Rectangle crop = page.getCropBox(false, false).getArrayAsRectangle();
    QPDFObjectHandle::Rectangle shown(qMax(media.llx, crop.llx), qMax(media.lly, crop.lly),
                                      qMin(media.urx, crop.urx), qMin(media.ury, crop.ury));
    return shown.urx > shown.llx && shown.ury > shown.lly ? shown : media;
}

// Drawn exactly over the part of the page that shows: each edge within a
// pixel of the picture of the page's. A picture drawn past the page, or a
// page cropped inside its picture, shows less than the picture; one drawn
// short of the page shows paper beside it.
bool fillsPage(const double m[6], const QPDFObjectHandle::Rectangle &page, const QSize &shown)
{
    const double xs[] = {m[4], m[4] + m[0], m[4] + m[2], m[4] + m[0] + m[2]};
    const double ys[] = {m[5], m[5] + m[1], m[5] + m[3], m[5] + m[1] + m[3]};
    const double left = *std::min_element(xs, xs + 4), right = *std::max_element(xs, xs + 4);
    const double bottom = *std::min_element(ys, ys + 4), top = *std::max_element(ys, ys + 4);
    if (right <= left || top <= bottom || shown.isEmpty())
        return false;
    const double pixelWide = (right - left) / shown.width();
    const double pixelHigh = (top - bottom) / shown.height();
    return std::abs(left - page.llx) <= pixelWide && std::abs(right - page.urx) <= pixelWide &&
           std::abs(bottom - page.lly) <= pixelHigh && std::abs(top - page.ury) <= pixelHigh;
}

// Whether the page carries annotations: a box, a stamp or a redaction
// drawn over the picture shows, and poppler draws some without any
// appearance of their own.
bool hasAnnotations(QPDFPageObjectHelper page)
{
    QPDFObjectHandle annotations = page.getObjectHandle().getKey("/Annots");
    return annotations.isArray() && annotations.getArrayNItems() > 0;
}

} // namespace

namespace {
// The PDF last read, kept open: the pages of a build are asked for one
// after the other, and reading the page tree again for each would cost a
// walk over every page. qpdf's objects are used by one thread at a time.
struct OpenPdf
{
    FileStamp stamp;
    std::unique_ptr<QPDF> pdf;
    std::vector<QPDFPageObjectHelper> pages;
};
// qpdf's objects are not safe to use from two threads at once: the lock
// covers finding a page's objects and copying their bytes out, never
// decoding them.
QMutex s_openMutex;
// The PDFs open, by path, each as it was when opened; a few at most (the
// chapters of one book). Never destroyed: at exit qpdf's own statics may be
// gone before it.
std::map<QString, OpenPdf> &s_open = *new std::map<QString, OpenPdf>;
constexpr size_t PdfsKept = 4;

// Opened as a regular file only: a FIFO put in its place would block.
bool openPdf(const QString &path, OpenPdf *open)
{
    const RegularFile file = RegularFile::open(path);
    if (file.fd < 0)
        return false;
    FILE *stream = ::fdopen(file.fd, "rb");
    if (!stream) {
        ::close(file.fd);
        return false;
    }
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    // A broken cross-reference table is poppler's to report: no
    // reconstruction here, which reads the whole file.
    pdf->setAttemptRecovery(false);
    pdf->processFile(QFile::encodeName(path).constData(), stream, true);
    if (pdf->isEncrypted())
        return false;
    open->pages = QPDFPageDocumentHelper(*pdf).getAllPages();
    open->pdf = std::move(pdf);
    open->stamp = file.stamp;
    return true;
}

// The one picture a page shows, drawn over all of it, and how.
struct Single
{
    QPDFObjectHandle image = QPDFObjectHandle::newNull();
    Coding coding = Coding::None;
    Orientation orientation;
    QSize pixels;       // as the PDF says it stores them
    int resolution = 0; // pixels an inch, as drawn
    QByteArray jpeg;    // a JPEG's bytes as stored
    QString refused;    // why no reader can show the page at all
};

QByteArray storedBytes(QPDFObjectHandle image, qint64 byteBudget);

// A JPEG is taken as the page only when it holds what the PDF says it
// does: a PNG behind DCTDecode shows nothing, a JPEG larger than the
// picture's size shows in part, CMYK data labelled RGB in other colours.
bool jpegAsSaid(Single *single, bool grey, qint64 byteBudget)
{
    single->jpeg = storedBytes(single->image, byteBudget);
    const JpegCheck::Frame frame = JpegCheck::frameOf(single->jpeg);
    return frame.size == single->pixels && frame.components == (grey ? 1 : 3);
}

Single singleOf(QPDFPageObjectHelper page, qint64 byteBudget, const std::atomic_bool *stop)
{
    Single none;
    ContentWalk walk(page.getAttribute("/Resources", false), stop);
    page.parseContents(&walk);
    if (walk.tooDeep) {
        none.refused = QCoreApplication::translate(
                           "PdfPicture", "Its drawing saves its state more than %1 times over: "
                                         "no page is drawn so, and it is not rendered.")
                           .arg(ContentWalk::DepthLimit);
        return none;
    }
    const std::map<std::string, QPDFObjectHandle> images = page.getImages();
    if (images.size() != 1 || walk.other || walk.drawn != images.begin()->first ||
        hasAnnotations(page))
        return none;
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    const long long turn = rotate.isInteger() ? rotate.getIntValue() : 0;
    if (turn % 90 != 0)
        return none; // as poppler shows it, whatever that is
    Single single;
    single.image = images.begin()->second;
    QPDFObjectHandle dictionary = single.image.getDict();
    QPDFObjectHandle width = dictionary.getKey("/Width");
    QPDFObjectHandle height = dictionary.getKey("/Height");
    single.coding = codingOf(dictionary);
    if (single.coding == Coding::None || !width.isInteger() || !height.isInteger() ||
        width.getIntValue() <= 0 || height.getIntValue() <= 0 || width.getIntValue() > 1 << 20 ||
        height.getIntValue() > 1 << 20 || !orientationOf(walk.matrix, turn, &single.orientation))
        return none;
    single.pixels = QSize(int(width.getIntValue()), int(height.getIntValue()));
    // The picture as it lies on the page, before the page's own turn.
    Orientation drawn;
    orientationOf(walk.matrix, 0, &drawn);
    if (!fillsPage(walk.matrix, visibleBox(page),
                   drawn.turned() ? single.pixels.transposed() : single.pixels))
        return none;
    const bool grey = plainSpace(dictionary.getKey("/ColorSpace")) == "/DeviceGray";
    if (single.coding == Coding::Jpeg && !jpegAsSaid(&single, grey, byteBudget))
        return none;
    const double inchesWide = std::hypot(walk.matrix[0], walk.matrix[1]) / 72;
    single.resolution = int(std::lround(std::min(single.pixels.width() / inchesWide, 1e6)));
    return single;
}

// The stream's bytes as stored, or empty when they are more than budget.
QByteArray storedBytes(QPDFObjectHandle image, qint64 byteBudget)
{
    QPDFObjectHandle length = image.getDict().getKey("/Length");
    if (!length.isInteger() || length.getIntValue() <= 0 || length.getIntValue() > byteBudget)
        return QByteArray();
    const std::shared_ptr<Buffer> data = image.getRawStreamData();
    if (!data || qint64(data->getSize()) > byteBudget)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(data->getBuffer()), int(data->getSize()));
}

// A JPEG read whole into an archive is shown by readers turned as its
// own orientation says, which a PDF reader never heeds.
bool hasOwnOrientation(QByteArray jpeg)
{
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "jpeg").transformation() != QImageIOHandler::TransformationNone;
}

QByteArray jpegOf(QPDFPageObjectHelper page, qint64 byteBudget, const std::atomic_bool *stop)
{
    const Single single = singleOf(page, byteBudget, stop);
    if (single.coding != Coding::Jpeg || !single.orientation.upright() ||
        hasOwnOrientation(single.jpeg))
        return QByteArray();
    return single.jpeg;
}

// The size the page shows its picture at; invalid when it holds none this
// program takes itself, or one beyond the budgets.
PdfPicture::Picture pictureOf(QPDFPageObjectHelper page, qint64 pixelBudget, qint64 byteBudget,
                              const std::atomic_bool *stop)
{
    const Single single = singleOf(page, byteBudget, stop);
    PdfPicture::Picture picture;
    picture.refused = single.refused;
    if (single.coding == Coding::None)
        return picture;
    // A JPEG's own header agrees with the PDF, or it is rendered.
    const QSize pixels = single.pixels;
    if (!pixels.isValid() || qint64(pixels.width()) * pixels.height() > pixelBudget)
        return picture;
    picture.shown = single.orientation.turned() ? pixels.transposed() : pixels;
    picture.resolution = single.resolution;
    return picture;
}

// Pixels decoded by qpdf from filters that lose nothing, in rows as the
// PDF stores them: grey or RGB, 8 bits, or grey at 1 bit.
// A page's picture as copied out of the PDF, to be decoded without qpdf.
struct Stored
{
    Coding coding = Coding::None;
    Orientation orientation;
    QSize pixels;
    QByteArray data; // a JPEG's bytes, or the pixels' rows
    bool grey = false;
    int depth = 8;
    // The rows still deflated, as the PDF stores them: inflated without
    // qpdf, so without its lock.
    bool deflated = false;
    QString why;
};

qint64 rowBytesOf(const Stored &stored)
{
    const qint64 width = stored.pixels.width();
    return stored.depth == 1 ? (width + 7) / 8 : width * (stored.grey ? 1 : 3);
}

// Whether only zlib's deflate stands between the stored bytes and the rows.
bool plainDeflate(QPDFObjectHandle dictionary)
{
    QPDFObjectHandle filter = dictionary.getKey("/Filter");
    QPDFObjectHandle parameters = dictionary.getKey("/DecodeParms");
    return filter.isName() && filter.getName() == "/FlateDecode" && parameters.isNull();
}

// The picture's rows, their filters undone by qpdf; or, where deflated is
// allowed and deflate is all there is, its bytes as stored.
void copyPixels(QPDFObjectHandle image, qint64 pixelBudget, qint64 byteBudget, bool deflated,
                Stored *stored)
{
    QPDFObjectHandle dictionary = image.getDict();
    stored->grey = plainSpace(dictionary.getKey("/ColorSpace")) == "/DeviceGray";
    stored->depth = int(dictionary.getKey("/BitsPerComponent").getIntValue());
    const QSize size = stored->pixels;
    if (qint64(size.width()) * size.height() > pixelBudget)
        return;
    if (deflated && plainDeflate(dictionary)) {
        stored->data = storedBytes(image, byteBudget);
        stored->deflated = !stored->data.isEmpty();
        if (stored->deflated)
            return;
    }
    const qint64 rowBytes = rowBytesOf(*stored);
    const qint64 expected = rowBytes * size.height();
    stored->data.reserve(int(qMin<qint64>(expected, 1 << 30)));
    // The rows the picture declares; any after them are no part of it.
    BoundedBuffer out(&stored->data, expected, true);
    bool piped = false;
    try {
        piped = image.pipeStreamData(&out, 0, qpdf_dl_generalized, true);
    } catch (const BoundedBuffer::Enough &) {
        piped = true;
    }
    if (stored->data.size() == expected && !piped)
        piped = true; // qpdf told of the stream cut off once its rows were in
    if (!piped || stored->data.size() < expected) {
        stored->why = QCoreApplication::translate("PdfPicture",
                                                  "The picture's data does not match its size.");
        stored->data.clear();
    }
}

// Deflated rows inflated, exactly as many as the picture's size asks for;
// false when they are not (qpdf then says what it makes of them, and takes
// the rows declared of a stream that holds more).
bool inflated(Stored *stored)
{
    const qint64 expected = rowBytesOf(*stored) * stored->pixels.height();
    if (expected <= 0 || expected > std::numeric_limits<int>::max())
        return false;
    QByteArray rows(int(expected), Qt::Uninitialized);
    libdeflate_decompressor *inflater = libdeflate_alloc_decompressor();
    if (!inflater)
        return false;
    size_t made = 0;
    const libdeflate_result result =
        libdeflate_zlib_decompress(inflater, stored->data.constData(), size_t(stored->data.size()),
                                   rows.data(), size_t(rows.size()), &made);
    libdeflate_free_decompressor(inflater);
    if (result != LIBDEFLATE_SUCCESS || made != size_t(expected))
        return false;
    stored->data = rows;
    stored->deflated = false;
    return true;
}

QImage pixelsOf(const Stored &stored)
{
    const QSize size = stored.pixels;
    const int depth = stored.depth;
    const qint64 rowBytes = rowBytesOf(stored);
    if (stored.data.isEmpty())
        return QImage();
    const QByteArray &data = stored.data;
    QImage pixels(size, depth == 1    ? QImage::Format_Mono
                        : stored.grey ? QImage::Format_Grayscale8
                                      : QImage::Format_RGB888);
    if (pixels.isNull())
        return QImage();
    if (depth == 1)
        pixels.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(pixels.scanLine(y), data.constData() + y * rowBytes, size_t(rowBytes));
    return depth == 1 ? pixels.convertToFormat(QImage::Format_Grayscale8) : pixels;
}

// Under the lock: the bytes of the page's one picture, copied out.
Stored storedOf(QPDFPageObjectHelper page, qint64 pixelBudget, qint64 byteBudget, bool deflated)
{
    const Single single = singleOf(page, byteBudget, nullptr);
    Stored stored;
    stored.coding = single.coding;
    stored.orientation = single.orientation;
    stored.pixels = single.pixels;
    if (single.coding == Coding::Jpeg)
        stored.data = single.jpeg;
    else if (single.coding == Coding::Pixels)
        copyPixels(single.image, pixelBudget, byteBudget, deflated, &stored);
    return stored;
}

// Without the lock: the picture decoded.
QImage decodedOf(const Stored &stored, qint64 pixelBudget, QString *why)
{
    QImage picture;
    if (stored.coding == Coding::Jpeg) {
        JpegCheck check = JpegCheck::run(stored.data, pixelBudget, JpegCheck::wholePicture());
        if (!check.damage.isEmpty())
            *why = check.damage;
        picture = check.picture;
    } else if (stored.coding == Coding::Pixels) {
        *why = stored.why;
        picture = pixelsOf(stored);
    }
    return picture.isNull() ? QImage() : oriented(picture, stored.orientation);
}

// The page at index of the PDF at path, opened or kept open, handed to
// work; what work gives, or fallback when the PDF cannot be read.
template<typename Result, typename Work>
Result onPage(const QString &path, int index, Result fallback, Work work)
{
    const FileStamp now = FileStamp::of(path);
    QMutexLocker locker(&s_openMutex);
    try {
        auto open = s_open.find(path);
        if (open == s_open.end() || open->second.stamp != now) {
            if (open == s_open.end() && s_open.size() >= PdfsKept)
                s_open.clear();
            OpenPdf &opened = s_open[path];
            opened = OpenPdf();
            if (!openPdf(path, &opened)) {
                s_open.erase(path);
                return fallback;
            }
            open = s_open.find(path);
        }
        if (index < 0 || size_t(index) >= open->second.pages.size())
            return fallback;
        return work(open->second.pages[size_t(index)]);
    } catch (const std::exception &) {
        // Whatever qpdf cannot read, poppler renders or says why.
        s_open.erase(path);
        return fallback;
    }
}

// Pixels an inch of the page's sharpest picture, as drawn.
int resolutionOf(QPDFPageObjectHelper page, const std::atomic_bool *stop)
{
    std::map<std::string, QPDFObjectHandle> images = page.getImages();
    if (images.empty())
        return 0;
    ContentWalk walk(QPDFObjectHandle::newNull(), stop);
    page.parseContents(&walk);
    if (walk.tooDeep)
        return 0;
    double best = 0;
    for (const auto &draw : walk.draws) {
        auto image = images.find(draw.first);
        if (image == images.end())
            continue;
        QPDFObjectHandle dictionary = image->second.getDict();
        QPDFObjectHandle width = dictionary.getKey("/Width");
        QPDFObjectHandle height = dictionary.getKey("/Height");
        const double inchesWide = draw.second.first / 72, inchesHigh = draw.second.second / 72;
        if (!width.isInteger() || !height.isInteger() || inchesWide < 0.5 || inchesHigh < 0.5)
            continue; // a speck or a logo says nothing of the page
        best = std::max({best, double(width.getIntValue()) / inchesWide,
                         double(height.getIntValue()) / inchesHigh});
    }
    return int(std::min(best, 1e6));
}
} // namespace

QByteArray PdfPicture::scannedJpeg(const QString &path, int index, qint64 byteBudget,
                                   const std::atomic_bool *stop)
{
    return onPage(path, index, QByteArray(), [byteBudget, stop](QPDFPageObjectHelper page) {
        return jpegOf(page, byteBudget, stop);
    });
}

int PdfPicture::pictureResolution(const QString &path, int index, const std::atomic_bool *stop)
{
    return onPage(path, index, 0,
                  [stop](QPDFPageObjectHelper page) { return resolutionOf(page, stop); });
}

PdfPicture::Picture PdfPicture::pictureOf(const QString &path, int index, qint64 pixelBudget,
                                          qint64 byteBudget, const std::atomic_bool *stop)
{
    return onPage(path, index, Picture(), [&](QPDFPageObjectHelper page) {
        return ::pictureOf(page, pixelBudget, byteBudget, stop);
    });
}

QImage PdfPicture::decodedPicture(const QString &path, int index, qint64 pixelBudget,
                                  qint64 byteBudget, QString *why)
{
    const auto copied = [&](bool deflated) {
        return onPage(path, index, Stored(), [&](QPDFPageObjectHelper page) {
            return storedOf(page, pixelBudget, byteBudget, deflated);
        });
    };
    // Deflated rows are inflated here, on this thread; what only qpdf can
    // undo, or deflate that fails, is undone by qpdf.
    Stored stored = copied(true);
    if (stored.deflated && !inflated(&stored))
        stored = copied(false);
    QString damage;
    QImage picture = decodedOf(stored, pixelBudget, &damage);
    if (picture.isNull() && why)
        *why = damage.isEmpty()
                   ? QCoreApplication::translate("PdfPicture", "Its picture cannot be decoded.")
                   : damage;
    return picture;
}

PdfPicture::PageKind PdfPicture::kindOf(const QString &path, int index, int resolution,
                                        qint64 pixelBudget, qint64 byteBudget)
{
    return onPage(path, index, PageKind{false, resolution}, [&](QPDFPageObjectHelper page) {
        PageKind kind;
        const Picture picture = ::pictureOf(page, pixelBudget, byteBudget, nullptr);
        kind.scan = picture.shown.isValid();
        kind.resolution = kind.scan ? picture.resolution
                                    : qBound(resolution, resolutionOf(page, nullptr),
                                             qMax(resolution, int(PdfPages::MaximumResolution)));
        return kind;
    });
}
