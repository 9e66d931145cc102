#include "pages/pdfpicture.h"

// qpdf's own smart pointers are std::shared_ptr here, with no old spelling.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include "pages/pdfpages.h"
#include "pages/regularfile.h"

#include <QFile>
#include <QMutex>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {
// Walks a page's content: which picture it draws, where, and whether it
// draws anything else that shows.
class ContentWalk : public QPDFObjectHandle::ParserCallbacks
{
public:
    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            if (m_operands.size() > 64) // no operator takes more
                m_operands.erase(m_operands.begin());
            return;
        }
        operate(object.getOperatorValue());
        m_operands.clear();
    }
    void handleEOF() override {}

    std::string drawn; // the name of the one picture drawn
    double matrix[6] = {1, 0, 0, 1, 0, 0};
    bool other = false; // something else shows, or a picture twice
    // Every XObject drawn, with the size it is drawn at, in points.
    std::vector<std::pair<std::string, std::pair<double, double>>> draws;

private:
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
            double m[6];
            for (int i = 0; i < 6; ++i) {
                if (!m_operands[size_t(i)].getValueAsNumber(m[i])) {
                    other = true;
                    return;
                }
            }
            const double *c = m_ctm;
            const double next[6] = {
                m[0] * c[0] + m[1] * c[2],        m[0] * c[1] + m[1] * c[3],
                m[2] * c[0] + m[3] * c[2],        m[2] * c[1] + m[3] * c[3],
                m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5]};
            std::copy(next, next + 6, m_ctm);
        } else if (op == "q") {
            m_saved.push_back({m_ctm[0], m_ctm[1], m_ctm[2], m_ctm[3], m_ctm[4], m_ctm[5]});
            if (m_saved.size() > 256)
                other = true;
        } else if (op == "Q") {
            if (!m_saved.empty()) {
                std::copy(m_saved.back().begin(), m_saved.back().end(), m_ctm);
                m_saved.pop_back();
            }
        } else if (op == "Tr") {
            m_invisibleText = m_operands.size() == 1 && m_operands[0].isInteger() &&
                              m_operands[0].getIntValue() == 3;
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            other = other || !m_invisibleText;
        } else if (isPainting(op)) {
            other = true;
        }
    }

    // What marks the page: filled or stroked paths, shadings, inline
    // pictures. Building a path ended by "n" (a clip) marks nothing.
    static bool isPainting(const std::string &op)
    {
        static const char *const painting[] = {"S", "s",  "f",  "F",  "f*", "B", "B*",
                                               "b", "b*", "sh", "BI", "ID", "EI"};
        for (const char *name : painting) {
            if (op == name)
                return true;
        }
        return false;
    }

    std::vector<QPDFObjectHandle> m_operands;
    double m_ctm[6] = {1, 0, 0, 1, 0, 0};
    std::vector<std::vector<double>> m_saved;
    bool m_invisibleText = false;
};

bool isName(QPDFObjectHandle object, const char *name)
{
    return object.isName() && object.getName() == name;
}

// Stored as a JPEG a reader shows as the page does: one DCT filter, 8 bits,
// grey or RGB, no mask, no decode array.
bool isPlainJpeg(QPDFObjectHandle dictionary)
{
    QPDFObjectHandle filter = dictionary.getKey("/Filter");
    if (filter.isArray() && filter.getArrayNItems() == 1)
        filter = filter.getArrayItem(0);
    QPDFObjectHandle space = dictionary.getKey("/ColorSpace");
    if (space.isArray() && space.getArrayNItems() == 2 &&
        isName(space.getArrayItem(0), "/ICCBased")) {
        QPDFObjectHandle profile = space.getArrayItem(1);
        QPDFObjectHandle n =
            profile.isStream() ? profile.getDict().getKey("/N") : QPDFObjectHandle::newNull();
        space = QPDFObjectHandle::newName(n.isInteger() && n.getIntValue() == 1   ? "/DeviceGray"
                                          : n.isInteger() && n.getIntValue() == 3 ? "/DeviceRGB"
                                                                                  : "/Other");
    }
    QPDFObjectHandle bits = dictionary.getKey("/BitsPerComponent");
    return isName(filter, "/DCTDecode") &&
           (isName(space, "/DeviceRGB") || isName(space, "/DeviceGray")) && bits.isInteger() &&
           bits.getIntValue() == 8 && !dictionary.hasKey("/SMask") && !dictionary.hasKey("/Mask") &&
           !dictionary.hasKey("/Decode") &&
           !(dictionary.getKey("/ImageMask").isBool() &&
             dictionary.getKey("/ImageMask").getBoolValue());
}

