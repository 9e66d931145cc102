#ifndef PAGEMAKER_H
#define PAGEMAKER_H

#include "making/buildpage.h"
#include "making/orderedpages.h"
#include "making/packager.h"
#include "making/pageoptions.h"
#include "making/pagepart.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QVector>

#include <atomic>

class PageReader;
class PageRecipe;
struct PagePlan;

// Makes the pages of a build, one page a call, on the build's threads: a
// page read from its file (its bytes and pixels counted against the
// budget), its recipe carried out (kept as it is, cut on its blocks, or
// decoded, cleaned up, cut and encoded), each entry packed as the book's
// kind packs them and handed on in order. What cannot be read fails the
// page, or is left out and named when the user said so.
class PageMaker
{
    Q_DECLARE_TR_FUNCTIONS(PageMaker)

public:
    // What every page of a build is made under.
    struct Settings
    {
        PageOptions options;
        // Only the first frame of an animation may go in (and is named).
        bool partialPagesAllowed = true;
        // A page that cannot be read is left out and named.
        bool unreadableLeftOut = false;
        // The bounds of the picture handed on for a preview; none when
        // invalid.
        QSize pictureBounds;
    };

    PageMaker(const QVector<BuildPage> &pages, const Settings &settings, OrderedPages &ordered,
              const std::atomic_bool &stop);

    // Makes the page at index, whatever it holds.
    void make(int index) const;
    // A part of the page at index encoded and packed as the options say:
    // empty when it was, else why not.
    QString encodePart(const PagePart &part, int index, PackedEntry *entry,
                       ComicPage *comicPage) const;
    // The blank page put before a spread: paper white, as tall as the spread
    // and half as wide, written as the options write pages. An empty entry
    // when it cannot be made; why then says why.
    PackedEntry facingBlank(const ComicPage &spread, ComicPage *blank, QString *why) const;
    // An entry's data packed as the book's kind holds it.
    PackedEntry packed(const QByteArray &data, QString *error = nullptr) const;

    const QVector<BuildPage> &pages() const { return m_pages; }
    const Settings &settings() const { return m_settings; }
    OrderedPages &ordered() const { return m_ordered; }
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    const std::atomic_bool *stopFlag() const { return &m_stop; }
    // Whether a page with more frames than one failed the build.
    bool refusedPartialPage() const { return m_refusedPartialPage; }

private:
    struct Made;
    void keepUnchanged(PageReader &reader, const PageRecipe &recipe, Made &made) const;
    bool cutLosslessly(PageReader &reader, const PageRecipe &recipe, Made &made) const;
    void encodeAll(PageReader &reader, const PageRecipe &recipe, Made &made) const;
    PackedEntry copiedFromZip(const PageReader &reader) const;
    QString nothingLeft(const QString &name, const PagePlan &plan) const;
    bool squeezed(const QSize &part) const;
    void completeUnreadable(int index, const QString &name, const QString &why) const;

    const QVector<BuildPage> &m_pages;
    const Settings m_settings;
    const Packager::Kind &m_kind;
    OrderedPages &m_ordered;
    const std::atomic_bool &m_stop;
    mutable std::atomic_bool m_refusedPartialPage{false};
};

#endif // PAGEMAKER_H
