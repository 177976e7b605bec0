#include "document/PinWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "document/ImageClipboard.h"
#include "document/ImageFileDialogs.h"
#include "document/ZoomTable.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "ui/DpiScale.h"
#include "ui/MainFrameHandle.h"
#include "util/AppMessageBox.h"

namespace {
const char kPinClass[] = "LumigrabPin";
constexpr float kLargestZoom = 4.0f;
const COLORREF kFocusedFrame = RGB(0, 120, 215);
const COLORREF kUnfocusedFrame = RGB(128, 128, 128);

void RegisterPinClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kPinClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_SIZEALL);
    wc.lpszClassName = kPinClass;
    CWindow::RegisterClass(wc);
}

HBITMAP CopyBitmap(HBITMAP source, SIZE size)
{
    DWORD* bits = nullptr;
    CBitmapOwner copy(CreateTopDownDib(size.cx, size.cy, bits));
    CMemoryDC from(nullptr), to(nullptr);
    if (!copy || !from || !to)
        return nullptr;
    CSelectObject fromSelection(from, source), toSelection(to, copy.get());
    if (!fromSelection.Succeeded() || !toSelection.Succeeded() || !BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY))
        return nullptr;
    return static_cast<HBITMAP>(copy.release());
}
}

CPinWindow::~CPinWindow()
{
    DestroyWindow();
}

bool CPinWindow::Create(HBITMAP bitmap, POINT imageOrigin)
{
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof(info), &info))
        return false;
    m_size = {info.bmWidth, info.bmHeight};
    m_image.reset(CopyBitmap(bitmap, m_size));
    if (!m_image)
        return false;
    m_nZoomIndex = kZoomIndexActual;
    m_fZoom = g_zoomLevels[m_nZoomIndex];
    RegisterPinClass();
    m_nFrameWidth = CDpiScale::OfWindow(nullptr).Scale(kFrameWidth);
    // Layered from the start, so that the opacity changes without a repaint.
    if (!CWindow::Create(kPinClass, "", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED,
                         imageOrigin.x - m_nFrameWidth, imageOrigin.y - m_nFrameWidth, m_size.cx + 2 * m_nFrameWidth,
                         m_size.cy + 2 * m_nFrameWidth, nullptr, nullptr))
        return false;
    // Made on a monitor of another DPI than the screen's first one.
    const int dpi = CDpiScale::OfWindow(Handle()).Dpi();
    if (CDpiScale(dpi).Scale(kFrameWidth) != m_nFrameWidth)
        OnDpiChanged(dpi);
    SetOpacity(100);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    return true;
}

bool CPinWindow::IsPin(HWND window)
{
    char className[sizeof kPinClass + 1] = {};
    return window && GetClassNameA(window, className, sizeof className) && lstrcmpA(className, kPinClass) == 0;
}

LRESULT CPinWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the paint covers every pixel
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_LBUTTONUP:
        if (m_bDragging)
            ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        m_bDragging = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            PostMessageA(Handle(), WM_CLOSE, 0, 0);
            return 0;
        }
        if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
            CopyImage();
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam));
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

RECT CPinWindow::PictureRect() const
{
    return {m_nFrameWidth, m_nFrameWidth, m_nFrameWidth + static_cast<LONG>(m_size.cx * m_fZoom + 0.5f),
            m_nFrameWidth + static_cast<LONG>(m_size.cy * m_fZoom + 0.5f)};
}

void CPinWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    const RECT picture = PictureRect();
    {
        CBrushOwner frame(CreateSolidBrush(GetFocus() == Handle() ? kFocusedFrame : kUnfocusedFrame));
        CRegionOwner outside(CreateRectRgnIndirect(&client)), inside(CreateRectRgnIndirect(&picture));
        if (frame && outside && inside && CombineRgn(outside.get(), outside.get(), inside.get(), RGN_DIFF) != ERROR)
            FillRgn(dc, outside.get(), frame.get());
    }
    CMemoryDC source(dc);
    CSelectObject selection(source, m_image.get());
    if (selection.Succeeded()) {
        // Shrunk pictures average their pixels; at 100% and above every pixel stays as it is.
        SetStretchBltMode(dc, m_fZoom < 1.0f ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top, source,
                   0, 0, m_size.cx, m_size.cy, SRCCOPY);
    }
    EndPaint(Handle(), &ps);
}

