#ifndef PAGEOPTIONS_H
#define PAGEOPTIONS_H

// The option values a build reads once, when it starts. Each field is named
// after the control of the main window that supplies it.
struct PageOptions
{
    int ImageQuality = 100;
    bool ImageResize = false;
    int ResizeImageWidth = 600;
    int ResizeImageHeight = 800;
    bool ImageCutDoublePages = false;
    int ImageCutPointNumber = 50;
    bool ImageCutFirstPageRight = true;
    bool ImageCutBorder = false;
    int ImageCutBorderNumber = 5;
    // A JPEG page that no option changes goes into the archive as its file is.
    bool KeepUnchangedJpeg = false;

    bool changesPages() const { return ImageResize || ImageCutDoublePages || ImageCutBorder; }
};

#endif // PAGEOPTIONS_H
