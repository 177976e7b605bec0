#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnnotationTestObjects.h"
#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "annotate/AnnotatedPng.h"
#include "annotate/AnnotationCodec.h"
#include "annotate/AnnotationPainter.h"
#include "document/ImageDocument.h"
#include "imageio/Dib.h"
#include "imageio/ImageFormats.h"
#include "imageio/PngFile.h"
#include "scoped/ScopedHandles.h"

namespace {

constexpr int kPngCode = 2;

// The bitmap with one pixel changed, as another program's edit would leave it.
void ChangePixel(HBITMAP bitmap, int x, int y)
{
    CMemoryDC dc(nullptr);
    CSelectObject selected(dc, bitmap);
    SetPixel(dc, x, y, GetPixel(dc, x, y) ^ 0x000001);
}

std::string PseudoRandomBytes(size_t size)
{
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

// The chunk with its clean picture's PNG stream taken from another chunk; by the layout
// in the help, the stream's length comes after 22 bytes.
std::string WithCleanPictureOf(const std::string& chunk, const std::string& donor)
{
    constexpr size_t kLengthAt = 22;
    const auto streamBytes = [](const std::string& bytes) {
        uint32_t length = 0;
        for (int i = 3; i >= 0; --i)
            length = (length << 8) | static_cast<BYTE>(bytes[kLengthAt + i]);
        return 4 + size_t{length};
    };
    return chunk.substr(0, kLengthAt) + donor.substr(kLengthAt, streamBytes(donor)) +
           chunk.substr(kLengthAt + streamBytes(chunk));
}

// A secret no mark's fill or block mean can produce: a checkerboard of two colours whose
// blue occurs nowhere else in the picture.
constexpr BYTE kSecret[2][3] = {{250, 10, 123}, {10, 250, 77}};

// A 32-bit picture, blue 200 everywhere but in the secret boxes.
CBitmapOwner PictureWithSecrets(int width, int height, const std::vector<RECT>& secrets)
{
    CDib dib;
    EXPECT_TRUE(dib.CreateSection(width, height));
    for (int y = 0; y < height; ++y) {
        BYTE* pixel = dib.GetBits() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, pixel += 4) {
            BYTE rgb[3] = {static_cast<BYTE>(x * 3), static_cast<BYTE>(y * 4), 200};
            for (const RECT& box : secrets) {
                if (x >= box.left && x < box.right && y >= box.top && y < box.bottom)
                    std::copy(kSecret[(x + y) % 2], kSecret[(x + y) % 2] + 3, rgb);
            }
            pixel[0] = rgb[2], pixel[1] = rgb[1], pixel[2] = rgb[0];
        }
    }
    return CBitmapOwner(dib.DetachSection());
}

size_t SecretPixels(const std::vector<BYTE>& rgb)
{
    size_t found = 0;
    for (size_t i = 0; i + 3 <= rgb.size(); i += 3) {
        for (const BYTE* secret : kSecret)
            found += std::equal(secret, secret + 3, &rgb[i]);
    }
    return found;
}

// Every PNG stream anywhere in the bytes (the file's own and any embedded one), decoded,
// and the bytes themselves as uncompressed rows, red first or blue first.
size_t SecretsInBytes(const std::string& bytes)
{
    size_t found = 0;
    const std::string signature("\x89PNG\r\n\x1a\n", 8);
    for (size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 1)) {
        CDib picture;
        if (DecodePngBytes(bytes.substr(at), picture))
            found += SecretPixels(PictureRgb(picture));
    }
    for (const bool blueFirst : {false, true}) {
        std::string pair;
        for (const BYTE* secret : kSecret) {
            for (int i = 0; i < 3; ++i)
                pair += static_cast<char>(secret[blueFirst ? 2 - i : i]);
        }
        found += bytes.find(pair) != std::string::npos;
    }
    return found;
}

