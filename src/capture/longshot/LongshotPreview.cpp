#include "capture/longshot/LongshotPreview.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "capture/longshot/LongshotPlacement.h"
#include "capture/longshot/ScrollStitcher.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "ui/DpiScale.h"
#include "util/FastString.h"

namespace {
const char kClassName[] = "LumigrabLongshotPreview";

// The layout at 96 DPI, from the top: the picture, the height, the status in up to three
// lines, the 自动滚动 box, then 完成 and 取消 side by side.
constexpr int kPadding = 6;
constexpr int kGap = 4;
constexpr int kLine = 16;
constexpr int kStatusLines = 3;
constexpr int kCheckHeight = 18;
constexpr int kButtonHeight = 24;
constexpr int kButtonWidth = 60;
constexpr int kLeastPicture = 40;
constexpr int kBelowPicture =
    kGap + kLine + kGap + kStatusLines * kLine + kGap + kCheckHeight + kGap + kButtonHeight + kPadding;
constexpr int kWidth = 200;
constexpr SIZE kLeast{2 * kPadding + 2 * kButtonWidth + kGap + 2, kPadding + kLeastPicture + kBelowPicture + 2};

const COLORREF kWarning = RGB(200, 0, 0);
const DWORD kEmptyPicture = 0x808080;

void RegisterPreviewClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    CWindow::RegisterClass(wc);
}

// Enter and Esc reach a button that has the keyboard, which has no use for them: they are the
// preview's.
LRESULT CALLBACK ButtonKeysProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return SendMessageA(GetParent(button), msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(button, ButtonKeysProc, 0);
    return DefSubclassProc(button, msg, wParam, lParam);
}

// Scaled item i of a length scaled from source to scaled starts at this source item.
int SourceStart(int i, int source, int scaled)
{
    return static_cast<int>(static_cast<long long>(i) * source / scaled);
}
}

CLongshotPreview::~CLongshotPreview()
{
    DestroyWindow();
}

bool CLongshotPreview::Create(HWND owner, const RECT& selection)
{
    PreviewPlace place{};
    if (!PlaceLongshotPreview(selection, ScreenMonitors(), kWidth, kLeast, place))
        return false;
    RegisterPreviewClass();
    m_hOwner = owner;
    Vorn::CFastString<64> title;
    title.LoadString(IDS_LONGSHOT_PREVIEW);
    const RECT& at = place.window;
    if (!CWindow::Create(kClassName, title.GetString(), WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                         WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, at.left, at.top, at.right - at.left,
                         at.bottom - at.top, owner, nullptr))
        return false;
    if (!CreateControls()) {
        DestroyWindow();
        return false;
    }
    LayOut(place.dpi);
    Vorn::CFastString<256> hint;
    hint.LoadString(IDS_LONGSHOT_HINT);
    SetStatus(hint.GetString(), false);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

bool CLongshotPreview::CreateControls()
{
    struct Control {
        const char* className;
        UINT text;
        DWORD style;
        UINT id;
    };
    const Control controls[] = {
        {"STATIC", 0, SS_LEFT | SS_NOPREFIX, 0},
        {"STATIC", 0, SS_LEFT | SS_NOPREFIX, 0},
        {"BUTTON", IDS_LONGSHOT_AUTO, BS_CHECKBOX | WS_TABSTOP, ID_LONGSHOT_AUTO},
        {"BUTTON", IDS_LONGSHOT_DONE, BS_DEFPUSHBUTTON | WS_TABSTOP, ID_LONGSHOT_DONE},
        {"BUTTON", IDS_LONGSHOT_CANCEL, BS_PUSHBUTTON | WS_TABSTOP, ID_LONGSHOT_CANCEL},
    };
    HWND made[sizeof controls / sizeof controls[0]] = {};
    for (size_t i = 0; i < sizeof controls / sizeof controls[0]; ++i) {
        const Control& control = controls[i];
        Vorn::CFastString<64> text;
        text.LoadString(control.text);
        made[i] = CreateWindowExA(0, control.className, text.GetString(), WS_CHILD | WS_VISIBLE | control.style, 0, 0,
                                  0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id)),
                                  GetModuleHandleA(nullptr), nullptr);
        if (!made[i])
            return false;
        if (control.id)
            SetWindowSubclass(made[i], ButtonKeysProc, 0, 0);
    }
    m_hHeight = made[0];
    m_hStatus = made[1];
    return true;
}

