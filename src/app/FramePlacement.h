#pragma once
#include <windows.h>

// Where the main frame opens, beyond the system's default place and size.

// A copy started beside a running one (/new) would open exactly over its window: it
// steps a caption's height down and right of it, back to the work area's corner where
// the step would leave the work area.
void StepAsideFromOtherCopy(HWND frame);
// The default width, chosen for the screen in pixels, may leave the end of the toolbar
// off at a high DPI: the frame is widened to show clientWidth, as far as the work area goes.
void WidenToClientWidth(HWND frame, int clientWidth);
