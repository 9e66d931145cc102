#ifndef AZW3PACKAGER_H
#define AZW3PACKAGER_H

#include "making/packager.h"
#include "making/partialfile.h"

#include <QFile>
#include <QVector>

#include <memory>

// A fixed-layout Kindle book (.azw3): a Palm database of the book's
// records (Kf8Book) with each page's JPEG picture a record of its own, in
// reading order. The pictures come before the records that describe them
// are known, and the database lists every record's place first: they wait
// in a scratch file until the book is finished, never in memory. The same pages and options give
// the same book.
class Azw3Packager : public Packager
{
    Q_DECLARE_TR_FUNCTIONS(Azw3Packager)

public:
    Azw3Packager();
    ~Azw3Packager() override;

    bool begin(const QString &fileName, const Book &book) override;
    bool addPage(const PackedEntry &entry, const ComicPage &page) override;
    bool addDocument(const QString &name, const QByteArray &data) override;
    bool finish(bool replace) override;
    void abandon() override;
    QString errorString() const override;

private:
    bool fail(const QString &reason);
    bool write(const QVector<QByteArray> &before, const QVector<QByteArray> &after);
    QByteArray databaseHeader(const QVector<qint64> &sizes) const;

    PartialFile m_file;
    std::unique_ptr<QFile> m_pictures;
    QVector<qint64> m_pictureSizes;
    QByteArray m_identity;
    QString m_error;
};

#endif // AZW3PACKAGER_H
