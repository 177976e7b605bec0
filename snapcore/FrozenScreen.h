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

// The virtual screen as it was when an interactive capture began: its image, its
// monitors and, when the caller asks for it, the mouse pointer. The image stays selected
// into a memory DC so that painting only has to blit. Coordinates are screen coordinates.
class CFrozenScreen : CNonCopyable {
public:
    explicit CFrozenScreen(const CaptureOptions& options);

    bool IsValid() const { return m_pPixels != nullptr; }
    RECT Bounds() const { return m_rcBounds; }
    // Pixel (0, 0) of the DC is the top-left corner of Bounds().
    HDC DC() const { return m_dc; }
    // The image's pixels, 0x00RRGGBB, that of (x, y) at y * width + x from that corner.
    const uint32_t* Pixels() const { return m_pPixels; }
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
    RECT m_rcBounds;
    CScreenDC m_screenDC;
    CBitmapOwner m_image;
    uint32_t* m_pPixels;
    CMemoryDC m_dc;
    std::optional<CSelectObject> m_imageSelection; // ends when the image is handed over
    // Asking the system on every pointer move is slow, and monitors do not come and go
    // in the middle of a capture.
    const CScreenLayout m_layout;
    // Kept apart from the image: drawn into it, the pointer would show in the overlay
    // and in every capture of that spot, frozen while the real one moves on.
    std::optional<CPointerSnapshot> m_pointer;
};

} // namespace snapcore

#endif
