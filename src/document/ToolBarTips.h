#pragma once
#include <windows.h>
#include <commctrl.h>

// The label of a command: what follows the line feed in its string, or one blank.
void LoadCommandLabel(UINT id, char* label, int size);

// TTN_GETDISPINFO from a toolbar's tips: the label of the button's command. False for a
// tip of no command.
bool FillToolBarTip(NMHDR* header);

// Answers TTN_GETDISPINFO, in either character set, with text.
void SetToolTipText(NMHDR* header, const char* text);

// Keeps a toolbar's tooltip off a menu dropped from one of its buttons: quiet hides a
// tip shown or due and holds back new ones until it is called again with false.
void QuietToolTips(HWND toolBar, bool quiet);
