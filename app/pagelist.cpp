#include "app/pagelist.h"

#include "app/pagemove.h"
#include "app/pagerow.h"
#include "app/pagerowchange.h"
#include "app/pagerowdelegate.h"

#include <QAction>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QUndoStack>

PageList::PageList(QListWidget *list, QWidget *window)
    : QObject(window)
    , m_list(list)
    , m_window(window)
{
    // Rows can be dragged to a new place.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setItemDelegate(new PageRowDelegate(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust); // rows follow the list's width
    connect(m_list, &QListWidget::itemChanged, this, &PageList::rowChanged);
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex &, int start, int end, const QModelIndex &, int row) {
                rowsDragged(start, end, row);
            });
    m_undo = new QUndoStack(this);
    connect(m_undo, &QUndoStack::indexChanged, this, &PageList::updateEditActions);
    makeActions();
}

bool PageList::RowState::operator==(const RowState &other) const
{
    return check == other.check && treatment == other.treatment &&
           blankUnchecked == other.blankUnchecked && mark == other.mark && note == other.note;
}

void PageList::setEditActions(QAction *undo, QAction *redo)
{
    m_undoAction = undo;
    m_redoAction = redo;
    connect(undo, &QAction::triggered, this, [this] {
        if (!m_locked)
            m_undo->undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        if (!m_locked)
            m_undo->redo();
    });
    updateEditActions();
}

void PageList::updateEditActions()
{
    if (!m_undoAction)
        return;
    m_undoAction->setEnabled(m_undo->canUndo() && !m_locked);
    m_redoAction->setEnabled(m_undo->canRedo() && !m_locked);
    // "Undo Move Page": what it undoes.
    m_undoAction->setText(m_undo->canUndo() ? tr("Undo %1").arg(m_undo->undoText()) : tr("Undo"));
    m_redoAction->setText(m_undo->canRedo() ? tr("Redo %1").arg(m_undo->redoText()) : tr("Redo"));
}

void PageList::setLocked(bool locked)
{
    m_locked = locked;
    updateEditActions();
}

PageList::RowState PageList::rowState(QListWidgetItem *row) const
{
    RowState state;
    state.check = row->checkState();
    state.treatment = PageRow::treatmentOf(row);
    state.blankUnchecked = m_uncheckedBlank.contains(row);
    state.mark = row->data(PageRow::ScanMarkRole);
    state.note = row->data(PageRow::ScanNoteRole);
    return state;
}

void PageList::setRowState(QListWidgetItem *row, const RowState &state)
{
    m_marking = true;
    row->setCheckState(state.check);
    PageRow::setTreatment(row, state.treatment);
    row->setData(PageRow::ScanMarkRole, state.mark);
    row->setData(PageRow::ScanNoteRole, state.note);
    if (state.blankUnchecked)
        m_uncheckedBlank.insert(row);
    else
        m_uncheckedBlank.remove(row);
    m_marking = false;
    m_list->setCurrentItem(row);
    emit treatmentChanged();
}

void PageList::moveRow(QListWidgetItem *row, int to)
{
    const int from = m_list->row(row);
    if (from < 0 || to < 0 || to >= m_list->count())
        return;
    m_list->takeItem(from);
    m_list->insertItem(to, row);
    m_list->setCurrentRow(to);
}

// A drag moved rows: each a move that can be undone, made already.
void PageList::rowsDragged(int start, int end, int row)
{
    const int moved = end - start + 1;
    const int first = row > start ? row - moved : row;
    if (moved > 1)
        m_undo->beginMacro(tr("Move Pages"));
    for (int i = 0; i < moved; ++i)
        m_undo->push(new PageMove(this, m_list->item(first + i), start + i, first + i, true));
    if (moved > 1)
        m_undo->endMacro();
}

QVector<PageLocation> PageList::pages() const
{
    QVector<PageLocation> all;
    for (int i = 0; i < m_list->count(); ++i)
        all.append(PageRow::locationOf(m_list->item(i)));
    return all;
}

void PageList::setScanNote(const PageLocation &page, const QString &mark, const QString &note)
{
    const int found = rowOf(page);
    if (found < 0)
        return;
    QListWidgetItem *row = m_list->item(found);
    // A blank page's mark stays: it says why the row is unchecked.
    if (m_uncheckedBlank.contains(row))
        return;
    m_marking = true;
    row->setData(PageRow::ScanMarkRole, mark.isEmpty() ? QVariant() : QVariant(mark));
    row->setData(PageRow::ScanNoteRole, note.isEmpty() ? QVariant() : QVariant(note));
    m_marking = false;
}

