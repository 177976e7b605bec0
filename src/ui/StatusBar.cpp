#include "ui/StatusBar.h"

#include <commctrl.h>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "util/FastString.h"

namespace {
// The width of one sample text in the bar's own font.
int TextWidth(HWND bar, const char* text, int length)
{
    CScreenDC dc;
    CSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, length, &size);
    return size.cx;
}
}

HWND CStatusBar::CreateBar(HWND parent, const char* text, DWORD style, UINT id)
{
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, text, style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    if (bar)
        Subclass(bar);
    return bar;
}

void CStatusBar::SetPanes(const UINT* ids, int count)
{
    m_ids.assign(ids, ids + count);
    MeasurePanes();
}

void CStatusBar::MeasurePanes()
{
    int borders[3] = {};
    SendMessageA(Handle(), SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int padding = CDpiScale::OfWindow(Handle()).Scale(6) + borders[2];

    m_widths.assign(m_ids.size(), 0);
    for (size_t i = 1; i < m_ids.size(); ++i) {
        Vorn::CFastString<64> sample;
        sample.LoadString(m_ids[i]);
        if (sample.GetLength() > 0)
            m_widths[i] = TextWidth(Handle(), sample.GetString(), static_cast<int>(sample.GetLength())) + padding;
    }
    LayoutPanes();
}

bool CStatusBar::SetPaneText(UINT id, const char* text)
{
    int index = PaneIndex(id);
    if (index < 0)
        return false;
    return SendMessageA(Handle(), SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text)) != 0;
}

void CStatusBar::ShowMenuHelp(const char* text)
{
    SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
}

void CStatusBar::EndMenuHelp()
{
    SendMessageA(Handle(), SB_SIMPLE, FALSE, 0);
}

int CStatusBar::PaneIndex(UINT id) const
{
    for (size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

// Right edges from the right: the fixed panes end left of the size grip and the
// default pane gets what remains.
void CStatusBar::LayoutPanes()
{
    if (m_ids.empty())
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    int right = client.right;
    if (GetWindowLongPtrA(Handle(), GWL_STYLE) & SBARS_SIZEGRIP)
        right -= GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXEDGE);
    if (right < 0)
        right = 0;

    std::vector<int> edges(m_ids.size());
    edges.back() = right;
    for (size_t i = m_ids.size() - 1; i > 0; --i) {
        right -= m_widths[i];
        edges[i - 1] = right > 0 ? right : 0;
    }
    SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

LRESULT CStatusBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultProc(msg, wParam, lParam);
    if (msg == WM_SIZE)
        LayoutPanes();
    return result;
}
