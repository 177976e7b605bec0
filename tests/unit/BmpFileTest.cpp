#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "PnmImage.h"
#include "imageio/ImageFormats.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"

namespace {

BmpLayout OneRowImage(DWORD headerSize, int width, WORD bits, const std::string& table, const std::string& pixels)
{
    BmpLayout layout;
    layout.headerSize = headerSize;
    layout.width = width;
    layout.height = 1;
    layout.bits = bits;
    layout.table = table;
    layout.pixels = pixels;
    return layout;
}

int ReadBytes(const std::string& bytes, CDib& dib)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("in.bmp");
    WriteFileBytes(path, bytes);
    return ReadBmpFile(path.c_str(), dib);
}

std::string Pixels(const CDib& dib)
{
    return std::string(reinterpret_cast<const char*>(dib.GetBits()), dib.GetImageSize());
}

}  // namespace

TEST(BmpFile, WritesTheHeadersAndBlockAsHeld)
{
    CTempFolder folder;
    struct Case { int width, height, bits; DWORD fileSize; } cases[] = {{3, 2, 24, 78}, {3, 2, 32, 78}};
    for (const Case& c : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Create(c.width, c.height, c.bits));
        FillTestPattern(dib, 3);
        // GDI leaves the fourth byte of 32-bit pixels 0; other programs read it as alpha.
        std::string pixels = Pixels(dib);
        for (size_t i = 3; c.bits == 32 && i < pixels.size(); i += 4) {
            dib.GetBits()[i] = 0;
            pixels[i] = '\xFF';
        }
        const std::string path = folder.PathOf("out.bmp");
        ASSERT_EQ(1, WriteBmpFile(dib, path.c_str()));
        const std::string file = ReadFileBytes(path);
        const std::string expected = "BM" + Le(c.fileSize, 4) + Le(0, 4) + Le(54, 4) +
                                     std::string(reinterpret_cast<const char*>(dib.GetInfo()), 40) + pixels;
        EXPECT_EQ(expected, file) << c.width << "x" << c.height;
        CDib read;
        ASSERT_EQ(1, ReadBmpFile(path.c_str(), read));
        EXPECT_EQ(PictureRgb(dib), PictureRgb(read));
    }
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 24));
    EXPECT_EQ(12, dib.GetStride());
}

TEST(BmpFile, ReadsBackEveryDepthAndOrientationItWrites)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("round.bmp");
    for (int bits : {1, 2, 4, 8, 16, 24, 32}) {
        for (int height : {7, -7}) {
            CDib written;
            ASSERT_TRUE(written.Create(13, height, bits));
            FillTestPattern(written, bits);
            ASSERT_EQ(1, WriteBmpFile(written, path.c_str()));

            CDib read;
            ASSERT_EQ(1, ReadBmpFile(path.c_str(), read)) << bits << " bits, height " << height;
            EXPECT_EQ(13, read.GetWidth());
            EXPECT_EQ(7, read.GetRowCount());
            EXPECT_TRUE(IsTopDown32(read)) << bits << " bits, height " << height;
            EXPECT_EQ(PictureRgb(written), PictureRgb(read)) << bits << " bits, height " << height;
        }
    }
}

TEST(BmpFile, OverwritingALongerFileLeavesNoStaleBytes)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("old.bmp");
    WriteFileBytes(path, std::string(5000, 'x'));
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 24));
    FillTestPattern(dib, 1);
    ASSERT_EQ(1, WriteBmpFile(dib, path.c_str()));
    EXPECT_EQ(78u, ReadFileBytes(path).size());
}

