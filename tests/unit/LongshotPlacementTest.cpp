// Where the long screenshot's preview goes beside a selection, on one monitor and on two.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "RectInside.h"
#include "capture/longshot/LongshotPlacement.h"

namespace {

constexpr int kWidth = 200;
constexpr SIZE kLeast{140, 180};
// The primary with a taskbar along its bottom, and a monitor at 150% to its left whose top is
// higher and whose taskbar stands at its left edge.
const PreviewMonitor kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const PreviewMonitor kSecondary{{-2560, -300, 0, 1140}, {-2500, -300, 0, 1140}, 144};
const std::vector<PreviewMonitor> kMonitors{kPrimary, kSecondary};

bool Overlap(const RECT& a, const RECT& b)
{
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

// The preview's window beside selection; a failure when there is none.
RECT Placed(const RECT& selection, int expectedDpi = 96)
{
    PreviewPlace place{};
    EXPECT_TRUE(PlaceLongshotPreview(selection, kMonitors, kWidth, kLeast, place));
    EXPECT_EQ(expectedDpi, place.dpi);
    EXPECT_FALSE(Overlap(place.window, selection));
    return place.window;
}

}

TEST(LongshotPlacement, RightElseLeftElseBelowElseAboveElseNone)
{
    const RECT middle{600, 200, 1000, 700};
    RECT window = Placed(middle);
    EXPECT_GT(window.left, middle.right);
    EXPECT_LE(window.left, middle.right + 16);
    EXPECT_EQ(middle.top, window.top);
    EXPECT_EQ(kWidth, window.right - window.left);
    EXPECT_EQ(middle.bottom - middle.top, window.bottom - window.top) << "as high as the selection";

    const RECT atRight{1000, 200, 1750, 700};
    window = Placed(atRight);
    EXPECT_LT(window.right, atRight.left) << "left, whole, rather than a squeezed right";
    EXPECT_EQ(kWidth, window.right - window.left);

    const RECT wide{0, 100, 1920, 500};
    window = Placed(wide);
    EXPECT_GT(window.top, wide.bottom) << "below";
    EXPECT_TRUE(Inside(window, kPrimary.workArea));

    const RECT wideAtBottom{0, 600, 1920, 1000};
    window = Placed(wideAtBottom);
    EXPECT_LT(window.bottom, wideAtBottom.top) << "above";
    EXPECT_TRUE(Inside(window, kPrimary.workArea));

    PreviewPlace place{};
    EXPECT_FALSE(PlaceLongshotPreview(kPrimary.monitor, kMonitors, kWidth, kLeast, place)) << "no room anywhere";
    EXPECT_FALSE(PlaceLongshotPreview(RECT{0, 80, 1920, 960}, kMonitors, kWidth, kLeast, place))
        << "rooms above and below too low for the buttons";
}

TEST(LongshotPlacement, SizedBetweenTheLeastAndTheWorkArea)
{
    const RECT tall{700, 0, 1700, 1080};
    RECT window = Placed(tall);
    EXPECT_TRUE(Inside(window, kPrimary.workArea)) << "off the taskbar";
    EXPECT_EQ(1040, window.bottom - window.top);

    const RECT flat{700, 1000, 1000, 1030};
    window = Placed(flat);
    EXPECT_EQ(kLeast.cy, window.bottom - window.top) << "room for the buttons";
    EXPECT_TRUE(Inside(window, kPrimary.workArea)) << "lifted to stay on the work area";

    const RECT roomForLeastOnly{0, 0, 1740, 1040};
    window = Placed(roomForLeastOnly);
    EXPECT_GT(window.left, roomForLeastOnly.right);
    EXPECT_EQ(kPrimary.workArea.right, window.right);
    EXPECT_GE(window.right - window.left, kLeast.cx);
}

TEST(LongshotPlacement, OnTheWorkAreaAndAtTheDpiOfTheMonitorShowingMost)
{
    const RECT mostlyOnSecondary{-900, 100, 100, 600};
    RECT window = Placed(mostlyOnSecondary, 144);
    EXPECT_TRUE(Inside(window, kSecondary.workArea)) << "not right across the seam onto the primary";
    EXPECT_LT(window.right, mostlyOnSecondary.left);
    EXPECT_EQ(300, window.right - window.left) << "200 at 150%";

    const RECT besideTheTaskbar{-2200, 100, -150, 600};
    window = Placed(besideTheTaskbar, 144);
    EXPECT_GT(window.top, besideTheTaskbar.bottom) << "below: the taskbar leaves too little room on the left";
    EXPECT_TRUE(Inside(window, kSecondary.workArea));

    const RECT secondaryAllButTaskbar = kSecondary.workArea;
    PreviewPlace place{};
    EXPECT_FALSE(PlaceLongshotPreview(secondaryAllButTaskbar, kMonitors, kWidth, kLeast, place))
        << "never onto the monitor that does not show the selection, nor onto a taskbar";
}

TEST(LongshotPlacement, AFixedSizeBesideOutsideElseInTheSelectionsBottomRightCorner)
{
    PreviewPlace place{};
    const RECT middle{300, 300, 600, 500};
    EXPECT_TRUE(PlaceBesideSelection(middle, kMonitors, SIZE{380, 38}, place));
    const RECT right{608, 300, 988, 338};
    EXPECT_TRUE(EqualRect(&right, &place.window)) << "at its full size, level with the top";
    const RECT left{-2500, -300, -10, 1140};  // no room on the 150% monitor
    EXPECT_FALSE(PlaceBesideSelection(left, kMonitors, SIZE{380, 38}, place));
    EXPECT_EQ(144, place.dpi);
    const RECT corner{-580, 1083, -10, 1140};
    EXPECT_TRUE(EqualRect(&corner, &place.window));
    EXPECT_FALSE(PlaceBesideSelection(kPrimary.monitor, kMonitors, SIZE{380, 38}, place));
    const RECT aboveTheTaskbar{1540, 1002, 1920, 1040};
    EXPECT_TRUE(EqualRect(&aboveTheTaskbar, &place.window));
}
