#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "PnmImage.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageReadResult.h"
#include "imageio/JpegCompressor.h"
#include "imageio/JpegFile.h"
#include "imageio/JpegFileDest.h"

namespace {

int ReadJpegBytes(const std::string& bytes, CDib& dib)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("in.jpg");
    WriteFileBytes(path, bytes);
    return ReadJpegFile(path.c_str(), dib);
}

std::string WrittenJpeg(CDib& dib, int quality = 100)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("out.jpg");
    EXPECT_EQ(1, WriteJpegFile(dib, path.c_str(), quality));
    return ReadFileBytes(path);
}

// Smooth colours, the kind a JPEG at quality 100 keeps nearly exactly.
void FillGradient(CDib& dib)
{
    const int bytesPerPixel = dib.GetBitCount() / 8;
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance()) {
        for (int x = 0; x < dib.GetWidth(); ++x) {
            BYTE* p = row.GetRow() + bytesPerPixel * x;
            p[0] = static_cast<BYTE>(x * 3);
            p[1] = static_cast<BYTE>(row.GetIndex() * 4);
            p[2] = static_cast<BYTE>(255 - x - row.GetIndex());
        }
    }
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The JFIF segment of files written by cjpeg and by us: unit at 13, densities at 14 and 16.
std::string WithDensity(std::string jpeg, int unit, int x, int y)
{
    EXPECT_EQ(0, jpeg.compare(6, 5, std::string("JFIF\0", 5)));
    jpeg[13] = static_cast<char>(unit);
    jpeg[14] = static_cast<char>(x >> 8);
    jpeg[15] = static_cast<char>(x);
    jpeg[16] = static_cast<char>(y >> 8);
    jpeg[17] = static_cast<char>(y);
    return jpeg;
}

// The frame header's claim of a size replaced, whichever coding it names.
std::string WithSize(std::string jpeg, int width, int height)
{
    size_t frame = std::string::npos;
    for (const char* start : {"\xFF\xC0", "\xFF\xC2", "\xFF\xC9", "\xFF\xCA"})
        frame = std::min(frame, jpeg.find(start));
    EXPECT_NE(std::string::npos, frame);
    const char size[4] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return jpeg.replace(frame + 5, 4, size, 4);
}

SIZE_T PeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

}  // namespace

// A few hundred bytes may claim a picture as large as the size limit allows; decoded
// through all their scans, it would take a coefficient store larger than the picture.
TEST(JpegFile, AClaimThatNeedsAHugeCoefficientStoreIsRefusedBeforeAllocating)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("claim.jpg");
    for (const char* name : {"progressive.jpg", "arithmetic-progressive.jpg", "cmyk-progressive.jpg"}) {
        SCOPED_TRACE(name);
        WriteFileBytes(path, WithSize(ReadFileBytes(FixturePath(name)), 16384, 5461));
        const SIZE_T peak = PeakMemory();
        CDib dib;
        EXPECT_EQ(0, ReadJpegFile(path.c_str(), dib));
        EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_LT(PeakMemory() - peak, SIZE_T(16) << 20);
    }
}

// Data that stops before the picture does is incomplete, whether the file is cut, its
// header claims more rows than its scans hold, or a progressive file lacks its last scans.
TEST(JpegFile, DataThatEndsEarlyIsIncompleteInEveryCoding)
{
    for (const char* name : {"colour.jpg", "progressive.jpg", "arithmetic.jpg", "arithmetic-progressive.jpg", "cmyk.jpg"}) {
        SCOPED_TRACE(name);
        const std::string whole = ReadFileBytes(FixturePath(name));
        CDib dib;
        EXPECT_EQ(kImageReadWhole, ReadJpegBytes(whole, dib));
        const std::string taller = WithSize(whole, dib.GetWidth(), 3 * dib.GetHeight());
        EXPECT_EQ(kImageReadIncomplete, ReadJpegBytes(taller, dib)) << "claims more rows";
        EXPECT_EQ(kImageReadIncomplete, ReadJpegBytes(whole.substr(0, whole.size() * 2 / 3), dib)) << "cut";
        const size_t secondScan = whole.find("\xFF\xDA", whole.find("\xFF\xDA") + 2);
        if (secondScan != std::string::npos) {
            EXPECT_EQ(kImageReadIncomplete, ReadJpegBytes(whole.substr(0, secondScan) + "\xFF\xD9", dib)) << "scans missing";
        }
    }
}

