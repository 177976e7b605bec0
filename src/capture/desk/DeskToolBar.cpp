#include "capture/desk/DeskToolBar.h"

#include <algorithm>
#include <vector>

#include "capture/desk/DeskToolBarPlacement.h"
#include "document/ToolBarTips.h"
#include "res/resource.h"
#include "util/FastString.h"

namespace {
const char kDeskToolBarClass[] = "LumigrabDeskToolBar";
// At 96 DPI: inside the popup around its bars, and kept free outside it, off the
// selection's handles and the monitor's edges.
constexpr int kPadding = 2;
constexpr int kMargin = 5;

const ToolBarStrips kDeskStrips = {
    {IDB_DESK, IDB_DESK_24, IDB_DESK_32},
    {IDB_DESK_DISABLED, IDB_DESK_DISABLED_24, IDB_DESK_DISABLED_32},
    {IDB_DESK_MASK, IDB_DESK_MASK_24, IDB_DESK_MASK_32},
};

// The action bar's buttons; picture -1 is a gap of 8 pixels at 96 DPI. 长截图 and 识别文字
// stand between the edits and the ways out.
struct Action {
    int picture;
    UINT command;
    UINT tip;
};
constexpr Action kActions[] = {
    {-1, 0, 0},
    {0, ID_ANNOTATE_UNDO, IDS_DESK_TIP_UNDO},
    {1, ID_ANNOTATE_REDO, IDS_DESK_TIP_REDO},
    {-1, 0, 0},
    {8, ID_DESK_LONGSHOT, IDS_DESK_TIP_LONGSHOT},
    {7, ID_DESK_READ_TEXT, IDS_DESK_TIP_READ_TEXT},
    {-1, 0, 0},
    {2, ID_DESK_PIN, IDS_DESK_TIP_PIN},
    {3, ID_DESK_SAVE, IDS_DESK_TIP_SAVE},
    {4, ID_DESK_OPEN_DOCUMENT, IDS_DESK_TIP_OPEN_DOCUMENT},
    {-1, 0, 0},
    {5, ID_DESK_COPY, IDS_DESK_TIP_COPY},
    {6, ID_DESK_CANCEL, IDS_DESK_TIP_CANCEL},
};
constexpr int kActionCount = sizeof kActions / sizeof kActions[0];
constexpr int kActionPictures = 9;

// The editor's tools that have no place on the desk: the selection is moved by its handles,
// and cut by the selection itself.
constexpr UINT kHiddenTools[] = {ID_TOOL_HAND, ID_TOOL_SELECT, ID_TOOL_CROP};

void RegisterDeskToolBarClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kDeskToolBarClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDeskToolBarClass;
    CWindow::RegisterClass(wc);
}

std::vector<TBBUTTON> ActionButtons()
{
    std::vector<TBBUTTON> buttons;
    for (const Action& action : kActions) {
        TBBUTTON button{};
        button.iBitmap = action.picture >= 0 ? action.picture : 8;
        button.idCommand = static_cast<int>(action.command);
        button.fsState = action.picture >= 0 ? TBSTATE_ENABLED : 0;
        button.fsStyle = action.picture >= 0 ? BTNS_BUTTON : BTNS_SEP;
        button.iString = -1;
        buttons.push_back(button);
    }
    return buttons;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM monitors)
{
    reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*rect);
    return TRUE;
}

// The bar is never the active window, and a toolbar's tips show only over an active one.
void TipEvenWhenInactive(HWND toolBar)
{
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0));
    if (tips)
        SetWindowLongPtrA(tips, GWL_STYLE, GetWindowLongPtrA(tips, GWL_STYLE) | TTS_ALWAYSTIP);
}

SIZE IdealSize(HWND toolBar)
{
    SIZE size{};
    SendMessageA(toolBar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size;
}
}

CDeskToolBar::CDeskToolBar(CAnnotationTools& tools) : m_drawing(tools) {}

CDeskToolBar::~CDeskToolBar()
{
    DestroyWindow();
}

bool CDeskToolBar::Create(HWND desk)
{
    RegisterDeskToolBarClass();
    Vorn::CFastString<64> title;
    title.LoadString(IDS_DESK_TOOLBAR);
    if (!CWindow::Create(kDeskToolBarClass, title.GetString(), WS_CHILD | WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                         0, 0, 0, 0, 0, desk, nullptr))
        return false;
    if (!m_drawing.Create(Handle()) || !CreateActionBar())
        return false;
    for (UINT tool : kHiddenTools)
        SendMessageA(m_drawing.Handle(), TB_HIDEBUTTON, tool, MAKELPARAM(TRUE, 0));
    TipEvenWhenInactive(m_drawing.Handle());
    TipEvenWhenInactive(m_hActions);
    Update(false, false, false);
    return true;
}

bool CDeskToolBar::CreateActionBar()
{
    m_hActions = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE |
                                     CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                                 0, 0, 0, 0, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_hActions)
        return false;
    const std::vector<TBBUTTON> buttons = ActionButtons();
    SendMessageA(m_hActions, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hActions, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    m_actionTipFont.Follow(reinterpret_cast<HWND>(SendMessageA(m_hActions, TB_GETTOOLTIPS, 0, 0)));
    return true;
}

