#ifndef BUILTPICTURES_H
#define BUILTPICTURES_H

#include "making/pagepictureobserver.h"

#include <QImage>
#include <QMutex>
#include <QSize>

// The pictures of a build's pages for the preview to show as the list
// follows the build. Only the newest is kept, so a slow window never piles
// pictures up: a page whose picture was overtaken by the next one's is
// simply not shown. Handed over from the build's thread, taken on the GUI
// thread.
class BuiltPictures : public PagePictureObserver
{
public:
    // The preview's size in device pixels: a page's full picture would be
    // tens of megabytes held for a moment's glance.
    void setBounds(const QSize &bounds) { m_bounds = bounds; }

    QSize pictureBounds() const override { return m_bounds; }
    void pagePicture(int row, const QImage &picture, const QSize &pageSize) override;

    // The picture of row's page and its own size; null when a later page's
    // has taken its place.
    QImage take(int row, QSize *pageSize);

private:
    QSize m_bounds;
    QMutex m_mutex;
    QImage m_picture;
    QSize m_pageSize;
    int m_row = -1;
};

#endif // BUILTPICTURES_H
