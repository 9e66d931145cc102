#include "app/pagerow.h"

#include "pages/pagelocation.h"
#include "pages/pagereader.h"

#include <QFileInfo>

PageRow::PageRow(const QString &fileName, const PageLocation &page)
    : QListWidgetItem(fileName)
{
    const QString file = QFileInfo(page.file()).absoluteFilePath();
    setData(PathRole,
            page.isEntry() || page.isPdfPage() ? file + QLatin1Char('/') + page.entryName() : file);
    setData(LocationRole, QVariant::fromValue(page));
    setCheckState(Qt::Checked);
    setFlags(flags() | Qt::ItemIsUserCheckable);
}

QVariant PageRow::data(int role) const
{
    if (role != Qt::ToolTipRole)
        return QListWidgetItem::data(role);
    if (!m_sizeRead) {
        m_sizeRead = true;
        // An archive's entry would be read whole for its size: not here.
        const PageLocation page = locationOf(this);
        if (!page.isEntry())
            m_pageSize = PageReader::readHeaderSize(page);
    }
    QString tip = text();
    if (m_pageSize.isValid())
        tip = tr("%1\n%2 × %3 pixels").arg(tip).arg(m_pageSize.width()).arg(m_pageSize.height());
    const PageTreatment own = treatmentOf(this);
    if (!own.isDefault())
        tip += QLatin1Char('\n') + tr("Its own: %1").arg(own.description());
    const QString scan = data(ScanNoteRole).toString();
    if (!scan.isEmpty())
        tip += QLatin1Char('\n') + scan;
    return tip;
}

PageLocation PageRow::locationOf(const QListWidgetItem *row)
{
    return row ? row->data(LocationRole).value<PageLocation>() : PageLocation();
}

PageTreatment PageRow::treatmentOf(const QListWidgetItem *row)
{
    return row ? row->data(TreatmentRole).value<PageTreatment>() : PageTreatment();
}

void PageRow::setTreatment(QListWidgetItem *row, const PageTreatment &treatment)
{
    row->setData(TreatmentRole,
                 treatment.isDefault() ? QVariant() : QVariant::fromValue(treatment));
}
