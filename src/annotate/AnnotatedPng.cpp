#include "annotate/AnnotatedPng.h"

#include <cstdint>
#include <new>

#include "annotate/AnnotationCodec.h"
#include "annotate/LittleEndianReader.h"
#include "annotate/LittleEndianWriter.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageFormats.h"
#include "imageio/ImageReadResult.h"
#include "imageio/PngFile.h"

namespace {

const char kPayloadMagic[4] = {'L', 'G', 'A', 'P'};
constexpr uint16_t kPayloadVersion = 1;

// What identifies the picture a chunk was written with: its size and a 64-bit FNV-1a
// hash of its pixels as blue, green, red bytes, top row first, without row padding
// (the pixels as a PNG of them holds them, whatever depth the bitmap had).
struct PictureFingerprint {
    uint32_t width = 0;
    uint32_t height = 0;
    uint64_t hash = 0;

    bool operator==(const PictureFingerprint& other) const
    {
        return width == other.width && height == other.height && hash == other.hash;
    }
};

PictureFingerprint FingerprintOf(const CDib& dib)
{
    CDib converted;
    const CDib& image = DirectOr24BitCopy(dib, converted);
    const int bytesPerPixel = image.GetBitCount() / 8;
    PictureFingerprint fingerprint;
    fingerprint.width = static_cast<uint32_t>(image.GetWidth());
    fingerprint.height = static_cast<uint32_t>(image.GetRowCount());
    uint64_t hash = 14695981039346656037ull;
    for (const BYTE* row : PictureRows(image)) {
        for (const BYTE* pixel = row; pixel != row + image.GetWidth() * bytesPerPixel; pixel += bytesPerPixel) {
            for (int i = 0; i < 3; ++i)
                hash = (hash ^ pixel[i]) * 1099511628211ull;
        }
    }
    fingerprint.hash = hash;
    return fingerprint;
}

bool Fail(DWORD dwError)
{
    SetLastError(dwError);
    return false;
}

}  // namespace

bool PackAnnotatedImage(HBITMAP clean, HBITMAP flattened, const std::vector<Annotation>& objects, std::string& chunk)
{
    try {
        if (!AreStorableAnnotations(objects))
            return Fail(ERROR_INVALID_DATA);
        CDib original, shown;
        if (!original.FromBitmap(clean) || !shown.FromBitmap(flattened))
            return Fail(ERROR_INVALID_DATA);
        if (original.GetWidth() != shown.GetWidth() || original.GetRowCount() != shown.GetRowCount())
            return Fail(ERROR_INVALID_PARAMETER);
        std::string png;
        if (!EncodePngBytes(original, png))
            return false;
        const std::string list = EncodeAnnotations(objects);
        const PictureFingerprint fingerprint = FingerprintOf(shown);

        std::string payload(kPayloadMagic, sizeof kPayloadMagic);
        CLittleEndianWriter writer(payload);
        writer.U16(kPayloadVersion);
        writer.U32(fingerprint.width);
        writer.U32(fingerprint.height);
        writer.U64(fingerprint.hash);
        writer.U32(static_cast<uint32_t>(png.size()));
        writer.Bytes(png);
        writer.U32(static_cast<uint32_t>(list.size()));
        writer.Bytes(list);
        chunk.swap(payload);
        return true;
    } catch (const std::bad_alloc&) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

// The chunk, version 1. Little-endian throughout.
//
//   4 bytes  "LGAP"
//   u16      version: 1 (a reader refuses a version it does not know)
//   u32      width and u32 height of the picture the file shows, in pixels
//   u64      FNV-1a (64 bits) of that picture's pixels as blue, green, red bytes, top
//            row first, without row padding: a reader takes the chunk only for the
//            same pixels
//   u32      C, then C bytes: the picture without the marks, a whole PNG stream of
//            the same size
//   u32      L, then L bytes: the object list (see DecodeAnnotations)
//   nothing after the list.
bool UnpackAnnotatedImage(const std::string& chunk, HBITMAP shown, CBitmapOwner& clean,
                          std::vector<Annotation>& objects)
{
    try {
        CLittleEndianReader reader(chunk);
        if (reader.Bytes(sizeof kPayloadMagic) != std::string(kPayloadMagic, sizeof kPayloadMagic) ||
            reader.U16() != kPayloadVersion)
            return false;
        PictureFingerprint written;
        written.width = reader.U32();
        written.height = reader.U32();
        written.hash = reader.U64();
        const std::string png = reader.Bytes(reader.U32());
        const std::string list = reader.Bytes(reader.U32());
        if (!reader.AtEnd())
            return false;

        CDib shownPixels;
        if (!shownPixels.FromBitmap(shown) || !(FingerprintOf(shownPixels) == written))
            return false;
        std::vector<Annotation> decoded;
        if (!DecodeAnnotations(list, decoded))
            return false;
        CDib original;
        if (DecodePngBytes(png, original) != kImageReadWhole ||
            static_cast<uint32_t>(original.GetWidth()) != written.width ||
            static_cast<uint32_t>(original.GetRowCount()) != written.height)
            return false;
        CBitmapOwner bitmap(original.DetachSection());
        if (!bitmap)
            return false;
        clean.swap(bitmap);
        objects.swap(decoded);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
