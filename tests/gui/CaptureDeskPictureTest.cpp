// The capture desk showing a picture taken elsewhere, worked with real input: a picture
// taller than the screen scrolled with the wheel and marked up, and a short one in place.
#include <gtest/gtest.h>

#include <windows.h>

#include "DeskWindows.h"
#include "KeyInput.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "TimedSteps.h"
#include "annotate/AnnotationTools.h"
#include "capture/desk/CaptureDesk.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"

namespace {
// Every row of the picture is told apart by its red and green, the column by its blue.
COLORREF PictureColour(int x, int y)
{
    return RGB(y & 0xFF, (y >> 8) & 0xFF, 0x80 | (x & 0x7F));
}

CBitmapOwner MakePicture(int width, int height)
{
    DWORD* pixels = nullptr;
    CBitmapOwner picture = CreateTopDownDib(width, height, pixels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PictureColour(x, y);
            pixels[static_cast<size_t>(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return picture;
}

// The picture's row that the screen shows at a point over it.
int RowShownAt(POINT screen)
{
    const COLORREF shown = CPixelReader().At(screen);
    return GetRValue(shown) | (GetGValue(shown) << 8);
}

// The pixels of a DIB section of 32 bits a pixel, top-down, and its size.
const DWORD* DibPixels(HBITMAP bitmap, SIZE& size)
{
    DIBSECTION dib{};
    if (!bitmap || GetObject(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32)
        return nullptr;
    size = SIZE{dib.dsBm.bmWidth, dib.dsBm.bmHeight};
    return static_cast<const DWORD*>(dib.dsBm.bmBits);
}

// Whether every pixel of shown is the picture's, but where covered says it may differ.
::testing::AssertionResult SamePixels(HBITMAP shown, HBITMAP picture, const RECT& covered = RECT{})
{
    SIZE size{}, expected{};
    const DWORD* got = DibPixels(shown, size);
    const DWORD* want = DibPixels(picture, expected);
    if (!got || !want || size.cx != expected.cx || size.cy != expected.cy)
        return ::testing::AssertionFailure() << "picture of " << size.cx << " x " << size.cy;
    for (LONG y = 0; y < size.cy; ++y)
        for (LONG x = 0; x < size.cx; ++x) {
            const size_t at = static_cast<size_t>(y) * size.cx + x;
            const POINT point{x, y};
            if ((got[at] & 0xFFFFFF) != (want[at] & 0xFFFFFF) && !PtInRect(&covered, point))
                return ::testing::AssertionFailure() << "differs at " << x << ", " << y;
        }
    return ::testing::AssertionSuccess();
}

class CaptureDeskPicture : public ::testing::Test {
protected:
    // Runs the desk over the picture at place through the steps; a desk still up at the
    // deadline is closed, which cancels it.
    DeskResult Run(HBITMAP picture, const RECT& place, std::vector<CTimedSteps::Step> steps)
    {
        CTimedSteps timed(std::move(steps), 15000, [] { PostMessageA(Desk(), WM_CLOSE, 0, 0); });
        CCaptureDesk desk(m_tools, m_settings);
        DeskResult result = desk.RunPicture(picture, place);
        EXPECT_TRUE(timed.Finished()) << timed.StepsTaken() << " steps taken";
        EXPECT_FALSE(IsWindow(Desk()));
        return result;
    }

    const int m_screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CAnnotationTools m_tools;
    CSettings m_settings;
};

TEST_F(CaptureDeskPicture, ATallPictureScrollsWithTheWheelAndTakesMarksInItsOwnPixels)
{
    const int width = 300, height = 3 * m_screenHeight;
    const CBitmapOwner picture = MakePicture(width, height);
    const RECT place{200, 100, 200 + width, 100 + height};
    const COLORREF ink = m_tools.Style().colour;
    const POINT probe{480, 300};  // right of where the marks go
    const auto wheelDown = [probe](int notches) { MouseAtScreen(probe, MOUSEEVENTF_WHEEL, -notches * WHEEL_DELTA); };
    // How far the picture shows scrolled when each mark is down.
    int scrolled[2] = {};
    const DeskResult result = Run(
        picture.get(), place,
        {
            // Too tall for the screen, it starts at the screen's top.
            {[&] { return DeskHasKeyboard() && RowShownAt(probe) == probe.y; }, [&] { wheelDown(3); }},
            {[&] { return RowShownAt(probe) > probe.y; },
             [] {
                 PressKeys({'R'});
                 DragOnScreen({{250, 200}, {400, 400}});
             }},
            // The second mark goes over a picture already marked up and scrolled on.
            {[&] { return CPixelReader().At(300, 200) == ink; },
             [&] {
                 scrolled[0] = RowShownAt(probe) - probe.y;
                 wheelDown(3);
             }},
            {[&] { return RowShownAt(probe) > probe.y + scrolled[0]; },
             [] { DragOnScreen({{250, 500}, {350, 600}}); }},
            {[&] { return CPixelReader().At(300, 500) == ink; },
             [&] {
                 scrolled[1] = RowShownAt(probe) - probe.y;
                 wheelDown(100);
             }},
            // Far past the end, the picture's last row stays at the screen's bottom.
            {[&] { return RowShownAt(POINT{probe.x, m_screenHeight - 1}) == height - 1; },
             [] { PressKeys({VK_RETURN}); }},
        });
    ASSERT_EQ(DeskAction::kCopy, result.action);
    EXPECT_GT(scrolled[0], 0);
    EXPECT_GT(scrolled[1], scrolled[0]);
    EXPECT_EQ(m_screenHeight, result.rcSelection.bottom);
    EXPECT_EQ(place.left, result.rcSelection.left);
    EXPECT_TRUE(SamePixels(result.picture.get(), picture.get()));
    ASSERT_EQ(2u, result.marks.size());
    const RECT drawn[] = {{50, 200 + scrolled[0], 200, 400 + scrolled[0]}, {50, 500 + scrolled[1], 150, 600 + scrolled[1]}};
    for (int i = 0; i < 2; ++i) {
        const Annotation& mark = result.marks[i];
        const RECT got{static_cast<LONG>(mark.points[0].x), static_cast<LONG>(mark.points[0].y),
                       static_cast<LONG>(mark.points[1].x), static_cast<LONG>(mark.points[1].y)};
        EXPECT_TRUE(EqualRect(&drawn[i], &got)) << i << ": " << got.left << ", " << got.top << ", " << got.right
                                                << ", " << got.bottom;
    }

    // The flattened picture: all of it, the rectangles drawn where they were.
    const CBitmapOwner flattened = FlattenDeskResult(result);
    const RECT inked{40, drawn[0].top - 10, 211, drawn[1].bottom + 11};
    EXPECT_TRUE(SamePixels(flattened.get(), picture.get(), inked));
    EXPECT_EQ(ink, BitmapPixel(flattened.get(), 100, drawn[0].top));
    EXPECT_EQ(ink, BitmapPixel(flattened.get(), 100, drawn[1].bottom));
}

TEST_F(CaptureDeskPicture, AShortPictureShowsWhereItWasTakenAndCannotBeTakenLonger)
{
    const CBitmapOwner picture = MakePicture(200, 150);
    const RECT place{600, 400, 800, 550};
    COLORREF inside = 0, around = 0;
    bool longshot = true;
    const DeskResult result = Run(picture.get(), place,
                                  {{[] { return DeskHasKeyboard() && ScreenShowsThreadWindows(); },
                                    [&] {
                                        const CPixelReader shown;
                                        inside = shown.At(610, 420);
                                        around = shown.At(590, 390);
                                        longshot = DeskBarButtonEnabled(ID_DESK_LONGSHOT);
                                        PressKeys({VK_RETURN});
                                    }}});
    EXPECT_EQ(PictureColour(10, 20), inside);
    EXPECT_EQ(RGB(64, 64, 64), around);
    EXPECT_FALSE(longshot);
    ASSERT_EQ(DeskAction::kCopy, result.action);
    EXPECT_TRUE(EqualRect(&place, &result.rcSelection));
    EXPECT_TRUE(SamePixels(result.picture.get(), picture.get()));
}
}  // namespace
