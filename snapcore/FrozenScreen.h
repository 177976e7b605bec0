#ifndef SNAPCORE_FROZENSCREEN_H
#define SNAPCORE_FROZENSCREEN_H

#include <windows.h>

#include <cstdint>
#include <optional>

#include "PointerSnapshot.h"
#include "ScreenLayout.h"
#include "snapcore.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

// The virtual screen as it was when an interactive capture began: its image, a dimmed
// copy of it for the area outside a selection, its monitors and, when the caller asks
// for it, the mouse pointer. Both images stay selected into memory DCs so that painting
// only has to blit. Coordinates are screen coordinates.
class CFrozenScreen : CNonCopyable {
public:
    explicit CFrozenScreen(const CaptureOptions& options);

    bool IsValid() const { return m_pPixels && m_pDimmedPixels; }
    RECT Bounds() const { return m_rcBounds; }
    // Pixel (0, 0) of both DCs is the top-left corner of Bounds().
    HDC DC() const { return m_dc; }
    HDC DimmedDC() const { return m_dimmedDC; }
    COLORREF PixelAt(POINT point) const;
    const CScreenLayout& Layout() const { return m_layout; }
    // A new caller-owned 32-bit bitmap of the part of the image inside rect (which
    // must lie within Bounds()), with the pointer where it was if the caller asked for
    // it; null when rect is empty.
    HBITMAP Copy(const RECT& rect) const;
    // Hands the caller the image itself, the whole of Bounds(), with the pointer drawn
    // in where it was if the caller asked for it; the screen is no longer valid after.
    // Null when it was not valid.
    HBITMAP TakeImage();

private:
    void MakeDimmedCopy();

    RECT m_rcBounds;
    CScreenDC m_screenDC;
    uint32_t* m_pDimmedPixels = nullptr; // filled in by m_dimmed's creation, so declared before it
    CBitmapOwner m_image;
    CBitmapOwner m_dimmed;
    uint32_t* m_pPixels;
    CMemoryDC m_dc;
    CMemoryDC m_dimmedDC;
    std::optional<CSelectObject> m_imageSelection; // ends when the image is handed over
    CSelectObject m_dimmedSelection;
    // Asking the system on every pointer move is slow, and monitors do not come and go
    // in the middle of a capture.
    const CScreenLayout m_layout;
    // Kept apart from the image: drawn into it, the pointer would show in the overlay
    // and in every capture of that spot, frozen while the real one moves on.
    std::optional<CPointerSnapshot> m_pointer;
};

} // namespace snapcore

#endif
