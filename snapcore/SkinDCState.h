// Keeps a caller's DC as it was: the clip region, selections, text settings and the
// DC brush and pen colours a skin drawing changes are put back when this goes out of
// scope. Drawing is confined to a rectangle meanwhile, on top of the caller's clip.
#ifndef SNAPCORE_SKINDCSTATE_H
#define SNAPCORE_SKINDCSTATE_H

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CSkinDCState : CNonCopyable {
public:
    CSkinDCState(HDC dc, const RECT& clip)
        : m_saved(dc), m_hDC(dc), m_brushColour(GetDCBrushColor(dc)), m_penColour(GetDCPenColor(dc))
    {
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    }
    ~CSkinDCState()
    {
        SetDCBrushColor(m_hDC, m_brushColour);
        SetDCPenColor(m_hDC, m_penColour);
    }
    // Drawing cannot be confined without a saved state to return to.
    bool Succeeded() const { return m_saved.Succeeded(); }

private:
    const CSavedDC m_saved;  // restored last, after the colours
    HDC m_hDC;
    COLORREF m_brushColour;
    COLORREF m_penColour;
};

} // namespace snapcore

#endif
