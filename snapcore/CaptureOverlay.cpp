#include "CaptureOverlay.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FrozenScreen.h"
#include "GdiDrawing.h"
#include "Magnifier.h"
#include "SystemCodePage.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace snapcore {
namespace {

const char kWindowClass[] = "SnapcoreCaptureOverlay";
const UINT kTakeKeyboard = WM_APP;
// How long after the overlay appears it keeps asking for the keyboard (see TakeKeyboard).
const DWORD kHandOverMs = 1000;
const UINT_PTR kHandOverTimer = 1;

HINSTANCE ThisModule()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void FormatSizeLabel(char* out, size_t size, const RECT& rect)
{
    wchar_t text[40] = {};
    _snwprintf(text, 39, L"%ld \u00D7 %ld", static_cast<long>(Width(rect)), static_cast<long>(Height(rect)));
    if (!ToSystemCodePage(text, out, size))
        snprintf(out, size, "%ld x %ld", static_cast<long>(Width(rect)), static_cast<long>(Height(rect)));
}

} // namespace

CCaptureOverlay::CCaptureOverlay(SelectionMode mode, const CFrozenScreen& screen, CMagnifier& magnifier)
    : m_mode(mode),
      m_screen(screen),
      m_magnifier(magnifier),
      m_rcScreen(screen.Bounds()),
      m_picker(m_rcScreen),
      m_dragDistance{GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)},
      m_dimmed(screen),
      m_backBuffer(CreateCanvas(m_screenDC, SIZE{Width(m_rcScreen), Height(m_rcScreen)})),
      m_backDC(m_screenDC),
      m_backSelection(m_backDC, m_backBuffer.get()),
      m_fontSelection(m_backDC, GetStockObject(DEFAULT_GUI_FONT))
{
    // The back buffer is drawn in screen coordinates, like everything the overlay keeps.
    SetViewportOrgEx(m_backDC, -m_rcScreen.left, -m_rcScreen.top, nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursor(nullptr, IDC_CROSS);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
}

// The class goes with the overlay, so that the library can be unloaded afterwards.
CCaptureOverlay::~CCaptureOverlay()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    UnregisterClassA(kWindowClass, ThisModule());
}

bool CCaptureOverlay::Run(RECT* chosen)
{
    if (!m_backSelection.Succeeded() || !m_dimmed.IsValid())
        return false;
    m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, m_rcScreen.left,
                             m_rcScreen.top, Width(m_rcScreen), Height(m_rcScreen), nullptr, nullptr, ThisModule(),
                             this);
    if (!m_hWnd)
        return false;
    POINT pointer{};
    GetCursorPos(&pointer);
    m_ptPointer = pointer;
    m_scene = BuildScene();
    m_dwShownAt = GetTickCount();
    ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
    PostMessageA(m_hWnd, kTakeKeyboard, 0, 0);
    SetTimer(m_hWnd, kHandOverTimer, 100, nullptr);

    // Every message of the thread is dispatched meanwhile, as in a modal dialog, so
    // the caller's windows keep painting; a quit request ends the capture and is passed on.
    MSG message;
    while (!m_bFinished) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    if (m_bTaken)
        *chosen = m_rcChosen;
    return m_bTaken;
}

