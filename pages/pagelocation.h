#ifndef PAGELOCATION_H
#define PAGELOCATION_H

#include <QString>

// Where a page's bytes are: a file, or an entry inside an archive or a page
// of a PDF (its container). Written as one string, so that a list row and a
// build page carry it as they carry a file's path: the container's absolute
// path, "//", the entry's number in the container, "/", then the entry's
// name inside it, which only shows (names inside an archive may repeat, or
// hold "../": the number alone finds the entry, and nothing is ever
// extracted by name). A cleaned absolute path never holds "//", so a file's
// path is never taken for an entry.
class PageLocation
{
public:
    PageLocation() = default;
    explicit PageLocation(const QString &location);
    static QString ofEntry(const QString &container, int index, const QString &name);

    bool isEntry() const { return m_index >= 0; }
    // The file itself, or the archive or PDF that holds the entry.
    QString file() const { return m_file; }
    int index() const { return m_index; }
    QString entryName() const { return m_name; }
    // What the page is called: the file's name, or the entry's name inside
    // its container.
    QString displayName() const;

private:
    QString m_file;
    int m_index = -1;
    QString m_name;
};

#endif // PAGELOCATION_H
