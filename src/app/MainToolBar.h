#pragma once
#include <windows.h>

class CToolBarImages;

// The frame's toolbar with its 17 buttons, labels under the pictures and tooltips.
HWND CreateMainToolBar(HWND parent, const CToolBarImages& images);

// The label of a command: what follows the line feed in its string, or one blank.
void LoadCommandLabel(UINT id, char* label, int size);
