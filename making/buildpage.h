#ifndef BUILDPAGE_H
#define BUILDPAGE_H

#include "making/pagetreatment.h"
#include "pages/pagelocation.h"

#include <QString>

// One page of a build: the list row it came from, where it is read from,
// and what it does differently from the book.
struct BuildPage
{
    int row = 0;
    PageLocation page;
    PageTreatment treatment = PageTreatment();
    // The chapter this page begins, for ComicInfo.xml; empty for most.
    QString bookmark = QString();
};

#endif // BUILDPAGE_H