Annotation CoveringMark(AnnotationKind kind, const RECT& box)
{
    Annotation mark;
    mark.kind = kind;
    mark.points = {{static_cast<float>(box.left), static_cast<float>(box.top)},
                   {static_cast<float>(box.right), static_cast<float>(box.bottom)}};
    mark.style.colour = RGB(0, 0, 0);
    mark.style.mosaicBlock = 8;
    return mark;
}

}  // namespace

TEST(AnnotatedPng, NoWrittenByteHoldsWhatARedactionOrAMosaicCovers)
{
    CTempFolder folder;
    const RECT redacted{8, 8, 36, 28}, mosaic{44, 20, 76, 52};
    std::vector<Annotation> marks = {CoveringMark(AnnotationKind::kRedact, redacted),
                                     CoveringMark(AnnotationKind::kMosaic, mosaic),
                                     CoveringMark(AnnotationKind::kArrow, RECT{0, 0, 70, 50})};
    CImageDocument document;
    document.Adopt(PictureWithSecrets(80, 60, {redacted, mosaic}), "secret", false, marks);
    ASSERT_NE(0u, SecretPixels(BitmapRgb(document.Image()))) << "the secrets are there to be found";

    CBitmapOwner flattened;
    EXPECT_EQ(0u, SecretPixels(BitmapRgb(document.OutputImage(flattened)))) << "what the clipboard gets";
    for (const char* extension : {"png", "bmp"}) {
        const std::string path = folder.PathOf(std::string("saved.") + extension);
        ASSERT_TRUE(document.Write(FindImageFormat(extension), path.c_str())) << extension;
        EXPECT_EQ(0u, SecretsInBytes(ReadFileBytes(path))) << extension;
    }

    // Reopened, the marks are still there to move, and what they leave shows the cover.
    std::string chunk;
    const std::string path = folder.PathOf("saved.png");
    const CBitmapOwner shown(ReadImageFile(path.c_str(), kPngCode, nullptr, &chunk));
    CBitmapOwner clean;
    std::vector<Annotation> reopened;
    ASSERT_EQ(MarksRestore::kRestored, UnpackAnnotatedImage(chunk, shown.get(), clean, reopened));
    ExpectSameAnnotations(marks, reopened);
    EXPECT_EQ(0u, SecretPixels(BitmapRgb(clean.get())));
    const CBitmapOwner again(FlattenAnnotations(clean.get(), reopened));
    EXPECT_EQ(BitmapRgb(shown.get()), BitmapRgb(again.get())) << "the marks draw as they were saved";
}

// 10 MB, more than libpng keeps of an unknown chunk unless told otherwise (8 MB): what
// the clean picture of a 4K capture may take.
TEST(PngPrivateChunk, TravelsAfterThePixelsAndComesBackWhole)
{
    CTempFolder folder;
    CDib source;
    ASSERT_TRUE(source.Create(40, 30, 32));
    FillTestPattern(source, 5);
    const std::string chunk = PseudoRandomBytes(10000000);
    const std::string path = folder.PathOf("marked.png");
    ASSERT_EQ(1, WritePngFile(source, path.c_str(), CFileReplacement::kReplaceExisting, &chunk));
    EXPECT_EQ(0, RunNativeShell("pngcheck -q '" + UnixPath(path) + "'"));
    const std::string file = ReadFileBytes(path);
    const size_t at = file.find("lgAN");
    ASSERT_NE(std::string::npos, at);
    EXPECT_GT(at, file.rfind("IDAT", at)) << "after the pixels";
    EXPECT_EQ(at + 4 + chunk.size() + 4 + 4, file.rfind("IEND")) << "right before the end";

    CDib read;
    std::string back = "left over";
    ASSERT_EQ(1, ReadPngFile(path.c_str(), read, &back));
    EXPECT_EQ(PictureRgb(source), PictureRgb(read));
    EXPECT_TRUE(back == chunk) << back.size() << " bytes came back";

    const std::string plain = folder.PathOf("plain.png");
    ASSERT_EQ(1, WritePngFile(source, plain.c_str()));
    EXPECT_EQ(std::string::npos, ReadFileBytes(plain).find("lgAN"));
    CDib plainRead;
    ASSERT_EQ(1, ReadPngFile(plain.c_str(), plainRead, &back));
    EXPECT_TRUE(back.empty());
}

