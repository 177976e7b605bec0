// Capture and mark up with the real program, its engine and the desk, as a user works
// them: the command or the hotkey, a drag over a window of known pixels, tool keys and
// drags for the marks, and then where the picture went.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "KeyInput.h"
#include "MarkedRegion.h"
#include "PixelReader.h"
#include "QuartersWindow.h"
#include "RealClick.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {
using namespace MarkedRegion;

HWND Overlay() { return FindWindowA("SnapcoreCaptureOverlay", nullptr); }
HWND Desk() { return FindWindowA("LumigrabCaptureDesk", nullptr); }
bool Shown(HWND window) { return window && IsWindowVisible(window); }

class MarkupCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_quarters.Shown());
        Start();
    }

    void Start()
    {
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(m_frame, nullptr);
        m_tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
    }

    void TearDown() override
    {
        if (m_frame && m_program.IsRunning()) {
            EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        }
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }

    // Starts a capture to mark up and drags from..to on the frozen screen; true once the
    // desk shows the selection with the keyboard.
    // A request that arrives while the last capture is still ending is dropped as one
    // that waited for it, so the user asks again, as a user would.
    bool Select(const std::function<void()>& trigger, const RECT& region = kRegion)
    {
        const auto overlayUp = [] { return Shown(Overlay()) && GetForegroundWindow() == Overlay(); };
        bool up = false;
        for (int attempt = 0; attempt < 3 && !up; ++attempt) {
            trigger();
            up = PumpUntil(overlayUp, 4000);
        }
        if (!up)
            return false;
        DragOnScreen({{region.left, region.top}, {region.right, region.bottom}});
        return PumpUntil([] { return Shown(Desk()) && GetForegroundWindow() == Desk(); }, 10000);
    }
    bool SelectByCommand() { return Select([&] { CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_MARKUP); }); }

    static void DrawMarks()
    {
        PressKeys({'R'});
        DragOnScreen({{kBox.left, kBox.top}, {kBox.right, kBox.bottom}});
        PressKeys({'A'});
        DragOnScreen({kArrowFrom, kArrowTo});
    }

    // Where the program keeps the last region, written at once.
    RECT KeptRegion() const
    {
        char text[64] = "";
        GetPrivateProfileStringA("Options", "LastRegion", "", text, sizeof text, m_program.PathOf("lumigrab.ini").c_str());
        RECT kept{};
        sscanf(text, "%ld,%ld,%ld,%ld", &kept.left, &kept.top, &kept.right, &kept.bottom);
        return kept;
    }

    CQuartersWindow m_quarters{kPlace, kQuarters};
    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
};

}  // namespace

TEST_F(MarkupCaptureTest, TheCommandADragMarksAndEnterPutTheRegionWithItsMarksOnTheClipboard)
{
    const DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(SelectByCommand());
    DrawMarks();
    PressKeys({VK_RETURN});
    const CBitmapOwner copied = ClipboardPictureAfter(sequence);
    EXPECT_EQ("", PictureFaults(copied.get(), kRegion, true));
    EXPECT_TRUE(PumpUntil([] { return Desk() == nullptr; }, 5000));

    const RECT kept = KeptRegion();
    EXPECT_TRUE(EqualRect(&kept, &kRegion)) << "counted as a capture of that region";
    EXPECT_EQ(0, TabCount()) << "no document";
    // The window is back whole, its empty space painted, though no document came to paint it.
    HWND client = FindWindowExA(m_frame, nullptr, "MDIClient", nullptr);
    POINT inClient{20, 20};
    ClientToScreen(client, &inClient);
    EXPECT_TRUE(PumpUntil([&] { return CPixelReader().At(inClient) == GetSysColor(COLOR_APPWORKSPACE); }, 5000));
}

TEST_F(MarkupCaptureTest, EscEndsTheDrawingFirstAndThenTheCaptureLeavingNothing)
{
    DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(SelectByCommand());
    PressKeys({'R'});
    const POINT from{kBox.left, kBox.top}, to{kBox.right, kBox.bottom};
    MouseAtScreen(from);
    MouseAtScreen(from, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 8; ++step) {
        Sleep(15);
        MouseAtScreen(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8});
    }
    const POINT onEdge{(from.x + to.x) / 2, from.y};
    EXPECT_TRUE(PumpUntil([&] { return CPixelReader().At(onEdge) == kMarkColour; })) << "the rectangle is being drawn";
    PressKeys({VK_ESCAPE});
    MouseAtScreen(to, MOUSEEVENTF_LEFTUP);
    // Still on the desk: Enter copies the region without the rectangle that was let go.
    PressKeys({VK_RETURN});
    const CBitmapOwner copied = ClipboardPictureAfter(sequence);
    EXPECT_EQ("", PictureFaults(copied.get(), kRegion, false));
    ASSERT_TRUE(PumpUntil([] { return Desk() == nullptr; }, 5000));

    sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(SelectByCommand());
    DrawMarks();
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([] { return Desk() == nullptr; }, 5000));
    EXPECT_EQ(sequence, GetClipboardSequenceNumber());
    EXPECT_EQ(0, TabCount());
    for (HWND window : m_program.TopLevelWindows())
        EXPECT_EQ(m_frame, window) << "only the program's own window is left";
}

