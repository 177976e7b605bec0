#include <windows.h>

#include <vector>

#include "KeyInput.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "document/ImageView.h"
#include "document/ZoomMapping.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {
// The pixels of a window's whole rectangle, frame and children included, as shown.
std::vector<DWORD> ShownPixels(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rect.right - rect.left;
    info.bmiHeader.biHeight = -(rect.bottom - rect.top);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const CBitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const CMemoryDC memory(nullptr);
    const CSelectObject selection(memory, bitmap.get());
    HDC source = GetWindowDC(window);
    BitBlt(memory, 0, 0, info.bmiHeader.biWidth, -info.bmiHeader.biHeight, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(pixels, pixels + info.bmiHeader.biWidth * -info.bmiHeader.biHeight);
}

// Sets the lines per wheel notch for one test and puts the user's value back.
class CWheelLinesSetting {
public:
    CWheelLinesSetting() { SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &m_uOriginal, 0); }
    ~CWheelLinesSetting() { Set(m_uOriginal, SPIF_UPDATEINIFILE); }
    void Set(UINT lines, UINT notify) { SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, notify); }

private:
    UINT m_uOriginal = 3;
};

class ImageViewTest : public FrameFixture {
protected:
    CImageView& Open(int width, int height)
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(width, height), "C:\\a.bmp", true));
        HWND view = GetWindow(m_frame->ActiveDocument(), GW_CHILD);
        return *static_cast<CImageView*>(CWindow::FromHandle(view));
    }
};

TEST_F(ImageViewTest, ZoomScalesByExactlyTheFactorAcrossAWideImage)
{
    CImageView& view = Open(1600, 40);
    SIZE window{}, viewport{};
    {
        const CWindowDC dc(view);
        SetZoomMapping(dc, 32.0f);
        GetWindowExtEx(dc, &window);
        GetViewportExtEx(dc, &viewport);
    }
    EXPECT_EQ(32 * window.cx, viewport.cx);
    EXPECT_EQ(32 * window.cy, viewport.cy);

    // Scrolled to the far right, the last columns lie where the position says.
    SendMessageA(m_frame->ActiveDocument(), WM_COMMAND, ID_ZOOM_3200, 0);
    SendMessageA(view, WM_HSCROLL, SB_RIGHT, 0);
    const int lastColumn = 1599 * 32 - view.ScrollOffset().x;
    RECT client{};
    GetClientRect(view, &client);
    ASSERT_EQ(client.right - 32, lastColumn);
    EXPECT_EQ(PatternColor(1598, 0), ShownPixel(view, lastColumn - 1, 5));
    EXPECT_EQ(PatternColor(1599, 0), ShownPixel(view, lastColumn, 5));
    EXPECT_EQ(PatternColor(1599, 1), ShownPixel(view, client.right - 1, 40));
}

TEST_F(ImageViewTest, FirstDocumentShowsTheSamePixelsAsAFullRepaint)
{
    CImageView& view = Open(2000, 1500);
    Pump();
    HWND client = m_frame->MdiClient();
    EXPECT_TRUE(IsWindowVisible(client));
    EXPECT_EQ(view.Handle(), GetFocus()) << "keys and the wheel reach the view";
    EXPECT_EQ(PatternColor(10, 20), ShownPixel(view, 10, 20));
    const std::vector<DWORD> shown = ShownPixels(client);
    RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(shown == ShownPixels(client)) << "the client, the view's edge and its scroll bars were all drawn";
}

// The view has no background brush: whatever its paint leaves out keeps what was on
// the screen before, here a red no pixel of the pattern near the top-left can have.
TEST_F(ImageViewTest, FittedZoomLeavesNothingOldBesideThePicture)
{
    CImageView& view = Open(4000, 1000);
    Pump();
    RECT client{};
    GetClientRect(view, &client);
    {
        const CWindowDC dc(view);
        const CBrushOwner red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc, &client, red.get());
    }
    SendMessageA(m_frame->ActiveDocument(), WM_COMMAND, ID_ZOOM_FIT, 0);
    UpdateWindow(view);
    const CPixelReader shown(view);
    for (int x = 0; x < client.right; ++x)
        ASSERT_NE(RGB(255, 0, 0), shown.At(x, 10)) << "column " << x << " at zoom " << view.Zoom();
    for (int y = 0; y < client.bottom; ++y)
        ASSERT_NE(RGB(255, 0, 0), shown.At(10, y)) << "row " << y << " at zoom " << view.Zoom();
}

