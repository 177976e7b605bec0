// Images pinned on the screen, worked with real input: what they show, dragging, the
// wheel, their menu and keys, and that no capture ever holds them.
#include <gtest/gtest.h>

#include <windows.h>

#include "KeyInput.h"
#include "LiveGdiObjects.h"
#include "RealClick.h"
#include "TimedSteps.h"
#include "capture/CaptureEngine.h"
#include "document/ImageFrame.h"
#include "gui/FrameFixture.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreScreenKit.h"
#include "res/resource.h"
#include "settings/Settings.h"

namespace {

constexpr int kFrame = CPinWindow::kFrameWidth;

// A whole notch is WHEEL_DELTA; a touchpad sends parts of one.
void TurnWheelBy(int delta, bool withCtrl)
{
    INPUT input[3] = {};
    input[0].type = input[2].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[2].ki.wVk = VK_CONTROL;
    input[2].ki.dwFlags = KEYEVENTF_KEYUP;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
    input[1].mi.mouseData = static_cast<DWORD>(delta);
    if (withCtrl)
        SendInput(3, input, sizeof(INPUT));
    else
        SendInput(1, &input[1], sizeof(INPUT));
}

void TurnWheel(int notches, bool withCtrl = false)
{
    TurnWheelBy(notches * WHEEL_DELTA, withCtrl);
}

class PinWindow : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        m_saved = g_settings;
        g_settings.SetDefaults();
        g_settings.m_nCaptureDelay = 50;
    }
    void TearDown() override
    {
        g_captureEngine.Unload();
        g_settings = m_saved;
        g_settings.m_bModified = 0;
        FrameFixture::TearDown();
    }

    // A 200 x 120 document of the test pattern, pinned from its image menu.
    HWND PinPatternDocument()
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(200, 120), "pattern*", false));
        SendMessageA(*m_frame, WM_COMMAND, ID_IMAGE_PIN, 0);
        if (m_frame->Pins().Count() != 1)
            return nullptr;
        HWND pin = m_frame->Pins().PinHandle(0);
        RunLoopUntil([pin] { return PatternShownAt(PictureOrigin(pin)); }, 3000);
        return pin;
    }

    // The picture's top-left pixel on the screen.
    static POINT PictureOrigin(HWND pin)
    {
        RECT place;
        GetWindowRect(pin, &place);
        return {place.left + kFrame, place.top + kFrame};
    }

    static bool PatternShownAt(POINT origin)
    {
        const CPixelReader screen;
        for (POINT p : {POINT{0, 0}, POINT{199, 0}, POINT{37, 61}, POINT{199, 119}})
            if (PatternColor(p.x, p.y) != screen.At(origin.x + p.x, origin.y + p.y))
                return false;
        return true;
    }

    static void ExpectPatternAt(POINT origin, const char* where)
    {
        const CPixelReader screen;
        for (POINT p : {POINT{0, 0}, POINT{199, 0}, POINT{37, 61}, POINT{199, 119}})
            EXPECT_EQ(PatternColor(p.x, p.y), screen.At(origin.x + p.x, origin.y + p.y))
                << where << " at " << p.x << "," << p.y;
    }

    CSettings m_saved;
};

