#ifndef PARTSPACKAGER_H
#define PARTSPACKAGER_H

#include "making/packager.h"

#include <QFile>
#include <QVector>

#include <memory>

// A book made as parts no larger than a size ("Book (1 of 3).epub"), for a
// service that takes no larger file. Each part is a whole book of its kind:
// its first page its cover, its information with the part's number, its
// chapters. A part ends between chapters where one lies within reach, and
// never between the halves of a cut page nor after a blank put before a
// spread. A book that fits is made whole, under its own name. The pages
// wait in a scratch file until every part can be planned.
class PartsPackager : public Packager
{
    Q_DECLARE_TR_FUNCTIONS(PartsPackager)

public:
    PartsPackager(const PageOptions &options, qint64 limit);
    ~PartsPackager() override;

    bool begin(const QString &fileName, const Book &book) override;
    bool addPage(const PackedEntry &entry, const ComicPage &page) override;
    bool addDocument(const QString &name, const QByteArray &data) override;
    bool finish(bool replace) override;
    void abandon() override;
    QString errorString() const override;

    // What the planning knows of a page.
    struct Page
    {
        qint64 bytes = 0;
        int half = 0;
        bool blank = false;
        bool chapter = false; // it begins a chapter
    };
    // The first page of each part, the first 0: parts each within limit
    // bytes as far as the pages allow, each page counted with perPage bytes
    // more for what describes it, each part with perBook more.
    static QVector<int> partStarts(const QVector<Page> &pages, qint64 limit, qint64 perPage,
                                   qint64 perBook);
    // "Book (2 of 3).epub" for part 1 of 3 of "Book.epub" (suffix ".epub").
    static QString partName(const QString &fileName, const QString &suffix, int part, int parts);

private:
    struct Held
    {
        qint64 offset;
        PackedEntry entry; // without its bytes, which wait in the scratch file
    };
    bool fail(const QString &reason);
    bool makePart(const QString &fileName, int part, int parts, int first, int end, bool replace);
    void removeMade();

    PageOptions m_options;
    qint64 m_limit;
    QString m_fileName;
    std::unique_ptr<QFile> m_scratch;
    QVector<Held> m_held;
    QVector<QPair<QString, QByteArray>> m_documents;
    QStringList m_made;
    QString m_error;
};

#endif // PARTSPACKAGER_H
