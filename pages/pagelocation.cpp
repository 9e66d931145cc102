#include "pages/pagelocation.h"

#include <QFileInfo>

PageLocation PageLocation::ofEntry(const QString &container, int index, const QString &name)
{
    PageLocation location(container);
    location.m_index = qMax(0, index);
    location.m_name = name;
    return location;
}

PageLocation PageLocation::ofPdfPage(const QString &pdf, int index, const QString &name)
{
    PageLocation location = ofEntry(pdf, index, name);
    location.m_pdf = true;
    return location;
}

QString PageLocation::displayName() const
{
    return isEntry() ? m_name : QFileInfo(m_file).fileName();
}

QString PageLocation::shownPath() const
{
    return isEntry() ? QStringLiteral("%1: %2").arg(m_file, m_name) : m_file;
}
