// How the image view's costs behave: painting a 3840x2160 image in an 800x600 view
// at 3200% against 100%, what one line of scrolling repaints, and opening a
// 3840x2160 JPEG as a document against reading the file alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/AppFrame.h"
#include "app/Application.h"
#include "document/ImageFiles.h"
#include "document/ImageView.h"
#include "imageio/Dib.h"
#include "imageio/JpegFile.h"
#include "res/resource.h"

namespace {
constexpr int kImageWidth = 3840;
constexpr int kImageHeight = 2160;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median time of one run of work, in milliseconds.
double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        work();
        times.push_back((Seconds() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Screen-like content: flat panels, text-like strokes, a gradient and some noise.
HBITMAP MakeScreenshotLikeBitmap()
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kImageWidth;
    info.bmiHeader.biHeight = -kImageHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    unsigned seed = 12345;
    for (int y = 0; y < kImageHeight; ++y)
        for (int x = 0; x < kImageWidth; ++x) {
            DWORD pixel;
            if (y < 600)
                pixel = ((x / 7 + y / 11) % 5 == 0) ? 0x202020 : 0xF0F0F0;
            else if (x < 1920)
                pixel = static_cast<DWORD>((x * 255 / 1920) << 16 | (y * 255 / kImageHeight) << 8 | 0x80);
            else {
                seed = seed * 1103515245u + 12345u;
                pixel = seed >> 8 & 0xFFFFFF;
            }
            pixels[y * kImageWidth + x] = pixel;
        }
    return bitmap;
}

LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, msg, wParam, lParam);
}

void PaintBenchmark()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ViewBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowA("ViewBenchHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 900, 700, nullptr, nullptr,
                              wc.hInstance, nullptr);
    CImageView view;
    view.CreateView(host);
    view.SetImage(MakeScreenshotLikeBitmap(), "bench", true, nullptr);
    // 800 x 600 of client area inside the edge and the scroll bars.
    RECT client{};
    SetWindowPos(view, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    GetClientRect(view, &client);
    SetWindowPos(view, nullptr, 0, 0, 1600 - client.right, 1200 - client.bottom, SWP_NOZORDER);
    GetClientRect(view, &client);

    auto paint = [&] {
        InvalidateRect(view, nullptr, FALSE);
        UpdateWindow(view);
        GdiFlush();
    };
    std::printf("view %ldx%ld, image %dx%d\n", client.right, client.bottom, kImageWidth, kImageHeight);
    paint();
    const double actual = MedianMs(41, paint);
    std::printf("paint at  100%%: %8.3f ms\n", actual);
    // The table entries 25%, 200%, 400%, 1600% and 3200%.
    for (int level : {1, 6, 7, 11, 12}) {
        view.ZoomToLevel(level);
        paint();
        const double zoomed = MedianMs(41, paint);
        std::printf("paint at %4d%%: %8.3f ms   ratio to 100%% %.2f%s\n", static_cast<int>(view.Zoom() * 100 + 0.5),
                    zoomed, zoomed / actual, level == 12 ? " (budget <= 1.5)" : "");
    }

    view.ZoomToLevel(4);
    UpdateWindow(view);
    SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
    RECT band{};
    GetUpdateRect(view, &band, FALSE);
    std::printf("one line down repaints %ldx%ld of %ldx%ld (%.1f%% of the view)\n", band.right - band.left,
                band.bottom - band.top, client.right, client.bottom,
                100.0 * (band.right - band.left) * (band.bottom - band.top) / (client.right * client.bottom));
    const double scrolled = MedianMs(41, [&] {
        SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
        UpdateWindow(view);
        GdiFlush();
    });
    std::printf("one line down, scroll and repaint: %8.3f ms (%.2f of a full paint)\n", scrolled, scrolled / actual);
    DestroyWindow(view);
    DestroyWindow(host);
}

void OpenBenchmark()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "lumigrab-open-bench.jpg";
    HBITMAP source = MakeScreenshotLikeBitmap();
    SaveImageFile(source, 0, path.c_str());
    DeleteObject(source);

    const double readOnly = MedianMs(7, [&] {
        CDib dib;
        ReadJpegFile(path.c_str(), dib);
    });

    // Each run opens the file as a new document, shows it, and closes it again
    // outside the measured time.
    CAppFrame frame;
    frame.CreateFrame();
    SetWindowPos(frame, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
    std::vector<double> toBitmap, toDocument;
    for (int run = 0; run < 7; ++run) {
        const double start = Seconds();
        HBITMAP bitmap = ReadImageFile(path.c_str(), 0);
        const double read = Seconds();
        frame.CreateImageDocument(bitmap, path.c_str(), true);
        UpdateWindow(frame);
        GdiFlush();
        const double shown = Seconds();
        toBitmap.push_back((read - start) * 1000.0);
        toDocument.push_back((shown - start) * 1000.0);
        SendMessageA(frame.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame.ActiveDocument()), 0);
    }
    std::sort(toBitmap.begin(), toBitmap.end());
    std::sort(toDocument.begin(), toDocument.end());
    const double bitmapMs = toBitmap[toBitmap.size() / 2];
    const double documentMs = toDocument[toDocument.size() / 2];
    std::printf("ReadJpegFile alone:             %8.1f ms\n", readOnly);
    std::printf("read and made a screen bitmap:  %8.1f ms   ratio %.2f\n", bitmapMs, bitmapMs / readOnly);
    std::printf("open as a shown document:       %8.1f ms   ratio %.2f (budget <= 1.5)\n", documentMs,
                documentMs / readOnly);
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
