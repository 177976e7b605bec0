#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <zlib.h>

#include <cstring>
#include <string>

#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "PnmImage.h"
#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageReadResult.h"
#include "imageio/PngFile.h"

namespace {

std::string BigEndianBytes(uint32_t value)
{
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// The file with its header's width and height replaced and the header's checksum made
// right again, so that only the size can be the reason for a refusal.
std::string WithSize(std::string png, uint32_t width, uint32_t height)
{
    png.replace(16, 8, BigEndianBytes(width) + BigEndianBytes(height));
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    png.replace(29, 4, BigEndianBytes(static_cast<uint32_t>(crc)));
    return png;
}

int ReadPngBytes(const std::string& path, const std::string& bytes, CDib& dib)
{
    WriteFileBytes(path, bytes);
    return ReadPngFile(path.c_str(), dib);
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    EXPECT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters));
    return counters.PeakWorkingSetSize;
}

}  // namespace

TEST(PngFile, ReadsEveryColourTypeDepthAndInterlaceAsImageMagickShowsThem)
{
    // Colour type, bit depth and transparency of the files the fixture script writes.
    struct Case {
        int type;
        int depth;
        bool trns;
    };
    const Case cases[] = {{0, 1, false},  {0, 2, false}, {0, 4, false}, {0, 8, false},  {0, 16, false},
                          {0, 8, true},   {0, 16, true}, {2, 8, false}, {2, 16, false}, {2, 8, true},
                          {2, 16, true},  {3, 1, false}, {3, 2, false}, {3, 4, false},  {3, 8, false},
                          {3, 4, true},   {3, 8, true},  {4, 8, false}, {4, 16, false}, {6, 8, false},
                          {6, 16, false}};
    for (const Case& c : cases) {
        for (int interlaced : {0, 1}) {
            const std::string name = "png-" + std::to_string(c.type) + "-" + std::to_string(c.depth) +
                                     (c.trns ? "-trns" : "") + (interlaced ? "-i" : "") + ".png";
            const std::string bytes = ReadFileBytes(FixturePath(name.c_str()));
            ASSERT_GT(bytes.size(), 33u) << name;
            EXPECT_EQ(c.depth, bytes[24]) << name << ": the fixture has the depth it is named for";
            EXPECT_EQ(c.type, bytes[25]) << name;
            EXPECT_EQ(interlaced, bytes[28]) << name;
            EXPECT_EQ(c.trns, bytes.find("tRNS") != std::string::npos) << name;

            CDib dib;
            ASSERT_EQ(1, ReadPngFile(FixturePath(name.c_str()).c_str(), dib)) << name;
            EXPECT_TRUE(IsTopDown32(dib)) << name;
            PnmImage expected;
            ASSERT_TRUE(ReadPnmFile(FixturePath(name.c_str()) + ".pnm", expected)) << name;
            ASSERT_EQ(expected.width, dib.GetWidth()) << name;
            ASSERT_EQ(expected.height, dib.GetRowCount()) << name;
            // 16-bit samples and blends with white may round the other way.
            EXPECT_LE(LargestSampleDifference(expected.rgb, PictureRgb(dib)), 1) << name;
        }
    }
}

TEST(PngFile, RefusesOtherFilesAndOversizeHeadersBeforeAllocating)
{
    const std::string png = ReadFileBytes(FixturePath("png-2-8.png"));
    CTempFolder folder;
    const std::string path = folder.PathOf("in.png");
    for (const std::string& bytes : {std::string(), std::string("\x89PNG"), std::string("GIF89a"),
                                     "\x89PNG\r\n\x1A\x0D" + png.substr(8), png.substr(0, 20)}) {
        CDib dib;
        EXPECT_EQ(0, ReadPngBytes(path, bytes, dib)) << bytes.size() << " bytes";
        EXPECT_TRUE(dib.IsEmpty()) << bytes.size() << " bytes";
    }

    CDib dib;
    EXPECT_EQ(0, ReadPngBytes(path, WithSize(png, 16384, 5462), dib));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError()) << "said to be too large, not damaged";
    EXPECT_TRUE(dib.IsEmpty());
    CDib missing;
    EXPECT_EQ(0, ReadPngFile("C:\\no such folder\\none.png", missing));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
}

