#pragma once
#include <windows.h>

#include <string>

// The Save As dialog for an animated picture: GIF is its only type, it starts at proposed
// (a full path: its folder and name) and asks before replacing a file. True with the
// chosen full path in chosen; false when the user cancelled.
bool ChooseGifSaveName(HWND owner, const std::string& proposed, std::string& chosen);
