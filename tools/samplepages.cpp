#include "samplepages.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QVector>

namespace {
void addGrain(QImage &image, QRandomGenerator &random)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(9)) - 4;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + noise, 255), qBound(0, qGreen(p) + noise, 255),
                           qBound(0, qBlue(p) + noise, 255));
        }
    }
}

void drawBalloon(QPainter &painter, const QRect &panel, QRandomGenerator &random)
{
    const int w = panel.width() * 2 / 5, h = panel.height() / 4;
    const QRect balloon(panel.left() + 20 + random.bounded(qMax(1, panel.width() - w - 40)),
                        panel.top() + 20, w, h);
    QPainterPath path;
    path.addEllipse(balloon);
    const QPointF tip(balloon.center().x() + w / 5, balloon.bottom() + h / 2);
    QPainterPath tail;
    tail.moveTo(balloon.center().x(), balloon.bottom() - 4);
    tail.lineTo(tip);
    tail.lineTo(balloon.center().x() + w / 4, balloon.bottom() - 8);
    path = path.united(tail);
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
    for (int line = 0; line < 3; ++line) {
        const int width = w * (60 - 12 * line) / 100;
        painter.fillRect(balloon.center().x() - width / 2, balloon.top() + h / 4 + line * h / 5,
                         width, qMax(4, h / 12), QColor(40, 40, 40));
    }
}
} // namespace

QImage drawComicPage(int number, const QSize &size)
{
    QRandomGenerator random(quint32(number) * 7919u + 17u);
    QImage page(size, QImage::Format_RGB32);
    page.fill(QColor(246, 241, 228));
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);

    const int margin = size.width() / 14;
    const int gap = size.width() / 60;
    const int rows = 3;
    const int rowHeight = (size.height() - 2 * margin - (rows - 1) * gap) / rows;
    for (int row = 0; row < rows; ++row) {
        const int columns = 1 + int(random.bounded(2));
        const int columnWidth = (size.width() - 2 * margin - (columns - 1) * gap) / columns;
        for (int column = 0; column < columns; ++column) {
            const QRect panel(margin + column * (columnWidth + gap),
                              margin + row * (rowHeight + gap), columnWidth, rowHeight);
            painter.fillRect(panel, QColor::fromHsv(int(random.bounded(360)), 50, 235));
            // A horizon and a few figures.
            painter.fillRect(panel.adjusted(0, panel.height() * 2 / 3, 0, 0),
                             QColor::fromHsv(int(random.bounded(360)), 90, 170));
            for (int figure = 0; figure < 3; ++figure) {
                painter.setPen(QPen(Qt::black, 3));
                painter.setBrush(QColor::fromHsv(int(random.bounded(360)), 160, 200));
                const int r = panel.height() / 8 + int(random.bounded(panel.height() / 8));
                painter.drawEllipse(
                    QPoint(panel.left() + int(random.bounded(panel.width())),
                           panel.top() + panel.height() / 2 + int(random.bounded(r))),
                    r / 2, r);
            }
            drawBalloon(painter, panel, random);
            painter.setPen(QPen(Qt::black, qMax(3, size.width() / 250)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(panel);
        }
    }
    QFont font = painter.font();
    font.setPixelSize(margin / 2);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, size.height() - margin, size.width(), margin), Qt::AlignCenter,
                     QString::number(number));
    painter.end();
    addGrain(page, random);
    return page;
}

QImage drawSpread(int leftNumber, const QSize &pageSize)
{
    QImage spread(pageSize.width() * 2, pageSize.height(), QImage::Format_RGB32);
    QPainter painter(&spread);
    painter.drawImage(0, 0, drawComicPage(leftNumber, pageSize));
    painter.drawImage(pageSize.width(), 0, drawComicPage(leftNumber + 1, pageSize));
    // The binding's shadow down the middle.
    QLinearGradient gutter(pageSize.width() - 40, 0, pageSize.width() + 40, 0);
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.5, QColor(0, 0, 0, 90));
    gutter.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(pageSize.width() - 40, 0, 80, pageSize.height(), gutter);
    return spread;
}