TEST_F(PinWindow, ShowsTheDocumentAtActualSizeOnTopAndFollowsADrag)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    EXPECT_TRUE(GetWindowLongPtrA(pin, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT place;
    GetWindowRect(pin, &place);
    EXPECT_EQ(200 + 2 * kFrame, place.right - place.left);
    EXPECT_EQ(120 + 2 * kFrame, place.bottom - place.top);
    ExpectPatternAt(PictureOrigin(pin), "pinned");

    const POINT before = PictureOrigin(pin), grip = WindowCentre(pin);
    DragOnScreen({grip, POINT{grip.x - 90, grip.y + 70}});
    RunLoopUntil([&] { return PictureOrigin(pin).x == before.x - 90; }, 3000);
    const POINT after = PictureOrigin(pin);
    EXPECT_EQ(before.x - 90, after.x);
    EXPECT_EQ(before.y + 70, after.y);
    RunLoopUntil([&] { return PatternShownAt(after); }, 3000);
    ExpectPatternAt(after, "dragged");
}

// Windows sends the change when the pin is dragged onto a monitor of another DPI.
TEST_F(PinWindow, ADpiChangeWidensTheFrameAndLeavesThePictureWhereItIs)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    const POINT origin = PictureOrigin(pin);
    const int wide = MulDiv(kFrame, 192, 96);
    SendMessageA(pin, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    RECT place;
    GetWindowRect(pin, &place);
    EXPECT_EQ(200 + 2 * wide, place.right - place.left);
    EXPECT_EQ(120 + 2 * wide, place.bottom - place.top);
    EXPECT_EQ(origin.x, place.left + wide);
    EXPECT_EQ(origin.y, place.top + wide);
    RunLoopUntil([&] { return PatternShownAt(origin); }, 3000);
    ExpectPatternAt(origin, "at 192 DPI");

    SendMessageA(pin, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(origin.x, PictureOrigin(pin).x);
    EXPECT_EQ(origin.y, PictureOrigin(pin).y);
}

TEST_F(PinWindow, WheelZoomsAboutThePointerAndCtrlWheelFades)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    const POINT origin = PictureOrigin(pin);
    const POINT pointer{origin.x + 50, origin.y + 30};  // the picture's pixel (50, 30)
    ClickAtScreen(pointer);
    CPinWindow* window = static_cast<CPinWindow*>(CWindow::FromHandle(pin));
    TurnWheel(1);
    ASSERT_TRUE(RunLoopUntil([&] { return window->Zoom() != 1.0f; }, 3000));
    EXPECT_FLOAT_EQ(1.5f, window->Zoom());
    RECT place;
    GetWindowRect(pin, &place);
    EXPECT_EQ(300 + 2 * kFrame, place.right - place.left);
    const POINT zoomed = PictureOrigin(pin);
    EXPECT_NEAR(pointer.x - 75, zoomed.x, 1) << "the pixel under the pointer stays there";
    EXPECT_NEAR(pointer.y - 45, zoomed.y, 1);

    // Out as far as it goes: 10%, and no further.
    for (int i = 0; i < 8; ++i)
        TurnWheel(-1);
    RunLoopUntil([&] { return window->Zoom() <= 0.1f; }, 3000);
    EXPECT_FLOAT_EQ(0.1f, window->Zoom());
    // In: 400% at the most.
    SetCursorPos(WindowCentre(pin).x, WindowCentre(pin).y);
    for (int i = 0; i < 10; ++i)
        TurnWheel(1);
    RunLoopUntil([&] { return window->Zoom() >= 4.0f; }, 3000);
    EXPECT_FLOAT_EQ(4.0f, window->Zoom());

    BYTE alpha = 0;
    DWORD flags = 0;
    SetCursorPos(WindowCentre(pin).x, WindowCentre(pin).y);
    TurnWheel(-3, true);
    RunLoopUntil([&] { return window->OpacityPercent() == 70; }, 3000);
    ASSERT_TRUE(GetLayeredWindowAttributes(pin, nullptr, &alpha, &flags));
    EXPECT_TRUE(flags & LWA_ALPHA);
    EXPECT_EQ(70 * 255 / 100, alpha);
    EXPECT_FLOAT_EQ(4.0f, window->Zoom()) << "Ctrl+wheel leaves the zoom";
    for (int i = 0; i < 10; ++i)
        TurnWheel(-1, true);
    RunLoopUntil([&] { return window->OpacityPercent() == 20; }, 3000);
    ASSERT_TRUE(GetLayeredWindowAttributes(pin, nullptr, &alpha, &flags));
    EXPECT_EQ(20 * 255 / 100, alpha) << "never fainter than 20%";
}

// Three thirds of a notch are one zoom step, as in the image view, not three.
TEST_F(PinWindow, PartsOfANotchAddUpToOneStep)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    ClickAtScreen(WindowCentre(pin));
    CPinWindow* window = static_cast<CPinWindow*>(CWindow::FromHandle(pin));
    for (int i = 0; i < 3; ++i)
        TurnWheelBy(WHEEL_DELTA / 3, false);
    TurnWheel(-1, true);  // handled after the parts: the opacity shows they have been
    ASSERT_TRUE(RunLoopUntil([&] { return window->OpacityPercent() == 90; }, 3000));
    EXPECT_FLOAT_EQ(1.5f, window->Zoom());
}

