#pragma once
#include <windows.h>

// A document's name as the user sees it in prompts and dialogs: its window title
// without the trailing asterisk that marks a capture never saved.
void ReadDocumentName(HWND document, char (&name)[MAX_PATH]);
