#include "app/pagerow.h"

#include "pages/pagereader.h"

PageRow::PageRow(const QString &fileName, const QString &path)
    : QListWidgetItem(fileName)
{
    setData(Qt::UserRole, path);
    setCheckState(Qt::Checked);
    setFlags(flags() | Qt::ItemIsUserCheckable);
}

QVariant PageRow::data(int role) const
{
    if (role != Qt::ToolTipRole)
        return QListWidgetItem::data(role);
    if (!m_sizeRead) {
        m_sizeRead = true;
        m_pageSize = PageReader::readHeaderSize(QListWidgetItem::data(Qt::UserRole).toString());
    }
    const QString name = text();
    if (!m_pageSize.isValid())
        return name;
    return tr("%1\n%2 × %3 pixels").arg(name).arg(m_pageSize.width()).arg(m_pageSize.height());
}
