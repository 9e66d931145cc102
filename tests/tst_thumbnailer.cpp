#include "testsupport.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>

#include <libdeflate.h>

using namespace TestSupport;

using Entries = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Entries)

namespace {
bool writeZip(const QString &path, const Entries &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first)) ||
            file.write(entry.second) != entry.second.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

QByteArray png(int width, int height, const QColor &colour)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, "png");
    return data;
}

// A PNG header claiming a huge picture, its checksum right.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray data = png(1, 1, Qt::black);
    for (int i = 0; i < 4; ++i) {
        data[16 + i] = char(width >> (24 - 8 * i));
        data[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = libdeflate_crc32(0, data.constData() + 12, 17);
    for (int i = 0; i < 4; ++i)
        data[29 + i] = char(crc >> (24 - 8 * i));
    return data;
}
} // namespace

class tst_Thumbnailer : public QObject
{
    Q_OBJECT

private slots:
    void covers_data();
    void covers();
};

void tst_Thumbnailer::covers_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QSize>("size"); // invalid: no thumbnail
    const QByteArray red = png(300, 450, Qt::red), blue = png(300, 450, Qt::blue);
    QTest::newRow("the first page in natural order")
        << Entries{{"p10.png", blue}, {"p2.png", red}, {"ComicInfo.xml", "<ComicInfo/>"}}
        << QSize(85, 128);
    QTest::newRow("a page smaller than asked stays as it is")
        << Entries{{"a.png", png(40, 30, Qt::red)}} << QSize(40, 30);
    QTest::newRow("a page claiming billions of pixels")
        << Entries{{"a.png", pngClaiming(60000, 60000)}} << QSize();
    QTest::newRow("no page") << Entries{{"notes.txt", "text"}} << QSize();
}

void tst_Thumbnailer::covers()
{
    QFETCH(Entries, entries);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString archive = dir.filePath("book.cbz"), thumbnail = dir.filePath("cover.png");
    QVERIFY(writeZip(archive, entries));
    QProcess process;
    process.start(QStringLiteral(QUIREVALE_THUMBNAILER), {"-s", "128", archive, thumbnail});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), size.isValid() ? 0 : 1);
    const QImage cover(thumbnail);
    QCOMPARE(cover.isNull(), !size.isValid()); // nothing written on a failure
    if (!size.isValid())
        return;
    QCOMPARE(cover.size(), size);
    QVERIFY(colorNear(cover.pixelColor(cover.width() / 2, cover.height() / 2), Qt::red, 8));
}

QUIREVALE_TEST_MAIN(tst_Thumbnailer)
#include "tst_thumbnailer.moc"
