// The capture engine as the program uses it: snapcore.dll loaded from the test
// program's own folder, its exports resolved by their plain names, grabbing the real
// screen with a known pattern on it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "LiveGdiObjects.h"
#include "RealClick.h"
#include "gui/PrintScreenResponder.h"
#include "gui/SnapcoreFixture.h"
#include "snapcore.h"

namespace {

// Every corner pixel of every quadrant: a shift of even one pixel puts a neighbour's
// colour on some of them.
void ExpectPatternAtItsPlace(HBITMAP bitmap)
{
    const CScreenImage image(bitmap);
    ASSERT_FALSE(image.IsEmpty());
    for (int i = 0; i < 4; ++i) {
        const RECT q = Quadrant(kPatternPlace, i);
        for (const POINT corner : {POINT{q.left, q.top}, POINT{q.right - 1, q.top},
                                   POINT{q.left, q.bottom - 1}, POINT{q.right - 1, q.bottom - 1}})
            EXPECT_EQ(image.At(corner.x, corner.y), kQuadrantColours[i])
                << "quadrant " << i << " at " << corner.x << "," << corner.y;
    }
}

void ExpectVirtualScreenSized(HBITMAP bitmap)
{
    BITMAP shape{};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof(shape), &shape));
    const RECT screen = VirtualScreen();
    EXPECT_EQ(shape.bmWidth, screen.right - screen.left);
    EXPECT_EQ(shape.bmHeight, screen.bottom - screen.top);
    EXPECT_GT(shape.bmBitsPixel, 8);
}

