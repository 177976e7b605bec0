#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestRandom.h"
#include "imageio/GifAnimation.h"
#include "record/GifEncoder.h"

namespace {

constexpr int kWidth = 40, kHeight = 30;
using Frame = std::vector<uint32_t>;

Frame Filled(uint32_t colour)
{
    return Frame(kWidth * kHeight, colour);
}

void FillRect(Frame& frame, int left, int top, int right, int bottom, uint32_t colour)
{
    for (int y = top; y < bottom; ++y)
        std::fill(frame.begin() + y * kWidth + left, frame.begin() + y * kWidth + right, colour);
}

// A smooth ramp of 1200 colours, more than a GIF frame can hold.
Frame Ramp()
{
    Frame frame(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            frame[y * kWidth + x] = uint32_t(x * 6) << 16 | uint32_t(y * 8) << 8 | uint32_t(255 - x * 3 - y * 2);
    return frame;
}

int LargestChannelDifference(const Frame& a, const Frame& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            largest = std::max(largest, std::abs(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF)));
    return largest;
}

}  // namespace

// Frames in, the same frames and delays out as a viewer shows them, in an endless loop; a
// frame equal to the one before only lengthens it, and one that is nearly the frame before
// last is stored against that.
TEST(GifEncoder, WritesTheFramesAndDelaysItWasGiven)
{
    Frame first = Filled(0xFFFFFF);
    FillRect(first, 2, 2, 20, 10, 0x336699);
    Frame second = first;
    FillRect(second, 10, 5, 30, 25, 0xCC0000);
    second[0] = 0;
    Frame nearlyFirst = first;
    FillRect(nearlyFirst, 30, 20, 33, 22, 0x00FF00);
    Frame nearlySecond = second;
    FillRect(nearlySecond, 0, 28, 2, 30, 0x00FF00);
    const Frame last = Ramp();

    CTempFolder folder;
    const std::string path = folder.PathOf("r.gif");
    {
        CGifEncoder encoder(kWidth, kHeight);
        ASSERT_TRUE(encoder.Start(path.c_str())) << GetLastError();
        EXPECT_TRUE(encoder.AddFrame(first.data(), 0));
        EXPECT_TRUE(encoder.AddFrame(second.data(), 10));
        EXPECT_TRUE(encoder.AddFrame(second.data(), 7));
        EXPECT_TRUE(encoder.AddFrame(nearlyFirst.data(), 13));
        EXPECT_TRUE(encoder.AddFrame(nearlySecond.data(), 5));
        EXPECT_TRUE(encoder.AddFrame(last.data(), 8));
        ASSERT_TRUE(encoder.Finish(35)) << encoder.Error();
    }
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(0u, bytes.find("GIF89a"));
    EXPECT_NE(std::string::npos, bytes.find(std::string("NETSCAPE2.0\3\1\0\0", 15))) << "loops forever";

    CGifAnimation animation;
    ASSERT_TRUE(animation.Open(path.c_str()));
    ASSERT_EQ(kWidth, animation.Width());
    ASSERT_EQ(kHeight, animation.Height());
    ASSERT_EQ(5, animation.FrameCount());
    const int delays[5] = {10, 20, 5, 8, 35};
    const Frame* exact[4] = {&first, &second, &nearlyFirst, &nearlySecond};
    Frame canvas(kWidth * kHeight);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(delays[i], animation.DelayCs(i));
        animation.DrawFrame(i, canvas.data());
        if (i < 4) {
            EXPECT_EQ(*exact[i], canvas) << "frame " << i;
        }
    }
    EXPECT_GE(16, LargestChannelDifference(last, canvas)) << "reduced to 256 colours";
}

TEST(GifEncoder, LeavesNoFileWithoutFinishAndNeverTouchesAnExistingOne)
{
    CTempFolder folder;
    const Frame frame = Ramp();
    {
        CGifEncoder encoder(kWidth, kHeight);
        ASSERT_TRUE(encoder.Start(folder.PathOf("dropped.gif").c_str()));
        EXPECT_TRUE(encoder.AddFrame(frame.data(), 0));
        EXPECT_TRUE(encoder.AddFrame(Filled(0).data(), 10));
    }
    EXPECT_TRUE(folder.FileNames().empty());

    const std::string taken = folder.PathOf("taken.gif");
    WriteFileBytes(taken, "the user's");
    CGifEncoder encoder(kWidth, kHeight);
    if (encoder.Start(taken.c_str())) {
        EXPECT_TRUE(encoder.AddFrame(frame.data(), 0));
        EXPECT_FALSE(encoder.Finish(10));
        EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), encoder.Error());
    }
    EXPECT_EQ("the user's", ReadFileBytes(taken));
    EXPECT_EQ(1u, folder.FileNames().size());
}

// The queue's bound counts whole frames: one that would pass it is refused with no error.
TEST(GifEncoder, RefusesAFrameThatWouldPassTheQueueLimit)
{
    CTempFolder folder;
    const Frame frame = Filled(0x808080);
    const uint64_t frameBytes = frame.size() * sizeof(uint32_t);
    CGifEncoder tight(kWidth, kHeight, frameBytes - 1);
    ASSERT_TRUE(tight.Start(folder.PathOf("tight.gif").c_str()));
    EXPECT_FALSE(tight.AddFrame(frame.data(), 0));
    EXPECT_EQ(0u, tight.Error());

    CGifEncoder exact(kWidth, kHeight, frameBytes);
    ASSERT_TRUE(exact.Start(folder.PathOf("exact.gif").c_str()));
    EXPECT_TRUE(exact.AddFrame(frame.data(), 0));
    EXPECT_TRUE(exact.Finish(10));
}
