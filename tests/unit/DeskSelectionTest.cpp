// The capture desk's selection while it is adjusted: which part a press takes hold of,
// and that resizing, moving and nudging keep it inside the frame and at least a pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include "capture/desk/DeskSelection.h"

namespace {
const RECT kFrame{0, 0, 800, 600};

::testing::AssertionResult Is(const RECT& expected, const RECT& actual)
{
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << "," << actual.top << ")-(" << actual.right << ","
                                         << actual.bottom << ")";
}

TEST(DeskSelection, CornersComeBeforeEdgesAndEdgesBeforeTheInside)
{
    const CDeskSelection selection({100, 100, 110, 108}, kFrame);
    // On a selection smaller than its handles, the corner nearest wins over the edge middles.
    EXPECT_EQ(DeskGrip::kBottomRight, selection.GripAt({111, 109}, 4));
    EXPECT_EQ(DeskGrip::kTopLeft, selection.GripAt({99, 99}, 4));
    const CDeskSelection large({100, 100, 400, 300}, kFrame);
    EXPECT_EQ(DeskGrip::kLeft, large.GripAt({102, 150}, 4));
    EXPECT_EQ(DeskGrip::kBottom, large.GripAt({300, 303}, 4));
    EXPECT_EQ(DeskGrip::kInside, large.GripAt({200, 200}, 4));
    EXPECT_EQ(DeskGrip::kNone, large.GripAt({50, 200}, 4));
}

TEST(DeskSelection, AnEdgeDraggedPastTheOtherTurnsItOverAndStopsAtTheFrame)
{
    CDeskSelection selection({100, 100, 400, 300}, kFrame);
    selection.BeginDrag(DeskGrip::kLeft, {100, 200});
    EXPECT_TRUE(selection.DragTo({500, 200}));
    EXPECT_TRUE(Is({400, 100, 500, 300}, selection.Rect()));
    // Onto the opposite edge: one pixel stays.
    selection.DragTo({400, 200});
    EXPECT_TRUE(Is({400, 100, 401, 300}, selection.Rect()));
    selection.EndDrag();
    selection.BeginDrag(DeskGrip::kBottomRight, {401, 300});
    selection.DragTo({900, 700});
    EXPECT_TRUE(Is({400, 100, 800, 600}, selection.Rect()));
}

TEST(DeskSelection, MovesAndNudgesStopAtTheFrameWithoutChangingSize)
{
    CDeskSelection selection({100, 100, 400, 300}, kFrame);
    selection.BeginDrag(DeskGrip::kInside, {200, 200});
    selection.DragTo({-100, 50});
    EXPECT_TRUE(Is({0, 0, 300, 200}, selection.Rect()));
    selection.EndDrag();
    EXPECT_FALSE(selection.Nudge(-1, 0));
    EXPECT_TRUE(selection.Nudge(600, 10));
    EXPECT_TRUE(Is({500, 10, 800, 210}, selection.Rect()));
}
}  // namespace
