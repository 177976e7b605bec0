#pragma once

#include <windows.h>

// Shows string-table entry id in a message box captioned with the application title;
// a missing entry shows as empty text. Returns MessageBoxA's result.
int AppMessageBox(HWND hOwner, UINT id, UINT style);

// The same with the entry's one %s replaced by insert (a file name, say).
int AppMessageBox(HWND hOwner, UINT id, UINT style, const char* insert);
