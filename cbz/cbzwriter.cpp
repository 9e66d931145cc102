#include "cbzwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {
const int DeflateMethod = 8;
const int DefaultLevel = -1;
const int RawWindowBits = -15; // a raw deflate stream, as ZIP entries carry it
const int MemoryLevel = 8;
const int DefaultStrategy = 0;

// Creates an empty file of a name nobody uses yet, in the target's folder,
// so that the final move is a rename on the same file system.
QString createPartialFile(const QString &target)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = info.dir().filePath(
            QStringLiteral(".%1.%2.part")
                .arg(info.fileName(), QString::number(QRandomGenerator::global()->generate(), 36)));
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (file.error() != QFileDevice::OpenError || !info.dir().exists())
            break;
    }
    return QString();
}

// Puts the file's data on the disk before its name replaces an older file,
// so that a power cut cannot leave an empty archive where a good one was.
bool syncToDisk(const QString &fileName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fileName);
    return true; // the move below writes through
#else
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && ::fsync(file.handle()) == 0;
#endif
}

// Moves from over to, replacing to in one step where the system allows it.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}
} // namespace

CbzWriter::CbzWriter() = default;

CbzWriter::~CbzWriter()
{
    discard();
}

QString CbzWriter::entryName(int number)
{
    return QStringLiteral("%1.jpg").arg(number, 10, 10, QLatin1Char('0'));
}

bool CbzWriter::open(const QString &fileName)
{
    discard();
    m_target = QFileInfo(fileName).absoluteFilePath();
    m_partial = createPartialFile(m_target);
    if (m_partial.isEmpty())
        return false;
    m_zip = std::make_unique<QuaZip>(m_partial);
    if (!m_zip->open(QuaZip::mdCreate)) {
        discard();
        return false;
    }
    m_next = 0;
    m_failed = false;
    return true;
}

bool CbzWriter::addPage(const QByteArray &jpeg)
{
    if (!m_zip || m_failed)
        return false;
    if (jpeg.isEmpty()) {
        m_failed = true;
        return false;
    }
    QuaZipFile entry(m_zip.get());
    const QuaZipNewInfo info(entryName(m_next));
    if (!entry.open(QIODevice::WriteOnly, info, nullptr, 0, DeflateMethod, DefaultLevel, false,
                    RawWindowBits, MemoryLevel, DefaultStrategy)) {
        m_failed = true;
        return false;
    }
    const qint64 written = entry.write(jpeg);
    entry.close();
    if (written != jpeg.size() || entry.getZipError() != ZIP_OK) {
        m_failed = true;
        return false;
    }
    ++m_next;
    return true;
}

bool CbzWriter::commit()
{
    if (!m_zip || m_failed) {
        discard();
        return false;
    }
    m_zip->close();
    const bool closed = m_zip->getZipError() == ZIP_OK;
    m_zip.reset();
    if (!closed || !syncToDisk(m_partial) || !replaceFile(m_partial, m_target)) {
        discard();
        return false;
    }
    m_partial.clear();
    return true;
}

void CbzWriter::discard()
{
    if (m_zip) {
        if (m_zip->isOpen())
            m_zip->close();
        m_zip.reset();
    }
    if (!m_partial.isEmpty()) {
        QFile::remove(m_partial);
        m_partial.clear();
    }
    m_failed = false;
}
