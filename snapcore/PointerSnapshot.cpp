#include "PointerSnapshot.h"

namespace snapcore {

CPointerSnapshot::CPointerSnapshot()
{
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    if (!GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || !cursor.hCursor)
        return;
    // Wine cannot copy a cursor that another process made; the arrow in its place still
    // shows where the pointer was.
    if (!Take(cursor.hCursor, cursor.ptScreenPos))
        Take(LoadCursor(nullptr, IDC_ARROW), cursor.ptScreenPos);
}

bool CPointerSnapshot::Take(HCURSOR shape, POINT hotSpot)
{
    ICONINFO icon{};
    if (!GetIconInfo(shape, &icon))
        return false;
    // GetIconInfo hands us copies of the cursor's bitmaps.
    const CBitmapOwner mask(icon.hbmMask), colour(icon.hbmColor);

    m_hShape.reset(CopyIcon(shape));
    m_ptTopLeft = POINT{hotSpot.x - static_cast<LONG>(icon.xHotspot), hotSpot.y - static_cast<LONG>(icon.yHotspot)};
    return m_hShape != nullptr;
}

void CPointerSnapshot::Draw(HDC dc, POINT origin) const
{
    if (m_hShape)
        DrawIconEx(dc, m_ptTopLeft.x - origin.x, m_ptTopLeft.y - origin.y, m_hShape.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace snapcore