void PageList::setBlank(const PageLocation &page, bool blank)
{
    const int found = rowOf(page);
    if (found < 0 || !blank)
        return;
    QListWidgetItem *row = m_list->item(found);
    if (PageRow::treatmentOf(row).keptThoughBlank || m_uncheckedBlank.contains(row))
        return;
    m_marking = true;
    row->setData(PageRow::ScanMarkRole, tr("blank"));
    row->setData(PageRow::ScanNoteRole, tr("Blank: left out while blank pages are left out. "
                                           "Check it to keep it."));
    if (row->checkState() == Qt::Checked) {
        row->setCheckState(Qt::Unchecked);
        m_uncheckedBlank.insert(row);
    }
    m_marking = false;
}

void PageList::forgetBlanks()
{
    m_marking = true;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *row = m_list->item(i);
        if (!m_uncheckedBlank.contains(row))
            continue;
        row->setCheckState(Qt::Checked);
        row->setData(PageRow::ScanMarkRole, QVariant());
        row->setData(PageRow::ScanNoteRole, QVariant());
    }
    m_uncheckedBlank.clear();
    m_marking = false;
}

void PageList::forgetSlants()
{
    m_marking = true;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *row = m_list->item(i);
        if (m_uncheckedBlank.contains(row) || PageRow::treatmentOf(row).keptThoughBlank)
            continue;
        row->setData(PageRow::ScanMarkRole, QVariant());
        row->setData(PageRow::ScanNoteRole, QVariant());
    }
    m_marking = false;
}

QStringList PageList::blankLeftOut() const
{
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *row = m_list->item(i);
        if (m_uncheckedBlank.contains(row))
            names << row->text();
    }
    return names;
}

// A row checked or unchecked by the user, which can be undone. A blank page
// checked is kept, blank or not.
void PageList::rowChanged(QListWidgetItem *row)
{
    const Qt::CheckState was = m_checks.value(row, Qt::Checked);
    m_checks.insert(row, row->checkState());
    if (m_marking || was == row->checkState())
        return;
    RowState before = rowState(row);
    before.check = was;
    keepIfBlank(row);
    m_undo->push(new PageRowChange(this, row, before, rowState(row),
                                   was == Qt::Checked ? tr("Uncheck Page") : tr("Check Page")));
}

void PageList::keepIfBlank(QListWidgetItem *row)
{
    if (!m_uncheckedBlank.contains(row) || row->checkState() != Qt::Checked)
        return;
    m_uncheckedBlank.remove(row);
    PageTreatment own = PageRow::treatmentOf(row);
    own.keptThoughBlank = true;
    m_marking = true;
    PageRow::setTreatment(row, own);
    row->setData(PageRow::ScanMarkRole, tr("blank, kept"));
    row->setData(PageRow::ScanNoteRole, QVariant());
    m_marking = false;
    if (row == m_list->currentItem())
        emit treatmentChanged();
}

void PageList::fill(const Book &book)
{
    m_uncheckedBlank.clear();
    m_checks.clear();
    m_undo->clear();
    m_list->clear();
    for (const ListedPage &page : book.pages()) {
        auto *row = new PageRow(page.name, page.location);
        if (!page.chapter.isEmpty())
            row->setData(PageRow::ChapterRole, page.chapter);
        m_list->addItem(row);
    }
}

int PageList::count() const
{
    return m_list->count();
}

void PageList::setCurrentRow(int row)
{
    m_list->setCurrentRow(row);
}

PageLocation PageList::current() const
{
    return PageRow::locationOf(m_list->currentItem());
}

PageTreatment PageList::currentTreatment() const
{
    return PageRow::treatmentOf(m_list->currentItem());
}

// The page's clockwise slant, in degrees, to be turned back.
void PageList::askOwnSlant(PageTreatment &own)
{
    bool ok = false;
    const double degrees = QInputDialog::getDouble(
        m_window, tr("Slant of this page"),
        tr("Degrees the page is turned clockwise (-5 to 5); it is turned back by as much:"),
        own.straighten == PageTreatment::StraightenBy ? own.straightenDegrees : 0.0, -5.0, 5.0, 1,
        &ok);
    if (!ok)
        return;
    own.straighten = PageTreatment::StraightenBy;
    own.straightenDegrees = degrees;
}