TEST_F(ImageViewTest, HandDragEndsWhenAnotherWindowTakesTheMouse)
{
    CImageView& view = Open(2000, 3000);
    Pump();
    MouseAt(view, POINT{300, 300}, MOUSEEVENTF_LEFTDOWN);
    MouseAt(view, POINT{250, 260}, 0);
    Pump();
    ASSERT_EQ(50, view.ScrollOffset().x);
    ASSERT_EQ(40, view.ScrollOffset().y);

    HWND other = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 1100, 900, 40, 40, nullptr, nullptr, nullptr,
                               nullptr);
    SetCapture(other);
    MouseAt(view, POINT{250, 260}, MOUSEEVENTF_LEFTUP);  // the button-up goes to the other window
    Pump();
    ReleaseCapture();
    DestroyWindow(other);

    MouseAt(view, POINT{150, 160}, 0);
    Pump();
    EXPECT_EQ(50, view.ScrollOffset().x) << "moving without the button does not pan";
    EXPECT_EQ(40, view.ScrollOffset().y);
}

TEST_F(ImageViewTest, WheelScrollsTheUsersLinesPerNotch)
{
    CWheelLinesSetting setting;
    setting.Set(1, 0);  // without a broadcast: only a view made afterwards can know
    CImageView& view = Open(2000, 3000);  // a line is 30 pixels
    Pump();
    MouseAt(view, POINT{200, 200}, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(30, view.ScrollOffset().y);

    setting.Set(5, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);  // as the control panel does
    Pump();
    MouseAt(view, POINT{200, 200}, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(30 + 5 * 30, view.ScrollOffset().y) << "the frame passes the change on";
}

// Space pressed in the view and released while another window had the focus (the
// user switched away): back in the view, the tool draws again instead of panning.
TEST_F(ImageViewTest, SpaceReleasedWhileAwayNoLongerPans)
{
    CImageView& view = Open(400, 300);
    SetForegroundWindow(*m_frame);
    ASSERT_TRUE(RunLoopUntil([&] { return GetForegroundWindow() == *m_frame; }));
    MouseAt(view, POINT{10, 10}, MOUSEEVENTF_LEFTDOWN);
    MouseAt(view, POINT{10, 10}, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(RunLoopUntil([&] { return GetFocus() == view.Handle(); }));
    PressKeys({'R'});
    ASSERT_TRUE(RunLoopUntil([&] { return m_frame->AnnotationTools().Tool() == AnnotationTool::kRectangle; }));

    INPUT space{};
    space.type = INPUT_KEYBOARD;
    space.ki.wVk = VK_SPACE;
    SendInput(1, &space, sizeof space);
    ASSERT_TRUE(RunLoopUntil([] { return (GetAsyncKeyState(VK_SPACE) & 0x8000) != 0; }));
    Pump();
    HWND other = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 1100, 900, 40, 40, nullptr, nullptr, nullptr,
                               nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(RunLoopUntil([&] { return GetForegroundWindow() == other; }));
    space.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &space, sizeof space);
    ASSERT_TRUE(RunLoopUntil([] { return (GetAsyncKeyState(VK_SPACE) & 0x8000) == 0; }));
    Pump();
    DestroyWindow(other);
    SetForegroundWindow(*m_frame);
    ASSERT_TRUE(RunLoopUntil([&] { return GetForegroundWindow() == *m_frame; }));

    MouseAt(view, POINT{50, 50}, MOUSEEVENTF_LEFTDOWN);
    MouseAt(view, POINT{100, 90}, 0);
    MouseAt(view, POINT{150, 120}, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(RunLoopUntil([&] { return view.Document().Picture().Objects().size() == 1; }, 3000))
        << "the drag drew no rectangle";
}
}

