#include "making/zipwriter.h"

#include <QFile>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

namespace {
const int DefaultLevel = -1;
} // namespace

ZipWriter::ZipWriter() = default;

ZipWriter::~ZipWriter()
{
    discard();
}

QString ZipWriter::entryName(int number, const QString &suffix)
{
    return QStringLiteral("%1.%2").arg(number, 10, 10, QLatin1Char('0')).arg(suffix);
}

bool ZipWriter::open(const QString &fileName)
{
    discard();
    m_error.clear();
    if (!m_file.open(fileName))
        return false;
    m_zip = std::make_unique<QuaZip>(m_file.file());
    // The file is closed here, after its error has been read: closing it
    // would forget the error.
    m_zip->setAutoClose(false);
    if (!m_zip->open(QuaZip::mdCreate)) {
        fail(m_file.fileError(tr("The archive cannot be started")));
        discard();
        return false;
    }
    m_next = 0;
    m_failed = false;
    return true;
}

bool ZipWriter::addEntry(const PackedEntry &entry)
{
    const QString name = entryName(m_next, entry.suffix);
    if (!addNamedEntry(m_pageFolder + name, entry))
        return false;
    m_lastPage = name;
    ++m_next;
    return true;
}

bool ZipWriter::addNamedEntry(const QString &name, const PackedEntry &entry)
{
    if (!m_zip || m_failed)
        return false;
    if (entry.size == 0 || entry.compressed.isEmpty())
        return fail(tr("Entry %1 would be empty.").arg(name));
    QuaZipFile file(m_zip.get());
    QuaZipNewInfo info(name);
    if (m_entryTime.isValid())
        info.dateTime = m_entryTime;
    info.uncompressedSize = ulong(entry.size);
    // A regular file anyone may read: without it, an unpacked page would be
    // readable by nobody (mode 000).
    info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                        QFile::ReadGroup | QFile::ReadOther);
    if (!file.open(QIODevice::WriteOnly, info, nullptr, entry.crc, entry.method, DefaultLevel,
                   true))
        return fail(m_file.fileError(tr("Entry %1 cannot be started").arg(name)));
    const qint64 written = file.write(entry.compressed);
    file.close();
    if (written != entry.compressed.size() || file.getZipError() != ZIP_OK)
        return fail(m_file.fileError(tr("Entry %1 cannot be written").arg(name)));
    m_written.append({name, entry.crc, entry.compressed.size(), entry.size, entry.method});
    return true;
}

// The central directory, read back from the disk, must list exactly what
// was written: a file cut short (a disk that filled while the index was
// written) has none, or a wrong one.
bool ZipWriter::verifyPartial()
{
    QuaZip zip(m_file.fileName());
    if (!zip.open(QuaZip::mdUnzip)) {
        // An archive without entries is only its end record; QuaZip will
        // not open it, so check that record's bytes instead.
        QFile file(m_file.fileName());
        const bool emptyArchive = m_written.isEmpty() && file.open(QIODevice::ReadOnly) &&
                                  file.size() == 22 && file.read(4) == "PK\x05\x06";
        return emptyArchive || fail(tr("The finished archive cannot be read back."));
    }
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    bool same = zip.getZipError() == ZIP_OK && entries.size() == m_written.size();
    for (int i = 0; same && i < entries.size(); ++i) {
        const QuaZipFileInfo64 &e = entries.at(i);
        const Written &w = m_written.at(i);
        same = e.name == w.name && e.crc == w.crc && qint64(e.compressedSize) == w.compressedSize &&
               qint64(e.uncompressedSize) == w.size && e.method == w.method;
    }
    zip.close();
    return same || fail(tr("The finished archive does not read back as it was written."));
}

bool ZipWriter::commit(bool replace)
{
    if (!m_zip || m_failed) {
        discard();
        if (m_error.isEmpty())
            m_error = tr("The archive was not started.");
        return false;
    }
    m_zip->close();
    const bool closed = m_zip->getZipError() == ZIP_OK && !m_file.writeFailed();
    if (!closed)
        fail(m_file.fileError(tr("The archive cannot be finished")));
    m_zip.reset();
    m_file.file()->close();
    if (closed && m_file.writeFailed())
        fail(m_file.fileError(tr("The archive cannot be finished")));
    if (!m_failed && verifyPartial() && !m_file.commit(replace))
        fail(m_file.errorString());
    if (m_failed) {
        discard();
        return false;
    }
    m_written.clear();
    return true;
}

void ZipWriter::discard()
{
    if (m_zip) {
        if (m_zip->isOpen())
            m_zip->close();
        m_zip.reset();
    }
    m_file.discard();
    m_written.clear();
    m_failed = false;
}

bool ZipWriter::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    m_failed = true;
    return false;
}

QString ZipWriter::errorString() const
{
    return m_error.isEmpty() ? m_file.errorString() : m_error;
}
