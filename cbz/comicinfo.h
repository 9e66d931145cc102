#ifndef COMICINFO_H
#define COMICINFO_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVector>

// What comic servers and readers show of a book, written as ComicInfo.xml,
// the archive's last entry, when the user asks for it.
struct ComicInfo
{
    bool write = false; // whether the archive carries it at all
    QString title;
    QString series;
    QString number;  // "12b" is a number too
    int volume = -1; // -1: not given
    int year = -1;
    QString writer;
    QString penciller;
    QString publisher;
    QString languageIso;
    QString summary;
    bool rightToLeft = false;

    // Title and series from a folder's name, the number from its last
    // number: "Saga 03" is series "Saga", number "3".
    static ComicInfo suggestedFor(const QString &folderName);
};

// One entry of the archive, as the page list of ComicInfo.xml tells it.
struct ComicPage
{
    int width = 0;
    int height = 0;
    qint64 bytes = 0;
    bool doublePage = false; // a spread left whole
};

// The ComicInfo.xml document: the fields given (an empty one is left out),
// the page count, the reading direction and one element a page, the first
// the front cover; in the order readers that validate expect.
QByteArray comicInfoXml(const ComicInfo &info, const QVector<ComicPage> &pages);

#endif // COMICINFO_H