QImage addScannerBorder(const QImage &page, int border)
{
    QImage scan(page.width() + 2 * border, page.height() + 2 * border, QImage::Format_RGB32);
    scan.fill(QColor(38, 38, 42));
    QPainter painter(&scan);
    // The lid's shadow is uneven: a lighter band along one edge.
    painter.fillRect(0, 0, border / 2, scan.height(), QColor(70, 70, 76));
    painter.drawImage(border, border, page);
    return scan;
}

QImage addScannerNoise(QImage page, quint32 seed)
{
    page = page.convertToFormat(QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < page.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const quint32 noise = random.generate();
            const auto shift = [&](int value, int bits) {
                return qBound(0, value + int((noise >> bits) & 31) - 16, 255);
            };
            row[x] =
                qRgb(shift(qRed(row[x]), 0), shift(qGreen(row[x]), 8), shift(qBlue(row[x]), 16));
        }
    }
    return page;
}

QImage turnedOnPaper(const QImage &page, double degrees)
{
    QImage turned(page.size(), QImage::Format_RGB32);
    turned.fill(page.pixel(0, 0));
    QPainter painter(&turned);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(page.width() / 2.0, page.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-page.width() / 2.0, -page.height() / 2.0);
    painter.drawImage(0, 0, page);
    return turned;
}

