// The whole job of capture and mark up, with the real lumigrab.exe measured from
// outside: the hotkey, a drag, R, a drag, A, a drag and Enter (7 user actions), each sent
// as soon as the program has taken the one before, until the marked-up region is on the
// clipboard. The time is the program's own: no user thinks between the actions. The
// reference in the same run is the least an interactive capture costs: the same hotkey
// until the selection overlay has the keyboard, then Esc until it has gone.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "BenchTools.h"
#include "ProgramRun.h"
#include "res/resource.h"

namespace {
constexpr int kRounds = 9;
constexpr char kFrameClass[] = "LumigrabFrame";
constexpr COLORREF kMarkColour = RGB(255, 0, 0);
// Where the marks go, clear of the program's frame; the selection around them.
const RECT kRegion = {700, 500, 1100, 800};
const RECT kBox = {740, 540, 860, 620};
const POINT kArrowFrom = {900, 760}, kArrowTo = {1040, 580};

// lumigrab.cfg: the frame stays, no pause, no sound, no other hotkey.
void WriteSettings(const std::string& folder)
{
    std::string bytes;
    for (int32_t general : {0, 0, 0, 0, 0, 0})
        Put32(bytes, general);
    Put32(bytes, 0);                                    // no name prefix
    Put32(bytes, 0), Put32(bytes, 0), Put32(bytes, 0);  // no auto-save, no folder, JPEG
    Put32(bytes, 0), Put16(bytes, VK_F8), Put16(bytes, HOTKEYF_CONTROL);
    Put32(bytes, 0), Put16(bytes, VK_F2), Put16(bytes, 0), Put32(bytes, 1);
    Put32(bytes, 2), Put32(bytes, 0);
    const CKernelHandleOwner file(
        CreateFileA((folder + "lumigrab.cfg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const std::string ini = folder + "lumigrab.ini";
    WritePrivateProfileStringA("Options", "MarkupHotkey", "1", ini.c_str());
    WritePrivateProfileStringA("Options", "MarkupKey", "118", ini.c_str());  // F7
    WritePrivateProfileStringA("Options", "MarkupModifiers", "2", ini.c_str());
}

void MouseAt(POINT point, DWORD flags = 0)
{
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65535LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65535LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &input, sizeof(INPUT));
}

void PressKey(WORD key)
{
    INPUT keys[2] = {};
    for (int i = 0; i < 2; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = key;
        keys[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, keys, sizeof(INPUT));
}

HWND MouseCaptureOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndCapture : nullptr;
}

// A drag as the program takes it: the press once it holds the mouse, then the moves
// and the release at once.
bool Drag(HWND window, POINT from, POINT to)
{
    MouseAt(from);
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    if (!WaitUntil([&] { return MouseCaptureOf(window) == window; }, 10000))
        return false;
    for (int step = 1; step <= 4; ++step)
        MouseAt(POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    MouseAt(to, MOUSEEVENTF_LEFTUP);
    return true;
}

bool InForeground(HWND window) { return window && GetForegroundWindow() == window; }

// Whether the desk's toolbar shows the tool chosen.
bool ToolChosen(DWORD process, int command)
{
    HWND bar = FindWindowExA(FindProcessWindow(process, "LumigrabCaptureDesk"), nullptr, "LumigrabDeskToolBar", nullptr);
    for (HWND child = GetWindow(bar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageA(child, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) >= 0)
            return SendMessageA(child, TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
    return false;
}

bool MarkShown(POINT at) { return ScreenPixel(at) == kMarkColour; }

// The seven actions; false at the first the program did not take.
bool MarkUpJob(DWORD process)
{
    HWND overlay = nullptr, desk = nullptr;
    const DWORD clipboard = GetClipboardSequenceNumber();
    PressCtrl(VK_F7);
    if (!WaitUntil([&] { return InForeground(overlay = FindProcessWindow(process, "SnapcoreCaptureOverlay")); }, 10000) ||
        !Drag(overlay, {kRegion.left, kRegion.top}, {kRegion.right, kRegion.bottom}) ||
        !WaitUntil([&] { return InForeground(desk = FindProcessWindow(process, "LumigrabCaptureDesk")); }, 10000))
        return false;
    PressKey('R');
    if (!WaitUntil([&] { return ToolChosen(process, ID_TOOL_RECTANGLE); }, 10000) ||
        !Drag(desk, {kBox.left, kBox.top}, {kBox.right, kBox.bottom}) ||
        !WaitUntil([] { return MarkShown({(kBox.left + kBox.right) / 2, kBox.top}); }, 10000))
        return false;
    PressKey('A');
    if (!WaitUntil([&] { return ToolChosen(process, ID_TOOL_ARROW); }, 10000) || !Drag(desk, kArrowFrom, kArrowTo) ||
        !WaitUntil([] { return MarkShown({(kArrowFrom.x + kArrowTo.x) / 2, (kArrowFrom.y + kArrowTo.y) / 2}); }, 10000))
        return false;
    PressKey(VK_RETURN);
    return WaitUntil([&] { return GetClipboardSequenceNumber() != clipboard; }, 10000);
}

// The reference: the overlay up with the keyboard, and gone again after Esc.
bool OverlayOnly(DWORD process)
{
    HWND overlay = nullptr;
    PressCtrl(VK_F7);
    if (!WaitUntil([&] { return InForeground(overlay = FindProcessWindow(process, "SnapcoreCaptureOverlay")); }, 10000))
        return false;
    PressKey(VK_ESCAPE);
    return WaitUntil([&] { return !IsWindowVisible(overlay); }, 10000);
}

// Until the program has handled everything: the desk and the overlay gone, its frame answering.
bool Settle(DWORD process, HWND frame)
{
    DWORD_PTR result = 0;
    const bool gone = WaitUntil(
        [&] {
            return !FindProcessWindow(process, "LumigrabCaptureDesk") && !FindProcessWindow(process, "SnapcoreCaptureOverlay");
        },
        10000);
    PumpFor(200);
    return gone && SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
}
}  // namespace

int main()
{
    std::printf("screen %dx%d, %d rounds\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kRounds);
    CStartedProgram lumigrab(MakeTempFolder("markup"), "lumigrab.exe");
    CopyFileA((ProgramFolder() + "snapcore.dll").c_str(), (lumigrab.Folder() + "snapcore.dll").c_str(), FALSE);
    WriteSettings(lumigrab.Folder());
    HWND frame = nullptr;
    if (!lumigrab.Start() || !(frame = lumigrab.WaitUntilIdle(kFrameClass))) {
        std::printf("the program did not start\n");
        return 1;
    }
    SetWindowPos(frame, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    const DWORD process = GetProcessId(lumigrab.Process());
    // A first job of each kind brings the code and the engine into the caches.
    if (!MarkUpJob(process) || !Settle(process, frame) || !OverlayOnly(process) || !Settle(process, frame)) {
        std::printf("the first job did not go through\n");
        return 1;
    }
    CSamples jobs, overlays, jobCpu;
    for (int round = 0; round < kRounds; ++round) {
        const double cpu = ProcessCpuMs(lumigrab.Process());
        bool fine = true;
        TimeOnce(jobs, [&] { fine = MarkUpJob(process); });
        fine = fine && Settle(process, frame);
        jobCpu.Add(ProcessCpuMs(lumigrab.Process()) - cpu);
        TimeOnce(overlays, [&] { fine = fine && OverlayOnly(process); });
        if (!fine || !Settle(process, frame)) {
            std::printf("round %d did not go through\n", round + 1);
            return 1;
        }
    }
    std::printf("whole job, 7 actions (hotkey, drag, R, drag, A, drag, Enter): median %.0f ms, min %.0f, max %.0f; "
                "program CPU median %.0f ms\n",
                jobs.Median(), jobs.Min(), jobs.Max(), jobCpu.Median());
    PrintPairRatios("whole job / hotkey, overlay up, Esc", jobs, overlays, 4.0);
    return 0;
}
