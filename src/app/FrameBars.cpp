#include "app/FrameBars.h"

#include <cstring>

#include "app/Application.h"
#include "app/MainToolBar.h"
#include "document/ToolBarTips.h"
#include "res/resource.h"
#include "ui/MenuBar.h"
#include "ui/UpdateUI.h"
#include "util/FastString.h"

namespace {
constexpr UINT kFirstBandId = 60160;
constexpr UINT kToolBarBandId = kFirstBandId + 1;
constexpr UINT kAnnotationBandId = kFirstBandId + 2;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

// A bar counts by its own visibility: a document made while the frame is hidden (by
// a capture) must still be laid out around the bars.
bool IsBarShown(HWND bar)
{
    return bar && (GetWindowLongPtrA(bar, GWL_STYLE) & WS_VISIBLE);
}

int WindowHeight(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// The part of a command's string before the line feed: its status-bar help.
void LoadCommandHelp(UINT id, char* help, int size)
{
    Vorn::CFastString<64> text;
    text.LoadString(id);
    const char* lineFeed = strchr(text.GetString(), '\n');
    const int length = lineFeed ? static_cast<int>(lineFeed - text.GetString()) : static_cast<int>(text.GetLength());
    lstrcpynA(help, text.GetString(), length + 1 < size ? length + 1 : size);
}
}

void CFrameBars::Create(HWND frame)
{
    HMENU menu = GetMenu(frame);
    if (m_menuBar.Create(frame, frame, menu)) {
        m_hFrameMenu = menu;
        SetMenu(frame, nullptr);
    }
    m_hWndToolBar = CreateMainToolBar(frame);
    ShowPictures(CDpiScale::OfWindow(frame));
    CreateRebar(frame);
    CreateStatusBar(frame);
    FollowFonts();
    g_updateUI.CheckCommand(ID_VIEW_TOOLBAR, true);
    g_updateUI.CheckCommand(ID_VIEW_STATUS_BAR, true);
}

void CFrameBars::ShowPictures(const CDpiScale& dpi)
{
    m_images.Load(CToolBarImages::kMainStrips, CToolBarImages::kMainImageCount, dpi);
    // The menu bar shows the toolbar's pictures beside the same commands.
    if (m_hFrameMenu)
        m_menuBar.SetImages(m_images.Normal(), m_images.Disabled(), CToolBarImages::kCommands,
                            CToolBarImages::kMainImageCount);
    if (m_hWndToolBar)
        ShowMainToolBarPictures(m_hWndToolBar, m_images, dpi);
}

// The bars keep the fonts they were made with at the screen's DPI and show them scaled
// on a monitor of another.
void CFrameBars::FollowFonts()
{
    if (m_hWndToolBar) {
        m_toolBarFont.Follow(m_hWndToolBar);
        if (HWND tips = reinterpret_cast<HWND>(SendMessageA(m_hWndToolBar, TB_GETTOOLTIPS, 0, 0)))
            m_toolTipFont.Follow(tips);
    }
    if (m_statusBar.Handle())
        m_statusFont.Follow(m_statusBar.Handle());
}

void CFrameBars::ChangeDpi(const CDpiScale& dpi)
{
    if (m_hFrameMenu)
        m_menuBar.SetDpi(dpi);
    for (CGuiFont* font : {&m_toolBarFont, &m_toolTipFont, &m_statusFont})
        font->SetDpi(dpi);
    ShowPictures(dpi);
    if (m_statusBar.Handle())
        m_statusBar.MeasurePanes();
}

void CFrameBars::FitBands()
{
    const int count = m_hWndRebar ? static_cast<int>(SendMessageA(m_hWndRebar, RB_GETBANDCOUNT, 0, 0)) : 0;
    for (int index = 0; index < count; ++index) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILD;
        if (!SendMessageA(m_hWndRebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)))
            continue;
        MeasureBand(band);
        SendMessageA(m_hWndRebar, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    }
}

