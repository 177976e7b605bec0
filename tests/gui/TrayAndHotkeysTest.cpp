// The tray icon as the shell reports it, and its mouse messages as the shell sends
// them to the frame.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "app/AppMessages.h"
#include "app/TrayIcon.h"
#include "capture/CaptureEngine.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "gui/MenuBarTestHost.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "util/AppMessageBox.h"

namespace {

// Whether the shell holds the window's icon: it changes only icons it has.
bool IconShownFor(HWND window)
{
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = CTrayIcon::kId;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// A taskbar that the shell functions find before the real one, and that refuses
// every icon, as a shell without a notification area does.
class CRefusingTaskbar {
public:
    CRefusingTaskbar()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~CRefusingTaskbar() { DestroyWindow(m_hWnd); }
    CRefusingTaskbar(const CRefusingTaskbar&) = delete;
    CRefusingTaskbar& operator=(const CRefusingTaskbar&) = delete;

private:
    HWND m_hWnd;
};

class TrayAndHotkeys : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        m_saved = g_settings;
    }
    void TearDown() override
    {
        g_settings = m_saved;
        g_settings.m_bModified = 0;  // keeps a closing frame from writing the settings file
        FrameFixture::TearDown();
    }

    bool IconShown() const { return IconShownFor(*m_frame); }
    void Mouse(UINT message) { SendMessageA(*m_frame, WM_APP_TRAY_NOTIFY, CTrayIcon::kId, message); }

    // Opens the menu with the right button; act runs while it is open.
    void RightClick(const std::function<void()>& act)
    {
        CTimedSteps steps({{[] { return FindPopupMenuWindow() != nullptr; }, act}});
        Mouse(WM_RBUTTONUP);
        EXPECT_TRUE(steps.Finished());
        Pump();
    }

    CSettings m_saved;
};

TEST_F(TrayAndHotkeys, RightButtonMenuShowsTheIncludeCursorStateAndRunsTheChosenItem)
{
    ASSERT_TRUE(IconShown());
    const HMENU menu = m_frame->TrayIcon().Menu();
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), UINT{ID_TRAY_SHOW});
    const bool before = g_settings.m_bIncludeCursor != 0;
    bool checked = !before;
    RightClick([&] {
        checked = (GetMenuState(menu, ID_CAPTURE_INCLUDE_CURSOR, MF_BYCOMMAND) & MF_CHECKED) != 0;
        PostMenuKey('C');
    });
    EXPECT_EQ(checked, before);
    EXPECT_NE(g_settings.m_bIncludeCursor != 0, before) << "the chosen item arrived as a command";

    // The mark shows the other state the next time, and the toolbar's toggle shows there too.
    for (bool expected : {!before, before}) {
        RightClick([&] {
            checked = (GetMenuState(menu, ID_CAPTURE_INCLUDE_CURSOR, MF_BYCOMMAND) & MF_CHECKED) != 0;
            PostMenuKey(VK_ESCAPE);
        });
        EXPECT_EQ(checked, expected);
        SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_INCLUDE_CURSOR, 0);
    }

    Mouse(WM_LBUTTONDOWN);  // a single click does nothing
    EXPECT_TRUE(IsWindowVisible(*m_frame));
}

TEST_F(TrayAndHotkeys, DoubleClickBringsTheFrameBackFromHiddenAndFromMinimised)
{
    ShowWindow(*m_frame, SW_HIDE);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    EXPECT_EQ(GetForegroundWindow(), *m_frame);

    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(*m_frame)) << "minimised into the tray";
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    EXPECT_FALSE(IsIconic(*m_frame));
}

