#pragma once

#include <windows.h>

// Shows string-table entry id in a message box captioned with the application title;
// a missing entry shows as empty text. Returns MessageBoxA's result.
int AppMessageBox(HWND hOwner, UINT id, UINT style);