// The pointer where the message found it, not where it is now: the moves of a drag
// may all be queued before the first of them is read.
static POINT MessagePoint()
{
    const DWORD position = GetMessagePos();
    return {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
}

void CPinWindow::OnLButtonDown()
{
    // The click gives the keyboard to the pin even where the system left it with the
    // window that was active before (Esc, Ctrl+C and Ctrl+wheel are the pin's).
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    const POINT pointer = MessagePoint();
    RECT place;
    GetWindowRect(Handle(), &place);
    m_ptDragOffset = {pointer.x - place.left, pointer.y - place.top};
    SetCapture(Handle());
    m_bDragging = true;
}

// Screen coordinates throughout: the window moves under the pointer, so client
// coordinates would follow it.
void CPinWindow::OnMouseMove()
{
    if (!m_bDragging)
        return;
    const POINT pointer = MessagePoint();
    SetWindowPos(Handle(), nullptr, pointer.x - m_ptDragOffset.x, pointer.y - m_ptDragOffset.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A step per notch; a finer wheel's (a touchpad's) parts of a notch add up to one, as
// in the image view. A turn the other way starts afresh.
void CPinWindow::OnMouseWheel(int delta, POINT screenPoint)
{
    if ((delta > 0) != (m_nWheelAccum > 0))
        m_nWheelAccum = 0;
    m_nWheelAccum += delta;
    const int steps = std::abs(m_nWheelAccum) / WHEEL_DELTA;
    m_nWheelAccum %= WHEEL_DELTA;
    if (steps == 0)
        return;
    if (GetKeyState(VK_CONTROL) < 0) {
        SetOpacity(m_nOpacity + (delta > 0 ? steps : -steps) * kOpacityStep);
        return;
    }
    for (int step = 0; step < steps; ++step) {
        const int index = delta > 0 ? ZoomInIndex(m_fZoom) : ZoomOutIndex(m_fZoom);
        if (index < 0 || g_zoomLevels[index] > kLargestZoom)
            return;
        // The wheel turned with the pointer elsewhere (the focus stays here) zooms
        // about the centre.
        RECT place;
        GetWindowRect(Handle(), &place);
        const POINT anchor =
            PtInRect(&place, screenPoint) ? screenPoint : POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        ZoomAbout(index, anchor);
    }
}

// The picture's pixel under the anchor stays under it.
void CPinWindow::ZoomAbout(int zoomIndex, POINT anchor)
{
    RECT place;
    GetWindowRect(Handle(), &place);
    const float imageX = (anchor.x - place.left - m_nFrameWidth) / m_fZoom;
    const float imageY = (anchor.y - place.top - m_nFrameWidth) / m_fZoom;
    m_nZoomIndex = zoomIndex;
    m_fZoom = g_zoomLevels[zoomIndex];
    const RECT picture = PictureRect();
    const int left = anchor.x - m_nFrameWidth - static_cast<int>(imageX * m_fZoom + 0.5f);
    const int top = anchor.y - m_nFrameWidth - static_cast<int>(imageY * m_fZoom + 0.5f);
    SetWindowPos(Handle(), nullptr, left, top, picture.right + m_nFrameWidth, picture.bottom + m_nFrameWidth,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

// Moved onto a monitor of another DPI: the frame takes that DPI's width around the
// picture, which keeps its screen pixels and its place.
void CPinWindow::OnDpiChanged(int dpi)
{
    RECT place;
    GetWindowRect(Handle(), &place);
    const int frameWidth = CDpiScale(dpi).Scale(kFrameWidth);
    const int change = frameWidth - m_nFrameWidth;
    m_nFrameWidth = frameWidth;
    const RECT picture = PictureRect();
    SetWindowPos(Handle(), nullptr, place.left - change, place.top - change, picture.right + m_nFrameWidth,
                 picture.bottom + m_nFrameWidth, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void CPinWindow::SetOpacity(int percent)
{
    m_nOpacity = std::clamp(percent, kLowestOpacity, 100);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(m_nOpacity * 255 / 100), LWA_ALPHA);
}

void CPinWindow::OnContextMenu(LPARAM screenPoint)
{
    CMenuOwner menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_PINMENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (point.x == -1 && point.y == -1) {  // from the keyboard
        point = {0, 0};
        ClientToScreen(Handle(), &point);
    }
    const UINT command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
    switch (command) {
    case ID_EDIT_COPY:
        CopyImage();
        break;
    case ID_FILE_SAVE_AS:
        SaveImage();
        break;
    case ID_PIN_OPEN_AS_DOCUMENT:
        if (CBitmapOwner copy{CopyOfImage()})
            m_owner.OpenPinAsDocument(std::move(copy));
        else
            AppMessageBox(g_hMainFrame, IDS_PIN_NO_MEMORY, MB_ICONHAND | MB_OK);
        break;
    case ID_PIN_CLOSE:
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        break;
    case ID_PIN_CLOSE_ALL:
        // This window goes too: nothing of it may be touched after the call.
        m_owner.CloseAllPins();
        break;
    }
}

HBITMAP CPinWindow::CopyOfImage() const
{
    return CopyBitmap(m_image.get(), m_size);
}

void CPinWindow::CopyImage() const
{
    const ClipboardCopy copied = CopyImageToClipboard(m_image.get(), Handle());
    if (copied == ClipboardCopy::kClipboardBusy)
        AppMessageBox(g_hMainFrame, IDS_COPY_FAILED, MB_ICONHAND | MB_OK);
    else if (copied == ClipboardCopy::kNoMemory)
        AppMessageBox(g_hMainFrame, IDS_COPY_NO_MEMORY, MB_ICONHAND | MB_OK);
}

void CPinWindow::SaveImage() const
{
    char name[MAX_PATH] = {};
    HBITMAP image = m_image.get();
    SaveImageAs([image](int format, const char* path) { return SaveImageFile(image, format, path); }, name);
}
