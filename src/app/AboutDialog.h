#pragma once

#include <windows.h>

// Shows the About box modally, centred over hOwner (the active window, or none).
// Returns IDOK when it was closed with OK and IDCANCEL for Esc or the close box.
INT_PTR ShowAboutBox(HWND hOwner);
