#include <gtest/gtest.h>

#include <windows.h>

#include <malloc.h>

#include <string>
#include <vector>

#include "CodecTestFiles.h"
#include "TestRandom.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/ImageReadResult.h"
#include "imageio/JpegFile.h"
#include "imageio/PngFile.h"

// Damaged files must fail cleanly: every read returns 0 or 1, nothing crashes or hangs,
// and neither memory nor handles are left behind.

namespace {

// One damage of a few kinds: bytes changed, the file cut, or a header field of 2 or 4
// bytes set to an extreme value (sizes, offsets, counts, lengths of segments).
std::string Damaged(const std::string& original, CTestRandom& random, size_t headerBytes)
{
    std::string bytes = original;
    switch (random.Next(4)) {
    case 0:
        for (uint32_t n = 1 + random.Next(4); n > 0; --n)
            bytes[random.Next(static_cast<uint32_t>(bytes.size()))] = static_cast<char>(random.Next(256));
        break;
    case 1:
        bytes.resize(random.Next(static_cast<uint32_t>(bytes.size())));
        break;
    default: {
        static const uint32_t extremes[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF,
                                            0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x10000};
        const uint32_t value = extremes[random.Next(sizeof extremes / sizeof extremes[0])];
        const size_t width = random.Next(2) ? 4 : 2;
        const size_t limit = std::min(headerBytes, bytes.size()) - width;
        const size_t at = random.Next(static_cast<uint32_t>(limit));
        for (size_t i = 0; i < width; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * (random.Next(2) ? i : width - 1 - i)));
        break;
    }
    }
    return bytes;
}

size_t HeapBytesInUse()
{
    _HEAPINFO entry = {};
    size_t used = 0;
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY)
            used += entry._size;
    return used;
}

using ReadFunction = int (*)(const char*, CDib&);

struct Damages {
    int loaded = 0;
    int refused = 0;
    int other = 0;
};

void ReadDamagedCopies(const std::vector<std::string>& originals, ReadFunction read, int copiesEach, size_t headerBytes,
                       const std::string& path, Damages& damages)
{
    CTestRandom random(20240611);
    for (const std::string& original : originals) {
        for (int i = 0; i < copiesEach; ++i) {
            WriteFileBytes(path, Damaged(original, random, headerBytes));
            CDib dib;
            const int result = read(path.c_str(), dib);
            (result == kImageReadWhole || result == kImageReadIncomplete ? damages.loaded
             : result == kImageReadFailed                              ? damages.refused
                                                                       : damages.other)++;
        }
    }
}

std::vector<std::string> SampleBmpFiles(const CTempFolder& folder)
{
    std::vector<std::string> files;
    const std::string path = folder.PathOf("sample.bmp");
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        CDib dib;
        EXPECT_TRUE(dib.Create(11, bits % 3 ? 7 : -7, bits));
        FillTestPattern(dib, bits);
        EXPECT_EQ(1, WriteBmpFile(dib, path.c_str()));
        files.push_back(ReadFileBytes(path));
    }
    files.push_back(ReadFileBytes(FixturePath("core-8.bmp")));
    files.push_back(ReadFileBytes(FixturePath("core-24.bmp")));
    return files;
}

// 16- and 32-bit files with channel masks: after a 40-byte header, and inside 108- and
// 124-byte ones.
std::vector<std::string> SampleMaskedBmpFiles()
{
    std::vector<std::string> files;
    CTestRandom random(7);
    for (DWORD headerSize : {40u, 108u, 124u}) {
        for (WORD bits : {16, 32}) {
            const std::string masks = bits == 16 ? Le(0xF800, 4) + Le(0x07E0, 4) + Le(0x001F, 4)
                                                 : Le(0x3FF00000, 4) + Le(0x000FFC00, 4) + Le(0x000003FF, 4);
            BmpLayout layout;
            layout.headerSize = headerSize;
            layout.width = 11;
            layout.height = headerSize == 108 ? -7 : 7;
            layout.bits = bits;
            layout.compression = BI_BITFIELDS;
            layout.table = headerSize == 40 ? masks : "";
            for (int i = (bits == 16 ? 24 : 44) * 7; i > 0; --i)
                layout.pixels += static_cast<char>(random.Next(256));
            std::string bytes = BmpBytes(layout);
            bytes.replace(14 + 40, masks.size(), masks);
            files.push_back(bytes);
        }
    }
    return files;
}

std::vector<std::string> SampleJpegFiles()
{
    std::vector<std::string> files;
    for (const char* name : {"colour.jpg", "progressive.jpg", "restart.jpg", "grey.jpg", "cmyk.jpg"})
        files.push_back(ReadFileBytes(FixturePath(name)));
    return files;
}