TEST(BmpFile, WriteFailuresReturnZero)
{
    CTempFolder folder;
    CDib dib;
    ASSERT_TRUE(dib.Create(300, 200, 24));
    FillTestPattern(dib, 1);
    const std::string folderAsFile = folder.PathOf("sub");
    ASSERT_TRUE(CreateDirectoryA(folderAsFile.c_str(), nullptr));
    EXPECT_EQ(0, WriteBmpFile(dib, folderAsFile.c_str()));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folderAsFile.c_str())) << "the folder is still there";
    RemoveDirectoryA(folderAsFile.c_str());
    EXPECT_EQ(0, WriteBmpFile(dib, folder.PathOf("missing\\a.bmp").c_str()));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError()) << "the reason reaches the caller";
    CDib empty;
    EXPECT_EQ(0, WriteBmpFile(empty, folder.PathOf("empty.bmp").c_str()));
}

TEST(BmpFile, RefusesFilesItDoesNotUnderstand)
{
    CDib dib;
    EXPECT_EQ(0, ReadBmpFile("C:\\no such folder\\none.bmp", dib));

    BmpLayout good;
    good.pixels = std::string(16, 'p');
    std::string notBm = BmpBytes(good);
    notBm[0] = 'M';
    EXPECT_EQ(0, ReadBytes(notBm, dib));
    EXPECT_TRUE(dib.IsEmpty()) << "nothing is allocated before the signature is checked";
    EXPECT_EQ(0, ReadBytes(BmpBytes(good).substr(0, 17), dib));
    EXPECT_TRUE(dib.IsEmpty());

    struct Case { const char* what; DWORD headerSize; int width, height; WORD bits; DWORD compression; } cases[] = {
        {"header of 64 bytes", 64, 2, 2, 24, BI_RGB},
        {"24 bits stored as JPEG", 40, 2, 2, 24, BI_JPEG},
        {"3 bits", 40, 2, 2, 3, BI_RGB},
        {"core header, 16 bits", 12, 2, 2, 16, BI_RGB},
        {"core header, 2 bits", 12, 2, 2, 2, BI_RGB},
        {"run-length 8 bits", 40, 2, 2, 8, BI_RLE8},
        {"run-length 4 bits", 40, 2, 2, 4, BI_RLE4},
        {"negative width", 40, -2, 2, 24, BI_RGB},
        {"zero width", 40, 0, 2, 24, BI_RGB},
        {"zero height", 40, 2, 0, 24, BI_RGB},
        {"block beyond 32 bits", 40, 0x7FFFFFFF, 0x7FFFFFFF, 32, BI_RGB},
        {"most negative height", 40, 2, INT_MIN, 24, BI_RGB},
        {"more pixels than the file holds", 40, 20000, 20000, 24, BI_RGB},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.headerSize = c.headerSize;
        layout.width = c.width;
        layout.height = c.height;
        layout.bits = c.bits;
        layout.compression = c.compression;
        layout.table = std::string(c.bits <= 8 ? 4 << c.bits : 0, '\0');
        layout.pixels = std::string(64, 'p');
        CDib refused;
        EXPECT_EQ(0, ReadBytes(BmpBytes(layout), refused)) << c.what;
        EXPECT_TRUE(refused.IsEmpty()) << c.what << ": sizes are checked before allocating";
    }
    CDib rle;
    EXPECT_EQ(0, ReadBmpFile(FixturePath("rle-8.bmp").c_str(), rle));
}

TEST(BmpFile, ShortPixelDataFails)
{
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.pixels = std::string(23, 'p');  // one byte short of 2 rows of 12
    CDib dib;
    EXPECT_EQ(0, ReadBytes(BmpBytes(layout), dib));
    layout.pixels += 'p';
    EXPECT_EQ(1, ReadBytes(BmpBytes(layout), dib));

    BmpLayout farOffset = layout;
    farOffset.offBits = 54;
    std::string bytes = BmpBytes(farOffset);
    bytes.replace(10, 4, Le(60, 4));  // pixels said to start 6 bytes further on
    CDib shifted;
    EXPECT_EQ(0, ReadBytes(bytes, shifted));
}

