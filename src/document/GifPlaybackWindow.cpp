#include "document/GifPlaybackWindow.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "document/FileDropClipboard.h"
#include "document/GifSaveDialog.h"
#include "document/PlaybackInfoText.h"
#include "document/WindowBeside.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"
#include "util/FileCopy.h"
#include "util/SystemReason.h"

namespace {
const char kClassName[] = "LumigrabGifPlayback";
constexpr UINT_PTR kFrameTimer = 1;
// The status line under the info line needs no id of its own: the window keeps its handle.
constexpr UINT kStatusId = 0xFFFF;

// The layout at 96 DPI: the picture over two lines of text (what it is, what was done)
// and a row of buttons at the right.
constexpr int kPadding = 8;
constexpr int kGap = 6;
constexpr int kLineHeight = 20;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;
constexpr int kBarHeight = 2 * kLineHeight + kGap + kButtonHeight;
constexpr int kLeastClientWidth = 3 * kButtonWidth + 2 * kGap + 2 * kPadding + 60;  // and room for the info

std::string LoadText(UINT id)
{
    Vorn::CFastString<512> text;
    text.LoadString(id);
    return text.GetString();
}

std::string Formatted(UINT id, const char* first, const char* second = "")
{
    char text[1024];
    std::snprintf(text, sizeof text, LoadText(id).c_str(), first, second);
    return text;
}

uint64_t FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// How large a picture of size shows within room: as it is, or smaller to fit, never larger.
SIZE Fitted(int width, int height, LONG roomWidth, LONG roomHeight)
{
    const double scale = std::min({1.0, static_cast<double>(std::max(1L, roomWidth)) / width,
                                   static_cast<double>(std::max(1L, roomHeight)) / height});
    return SIZE{std::max(1L, static_cast<LONG>(width * scale + 0.5)),
                std::max(1L, static_cast<LONG>(height * scale + 0.5))};
}
}

bool ShowGifPlayback(HWND owner, const SRecordingFiles& files, const RECT& place)
{
    auto window = std::make_unique<CGifPlaybackWindow>(files);
    if (window->Create(owner, place)) {
        window.release();  // its own now
        return true;
    }
    const DWORD error = GetLastError();
    DeleteFileA(files.temporary.c_str());
    AppMessageBox(owner, IDS_PLAYBACK_OPEN_FAILED, MB_ICONHAND | MB_OK, SystemReason(error).c_str());
    return false;
}

