#ifndef QUEUEDOCK_H
#define QUEUEDOCK_H

#include "book/bookqueue.h"
#include "book/queuefile.h"
#include "ui_queuedock.h"

#include <QDockWidget>
#include <QFutureWatcher>
#include <QTimer>

#include <functional>

class QProgressBar;
class QueueModel;
class QueueRunner;
class ShellTaskbarProgress;

// The queue panel: books waiting to be made one after another, each row its
// state; started, cancelled, reordered and made again here. The window's
// progress bar and the task bar follow the queue while it runs. The queue
// is remembered across runs.
class QueueDock : public QDockWidget
{
    Q_OBJECT

public:
    struct Widgets
    {
        QProgressBar *progress = nullptr;
        ShellTaskbarProgress *taskbar = nullptr;
    };
    // What to do with several items dropped on the window.
    enum DropChoice
    {
        AskEachTime,
        OneBookEach,
        OneBookOfChapters
    };

    QueueDock(const Widgets &widgets, QWidget *parent);
    ~QueueDock() override;

    // Each source a book of its own, made with options, those of the
    // preset of that name (empty: none).
    void addSources(const QStringList &sources, const BookOptions &options,
                    const QString &preset = QString());
    void addBook(const QueuedBook &book);
    const BookQueue &queue() const { return m_queue; }
    // Empty: each archive beside its source.
    void setOutputFolder(const QString &folder);
    bool isRunning() const;
    // While the window makes a book of its own the queue does not start;
    // without a book on show there is none to add.
    void setWindowState(bool windowBuilding, bool bookShown);
    void setThreadCount(int threads);
    // What books added next are made with: the window's options, and the
    // preset they are (empty: none). The panel shows it while no book of
    // the queue is selected.
    void setOptionsForNext(const BookOptions &options, const QString &preset);
    // Asked before the window closes while the queue runs, or while books
    // wait in it (unless the user said not to ask): false keeps it open.
    bool mayClose();
    // One book each, or one of chapters: asked unless remembered. False
    // when the user would rather do nothing.
    bool askDropChoice(DropChoice *choice);

signals:
    // "Add This Book": the window adds the book on show.
    void addThisBookAsked();
    // With no book of the queue selected, a preset (its name; empty: own
    // options) or a kind chosen in the panel is the window's choice for the
    // books added next.
    void presetChosenForNext(const QString &name);
    void kindChosenForNext(PageOptions::Kind kind);
    void runningChanged(bool running);

protected:
    void changeEvent(QEvent *event) override;

private:
    void start();
    void cancel();
    void rowChanged(int row);
    void paused();
    void changed();
    // The queue is saved a moment after it changes, many changes in one
    // save, away from the GUI thread; saveNow() writes it before the dock
    // goes.
    void save();
    void startSaving();
    void saveNow();
    QList<int> selectedRows() const;
    void moveSelected(int by);
    void removeSelected();
    void makeSelectedAgain();
    // The panel's preset and kind show those of the selected books (empty
    // where they differ), or the window's for books added next.
    void showMakeWith();
    void fillPresets();
    void choosePreset(int index);
    void chooseKind(int index);
    // Changes the selected books (not one being made): each made with
    // options(book), named after preset; a book made before waits to be
    // made again, once the user says its archive may be replaced.
    void changeSelected(const std::function<BookOptions(const QueuedBook &)> &options,
                        const std::function<QString(const QueuedBook &)> &preset);
    // Rows that would wait to be made again over archives that exist (as
    // laidOut names them): asked once whether they may be replaced, and
    // marked so. False: not.
    bool mayReplace(const QList<int> &rows, const BookQueue &laidOut);
    bool mayCloseWithBooksWaiting();
    void chooseOutput(int index);
    void showContextMenu(const QPoint &at);
    void updateEnabled();
    void showProgress();
    void showDetails();

    Ui::QueueDock ui;
    Widgets m_widgets;
    BookQueue m_queue;
    QueueModel *m_model = nullptr;
    QueueRunner *m_runner = nullptr;
    QueueFile m_file; // where the queue is remembered
    QTimer m_saveTimer;
    bool m_saveWanted = false;
    QFutureWatcher<QString> m_saving;
    BookOptions m_nextOptions;
    QString m_nextPreset;
    bool m_windowBuilding = false;
    bool m_bookShown = false;
};

#endif // QUEUEDOCK_H
