#ifndef CBZBUILD_H
#define CBZBUILD_H

#include "comicinfo.h"
#include "deflatedentry.h"
#include "pageoptions.h"

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>

// One page of a build: the list row it came from and the file it is read from.
struct BuildPage
{
    int row = 0;
    QString path;
};

// Makes one CBZ archive from page files, without any window: each page is
// read from its file, transformed, encoded and deflated on a pool of
// threads, a bounded number of pages at a time, and one writer appends the
// finished entries strictly in page order, so the archive is the same
// whatever the number of threads. A failure or a cancel stops the other
// threads promptly and leaves nothing behind: an earlier archive of the
// same name stays as it was.
class PageReader;

class CbzBuild : public QObject
{
    Q_OBJECT

public:
    CbzBuild(const QString &fileName, const QVector<BuildPage> &pages, const PageOptions &options,
             QObject *parent = nullptr);
    ~CbzBuild() override;

    // 0, the default, means one thread per core.
    void setThreadCount(int threads) { m_threads = threads; }
    // Written as ComicInfo.xml after the pages when its write flag is set.
    void setComicInfo(const ComicInfo &info) { m_comicInfo = info; }
    int threadCount() const;
    // Whether each page's first picture, as decoded, is kept for
    // takePicture(), reduced to fit within bounds, for a preview to show
    // without reading the file again.
    void setPicturesWanted(const QSize &bounds) { m_pictureBounds = bounds; }
    // The picture of the page of row, once pageWritten() has said so, and
    // the page's own size; null when a later page's picture has taken its
    // place (only the newest is kept, so a slow receiver never piles
    // pictures up). Any thread.
    QImage takePicture(int row, QSize *pageSize = nullptr);

    // Builds the archive, blocking the calling thread; any thread will do.
    // True when the archive was made and has its name.
    bool run();
    // Stops a running build within about one page's time; any thread.
    void cancel();
    bool isCanceled() const { return m_canceled; }

    QString fileName() const { return m_fileName; }
    // Why the build failed; empty after a success or a cancel.
    QString errorString() const { return m_error; }

    // The entries one page gives, in archive order: what the threads make.
    struct Page
    {
        QVector<DeflatedEntry> entries;
        QVector<ComicPage> comicPages; // one an entry
        QImage picture;                // the page as decoded, reduced, when wanted
        QSize pictureSize;             // the page's own size
        QString error;
    };
    Page makePage(const BuildPage &page) const;

private:
    // The file itself, when it is a JPEG no option changes; false when it
    // has to be made like any other page.
    bool keepUnchanged(PageReader &reader, Page *made) const;
    void keepPicture(const QImage &picture, Page *made) const;

public:
signals:
    // After the entries of the page from row were written; entryCount is
    // the number of entries in the archive so far.
    void pageWritten(int row, int entryCount);
    void finished(bool ok, const QString &error);

private:
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    bool finish(bool ok, const QString &error);

    QString m_fileName;
    QVector<BuildPage> m_pages;
    PageOptions m_options;
    ComicInfo m_comicInfo;
    int m_threads = 0;
    QSize m_pictureBounds;
    std::atomic_bool m_canceled{false};
    std::atomic_bool m_stop{false};
    QString m_error;
    QMutex m_pictureMutex;
    QImage m_picture;
    QSize m_pictureSize;
    int m_pictureRow = -1;
};

#endif // CBZBUILD_H
