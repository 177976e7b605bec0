#include "ui/MenuBar.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "ui/MenuAccessKey.h"

const char CMenuBar::kClassName[] = "CapMenuBar";

namespace {
// The system toolbar's own window procedure, which does everything the bar leaves alone.
WNDPROC g_toolbarProc = nullptr;

// The bar whose popup is open on this thread, for the menu message filter.
thread_local CMenuBar* t_trackingBar = nullptr;

const UINT kPopupAlignment = TPM_LEFTBUTTON | TPM_VERTICAL | TPM_LEFTALIGN | TPM_TOPALIGN;

bool EndsWith(const char* text, const char* suffix)
{
    const size_t length = std::strlen(text), suffixLength = std::strlen(suffix);
    return length >= suffixLength && lstrcmpiA(text + length - suffixLength, suffix) == 0;
}

bool KeyboardCuesShown()
{
    BOOL shown = TRUE;
    return !SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &shown, 0) || shown;
}
}

CMenuBar::~CMenuBar()
{
    DestroyWindow();
}

bool CMenuBar::RegisterBarClass()
{
    if (g_toolbarProc)
        return true;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(nullptr, TOOLBARCLASSNAMEA, &wc))
        return false;
    const WNDPROC toolbarProc = wc.lpfnWndProc;
    // Same class bytes and styles as the toolbar, so that its procedure finds its data.
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.style &= ~CS_GLOBALCLASS;
    if (!CWindow::RegisterClass(wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    g_toolbarProc = toolbarProc;
    return true;
}

HWND CMenuBar::Create(HWND parent, HWND commandTarget, HMENU menu)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE |
                        CCS_NOPARENTALIGN | TBSTYLE_FLAT | TBSTYLE_LIST;
    if (!RegisterBarClass() || !CWindow::Create(kClassName, "", style, 0, 0, 0, 0, 0, parent, nullptr))
        return nullptr;
    m_hCommandTarget = commandTarget;
    m_ownedMenu.reset(menu);
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Text-only buttons: no room for images.
    SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SetDpi(CDpiScale::OfWindow(Handle()));
    ShowAccessKeys(false);
    AttachMenu(menu);
    return Handle();
}

void CMenuBar::SetImages(HIMAGELIST normal, HIMAGELIST disabled, const UINT* commands, int count)
{
    m_painter.SetImages(normal, disabled, commands, count);
}

void CMenuBar::SetDpi(const CDpiScale& dpi)
{
    m_painter.SetDpi(dpi);
    m_mdiButtons.SetDpi(dpi);
    OnSettingChange();
}

void CMenuBar::AttachMenu(HMENU menu)
{
    LeaveKeyboardMode(true);
    m_hMenu = menu;
    LayOutIfChanged();
}

