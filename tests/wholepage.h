#ifndef WHOLEPAGE_H
#define WHOLEPAGE_H

#include "pages/pagereader.h"

#include <QImage>
#include <QList>

// A page read as a build reads it, every picture kept: checked whole, then
// each picture decoded. What the tests look at after a read.
class WholePage : public PageReader
{
public:
    using PageReader::PageReader;

    [[nodiscard]] bool read(Pictures which = AllPictures)
    {
        m_pictures.clear();
        const bool whole = readWithoutDecoding() && readEach(which, [this](const QImage &picture) {
                               m_pictures.append(picture);
                               return true;
                           });
        if (!whole)
            m_pictures.clear();
        return whole;
    }
    const QList<QImage> &images() const { return m_pictures; }

private:
    QList<QImage> m_pictures;
};

#endif // WHOLEPAGE_H