TEST(JpegFile, RefusesFilesWithoutAStartOfImage)
{
    const std::string colour = ReadFileBytes(FixturePath("colour.jpg"));
    for (const std::string& bytes : {std::string(), std::string("\xFF"), std::string("GIF89a"),
                                     "\xFF\xD9" + colour.substr(2), std::string("\xFF\xD8"), colour.substr(0, 100),
                                     std::string("\xFF\xD8\xFF\xD9")}) {
        CDib dib;
        EXPECT_EQ(0, ReadJpegBytes(bytes, dib)) << bytes.size() << " bytes";
        EXPECT_TRUE(dib.IsEmpty()) << bytes.size() << " bytes: refused before any allocation";
    }
    CDib dib;
    EXPECT_EQ(0, ReadJpegFile("C:\\no such folder\\none.jpg", dib));
}

TEST(JpegFile, AHeaderOverTheSizeLimitIsRefusedBeforeAllocating)
{
    std::string huge = ReadFileBytes(FixturePath("colour.jpg"));
    const size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(std::string::npos, frame);
    huge.replace(frame + 5, 4, "\x4E\x20\x75\x30");  // 30000 x 20000
    CTempFolder folder;
    const std::string path = folder.PathOf("huge.jpg");
    WriteFileBytes(path, huge);
    CDib dib;
    EXPECT_EQ(0, ReadJpegFile(path.c_str(), dib));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(JpegFile, ReadsCjpegFilesWithTheSamePixelsAsDjpeg)
{
    for (const char* name : {"colour.jpg", "colour444.jpg", "progressive.jpg", "restart.jpg"}) {
        CDib dib;
        ASSERT_EQ(1, ReadJpegFile(FixturePath(name).c_str(), dib)) << name;
        EXPECT_TRUE(IsTopDown32(dib)) << name;
        PnmImage expected;
        ASSERT_TRUE(ReadPnmFile(FixturePath(name) + ".pnm", expected));
        EXPECT_EQ(expected.width, dib.GetWidth());
        EXPECT_EQ(expected.height, dib.GetRowCount());
        EXPECT_EQ(0, LargestSampleDifference(expected.rgb, PictureRgb(dib))) << name;
    }
}

TEST(JpegFile, GreyscaleLoadsAsItsGreyInEveryChannel)
{
    CDib dib;
    ASSERT_EQ(1, ReadJpegFile(FixturePath("grey.jpg").c_str(), dib));
    EXPECT_TRUE(IsTopDown32(dib));
    PnmImage expected;
    ASSERT_TRUE(ReadPnmFile(FixturePath("grey.jpg.pnm"), expected));
    EXPECT_EQ(0, LargestSampleDifference(expected.rgb, PictureRgb(dib)));
}

TEST(JpegFile, CmykLoadsAsTheColoursImageMagickShows)
{
    CDib dib;
    ASSERT_EQ(1, ReadJpegFile(FixturePath("cmyk.jpg").c_str(), dib));
    EXPECT_TRUE(IsTopDown32(dib));
    PnmImage expected;
    ASSERT_TRUE(ReadPnmFile(FixturePath("cmyk.jpg.pnm"), expected));
    // ImageMagick converts in 16-bit steps; we round once from 8 bits.
    EXPECT_LE(LargestSampleDifference(expected.rgb, PictureRgb(dib)), 1);
}

TEST(JpegFile, AFileCutOffInTheScanStillLoads)
{
    const std::string whole = ReadFileBytes(FixturePath("restart.jpg"));
    CDib complete;
    ASSERT_EQ(1, ReadJpegBytes(whole, complete));
    CDib cut;
    const size_t scan = whole.find("\xFF\xDA");
    ASSERT_NE(std::string::npos, scan);
    ASSERT_EQ(kImageReadIncomplete, ReadJpegBytes(whole.substr(0, scan + (whole.size() - scan) * 2 / 3), cut));
    EXPECT_EQ(complete.GetWidth(), cut.GetWidth());
    EXPECT_EQ(complete.GetHeight(), cut.GetHeight());
    const std::vector<BYTE> completeRgb = PictureRgb(complete);
    const std::vector<BYTE> cutRgb = PictureRgb(cut);
    const size_t topRows = 3 * 8 * static_cast<size_t>(complete.GetWidth());
    EXPECT_TRUE(std::equal(completeRgb.begin(), completeRgb.begin() + topRows, cutRgb.begin()))
        << "the rows before the cut decode as in the whole file";
}

TEST(JpegFile, SegmentsLongerThanTheBufferAreSkipped)
{
    const std::string plain = ReadFileBytes(FixturePath("colour.jpg"));
    std::string padded = plain.substr(0, 2);
    for (int i = 0; i < 5; ++i) {
        const int length = 60000 + i;
        padded += "\xFF\xE5";
        padded += static_cast<char>(length >> 8);
        padded += static_cast<char>(length);
        padded += std::string(length - 2, static_cast<char>(i));
    }
    padded += plain.substr(2);
    CDib expected, dib;
    ASSERT_EQ(1, ReadJpegBytes(plain, expected));
    ASSERT_EQ(1, ReadJpegBytes(padded, dib));
    EXPECT_EQ(PictureRgb(expected), PictureRgb(dib));
}

TEST(JpegFile, JfifDensityBecomesPixelsPerMetre)
{
    const std::string colour = ReadFileBytes(FixturePath("colour.jpg"));
    struct Case { int unit, x, y; LONG xPels, yPels; } cases[] = {
        {1, 72, 72, 2835, 2835}, {2, 28, 28, 2800, 2800}, {1, 300, 150, 11811, 5906}, {0, 3, 4, 0, 0}, {3, 72, 72, 0, 0},
    };
    for (const Case& c : cases) {
        CDib dib;
        ASSERT_EQ(1, ReadJpegBytes(WithDensity(colour, c.unit, c.x, c.y), dib));
        EXPECT_EQ(c.xPels, dib.GetInfo()->biXPelsPerMeter) << "unit " << c.unit << ", " << c.x;
        EXPECT_EQ(c.yPels, dib.GetInfo()->biYPelsPerMeter) << "unit " << c.unit << ", " << c.y;
    }
}

TEST(JpegFile, WritesDensityInDotsPerCentimetre)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(8, 8, 24));
    FillGradient(dib);
    std::string file = WrittenJpeg(dib);
    EXPECT_TRUE(StartsWith(file, WithDensity(file, 2, 0, 0).substr(0, 18))) << "a saved bitmap says 0 x 0 per cm";

    // 28.5 dots/cm comes out as 28: the factor is the single-precision 0.01.
    dib.GetInfo()->biXPelsPerMeter = 2835;
    dib.GetInfo()->biYPelsPerMeter = 2850;
    file = WrittenJpeg(dib);
    EXPECT_EQ(std::string("\x02\x00\x1C\x00\x1C", 5), file.substr(13, 5));
}

