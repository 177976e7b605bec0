#pragma once
#include <windows.h>

#include "settings/Settings.h"

// Where on the screen (its top-left pixel, in screen coordinates) the picture of an
// accepted capture was taken, so that a pinned capture covers exactly what it shows.
// The engine hands back only pixels, so the place is found again: a full screen starts
// at the virtual screen's corner, a region is the last region when its size matches,
// and a window or object is the window under the pointer, or one of its parents, of
// the picture's size. Anything else is centred on the pointer's monitor. settings: the
// capture's own (its configured mode and last region).
POINT FindCaptureOrigin(int mode, SIZE pictureSize, const CSettings& settings);
