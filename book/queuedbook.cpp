#include "book/queuedbook.h"

#include "book/book.h"
#include "book/bookpreset.h"
#include "pages/pagesource.h"

#include <QDir>
#include <QFileInfo>

// Several sources are the chapters of the book named after the folder
// that holds them, which goes beside that folder.
QString QueuedBook::name() const
{
    if (sources.size() > 1)
        return QFileInfo(QFileInfo(sources.first()).absolutePath()).fileName();
    return bookNameOf(sources.value(0));
}

QString QueuedBook::folder() const
{
    return Book::defaultFolderOf(sources.size() > 1 ? QFileInfo(sources.first()).absolutePath()
                                                    : sources.value(0));
}

// The first of what became of its pages, for its row; the rest are in its
// whole story.
QString QueuedBook::notesInBrief() const
{
    if (notes.isEmpty())
        return QString();
    if (notes.size() == 1)
        return QStringLiteral("; ") + notes.first();
    return QStringLiteral("; ") + tr("%1 (and %2 more)").arg(notes.first()).arg(notes.size() - 1);
}

QString QueuedBook::stateText() const
{
    switch (state) {
    case Waiting:
        return tr("Waiting");
    case Making:
        return pageCount > 0 ? tr("Making: page %1 of %2").arg(pagesDone).arg(pageCount)
               : listed > 0  ? tr("Making: listing its pages, %L1 entries so far").arg(listed)
                             : tr("Making: reading its pages");
    case Made:
        return tr("Made: %1, in %2 s").arg(report).arg(milliseconds / 1000.0, 0, 'f', 1) +
               notesInBrief();
    case MadeWithout:
        return tr("Made without some of it: %1, in %2 s")
                   .arg(report)
                   .arg(milliseconds / 1000.0, 0, 'f', 1) +
               notesInBrief();
    case Failed:
        return tr("Failed: %1").arg(report);
    case Skipped:
        return tr("Skipped: %1").arg(report);
    case Stopped:
        return tr("Stopped; nothing was made");
    }
    return QString();
}

QString QueuedBook::presetTitle() const
{
    return preset.isEmpty() ? tr("own options") : BookPreset::titleOf(preset);
}

int QueuedBook::percentDone() const
{
    switch (state) {
    case Making:
        return pageCount > 0 ? int(qint64(pagesDone) * 100 / pageCount) : 0;
    case Made:
    case MadeWithout:
        return 100;
    default:
        return -1;
    }
}