void CMenuBar::RebuildButtons()
{
    const HWND bar = Handle();
    if (!bar)
        return;
    m_bRebuildDue = m_bHoldRebuilds;
    if (m_bHoldRebuilds)
        return;
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    for (int index = ButtonCount(); index > 0; --index)
        SendMessageA(bar, TB_DELETEBUTTON, index - 1, 0);
    // Room for a maximised MDI child's icon; some toolbars apply a new indent only
    // when buttons are added.
    m_nIndent = m_mdiButtons.LeftWidth();
    SendMessageA(bar, TB_SETINDENT, m_nIndent, 0);
    const int count = m_hMenu ? GetMenuItemCount(m_hMenu) : 0;
    for (int index = 0; index < count; ++index) {
        char text[128] = "";
        GetMenuStringA(m_hMenu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(m_hMenu, static_cast<UINT>(index), MF_BYPOSITION);
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = index;  // buttons are known by their menu position
        button.fsState = (state & (MF_GRAYED | MF_DISABLED)) ? 0 : TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        button.iString = reinterpret_cast<INT_PTR>(text);
        SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    InvalidateRect(bar, nullptr, TRUE);
    UpdateSize();
}

void CMenuBar::EndRebuildHold()
{
    m_bHoldRebuilds = false;
    SyncMdiChild();
    if (m_bRebuildDue)
        LayOutIfChanged();
}

SIZE CMenuBar::GetIdealSize() const
{
    RECT last = {};
    const int count = ButtonCount();
    if (count > 0)
        SendMessageA(Handle(), TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    const auto buttonSize = static_cast<DWORD>(SendMessageA(Handle(), TB_GETBUTTONSIZE, 0, 0));
    SIZE size;
    size.cx = std::max<int>(last.right, m_mdiButtons.LeftWidth()) + m_mdiButtons.RightWidth();
    // Tall enough for the caption buttons, so the bar keeps its height when they come.
    size.cy = std::max<int>(HIWORD(buttonSize), m_painter.Dpi().ScaleFromScreen(GetSystemMetrics(SM_CYMENUSIZE)));
    return size;
}

void CMenuBar::UpdateSize()
{
    const SIZE ideal = GetIdealSize();
    const HWND parent = GetParent(Handle());
    char parentClass[64] = "";
    GetClassNameA(parent, parentClass, sizeof parentClass);
    if (!EndsWith(parentClass, REBARCLASSNAMEA)) {
        RECT rect;
        GetWindowRect(Handle(), &rect);
        const int width = rect.right > rect.left ? rect.right - rect.left : ideal.cx;
        SetWindowPos(Handle(), nullptr, 0, 0, width, ideal.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const int bands = static_cast<int>(SendMessageA(parent, RB_GETBANDCOUNT, 0, 0));
    for (int index = 0; index < bands; ++index) {
        REBARBANDINFOA band{};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_CHILD;
        if (!SendMessageA(parent, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)) ||
            band.hwndChild != Handle())
            continue;
        band.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
        band.cxMinChild = static_cast<UINT>(ideal.cx);
        band.cyMinChild = band.cyChild = band.cyMaxChild = static_cast<UINT>(ideal.cy);
        band.cxIdeal = static_cast<UINT>(ideal.cx);
        SendMessageA(parent, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
        return;
    }
}

void CMenuBar::SetMdiClient(HWND mdiClient)
{
    m_mdiButtons.SetMdiClient(mdiClient);
    SyncMdiChild();
}

void CMenuBar::SyncMdiChild()
{
    if (!Handle() || !m_mdiButtons.Sync())
        return;
    m_nCapturedPart = CMenuBarMdiButtons::None;
    LayOutIfChanged();
}

// One maximised document following another (a capture over a maximised one) leaves
// the buttons as they are, with the same room for the icon and the same menu texts:
// only the icon is drawn again.
void CMenuBar::LayOutIfChanged()
{
    if (ButtonsMatch())
        InvalidateRect(Handle(), nullptr, FALSE);
    else
        RebuildButtons();
}

bool CMenuBar::ButtonsMatch() const
{
    const int count = m_hMenu ? GetMenuItemCount(m_hMenu) : 0;
    if (m_nIndent != m_mdiButtons.LeftWidth() || count != ButtonCount())
        return false;
    for (int index = 0; index < count; ++index) {
        char item[128] = "", shown[128] = "";
        GetMenuStringA(m_hMenu, static_cast<UINT>(index), item, sizeof item, MF_BYPOSITION);
        const bool enabled = !(GetMenuState(m_hMenu, static_cast<UINT>(index), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        const LRESULT state = SendMessageA(Handle(), TB_GETSTATE, index, 0);
        if (SendMessageA(Handle(), TB_GETBUTTONTEXTA, index, reinterpret_cast<LPARAM>(shown)) < 0 ||
            lstrcmpA(item, shown) != 0 || state < 0 || enabled != ((state & TBSTATE_ENABLED) != 0))
            return false;
    }
    return true;
}

void CMenuBar::ShowAccessKeys(bool show)
{
    m_painter.ShowAccessKeys(show);
    SendMessageA(Handle(), TB_SETDRAWTEXTFLAGS, DT_HIDEPREFIX, show || KeyboardCuesShown() ? 0 : DT_HIDEPREFIX);
    InvalidateRect(Handle(), nullptr, TRUE);
}

int CMenuBar::ButtonCount() const
{
    return static_cast<int>(SendMessageA(Handle(), TB_BUTTONCOUNT, 0, 0));
}

int CMenuBar::HitTestButton(POINT clientPoint) const
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (!PtInRect(&client, clientPoint))
        return -1;
    const int index = static_cast<int>(SendMessageA(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&clientPoint)));
    return index >= 0 && index < ButtonCount() ? index : -1;
}

int CMenuBar::FindButtonByAccessKey(UINT key) const
{
    const int count = ButtonCount();
    for (int index = 0; index < count; ++index) {
        char text[128] = "";
        GetMenuStringA(m_hMenu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
        if (MenuAccessKeyMatches(text, key))
            return index;
    }
    return -1;
}

int CMenuBar::NeighbourButton(int index, int step) const
{
    const int count = ButtonCount();
    return count > 0 ? ((index + step) % count + count) % count : -1;
}

void CMenuBar::SetHotButton(int index)
{
    SendMessageA(Handle(), TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

void CMenuBar::EnterKeyboardMode(int index)
{
    if (!m_bKeyboardMode) {
        m_bKeyboardMode = true;
        const HWND previous = SetFocus(Handle());
        m_hFocusBefore = previous != Handle() ? previous : nullptr;
        ShowAccessKeys(true);
    }
    SetHotButton(index);
}

void CMenuBar::LeaveKeyboardMode(bool restoreFocus)
{
    if (!m_bKeyboardMode)
        return;
    m_bKeyboardMode = false;
    SetHotButton(-1);
    ShowAccessKeys(false);
    const HWND previous = m_hFocusBefore;
    m_hFocusBefore = nullptr;
    if (restoreFocus && GetFocus() == Handle())
        SetFocus(previous && IsWindow(previous) ? previous : GetAncestor(Handle(), GA_ROOT));
}

bool CMenuBar::OnKeyMenu(LPARAM key)
{
    if (!Handle() || m_bInMenu || !IsWindowVisible(Handle()) || ButtonCount() == 0)
        return false;
    if (key == 0) {
        if (m_bKeyboardMode)
            LeaveKeyboardMode(true);
        else
            EnterKeyboardMode(0);
        return true;
    }
    if (key == '-' || key == ' ')
        return false;
    const int button = FindButtonByAccessKey(static_cast<UINT>(key));
    if (button < 0)
        return false;
    TrackButtonPopups(button, true);
    return true;
}

bool CMenuBar::TranslateAccessKey(const MSG& msg)
{
    if (msg.message != WM_SYSCHAR || !(HIWORD(msg.lParam) & KF_ALTDOWN) || !Handle())
        return false;
    if (GetAncestor(msg.hwnd, GA_ROOT) != GetAncestor(Handle(), GA_ROOT))
        return false;
    return OnKeyMenu(static_cast<LPARAM>(msg.wParam));
}

UINT CMenuBar::TrackPopup(HMENU menu, UINT flags, int x, int y)
{
    if (!Handle() || m_bInMenu)
        return 0;
    LeaveKeyboardMode(true);
    const UINT command = TrackWithPainter(menu, flags | TPM_RETURNCMD, x, y, nullptr);
    if (command && !(flags & TPM_RETURNCMD))
        PostCommand(command);
    return command;
}

void CMenuBar::TrackButtonPopups(int index, bool fromKeyboard)
{
    if (m_bInMenu)
        return;
    int current = index;
    bool byKeyboard = fromKeyboard;
    UINT command = 0;
    for (;;) {
        m_nNextButton = -1;
        m_bEscapedToBar = false;
        command = TrackButtonPopup(current, byKeyboard || m_bKeyboardMode);
        if (command || m_nNextButton < 0)
            break;
        current = m_nNextButton;
        byKeyboard = m_bNextByKeyboard;
    }
    if (m_bEscapedToBar)
        EnterKeyboardMode(current);
    else
        LeaveKeyboardMode(true);
    if (command)
        PostCommand(command);
}

UINT CMenuBar::TrackButtonPopup(int index, bool fromKeyboard)
{
    if (GetMenuState(m_hMenu, static_cast<UINT>(index), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))
        return 0;
    const HMENU popup = GetSubMenu(m_hMenu, index);
    if (!popup) {
        // A command right on the bar.
        const UINT command = GetMenuItemID(m_hMenu, index);
        return command == static_cast<UINT>(-1) ? 0 : command;
    }
    TPMPARAMS params = {sizeof params, {}};
    SendMessageA(Handle(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&params.rcExclude));
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&params.rcExclude), 2);

    if (m_bKeyboardMode)
        SetHotButton(-1);
    SendMessageA(Handle(), TB_PRESSBUTTON, index, TRUE);
    UpdateWindow(Handle());
    m_nTrackedButton = index;
    m_hTrackedPopup = m_hSelectedMenu = popup;
    m_bSelectedOpensPopup = false;
    ShowAccessKeys(fromKeyboard);
    // A popup opened from the keyboard starts with its first item highlighted; the
    // menu's own loop takes this key from the queue.
    if (fromKeyboard)
        PostMessageA(Handle(), WM_KEYDOWN, VK_DOWN, 0);

    CHookOwner hook(SetWindowsHookExA(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId()));
    t_trackingBar = this;
    const UINT command = TrackWithPainter(popup, kPopupAlignment | TPM_RETURNCMD, params.rcExclude.left,
                                          params.rcExclude.bottom, &params);
    t_trackingBar = nullptr;
    hook.reset();

    SendMessageA(Handle(), TB_PRESSBUTTON, index, FALSE);
    m_nTrackedButton = -1;
    m_hTrackedPopup = m_hSelectedMenu = nullptr;
    return command;
}

UINT CMenuBar::TrackWithPainter(HMENU menu, UINT flags, int x, int y, const TPMPARAMS* params)
{
    m_bInMenu = true;
    m_bPaintPopups = true;
    const auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu, flags, x, y, Handle(), const_cast<TPMPARAMS*>(params)));
    m_bPaintPopups = false;
    m_bInMenu = false;
    // Anything the menu did not report closed goes back to how it was.
    m_painter.RestoreAll();
    return command;
}

LRESULT CALLBACK CMenuBar::MenuFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && t_trackingBar && t_trackingBar->OnMenuFilter(*reinterpret_cast<const MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CMenuBar::OnMenuFilter(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        POINT point = msg.pt;
        ScreenToClient(Handle(), &point);
        const int button = HitTestButton(point);
        if (button < 0 || button == m_nTrackedButton)
            return false;
        SwitchPopup(button, false);
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A click on the open popup's own button closes it, as on a system menu bar.
        POINT point = msg.pt;
        ScreenToClient(Handle(), &point);
        if (HitTestButton(point) != m_nTrackedButton)
            return false;
        EndMenu();
        return true;
    }
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT && m_hSelectedMenu == m_hTrackedPopup) {
            SwitchPopup(NeighbourButton(m_nTrackedButton, -1), true);
            return true;
        }
        if (msg.wParam == VK_RIGHT && !m_bSelectedOpensPopup) {
            SwitchPopup(NeighbourButton(m_nTrackedButton, 1), true);
            return true;
        }
        if (msg.wParam == VK_ESCAPE && m_hSelectedMenu == m_hTrackedPopup)
            m_bEscapedToBar = true;
        return false;
    default:
        return false;
    }
}

void CMenuBar::SwitchPopup(int index, bool byKeyboard)
{
    m_nNextButton = index;
    m_bNextByKeyboard = byKeyboard;
    EndMenu();
}

void CMenuBar::TrackMdiSystemMenu()
{
    const HWND child = m_mdiButtons.Child();
    const HMENU systemMenu = IsWindow(child) ? GetSystemMenu(child, FALSE) : nullptr;
    if (!systemMenu || m_bInMenu)
        return;
    LeaveKeyboardMode(true);
    RECT client;
    GetClientRect(Handle(), &client);
    TPMPARAMS params = {sizeof params, m_mdiButtons.PartRect(CMenuBarMdiButtons::Icon, client)};
    params.rcExclude.top = client.top;
    params.rcExclude.bottom = client.bottom;
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&params.rcExclude), 2);
    // Owned by the child, whose own handling enables the items that fit its state
    // and which draws it as the system draws system menus.
    m_bInMenu = true;
    const auto command = static_cast<UINT>(TrackPopupMenuEx(systemMenu, kPopupAlignment | TPM_RETURNCMD,
                                                            params.rcExclude.left, params.rcExclude.bottom,
                                                            child, &params));
    m_bInMenu = false;
    if (command && IsWindow(child)) {
        SendMessageA(child, WM_SYSCOMMAND, command, 0);
        SyncMdiChild();
    }
}

