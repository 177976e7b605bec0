// The long screenshot's stitcher on synthetic grabs: a tall page scrolled behind a fixed
// header, footer and sidebar, whose stitched picture must be the page, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "capture/longshot/ScrollStitcher.h"

namespace {

constexpr int kWidth = 48, kHeight = 120, kHeader = 12, kFooter = 10, kSidebar = 5;
constexpr int kMoving = kHeight - kHeader - kFooter;
constexpr int kBlankFirst = 600, kBlankRows = 100;  // taller than any overlap of the steps below

uint32_t Mix(uint32_t a, uint32_t b)
{
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    return h ^ (h >> 15);
}

// Every row distinct, but for a few short repeated blocks and one blank area.
int PageRowId(int row)
{
    if (row >= kBlankFirst && row < kBlankFirst + kBlankRows)
        return -1;
    if (row % 250 >= 100 && row % 250 < 108)
        return row - row % 250 + 100;
    return row;
}

// A window scrolled to a page: the header and footer rows and the sidebar columns are
// fixed on screen but differ from row to row, so that matching them would go wrong.
std::vector<uint32_t> Grab(int top)
{
    std::vector<uint32_t> grab(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool content = y >= kHeader && y < kHeight - kFooter && x >= kSidebar;
            grab[y * kWidth + x] = content ? Mix(PageRowId(top + y - kHeader), x) : Mix(y + 100000, x);
        }
    return grab;
}

// Header + the first pageRows rows of the page + footer; the sidebar beside the page is not compared.
void ExpectPage(CScrollStitcher& stitcher, int pageRows)
{
    ASSERT_EQ(kWidth, stitcher.Width());
    const int height = stitcher.PictureHeight();
    ASSERT_EQ(kHeader + pageRows + kFooter, height);
    std::vector<uint32_t> picture(size_t(kWidth) * height);
    stitcher.TakeInto(picture.data());
    const std::vector<uint32_t> fixed = Grab(0);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int pageRow = y - kHeader, bottom = y - height + kHeight;
            const uint32_t pixel = picture[size_t(y) * kWidth + x];
            if (pageRow < 0 || pageRow >= pageRows)
                wrong += pixel != fixed[(pageRow < 0 ? y : bottom) * kWidth + x];
            else
                wrong += x >= kSidebar && pixel != Mix(PageRowId(pageRow), x);
        }
    EXPECT_EQ(0, wrong) << "pixels differ";
}

StitchAnswer Scroll(CScrollStitcher& stitcher, int top, int scrolledRows)
{
    return stitcher.Add(Grab(top).data(), scrolledRows);
}

// Scrolls from the top to the end of a page in steps, telling the stitcher each step when told.
void ScrollToTheEnd(CScrollStitcher& stitcher, int pageRows, int firstTop, int step, bool told)
{
    const int lastTop = pageRows - kMoving;
    for (int top = firstTop; top < lastTop;) {
        const int next = std::min(top + step, lastTop), before = stitcher.RowCount();
        const StitchAnswer answer = Scroll(stitcher, next, told ? step : 0);
        ASSERT_EQ(StitchStep::kAppended, answer.step) << "at " << next;
        ASSERT_EQ(before + answer.rows, stitcher.RowCount());
        top = next;
    }
    EXPECT_EQ(StitchStep::kNoMovement, Scroll(stitcher, lastTop, told ? step : 0).step);
}

}  // namespace

// The page's blank area is taller than the rows the steps leave in common: the distance told decides.
TEST(ScrollStitcher, StepsThatDoNotDivideTheHeightGiveHeaderPageAndFooterExactly)
{
    for (int step : {37, kMoving - CScrollStitcher::kMinOverlapRows}) {
        CScrollStitcher stitcher(kWidth, kHeight);
        Scroll(stitcher, 0, 0);
        ScrollToTheEnd(stitcher, 2000, 0, step, true);
        ExpectPage(stitcher, 2000);
        EXPECT_EQ(0, stitcher.RowCount());
    }
}

TEST(ScrollStitcher, AnAnimatedSpotOrTooLongAStepIsRefusedAndTheNextGrabContinues)
{
    CScrollStitcher stitcher(kWidth, kHeight);
    Scroll(stitcher, 0, 0);
    ASSERT_EQ(StitchStep::kAppended, Scroll(stitcher, 30, 30).step);
    const int kept = stitcher.RowCount();
    std::vector<uint32_t> animated = Grab(60);
    for (int x = 20; x < 23; ++x)
        animated[(kHeader + 15) * kWidth + x] ^= 0x00FFFFFF;
    EXPECT_EQ(StitchStep::kNoMatch, stitcher.Add(animated.data(), 30).step);
    const int tooFar = kMoving - CScrollStitcher::kMinOverlapRows + 1;
    EXPECT_EQ(StitchStep::kNoMatch, Scroll(stitcher, 30 + tooFar, tooFar).step);
    EXPECT_EQ(kept, stitcher.RowCount());
    ScrollToTheEnd(stitcher, 500, 30, 50, false);
    ExpectPage(stitcher, 500);
}

TEST(ScrollStitcher, ScrollingBackNeitherRepeatsNorDropsRows)
{
    CScrollStitcher stitcher(kWidth, kHeight);
    for (int top : {0, 50, 100})
        Scroll(stitcher, top, 50);
    const int kept = stitcher.RowCount();
    EXPECT_EQ(StitchStep::kScrolledBack, Scroll(stitcher, 40, 0).step);
    const StitchAnswer caughtUp = Scroll(stitcher, 80, 40);
    EXPECT_EQ(StitchStep::kAppended, caughtUp.step);
    EXPECT_EQ(0, caughtUp.rows);
    EXPECT_EQ(kept, stitcher.RowCount());
    ScrollToTheEnd(stitcher, 500, 80, 45, true);
    ExpectPage(stitcher, 500);
}

TEST(ScrollStitcher, ThePictureStopsAtTheRowLimitKeepingWhatFittedAndTheFooter)
{
    const int limit = 300;
    CScrollStitcher stitcher(kWidth, kHeight, limit);
    Scroll(stitcher, 0, 0);
    StitchAnswer answer{};
    for (int top = 40; answer.step != StitchStep::kLimitReached; top += 40) {
        ASSERT_LT(top, 1000);
        answer = Scroll(stitcher, top, 40);
    }
    EXPECT_EQ(StitchStep::kLimitReached, Scroll(stitcher, 900, 40).step);
    ExpectPage(stitcher, limit - kHeader - kFooter);

    EXPECT_EQ(kLongshotMaxRows, CScrollStitcher(1920, 1080).RowLimit());
    EXPECT_EQ(5461, CScrollStitcher(16384, 1080).RowLimit());  // the size limit for pictures comes first
}
