#ifndef PAGELIST_H
#define PAGELIST_H

#include "book/book.h"
#include "making/pagetreatment.h"
#include "pages/pagelocation.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QVariant>
#include <QVector>

#include <functional>

class QAction;
class QListWidget;
class QListWidgetItem;
class QUndoStack;
class QWidget;

// The page list of the main window: the rows of a book's pages, checked to
// go into the archive, moved by the user, each with what it does
// differently from the book (its own turn, cut or border), set from keys
// that work anywhere in the window and from the list's context menu. What
// the user does to the rows (a move, a check, a treatment) is undone and
// redone from the Edit menu until another book is listed.
class PageList : public QObject
{
    Q_OBJECT

public:
    // What a row holds that the user changes: its check, its treatment, and
    // whether (and with what mark) it was left out as blank.
    struct RowState
    {
        Qt::CheckState check = Qt::Checked;
        PageTreatment treatment;
        bool blankUnchecked = false;
        QVariant mark;
        QVariant note;
        bool operator==(const RowState &other) const;
    };

    PageList(QListWidget *list, QWidget *window);

    // The Edit menu's entries, which undo and redo the user's changes
    // while the rows are not locked.
    void setEditActions(QAction *undo, QAction *redo);
    RowState rowState(QListWidgetItem *row) const;
    // The row given state, as the program's own change.
    void setRowState(QListWidgetItem *row, const RowState &state);
    // The row moved to the place to, and made current.
    void moveRow(QListWidgetItem *row, int to);

    // The rows of book's pages, none current yet.
    void fill(const Book &book);
    int count() const;
    void setCurrentRow(int row);
    // Where the current row's page is read from; null without one.
    PageLocation current() const;
    PageTreatment currentTreatment() const;
    // The pages worth reading ahead of the current one: the next and the
    // one before as a reader moves on; while the current row steps one way
    // as a held key moves it, three that way from the second on.
    QVector<PageLocation> neighbours();
    // Whether the rows were passing at a held key's pace when neighbours()
    // was last asked: the current page will be passed before it is read.
    bool passing() const { return m_passing; }
    // The checked rows' pages, in the order of the list.
    QVector<Book::Page> checkedPages() const;
    // The row that has page as its own; -1 for none.
    int rowOf(const PageLocation &page) const;

    // The current row a step up or down, within the list.
    void moveCurrent(int step);
    // Another book's list would drop what the pages were given here: true
    // when there is nothing to lose or the user said to go on.
    bool forgetTreatmentsFirst();
    // While a build runs, the rows keep what they have.
    void setLocked(bool locked);
    void showContextMenu(const QPoint &at);
    // The actions' names, in the current language.
    void describeActions();
    // The book's border, offered for a page's own.
    void setBookBorder(const std::function<int()> &border) { m_bookBorder = border; }

    // What cleaning page up as a scan found: mark on its row ("1.8°"),
    // note in its tooltip.
    void setScanNote(const PageLocation &page, const QString &mark, const QString &note);
    // page was found blank, or not: a blank page is marked and unchecked,
    // unless its row keeps it; checking it again keeps it.
    void setBlank(const PageLocation &page, bool blank);
    // Blank pages are no longer left out: the rows unchecked for it are
    // checked again, and their marks go.
    void forgetBlanks();
    // The names of the rows unchecked because their pages are blank.
    QStringList blankLeftOut() const;
    // The slants found go from every row (not the blank marks): pages are
    // no longer straightened.
    void forgetSlants();
    // Every page, for those who look at them all.
    QVector<PageLocation> pages() const;

signals:
    // The current row's own treatment changed.
    void treatmentChanged();

private:
    void makeActions();
    void treatCurrent(const std::function<void(PageTreatment &)> &change, QAction *by);
    void askOwnBorder(PageTreatment &own);
    void askOwnSlant(PageTreatment &own);
    void rowChanged(QListWidgetItem *row);
    void keepIfBlank(QListWidgetItem *row);
    void rowsDragged(int start, int end, int row);
    void updateEditActions();

    QListWidget *m_list;
    QWidget *m_window;
    // Where the current row was when neighbours() was last asked, and since when.
    int m_lastRow = -1;
    QElapsedTimer m_sinceLastRow;
    bool m_passing = false;
    bool m_locked = false;
    std::function<int()> m_bookBorder;
    QAction *m_turnRight = nullptr;
    QAction *m_turnLeft = nullptr;
    QAction *m_cutAsBook = nullptr;
    QAction *m_alwaysCut = nullptr;
    QAction *m_neverCut = nullptr;
    QAction *m_borderAsBook = nullptr;
    QAction *m_noBorder = nullptr;
    QAction *m_ownBorder = nullptr;
    QAction *m_straightenAsBook = nullptr;
    QAction *m_straighten = nullptr;
    QAction *m_leaveStraight = nullptr;
    QAction *m_ownSlant = nullptr;
    QAction *m_paperAsScanned = nullptr;
    QAction *m_reset = nullptr;
    // Rows unchecked because their pages are blank; while set, a change
    // of check is the program's own.
    QSet<QListWidgetItem *> m_uncheckedBlank;
    bool m_marking = false;
    // Each row's check as last seen, to tell what a change of it was.
    QHash<QListWidgetItem *, Qt::CheckState> m_checks;
    QUndoStack *m_undo = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
};

#endif // PAGELIST_H
