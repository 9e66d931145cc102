#ifndef SAMPLEPAGES_H
#define SAMPLEPAGES_H

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Pictures that look like scanned comic pages: paper with grain, panels,
// speech balloons, a page number. The same number always gives the same page.
QImage drawComicPage(int number, const QSize &size);

// Two pages side by side, as a double-page scan.
QImage drawSpread(int leftNumber, const QSize &pageSize);

// The page as a flatbed scanner leaves it: a dark, uneven frame around it.
QImage addScannerBorder(const QImage &page, int border);

// Writes a folder of sample pages that shows every option at work: names
// that need natural order, every file type, a double-page spread and a
// page with a scanner border. Returns the files written, or an empty list
// when the folder could not be written.
QStringList writeSampleFolder(const QString &folder);

#endif // SAMPLEPAGES_H