TEST_F(MarkupCaptureTest, APinLandsOnTheSelectionAndADocumentKeepsItsMarksEditable)
{
    ASSERT_TRUE(SelectByCommand());
    DrawMarks();
    m_program.ClickDeskAction(ID_DESK_PIN);
    HWND pin = m_program.WaitForWindow("LumigrabPin", 10000);
    ASSERT_NE(nullptr, pin);
    RECT place{};
    GetWindowRect(pin, &place);
    // The pin's frame is 2 pixels wide around the picture.
    EXPECT_EQ(kRegion.left, place.left + 2);
    EXPECT_EQ(kRegion.top, place.top + 2);
    EXPECT_EQ(kRegion.right, place.right - 2);
    EXPECT_EQ(kRegion.bottom, place.bottom - 2);
    const POINT onBox{(kBox.left + kBox.right) / 2, kBox.top};
    EXPECT_TRUE(PumpUntil([&] { return CPixelReader().At(onBox) == kMarkColour; }, 5000)) << "the marks pinned too";
    PostMessageA(pin, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(pin); }, 5000));

    ASSERT_TRUE(SelectByCommand());
    DrawMarks();
    m_program.ClickDeskAction(ID_DESK_OPEN_DOCUMENT);
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 1 && IsWindowVisible(m_frame); }, 10000));
    HWND view = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        HWND client = FindWindowExA(m_frame, nullptr, "MDIClient", nullptr);
        return (view = GetWindow(GetWindow(client, GW_CHILD), GW_CHILD)) != nullptr;
    }));
    const auto onView = [&](int x, int y) {
        POINT point{x - kRegion.left, y - kRegion.top};
        ClientToScreen(view, &point);
        return point;
    };
    SetForegroundWindow(m_frame);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }));
    ClickAtScreen(onView(kRegion.left + 5, kRegion.bottom - 5));
    // The select tool takes the rectangle by its left edge and moves it 20 pixels right.
    PressKeys({'V'});
    const POINT edge = onView(kBox.left, (kBox.top + kBox.bottom) / 2);
    DragOnScreen({edge, POINT{edge.x + 20, edge.y}});
    const DWORD sequence = GetClipboardSequenceNumber();
    PressKeys({VK_CONTROL, 'C'});
    const CBitmapOwner copied = ClipboardPictureAfter(sequence);
    ASSERT_NE(nullptr, copied.get());
    const int middle = (kBox.top + kBox.bottom) / 2 - kRegion.top;
    EXPECT_EQ(kMarkColour, BitmapPixel(copied.get(), kBox.left + 20 - kRegion.left, middle)) << "moved here";
    EXPECT_EQ(QuarterAt(kBox.left, kBox.top), BitmapPixel(copied.get(), kBox.left - kRegion.left, middle))
        << "and gone from there";
}

TEST_F(MarkupCaptureTest, AHandleDraggedBeforeMarkingGivesTheAdjustedRectangle)
{
    const DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(SelectByCommand());
    const RECT adjusted{kRegion.left, kRegion.top, kRegion.right - 30, kRegion.bottom - 20};
    DragOnScreen({{kRegion.right, kRegion.bottom}, {adjusted.right, adjusted.bottom}});
    PressKeys({VK_RETURN});
    EXPECT_EQ("", PictureFaults(ClipboardPictureAfter(sequence).get(), adjusted, false));
    const RECT kept = KeptRegion();
    EXPECT_TRUE(EqualRect(&kept, &adjusted));
}

// Off by default, the two are tested as they are at their defaults by every other capture test.
TEST_F(MarkupCaptureTest, TheHotkeyAndTheToolbarForEveryCaptureWorkOnceTurnedOn)
{
    // Free for any program while it is off.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F7));
    UnregisterHotKey(nullptr, 1);
    ASSERT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
    const std::string ini = m_program.PathOf("lumigrab.ini");
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"MarkupHotkey", "1"}, {"MarkupKey", "118"},
                                     {"MarkupModifiers", "2"}, {"ToolbarForAllCaptures", "1"}})
        ASSERT_TRUE(WritePrivateProfileStringA("Options", key, value, ini.c_str()));
    Start();

    DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(Select([] { PressKeys({VK_CONTROL, VK_F7}); }));
    PressKeys({VK_RETURN});
    EXPECT_EQ("", PictureFaults(ClipboardPictureAfter(sequence).get(), kRegion, false));
    ASSERT_TRUE(PumpUntil([] { return Desk() == nullptr; }, 5000));

    sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(Select([&] { CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_REGION); }));
    PressKeys({VK_RETURN});
    EXPECT_EQ("", PictureFaults(ClipboardPictureAfter(sequence).get(), kRegion, false)) << "the region ended on the desk";
    EXPECT_EQ(0, TabCount());
}
