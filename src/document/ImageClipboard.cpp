#include "document/ImageClipboard.h"

#include "imageio/Dib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "ui/MainFrameHandle.h"
#include "util/AppMessageBox.h"

namespace {
// A movable block holding the header and pixels of a 24-bit bottom-up DIB of the
// bitmap, ready to hand to the clipboard; null when there is no memory for it.
HGLOBAL MakeDibBlock(HBITMAP bitmap)
{
    BITMAP shape{};
    if (!GetObjectA(bitmap, sizeof shape, &shape))
        return nullptr;
    const DWORD dwImageSize = CDib::ImageSizeFor(shape.bmWidth, shape.bmHeight, 24);
    if (dwImageSize == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + dwImageSize);
    if (!block)
        return nullptr;
    int lines = 0;
    if (const CGlobalLock<BITMAPINFOHEADER> lock(block); BITMAPINFOHEADER* header = lock.Get()) {
        *header = {};
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = shape.bmWidth;
        header->biHeight = shape.bmHeight;
        header->biPlanes = 1;
        header->biBitCount = 24;
        header->biCompression = BI_RGB;
        header->biSizeImage = dwImageSize;
        lines = GetDIBits(CScreenDC(), bitmap, 0, static_cast<UINT>(shape.bmHeight), header + 1,
                          reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
    }
    if (lines != shape.bmHeight) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}
}

ClipboardCopy CopyImageToClipboard(HBITMAP bitmap, HWND owner)
{
    // The pixels are fetched first, so the clipboard is held only for the hand-over.
    HGLOBAL block = MakeDibBlock(bitmap);
    if (!block)
        return ClipboardCopy::kNoMemory;
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return ClipboardCopy::kClipboardBusy;
    }
    EmptyClipboard();
    // From here the clipboard owns the block.
    const bool placed = SetClipboardData(CF_DIB, block) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(block);
    return placed ? ClipboardCopy::kCopied : ClipboardCopy::kClipboardBusy;
}

bool CopyImageOrReport(HBITMAP bitmap, HWND owner)
{
    const ClipboardCopy copied = bitmap ? CopyImageToClipboard(bitmap, owner) : ClipboardCopy::kNoMemory;
    if (copied == ClipboardCopy::kClipboardBusy)
        AppMessageBox(g_hMainFrame, IDS_COPY_FAILED, MB_ICONHAND | MB_OK);
    else if (copied == ClipboardCopy::kNoMemory)
        AppMessageBox(g_hMainFrame, IDS_COPY_NO_MEMORY, MB_ICONHAND | MB_OK);
    return copied == ClipboardCopy::kCopied;
}