TEST(BmpFile, CoreHeaderPaletteOfTriplesBecomesQuads)
{
    BmpLayout layout;
    layout.headerSize = 12;
    layout.width = 4;
    layout.height = 2;
    layout.bits = 8;
    for (int i = 0; i < 256; ++i)
        layout.table += {char(i), char(255 - i), char(i ^ 0x55)};
    layout.pixels = "\x01\x02\x03\x04\xFF\xFE\xFD\xFC";
    CDib dib;
    ASSERT_EQ(1, ReadBytes(BmpBytes(layout), dib));
    EXPECT_TRUE(IsTopDown32(dib));
    std::string expected;
    for (int i : {0xFF, 0xFE, 0xFD, 0xFC, 1, 2, 3, 4})  // the top row first
        expected += {char(i), char(255 - i), char(i ^ 0x55), '\0'};
    EXPECT_EQ(expected, Pixels(dib));
}

// GDI makes no bitmap of 2-bit pixels; such a file opens through its colour table as the
// other palette depths do. Odd width: the padding bits and bytes of each row are skipped.
TEST(BmpFile, TwoBitFileOpensWithItsFourColours)
{
    BmpLayout layout;
    layout.width = 5;
    layout.height = 2;
    layout.bits = 2;
    layout.table = std::string("\x10\x20\x30\x00\x40\x50\x60\x00\x70\x80\x90\x00\xA0\xB0\xC0\x00", 16);
    // Bottom row 0 1 2 3 0, top row 3 2 1 0 1.
    layout.pixels = std::string("\x1B\x3F\xAA\x55\xE4\x7F\xFF\xFF", 8);
    CTempFolder folder;
    const std::string path = folder.PathOf("two-bit.bmp");
    WriteFileBytes(path, BmpBytes(layout));
    const HBITMAP bitmap = ReadImageFile(path.c_str(), 1);
    ASSERT_NE(nullptr, bitmap) << GetLastError();
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 5, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD pixels[10] = {};
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(2, GetDIBits(screen, bitmap, 0, 2, pixels, &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    const DWORD colour[4] = {0x302010, 0x605040, 0x908070, 0xC0B0A0};
    const DWORD expected[10] = {colour[3], colour[2], colour[1], colour[0], colour[1],
                                colour[0], colour[1], colour[2], colour[3], colour[0]};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], pixels[i] & 0xFFFFFF) << "pixel " << i % 5 << " of row " << i / 5 << " from the top";
}

TEST(BmpFile, TopDownFileKeepsItsRowsInFileOrder)
{
    BmpLayout layout;
    layout.width = 1;
    layout.height = -3;
    layout.pixels = std::string("\x01\x02\x03\x00\x04\x05\x06\x00\x07\x08\x09\x00", 12);
    CDib dib;
    ASSERT_EQ(1, ReadBytes(BmpBytes(layout), dib));
    EXPECT_EQ(-3, dib.GetHeight());
    EXPECT_EQ(layout.pixels, Pixels(dib)) << "one 24-bit pixel and its padding read as one 32-bit pixel";
    CDibRowCursor row(dib);
    EXPECT_EQ(1, row.GetRow()[0]) << "the first row of a top-down file is the top of the picture";
}

TEST(BmpFile, LongerInfoHeadersReadTheirTableAfterTheHeader)
{
    BmpLayout palette;
    palette.headerSize = 52;
    palette.width = 2;
    palette.height = 1;
    palette.bits = 1;
    palette.table = std::string("\x01\x02\x03\x00\x04\x05\x06\x00", 8);
    palette.pixels = std::string("\x40\0\0\0", 4);
    CDib mono;
    ASSERT_EQ(1, ReadBytes(BmpBytes(palette), mono));
    EXPECT_EQ(std::string("\x01\x02\x03\0\x04\x05\x06\0", 8), Pixels(mono));
}