// The program keeps a capture as it comes as its document's pixels: a 32-bit DIB
// section, rows from the top, that records the screen position of its top-left pixel.
void ExpectPatternInTopDownSection(HBITMAP bitmap)
{
    DIBSECTION section{};
    ASSERT_EQ(int(sizeof section), GetObjectA(bitmap, sizeof section, &section));
    ASSERT_EQ(32, section.dsBm.bmBitsPixel);
    const RECT screen = VirtualScreen();
    SIZE origin{};
    GetBitmapDimensionEx(bitmap, &origin);
    EXPECT_EQ(screen.left, origin.cx);
    EXPECT_EQ(screen.top, origin.cy);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(section.dsBm.bmBits);
    for (int i = 0; i < 4; ++i) {
        const RECT q = Quadrant(kPatternPlace, i);
        const COLORREF colour = kQuadrantColours[i];
        const DWORD expected = DWORD(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
        EXPECT_EQ(expected, pixels[(q.top - screen.top) * section.dsBm.bmWidth + q.left - screen.left] & 0xFFFFFF)
            << "quadrant " << i << " in the bits, top row first";
    }
}

class SnapcoreFullScreen : public SnapcoreFixture {
protected:
    HBITMAP Capture(int32_t simulatePrintScreen, int32_t includeCursor)
    {
        CaptureOptions options{simulatePrintScreen, includeCursor};
        return m_pfnCaptureFullScreen(&options);
    }

    // Shows shape in the middle of the pattern's red quadrant; where that is.
    static POINT ShowPointerOnRed(HCURSOR shape)
    {
        const RECT red = Quadrant(kPatternPlace, 0);
        const POINT pointer = CentreOf(red);
        EXPECT_TRUE(ShowPointerAt(shape, pointer)) << "the pointer shows its shape over the pattern";
        return pointer;
    }

};

TEST_F(SnapcoreFullScreen, GrabsTheWholeVirtualScreenWithThePatternInPlace)
{
    const CPatternWindow window;
    const HBITMAP bitmap = Capture(0, 0);
    ASSERT_NE(bitmap, nullptr);
    ExpectVirtualScreenSized(bitmap);
    ExpectPatternAtItsPlace(bitmap);
    ExpectPatternInTopDownSection(bitmap);
    EXPECT_TRUE(DeleteObject(bitmap)) << "the caller owns the bitmap, selected nowhere";

    const HBITMAP withoutOptions = m_pfnCaptureFullScreen(nullptr);
    ASSERT_NE(withoutOptions, nullptr);
    ExpectVirtualScreenSized(withoutOptions);
    ExpectPatternAtItsPlace(withoutOptions);
    DeleteObject(withoutOptions);
}

TEST_F(SnapcoreFullScreen, IncludeCursorDrawsThePointerAtItsHotSpotAndNowhereElse)
{
    const CBlockCursor block;
    const CPatternWindow window(block.Handle());
    const POINT pointer = ShowPointerOnRed(block.Handle());

    const HBITMAP plain = Capture(0, 0), withCursor = Capture(0, 1);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(withCursor, nullptr);
    const CScreenImage before(plain), after(withCursor);
    DeleteObject(plain);
    DeleteObject(withCursor);
    ASSERT_FALSE(before.IsEmpty());
    ASSERT_FALSE(after.IsEmpty());

    const RECT blockPlace = block.PlaceFor(pointer);
    int blackInside = 0, changedOutside = 0;
    for (int y = kPatternPlace.top; y < kPatternPlace.bottom; ++y) {
        for (int x = kPatternPlace.left; x < kPatternPlace.right; ++x) {
            const POINT p{x, y};
            if (PtInRect(&blockPlace, p))
                blackInside += after.At(x, y) == RGB(0, 0, 0);
            else
                changedOutside += after.At(x, y) != before.At(x, y);
        }
    }
    EXPECT_EQ(before.At(pointer.x, pointer.y), kQuadrantColours[0]) << "the plain grab has no pointer";
    EXPECT_EQ(blackInside, (blockPlace.right - blockPlace.left) * (blockPlace.bottom - blockPlace.top))
        << "the whole pointer is drawn around its hot spot";
    EXPECT_EQ(changedOutside, 0) << "nothing is drawn away from the pointer";
}

// Under Wine another process's cursor cannot be copied. A cursor destroyed while the
// screen still shows it fails the same way in our own process; the capture then shows
// the system arrow with its hot spot where the pointer is.
TEST_F(SnapcoreFullScreen, IncludeCursorDrawsTheArrowWhenThePointersShapeCannotBeCopied)
{
    const CBlockCursor block;
    const CPatternWindow window(block.Handle());
    const POINT pointer = ShowPointerOnRed(block.Handle());
    DestroyCursor(block.Handle());
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    ASSERT_TRUE(GetCursorInfo(&cursor));
    ICONINFO shape{};
    ASSERT_FALSE(GetIconInfo(cursor.hCursor, &shape)) << "the pointer's shape can no longer be read";

    const HBITMAP plain = Capture(0, 0), withCursor = Capture(0, 1);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(withCursor, nullptr);
    const CScreenImage before(plain), after(withCursor);
    // What the arrow looks like there: drawn by the test itself onto the plain grab.
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ICONINFO arrowInfo{};
    ASSERT_TRUE(GetIconInfo(arrow, &arrowInfo));
    DeleteObject(arrowInfo.hbmMask);
    DeleteObject(arrowInfo.hbmColor);
    const RECT screen = VirtualScreen();
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, plain);
    DrawIconEx(dc, pointer.x - static_cast<LONG>(arrowInfo.xHotspot) - screen.left,
               pointer.y - static_cast<LONG>(arrowInfo.yHotspot) - screen.top, arrow, 0, 0, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    const CScreenImage expected(plain);
    DeleteObject(plain);
    DeleteObject(withCursor);
    ASSERT_FALSE(after.IsEmpty());
    ASSERT_FALSE(expected.IsEmpty());

    int arrowPixels = 0, wrong = 0;
    for (int y = kPatternPlace.top; y < kPatternPlace.bottom; ++y) {
        for (int x = kPatternPlace.left; x < kPatternPlace.right; ++x) {
            arrowPixels += expected.At(x, y) != before.At(x, y);
            wrong += after.At(x, y) != expected.At(x, y);
        }
    }
    EXPECT_GT(arrowPixels, 20) << "the arrow shows on the pattern";
    EXPECT_EQ(wrong, 0) << "pixels that differ from the arrow drawn at the pointer";
}

TEST_F(SnapcoreFullScreen, SimulatedPrintScreenWithoutAnAnswerFallsBackToItsOwnGrab)
{
    const CPatternWindow window;
    // The user's own earlier copy must not pass for the screenshot.
    const RECT screen = VirtualScreen();
    PutBitmapOnClipboard(window.Handle(), SIZE{screen.right - screen.left, screen.bottom - screen.top}, RGB(255, 0, 255));
    const HBITMAP bitmap = Capture(1, 0);
    ASSERT_NE(bitmap, nullptr);
    ExpectVirtualScreenSized(bitmap);
    ExpectPatternAtItsPlace(bitmap);
    DeleteObject(bitmap);
}

TEST_F(SnapcoreFullScreen, SimulatedPrintScreenTakesTheSystemsClipboardBitmap)
{
    const CPatternWindow window;
    const RECT screen = VirtualScreen();
    const COLORREF magenta = RGB(255, 0, 255);
    const CPrintScreenResponder system(SIZE{screen.right - screen.left, screen.bottom - screen.top}, magenta);
    const HBITMAP bitmap = Capture(1, 0);
    ASSERT_NE(bitmap, nullptr);
    ExpectVirtualScreenSized(bitmap);
    const CScreenImage image(bitmap);
    DeleteObject(bitmap);
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.At(kPatternPlace.left, kPatternPlace.top), magenta);
    EXPECT_EQ(image.At(screen.right - 1, screen.bottom - 1), magenta);
}

