#ifndef CLILISTING_H
#define CLILISTING_H

#include "making/buildpage.h"
#include "making/longstrip.h"
#include "making/pageoptions.h"

#include <QCoreApplication>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class FacingPages;
struct ListedPage;

// What --list says of a book, a line a page in the book's order: its name,
// and what it becomes where it does not go in as it is (its size, turns,
// cuts, grey, where it lies in an EPUB, the long strip it is joined to),
// as the build will make it, found without making it.
class CliListing
{
    Q_DECLARE_TR_FUNCTIONS(CliListing)

public:
    static QStringList lines(const QVector<BuildPage> &pages, const QVector<ListedPage> &listed,
                             const PageOptions &options);
    // Which half of a cut page comes first, and why.
    static QString directionNote(const PageOptions &options);

private:
    static QString describeStripPage(const LongStrip::Forecast &forecast, int tile, int tiles,
                                     int *entry, const PageOptions &options, FacingPages *facing);
    // What --list says of a page, and the sizes of what it becomes.
    struct Described
    {
        QString text;
        QList<QSize> sizes;
        bool leftOut = false; // blank and left out, or unreadable
        bool kept = false;    // goes in as its file is
        QString suffix;       // its entries' type
        QVector<int> halves;  // each entry's half of a cut page: 1 left, 2 right
        // For each entry the page makes, whether it is a spread kept whole:
        // a file of many pictures makes entries of each.
        QVector<bool> spreads;
    };
    static Described describe(const BuildPage &page, const PageOptions &options);
    static QString pdfPages(const BuildPage &page, const Described &described);
};

#endif // CLILISTING_H
