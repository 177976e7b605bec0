// How far the image view and the opening of a document are from what this machine
// allows, with the floors measured in the same run:
// - painting a 3840x2160 image into an 800x600 view at several zooms, against a plain
//   window whose paint is one raw StretchBlt of the same rectangles at the same scale;
// - one line of scrolling, against the same window scrolled by the same amount;
// - opening an 8000x6000 JPEG until the document is drawn, on the real frame in this
//   process, against libjpeg-turbo decoding the same file straight into a 24-bit DIB
//   section shown in one plain window; and the private bytes that opening takes at its
//   peak and keeps for each open document, against the picture's 32-bit pixels.
// The cases run in turns, round after round, so that a busy moment of the machine
// weighs on all of them alike. Paints print their minimum and median and their ratio
// to the floor, judged on the minima, the least disturbed figures; opening prints the
// minimum, median and maximum of the ratios of its pairs, judged on the median.
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "BenchTools.h"
#include "app/AppFrame.h"
#include "app/Application.h"
#include "imageio/ImageFormats.h"
#include "document/ImageView.h"

namespace {
constexpr int kImageWidth = 3840;
constexpr int kImageHeight = 2160;
constexpr int kPaintRounds = 61;
constexpr int kOpenWidth = 8000;
constexpr int kOpenHeight = 6000;
constexpr int kOpenPairs = 9;
constexpr int kMemoryRounds = 3;
constexpr int kKeptDocuments = 3;

void Report(const char* what, const CSamples& ours, const CSamples& floor, double budget = 0)
{
    const double ratio = ours.Min() / floor.Min();
    std::printf("%-34s min %8.3f median %8.3f ms | floor min %8.3f median %8.3f ms | ratio %5.2f (medians %5.2f)",
                what, ours.Min(), ours.Median(), floor.Min(), floor.Median(), ratio, ours.Median() / floor.Median());
    if (budget > 0)
        std::printf("  budget <= %.1f%s", budget, ratio <= budget ? "" : " MISSED");
    std::printf("\n");
}

// The floor of a paint: a window with the view's edge and scroll bars that copies the
// image at a zoom and scroll position with one StretchBlt (a BitBlt at 100%) of the
// visible image pixels, plus one on every side as the view does, from a memory DC
// made once, and nothing else.
struct RawBlit {
    HDC source = nullptr;
    float zoom = 1.0f;
    POINT scroll{};

    void Paint(HDC dc, const RECT& clip) const
    {
        const int left = std::max(0, static_cast<int>(std::floor((clip.left + scroll.x) / zoom)) - 1);
        const int top = std::max(0, static_cast<int>(std::floor((clip.top + scroll.y) / zoom)) - 1);
        const int right = std::min(kImageWidth, static_cast<int>(std::ceil((clip.right + scroll.x) / zoom)) + 1);
        const int bottom = std::min(kImageHeight, static_cast<int>(std::ceil((clip.bottom + scroll.y) / zoom)) + 1);
        if (left >= right || top >= bottom)
            return;
        const int x = static_cast<int>(left * zoom) - scroll.x;
        const int y = static_cast<int>(top * zoom) - scroll.y;
        if (zoom == 1.0f) {
            BitBlt(dc, x, y, right - left, bottom - top, source, left, top, SRCCOPY);
            return;
        }
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, static_cast<int>(right * zoom) - scroll.x - x, static_cast<int>(bottom * zoom) - scroll.y - y,
                   source, left, top, right - left, bottom - top, SRCCOPY);
    }
};
RawBlit g_rawBlit;

LRESULT CALLBACK RawBlitProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT)
        return DefWindowProcA(window, msg, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    g_rawBlit.Paint(dc, paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
}

HWND CreatePlainWindow(const char* className, WNDPROC proc, DWORD style, int width, int height, HWND parent,
                       DWORD exStyle = 0)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(exStyle, className, "", style, 0, 0, width, height, parent, nullptr, wc.hInstance, nullptr);
}