TEST_F(SnapcoreFullScreen, SimulatedPrintScreenIgnoresAClipboardBitmapOfAnotherSize)
{
    const CPatternWindow window;
    // What the system puts there for Alt+PrintScreen: the active window only.
    const CPrintScreenResponder system(SIZE{300, 200}, RGB(255, 0, 255));
    const HBITMAP bitmap = Capture(1, 0);
    ASSERT_NE(bitmap, nullptr);
    ExpectVirtualScreenSized(bitmap);
    ExpectPatternAtItsPlace(bitmap);
    DeleteObject(bitmap);
}

TEST_F(SnapcoreFullScreen, ModalModeZeroGrabsAtOnceAndUnknownModesCaptureNothing)
{
    const CPatternWindow window;
    CaptureOptions options{};
    AuxWindowOptions aux{4, 1};
    const HBITMAP bitmap = m_pfnDoCaptureModal(0, &options, &aux);
    ASSERT_NE(bitmap, nullptr);
    ExpectVirtualScreenSized(bitmap);
    ExpectPatternAtItsPlace(bitmap);
    DeleteObject(bitmap);

    EXPECT_EQ(m_pfnDoCaptureModal(7, &options, &aux), nullptr);
    EXPECT_EQ(m_pfnDoCaptureModal(-1, &options, &aux), nullptr);
}

TEST_F(SnapcoreFullScreen, RepeatedGrabsLeakNoGdiObjects)
{
    const CPatternWindow window;
    const RECT screen = VirtualScreen();
    const CPrintScreenResponder system(SIZE{screen.right - screen.left, screen.bottom - screen.top}, RGB(255, 0, 255));
    SetCursorPos(kPatternPlace.left + 10, kPatternPlace.top + 10);
    PumpPending();
    // Every way through the engine: plain, with the pointer, through the clipboard.
    const CaptureOptions variants[] = {{0, 0}, {0, 1}, {1, 1}};
    // The first grabs may leave lasting caches behind in the system's own code.
    for (CaptureOptions options : variants)
        DeleteObject(m_pfnCaptureFullScreen(&options));
    const size_t before = LiveGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 50; ++i) {
        CaptureOptions options = variants[i % 3];
        const HBITMAP bitmap = m_pfnCaptureFullScreen(&options);
        ASSERT_NE(bitmap, nullptr);
        ASSERT_TRUE(DeleteObject(bitmap));
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}

} // namespace
