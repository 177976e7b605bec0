#include "settings/SkinPreview.h"

#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "util/FastString.h"

namespace {
// The whole sample frame lies inside the control, clear of its edges (pixels at 96 DPI).
const int kSideInset = 5;
const int kTopBottomInset = 10;
const int kLabelInset = 7;
const int kNameBytes = 64;
}  // namespace

bool CSkinPreview::Attach(HWND hStatic, HWND hSkinList, ISkinManager* skinManager)
{
    m_hSkinList = hSkinList;
    m_pSkinManager = skinManager;
    return Subclass(hStatic);
}

LRESULT CSkinPreview::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT && m_pSkinManager) {
        OnPaint();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

void CSkinPreview::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(Handle(), &ps);
    RECT rcClient;
    GetClientRect(Handle(), &rcClient);
    CRegionOwner clip(CreateRectRgnIndirect(&rcClient));
    SelectClipRgn(hdc, clip.get());
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    // The preview draws its own outline: a sunken edge's light sides vanish on a light page.
    FrameRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNSHADOW));

    // The engine draws its skins at the screen's DPI, as in its magnifier. On a monitor
    // of another DPI the mapping scales what it draws to the window's, and its lines and
    // text stay sharp. From here on the lengths are at the screen's DPI.
    const CDpiScale screen = CDpiScale::OfWindow(nullptr);
    const CDpiScale window = CDpiScale::OfWindow(Handle());
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, screen.Dpi(), screen.Dpi(), nullptr);
    SetViewportExtEx(hdc, window.Dpi(), window.Dpi(), nullptr);
    RECT rcFrame = rcClient;
    DPtoLP(hdc, reinterpret_cast<POINT*>(&rcFrame), 2);
    InflateRect(&rcFrame, -screen.Scale(kSideInset), -screen.Scale(kTopBottomInset));
    Vorn::CFastString<64> caption;
    caption.LoadString(IDS_AUX_WINDOW);
    m_pSkinManager->DrawFrame(hdc, &rcFrame, caption.GetString(), 1);

    RECT rcLabel;
    m_pSkinManager->CalcClientRect(&rcFrame, &rcLabel);
    InflateRect(&rcLabel, -screen.Scale(kLabelInset), -screen.Scale(kLabelInset));
    // The list holds names already cut to fit this buffer; the length check keeps a
    // longer entry from overrunning it all the same.
    char szName[kNameBytes] = {};
    const int selected = static_cast<int>(SendMessageA(m_hSkinList, LB_GETCURSEL, 0, 0));
    if (selected >= 0 && SendMessageA(m_hSkinList, LB_GETTEXTLEN, selected, 0) < kNameBytes)
        SendMessageA(m_hSkinList, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(szName));
    m_pSkinManager->DrawLabel(hdc, &rcLabel, szName, 1);

    SelectClipRgn(hdc, nullptr);
    SetMapMode(hdc, MM_TEXT);
    EndPaint(Handle(), &ps);
}