// The band's child sizes from what its bar needs now.
void CFrameBars::MeasureBand(REBARBANDINFOA& band) const
{
    SIZE ideal{};
    if (band.hwndChild == m_menuBar.Handle())
        ideal = m_menuBar.GetIdealSize();
    else
        SendMessageA(band.hwndChild, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    RECT rect{};
    GetWindowRect(band.hwndChild, &rect);
    band.fMask |= RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.cxMinChild = 0;
    band.cyMinChild = ideal.cy > 0 ? ideal.cy : rect.bottom - rect.top;
    band.cx = ideal.cx;
    band.cxIdeal = ideal.cx;
}

void CFrameBars::CreateRebar(HWND frame)
{
    m_hWndRebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                  kBarStyle | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER, 0, 0,
                                  0, 0, frame, reinterpret_cast<HMENU>(ID_VIEW_TOOLBAR), g_app.Instance(),
                                  nullptr);
    if (!m_hWndRebar)
        return;
    REBARINFO info{};
    info.cbSize = sizeof(info);
    if (!SendMessageA(m_hWndRebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        ::DestroyWindow(m_hWndRebar);
        m_hWndRebar = nullptr;
        return;
    }
    AddBand(m_menuBar.Handle(), false);
    AddBand(m_hWndToolBar, true);
}

// Bands are numbered in the order they are added, from 60160.
void CFrameBars::AddBand(HWND child, bool newRow)
{
    if (!child)
        return;
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_STYLE | RBBIM_ID;
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    band.hwndChild = child;
    MeasureBand(band);
    band.wID = kFirstBandId + static_cast<UINT>(SendMessageA(m_hWndRebar, RB_GETBANDCOUNT, 0, 0));
    SendMessageA(m_hWndRebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

int CFrameBars::ToolBarRowWidth() const
{
    SIZE ideal{};
    if (!m_hWndToolBar || !SendMessageA(m_hWndToolBar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
        return 0;
    RECT borders{};
    const LRESULT band = m_hWndRebar ? SendMessageA(m_hWndRebar, RB_IDTOINDEX, kToolBarBandId, 0) : -1;
    if (band >= 0)
        SendMessageA(m_hWndRebar, RB_GETBANDBORDERS, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&borders));
    return ideal.cx + borders.left + borders.right;
}

void CFrameBars::AddAnnotationBand(HWND toolBar)
{
    if (!m_hWndRebar)
        return;
    AddBand(toolBar, true);
    ShowAnnotationBand(false);
}

void CFrameBars::ShowAnnotationBand(bool show)
{
    const LRESULT index = SendMessageA(m_hWndRebar, RB_IDTOINDEX, kAnnotationBandId, 0);
    if (index >= 0)
        SendMessageA(m_hWndRebar, RB_SHOWBAND, static_cast<WPARAM>(index), show);
}

void CFrameBars::CreateStatusBar(HWND frame)
{
    Vorn::CFastString<64> ready;
    ready.LoadString(IDS_READY);
    if (!m_statusBar.CreateBar(frame, ready.GetString(), kBarStyle | SBARS_SIZEGRIP, ID_VIEW_STATUS_BAR))
        return;
    static const UINT panes[] = {0, ID_INDICATOR_SIZE, ID_INDICATOR_ZOOM};
    m_statusBar.SetPanes(panes, 3);
}

void CFrameBars::Place(RECT& area, bool resizeBars)
{
    if (IsBarShown(m_hWndRebar)) {
        if (resizeBars) {
            SendMessageA(m_hWndRebar, WM_SIZE, 0, 0);
            InvalidateRect(m_hWndRebar, nullptr, FALSE);
        }
        area.top += WindowHeight(m_hWndRebar);
    }
    if (IsBarShown(m_statusBar.Handle())) {
        if (resizeBars)
            SendMessageA(m_statusBar.Handle(), WM_SIZE, 0, 0);
        area.bottom -= WindowHeight(m_statusBar.Handle());
    }
}

void CFrameBars::DropDownEditors(const NMTOOLBARA& notify, HMENU editors)
{
    if (notify.iItem != ID_EDITORS)
        return;
    const LRESULT index = SendMessageA(m_hWndToolBar, TB_COMMANDTOINDEX, ID_EDITORS, 0);
    RECT button{};
    if (!SendMessageA(m_hWndToolBar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)))
        return;
    MapWindowPoints(m_hWndToolBar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    // The button's tooltip, shown or due, would cover the menu's first item.
    QuietToolTips(m_hWndToolBar, true);
    m_menuBar.TrackPopup(editors, 0, button.left, button.bottom);
    QuietToolTips(m_hWndToolBar, false);
}

void CFrameBars::ToggleToolBar()
{
    m_bToolBarVisible = !m_bToolBarVisible;
    if (m_hWndRebar) {
        const LRESULT index = SendMessageA(m_hWndRebar, RB_IDTOINDEX, kToolBarBandId, 0);
        SendMessageA(m_hWndRebar, RB_SHOWBAND, index, m_bToolBarVisible);
    }
    g_updateUI.CheckCommand(ID_VIEW_TOOLBAR, m_bToolBarVisible);
}

void CFrameBars::ToggleStatusBar()
{
    HWND bar = m_statusBar.Handle();
    if (!bar)
        return;
    const bool show = !IsWindowVisible(bar);
    ShowWindow(bar, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    g_updateUI.CheckCommand(ID_VIEW_STATUS_BAR, show);
}

void CFrameBars::ShowMenuHelp(WPARAM wParam, LPARAM lParam)
{
    const UINT flags = HIWORD(wParam);
    if (m_statusBar.Handle()) {
        if (flags == 0xFFFF && !lParam) {
            m_statusBar.EndMenuHelp();
        } else {
            char help[80] = "";
            if (!(flags & (MF_POPUP | MF_SEPARATOR)))
                LoadCommandHelp(LOWORD(wParam), help, sizeof(help));
            m_statusBar.ShowMenuHelp(help);
        }
    }
}
