// The capture engine's geometry over a layout of its own: a 1024 x 768 monitor left of
// a 1280 x 1024 primary, both at the top, so that the left one ends 256 rows earlier.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>

#include "snapcore/ScreenLayout.h"

// Lets the checks compare and print rectangles.
inline bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

using snapcore::CScreenLayout;

const RECT kLeft{-1024, 0, 0, 768};
const RECT kPrimary{0, 0, 1280, 1024};
const CScreenLayout kLayout(RECT{-1024, 0, 1280, 1024}, {kLeft, kPrimary});

RECT Between(POINT from, POINT to)
{
    return kLayout.Selection(from, to);
}

TEST(ScreenLayout, ADragSelectsTheDraggedPixelsAndReachesEachMonitorsLastRowAndColumn)
{
    // From the short monitor's last row down onto the tall one, and back: the row it
    // started on is the top of the selection.
    EXPECT_EQ(Between(POINT{-200, 767}, POINT{200, 900}), (RECT{-200, 767, 200, 900}));
    EXPECT_EQ(Between(POINT{200, 900}, POINT{-200, 767}), (RECT{-200, 767, 200, 900}));
    // Where the pointer can go no further, the last row and column are taken in.
    EXPECT_EQ(Between(POINT{100, 100}, POINT{1279, 1023}), (RECT{100, 100, 1280, 1024}));
    EXPECT_EQ(Between(POINT{1279, 1023}, POINT{100, 100}), (RECT{100, 100, 1280, 1024}));
    EXPECT_EQ(Between(POINT{-500, 300}, POINT{-600, 767}), (RECT{-600, 300, -500, 768}));
    EXPECT_EQ(Between(POINT{-600, 767}, POINT{-500, 300}), (RECT{-600, 300, -500, 768}));
    // A move along the last row selects nothing.
    const RECT flat = Between(POINT{-500, 767}, POINT{-100, 767});
    EXPECT_TRUE(IsRectEmpty(&flat)) << flat;
}

// The label must lie whole on the given monitor.
void ExpectOn(const RECT& monitor, const RECT& label)
{
    RECT inside;
    IntersectRect(&inside, &monitor, &label);
    EXPECT_EQ(inside, label) << "on " << monitor;
}

TEST(ScreenLayout, TheSizeLabelGoesOnTheMonitorThatShowsTheSubjectAndClearOfTheMagnifier)
{
    const SIZE size{90, 20};
    const RECT none{};
    constexpr int kFrame = 3;
    // Above the top-left corner where there is room, just inside it where there is not.
    const RECT above = kLayout.PlaceLabel(RECT{300, 200, 700, 500}, size, kFrame, none);
    EXPECT_EQ(above.left, 300);
    EXPECT_LT(above.bottom, 200);
    ExpectOn(kPrimary, above);
    const RECT inside = kLayout.PlaceLabel(kPrimary, size, kFrame, none);
    EXPECT_GE(inside.left, kFrame);
    EXPECT_GE(inside.top, kFrame);
    ExpectOn(kPrimary, inside);
    ExpectOn(kPrimary, kLayout.PlaceLabel(RECT{1250, 300, 1280, 400}, size, kFrame, none));

    // A window whose top-left corner lies where no monitor shows anything.
    const RECT window{-300, 800, 300, 1000};
    const RECT shown = kLayout.PlaceLabel(window, size, kFrame, none);
    ExpectOn(kPrimary, shown);
    EXPECT_LT(shown.left, window.right);
    EXPECT_LT(shown.top, window.bottom);

    // A window at the bottom-left corner of a monitor, with the magnifier beside the
    // pointer in that corner, flipped up and to the right.
    const RECT low{-1024, 700, -600, 768};
    const RECT magnifier{-992, 500, -820, 736};
    const RECT clear = kLayout.PlaceLabel(low, size, kFrame, magnifier);
    ExpectOn(kLeft, clear);
    RECT common;
    EXPECT_FALSE(IntersectRect(&common, &clear, &magnifier)) << clear;
}

} // namespace
