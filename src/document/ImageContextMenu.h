#pragma once
#include <windows.h>

// For WM_CONTEXTMENU on a document's view: the document's image popup, the very
// menu the menu bar shows, at the message's screen point (lParam). The top-level
// window owns it, so it sets the command states as the popup opens and the chosen
// command reaches the document through the usual command routing.
void ShowImageContextMenu(HWND view, LPARAM screenPoint);
