#ifndef STRIPCUTFINDER_H
#define STRIPCUTFINDER_H

#include "making/buildpage.h"
#include "making/longstrip.h"
#include "making/pageoptions.h"

#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QVector>

#include <atomic>
#include <memory>

// Where the long strips of the book listed are cut, for the preview to
// draw over their pages: found away from the GUI thread as the build and
// the listing find them (the strips' pages read whole once), again only
// when the pages, their treatments or the options that shape a strip change.
class StripCutFinder : public QObject
{
    Q_OBJECT

public:
    explicit StripCutFinder(QObject *parent = nullptr);
    // Stops the search under way and waits for it.
    ~StripCutFinder() override;

    // The book's pages as a build takes them, and the options: nothing is
    // looked for while long strips are not cut.
    void setPages(const QVector<BuildPage> &pages, const PageOptions &options);
    // The cuts that fall on a page, in its own rows; none until they are
    // found.
    QVector<LongStrip::Cut> cutsOn(const PageLocation &page) const;

signals:
    // The cuts of the pages last set are known.
    void found();

private:
    using Found = QHash<PageLocation, QVector<LongStrip::Cut>>;
    static Found find(const QVector<BuildPage> &pages, const PageOptions &options,
                      const std::atomic_bool *stop);
    void finished();

    QString m_key;     // of the pages and options the cuts are for
    QString m_seeking; // of those being looked at
    Found m_found;
    QFutureWatcher<Found> m_search;
    std::shared_ptr<std::atomic_bool> m_stop;
    QVector<BuildPage> m_pending; // asked for while another search ran
    PageOptions m_pendingOptions;
    bool m_hasPending = false;
};

#endif // STRIPCUTFINDER_H
