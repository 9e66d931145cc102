#ifndef PAGEMOVE_H
#define PAGEMOVE_H

#include <QUndoCommand>

class PageList;
class QListWidgetItem;

// A page row moved from one place in the list to another, by its buttons,
// its keys or a drag; undone by moving it back. The moved row becomes the
// current one.
class PageMove : public QUndoCommand
{
public:
    // made: the row has been moved already (a drag), the first redo does
    // nothing.
    PageMove(PageList *list, QListWidgetItem *row, int from, int to, bool made);

    void undo() override;
    void redo() override;

private:
    PageList *m_list;
    QListWidgetItem *m_row;
    int m_from;
    int m_to;
    bool m_made;
};

#endif // PAGEMOVE_H
