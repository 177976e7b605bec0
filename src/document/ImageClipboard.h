#pragma once
#include <windows.h>

// Puts the bitmap on the clipboard as a 24-bit bottom-up device-independent bitmap
// (CF_DIB), the form every program can paste, replacing what the clipboard held.
// owner opens the clipboard. On failure the clipboard is unchanged: it could not be
// opened (another program holds it), or there was no memory for the pixels' copy.
enum class ClipboardCopy { kCopied, kClipboardBusy, kNoMemory };
ClipboardCopy CopyImageToClipboard(HBITMAP bitmap, HWND owner);
