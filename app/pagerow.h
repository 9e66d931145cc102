#ifndef PAGEROW_H
#define PAGEROW_H

#include <QCoreApplication>
#include <QListWidgetItem>
#include <QSize>

// One page of the list: its file name (drawn shortened in the middle when
// the list is narrow), its path under Qt::UserRole, checked to go into the
// archive. Its tooltip shows the whole name and the page's size, read from
// the file's header the first time it is asked for.
class PageRow : public QListWidgetItem
{
    Q_DECLARE_TR_FUNCTIONS(PageRow)

public:
    PageRow(const QString &fileName, const QString &path);

    QVariant data(int role) const override;

private:
    mutable QSize m_pageSize;
    mutable bool m_sizeRead = false;
};

#endif // PAGEROW_H