LRESULT CALLBACK CCaptureOverlay::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CCaptureOverlay*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->m_hWnd != window)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CCaptureOverlay::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the back buffer covers every pixel
    case WM_MOUSEMOVE:
        MovePointer(ScreenPoint(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(ScreenPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(ScreenPoint(lParam));
        return 0;
    case WM_RBUTTONUP: // on release, so that the button's release reaches no window below
    case WM_CLOSE:
        Finish(nullptr);
        return 0;
    case kTakeKeyboard:
        TakeKeyboard();
        return 0;
    case WM_TIMER:
        if (wParam == kHandOverTimer) {
            if (GetTickCount() - m_dwShownAt < kHandOverMs)
                TakeKeyboard();
            else
                KillTimer(m_hWnd, kHandOverTimer);
        }
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    default:
        return DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

void CCaptureOverlay::OnPaint()
{
    const CRegionOwner update(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(m_hWnd, update.get(), FALSE);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    if (!dc)
        return;
    SelectClipRgn(m_backDC, update.get());
    PaintScene(m_backDC, m_scene, m_screen, m_dimmed, m_magnifier);
    SelectClipRgn(m_backDC, nullptr);
    // The paint DC is clipped to the update region too, so only changed pixels go out.
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, Width(r), Height(r), m_backDC, r.left + m_rcScreen.left, r.top + m_rcScreen.top,
           SRCCOPY);
    EndPaint(m_hWnd, &paint);
}

// Done from the overlay's own message loop, not at once: Wine stamps its request for
// the X keyboard focus with the time of the last message the thread took. A capture
// started by a hotkey would ask with the key's time, older than the moment at which the
// hidden main window handed the focus on, and the X server would ignore the request;
// keys would then go to another window. Focus is dropped first so that the request is
// made even where the overlay is already taken to have it. The request is repeated for a
// moment: the notification area's window, which the hidden window activated, can set
// the X focus to itself after the overlay did, while Windows still names the overlay.
void CCaptureOverlay::TakeKeyboard()
{
    SetForegroundWindow(m_hWnd);
    SetActiveWindow(m_hWnd);
    SetFocus(nullptr);
    SetFocus(m_hWnd);
}

void CCaptureOverlay::OnLeftButtonDown(POINT point)
{
    MovePointer(point);
    m_bLeftPressed = true;
    if (SelectsRegions() && !m_bAnchored) {
        SetCapture(m_hWnd);
        Anchor();
    }
}

void CCaptureOverlay::OnLeftButtonUp(POINT point)
{
    MovePointer(point);
    if (!m_bLeftPressed) // pressed before the overlay came up
        return;
    m_bLeftPressed = false;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (!Take() && m_bAnchored) {
        // A click or a drag along one edge selects nothing; the next press starts afresh.
        m_bAnchored = m_bSelecting = false;
        Refresh();
    }
}

void CCaptureOverlay::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_ESCAPE:
        Finish(nullptr);
        break;
    case VK_RETURN:
        OnEnter();
        break;
    case VK_LEFT:
        MovePointerBy(-1, 0);
        break;
    case VK_RIGHT:
        MovePointerBy(1, 0);
        break;
    case VK_UP:
        MovePointerBy(0, -1);
        break;
    case VK_DOWN:
        MovePointerBy(0, 1);
        break;
    case VK_ADD:
    case VK_OEM_PLUS:
        if (m_magnifier.Zoom(1))
            Refresh();
        break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        if (m_magnifier.Zoom(-1))
            Refresh();
        break;
    case VK_TAB:
        if (m_magnifier.CycleSkin(GetKeyState(VK_SHIFT) < 0 ? -1 : 1))
            Refresh();
        break;
    default:
        break;
    }
}

void CCaptureOverlay::OnMouseWheel(int delta)
{
    // Fine-grained wheels send fractions of a notch; they add up.
    m_nWheelRest += delta;
    const int notches = m_nWheelRest / WHEEL_DELTA;
    m_nWheelRest -= notches * WHEEL_DELTA;
    if (notches && m_magnifier.Zoom(notches))
        Refresh();
}

// Enter works as the button: where regions are selected, the first sets a corner where
// the pointer is and the second takes what a release would, so that a region can be
// chosen with the arrow keys alone; elsewhere it takes what a click would.
void CCaptureOverlay::OnEnter()
{
    if (SelectsRegions() && !m_bAnchored)
        Anchor();
    else
        Take();
}

// In region mode the selection starts at the corner; in any-part mode only once the
// pointer has gone beyond the drag distance, and until then a release takes the object.
void CCaptureOverlay::Anchor()
{
    m_ptAnchor = m_ptPointer;
    m_bAnchored = true;
    m_bSelecting = m_mode == SelectionMode::Region;
    Refresh();
}

// Finishes with what a release would take now; false when that is nothing.
bool CCaptureOverlay::Take()
{
    const RECT candidate = Candidate();
    if (IsRectEmpty(&candidate))
        return false;
    Finish(&candidate);
    return true;
}

void CCaptureOverlay::MovePointer(POINT point)
{
    point.x = std::clamp(point.x, m_rcScreen.left, m_rcScreen.right - 1);
    point.y = std::clamp(point.y, m_rcScreen.top, m_rcScreen.bottom - 1);
    if (point.x == m_ptPointer.x && point.y == m_ptPointer.y)
        return;
    m_ptPointer = point;
    m_bSelecting = m_bSelecting || (m_bAnchored && BeyondDragDistance());
    Refresh();
}

// From where the overlay last saw the pointer, so that keys and mouse messages apply
// in the order they came. The system pointer moves too, and what follows it (the
// selection, the magnifier) follows at once rather than when its move message arrives.
void CCaptureOverlay::MovePointerBy(int dx, int dy)
{
    POINT pointer = m_ptPointer;
    pointer.x = std::clamp(pointer.x + dx, m_rcScreen.left, m_rcScreen.right - 1);
    pointer.y = std::clamp(pointer.y + dy, m_rcScreen.top, m_rcScreen.bottom - 1);
    SetCursorPos(pointer.x, pointer.y);
    MovePointer(pointer);
}

POINT CCaptureOverlay::ScreenPoint(LPARAM lParam) const
{
    return POINT{GET_X_LPARAM(lParam) + m_rcScreen.left, GET_Y_LPARAM(lParam) + m_rcScreen.top};
}

bool CCaptureOverlay::SelectsRegions() const
{
    return m_mode == SelectionMode::Region || m_mode == SelectionMode::AnyPart;
}

bool CCaptureOverlay::BeyondDragDistance() const
{
    return std::abs(m_ptPointer.x - m_ptAnchor.x) > m_dragDistance.cx
        || std::abs(m_ptPointer.y - m_ptAnchor.y) > m_dragDistance.cy;
}

RECT CCaptureOverlay::Selection() const
{
    return m_bSelecting ? m_screen.Layout().Selection(m_ptAnchor, m_ptPointer) : RECT{};
}

// The magnifier goes on the side of the pointer away from where the selection began,
// so that it never covers the selection it helps with; below and right otherwise.
SIZE CCaptureOverlay::MagnifierSide() const
{
    const bool left = m_bSelecting && m_ptPointer.x < m_ptAnchor.x;
    const bool up = m_bSelecting && m_ptPointer.y < m_ptAnchor.y;
    return SIZE{left ? -1 : 1, up ? -1 : 1};
}

// What a click or Enter would take now.
RECT CCaptureOverlay::Candidate() const
{
    RECT rect{};
    if (m_bSelecting)
        return Selection();
    switch (m_mode) {
    case SelectionMode::Region:
        return rect;
    case SelectionMode::Window:
        m_picker.TopLevelAt(m_ptPointer, &rect);
        return rect;
    case SelectionMode::Object:
    case SelectionMode::AnyPart:
        m_picker.ObjectAt(m_ptPointer, &rect);
        return rect;
    }
    return rect;
}

OverlayScene CCaptureOverlay::BuildScene() const
{
    OverlayScene scene{};
    const RECT candidate = Candidate();
    (m_bSelecting ? scene.rcSelection : scene.rcHighlight) = candidate;
    const CScreenLayout& layout = m_screen.Layout();
    if (m_magnifier.IsAvailable()) {
        scene.rcMagnifier = m_magnifier.PlaceFor(m_ptPointer, MagnifierSide(), layout.MonitorAt(m_ptPointer));
        scene.ptPointer = m_ptPointer;
        scene.nMagnification = m_magnifier.Magnification();
        scene.nSkin = m_magnifier.Skin();
    }
    if (!IsRectEmpty(&candidate)) {
        FormatSizeLabel(scene.szSizeLabel, sizeof(scene.szSizeLabel), candidate);
        SIZE text{};
        GetTextExtentPoint32A(m_backDC, scene.szSizeLabel, static_cast<int>(strlen(scene.szSizeLabel)), &text);
        scene.rcSizeLabel = PlaceSizeLabel(candidate, text, layout, scene.rcMagnifier);
    }
    return scene;
}

// Brings the scene up to date and marks for repainting what looks different now.
void CCaptureOverlay::Refresh()
{
    const OverlayScene scene = BuildScene();
    const CRegionOwner changed(CreateRectRgn(0, 0, 0, 0));
    AddChangedArea(changed.get(), m_scene, scene, m_rcScreen);
    m_scene = scene;
    OffsetRgn(changed.get(), -m_rcScreen.left, -m_rcScreen.top);
    InvalidateRgn(m_hWnd, changed.get(), FALSE);
}

void CCaptureOverlay::Finish(const RECT* chosen)
{
    m_bFinished = true;
    m_bTaken = chosen != nullptr;
    if (chosen)
        m_rcChosen = *chosen;
}

} // namespace snapcore
