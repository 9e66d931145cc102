#include "app/builtpictures.h"

void BuiltPictures::pagePicture(int row, const QImage &picture, const QSize &pageSize)
{
    QMutexLocker locker(&m_mutex);
    m_picture = picture;
    m_pageSize = pageSize;
    m_row = row;
}

QImage BuiltPictures::take(int row, QSize *pageSize)
{
    QMutexLocker locker(&m_mutex);
    if (row != m_row)
        return QImage();
    m_row = -1;
    *pageSize = m_pageSize;
    return std::move(m_picture);
}
