#include "pagescan.h"

#include "naturalorder.h"

#include <QDir>

QFileInfoList listPageFiles(const QString &folder)
{
    const QDir dir(folder.trimmed());
    const QFileInfoList listed =
        dir.entryInfoList({QStringLiteral("*.png"), QStringLiteral("*.jpg"),
                           QStringLiteral("*.bmp"), QStringLiteral("*.tif")},
                          QDir::Files | QDir::NoSymLinks | QDir::Readable | QDir::NoDotAndDotDot,
                          QDir::Name | QDir::IgnoreCase);

    // Each name is taken once, not at every comparison.
    struct Entry
    {
        QString name;
        int index = 0;
    };
    QVector<Entry> entries;
    entries.reserve(listed.size());
    for (int i = 0; i < listed.size(); ++i)
        entries.append({listed.at(i).fileName(), i});
    stableMergeSort(entries,
                    [](const Entry &a, const Entry &b) { return naturalLess(a.name, b.name); });

    QFileInfoList sorted;
    sorted.reserve(entries.size());
    for (const Entry &entry : qAsConst(entries))
        sorted.append(listed.at(entry.index));
    return sorted;
}
