#include "document/TextReadingWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "document/TextReadingPlacement.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "util/FastString.h"
#include "util/SystemReason.h"

namespace {
using L = STextReadingLayout;

const char kClassName[] = "LumigrabTextReading";
// From the worker (wParam COcrWorker::Progress or Finished), and from the edit box when its
// caret may have moved.
constexpr UINT kWorkerMessage = WM_APP + 1;
constexpr UINT kCaretMessage = WM_APP + 2;
const COLORREF kErrorColour = RGB(200, 0, 0);

std::string LoadText(UINT id)
{
    Vorn::CFastString<512> text;
    text.LoadString(id);
    return text.GetString();
}

// A string-table format filled in, on one line: the status shows what a message box would.
template <typename... Args>
std::string Formatted(UINT id, Args... args)
{
    char text[1024];
    std::snprintf(text, sizeof text, LoadText(id).c_str(), args...);
    std::string line;
    for (const char* c = text; *c; ++c) {
        const bool lineBreak = *c == '\r' || *c == '\n';
        if (!lineBreak)
            line += *c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

// The picture as 32-bit top-down pixels of its own, whatever the caller's bitmap is.
CBitmapOwner CopyPicture(HBITMAP picture, SIZE& size, DWORD*& pixels)
{
    BITMAP shape{};
    if (!GetObjectA(picture, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size = SIZE{shape.bmWidth, shape.bmHeight};
    CBitmapOwner copy = CreateTopDownDib(size.cx, size.cy, pixels);
    BITMAPINFO info = TopDownDibInfo(size.cx, size.cy);
    if (!copy || GetDIBits(CScreenDC(), picture, 0, static_cast<UINT>(size.cy), pixels, &info, DIB_RGB_COLORS) !=
                     size.cy) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    for (DWORD* pixel = pixels; pixel != pixels + static_cast<size_t>(size.cx) * size.cy; ++pixel)
        *pixel &= 0xFFFFFF;
    return copy;
}

// The whole text as CF_UNICODETEXT; the system's error code when the clipboard would not take it.
DWORD CopyTextToClipboard(const std::wstring& text, HWND owner)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    CGlobalOwner block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block)
        return GetLastError();
    if (const CGlobalLock<wchar_t> lock(block.get()); lock.Get())
        std::memcpy(lock.Get(), text.c_str(), bytes);
    else
        return GetLastError();
    if (!OpenClipboard(owner))
        return GetLastError();
    EmptyClipboard();
    DWORD error = ERROR_SUCCESS;
    if (SetClipboardData(CF_UNICODETEXT, block.get()))
        block.release();  // the clipboard's now
    else
        error = GetLastError();
    CloseClipboard();
    return error;
}

// Ctrl+A, which older edit boxes lack, and the caret's moves for the window to follow.
LRESULT CALLBACK TextBoxProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (msg == WM_KEYDOWN && wParam == 'A' && control) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageA(GetParent(edit), kCaretMessage, 0, 0);
        return 0;
    }
    if (msg == WM_CHAR && wParam == 'A' - '@')
        return 0;
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(edit, TextBoxProc, 0);
    const LRESULT result = DefSubclassProc(edit, msg, wParam, lParam);
    if (msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        SendMessageA(GetParent(edit), kCaretMessage, 0, 0);
    return result;
}
}

HWND OpenTextReadingWindow(COcrEngine& engine, HWND owner, HBITMAP picture, const RECT& beside)
{
    auto window = std::make_unique<CTextReadingWindow>(engine);
    if (!window->Create(owner, picture, beside))
        return nullptr;
    return window.release()->Handle();
}

bool CTextReadingWindow::Create(HWND owner, HBITMAP picture, const RECT& beside)
{
    DWORD* pixels = nullptr;
    CBitmapOwner copy = CopyPicture(picture, m_pictureSize, pixels);
    if (!copy)
        return false;
    const HMONITOR monitor = MonitorFromRect(&beside, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    m_dpi = CDpiScale::OfMonitor(monitor);
    RECT frame{};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const RECT at = PlaceTextReadingWindow(beside, m_pictureSize, SIZE{frame.right - frame.left, frame.bottom - frame.top},
                                           STextReadingMonitor{info.rcWork, m_dpi.Dpi()});

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!CreateToolWindow(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), LoadText(IDS_OCR_TITLE).c_str(), at,
                          owner))
        return false;
    if (!CreateControls(std::move(copy))) {
        const DWORD error = GetLastError();
        DestroyWindow();
        SetLastError(error);
        return false;
    }
    FinishCreate();
    StartReading(pixels);
    ShowWindow(Handle(), SW_SHOW);
    return true;
}

