#pragma once
#include <windows.h>
#include <commctrl.h>

class CDpiScale;
class CToolBarImages;

// The frame's toolbar with its 17 buttons, labels under the pictures and tooltips; it
// shows no pictures until ShowMainToolBarPictures gives them.
HWND CreateMainToolBar(HWND parent);
// The pictures for the DPI on the main toolbar, its gaps widened to match.
void ShowMainToolBarPictures(HWND toolBar, const CToolBarImages& images, const CDpiScale& dpi);
