#ifndef PAGEROW_H
#define PAGEROW_H

#include "making/pagetreatment.h"
#include "pages/pagelocation.h"

#include <QCoreApplication>
#include <QListWidgetItem>
#include <QSize>

// One page of the list: its file name (drawn shortened in the middle when
// the list is narrow), where it is read from, checked to go into the
// archive. Its tooltip shows the whole name and the page's size, read from
// the file's header the first time it is asked for, and what the page does
// differently from the book.
class PageRow : public QListWidgetItem
{
    Q_DECLARE_TR_FUNCTIONS(PageRow)

public:
    PageRow(const QString &fileName, const PageLocation &page);

    // Under Qt::UserRole: the page's file as an absolute path, as text; for
    // a page inside an archive or a PDF, the container's path and the
    // entry's name after it ("/books/Tales.cbz/12/p12.jpg").
    static constexpr int PathRole = Qt::UserRole;
    // Under this role: where the page is read from (a PageLocation).
    static constexpr int LocationRole = Qt::UserRole + 5;

    // Under this role: the page's own treatment (a PageTreatment), which
    // moves with the row.
    static constexpr int TreatmentRole = Qt::UserRole + 1;
    // Under this role: the chapter (sub-folder) the page was found in.
    static constexpr int ChapterRole = Qt::UserRole + 2;
    // Under these roles: what cleaning the page up as a scan found, short
    // for the row ("1.8°", "blank") and in full for its tooltip.
    static constexpr int ScanMarkRole = Qt::UserRole + 3;
    static constexpr int ScanNoteRole = Qt::UserRole + 4;

    QVariant data(int role) const override;

    static PageLocation locationOf(const QListWidgetItem *row);
    static PageTreatment treatmentOf(const QListWidgetItem *row);
    static void setTreatment(QListWidgetItem *row, const PageTreatment &treatment);

private:
    mutable QSize m_pageSize;
    mutable bool m_sizeRead = false;
};

#endif // PAGEROW_H
