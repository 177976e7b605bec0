#include "document/TextPicturePane.h"

#include <windowsx.h>

#include <algorithm>

#include "imageio/TopDownDib.h"

namespace {
const char kClassName[] = "LumigrabTextPicture";
const COLORREF kOutline = RGB(0, 120, 215);
// At 96 DPI: the outline's width, and the room kept between it and the ink it surrounds.
constexpr int kOutlineWidth = 2;
constexpr int kOutlineRoom = 1;

void RegisterPaneClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = kClassName;
    CWindow::RegisterClass(wc);
}

// A quarter of the outline's colour over what the box holds.
void Tint(DWORD* pixels, int width, const RECT& box)
{
    const DWORD blue = (GetRValue(kOutline) << 16) | (GetGValue(kOutline) << 8) | GetBValue(kOutline);
    for (LONG y = box.top; y < box.bottom; ++y)
        for (LONG x = box.left; x < box.right; ++x) {
            DWORD& pixel = pixels[static_cast<size_t>(y) * width + x];
            pixel = ((pixel >> 2) & 0x3F3F3F) * 3 + ((blue >> 2) & 0x3F3F3F);
        }
}
}

bool CTextPicturePane::Create(HWND parent, UINT id, CBitmapOwner picture, LineClick onLineClick)
{
    BITMAP shape{};
    if (!GetObjectA(picture.get(), sizeof shape, &shape))
        return false;
    m_picture = std::move(picture);
    m_size = SIZE{shape.bmWidth, shape.bmHeight};
    m_onLineClick = std::move(onLineClick);
    RegisterPaneClass();
    return CWindow::Create(kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))) != nullptr;
}

void CTextPicturePane::SetLines(std::vector<RECT> boxes)
{
    m_boxes = std::move(boxes);
    m_nSelected = -1;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void CTextPicturePane::SelectLine(int line)
{
    if (line == m_nSelected)
        return;
    m_nSelected = line;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void CTextPicturePane::SetDpi(const CDpiScale& dpi)
{
    m_dpi = dpi;
    InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT CTextPicturePane::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

RECT CTextPicturePane::PictureRect(double& scale) const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    scale = std::min({1.0, static_cast<double>(client.right) / std::max(1L, m_size.cx),
                      static_cast<double>(client.bottom) / std::max(1L, m_size.cy)});
    return RECT{0, 0, static_cast<LONG>(m_size.cx * scale + 0.5), static_cast<LONG>(m_size.cy * scale + 0.5)};
}

RECT CTextPicturePane::ShownBox(const RECT& box, const RECT& picture, double scale) const
{
    const int room = m_dpi.Scale(kOutlineRoom) + m_dpi.Scale(kOutlineWidth);
    RECT shown{static_cast<LONG>(box.left * scale) - room, static_cast<LONG>(box.top * scale) - room,
               static_cast<LONG>(box.right * scale + 0.5) + room, static_cast<LONG>(box.bottom * scale + 0.5) + room};
    IntersectRect(&shown, &shown, &picture);
    return shown;
}

void CTextPicturePane::OnPaint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    DWORD* pixels = nullptr;
    const CBitmapOwner buffer = CreateTopDownDib(std::max(1L, client.right), std::max(1L, client.bottom), pixels);
    if (buffer) {
        const CMemoryDC memory(dc), source(dc);
        const CSelectObject selectBuffer(memory, buffer.get()), selectPicture(source, m_picture.get());
        FillRect(memory, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
        double scale = 1;
        const RECT picture = PictureRect(scale);
        SetStretchBltMode(memory, HALFTONE);
        SetBrushOrgEx(memory, 0, 0, nullptr);
        StretchBlt(memory, 0, 0, picture.right, picture.bottom, source, 0, 0, m_size.cx, m_size.cy, SRCCOPY);
        GdiFlush();
        const CBrushOwner outline(CreateSolidBrush(kOutline));
        for (size_t i = 0; i < m_boxes.size(); ++i) {
            RECT shown = ShownBox(m_boxes[i], picture, scale);
            const bool selected = static_cast<int>(i) == m_nSelected;
            if (selected)
                Tint(pixels, std::max(1L, client.right), shown);
            for (int width = m_dpi.Scale(kOutlineWidth) + (selected ? 1 : 0); width > 0; --width) {
                FrameRect(memory, &shown, outline.get());
                InflateRect(&shown, -1, -1);
            }
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

void CTextPicturePane::OnLeftButtonDown(POINT at)
{
    double scale = 1;
    const RECT picture = PictureRect(scale);
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        const RECT shown = ShownBox(m_boxes[i], picture, scale);
        if (PtInRect(&shown, at)) {
            m_onLineClick(static_cast<int>(i));
            return;
        }
    }
}
