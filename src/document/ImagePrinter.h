#pragma once
#include <windows.h>

// The Print command: the print dialog on the default printer, its orientation set
// from the image's shape first (the user's choice in the dialog wins), then the image
// alone on one page, placed by PlaceImageOnPage at the printer's resolution. Without
// a printer, and when the job fails, a message over owner says so, with the reason.
// title names the job in the printer's queue.
void PrintImage(HWND owner, HBITMAP image, const char* title);
