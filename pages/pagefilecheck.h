#ifndef PAGEFILECHECK_H
#define PAGEFILECHECK_H

#include <QByteArray>

// Whether a page file's bytes hold all that its structure promises, checked
// before any decoder sees them: Qt's decoders fill what is missing with grey
// or with memory that was never cleared, and say nothing. These parsers read
// untrusted bytes; tools/fuzz_pagefilecheck.cpp runs them under libFuzzer.
namespace PageFileCheck {

enum Verdict
{
    Whole,
    CutShort, // the data ends before the structure does
    Damaged   // the structure itself is broken
};

// Markers well formed up to the end marker.
Verdict jpeg(const QByteArray &data);
// Chunks up to IEND.
Verdict png(const QByteArray &data);
// The pixels the header promises; run-length data up to its end-of-bitmap mark.
Verdict bmp(const QByteArray &data);
// Blocks up to the trailer; frames, when asked, counts the pictures met.
Verdict gif(const QByteArray &data, int *frames = nullptr);
// The bytes its RIFF header promises.
Verdict webp(const QByteArray &data);

} // namespace PageFileCheck

#endif // PAGEFILECHECK_H
