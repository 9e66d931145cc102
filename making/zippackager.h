#ifndef ZIPPACKAGER_H
#define ZIPPACKAGER_H

#include "making/packager.h"
#include "making/zipwriter.h"

// A book that is a ZIP archive of its pages, named by their running
// number, and of the documents that describe it (a CBZ, an EPUB). Each
// kind says what comes before the pages and what after them.
class ZipPackager : public Packager
{
public:
    bool begin(const QString &fileName, const Book &book) override;
    bool addPage(const PackedEntry &entry, const ComicPage &page) override;
    bool addDocument(const QString &name, const QByteArray &data) override;
    bool finish(bool replace) override;
    void abandon() override;
    QString errorString() const override;

protected:
    // What goes in before the first page; true when it went in.
    virtual bool started() { return true; }
    // The documents after the pages; true when they went in.
    virtual bool described() = 0;
    bool fail(const QString &reason);

    ZipWriter m_writer;

private:
    QString m_error;
};

#endif // ZIPPACKAGER_H