// Exit from the tray while hidden: the frame is back before the save prompt; a
// cancelled exit keeps the icon, a finished one takes it away.
TEST_F(TrayAndHotkeys, ExitShowsTheFrameFirstAndRemovesTheIconOnlyWhenItCloses)
{
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(40, 30), "unsaved*", false));
    ShowWindow(*m_frame, SW_HIDE);
    bool visibleAtPrompt = false;
    {
        CDialogAnswerer answerer({[&](HWND prompt) {
            visibleAtPrompt = IsWindowVisible(*m_frame) && !IsIconic(*m_frame);
            CDialogAnswerer::Press(IDCANCEL)(prompt);
        }});
        SendMessageA(*m_frame, WM_COMMAND, ID_TRAY_EXIT, 0);  // posts the close
        EXPECT_TRUE(PumpUntil([&] { return answerer.StepsTaken() == 1; }));
    }
    EXPECT_TRUE(visibleAtPrompt);
    ASSERT_TRUE(IsWindow(*m_frame));
    EXPECT_TRUE(IconShown()) << "a cancelled exit keeps the icon";

    // Asked while the frame is being destroyed: afterwards the shell drops the icons
    // of a window that is gone by itself.
    const HWND frame = *m_frame;
    static HWND s_frame;
    static bool s_shownAtDestroy;
    s_frame = frame;
    s_shownAtDestroy = true;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (code == HC_ACTION && call->message == WM_DESTROY && call->hwnd == s_frame)
                s_shownAtDestroy = IconShownFor(call->hwnd);
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO)});
    SendMessageA(frame, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame); }));
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(s_shownAtDestroy) << "the icon goes before the window";
}

// An installer closes the program as its close box does. With a modal window open the
// frame stays, and the window's owner with it.
TEST_F(TrayAndHotkeys, ACloseFromOutsideWaitsForTheOpenModalWindow)
{
    bool frameStayed = false;
    CDialogAnswerer answerer({[&](HWND box) {
        PostMessageA(*m_frame, WM_CLOSE, 0, 0);
        PumpUntil([] {
            MSG msg;
            return !PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);
        });
        frameStayed = IsWindow(*m_frame) && IsWindow(box);
        CDialogAnswerer::Press(IDOK)(box);
    }});
    AppMessageBox(*m_frame, IDS_COPY_FAILED, MB_OK);
    EXPECT_TRUE(frameStayed);
    ASSERT_TRUE(IsWindow(*m_frame));

    PostMessageA(*m_frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(*m_frame); })) << "afterwards it closes";
}

// After the shell restarts its taskbar the icon is there again, whether the new
// taskbar forgot it or still has it. A taskbar that refuses it leaves the frame
// minimising to the taskbar.
TEST_F(TrayAndHotkeys, TaskbarRestartKeepsTheIconAndARefusedIconKeepsTheFrameOnTheTaskbar)
{
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = *m_frame;
    icon.uID = CTrayIcon::kId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));  // the shell forgets its icons
    SendMessageA(*m_frame, taskbarCreated, 0, 0);
    EXPECT_TRUE(IconShown());

    SendMessageA(*m_frame, taskbarCreated, 0, 0);  // the shell still has it
    EXPECT_TRUE(IconShown());
    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(*m_frame)) << "minimised into the tray";
    ShowWindow(*m_frame, SW_RESTORE);

    {
        const CRefusingTaskbar refusing;
        SendMessageA(*m_frame, taskbarCreated, 0, 0);
    }
    ASSERT_FALSE(m_frame->TrayIcon().IsAdded());
    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    EXPECT_TRUE(IsIconic(*m_frame));

    // A capture that hides the frame and brings nothing back (here: a cancelled one)
    // does not leave it hidden either.
    g_settings.m_bHideMainWindow = 1;
    g_settings.m_nCaptureDelay = 0;
    g_settings.m_bShowAfterCapture = 0;
    ASSERT_TRUE(g_captureEngine.Load());
    CCaptureDriver driver{Input::Key(VK_ESCAPE)};
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_REGION, 0);
    EXPECT_TRUE(driver.Finish());
    g_captureEngine.Unload();
    EXPECT_TRUE(IsWindowVisible(*m_frame));
}

TEST_F(TrayAndHotkeys, HotkeysAreTheFramesFromCreationToClose)
{
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F8)) << "Ctrl+F8 is taken";
    EXPECT_FALSE(RegisterHotKey(nullptr, 2, 0, VK_F2)) << "F2 is taken";
    SendMessageA(*m_frame, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(*m_frame));
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F8));
    EXPECT_TRUE(RegisterHotKey(nullptr, 2, 0, VK_F2));
    UnregisterHotKey(nullptr, 1);
    UnregisterHotKey(nullptr, 2);
}

}  // namespace
