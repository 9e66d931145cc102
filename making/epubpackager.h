#ifndef EPUBPACKAGER_H
#define EPUBPACKAGER_H

#include "making/zippackager.h"

// A fixed-layout EPUB 3: the mimetype first, stored, as readers look for
// it; the pages' pictures in its image folder; then one XHTML page a
// picture, the navigation by chapters and the package (EpubPackage). Its
// identifier is made of what its pictures hold and what it says of itself,
// and every entry is dated with the book's newest page: the same pages and
// options give the same book, byte for byte. For Kobo's reader, its display
// options too.
class EpubPackager : public ZipPackager
{
public:
    explicit EpubPackager(bool forKobo)
        : m_kobo(forKobo)
    {}

protected:
    bool started() override;
    bool described() override;

private:
    bool m_kobo;
};

#endif // EPUBPACKAGER_H
