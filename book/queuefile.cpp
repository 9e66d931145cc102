#include "book/queuefile.h"

#include "book/optiontable.h"
#include "book/settingsfile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>

namespace {
QVariantMap treatmentRecord(const QString &page, const PageTreatment &t)
{
    return {{QStringLiteral("Page"), page},
            {QStringLiteral("Cut"), int(t.cut)},
            {QStringLiteral("Border"), int(t.border)},
            {QStringLiteral("Sides"), QVariantList{t.borderSides.left(), t.borderSides.top(),
                                                   t.borderSides.right(), t.borderSides.bottom()}},
            {QStringLiteral("Rotation"), t.rotation},
            {QStringLiteral("Straighten"), int(t.straighten)},
            {QStringLiteral("Degrees"), t.straightenDegrees},
            {QStringLiteral("PaperAsScanned"), t.paperAsScanned},
            {QStringLiteral("KeptThoughBlank"), t.keptThoughBlank}};
}

// A treatment as remembered; what is out of its range is the book's own.
PageTreatment treatmentOf(const QVariantMap &record)
{
    const auto number = [&](const char *key, int low, int high) {
        const int value = record.value(QLatin1String(key)).toInt();
        return value >= low && value <= high ? value : 0;
    };
    PageTreatment t;
    t.cut = PageTreatment::Cut(number("Cut", 0, PageTreatment::NeverCut));
    t.border = PageTreatment::Border(number("Border", 0, PageTreatment::OwnBorder));
    QStringList words;
    for (const QVariant &side : record.value(QStringLiteral("Sides")).toList().mid(0, 4))
        words << QString::number(side.toInt());
    QMargins margins;
    int taken = 0;
    if (t.border == PageTreatment::OwnBorder && !PageTreatment::readBorder(words, &margins, &taken))
        t.border = PageTreatment::BorderAsBook;
    t.borderSides = t.border == PageTreatment::OwnBorder ? margins : QMargins();
    const int rotation = number("Rotation", 0, 270);
    t.rotation = rotation % 90 == 0 ? rotation : 0;
    t.straighten = PageTreatment::Straighten(number("Straighten", 0, PageTreatment::StraightenBy));
    double degrees = 0;
    if (t.straighten == PageTreatment::StraightenBy &&
        !PageTreatment::readDegrees(record.value(QStringLiteral("Degrees")).toString(), &degrees))
        t.straighten = PageTreatment::StraightenAsBook;
    t.straightenDegrees = degrees;
    t.paperAsScanned = record.value(QStringLiteral("PaperAsScanned")).toBool();
    t.keptThoughBlank = record.value(QStringLiteral("KeptThoughBlank")).toBool();
    return t;
}

// A list of text as remembered: only text, at most limit of it.
QStringList textsOf(const QVariant &value, int limit)
{
    QStringList texts;
    if (value.type() == QVariant::String) // a list of one, as Qt's settings keep it
        return {value.toString()};
    const QVariantList list = value.toList();
    for (int i = 0; i < list.size() && texts.size() < limit; ++i) {
        if (list.at(i).canConvert<QString>())
            texts << list.at(i).toString();
    }
    return texts;
}

QVariantMap recordOf(const QueuedBook &book)
{
    QVariantList treatments;
    for (auto page = book.treatments.cbegin(); page != book.treatments.cend(); ++page)
        treatments << treatmentRecord(page.key(), page.value());
    // The options as they differ from the defaults: a queue of many books
    // stays small.
    const QVariantMap defaults = storedBookOptions(BookOptions());
    QVariantMap options = storedBookOptions(book.options);
    for (auto option = defaults.cbegin(); option != defaults.cend(); ++option) {
        if (options.value(option.key()) == option.value())
            options.remove(option.key());
    }
    return {{QStringLiteral("Sources"), book.sources},
            {QStringLiteral("Chapters"), book.chapters},
            {QStringLiteral("Preset"), book.preset},
            {QStringLiteral("Replace"), book.replace},
            {QStringLiteral("ComicInfo"), QString::fromUtf8(comicInfoXml(book.comicInfo, {}))},
            {QStringLiteral("WriteComicInfo"), book.comicInfo.write},
            {QStringLiteral("ComicInfoEdited"), book.comicInfoEdited},
            {QStringLiteral("Pages"), book.pageNames},
            {QStringLiteral("State"), int(book.state)},
            {QStringLiteral("Report"), book.report},
            {QStringLiteral("Detail"), book.detail},
            {QStringLiteral("LeftOut"), book.leftOut},
            {QStringLiteral("Notes"), book.notes},
            {QStringLiteral("Milliseconds"), book.milliseconds},
            {QStringLiteral("Options"), options},
            {QStringLiteral("Treatments"), treatments}};
}

// A book as remembered, each value checked; options is its options by
// their settings keys, treatments its pages' own.
QueuedBook bookOf(const QVariantMap &record, const QVariantMap &options,
                  const QVector<QVariantMap> &treatments)
{
    QueuedBook book;
    book.sources = textsOf(record.value(QStringLiteral("Sources")), 1000);
    book.chapters = record.value(QStringLiteral("Chapters")).toBool();
    book.preset = record.value(QStringLiteral("Preset")).toString();
    book.replace = record.value(QStringLiteral("Replace")).toBool();
    book.comicInfo =
        ComicInfo::fromXml(record.value(QStringLiteral("ComicInfo")).toString().toUtf8());
    book.comicInfo.sourceXml.clear();
    book.comicInfo.write = record.value(QStringLiteral("WriteComicInfo")).toBool();
    book.comicInfoEdited = record.value(QStringLiteral("ComicInfoEdited")).toBool();
    book.pageNames = textsOf(record.value(QStringLiteral("Pages")), QueueFile::PageLimit);
    const int state = record.value(QStringLiteral("State")).toInt();
    book.state = state >= QueuedBook::Waiting && state <= QueuedBook::Stopped
                     ? QueuedBook::State(state)
                     : QueuedBook::Waiting;
    // The program stopped while it was being made: nothing was.
    if (book.state == QueuedBook::Making)
        book.state = QueuedBook::Waiting;
    book.report = record.value(QStringLiteral("Report")).toString();
    book.detail = record.value(QStringLiteral("Detail")).toString();
    book.leftOut = textsOf(record.value(QStringLiteral("LeftOut")), QueueFile::PageLimit);
    book.notes = textsOf(record.value(QStringLiteral("Notes")), QueueFile::PageLimit);
    book.milliseconds = qMax<qint64>(0, record.value(QStringLiteral("Milliseconds")).toLongLong());
    book.options = bookOptionsFrom(options);
    for (int i = 0; i < treatments.size() && i < QueueFile::PageLimit; ++i)
        book.treatments.insert(treatments.at(i).value(QStringLiteral("Page")).toString(),
                               treatmentOf(treatments.at(i)));
    return book;
}

// The groups of an array of Qt's settings that are there, by number: its
// size as written is not believed.
QVector<int> arrayIndices(const QSettings &settings, int limit)
{
    QVector<int> indices;
    for (const QString &group : settings.childGroups()) {
        bool ok = false;
        const int index = group.toInt(&ok);
        if (ok && index > 0)
            indices << index;
    }
    std::sort(indices.begin(), indices.end());
    return indices.mid(0, limit);
}
} // namespace