void CDeskToolBar::LayOut(const CDpiScale& dpi, int maxWidth)
{
    m_nDpi = dpi.Dpi();
    m_nMaxWidth = maxWidth;
    m_drawing.ChangeDpi(dpi);
    m_actionImages.Load(kDeskStrips, kActionPictures, dpi);
    const std::vector<TBBUTTON> buttons = ActionButtons();
    ShowToolBarPictures(m_hActions, m_actionImages, buttons.data(), kActionCount, dpi);
    m_actionTipFont.SetDpi(dpi);

    const SIZE drawing = IdealSize(m_drawing.Handle());
    SIZE actions = IdealSize(m_hActions);
    const int padding = dpi.Scale(kPadding);
    const int border = 2 * GetSystemMetrics(SM_CXBORDER);
    const bool oneRow = drawing.cx + actions.cx + 2 * padding + border <= maxWidth;
    // The gap that parts the ways out from the tools has nothing to part on a row of their own.
    TBBUTTONINFOA leadingGap{};
    leadingGap.cbSize = sizeof leadingGap;
    leadingGap.dwMask = TBIF_BYINDEX | TBIF_STATE;
    leadingGap.fsState = oneRow ? 0 : TBSTATE_HIDDEN;
    SendMessageA(m_hActions, TB_SETBUTTONINFOA, 0, reinterpret_cast<LPARAM>(&leadingGap));
    actions = IdealSize(m_hActions);
    const int width = oneRow ? drawing.cx + actions.cx : std::max(drawing.cx, actions.cx);
    const int height = oneRow ? std::max(drawing.cy, actions.cy) : drawing.cy + actions.cy;
    SetWindowPos(m_drawing.Handle(), nullptr, padding, padding + (oneRow ? (height - drawing.cy) / 2 : 0), drawing.cx,
                 drawing.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // The ways out end the row, or stand at the right under the tools.
    SetWindowPos(m_hActions, nullptr, padding + width - actions.cx,
                 padding + (oneRow ? (height - actions.cy) / 2 : drawing.cy), actions.cx, actions.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_size = SIZE{width + 2 * padding + border, height + 2 * padding + 2 * GetSystemMetrics(SM_CYBORDER)};
}

std::vector<RECT> CDeskToolBar::Monitors()
{
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

int CDeskToolBar::LayOutFor(const RECT& selection, const std::vector<RECT>& monitors)
{
    const RECT monitor = MonitorShowingMost(selection, monitors);
    const CDpiScale dpi = CDpiScale::OfMonitor(MonitorFromRect(&monitor, MONITOR_DEFAULTTONEAREST));
    const int margin = dpi.Scale(kMargin);
    const int maxWidth = monitor.right - monitor.left - 2 * margin;
    if (dpi.Dpi() != m_nDpi || maxWidth != m_nMaxWidth)
        LayOut(dpi, maxWidth);
    return margin;
}

void CDeskToolBar::PrepareFor(const RECT& selection)
{
    if (Handle())
        LayOutFor(selection, Monitors());
}

void CDeskToolBar::PlaceBeside(const RECT& selection, const RECT& markedUp)
{
    if (!Handle())
        return;
    const std::vector<RECT> monitors = Monitors();
    const int margin = LayOutFor(selection, monitors);
    const SIZE withMargin{m_size.cx + 2 * margin, m_size.cy + 2 * margin};
    const POINT place = PlaceDeskToolBar(selection, withMargin, monitors, markedUp);
    POINT onDesk{place.x + margin, place.y + margin};
    ScreenToClient(GetParent(Handle()), &onDesk);
    SetWindowPos(Handle(), HWND_TOP, onDesk.x, onDesk.y, m_size.cx, m_size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CDeskToolBar::Update(bool canUndo, bool canRedo, bool canLongshot)
{
    m_drawing.Update();
    if (!m_hActions)
        return;
    SendMessageA(m_hActions, TB_ENABLEBUTTON, ID_ANNOTATE_UNDO, MAKELPARAM(canUndo, 0));
    SendMessageA(m_hActions, TB_ENABLEBUTTON, ID_ANNOTATE_REDO, MAKELPARAM(canRedo, 0));
    SendMessageA(m_hActions, TB_ENABLEBUTTON, ID_DESK_LONGSHOT, MAKELPARAM(canLongshot, 0));
}

// The bar's dialogs and its width list leave the focus with the bar, which has no keys of
// its own: they are the desk's.
void CDeskToolBar::GiveKeysToDesk()
{
    SetFocus(GetParent(Handle()));
}

void CDeskToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_drawing.OnCommand(wParam, lParam)) {
        // After a dialog, or the width list that closed, and not while the list is open.
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == CBN_CLOSEUP)
            GiveKeysToDesk();
        return;
    }
    if (HIWORD(wParam) == 0 && LOWORD(wParam) != 0)
        PostMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
}

LRESULT CDeskToolBar::OnNotify(NMHDR* header)
{
    switch (header->code) {
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW:
        for (const Action& action : kActions) {
            if (action.tip && header->idFrom == action.command) {
                Vorn::CFastString<64> tip;
                tip.LoadString(action.tip);
                SetToolTipText(header, tip.GetString());
                return 0;
            }
        }
        FillToolBarTip(header);
        return 0;
    case TBN_DROPDOWN:
        // A choice from the menu goes to the tools; the bar shows it (the list shows its own).
        m_drawing.OnDropDown(*reinterpret_cast<const NMTOOLBARA*>(header));
        m_drawing.Update();
        GiveKeysToDesk();
        return TBDDRET_DEFAULT;
    }
    return 0;
}

LRESULT CDeskToolBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DPICHANGED:
        return 0;  // laid out for its monitor when placed
    }
    return DefaultProc(msg, wParam, lParam);
}
