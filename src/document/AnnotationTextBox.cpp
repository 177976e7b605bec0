#include "document/AnnotationTextBox.h"

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

bool CAnnotationTextBox::Open(HWND view, POINT where, float zoom, const AnnotationStyle& style,
                              const std::wstring& text, int index)
{
    m_style = style;
    m_nIndex = index;
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(style.fontSize * zoom));
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    const std::wstring face = style.fontFace.empty() ? DefaultFontFace() : style.fontFace;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    m_hFont.reset(CreateFontIndirectW(&font));
    RECT client{};
    GetClientRect(view, &client);
    const int height = static_cast<int>(std::lround(style.fontSize * zoom * 1.6f)) + 4;
    m_hWnd = CreateWindowExW(0, L"EDIT", text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                             where.x, where.y, std::max<LONG>(client.right - where.x, 40), height, view, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont.get()), FALSE);
    SetPropW(m_hWnd, kEditProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc));
    SetFocus(m_hWnd);
    SendMessageW(m_hWnd, EM_SETSEL, text.size(), text.size());
    return true;
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
    HWND view = GetParent(box);
    DestroyWindow(box);
    if (hadFocus)
        SetFocus(view);
    m_hFont.reset();
    // The edit control breaks lines with CR LF; a mark keeps LF alone.
    std::wstring lines;
    for (wchar_t c : text) {
        if (c != L'\r')
            lines += c;
    }
    return lines;
}