void PaintBenchmark()
{
    HWND host = CreatePlainWindow("ViewBenchHost", DefWindowProcA, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 900, 700,
                                  nullptr);
    CImageDocument document;
    CImageView view(document);
    view.CreateView(host);
    view.Document().Adopt(CBitmapOwner(MakeScreenshotLikeBitmap(kImageWidth, kImageHeight)), "bench", true);
    view.ShowNewImage();
    // 800 x 600 of client area inside the edge and the scroll bars.
    RECT client{};
    SetWindowPos(view, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    GetClientRect(view, &client);
    SetWindowPos(view, nullptr, 0, 0, 1600 - client.right, 1200 - client.bottom, SWP_NOZORDER);
    GetClientRect(view, &client);

    // The floor window lies over the view or under it, with the same frame and bars.
    RECT frame{};
    GetWindowRect(view, &frame);
    HWND raw = CreatePlainWindow("RawBlitWindow", RawBlitProc, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                 frame.right - frame.left, frame.bottom - frame.top, host, WS_EX_CLIENTEDGE);
    SCROLLINFO bars{sizeof(bars), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    bars.nMax = kImageWidth - 1;
    bars.nPage = static_cast<UINT>(client.right);
    SetScrollInfo(raw, SB_HORZ, &bars, TRUE);
    bars.nMax = kImageHeight - 1;
    bars.nPage = static_cast<UINT>(client.bottom);
    SetScrollInfo(raw, SB_VERT, &bars, TRUE);
    // A copy of its own: a bitmap can be selected into one DC at a time.
    HDC screen = GetDC(nullptr);
    g_rawBlit.source = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP copy = MakeScreenshotLikeBitmap(kImageWidth, kImageHeight);
    HGDIOBJ previous = SelectObject(g_rawBlit.source, copy);

    std::printf("view %ldx%ld, image %dx%d, %d rounds\n", client.right, client.bottom, kImageWidth, kImageHeight,
                kPaintRounds);
    // 100%, then the table entries 25%, 200%, 400%, 1600% and 3200%.
    const int levels[] = {4, 1, 6, 7, 11, 12};
    constexpr int kLevelCount = sizeof(levels) / sizeof(levels[0]);
    CSamples ours[kLevelCount], floors[kLevelCount], scrolls, scrollFloors;
    for (int round = 0; round < kPaintRounds; ++round) {
        for (int i = 0; i < kLevelCount; ++i) {
            view.ZoomToLevel(levels[i]);
            g_rawBlit.zoom = view.Zoom();
            g_rawBlit.scroll = POINT{};
            Raise(view);
            TimeOnce(ours[i], [&] { Paint(view); });
            Raise(raw);
            TimeOnce(floors[i], [&] { Paint(raw); });
        }
        // One line down at 100%, from the top, repainting only the uncovered band.
        view.ZoomToLevel(4);
        Raise(view);
        const int line = kImageHeight / 100;
        TimeOnce(scrolls, [&] {
            SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
            UpdateWindow(view);
            GdiFlush();
        });
        g_rawBlit.zoom = 1.0f;
        g_rawBlit.scroll = POINT{};
        SetScrollPos(raw, SB_VERT, 0, TRUE);
        Raise(raw);
        TimeOnce(scrollFloors, [&] {
            g_rawBlit.scroll.y += line;
            SetScrollPos(raw, SB_VERT, g_rawBlit.scroll.y, TRUE);
            ScrollWindowEx(raw, 0, -line, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
            UpdateWindow(raw);
            GdiFlush();
        });
    }
    for (int i = 0; i < kLevelCount; ++i) {
        view.ZoomToLevel(levels[i]);
        char what[64];
        std::snprintf(what, sizeof(what), "paint at %d%%", static_cast<int>(view.Zoom() * 100 + 0.5f));
        Report(what, ours[i], floors[i], levels[i] != 4 ? 1.2 : 0);
    }
    Report("one line down, scroll and repaint", scrolls, scrollFloors);

    view.ZoomToLevel(4);
    Raise(view);
    SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
    RECT band{};
    GetUpdateRect(view, &band, FALSE);
    std::printf("one line down repaints %ldx%ld of %ldx%ld (%.1f%% of the view)\n", band.right - band.left,
                band.bottom - band.top, client.right, client.bottom,
                100.0 * (band.right - band.left) * (band.bottom - band.top) / (client.right * client.bottom));
    SelectObject(g_rawBlit.source, previous);
    DeleteDC(g_rawBlit.source);
    DeleteObject(copy);
    DestroyWindow(view);
    DestroyWindow(host);
}

// The floor of opening: the file read and decoded by libjpeg-turbo straight into a
// 24-bit DIB section, shown in one plain window that blits it at 100%.
HBITMAP g_floorPicture = nullptr;
LRESULT CALLBACK FloorViewerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT)
        return DefWindowProcA(window, msg, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, g_floorPicture);
    BitBlt(dc, 0, 0, paint.rcPaint.right, paint.rcPaint.bottom, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(window, &paint);
    return 0;
}

void OpenFloor(const std::string& path)
{
    DecompressInMemory(FileBytes(path), &g_floorPicture);
    HWND viewer = CreatePlainWindow("OpenFloorViewer", FloorViewerProc, WS_POPUP | WS_VISIBLE, 1024, 768, nullptr);
    UpdateWindow(viewer);
    GdiFlush();
    DestroyWindow(viewer);
    DeleteObject(g_floorPicture);
}

// What the program opens in, in-process: the real reader, document and frame.
void OpenInFrame(CAppFrame& frame, const std::string& path)
{
    frame.Documents().CreateImageDocument(CBitmapOwner(ReadImageFile(path.c_str(), 0)), path.c_str(), true);
    UpdateWindow(frame);
    GdiFlush();
}

void CloseActiveDocument(CAppFrame& frame)
{
    SendMessageA(frame.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame.ActiveDocument()), 0);
}

// The private bytes of the process (what it has committed for itself), which Wine
// reports as its page-file usage only.
double PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage);
}

