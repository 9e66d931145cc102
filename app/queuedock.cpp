#include "app/queuedock.h"

#include "app/presetmenu.h"
#include "app/queuemodel.h"
#include "app/queueprogressdelegate.h"
#include "app/shelltaskbarprogress.h"
#include "book/book.h"
#include "book/bookpreset.h"
#include "book/queuerunner.h"
#include "dialogs/presetpicker.h"
#include "making/packager.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QtConcurrent>

namespace {
const QString DropKey = QStringLiteral("QueueDropChoice");
const QString ReplaceKey = QStringLiteral("QueueReplace");
const QString AskOnCloseKey = QStringLiteral("QueueAskOnClose");
// The preset combo's entry that opens the search among all presets.
const QString MorePresets = QStringLiteral("\x1b:more");

// "a.cbz, b.cbz, c.cbz and 4 more".
QString namesInBrief(const QStringList &names)
{
    const int shown = 3;
    if (names.size() <= shown)
        return names.join(QStringLiteral(", "));
    return QueueDock::tr("%1 and %2 more")
        .arg(names.mid(0, shown).join(QStringLiteral(", ")))
        .arg(names.size() - shown);
}
} // namespace

QueueDock::QueueDock(const Widgets &widgets, QWidget *parent)
    : QDockWidget(parent)
    , m_widgets(widgets)
    , m_file(QFileInfo(QSettings().fileName()).absolutePath())
{
    ui.setupUi(this);
    toggleViewAction()->setObjectName(QStringLiteral("actionShowQueue"));
    ui.StartQueue->setDefaultAction(ui.actionStartQueue);
    ui.StopQueue->setDefaultAction(ui.actionStopQueue);
    ui.actionStartQueue->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    ui.actionStopQueue->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    // Beside the settings: the queue is the user's, like the options.
    m_queue = m_file.load();
    if (!m_file.notice().isEmpty())
        QTimer::singleShot(0, this, [this] {
            QMessageBox::warning(parentWidget(), tr("Queue"), m_file.notice());
        });
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(300);
    connect(&m_saveTimer, &QTimer::timeout, this, &QueueDock::startSaving);
    connect(&m_saving, &QFutureWatcher<QString>::finished, this, [this] {
        if (m_saveWanted)
            m_saveTimer.start();
    });
    m_model = new QueueModel(&m_queue, this);
    ui.QueueView->setModel(m_model);
    // In the panel's usual width the book, its kind, preset and progress
    // are seen at once; its state and archive are the text under the list,
    // and the columns past the progress for a wider panel.
    QHeaderView *header = ui.QueueView->header();
    header->setStretchLastSection(true);
    header->setMinimumSectionSize(40);
    ui.QueueView->setColumnWidth(QueueModel::BookColumn, 96);
    ui.QueueView->setColumnWidth(QueueModel::KindColumn, 58);
    ui.QueueView->setColumnWidth(QueueModel::PresetColumn, 100);
    ui.QueueView->setColumnWidth(QueueModel::ProgressColumn, 50);
    ui.QueueView->setColumnWidth(QueueModel::StateColumn, 150);
    ui.QueueView->setItemDelegateForColumn(QueueModel::ProgressColumn,
                                           new QueueProgressDelegate(ui.QueueView));
    for (const Packager::Kind &kind : Packager::kinds())
        ui.QueueKind->addItem(Packager::tr(kind.title), int(kind.kind));
    fillPresets();
    m_runner = new QueueRunner(&m_queue, this);
    const QSettings settings;
    ui.QueueDropChoice->setCurrentIndex(qBound(0, settings.value(DropKey).toInt(), 2));
    ui.QueueReplace->setChecked(settings.value(ReplaceKey).toBool());
    m_runner->setReplaceExisting(ui.QueueReplace->isChecked());
    ui.QueueOutput->setCurrentIndex(m_queue.outputFolder().isEmpty() ? 0 : 1);
    ui.QueueOutputFolder->setText(QDir::toNativeSeparators(m_queue.outputFolder()));
    ui.QueueOutputFolder->setVisible(!m_queue.outputFolder().isEmpty());

    connect(ui.actionStartQueue, &QAction::triggered, this, &QueueDock::start);
    connect(ui.actionStopQueue, &QAction::triggered, this, &QueueDock::cancel);
    connect(ui.AddThisBook, &QPushButton::clicked, this, &QueueDock::addThisBookAsked);
    connect(ui.MoveBookUp, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(ui.MoveBookDown, &QPushButton::clicked, this, [this] { moveSelected(+1); });
    connect(ui.RemoveBooks, &QPushButton::clicked, this, &QueueDock::removeSelected);
    connect(ui.MakeAgain, &QPushButton::clicked, this, &QueueDock::makeSelectedAgain);
    connect(ui.MakeFailedAgain, &QPushButton::clicked, this, [this] {
        if (m_queue.makeFailedAgain() > 0)
            changed();
    });
    connect(ui.QueueOutput, qOverload<int>(&QComboBox::activated), this, &QueueDock::chooseOutput);
    connect(ui.QueueReplace, &QCheckBox::toggled, this, [this](bool replace) {
        m_runner->setReplaceExisting(replace);
        QSettings().setValue(ReplaceKey, replace);
    });
    connect(ui.QueueDropChoice, qOverload<int>(&QComboBox::activated), this,
            [](int choice) { QSettings().setValue(DropKey, choice); });
    connect(ui.QueueView, &QWidget::customContextMenuRequested, this, &QueueDock::showContextMenu);
    connect(ui.QueuePreset, qOverload<int>(&QComboBox::activated), this, &QueueDock::choosePreset);
    connect(ui.QueueKind, qOverload<int>(&QComboBox::activated), this, &QueueDock::chooseKind);
    connect(ui.QueueView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QueueDock::showMakeWith);
    connect(ui.QueueView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QueueDock::updateEnabled);
    connect(ui.QueueView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &QueueDock::showDetails);
    connect(m_runner, &QueueRunner::rowChanged, this, &QueueDock::rowChanged);
    connect(m_runner, &QueueRunner::paused, this, &QueueDock::paused);
    connect(m_runner, &QueueRunner::runningChanged, this, [this](bool running) {
        m_widgets.taskbar->setVisible(running);
        if (!running) {
            m_widgets.progress->setValue(0);
            m_widgets.progress->setFormat(QStringLiteral("%p%"));
            save();
        }
        updateEnabled();
        emit runningChanged(running);
    });
    updateEnabled();
    showDetails();
}

QueueDock::~QueueDock()
{
    delete m_runner; // a book being made is stopped and waited for
    m_runner = nullptr;
    saveNow();
}

void QueueDock::addSources(const QStringList &sources, const BookOptions &options,
                           const QString &preset)
{
    QVector<QueuedBook> books;
    // A folder of books is those books.
    for (const QString &source : Book::booksOf(sources)) {
        QueuedBook book;
        book.sources = QStringList{QFileInfo(source).absoluteFilePath()};
        book.options = options;
        book.preset = preset;
        books.append(book);
    }
    m_queue.add(books);
    changed();
    show();
    raise();
}

void QueueDock::addBook(const QueuedBook &book)
{
    m_queue.add(book);
    changed();
    show();
    raise();
}

bool QueueDock::isRunning() const
{
    return m_runner && m_runner->isRunning();
}

void QueueDock::setWindowState(bool windowBuilding, bool bookShown)
{
    m_windowBuilding = windowBuilding;
    m_bookShown = bookShown;
    updateEnabled();
}

void QueueDock::setOptionsForNext(const BookOptions &options, const QString &preset)
{
    m_nextOptions = options;
    m_nextPreset = preset;
    showMakeWith();
}

void QueueDock::setThreadCount(int threads)
{
    m_runner->setThreadCount(threads);
}

void QueueDock::start()
{
    if (m_queue.nextWaiting() < 0) {
        QMessageBox::information(this, windowTitle(),
                                 tr("No book is waiting. Make Again sets a book made or failed "
                                    "to be made again."));
        return;
    }
    m_runner->start();
}

// Cancel stops the book being made; the rest of the queue waits for the
// user to say whether it goes on.
void QueueDock::cancel()
{
    if (m_runner->isPaused())
        m_runner->stop();
    else
        m_runner->cancelCurrent();
}

void QueueDock::paused()
{
    const auto answer = QMessageBox::question(
        this, windowTitle(),
        tr("The book being made was stopped; nothing of it was made. Stop the queue too?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        m_runner->stop();
    else
        m_runner->resume();
}

void QueueDock::rowChanged(int row)
{
    m_model->rowChanged(row);
    if (row == ui.QueueView->currentIndex().row())
        showDetails();
    showProgress();
    if (m_queue.at(row).isDone())
        save();
}

// The queue's progress, a book a step: those ended, and the part made of
// the one being made.
void QueueDock::showProgress()
{
    if (!isRunning())
        return;
    const int current = m_runner->current();
    const int ended = m_runner->booksEnded();
    const int total = qMax(1, ended + m_queue.count(QueuedBook::Waiting) + (current >= 0 ? 1 : 0));
    double part = 0;
    if (current >= 0 && m_queue.at(current).pageCount > 0)
        part = double(m_queue.at(current).pagesDone) / m_queue.at(current).pageCount;
    const int steps = 100;
    const int value = int((ended + part) * steps);
    m_widgets.progress->setRange(0, total * steps);
    m_widgets.progress->setValue(value);
    m_widgets.progress->setFormat(tr("Book %1 of %2: %p%").arg(qMin(ended + 1, total)).arg(total));
    m_widgets.taskbar->setRange(0, total * steps);
    m_widgets.taskbar->setValue(value);
}

// The current row's whole story, where the row has room for its start.
void QueueDock::showDetails()
{
    const int row = ui.QueueView->currentIndex().row();
    ui.QueueDetails->setText(
        row >= 0 && row < m_queue.size() ? QueueModel::tooltipOf(m_queue.at(row)) : QString());
    ui.QueueDetails->setVisible(row >= 0);
}

void QueueDock::changed()
{
    m_model->reset();
    showDetails();
    save();
    updateEnabled();
}

void QueueDock::save()
{
    m_saveWanted = true;
    if (!m_saveTimer.isActive() && !m_saving.isRunning())
        m_saveTimer.start();
}

void QueueDock::startSaving()
{
    if (m_saving.isRunning())
        return; // again once it is done
    m_saveWanted = false;
    const BookQueue queue = m_queue;
    const QueueFile file = m_file;
    m_saving.setFuture(QtConcurrent::run([queue, file] {
        QString error;
        file.save(QueueFile::toJson(queue), &error);
        return error;
    }));
}

void QueueDock::saveNow()
{
    m_saveTimer.stop();
    m_saving.waitForFinished();
    if (!m_saveWanted)
        return;
    m_saveWanted = false;
    QString error;
    m_file.save(QueueFile::toJson(m_queue), &error);
}

QList<int> QueueDock::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : ui.QueueView->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void QueueDock::moveSelected(int by)
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const int to = rows.first() + by;
    if (to < 0 || to >= m_queue.size())
        return;
    m_queue.move(rows.first(), to);
    changed();
    ui.QueueView->setCurrentIndex(m_model->index(to, 0));
}

void QueueDock::removeSelected()
{
    QList<int> rows = selectedRows();
    std::reverse(rows.begin(), rows.end());
    for (const int row : qAsConst(rows)) {
        if (row != m_runner->current())
            m_queue.remove(row);
    }
    changed();
}

void QueueDock::makeSelectedAgain()
{
    QList<int> rows;
    for (const int row : selectedRows()) {
        if (row != m_runner->current() && m_queue.at(row).isDone())
            rows << row;
    }
    if (!mayReplace(rows, m_queue))
        return;
    for (const int row : qAsConst(rows))
        m_queue.makeAgain(row);
    changed();
}

bool QueueDock::mayReplace(const QList<int> &rows, const BookQueue &laidOut)
{
    if (m_runner->replacesExisting())
        return true;
    QStringList there;
    QList<int> replacing;
    for (const int row : rows) {
        const QString target = laidOut.at(row).target;
        if (QFileInfo(target).isFile()) {
            there << QFileInfo(target).fileName();
            replacing << row;
        }
    }
    if (there.isEmpty())
        return true;
    const QString question =
        there.size() == 1
            ? tr("The archive %1 exists already. Replace it when the book is made again?")
                  .arg(there.first())
            : tr("The archives of %1 books exist already: %2. Replace them when the books are "
                 "made again?")
                  .arg(there.size())
                  .arg(namesInBrief(there));
    QMessageBox box(QMessageBox::Question, windowTitle(), question, QMessageBox::NoButton, this);
    QPushButton *replace = box.addButton(tr("Replace"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(replace);
    box.exec();
    if (box.clickedButton() != replace)
        return false;
    for (const int row : qAsConst(replacing))
        m_queue[row].replace = true;
    return true;
}

void QueueDock::fillPresets()
{
    ui.QueuePreset->clear();
    ui.QueuePreset->addItem(tr("Own options"), QString());
    for (const BookPreset &preset : BookPreset::builtIns())
        ui.QueuePreset->addItem(preset.title(), preset.name());
    const QStringList own = BookPreset::ownNames(QSettings());
    for (const QString &name : own.mid(0, PresetMenu::Listed))
        ui.QueuePreset->addItem(name, name);
    if (own.size() > PresetMenu::Listed)
        ui.QueuePreset->addItem(PresetMenu::tr("More Presets… (%1)").arg(own.size()), MorePresets);
}

void QueueDock::showMakeWith()
{
    QList<int> rows = selectedRows();
    ui.QueueMakeWith->setTitle(rows.isEmpty() ? tr("Books added next are made with")
                                              : tr("The selected books are made with"));
    QStringList presets;
    QList<int> kinds;
    if (rows.isEmpty()) {
        presets << m_nextPreset;
        kinds << int(m_nextOptions.pages.BookKind);
    }
    for (const int row : qAsConst(rows)) {
        presets << m_queue.at(row).preset;
        kinds << int(m_queue.at(row).options.pages.BookKind);
    }
    presets.removeDuplicates();
    std::sort(kinds.begin(), kinds.end());
    kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
    // A preset the list does not hold (one of thousands, or one since
    // deleted) is shown by its name.
    int preset = -1;
    if (presets.size() == 1) {
        preset = ui.QueuePreset->findData(presets.first());
        for (int i = 1; preset < 0 && i < ui.QueuePreset->count(); ++i) {
            if (BookPreset::titleOf(presets.first()) == ui.QueuePreset->itemText(i))
                preset = i;
        }
        if (preset < 0) {
            ui.QueuePreset->addItem(BookPreset::titleOf(presets.first()), presets.first());
            preset = ui.QueuePreset->count() - 1;
        }
    }
    ui.QueuePreset->setCurrentIndex(preset);
    ui.QueueKind->setCurrentIndex(kinds.size() == 1 ? ui.QueueKind->findData(kinds.first()) : -1);
}

void QueueDock::choosePreset(int index)
{
    QString name = ui.QueuePreset->itemData(index).toString();
    if (name == MorePresets) {
        PresetPicker picker(BookPreset::ownNames(QSettings()), this);
        name = picker.exec() == QDialog::Accepted ? picker.chosen() : QString();
        if (name.isEmpty()) {
            showMakeWith();
            return;
        }
    }
    if (selectedRows().isEmpty()) {
        emit presetChosenForNext(name);
        return;
    }
    if (name.isEmpty()) {
        // Their own options: the window's, as it shows them now.
        const BookOptions own = m_nextOptions;
        changeSelected([own](const QueuedBook &) { return own; },
                       [](const QueuedBook &) { return QString(); });
        return;
    }
    const BookPreset preset = BookPreset::find(QSettings(), name);
    if (!preset.isValid()) {
        QMessageBox::warning(this, windowTitle(), tr("There is no preset \"%1\".").arg(name));
        showMakeWith();
        return;
    }
    changeSelected([preset](const QueuedBook &book) { return preset.appliedTo(book.options); },
                   [name = preset.name()](const QueuedBook &) { return name; });
}

void QueueDock::chooseKind(int index)
{
    const auto kind = PageOptions::Kind(ui.QueueKind->itemData(index).toInt());
    if (selectedRows().isEmpty()) {
        emit kindChosenForNext(kind);
        return;
    }
    changeSelected(
        [kind](const QueuedBook &book) {
            BookOptions options = book.options;
            options.pages.BookKind = kind;
            return options;
        },
        [](const QueuedBook &book) { return book.preset; });
}

void QueueDock::changeSelected(const std::function<BookOptions(const QueuedBook &)> &options,
                               const std::function<QString(const QueuedBook &)> &preset)
{
    // Tried on a copy and asked before the queue changes: a book put back
    // to waiting while the question is up would be made by the running
    // queue before the answer. The copy names the archives the books would
    // now be made into.
    BookQueue tried = m_queue;
    QList<int> rows;
    QList<int> again;
    for (const int row : selectedRows()) {
        if (row == m_runner->current())
            continue;
        rows << row;
        tried.setOptions(row, options(m_queue.at(row)), preset(m_queue.at(row)));
        if (m_queue.at(row).isDone() && !tried.at(row).isDone())
            again << row;
    }
    if (mayReplace(again, tried)) {
        for (const int row : qAsConst(rows)) {
            if (row != m_runner->current())
                m_queue.setOptions(row, options(m_queue.at(row)), preset(m_queue.at(row)));
        }
        changed();
    }
    showMakeWith();
}

void QueueDock::chooseOutput(int index)
{
    QString folder;
    if (index == 1) {
        folder = QFileDialog::getExistingDirectory(this, tr("Folder for the Archives"),
                                                   m_queue.outputFolder());
        if (folder.isEmpty()) {
            ui.QueueOutput->setCurrentIndex(m_queue.outputFolder().isEmpty() ? 0 : 1);
            return;
        }
    }
    setOutputFolder(folder);
}

void QueueDock::setOutputFolder(const QString &folder)
{
    m_queue.setOutputFolder(folder);
    ui.QueueOutput->setCurrentIndex(folder.isEmpty() ? 0 : 1);
    ui.QueueOutputFolder->setText(QDir::toNativeSeparators(m_queue.outputFolder()));
    ui.QueueOutputFolder->setVisible(!folder.isEmpty());
    changed();
}

// The selected books' preset, as the panel's list offers it.
void QueueDock::showContextMenu(const QPoint &at)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QMenu menu(this);
    QMenu *presets = menu.addMenu(tr("Make With Preset"));
    for (int i = 0; i < ui.QueuePreset->count(); ++i)
        presets->addAction(ui.QueuePreset->itemText(i), this, [this, i] { choosePreset(i); });
    menu.addAction(ui.MakeAgain->text(), this, &QueueDock::makeSelectedAgain);
    menu.addAction(ui.RemoveBooks->text(), this, &QueueDock::removeSelected);
    menu.exec(ui.QueueView->viewport()->mapToGlobal(at));
}

void QueueDock::updateEnabled()
{
    const bool running = isRunning();
    const QList<int> rows = selectedRows();
    const bool current = running && rows.contains(m_runner->current());
    ui.actionStartQueue->setEnabled(!running && !m_windowBuilding && !m_queue.isEmpty());
    ui.AddThisBook->setEnabled(m_bookShown);
    ui.actionStopQueue->setEnabled(running);
    ui.MoveBookUp->setEnabled(rows.size() == 1 && rows.first() > 0);
    ui.MoveBookDown->setEnabled(rows.size() == 1 && rows.first() + 1 < m_queue.size());
    ui.RemoveBooks->setEnabled(!rows.isEmpty() && !current);
    ui.MakeAgain->setEnabled(!rows.isEmpty() && !current);
    ui.MakeFailedAgain->setEnabled(m_queue.count(QueuedBook::Failed) > 0);
    ui.QueueOutput->setEnabled(!running);
    // A book being made keeps what it is made with.
    ui.QueueMakeWith->setEnabled(!current);
}

bool QueueDock::mayClose()
{
    if (!isRunning())
        return mayCloseWithBooksWaiting();
    const auto answer = QMessageBox::question(
        this, windowTitle(),
        tr("Books of the queue are being made. Stop the queue and close the window? Nothing of "
           "the book being made is kept; the books still waiting are there next time."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    m_runner->stop();
    return true;
}

bool QueueDock::mayCloseWithBooksWaiting()
{
    const int waiting = m_queue.count(QueuedBook::Waiting);
    if (waiting == 0 || !QSettings().value(AskOnCloseKey, true).toBool())
        return true;
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    waiting == 1 ? tr("A book waits in the queue, not made yet. Close the "
                                      "window? It is there next time.")
                                 : tr("%1 books wait in the queue, not made yet. Close the "
                                      "window? They are there next time.")
                                       .arg(waiting),
                    QMessageBox::NoButton, parentWidget());
    QPushButton *close = box.addButton(tr("Close"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    auto *dontAsk = new QCheckBox(tr("Don't ask again"), &box);
    box.setCheckBox(dontAsk);
    box.setDefaultButton(close);
    box.exec();
    if (box.clickedButton() != close)
        return false;
    if (dontAsk->isChecked())
        QSettings().setValue(AskOnCloseKey, false);
    return true;
}

bool QueueDock::askDropChoice(DropChoice *choice)
{
    const int remembered = ui.QueueDropChoice->currentIndex();
    if (remembered != AskEachTime) {
        *choice = DropChoice(remembered);
        return true;
    }
    QMessageBox box(QMessageBox::Question, tr("Several Books?"),
                    tr("Are the items dropped the chapters of one book, or books of their own to "
                       "be made one after another?"),
                    QMessageBox::NoButton, parentWidget());
    QPushButton *chapters = box.addButton(tr("One Book of Chapters"), QMessageBox::AcceptRole);
    QPushButton *each = box.addButton(tr("One Book Each, Queued"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    auto *remember = new QCheckBox(tr("Remember this (the queue panel changes it)"), &box);
    box.setCheckBox(remember);
    box.setDefaultButton(chapters);
    box.exec();
    if (box.clickedButton() != chapters && box.clickedButton() != each)
        return false;
    *choice = box.clickedButton() == chapters ? OneBookOfChapters : OneBookEach;
    if (remember->isChecked()) {
        ui.QueueDropChoice->setCurrentIndex(*choice);
        QSettings().setValue(DropKey, int(*choice));
    }
    return true;
}

void QueueDock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi(this);
        const int kind = ui.QueueKind->currentIndex();
        for (int i = 0; i < ui.QueueKind->count(); ++i)
            ui.QueueKind->setItemText(i, Packager::tr(Packager::kinds().at(i).title));
        ui.QueueKind->setCurrentIndex(kind);
        fillPresets();
        showMakeWith();
        m_model->reset();
    }
    QDockWidget::changeEvent(event);
}
