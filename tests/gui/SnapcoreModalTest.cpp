// Interactive capture as the program uses it: snapcore.dll loaded by path, its
// overlay worked with real mouse and keyboard input from a second thread while
// DoCaptureModal blocks this one.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "LiveGdiObjects.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreFixture.h"
#include "snapcore.h"

namespace {

constexpr int kModeWindow = 1, kModeRegion = 2, kModeObject = 3;

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using CBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

SIZE SizeOf(const RECT& r)
{
    return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class SnapcoreModal : public SnapcoreFixture {
protected:
    // DoCaptureModal in the given mode while script plays the user.
    CBitmap Capture(int mode, AuxWindowOptions* aux, std::initializer_list<Step> script, CaptureOptions options = {})
    {
        CCaptureDriver driver(script);
        CBitmap bitmap(m_pfnDoCaptureModal(mode, &options, aux));
        EXPECT_TRUE(driver.Finish()) << "the overlay came up in the foreground and was worked";
        // The windows the overlay covered repaint before the next freeze.
        EXPECT_TRUE(PumpUntil(ScreenShowsThreadWindows));
        return bitmap;
    }

    // The whole virtual screen as the engine grabs it.
    CScreenImage Screenshot() const
    {
        CaptureOptions options{};
        const CBitmap bitmap(m_pfnCaptureFullScreen(&options));
        return CScreenImage(bitmap.get());
    }

    int SkinCount() const
    {
        ISkinManager* skins = m_pfnCreateSkinManager();
        if (!skins)
            return 0;
        int count = 0;
        for (const SkinEntry* entry = skins->GetSkinList(0); entry && entry[count].name;)
            ++count;
        skins->Release();
        return count;
    }

};

// Every pixel of a region bitmap against the pattern it was taken from.
void ExpectPatternPixels(HBITMAP bitmap, const RECT& region)
{
    const CScreenImage image(bitmap, POINT{region.left, region.top});
    ASSERT_FALSE(image.IsEmpty());
    const SIZE expected = SizeOf(region);
    ASSERT_EQ(image.Size().cx, expected.cx);
    ASSERT_EQ(image.Size().cy, expected.cy);
    EXPECT_GT(image.BitsPerPixel(), 8);
    int wrong = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x)
            wrong += image.At(x, y) != PatternColourAt(POINT{x, y});
    EXPECT_EQ(wrong, 0) << "pixels that differ from the screen they were taken from";
}

COLORREF Dimmed(COLORREF colour)
{
    return RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2);
}

COLORREF ScreenPixel(POINT point)
{
    return CPixelReader().At(point);
}

// Where the magnifier shows a picture of one colour within area: around the rows that
// hold much of that colour (its colour swatch holds a little).
RECT PictureOf(const CScreenImage& image, const RECT& area, COLORREF colour)
{
    constexpr int kManyPixels = 40;
    RECT bounds{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        std::vector<int> columns;
        for (int x = area.left; x < area.right; ++x)
            if (image.At(x, y) == colour)
                columns.push_back(x);
        if (columns.size() >= kManyPixels)
            bounds = RECT{std::min<LONG>(bounds.left, columns.front()), std::min<LONG>(bounds.top, y),
                          std::max<LONG>(bounds.right, columns.back() + 1), std::max<LONG>(bounds.bottom, y + 1)};
    }
    return bounds;
}

// Whether count pixels from start on, step by step, include a dark one and a light one.
bool DarkAndLightAlong(const CScreenImage& image, POINT start, SIZE step, int count)
{
    bool dark = false, light = false;
    for (int i = 0; i < count; ++i) {
        const COLORREF c = image.At(start.x + i * step.cx, start.y + i * step.cy);
        dark |= GetRValue(c) <= 0x40 && GetGValue(c) <= 0x40 && GetBValue(c) <= 0x40;
        light |= GetRValue(c) >= 0xC0 && GetGValue(c) >= 0xC0 && GetBValue(c) >= 0xC0;
    }
    return dark && light;
}

// Waits for the screen to show expected at point; seen gets the last pixel read.
Step ScreenSettles(POINT point, COLORREF expected, COLORREF* seen)
{
    return WaitUntil([=] { return (*seen = ScreenPixel(point)) == expected; });
}

