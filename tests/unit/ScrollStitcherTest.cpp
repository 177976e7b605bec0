// The long screenshot's stitcher on synthetic grabs: a tall page scrolled behind a fixed
// header, footer and sidebar, whose stitched picture must be the page, pixel for pixel.
#include <gtest/gtest.h>

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
class CScrolledPage {
public:
    explicit CScrolledPage(int rows) : m_rows(rows) {}
    int Rows() const { return m_rows; }
    int LastTop() const { return m_rows - kMoving; }

    std::vector<uint32_t> Grab(int top) const
    {
        std::vector<uint32_t> grab(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool content = y >= kHeader && y < kHeight - kFooter && x >= kSidebar;
                grab[y * kWidth + x] = content ? Mix(PageRowId(top + y - kHeader), x) : Mix(y + 100000, x);
            }
        return grab;
    }

    // Header + every page row + footer; the sidebar beside the page rows is not compared.
    void ExpectStitched(const StitchedPicture& picture, int pageRows) const
    {
        ASSERT_EQ(kWidth, picture.width);
        ASSERT_EQ(kHeader + pageRows + kFooter, picture.height);
        const std::vector<uint32_t> top = Grab(0), bottom = Grab(LastTop());
        int wrong = 0;
        for (int y = 0; y < picture.height; ++y) {
            const int pageRow = y - kHeader;
            for (int x = 0; x < kWidth; ++x) {
                uint32_t expected;
                if (pageRow < 0)
                    expected = top[y * kWidth + x];
                else if (pageRow >= pageRows)
                    expected = bottom[(y - picture.height + kHeight) * kWidth + x];
                else if (x >= kSidebar)
                    expected = Mix(PageRowId(pageRow), x);
                else
                    continue;
                if (picture.pixels[size_t(y) * kWidth + x] != expected && wrong++ < 3)
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") differs";
            }
        }
        EXPECT_EQ(0, wrong);
    }

private:
    int m_rows;
};

StitchAnswer Scroll(CScrollStitcher& stitcher, const CScrolledPage& page, int top, int scrolledRows)
{
    std::vector<uint32_t> grab = page.Grab(top);
    return stitcher.Add(grab, scrolledRows);
}

// Scrolls from the top to the end in steps, telling the stitcher the step when told is set.
void ScrollToTheEnd(CScrollStitcher& stitcher, const CScrolledPage& page, int step, bool told)
{
    ASSERT_EQ(StitchStep::kAppended, Scroll(stitcher, page, 0, 0).step);
    for (int top = 0; top < page.LastTop();) {
        const int next = std::min(top + step, page.LastTop());
        const int before = stitcher.RowCount();
        const StitchAnswer answer = Scroll(stitcher, page, next, told ? step : 0);
        ASSERT_EQ(StitchStep::kAppended, answer.step) << "at " << next;
        ASSERT_EQ(before + answer.rows, stitcher.RowCount());
        top = next;
    }
    EXPECT_EQ(StitchStep::kNoMovement, Scroll(stitcher, page, page.LastTop(), told ? step : 0).step);
}

}  // namespace

TEST(ScrollStitcher, StepsThatDoNotDivideTheHeightGiveHeaderPageAndFooterExactly)
{
    const CScrolledPage page(2000);
    for (int step : {37, kMoving - CScrollStitcher::kMinOverlapRows}) {
        CScrollStitcher stitcher(kWidth, kHeight);
        ScrollToTheEnd(stitcher, page, step, true);
        page.ExpectStitched(stitcher.Take(), page.Rows());
        EXPECT_EQ(0, stitcher.RowCount());
    }
}

TEST(ScrollStitcher, ABlankAreaTallerThanTheOverlapIsMeasuredByTheDistanceScrolled)
{
    const CScrolledPage page(1200);
    CScrollStitcher stitcher(kWidth, kHeight);
    ScrollToTheEnd(stitcher, page, 41, true);
    page.ExpectStitched(stitcher.Take(), page.Rows());
}

TEST(ScrollStitcher, AnAnimatedSpotRefusesTheGrabAndTheNextGrabContinues)
{
    const CScrolledPage page(600);
    CScrollStitcher stitcher(kWidth, kHeight);
    Scroll(stitcher, page, 0, 0);
    ASSERT_EQ(StitchStep::kAppended, Scroll(stitcher, page, 30, 30).step);
    const int kept = stitcher.RowCount();
    std::vector<uint32_t> animated = page.Grab(60);
    for (int x = 20; x < 23; ++x)
        animated[(kHeader + 15) * kWidth + x] ^= 0x00FFFFFF;
    EXPECT_EQ(StitchStep::kNoMatch, stitcher.Add(animated, 30).step);
    EXPECT_EQ(kept, stitcher.RowCount());
    // So is a step that leaves fewer rows in common than the minimum.
    const int tooFar = kMoving - CScrollStitcher::kMinOverlapRows + 1;
    EXPECT_EQ(StitchStep::kNoMatch, Scroll(stitcher, page, 30 + tooFar, tooFar).step);
    for (int top = 45; top < page.LastTop(); top += 50)
        ASSERT_EQ(StitchStep::kAppended, Scroll(stitcher, page, top, 0).step);
    ASSERT_EQ(StitchStep::kAppended, Scroll(stitcher, page, page.LastTop(), 0).step);
    page.ExpectStitched(stitcher.Take(), page.Rows());
}

TEST(ScrollStitcher, ScrollingBackNeitherRepeatsNorDropsRows)
{
    const CScrolledPage page(500);
    CScrollStitcher stitcher(kWidth, kHeight);
    Scroll(stitcher, page, 0, 0);
    Scroll(stitcher, page, 50, 50);
    Scroll(stitcher, page, 100, 50);
    const int kept = stitcher.RowCount();
    EXPECT_EQ(StitchStep::kScrolledBack, Scroll(stitcher, page, 40, 0).step);
    const StitchAnswer caughtUp = Scroll(stitcher, page, 80, 40);
    EXPECT_EQ(StitchStep::kAppended, caughtUp.step);
    EXPECT_EQ(0, caughtUp.rows);
    EXPECT_EQ(kept, stitcher.RowCount());
    for (int top = 130; top < page.LastTop(); top += 45)
        Scroll(stitcher, page, top, 45);
    Scroll(stitcher, page, page.LastTop(), 0);
    page.ExpectStitched(stitcher.Take(), page.Rows());
}

TEST(ScrollStitcher, ThePictureStopsAtTheRowLimitKeepingWhatFitted)
{
    const CScrolledPage page(1000);
    const int limit = 300;
    CScrollStitcher stitcher(kWidth, kHeight, limit);
    Scroll(stitcher, page, 0, 0);
    StitchAnswer answer{};
    for (int top = 40; answer.step != StitchStep::kLimitReached; top += 40) {
        ASSERT_LT(top, page.LastTop());
        answer = Scroll(stitcher, page, top, 40);
    }
    EXPECT_EQ(StitchStep::kLimitReached, Scroll(stitcher, page, page.LastTop(), 40).step);
    const StitchedPicture picture = stitcher.Take();
    ASSERT_EQ(limit, picture.height);
    // What fitted is the top of the page, and the footer still closes the picture.
    const int pageRows = limit - kHeader - kFooter;
    page.ExpectStitched(picture, pageRows);

    EXPECT_EQ(kLongshotMaxRows, CScrollStitcher(1920, 1080).RowLimit());
    EXPECT_EQ(5461, CScrollStitcher(16384, 1080).RowLimit());  // the size limit for pictures comes first
}
