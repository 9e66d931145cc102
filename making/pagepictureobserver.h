#ifndef PAGEPICTUREOBSERVER_H
#define PAGEPICTUREOBSERVER_H

#include <QImage>
#include <QSize>

// Whoever wants to see a build's pages as they are written (a preview)
// without reading their files again: the build hands each page's first
// picture, as it decoded it and reduced to fit pictureBounds(), just before
// it says the page was written. Called on the build's own thread.
class PagePictureObserver
{
public:
    virtual ~PagePictureObserver() = default;
    // Asked once, when the build starts.
    virtual QSize pictureBounds() const = 0;
    virtual void pagePicture(int row, const QImage &picture, const QSize &pageSize) = 0;
};

#endif // PAGEPICTUREOBSERVER_H