TEST_F(SnapcoreModal, RegionDragTakesExactlyTheDraggedPixelsAndDimsTheRestMeanwhile)
{
    const CPatternWindow window;
    // From the bottom-right quadrant up and left into the top-left one: the selection
    // runs from the release point up to, not including, the press point.
    const POINT press{kPatternPlace.left + 150, kPatternPlace.top + 100};
    const POINT release{kPatternPlace.left + 70, kPatternPlace.top + 45};
    const POINT outside{kPatternPlace.left + 200, kPatternPlace.top + 130}; // bottom-right, clear of the magnifier
    const POINT inside{release.x + 5, release.y + 5};
    COLORREF outsideSeen = CLR_INVALID, insideSeen = CLR_INVALID;
    AuxWindowOptions aux{2, 0};
    const CBitmap bitmap = Capture(kModeRegion, &aux,
                                   {Input::MoveTo(press), Input::LeftButton(true), Input::MoveTo(release),
                                    ScreenSettles(outside, Dimmed(kQuadrantColours[3]), &outsideSeen),
                                    ScreenSettles(inside, kQuadrantColours[0], &insideSeen), Input::LeftButton(false)});
    ASSERT_NE(bitmap, nullptr);
    ExpectPatternPixels(bitmap.get(), RECT{release.x, release.y, press.x, press.y});
    SIZE place{};
    GetBitmapDimensionEx(bitmap.get(), &place);
    EXPECT_EQ(place.cx, release.x) << "the bitmap records where on the screen it was taken";
    EXPECT_EQ(place.cy, release.y);
    EXPECT_EQ(outsideSeen, Dimmed(kQuadrantColours[3])) << "outside the selection the overlay is dimmed";
    EXPECT_EQ(insideSeen, kQuadrantColours[0]) << "inside it the frozen screen shows as it was";

    // And forwards, across all four quadrants.
    const POINT from{kPatternPlace.left + 10, kPatternPlace.top + 7}, to{kPatternPlace.right - 9, kPatternPlace.bottom - 3};
    const CBitmap forwards = Capture(kModeRegion, &aux, {Input::Drag(from, to)});
    ASSERT_NE(forwards, nullptr);
    ExpectPatternPixels(forwards.get(), RECT{from.x, from.y, to.x, to.y});
}

TEST_F(SnapcoreModal, AClickWithoutADragKeepsSelectingAndTheKeyboardAloneCanSelect)
{
    const CPatternWindow window;
    const POINT corner{kPatternPlace.left + 115, kPatternPlace.top + 75}; // near the middle
    AuxWindowOptions aux{2, 0};
    const CBitmap bitmap = Capture(kModeRegion, &aux,
                                   {Input::Click(POINT{kPatternPlace.left + 30, kPatternPlace.top + 30}), // nothing yet
                                    Input::MoveTo(corner), Input::Key(VK_RETURN), // the first corner
                                    Input::Key(VK_RIGHT, 7), Input::Key(VK_DOWN, 5), Input::Key(VK_LEFT),
                                    Input::Key(VK_UP), Input::Key(VK_RETURN)});
    ASSERT_NE(bitmap, nullptr);
    ExpectPatternPixels(bitmap.get(), RECT{corner.x, corner.y, corner.x + 6, corner.y + 4});
}

// The pointer stops on the screen's last pixel; a corner set there takes that pixel in.
TEST_F(SnapcoreModal, ADragOrTheKeysIntoTheScreensCornerReachItsLastColumnAndRow)
{
    const CPatternWindow window;
    const CScreenImage screen = Screenshot();
    ASSERT_FALSE(screen.IsEmpty());
    const RECT bounds = VirtualScreen();
    const auto expectScreenPixels = [&](HBITMAP bitmap, const RECT& region) {
        const CScreenImage image(bitmap, POINT{region.left, region.top});
        ASSERT_EQ(image.Size().cx, region.right - region.left);
        ASSERT_EQ(image.Size().cy, region.bottom - region.top);
        int wrong = 0;
        for (int y = region.top; y < region.bottom; ++y)
            for (int x = region.left; x < region.right; ++x)
                wrong += image.At(x, y) != screen.At(x, y);
        EXPECT_EQ(wrong, 0) << "pixels that differ from the screen they were taken from";
    };
    AuxWindowOptions aux{2, 0};

    const CBitmap dragged = Capture(
        kModeRegion, &aux, {Input::Drag(POINT{bounds.left, bounds.top}, POINT{bounds.right + 50, bounds.bottom + 50})});
    ASSERT_NE(dragged, nullptr);
    expectScreenPixels(dragged.get(), bounds);

    const POINT corner{bounds.right - 10, bounds.bottom - 8};
    const CBitmap keyed = Capture(kModeRegion, &aux,
                                  {Input::MoveTo(corner), Input::Key(VK_RETURN), Input::Key(VK_RIGHT, 20),
                                   Input::Key(VK_DOWN, 20), Input::Key(VK_RETURN)});
    ASSERT_NE(keyed, nullptr);
    expectScreenPixels(keyed.get(), RECT{corner.x, corner.y, bounds.right, bounds.bottom});
}

