#include "document/WindowBeside.h"

#include <algorithm>

namespace {
enum class Side { kRight, kLeft, kBelow, kAbove };

// Start of a length kept within [low, high), where it fits.
LONG Clamp(LONG start, LONG length, LONG low, LONG high)
{
    return std::max(low, std::min(start, high - length));
}

// The room on one side of beside within the work area.
RECT RoomAt(Side side, const RECT& beside, const RECT& work, int gap)
{
    RECT room = work;
    switch (side) {
    case Side::kRight:
        room.left = std::max(work.left, beside.right + gap);
        break;
    case Side::kLeft:
        room.right = std::min(work.right, beside.left - gap);
        break;
    case Side::kBelow:
        room.top = std::max(work.top, beside.bottom + gap);
        break;
    case Side::kAbove:
        room.bottom = std::min(work.bottom, beside.top - gap);
        break;
    }
    return room;
}

// A window of size in the room, next to beside and level with its top or left edge.
RECT WindowIn(Side side, const RECT& room, SIZE size, const RECT& beside)
{
    const bool level = side == Side::kRight || side == Side::kLeft;
    const LONG left = side == Side::kLeft ? room.right - size.cx
                      : level             ? room.left
                                          : Clamp(beside.left, size.cx, room.left, room.right);
    const LONG top = side == Side::kAbove ? room.bottom - size.cy
                     : level              ? Clamp(beside.top, size.cy, room.top, room.bottom)
                                          : room.top;
    return RECT{left, top, left + size.cx, top + size.cy};
}
}  // namespace

bool PlaceBeside(const RECT& beside, SIZE wanted, SIZE least, const RECT& workArea, int gap, RECT& window)
{
    for (const SIZE needed : {wanted, least}) {
        for (const Side side : {Side::kRight, Side::kLeft, Side::kBelow, Side::kAbove}) {
            const RECT room = RoomAt(side, beside, workArea, gap);
            const SIZE roomSize{room.right - room.left, room.bottom - room.top};
            if (roomSize.cx < needed.cx || roomSize.cy < needed.cy)
                continue;
            window = WindowIn(side, room, SIZE{std::min(wanted.cx, roomSize.cx), std::min(wanted.cy, roomSize.cy)},
                              beside);
            return true;
        }
    }
    return false;
}

RECT PlaceWindowBeside(const RECT& beside, SIZE size, const RECT& workArea, int gap)
{
    RECT window{};
    if (PlaceBeside(beside, size, size, workArea, gap, window))
        return window;
    const RECT& work = workArea;
    const LONG x = Clamp(beside.right - size.cx, size.cx, work.left, work.right);
    const LONG y = Clamp(beside.top, size.cy, work.top, work.bottom);
    return RECT{x, y, x + size.cx, y + size.cy};
}
