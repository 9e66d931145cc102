#include "app/pagemove.h"

#include "app/pagelist.h"

#include <QCoreApplication>

PageMove::PageMove(PageList *list, QListWidgetItem *row, int from, int to, bool made)
    : QUndoCommand(QCoreApplication::translate("PageList", "Move Page"))
    , m_list(list)
    , m_row(row)
    , m_from(from)
    , m_to(to)
    , m_made(made)
{}

void PageMove::undo()
{
    m_list->moveRow(m_row, m_from);
}

void PageMove::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    m_list->moveRow(m_row, m_to);
}