QByteArray pdfOfScans(const QList<PdfScan> &pages)
{
    QByteArray pdf("%PDF-1.4\n");
    QVector<int> offsets;
    const auto object = [&](const QByteArray &body) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    const auto stream = [](const QByteArray &dictionary, const QByteArray &data) {
        return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) +
               " >>\nstream\n" + data + "\nendstream";
    };
    // 1 catalog, 2 page tree, 3 font, then page, picture and content for each page.
    QByteArray kids;
    for (int i = 0; i < pages.size(); ++i)
        kids += QByteArray::number(4 + 3 * i) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R " +
           (pages.isEmpty() ? QByteArray() : pages.first().catalogKeys) + " >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size()) +
           " >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 0; i < pages.size(); ++i) {
        const PdfScan &page = pages.at(i);
        const QByteArray w = QByteArray::number(page.pixels.width() * 72.0 / 300, 'f', 2);
        const QByteArray h = QByteArray::number(page.pixels.height() * 72.0 / 300, 'f', 2);
        const QByteArray picture = QByteArray::number(5 + 3 * i) + " 0 R";
        const QByteArray content = QByteArray::number(6 + 3 * i) + " 0 R";
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
               "] /Resources << /XObject << /Im0 " + picture + " >> /Font << /F1 3 0 R >> " +
               page.resources + " >> /Contents " + content + " " + page.pageKeys +
               (page.rotate ? " /Rotate " + QByteArray::number(page.rotate) : QByteArray()) +
               " >>");
        const QSize claimed = page.claimed.isValid() ? page.claimed : page.pixels;
        object(stream("/Type /XObject /Subtype /Image /Width " +
                          QByteArray::number(claimed.width()) + " /Height " +
                          QByteArray::number(claimed.height()) + " " + page.pictureKeys +
                          " /ColorSpace " +
                          (!page.space.isEmpty() ? page.space
                           : page.grey           ? QByteArray("/DeviceGray")
                                                 : QByteArray("/DeviceRGB")) +
                          " /BitsPerComponent 8 /Filter " + page.filter,
                      page.stored));
        QByteArray placement = page.placement.isEmpty() ? "w 0 0 h 0 0" : page.placement;
        placement.replace('w', w).replace('h', h);
        object(stream("", "q " + placement + " cm /Im0 Do Q\n" + page.alsoDrawn));
    }
    for (const PdfScan &page : pages) {
        for (const QByteArray &body : page.objects)
            object(body);
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

namespace {
// The panels of a webtoon chapter, top to bottom, down to row bottom: the
// same seed always lays them out alike. Now and then a panel runs on with
// no gutter under it, as a long scene does.
QVector<QRect> webtoonPanels(quint32 seed, int width, qint64 bottom)
{
    QRandomGenerator random(seed * 104729u + 3u);
    QVector<QRect> panels;
    qint64 y = width / 8;
    while (y < bottom) {
        const int height = width / 2 + int(random.bounded(width));
        const int margin = random.bounded(3) == 0 ? 0 : width / 12;
        panels.append(QRect(margin, int(y), width - 2 * margin, height));
        const bool joined = random.bounded(6) == 0;
        y += height + (joined ? 0 : width / 10 + int(random.bounded(width / 3)));
    }
    return panels;
}
} // namespace

QImage drawWebtoonTile(quint32 seed, int width, int tileHeight, int tile)
{
    const qint64 top = qint64(tile) * tileHeight;
    QImage picture(width, tileHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0, -top);
    int number = 0;
    for (const QRect &panel : webtoonPanels(seed, width, top + tileHeight)) {
        QRandomGenerator random(seed + quint32(++number) * 7919u);
        if (panel.bottom() < top)
            continue;
        // A sky, a ground and faces, then what they say.
        painter.fillRect(panel, QColor::fromHsv(int(random.bounded(360)), 70, 235));
        painter.fillRect(panel.adjusted(0, panel.height() * 3 / 5, 0, 0),
                         QColor::fromHsv(int(random.bounded(360)), 120, 160));
        for (int face = 0; face < 2; ++face) {
            const int r = panel.width() / 9 + int(random.bounded(panel.width() / 9));
            const QPoint centre(panel.left() + r +
                                    int(random.bounded(qMax(1, panel.width() - 2 * r))),
                                panel.top() + panel.height() / 2 + int(random.bounded(r)));
            painter.setPen(QPen(Qt::black, 3));
            painter.setBrush(QColor::fromHsv(int(random.bounded(40)), 60, 240));
            painter.drawEllipse(centre, r, r * 5 / 4);
            painter.setBrush(Qt::black);
            painter.drawEllipse(centre + QPoint(-r / 3, -r / 4), r / 8, r / 6);
            painter.drawEllipse(centre + QPoint(r / 3, -r / 4), r / 8, r / 6);
        }
        drawBalloon(painter, panel, random);
        if (panel.left() > 0) {
            painter.setPen(QPen(Qt::black, 4));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(panel);
        }
    }
    painter.end();
    return picture;
}

QStringList writeSampleFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return {};
    const QSize pageSize(1200, 1800);
    const QDir dir(folder);
    QStringList written;
    auto save = [&](const QImage &image, const QString &name, const char *format) {
        if (image.save(dir.filePath(name), format, 92))
            written << name;
    };
    save(drawComicPage(1, pageSize), QStringLiteral("page 1 cover.jpg"), "jpg");
    save(drawComicPage(2, pageSize), QStringLiteral("page 2.png"), "png");
    save(drawComicPage(3, pageSize), QStringLiteral("page 3.jpg"), "jpg");
    save(drawSpread(4, pageSize), QStringLiteral("page 4-5 spread.jpg"), "jpg");
    save(addScannerBorder(drawComicPage(6, pageSize), 40), QStringLiteral("page 6 scan.tif"),
         "tif");
    save(drawComicPage(7, pageSize), QStringLiteral("page 7.bmp"), "bmp");
    save(drawComicPage(8, pageSize), QStringLiteral("page 8.jpg"), "jpg");
    save(drawComicPage(9, pageSize), QStringLiteral("page 9.jpg"), "jpg");
    save(drawComicPage(10, pageSize), QStringLiteral("page 10 back.jpg"), "jpg");
    return written.size() == 9 ? written : QStringList();
}