TEST_F(SnapcoreModal, WindowModeTakesTheTopmostWindowUnderThePointerClippedToTheScreen)
{
    // A plain window that reaches off the screen's left edge, partly behind the pattern.
    const CSystemWindow behind("STATIC", WS_POPUP | WS_VISIBLE, RECT{-60, 100, 500, 500});
    const CPatternWindow pattern;
    AuxWindowOptions aux{2, 0};

    const CBitmap clicked = Capture(kModeWindow, &aux, {Input::Click(CentreOf(kPatternPlace))});
    ASSERT_NE(clicked, nullptr);
    ExpectPatternPixels(clicked.get(), kPatternPlace);

    const CBitmap entered = Capture(
        kModeWindow, &aux, {Input::MoveTo(POINT{kPatternPlace.left + 3, kPatternPlace.bottom - 3}), Input::Key(VK_RETURN)});
    ASSERT_NE(entered, nullptr);
    ExpectPatternPixels(entered.get(), kPatternPlace);

    const CBitmap below = Capture(kModeWindow, &aux, {Input::Click(POINT{100, 450})});
    ASSERT_NE(below, nullptr);
    const CScreenImage image(below.get(), POINT{0, 100});
    EXPECT_EQ(image.Size().cx, 500);
    EXPECT_EQ(image.Size().cy, 400);
    EXPECT_EQ(image.At(kPatternPlace.left, kPatternPlace.top), kQuadrantColours[0])
        << "the window's rectangle as the screen showed it, the pattern above it included";
}

TEST_F(SnapcoreModal, ObjectModeTakesTheDeepestVisibleChildUnderThePointer)
{
    const CSystemWindow frame("STATIC", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{560, 200, 1000, 520}, nullptr,
                        WS_EX_TOPMOST);
    // The group box comes first, so it lies above the panel in z-order, and surrounds it.
    const CSystemWindow group("BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, RECT{10, 10, 350, 250}, frame.Handle());
    const CSystemWindow panel("STATIC", WS_CHILD | WS_VISIBLE | SS_GRAYRECT, RECT{20, 20, 320, 220}, frame.Handle());
    const CSystemWindow button("BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, RECT{30, 40, 130, 70}, panel.Handle());
    const CSystemWindow hidden("STATIC", WS_CHILD, RECT{40, 45, 60, 65}, panel.Handle());
    SetForegroundWindow(frame.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == frame.Handle() && ScreenShowsThreadWindows(); }));
    AuxWindowOptions aux{2, 0};
    const auto captureAt = [&](POINT point) { return Capture(kModeObject, &aux, {Input::Click(point)}); };
    const auto expectSized = [](const CBitmap& bitmap, HWND window, const char* what) {
        ASSERT_NE(bitmap, nullptr) << what;
        BITMAP shape{};
        ASSERT_TRUE(GetObjectA(bitmap.get(), sizeof(shape), &shape));
        const SIZE expected = SizeOf(WindowRect(window));
        EXPECT_EQ(shape.bmWidth, expected.cx) << what;
        EXPECT_EQ(shape.bmHeight, expected.cy) << what;
        EXPECT_GT(shape.bmBitsPixel, 8) << what;
    };

    const RECT buttonPlace = WindowRect(button.Handle());
    expectSized(captureAt(POINT{buttonPlace.left + 15, buttonPlace.top + 10}), button.Handle(),
                "a control inside a panel, under a hidden sibling");
    const RECT panelPlace = WindowRect(panel.Handle());
    expectSized(captureAt(POINT{panelPlace.right - 10, panelPlace.bottom - 10}), panel.Handle(),
                "the panel where no control lies");
    const RECT framePlace = WindowRect(frame.Handle());
    expectSized(captureAt(POINT{framePlace.right - 10, framePlace.bottom - 10}), frame.Handle(),
                "the window itself where it has no child");
}

