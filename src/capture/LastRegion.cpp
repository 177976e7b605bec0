#include "capture/LastRegion.h"

#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "settings/MoreOptions.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"
#include "util/ModulePath.h"

RECT ScreenRectOf(HBITMAP capture)
{
    SIZE origin{};
    BITMAP info{};
    GetBitmapDimensionEx(capture, &origin);
    GetObjectA(capture, sizeof(info), &info);
    return RECT{origin.cx, origin.cy, origin.cx + info.bmWidth, origin.cy + info.bmHeight};
}

RECT KeepLastRegion(HBITMAP regionCapture)
{
    g_settings.m_rcLastRegion = ScreenRectOf(regionCapture);
    g_settings.m_bHasLastRegion = 1;
    g_updateUI.EnableCommand(ID_CAPTURE_LAST_REGION, true);
    // Written at once, so that a crash later in the run does not lose it. A file that
    // cannot be written costs only the rectangle after a restart; the capture itself
    // is not to be held up by a message about it.
    char iniPath[MAX_PATH];
    if (MakeModuleFilePath("lumigrab.ini", iniPath))
        SaveMoreOptions(g_settings, iniPath);
    return g_settings.m_rcLastRegion;
}

HBITMAP CutLastRegion(HBITMAP screen, const RECT& region, bool& offScreen)
{
    const RECT screenRect = ScreenRectOf(screen);
    RECT part;
    offScreen = !IntersectRect(&part, &region, &screenRect);
    if (offScreen)
        return nullptr;

    // The engine's own form, the one every picture is kept in.
    const int width = part.right - part.left, height = part.bottom - part.top;
    DWORD* pixels = nullptr;
    CBitmapOwner cut(CreateTopDownDib(width, height, pixels));
    const CMemoryDC source(nullptr);
    const CMemoryDC target(nullptr);
    if (!cut || !source || !target)
        return nullptr;
    const CSelectObject sourceSelection(source, screen);
    const CSelectObject targetSelection(target, cut.get());
    if (!sourceSelection.Succeeded() || !targetSelection.Succeeded()
        || !BitBlt(target, 0, 0, width, height, source,
                   part.left - screenRect.left, part.top - screenRect.top, SRCCOPY))
        return nullptr;
    SetBitmapDimensionEx(cut.get(), part.left, part.top, nullptr);
    return cut.release();
}
