#include "imageio/PngFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "imageio/CodecFailure.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
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
// The program's own chunk: ancillary, private, unsafe to copy (lower, lower, upper, upper).
const png_byte kPrivateChunkName[] = "lgAN";
constexpr BYTE kMissingGrey = 128;
// libpng takes the compressed pixels from the file in pieces of this size, each one
// whole or not at all; small pieces let a file cut off early show nearly all it holds
// (a screenshot's flat areas pack hundreds of rows into 8 KB, libpng's usual piece).
constexpr size_t kPixelDataPiece = 512;

bool HasPngSignature(const BYTE* bytes, size_t size)
{
    return size >= kSignatureSize && png_sig_cmp(bytes, 0, kSignatureSize) == 0;
}

// Of the ancillary chunks the picture needs only its transparency (tRNS, which libpng
// always reads) and its density (pHYs), and the caller may want the program's own
// chunk; every other one is passed over unread. libpng would otherwise allocate and
// clear a text chunk at the length it claims, up to 2 GiB, before reading a byte of it:
// its check of that length against the limit only warns. A chunk it keeps is allocated
// at its claimed length too, so the limit is what the input can hold, and never more
// than the one size limit (the private chunk holds a whole picture as PNG).
void SkipUnusedChunks(png_structp png, uint64_t inputSize, bool keepPrivateChunk)
{
    static const png_byte kDensity[] = "pHYs";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kDensity, 1);
    if (keepPrivateChunk)
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, kPrivateChunkName, 1);
    png_set_chunk_malloc_max(png, static_cast<png_alloc_size_t>(std::min(inputSize, kMaxImageBytes)));
}

// Every pixel ends up as 8-bit blue, green, red and an unused fourth byte, the rows of
// a CDib made by CreateSection; pixels with alpha (a channel or a tRNS
// entry) are blended with white by their stored values, as other viewers show them.
void RequestBgrx32(const CPngCodec& png)
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
    png_set_filler(p, 0, PNG_FILLER_AFTER);
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

// The chunks after the pixels, up to IEND, for the program's own chunk among them. Damage
// there costs only that chunk: a checksum that does not match stops the reading (libpng
// would otherwise keep an unknown chunk whatever its checksum says), and so does a file
// that ends early; whatever was read whole before stays.
void ReadPrivateChunk(const CPngCodec& png, std::string& privateChunk)
{
    png_set_crc_action(png.Get(), PNG_CRC_NO_CHANGE, PNG_CRC_ERROR_QUIT);
    try {
        png_read_end(png.Get(), png.Info());
    } catch (...) {
        // The picture is whole: damage after it costs only the chunks from there on.
    }
    png_unknown_chunkp chunks = nullptr;
    const int count = png_get_unknown_chunks(png.Get(), png.Info(), &chunks);
    for (int i = 0; i < count; ++i) {
        if (memcmp(chunks[i].name, kPrivateChunkName, 4) == 0) {
            try {
                privateChunk.assign(reinterpret_cast<const char*>(chunks[i].data), chunks[i].size);
            } catch (const std::bad_alloc&) {
                // Without the memory for a copy the file still opens, as a plain picture.
                privateChunk.clear();
            }
            return;
        }
    }
}

// kImageReadWhole, or kImageReadIncomplete when the input ends among the pixels. The
// source is past the signature.
int DecodePng(CPngFileSource& source, uint64_t inputSize, CDib& dib, std::string* privateChunk)
{
    CPngCodec png(CPngCodec::kRead);
    source.Install(png.Get());
    SkipUnusedChunks(png.Get(), inputSize, privateChunk != nullptr);
    png_set_compression_buffer_size(png.Get(), kPixelDataPiece);
    png_set_sig_bytes(png.Get(), kSignatureSize);
    png_read_info(png.Get(), png.Info());

    const png_uint_32 width = png_get_image_width(png.Get(), png.Info());
    const png_uint_32 height = png_get_image_height(png.Get(), png.Info());
    if (ExceedsImageSizeLimit(width, height))
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    RequestBgrx32(png);
    if (png_get_channels(png.Get(), png.Info()) != 4 || png_get_bit_depth(png.Get(), png.Info()) != 8)
        throw kFormatViolation;
    if (!dib.CreateSection(static_cast<int>(width), static_cast<int>(height)))
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
    if (privateChunk)
        ReadPrivateChunk(png, *privateChunk);
    return kImageReadWhole;
}

// The private chunk goes after the pixels, so that a reader sees the picture first.
void EncodePng(const CDib& image, CPngFileSink& sink, const std::string* privateChunk)
{
    // More than a reader would take is refused before a byte is written.
    if (privateChunk && privateChunk->size() > kMaxImageBytes)
        throw Vorn::CWin32Error(ERROR_FILE_TOO_LARGE);
    CPngCodec png(CPngCodec::kWrite);
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
    if (privateChunk)
        png_write_chunk(png.Get(), kPrivateChunkName, reinterpret_cast<png_const_bytep>(privateChunk->data()),
                        privateChunk->size());
    png_write_end(png.Get(), nullptr);
    sink.Flush();
}

}  // namespace

int ReadPngFile(const char* path, CDib& dib)
{
    return ReadPngFile(path, dib, nullptr);
}

int ReadPngFile(const char* path, CDib& dib, std::string* privateChunk)
{
    if (privateChunk)
        privateChunk->clear();
    try {
        CWin32File file;
        file.OpenForReading(path);
        BYTE signature[kSignatureSize];
        if (file.Read(signature, sizeof signature) != sizeof signature || !HasPngSignature(signature, sizeof signature))
            throw kFormatViolation;
        CPngFileSource source(file);
        return DecodePng(source, file.GetSize(), dib, privateChunk);
    } catch (...) {
        return FailWithCurrentException();
    }
}

int WritePngFile(CDib& dib, const char* path, CFileReplacement::Mode mode, const std::string* privateChunk)
{
    return WriteImageFile(dib, path, mode, [privateChunk](const CDib& image, HANDLE hFile) {
        CPngFileSink sink(hFile);
        EncodePng(image, sink, privateChunk);
    });
}

int EncodePngBytes(const CDib& dib, std::string& bytes)
{
    try {
        if (dib.IsEmpty())
            throw Vorn::CWin32Error(ERROR_INVALID_PARAMETER);
        CDib converted;
        std::string encoded;
        CPngFileSink sink(encoded);
        EncodePng(DirectOr24BitCopy(dib, converted), sink, nullptr);
        bytes.swap(encoded);
        return 1;
    } catch (...) {
        return FailWithCurrentException();
    }
}

int DecodePngBytes(const std::string& bytes, CDib& dib)
{
    try {
        const BYTE* data = reinterpret_cast<const BYTE*>(bytes.data());
        if (!HasPngSignature(data, bytes.size()))
            throw kFormatViolation;
        CPngFileSource source(data + kSignatureSize, bytes.size() - kSignatureSize);
        return DecodePng(source, bytes.size(), dib, nullptr);
    } catch (...) {
        return FailWithCurrentException();
    }
}