// The magnifier hangs one cursor size beside the pointer: below and right of it, or,
// while selecting, on the side away from where the selection began, so that it never
// covers the selection; where the screen ends it flips. It is seen by where the screen
// stops showing what was frozen (dimmed outside the selection).
TEST_F(SnapcoreModal, MagnifierSitsBesideThePointerAwayFromTheSelectionAndFlipsAtTheScreensEdge)
{
    const CPatternWindow window;
    const CScreenImage before = Screenshot();
    ASSERT_FALSE(before.IsEmpty());
    const SIZE gap{GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
    const auto besides = [&](POINT pointer, int direction) {
        return POINT{pointer.x + direction * (gap.cx + 3), pointer.y + direction * (gap.cy + 3)};
    };
    const auto covers = [&](POINT probe, bool dimmed) {
        const COLORREF frozen = before.At(probe.x, probe.y);
        return ScreenPixel(probe) != (dimmed ? Dimmed(frozen) : frozen);
    };
    const auto covered = [&](POINT probe, bool dimmed, bool* seen) {
        return WaitUntil([=] { return *seen = covers(probe, dimmed); });
    };
    const auto coveredNow = [&](POINT probe, bool dimmed, bool* seen) {
        return Do([=] { *seen = covers(probe, dimmed); });
    };
    const RECT screen = VirtualScreen();
    const POINT middle = CentreOf(kPatternPlace), corner{screen.right - 10, screen.bottom - 10};
    // A drag up and left, then on towards the screen's top-left corner.
    const POINT press{800, 700}, upLeft{640, 520}, nearTopLeft{20, 15};
    bool belowRight = false, aboveLeft = true, flipped = false;
    bool awayFromSelection = false, overSelection = true, flippedWhileSelecting = false;
    AuxWindowOptions aux{4, 0};
    Capture(kModeRegion, &aux,
            {Input::MoveTo(middle), covered(besides(middle, 1), false, &belowRight),
             coveredNow(besides(middle, -1), false, &aboveLeft), Input::MoveTo(corner),
             covered(besides(corner, -1), false, &flipped), Input::MoveTo(press), Input::LeftButton(true),
             Input::MoveTo(upLeft), covered(besides(upLeft, -1), true, &awayFromSelection),
             coveredNow(besides(upLeft, 1), false, &overSelection), Input::MoveTo(nearTopLeft),
             covered(besides(nearTopLeft, 1), false, &flippedWhileSelecting), Input::Key(VK_ESCAPE)});
    Input::LeftButton(false)();
    EXPECT_TRUE(belowRight) << "below and right of the pointer in the middle of the screen";
    EXPECT_FALSE(aboveLeft) << "and nowhere else";
    EXPECT_TRUE(flipped) << "above and left of it in the screen's bottom-right corner";
    EXPECT_TRUE(awayFromSelection) << "above and left of the pointer on a drag up and to the left";
    EXPECT_FALSE(overSelection) << "not over the selection";
    EXPECT_TRUE(flippedWhileSelecting) << "below and right of it where the screen ends above and left";
}

// An inverted crosshair is nearly the same grey on mid-grey; a dark line with a light
// edge shows there as anywhere. The magnifier's picture is found as the only grey
// below and right of a small grey window.
TEST_F(SnapcoreModal, CrosshairAndPixelBoxShowOnMidGrey)
{
    const COLORREF grey = RGB(0x78, 0x81, 0x88);
    const POINT pointer{700, 400};
    const RECT greyPlace{pointer.x - 30, pointer.y - 30, pointer.x + 30, pointer.y + 30};
    const CSolidWindow greyWindow(greyPlace, grey);
    const RECT search{greyPlace.right, greyPlace.bottom, greyPlace.right + 400, greyPlace.bottom + 400};
    bool found = false, armShows = false, boxShows = false;
    AuxWindowOptions aux{4, 0};
    Capture(kModeRegion, &aux,
            {Input::MoveTo(pointer), WaitUntil([&] {
                 const CScreenImage shot = Screenshot();
                 const RECT picture = PictureOf(shot, search, grey);
                 if (IsRectEmpty(&picture))
                     return false;
                 found = true;
                 const POINT centre = CentreOf(picture);
                 armShows = DarkAndLightAlong(shot, POINT{picture.left + 5, centre.y - 3}, SIZE{0, 1}, 7);
                 boxShows = DarkAndLightAlong(shot, centre, SIZE{-1, -1}, 9); // diagonally out of the box
                 return armShows && boxShows;
             }),
             Input::Key(VK_ESCAPE)});
    ASSERT_TRUE(found) << "the magnified grey picture";
    EXPECT_TRUE(armShows) << "the crosshair's arm";
    EXPECT_TRUE(boxShows) << "the box around the pointer's pixel";
}

// With the pointer asked for, the frozen screen is shown without it (it would stay
// behind while the real one moves on), and the capture gets it where it was at the
// freeze, cut to the chosen region.
TEST_F(SnapcoreModal, ThePointerStaysOutOfTheOverlayAndGoesIntoTheCaptureWhereItWas)
{
    const CBlockCursor block;
    const CPatternWindow window(block.Handle());
    const RECT red = Quadrant(kPatternPlace, 0);
    const POINT pointer = CentreOf(red);
    ASSERT_TRUE(ShowPointerAt(block.Handle(), pointer));
    const RECT shape = block.PlaceFor(pointer);
    // Its right edge cuts through the pointer's shape.
    const RECT region{red.left + 5, red.top + 5, shape.left + 10, shape.bottom + 10};
    COLORREF seen = CLR_INVALID;
    AuxWindowOptions aux{2, 0};
    const CBitmap bitmap = Capture(kModeRegion, &aux,
                                   {ScreenSettles(pointer, kQuadrantColours[0], &seen),
                                    Input::Drag(POINT{region.left, region.top}, POINT{region.right, region.bottom})},
                                   CaptureOptions{0, 1});
    EXPECT_EQ(seen, kQuadrantColours[0]) << "the overlay shows the screen without the pointer";
    ASSERT_NE(bitmap, nullptr);
    const CScreenImage image(bitmap.get(), POINT{region.left, region.top});
    ASSERT_EQ(image.Size().cx, region.right - region.left);
    ASSERT_EQ(image.Size().cy, region.bottom - region.top);
    int wrong = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x)
            wrong += image.At(x, y) != (PtInRect(&shape, POINT{x, y}) ? RGB(0, 0, 0) : kQuadrantColours[0]);
    EXPECT_EQ(wrong, 0) << "the pointer's part inside the region where it was, the screen elsewhere";
}

