#ifndef STOREDOPTIONS_H
#define STOREDOPTIONS_H

#include "cbz/pageoptions.h"

class QSettings;

// The page options as the window leaves them at exit, found again at the
// next start under keys of their own ("Options/..."). A value that is
// missing, damaged or out of the controls' range gives that option's
// default; the others are kept.
PageOptions loadPageOptions(const QSettings &settings);
void savePageOptions(QSettings &settings, const PageOptions &options);

#endif // STOREDOPTIONS_H
