// Measures the image codecs on screenshot-like pictures against the cheapest way to do
// the same work in the same run: libjpeg-turbo and libpng compressing and decompressing
// in memory with the same settings, and one plain WriteFile/ReadFile of the same bytes
// (each with its CreateFile and CloseHandle; reading into a fresh buffer, as our readers
// must), and for the BMP writer also that write made safe as every save is (a file
// beside the target, flushed, renamed over it). The PNG's size is set against ImageMagick's default PNG of the same pixels.
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
#include <png.h>

#include "BenchTools.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "imageio/JpegFile.h"
#include "imageio/PngCompression.h"
#include "imageio/PngFile.h"
#include "NativeShell.h"

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

// libpng with the program's settings into a buffer reserved beforehand.
void PngToMemory(const CDib& dib, std::string& output)
{
    output.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &output,
        [](png_structp p, png_bytep data, size_t size) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), size);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(dib.GetWidth()), static_cast<png_uint_32>(dib.GetRowCount()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    SetScreenshotCompression(png);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    std::vector<JSAMPROW> rows = Rows(dib);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

// libpng decoding an 8-bit RGB PNG from memory into freshly allocated 32-bit rows, blue first.
void PngFromMemory(const std::string& file)
{
    struct Reader {
        const std::string& bytes;
        size_t position;
    } reader{file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep data, size_t size) {
        Reader* r = static_cast<Reader*>(png_get_io_ptr(p));
        memcpy(data, r->bytes.data() + r->position, size);
        r->position += size;
    });
    png_read_info(png, info);
    // The rows the program keeps: blue, green, red and an unused fourth byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const size_t stride = 4 * static_cast<size_t>(width);
    auto* pPixels = static_cast<png_byte*>(malloc(stride * height));
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pPixels + stride * (height - 1 - y);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    free(pPixels);
}

// ImageMagick's default PNG of the picture, given to it as a 24-bit BMP: its size, and the
// encoding time as the time of the whole conversion less that of only reading the BMP
// (the fastest of five runs of its own process each).
void CompareWithImageMagick(const CDib& screenshot, size_t ourSize, double ourSeconds)
{
    CDib rgb;
    rgb.Create(screenshot.GetWidth(), screenshot.GetRowCount(), 24);
    ConvertTo24Bit(screenshot, rgb);
    const std::string bmpPath = TempPath("lumigrab-bench-24.bmp");
    WriteBmpFile(rgb, bmpPath.c_str());
    const std::string bmp = UnixPath(bmpPath);
    const std::string timesPath = TempPath("lumigrab-bench-magick.txt");
    const std::string script = "b='" + bmp + "'; best() { m=999999; for i in 1 2 3 4 5; do s=$(date +%s%N); "
                               "convert $b $1; t=$((($(date +%s%N)-s)/1000)); [ $t -lt $m ] && m=$t; done; echo $m; }; "
                               "r=$(best null:); w=$(best $b.png); echo $r $w $(stat -c %s $b.png) > '" +
                               UnixPath(timesPath) + "'; rm -f $b.png";
    if (RunNativeShell(script) != 0) {
        printf("  (ImageMagick not available)\n");
        return;
    }
    long readMicros = 0, convertMicros = 0, magickSize = 0;
    if (sscanf(FileBytes(timesPath).c_str(), "%ld %ld %ld", &readMicros, &convertMicros, &magickSize) != 3)
        return;
    DeleteFileA(timesPath.c_str());
    DeleteFileA(bmpPath.c_str());
    const double ratio = static_cast<double>(ourSize) / static_cast<double>(magickSize);
    printf("  %-34s %8.1f KB  ImageMagick %8.1f KB  ratio %5.2f  (budget 1.05%s)\n", "PNG size / ImageMagick default",
           ourSize / 1024.0, magickSize / 1024.0, ratio, ratio <= 1.05 ? "" : ", MISSED");
    printf("    (writing: ours %.1f ms; ImageMagick %.1f ms = %.1f ms converting less %.1f ms reading the BMP)\n",
           ourSeconds * 1000, (convertMicros - readMicros) / 1000.0, convertMicros / 1000.0, readMicros / 1000.0);
}

void PlainWrite(const std::string& path, const std::string& bytes)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(hFile);
}

// What any save that never destroys the old file must do at least: the bytes into a
// fresh file beside the target, onto the disk, then the rename over the target.
void ReplacingWrite(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".new";
    HANDLE hFile = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    DWORD written = 0;
    WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(hFile);
    CloseHandle(hFile);
    MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
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
    TimePair(runs, [&] { WriteBmpFile(screenshot, bmpPath.c_str()); }, [&] { ReplacingWrite(plainPath, bmp); },
             ours, reference);
    Report("WriteBmpFile / replacing WriteFile", ours, reference, 1.3);

    TimePair(runs, [&] { CDib dib; ReadBmpFile(bmpPath.c_str(), dib); }, [&] { PlainRead(plainPath, bmp.size()); },
             ours, reference);
    Report("ReadBmpFile / ReadFile", ours, reference, 1.3);

    const std::string pngPath = TempPath("lumigrab-bench.png");
    std::string pngInMemory;
    pngInMemory.reserve(screenshot.GetImageSize());
    TimePair(runs, [&] { WritePngFile(screenshot, pngPath.c_str()); }, [&] { PngToMemory(screenshot, pngInMemory); },
             ours, reference);
    Report("WritePngFile / libpng in memory", ours, reference, 1.15);
    const double pngWriteSeconds = ours;
    const std::string png = FileBytes(pngPath);
    TimePair(runs, [&] { CDib dib; ReadPngFile(pngPath.c_str(), dib); }, [&] { PngFromMemory(png); }, ours,
             reference);
    Report("ReadPngFile / libpng from memory", ours, reference, 1.10);
    CompareWithImageMagick(screenshot, png.size(), pngWriteSeconds);

    DeleteFileA(pngPath.c_str());
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
