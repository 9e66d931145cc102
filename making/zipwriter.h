#ifndef ZIPWRITER_H
#define ZIPWRITER_H

#include "making/packedentry.h"
#include "making/partialfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QVector>

#include <memory>

class QuaZip;

// Writes a CBZ archive: a ZIP file whose entries are pages (JPEG, or WebP,
// PNG and GIF kept as they were) named by a ten-digit running number from
// 0000000000 with their type's suffix, deflate-compressed or stored, and
// any named entry such as ComicInfo.xml.
//
// The archive is written into a new file beside the chosen name and moved
// over it only by commit(), once every entry and the archive itself closed
// without an error and the finished file has been read back whole. Until
// then a file of the chosen name is left as it was, and discard() (or the
// destructor) removes only the partial file. Every failure leaves its
// reason in errorString().
class ZipWriter
{
    Q_DECLARE_TR_FUNCTIONS(ZipWriter)

public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // Starts a new archive that will be named fileName. False when no file
    // can be created in that folder.
    [[nodiscard]] bool open(const QString &fileName);

    // Writes the next page, packed already. An empty page is refused: it
    // would be an entry that no reader can show. False on any error; the
    // archive is then unusable and can only be discarded.
    [[nodiscard]] bool addEntry(const PackedEntry &entry);
    // Pages go into this folder of the archive ("OEBPS/images/"); none
    // by default.
    void setPageFolder(const QString &folder) { m_pageFolder = folder; }
    // The time every entry is dated with; by default, when it is written.
    void setEntryTime(const QDateTime &time) { m_entryTime = time; }
    // The name the last page was written under.
    QString lastPageName() const { return m_lastPage; }
    // Writes a last entry of its own name (not a page), deflated already.
    [[nodiscard]] bool addNamedEntry(const QString &name, const PackedEntry &entry);

    // Closes the archive, reads it back, and gives it the chosen name. A
    // file of that name is replaced only when replace is set; without it, a
    // file that appeared while the archive was written is left alone and
    // the commit fails. False when anything failed; nothing is left behind
    // then.
    [[nodiscard]] bool commit(bool replace = true);

    // Drops the partial archive; errorString() keeps the reason.
    void discard();

    int pageCount() const { return m_next; }
    QString partialFileName() const { return m_file.fileName(); }
    QString errorString() const;

    // "0000000042.jpg" for 42 (or .webp, .png, ... for other types).
    static QString entryName(int number, const QString &suffix = QStringLiteral("jpg"));

private:
    QString m_pageFolder;
    QDateTime m_entryTime;
    QString m_lastPage;
    struct Written
    {
        QString name;
        quint32 crc;
        qint64 compressedSize;
        qint64 size;
        int method;
    };

    bool fail(const QString &reason);
    bool verifyPartial();

    PartialFile m_file;
    std::unique_ptr<QuaZip> m_zip;
    QVector<Written> m_written;
    int m_next = 0;
    bool m_failed = false;
    QString m_error;
};

#endif // ZIPWRITER_H
