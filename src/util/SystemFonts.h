#pragma once
#include <windows.h>

// The fonts the system gives windows (message, menu, status, caption) at the screen's DPI;
// where it cannot say, each of them is the GUI font.
NONCLIENTMETRICSW SystemFontMetrics();
