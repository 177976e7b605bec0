#pragma once
#include <windows.h>

#include <cstdint>

#include "scoped/ScopedHandles.h"

// A rectangle of the live screen copied into one bitmap of the program's pixel layout,
// again and again into the same pixels, with a fingerprint to tell whether two grabs in a
// row showed the same.
class CScreenGrab {
public:
    // False when the bitmap cannot be made (the reason in the last error).
    bool Create(const RECT& screenRect);
    // Copies the screen's pixels now; false when the screen cannot be read.
    bool Grab();
    const uint32_t* Pixels() const { return m_pixels; }
    // Holds the grab's bitmap, for drawing over what was grabbed.
    HDC Canvas() const { return m_dc; }
    // Of the pixels of the last grab.
    uint64_t Fingerprint() const;
    int Width() const { return m_rect.right - m_rect.left; }
    int Height() const { return m_rect.bottom - m_rect.top; }

private:
    RECT m_rect{};
    CBitmapOwner m_bitmap;
    const uint32_t* m_pixels = nullptr;
    CMemoryDC m_dc{nullptr};
};
