#ifndef SIZEREPORT_H
#define SIZEREPORT_H

#include "making/bookbuild.h"
#include "making/pageoptions.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// What a book made weighs against the pages it was made from, said the
// same way by the window's report and the command line's last line: "31
// entries from 30 pages, 156 MB, 2.0× its pages", and, for an archive much
// larger than its pages, the options that make it so and the presets that
// would not.
class SizeReport
{
    Q_DECLARE_TR_FUNCTIONS(SizeReport)

public:
    // Larger than its pages by more than this, an archive is explained.
    static constexpr double Larger = 1.5;

    // The bytes of the files the pages were read from: each file of its
    // own, each archive or PDF once.
    static qint64 bytesOf(const QVector<BuildPage> &pages);

    SizeReport(int entries, int pages, qint64 archiveBytes, qint64 pagesBytes);

    // "31 entries from 30 pages, 156 MB, 2.0× its pages"; for an EPUB,
    // "EPUB: " before it, so that the kind made is said.
    QString line(PageOptions::Kind kind = PageOptions::CbzBook) const;
    // The same, short: "156 MB, 2.0× its pages".
    QString brief(PageOptions::Kind kind = PageOptions::CbzBook) const;
    // Empty unless the archive is more than Larger times its pages: then
    // what makes it so under options, and which presets would not.
    QString whyLarger(const PageOptions &options) const;

    // For a Kobo EPUB whose pictures are not fit to an e-reader's screen:
    // that Kobo's reader turns through such pictures slowly, and which
    // presets fit them. Empty otherwise.
    static QString screenNote(const PageOptions &options);

private:
    QString sizeAndShare() const;

    int m_entries;
    int m_pages;
    qint64 m_archiveBytes;
    qint64 m_pagesBytes;
};

#endif // SIZEREPORT_H