TEST_F(SnapcoreModal, EscapeAndTheRightButtonCancel)
{
    const CPatternWindow window;
    AuxWindowOptions aux{5, 1};
    EXPECT_EQ(Capture(kModeRegion, &aux, {Input::Key(VK_ESCAPE)}), nullptr);
    EXPECT_EQ(aux.m_nMagnification, 5);
    EXPECT_EQ(aux.m_nSkin, 1);

    // In the middle of a drag, and over a window.
    EXPECT_EQ(Capture(kModeRegion, &aux,
                      {Input::MoveTo(POINT{kPatternPlace.left + 10, kPatternPlace.top + 10}), Input::LeftButton(true),
                       Input::MoveTo(POINT{kPatternPlace.left + 90, kPatternPlace.top + 60}), Input::RightClick()}),
              nullptr);
    Input::LeftButton(false)(); // the user lets go afterwards
    EXPECT_EQ(Capture(kModeWindow, &aux, {Input::MoveTo(CentreOf(kPatternPlace)), Input::RightClick()}), nullptr);

    // A caller may pass no options at all.
    CCaptureDriver driver{Input::Key(VK_ESCAPE)};
    EXPECT_EQ(m_pfnDoCaptureModal(kModeObject, nullptr, nullptr), nullptr);
    EXPECT_TRUE(driver.Finish());
}

TEST_F(SnapcoreModal, WheelAndKeysChangeTheMagnificationAndTabTheSkinTakenOrCancelled)
{
    const int skins = SkinCount();
    ASSERT_GE(skins, 4);
    const CPatternWindow window;

    AuxWindowOptions aux{4, 0};
    EXPECT_EQ(Capture(kModeRegion, &aux,
                      {Input::MoveTo(CentreOf(kPatternPlace)), Input::Wheel(3), Input::Key(VK_SUBTRACT),
                       Input::Key(VK_TAB, 2), Input::Key(VK_ESCAPE)}),
              nullptr);
    EXPECT_EQ(aux.m_nMagnification, 6);
    EXPECT_EQ(aux.m_nSkin, 2);

    // The ends hold and the skins wrap around; a taken capture writes back too.
    aux = AuxWindowOptions{31, skins - 1};
    const CBitmap taken = Capture(kModeWindow, &aux,
                                  {Input::MoveTo(CentreOf(kPatternPlace)), Input::Wheel(5), Input::Key(VK_OEM_PLUS),
                                   Input::Key(VK_TAB), Input::Key(VK_RETURN)});
    EXPECT_NE(taken, nullptr);
    EXPECT_EQ(aux.m_nMagnification, 32);
    EXPECT_EQ(aux.m_nSkin, 0);

    aux = AuxWindowOptions{2, 0};
    Capture(kModeObject, &aux, {Input::Key(VK_OEM_MINUS), Input::Wheel(-2), Input::Key(VK_ESCAPE)});
    EXPECT_EQ(aux.m_nMagnification, 1);
}

