#ifndef CBZPACKAGER_H
#define CBZPACKAGER_H

#include "making/zippackager.h"

// A CBZ: the pages, then ComicInfo.xml when the book is to carry it, its
// pages counted and described as they went in.
class CbzPackager : public ZipPackager
{
protected:
    bool described() override;
};

#endif // CBZPACKAGER_H