// Masks after a 40-byte header or inside a longer one; each channel scaled to 8 bits.
TEST(BmpFile, BitFieldMasksAreAppliedAndUnusableOnesRefused)
{
    auto masked = [](DWORD headerSize, WORD bits, DWORD red, DWORD green, DWORD blue, const std::string& pixels) {
        BmpLayout layout;
        layout.headerSize = headerSize;
        layout.width = 2;
        layout.height = -1;
        layout.bits = bits;
        layout.compression = BI_BITFIELDS;
        layout.table = headerSize == 40 ? Le(red, 4) + Le(green, 4) + Le(blue, 4) : "";
        layout.pixels = pixels;
        std::string bytes = BmpBytes(layout);
        bytes.replace(54, 12, Le(red, 4) + Le(green, 4) + Le(blue, 4));
        return bytes;
    };
    CDib swapped;
    ASSERT_EQ(1, ReadBytes(masked(56, 32, 0xFF, 0xFF00, 0xFF0000, "\x11\x22\x33\x44\x55\x66\x77\x88"), swapped));
    EXPECT_TRUE(IsTopDown32(swapped));
    EXPECT_EQ(std::string("\x33\x22\x11\0\x77\x66\x55\0", 8), Pixels(swapped));

    // Grey 128 in 5-6-5 is 16, 32, 16, whose bits repeat to fill 8; of ten bits the top 8 count.
    CDib fiveSixFive;
    ASSERT_EQ(1, ReadBytes(masked(40, 16, 0xF800, 0x07E0, 0x001F, Le(16 << 11 | 32 << 5 | 16, 2) + Le(0xFFFF, 2)),
                           fiveSixFive));
    EXPECT_EQ(std::string("\x84\x82\x84\0\xFF\xFF\xFF\0", 8), Pixels(fiveSixFive));
    CDib tenBits;
    ASSERT_EQ(1, ReadBytes(masked(124, 32, 0xFFC00000, 0x003FF000, 0x00000FFC, Le(0x80200802, 4) + Le(0, 4)), tenBits));
    EXPECT_EQ(std::string("\x80\x80\x80\0\0\0\0\0", 8), Pixels(tenBits));

    for (const std::string& bytes : {masked(40, 16, 0, 0x07E0, 0x001F, "1234"), masked(56, 32, 0xFF00, 0xFFF0, 0xF, "12345678"),
                                     masked(40, 32, 0xFF0F00, 0xF000, 0xFF, "12345678"),
                                     masked(40, 16, 0x1F0000, 0x07E0, 0x001F, "1234"),
                                     masked(40, 24, 0xFF0000, 0xFF00, 0xFF, "123456\0\0")}) {
        CDib refused;
        EXPECT_EQ(0, ReadBytes(bytes, refused)) << "zero, overlapping, broken, too wide or 24-bit masks";
    }
}

// Tools write only the colours a picture uses; a tiny picture has too few bytes after
// its short table to stand in for a full one.
TEST(BmpFile, AShortPaletteFillsTheStartOfTheTable)
{
    for (DWORD headerSize : {40u, 124u}) {
        const BmpLayout twoColours = OneRowImage(headerSize, 2, 8, std::string("\x01\x02\x03\0\x04\x05\x06\0", 8),
                                                 std::string("\x01\xC7\0\0", 4));
        std::string bytes = BmpBytes(twoColours);
        bytes.replace(14 + 32, 4, Le(2, 4));
        CDib dib;
        ASSERT_EQ(1, ReadBytes(bytes, dib)) << headerSize;
        EXPECT_EQ(std::string("\x04\x05\x06\0\0\0\0\0", 8), Pixels(dib)) << "entry 1, and black past the table";
    }
}

