// Lengths laid out for 96 DPI at other DPIs, and which drawn picture size each DPI gets.
#include <gtest/gtest.h>

#include "ui/DpiScale.h"

TEST(DpiScale, LengthsScaleRoundedAndPicturesAreTheLargestNotAboveTheDpi)
{
    EXPECT_EQ(7, CDpiScale(96).Scale(7));
    EXPECT_EQ(9, CDpiScale(120).Scale(7));  // 8.75
    EXPECT_EQ(11, CDpiScale(144).Scale(7));  // 10.5
    EXPECT_EQ(14, CDpiScale(192).Scale(7));
    EXPECT_EQ(7, CDpiScale(0).Scale(7)) << "an unknown DPI counts as 96";

    const struct { int dpi, width, height; } pictures[] = {
        {96, 16, 15}, {120, 16, 15}, {143, 16, 15}, {144, 24, 22}, {191, 24, 22}, {192, 32, 30}, {288, 32, 30}};
    for (const auto& expected : pictures) {
        const CDpiScale dpi(expected.dpi);
        EXPECT_EQ(expected.width, dpi.PictureLength(16)) << expected.dpi << " DPI";
        EXPECT_EQ(expected.height, dpi.PictureLength(15)) << expected.dpi << " DPI";
    }
}