std::vector<std::string> SamplePngFiles()
{
    std::vector<std::string> files;
    for (const char* name : {"png-0-1.png", "png-0-16-trns-i.png", "png-2-8.png", "png-3-4-trns.png", "png-4-8-i.png",
                             "png-6-16.png"})
        files.push_back(ReadFileBytes(FixturePath(name)));
    return files;
}

// A PNG with the program's own chunk after the pixels, and its reading with that chunk:
// damage after the pixels reaches the reading of the chunks there.
std::string SamplePngFileWithPrivateChunk(const CTempFolder& folder)
{
    CDib dib;
    EXPECT_TRUE(dib.Create(24, 16, 24));
    FillTestPattern(dib, 4);
    std::string chunk;
    for (int i = 0; i < 1500; ++i)
        chunk += static_cast<char>(i * 7);
    const std::string path = folder.PathOf("sample.png");
    EXPECT_EQ(1, WritePngFile(dib, path.c_str(), CFileReplacement::kReplaceExisting, &chunk));
    return ReadFileBytes(path);
}

int ReadPngFileWithPrivateChunk(const char* path, CDib& dib)
{
    std::string chunk;
    return ReadPngFile(path, dib, &chunk);
}

}  // namespace

TEST(ImageFileMutation, DamagedFilesFailCleanlyWithoutLeaks)
{
    // File header, the longest info header and masks after it.
    constexpr size_t kMaskedHeaderBytes = 14 + 124 + 12;
    CTempFolder folder;
    const std::string path = folder.PathOf("damaged");
    const std::vector<std::string> bmpFiles = SampleBmpFiles(folder);
    const std::vector<std::string> maskedBmpFiles = SampleMaskedBmpFiles();
    const std::vector<std::string> jpegFiles = SampleJpegFiles();
    const std::vector<std::string> pngFiles = SamplePngFiles();
    const std::vector<std::string> pngFilesWithChunk = {SamplePngFileWithPrivateChunk(folder)};
    // Field edits anywhere in the file, the chunk's length too.
    const size_t chunkFileBytes = pngFilesWithChunk[0].size();

    // A first round lets the runtime and the system make whatever they keep for good.
    Damages warmUp;
    ReadDamagedCopies(bmpFiles, ReadBmpFile, 3, 70, path, warmUp);
    ReadDamagedCopies(maskedBmpFiles, ReadBmpFile, 3, kMaskedHeaderBytes, path, warmUp);
    ReadDamagedCopies(jpegFiles, ReadJpegFile, 3, 700, path, warmUp);
    ReadDamagedCopies(pngFiles, ReadPngFile, 3, 120, path, warmUp);
    ReadDamagedCopies(pngFilesWithChunk, ReadPngFileWithPrivateChunk, 3, chunkFileBytes, path, warmUp);
    const size_t heapBefore = HeapBytesInUse();
    DWORD handlesBefore = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesBefore));

    Damages bmp, maskedBmp, jpeg, png, pngWithChunk;
    ReadDamagedCopies(bmpFiles, ReadBmpFile, 100, 70, path, bmp);
    ReadDamagedCopies(maskedBmpFiles, ReadBmpFile, 340, kMaskedHeaderBytes, path, maskedBmp);
    ReadDamagedCopies(jpegFiles, ReadJpegFile, 240, 700, path, jpeg);
    ReadDamagedCopies(pngFiles, ReadPngFile, 340, 120, path, png);
    ReadDamagedCopies(pngFilesWithChunk, ReadPngFileWithPrivateChunk, 400, chunkFileBytes, path, pngWithChunk);

    EXPECT_EQ(0, bmp.other);
    EXPECT_EQ(0, maskedBmp.other);
    EXPECT_EQ(0, jpeg.other);
    EXPECT_EQ(0, png.other);
    EXPECT_EQ(0, pngWithChunk.other);
    // Both outcomes occur, so the damage reaches past the first checks and into the decoders.
    EXPECT_GT(bmp.loaded, 100);
    EXPECT_GT(bmp.refused, 100);
    EXPECT_GT(maskedBmp.loaded, 100);
    EXPECT_GT(maskedBmp.refused, 100);
    EXPECT_GT(jpeg.loaded, 100);
    EXPECT_GT(jpeg.refused, 100);
    EXPECT_GT(png.loaded, 100);
    EXPECT_GT(png.refused, 100);
    EXPECT_GT(pngWithChunk.loaded, 100);
    EXPECT_GT(pngWithChunk.refused, 100);
    EXPECT_EQ(heapBefore, HeapBytesInUse());
    DWORD handlesAfter = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
    EXPECT_EQ(handlesBefore, handlesAfter);
}
