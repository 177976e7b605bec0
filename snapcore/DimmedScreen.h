#ifndef SNAPCORE_DIMMEDSCREEN_H
#define SNAPCORE_DIMMEDSCREEN_H

#include <windows.h>

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CFrozenScreen;

// The frozen screen at half brightness, which the overlay shows outside a selection:
// light enough to recognise what lies there, dark enough that the selection stands out.
// It belongs to the overlay and goes with it, so that the frozen screen is the one
// picture left when the caller takes it. It stays selected into a memory DC so that
// painting only has to blit; pixel (0, 0) is the top-left corner of the screen's Bounds().
class CDimmedScreen : CNonCopyable {
public:
    explicit CDimmedScreen(const CFrozenScreen& screen);

    bool IsValid() const { return m_selection.Succeeded(); }
    HDC DC() const { return m_dc; }

private:
    CScreenDC m_screenDC;
    CBitmapOwner m_image;
    CMemoryDC m_dc;
    CSelectObject m_selection;
};

} // namespace snapcore

#endif
