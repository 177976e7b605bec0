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

// Puts the lists on a toolbar made of the count buttons, sizes its buttons to their
// pictures and its separators to their 96-DPI widths (iBitmap) at the DPI, and fits
// the bar to them. At start and again when the DPI changes.
void ShowToolBarPictures(HWND toolBar, const CToolBarImages& images, const TBBUTTON* buttons, int count,
                         const CDpiScale& dpi);

// The label of a command: what follows the line feed in its string, or one blank.
void LoadCommandLabel(UINT id, char* label, int size);

// Keeps a toolbar's tooltip off a menu dropped from one of its buttons: quiet hides a
// tip shown or due and holds back new ones until it is called again with false.
void QuietToolTips(HWND toolBar, bool quiet);
