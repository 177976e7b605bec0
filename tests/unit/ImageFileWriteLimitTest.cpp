#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CodecTestFiles.h"
#include "TestRandom.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/JpegFile.h"
#include "imageio/PngFile.h"
#include "record/GifEncoder.h"

// A disk that fills up in the middle of a save. The ctest entry codec_write_limit runs
// these under a file size limit (ulimit -f) and names it in LUMIGRAB_FILE_SIZE_LIMIT;
// writes beyond it fail. Elsewhere they are skipped.

namespace {

size_t FileSizeLimit()
{
    const char* limit = std::getenv("LUMIGRAB_FILE_SIZE_LIMIT");
    return limit ? std::strtoul(limit, nullptr, 10) : 0;
}

}  // namespace

TEST(ImageFileWriteLimit, ASaveThatRunsOutOfSpaceFailsAndLeavesTheEarlierFileAsItWas)
{
    const size_t limit = FileSizeLimit();
    if (limit == 0)
        GTEST_SKIP() << "needs the file size limit of the codec_write_limit test";

    CDib noise;  // noise compresses badly, so the JPEG and the PNG are larger than the limit
    ASSERT_TRUE(noise.Create(1400, 1000, 32));
    FillTestPattern(noise, 4);
    ASSERT_GT(noise.GetImageSize(), 2 * limit);
    CTempFolder folder;
    const std::string earlier = "the picture saved before";

    const std::string jpegPath = folder.PathOf("full.jpg");
    WriteFileBytes(jpegPath, earlier);
    EXPECT_EQ(0, WriteJpegFile(noise, jpegPath.c_str(), 100));
    // The system's own reason (a full disk; under this limit, what Wine makes of the file
    // size limit), not the bare "write error" of a short write.
    EXPECT_NE(DWORD(ERROR_WRITE_FAULT), GetLastError());
    EXPECT_EQ(earlier, ReadFileBytes(jpegPath));

    const std::string bmpPath = folder.PathOf("full.bmp");
    WriteFileBytes(bmpPath, earlier);
    EXPECT_EQ(0, WriteBmpFile(noise, bmpPath.c_str()));
    EXPECT_NE(DWORD(ERROR_WRITE_FAULT), GetLastError());
    EXPECT_EQ(earlier, ReadFileBytes(bmpPath));

    const std::string pngPath = folder.PathOf("full.png");
    WriteFileBytes(pngPath, earlier);
    EXPECT_EQ(0, WritePngFile(noise, pngPath.c_str()));
    EXPECT_NE(DWORD(ERROR_WRITE_FAULT), GetLastError());
    EXPECT_EQ(earlier, ReadFileBytes(pngPath));
    EXPECT_EQ(3u, folder.FileNames().size()) << "no temporary file stays behind";

    CDib small;
    ASSERT_TRUE(small.Create(20, 20, 24));
    FillTestPattern(small, 1);
    EXPECT_EQ(1, WriteJpegFile(small, folder.PathOf("small.jpg").c_str(), 100)) << "a file below the limit is saved";
}

TEST(ImageFileWriteLimit, ARecordingThatRunsOutOfSpaceFailsWithTheReasonAndLeavesNoFile)
{
    const size_t limit = FileSizeLimit();
    if (limit == 0)
        GTEST_SKIP() << "needs the file size limit of the codec_write_limit test";

    const int width = 400, height = 300;
    std::vector<uint32_t> noise(width * height);
    CTestRandom random(7);
    CTempFolder folder;
    CGifEncoder encoder(width, height);
    ASSERT_TRUE(encoder.Start(folder.PathOf("full.gif").c_str()));
    // Noise codes to about a byte a pixel: the limit is passed well before the last frame.
    bool taken = true;
    for (size_t written = 0; taken && written < 3 * limit; written += noise.size()) {
        for (uint32_t& pixel : noise)
            pixel = random.Next(0x1000000);
        taken = encoder.AddFrame(noise.data(), 10);
    }
    EXPECT_FALSE(encoder.Finish(10));
    EXPECT_NE(DWORD(ERROR_SUCCESS), encoder.Error());
    EXPECT_NE(DWORD(ERROR_WRITE_FAULT), encoder.Error());
    EXPECT_TRUE(folder.FileNames().empty()) << "no temporary file stays behind";
}
