#ifndef PAGEOPTIONS_H
#define PAGEOPTIONS_H

#include <QString>

// What a number option may be: its range and the value it starts at. The
// window's controls, the stored options and the command line all take them
// from here.
struct OptionRange
{
    int minimum;
    int maximum;
    int initial;

    bool contains(int value) const { return value >= minimum && value <= maximum; }
};

// The option values a build reads once, when it starts. Each field is named
// after the control of the main window that supplies it.
struct PageOptions
{
    static constexpr OptionRange Quality{0, 100, 100};
    static constexpr OptionRange ResizeWidth{100, 10000, 600};
    static constexpr OptionRange ResizeHeight{100, 10000, 800};
    static constexpr OptionRange CutPoint{20, 80, 50};
    static constexpr OptionRange BorderPixels{0, 1000, 5};
    // How far from the margin's colour a pixel may be and still be margin.
    static constexpr OptionRange TrimTolerance{0, 128, 24};

    int ImageQuality = Quality.initial;
    bool ImageResize = false;
    int ResizeImageWidth = ResizeWidth.initial;
    int ResizeImageHeight = ResizeHeight.initial;
    // Exactly the width and height, or fitted within them, proportions kept.
    enum ResizeMode
    {
        ResizeExactly,
        ResizeToFit
    };
    ResizeMode ImageResizeMode = ResizeExactly;
    bool ImageResizeSmooth = false;
    // When fitting, a page that fits already keeps its size.
    bool ImageResizeNoEnlarge = false;
    bool ImageCutDoublePages = false;
    // Only pages wider than tall are cut.
    bool ImageCutOnlyWide = false;
    int ImageCutPointNumber = CutPoint.initial;
    bool ImageCutFirstPageRight = true;
    bool ImageCutBorder = false;
    int ImageCutBorderNumber = BorderPixels.initial;
    // Plain outer rows and columns (paper, a scanner's bed) are cut away.
    bool ImageTrimMargins = false;
    int ImageTrimTolerance = TrimTolerance.initial;
    // A JPEG, PNG, WebP or GIF page that no option changes goes into the
    // archive as its file is.
    bool KeepUnchangedPages = false;
    // What the pages are written as (the quality applies to both).
    enum Format
    {
        JpegPages,
        WebpPages,
        // Every pixel kept; the quality says how hard the encoder tries.
        WebpLosslessPages
    };
    Format PageFormat = JpegPages;
    // WebP's limit on either side.
    static constexpr int WebpSideLimit = 16383;
    // Page entries are stored (ZIP method 0), not deflated.
    bool StorePages = false;
    // Only JPEG and PNG pages go in as their files are; the others are
    // written again, for readers that show no other kind.
    bool KeepOnlyJpegAndPng = false;
    // What the book is made as: a CBZ, or a fixed-layout EPUB for e-readers
    // (Kobo's reader wants its own name for one). What each kind is and
    // holds is its packager's (Packager::kind()).
    enum Kind
    {
        CbzBook,
        EpubBook,
        KepubBook,
        // A fixed-layout Kindle book (KF8)
        Azw3Book,
        PdfBook
    };
    Kind BookKind = CbzBook;
    // Which pages are written in one channel: none, those without colour,
    // or every page.
    enum Grey
    {
        ColourPages,
        GreyWithoutColour,
        GreyEveryPage
    };
    Grey PageGrey = ColourPages;
    // JPEG pages are turned, bordered and split on their compressed blocks,
    // without encoding them again.
    bool LosslessCuts = false;
    // How far apart a pixel's channels may be for it to count as grey.
    static constexpr int GreyTolerance = 6;
    // Dots per inch that PDF pages are rendered at.
    static constexpr OptionRange PdfDpi{36, 1200, 200};
    int PdfResolution = PdfDpi.initial;
    // Scans: each page's slant found and turned back.
    bool ScanStraighten = false;
    // Scans: the paper made white and the ink black, then a gamma (in
    // hundredths; above 100 lightens the middle tones for e-ink).
    bool ScanLevels = false;
    static constexpr OptionRange LevelsGamma{50, 300, 100};
    int ScanLevelsGamma = LevelsGamma.initial;
    // For colour e-ink: colours made stronger (percent more saturation) and
    // a gamma (in hundredths) for every page, greys kept grey.
    static constexpr OptionRange Boost{0, 100, 0};
    int ColourBoost = Boost.initial;
    static constexpr OptionRange ToneGamma{50, 300, 100};
    int ColourGamma = ToneGamma.initial;
    bool tunesColour() const
    {
        return ColourBoost != Boost.initial || ColourGamma != ToneGamma.initial;
    }
    // A long strip (a webtoon chapter's tiles, pages at least twice as tall
    // as wide) is joined and cut into pages at most StripHeight high, each
    // cut on a band of plain background where one is in reach. Other pages
    // are left alone.
    bool CutLongStrips = false;
    static constexpr OptionRange StripRows{200, WebpSideLimit, 1680};
    int StripHeight = StripRows.initial;
    // Pages with nothing on them are left out, and named.
    bool ScanLeaveOutBlank = false;
    // A blank page goes before a spread that would begin on the second
    // page of a two-page reader's pair.
    bool FacingSpreads = false;

    // A book larger than this many megabytes (millions of bytes) is made as
    // parts no larger; 0 for no limit.
    static constexpr OptionRange BookMegabytes{0, 100000, 0};
    int MaxBookMegabytes = BookMegabytes.initial;

    // A PDF is written linearized ("fast web view"): its first page shows
    // before the whole file has come over a network.
    bool LinearizePdf = false;

    // Whether any option changes the pages' pixels.
    bool changesPages() const
    {
        return ImageResize || ImageCutDoublePages || ImageCutBorder || ImageTrimMargins ||
               ScanStraighten || ScanLevels || tunesColour();
    }
};

#endif // PAGEOPTIONS_H
