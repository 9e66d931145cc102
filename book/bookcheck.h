#ifndef BOOKCHECK_H
#define BOOKCHECK_H

#include "pages/pagearchive.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>

// What readers and comic servers trip on in a book someone already has (a
// CBZ, CBR, CB7 or EPUB made by any tool): each finding one line, with what
// to do about it. Reads the archive as the build would, within the same
// bounds; never changes it.
class BookCheck
{
    Q_DECLARE_TR_FUNCTIONS(BookCheck)

public:
    struct Finding
    {
        enum Kind
        {
            Unreadable,   // the archive itself cannot be read (or its check was stopped)
            PageOrder,    // sorted by name, the pages come in another order
            SubFolders,   // pages in sub-folders
            PictureKind,  // WebP, AVIF, JPEG XL, HEIF pages
            DamagedPage,  // a page the build could not use
            ComicInfo,    // missing, or failing the schema
            Manga,        // Manga "Yes", which servers do not read as right to left
            PageCount,    // ComicInfo's pages disagree with the entries
            Method,       // entries packed a way readers cannot unpack
            Encrypted,    // entries behind a password
            NameEncoding, // names that are not valid text
            SameName,     // entries sharing a name
            Format,       // an archive few readers open (7z, tar)
            Misnamed      // its name says another kind than it is
        };
        Kind kind;
        QString text;
    };

    // stop, when given, ends the check early (the listing of a large
    // archive, the check of its pages); the check is then not clean, and
    // says it was stopped.
    static BookCheck of(const QString &path, const std::atomic_bool *stop = nullptr);
    // The books among what was chosen: each file that is a comic archive or
    // an EPUB, and those in each folder and its sub-folders, in natural
    // order; at most limit of them.
    static QStringList booksIn(const QStringList &chosen, int limit = 100000);

    QString path() const { return m_path; }
    const QVector<Finding> &findings() const { return m_findings; }
    bool isClean() const { return m_findings.isEmpty(); }
    // Whether --fix can make a clean book of it: it can be read, and has
    // pages.
    bool isFixable() const { return m_fixable; }

    // Where its clean copy goes: beside it, "<name> (fixed).cbz".
    static QString cleanCopyName(const QString &path);
    // A clean CBZ of it at target: every page that can be read, in order,
    // named afresh at the top, JPEG and PNG pages as they are and the others
    // written as JPEG; its ComicInfo.xml with what the schema allows, its
    // pages counted again. False with the reason when none is made; what the
    // copy lacks is named in leftOut.
    bool makeCleanCopy(const QString &target, bool replace, QStringList *leftOut,
                       QString *error) const;
    // The same as a job of its own, for a front end that shows it and may
    // stop it; once it has run, what the copy lacks.
    void setUpCleanCopy(class BookJob &job, const QString &target, bool replace) const;
    static QStringList leftOutOf(const class BookJob &job);
    // The quality pages written again are made at: the book's own JPEG
    // pages', or 90 when it has none.
    int cleanCopyQuality() const { return m_jpegQuality > 0 ? m_jpegQuality : 90; }

private:
    void add(Finding::Kind kind, const QString &text) { m_findings.append({kind, text}); }
    void checkOrder(const QStringList &pages);
    void checkNames(const QStringList &names);
    void checkKind(const QString &realKind, const QString &format);
    void checkComicInfo(const QByteArray &xml, const QStringList &pages,
                        const QHash<QString, qint64> &sizes);
    void checkEntries(const PageArchive::Contents &contents, const QStringList &unreadable);

    QString m_path;
    QVector<Finding> m_findings;
    QStringList m_encrypted; // the pages that cannot be read for it
    // The quality the book's own JPEG pages were made at; 0 when it has
    // none that tell.
    int m_jpegQuality = 0;
    bool m_fixable = false;
};

#endif // BOOKCHECK_H
