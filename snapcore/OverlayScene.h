#ifndef SNAPCORE_OVERLAYSCENE_H
#define SNAPCORE_OVERLAYSCENE_H

#include <windows.h>

namespace snapcore {

class CDimmedScreen;
class CFrozenScreen;
class CMagnifier;
class CScreenLayout;

// What the capture overlay shows on top of the frozen screen at one moment, in screen
// coordinates. Empty rectangles are not drawn.
struct OverlayScene {
    RECT rcSelection;      // the region being selected; everything outside it is dimmed
    RECT rcHighlight;      // the window or object under the pointer
    RECT rcSizeLabel;      // the "W × H" label of the selection or highlight
    char szSizeLabel[40];
    RECT rcMagnifier;      // the magnifier's frame
    POINT ptPointer;       // what the magnifier shows...
    int nMagnification;    // ...how large...
    int nSkin;             // ...and in which skin
};

// Draws scene into dc, whose logical coordinates are screen coordinates, within its
// clip region.
void PaintScene(HDC dc, const OverlayScene& scene, const CFrozenScreen& screen, const CDimmedScreen& dimmed,
                CMagnifier& magnifier);

// Adds to area (screen coordinates) every pixel that PaintScene draws differently for
// after than for before, so that a pointer move repaints only what it changed.
void AddChangedArea(HRGN area, const OverlayScene& before, const OverlayScene& after, const RECT& screen);

// Where the size label of rect, whose text has the given extent, goes on the screen: on
// the monitor that shows rect, clear of the magnifier's frame.
RECT PlaceSizeLabel(const RECT& rect, SIZE text, const CScreenLayout& layout, const RECT& magnifier);

} // namespace snapcore

#endif
