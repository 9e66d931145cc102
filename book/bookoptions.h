#ifndef BOOKOPTIONS_H
#define BOOKOPTIONS_H

#include "making/pageoptions.h"

// Everything the user sets for the books they make, remembered from one run
// to the next: how pages are made, which pictures a folder lists, and
// whether archives carry ComicInfo.xml.
struct BookOptions
{
    PageOptions pages;
    // List pictures of every type this program reads, not only the page types.
    bool everyPictureType = false;
    bool writeComicInfo = false;

    // Every option of the option table alike.
    bool operator==(const BookOptions &o) const;
    bool operator!=(const BookOptions &o) const { return !(*this == o); }
};

#endif // BOOKOPTIONS_H
