// What a long screenshot of a 10,000-row page costs end to end, and how much of it is the
// scrolled window's own work, measured in the same run:
// - the whole long screenshot of the tall test page (800 pixels wide, a 600-row view between
//   its header and footer, scrolled by its scroll bar), from the first grab to the page's end;
// - the page alone scrolled over the same rows in steps of the same size, each step timed from
//   the scroll bar's message until the screen shows the page moved (the window's own scrolling
//   and redrawing, with grabs as fast as they go);
// - the stitcher alone joining the grabs of the same page held in memory.
// What is left is waiting for the screen to settle after each step. No budget: the figures
// are for the README.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchTools.h"
#include "capture/longshot/LongshotSession.h"
#include "capture/longshot/ScreenGrab.h"
#include "capture/longshot/ScrollStitcher.h"
#include "settings/Settings.h"

namespace {
constexpr int kPageRows = 10000, kWidth = 800, kViewRows = 600;

HWND StartTallPage(PROCESS_INFORMATION& process)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = path;
    command = "\"" + command.substr(0, command.rfind('\\') + 1) + "tall_page.exe\" --scrollbar --rows " +
              std::to_string(kPageRows) + " --size " + std::to_string(kWidth) + " " + std::to_string(kViewRows) +
              " --at 20 20";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    WaitForInputIdle(process.hProcess, 10000);
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND page = FindWindowA("TallPageWindow", nullptr))
            return page;
        Sleep(50);
    }
    return nullptr;
}

// The view's columns (without its scroll bar), from the header's top to the footer's bottom.
RECT Selection(HWND page, HWND view)
{
    RECT whole{}, shown{};
    GetClientRect(page, &whole);
    MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&whole), 2);
    GetClientRect(view, &shown);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    return RECT{shown.left, whole.top, shown.right, whole.bottom};
}

// The page scrolled from the top to its end, stepsPerScroll lines at a time: the time from
// each scroll until the screen shows it, summed.
double ScrollAlone(HWND view, const RECT& selection, int stepsPerScroll)
{
    CScreenGrab grab;
    if (!grab.Create(selection))
        return 0;
    SendMessageA(view, WM_VSCROLL, SB_TOP, 0);
    Sleep(500);
    double total = 0;
    for (bool moved = true; moved;) {
        grab.Grab();
        const uint64_t before = grab.Fingerprint();
        const double start = Seconds();
        for (int i = 0; i < stepsPerScroll; ++i)
            SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
        do
            moved = grab.Grab() && grab.Fingerprint() != before;
        while (!moved && Seconds() - start < 0.5);
        if (moved)
            total += (Seconds() - start) * 1000.0;
    }
    return total;
}

// The stitcher alone over the same page as grabs in memory, rows a step.
double StitchAlone(const RECT& selection, int rowsPerStep)
{
    const int width = selection.right - selection.left, height = selection.bottom - selection.top;
    std::vector<uint32_t> page(size_t(width) * (kPageRows + height));
    for (size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<uint32_t>(i * 2654435761u >> 8);
    CScrollStitcher stitcher(width, height);
    const double start = Seconds();
    for (int top = 0; top <= kPageRows; top += rowsPerStep)
        stitcher.Add(page.data() + size_t(top) * width, top ? rowsPerStep : 0);
    return (Seconds() - start) * 1000.0;
}
}  // namespace

int main()
{
    PROCESS_INFORMATION process{};
    const HWND page = StartTallPage(process);
    const HWND view = page ? FindWindowExA(page, nullptr, "TallPageView", nullptr) : nullptr;
    if (!view) {
        std::printf("the tall page did not start\n");
        return 1;
    }
    const RECT selection = Selection(page, view);
    CSettings settings;
    const double start = Seconds();
    LongshotResult result = RunLongshot(selection, settings);
    const double wholeMs = (Seconds() - start) * 1000.0;
    BITMAP picture{};
    if (result.picture)
        GetObjectA(result.picture.get(), sizeof picture, &picture);
    result.picture.reset();
    // The session's steps are two thirds of the part that moves, in the page's lines of 17 rows.
    const int linesPerStep = (kViewRows - CScrollStitcher::kMinOverlapRows) * 2 / 3 / 17;
    const double scrollMs = ScrollAlone(view, selection, linesPerStep);
    const double stitchMs = StitchAlone(selection, linesPerStep * 17);
    std::printf("long screenshot of a %d-row page, %d wide: %.0f ms, %ld rows (%s)\n", kPageRows, kWidth, wholeMs,
                picture.bmHeight, result.end == LongshotEnd::kPageEnd ? "ended at the page's end" : "ended otherwise");
    std::printf("  the page scrolling and repainting alone, same steps: %.0f ms (%.0f%%)\n", scrollMs,
                100.0 * scrollMs / wholeMs);
    std::printf("  stitching alone, same steps: %.0f ms (%.0f%%)\n", stitchMs, 100.0 * stitchMs / wholeMs);
    std::printf("  waiting for the screen to settle and grabbing: the rest (%.0f%%)\n",
                100.0 * (wholeMs - scrollMs - stitchMs) / wholeMs);
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