TEST_F(PinWindow, EscDoubleClickAndTheMenuClosePinsAndTheProgramClosesTheRest)
{
    HWND first = PinPatternDocument();
    ASSERT_NE(nullptr, first);
    ClickAtScreen(WindowCentre(first));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(RunLoopUntil([&] { return !IsWindow(first); }, 3000)) << "Esc";
    EXPECT_EQ(0u, m_frame->Pins().Count());

    const size_t gdiBefore = LiveGdiObjects();
    SendMessageA(*m_frame, WM_COMMAND, ID_IMAGE_PIN, 0);
    HWND second = m_frame->Pins().PinHandle(0);
    RunLoopUntil([&] { return PatternShownAt(PictureOrigin(second)); }, 3000);
    ClickAtScreen(WindowCentre(second));
    Sleep(50);
    ClickAtScreen(WindowCentre(second));
    EXPECT_TRUE(RunLoopUntil([&] { return !IsWindow(second); }, 3000)) << "double-click";
    EXPECT_EQ(gdiBefore, LiveGdiObjects()) << "a pin gives back what it took";

    // 打开为文档 from the right-button menu, by its access key, then 关闭全部贴图.
    for (int i = 0; i < 3; ++i)
        SendMessageA(*m_frame, WM_COMMAND, ID_IMAGE_PIN, 0);
    ASSERT_EQ(3u, m_frame->Pins().Count());
    HWND top = m_frame->Pins().PinHandle(2);
    RunLoopUntil([&] { return PatternShownAt(PictureOrigin(top)); }, 3000);
    for (WORD key : {WORD('O'), WORD('L')}) {
        CTimedSteps answer({{[] { return FindWindowA("#32768", nullptr) != nullptr; }, [key] { PressKeys({key}); }}});
        ClickAtScreen(WindowCentre(top), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        RunLoopUntil([&] { return answer.Finished() && !FindWindowA("#32768", nullptr); }, 3000);
    }
    EXPECT_TRUE(RunLoopUntil([&] { return m_frame->Pins().Count() == 0; }, 3000)) << "关闭全部贴图";
    ASSERT_EQ(2, TabCount()) << "打开为文档";
    CImageFrame* document = nullptr;
    m_frame->Documents().FindTab(m_frame->ActiveDocument(), &document);
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(PatternColor(37, 61), BitmapPixel(document->View().Document().Image(), 37, 61));

    SendMessageA(*m_frame, WM_COMMAND, ID_IMAGE_PIN, 0);
    HWND last = m_frame->Pins().PinHandle(0);
    m_frame->DestroyWindow();
    EXPECT_FALSE(IsWindow(last)) << "closed with the program";
}

// The frame takes the keyboard for the new document, under the pin.
TEST_F(PinWindow, APinOpenedAsADocumentStaysOverTheFrame)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    RECT frame;
    GetWindowRect(*m_frame, &frame);
    ASSERT_TRUE(PtInRect(&frame, PictureOrigin(pin))) << "the pin lies on the frame";
    CTimedSteps answer({{[] { return FindWindowA("#32768", nullptr) != nullptr; }, [] { PressKeys({'O'}); }}});
    ClickAtScreen(WindowCentre(pin), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(RunLoopUntil([&] { return answer.Finished() && TabCount() == 2; }, 3000));
    EXPECT_TRUE(RunLoopUntil([&] { return PatternShownAt(PictureOrigin(pin)); }, 3000));
    ExpectPatternAt(PictureOrigin(pin), "over the frame");
}

TEST_F(PinWindow, APinStaysOverTheFrameRestoredFromTheTray)
{
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    ASSERT_TRUE(m_frame->TrayIcon().IsAdded());
    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(*m_frame));
    SendMessageA(*m_frame, WM_COMMAND, ID_TRAY_SHOW, 0);
    EXPECT_TRUE(RunLoopUntil([&] { return PatternShownAt(PictureOrigin(pin)); }, 3000));
    ExpectPatternAt(PictureOrigin(pin), "over the restored frame");
}

