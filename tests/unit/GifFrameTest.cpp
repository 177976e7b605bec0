// One screen frame in GIF form: what changed, what may go transparent, and the colours,
// checked by decoding the frame over the previous one as a GIF viewer would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "TestRandom.h"
#include "record/GifFrame.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;
using Pixels = std::vector<uint32_t>;

// The screen after frame is shown over previous (all black before the first frame).
Pixels Decode(const SGifFrame& frame, const Pixels* previous, int width, int height)
{
    Pixels screen = previous ? *previous : Pixels(size_t(width) * height, 0);
    const uint8_t* index = frame.indices.data();
    for (LONG y = frame.rect.top; y < frame.rect.bottom; ++y)
        for (LONG x = frame.rect.left; x < frame.rect.right; ++x, ++index) {
            EXPECT_LT(*index, frame.palette.size());
            if (*index != frame.transparent)
                screen[size_t(y) * width + x] = frame.palette[*index];
        }
    return screen;
}

Pixels Noise(uint32_t seed, uint32_t colours)
{
    CTestRandom random(seed);
    Pixels pixels(size_t(kWidth) * kHeight);
    for (uint32_t& pixel : pixels)
        pixel = random.Next(colours) * 0x010305;
    return pixels;
}

int SquaredDistance(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
        sum += d * d;
    }
    return sum;
}

TEST(GifFrame, StoresTheRectangleThatChanged)
{
    const Pixels previous = Noise(1, 40);
    SGifFrame frame;
    ASSERT_TRUE(MakeGifFrame(nullptr, previous.data(), kWidth, kHeight, frame));
    EXPECT_EQ(0, frame.rect.left);
    EXPECT_EQ(0, frame.rect.top);
    EXPECT_EQ(kWidth, frame.rect.right);
    EXPECT_EQ(kHeight, frame.rect.bottom);

    EXPECT_FALSE(MakeGifFrame(previous.data(), previous.data(), kWidth, kHeight, frame));

    Pixels current = previous;
    current[3 * kWidth + 5] ^= 0xFFFFFF;
    ASSERT_TRUE(MakeGifFrame(previous.data(), current.data(), kWidth, kHeight, frame));
    EXPECT_EQ(5, frame.rect.left);
    EXPECT_EQ(3, frame.rect.top);
    EXPECT_EQ(6, frame.rect.right);
    EXPECT_EQ(4, frame.rect.bottom);
    EXPECT_EQ(1u, frame.indices.size());

    // The leftmost and rightmost changes in rows other than the first and last.
    current[7 * kWidth + 2] ^= 0xFFFFFF;
    current[5 * kWidth + 60] ^= 0xFFFFFF;
    current[8 * kWidth + 30] ^= 0xFFFFFF;
    ASSERT_TRUE(MakeGifFrame(previous.data(), current.data(), kWidth, kHeight, frame));
    EXPECT_EQ(2, frame.rect.left);
    EXPECT_EQ(3, frame.rect.top);
    EXPECT_EQ(61, frame.rect.right);
    EXPECT_EQ(9, frame.rect.bottom);
    EXPECT_EQ(current, Decode(frame, &previous, kWidth, kHeight));
}

TEST(GifFrame, UnchangedPixelsGoTransparentOnlyWhereThatSaves)
{
    const Pixels previous = Noise(2, 40);
    Pixels current = previous;
    current.front() = 0xFF0000;
    current.back() = 0x00FF00;
    SGifFrame frame;
    ASSERT_TRUE(MakeGifFrame(previous.data(), current.data(), kWidth, kHeight, frame));
    ASSERT_NE(-1, frame.transparent);
    EXPECT_EQ(size_t(kWidth) * kHeight - 2,
              size_t(std::count(frame.indices.begin(), frame.indices.end(), frame.transparent)));
    EXPECT_EQ(current, Decode(frame, &previous, kWidth, kHeight));

    // A flat block over the noise changes every pixel it covers: nothing to leave out.
    current = previous;
    for (int y = 10; y < 20; ++y)
        std::fill_n(current.begin() + y * kWidth + 10, 30, 0x123456);
    ASSERT_TRUE(MakeGifFrame(previous.data(), current.data(), kWidth, kHeight, frame));
    EXPECT_EQ(-1, frame.transparent);
    EXPECT_EQ(current, Decode(frame, &previous, kWidth, kHeight));
}

