// What recording costs the machine: an 800x600 region of a window that changes every 100 ms,
// recorded for 10 s at 10 frames a second and encoded as a GIF meanwhile, against the
// same window changing for 10 s with nothing recording it, in the same run. Printed: the
// process's CPU time over the wall time of each (target < 0.5 for the recording), and the
// frames taken against the window's changes (none may be lost).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "capture/recording/RecordingSession.h"
#include "record/GifEncoder.h"
#include "settings/Settings.h"

namespace {
constexpr RECT kRegion{40, 40, 840, 640};
constexpr UINT kChangeMs = 100;
constexpr DWORD kRecordMs = 10000;
constexpr int kRate = 10;

int g_changes = 0;

// Bands that move and change colour with every change, over the whole region.
LRESULT CALLBACK ChangingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        ++g_changes;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    for (int band = 0; band < 30; ++band) {
        const int top = (band * 20 + g_changes * 7) % (kRegion.bottom - kRegion.top);
        const RECT row{0, top, kRegion.right - kRegion.left, top + 20};
        SetBkColor(dc, RGB((band * 8 + g_changes * 13) & 0xFF, 255 - band * 8, g_changes * 29 & 0xFF));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d", g_changes);
    TextOutA(dc, 380, 290, text, static_cast<int>(std::strlen(text)));
    EndPaint(window, &paint);
    return 0;
}

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Enter to the bar once the time is up.
void CALLBACK StopRecording(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND bar = FindWindowA("LumigrabRecordBar", nullptr)) {
        KillTimer(nullptr, timer);
        PostMessageA(bar, WM_KEYDOWN, VK_RETURN, 0);
    }
}

struct SLoad {
    double cpu, wall;
    int changes;
};

template <typename Work>
SLoad Measure(Work work)
{
    const int changesBefore = g_changes;
    const double cpuBefore = CpuSeconds();
    const DWORD start = GetTickCount();
    work();
    return SLoad{CpuSeconds() - cpuBefore, (GetTickCount() - start) / 1000.0, g_changes - changesBefore};
}
}  // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ChangingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "RecordingLoadWindow";
    RegisterClassA(&wc);
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, kRegion.left,
                                        kRegion.top, kRegion.right - kRegion.left, kRegion.bottom - kRegion.top,
                                        nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window);
    SetTimer(window, 1, kChangeMs, nullptr);

    const SLoad alone = Measure([] {
        const DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < kRecordMs && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    });

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "recording-load-bench.gif";
    DeleteFileA(path.c_str());
    CGifEncoder sink(kRegion.right - kRegion.left, kRegion.bottom - kRegion.top);
    if (!sink.Start(path.c_str())) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    CSettings settings;
    settings.m_nRecordFramesPerSecond = kRate;
    RecordingResult result;
    const SLoad recording = Measure([&] {
        SetTimer(nullptr, 0, kRecordMs, StopRecording);
        result = RunRecording(kRegion, settings, sink);
    });
    DestroyWindow(window);

    std::printf("window alone          CPU %6.2f s / wall %6.2f s = %.3f\n", alone.cpu, alone.wall,
                alone.cpu / alone.wall);
    std::printf("recording + encoding  CPU %6.2f s / wall %6.2f s = %.3f  target < 0.5%s\n", recording.cpu,
                recording.wall, recording.cpu / recording.wall,
                recording.cpu / recording.wall < 0.5 ? "" : " MISSED");
    std::printf("frames taken %d, window changes while recording %d (+1 first frame), recorded %lu ms%s\n",
                result.frames, recording.changes, static_cast<unsigned long>(result.durationMs),
                result.frames >= recording.changes ? "" : " FRAMES LOST");
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file);
    std::printf("GIF of %lu bytes\n", file.nFileSizeLow);
    DeleteFileA(path.c_str());
    return result.end == RecordingEnd::kStopped ? 0 : 1;
}
