#pragma once
#include <windows.h>

// The arithmetic of the image view, apart from any window, so it can be checked on
// its own: fitting, scroll positions and wheel steps.

struct FitResult {
    float zoom;
    SIZE content;  // the scaled image size, the new scroll range
};
// Fits an image of w x h pixels into a client area of W x H pixels.
FitResult FitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight);

// The scroll position after a scroll-bar code (SB_LINEUP ... SB_BOTTOM) on an axis
// whose positions run from 0 to maximum; -1 for codes that move nothing.
int ScrollTarget(int code, int position, int line, int page, int maximum, int trackPosition);

// Adds one wheel delta to the accumulator and returns how many steps to scroll;
// the accumulator keeps what is left of a notch (120). notchLines -1 means pages.
int WheelSteps(int& accumulator, int delta, int notchLines);
