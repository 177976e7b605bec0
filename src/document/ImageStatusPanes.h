#pragma once
#include <windows.h>

class CUpdateUI;

// The status bar's panes of the active image: its size and the zoom it is shown at.
void ShowImageStatus(CUpdateUI& updateUI, SIZE imageSize, float zoom);
// Without an image the panes are empty.
void ClearImageStatus(CUpdateUI& updateUI);
