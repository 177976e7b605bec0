#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodecTestFiles.h"
#include "GifTestFiles.h"
#include "NativeShell.h"
#include "TempFolder.h"
#include "document/ImageFileDialogs.h"
#include "imageio/GifAnimation.h"

namespace {

const std::vector<GifColorType> kColours = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}};

// Four frames over a 4 x 3 screen whose background is white (3), each disposed another way.
std::string DisposalsFile()
{
    return GifTestFile(4, 3, kColours, 3,
                       {{0, 0, 4, 3, 10, -1, {0, 1, 2, 0, 1, 1, 1, 1, 2, 2, 0, 0}, DISPOSE_DO_NOT},
                        {1, 1, 2, 2, 20, 3, {3, 2, 0, 3}, DISPOSE_PREVIOUS},
                        {0, 0, 2, 1, 0, -1, {2, 2}, DISPOSE_BACKGROUND},
                        {3, 2, 1, 1, 5, -1, {1}, DISPOSAL_UNSPECIFIED}});
}

std::vector<uint32_t> Pixels(const std::vector<int>& indices)
{
    std::vector<uint32_t> pixels;
    for (int index : indices)
        pixels.push_back(kColours[index].Red << 16 | kColours[index].Green << 8 | kColours[index].Blue);
    return pixels;
}

// Opens bytes as a file; every frame drawn in turn, when it opens.
bool OpenAndDrawAll(const CTempFolder& folder, const std::string& bytes, CGifAnimation& animation)
{
    const std::string path = folder.PathOf("a.gif");
    WriteFileBytes(path, bytes);
    if (!animation.Open(path.c_str()))
        return false;
    std::vector<uint32_t> canvas(size_t(animation.Width()) * animation.Height());
    for (int i = 0; i < animation.FrameCount(); ++i)
        animation.DrawFrame(i, canvas.data());
    return true;
}

}  // namespace

TEST(GifAnimation, DrawsEachFrameOverTheOnesBeforeAsItsDisposalSays)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("d.gif");
    WriteFileBytes(path, DisposalsFile());
    CGifAnimation animation;
    ASSERT_TRUE(animation.Open(path.c_str()));
    EXPECT_EQ(4, animation.Width());
    EXPECT_EQ(3, animation.Height());
    ASSERT_EQ(4, animation.FrameCount());
    EXPECT_EQ(0, animation.DelayCs(2));
    EXPECT_EQ(20, animation.DelayCs(1));
    EXPECT_EQ(350u, animation.DurationMs());

    const std::vector<std::vector<int>> shown = {
        {0, 1, 2, 0, 1, 1, 1, 1, 2, 2, 0, 0},
        {0, 1, 2, 0, 1, 1, 2, 1, 2, 0, 0, 0},  // transparent pixels keep what was there
        {2, 2, 2, 0, 1, 1, 1, 1, 2, 2, 0, 0},  // the frame before restored what it covered
        {3, 3, 2, 0, 1, 1, 1, 1, 2, 2, 0, 1},  // the frame before cleared to the background
    };
    std::vector<uint32_t> canvas(12, 0x123456);
    for (int i = 0; i < 4; ++i) {
        animation.DrawFrame(i, canvas.data());
        EXPECT_EQ(Pixels(shown[i]), canvas) << "frame " << i;
    }
    // Starting over begins from the background, whatever the canvas held.
    animation.DrawFrame(0, canvas.data());
    EXPECT_EQ(Pixels(shown[0]), canvas);
}

// An interlaced animation from another program: its first frame, exactly, both decoded and
// opened as a picture the way the Open command opens files.
TEST(GifAnimation, AnotherProgramsInterlacedAnimationOpensAsItsFirstFrame)
{
    CTempFolder folder;
    const int width = 3, height = 11;
    std::string ppm = "P6 3 11 255\n";
    std::vector<uint32_t> expected;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = uint32_t(x * 80) << 16 | uint32_t(y * 20) << 8 | uint32_t(255 - y * 20);
            ppm += {char(pixel >> 16), char(pixel >> 8), char(pixel)};
            expected.push_back(pixel);
        }
    WriteFileBytes(folder.PathOf("in.ppm"), ppm);
    const std::string path = folder.PathOf("i.GIF");
    ASSERT_EQ(0, RunNativeShell("cd '" + UnixPath(folder.Path()) +
                                "' && convert in.ppm -negate neg.ppm && convert in.ppm neg.ppm -interlace GIF i.GIF"));
    CGifAnimation animation;
    ASSERT_TRUE(animation.Open(path.c_str()));
    ASSERT_EQ(width, animation.Width());
    ASSERT_EQ(height, animation.Height());
    EXPECT_EQ(2, animation.FrameCount());
    std::vector<uint32_t> canvas(width * height);
    animation.DrawFrame(0, canvas.data());
    EXPECT_EQ(expected, canvas);

    const CBitmapOwner opened(OpenImagePath(path.c_str()));
    ASSERT_TRUE(opened);
    EXPECT_EQ(std::vector<BYTE>(ppm.begin() + 12, ppm.end()), BitmapRgb(opened.get()));
}

TEST(GifAnimation, RefusesWhatIsNoGifOrTooLarge)
{
    CTempFolder folder;
    CGifAnimation animation;
    EXPECT_FALSE(animation.Open(folder.PathOf("missing.gif").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_FALSE(OpenAndDrawAll(folder, "GIF89a\x04\x00", animation));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    EXPECT_FALSE(OpenAndDrawAll(folder, std::string("GIF89a\xFF\x7F\xFF\x7F\0\0\0;", 14), animation));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
}

// Every cut and every flipped byte of a file either fails as damaged or opens and draws.
TEST(GifAnimation, SurvivesCutAndDamagedFiles)
{
    CTempFolder folder;
    const std::string whole = DisposalsFile();
    CGifAnimation animation;
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        if (OpenAndDrawAll(folder, whole.substr(0, length), animation))
            EXPECT_GE(4, animation.FrameCount());
        else
            EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    }
    // Only the trailer missing: all the frames are there.
    EXPECT_TRUE(OpenAndDrawAll(folder, whole.substr(0, whole.size() - 1), animation));
    EXPECT_EQ(4, animation.FrameCount());
    for (size_t at = 0; at < whole.size(); ++at) {
        std::string damaged = whole;
        damaged[at] ^= 0x5A;
        OpenAndDrawAll(folder, damaged, animation);
    }
}
