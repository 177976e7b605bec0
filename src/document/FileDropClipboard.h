#pragma once
#include <windows.h>

// Puts one file on the clipboard as a file drop (CF_HDROP with wide names), the way a
// folder window copies it, for pasting into a chat or a folder. ERROR_SUCCESS, or the
// system's reason when the clipboard would not take it.
DWORD PutFileDropOnClipboard(HWND owner, const char* path);
