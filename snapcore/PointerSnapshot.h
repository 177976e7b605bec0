#ifndef SNAPCORE_POINTERSNAPSHOT_H
#define SNAPCORE_POINTERSNAPSHOT_H

#include <windows.h>

#include "scoped/NonCopyable.h"
#include "scoped/ScopedHandles.h"

namespace snapcore {

// The mouse pointer as it was when the snapshot was taken: its shape and where it lay
// on the screen. Empty while the pointer was hidden.
class CPointerSnapshot : CNonCopyable {
public:
    CPointerSnapshot();

    // Draws the pointer into dc, whose pixel (0, 0) shows the screen point origin;
    // whatever falls outside the DC's surface is clipped away.
    void Draw(HDC dc, POINT origin) const;

private:
    // Copies shape, whose hot spot lies at the given screen point; whether it could.
    bool Take(HCURSOR shape, POINT hotSpot);

    // Our own copy: the shape on the screen changes (an interactive capture shows a
    // crosshair) and its owner may destroy it before the snapshot is drawn.
    CIconOwner m_hShape;
    POINT m_ptTopLeft{}; // screen position of the shape's top-left corner
};

} // namespace snapcore

#endif
