// Capturing with the real program and its real engine, as a user does: a known
// picture on the screen, a command, a hotkey or the tray icon, and then what shows
// in the new document or lands on disk.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "PixelReader.h"
#include "QuartersWindow.h"
#include "RealClick.h"
#include "ToolBarState.h"
#include "e2e/ProgramUnderTest.h"
#include "scoped/ScopedHandles.h"
#include "res/resource.h"

namespace {

constexpr UINT kTrayNotify = WM_APP + 103;
// Near the bottom-right corner of the screen: clear of the program's window, so that
// hiding it exposes nothing of the picture that would need repainting, and of the
// top-left corner, where Wine shows its own tray window.
const RECT kPlace = {1100, 880, 1260, 1000};

// What a window of four solid quarters shows there, a known picture to capture.
const COLORREF kQuarters[4] = {RGB(200, 30, 30), RGB(30, 160, 40), RGB(40, 50, 210), RGB(230, 200, 20)};

COLORREF ColourAt(int x, int y)
{
    const bool right = x >= (kPlace.left + kPlace.right) / 2;
    const bool bottom = y >= (kPlace.top + kPlace.bottom) / 2;
    return kQuarters[(bottom ? 2 : 0) + (right ? 1 : 0)];
}

// Points inside each quarter, away from the edges.
std::vector<POINT> SamplePoints()
{
    std::vector<POINT> points;
    for (int y = kPlace.top + 5; y < kPlace.bottom; y += 20)
        for (int x = kPlace.left + 5; x < kPlace.right; x += 20)
            points.push_back(POINT{x, y});
    return points;
}

// How many sample points of the screen, seen from origin, differ from the quarters.
int ScreenDifferences(POINT origin)
{
    const CPixelReader screen;
    int wrong = 0;
    for (const POINT& point : SamplePoints())
        wrong += screen.At(origin.x + point.x, origin.y + point.y) != ColourAt(point.x, point.y);
    return wrong;
}

// How many sample points of a saved capture differ from the quarters; -1 when the
// file cannot be read.
int FileDifferences(const std::string& path)
{
    const CBitmapOwner image(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!image)
        return -1;
    const CPixelReader file(image.get());
    int wrong = 0;
    for (const POINT& point : SamplePoints())
        wrong += file.At(point) != ColourAt(point.x, point.y);
    return wrong;
}

class CaptureTest : public ::testing::Test {
protected:
    void Start()
    {
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(m_frame, nullptr);
        m_tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_NE(m_tabs, nullptr);
    }

    // Closes the program, letting every capture go unsaved.
    void TearDown() override
    {
        if (!m_frame)
            return;
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        EXPECT_TRUE(m_program.WaitForExit(1000, &exitCode));
        EXPECT_FALSE(TrayIconShown(m_frame)) << "the icon left with the program";
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }
    bool WaitForTabs(int count) const
    {
        return PumpUntil([&] { return TabCount() == count && IsWindowVisible(m_frame); }, 15000);
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
};

TEST_F(CaptureTest, ToolbarCommandOpensTheScreenAsItWasInANewDocument)
{
    Start();
    {
        const CQuartersWindow quarters(kPlace, kQuarters);
        ASSERT_TRUE(quarters.Shown());
        CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
        ASSERT_TRUE(WaitForTabs(1));
    }
    EXPECT_EQ(m_program.TabText(m_tabs, 0), ToGbk("快照-1*"));
    EXPECT_NE(WindowText(m_frame).find(ToGbk("快照-1*")), std::string::npos) << WindowText(m_frame);

    // The document shows the capture at its actual size; scrolled to its end, the
    // bottom-right corner of the screen lies in the view's bottom-right corner.
    HWND client = FindWindowExA(m_frame, nullptr, "MDIClient", nullptr);
    HWND view = GetWindow(GetWindow(client, GW_CHILD), GW_CHILD);
    ASSERT_NE(view, nullptr);
    PostMessageA(view, WM_HSCROLL, SB_RIGHT, 0);
    PostMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
    RECT shown{};
    GetClientRect(view, &shown);
    POINT origin{shown.right - GetSystemMetrics(SM_CXSCREEN), shown.bottom - GetSystemMetrics(SM_CYSCREEN)};
    ClientToScreen(view, &origin);
    EXPECT_TRUE(PumpUntil([&] { return ScreenDifferences(origin) == 0; }, 5000))
        << ScreenDifferences(origin) << " points of the document differ from the screen captured";
}

TEST_F(CaptureTest, HotkeyCapturesWhileTheProgramIsHiddenInTheTray)
{
    Start();
    PostMessageA(m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_frame); }, 5000));
    EXPECT_TRUE(TrayIconShown(m_frame));

    PressKeys({VK_CONTROL, VK_F8});
    ASSERT_TRUE(WaitForTabs(1)) << "Ctrl+F8 captured and the window came back";
    EXPECT_FALSE(IsIconic(m_frame));
}

