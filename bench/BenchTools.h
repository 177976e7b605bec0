#pragma once
// What several benchmarks share: the clock, the summary of repeated samples, a test
// picture, whole window paints and the raw library work that serves as a floor. Header
// only: every .cpp file in this folder is a benchmark program of its own.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imageio/TopDownDib.h"

inline double Seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// Times of one case, in milliseconds, taken in rounds with the other cases so that
// a busy moment of the machine weighs on all of them alike.
class CSamples {
public:
    void Add(double ms) { m_times.push_back(ms); }
    double Last() const { return m_times.empty() ? 0.0 : m_times.back(); }
    size_t Count() const { return m_times.size(); }
    double At(size_t index) const { return m_times[index]; }
    double Max() const { return m_times.empty() ? 0.0 : *std::max_element(m_times.begin(), m_times.end()); }
    double Min() const { return m_times.empty() ? 0.0 : *std::min_element(m_times.begin(), m_times.end()); }
    double Median() const
    {
        std::vector<double> sorted = m_times;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }

private:
    std::vector<double> m_times;
};

// Case and reference taken in pairs, one right after the other: the ratio of each pair,
// printed with the medians of both and judged against the budget on the median ratio.
inline void PrintPairRatios(const char* what, const CSamples& ours, const CSamples& reference, double budget)
{
    CSamples ratios;
    for (size_t i = 0; i < std::min(ours.Count(), reference.Count()); ++i)
        ratios.Add(ours.At(i) / reference.At(i));
    std::printf("%-52s %8.1f / %8.1f ms | ratio min %5.2f median %5.2f max %5.2f over %u pairs  budget <= %.1f%s\n",
                what, ours.Median(), reference.Median(), ratios.Min(), ratios.Median(), ratios.Max(),
                static_cast<unsigned>(ratios.Count()), budget, ratios.Median() <= budget ? "" : " MISSED");
}

// Runs work once and adds its time to samples.
template <typename Work>
void TimeOnce(CSamples& samples, Work&& work)
{
    const double start = Seconds();
    work();
    samples.Add((Seconds() - start) * 1000.0);
}

// Screen-like content as a 32-bit DIB section: flat panels with text-like strokes
// over the top rows, then a gradient on the left and noise on the right.
inline HBITMAP MakeScreenshotLikeBitmap(int width, int height)
{
    DWORD* pixels = nullptr;
    CBitmapOwner bitmap = CreateTopDownDib(width, height, pixels);
    const int panels = height * 600 / 2160, halfWidth = width / 2;
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            DWORD pixel;
            if (y < panels)
                pixel = ((x / 7 + y / 11) % 5 == 0) ? 0x202020 : 0xF0F0F0;
            else if (x < halfWidth)
                pixel = static_cast<DWORD>((x * 255 / halfWidth) << 16 | (y * 255 / height) << 8 | 0x80);
            else {
                seed = seed * 1103515245u + 12345u;
                pixel = seed >> 8 & 0xFFFFFF;
            }
            pixels[y * width + x] = pixel;
        }
    return bitmap.release();
}

// One whole paint of a window, done when GDI has drawn it.
inline void Paint(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    GdiFlush();
}

// Brings a window above its sibling and lets it repaint, outside the measured time,
// so that each case is measured fully visible.
inline void Raise(HWND window)
{
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(GetParent(window) ? GetParent(window) : window);
}

inline std::string FileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = GetFileSize(hFile, nullptr), read = 0;
    bytes.resize(size);
    ReadFile(hFile, &bytes[0], size, &read, nullptr);
    CloseHandle(hFile);
    return bytes;
}

// libjpeg-turbo decoding into freshly allocated rows, as any reader of a new picture
// must: 24-bit bottom-up rows in a malloc block, freed again, or, with section given, in
// a new 24-bit DIB section handed back there.
inline void DecompressInMemory(const std::string& jpeg, HBITMAP* section = nullptr)
{
    jpeg_decompress_struct info = {};
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = (3 * static_cast<size_t>(info.output_width) + 3) & ~size_t{3};
    JSAMPLE* pPixels = nullptr;
    if (section) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(info.output_width),
                            static_cast<LONG>(info.output_height), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        *section = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        pPixels = static_cast<JSAMPLE*>(bits);
    } else {
        pPixels = static_cast<JSAMPLE*>(malloc(stride * info.output_height));
    }
    std::vector<JSAMPROW> rows(info.output_height);
    for (JDIMENSION y = 0; y < info.output_height; ++y)
        rows[y] = pPixels + stride * (info.output_height - 1 - y);
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, &rows[info.output_scanline], info.output_height - info.output_scanline);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (!section)
        free(pPixels);
}
