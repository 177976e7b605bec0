// What the capture desk costs, against references measured in the same run:
// - from the frame and selection handed to the desk to the desk and its toolbar drawn on
//   the screen (GdiFlush), against the floor of one topmost window over the virtual screen
//   showing the frozen frame (budget: 1.3x). Both sides only show and paint: the desk's
//   windows are made before, hidden, while the user selects (that cost is reported on a
//   line of its own), and so is the floor's window, before its timing;
// - one mouse move while a rectangle is dragged on the desk, against a full repaint of the
//   desk (budget: under 0.10);
// - the pixels held with a mark drawn: the caller's frozen frame, which the desk shows
//   and dims without copying, plus the picture of the selection the marks go on
//   (budget: under two frames; the paint's buffers, a band of dimmed rows and the marked
//   part of the selection, are let go at once).
// The cases run in turns, round after round; budgets are judged on the minima.
#include <windows.h>

#include <cstdio>

#include "BenchTools.h"
#include "annotate/AnnotationTools.h"
#include "capture/desk/DeskWindow.h"
#include "settings/Settings.h"

namespace {
constexpr int kRounds = 15;

void Report(const char* what, const CSamples& ours, const CSamples& reference, double budget, bool under)
{
    const double ratio = ours.Min() / reference.Min();
    std::printf("%-52s min %8.3f median %8.3f ms | reference min %8.3f median %8.3f ms | ratio %5.3f  budget %s %.2f%s\n",
                what, ours.Min(), ours.Median(), reference.Min(), reference.Median(), ratio, under ? "<" : "<=", budget,
                (under ? ratio < budget : ratio <= budget) ? "" : " MISSED");
}

// The floor: a topmost popup over the virtual screen that paints the frame, nothing more.
HBITMAP g_floorFrame = nullptr;

LRESULT CALLBACK FloorProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND)
        return 1;
    if (msg != WM_PAINT)
        return DefWindowProcA(window, msg, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const CMemoryDC source(dc);
    CSelectObject frame(source, g_floorFrame);
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, r.left, r.top, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

HWND CreateFloor(const RECT& screen)
{
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "DeskBenchFloor", "", WS_POPUP, screen.left, screen.top,
                           screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void ShowFloor(HWND window)
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    GdiFlush();
}

void PumpPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
}  // namespace

int main()
{
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const CBitmapOwner frame(MakeScreenshotLikeBitmap(width, height));
    g_floorFrame = frame.get();
    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeskBenchFloor";
    RegisterClassA(&wc);
    CAnnotationTools tools;
    CSettings settings;
    settings.SetDefaults();
    const RECT selection{screen.left + width / 4, screen.top + height / 4, screen.left + width * 3 / 4,
                         screen.top + height * 3 / 4};
    const POINT origin{screen.left, screen.top};
    const POINT start{selection.left - origin.x + 40, selection.top - origin.y + 40};

    CSamples shown, floors, prepared, moves, repaints;
    size_t heldBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        HWND floor = CreateFloor(screen);
        PumpPending();
        TimeOnce(floors, [&] { ShowFloor(floor); });
        PumpPending();
        DestroyWindow(floor);
        PumpPending();
        {
            CDeskWindow desk(tools, settings);
            TimeOnce(prepared, [&] { desk.Prepare(); });
            PumpPending();
            TimeOnce(shown, [&] {
                desk.Show(frame.get(), origin, selection);
                GdiFlush();
            });
            PumpPending();
            SendMessageA(desk, WM_KEYDOWN, 'R', 0);
            SendMessageA(desk, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
            SendMessageA(desk, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 200, start.y + 150));
            UpdateWindow(desk);
            TimeOnce(moves, [&] {
                SendMessageA(desk, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 203, start.y + 152));
                UpdateWindow(desk);
                GdiFlush();
            });
            TimeOnce(repaints, [&] { Paint(desk); });
            SendMessageA(desk, WM_LBUTTONUP, 0, MAKELPARAM(start.x + 203, start.y + 152));
            Paint(desk);
            heldBytes = desk.PictureBytes();
        }
        PumpPending();
    }
    const size_t frameBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    std::printf("virtual screen %dx%d, selection %ldx%ld, %d rounds\n", width, height,
                selection.right - selection.left, selection.bottom - selection.top, kRounds);
    Report("selection handed over to the desk and toolbar drawn", shown, floors, 1.3, false);
    std::printf("%-52s min %8.3f median %8.3f ms | %5.3f floors\n", "  made before the selection, hidden",
                prepared.Min(), prepared.Median(), prepared.Min() / floors.Min());
    Report("mouse move dragging a rectangle on the desk", moves, repaints, 0.10, true);
    const double frames = static_cast<double>(frameBytes + heldBytes) / static_cast<double>(frameBytes);
    std::printf("%-52s frame %zu bytes, the desk's own %zu bytes | %.2f frames  budget < 2.00%s\n",
                "pixels held with a mark drawn", frameBytes, heldBytes, frames, frames < 2.0 ? "" : " MISSED");
    return 0;
}