TEST_F(CaptureTest, AutoSaveWritesTheCapturedPixelsIntoTheSaveFolder)
{
    const std::string folder = m_program.PathOf("shots");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteCaptureSettings(m_program.PathOf("lumigrab.cfg"), true, folder, 1);
    Start();
    const CQuartersWindow quarters(kPlace, kQuarters);
    ASSERT_TRUE(quarters.Shown());
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
    ASSERT_TRUE(WaitForTabs(1));

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no file in the save folder";
    FindClose(search);
    const std::string name = found.cFileName;
    EXPECT_EQ(name.rfind(ToGbk("快照-"), 0), 0u) << name;
    EXPECT_EQ(m_program.TabText(m_tabs, 0), name);

    EXPECT_EQ(FileDifferences(folder + "\\" + name), 0) << "points of the file that differ from the screen captured";
}

TEST_F(CaptureTest, TrayIconMenuOpensAndDoubleClickRestoresTheMinimisedWindow)
{
    Start();
    PostMessageA(m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_frame); }, 5000));

    PostMessageA(m_frame, kTrayNotify, 1, WM_RBUTTONUP);
    HWND menu = m_program.WaitForWindow("#32768", 5000);
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu); }, 5000));
    EXPECT_FALSE(IsWindowVisible(m_frame)) << "the menu alone does not show the window";

    PostMessageA(m_frame, kTrayNotify, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(m_frame) && !IsIconic(m_frame); }, 5000));
}

// A later start waits only so long for an answer; the pause before a capture, however
// long, does not keep the running copy from giving one.
TEST_F(CaptureTest, ALaterStartDuringThePauseHandsItsFileOver)
{
    WriteCaptureSettings(m_program.PathOf("lumigrab.cfg"), false, "", 0, 2000);
    Start();
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_frame); }, 5000));
    CProgramUnderTest second;
    const std::string picture = second.PathOf("handed.bmp");
    ASSERT_TRUE(WriteBlankImage(picture, 40, 30, 1));
    SetEnvironmentVariableA("LUMIGRAB_ANSWER_TIMEOUT_MS", "500");
    const bool started = second.Start("\"" + picture + "\"");
    SetEnvironmentVariableA("LUMIGRAB_ANSWER_TIMEOUT_MS", nullptr);
    ASSERT_TRUE(started);
    DWORD exitCode = static_cast<DWORD>(-1);
    EXPECT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode) << "the running copy did not answer";
    EXPECT_TRUE(WaitForTabs(2)) << "the capture and the handed file";
}

// A second copy started with /new cannot have the hotkeys: it says so for each and goes on.
TEST_F(CaptureTest, SecondCopyReportsBothHotkeysAndRunsWithItsOwnTrayIcon)
{
    Start();
    CProgramUnderTest second;
    ASSERT_TRUE(second.Start("/new"));
    for (const char* expected : {"无法注册全屏捕捉热键！", "无法注册模式捕捉热键！"}) {
        HWND box = second.WaitForMessageBox(10000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), ToGbk(expected));
        EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    }
    HWND secondFrame = second.MainFrame();
    ASSERT_NE(secondFrame, nullptr);
    RECT first{}, other{};
    GetWindowRect(m_frame, &first);
    GetWindowRect(secondFrame, &other);
    EXPECT_FALSE(other.left == first.left && other.top == first.top) << "it opened exactly over the first copy";
    EXPECT_TRUE(TrayIconShown(m_frame));
    EXPECT_TRUE(TrayIconShown(secondFrame));
    PostMessageA(secondFrame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(second.WaitForExit(10000, &exitCode));
}

}  // namespace

