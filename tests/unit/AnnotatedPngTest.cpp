#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnnotationTestObjects.h"
#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "annotate/AnnotatedPng.h"
#include "annotate/AnnotationCodec.h"
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

}  // namespace

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
    ASSERT_TRUE(UnpackAnnotatedImage(read, shown.get(), restored, restoredObjects));
    ASSERT_TRUE(restored);
    EXPECT_EQ(BitmapRgb(clean.get()), BitmapRgb(restored.get()));
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
        EXPECT_FALSE(UnpackAnnotatedImage(chunk, shown, restored, objects));
        EXPECT_EQ(before, restored.get()) << "unchanged";
        EXPECT_EQ(3u, objects.size()) << "unchanged";
    }
    EXPECT_TRUE(UnpackAnnotatedImage(chunk, flattened.get(), restored, objects));

    // A clean picture of another size than the one shown.
    const CBitmapOwner wider = PatternBitmap(31, 20, 1);
    std::string widerChunk;
    ASSERT_TRUE(PackAnnotatedImage(wider.get(), wider.get(), {}, widerChunk));
    const std::string mismatched = WithCleanPictureOf(chunk, widerChunk);
    EXPECT_TRUE(UnpackAnnotatedImage(WithCleanPictureOf(chunk, chunk), flattened.get(), restored, objects));
    EXPECT_FALSE(UnpackAnnotatedImage(mismatched, flattened.get(), restored, objects));
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
