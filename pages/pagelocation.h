#ifndef PAGELOCATION_H
#define PAGELOCATION_H

#include <QHash>
#include <QMetaType>
#include <QString>

// Where a page's bytes are: a file of its own, or an entry inside an archive
// or a page of a PDF (its container), found by its number there. The entry's
// name only shows: names inside an archive may repeat or hold "../", and
// nothing is ever extracted by name.
class PageLocation
{
public:
    PageLocation() = default;
    // A page that is a file of its own.
    PageLocation(const QString &file)
        : m_file(file)
    {}
    static PageLocation ofEntry(const QString &container, int index, const QString &name);
    // A page of a PDF, rendered rather than read.
    static PageLocation ofPdfPage(const QString &pdf, int index, const QString &name);

    bool isEntry() const { return m_index >= 0; }
    bool isPdfPage() const { return m_pdf; }
    bool isNull() const { return m_file.isEmpty(); }
    // The file itself, or the archive or PDF that holds the entry: the file
    // whose stamp is the page's.
    QString file() const { return m_file; }
    int index() const { return m_index; }
    QString entryName() const { return m_name; }
    // What the page is called: the file's name, or the entry's name inside
    // its container.
    QString displayName() const;
    // The whole of it, for the user to find: "book.cbz: 12/p12.jpg".
    QString shownPath() const;

    bool operator==(const PageLocation &other) const
    {
        return m_index == other.m_index && m_file == other.m_file && m_name == other.m_name;
    }
    bool operator!=(const PageLocation &other) const { return !(*this == other); }
    bool operator<(const PageLocation &other) const
    {
        return m_file != other.m_file ? m_file < other.m_file : m_index < other.m_index;
    }

private:
    QString m_file;
    int m_index = -1;
    QString m_name;
    bool m_pdf = false; // what the container is was told once, by its content
};
Q_DECLARE_METATYPE(PageLocation)

inline uint qHash(const PageLocation &location, uint seed = 0)
{
    return qHash(location.file(), seed) ^ uint(location.index());
}

#endif // PAGELOCATION_H
