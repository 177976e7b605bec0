#pragma once
#include <windows.h>

// Puts the bitmap on the clipboard as a 24-bit bottom-up device-independent bitmap
// (CF_DIB), the form every program can paste, replacing what the clipboard held.
// owner opens the clipboard. On failure the clipboard is unchanged: it could not be
// opened (another program holds it), or there was no memory for the pixels' copy.
enum class ClipboardCopy { kCopied, kClipboardBusy, kNoMemory };
ClipboardCopy CopyImageToClipboard(HBITMAP bitmap, HWND owner);

// The Copy command's whole step: copies as above and tells the user in a message box
// owned by the main frame why it failed. A null bitmap (no memory to make it) fails as
// a copy without memory does. True when the clipboard holds the image.
bool CopyImageOrReport(HBITMAP bitmap, HWND owner);
