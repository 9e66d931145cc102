#ifndef PAGEROWCHANGE_H
#define PAGEROWCHANGE_H

#include "app/pagelist.h"

#include <QUndoCommand>

// A page row checked, unchecked or given another treatment, undone by
// giving the row what it had before. The row is found by its item, which
// stays the same wherever the row is moved.
class PageRowChange : public QUndoCommand
{
public:
    // The change has been made already: the first redo does nothing.
    PageRowChange(PageList *list, QListWidgetItem *row, const PageList::RowState &before,
                  const PageList::RowState &after, const QString &text);

    void undo() override;
    void redo() override;

private:
    PageList *m_list;
    QListWidgetItem *m_row;
    PageList::RowState m_before;
    PageList::RowState m_after;
    bool m_made = true;
};

#endif // PAGEROWCHANGE_H
