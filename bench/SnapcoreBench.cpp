// The capture engine's costs, each as a ratio against a reference measured in the
// same run on the same screen:
//   CaptureFullScreen against one plain BitBlt of the screen into a compatible bitmap
//   (budget: at most 1.3);
//   one mouse move over the interactive overlay against one full repaint of it
//   (budget: under 10%), measured through real messages to the overlay window from a
//   timer inside the capture's own message loop;
//   the pixels SelectOnFrozenScreen keeps alive while the overlay is up and once it has
//   returned, against the size of one frame of the virtual screen (budget: one frame
//   after the return), counted over the live DIB sections of the process.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "LiveGdiObjects.h"
#include "snapcore.h"

namespace {

constexpr int kGrabRounds = 30;
constexpr int kRepaintRounds = 20;
constexpr int kMoveRounds = 200;

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median, which a single hiccup of the shared machine does not move.
double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

RECT VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

double PlainBitBlt()
{
    const RECT screen = VirtualScreen();
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const double start = Now();
    const HDC screenDC = GetDC(nullptr);
    const HDC memoryDC = CreateCompatibleDC(screenDC);
    const HBITMAP bitmap = CreateCompatibleBitmap(screenDC, width, height);
    const HGDIOBJ old = SelectObject(memoryDC, bitmap);
    BitBlt(memoryDC, 0, 0, width, height, screenDC, screen.left, screen.top, SRCCOPY);
    SelectObject(memoryDC, old);
    DeleteDC(memoryDC);
    ReleaseDC(nullptr, screenDC);
    const double elapsed = Now() - start;
    DeleteObject(bitmap);
    return elapsed;
}

double EngineGrab(decltype(&CaptureFullScreen) captureFullScreen)
{
    CaptureOptions options{};
    const double start = Now();
    const HBITMAP bitmap = captureFullScreen(&options);
    const double elapsed = Now() - start;
    DeleteObject(bitmap);
    return elapsed;
}

// What the timer measures inside the running capture.
struct OverlayCosts {
    double repaint = 0;
    double move = 0;
    bool measured = false;
};

OverlayCosts g_costs;
bool g_bDragging = false;

HWND FindOverlay()
{
    struct Search { RECT screen; HWND found; } search{VirtualScreen(), nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM state) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(state);
            RECT rect;
            if (IsWindowVisible(window) && GetWindowRect(window, &rect) && EqualRect(&rect, &s.screen)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message at a client point, and the repaint it caused, as the loop would run them.
double Deliver(HWND overlay, UINT message, WPARAM keys, POINT point)
{
    const double start = Now();
    SendMessageA(overlay, message, keys, MAKELPARAM(point.x, point.y));
    UpdateWindow(overlay);
    return Now() - start;
}

void CALLBACK MeasureOverlay(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND overlay = FindOverlay();
    if (!overlay)
        return;
    KillTimer(nullptr, timer);
    std::vector<double> repaints, moves;
    for (int i = 0; i < kRepaintRounds; ++i) {
        const double start = Now();
        InvalidateRect(overlay, nullptr, FALSE);
        UpdateWindow(overlay);
        repaints.push_back(Now() - start);
    }
    // A pointer sweeping one pixel at a time, as a hand moves it, across the middle of
    // the screen; while dragging, the selection grows with it.
    const RECT screen = VirtualScreen();
    POINT point{(screen.right - screen.left) / 4, (screen.bottom - screen.top) / 4};
    Deliver(overlay, WM_MOUSEMOVE, 0, point);
    if (g_bDragging)
        Deliver(overlay, WM_LBUTTONDOWN, MK_LBUTTON, point);
    for (int i = 0; i < kMoveRounds; ++i) {
        point.x += 1;
        point.y += i % 2;
        moves.push_back(Deliver(overlay, WM_MOUSEMOVE, g_bDragging ? MK_LBUTTON : 0, point));
    }
    g_costs.repaint = Median(repaints);
    g_costs.move = Median(moves);
    g_costs.measured = true;
    PostMessageA(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
}

void ReportOverlay(decltype(&DoCaptureModal) doCaptureModal, int mode, bool dragging, const char* what)
{
    g_costs = OverlayCosts{};
    g_bDragging = dragging;
    SetTimer(nullptr, 0, 50, MeasureOverlay);
    CaptureOptions options{};
    AuxWindowOptions aux{4, 0};
    DeleteObject(doCaptureModal(mode, &options, &aux));
    if (!g_costs.measured) {
        printf("%-34s not measured: the overlay did not come up\n", what);
        return;
    }
    printf("%-34s move %8.3f ms, full repaint %8.3f ms, ratio %5.1f%% (budget < 10%%)\n", what,
           g_costs.move * 1000, g_costs.repaint * 1000, 100 * g_costs.move / g_costs.repaint);
}

// The DIB bytes alive, sampled inside the overlay before a region is dragged on it.
std::optional<size_t> g_overlayBytes;

void CALLBACK SampleAndSelect(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND overlay = FindOverlay();
    if (!overlay)
        return;
    KillTimer(nullptr, timer);
    g_overlayBytes = LiveDibSectionBytes();
    const POINT from{100, 100}, to{300, 200};
    Deliver(overlay, WM_MOUSEMOVE, 0, from);
    Deliver(overlay, WM_LBUTTONDOWN, MK_LBUTTON, from);
    Deliver(overlay, WM_MOUSEMOVE, MK_LBUTTON, to);
    Deliver(overlay, WM_LBUTTONUP, 0, to);
}

void ReportFrozenFrameMemory(decltype(&SelectOnFrozenScreen) selectOnFrozenScreen)
{
    const char* what = "SelectOnFrozenScreen memory";
    const std::optional<size_t> before = LiveDibSectionBytes();
    if (!selectOnFrozenScreen || !before) {
        printf("%-34s not measured: %s\n", what,
               selectOnFrozenScreen ? "the process's GDI handle table cannot be read here" : "the engine lacks the call");
        return;
    }
    const RECT screen = VirtualScreen();
    const double frame = 4.0 * (screen.right - screen.left) * (screen.bottom - screen.top);
    g_overlayBytes.reset();
    SetTimer(nullptr, 0, 50, SampleAndSelect);
    CaptureOptions options{};
    AuxWindowOptions aux{4, 0};
    RECT chosen{};
    const HBITMAP handed = selectOnFrozenScreen(2, &options, &aux, &chosen);
    const std::optional<size_t> after = LiveDibSectionBytes();
    DeleteObject(handed);
    if (!handed || !g_overlayBytes || !after) {
        printf("%-34s not measured: no selection was made\n", what);
        return;
    }
    printf("%-34s overlay up %5.2f frames, returned %5.2f frames (budget: 1 frame of %.1f MB)\n", what,
           (*g_overlayBytes - *before) / frame, (*after - *before) / frame, frame / (1024 * 1024));
}

} // namespace

int main()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::find(std::make_reverse_iterator(path + length), std::make_reverse_iterator(path), '\\').base();
    lstrcpynA(slash, "snapcore.dll", static_cast<int>(path + MAX_PATH - slash));
    const HMODULE engine = LoadLibraryA(path);
    if (!engine) {
        printf("cannot load %s\n", path);
        return 1;
    }
    const auto captureFullScreen = reinterpret_cast<decltype(&CaptureFullScreen)>(
        reinterpret_cast<void*>(GetProcAddress(engine, "CaptureFullScreen")));
    const auto doCaptureModal = reinterpret_cast<decltype(&DoCaptureModal)>(
        reinterpret_cast<void*>(GetProcAddress(engine, "DoCaptureModal")));

    const RECT screen = VirtualScreen();
    printf("virtual screen %ld x %ld\n", screen.right - screen.left, screen.bottom - screen.top);
    std::vector<double> plain, engineGrabs;
    PlainBitBlt(); // first calls warm caches on both sides
    EngineGrab(captureFullScreen);
    for (int i = 0; i < kGrabRounds; ++i) {
        plain.push_back(PlainBitBlt());
        engineGrabs.push_back(EngineGrab(captureFullScreen));
    }
    printf("%-34s %8.3f ms, plain BitBlt %8.3f ms, ratio %5.2f (budget <= 1.3)\n", "CaptureFullScreen",
           Median(engineGrabs) * 1000, Median(plain) * 1000, Median(engineGrabs) / Median(plain));

    ReportOverlay(doCaptureModal, 2, true, "region mode, dragging a selection");
    ReportOverlay(doCaptureModal, 1, false, "window mode, hovering");
    ReportFrozenFrameMemory(reinterpret_cast<decltype(&SelectOnFrozenScreen)>(
        reinterpret_cast<void*>(GetProcAddress(engine, "SelectOnFrozenScreen"))));
    FreeLibrary(engine);
    return 0;
}
