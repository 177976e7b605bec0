#include "capture/recording/RecordBar.h"

#include <cstdio>

#include "capture/longshot/LongshotPlacement.h"
#include "res/resource.h"
#include "settings/MoreOptions.h"
#include "ui/ModifierKeys.h"
#include "util/FastString.h"

namespace {
const char kClassName[] = "LumigrabRecordBar";

// At 96 DPI, left to right: the three buttons, the time, the rate.
constexpr int kPadding = 6;
constexpr int kGap = 4;
constexpr int kHeight = 24;
constexpr int kButtonWidth = 56;
constexpr int kTimeWidth = 96;
constexpr int kRateWidth = 84;
constexpr int kRateListHeight = 160;
constexpr SIZE kSize{2 * kPadding + 3 * kButtonWidth + 4 * kGap + kTimeWidth + kRateWidth + 2,
                     2 * kPadding + kHeight + 2};
constexpr int kRateCount = sizeof kRecordingRates / sizeof kRecordingRates[0];

void RegisterBarClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    CWindow::RegisterClass(wc);
}
}  // namespace

CRecordBar::CRecordBar(std::function<void(UINT command)> command) : m_command(std::move(command)) {}

bool CRecordBar::Create(const RECT& selection, int framesPerSecond)
{
    PreviewPlace place{};
    PlaceBesideSelection(selection, ScreenMonitors(), kSize, place);
    RegisterBarClass();
    Vorn::CFastString<64> title;
    title.LoadString(IDS_RECORD_BAR_TITLE);
    const RECT& at = place.window;
    if (!CWindow::Create(kClassName, title.GetString(), WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                         WS_EX_TOPMOST | WS_EX_TOOLWINDOW, at.left, at.top, at.right - at.left, at.bottom - at.top,
                         nullptr, nullptr))
        return false;
    if (!CreateControls(framesPerSecond)) {
        const DWORD error = GetLastError();
        DestroyWindow();
        SetLastError(error);
        return false;
    }
    LayOut(place.dpi);
    m_keyboard.Prepare(Handle());
    return true;
}

bool CRecordBar::CreateControls(int framesPerSecond)
{
    struct Control {
        const char* className;
        UINT text;
        DWORD style;
        UINT id;
    };
    const Control controls[] = {
        {"BUTTON", IDS_RECORD_PAUSE, BS_PUSHBUTTON | WS_TABSTOP, ID_RECORD_PAUSE},
        {"BUTTON", IDS_RECORD_STOP, BS_DEFPUSHBUTTON | WS_TABSTOP, ID_RECORD_STOP},
        {"BUTTON", IDS_RECORD_CANCEL, BS_PUSHBUTTON | WS_TABSTOP, ID_RECORD_CANCEL},
        {"STATIC", 0, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, IDC_RECORD_TIME},
        {"COMBOBOX", 0, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_RECORD_RATE},
    };
    for (const Control& control : controls) {
        Vorn::CFastString<64> text;
        text.LoadString(control.text);
        if (!CreateWindowExA(0, control.className, control.text ? text.GetString() : "",
                             WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, Handle(),
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id)), GetModuleHandleA(nullptr),
                             nullptr))
            return false;
    }
    const HWND rate = GetDlgItem(Handle(), IDC_RECORD_RATE);
    Vorn::CFastString<64> format;
    format.LoadString(IDS_RECORD_RATE);
    for (int i = 0; i < kRateCount; ++i) {
        char item[64];
        std::snprintf(item, sizeof item, format.GetString(), kRecordingRates[i]);
        SendMessageA(rate, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        if (kRecordingRates[i] == framesPerSecond)
            SendMessageA(rate, CB_SETCURSEL, i, 0);
    }
    ShowTime(0, false);
    return true;
}

void CRecordBar::LayOut(int dpi)
{
    const CDpiScale scale(dpi);
    m_font.SetDpi(scale);
    const int padding = scale.Scale(kPadding), gap = scale.Scale(kGap), height = scale.Scale(kHeight);
    int x = padding;
    auto place = [&](UINT id, int width, int listHeight) {
        const HWND control = GetDlgItem(Handle(), id);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Handle()), FALSE);
        SetWindowPos(control, nullptr, x, padding, width, height + listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        x += width + gap;
    };
    place(ID_RECORD_PAUSE, scale.Scale(kButtonWidth), 0);
    place(ID_RECORD_STOP, scale.Scale(kButtonWidth), 0);
    place(ID_RECORD_CANCEL, scale.Scale(kButtonWidth), 0);
    place(IDC_RECORD_TIME, scale.Scale(kTimeWidth), 0);
    place(IDC_RECORD_RATE, scale.Scale(kRateWidth), scale.Scale(kRateListHeight));
}

RECT CRecordBar::Place() const
{
    RECT place{};
    GetWindowRect(Handle(), &place);
    return place;
}

void CRecordBar::Show()
{
    m_keyboard.Show(Handle());
    // Shown for the first time: the controls have never painted.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    ForgetModifiersLetGoElsewhere();
}

// Tenths of a second, the way a stopwatch shows them.
void CRecordBar::ShowTime(DWORD recordedMs, bool paused)
{
    char text[64];
    const DWORD tenths = recordedMs / 100;
    const int length = std::snprintf(text, sizeof text, "%lu:%02lu.%lu", static_cast<unsigned long>(tenths / 600),
                                     static_cast<unsigned long>(tenths / 10 % 60),
                                     static_cast<unsigned long>(tenths % 10));
    if (paused) {
        Vorn::CFastString<64> said;
        said.LoadString(IDS_RECORD_PAUSED);
        std::snprintf(text + length, sizeof text - length, " %s", said.GetString());
    }
    SetDlgItemTextA(Handle(), IDC_RECORD_TIME, text);
    if (paused != m_bPaused) {
        m_bPaused = paused;
        Vorn::CFastString<64> button;
        button.LoadString(paused ? IDS_RECORD_RESUME : IDS_RECORD_PAUSE);
        SetDlgItemTextA(Handle(), ID_RECORD_PAUSE, button.GetString());
    }
}

int CRecordBar::Rate() const
{
    const LRESULT chosen = SendDlgItemMessageA(Handle(), IDC_RECORD_RATE, CB_GETCURSEL, 0, 0);
    return chosen >= 0 && chosen < kRateCount ? kRecordingRates[chosen] : kRecordingRates[1];
}

bool CRecordBar::TakeKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))
        return false;
    // An open list of rates closes with them first.
    if (SendDlgItemMessageA(Handle(), IDC_RECORD_RATE, CB_GETDROPPEDSTATE, 0, 0))
        return false;
    m_command(message.wParam == VK_RETURN ? ID_RECORD_STOP : ID_RECORD_CANCEL);
    return true;
}

LRESULT CRecordBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_RECORD_RATE) {
            if (HIWORD(wParam) == CBN_SELCHANGE)
                m_command(IDC_RECORD_RATE);
        } else if (HIWORD(wParam) == BN_CLICKED) {
            m_command(LOWORD(wParam));
        }
        return 0;
    case WM_SETFOCUS:  // as a dialog gives it to its default button
        SetFocus(GetDlgItem(Handle(), ID_RECORD_STOP));
        return 0;
    case WM_CLOSE:  // Alt+F4
        m_command(ID_RECORD_CANCEL);
        return 0;
    case WM_DESTROY:
        m_keyboard.Stop();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}