void CLongshotPreview::LayOut(int dpi)
{
    const CDpiScale scale(dpi);
    m_font.SetDpi(scale);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int padding = scale.Scale(kPadding), gap = scale.Scale(kGap), line = scale.Scale(kLine);
    const int width = client.right - 2 * padding;
    int y = client.bottom - scale.Scale(kBelowPicture);
    m_picture = RECT{padding, padding, padding + width, y};

    auto place = [&](HWND control, int x, int top, int cx, int cy) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Handle()), FALSE);
        SetWindowPos(control, nullptr, x, top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    y += gap;
    place(m_hHeight, padding, y, width, line);
    y += line + gap;
    place(m_hStatus, padding, y, width, kStatusLines * line);
    y += kStatusLines * line + gap;
    place(GetDlgItem(Handle(), ID_LONGSHOT_AUTO), padding, y, width, scale.Scale(kCheckHeight));
    y += scale.Scale(kCheckHeight) + gap;
    const int buttonWidth = (width - gap) / 2, buttonHeight = scale.Scale(kButtonHeight);
    place(GetDlgItem(Handle(), ID_LONGSHOT_DONE), padding, y, buttonWidth, buttonHeight);
    place(GetDlgItem(Handle(), ID_LONGSHOT_CANCEL), padding + width - buttonWidth, y, buttonWidth, buttonHeight);

    m_kept = CreateTopDownDib(width, m_picture.bottom - m_picture.top, m_pKept);
    if (m_pKept)
        Empty();
}

void CLongshotPreview::Empty()
{
    const int width = m_picture.right - m_picture.left, height = m_picture.bottom - m_picture.top;
    std::fill(m_pKept, m_pKept + static_cast<size_t>(width) * height, kEmptyPicture);
}

void CLongshotPreview::Restart(int sourceWidth)
{
    Empty();
    m_nSourceWidth = sourceWidth;
    // A narrow selection is shown as it is, not blown up.
    m_nScaledWidth = std::min(static_cast<int>(m_picture.right - m_picture.left), sourceWidth);
    m_nScaledRows = 0;
    m_columnStarts.resize(m_nScaledWidth + 1);
    for (int x = 0; x <= m_nScaledWidth; ++x)
        m_columnStarts[x] = SourceStart(x, sourceWidth, m_nScaledWidth);
    m_sums.assign(3 * static_cast<size_t>(m_nScaledWidth), 0);
}

// Each scaled pixel is the average of the source pixels it stands for.
void CLongshotPreview::DrawScaledRow(const CScrollStitcher& stitcher, int row, int at)
{
    const int firstRow = SourceStart(row, m_nSourceWidth, m_nScaledWidth);
    const int endRow = SourceStart(row + 1, m_nSourceWidth, m_nScaledWidth);
    std::fill(m_sums.begin(), m_sums.end(), 0u);
    for (int y = firstRow; y < endRow; ++y) {
        const uint32_t* source = stitcher.Row(y);
        for (int x = 0; x < m_nScaledWidth; ++x) {
            unsigned* sum = &m_sums[3 * static_cast<size_t>(x)];
            for (int sx = m_columnStarts[x]; sx < m_columnStarts[x + 1]; ++sx) {
                sum[0] += (source[sx] >> 16) & 0xFF;
                sum[1] += (source[sx] >> 8) & 0xFF;
                sum[2] += source[sx] & 0xFF;
            }
        }
    }
    const int width = m_picture.right - m_picture.left;
    DWORD* target = m_pKept + static_cast<size_t>(at) * width + (width - m_nScaledWidth) / 2;
    for (int x = 0; x < m_nScaledWidth; ++x) {
        const unsigned count = static_cast<unsigned>((endRow - firstRow) * (m_columnStarts[x + 1] - m_columnStarts[x]));
        const unsigned* sum = &m_sums[3 * static_cast<size_t>(x)];
        target[x] = (sum[0] / count) << 16 | (sum[1] / count) << 8 | sum[2] / count;
    }
}

