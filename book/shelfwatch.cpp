#include "book/shelfwatch.h"

#include "pages/pagesource.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {
const int DepthLimit = 8;
const int EntryLimit = 100000;
} // namespace

ShelfWatch::ShelfWatch(const QString &folder, qint64 settleMs)
    : m_folder(QDir(folder).absolutePath())
    , m_settle(settleMs)
{}

QByteArray ShelfWatch::signatureOf(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto add = [&hash](const QFileInfo &info, const QString &name) {
        hash.addData(name.toUtf8());
        hash.addData(QByteArray::number(info.size()));
        hash.addData(QByteArray::number(info.lastModified().toMSecsSinceEpoch()));
    };
    const QFileInfo top(path);
    add(top, QString());
    if (!top.isDir())
        return hash.result();
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList seen;
    while (it.hasNext() && seen.size() < EntryLimit) {
        const QString file = it.next();
        const QString relative = file.mid(path.size());
        if (relative.count(QLatin1Char('/')) > DepthLimit)
            continue;
        seen << relative;
    }
    // The order a directory lists in is the file system's: sorted, the same
    // files give the same signature.
    seen.sort();
    for (const QString &relative : qAsConst(seen))
        add(QFileInfo(path + relative), relative);
    return hash.result();
}

QStringList ShelfWatch::due(qint64 now)
{
    const QFileInfoList found =
        QDir(m_folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    QSet<QString> present;
    QStringList due;
    m_nextLook = -1;
    for (const QFileInfo &info : found) {
        const QString path = info.absoluteFilePath();
        // Partial files, hidden copies and what this watch made are no books.
        if (info.fileName().startsWith(QLatin1Char('.')) || m_targets.contains(path) ||
            (!info.isDir() && !isBookFile(path)))
            continue;
        present.insert(path);
        const QByteArray signature = signatureOf(path);
        Entry &entry = m_entries[path];
        if (entry.signature != signature) {
            entry.signature = signature;
            entry.since = now;
        }
        if (entry.signature == entry.doneFrom)
            continue;
        const qint64 settled = entry.since + m_settle;
        if (settled <= now)
            due << path;
        else if (m_nextLook < 0 || settled < m_nextLook)
            m_nextLook = settled;
    }
    // A book gone is forgotten: one of its name that comes is new.
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!present.contains(it.key()))
            it = m_entries.erase(it);
        else
            ++it;
    }
    return due;
}

void ShelfWatch::started(const QString &path)
{
    m_entries[path].startedFrom = signatureOf(path);
}

void ShelfWatch::finished(const QString &path, const QString &target)
{
    Entry &entry = m_entries[path];
    if (!target.isEmpty())
        m_targets.insert(QFileInfo(target).absoluteFilePath());
    // What changed meanwhile differs from this, and is due again once it
    // settles.
    entry.doneFrom = entry.startedFrom;
    entry.madeBefore = true;
}

bool ShelfWatch::madeBefore(const QString &path) const
{
    return m_entries.value(path).madeBefore;
}