// Drawn upright, unmirrored, over all but a sliver of the page.
bool coversPage(const double m[6], const QPDFObjectHandle::Rectangle &page)
{
    if (m[1] != 0 || m[2] != 0 || m[0] <= 0 || m[3] <= 0)
        return false;
    const double width = page.urx - page.llx, height = page.ury - page.lly;
    if (width <= 0 || height <= 0)
        return false;
    const double left = qMax(m[4], page.llx), right = qMin(m[4] + m[0], page.urx);
    const double bottom = qMax(m[5], page.lly), top = qMin(m[5] + m[3], page.ury);
    return right > left && top > bottom && (right - left) * (top - bottom) >= 0.98 * width * height;
}
} // namespace

namespace {
// The PDF last read, kept open: the pages of a build are asked for one
// after the other, and reading the page tree again for each would cost a
// walk over every page. qpdf's objects are used by one thread at a time.
struct OpenPdf
{
    QString path;
    qint64 size = -1;
    qint64 modified = -1;
    std::unique_ptr<QPDF> pdf;
    std::vector<QPDFPageObjectHelper> pages;
};
QMutex s_openMutex;
// Never destroyed: at exit qpdf's own statics may be gone before it.
OpenPdf &s_open = *new OpenPdf;

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
    open->path = path;
    open->size = file.size;
    open->modified = file.modified;
    return true;
}

// The page's one JPEG when it is a scan, with its pixels an inch; a null
// handle when it is not.
QPDFObjectHandle scanOf(QPDFPageObjectHelper page, qint64 byteBudget, int *resolution)
{
    QPDFObjectHandle none = QPDFObjectHandle::newNull();
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    if (rotate.isInteger() && rotate.getIntValue() % 360 != 0)
        return none;
    const std::map<std::string, QPDFObjectHandle> images = page.getImages();
    if (images.size() != 1)
        return none;
    ContentWalk walk;
    page.parseContents(&walk);
    if (walk.other || walk.drawn != images.begin()->first)
        return none;
    QPDFObjectHandle image = images.begin()->second;
    QPDFObjectHandle dictionary = image.getDict();
    QPDFObjectHandle length = dictionary.getKey("/Length");
    QPDFObjectHandle width = dictionary.getKey("/Width");
    if (!isPlainJpeg(dictionary) || !length.isInteger() || length.getIntValue() <= 0 ||
        length.getIntValue() > byteBudget || !width.isInteger() ||
        !coversPage(walk.matrix, page.getCropBox(false, false).getArrayAsRectangle()))
        return none;
    if (resolution)
        *resolution = int(std::lround(width.getIntValue() / (walk.matrix[0] / 72)));
    return image;
}

QByteArray jpegOf(QPDFPageObjectHelper page, qint64 byteBudget)
{
    QPDFObjectHandle image = scanOf(page, byteBudget, nullptr);
    if (image.isNull())
        return QByteArray();
    const std::shared_ptr<Buffer> data = image.getRawStreamData();
    if (!data || qint64(data->getSize()) > byteBudget)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(data->getBuffer()), int(data->getSize()));
}

// The page at index of the PDF at path, opened or kept open, handed to
// work; what work gives, or fallback when the PDF cannot be read.
template<typename Result, typename Work>
Result onPage(const QString &path, int index, Result fallback, Work work)
{
    QMutexLocker locker(&s_openMutex);
    try {
        const RegularFile now = RegularFile::stat(path);
        if (s_open.path != path || s_open.size != now.size || s_open.modified != now.modified) {
            s_open = OpenPdf();
            if (!openPdf(path, &s_open)) {
                s_open = OpenPdf();
                return fallback;
            }
        }
        if (index < 0 || size_t(index) >= s_open.pages.size())
            return fallback;
        return work(s_open.pages[size_t(index)]);
    } catch (const std::exception &) {
        // Whatever qpdf cannot read, poppler renders or says why.
        s_open = OpenPdf();
        return fallback;
    }
}

// Pixels an inch of the page's sharpest picture, as drawn.
int resolutionOf(QPDFPageObjectHelper page)
{
    std::map<std::string, QPDFObjectHandle> images = page.getImages();
    if (images.empty())
        return 0;
    ContentWalk walk;
    page.parseContents(&walk);
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

QByteArray PdfPicture::scannedJpeg(const QString &path, int index, qint64 byteBudget)
{
    return onPage(path, index, QByteArray(),
                  [byteBudget](QPDFPageObjectHelper page) { return jpegOf(page, byteBudget); });
}

int PdfPicture::pictureResolution(const QString &path, int index)
{
    return onPage(path, index, 0, [](QPDFPageObjectHelper page) { return resolutionOf(page); });
}

PdfPicture::PageKind PdfPicture::kindOf(const QString &path, int index, int resolution,
                                        qint64 byteBudget)
{
    return onPage(path, index, PageKind{false, resolution}, [&](QPDFPageObjectHelper page) {
        PageKind kind;
        kind.scan = !scanOf(page, byteBudget, &kind.resolution).isNull();
        if (!kind.scan)
            kind.resolution = qBound(resolution, resolutionOf(page),
                                     qMax(resolution, int(PdfPages::MaximumResolution)));
        return kind;
    });
}