TEST(GifFrame, UpTo256ColoursAreStoredExactly)
{
    Pixels first(size_t(kWidth) * kHeight);
    const auto grey = [](size_t level) { return static_cast<uint32_t>(level % 256) * 0x010101 ^ 0x400000; };
    for (size_t i = 0; i < first.size(); ++i)
        first[i] = grey(i * 7);
    SGifFrame frame;
    ASSERT_TRUE(MakeGifFrame(nullptr, first.data(), kWidth, kHeight, frame));
    EXPECT_TRUE(frame.exact);
    EXPECT_EQ(256u, frame.palette.size());
    EXPECT_EQ(-1, frame.transparent);
    EXPECT_TRUE(std::is_sorted(frame.palette.begin(), frame.palette.end()));
    EXPECT_EQ(first, Decode(frame, nullptr, kWidth, kHeight));

    // Changes in 255 colours leave room for the transparent index; in 256 they do not, and
    // exact colours win over leaving the unchanged pixels out.
    for (const uint32_t colours : {255u, 256u}) {
        Pixels next = first;
        for (uint32_t i = 0; i < colours; ++i)
            next[i * 11] = grey(i * 11 * 7 + 1);
        ASSERT_TRUE(MakeGifFrame(first.data(), next.data(), kWidth, kHeight, frame));
        EXPECT_TRUE(frame.exact) << colours;
        EXPECT_EQ(colours == 255u, frame.transparent != -1) << colours;
        EXPECT_LE(frame.palette.size(), 256u);
        EXPECT_EQ(next, Decode(frame, &first, kWidth, kHeight)) << colours;
    }
}

TEST(GifFrame, ManyColoursMapToTheNearestOf256WithoutDithering)
{
    // A 100 x 100 gradient of 10,000 colours above a flat band.
    constexpr int width = 100, height = 120, flatTop = 100;
    constexpr uint32_t flat = 0x3A6F9C;
    Pixels pixels(size_t(width) * height, flat);
    for (int y = 0; y < flatTop; ++y)
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * width + x] = uint32_t(x * 255 / 99) << 16 | uint32_t(y * 2) << 8 | 0x40;
    SGifFrame frame;
    ASSERT_TRUE(MakeGifFrame(nullptr, pixels.data(), width, height, frame));
    EXPECT_FALSE(frame.exact);
    EXPECT_EQ(256u, frame.palette.size());
    EXPECT_EQ(-1, frame.transparent);

    const Pixels decoded = Decode(frame, nullptr, width, height);
    int worst = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        int nearest = 1 << 30;
        for (const uint32_t colour : frame.palette)
            nearest = std::min(nearest, SquaredDistance(colour, pixels[i]));
        ASSERT_EQ(nearest, SquaredDistance(decoded[i], pixels[i])) << "pixel " << i;
        worst = std::max(worst, nearest);
    }
    // 256 boxes share this 256 x 200 gradient: about 16 steps on a side, so no colour is
    // farther than about 8 in red and green from its box's mean.
    EXPECT_LE(worst, 2 * 10 * 10);
    const auto band = frame.indices.begin() + flatTop * width;
    EXPECT_TRUE(std::all_of(band, frame.indices.end(), [&](uint8_t index) { return index == *band; }));
    // The flat colour outweighs everything else: it is kept as it is.
    EXPECT_EQ(flat, frame.palette[*band]);
}

} // namespace
