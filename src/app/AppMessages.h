#pragma once
#include <windows.h>

// The main frame's own private messages; the documents' ones are in DocumentMessages.h.
constexpr UINT WM_APP_TRAY_NOTIFY = WM_APP + 103;  // tray icon -> main frame
constexpr UINT WM_APP_OPEN_HANDED_FILES = WM_APP + 110;  // main frame -> itself, files of a later start
constexpr UINT WM_APP_RAISE_PINS = WM_APP + 111;  // main frame -> itself, once it has the keyboard