QueueFile::QueueFile(const QString &folder)
    : m_path(QDir(folder).filePath(QStringLiteral("Queue.json")))
    , m_earlierPath(QDir(folder).filePath(QStringLiteral("Queue.ini")))
{}

QByteArray QueueFile::toJson(const BookQueue &queue)
{
    QJsonArray books;
    for (int row = 0; row < queue.size(); ++row)
        books.append(QJsonObject::fromVariantMap(recordOf(queue.at(row))));
    QJsonObject whole;
    whole.insert(QStringLiteral("OutputFolder"), queue.outputFolder());
    whole.insert(QStringLiteral("Books"), books);
    return QJsonDocument(whole).toJson(QJsonDocument::Indented);
}

bool QueueFile::fromJson(const QByteArray &json, BookQueue *queue, QString *error)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject()) {
        *error =
            parsed.error != QJsonParseError::NoError
                ? tr("it is damaged at byte %1: %2").arg(parsed.offset).arg(parsed.errorString())
                : tr("it holds no queue");
        return false;
    }
    const QJsonObject whole = document.object();
    const QJsonArray records = whole.value(QStringLiteral("Books")).toArray();
    QVector<QueuedBook> books;
    for (int i = 0; i < records.size() && i < BookQueue::RowLimit; ++i) {
        const QJsonObject record = records.at(i).toObject();
        QVector<QVariantMap> treatments;
        const QJsonArray own = record.value(QStringLiteral("Treatments")).toArray();
        for (int page = 0; page < own.size() && page < PageLimit; ++page)
            treatments << own.at(page).toObject().toVariantMap();
        books << bookOf(record.toVariantMap(),
                        record.value(QStringLiteral("Options")).toObject().toVariantMap(),
                        treatments);
    }
    *queue = BookQueue::restored(books, whole.value(QStringLiteral("OutputFolder")).toString());
    return true;
}

