#ifndef SHELFWATCH_H
#define SHELFWATCH_H

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// What of a watched folder is due to be made: each book in it (a folder of
// pages, an archive, a PDF, an EPUB; hidden files and the books made from
// it aside) once it has not changed for the settle time. A book made or
// failed is not due again until it changes; one that changed while it was
// made is due again once it settles. Its time is the caller's clock, in
// milliseconds, so that the rules are tried without waiting.
class ShelfWatch
{
public:
    ShelfWatch(const QString &folder, qint64 settleMs);

    // Looks at the folder at time now: the books settled and due, in name
    // order. nextLook() then says when a book not yet settled will be.
    QStringList due(qint64 now);
    qint64 nextLook() const { return m_nextLook; }

    // The book at path is being made from what it holds now.
    void started(const QString &path);
    // It was made (or found made) into target, or failed: not due again
    // unless it changed since it was started.
    void finished(const QString &path, const QString &target);
    // Whether it was made (or failed) in this watch from what it held
    // before: made again, its book is replaced.
    bool madeBefore(const QString &path) const;

    // What the book at path holds, as its names, sizes and times say: a
    // change to any file in it changes it. Bounded: a folder of more than
    // a few levels or entries is read no further.
    static QByteArray signatureOf(const QString &path);

private:
    struct Entry
    {
        QByteArray signature;
        qint64 since = 0;       // when it last changed, as far as a look saw
        QByteArray doneFrom;    // what it held when it was last made or failed
        QByteArray startedFrom; // what it held when its making started
        bool madeBefore = false;
    };
    QString m_folder;
    qint64 m_settle;
    qint64 m_nextLook = -1;
    QHash<QString, Entry> m_entries;
    QSet<QString> m_targets; // books made here, which are no sources
};

#endif // SHELFWATCH_H
