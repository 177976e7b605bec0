#pragma once
#include <windows.h>

// The part of the screen a bitmap from the engine shows, in screen coordinates: the
// engine records where its top-left pixel was as the bitmap's dimension.
RECT ScreenRectOf(HBITMAP capture);

// Remembers where a region capture came from, in g_settings and in lumigrab.ini, so
// that the last region can be taken again, after a restart too; returns that place.
RECT KeepLastRegion(HBITMAP regionCapture);

// The region (the last one) cut out of a capture of the whole screen, clipped to the
// screen where a monitor has gone since; a new bitmap the caller owns, with its place
// recorded as the engine does it. Null when nothing of the region is left on the screen
// (offScreen then true) or the copy could not be made.
HBITMAP CutLastRegion(HBITMAP screen, const RECT& region, bool& offScreen);
