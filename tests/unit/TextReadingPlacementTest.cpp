// Where the text-reading window goes beside the picture it reads, and how large it is.
#include <gtest/gtest.h>

#include <windows.h>

#include "RectInside.h"
#include "document/TextReadingPlacement.h"

namespace {

constexpr SIZE kFrame{16, 39};
// The primary with a taskbar along its bottom, and a monitor at 150% to its left.
const STextReadingMonitor kPrimary{{0, 0, 1920, 1040}, 96};
const STextReadingMonitor kSecondary{{-2500, -300, 0, 1140}, 144};
// Everything but the picture, at 96 DPI: padding, gap, text and bar.
constexpr SIZE kBesidePicture{kFrame.cx + 382, kFrame.cy + 56};

RECT Placed(const RECT& beside, SIZE picture = {400, 200})
{
    const RECT window = PlaceTextReadingWindow(beside, picture, kFrame, kPrimary);
    EXPECT_TRUE(Inside(window, kPrimary.workArea));
    return window;
}

}

TEST(TextReadingPlacement, RightElseLeftElseBelowElseOverItsRightPart)
{
    const RECT middle{300, 200, 700, 400};
    RECT window = Placed(middle);
    EXPECT_GE(window.left, middle.right);
    EXPECT_LE(window.left, middle.right + 16);
    EXPECT_EQ(middle.top, window.top);

    const RECT atRight{1200, 200, 1600, 400};
    window = Placed(atRight);
    EXPECT_LE(window.right, atRight.left);
    EXPECT_GE(window.right, atRight.left - 16);

    const RECT wide{300, 100, 1700, 300};
    window = Placed(wide);
    EXPECT_GE(window.top, wide.bottom);
    EXPECT_EQ(wide.left, window.left);

    const RECT tallAtRight{700, 300, 1850, 1000};
    window = Placed(tallAtRight, {1150, 700});
    EXPECT_EQ(tallAtRight.left - 6, window.right) << "at the left, the picture smaller";
    EXPECT_EQ(0, window.left);

    const RECT whole{0, 0, 1920, 1040};
    window = Placed(whole);
    EXPECT_EQ(whole.right, window.right) << "over the right part";
    EXPECT_EQ(0, window.top);

    const RECT nearBottom{300, 950, 700, 1030};
    window = Placed(nearBottom);
    EXPECT_EQ(kPrimary.workArea.bottom, window.bottom) << "moved up into the work area";
}

TEST(TextReadingPlacement, PictureAtMostHalfTheWorkAreaNeverEnlargedWindowWithinTheWorkArea)
{
    RECT window = Placed({100, 100, 500, 300});
    EXPECT_EQ(400 + kBesidePicture.cx, window.right - window.left);
    EXPECT_EQ(200 + kBesidePicture.cy, window.bottom - window.top);

    window = Placed({100, 100, 110, 110}, {10, 10});
    EXPECT_EQ(120 + kBesidePicture.cx, window.right - window.left) << "the pane's least size";
    EXPECT_EQ(120 + kBesidePicture.cy, window.bottom - window.top);

    window = Placed({0, 0, 100, 100}, {3840, 800});
    EXPECT_EQ(960 + kBesidePicture.cx, window.right - window.left);
    EXPECT_EQ(200 + kBesidePicture.cy, window.bottom - window.top) << "scaled as the width";

    window = Placed({0, 0, 100, 100}, {400, 8000});
    EXPECT_EQ(0, window.top);
    EXPECT_EQ(1040, window.bottom);
    EXPECT_LT(window.right - window.left, 400 + kBesidePicture.cx) << "scaled to the height";

    const STextReadingMonitor small{{0, 0, 640, 440}, 144};
    window = PlaceTextReadingWindow({100, 100, 300, 300}, {400, 400}, kFrame, small);
    EXPECT_TRUE(Inside(window, small.workArea)) << "clamped";

    const RECT mostlyLeft{-300, 100, 100, 300};
    window = PlaceTextReadingWindow(mostlyLeft, {400, 200}, kFrame, kSecondary);
    EXPECT_TRUE(Inside(window, kSecondary.workArea));
    EXPECT_EQ(400 + kFrame.cx + 573, window.right - window.left) << "text and padding at 150%";
}
