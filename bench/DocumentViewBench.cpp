// How far the image view and the opening of a document are from what this machine
// allows, with the floors measured in the same run:
// - painting a 3840x2160 image into an 800x600 view at several zooms, against a plain
//   window whose paint is one raw StretchBlt of the same rectangles at the same scale;
// - one line of scrolling, against the same window scrolled by the same amount;
// - opening a 3840x2160 JPEG as a shown document, against libjpeg-turbo decoding the
//   same bytes, CreateDIBitmap of the same pixels, and a plain MDI frame creating and
//   showing an empty maximised child that holds one child window.
// The cases run in turns, round after round, so that a busy moment of the machine
// weighs on all of them alike; each prints its minimum and median and its ratio to
// its floor. Budgets are judged on the minima, the least disturbed figures.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "BenchTools.h"
#include "app/AppFrame.h"
#include "app/Application.h"
#include "imageio/ImageFormats.h"
#include "document/ImageView.h"
#include "imageio/Dib.h"
#include "imageio/JpegFile.h"

namespace {
constexpr int kImageWidth = 3840;
constexpr int kImageHeight = 2160;
constexpr int kPaintRounds = 61;
constexpr int kOpenRounds = 11;

void ReportFloor(const char* what, const CSamples& floor)
{
    std::printf("%-34s min %8.3f median %8.3f ms (floor)\n", what, floor.Min(), floor.Median());
}

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
    CImageView view;
    view.CreateView(host);
    view.SetImage(MakeScreenshotLikeBitmap(kImageWidth, kImageHeight), "bench", true, nullptr);
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

// The floor of the document window: a plain MDI frame whose children hold one child
// window each, laid over the whole child, and do nothing else.
LRESULT CALLBACK PlainChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr, nullptr, nullptr);
    if (msg == WM_SIZE)
        SetWindowPos(GetWindow(window, GW_CHILD), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER);
    return DefMDIChildProcA(window, msg, wParam, lParam);
}

HWND g_plainClient = nullptr;
LRESULT CALLBACK PlainFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(window, g_plainClient, msg, wParam, lParam);
}

HWND CreatePlainMdiFrame()
{
    HWND frame = CreatePlainWindow("PlainMdiFrame", PlainFrameProc, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 1024, 768,
                                   nullptr);
    CLIENTCREATESTRUCT clientCreate{};
    g_plainClient = CreateWindowA("MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0,
                                  0, 0, 0, frame, nullptr, GetModuleHandleA(nullptr), &clientCreate);
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainChildProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "PlainMdiChild";
    RegisterClassA(&wc);
    ShowWindow(frame, SW_SHOW);
    SendMessageA(frame, WM_SIZE, 0, MAKELPARAM(1024, 768));
    return frame;
}

HWND CreatePlainMdiChild()
{
    MDICREATESTRUCTA create{};
    create.szClass = "PlainMdiChild";
    create.szTitle = "bench";
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_MAXIMIZE | WS_VISIBLE;
    return reinterpret_cast<HWND>(SendMessageA(g_plainClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void OpenBenchmark()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "lumigrab-open-bench.jpg";
    HBITMAP source = MakeScreenshotLikeBitmap(kImageWidth, kImageHeight);
    SaveImageFile(source, 0, path.c_str());
    DeleteObject(source);
    const std::string bytes = FileBytes(path);
    CDib decoded;
    ReadJpegFile(path.c_str(), decoded);

    CAppFrame frame;
    frame.CreateFrame();
    SetWindowPos(frame, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
    HWND plainFrame = CreatePlainMdiFrame();

    // The floors of one round add up to the floors of the parts of the open.
    CSamples decode, toBitmap, emptyChild, readFloor, wholeFloor, read, window, whole;
    for (int round = 0; round < kOpenRounds; ++round) {
        TimeOnce(decode, [&] { DecompressInMemory(bytes); });
        HBITMAP bitmap = nullptr;
        TimeOnce(toBitmap, [&] {
            HDC screen = GetDC(nullptr);
            bitmap = CreateDIBitmap(screen, decoded.GetInfo(), CBM_INIT, decoded.GetBits(), decoded.GetBitmapInfo(),
                                    DIB_RGB_COLORS);
            ReleaseDC(nullptr, screen);
        });
        DeleteObject(bitmap);

        Raise(plainFrame);
        HWND child = nullptr;
        TimeOnce(emptyChild, [&] {
            child = CreatePlainMdiChild();
            UpdateWindow(plainFrame);
            GdiFlush();
        });
        SendMessageA(g_plainClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);

        // Each run opens the file as a new document, shows it, and closes it again
        // outside the measured time.
        Raise(frame);
        const double start = Seconds();
        bitmap = ReadImageFile(path.c_str(), 0);
        const double readDone = Seconds();
        frame.Documents().CreateImageDocument(bitmap, path.c_str(), true);
        UpdateWindow(frame);
        GdiFlush();
        const double shown = Seconds();
        read.Add((readDone - start) * 1000.0);
        window.Add((shown - readDone) * 1000.0);
        whole.Add((shown - start) * 1000.0);
        SendMessageA(frame.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame.ActiveDocument()), 0);
        readFloor.Add(decode.Last() + toBitmap.Last());
        wholeFloor.Add(decode.Last() + toBitmap.Last() + emptyChild.Last());
    }
    std::printf("open a %dx%d JPEG (%.1f MB) as a shown document, %d rounds\n", kImageWidth, kImageHeight,
                bytes.size() / 1048576.0, kOpenRounds);
    ReportFloor("decode: libjpeg-turbo in memory", decode);
    ReportFloor("screen bitmap: CreateDIBitmap", toBitmap);
    ReportFloor("empty maximised MDI child", emptyChild);
    Report("ReadImageFile / decode + bitmap", read, readFloor);
    Report("document window / empty child", window, emptyChild);
    Report("whole open / all three floors", whole, wholeFloor, 1.3);
    DestroyWindow(plainFrame);
    DeleteFileA(path.c_str());
}
}

int main()
{
    g_app.Init(GetModuleHandleA(nullptr));
    PaintBenchmark();
    OpenBenchmark();
    return 0;
}