bool CGifPlaybackWindow::Create(HWND owner, const RECT& place)
{
    if (!m_animation.Open(m_files.temporary.c_str()))
        return false;
    if (m_animation.FrameCount() == 0) {  // a GIF with no picture has nothing to play
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    DWORD* pixels = nullptr;
    m_canvas = CreateTopDownDib(m_animation.Width(), m_animation.Height(), pixels);
    if (!m_canvas) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    m_pixels = reinterpret_cast<uint32_t*>(pixels);
    m_animation.DrawFrame(0, m_pixels);

    const HMONITOR monitor = MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    m_dpi = CDpiScale::OfMonitor(monitor);
    const SIZE client = ClientSizeFor(info.rcWork);
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const RECT at = PlaceWindowBeside(place, SIZE{frame.right - frame.left, frame.bottom - frame.top}, info.rcWork,
                                      m_dpi.Scale(kGap));

    // No background: painted whole in WM_PAINT, so the playing picture does not flicker.
    if (!CreateToolWindow(kClassName, nullptr, LoadText(IDS_PLAYBACK_TITLE).c_str(), at, owner))
        return false;
    if (!CreateControls()) {
        const DWORD error = GetLastError();
        DestroyWindow();
        SetLastError(error);
        return false;
    }
    FinishCreate();
    SetWindowTextA(m_hInfo, PlaybackInfoText(FileBytes(m_files.temporary), m_animation.FrameCount(),
                                             m_animation.DurationMs()).c_str());
    ShowWindow(Handle(), SW_SHOW);
    ScheduleFrame();
    return true;
}

bool CGifPlaybackWindow::CreateControls()
{
    const auto child = [this](const char* className, const std::string& text, DWORD style, UINT id) {
        return CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    };
    m_hInfo = child("STATIC", std::string(), SS_LEFT | SS_NOPREFIX, IDC_PLAYBACK_INFO);
    m_hStatus = child("STATIC", std::string(), SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kStatusId);
    const HWND save = child("BUTTON", LoadText(IDS_PLAYBACK_SAVE), BS_PUSHBUTTON | WS_TABSTOP, IDC_PLAYBACK_SAVE);
    const HWND copy = child("BUTTON", LoadText(IDS_PLAYBACK_COPY), BS_PUSHBUTTON | WS_TABSTOP, IDC_PLAYBACK_COPY);
    const HWND discard =
        child("BUTTON", LoadText(IDS_PLAYBACK_DISCARD), BS_PUSHBUTTON | WS_TABSTOP, IDC_PLAYBACK_DISCARD);
    m_hLastFocus = save;
    return m_hInfo && m_hStatus && save && copy && discard;
}

// The client area that shows the whole picture, smaller where three quarters of the work
// area would not hold it.
SIZE CGifPlaybackWindow::ClientSizeFor(const RECT& workArea) const
{
    RECT chrome{};
    AdjustWindowRectEx(&chrome, kStyle, FALSE, kExStyle);
    const auto s = [this](int length) { return m_dpi.Scale(length); };
    const LONG roomWidth = (workArea.right - workArea.left) * 3 / 4 - (chrome.right - chrome.left) - 2 * s(kPadding);
    const LONG roomHeight = (workArea.bottom - workArea.top) * 3 / 4 - (chrome.bottom - chrome.top) -
                            2 * s(kPadding) - s(kGap) - s(kBarHeight);
    const SIZE shown = Fitted(m_animation.Width(), m_animation.Height(), roomWidth, roomHeight);
    return SIZE{std::max(static_cast<LONG>(s(kLeastClientWidth)), shown.cx + 2 * s(kPadding)),
                shown.cy + 2 * s(kPadding) + s(kGap) + s(kBarHeight)};
}

SIZE CGifPlaybackWindow::LeastSize() const
{
    return SIZE{kLeastClientWidth, kBarHeight + 120};
}

void CGifPlaybackWindow::LayOut()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const auto s = [this](int length) { return m_dpi.Scale(length); };
    const int padding = s(kPadding), gap = s(kGap), line = s(kLineHeight);
    const int width = std::max(0, static_cast<int>(client.right) - 2 * padding);
    const int barTop = static_cast<int>(client.bottom) - padding - s(kBarHeight);
    const auto place = [](HWND control, int x, int y, int cx, int cy) {
        SetWindowPos(control, nullptr, x, y, std::max(0, cx), std::max(0, cy), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_hInfo, padding, barTop, width, line);
    place(m_hStatus, padding, barTop + line, width, line);
    const int buttonWidth = s(kButtonWidth);
    int right = client.right - padding;
    for (UINT id : {IDC_PLAYBACK_DISCARD, IDC_PLAYBACK_COPY, IDC_PLAYBACK_SAVE}) {
        place(GetDlgItem(Handle(), id), right - buttonWidth, barTop + 2 * line + gap, buttonWidth, s(kButtonHeight));
        right -= buttonWidth + gap;
    }
}

RECT CGifPlaybackWindow::PictureRect() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int padding = m_dpi.Scale(kPadding);
    const LONG roomWidth = client.right - 2 * padding;
    const LONG roomHeight = client.bottom - 2 * padding - m_dpi.Scale(kGap) - m_dpi.Scale(kBarHeight);
    const SIZE shown = Fitted(m_animation.Width(), m_animation.Height(), roomWidth, roomHeight);
    const LONG left = padding + std::max(0L, (roomWidth - shown.cx) / 2);
    const LONG top = padding + std::max(0L, (roomHeight - shown.cy) / 2);
    return RECT{left, top, left + shown.cx, top + shown.cy};
}

