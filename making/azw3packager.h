#ifndef AZW3PACKAGER_H
#define AZW3PACKAGER_H

#include "making/scratchpackager.h"

#include <QVector>

// A fixed-layout Kindle book (.azw3): a Palm database of the book's
// records (Kf8Book) with each page's JPEG picture a record of its own, in
// reading order. The pictures come before the records that describe them
// are known, and the database lists every record's place first: they wait
// in a scratch file until the book is finished, never in memory. The same pages and options give
// the same book.
class Azw3Packager : public ScratchPackager
{
    Q_DECLARE_TR_FUNCTIONS(Azw3Packager)

protected:
    void cleared() override;
    bool held(const QString &name, const PackedEntry &entry, const ComicPage &page) override;
    bool written() override;
    QString documentNote(const QString &name) const override;

private:
    bool writeRecords(const QVector<QByteArray> &before, const QVector<QByteArray> &after);
    QByteArray databaseHeader(const QVector<qint64> &sizes) const;

    QVector<qint64> m_pictureSizes;
    QByteArray m_identity;
};

#endif // AZW3PACKAGER_H