TEST_F(SnapcoreModal, OutOfRangeOptionsAreBroughtIntoRange)
{
    const int skins = SkinCount();
    ASSERT_GE(skins, 1);
    AuxWindowOptions aux{0, 99};
    Capture(kModeRegion, &aux, {Input::Key(VK_ESCAPE)});
    EXPECT_EQ(aux.m_nMagnification, 1);
    EXPECT_EQ(aux.m_nSkin, skins - 1);

    aux = AuxWindowOptions{77, -5};
    Capture(kModeRegion, &aux, {Input::Key(VK_ESCAPE)});
    EXPECT_EQ(aux.m_nMagnification, 32);
    EXPECT_EQ(aux.m_nSkin, 0);
}

// Where Windows (or Wine) has per-thread DPI awareness: the capture runs per-monitor
// aware whatever the caller chose, and the caller's choice is back afterwards.
TEST_F(SnapcoreModal, CapturesPerMonitorDpiAwareAndRestoresTheCallersAwareness)
{
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    using GetContextFn = HANDLE(WINAPI*)();
    using GetWindowContextFn = HANDLE(WINAPI*)(HWND);
    using EqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);
    const auto setContext = Resolve<SetContextFn>(user32, "SetThreadDpiAwarenessContext");
    const auto getContext = Resolve<GetContextFn>(user32, "GetThreadDpiAwarenessContext");
    const auto windowContext = Resolve<GetWindowContextFn>(user32, "GetWindowDpiAwarenessContext");
    const auto equal = Resolve<EqualFn>(user32, "AreDpiAwarenessContextsEqual");
    if (!setContext || !getContext || !windowContext || !equal)
        GTEST_SKIP() << "this system has no per-thread DPI awareness";
    const HANDLE unaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
    const HANDLE perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const HANDLE original = setContext(unaware);
    ASSERT_NE(original, nullptr);

    HANDLE overlayContext = nullptr;
    // The script starts once the overlay is the foreground window.
    CCaptureDriver driver{Do([&] { overlayContext = windowContext(GetForegroundWindow()); }), Input::Key(VK_ESCAPE)};
    m_pfnDoCaptureModal(kModeRegion, nullptr, nullptr);
    const bool drove = driver.Finish();
    const HANDLE after = getContext();
    setContext(original);
    ASSERT_TRUE(drove);
    EXPECT_TRUE(equal(overlayContext, perMonitorV2) || equal(overlayContext, perMonitor))
        << "the overlay works in physical pixels";
    EXPECT_TRUE(equal(after, unaware)) << "the caller's awareness is restored";
}

TEST_F(SnapcoreModal, HundredCapturesLeakNoGdiObjectsOrHandles)
{
    const CPatternWindow window;
    AuxWindowOptions aux{3, 1};
    const POINT from{kPatternPlace.left + 10, kPatternPlace.top + 10}, to{kPatternPlace.left + 50, kPatternPlace.top + 40};
    const auto takeOrCancel = [&](int i) {
        const int mode = 1 + i % 3;
        const bool take = i % 2 == 0;
        const Step finish = !take ? Input::Key(VK_ESCAPE)
                          : mode == kModeRegion ? Input::Drag(from, to)
                                                : Input::Click(from);
        CBitmap bitmap = Capture(mode, &aux, {finish}, CaptureOptions{0, i / 2 % 2}); // with the pointer or without
        EXPECT_EQ(bitmap != nullptr, take) << "capture " << i;
    };
    // The first capture may leave lasting caches behind in the system's own code.
    takeOrCancel(0);
    takeOrCancel(1);
    const size_t gdiBefore = LiveGdiObjects();
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    for (int i = 0; i < 100; ++i)
        takeOrCancel(i);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(LiveGdiObjects(), gdiBefore);
    EXPECT_EQ(handlesAfter, handlesBefore);
}

} // namespace
