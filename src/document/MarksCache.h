#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

// The client area of one image view as drawn with its finished marks, so that a
// repaint over many marks is one copy and a drag redraws only what moves. There is
// one for the program: one document shows at a time, and a view that paints takes
// it over from the one before.
class CMarksCache : CNonCopyable {
public:
    static CMarksCache& Shared();

    // The cache's device context for the view, holding a client of size; whatever it
    // held for another view or size is dropped first. Null when it cannot be made.
    HDC For(const void* view, SIZE size);
    // A second client-sized bitmap, where a paint puts the live work over the cache's
    // picture before it goes to the screen; valid after For succeeded.
    HDC Scratch() const { return m_scratchDC; }
    // The smallest rectangle of the area not drawn in the cache yet; empty when it is
    // all there.
    RECT MissingBox(const RECT& area) const;
    // The area has been drawn.
    void Add(const RECT& area);
    // The view's client moved by (dx, dy), as ScrollWindowEx moves the screen.
    void Scroll(const void* view, int dx, int dy);
    // The view's marks or image changed, or the view is going: nothing is held for it.
    void Drop(const void* view);
    // Only the marks in the area of the view's client changed.
    void Forget(const void* view, const RECT& area);

private:
    CMarksCache() = default;

    const void* m_pView = nullptr;
    SIZE m_size{};
    // The bitmaps before their DCs, so that they go after them.
    CBitmapOwner m_bitmap;
    CBitmapOwner m_scratch;
    CMemoryDC m_dc{nullptr};
    CMemoryDC m_scratchDC{nullptr};
    CRegionOwner m_held{CreateRectRgn(0, 0, 0, 0)};
};
