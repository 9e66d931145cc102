#include "book/bookqueue.h"

#include "book/book.h"
#include "book/optiontable.h"
#include "pages/pagesource.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include <algorithm>

void BookQueue::add(const QueuedBook &book)
{
    add(QVector<QueuedBook>{book});
}

void BookQueue::add(const QVector<QueuedBook> &books)
{
    for (QueuedBook book : books) {
        book.id = m_nextId++;
        m_rows.push_back(book);
    }
    layOut();
}

void BookQueue::setOptions(int row, const BookOptions &options, const QString &preset)
{
    (*this)[row].options = options;
    (*this)[row].preset = preset;
    layOut();
}

int BookQueue::rowOf(int id) const
{
    for (int row = 0; row < size(); ++row) {
        if (at(row).id == id)
            return row;
    }
    return -1;
}

void BookQueue::remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
    layOut();
}

void BookQueue::move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= size() || to >= size())
        return;
    // The rows between shift by one toward from's place.
    if (from < to)
        std::rotate(m_rows.begin() + from, m_rows.begin() + from + 1, m_rows.begin() + to + 1);
    else
        std::rotate(m_rows.begin() + to, m_rows.begin() + from, m_rows.begin() + from + 1);
}

void BookQueue::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
    layOut();
}

QString BookQueue::commonFolder() const
{
    QStringList common;
    bool first = true;
    for (const QueuedBook &book : m_rows) {
        const QStringList parts = QDir::cleanPath(book.folder()).split(QLatin1Char('/'));
        if (first) {
            common = parts;
            first = false;
            continue;
        }
        int same = 0;
        while (same < common.size() && same < parts.size() && common.at(same) == parts.at(same))
            ++same;
        common = common.mid(0, same);
    }
    const QString joined = common.join(QLatin1Char('/'));
    return joined.isEmpty() && !first ? QStringLiteral("/") : joined;
}

// Each archive beside its source, or in the output folder where its source
// lies below the folder common to them all.
void BookQueue::layOut()
{
    const QString common = m_outputFolder.isEmpty() ? QString() : commonFolder();
    for (QueuedBook &book : m_rows) {
        QString folder = book.folder();
        if (!m_outputFolder.isEmpty())
            folder = QDir(m_outputFolder).filePath(QDir(common).relativeFilePath(folder));
        book.target = QDir::cleanPath(Book::targetFor(book.name(), book.sources.value(0), folder,
                                                      book.options.pages.BookKind));
    }
}

int BookQueue::sameTargetAs(int row) const
{
    for (int other = 0; other < row; ++other) {
        if (at(other).target == at(row).target)
            return other;
    }
    return -1;
}

int BookQueue::nextWaiting() const
{
    for (int row = 0; row < size(); ++row) {
        if (at(row).state == QueuedBook::Waiting)
            return row;
    }
    return -1;
}

void BookQueue::makeAgain(int row)
{
    QueuedBook &book = (*this)[row];
    book.state = QueuedBook::Waiting;
    book.pagesDone = 0;
    book.report.clear();
    book.detail.clear();
    book.leftOut.clear();
    book.notes.clear();
    book.milliseconds = 0;
}

int BookQueue::makeFailedAgain()
{
    int again = 0;
    for (int row = 0; row < size(); ++row) {
        if (at(row).state == QueuedBook::Failed) {
            makeAgain(row);
            ++again;
        }
    }
    return again;
}

int BookQueue::count(QueuedBook::State state) const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(),
                             [state](const QueuedBook &book) { return book.state == state; }));
}

namespace {
void saveTreatments(QSettings &settings, const QueuedBook &book)
{
    settings.beginWriteArray(QStringLiteral("Treatments"), book.treatments.size());
    int i = 0;
    for (auto page = book.treatments.cbegin(); page != book.treatments.cend(); ++page, ++i) {
        const PageTreatment &t = page.value();
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("Page"), page.key());
        settings.setValue(QStringLiteral("Cut"), int(t.cut));
        settings.setValue(QStringLiteral("Border"), int(t.border));
        settings.setValue(QStringLiteral("Sides"),
                          QList<QVariant>{t.borderSides.left(), t.borderSides.top(),
                                          t.borderSides.right(), t.borderSides.bottom()});
        settings.setValue(QStringLiteral("Rotation"), t.rotation);
        settings.setValue(QStringLiteral("Straighten"), int(t.straighten));
        settings.setValue(QStringLiteral("Degrees"), t.straightenDegrees);
        settings.setValue(QStringLiteral("PaperAsScanned"), t.paperAsScanned);
        settings.setValue(QStringLiteral("KeptThoughBlank"), t.keptThoughBlank);
    }
    settings.endArray();
}

