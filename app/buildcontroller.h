#ifndef BUILDCONTROLLER_H
#define BUILDCONTROLLER_H

#include "book/book.h"
#include "book/bookjob.h"
#include "book/buildrequest.h"

#include <QFuture>
#include <QObject>

#include <functional>
#include <memory>

class QAbstractButton;
class QProgressBar;
class QWidget;
class ShellTaskbarProgress;

// The "Make CBZ" job of the main window: the book job on a thread of the
// global pool, the progress bar and the task bar following it page by
// page, cancelling it, asking before the window closes under it, and the
// report at its end.
class BuildController : public QObject
{
    Q_OBJECT

public:
    // The widgets it drives.
    struct Widgets
    {
        QProgressBar *progress = nullptr;
        QAbstractButton *cancel = nullptr;
        ShellTaskbarProgress *taskbar = nullptr;
    };

    BuildController(const Widgets &widgets, QWidget *window);
    // A build still running (the application quitting by other means) is
    // stopped and waited for.
    ~BuildController() override;

    // The archive's name, asked of the user, starting from book's name in
    // the remembered save folder, which becomes the folder chosen; empty
    // when the user would rather not.
    QString askFileName(const Book &book, QString *saveDir,
                        PageOptions::Kind kind = PageOptions::CbzBook);

    // What a book is made of: its pages as the list has them, among rows
    // rows of the list, and what the user set and said of it.
    struct Request
    {
        QString fileName;
        Book book;
        QVector<Book::Page> pages;
        int rows = 0;
        BookOptions options;
        ComicInfo comicInfo;
        PagePictureObserver *pictures = nullptr;
        int threads = 0;
        // Pages that cannot be read are left out and named.
        bool unreadableLeftOut = false;
    };
    // Starts the book job of request on a thread of the global pool, where
    // run runs it (true: the book was made); a book there already was
    // agreed to be replaced, one that appears after this is not. connect is
    // called with the job before it starts.
    QFuture<bool> start(const Request &request, const std::function<bool(const QString &)> &run,
                        const std::function<void(BookJob *)> &connect = {});
    bool isBuilding() const { return m_building; }
    BookJob *job() const { return m_job.get(); }
    void cancel();

    // What the window calls a book of that kind where it names it: "CBZ"
    // in the words it always had, the kind's name otherwise.
    static QString createCaption(PageOptions::Kind kind);
    static QString makeText(PageOptions::Kind kind);
    static QString failedText(PageOptions::Kind kind);

    // Called when the job has ended: the report, unless a question about
    // closing is open. True when the window is to close now.
    bool finished();
    // The window is asked to close; false keeps it open for now.
    bool mayClose();
    // What a row is called in the report.
    void setRowName(const std::function<QString(int)> &name) { m_rowName = name; }
    // What the book's listing left out that the archive made will lack:
    // said again when the archive is made.
    void setLeftOut(const QStringList &leftOut) { m_leftOut = leftOut; }

signals:
    // Building started or ended, for the window's enabled states.
    void buildingChanged(bool building);
    // A build failed on pages that cannot be read, and the user chose to
    // make the book without them.
    void leaveOutUnreadableChosen(const QString &fileName);

private:
    bool report();
    bool askToLeaveOutUnreadable();
    void reportSuccess(const QString &fileName);

    Widgets m_widgets;
    QWidget *m_window;
    std::unique_ptr<BookJob> m_job;
    QFuture<bool> m_run;
    PageOptions::Kind m_kind = PageOptions::CbzBook;
    std::function<QString(int)> m_rowName;
    QStringList m_leftOut;
    bool m_building = false;
    bool m_closeWhenBuilt = false;
    // While "Stop it and close the window?" is open, the end of the build is
    // reported only once it has been answered, the way it was answered.
    bool m_questionOpen = false;
    bool m_endedDuringQuestion = false;
};

#endif // BUILDCONTROLLER_H
