#pragma once
#include <windows.h>

// Where a window of size goes so that it does not cover `beside` (screen coordinates), gap
// away from it within the work area: at its right, else its left, else below, else above;
// where none has room, over its right part. Always within the work area where it fits.
RECT PlaceWindowBeside(const RECT& beside, SIZE size, const RECT& workArea, int gap);
