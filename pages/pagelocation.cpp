#include "pages/pagelocation.h"

#include <QFileInfo>

namespace {
const QString Separator = QStringLiteral("//");
}

PageLocation::PageLocation(const QString &location)
    : m_file(location)
{
    const int at = location.indexOf(Separator);
    if (at <= 0)
        return;
    const int slash = location.indexOf(QLatin1Char('/'), at + Separator.size());
    if (slash < 0)
        return;
    bool ok = false;
    const int index = location.mid(at + Separator.size(), slash - at - Separator.size()).toInt(&ok);
    if (!ok || index < 0)
        return;
    m_file = location.left(at);
    m_index = index;
    m_name = location.mid(slash + 1);
}

QString PageLocation::ofEntry(const QString &container, int index, const QString &name)
{
    return container + Separator + QString::number(index) + QLatin1Char('/') + name;
}

QString PageLocation::displayName() const
{
    return isEntry() ? m_name : QFileInfo(m_file).fileName();
}
