#include <gtest/gtest.h>

#include "document/ScrollPosition.h"
#include "document/ViewArithmetic.h"
#include "document/ZoomTable.h"

namespace {
TEST(ZoomTable, NeighbourSearchFindsEntriesAndGaps)
{
    EXPECT_EQ(ZoomPosition::kExact, FindZoomNeighbour(1.0f).kind);
    EXPECT_EQ(4, FindZoomNeighbour(1.0f).index);
    EXPECT_EQ(ZoomPosition::kBetween, FindZoomNeighbour(0.2667f).kind);
    EXPECT_EQ(1, FindZoomNeighbour(0.2667f).index);
    EXPECT_EQ(ZoomPosition::kBetween, FindZoomNeighbour(60.0f).kind) << "up to the sentinel";
    EXPECT_EQ(12, FindZoomNeighbour(60.0f).index);
    EXPECT_EQ(ZoomPosition::kOutside, FindZoomNeighbour(0.05f).kind);
    EXPECT_EQ(ZoomPosition::kOutside, FindZoomNeighbour(100.0f).kind);
    EXPECT_EQ(13, FindZoomNeighbour(150.0f).index);
}

TEST(ZoomTable, ZoomCommandsStepToTheNextEntryAndStopAtTheEnds)
{
    EXPECT_EQ(12, ZoomInIndex(16.0f));
    EXPECT_EQ(-1, ZoomInIndex(32.0f));
    EXPECT_EQ(-1, ZoomInIndex(60.0f));
    EXPECT_EQ(-1, ZoomOutIndex(0.1f));
    EXPECT_EQ(-1, ZoomOutIndex(0.05f));
    EXPECT_EQ(3, ZoomOutIndex(1.0f));
    // From fitted zooms between entries and outside the table.
    EXPECT_EQ(2, ZoomInIndex(800.0f / 3000.0f));
    EXPECT_EQ(1, ZoomOutIndex(800.0f / 3000.0f));
    EXPECT_EQ(12, ZoomOutIndex(60.0f));
    EXPECT_EQ(0, ZoomInIndex(0.05f));
    EXPECT_EQ(12, ZoomOutIndex(150.0f));
}

TEST(ZoomTable, FittedZoomMarksOnlyExactEntries)
{
    EXPECT_EQ(2, FittedZoomIndex(0.5f));
    EXPECT_EQ(-1, FittedZoomIndex(0.2667f));
    EXPECT_EQ(13, FittedZoomIndex(0.05f));
    EXPECT_EQ(-1, FittedZoomIndex(60.0f));
}

TEST(ViewArithmetic, FitTakesTheSmallerRatio)
{
    FitResult fit = FitZoom(800, 600, 1600, 1200);
    EXPECT_EQ(0.5f, fit.zoom);
    EXPECT_EQ(800, fit.content.cx);
    EXPECT_EQ(600, fit.content.cy);

    fit = FitZoom(800, 600, 3000, 100);
    EXPECT_FLOAT_EQ(800.0f / 3000.0f, fit.zoom);
    EXPECT_EQ(800, fit.content.cx);
    EXPECT_EQ(26, fit.content.cy);

    fit = FitZoom(800, 600, 10, 10);
    EXPECT_EQ(60.0f, fit.zoom);
    EXPECT_EQ(600, fit.content.cx);
    EXPECT_EQ(600, fit.content.cy);

    fit = FitZoom(400, 300, 8000, 100);
    EXPECT_FLOAT_EQ(0.05f, fit.zoom);
    EXPECT_EQ(400, fit.content.cx);
    EXPECT_EQ(5, fit.content.cy);
}

TEST(ViewArithmetic, ScrollTargetsClampToTheRange)
{
    EXPECT_EQ(0, ScrollTarget(SB_LINEUP, 5, 16, 160, 400, 0));
    EXPECT_EQ(400, ScrollTarget(SB_LINEDOWN, 390, 16, 160, 400, 0));
    EXPECT_EQ(200, ScrollTarget(SB_PAGEUP, 360, 16, 160, 400, 0));
    EXPECT_EQ(400, ScrollTarget(SB_PAGEDOWN, 300, 16, 160, 400, 0));
    EXPECT_EQ(123, ScrollTarget(SB_THUMBTRACK, 0, 16, 160, 400, 123));
    EXPECT_EQ(0, ScrollTarget(SB_TOP, 300, 16, 160, 400, 0));
    EXPECT_EQ(400, ScrollTarget(SB_BOTTOM, 0, 16, 160, 400, 0));
    EXPECT_EQ(-1, ScrollTarget(SB_ENDSCROLL, 10, 16, 160, 400, 0));
}

// The offset stays between 0 and content - view whatever changes: the content, the
// view or a drag; a scroll takes line and page steps of a hundredth and a tenth.
TEST(ScrollPosition, TheOffsetStaysInsideTheContent)
{
    CScrollPosition scroll;
    scroll.SetContent(SIZE{1000, 500}, true);
    scroll.SetView(SIZE{200, 100});
    scroll.MoveTo(POINT{700, 350});
    scroll.SetView(SIZE{400, 200});
    EXPECT_EQ(600, scroll.Offset().x);
    EXPECT_EQ(300, scroll.Offset().y);
    scroll.SetContent(SIZE{500, 250}, false);
    EXPECT_EQ(100, scroll.Offset().x);
    EXPECT_EQ(50, scroll.Offset().y);
    scroll.SetContent(SIZE{5000, 2500}, true);
    EXPECT_EQ(0, scroll.Offset().x);

    const SIZE client{400, 200};
    EXPECT_EQ(50, scroll.Target(SB_HORZ, SB_LINEDOWN, client, 0));
    EXPECT_EQ(250, scroll.Target(SB_VERT, SB_PAGEDOWN, client, 0));
    EXPECT_EQ(-1, scroll.Target(SB_VERT, SB_LINEDOWN, SIZE{400, 3000}, 0)) << "the content fits";
    scroll.MoveTo(SB_HORZ, 30);
    EXPECT_EQ(0, scroll.Dragged(50, 0, client).x);
    EXPECT_EQ(4600, scroll.Dragged(-9000, 0, client).x);
    EXPECT_EQ(40, scroll.Dragged(-10, -40, client).x);
    EXPECT_EQ(40, scroll.Dragged(-10, -40, client).y);
}

TEST(ViewArithmetic, WheelStepsAccumulatePartNotches)
{
    int accumulator = 0;
    EXPECT_EQ(2, WheelSteps(accumulator, 60, 3));
    EXPECT_EQ(60, accumulator);
    EXPECT_EQ(3, WheelSteps(accumulator, 60, 3));
    EXPECT_EQ(0, accumulator);

    EXPECT_EQ(3, WheelSteps(accumulator, -120, 3));
    EXPECT_EQ(0, accumulator);
    EXPECT_EQ(1, WheelSteps(accumulator, -120, -1)) << "a page per notch";
    EXPECT_EQ(1, WheelSteps(accumulator, -30, -1));
    EXPECT_EQ(-30, accumulator) << "the remainder keeps its sign";
    EXPECT_EQ(0, WheelSteps(accumulator, 30, 3));
}
}
