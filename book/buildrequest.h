#ifndef BUILDREQUEST_H
#define BUILDREQUEST_H

#include <QString>
#include <QStringList>

// What a front end is to do when asked to make a book: where its archive
// goes unless the user names another place, whether it is made as it is,
// and what its report names it as made without.
struct BuildRequest
{
    enum Refusal
    {
        MissingPages = 1,  // page files that are there but cannot be used
        OtherPictures = 2, // pictures of other types, not listed
    };

    QString target;
    int refusedFor = 0; // Refusal flags; none: it is made
    // Why, one line each, in the order of the flags.
    QStringList reasons;
    // What the report of the archive made names it as made without.
    QStringList leftOut;

    bool refused() const { return refusedFor != 0; }
};

#endif // BUILDREQUEST_H