void CLongshotPreview::ShowRows(const CScrollStitcher& stitcher)
{
    if (!m_pKept)
        return;
    const int rows = stitcher.RowCount();
    const bool anew =
        stitcher.Width() != m_nSourceWidth || rows < SourceStart(m_nScaledRows, m_nSourceWidth, m_nScaledWidth);
    if (anew)
        Restart(stitcher.Width());
    int scaledRows = m_nScaledRows;
    while (SourceStart(scaledRows + 1, m_nSourceWidth, m_nScaledWidth) <= rows)
        ++scaledRows;

    // The kept rows show the newest of the scaled picture: those that stay move up, and only
    // the new ones that will show are worked out.
    const int width = m_picture.right - m_picture.left, height = m_picture.bottom - m_picture.top;
    const int oldTop = std::max(0, m_nScaledRows - height), newTop = std::max(0, scaledRows - height);
    GdiFlush();
    const int moved = newTop - oldTop;
    if (moved > 0 && moved < height)
        std::memmove(m_pKept, m_pKept + static_cast<size_t>(moved) * width,
                     static_cast<size_t>(height - moved) * width * sizeof(DWORD));
    for (int row = std::max(m_nScaledRows, newTop); row < scaledRows; ++row)
        DrawScaledRow(stitcher, row, row - newTop);
    if (anew || scaledRows != m_nScaledRows)
        InvalidateRect(Handle(), &m_picture, FALSE);
    m_nScaledRows = scaledRows;

    Vorn::CFastString<64> format;
    format.LoadString(IDS_LONGSHOT_HEIGHT);
    char text[96];
    std::snprintf(text, sizeof text, format.GetString(), stitcher.PictureHeight());
    SetWindowTextA(m_hHeight, text);
}

void CLongshotPreview::SetStatus(const char* text, bool warning)
{
    m_bWarning = warning;
    SetWindowTextA(m_hStatus, text);
    InvalidateRect(m_hStatus, nullptr, TRUE);
}

void CLongshotPreview::SetAutoScroll(bool on)
{
    CheckDlgButton(Handle(), ID_LONGSHOT_AUTO, on ? BST_CHECKED : BST_UNCHECKED);
}

// Posted, so that the owner may take the preview down in answer.
void CLongshotPreview::PostToOwner(UINT command)
{
    PostMessageA(m_hOwner, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

void CLongshotPreview::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Handle(), &paint);
    if (m_kept) {
        CMemoryDC memory(dc);
        CSelectObject kept(memory, m_kept.get());
        BitBlt(dc, m_picture.left, m_picture.top, m_picture.right - m_picture.left, m_picture.bottom - m_picture.top,
               memory, 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

LRESULT CLongshotPreview::OnColorStatic(HDC dc, HWND control)
{
    if (control == m_hStatus && m_bWarning)
        SetTextColor(dc, kWarning);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CLongshotPreview::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam))
            PostToOwner(LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            PostToOwner(wParam == VK_RETURN ? ID_LONGSHOT_DONE : ID_LONGSHOT_CANCEL);
        return 0;
    case WM_LBUTTONDBLCLK: {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&m_picture, at))
            PostToOwner(ID_LONGSHOT_DONE);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DPICHANGED:
        return 0;  // laid out for its monitor when made
    }
    return DefaultProc(msg, wParam, lParam);
}