// One number for every side, or four; asked again, with why, until it is
// one of them or the user gives up.
void PageList::askOwnBorder(PageTreatment &own)
{
    const int book = m_bookBorder ? m_bookBorder() : PageOptions::BorderPixels.initial;
    QString text = own.border == PageTreatment::OwnBorder
                       ? PageTreatment::borderText(own.borderSides).remove(QStringLiteral(" px"))
                       : QString::number(book);
    text.remove(QLatin1Char(','));
    QString why;
    for (;;) {
        QInputDialog dialog(m_window);
        dialog.setWindowTitle(tr("Border of this page"));
        dialog.setLabelText(why + tr("Pixels to cut: one number for every side, or four for the "
                                     "left, top, right and bottom (%1 to %2):")
                                      .arg(PageOptions::BorderPixels.minimum)
                                      .arg(PageOptions::BorderPixels.maximum));
        dialog.setTextValue(text);
        // Wide enough for its title and its words.
        dialog.resize(qMax(dialog.sizeHint().width(), 460), dialog.sizeHint().height());
        if (dialog.exec() != QDialog::Accepted)
            return;
        text = dialog.textValue();
        QMargins sides;
        int taken = 0;
        const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (PageTreatment::readBorder(words, &sides, &taken) && taken == words.size()) {
            own.setOwnBorder(sides);
            return;
        }
        why = tr("\"%1\" is not a border.").arg(text) + QLatin1Char('\n');
    }
}

QVector<PageLocation> PageList::neighbours()
{
    // A held key repeats every 30 to 40 ms; a reader turns pages far slower.
    constexpr qint64 Repeating = 250;
    const int row = m_list->currentRow();
    const int step = row - m_lastRow;
    const bool travelling = (step == 1 || step == -1) && m_sinceLastRow.isValid() &&
                            m_sinceLastRow.elapsed() < Repeating;
    m_lastRow = row;
    m_sinceLastRow.start();
    m_passing = travelling;
    QVector<PageLocation> pages;
    // At a held key's pace a page takes longer to read than the key stays
    // on it: reading starts two rows ahead, so that pages are ready when the
    // key reaches them instead of always a little late.
    const QVector<int> ahead =
        travelling ? QVector<int>{2 * step, 3 * step, 4 * step} : QVector<int>{1, -1, 2};
    for (int offset : ahead) {
        if (QListWidgetItem *item = m_list->item(row + offset))
            pages << PageRow::locationOf(item);
    }
    return pages;
}

QVector<Book::Page> PageList::checkedPages() const
{
    QVector<Book::Page> pages;
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem *item = m_list->item(row);
        if (item->checkState() == Qt::Checked)
            pages.append({row, PageRow::locationOf(item), PageRow::treatmentOf(item),
                          item->data(PageRow::ChapterRole).toString()});
    }
    return pages;
}

int PageList::rowOf(const PageLocation &page) const
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (PageRow::locationOf(m_list->item(row)) == page)
            return row;
    }
    return -1;
}

// Taking the row out makes a neighbour current for a moment, so whoever
// follows the current row hears of it before the moved row.
void PageList::moveCurrent(int step)
{
    const int from = m_list->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_list->count())
        return;
    m_undo->push(new PageMove(this, m_list->item(from), from, to, false));
}

bool PageList::forgetTreatmentsFirst()
{
    bool any = false;
    for (int row = 0; !any && row < m_list->count(); ++row)
        any = !PageRow::treatmentOf(m_list->item(row)).isDefault();
    return !any ||
           QMessageBox::question(m_window, QCoreApplication::translate("Quirevale", "Warning"),
                                 tr("Some pages have a turn, a cut or a border of their own. "
                                    "Forget them and list the other folder?")) == QMessageBox::Yes;
}

void PageList::makeActions()
{
    const auto action = [this](QAction **made, const QKeySequence &keys,
                               const std::function<void(PageTreatment &)> &change) {
        *made = new QAction(m_window);
        (*made)->setShortcut(keys);
        (*made)->setShortcutContext(Qt::WindowShortcut);
        m_window->addAction(*made);
        QAction *by = *made;
        connect(by, &QAction::triggered, this, [this, change, by] { treatCurrent(change, by); });
    };
    action(&m_turnRight, QKeySequence(Qt::CTRL | Qt::Key_R),
           [](PageTreatment &own) { own.turn(1); });
    action(&m_turnLeft, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
           [](PageTreatment &own) { own.turn(-1); });
    action(&m_cutAsBook, {}, [](PageTreatment &own) { own.cut = PageTreatment::CutAsBook; });
    action(&m_alwaysCut, {}, [](PageTreatment &own) { own.cut = PageTreatment::AlwaysCut; });
    action(&m_neverCut, {}, [](PageTreatment &own) { own.cut = PageTreatment::NeverCut; });
    action(&m_borderAsBook, {},
           [](PageTreatment &own) { own.border = PageTreatment::BorderAsBook; });
    action(&m_noBorder, {}, [](PageTreatment &own) { own.border = PageTreatment::NoBorder; });
    action(&m_ownBorder, {}, [this](PageTreatment &own) { askOwnBorder(own); });
    action(&m_straightenAsBook, {},
           [](PageTreatment &own) { own.straighten = PageTreatment::StraightenAsBook; });
    action(&m_straighten, {},
           [](PageTreatment &own) { own.straighten = PageTreatment::StraightenFound; });
    action(&m_leaveStraight, {},
           [](PageTreatment &own) { own.straighten = PageTreatment::LeaveStraight; });
    action(&m_ownSlant, {}, [this](PageTreatment &own) { askOwnSlant(own); });
    action(&m_paperAsScanned, {},
           [](PageTreatment &own) { own.paperAsScanned = !own.paperAsScanned; });
    action(&m_reset, QKeySequence(Qt::CTRL | Qt::Key_Backspace),
           [](PageTreatment &own) { own = PageTreatment(); });
    for (QAction *choice :
         {m_cutAsBook, m_alwaysCut, m_neverCut, m_borderAsBook, m_noBorder, m_ownBorder,
          m_straightenAsBook, m_straighten, m_leaveStraight, m_ownSlant, m_paperAsScanned})
        choice->setCheckable(true);
    describeActions();
}

