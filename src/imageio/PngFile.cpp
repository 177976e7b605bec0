#include "imageio/PngFile.h"

#include <cstring>
#include <new>
#include <vector>

#include "imageio/CodecFailure.h"
#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageFileWrite.h"
#include "imageio/ImageReadResult.h"
#include "imageio/ImageSizeLimit.h"
#include "imageio/PngCompression.h"
#include "imageio/PngCodec.h"
#include "imageio/PngFileSink.h"
#include "imageio/PngFileSource.h"
#include "imageio/Win32File.h"
#include "util/Win32Error.h"

namespace {

constexpr int kFormatViolation = 1;
constexpr size_t kSignatureSize = 8;
// What libpng may hold of one chunk it reads, as its usual build allows, set here so
// that it holds whatever build the program is linked with.
constexpr png_alloc_size_t kChunkMemoryLimit = 8000000;
constexpr BYTE kMissingGrey = 128;
// libpng takes the compressed pixels from the file in pieces of this size, each one
// whole or not at all; small pieces let a file cut off early show nearly all it holds
// (a screenshot's flat areas pack hundreds of rows into 8 KB, libpng's usual piece).
constexpr size_t kPixelDataPiece = 512;

// Of the ancillary chunks the picture needs only its transparency (tRNS, which libpng
// always reads) and its density (pHYs); every other one is passed over unread. libpng
// would otherwise allocate and clear a text chunk at the length it claims, up to 2 GiB,
// before reading a byte of it: its check of that length against the limit only warns.
void SkipUnusedChunks(png_structp png)
{
    static const png_byte kDensity[] = "pHYs";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kDensity, 1);
    png_set_chunk_malloc_max(png, kChunkMemoryLimit);
}

// Every pixel ends up as 8-bit blue, green, red; pixels with alpha (a channel or a tRNS
// entry) are blended with white by their stored values, as other viewers show them.
void RequestBgr24(const CPngCodec& png)
{
    png_structp p = png.Get();
    png_set_expand(p);
    png_set_scale_16(p);
    png_set_gray_to_rgb(p);
    if ((png_get_color_type(p, png.Info()) & PNG_COLOR_MASK_ALPHA) || png_get_valid(p, png.Info(), PNG_INFO_tRNS)) {
        // Gamma 1 for both the file and the screen: blending in the stored values,
        // without libpng's conversion to linear light.
        png_set_gamma_fixed(p, PNG_FP_1, PNG_FP_1);
        png_color_16 white = {0, 255, 255, 255, 255};
        png_set_background_fixed(p, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
    }
    png_set_bgr(p);
    png_set_interlace_handling(p);
    png_read_update_info(p, png.Info());
}

void CopyDensity(const CPngCodec& png, BITMAPINFOHEADER& header)
{
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(png.Get(), png.Info(), &x, &y, &unit) && unit == PNG_RESOLUTION_METER && x <= 0x7FFFFFFF &&
        y <= 0x7FFFFFFF) {
        header.biXPelsPerMeter = static_cast<LONG>(x);
        header.biYPelsPerMeter = static_cast<LONG>(y);
    }
}

// kImageReadWhole, or kImageReadIncomplete when the file ends among the pixels.
int DecodePng(CWin32File& file, CDib& dib)
{
    CPngCodec png(CPngCodec::kRead);
    CPngFileSource source(file);
    source.Install(png.Get());
    SkipUnusedChunks(png.Get());
    png_set_compression_buffer_size(png.Get(), kPixelDataPiece);
    png_set_sig_bytes(png.Get(), kSignatureSize);
    png_read_info(png.Get(), png.Info());

    const png_uint_32 width = png_get_image_width(png.Get(), png.Info());
    const png_uint_32 height = png_get_image_height(png.Get(), png.Info());
    if (ExceedsImageSizeLimit(width, height))
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    RequestBgr24(png);
    if (png_get_channels(png.Get(), png.Info()) != 3 || png_get_bit_depth(png.Get(), png.Info()) != 8)
        throw kFormatViolation;
    if (!dib.Create(static_cast<int>(width), static_cast<int>(height), 24))
        throw std::bad_alloc();
    CopyDensity(png, *dib.GetInfo());

    std::vector<BYTE*> rows = PictureRows(dib);
    // What a file cut off early never reaches (the last rows, or in an interlaced file
    // the pixels of the passes still to come) stays grey.
    memset(dib.GetBits(), kMissingGrey, dib.GetImageSize());
    try {
        png_read_image(png.Get(), rows.data());
    } catch (const Vorn::CWin32Error& error) {
        if (error.GetCode() != ERROR_HANDLE_EOF)
            throw;
        return kImageReadIncomplete;
    }
    return kImageReadWhole;
}

void EncodePng(const CDib& image, HANDLE hFile)
{
    CPngCodec png(CPngCodec::kWrite);
    CPngFileSink sink(hFile);
    sink.Install(png.Get());
    png_set_IHDR(png.Get(), png.Info(), static_cast<png_uint_32>(image.GetWidth()),
                 static_cast<png_uint_32>(image.GetRowCount()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    const LONG xDensity = image.GetInfo()->biXPelsPerMeter;
    const LONG yDensity = image.GetInfo()->biYPelsPerMeter;
    if (xDensity > 0 && yDensity > 0)
        png_set_pHYs(png.Get(), png.Info(), static_cast<png_uint_32>(xDensity), static_cast<png_uint_32>(yDensity),
                     PNG_RESOLUTION_METER);
    SetScreenshotCompression(png.Get());
    png_write_info(png.Get(), png.Info());

    // The rows go in as they are stored: blue first, and 32-bit pixels with a fourth
    // byte that the library drops.
    png_set_bgr(png.Get());
    if (image.GetBitCount() == 32)
        png_set_filler(png.Get(), 0, PNG_FILLER_AFTER);
    std::vector<BYTE*> rows = PictureRows(image);
    png_write_image(png.Get(), rows.data());
    png_write_end(png.Get(), nullptr);
    sink.Flush();
}

}  // namespace

int ReadPngFile(const char* path, CDib& dib)
{
    try {
        CWin32File file;
        file.OpenForReading(path);
        BYTE signature[kSignatureSize];
        if (file.Read(signature, sizeof signature) != sizeof signature || png_sig_cmp(signature, 0, sizeof signature))
            throw kFormatViolation;
        return DecodePng(file, dib);
    } catch (...) {
        return FailWithCurrentException();
    }
}

int WritePngFile(CDib& dib, const char* path, CFileReplacement::Mode mode)
{
    return WriteImageFile(dib, path, mode, EncodePng);
}
