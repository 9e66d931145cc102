#ifndef FACINGPAGES_H
#define FACINGPAGES_H

// Where a two-page reader shows a book's pages: the cover alone, then
// pairs, left and right. A spread kept whole fills a pair; one that would
// begin on the second page of a pair is put off by a blank page before it,
// so that every spread sits on facing pages.
class FacingPages
{
public:
    // Whether a blank page goes before the next page, a spread or not.
    bool blankBefore(bool spread) const;
    // The next page placed (after its blank, when it needs one).
    void place(bool spread);

private:
    int m_shown = 0; // pages shown so far, blanks and both halves of a spread counted
};

#endif // FACINGPAGES_H