TEST(PngFile, AFileCutOffAmongThePixelsLoadsTheRowsBeforeTheCut)
{
    CDib source;
    ASSERT_TRUE(source.Create(300, 200, 24));
    FillTestPattern(source, 9);
    CTempFolder folder;
    const std::string path = folder.PathOf("cut.png");
    ASSERT_EQ(1, WritePngFile(source, path.c_str()));
    const std::string whole = ReadFileBytes(path);
    CDib cut;
    ASSERT_EQ(kImageReadIncomplete, ReadPngBytes(path, whole.substr(0, whole.size() / 2), cut));
    ASSERT_EQ(300, cut.GetWidth());
    ASSERT_EQ(-200, cut.GetHeight());
    const std::vector<BYTE> expected = PictureRgb(source);
    const std::vector<BYTE> rgb = PictureRgb(cut);
    const size_t row = 3 * 300;
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 50 * row, rgb.begin())) << "the first quarter";
    EXPECT_EQ(std::vector<BYTE>(row, 128), std::vector<BYTE>(rgb.end() - row, rgb.end())) << "the last row is grey";
}

// 43 bytes: the header chunk, then a text chunk that claims 2 GiB and holds two bytes.
TEST(PngFile, ATextChunkClaimingGigabytesIsRefusedWithoutTakingThem)
{
    const std::string header = ReadFileBytes(FixturePath("png-2-8.png")).substr(0, 33);
    CTempFolder folder;
    const std::string path = folder.PathOf("text.png");
    for (const char* type : {"tEXt", "iTXt", "zTXt"}) {
        const size_t peakBefore = PeakWorkingSet();
        CDib dib;
        EXPECT_EQ(0, ReadPngBytes(path, header + BigEndianBytes(0x7FFFFFFF) + type + "ab", dib)) << type;
        EXPECT_LT(PeakWorkingSet() - peakBefore, size_t(64) << 20) << type << ": no more memory than the file could fill";
    }
}

TEST(PngFile, WritesRgbThatPngcheckAcceptsAndImageMagickReadsAsOurPixels)
{
    CTempFolder folder;
    for (int bits : {16, 24, 32}) {
        CDib source;
        ASSERT_TRUE(source.Create(37, bits == 24 ? -23 : 23, bits));
        FillTestPattern(source, static_cast<unsigned>(bits));
        source.GetInfo()->biXPelsPerMeter = 3780;
        source.GetInfo()->biYPelsPerMeter = 2835;
        const std::vector<BYTE> before(source.GetBits(), source.GetBits() + source.GetImageSize());
        const std::string path = folder.PathOf("ours.png");
        ASSERT_EQ(1, WritePngFile(source, path.c_str())) << bits;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), source.GetBits())) << "the CDib is not changed";

        const std::string file = ReadFileBytes(path);
        EXPECT_EQ(std::string("\x08\x02\x00\x00\x00", 5), file.substr(24, 5)) << bits << ": 8-bit RGB, not interlaced";
        EXPECT_EQ(0, RunNativeShell("pngcheck -q '" + UnixPath(path) + "'")) << bits;
        const std::string decoded = folder.PathOf("ours.pnm");
        ASSERT_EQ(0, RunNativeShell("convert '" + UnixPath(path) + "' -depth 8 'ppm:" + UnixPath(decoded) + "'"));
        PnmImage magick;
        ASSERT_TRUE(ReadPnmFile(decoded, magick));
        EXPECT_EQ(0, LargestSampleDifference(PictureRgb(source), magick.rgb)) << bits << " bits";

        CDib read;
        ASSERT_EQ(1, ReadPngFile(path.c_str(), read));
        EXPECT_EQ(PictureRgb(source), PictureRgb(read)) << bits << " bits";
        EXPECT_EQ(3780, read.GetInfo()->biXPelsPerMeter) << "the density travels in pHYs";
        EXPECT_EQ(2835, read.GetInfo()->biYPelsPerMeter);
    }
}

TEST(PngFile, WriteFailuresLeaveTheEarlierFileAndReturnZero)
{
    CTempFolder folder;
    CDib dib;
    ASSERT_TRUE(dib.Create(64, 48, 32));
    FillTestPattern(dib, 3);
    EXPECT_EQ(0, WritePngFile(dib, folder.PathOf("missing\\a.png").c_str()));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError()) << "the reason reaches the caller";
    const std::string taken = folder.PathOf("taken.png");
    WriteFileBytes(taken, "earlier");
    EXPECT_EQ(0, WritePngFile(dib, taken.c_str(), CFileReplacement::kCreateNew));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ("earlier", ReadFileBytes(taken));
    CDib empty;
    EXPECT_EQ(0, WritePngFile(empty, folder.PathOf("empty.png").c_str()));
}