TEST(JpegFile, WritesBaselineJfifThatDjpegDecodesToOurPixels)
{
    CTempFolder folder;
    CDib source;
    ASSERT_TRUE(source.Create(77, 51, 24));
    FillGradient(source);
    const std::string path = folder.PathOf("ours.jpg");
    ASSERT_EQ(1, WriteJpegFile(source, path.c_str(), 100));
    const std::string file = ReadFileBytes(path);
    EXPECT_NE(std::string::npos, file.find("\xFF\xC0")) << "baseline frame";
    EXPECT_EQ(std::string::npos, file.find("\xFF\xC2")) << "no progressive frame";
    EXPECT_EQ("\xFF\xD9", file.substr(file.size() - 2));

    CDib read;
    ASSERT_EQ(1, ReadJpegFile(path.c_str(), read));
    const std::vector<BYTE> ourPixels = PictureRgb(read);
    EXPECT_LE(LargestSampleDifference(PictureRgb(source), ourPixels), 3) << "quality 100 keeps the picture";

    const std::string decoded = folder.PathOf("ours.pnm");
    ASSERT_EQ(0, RunNativeShell("djpeg -pnm -outfile '" + UnixPath(decoded) + "' '" + UnixPath(path) + "'"));
    PnmImage djpeg;
    ASSERT_TRUE(ReadPnmFile(decoded, djpeg));
    EXPECT_EQ(0, LargestSampleDifference(djpeg.rgb, ourPixels));
}