void CMenuBar::PostCommand(UINT command) const
{
    PostMessageA(m_hCommandTarget, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT CMenuBar::ForwardToTarget(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return m_hCommandTarget ? SendMessageA(m_hCommandTarget, msg, wParam, lParam) : 0;
}

LRESULT CMenuBar::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client;
    GetClientRect(Handle(), &client);
    const CMenuBarMdiButtons::Part part = m_mdiButtons.HitTest(point, client);
    if (part == CMenuBarMdiButtons::Icon) {
        TrackMdiSystemMenu();
        return 0;
    }
    if (part != CMenuBarMdiButtons::None) {
        LeaveKeyboardMode(true);
        m_nCapturedPart = part;
        m_mdiButtons.SetPushed(part);
        SetCapture(Handle());
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    }
    const int button = HitTestButton(point);
    if (button >= 0) {
        TrackButtonPopups(button, false);
        return 0;
    }
    LeaveKeyboardMode(true);
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CMenuBar::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (m_nCapturedPart == CMenuBarMdiButtons::None)
        return DefaultProc(WM_MOUSEMOVE, wParam, lParam);
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client;
    GetClientRect(Handle(), &client);
    const auto pushed = m_mdiButtons.HitTest(point, client) == m_nCapturedPart ? m_nCapturedPart
                                                                                : CMenuBarMdiButtons::None;
    if (pushed != m_mdiButtons.Pushed()) {
        m_mdiButtons.SetPushed(pushed);
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    return 0;
}

LRESULT CMenuBar::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (m_nCapturedPart == CMenuBarMdiButtons::None)
        return HitTestButton(point) >= 0 ? 0 : DefaultProc(WM_LBUTTONUP, wParam, lParam);
    RECT client;
    GetClientRect(Handle(), &client);
    const CMenuBarMdiButtons::Part part = m_nCapturedPart;
    const bool released = m_mdiButtons.HitTest(point, client) == part;
    m_nCapturedPart = CMenuBarMdiButtons::None;
    m_mdiButtons.SetPushed(CMenuBarMdiButtons::None);
    ReleaseCapture();
    InvalidateRect(Handle(), nullptr, FALSE);
    const HWND child = m_mdiButtons.Child();
    if (released && IsWindow(child)) {
        SendMessageA(child, WM_SYSCOMMAND, CMenuBarMdiButtons::SystemCommand(part), 0);
        SyncMdiChild();
    }
    return 0;
}

LRESULT CMenuBar::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (!m_bKeyboardMode)
        return DefaultProc(WM_KEYDOWN, wParam, lParam);
    const int hot = static_cast<int>(SendMessageA(Handle(), TB_GETHOTITEM, 0, 0));
    const int current = hot >= 0 ? hot : 0;
    switch (wParam) {
    case VK_LEFT:
        SetHotButton(NeighbourButton(current, -1));
        break;
    case VK_RIGHT:
        SetHotButton(NeighbourButton(current, 1));
        break;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN:
        TrackButtonPopups(current, true);
        break;
    case VK_ESCAPE:
        LeaveKeyboardMode(true);
        break;
    }
    return 0;
}