TEST(PngPrivateChunk, ADamagedChunkIsLeftOutAndThePictureStillOpens)
{
    CTempFolder folder;
    CDib source;
    ASSERT_TRUE(source.Create(23, 17, 24));
    FillTestPattern(source, 8);
    const std::string chunk = PseudoRandomBytes(3000);
    const std::string path = folder.PathOf("damaged.png");
    ASSERT_EQ(1, WritePngFile(source, path.c_str(), CFileReplacement::kReplaceExisting, &chunk));
    const std::string file = ReadFileBytes(path);
    const size_t data = file.find("lgAN") + 4;

    std::string wrongData = file, wrongChecksum = file, longerThanTheFile = file;
    wrongData[data + 1000] ^= 0x10;
    wrongChecksum[data + chunk.size()] ^= 0x01;
    longerThanTheFile[data - 7] = 0x10;  // the length's second byte: 1 MB more
    const std::pair<const char*, std::string> damaged[] = {
        {"a changed byte", wrongData},
        {"a changed checksum", wrongChecksum},
        {"a length beyond the file", longerThanTheFile},
        {"cut inside the chunk", file.substr(0, data + 100)},
    };
    for (const auto& [name, bytes] : damaged) {
        WriteFileBytes(path, bytes);
        CDib read;
        std::string back = "left over";
        EXPECT_EQ(1, ReadPngFile(path.c_str(), read, &back)) << name;
        EXPECT_EQ(PictureRgb(source), PictureRgb(read)) << name;
        EXPECT_TRUE(back.empty()) << name << ": " << back.size() << " bytes";
    }
}

TEST(PngPrivateChunk, OnlyPngFilesCarryIt)
{
    CTempFolder folder;
    const CBitmapOwner picture = PatternBitmap(20, 10, 3);
    const std::string chunk = "the program's own bytes";
    for (int format = 0; format < kImageFormatCount; ++format) {
        const std::string path = folder.PathOf(std::string("image.") + g_imageFormats[format].extension);
        ASSERT_TRUE(SaveImageFile(picture.get(), format, path.c_str(), CFileReplacement::kReplaceExisting, &chunk))
            << format;
        const bool png = format == kPngCode;
        EXPECT_EQ(png, ReadFileBytes(path).find(chunk) != std::string::npos) << format;
        std::string back = "left over";
        bool incomplete = true;
        const CBitmapOwner read(ReadImageFile(path.c_str(), format, &incomplete, &back));
        ASSERT_TRUE(read) << format;
        EXPECT_FALSE(incomplete);
        EXPECT_EQ(png ? chunk : std::string(), back) << format;
    }
}

TEST(AnnotatedPng, MarksSavedInAPngOpenEditableOverTheCleanPicture)
{
    CTempFolder folder;
    const CBitmapOwner clean = PatternBitmap(64, 48, 1);
    const CBitmapOwner flattened = PatternBitmap(64, 48, 2);
    const std::vector<Annotation> objects = AnnotationsOfEveryKind();
    std::string chunk;
    ASSERT_TRUE(PackAnnotatedImage(clean.get(), flattened.get(), objects, chunk));
    const std::string path = folder.PathOf("marked.png");
    ASSERT_TRUE(SaveImageFile(flattened.get(), kPngCode, path.c_str(), CFileReplacement::kReplaceExisting, &chunk));

    std::string read;
    const CBitmapOwner shown(ReadImageFile(path.c_str(), kPngCode, nullptr, &read));
    ASSERT_TRUE(shown);
    EXPECT_EQ(BitmapRgb(flattened.get()), BitmapRgb(shown.get())) << "other programs see the marks drawn";
    CBitmapOwner restored;
    std::vector<Annotation> restoredObjects;
    ASSERT_EQ(MarksRestore::kRestored, UnpackAnnotatedImage(read, shown.get(), restored, restoredObjects));
    ASSERT_TRUE(restored);
    // Left of the mosaics and below the redaction nothing covers the clean picture.
    const auto uncovered = [](HBITMAP bitmap) {
        CDib dib;
        EXPECT_TRUE(dib.FromBitmap(bitmap));
        std::vector<BYTE> rgb = PictureRgb(dib), corner;
        for (int y = 32; y < 48; ++y)
            corner.insert(corner.end(), &rgb[(y * 64) * 3], &rgb[(y * 64 + 20) * 3]);
        return corner;
    };
    EXPECT_EQ(uncovered(clean.get()), uncovered(restored.get()));
    ExpectSameAnnotations(objects, restoredObjects);
    BITMAP kind = {}, readKind = {};
    GetObject(restored.get(), sizeof kind, &kind);
    GetObject(shown.get(), sizeof readKind, &readKind);
    EXPECT_EQ(readKind.bmBitsPixel, kind.bmBitsPixel) << "the kind of bitmap a file opens as";
    EXPECT_NE(nullptr, kind.bmBits) << "a DIB section, as a file opens as";
    EXPECT_NE(nullptr, readKind.bmBits) << "a DIB section, as a file opens as";
}

