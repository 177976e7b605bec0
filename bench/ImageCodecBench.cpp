// Measures the image codecs on screenshot-like pictures against the cheapest way to do
// the same work in the same run: libjpeg-turbo compressing and decompressing in memory
// with the same settings, and one plain WriteFile/ReadFile of the same bytes (each with
// its CreateFile and CloseHandle; reading into a fresh buffer, as our readers must).
// Usage: ImageCodecBench.exe   (run it under ../bench.sh; it never fails on time)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BenchTools.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"
#include "imageio/JpegFile.h"

namespace {

// The fastest of several runs of each, taken in turns so that a busy moment of the
// machine weighs on both alike.
void TimePair(int runs, const std::function<void()>& ours, const std::function<void()>& reference, double& oursBest,
              double& referenceBest)
{
    oursBest = referenceBest = 1e9;
    for (int i = 0; i < runs; ++i) {
        double start = Seconds();
        ours();
        oursBest = std::min(oursBest, Seconds() - start);
        start = Seconds();
        reference();
        referenceBest = std::min(referenceBest, Seconds() - start);
    }
}

uint32_t g_random = 12345;
uint32_t NextRandom()
{
    g_random = g_random * 1664525u + 1013904223u;
    return g_random >> 8;
}

// A desktop: a gradient title band, flat window backgrounds with lines of "text"
// (short dark strokes), a photo-like area with noise over smooth colour, a toolbar of
// flat buttons.
void PaintScreenshot(CDib& dib)
{
    const int width = dib.GetWidth();
    const int height = dib.GetRowCount();
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance()) {
        const int y = row.GetIndex();
        DWORD* pPixel = reinterpret_cast<DWORD*>(row.GetRow());
        for (int x = 0; x < width; ++x) {
            DWORD color;
            if (y < height / 20) {
                color = RGB(30 + 200 * x / width, 60 + y, 180);
            } else if (x > width / 2 && y > height / 3 && y < height * 5 / 6) {
                const int noise = static_cast<int>(NextRandom() % 24);
                color = RGB((x * 255 / width + noise) & 255, (y * 255 / height + noise) & 255, (x + y + noise) & 255);
            } else if (y % 18 > 4 && y % 18 < 14 && (x / 7) % 11 != 0 && x % 400 < 330) {
                color = (NextRandom() % 5 == 0) ? RGB(20, 20, 20) : RGB(250, 250, 250);
            } else if (y > height * 9 / 10) {
                color = (x / 40) % 2 ? RGB(212, 208, 200) : RGB(236, 233, 216);
            } else {
                color = RGB(255, 255, 255);
            }
            pPixel[x] = color;
        }
    }
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<JSAMPROW> Rows(const CDib& dib)
{
    std::vector<JSAMPROW> rows;
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance())
        rows.push_back(row.GetRow());
    return rows;
}

// Into one output buffer that is allocated and touched beforehand, so that only the
// compression itself is timed.
void CompressInMemory(const CDib& dib, std::vector<unsigned char>& output)
{
    jpeg_compress_struct info = {};
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* pOutput = output.data();
    unsigned long size = static_cast<unsigned long>(output.size());
    jpeg_mem_dest(&info, &pOutput, &size);
    info.image_width = static_cast<JDIMENSION>(dib.GetWidth());
    info.image_height = static_cast<JDIMENSION>(dib.GetRowCount());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    info.density_unit = 2;
    info.X_density = info.Y_density = 0;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPROW> rows = Rows(dib);
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, &rows[info.next_scanline], info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (pOutput != output.data())  // it did not fit after all
        free(pOutput);
}

void PlainWrite(const std::string& path, const std::string& bytes)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(hFile);
}

void PlainRead(const std::string& path, size_t size)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    void* pBuffer = malloc(size);
    DWORD read = 0;
    ReadFile(hFile, pBuffer, static_cast<DWORD>(size), &read, nullptr);
    free(pBuffer);
    CloseHandle(hFile);
}

void Report(const char* what, double ours, double reference, double budget)
{
    const double ratio = ours / reference;
    printf("  %-34s %8.1f ms  reference %8.1f ms  ratio %5.2f  (budget %.2f%s)\n", what, ours * 1000, reference * 1000,
           ratio, budget, ratio <= budget ? "" : ", MISSED");
}

void Measure(int width, int height, int runs)
{
    CDib screenshot;
    if (!screenshot.Create(width, height, 32)) {
        printf("cannot allocate %dx%d\n", width, height);
        return;
    }
    PaintScreenshot(screenshot);
    const std::string jpegPath = TempPath("lumigrab-bench.jpg");
    const std::string bmpPath = TempPath("lumigrab-bench.bmp");
    const std::string plainPath = TempPath("lumigrab-bench.bin");
    double ours, reference;

    printf("%dx%d, 32 bits per pixel\n", width, height);
    std::vector<unsigned char> output(screenshot.GetImageSize());
    TimePair(runs, [&] { WriteJpegFile(screenshot, jpegPath.c_str(), 100); },
             [&] { CompressInMemory(screenshot, output); }, ours, reference);
    const std::string jpeg = FileBytes(jpegPath);
    Report("WriteJpegFile q100 / compress", ours, reference, 1.15);
    printf("    (JPEG file %.2f MB)\n", jpeg.size() / 1048576.0);

    TimePair(runs, [&] { CDib dib; ReadJpegFile(jpegPath.c_str(), dib); }, [&] { DecompressInMemory(jpeg); }, ours,
             reference);
    Report("ReadJpegFile / decompress", ours, reference, 1.10);

    WriteBmpFile(screenshot, bmpPath.c_str());
    const std::string bmp = FileBytes(bmpPath);
    PlainWrite(plainPath, bmp);
    TimePair(runs, [&] { WriteBmpFile(screenshot, bmpPath.c_str()); }, [&] { PlainWrite(plainPath, bmp); }, ours,
             reference);
    Report("WriteBmpFile / WriteFile", ours, reference, 1.3);

    TimePair(runs, [&] { CDib dib; ReadBmpFile(bmpPath.c_str(), dib); }, [&] { PlainRead(plainPath, bmp.size()); },
             ours, reference);
    Report("ReadBmpFile / ReadFile", ours, reference, 1.3);

    DeleteFileA(jpegPath.c_str());
    DeleteFileA(bmpPath.c_str());
    DeleteFileA(plainPath.c_str());
}

}  // namespace

int main()
{
    printf("Image codecs against libjpeg-turbo in memory and plain file I/O (fastest of several runs)\n");
    Measure(1920, 1080, 40);
    Measure(3840, 2160, 9);
    return 0;
}