LRESULT CMenuBar::OnChar(WPARAM wParam, LPARAM lParam)
{
    if (!m_bKeyboardMode)
        return DefaultProc(WM_CHAR, wParam, lParam);
    const int button = FindButtonByAccessKey(static_cast<UINT>(wParam));
    if (button >= 0)
        TrackButtonPopups(button, true);
    else
        MessageBeep(0);
    return 0;
}

LRESULT CMenuBar::OnMenuChar(WPARAM wParam, LPARAM lParam)
{
    const UINT key = LOWORD(wParam);
    const int position = m_painter.FindAccessKey(reinterpret_cast<HMENU>(lParam), key);
    if (position >= 0)
        return MAKELRESULT(position, MNC_EXECUTE);
    // A key of another top-level item moves there, as on a system menu bar.
    const int button = m_nTrackedButton >= 0 ? FindButtonByAccessKey(key) : -1;
    if (button >= 0 && button != m_nTrackedButton) {
        m_nNextButton = button;
        m_bNextByKeyboard = true;
        return MAKELRESULT(0, MNC_CLOSE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

LRESULT CMenuBar::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT flags = HIWORD(wParam);
    if (m_nTrackedButton >= 0 && lParam) {
        m_hSelectedMenu = reinterpret_cast<HMENU>(lParam);
        m_bSelectedOpensPopup = flags != 0xFFFF && (flags & MF_POPUP);
    }
    return ForwardToTarget(WM_MENUSELECT, wParam, lParam);
}

LRESULT CMenuBar::OnPaint()
{
    if (!m_mdiButtons.Child())
        return DefaultProc(WM_PAINT, 0, 0);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    m_mdiButtons.Paint(dc, client);
    EndPaint(Handle(), &paint);
    return 0;
}

void CMenuBar::OnSettingChange()
{
    m_painter.UpdateMetrics();
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(m_painter.MenuFont()), FALSE);
    ShowAccessKeys(m_bKeyboardMode);
    RebuildButtons();
}

LRESULT CMenuBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(msg, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(wParam, lParam);
    case WM_CAPTURECHANGED:
        if (m_nCapturedPart != CMenuBarMdiButtons::None) {
            m_nCapturedPart = CMenuBarMdiButtons::None;
            m_mdiButtons.SetPushed(CMenuBarMdiButtons::None);
            InvalidateRect(Handle(), nullptr, FALSE);
        }
        break;
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_CHAR:
        return OnChar(wParam, lParam);
    case WM_KILLFOCUS:
        if (!m_bInMenu)
            LeaveKeyboardMode(false);
        break;
    case WM_PAINT:
        return OnPaint();
    case WM_SETTINGCHANGE:
        OnSettingChange();
        break;
    case WM_INITMENUPOPUP: {
        // The target sets item states first; they are drawn as it left them.
        const LRESULT result = ForwardToTarget(msg, wParam, lParam);
        if (m_bPaintPopups && !HIWORD(lParam))
            m_painter.PreparePopup(reinterpret_cast<HMENU>(wParam));
        return result;
    }
    case WM_UNINITMENUPOPUP:
        m_painter.RestorePopup(reinterpret_cast<HMENU>(wParam));
        return ForwardToTarget(msg, wParam, lParam);
    case WM_INITMENU:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        return ForwardToTarget(msg, wParam, lParam);
    case WM_MENUSELECT:
        return OnMenuSelect(wParam, lParam);
    case WM_MENUCHAR:
        return OnMenuChar(wParam, lParam);
    case WM_MEASUREITEM:
        if (m_painter.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (m_painter.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DESTROY:
        m_painter.RestoreAll();
        m_hMenu = nullptr;
        m_ownedMenu.reset();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CMenuBar::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_toolbarProc, Handle(), msg, wParam, lParam);
}
