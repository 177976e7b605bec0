#pragma once
#include <windows.h>

// The main frame window; 0 before it exists and after the message loop has ended.
// Kept here, below every subsystem, so documents, captures and dialogs can own their
// message boxes by the frame without depending on the application layer.
extern HWND g_hMainFrame;
