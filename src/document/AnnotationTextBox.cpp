#include "document/AnnotationTextBox.h"

#include <algorithm>
#include <cmath>

#include "annotate/DefaultFontFace.h"
#include "document/DocumentMessages.h"
#include "document/ImageViewClass.h"

namespace {
const wchar_t kEditProcProperty[] = L"Lumigrab.EditProc";

// Esc and the focus moving away end the typing; the view is told afterwards, since
// ending it destroys this window.
LRESULT CALLBACK TextBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto editProc = reinterpret_cast<WNDPROC>(GetPropW(box, kEditProcProperty));
    if ((msg == WM_KEYDOWN && wParam == VK_ESCAPE) || msg == WM_KILLFOCUS)
        PostMessageW(GetParent(box), WM_APP_FINISH_TEXT, 0, 0);
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE)
        return 0;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc));
        RemovePropW(box, kEditProcProperty);
    }
    return CallWindowProcW(editProc, box, msg, wParam, lParam);
}
}

bool CAnnotationTextBox::IsTextBox(HWND window)
{
    char name[16];
    if (!window || !GetClassNameA(window, name, sizeof(name)) || lstrcmpiA(name, "Edit") != 0)
        return false;
    return GetClassNameA(GetParent(window), name, sizeof(name)) && lstrcmpA(name, kImageViewClass) == 0;
}

bool CAnnotationTextBox::Open(POINT client, float zoom, const AnnotationStyle& style, const std::wstring& text)
{
    m_style = style;
    m_hWnd = CreateWindowExW(0, L"EDIT", text.c_str(),
                             WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0, 0, 0,
                             m_view.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    SetPropW(m_hWnd, kEditProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc));
    m_fZoom = 0;
    Place(client, zoom);
    ShowWindow(m_hWnd, SW_SHOWNA);
    SetFocus(m_hWnd);
    SendMessageW(m_hWnd, EM_SETSEL, text.size(), text.size());
    return true;
}

bool CAnnotationTextBox::IsChanged() const
{
    return m_hWnd && SendMessageW(m_hWnd, EM_GETMODIFY, 0, 0);
}

void CAnnotationTextBox::MakeFont(float zoom)
{
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(m_style.fontSize * zoom));
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    const std::wstring face = m_style.fontFace.empty() ? DefaultFontFace() : m_style.fontFace;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    CFontOwner made(CreateFontIndirectW(&font));
    if (!made)
        return;
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), FALSE);
    m_hFont = std::move(made);
    m_fZoom = zoom;
    const CWindowDC dc(m_hWnd);
    const CSelectObject selection(dc, m_hFont.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    m_nLineHeight = metrics.tmHeight;
}

void CAnnotationTextBox::Place(POINT client, float zoom)
{
    if (!m_hWnd)
        return;
    if (zoom != m_fZoom)
        MakeFont(zoom);
    RECT area{};
    GetClientRect(m_view.Handle(), &area);
    RECT box{};
    GetWindowRect(m_hWnd, &box);
    SetWindowPos(m_hWnd, nullptr, client.x, client.y, std::max<LONG>(area.right - client.x, 40), box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitLines();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CAnnotationTextBox::FitLines()
{
    if (!m_hWnd)
        return;
    const auto lines = static_cast<int>(SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0));
    RECT box{}, client{}, format{};
    GetWindowRect(m_hWnd, &box);
    GetClientRect(m_hWnd, &client);
    SendMessageW(m_hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    // Lines reach only as far as the formatting rectangle, which keeps a margin on
    // both sides inside the client area.
    const int frame = (box.bottom - box.top) - client.bottom;
    const int height = (lines > 0 ? lines : 1) * m_nLineHeight + 2 * format.top + 1 + frame;
    if (height != box.bottom - box.top)
        SetWindowPos(m_hWnd, nullptr, 0, 0, box.right - box.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Enter on the last line scrolled the first one away before the box grew.
    if (const LRESULT first = SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0))
        SendMessageW(m_hWnd, EM_LINESCROLL, 0, -first);
}

HBRUSH CAnnotationTextBox::PaintColours(HDC dc) const
{
    SetTextColor(dc, m_style.colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

std::wstring CAnnotationTextBox::Close()
{
    std::wstring text;
    if (!m_hWnd)
        return text;
    text.resize(static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) + 1);
    text.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()))));
    HWND box = m_hWnd;
    m_hWnd = nullptr;
    const bool hadFocus = GetFocus() == box;
    DestroyWindow(box);
    if (hadFocus)
        SetFocus(m_view.Handle());
    m_hFont.reset();
    // The edit control breaks lines with CR LF; a mark keeps LF alone.
    std::wstring lines;
    for (wchar_t c : text) {
        if (c != L'\r')
            lines += c;
    }
    return lines;
}