void PageList::describeActions()
{
    m_turnRight->setText(tr("Turn Right"));
    m_turnLeft->setText(tr("Turn Left"));
    m_cutAsBook->setText(tr("Cut as the Book"));
    m_alwaysCut->setText(tr("Always Cut"));
    m_neverCut->setText(tr("Never Cut"));
    m_borderAsBook->setText(tr("Border as the Book"));
    m_noBorder->setText(tr("No Border"));
    m_ownBorder->setText(tr("Own Border…"));
    m_straightenAsBook->setText(tr("Straighten as the Book"));
    m_straighten->setText(tr("Straighten"));
    m_leaveStraight->setText(tr("Leave Its Slant"));
    m_ownSlant->setText(tr("Own Slant…"));
    m_paperAsScanned->setText(tr("Paper as Scanned"));
    m_reset->setText(tr("Reset Page"));
}

void PageList::showContextMenu(const QPoint &at)
{
    QListWidgetItem *row = m_list->itemAt(at);
    if (!row || m_locked)
        return;
    m_list->setCurrentItem(row);
    const PageTreatment own = PageRow::treatmentOf(row);
    m_cutAsBook->setChecked(own.cut == PageTreatment::CutAsBook);
    m_alwaysCut->setChecked(own.cut == PageTreatment::AlwaysCut);
    m_neverCut->setChecked(own.cut == PageTreatment::NeverCut);
    m_borderAsBook->setChecked(own.border == PageTreatment::BorderAsBook);
    m_noBorder->setChecked(own.border == PageTreatment::NoBorder);
    m_ownBorder->setChecked(own.border == PageTreatment::OwnBorder);
    m_straightenAsBook->setChecked(own.straighten == PageTreatment::StraightenAsBook);
    m_straighten->setChecked(own.straighten == PageTreatment::StraightenFound);
    m_leaveStraight->setChecked(own.straighten == PageTreatment::LeaveStraight);
    m_ownSlant->setChecked(own.straighten == PageTreatment::StraightenBy);
    m_paperAsScanned->setChecked(own.paperAsScanned);
    m_reset->setEnabled(!own.isDefault());
    QMenu menu(m_window);
    menu.addActions({m_turnRight, m_turnLeft});
    menu.addSeparator();
    menu.addActions({m_cutAsBook, m_alwaysCut, m_neverCut});
    menu.addSeparator();
    menu.addActions({m_borderAsBook, m_noBorder, m_ownBorder});
    menu.addSeparator();
    menu.addActions({m_straightenAsBook, m_straighten, m_leaveStraight, m_ownSlant});
    menu.addAction(m_paperAsScanned);
    menu.addSeparator();
    menu.addAction(m_reset);
    menu.exec(m_list->viewport()->mapToGlobal(at));
    m_reset->setEnabled(true);
}

void PageList::treatCurrent(const std::function<void(PageTreatment &)> &change, QAction *by)
{
    QListWidgetItem *row = m_list->currentItem();
    if (!row || m_locked)
        return;
    const RowState before = rowState(row);
    PageTreatment own = before.treatment;
    change(own);
    if (own == before.treatment)
        return; // a dialog cancelled, or the same chosen again
    PageRow::setTreatment(row, own);
    // "Undo Turn Right".
    const QString what = by->text().remove(QLatin1Char('&')).remove(QStringLiteral("…"));
    m_undo->push(new PageRowChange(this, row, before, rowState(row), what));
    emit treatmentChanged();
}
