#pragma once

#include <windows.h>

// Centres a top-level window over its owner, or over the work area when the owner is
// missing, hidden or minimised, and keeps it inside the work area of the owner's monitor.
void CenterOverOwner(HWND hWnd);
