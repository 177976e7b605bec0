#include "PointerSnapshot.h"

namespace snapcore {

CPointerSnapshot::CPointerSnapshot()
{
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    if (!GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || !cursor.hCursor)
        return;

    ICONINFO icon{};
    if (!GetIconInfo(cursor.hCursor, &icon))
        return;
    // GetIconInfo hands us copies of the cursor's bitmaps.
    const CBitmapOwner mask(icon.hbmMask), colour(icon.hbmColor);

    m_hShape = CopyIcon(cursor.hCursor);
    m_ptTopLeft = POINT{cursor.ptScreenPos.x - static_cast<LONG>(icon.xHotspot),
                        cursor.ptScreenPos.y - static_cast<LONG>(icon.yHotspot)};
}

CPointerSnapshot::~CPointerSnapshot()
{
    if (m_hShape)
        DestroyIcon(m_hShape);
}

void CPointerSnapshot::Draw(HDC dc, POINT origin) const
{
    if (m_hShape)
        DrawIconEx(dc, m_ptTopLeft.x - origin.x, m_ptTopLeft.y - origin.y, m_hShape, 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace snapcore
