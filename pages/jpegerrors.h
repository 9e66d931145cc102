#ifndef JPEGERRORS_H
#define JPEGERRORS_H

#include <QString>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// How libjpeg reports to this program, for decoding and writing alike: an
// error jumps back to escape with its text in fatal; warnings, when heard,
// are counted and the first kept. It lives on the heap with the rest of a
// run's state, so that nothing the jump passes over is half made.
struct JpegErrors
{
    jpeg_error_mgr base;
    std::jmp_buf escape;
    QString fatal;
    QString firstWarning;
    // Whether the run ends at a warning that says the data repeats a scan,
    // or at too many warnings: the data is damaged already, and a
    // progressive file that repeats a scan thousands of times would keep
    // the decoder busy for minutes.
    bool abortOnWarning = false;
    bool warned = false; // the run ended on a warning
    int warnings = 0;

    // libjpeg's manager, reporting here; warnings heard or ignored.
    jpeg_error_mgr *install(bool hearWarnings);
    // Ends the run now, from inside one of libjpeg's calls, fatal set
    // already: nothing with a destructor may be alive in the caller's frame,
    // as the jump passes over it.
    [[noreturn]] static void jumpBack(j_common_ptr info);
    static JpegErrors *of(j_common_ptr info);
    static QString messageOf(j_common_ptr info);
};

#endif // JPEGERRORS_H
