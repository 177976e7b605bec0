// Where a printed image lands on the page, in the printer's device pixels.
#include <gtest/gtest.h>

#include "document/PrintLayout.h"

namespace {
// A4 at 300 dpi with a margin of 50 pixels the printer cannot reach on every side.
constexpr PrintPage kA4{{300, 300}, {2480, 3508}, {50, 50}, {2380, 3408}};

void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST(PrintLayoutTest, SmallImagesPrintAtTheirScreenSizeCentredOnTheSheet)
{
    // 192 x 96 screen pixels are 2 x 1 inches: 600 x 300 printer pixels.
    ExpectRect({1240 - 300 - 50, 1754 - 150 - 50, 1240 + 300 - 50, 1754 + 150 - 50},
               PlaceImageOnPage({192, 96}, kImageDpi, kA4));
    // Never enlarged, however small: 10 pixels are 31.25 printer pixels.
    const RECT tiny = PlaceImageOnPage({10, 10}, kImageDpi, kA4);
    EXPECT_EQ(31, tiny.right - tiny.left);
    EXPECT_EQ(31, tiny.bottom - tiny.top);
    // Each axis at its own resolution.
    const PrintPage unequal{{600, 300}, {4960, 3508}, {0, 0}, {4960, 3508}};
    const RECT stretched = PlaceImageOnPage({96, 96}, kImageDpi, unequal);
    EXPECT_EQ(600, stretched.right - stretched.left);
    EXPECT_EQ(300, stretched.bottom - stretched.top);
}

TEST(PrintLayoutTest, LargeImagesShrinkToThePrintableAreaKeepingTheirShape)
{
    // 4000 x 1000 would be 12500 x 3125: the width is the tighter side.
    const RECT wide = PlaceImageOnPage({4000, 1000}, kImageDpi, kA4);
    ExpectRect({0, 1754 - 50 - 297, 2380, 1754 - 50 - 297 + 595}, wide);
    // 1000 x 8000 would be 3125 x 25000: the height is.
    const RECT tall = PlaceImageOnPage({1000, 8000}, kImageDpi, kA4);
    EXPECT_EQ(0, tall.top);
    EXPECT_EQ(3408, tall.bottom);
    EXPECT_EQ(426, tall.right - tall.left);
    EXPECT_EQ((2380 - 426) / 2, tall.left) << "centred across";
    // Exactly the printable area's shape fills it.
    ExpectRect({0, 0, 2380, 3408}, PlaceImageOnPage({2380 * 4, 3408 * 4}, kImageDpi, kA4));
}

TEST(PrintLayoutTest, UnevenMarginsMoveTheImageOnlyAsFarAsItMust)
{
    // The printer reaches everything but 200 pixels on the left: the sheet's centre
    // is 1040 into the printable area.
    const PrintPage uneven{{300, 300}, {2480, 3508}, {200, 0}, {2280, 3508}};
    const RECT small = PlaceImageOnPage({96, 96}, kImageDpi, uneven);
    EXPECT_EQ(1040 - 150, small.left);
    // 2250 printer pixels centred on the sheet would start 85 before the printable area.
    const RECT broad = PlaceImageOnPage({720, 96}, kImageDpi, uneven);
    EXPECT_EQ(0, broad.left);
    EXPECT_EQ(2250, broad.right);
}

TEST(PrintLayoutTest, NothingToPlaceAndTheOrientationOfTheShape)
{
    ExpectRect({0, 0, 0, 0}, PlaceImageOnPage({0, 100}, kImageDpi, kA4));
    ExpectRect({0, 0, 0, 0}, PlaceImageOnPage({100, 100}, kImageDpi, {{300, 300}, {0, 0}, {0, 0}, {0, 0}}));
    EXPECT_TRUE(PrefersLandscape({1280, 1024}));
    EXPECT_FALSE(PrefersLandscape({1024, 1280}));
    EXPECT_FALSE(PrefersLandscape({500, 500}));
}
}
