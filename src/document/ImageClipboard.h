#pragma once
#include <windows.h>

// Puts the bitmap on the clipboard as a 24-bit bottom-up device-independent bitmap
// (CF_DIB), the form every program can paste, replacing what the clipboard held.
// owner opens the clipboard. False when the clipboard cannot be opened (another
// program holds it) or the pixels cannot be fetched; the clipboard is then unchanged.
bool CopyImageToClipboard(HBITMAP bitmap, HWND owner);