// The colour-space endpoints, gammas, intent and a profile that is not there at all
// change nothing: the pixels and the table are read as a 40-byte header gives them.
TEST(BmpFile, ColourSpaceAndProfileFieldsOfLongHeadersAreIgnored)
{
    for (DWORD headerSize : {108u, 124u}) {
        const BmpLayout palette =
            OneRowImage(headerSize, 3, 1, std::string("\x01\x02\x03\0\x04\x05\x06\0", 8), std::string("\xA0\0\0\0", 4));
        const BmpLayout direct =
            OneRowImage(headerSize, 3, 24, "", std::string("\x11\x22\x33\x44\x55\x66\x77\x88\x99\0\0\0", 12));
        const std::pair<const BmpLayout*, std::string> cases[] = {
            {&palette, std::string("\x04\x05\x06\0\x01\x02\x03\0\x04\x05\x06\0", 12)},
            {&direct, std::string("\x11\x22\x33\0\x44\x55\x66\0\x77\x88\x99\0", 12)}};
        for (const auto& [layout, pixels] : cases) {
            std::string bytes = BmpBytes(*layout);
            // 'MBED' (an embedded profile), then endpoints, gammas, intent, profile offset and size.
            std::string colourSpace = Le(0x4D424544, 4) + std::string(headerSize - 60, '\xFF');
            bytes.replace(14 + 56, colourSpace.size(), colourSpace);
            CDib dib;
            ASSERT_EQ(1, ReadBytes(bytes, dib)) << headerSize << " bytes, " << layout->bits << " bits";
            EXPECT_EQ(pixels, Pixels(dib));
        }
    }
}

TEST(BmpFile, AHeaderOverTheSizeLimitIsRefusedBeforeAllocating)
{
    BmpLayout huge;
    huge.width = 30000;
    huge.height = 20000;
    CTempFolder folder;
    const std::string path = folder.PathOf("huge.bmp");
    WriteFileBytes(path, BmpBytes(huge));
    CDib dib;
    EXPECT_EQ(0, ReadBmpFile(path.c_str(), dib));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(BmpFile, ReadsImageMagickFilesWithTheirPixels)
{
    // Channels wider than 8 bits: ImageMagick scales them, we keep their top 8 bits.
    const struct {
        const char* name;
        int tolerance;
    } files[] = {{"info-1.bmp", 0}, {"info-4.bmp", 0}, {"info-8.bmp", 0}, {"info-24.bmp", 0}, {"info-32.bmp", 0},
                 {"core-4.bmp", 0}, {"core-8.bmp", 0}, {"core-24.bmp", 0}, {"fields-565.bmp", 0},
                 {"fields-565-swapped.bmp", 0}, {"fields-32.bmp", 0}, {"fields-32-rgbx.bmp", 0},
                 {"fields-32-101010.bmp", 1}, {"v5-8.bmp", 0}, {"v5-4.bmp", 0}, {"v5-24.bmp", 0},
                 {"v5-555.bmp", 0}, {"v4-1.bmp", 0}};
    for (const auto& file : files) {
        CDib dib;
        ASSERT_EQ(1, ReadBmpFile(FixturePath(file.name).c_str(), dib)) << file.name;
        PnmImage expected;
        ASSERT_TRUE(ReadPnmFile(FixturePath(file.name) + ".pnm", expected)) << file.name;
        EXPECT_EQ(expected.width, dib.GetWidth()) << file.name;
        EXPECT_EQ(expected.height, dib.GetRowCount()) << file.name;
        EXPECT_LE(LargestSampleDifference(expected.rgb, PictureRgb(dib)), file.tolerance) << file.name;
    }
}

TEST(BmpFile, ImageMagickReadsWhatWeWrite)
{
    CTempFolder folder;
    for (int bits : {8, 16, 24, 32}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(21, 9, bits));
        FillTestPattern(dib, 40 + bits);
        const std::string path = folder.PathOf("ours.bmp");
        const std::string decoded = folder.PathOf("ours.pnm");
        ASSERT_EQ(1, WriteBmpFile(dib, path.c_str()));
        ASSERT_EQ(0, RunNativeShell("convert '" + UnixPath(path) + "' -alpha off -depth 8 'ppm:" + UnixPath(decoded) + "'"))
            << bits;
        PnmImage image;
        ASSERT_TRUE(ReadPnmFile(decoded, image)) << bits;
        // ImageMagick rounds 5-bit values up to 8 bits where the save path truncates.
        const int tolerance = bits == 16 ? 1 : 0;
        EXPECT_LE(LargestSampleDifference(image.rgb, PictureRgb(dib)), tolerance) << bits << " bits";
    }
}
