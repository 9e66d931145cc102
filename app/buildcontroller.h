#ifndef BUILDCONTROLLER_H
#define BUILDCONTROLLER_H

#include "book/book.h"
#include "book/buildrequest.h"
#include "making/bookbuild.h"

#include <QFuture>
#include <QObject>

#include <functional>
#include <memory>

class QAbstractButton;
class QProgressBar;
class QWidget;
class ShellTaskbarProgress;

// The "Make CBZ" job of the main window: the build on a thread of the
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
    // Whether a book is made as request says: a refused one only when the
    // user chooses to make it without what it lacks.
    bool mayMake(const BuildRequest &request);

    // What a build is made of: its pages, among rows rows of the list.
    struct Request
    {
        QString fileName;
        QVector<BuildPage> pages;
        int rows = 0;
        PageOptions options;
        ComicInfo comicInfo;
        PagePictureObserver *pictures = nullptr;
        int threads = 0;
        // Pages that cannot be read are left out and named.
        bool unreadableLeftOut = false;
    };
    // Starts the build of request.pages into request.fileName on a thread
    // of the global pool, where job runs it (true: the archive was made);
    // an archive there already was agreed to be replaced, one that appears
    // after this is not. connect is called with the build before it starts.
    QFuture<bool> start(const Request &request, const std::function<bool(const QString &)> &job,
                        const std::function<void(BookBuild *)> &connect = {});
    bool isBuilding() const { return m_building; }
    BookBuild *build() const { return m_build.get(); }
    void cancel();

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
    void leaveOutUnreadableChosen(const QString &fileName, const QVector<BuildPage> &pages);

private:
    bool report();
    bool askToLeaveOutUnreadable();
    void reportSuccess(const QString &fileName);

    Widgets m_widgets;
    QWidget *m_window;
    std::unique_ptr<BookBuild> m_build;
    QFuture<bool> m_job;
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
