#ifndef SCRATCHPACKAGER_H
#define SCRATCHPACKAGER_H

#include "making/packager.h"
#include "making/partialfile.h"

#include <QFile>

#include <memory>

// A book written whole when it is finished, from pages held until then in
// a scratch file (a Kindle book, a PDF: what describes the pages comes
// before them, and is known only once they all are). Each kind says how a
// page is held and how the book is written; the partial file, the scratch
// file and the reasons are kept here.
class ScratchPackager : public Packager
{
    Q_DECLARE_TR_FUNCTIONS(ScratchPackager)

public:
    bool begin(const QString &fileName, const Book &book) override;
    bool addPage(const PackedEntry &entry, const ComicPage &page) override;
    // ComicInfo.xml is carried by the kind's own information: noted.
    bool addDocument(const QString &name, const QByteArray &data) override;
    bool finish(bool replace) override;
    void abandon() override;
    QString errorString() const override;

protected:
    // Forgets the pages of a book begun before.
    virtual void cleared() = 0;
    // Holds a page's picture, its name as the book calls it, in the
    // scratch file.
    virtual bool held(const QString &name, const PackedEntry &entry, const ComicPage &page) = 0;
    // Writes the book into the partial file, from the pages held.
    virtual bool written() = 0;
    // How this kind carries what ComicInfo.xml says.
    virtual QString documentNote(const QString &name) const = 0;
    bool fail(const QString &reason);

    PartialFile m_file;
    std::shared_ptr<QFile> m_scratch;

private:
    QString m_error;
};

#endif // SCRATCHPACKAGER_H
