#include "annotate/AnnotatedPng.h"

#include <cstdint>
#include <new>

#include "annotate/AnnotationCodec.h"
#include "annotate/AnnotationPainter.h"
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

// The clean picture as the file may keep it: what a redaction or a mosaic covers is
// replaced by the fill colour or the block means, exactly as the flattened picture shows
// them, so that no byte of the file holds the pixels under them. Null with the last
// error set when the picture cannot be made; clean itself when nothing covers it.
HBITMAP SealedCleanPicture(HBITMAP clean, const std::vector<Annotation>& objects, CBitmapOwner& sealed)
{
    std::vector<Annotation> covering;
    for (const Annotation& object : objects) {
        if (object.kind == AnnotationKind::kRedact || object.kind == AnnotationKind::kMosaic)
            covering.push_back(object);
    }
    if (covering.empty())
        return clean;
    sealed.reset(FlattenAnnotations(clean, covering));
    return sealed.get();
}

// True when the stream starts as a PNG whose header gives this size: checked before a
// picture of the size the stream claims is allocated.
bool IsPngOfSize(const std::string& png, uint32_t width, uint32_t height)
{
    static const char kStart[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
    constexpr size_t kStartBytes = sizeof kStart - 1;
    if (png.size() < kStartBytes + 8 || png.compare(0, kStartBytes, kStart, kStartBytes) != 0)
        return false;
    const auto bigEndian = [&png](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<BYTE>(png[at + i]);
        return value;
    };
    return bigEndian(kStartBytes) == width && bigEndian(kStartBytes + 4) == height;
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
        CBitmapOwner sealed;
        const HBITMAP kept = SealedCleanPicture(clean, objects, sealed);
        if (!kept)
            return false;
        CDib original, shown;
        if (!original.FromBitmap(kept) || !shown.FromBitmap(flattened))
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
MarksRestore UnpackAnnotatedImage(const std::string& chunk, HBITMAP shown, CBitmapOwner& clean,
                                  std::vector<Annotation>& objects)
{
    const auto failed = [](DWORD error) {
        SetLastError(error);
        return MarksRestore::kFailed;
    };
    try {
        CLittleEndianReader reader(chunk);
        if (reader.Bytes(sizeof kPayloadMagic) != std::string(kPayloadMagic, sizeof kPayloadMagic) ||
            reader.U16() != kPayloadVersion)
            return failed(ERROR_INVALID_DATA);
        PictureFingerprint written;
        written.width = reader.U32();
        written.height = reader.U32();
        written.hash = reader.U64();
        const std::string png = reader.Bytes(reader.U32());
        const std::string list = reader.Bytes(reader.U32());
        if (!reader.AtEnd())
            return failed(ERROR_INVALID_DATA);

        CDib shownPixels;
        if (!shownPixels.FromBitmap(shown))
            return failed(ERROR_INVALID_DATA);
        if (!(FingerprintOf(shownPixels) == written))
            return MarksRestore::kOtherPicture;
        std::vector<Annotation> decoded;
        if (!DecodeAnnotations(list, decoded) || !IsPngOfSize(png, written.width, written.height))
            return failed(ERROR_INVALID_DATA);
        CDib original;
        const int read = DecodePngBytes(png, original);
        if (!read)
            return failed(GetLastError());
        if (read != kImageReadWhole || static_cast<uint32_t>(original.GetWidth()) != written.width ||
            static_cast<uint32_t>(original.GetRowCount()) != written.height)
            return failed(ERROR_INVALID_DATA);
        CBitmapOwner bitmap(original.DetachSection());
        if (!bitmap)
            return failed(ERROR_NOT_ENOUGH_MEMORY);
        clean.swap(bitmap);
        objects.swap(decoded);
        return MarksRestore::kRestored;
    } catch (const std::bad_alloc&) {
        return failed(ERROR_NOT_ENOUGH_MEMORY);
    }
}
