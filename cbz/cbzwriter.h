#ifndef CBZWRITER_H
#define CBZWRITER_H

#include <QByteArray>
#include <QString>

#include <memory>

class QuaZip;

// Writes a CBZ archive: a ZIP file whose entries are JPEG pages named by a
// ten-digit running number from 0000000000.jpg, deflate-compressed.
//
// The archive is written into a new file beside the chosen name and moved
// over it only by commit(), once every entry and the archive itself closed
// without an error. Until then a file of the chosen name is left as it was,
// and discard() (or the destructor) removes only the partial file.
class CbzWriter
{
public:
    CbzWriter();
    ~CbzWriter();
    CbzWriter(const CbzWriter &) = delete;
    CbzWriter &operator=(const CbzWriter &) = delete;

    // Starts a new archive that will be named fileName. False when no file
    // can be created in that folder.
    bool open(const QString &fileName);

    // Writes the next entry. An empty page is refused: it would be an
    // entry that no reader can show. False on any error; the archive is then
    // unusable and can only be discarded.
    bool addPage(const QByteArray &jpeg);

    // Closes the archive and moves it over the chosen name, replacing any
    // file there. False when anything failed; nothing is left behind then.
    bool commit();

    // Drops the partial archive.
    void discard();

    int pageCount() const { return m_next; }
    QString partialFileName() const { return m_partial; }

    // "0000000042.jpg" for 42.
    static QString entryName(int number);

private:
    QString m_target;
    QString m_partial;
    std::unique_ptr<QuaZip> m_zip;
    int m_next = 0;
    bool m_failed = false;
};

#endif // CBZWRITER_H
