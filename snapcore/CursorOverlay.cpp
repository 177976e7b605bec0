#include "CursorOverlay.h"

#include "GdiScope.h"

namespace snapcore {

void DrawCursor(HDC dc, POINT origin)
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

    const int left = cursor.ptScreenPos.x - static_cast<int>(icon.xHotspot) - origin.x;
    const int top = cursor.ptScreenPos.y - static_cast<int>(icon.yHotspot) - origin.y;
    DrawIconEx(dc, left, top, cursor.hCursor, 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace snapcore
