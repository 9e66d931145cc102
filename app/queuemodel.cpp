#include "app/queuemodel.h"

#include "making/packager.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace {
QString kindTitle(const QueuedBook &book)
{
    return Packager::tr(Packager::kind(book.options.pages.BookKind).title);
}
} // namespace

QueueModel::QueueModel(BookQueue *queue, QObject *parent)
    : QAbstractTableModel(parent)
    , m_queue(queue)
{}

int QueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_queue->size();
}

int QueueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString QueueModel::tooltipOf(const QueuedBook &book)
{
    QStringList said;
    said << (book.sources.size() > 1
                 ? tr("From %1 folders as chapters, in %2")
                       .arg(book.sources.size())
                       .arg(
                           QDir::toNativeSeparators(QFileInfo(book.sources.first()).absolutePath()))
                 : tr("From %1").arg(QDir::toNativeSeparators(book.sources.value(0))));
    said << (book.preset.isEmpty()
                 ? tr("Made as %1 with its own options").arg(kindTitle(book))
                 : tr("Made as %1 with the preset %2").arg(kindTitle(book), book.presetTitle()));
    if (!book.pageNames.isEmpty())
        said << (book.pageNames.size() == 1
                     ? tr("1 page, as the list showed it")
                     : tr("%1 pages, as the list showed them").arg(book.pageNames.size()));
    said << tr("Into %1").arg(QDir::toNativeSeparators(book.target));
    said << book.stateText();
    if (!book.detail.isEmpty())
        said << book.detail;
    for (const QString &left : book.leftOut)
        said << left;
    for (const QString &note : book.notes)
        said << note;
    return said.join(QLatin1Char('\n'));
}

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_queue->size())
        return QVariant();
    const QueuedBook &book = m_queue->at(index.row());
    if (role == Qt::ToolTipRole)
        return tooltipOf(book);
    if (role == Qt::DecorationRole && index.column() == StateColumn) {
        const QStyle *style = QApplication::style();
        switch (book.state) {
        case QueuedBook::Failed:
            return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case QueuedBook::MadeWithout:
        case QueuedBook::Skipped:
        case QueuedBook::Stopped:
            return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case QueuedBook::Made:
            return style->standardIcon(QStyle::SP_DialogApplyButton);
        default:
            return QVariant();
        }
    }
    if (role == PercentRole && index.column() == ProgressColumn)
        return book.percentDone();
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case BookColumn:
        return nameOf(book);
    case KindColumn:
        return kindTitle(book);
    case PresetColumn:
        return book.presetTitle();
    case ProgressColumn:
        return book.percentDone() < 0 ? QString() : tr("%1%").arg(book.percentDone());
    case StateColumn:
        return book.stateText();
    case ArchiveColumn:
        return QFileInfo(book.target).fileName();
    default:
        return QVariant();
    }
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case BookColumn:
        return tr("Book");
    case KindColumn:
        return tr("Kind");
    case PresetColumn:
        return tr("Preset");
    case ProgressColumn:
        return tr("Progress");
    case StateColumn:
        return tr("State");
    case ArchiveColumn:
        return tr("Archive");
    default:
        return QVariant();
    }
}

// Two books of one name (issue 1 of two series) are told apart by the
// folders that hold them.
QString QueueModel::nameOf(const QueuedBook &book) const
{
    const QString name = book.name();
    if (m_named.value(name) < 2)
        return name;
    return tr("%1 (in %2)").arg(name, QFileInfo(book.folder()).fileName());
}

void QueueModel::reset()
{
    beginResetModel();
    m_named.clear();
    for (int row = 0; row < m_queue->size(); ++row)
        ++m_named[m_queue->at(row).name()];
    endResetModel();
}

void QueueModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