// A treatment as remembered; what is out of its range is the book's own.
PageTreatment loadTreatment(const QSettings &settings)
{
    const auto number = [&](const char *key, int low, int high) {
        const int value = settings.value(QLatin1String(key)).toInt();
        return value >= low && value <= high ? value : 0;
    };
    PageTreatment t;
    t.cut = PageTreatment::Cut(number("Cut", 0, PageTreatment::NeverCut));
    t.border = PageTreatment::Border(number("Border", 0, PageTreatment::OwnBorder));
    const QList<QVariant> sides = settings.value(QStringLiteral("Sides")).toList();
    QMargins margins;
    QStringList words;
    for (const QVariant &side : sides)
        words << QString::number(side.toInt());
    int taken = 0;
    if (t.border == PageTreatment::OwnBorder && !PageTreatment::readBorder(words, &margins, &taken))
        t.border = PageTreatment::BorderAsBook;
    t.borderSides = t.border == PageTreatment::OwnBorder ? margins : QMargins();
    const int rotation = number("Rotation", 0, 270);
    t.rotation = rotation % 90 == 0 ? rotation : 0;
    t.straighten = PageTreatment::Straighten(number("Straighten", 0, PageTreatment::StraightenBy));
    double degrees = 0;
    if (t.straighten == PageTreatment::StraightenBy &&
        !PageTreatment::readDegrees(settings.value(QStringLiteral("Degrees")).toString(), &degrees))
        t.straighten = PageTreatment::StraightenAsBook;
    t.straightenDegrees = degrees;
    t.paperAsScanned = settings.value(QStringLiteral("PaperAsScanned")).toBool();
    t.keptThoughBlank = settings.value(QStringLiteral("KeptThoughBlank")).toBool();
    return t;
}

void saveBook(QSettings &settings, const QueuedBook &book)
{
    settings.setValue(QStringLiteral("Sources"), book.sources);
    settings.setValue(QStringLiteral("Chapters"), book.chapters);
    settings.setValue(QStringLiteral("Preset"), book.preset);
    settings.setValue(QStringLiteral("ComicInfo"), comicInfoXml(book.comicInfo, {}));
    settings.setValue(QStringLiteral("WriteComicInfo"), book.comicInfo.write);
    settings.setValue(QStringLiteral("ComicInfoEdited"), book.comicInfoEdited);
    settings.setValue(QStringLiteral("Pages"), book.pageNames);
    settings.setValue(QStringLiteral("State"), int(book.state));
    settings.setValue(QStringLiteral("Report"), book.report);
    settings.setValue(QStringLiteral("Detail"), book.detail);
    settings.setValue(QStringLiteral("LeftOut"), book.leftOut);
    settings.setValue(QStringLiteral("Notes"), book.notes);
    settings.setValue(QStringLiteral("Milliseconds"), book.milliseconds);
    saveBookOptions(settings, book.options);
    saveTreatments(settings, book);
}

QueuedBook loadBook(QSettings &settings)
{
    QueuedBook book;
    book.sources = settings.value(QStringLiteral("Sources")).toStringList();
    book.chapters = settings.value(QStringLiteral("Chapters")).toBool();
    book.preset = settings.value(QStringLiteral("Preset")).toString();
    book.comicInfo = ComicInfo::fromXml(settings.value(QStringLiteral("ComicInfo")).toByteArray());
    book.comicInfo.sourceXml.clear();
    book.comicInfo.write = settings.value(QStringLiteral("WriteComicInfo")).toBool();
    book.comicInfoEdited = settings.value(QStringLiteral("ComicInfoEdited")).toBool();
    book.pageNames = settings.value(QStringLiteral("Pages")).toStringList();
    const int state = settings.value(QStringLiteral("State")).toInt();
    book.state = state >= QueuedBook::Waiting && state <= QueuedBook::Stopped
                     ? QueuedBook::State(state)
                     : QueuedBook::Waiting;
    // The program stopped while it was being made: nothing was.
    if (book.state == QueuedBook::Making)
        book.state = QueuedBook::Waiting;
    book.report = settings.value(QStringLiteral("Report")).toString();
    book.detail = settings.value(QStringLiteral("Detail")).toString();
    book.leftOut = settings.value(QStringLiteral("LeftOut")).toStringList();
    book.notes = settings.value(QStringLiteral("Notes")).toStringList();
    book.milliseconds = settings.value(QStringLiteral("Milliseconds")).toLongLong();
    book.options = loadBookOptions(settings);
    const int treatments = settings.beginReadArray(QStringLiteral("Treatments"));
    for (int i = 0; i < treatments; ++i) {
        settings.setArrayIndex(i);
        book.treatments.insert(settings.value(QStringLiteral("Page")).toString(),
                               loadTreatment(settings));
    }
    settings.endArray();
    return book;
}
} // namespace

void BookQueue::save(QSettings &settings) const
{
    settings.beginGroup(QStringLiteral("Queue"));
    settings.remove(QString());
    settings.setValue(QStringLiteral("OutputFolder"), m_outputFolder);
    settings.beginWriteArray(QStringLiteral("Books"), size());
    for (int row = 0; row < size(); ++row) {
        settings.setArrayIndex(row);
        saveBook(settings, at(row));
    }
    settings.endArray();
    settings.endGroup();
}

BookQueue BookQueue::load(QSettings &settings)
{
    BookQueue queue;
    settings.beginGroup(QStringLiteral("Queue"));
    queue.m_outputFolder = settings.value(QStringLiteral("OutputFolder")).toString();
    const int rows = qMin(settings.beginReadArray(QStringLiteral("Books")), RowLimit);
    for (int row = 0; row < rows; ++row) {
        settings.setArrayIndex(row);
        QueuedBook book = loadBook(settings);
        if (book.sources.isEmpty())
            continue;
        for (const QString &source : qAsConst(book.sources)) {
            if (book.state == QueuedBook::Waiting && !QFileInfo::exists(source)) {
                book.state = QueuedBook::Failed;
                book.report = QueuedBook::tr("Its source is gone: %1").arg(source);
            }
        }
        book.id = queue.m_nextId++;
        queue.m_rows.push_back(book);
    }
    settings.endArray();
    settings.endGroup();
    queue.layOut();
    return queue;
}