TEST(AnnotatedPng, AChunkIsRefusedForPixelsItWasNotWrittenWith)
{
    const CBitmapOwner clean = PatternBitmap(30, 20, 1);
    const CBitmapOwner flattened = PatternBitmap(30, 20, 2);
    std::string chunk;
    ASSERT_TRUE(PackAnnotatedImage(clean.get(), flattened.get(), AnnotationsOfEveryKind(), chunk));

    const CBitmapOwner edited = PatternBitmap(30, 20, 2);
    ChangePixel(edited.get(), 29, 19);
    const CBitmapOwner otherSize = PatternBitmap(30, 21, 2);
    CBitmapOwner restored(PatternBitmap(2, 2, 0));
    const HBITMAP before = restored.get();
    std::vector<Annotation> objects(3);
    for (HBITMAP shown : {edited.get(), otherSize.get(), clean.get()}) {
        EXPECT_EQ(MarksRestore::kOtherPicture, UnpackAnnotatedImage(chunk, shown, restored, objects));
        EXPECT_EQ(before, restored.get()) << "unchanged";
        EXPECT_EQ(3u, objects.size()) << "unchanged";
    }
    EXPECT_EQ(MarksRestore::kRestored, UnpackAnnotatedImage(chunk, flattened.get(), restored, objects));

    // A clean picture of another size than the one shown.
    const CBitmapOwner wider = PatternBitmap(31, 20, 1);
    std::string widerChunk;
    ASSERT_TRUE(PackAnnotatedImage(wider.get(), wider.get(), {}, widerChunk));
    const std::string mismatched = WithCleanPictureOf(chunk, widerChunk);
    EXPECT_EQ(MarksRestore::kRestored,
              UnpackAnnotatedImage(WithCleanPictureOf(chunk, chunk), flattened.get(), restored, objects));
    // Meant for these pixels but damaged: the caller says the marks are lost.
    EXPECT_EQ(MarksRestore::kFailed, UnpackAnnotatedImage(mismatched, flattened.get(), restored, objects));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    std::string newer = chunk;
    newer[4] = 2;
    EXPECT_EQ(MarksRestore::kFailed, UnpackAnnotatedImage(newer, flattened.get(), restored, objects));
}

TEST(AnnotatedPng, PackingSaysWhyItCannot)
{
    const CBitmapOwner clean = PatternBitmap(30, 20, 1);
    const CBitmapOwner smaller = PatternBitmap(30, 19, 2);
    std::string chunk = "unchanged";
    EXPECT_FALSE(PackAnnotatedImage(clean.get(), smaller.get(), {}, chunk));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    std::vector<Annotation> unstorable = AnnotationsOfEveryKind();
    unstorable[3].style.width = 25;
    EXPECT_FALSE(PackAnnotatedImage(clean.get(), clean.get(), unstorable, chunk));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    EXPECT_FALSE(PackAnnotatedImage(nullptr, clean.get(), {}, chunk));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    EXPECT_EQ("unchanged", chunk);
}