namespace {
// The program's countdown window, when it is on the screen.
HWND CountdownWindow()
{
    HWND window = FindWindowA("LumigrabCountdown", nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}
}  // namespace

TEST_F(CaptureTest, ACountdownHotkeyCapturesOnlyAtZeroWithTheCountdownOutOfThePicture)
{
    const std::string folder = m_program.PathOf("shots");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteCaptureSettings(m_program.PathOf("lumigrab.cfg"), true, folder, 1);
    ASSERT_TRUE(WritePrivateProfileStringA("Options", "Countdown", "3", m_program.PathOf("lumigrab.ini").c_str()));
    Start();
    const CQuartersWindow quarters(kPlace, kQuarters);
    ASSERT_TRUE(quarters.Shown());
    // The test's own window has the focus; the countdown must leave it there.
    HWND focused = CreateWindowExA(0, "STATIC", "focus", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(focused);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == focused; }, 5000));

    const DWORD pressed = GetTickCount();
    PressKeys({VK_CONTROL, VK_F8});
    ASSERT_TRUE(PumpUntil([] { return CountdownWindow() != nullptr; }, 5000)) << "no countdown";
    RECT countdown{}, overlap{};
    GetWindowRect(CountdownWindow(), &countdown);
    ASSERT_TRUE(IntersectRect(&overlap, &countdown, &kPlace)) << "the countdown must cover part of the picture";
    // While it counts, nothing is captured, the focus stays, and a second request is ignored.
    PressKeys({VK_CONTROL, VK_F8});
    bool capturedEarly = false;
    bool focusTaken = false;
    PumpUntil(
        [&] {
            capturedEarly = capturedEarly || (CountdownWindow() && TabCount() > 0);
            focusTaken = focusTaken || GetForegroundWindow() != focused;
            return CountdownWindow() == nullptr;
        },
        15000);
    EXPECT_FALSE(capturedEarly);
    EXPECT_FALSE(focusTaken);
    ASSERT_TRUE(WaitForTabs(1)) << "the capture came at zero";
    EXPECT_GE(GetTickCount() - pressed, 3000u) << "the capture waited for the whole countdown";
    DestroyWindow(focused);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no file in the save folder";
    EXPECT_FALSE(FindNextFileA(search, &found)) << "one capture, the second request was ignored";
    FindClose(search);
    search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    FindClose(search);
    EXPECT_EQ(FileDifferences(folder + "\\" + found.cFileName), 0)
        << "points of the picture that show the countdown instead of the screen";
}

TEST_F(CaptureTest, AClickOnTheCountdownCancelsTheCapture)
{
    ASSERT_TRUE(WritePrivateProfileStringA("Options", "Countdown", "5", m_program.PathOf("lumigrab.ini").c_str()));
    Start();
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
    ASSERT_TRUE(PumpUntil([] { return CountdownWindow() != nullptr; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_frame); }, 3000)) << "the frame steps aside for the countdown";
    RECT countdown{};
    GetWindowRect(CountdownWindow(), &countdown);
    ClickAtScreen(CentreOf(countdown));
    ASSERT_TRUE(PumpUntil([] { return CountdownWindow() == nullptr; }, 3000)) << "the click cancelled";
    // Past the end of the countdown there is still no capture.
    PumpUntil([] { return false; }, 6000);
    EXPECT_EQ(0, TabCount());
    // The next request starts a new countdown: the cancelled one is over. The tray
    // menu's 取消延时 ends it as the click did.
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
    ASSERT_TRUE(PumpUntil([] { return CountdownWindow() != nullptr; }, 5000));
    CProgramUnderTest::PostCommand(m_frame, ID_TRAY_CANCEL_DELAY);
    EXPECT_TRUE(PumpUntil([] { return CountdownWindow() == nullptr; }, 3000));
}

TEST_F(CaptureTest, AnInteractiveCaptureFreezesTheScreenOnlyAtZero)
{
    ASSERT_TRUE(WritePrivateProfileStringA("Options", "Countdown", "3", m_program.PathOf("lumigrab.ini").c_str()));
    Start();
    auto overlay = [] { return FindWindowA("SnapcoreCaptureOverlay", nullptr); };
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_REGION);
    ASSERT_TRUE(PumpUntil([] { return CountdownWindow() != nullptr; }, 5000));
    bool frozenEarly = false;
    PumpUntil(
        [&] {
            frozenEarly = frozenEarly || (CountdownWindow() && overlay());
            return CountdownWindow() == nullptr;
        },
        15000);
    EXPECT_FALSE(frozenEarly) << "the overlay waited for the countdown";
    ASSERT_TRUE(PumpUntil([&] { return overlay() && IsWindowVisible(overlay()); }, 10000)) << "the overlay opened at zero";
    SetForegroundWindow(overlay());
    PumpUntil([&] { return GetForegroundWindow() == overlay(); }, 2000);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return overlay() == nullptr || !IsWindowVisible(overlay()); }, 5000));
    EXPECT_EQ(0, TabCount()) << "Esc cancelled the capture";
}

// A tool key typed the moment the capture shows is the new document's.
TEST_F(CaptureTest, AToolKeyTypedAsTheCaptureAppearsReachesItsDocument)
{
    Start();
    const std::pair<WORD, int> tries[] = {{'A', ID_TOOL_ARROW}, {'R', ID_TOOL_RECTANGLE}, {'L', ID_TOOL_LINE}};
    int round = 0;
    for (const auto& [key, tool] : tries) {
        ++round;
        CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_frame); }, 5000));
        // Without a pause between the looks: the key follows the frame's return at once.
        for (DWORD start = GetTickCount(); !IsWindowVisible(m_frame) && GetTickCount() - start < 10000;)
            ;
        PressKeys({key});
        ASSERT_TRUE(WaitForTabs(round));
        const int chosen = tool;
        EXPECT_TRUE(PumpUntil([&] { return ToolChosen(m_frame, chosen); }, 3000)) << "capture " << round;
    }
}