bool CTextReadingWindow::CreateControls(CBitmapOwner copy)
{
    const auto child = [this](const wchar_t* className, UINT text, DWORD style, UINT id, DWORD exStyle = 0) {
        Vorn::CFastString<64> label;
        label.LoadString(text);
        wchar_t wide[64] = L"";
        MultiByteToWideChar(CP_ACP, 0, label.GetString(), -1, wide, 64);
        return CreateWindowExW(exStyle, className, wide, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
    };
    if (!m_pane.Create(Handle(), IDC_OCR_PICTURE, std::move(copy), [this](int line) { SelectTextLine(line); }))
        return false;
    m_hText = child(L"EDIT", 0,
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY |
                        WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                    IDC_OCR_TEXT, WS_EX_CLIENTEDGE);
    m_hStatus = child(L"STATIC", IDS_OCR_LOADING, SS_LEFT | SS_NOPREFIX, IDC_OCR_STATUS);
    m_hProgress = child(PROGRESS_CLASSW, 0, 0, IDC_OCR_PROGRESS);
    const HWND copyAll = child(L"BUTTON", IDS_OCR_COPY_ALL, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, IDC_OCR_COPY_ALL);
    const HWND close = child(L"BUTTON", IDS_OCR_CANCEL, BS_PUSHBUTTON | WS_TABSTOP, IDC_OCR_CLOSE);
    if (!m_hText || !m_hStatus || !m_hProgress || !copyAll || !close)
        return false;
    SetWindowSubclass(m_hText, TextBoxProc, 0, 0);
    m_hLastFocus = m_hText;
    return true;
}

void CTextReadingWindow::OnDpiApplied()
{
    m_pane.SetDpi(m_dpi);
    LayOut();
}

void CTextReadingWindow::LayOut()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const auto s = [this](int length) { return m_dpi.Scale(length); };
    const int padding = s(L::kPadding), gap = s(L::kGap);
    const int barTop = std::max(padding, static_cast<int>(client.bottom) - padding - s(L::kBarHeight));
    const int paneHeight = std::max(0, barTop - gap - padding);
    // The picture takes the width it shows at, the text all the rest.
    const int room = std::max(0, static_cast<int>(client.right) - 2 * padding - gap);
    const double scale = std::min(1.0, static_cast<double>(paneHeight) / m_pictureSize.cy);
    const int paneWidth = std::min(std::max(0, room - s(L::kTextWidth)),
                                   std::max(s(L::kLeastPicture), static_cast<int>(m_pictureSize.cx * scale + 0.5)));
    const auto place = [](HWND control, int x, int y, int cx, int cy) {
        SetWindowPos(control, nullptr, x, y, std::max(0, cx), std::max(0, cy), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_pane, padding, padding, paneWidth, paneHeight);
    place(m_hText, padding + paneWidth + gap, padding, room - paneWidth, paneHeight);

    const int barMiddle = barTop + s(L::kBarHeight) / 2;
    const int buttonWidth = s(L::kButtonWidth), buttonHeight = s(L::kButtonHeight);
    int right = client.right - padding;
    for (UINT id : {IDC_OCR_CLOSE, IDC_OCR_COPY_ALL}) {
        place(GetDlgItem(Handle(), id), right - buttonWidth, barMiddle - buttonHeight / 2, buttonWidth, buttonHeight);
        right -= buttonWidth + gap;
    }
    const int progressWidth = IsWindowVisible(m_hProgress) ? s(L::kProgressWidth) + gap : 0;
    place(m_hProgress, right - s(L::kProgressWidth), barMiddle - s(L::kProgressHeight) / 2, s(L::kProgressWidth),
          s(L::kProgressHeight));
    place(m_hStatus, padding, barTop, right - progressWidth - padding, s(L::kBarHeight));
}

void CTextReadingWindow::StartReading(const DWORD* pixels)
{
    m_worker = std::make_unique<COcrWorker>(m_engine, Handle(), kWorkerMessage);
    m_bReading = m_worker->Start(pixels, m_pictureSize.cx, m_pictureSize.cy, EOcrPageMode::Choose);
    if (!m_bReading)
        ShowResult(SOcrResult{SOcrLoadResult{}, EOcrOutcome::Failed, {}, {}});
}

void CTextReadingWindow::OnWorker(WPARAM event, LPARAM percent)
{
    if (event == COcrWorker::Progress) {
        if (m_bReading && !m_bClosing) {
            SetStatus(Formatted(IDS_OCR_READING, static_cast<int>(percent)), false);
            SendMessageA(m_hProgress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
        }
        return;
    }
    const SOcrResult result = m_worker->TakeResult();
    m_bReading = false;
    if (m_bClosing) {
        DestroyWindow();
        return;
    }
    ShowResult(result);
}

void CTextReadingWindow::ShowResult(const SOcrResult& result)
{
    Vorn::CFastString<16> close;
    close.LoadString(IDS_OCR_CLOSE);
    SetDlgItemTextA(Handle(), IDC_OCR_CLOSE, close.GetString());
    ShowWindow(m_hProgress, SW_HIDE);
    LayOut();
    if (result.load.state == EOcrLoad::MissingFile) {
        SetStatus(Formatted(IDS_OCR_MISSING_FILE, result.load.file.c_str()), true);
    } else if (result.load.state == EOcrLoad::UnusableFile) {
        SetStatus(Formatted(IDS_OCR_UNUSABLE_FILE, result.load.file.c_str(), SystemReason(result.load.error).c_str()),
                  true);
    } else if (result.outcome != EOcrOutcome::Done) {
        SetStatus(LoadText(IDS_OCR_FAILED), true);
    } else if (result.lines.empty()) {
        SetStatus(LoadText(IDS_OCR_NO_TEXT), false);
    } else {
        std::vector<RECT> boxes;
        for (const SOcrLine& line : result.lines)
            boxes.push_back(line.box);
        m_nLines = boxes.size();
        m_pane.SetLines(std::move(boxes));
        SetWindowTextW(m_hText, result.text.c_str());
        SendMessageW(m_hText, EM_SETREADONLY, FALSE, 0);
        EnableWindow(GetDlgItem(Handle(), IDC_OCR_COPY_ALL), TRUE);
        SetStatus(Formatted(IDS_OCR_DONE, static_cast<int>(m_nLines)), false);
        SetFocus(m_hText);
        SendMessageW(m_hText, EM_SETSEL, 0, 0);
        SendMessageW(m_hText, EM_SCROLLCARET, 0, 0);
    }
}

void CTextReadingWindow::SetStatus(const std::string& text, bool error)
{
    m_bError = error;
    SetWindowTextA(m_hStatus, text.c_str());
}

void CTextReadingWindow::SelectTextLine(int line)
{
    const LRESULT start = SendMessageW(m_hText, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (start < 0)
        return;
    const LRESULT length = SendMessageW(m_hText, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    SetFocus(m_hText);
    SendMessageW(m_hText, EM_SETSEL, static_cast<WPARAM>(start), start + length);
    SendMessageW(m_hText, EM_SCROLLCARET, 0, 0);
    m_pane.SelectLine(line);
}

void CTextReadingWindow::FollowCaret()
{
    const LRESULT line = SendMessageW(m_hText, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0);
    m_pane.SelectLine(line >= 0 && static_cast<size_t>(line) < m_nLines ? static_cast<int>(line) : -1);
}

void CTextReadingWindow::CopyAll()
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(m_hText)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(m_hText, &text[0], static_cast<int>(text.size()))));
    const DWORD error = CopyTextToClipboard(text, Handle());
    if (error == ERROR_SUCCESS)
        SetStatus(LoadText(IDS_OCR_COPIED), false);
    else
        SetStatus(Formatted(IDS_OCR_COPY_FAILED, SystemReason(error).c_str()), true);
}

void CTextReadingWindow::Close()
{
    if (!m_bReading) {
        DestroyWindow();
        return;
    }
    // The worker stops within a word; the window goes when it says so.
    m_worker->Cancel();
    m_bClosing = true;
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT CTextReadingWindow::OnColorStatic(HDC dc, HWND control)
{
    const LRESULT brush = DefaultProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (control == m_hStatus && m_bError)
        SetTextColor(dc, kErrorColour);
    return brush;
}

LRESULT CTextReadingWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_NEXTDLGCTL:
        // The edit box asks for the next control on Tab, as inside a dialog.
        SetFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_OCR_COPY_ALL:
            CopyAll();
            return 0;
        case IDC_OCR_CLOSE:
        case IDCANCEL:
            Close();
            return 0;
        default:
            return DefaultProc(msg, wParam, lParam);
        }
    case WM_CLOSE:
        Close();
        return 0;
    case kWorkerMessage:
        OnWorker(wParam, lParam);
        return 0;
    case kCaretMessage:
        FollowCaret();
        return 0;
    default:
        return CToolWindow::WindowProc(msg, wParam, lParam);
    }
}