BookQueue QueueFile::load()
{
    m_notice.clear();
    QString error;
    bool absent = false;
    const QByteArray json = SettingsFile::read(m_path, SizeLimit, &error, &absent);
    if (absent)
        return loadEarlier();
    if (!error.isEmpty())
        return unreadable(m_path, error);
    BookQueue queue;
    if (!fromJson(json, &queue, &error))
        return unreadable(m_path, error);
    return queue;
}

// What earlier versions kept, in Qt's settings: read within bounds, and
// only the groups that are there.
BookQueue QueueFile::loadEarlier()
{
    QString error;
    bool absent = false;
    const QByteArray ini = SettingsFile::read(m_earlierPath, EarlierSizeLimit, &error, &absent);
    if (absent)
        return BookQueue();
    if (!error.isEmpty())
        return unreadable(m_earlierPath, error);
    // Qt's settings read a file by its name: these bytes, in a file of
    // their own.
    QTemporaryDir work;
    QFile copy(work.filePath(QStringLiteral("Queue.ini")));
    if (!work.isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(ini) != ini.size()) {
        m_notice = tr("The queue of %1 cannot be read: %2")
                       .arg(QDir::toNativeSeparators(m_earlierPath), copy.errorString());
        return BookQueue();
    }
    copy.close();
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return unreadable(m_earlierPath, tr("it is damaged"));
    settings.beginGroup(QStringLiteral("Queue"));
    const QString output = settings.value(QStringLiteral("OutputFolder")).toString();
    settings.beginGroup(QStringLiteral("Books"));
    QVector<QueuedBook> books;
    for (const int row : arrayIndices(settings, BookQueue::RowLimit)) {
        settings.beginGroup(QString::number(row));
        QVariantMap record;
        for (const QString &key : settings.childKeys())
            record.insert(key, settings.value(key));
        QVector<QVariantMap> treatments;
        settings.beginGroup(QStringLiteral("Treatments"));
        for (const int page : arrayIndices(settings, PageLimit)) {
            settings.beginGroup(QString::number(page));
            QVariantMap treatment;
            for (const QString &key : settings.childKeys())
                treatment.insert(key, settings.value(key));
            treatments << treatment;
            settings.endGroup();
        }
        settings.endGroup();
        // Its options were kept among its own keys, under "Options/".
        QVariantMap options;
        settings.beginGroup(QStringLiteral("Options"));
        for (const QString &key : settings.childKeys())
            options.insert(QStringLiteral("Options/") + key, settings.value(key));
        settings.endGroup();
        for (auto value = record.cbegin(); value != record.cend(); ++value)
            options.insert(value.key(), value.value());
        books << bookOf(record, options, treatments);
        settings.endGroup();
    }
    return BookQueue::restored(books, output);
}

// A file that cannot be read whole is put aside, and the user told where:
// the next save would otherwise lose what it holds.
BookQueue QueueFile::unreadable(const QString &path, const QString &why)
{
    const QString aside = SettingsFile::keepAside(path);
    m_kept = aside.isEmpty();
    m_notice = aside.isEmpty()
                   ? tr("The queue in %1 cannot be read (%2); it is left as it is, and the queue "
                        "is not saved over it.")
                         .arg(QDir::toNativeSeparators(path), why)
                   : tr("The queue in %1 cannot be read (%2); it is kept as %3.")
                         .arg(QDir::toNativeSeparators(path), why, QDir::toNativeSeparators(aside));
    return BookQueue();
}

bool QueueFile::save(const QByteArray &json, QString *error) const
{
    if (m_kept) {
        *error =
            tr("%1 could not be read, and is kept as it is.").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    return SettingsFile::save(m_path, json, error);
}
