#ifndef PREVIEWLOADER_H
#define PREVIEWLOADER_H

#include "pages/filestamp.h"
#include "pages/pagereader.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

// Reads pages for the preview away from the GUI thread, as image viewers
// do: the page asked for first, then its neighbours, so that the next
// arrow key finds its page ready; while a held key passes the pages faster
// than one is read, the pages ahead first, so that the key runs into pages
// already read. Pictures are decoded at the preview's
// size (a JPEG decodes straight at a fraction of its size) and the last few
// are kept. Only the page asked for last is announced: a slow page that
// finishes after the user moved on is kept, never shown. A JPEG is shown
// from a quick decode; every block of a page that was shown is checked
// once nothing is waiting to be read, and damage found then is announced
// as the page's failure.
class PreviewLoader : public QObject
{
    Q_OBJECT

public:
    explicit PreviewLoader(QObject *parent = nullptr);
    // Waits for the pages still being read: they touch nothing of ours.
    ~PreviewLoader() override;

    // The size pictures are decoded to fit in.
    void setBounds(const QSize &bounds);
    QSize bounds() const { return m_bounds; }
    // Dots per inch a PDF's pages are rendered at; pictures read at another
    // are forgotten.
    void setPdfResolution(int dotsPerInch);
    // Asks for the page, and for neighbours after it; pictureReady()
    // follows, at once when the page was read already.
    // Passing: the page is read after its neighbours (it will be passed
    // before it could be read), and first once the pages stop changing.
    void show(const PageLocation &page, const QVector<PageLocation> &neighbours = {},
              bool passing = false);
    // Forgets every picture and what was asked for (another folder).
    void clear();

signals:
    void pictureReady(const PageLocation &page, const PagePicture &picture);

private:
    struct Kept
    {
        PagePicture picture;
        FileStamp stamp; // of the file, as it was before it was read
        QSize bounds;
    };

    bool isKept(const PageLocation &page) const;
    void startReading();
    void read(const PageLocation &page, int generation);
    void finished(const PageLocation &page, int generation, const Kept &kept);
    void announce(const PageLocation &page);
    void check(const PageLocation &page, int generation);
    void checked(const PageLocation &page, int generation, const QString &error);

    static constexpr int KeptPictures = 8;
    static constexpr qint64 KeptBytes = qint64(384) << 20;

    QThreadPool m_pool;
    QSize m_bounds;
    int m_pdfResolution = PdfPages::DefaultResolution;
    PageLocation m_current;
    QVector<PageLocation> m_wanted;
    QSet<PageLocation> m_reading;
    QVector<PageLocation> m_toCheck; // shown, not yet checked; the latest first
    QTimer m_settled;                // no page asked for since it started: checks may run

    QHash<PageLocation, Kept> m_kept;
    QVector<PageLocation> m_keptOrder; // oldest first
    int m_generation = 0;
};

#endif // PREVIEWLOADER_H