// With the real engine: a pin is never in the picture, is back afterwards, and a new
// capture pinned after it covers the place it was taken from with the same pixels.
TEST_F(PinWindow, CapturesLeaveThePinsOutAndPinWhereTheyWereTaken)
{
    ASSERT_TRUE(g_captureEngine.Load());
    HWND pin = PinPatternDocument();
    ASSERT_NE(nullptr, pin);
    const POINT origin = PictureOrigin(pin);
    const POINT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};

    g_settings.m_bPinAfterCapture = 1;
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_FULLSCREEN, 0);
    RunLoopUntil([&] { return IsWindowVisible(pin) && m_frame->Pins().Count() == 2; }, 5000);
    EXPECT_TRUE(IsWindowVisible(pin)) << "shown again";
    ASSERT_EQ(2, TabCount());
    CImageFrame* document = nullptr;
    m_frame->Documents().FindTab(m_frame->ActiveDocument(), &document);
    ASSERT_NE(nullptr, document);
    HBITMAP captured = document->View().Document().Image();
    int differing = 0;
    for (POINT p : {POINT{1, 1}, POINT{199, 0}, POINT{37, 61}, POINT{199, 119}, POINT{100, 60}})
        differing += BitmapPixel(captured, origin.x - screen.x + p.x, origin.y - screen.y + p.y)
            != PatternColor(p.x, p.y);
    EXPECT_EQ(5, differing) << "the pin is in the capture";

    ASSERT_EQ(2u, m_frame->Pins().Count());
    HWND pinned = m_frame->Pins().PinHandle(1);
    EXPECT_EQ(screen.x, PictureOrigin(pinned).x);
    EXPECT_EQ(screen.y, PictureOrigin(pinned).y);
    // The new pin covers the screen, and the frame that came back, but for the first pin.
    ShowWindow(pin, SW_HIDE);
    const POINT samples[] = {{5, 5}, {origin.x - screen.x + 37, origin.y - screen.y + 61}, {640, 20}};
    RunLoopUntil([&] {
        const CPixelReader shown;
        for (POINT p : samples)
            if (BitmapPixel(captured, p.x, p.y) != shown.At(screen.x + p.x, screen.y + p.y))
                return false;
        return true;
    }, 3000);
    const CPixelReader shown;
    for (POINT p : samples)
        EXPECT_EQ(BitmapPixel(captured, p.x, p.y), shown.At(screen.x + p.x, screen.y + p.y))
            << "the pinned capture at " << p.x << "," << p.y;
}

} // namespace

namespace {

// A window captured interactively is pinned over the window itself.
TEST_F(PinWindow, AWindowCapturePinsOverTheWindow)
{
    ASSERT_TRUE(g_captureEngine.Load());
    g_settings.m_bPinAfterCapture = 1;
    const CPatternWindow window;
    const POINT inside{kPatternPlace.left + 30, kPatternPlace.top + 20};
    CCaptureDriver driver{Input::MoveTo(inside), Input::Key(VK_RETURN)};
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_WINDOW, 0);
    EXPECT_TRUE(driver.Finish());
    ASSERT_EQ(1u, m_frame->Pins().Count());
    const POINT origin = PictureOrigin(m_frame->Pins().PinHandle(0));
    EXPECT_EQ(kPatternPlace.left, origin.x);
    EXPECT_EQ(kPatternPlace.top, origin.y);
}

} // namespace