// The most private bytes seen while work runs, sampled every millisecond from another
// thread: a buffer that lives for as long as a decode is seen.
template <typename Work>
double PeakPrivateBytes(Work&& work)
{
    std::atomic<bool> done{false};
    std::atomic<double> peak{PrivateBytes()};
    std::thread sampler([&] {
        while (!done) {
            const double now = PrivateBytes();
            if (now > peak)
                peak = now;
            Sleep(1);
        }
    });
    work();
    const double after = PrivateBytes();
    done = true;
    sampler.join();
    return std::max(peak.load(), after);
}

void ReportRatios(const char* what, const CSamples& ratios, double budget)
{
    std::printf("%-46s ratio min %5.3f median %5.3f max %5.3f  budget <= %.2f%s\n", what, ratios.Min(),
                ratios.Median(), ratios.Max(), budget, ratios.Median() <= budget ? "" : " MISSED");
}

void OpenBenchmark()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "lumigrab-open-bench.jpg";
    HBITMAP source = MakeScreenshotLikeBitmap(kOpenWidth, kOpenHeight);
    SaveImageFile(source, 0, path.c_str());
    DeleteObject(source);
    const double pixelBytes = 4.0 * kOpenWidth * kOpenHeight;

    CAppFrame frame;
    frame.CreateFrame();
    SetWindowPos(frame, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
    // Once each outside the measure, so that neither pays for a first time.
    OpenFloor(path);
    OpenInFrame(frame, path);
    CloseActiveDocument(frame);

    // Time: each pair opens the file in the floor and in the frame, in turns; each
    // document is closed again outside the measured time.
    CSamples floor, ours, timeRatios;
    for (int pair = 0; pair < kOpenPairs; ++pair) {
        TimeOnce(floor, [&] { OpenFloor(path); });
        Raise(frame);
        TimeOnce(ours, [&] { OpenInFrame(frame, path); });
        CloseActiveDocument(frame);
        timeRatios.Add(ours.Last() / floor.Last());
    }
    std::printf("open a %dx%d JPEG (%.1f MB) until drawn, in-process on the frame, %d pairs\n", kOpenWidth,
                kOpenHeight, FileBytes(path).size() / 1048576.0, kOpenPairs);
    std::printf("%-46s min %8.1f median %8.1f max %8.1f ms\n", "floor: decode into a 24-bit section, one window",
                floor.Min(), floor.Median(), floor.Max());
    std::printf("%-46s min %8.1f median %8.1f max %8.1f ms\n", "ReadImageFile + document drawn", ours.Min(),
                ours.Median(), ours.Max());
    ReportRatios("open until drawn / floor", timeRatios, 1.3);

    // Memory, against the 32-bit pixels of the picture: the highest private bytes while
    // one opens, and what stays for each of several documents left open.
    CSamples peakRatios, keptRatios;
    for (int round = 0; round < kMemoryRounds; ++round) {
        const double before = PrivateBytes();
        const double peak = PeakPrivateBytes([&] { OpenInFrame(frame, path); });
        peakRatios.Add((peak - before) / pixelBytes);
        for (int more = 1; more < kKeptDocuments; ++more)
            OpenInFrame(frame, path);
        keptRatios.Add((PrivateBytes() - before) / (kKeptDocuments * pixelBytes));
        for (int i = 0; i < kKeptDocuments; ++i)
            CloseActiveDocument(frame);
    }
    std::printf("memory: %.1f MB of 32-bit pixels a picture, %d rounds, %d documents kept open\n",
                pixelBytes / 1048576.0, kMemoryRounds, kKeptDocuments);
    ReportRatios("peak private bytes while opening / pixels", peakRatios, 1.05);
    ReportRatios("private bytes per open document / pixels", keptRatios, 1.02);
    DeleteFileA(path.c_str());
}
}

int main(int argc, char** argv)
{
    g_app.Init(GetModuleHandleA(nullptr));
    // "open" measures the opening alone.
    if (argc < 2 || std::strcmp(argv[1], "open") != 0)
        PaintBenchmark();
    OpenBenchmark();
    return 0;
}
