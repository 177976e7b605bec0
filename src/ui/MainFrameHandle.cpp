#include "ui/MainFrameHandle.h"

HWND g_hMainFrame = nullptr;
