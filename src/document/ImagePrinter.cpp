#include "document/ImagePrinter.h"

#include <commdlg.h>

#include <cstdio>

#include "document/PrintLayout.h"
#include "imageio/Dib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

namespace {
PrintPage PageOf(HDC printer)
{
    return PrintPage{{GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY)},
                     {GetDeviceCaps(printer, PHYSICALWIDTH), GetDeviceCaps(printer, PHYSICALHEIGHT)},
                     {GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY)},
                     {GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)}};
}

// Prints the pixels on one page of a new job; false with the reason as the last error.
bool PrintPixels(HDC printer, const CDib& pixels, const char* title)
{
    const SIZE size{pixels.GetWidth(), pixels.GetRowCount()};
    const RECT placed = PlaceImageOnPage(size, kImageDpi, PageOf(printer));
    if (IsRectEmpty(&placed)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title;
    if (StartDocA(printer, &document) <= 0)
        return false;
    SetStretchBltMode(printer, HALFTONE);
    SetBrushOrgEx(printer, 0, 0, nullptr);
    const bool printed = StartPage(printer) > 0 &&
                         StretchDIBits(printer, placed.left, placed.top, placed.right - placed.left,
                                       placed.bottom - placed.top, 0, 0, size.cx, size.cy, pixels.GetBits(),
                                       pixels.GetBitmapInfo(), DIB_RGB_COLORS, SRCCOPY) > 0 &&
                         EndPage(printer) > 0;
    if (!printed) {
        const DWORD error = GetLastError();
        AbortDoc(printer);
        SetLastError(error);
        return false;
    }
    return EndDoc(printer) > 0;
}

// A failure that left no error code still is one.
void ShowPrintFailure(HWND owner, DWORD error)
{
    AppMessageBox(owner, IDS_PRINT_FAILED, MB_ICONHAND | MB_OK,
                  SystemReason(error ? error : ERROR_GEN_FAILURE).c_str());
}

// The dialog's own failures are common-dialog codes, not system errors.
void ShowDialogFailure(HWND owner, DWORD code)
{
    if (code == PDERR_NODEFAULTPRN || code == PDERR_NODEVICES)
        AppMessageBox(owner, IDS_NO_PRINTER, MB_ICONEXCLAMATION | MB_OK);
    else {
        char number[16];
        std::snprintf(number, sizeof number, "0x%04lX", static_cast<unsigned long>(code));
        AppMessageBox(owner, IDS_PRINT_FAILED, MB_ICONHAND | MB_OK, number);
    }
}

// The default printer's settings turned to the orientation the image's shape asks for,
// for the dialog to start with.
bool ChooseDefaultPrinter(PRINTDLGA& dialog, SIZE imageSize)
{
    dialog.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgA(&dialog))
        return false;
    const CGlobalLock<DEVMODEA> mode(dialog.hDevMode);
    if (mode.Get()) {
        mode.Get()->dmFields |= DM_ORIENTATION;
        mode.Get()->dmOrientation = PrefersLandscape(imageSize) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    }
    return true;
}
}

void PrintImage(HWND owner, HBITMAP image, const char* title)
{
    CDib pixels;
    if (!pixels.FromBitmap(image)) {
        ShowPrintFailure(owner, ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    const bool found = ChooseDefaultPrinter(dialog, SIZE{pixels.GetWidth(), pixels.GetRowCount()});
    // The dialog may replace the settings' blocks with its own; these own the latest.
    CGlobalOwner devMode(dialog.hDevMode), devNames(dialog.hDevNames);
    if (!found) {
        ShowDialogFailure(owner, CommDlgExtendedError());
        return;
    }
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nCopies = 1;
    dialog.nFromPage = dialog.nToPage = dialog.nMinPage = dialog.nMaxPage = 1;  // the one page
    const BOOL chosen = PrintDlgA(&dialog);
    devMode.release();
    devNames.release();
    devMode.reset(dialog.hDevMode);
    devNames.reset(dialog.hDevNames);
    const CDcOwner printer(dialog.hDC);
    if (!chosen) {
        if (const DWORD code = CommDlgExtendedError())
            ShowDialogFailure(owner, code);
        return;
    }
    if (!printer || !PrintPixels(printer.get(), pixels, title))
        ShowPrintFailure(owner, GetLastError());
}