TEST(JpegFile, EveryDepthIsSavedAsItsTwentyFourBitPicture)
{
    CDib reference;
    ASSERT_TRUE(reference.Create(19, 11, 24));
    FillTestPattern(reference, 9);
    const std::string expected = WrittenJpeg(reference);

    CDib topDown;
    ASSERT_TRUE(topDown.Create(19, -11, 24));
    ConvertTo24Bit(reference, topDown);
    EXPECT_EQ(expected, WrittenJpeg(topDown)) << "rows go top row first whatever the orientation";

    CDib withFourthByte;
    ASSERT_TRUE(withFourthByte.Create(19, 11, 32));
    FillTestPattern(withFourthByte, 77);  // random fourth bytes
    for (CDibRowCursor from(reference), to(withFourthByte); from.GetRow(); from.Advance(), to.Advance())
        for (int x = 0; x < 19; ++x)
            std::memcpy(to.GetRow() + 4 * x, from.GetRow() + 3 * x, 3);
    EXPECT_EQ(expected, WrittenJpeg(withFourthByte)) << "the fourth byte is dropped";

    for (int bits : {1, 4, 8, 16}) {
        CDib other;
        ASSERT_TRUE(other.Create(19, 11, bits));
        FillTestPattern(other, bits);
        CDib converted;
        ASSERT_TRUE(converted.Create(19, 11, 24));
        ConvertTo24Bit(other, converted);
        const std::vector<BYTE> before(other.GetBits(), other.GetBits() + other.GetImageSize());
        EXPECT_EQ(WrittenJpeg(converted), WrittenJpeg(other)) << bits << " bits";
        EXPECT_TRUE(std::equal(before.begin(), before.end(), other.GetBits())) << "the CDib is not changed";
    }
}

TEST(JpegFile, OverwritingALongerFileLeavesNoStaleBytes)
{
    CTempFolder folder;
    CDib dib;
    ASSERT_TRUE(dib.Create(16, 16, 24));
    FillGradient(dib);
    const std::string fresh = WrittenJpeg(dib);
    const std::string path = folder.PathOf("old.jpg");
    WriteFileBytes(path, std::string(fresh.size() + 70000, 'x'));
    ASSERT_EQ(1, WriteJpegFile(dib, path.c_str(), 100));
    EXPECT_EQ(fresh, ReadFileBytes(path));
}

TEST(JpegFile, WriteFailuresReturnZero)
{
    CTempFolder folder;
    CDib dib;
    ASSERT_TRUE(dib.Create(640, 480, 32));
    FillTestPattern(dib, 2);
    const std::string folderAsFile = folder.PathOf("sub");
    ASSERT_TRUE(CreateDirectoryA(folderAsFile.c_str(), nullptr));
    EXPECT_EQ(0, WriteJpegFile(dib, folderAsFile.c_str(), 100));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), GetLastError());
    RemoveDirectoryA(folderAsFile.c_str());
    EXPECT_EQ(0, WriteJpegFile(dib, folder.PathOf("missing\\a.jpg").c_str(), 100));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError()) << "the reason reaches the caller";
    CDib empty;
    EXPECT_EQ(0, WriteJpegFile(empty, folder.PathOf("empty.jpg").c_str(), 100));
}

TEST(JpegFileDest, WritesWholeBuffersAndOnlyThePendingRest)
{
    CTempFolder folder;
    for (DWORD length : {kJpegFileBufferSize * 2, kJpegFileBufferSize * 2 + 5, DWORD(7), kJpegFileBufferSize}) {
        const std::string path = folder.PathOf("dest.bin");
        std::string written;
        {
            HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
            CJpegCompressor jpeg;
            InstallJpegFileDest(jpeg.Get(), &hFile);
            // What the library does with a destination: fill, empty when full, terminate.
            jpeg->dest->init_destination(jpeg.Get());
            for (DWORD i = 0; i < length; ++i) {
                if (jpeg->dest->free_in_buffer == 0) {
                    ASSERT_TRUE(jpeg->dest->empty_output_buffer(jpeg.Get()));
                }
                *jpeg->dest->next_output_byte++ = static_cast<JOCTET>(i * 13);
                --jpeg->dest->free_in_buffer;
                written += static_cast<char>(i * 13);
            }
            jpeg->dest->term_destination(jpeg.Get());
            CloseHandle(hFile);
        }
        EXPECT_EQ(written, ReadFileBytes(path)) << length << " bytes";
    }
}
