#ifndef QUEUEDBOOK_H
#define QUEUEDBOOK_H

#include "book/bookoptions.h"
#include "making/comicinfo.h"
#include "making/pagetreatment.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

// One book waiting in the queue, or made from it: where its pages come
// from, what it is made with (the options in force when it was added), and
// how it went.
struct QueuedBook
{
    Q_DECLARE_TR_FUNCTIONS(QueuedBook)

public:
    enum State
    {
        Waiting,
        Making,
        Made,
        MadeWithout, // made without some of its pages or pictures
        Failed,
        Skipped, // its archive exists and replacing was not asked
        Stopped  // cancelled while it was being made; nothing made
    };

    // A folder, archive, PDF or EPUB; several: the chapters of one book.
    QStringList sources;
    bool chapters = false; // a folder's sub-folders as its chapters
    BookOptions options;
    // The preset it is made with, by its name (a built-in one's shown in
    // the current language); empty: its own options.
    QString preset;
    // The user said its archive may be replaced (Make Again over a book
    // made before), whatever the queue's own choice.
    bool replace = false;
    // What the user said of it: fields given over its own, or (edited) the
    // whole of it.
    ComicInfo comicInfo;
    bool comicInfoEdited = false;
    // The book as the window showed it when it was added: the pages in the
    // order to make them, by name, and each one's own treatment. Empty:
    // every page its source lists, in their order.
    QStringList pageNames;
    QHash<QString, PageTreatment> treatments;

    QString target; // where its archive goes, as the queue lays it out
    int id = 0;     // the queue's own name for it, whichever row it moves to
    State state = Waiting;
    int pagesDone = 0;
    int pageCount = 0;
    int listed = 0; // entries of its source gone through, while it is listed
    // Said of it once it has been made or has failed: its size, or why it
    // failed; the whole report line, what it lacks.
    QString report;
    QString detail;
    QStringList leftOut;
    // What became of its pages where it is worth a word ("page 003.png: its
    // long strip of 3 pages is cut into 12"), a line each.
    QStringList notes;
    qint64 milliseconds = 0;

    // What the book is called: its source's name, or for chapters the
    // name of the folder that holds them.
    QString name() const;
    // The folder that holds its source, where its archive goes by default.
    QString folder() const;
    // "Waiting", "Making: page 3 of 20", "Made: …", "Failed: …".
    QString stateText() const;
    bool isDone() const { return state != Waiting && state != Making; }
    // What its preset is called where it is shown; "own options" for none.
    QString presetTitle() const;
    // Its share made, 0 to 100; -1 while it waits or nothing was made.
    int percentDone() const;

private:
    QString notesInBrief() const;
};

#endif // QUEUEDBOOK_H
