#include "VirtualScreenCapture.h"

#include "GdiDrawing.h"
#include "PointerSnapshot.h"
#include "PrintScreenCapture.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

RECT VirtualScreenRect()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

HBITMAP CaptureVirtualScreen(const CaptureOptions& options)
{
    const RECT screen = VirtualScreenRect();
    const SIZE size{screen.right - screen.left, screen.bottom - screen.top};
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;

    const CScreenDC screenDC;
    if (!screenDC)
        return nullptr;
    CBitmapOwner canvas(CreateCanvas(screenDC, size));
    const CMemoryDC dc(screenDC);
    if (!canvas || !dc)
        return nullptr;
    {
        const CSelectObject selection(dc, canvas.get());
        if (!selection.Succeeded())
            return nullptr;
        // CAPTUREBLT brings in layered (translucent) windows too.
        if (!BitBlt(dc, 0, 0, size.cx, size.cy, screenDC, screen.left, screen.top, SRCCOPY | CAPTUREBLT))
            return nullptr;
        // Our own grab comes first: where the key opens the system's snipping tool instead
        // of filling the clipboard, a grab made afterwards would show that tool.
        if (options.m_bSimulatePrintScreen)
            CopyPrintScreenImage(dc, size);
        if (options.m_bIncludeCursor)
            CPointerSnapshot().Draw(dc, POINT{screen.left, screen.top});
    }
    SetBitmapDimensionEx(canvas.get(), screen.left, screen.top, nullptr);
    return canvas.release();
}

} // namespace snapcore
