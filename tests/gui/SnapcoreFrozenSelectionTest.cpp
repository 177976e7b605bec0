// The frozen screen handed over with the chosen rectangle: the engine's overlay worked
// with real input, the returned picture compared with the screen pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdint>

#include "LiveGdiObjects.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreFixture.h"
#include "scoped/ScopedHandles.h"

namespace {

constexpr int kModeFullScreen = 0, kModeRegion = 2, kModeObject = 3, kModeAnyPart = 4;
const COLORREF kHighlight = RGB(0, 160, 255);

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A rectangle as gtest can compare and print it.
std::array<LONG, 4> Corners(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

class SnapcoreFrozenSelection : public SnapcoreFixture {
protected:
    CBitmapOwner Select(int mode, std::initializer_list<Step> script, RECT* chosen, CaptureOptions options = {})
    {
        CCaptureDriver driver(script);
        AuxWindowOptions aux{2, 0};
        CBitmapOwner frame(m_pfnSelectOnFrozenScreen(mode, &options, &aux, chosen));
        EXPECT_TRUE(driver.Finish()) << "the overlay came up in the foreground and was worked";
        EXPECT_TRUE(PumpUntil(ScreenShowsThreadWindows));
        return frame;
    }

    // What a script made of the given steps chooses in mode; all zero for nothing.
    std::array<LONG, 4> Chosen(int mode, std::initializer_list<Step> script)
    {
        RECT chosen{};
        Select(mode, script, &chosen);
        return Corners(chosen);
    }

    CScreenImage Screenshot() const
    {
        CaptureOptions options{};
        const CBitmapOwner bitmap(m_pfnCaptureFullScreen(&options));
        return CScreenImage(bitmap.get());
    }
};

// The pointer asked for is drawn in where it was: the frame is the screen as frozen,
// not what the overlay showed.
TEST_F(SnapcoreFrozenSelection, TheFrameIsTheWholeFrozenScreenWithThePointerAndChosenIsTheDraggedRegion)
{
    const CBlockCursor block;
    const CPatternWindow window(block.Handle());
    const POINT pointer = CentreOf(Quadrant(kPatternPlace, 3));
    ASSERT_TRUE(ShowPointerAt(block.Handle(), pointer));
    const CScreenImage before = Screenshot();
    ASSERT_FALSE(before.IsEmpty());
    const POINT from{kPatternPlace.left + 10, kPatternPlace.top + 7};
    const POINT to{kPatternPlace.right - 9, kPatternPlace.bottom - 3};
    RECT chosen{};
    const CBitmapOwner frame = Select(kModeRegion, {Input::Drag(from, to)}, &chosen, CaptureOptions{0, 1});
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Corners(chosen), Corners(RECT{from.x, from.y, to.x, to.y}));

    DIBSECTION section{};
    ASSERT_EQ(GetObjectA(frame.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    const RECT screen = VirtualScreen();
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    ASSERT_EQ(section.dsBm.bmWidth, screen.right - screen.left);
    ASSERT_EQ(section.dsBm.bmHeight, screen.bottom - screen.top);
    const POINT red = CentreOf(Quadrant(kPatternPlace, 0));
    const auto* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
    EXPECT_EQ(bits[(red.y - screen.top) * section.dsBm.bmWidth + (red.x - screen.left)], 0xFF0000u)
        << "a top-down DIB section of 0x00RRGGBB pixels";
    SIZE origin{};
    GetBitmapDimensionEx(frame.get(), &origin);
    EXPECT_EQ(origin.cx, screen.left);
    EXPECT_EQ(origin.cy, screen.top);

    const CScreenImage image(frame.get());
    const RECT shape = block.PlaceFor(pointer);
    int wrong = 0;
    for (int y = screen.top; y < screen.bottom; ++y)
        for (int x = screen.left; x < screen.right; ++x)
            wrong += image.At(x, y) != (PtInRect(&shape, POINT{x, y}) ? RGB(0, 0, 0) : before.At(x, y));
    EXPECT_EQ(wrong, 0) << "pixels that differ from the screen with the pointer where it was";
}

TEST_F(SnapcoreFrozenSelection, AnyPartHighlightsTheObjectUnderThePointerTakesItOnAClickAndARegionOnADrag)
{
    const CSystemWindow frame("STATIC", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{560, 200, 1000, 520}, nullptr,
                              WS_EX_TOPMOST);
    const CSystemWindow panel("STATIC", WS_CHILD | WS_VISIBLE | SS_GRAYRECT, RECT{20, 20, 320, 220}, frame.Handle());
    const CSystemWindow button("BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, RECT{30, 40, 130, 70}, panel.Handle());
    ASSERT_TRUE(PumpUntil(ScreenShowsThreadWindows));
    const RECT framePlace = WindowRect(frame.Handle()), buttonPlace = WindowRect(button.Handle());
    const POINT onButton{buttonPlace.left + 20, buttonPlace.top + 10};
    const POINT onFrame{framePlace.right - 30, framePlace.bottom - 30};
    const SIZE drag{GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
    const POINT wobble{onButton.x + drag.cx, onButton.y + drag.cy};

    // A drag along one edge selects nothing and the overlay goes on; a press that moves
    // no further than the drag distance is a click.
    const POINT buttonCorner{buttonPlace.left, buttonPlace.top};
    COLORREF seen = CLR_INVALID;
    EXPECT_EQ(Chosen(kModeAnyPart, {Input::MoveTo(onButton),
                                    WaitUntil([&] { return (seen = CPixelReader().At(buttonCorner)) == kHighlight; }),
                                    Input::Drag(POINT{onFrame.x - 100, onFrame.y}, onFrame), Input::MoveTo(onButton),
                                    Input::LeftButton(true), Input::MoveTo(wobble), Input::LeftButton(false)}),
              Corners(buttonPlace))
        << "a click on a control inside a panel";
    EXPECT_EQ(seen, kHighlight) << "the control under the pointer is highlighted";

    EXPECT_EQ(Chosen(kModeAnyPart, {Input::Drag(onButton, onFrame)}),
              Corners(RECT{onButton.x, onButton.y, onFrame.x, onFrame.y}))
        << "a drag from the control";
    // The keyboard alone: Enter is the button.
    EXPECT_EQ(Chosen(kModeAnyPart, {Input::MoveTo(onFrame), Input::Key(VK_RETURN), Input::Key(VK_RETURN)}),
              Corners(framePlace))
        << "Enter twice on the window where it has no child";
    EXPECT_EQ(Chosen(kModeAnyPart, {Input::MoveTo(onButton), Input::Key(VK_RETURN), Input::Key(VK_RIGHT, drag.cx + 7),
                                    Input::Key(VK_DOWN, 3), Input::Key(VK_RETURN)}),
              Corners(RECT{onButton.x, onButton.y, onButton.x + drag.cx + 7, onButton.y + 3}))
        << "Enter, the arrows and Enter";
    EXPECT_EQ(Chosen(kModeObject, {Input::Click(onButton)}), Corners(buttonPlace)) << "as object mode takes it";
}

// Once the call has returned, the frame is the one picture the engine made that is
// still alive; cancelled or refused, nothing is.
TEST_F(SnapcoreFrozenSelection, EscapeAndRefusedCallsGiveNullAndOnlyTheFrameOutlivesTheCall)
{
    const CPatternWindow window;
    const POINT from{kPatternPlace.left + 10, kPatternPlace.top + 10}, to{from.x + 40, from.y + 30};
    RECT chosen{};
    Select(kModeRegion, {Input::Drag(from, to)}, &chosen); // the system's first-use caches
    const size_t live = LiveGdiObjects();
    chosen = RECT{1, 2, 3, 4};
    EXPECT_EQ(Select(kModeAnyPart, {Input::MoveTo(from), Input::Key(VK_ESCAPE)}, &chosen), nullptr);
    EXPECT_TRUE(IsRectEmpty(&chosen)) << "emptied";
    EXPECT_EQ(LiveGdiObjects(), live);
    {
        const CBitmapOwner frame = Select(kModeAnyPart, {Input::Drag(from, to)}, &chosen);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(LiveGdiObjects(), live + 1) << "the frame handed over, nothing else kept";
    }
    EXPECT_EQ(LiveGdiObjects(), live);

    // Refused at once: the overlay never comes up.
    const auto refused = [&](int mode, RECT* rect) {
        CCaptureDriver driver{Input::Key(VK_ESCAPE)};
        const CBitmapOwner frame(m_pfnSelectOnFrozenScreen(mode, nullptr, nullptr, rect));
        return !driver.Finish() && !frame;
    };
    EXPECT_TRUE(refused(kModeRegion, nullptr)) << "no place for the chosen rectangle";
    EXPECT_TRUE(refused(kModeFullScreen, &chosen));
    EXPECT_TRUE(refused(5, &chosen));
    CCaptureDriver driver{Input::Key(VK_ESCAPE)};
    EXPECT_EQ(m_pfnDoCaptureModal(kModeAnyPart, nullptr, nullptr), nullptr) << "the older call keeps its modes";
    EXPECT_FALSE(driver.Finish());
}

} // namespace
