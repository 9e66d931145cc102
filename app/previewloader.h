#ifndef PREVIEWLOADER_H
#define PREVIEWLOADER_H

#include "pages/pagereader.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <QThreadPool>

// Reads pages for the preview away from the GUI thread, as image viewers
// do: the page asked for first, then its neighbours, so that the next
// arrow key finds its page ready. Pictures are decoded at the preview's
// size (a JPEG decodes straight at a fraction of its size) and the last few
// are kept. Only the page asked for last is announced: a slow page that
// finishes after the user moved on is kept, never shown.
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
    // Asks for the page at path, and for neighbours after it; pictureReady()
    // follows, at once when the page was read already.
    void show(const QString &path, const QStringList &neighbours = QStringList());
    // Forgets every picture and what was asked for (another folder).
    void clear();

signals:
    void pictureReady(const QString &path, const PagePicture &picture);

private:
    struct Kept
    {
        PagePicture picture;
        QDateTime modified;
        qint64 size = 0;
        QSize bounds;
    };

    bool isKept(const QString &path) const;
    void startReading();
    void read(const QString &path, int generation);
    void finished(const QString &path, int generation, const Kept &kept);

    static constexpr int KeptPictures = 8;

    QThreadPool m_pool;
    QSize m_bounds;
    QString m_current;
    QStringList m_wanted;
    QSet<QString> m_reading;
    QHash<QString, Kept> m_kept;
    QStringList m_keptOrder; // oldest first
    int m_generation = 0;
};

#endif // PREVIEWLOADER_H
