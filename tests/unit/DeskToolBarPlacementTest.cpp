// Where the capture desk's toolbar goes beside a selection, on one monitor and on two.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "capture/desk/DeskToolBarPlacement.h"

namespace {

const SIZE kBar{400, 30};
const RECT kPrimary{0, 0, 1920, 1080};
// A smaller monitor to the left of the primary, its top above the primary's.
const RECT kSecondary{-1280, -200, 0, 824};
const std::vector<RECT> kTwoMonitors{kPrimary, kSecondary};

RECT BarAt(POINT place)
{
    return RECT{place.x, place.y, place.x + kBar.cx, place.y + kBar.cy};
}

::testing::AssertionResult WhollyOn(const RECT& bar, const RECT& monitor)
{
    if (bar.left >= monitor.left && bar.top >= monitor.top && bar.right <= monitor.right && bar.bottom <= monitor.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "bar (" << bar.left << "," << bar.top << ")-(" << bar.right << ","
                                         << bar.bottom << ") leaves the monitor";
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

}

TEST(DeskToolBarPlacement, BelowRightAlignedElseAboveElseInsideAndAlwaysOnTheMonitor)
{
    const RECT roomBelow{800, 300, 1400, 700};
    RECT bar = BarAt(PlaceDeskToolBar(roomBelow, kBar, kTwoMonitors, RECT{}));
    EXPECT_EQ(roomBelow.bottom, bar.top);
    EXPECT_EQ(roomBelow.right, bar.right);

    const RECT touchingBottom{800, 700, 1400, 1080};
    bar = BarAt(PlaceDeskToolBar(touchingBottom, kBar, kTwoMonitors, RECT{}));
    EXPECT_EQ(touchingBottom.top, bar.bottom) << "above";
    EXPECT_EQ(touchingBottom.right, bar.right);
    EXPECT_TRUE(WhollyOn(bar, kPrimary));

    const RECT narrowAtLeft{0, 500, 100, 600};
    bar = BarAt(PlaceDeskToolBar(narrowAtLeft, kBar, kTwoMonitors, RECT{}));
    EXPECT_TRUE(WhollyOn(bar, kPrimary)) << "pushed right rather than onto the other monitor";
    EXPECT_EQ(narrowAtLeft.bottom, bar.top);

    bar = BarAt(PlaceDeskToolBar(kPrimary, kBar, kTwoMonitors, RECT{}));
    EXPECT_TRUE(WhollyOn(bar, kPrimary));
    EXPECT_EQ(kPrimary.right, bar.right) << "inside, at the bottom-right";
    EXPECT_EQ(kPrimary.bottom, bar.bottom);
}

TEST(DeskToolBarPlacement, InsideTheBarKeepsClearOfTheMarkedUpPartWhereItCan)
{
    const RECT marksAtBottomRight{1000, 900, 1900, 1070};
    RECT bar = BarAt(PlaceDeskToolBar(kPrimary, kBar, kTwoMonitors, marksAtBottomRight));
    EXPECT_FALSE(Overlap(bar, marksAtBottomRight));
    EXPECT_EQ(kPrimary.bottom, bar.bottom) << "the bottom-left corner is free";

    const RECT marksEverywhere = kPrimary;
    bar = BarAt(PlaceDeskToolBar(kPrimary, kBar, kTwoMonitors, marksEverywhere));
    EXPECT_TRUE(WhollyOn(bar, kPrimary)) << "covering marks when nothing else is left";
}

TEST(DeskToolBarPlacement, OnTheSecondaryMonitorAtNegativeCoordinatesAndAcrossTheSeam)
{
    const RECT onSecondary{-700, 600, -300, 824};
    RECT bar = BarAt(PlaceDeskToolBar(onSecondary, kBar, kTwoMonitors, RECT{}));
    EXPECT_TRUE(WhollyOn(bar, kSecondary)) << "its bottom edge is above the primary's";
    EXPECT_EQ(onSecondary.top, bar.bottom);

    const RECT mostlyOnSecondary{-600, 100, 200, 300};
    EXPECT_EQ(kSecondary.right, MonitorShowingMost(mostlyOnSecondary, kTwoMonitors).right);
    bar = BarAt(PlaceDeskToolBar(mostlyOnSecondary, kBar, kTwoMonitors, RECT{}));
    EXPECT_TRUE(WhollyOn(bar, kSecondary)) << "not right-aligned onto the primary";
    EXPECT_EQ(mostlyOnSecondary.bottom, bar.top);

    const RECT mostlyOnPrimary{-100, 100, 600, 300};
    bar = BarAt(PlaceDeskToolBar(mostlyOnPrimary, kBar, kTwoMonitors, RECT{}));
    EXPECT_TRUE(WhollyOn(bar, kPrimary));

    const RECT offEveryMonitor{-1280, 900, -1000, 1000};
    EXPECT_TRUE(WhollyOn(BarAt(PlaceDeskToolBar(offEveryMonitor, kBar, kTwoMonitors, RECT{})), kSecondary))
        << "the nearest monitor";
}
