#include "ui/DpiScale.h"

#include "scoped/ScopedHandles.h"

CDpiScale CDpiScale::OfWindow(HWND window)
{
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (window && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return CDpiScale(static_cast<int>(dpi));
    }
    CScreenDC screen;
    return CDpiScale(GetDeviceCaps(screen, LOGPIXELSY));
}

CDpiScale CDpiScale::OfMonitor(HMONITOR monitor)
{
    using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const HMODULE shcore = LoadLibraryA("shcore.dll");
    static const auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorCall>(
        shcore ? reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")) : nullptr);
    UINT dpiX = 0, dpiY = 0;
    const int kEffectiveDpi = 0;
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)))
        return CDpiScale(static_cast<int>(dpiY));
    return OfWindow(nullptr);
}

int CDpiScale::ScaleFromScreen(int pixels) const
{
    CScreenDC screen;
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    return screenDpi > 0 ? MulDiv(pixels, m_dpi, screenDpi) : pixels;
}

CDpiScale::PictureSize CDpiScale::Pictures() const
{
    if (m_dpi >= 2 * kBaseDpi)
        return PictureSize::Large;
    if (2 * m_dpi >= 3 * kBaseDpi)
        return PictureSize::Medium;
    return PictureSize::Small;
}

int CDpiScale::PictureLength(int smallLength) const
{
    switch (Pictures()) {
    case PictureSize::Large:
        return 2 * smallLength;
    case PictureSize::Medium:
        return smallLength * 3 / 2;
    default:
        return smallLength;
    }
}
