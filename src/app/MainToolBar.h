#pragma once
#include <windows.h>

class CToolBarImages;

// The frame's toolbar with its 17 buttons, labels under the pictures and tooltips.
HWND CreateMainToolBar(HWND parent, const CToolBarImages& images);

// The label of a command: what follows the line feed in its string, or one blank.
void LoadCommandLabel(UINT id, char* label, int size);

// Keeps a toolbar's tooltip off a menu dropped from one of its buttons: quiet hides a
// tip shown or due and holds back new ones until it is called again with false.
void QuietToolTips(HWND toolBar, bool quiet);
