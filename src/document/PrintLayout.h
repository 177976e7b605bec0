#pragma once
#include <windows.h>

// The printer's page as its device context describes it, in device pixels: the
// resolution, the whole sheet, and the part of it the printer can reach (the device
// context's origin is the top-left corner of that part).
struct PrintPage {
    SIZE dpi;
    SIZE paper;
    POINT printableOffset;
    SIZE printable;
};

// An image pixel is a screen pixel: the document does not keep the density a file
// may state, so an image prints at the size it shows at 100% on a 96-dpi screen.
constexpr int kImageDpi = 96;

// Where an image of imagePixels printed at imageDpi goes on the page, in the device
// context's coordinates: at its own size when it fits the printable area, else
// reduced with its aspect kept until it fits, never enlarged; centred on the sheet
// and moved only as far as needed to stay inside the printable area. Empty for an
// empty image or a page without a printable area.
RECT PlaceImageOnPage(SIZE imagePixels, int imageDpi, const PrintPage& page);

// A picture wider than it is high is printed across a landscape page.
inline bool PrefersLandscape(SIZE imagePixels)
{
    return imagePixels.cx > imagePixels.cy;
}
