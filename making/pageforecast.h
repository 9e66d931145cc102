#ifndef PAGEFORECAST_H
#define PAGEFORECAST_H

#include "making/pagerecipe.h"
#include "making/scancleanup.h"
#include "pages/pagelocation.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// What a page will become in the archive, worked out without building it:
// read only as far as its recipe needs (its header, its whole file
// checked, or its pixels), and where pixels decide, the recipe carried out
// as the build carries it out, short of encoding. What the command line's
// listing prints of a page is this.
class PageForecast
{
    Q_DECLARE_TR_FUNCTIONS(PageForecast)

public:
    static PageForecast of(const PageLocation &page, const PageOptions &options,
                           const PageTreatment &own = PageTreatment());

    // Left out of the archive (blank, or unreadable), and why.
    bool leftOut() const { return !m_leftOutWhy.isEmpty(); }
    QString leftOutWhy() const { return m_leftOutWhy; }
    // Made from the page's first picture's facts; meaningless when left
    // out.
    const PageRecipe &recipe() const { return m_recipe; }
    // Every entry the page makes, in archive order: a scanner's file of
    // many pictures makes the entries of each.
    const QList<PagePart> &parts() const { return m_parts; }
    // What cleaning the first picture up as a scan did.
    const ScanCleanup &cleanup() const { return m_cleanup; }

private:
    PageForecast(const PageRecipe &recipe)
        : m_recipe(recipe)
    {}

    PageRecipe m_recipe;
    QList<PagePart> m_parts;
    ScanCleanup m_cleanup;
    QString m_leftOutWhy;
};

#endif // PAGEFORECAST_H