void CGifPlaybackWindow::ScheduleFrame()
{
    if (m_animation.FrameCount() < 2)
        return;
    // As browsers play them: the shortest delays would race through the frames.
    const int delayCs = m_animation.DelayCs(m_frame);
    SetTimer(Handle(), kFrameTimer, static_cast<UINT>(delayCs <= 1 ? 10 : delayCs) * 10, nullptr);
}

void CGifPlaybackWindow::ShowNextFrame()
{
    m_frame = (m_frame + 1) % m_animation.FrameCount();
    GdiFlush();
    m_animation.DrawFrame(m_frame, m_pixels);
    const RECT picture = PictureRect();
    InvalidateRect(Handle(), &picture, FALSE);
    ScheduleFrame();
}

void CGifPlaybackWindow::OnPaint()
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    const RECT picture = PictureRect();
    {
        const CSavedDC saved(dc);
        ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    const CMemoryDC memory(dc);
    const CSelectObject canvas(memory, m_canvas.get());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top, memory, 0,
               0, m_animation.Width(), m_animation.Height(), SRCCOPY);
    EndPaint(Handle(), &paint);
}

void CGifPlaybackWindow::Save()
{
    std::string chosen;
    if (!ChooseGifSaveName(Handle(), m_savedPath.empty() ? m_files.saveName : m_savedPath, chosen))
        return;
    // The recording's own name needs no copy: it is kept when the window goes.
    const bool sameFile = lstrcmpiA(chosen.c_str(), m_files.temporary.c_str()) == 0;
    if (!sameFile &&
        !CopyFileReplacing(m_files.temporary.c_str(), chosen.c_str(), CFileReplacement::kReplaceExisting)) {
        const std::string reason = SystemReason(GetLastError());
        const std::string text = Formatted(IDS_PLAYBACK_SAVE_FAILED, chosen.c_str(), reason.c_str());
        MessageBoxA(Handle(), text.c_str(), LoadText(IDR_MAINFRAME).c_str(), MB_ICONHAND | MB_OK);
        return;
    }
    m_savedPath = chosen;
    SetStatus(Formatted(IDS_PLAYBACK_SAVED, chosen.c_str()));
}

void CGifPlaybackWindow::Copy()
{
    const std::string& path = !m_savedPath.empty()       ? m_savedPath
                              : !m_files.autoSaved.empty() ? m_files.autoSaved
                                                           : m_files.temporary;
    const DWORD error = PutFileDropOnClipboard(Handle(), path.c_str());
    if (error != ERROR_SUCCESS) {
        AppMessageBox(Handle(), IDS_PLAYBACK_COPY_FAILED, MB_ICONHAND | MB_OK, SystemReason(error).c_str());
        return;
    }
    m_copiedPath = path;
    m_copiedSequence = GetClipboardSequenceNumber();
    SetStatus(LoadText(IDS_PLAYBACK_COPIED));
}

void CGifPlaybackWindow::SetStatus(const std::string& text)
{
    SetWindowTextA(m_hStatus, text.c_str());
}

void CGifPlaybackWindow::OnDestroy()
{
    KillTimer(Handle(), kFrameTimer);
    // A paste still to come reads the file from where the drop names it.
    const bool clipboardHoldsIt =
        m_copiedPath == m_files.temporary && GetClipboardSequenceNumber() == m_copiedSequence;
    const bool savedThere = lstrcmpiA(m_savedPath.c_str(), m_files.temporary.c_str()) == 0;
    if (!clipboardHoldsIt && !savedThere)
        DeleteFileA(m_files.temporary.c_str());
}

LRESULT CGifPlaybackWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        LayOut();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT, so the playing picture does not flicker
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kFrameTimer)
            ShowNextFrame();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PLAYBACK_SAVE:
            Save();
            return 0;
        case IDC_PLAYBACK_COPY:
            Copy();
            return 0;
        case IDC_PLAYBACK_DISCARD:
        case IDCANCEL:
            DestroyWindow();
            return 0;
        default:
            return DefaultProc(msg, wParam, lParam);
        }
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return CToolWindow::WindowProc(msg, wParam, lParam);
    }
}
