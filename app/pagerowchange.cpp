#include "app/pagerowchange.h"

PageRowChange::PageRowChange(PageList *list, QListWidgetItem *row, const PageList::RowState &before,
                             const PageList::RowState &after, const QString &text)
    : QUndoCommand(text)
    , m_list(list)
    , m_row(row)
    , m_before(before)
    , m_after(after)
{}

void PageRowChange::undo()
{
    m_list->setRowState(m_row, m_before);
}

void PageRowChange::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    m_list->setRowState(m_row, m_after);
}
