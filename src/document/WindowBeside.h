#pragma once
#include <windows.h>

// Where a window goes so that it does not cover `beside` (screen coordinates), gap away from it
// within the work area: at its right, else its left, else below, else above, level with
// beside's top or left edge. It is wanted large where a side has room for that, else on the
// first side with room for least as large as that room lets it be. False when no side has room
// for least; window is then untouched.
bool PlaceBeside(const RECT& beside, SIZE wanted, SIZE least, const RECT& workArea, int gap, RECT& window);

// A window of size placed as PlaceBeside does; where no side has room, over beside's right
// part. Always within the work area where it fits.
RECT PlaceWindowBeside(const RECT& beside, SIZE size, const RECT& workArea, int gap);
